// The drawn pictures, read back from where the game and its windows find them after a build, and
// the liquids' colours as players with a colour-vision deficiency see them.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "Dessin.h"

using canalisor::Bas;
using canalisor::Cote;
using canalisor::Droite;
using canalisor::Gauche;
using canalisor::Haut;

namespace {

// The game has always shipped 24-bit Windows bitmaps; a 32-bit or palette file would load in Qt
// too, so only the header tells.
QImage Bmp24(const QString& chemin, int cote) {
    QFile fichier(chemin);
    const QByteArray octets = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    EXPECT_EQ(octets.mid(28, 2), QByteArray("\x18\0", 2)) << chemin.toStdString() << ": 24 bits per pixel";
    const QImage image = QImage::fromData(octets, "BMP");
    EXPECT_EQ(image.size(), QSize(cote, cote)) << chemin.toStdString() << ": the size of a board cell";
    return image.convertToFormat(QImage::Format_RGB32);
}

// What a player sees at one pixel, by hue and lightness: the grey ground, a white empty pipe, a
// black wall or obstacle, or one of the liquids, whatever its shading.
std::string Vu(QRgb pixel) {
    const QColor c = QColor::fromRgb(pixel);
    const int h = c.hsvHue();
    if (c.hsvSaturation() < 40)
        return c.value() > 230 ? "blanc" : c.value() > 150 ? "gris" : c.value() < 70 ? "noir" : "autre";
    if (c.hsvSaturation() < 90)
        return "autre";
    return h < 20 || h > 340 ? "rouge" : h < 70 ? "jaune" : h < 180 ? "vert" : h < 260 ? "bleu" : "autre";
}

// Each liquid carries its own shape, for players who cannot tell the hues apart.
const std::map<std::string, std::string> FormeDuLiquide{
    {"bleu", "disque"}, {"rouge", "triangle"}, {"vert", "carré"}, {"jaune", "losange"}};

// The shape of the mark centred on `centre` (in pixels of the 79-pixel tile) that fits a square of
// side `t`: the pixels that stand out from `fond`, the colour the mark lies on, by at least half as
// much as the mark's own colour (a mark is seen only if that is a third of black to white). About as
// wide as high, a square fills its bounds, a disc three quarters of them, a diamond or a triangle
// (pointing up) half, the triangle heavier below.
std::string Forme(const QImage& image, QPointF centre, double t, QRgb fond) {
    const double e = image.width() / 79.0;
    const QRectF cadre(e * (centre - QPointF(0.6 * t, 0.6 * t)), e * QSizeF(1.2 * t, 1.2 * t));
    std::vector<std::pair<QPoint, int>> ecarts; // each pixel and how far its grey stands from the ground's
    for (int y = int(cadre.top()); y <= int(cadre.bottom()); ++y)
        for (int x = int(cadre.left()); x <= int(cadre.right()); ++x)
            if (cadre.contains(x + 0.5, y + 0.5))
                ecarts.emplace_back(QPoint(x, y), std::abs(qGray(image.pixel(x, y)) - qGray(fond)));
    const int contraste = std::ranges::max(ecarts, {}, &std::pair<QPoint, int>::second).second;
    QRect encre;
    int n = 0;
    double sommeY = 0;
    for (const auto& [p, ecart] : ecarts)
        if (2 * ecart > contraste) {
            encre |= QRect(p, QSize(1, 1));
            ++n;
            sommeY += p.y() + 0.5;
        }
    if (contraste < 85 || n < 0.15 * e * e * t * t)
        return "aucune";
    if (4 * encre.width() < 3 * encre.height() || 4 * encre.height() < 3 * encre.width())
        return "allongée";
    const double remplissage = double(n) / (encre.width() * encre.height());
    const double bas = (sommeY / n - encre.top()) / encre.height() - 0.5;
    if (remplissage > 0.92)
        return "carré";
    if (remplissage > 0.71)
        return "disque";
    return bas > 0.07 ? "triangle" : "losange";
}

enum Piece { Vide, Obstacle, Droit, Coude, Croix, Depart, Arrivee, Porte };

// One file of a piece and the liquid it shows ("blanc": none); a cross's channel across shows
// `liquide`, its channel down `liquideVertical`.
struct Tuile {
    const char* nom;
    std::string liquide;
    std::string liquideVertical = "";
};
// A piece, the sides through which the liquid passes, the liquid of its block (a departure, an
// arrival, a gate) and its tiles.
struct PieceDessinee {
    Piece piece;
    std::vector<Cote> ouvertes = {};
    std::string bloc = "";
    std::vector<Tuile> tuiles;
};

// clang-format off
const PieceDessinee Catalogue[]{
    {.piece = Vide, .tuiles = {{"0.bmp", ""}}},
    {.piece = Obstacle, .tuiles = {{"1.bmp", ""}}},
    {.piece = Droit, .ouvertes = {Gauche, Droite},
     .tuiles = {{"2.bmp", "blanc"}, {"2b.bmp", "bleu"}, {"2r.bmp", "rouge"}, {"2v.bmp", "vert"},
                {"2j.bmp", "jaune"}}},
    {.piece = Droit, .ouvertes = {Haut, Bas},
     .tuiles = {{"3.bmp", "blanc"}, {"3b.bmp", "bleu"}, {"3r.bmp", "rouge"}, {"3v.bmp", "vert"},
                {"3j.bmp", "jaune"}}},
    {.piece = Coude, .ouvertes = {Droite, Bas},
     .tuiles = {{"4.bmp", "blanc"}, {"4b.bmp", "bleu"}, {"4r.bmp", "rouge"}, {"4v.bmp", "vert"},
                {"4j.bmp", "jaune"}}},
    {.piece = Coude, .ouvertes = {Gauche, Bas},
     .tuiles = {{"5.bmp", "blanc"}, {"5b.bmp", "bleu"}, {"5r.bmp", "rouge"}, {"5v.bmp", "vert"},
                {"5j.bmp", "jaune"}}},
    {.piece = Coude, .ouvertes = {Gauche, Haut},
     .tuiles = {{"6.bmp", "blanc"}, {"6b.bmp", "bleu"}, {"6r.bmp", "rouge"}, {"6v.bmp", "vert"},
                {"6j.bmp", "jaune"}}},
    {.piece = Coude, .ouvertes = {Droite, Haut},
     .tuiles = {{"7.bmp", "blanc"}, {"7b.bmp", "bleu"}, {"7r.bmp", "rouge"}, {"7v.bmp", "vert"},
                {"7j.bmp", "jaune"}}},
    {.piece = Croix, .ouvertes = {Gauche, Droite, Haut, Bas},
     .tuiles = {{"8.bmp", "blanc", "blanc"}, {"8hb.bmp", "bleu", "blanc"}, {"8hr.bmp", "rouge", "blanc"},
                {"8hv.bmp", "vert", "blanc"}, {"8hj.bmp", "jaune", "blanc"}, {"8vb.bmp", "blanc", "bleu"},
                {"8vr.bmp", "blanc", "rouge"}, {"8vv.bmp", "blanc", "vert"}, {"8vj.bmp", "blanc", "jaune"},
                {"8b.bmp", "bleu", "bleu"}, {"8r.bmp", "rouge", "rouge"}, {"8v.bmp", "vert", "vert"},
                {"8j.bmp", "jaune", "jaune"}, {"8hbvr.bmp", "bleu", "rouge"}, {"8hbvv.bmp", "bleu", "vert"},
                {"8hbvj.bmp", "bleu", "jaune"}, {"8hrvb.bmp", "rouge", "bleu"},
                {"8hrvv.bmp", "rouge", "vert"}, {"8hrvj.bmp", "rouge", "jaune"},
                {"8hvvb.bmp", "vert", "bleu"}, {"8hvvr.bmp", "vert", "rouge"}, {"8hvvj.bmp", "vert", "jaune"},
                {"8hjvb.bmp", "jaune", "bleu"}, {"8hjvr.bmp", "jaune", "rouge"},
                {"8hjvv.bmp", "jaune", "vert"}}},
    {.piece = Depart, .ouvertes = {Droite}, .bloc = "bleu",
     .tuiles = {{"9.bmp", "blanc"}, {"9b.bmp", "bleu"}}},
    {.piece = Arrivee, .ouvertes = {Gauche}, .bloc = "bleu",
     .tuiles = {{"10.bmp", "blanc"}, {"10b.bmp", "bleu"}}},
    {.piece = Porte, .ouvertes = {Gauche, Droite}, .bloc = "bleu",
     .tuiles = {{"11.bmp", "blanc"}, {"11b.bmp", "bleu"}}},
    {.piece = Depart, .ouvertes = {Droite}, .bloc = "rouge",
     .tuiles = {{"12.bmp", "blanc"}, {"12r.bmp", "rouge"}}},
    {.piece = Arrivee, .ouvertes = {Gauche}, .bloc = "rouge",
     .tuiles = {{"13.bmp", "blanc"}, {"13r.bmp", "rouge"}}},
    {.piece = Porte, .ouvertes = {Gauche, Droite}, .bloc = "rouge",
     .tuiles = {{"14.bmp", "blanc"}, {"14r.bmp", "rouge"}}},
    {.piece = Depart, .ouvertes = {Droite}, .bloc = "vert",
     .tuiles = {{"15.bmp", "blanc"}, {"15v.bmp", "vert"}}},
    {.piece = Arrivee, .ouvertes = {Gauche}, .bloc = "vert",
     .tuiles = {{"16.bmp", "blanc"}, {"16v.bmp", "vert"}}},
    {.piece = Porte, .ouvertes = {Gauche, Droite}, .bloc = "vert",
     .tuiles = {{"17.bmp", "blanc"}, {"17v.bmp", "vert"}}},
    {.piece = Depart, .ouvertes = {Droite}, .bloc = "jaune",
     .tuiles = {{"18.bmp", "blanc"}, {"18j.bmp", "jaune"}}},
    {.piece = Arrivee, .ouvertes = {Gauche}, .bloc = "jaune",
     .tuiles = {{"19.bmp", "blanc"}, {"19j.bmp", "jaune"}}},
    {.piece = Porte, .ouvertes = {Gauche, Droite}, .bloc = "jaune",
     .tuiles = {{"20.bmp", "blanc"}, {"20j.bmp", "jaune"}}},
};
// clang-format on

// The tile's file and its "@2x" double, in the game's folder.
QImage Fichier(const char* nom, int echelle) {
    const QString chemin = QStringLiteral(CANALISOR_DOSSIER_PROGRAMME "/") + nom;
    return Bmp24(echelle == 1 ? chemin : chemin.chopped(4) + "@2x.bmp", 79 * echelle);
}

// Each side of a tile, at its edge, four pixels beside the middle: on the body of a pipe that
// reaches it, away from the light streak along the pipe's axis.
struct Bord {
    Cote cote;
    const char* nom;
    QPoint point;
};
const Bord Bords[]{{Gauche, "left", {0, 35}},
                   {Droite, "right", {78, 35}},
                   {Haut, "top", {35, 0}},
                   {Bas, "bottom", {35, 78}}};

QPoint PointDuBord(Cote cote) {
    return std::ranges::find(Bords, cote, &Bord::cote)->point;
}

// What a side shows: the grey ground where the piece is closed, else the pipe that reaches it; a
// cross's channel across on the left and the right, its channel down at the top and the bottom.
std::string AuBord(const PieceDessinee& piece, const Tuile& tuile, Cote cote) {
    if (std::ranges::count(piece.ouvertes, cote) == 0)
        return "gris";
    if (piece.piece == Croix && (cote == Haut || cote == Bas))
        return tuile.liquideVertical;
    return tuile.liquide;
}

// Every tile at both scales, at its key points (in pixels of the 79-pixel tile): the grey ground in
// the corners, each side as AuBord says, the black disc of the obstacle, a cross's channel down
// over the one across; the block of a departure (left, open right), an arrival (right, open left)
// and a gate (on the top wall) in the colour of its liquid; and the shape of each liquid on its block
// and in the middle of each filled pipe (a cross: down in the middle, across near both ends).
TEST(Tuiles, ChaqueTuileAuxDeuxEchellesMontreSesCotesOuvertsSesLiquidesEtLeursFormes) {
    // The block's colour above its mark, and the mark's middle.
    const std::map<Piece, std::pair<QPoint, QPointF>> blocs{{Depart, {{19, 22}, {19.5, 39.5}}},
                                                            {Arrivee, {{59, 22}, {59.5, 39.5}}},
                                                            {Porte, {{27, 16}, {39.5, 16.5}}}};
    int tuiles = 0;
    for (const PieceDessinee& piece : Catalogue) {
        for (const Tuile& tuile : piece.tuiles) {
            ++tuiles;
            for (const int echelle : {1, 2}) {
                const QImage image = Fichier(tuile.nom, echelle);
                const std::string cas = std::string(tuile.nom) + (echelle == 1 ? "" : " at @2x");
                const auto pixel = [&](QPoint p) { return image.pixel(p * echelle); };
                for (const QPoint coin : {QPoint(0, 0), QPoint(78, 0), QPoint(0, 78), QPoint(78, 78)})
                    EXPECT_EQ(Vu(pixel(coin)), "gris") << cas << ": the ground in a corner";
                for (const Bord& bord : Bords)
                    EXPECT_EQ(Vu(pixel(bord.point)), AuBord(piece, tuile, bord.cote))
                        << cas << ": the " << bord.nom << " side";

                // A mark lies on the pipe's body as its first open side shows it, or on its block.
                const auto marque = [&](const std::string& liquide, QPointF centre, double t, QPoint fond) {
                    EXPECT_EQ(Forme(image, centre, t, pixel(fond)), FormeDuLiquide.at(liquide))
                        << cas << ": the shape of " << liquide << " on its mark at " << centre.x() << ","
                        << centre.y();
                };
                const QPoint corps = PointDuBord(piece.ouvertes.empty() ? Gauche : piece.ouvertes[0]);
                switch (piece.piece) {
                case Vide:
                    EXPECT_EQ(Vu(pixel({39, 39})), "gris") << cas << ": the empty cell";
                    break;
                case Obstacle:
                    EXPECT_EQ(Vu(pixel({39, 39})), "noir") << cas << ": the obstacle";
                    break;
                case Droit:
                    if (tuile.liquide != "blanc")
                        marque(tuile.liquide, {39.5, 39.5}, 11, corps);
                    break;
                case Coude: {
                    // Half-way round the arc, 28 pixels from the two sides of the corner it turns around.
                    const bool aGauche = piece.ouvertes[0] == Gauche;
                    const bool enHaut = piece.ouvertes[1] == Haut;
                    if (tuile.liquide != "blanc")
                        marque(tuile.liquide, {aGauche ? 27.9 : 51.1, enHaut ? 27.9 : 51.1}, 11, corps);
                    break;
                }
                case Croix:
                    EXPECT_EQ(Vu(pixel({35, 30})), tuile.liquideVertical)
                        << cas << ": the channel down runs over the one across";
                    if (tuile.liquide != "blanc") {
                        marque(tuile.liquide, {11, 39.5}, 11, corps);
                        marque(tuile.liquide, {68, 39.5}, 11, corps);
                    }
                    if (tuile.liquideVertical != "blanc")
                        marque(tuile.liquideVertical, {39.5, 39.5}, 11, PointDuBord(Haut));
                    break;
                case Depart:
                case Arrivee:
                case Porte:
                    const auto& [bloc, centre] = blocs.at(piece.piece);
                    EXPECT_EQ(Vu(pixel(bloc)), piece.bloc) << cas << ": the block";
                    marque(piece.bloc, centre, piece.piece == Porte ? 13 : 15, bloc);
                    break;
                }
            }
        }
    }
    EXPECT_EQ(tuiles, 81);
    // As the board gets them, too: the files alone would not tell (Qt writes 24 bits either way).
    const canalisor::Tuile croix{
        "8hbvr.bmp", canalisor::Croix, {}, canalisor::Couleur::Bleu, canalisor::Couleur::Rouge};
    EXPECT_EQ(canalisor::art::DessinerTuile(croix, 2).depth(), 24);
}

// The rules window shows the obstacle, a departure, an arrival and a gate as the board does, at both
// scales; the icon holds the four sizes a desktop picks from, each with its blue pipe across and its
// red one down over it.
TEST(Ressources, LesImagesDesReglesSontLesTuilesEtLIconeASesQuatreTailles) {
    const std::pair<const char*, const char*> regles[]{{"regle-obstacle", "1.bmp"},
                                                       {"regle-depart", "9.bmp"},
                                                       {"regle-arrivee", "10.bmp"},
                                                       {"regle-porte", "11.bmp"}};
    for (const auto& [regle, tuile] : regles)
        for (const int echelle : {1, 2})
            EXPECT_EQ(Bmp24(QString(":/") + regle + (echelle == 1 ? ".bmp" : "@2x.bmp"), 79 * echelle),
                      Fichier(tuile, echelle))
                << regle << " shows " << tuile << " at scale " << echelle;
    QImageReader lecteur(":/canalisor.ico");
    std::vector<int> tailles;
    for (int k = 0; k < lecteur.imageCount() && lecteur.jumpToImage(k); ++k) {
        const QImage icone = lecteur.read();
        const int t = icone.width();
        tailles.push_back(t);
        EXPECT_EQ(icone.height(), t) << "the icon of " << t << " is square";
        EXPECT_EQ(qAlpha(icone.pixel(0, 0)), 0) << "the icon of " << t << ": the corner shows the desktop";
        EXPECT_EQ(Vu(icone.pixel(t / 8, t / 2)), "bleu") << "the icon of " << t << ": the pipe across";
        EXPECT_EQ(Vu(icone.pixel(t / 2, t / 2)), "rouge") << "the icon of " << t << ": the pipe down, over";
    }
    std::ranges::sort(tailles);
    EXPECT_EQ(tailles, (std::vector<int>{16, 32, 48, 256}));
}

// Machado, Oliveira and Fernandes' matrices (2009, full severity) on linear sRGB, compared in
// CIELAB (CIE76): below a difference of 20, a player would have to guess which pipe is which.
using Matrice = std::array<std::array<double, 3>, 3>;
const std::map<std::string, Matrice> Visions{
    {"protanope",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
    {"deutéranope",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"tritanope",
     {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
};

// The colour in CIELAB as a player with that vision sees it.
std::array<double, 3> LabVu(const QColor& couleur, const Matrice& m) {
    // sRGB to linear: below 10/255 the curve is a straight line, 12.92 x 255 = 3294.6.
    const auto lin = [](int c) { return c <= 10 ? c / 3294.6 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4); };
    const double rgb[] = {lin(couleur.red()), lin(couleur.green()), lin(couleur.blue())};
    double v[3];
    for (std::size_t i = 0; i < 3; ++i)
        v[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    const double x = f((0.4124 * v[0] + 0.3576 * v[1] + 0.1805 * v[2]) / 0.95047);
    const double y = f(0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2]);
    const double z = f((0.0193 * v[0] + 0.1192 * v[1] + 0.9505 * v[2]) / 1.08883);
    return {116 * y - 16, 500 * (x - y), 200 * (y - z)};
}

double Ecart(const QColor& a, const QColor& b, const Matrice& m) {
    const auto la = LabVu(a, m);
    const auto lb = LabVu(b, m);
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

// Every pair of liquids, as each of the three visions sees it; the simulation itself must confuse
// the red and green of a traffic light for a deuteranope.
TEST(Teintes, LesQuatreLiquidesRestentDistinctsDansChaqueVision) {
    using canalisor::Couleur;
    const std::map<std::string, Couleur> liquides{{"bleu", Couleur::Bleu},
                                                  {"rouge", Couleur::Rouge},
                                                  {"vert", Couleur::Vert},
                                                  {"jaune", Couleur::Jaune}};
    for (const auto& [vision, matrice] : Visions)
        for (const auto& [a, couleurA] : liquides)
            for (const auto& [b, couleurB] : liquides) {
                if (a < b) {
                    const double ecart =
                        Ecart(canalisor::art::Teinte(couleurA), canalisor::art::Teinte(couleurB), matrice);
                    EXPECT_GT(ecart, 20) << "a " << vision << " tells " << a << " from " << b;
                }
            }
    EXPECT_LT(Ecart(QColor(0xe0, 0x1e, 0x1e), QColor(0x16, 0xa0, 0x2c), Visions.at("deutéranope")), 20);
}

} // namespace
