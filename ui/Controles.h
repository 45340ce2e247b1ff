// The few controls the windows are made of that Qt does not have as such: a picture cell
// loaded from a file by name, a push button whose caption wraps, and text sized to its box.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPushButton>
#include <QSet>
#include <QString>
#include <QStringList>

class QLabel;

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

// Loads the pictures of the board from the program's folder. A file that is missing or
// unreadable is reported once per name; the cells then draw a stand-in.
class Imagier {
  public:
    explicit Imagier(QString dossier) : dossier_(std::move(dossier)) {}
    QPixmap Charger(const QString& nom);
    const QString& Dossier() const { return dossier_; }

  private:
    QString dossier_;
    QSet<QString> manquantes_;
};

// A picture cell of the board or a next-pipe box: a one-pixel flat border around a 79 x 79
// picture area. It keeps the name of the picture it shows and reads the file again only
// when the name changes.
class CaseImage : public QFrame {
    Q_OBJECT
  public:
    CaseImage(Imagier& imagier, QWidget* parent);

    void Afficher(const std::string& nom);
    const QString& NomImage() const { return nom_; }
    // True while the named picture could not be loaded and the stand-in is drawn.
    bool Remplacee() const { return !nom_.isEmpty() && image_.isNull(); }

  signals:
    void Clic();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    Imagier& imagier_;
    QString nom_;
    QPixmap image_;
    bool presse_ = false;
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
