#include "Dessin.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace canalisor::art {

namespace {

// Lengths are in pixels of the 79-pixel tile; the painter scales them. The pipe's edges fall
// on whole pixels at scale 1, so the walls come out sharp rather than smeared over two pixels.
constexpr qreal Taille = CoteTuile;
constexpr qreal Milieu = Taille / 2;
constexpr qreal LargeurTuyau = 29; // wall to wall, walls included: from 25 to 54
constexpr qreal Paroi = 3;
constexpr qreal Interieur = LargeurTuyau - 2 * Paroi;

const QColor Fond(0xc0, 0xc0, 0xc0);
const QColor Noir(0x10, 0x10, 0x10);
const QColor Blanc(0xff, 0xff, 0xff);

// The mark drawn on a colour: white would vanish on yellow, so light colours get a dark one.
QColor Encre(Couleur c) {
    return qGray(Teinte(c).rgb()) > 160 ? QColor(0x40, 0x34, 0x00) : Blanc;
}

QPointF MilieuDuCote(Cote cote) {
    switch (cote) {
    case Gauche:
        return {0, Milieu};
    case Droite:
        return {Taille, Milieu};
    case Haut:
        return {Milieu, 0};
    case Bas:
        return {Milieu, Taille};
    }
    return {Milieu, Milieu};
}

// Each colour also has a shape, so that a player who cannot tell the hues apart still can
// tell the liquids apart. t is the side of the square the shape fits in.
void DessinerSymbole(QPainter& p, Couleur c, QPointF centre, qreal t, bool cerne = false) {
    QPainterPath forme;
    switch (c) {
    case Couleur::Bleu:
        forme.addEllipse(centre, 0.46 * t, 0.46 * t);
        break;
    case Couleur::Rouge:
        forme.moveTo(centre + QPointF(0, -0.52 * t));
        forme.lineTo(centre + QPointF(0.56 * t, 0.44 * t));
        forme.lineTo(centre + QPointF(-0.56 * t, 0.44 * t));
        forme.closeSubpath();
        break;
    case Couleur::Vert:
        forme.addRect(QRectF(centre - QPointF(0.4 * t, 0.4 * t), QSizeF(0.8 * t, 0.8 * t)));
        break;
    case Couleur::Jaune:
        forme.moveTo(centre + QPointF(0, -0.56 * t));
        forme.lineTo(centre + QPointF(0.56 * t, 0));
        forme.lineTo(centre + QPointF(0, 0.56 * t));
        forme.lineTo(centre + QPointF(-0.56 * t, 0));
        forme.closeSubpath();
        break;
    }
    // Over the tube's light streak a small mark needs a rim to stand out.
    if (cerne)
        p.strokePath(forme, QPen(Teinte(c).darker(170), 2.5, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.fillPath(forme, Encre(c));
}

// The mark of a filled pipe: small, leaving the liquid's hue the dominant signal.
void DessinerPetitSymbole(QPainter& p, Couleur c, QPointF centre) {
    DessinerSymbole(p, c, centre, 11, true);
}

// A pipe is drawn as strokes along its axis: the flat caps end it exactly on the cell edge,
// and an elbow's axis is an arc, which gives it the same wall thickness all along.
void TracerTuyau(QPainter& p, const QPainterPath& axe, std::optional<Couleur> liquide) {
    p.strokePath(axe, QPen(Noir, LargeurTuyau, Qt::SolidLine, Qt::FlatCap));
    // Three bands, darker towards the walls, make the inside read as a round tube.
    const QColor base = liquide ? Teinte(*liquide) : Blanc;
    const QColor bord = liquide ? base.darker(125) : QColor(0xe4, 0xe4, 0xe4);
    const QColor reflet = liquide ? base.lighter(125) : Blanc;
    p.strokePath(axe, QPen(bord, Interieur, Qt::SolidLine, Qt::FlatCap));
    p.strokePath(axe, QPen(base, Interieur - 8, Qt::SolidLine, Qt::FlatCap));
    p.strokePath(axe, QPen(reflet, 5, Qt::SolidLine, Qt::FlatCap));
}

QPainterPath AxeDroit(Cote de, Cote vers) {
    QPainterPath axe(MilieuDuCote(de));
    axe.lineTo(MilieuDuCote(vers));
    return axe;
}

// The corner that two adjacent sides share.
QPointF Coin(Cote de, Cote vers) {
    const QPointF a = MilieuDuCote(de);
    const QPointF b = MilieuDuCote(vers);
    return {a.x() == Milieu ? b.x() : a.x(), a.y() == Milieu ? b.y() : a.y()};
}

// The arc from the middle of one side to the middle of the next, around their shared corner.
QPainterPath AxeCoude(Cote de, Cote vers) {
    const QPointF a = MilieuDuCote(de);
    const QPointF b = MilieuDuCote(vers);
    const QPointF coin = Coin(de, vers);
    const QRectF cercle(coin - QPointF(Milieu, Milieu), QSizeF(Taille, Taille));
    // Qt counts angles anticlockwise with the y axis pointing up.
    auto angle = [&](QPointF q) {
        return std::atan2(coin.y() - q.y(), q.x() - coin.x()) * 180 / std::numbers::pi;
    };
    qreal balayage = angle(b) - angle(a);
    if (balayage > 180)
        balayage -= 360;
    if (balayage < -180)
        balayage += 360;
    QPainterPath axe;
    axe.arcMoveTo(cercle, angle(a));
    axe.arcTo(cercle, angle(a), balayage);
    return axe;
}

QPointF MilieuDuCoude(Cote de, Cote vers) {
    const QPointF coin = Coin(de, vers);
    const QPointF versCentre(coin.x() == 0 ? 1 : -1, coin.y() == 0 ? 1 : -1);
    return coin + versCentre * (Milieu / std::numbers::sqrt2);
}

// The block of colour that marks a departure, an arrival or a gate, with the colour's shape.
void DessinerBloc(QPainter& p, Couleur c, const QRectF& bloc, qreal tailleSymbole) {
    QLinearGradient degrade(bloc.topLeft(), bloc.bottomLeft());
    degrade.setColorAt(0, Teinte(c).lighter(120));
    degrade.setColorAt(1, Teinte(c).darker(115));
    p.setPen(QPen(Noir, Paroi, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(degrade);
    p.drawRoundedRect(bloc, 3, 3);
    DessinerSymbole(p, c, bloc.center(), tailleSymbole);
}

void DessinerObstacle(QPainter& p) {
    const QPointF centre(Milieu, Milieu);
    const qreal rayon = 27;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawEllipse(centre + QPointF(2, 2), rayon + 1, rayon + 1);
    // A faint light spot keeps the disc black at a glance while giving it some volume.
    QRadialGradient boule(centre, rayon, centre - QPointF(9, 9));
    boule.setColorAt(0, QColor(0x5a, 0x5a, 0x5a));
    boule.setColorAt(0.45, QColor(0x18, 0x18, 0x18));
    boule.setColorAt(1, QColor(0x00, 0x00, 0x00));
    p.setBrush(boule);
    p.drawEllipse(centre, rayon, rayon);
}

// Departure drawn here; the arrival is the same piece seen in a mirror.
void DessinerDepart(QPainter& p, Couleur c, bool rempli) {
    TracerTuyau(p, AxeDroit(Gauche, Droite).translated(20, 0), rempli ? std::optional(c) : std::nullopt);
    DessinerBloc(p, c, QRectF(7.5, 15.5, 24, 48), 15);
}

void DessinerPorte(QPainter& p, Couleur c, bool rempli) {
    TracerTuyau(p, AxeDroit(Gauche, Droite), rempli ? std::optional(c) : std::nullopt);
    // The block's lower border lies exactly on the pipe's top wall.
    DessinerBloc(p, c, QRectF(21.5, 6.5, 36, 20), 13);
}

// The vertical channel passes over the horizontal one, like a bridge, so that the two read as
// separate channels that never mix.
void DessinerCroix(QPainter& p, std::optional<Couleur> horizontal, std::optional<Couleur> vertical) {
    TracerTuyau(p, AxeDroit(Gauche, Droite), horizontal);
    p.fillRect(QRectF(Milieu - LargeurTuyau / 2 - Paroi, Milieu - LargeurTuyau / 2, LargeurTuyau + 2 * Paroi,
                      LargeurTuyau),
               QColor(0, 0, 0, 90));
    TracerTuyau(p, AxeDroit(Haut, Bas), vertical);
    if (horizontal) {
        const qreal bout = (Milieu - LargeurTuyau / 2 - Paroi) / 2;
        DessinerPetitSymbole(p, *horizontal, {bout, Milieu});
        DessinerPetitSymbole(p, *horizontal, {Taille - bout, Milieu});
    }
    if (vertical)
        DessinerPetitSymbole(p, *vertical, {Milieu, Milieu});
}

void DessinerTuyauSimple(QPainter& p, int code, std::optional<Couleur> liquide) {
    const std::uint8_t ouvertures = Ouvertures(code);
    std::array<Cote, 2> cotes{};
    std::size_t n = 0;
    for (Cote c : {Gauche, Droite, Haut, Bas})
        if ((ouvertures & c) != 0 && n < cotes.size())
            cotes[n++] = c;
    const bool droit = code == DroitH || code == DroitV;
    TracerTuyau(p, droit ? AxeDroit(cotes[0], cotes[1]) : AxeCoude(cotes[0], cotes[1]), liquide);
    if (liquide)
        DessinerPetitSymbole(p, *liquide,
                             droit ? QPointF(Milieu, Milieu) : MilieuDuCoude(cotes[0], cotes[1]));
}

} // namespace

QColor Teinte(Couleur c) {
    switch (c) {
    case Couleur::Bleu:
        return {0x1e, 0x5a, 0xff};
    // A deep red and a green leaning to blue: the plain red and green that came first differed
    // by little more than their lightness to a deuteranope.
    case Couleur::Rouge:
        return {0xc8, 0x14, 0x14};
    case Couleur::Vert:
        return {0x10, 0xb0, 0x70};
    case Couleur::Jaune:
        return {0xff, 0xd4, 0x14};
    }
    return Noir;
}

QImage DessinerTuile(const Tuile& tuile, int echelle) {
    const int taille = CoteTuile * echelle;
    QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Fond);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(echelle, echelle);

    const bool rempli = tuile.Remplissage.has_value();
    if (tuile.Code == Obstacle) {
        DessinerObstacle(p);
    } else if (tuile.Code == Croix) {
        DessinerCroix(p, tuile.Horizontal, tuile.Vertical);
    } else if (EstTuyau(tuile.Code)) {
        DessinerTuyauSimple(p, tuile.Code, tuile.Remplissage);
    } else if (const auto couleur = CouleurDuCode(tuile.Code)) {
        const std::uint8_t ouvertures = Ouvertures(tuile.Code);
        if (ouvertures == (Gauche | Droite)) {
            DessinerPorte(p, *couleur, rempli);
        } else {
            if (ouvertures == Gauche) {
                p.translate(Taille, 0);
                p.scale(-1, 1);
            }
            DessinerDepart(p, *couleur, rempli);
        }
    }
    p.end();
    return image.convertToFormat(QImage::Format_RGB888);
}

QImage DessinerIcone(int taille) {
    const qreal t = taille;
    QImage image(taille, taille, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Whole pixels for every edge, whatever the size: at 16 pixels a blurred wall is no wall.
    const qreal trait = std::max(1.0, std::round(t / 32));
    const qreal largeur = 2 * std::round(t * 0.17);
    const qreal paroi = std::max(1.0, std::round(t * 0.04));
    const qreal m = t / 2;
    const QRectF bord(trait / 2, trait / 2, t - trait, t - trait);
    const qreal arrondi = t * 0.18;

    QLinearGradient fond(0, 0, 0, t);
    fond.setColorAt(0, QColor(0xd6, 0xd6, 0xd6));
    fond.setColorAt(1, QColor(0xa8, 0xa8, 0xa8));
    p.setPen(Qt::NoPen);
    p.setBrush(fond);
    p.drawRoundedRect(bord, arrondi, arrondi);

    auto tuyau = [&](QRectF rect, Couleur c) {
        p.fillRect(rect, Noir);
        const bool horizontal = rect.width() > rect.height();
        const QRectF dedans =
            horizontal ? rect.adjusted(0, paroi, 0, -paroi) : rect.adjusted(paroi, 0, -paroi, 0);
        QLinearGradient tube(dedans.topLeft(), horizontal ? dedans.bottomLeft() : dedans.topRight());
        tube.setColorAt(0, Teinte(c).darker(130));
        tube.setColorAt(0.4, Teinte(c).lighter(125));
        tube.setColorAt(1, Teinte(c).darker(130));
        p.fillRect(dedans, taille >= 32 ? QBrush(tube) : QBrush(Teinte(c)));
    };
    // The same bridge as on the cross tile: blue underneath, red over it.
    tuyau(QRectF(0, m - largeur / 2, t, largeur), Couleur::Bleu);
    p.fillRect(QRectF(m - largeur / 2 - paroi, m - largeur / 2, largeur + 2 * paroi, largeur),
               QColor(0, 0, 0, 90));
    tuyau(QRectF(m - largeur / 2, 0, largeur, t), Couleur::Rouge);

    // The outline last, so that the pipes seem to run under the tile's rim.
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), trait));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(bord, arrondi, arrondi);
    p.end();
    return image;
}

} // namespace canalisor::art
