// The best-scores window: the five places, best first, as the file holds them whenever the
// window is shown.
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
    // Reads the file again and shows its table: each time the window is shown, and at once when a
    // game end has written the file.
    void Relire();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    Palmares& palmares_;
    QLabel* places_ = nullptr;
};

} // namespace canalisor::ui
