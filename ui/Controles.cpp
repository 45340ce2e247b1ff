#include "Controles.h"

#include <algorithm>
#include <cmath>

#include <QFileInfo>
#include <QFontDatabase>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "Accessibilite.h"

namespace canalisor::ui {

namespace {

// The smallest text still worth reading; a text that does not fit even then is clipped.
constexpr int PixelsMin = 6;

const QString& FamilleJeu() {
    static const QString famille = [] {
        // Installed families, without the foundry that Qt adds when two foundries share a name.
        QStringList installees;
        for (const QString& nom : QFontDatabase::families())
            installees.append(nom.section(QStringLiteral(" ["), 0, 0));
        // In order of closeness to "MS Sans Serif": the Arial-like faces share its widths; the
        // condensed DejaVu comes near them, where the plain one that fontconfig would pick is
        // much wider; Nimbus Sans has the widths but a line so tall that big text must shrink.
        for (const char* nom : {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                                "DejaVu Sans Condensed", "Nimbus Sans"}) {
            const QString candidate = QString::fromLatin1(nom);
            if (installees.contains(candidate, Qt::CaseInsensitive))
                return candidate;
        }
        return QStringLiteral("MS Sans Serif");
    }();
    return famille;
}

} // namespace

int PixelsDePoints(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont Police(double points, bool gras, bool italique) {
    QFont police(FamilleJeu());
    police.setStyleHint(QFont::SansSerif);
    police.setPixelSize(PixelsDePoints(points));
    police.setWeight(gras ? QFont::Bold : QFont::Normal);
    police.setItalic(italique);
    return police;
}

bool TextesTiennent(const QFont& police, const QStringList& textes, const QRect& zone, int drapeaux) {
    const QFontMetrics mesure(police);
    for (QString texte : textes) {
        // A line feed that ends the text opens an empty line that nobody sees: it may overflow.
        while (texte.endsWith(QLatin1Char('\n')))
            texte.chop(1);
        const QRect besoin = mesure.boundingRect(QRect(QPoint(0, 0), zone.size()), drapeaux, texte);
        if (besoin.width() > zone.width() || besoin.height() > zone.height())
            return false;
    }
    return true;
}

QFont PoliceAjustee(QFont police, const QStringList& textes, const QRect& zone, int drapeaux) {
    // Qt builds a font for every size tried, a noticeable part of start-up: the fit only gets
    // easier as the size falls, so a binary search tries a handful of sizes instead of a run.
    if (police.pixelSize() <= PixelsMin || TextesTiennent(police, textes, zone, drapeaux))
        return police;
    int tient = PixelsMin;             // fits, or the smallest size we allow
    int tientPas = police.pixelSize(); // known not to fit
    while (tientPas - tient > 1) {
        const int milieu = (tient + tientPas) / 2;
        police.setPixelSize(milieu);
        (TextesTiennent(police, textes, zone, drapeaux) ? tient : tientPas) = milieu;
    }
    police.setPixelSize(tient);
    return police;
}

void AjusterLabel(QLabel& label, const QFont& police, const QStringList& autres) {
    const int drapeaux = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    QStringList textes = autres;
    textes.append(label.text());
    label.setFont(PoliceAjustee(police, textes, label.contentsRect(), drapeaux));
}

void PreparerLabel(QLabel& label, const char* nom, QRect zone, const QString& texte, const QFont& police,
                   Qt::Alignment alignement, bool enveloppe, const QStringList& autres) {
    label.setText(texte);
    label.setObjectName(QString::fromLatin1(nom));
    label.setTextFormat(Qt::PlainText);
    label.setGeometry(zone);
    // Qt indents a framed label's text by half an 'x' from the edge it is aligned to, which
    // pushes a top-aligned counter out through the bottom of its box.
    label.setIndent(0);
    label.setAlignment(alignement);
    label.setWordWrap(enveloppe);
    AjusterLabel(label, police, autres);
}

// ---- Pictures -----------------------------------------------------------------------

QPixmap ChargerPourEcran(const QString& chemin, qreal ratio) {
    if (ratio > 1) {
        const QString double_ = NomDouble(chemin);
        if (QFileInfo::exists(double_)) {
            QPixmap image(double_);
            if (!image.isNull()) {
                image.setDevicePixelRatio(2);
                return image;
            }
        }
    }
    return QPixmap(chemin);
}

namespace {

// Only the two sizes are drawn; a picture area between them gets the larger one, reduced.
// `zone`: the picture area's side in pixels, on a screen of `ecran` device pixels per pixel.
qreal DensiteVoulue(qreal ecran, int zone) {
    return ecran * zone > CoteTuile ? 2 : 1;
}

// Filled bands, not a stroked pen: their edges stay on whole device pixels at any density.
void Anneau(QPainter& p, const QRect& zone, int epaisseur, const QColor& couleur) {
    p.fillRect(QRect(zone.left(), zone.top(), zone.width(), epaisseur), couleur);
    p.fillRect(QRect(zone.left(), zone.bottom() - epaisseur + 1, zone.width(), epaisseur), couleur);
    p.fillRect(QRect(zone.left(), zone.top(), epaisseur, zone.height()), couleur);
    p.fillRect(QRect(zone.right() - epaisseur + 1, zone.top(), epaisseur, zone.height()), couleur);
}

} // namespace

CaseImage::CaseImage(Imagier& imagier, QWidget* parent) : QFrame(parent), imagier_(imagier) {
    InstallerAccessibilite();
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
}

bool CaseImage::Afficher(const std::string& nom) {
    const QString nouveau = QString::fromStdString(nom);
    if (nouveau == nom_)
        return false;
    nom_ = nouveau;
    Charger();
    update();
    return true;
}

void CaseImage::Charger() {
    densite_ = DensiteVoulue(devicePixelRatioF(), contentsRect().width());
    image_ = nom_.isEmpty() ? QPixmap() : imagier_.Charger(nom_, densite_);
}

void CaseImage::Activer() {
    if (isEnabled())
        emit Clic();
}

void CaseImage::Curseur(bool ici, bool visible) {
    const bool cadre = ici && visible;
    curseur_ = ici;
    if (cadre != cadre_) {
        cadre_ = cadre;
        update();
    }
}

void CaseImage::paintEvent(QPaintEvent*) {
    const QRect zone = contentsRect();
    // The window has moved to a screen of another density, or been resized, since the picture
    // was read.
    if (!nom_.isEmpty() && densite_ != DensiteVoulue(devicePixelRatioF(), zone.width()))
        Charger();
    QPainter p(this);
    if (!image_.isNull()) {
        const qreal ecran = devicePixelRatioF();
        if (image_.size() == zone.size() * ecran) {
            // Pixel for pixel, as at the default size or twice it: no filtering, no blur. The
            // picture is shared with every cell that shows it: drawn as it is, not re-marked.
            if (image_.devicePixelRatio() == ecran)
                p.drawPixmap(zone.topLeft(), image_);
            else
                p.drawPixmap(QRectF(zone), image_, QRectF(image_.rect()));
        } else {
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            p.drawPixmap(zone, image_);
        }
    } else if (!nom_.isEmpty()) {
        // A missing tile must not pass for an empty cell: the player would misread the board.
        p.fillRect(zone, QColor(0xa0, 0xa0, 0xa0));
        p.setPen(Qt::black);
        QFont police = font();
        police.setPixelSize(std::max(1, zone.height() / 5));
        police.setBold(true);
        p.setFont(police);
        p.drawText(zone, Qt::AlignCenter, QFileInfo(nom_).completeBaseName());
    }
    // A cell that takes no clicks yet must not look greyed: its border stays the board's.
    // A stroked pen one pixel wide would be two device pixels wide on a doubled screen, and half
    // of it would fall on the picture's last row and column.
    const int trait = lineWidth();
    Anneau(p, rect(), trait, palette().color(QPalette::Active, QPalette::WindowText));
    if (cadre_) {
        // Black, white, black: whatever the tile's colours under it, two of the rings stand out.
        // Only the corners: a pipe ends in the middle of a side, and the player must see whether
        // the one under the cursor meets its neighbours.
        const auto largeur = [trait](int pixels) { return pixels * trait; };
        p.save();
        const int coin = rect().width() / 4;
        QRegion coins;
        for (const QPoint& sommet :
             {rect().topLeft(), rect().topRight(), rect().bottomLeft(), rect().bottomRight()})
            coins += QRect(sommet - QPoint(coin, coin), QSize(2 * coin + 1, 2 * coin + 1));
        p.setClipRegion(coins);
        Anneau(p, rect(), largeur(3), Qt::black);
        Anneau(p, rect().adjusted(largeur(3), largeur(3), -largeur(3), -largeur(3)), largeur(4), Qt::white);
        Anneau(p, rect().adjusted(largeur(7), largeur(7), -largeur(7), -largeur(7)), largeur(2), Qt::black);
        p.restore();
    }
}

void CaseImage::mousePressEvent(QMouseEvent* event) {
    presse_ = event->button() == Qt::LeftButton;
    QFrame::mousePressEvent(event);
}

void CaseImage::mouseReleaseEvent(QMouseEvent* event) {
    // A click is a press and a release on the same cell, so dragging off it cancels.
    const bool clic =
        presse_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    presse_ = false;
    QFrame::mouseReleaseEvent(event);
    if (clic)
        emit Clic();
}

void CaseImage::enterEvent(QEnterEvent* event) {
    QFrame::enterEvent(event);
    emit Survol();
}

Compteur::Compteur(QWidget* parent) : QLabel(parent) {
    InstallerAccessibilite();
}

// ---- Wrapping button ----------------------------------------------------------------

void BoutonTexte::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString texte = option.text;
    option.text.clear();
    p.drawControl(QStyle::CE_PushButton, option);
    p.drawItemText(ZoneTexte(), Drapeaux, option.palette, isEnabled(), texte, QPalette::ButtonText);
}

} // namespace canalisor::ui
