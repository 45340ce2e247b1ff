// What the three side windows (best scores, about, rules) share: a fixed-size window of its own
// with a close box, which Escape and Ctrl+W close too, its labels and frames laid out in twips.
// The about and rules windows compose their text when they are built; the scores window reads
// the file each time it is shown. Closing one destroys it, and the next command builds it again.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

class QLabel;

namespace canalisor::ui {

// Layouts are given in twips, 15 to the pixel.
constexpr QRect Twips(int gauche, int haut, int largeur, int hauteur) {
    return {gauche / 15, haut / 15, largeur / 15, hauteur / 15};
}

// A fixed-size window with a close box only, closed by Escape and Ctrl+W as well. It has no parent, so that a click on the main
// window brings that one to the front.
class FenetreAnnexe : public QWidget {
    Q_OBJECT
  public:
    FenetreAnnexe(const QString& titre, QRect client);

  protected:
    // From a bordered label's box to its text: the one-pixel line and two pixels of room.
    static constexpr int MargeBordure = 3;
    QLabel* Label(const char* nom, QRect zone, const QString& texte, const QFont& police,
                  Qt::Alignment alignement, bool bordure);
    void Cadre(QRect zone);
};

} // namespace canalisor::ui
