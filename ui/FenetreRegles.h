// The rules window: the rules text and the pictures of the anchored pieces.
#pragma once

#include "FenetreAnnexe.h"

namespace canalisor::ui {

class FenetreRegles : public FenetreAnnexe {
    Q_OBJECT
  public:
    FenetreRegles();
    // The three blocks of the rules, each sentence ending with a line feed.
    static QString TexteR1();
    static QString TexteR2();
    static QString TexteR3(); // its numbers from the difficulty table and the points of the game

  private:
    void Image(const char* nom, QRect zone, const QString& ressource);
};

} // namespace canalisor::ui
