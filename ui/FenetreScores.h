// The best-scores window: the five places, best first.
#pragma once

#include "FenetreAnnexe.h"
#include "Monde.h"

namespace canalisor::ui {

class FenetreScores : public FenetreAnnexe {
    Q_OBJECT
  public:
    explicit FenetreScores(Palmares& palmares);
    // The five places, best first, each line ending with a line feed.
    static QString TexteScores(const TableScores& classe);
};

} // namespace canalisor::ui
