// The three side windows: best scores, about and rules. Each composes
// its text once, when it is built, and only shows it afterwards; closing one destroys it, so
// the next command builds it again and the scores window reads the file anew.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

#include "Monde.h"

class QLabel;

namespace canalisor::ui {

// Layouts are given in twips, 15 to the pixel.
constexpr QRect Twips(int gauche, int haut, int largeur, int hauteur) {
    return {gauche / 15, haut / 15, largeur / 15, hauteur / 15};
}

// A fixed-size window with a close box only. It has no parent, so that a click on the main
// window brings that one to the front.
class FenetreOutil : public QWidget {
    Q_OBJECT
  public:
    FenetreOutil(const QString& titre, QRect client);

  protected:
    // From a bordered label's box to its text: the one-pixel line and two pixels of room.
    static constexpr int MargeBordure = 3;
    QLabel* Label(const char* nom, QRect zone, const QString& texte, const QFont& police,
                  Qt::Alignment alignement, bool bordure);
    void Cadre(QRect zone);
};

class FenetreScores : public FenetreOutil {
    Q_OBJECT
  public:
    explicit FenetreScores(Palmares& palmares);
    // The five places, best first, each line ending with a line feed.
    static QString TexteScores(const TableScores& classe);
};

class FenetreAPropos : public FenetreOutil {
    Q_OBJECT
  public:
    FenetreAPropos();
    static const QString& TexteAPropos();
};

class FenetreRegles : public FenetreOutil {
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
