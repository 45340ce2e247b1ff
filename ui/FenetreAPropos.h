// The about window: the program, its version, licence and authors.
#pragma once

#include "FenetreAnnexe.h"

namespace canalisor::ui {

class FenetreAPropos : public FenetreAnnexe {
    Q_OBJECT
  public:
    FenetreAPropos();
    // The version is the project's own, set in one place.
    static QString TexteAPropos();
};

} // namespace canalisor::ui
