// The few controls the windows are made of that Qt does not have as such: a picture cell
// loaded from a file by name, a push button whose caption wraps, and text sized to its box.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QString>
#include <QStringList>

#include "Imagier.h"

namespace canalisor::ui {

// The layout is given in pixels at 96 dots per inch; points are turned into pixels at that
// rate so that text keeps its size relative to the boxes whatever the screen's settings.
int PixelsDePoints(double points);

// The font of the windows: "MS Sans Serif" where it exists, else the installed family closest
// to its widths, else whatever sans-serif face the system substitutes.
QFont Police(double points, bool gras = true, bool italique = false);

// Whether every text fits `zone` in `police`, drawn with these Qt::TextFlag/alignment flags.
bool TextesTiennent(const QFont& police, const QStringList& textes, const QRect& zone, int drapeaux);
// `police` made smaller, a pixel at a time, until every text fits; the fallback faces are
// wider than the one the layout was drawn for.
QFont PoliceAjustee(QFont police, const QStringList& textes, const QRect& zone, int drapeaux);
// Gives a label the font that fits its own text and `autres` (the longest texts it will show).
void AjusterLabel(QLabel& label, const QFont& police, const QStringList& autres = {});
// A label of the windows: its name, its box, its plain text from the box's very edge, and the
// font that fits it and `autres`. A frame must be given before, as it takes room from the text.
void PreparerLabel(QLabel& label, const char* nom, QRect zone, const QString& texte, const QFont& police,
                   Qt::Alignment alignement, bool enveloppe, const QStringList& autres = {});

// The picture at `chemin` for a screen with `ratio` device pixels per pixel: where the screen is
// denser than 1 and the "@2x" file exists, that one, marked as twice as dense so that it takes
// the same room; else the file itself. Qt's own lookup of "@2x" files serves QIcon only.
QPixmap ChargerPourEcran(const QString& chemin, qreal ratio);

// A picture cell of the board or a next-pipe box: a flat border, one pixel at the default size,
// around a 79 x 79 picture area, both scaled with the window. It keeps the name of the picture
// it shows and reads the file again only when the name changes, or when the picture area grows
// past the plain file's pixels or shrinks back (a window resized, a screen of another density).
class CaseImage : public QFrame {
    Q_OBJECT
  public:
    CaseImage(Imagier& imagier, QWidget* parent);

    // True when the name differs from the one shown, which is then replaced.
    bool Afficher(const std::string& nom);
    const QString& NomImage() const { return nom_; }
    const QPixmap& Image() const { return image_; }
    // True while the named picture could not be loaded and the stand-in is drawn.
    bool Remplacee() const { return !nom_.isEmpty() && image_.isNull(); }

    // A cell of the board, which takes clicks; a next-pipe box only shows a picture.
    void RendreCliquable() { cliquable_ = true; }
    bool Cliquable() const { return cliquable_; }
    // What a click does, for the players who press the cell some other way than with a mouse.
    void Activer();

    // The keyboard's cursor: `ici` when it stands on this cell, `visible` when its frame shows.
    void Curseur(bool ici, bool visible);
    bool EstCurseur() const { return curseur_; }
    bool CadreVisible() const { return cadre_; }

  signals:
    void Clic();
    // The mouse has come over the cell.
    void Survol();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;

  private:
    void Charger();

    Imagier& imagier_;
    QString nom_;
    QPixmap image_;
    qreal densite_ = 1; // of the file read: 1 for the plain one, 2 for the "@2x" one
    bool presse_ = false;
    bool cliquable_ = false;
    bool curseur_ = false;
    bool cadre_ = false;
};

// A framed counter ("Niveau", "Score", ...). A screen reader hears what it counts as its name
// and the number it shows as its value.
class Compteur : public QLabel {
    Q_OBJECT
  public:
    explicit Compteur(QWidget* parent);
};

// A push button whose caption wraps onto several lines when it is wider than the button,
// as "Vannes max." does in its narrow button.
class BoutonTexte : public QPushButton {
    Q_OBJECT
  public:
    BoutonTexte(const QString& texte, QWidget* parent) : QPushButton(texte, parent) {}
    // Where the caption is drawn.
    QRect ZoneTexte() const { return rect().adjusted(4, 4, -4, -4); }
    static constexpr int Drapeaux = Qt::AlignCenter | Qt::TextWordWrap;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace canalisor::ui
