// The rules window: the rules text and the pictures of the anchored pieces.
#pragma once

#include "FenetreAnnexe.h"

namespace canalisor::ui {

class FenetreRegles : public FenetreAnnexe {
    Q_OBJECT
  public:
    FenetreRegles();
    static const QString& TexteR1();
    static const QString& TexteR2();
    static const QString& TexteR3();

  private:
    void Image(const char* nom, QRect zone, const QString& ressource);
};

} // namespace canalisor::ui
