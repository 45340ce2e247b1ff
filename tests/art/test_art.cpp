// The drawn pictures, read back from where the game and its windows find them after a build, and
// the liquids' colours as players with a colour-vision deficiency see them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cmath>
#include <map>

#include "Dessin.h"

using canalisor::Cote;
using enum canalisor::Cote;

namespace {

// The game has always shipped 24-bit Windows bitmaps; a 32-bit or palette file would load in Qt
// too, so only the header tells. At scale 2 the file's name ends in "@2x".
QImage Bmp24(const QString& chemin, int echelle) {
    QFile fichier(chemin + (echelle == 1 ? ".bmp" : "@2x.bmp"));
    const QByteArray octets = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    const std::string nom = fichier.fileName().toStdString();
    EXPECT_EQ(octets.mid(28, 2), QByteArray("\x18\0", 2)) << nom << ": 24 bits per pixel";
    const QImage image = QImage::fromData(octets, "BMP");
    EXPECT_EQ(image.size(), QSize(79 * echelle, 79 * echelle)) << nom << ": the size of a board cell";
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
    {"blanc", "aucune"}, {"bleu", "disque"}, {"rouge", "triangle"}, {"vert", "carré"}, {"jaune", "losange"}};

// The shape of the mark centred on `centre` (in pixels of the 79-pixel tile) that fits a square of
// side `t`: the pixels that stand out from `fond`, the colour the mark lies on, by at least half as
// much as the mark's middle (a mark is seen only if that is a third of black to white and about as
// wide as high). A square fills its bounds, a disc three quarters of them, a diamond or a triangle
// (pointing up) half, the triangle with three quarters of it below its middle.
std::string Forme(const QImage& image, QPointF centre, double t, QRgb fond) {
    const double e = image.width() / 79.0;
    const QRect cadre = QRectF(e * centre - e * t * QPointF(0.6, 0.6), e * t * QSizeF(1.2, 1.2)).toRect();
    const auto ecart = [&](int x, int y) { return std::abs(qGray(image.pixel(x, y)) - qGray(fond)); };
    const int contraste = ecart(int(e * centre.x()), int(e * centre.y()));
    QPolygon encre;
    for (int y = cadre.top(); y <= cadre.bottom(); ++y)
        for (int x = cadre.left(); x <= cadre.right(); ++x)
            if (2 * ecart(x, y) > contraste)
                encre << QPoint(x, y);
    const QRect bornes = encre.boundingRect();
    const double n = double(encre.size());
    const auto enBas = [&](QPoint p) { return 2 * p.y() > bornes.top() + bornes.bottom(); };
    const bool trapu = 4 * bornes.width() >= 3 * bornes.height() && 4 * bornes.height() >= 3 * bornes.width();
    if (contraste < 85 || n < 0.15 * e * e * t * t || !trapu)
        return "aucune";
    const double remplissage = n / (bornes.width() * bornes.height());
    if (remplissage > 0.92)
        return "carré";
    if (remplissage > 0.71)
        return "disque";
    return double(std::ranges::count_if(encre, enBas)) > 0.6 * n ? "triangle" : "losange";
}

// Each side of a tile and its point at the edge, four pixels beside the middle: on the body of a
// pipe that reaches it, away from the light streak along the pipe's axis.
const std::map<Cote, QPoint> Bords{{Gauche, {0, 35}}, {Droite, {78, 35}}, {Haut, {35, 0}}, {Bas, {35, 78}}};
const std::map<Cote, const char*> Cotes{{Gauche, "left"}, {Droite, "right"}, {Haut, "top"}, {Bas, "bottom"}};
// One tile file, named without its ".bmp": what each side where the piece is open shows ("blanc": an empty
// pipe; the other sides show the grey ground), each liquid's mark (its middle, the side of the square it fits
// in and a point of the colour it lies on) and the pixels that tell what the piece is (where, what they show,
// what they are), in pixels of the 79-pixel tile.
struct Tuile {
    std::string nom;
    std::map<Cote, std::string> bords;
    std::vector<std::tuple<std::string, QPointF, double, QPoint>> marques = {};
    std::vector<std::tuple<QPoint, std::string, const char*>> points = {};
};

const std::string Remplissages[]{"blanc", "bleu", "rouge", "vert", "jaune"};

// In a file name a liquid is its letter, its initial, after `devant`; an empty pipe leaves both out.
std::string Lettre(const std::string& liquide, const std::string& devant = "") {
    return liquide == "blanc" ? "" : devant + liquide.front();
}

// The 81 tiles, from what each piece is and how its files are named.
std::vector<Tuile> Catalogue() {
    std::vector<Tuile> tuiles{{"0", {}, {}, {{{39, 39}, "gris", "the empty cell"}}},
                              {"1", {}, {}, {{{39, 39}, "noir", "the obstacle"}}}};
    // Straight pipes and elbows, empty and filled: the code and the liquid's letter. The mark lies on
    // the pipe as its first side shows it: in the middle of a straight pipe, half-way round an
    // elbow's arc, 28 pixels from the two sides of the corner it turns around.
    const std::tuple<std::string, Cote, Cote, QPointF> tuyaux[]{
        {"2", Gauche, Droite, {39.5, 39.5}}, {"3", Haut, Bas, {39.5, 39.5}},
        {"4", Droite, Bas, {51.1, 51.1}},    {"5", Gauche, Bas, {27.9, 51.1}},
        {"6", Gauche, Haut, {27.9, 27.9}},   {"7", Droite, Haut, {51.1, 27.9}}};
    for (const auto& [code, a, b, milieu] : tuyaux)
        for (const std::string& l : Remplissages)
            tuiles.push_back({code + Lettre(l), {{a, l}, {b, l}}, {{l, milieu, 11, Bords.at(a)}}});
    // The cross: its channel across on the left and the right, a mark near each end; its channel
    // down at the top and the bottom and over the one across, a mark in the middle. Named "8", "h"
    // and the letter across, "v" and the letter down; "8" and one letter when both carry the same.
    for (const std::string& h : Remplissages)
        for (const std::string& v : Remplissages)
            tuiles.push_back(
                {"8" + (h == v ? Lettre(h) : Lettre(h, "h") + Lettre(v, "v")),
                 {{Gauche, h}, {Droite, h}, {Haut, v}, {Bas, v}},
                 {{h, {11, 39.5}, 11, {0, 35}}, {h, {68, 39.5}, 11, {0, 35}}, {v, {39.5, 39.5}, 11, {35, 0}}},
                 {{{35, 30}, v, "the channel down, over"}}});
    // Codes 9 to 20: each liquid's departure (block on the left, open right), arrival (its mirror)
    // and gate (block on the top wall, open both ways), empty or filled by that liquid; the block in
    // the liquid's colour above its mark, which lies on it.
    const std::tuple<std::vector<Cote>, QPoint, QPointF, double> blocs[]{
        {{Droite}, {19, 22}, {19.5, 39.5}, 15},
        {{Gauche}, {59, 22}, {59.5, 39.5}, 15},
        {{Gauche, Droite}, {27, 16}, {39.5, 16.5}, 13}};
    for (int i = 0; i < 12; ++i) {
        const auto& [ouvertes, bloc, marque, t] = blocs[i % 3];
        const std::string& l = Remplissages[1 + i / 3];
        for (const std::string& rempli : {std::string("blanc"), l}) {
            const std::string nom = std::to_string(9 + i) + Lettre(rempli);
            tuiles.push_back({nom, {}, {{l, marque, t, bloc}}, {{bloc, l, "the block"}}});
            for (const Cote cote : ouvertes)
                tuiles.back().bords[cote] = rempli;
        }
    }
    return tuiles;
}

const QString Dossier = QStringLiteral(CANALISOR_DOSSIER_PROGRAMME "/");

// Every tile at both scales: each side, the pixels that tell the piece and the shape of each
// liquid's mark.
TEST(Tuiles, ChaqueTuileAuxDeuxEchellesMontreSesCotesOuvertsSesLiquidesEtLeursFormes) {
    for (const Tuile& tuile : Catalogue())
        for (const int echelle : {1, 2}) {
            const QImage image = Bmp24(Dossier + QString::fromStdString(tuile.nom), echelle);
            const std::string cas = tuile.nom + (echelle == 1 ? ".bmp" : "@2x.bmp");
            const auto vu = [&](QPoint p) { return Vu(image.pixel(p * echelle)); };
            for (const auto& [cote, bord] : Bords)
                EXPECT_EQ(vu(bord), tuile.bords.contains(cote) ? tuile.bords.at(cote) : "gris")
                    << cas << ": the " << Cotes.at(cote) << " side";
            for (const auto& [ou, couleur, quoi] : tuile.points)
                EXPECT_EQ(vu(ou), couleur) << cas << ": " << quoi;
            for (const auto& [liquide, centre, t, fond] : tuile.marques)
                EXPECT_EQ(Forme(image, centre, t, image.pixel(fond * echelle)), FormeDuLiquide.at(liquide))
                    << cas << ": the mark of " << liquide << " at " << centre.x() << "," << centre.y();
        }
    // As the board gets them, too: the files alone would not tell (Qt writes 24 bits either way).
    EXPECT_EQ(canalisor::art::DessinerTuile({"8.bmp", canalisor::Croix, {}, {}, {}}, 2).depth(), 24);
}

// The rules window shows the obstacle, a departure, an arrival and a gate as the board does, at both
// scales; the icon holds the four sizes a desktop picks from, each with its blue pipe across and its
// red one down over it.
TEST(Ressources, LesImagesDesReglesSontLesTuilesEtLIconeASesQuatreTailles) {
    const std::pair<const char*, const char*> regles[]{
        {"regle-obstacle", "1"}, {"regle-depart", "9"}, {"regle-arrivee", "10"}, {"regle-porte", "11"}};
    for (const auto& [regle, tuile] : regles)
        for (const int echelle : {1, 2})
            EXPECT_EQ(Bmp24(":/" + QString(regle), echelle), Bmp24(Dossier + tuile, echelle))
                << regle << " shows " << tuile << ".bmp at scale " << echelle;
    QImageReader lecteur(":/canalisor.ico");
    std::vector<int> tailles;
    for (int k = 0; k < lecteur.imageCount() && lecteur.jumpToImage(k); ++k) {
        const QImage icone = lecteur.read();
        const int t = icone.width();
        tailles.push_back(t);
        EXPECT_EQ(qAlpha(icone.pixel(0, 0)), 0) << "the icon of " << t << ": the corner shows the desktop";
        EXPECT_EQ(Vu(icone.pixel(t / 8, t / 2)), "bleu") << "the icon of " << t << ": the pipe across";
        EXPECT_EQ(Vu(icone.pixel(t / 2, t / 2)), "rouge") << "the icon of " << t << ": the pipe down, over";
    }
    std::ranges::sort(tailles);
    EXPECT_EQ(tailles, (std::vector<int>{16, 32, 48, 256}));
}

// Machado, Oliveira and Fernandes' matrices (2009, full severity) on linear sRGB, compared in
// CIELAB (CIE76): below a difference of 20, a player would have to guess which pipe is which.
const std::map<std::string, std::array<std::array<double, 3>, 3>> Visions{
    {"protanope", {{{0.1523, 1.0526, -0.2049}, {0.1145, 0.7863, 0.0992}, {-0.0039, -0.0481, 1.0520}}}},
    {"deutéranope", {{{0.3673, 0.8606, -0.2280}, {0.2801, 0.6725, 0.0474}, {-0.0118, 0.0429, 0.9689}}}},
    {"tritanope", {{{1.2555, -0.0767, -0.1788}, {-0.0784, 0.9308, 0.1476}, {0.0047, 0.6914, 0.3039}}}}};

// How far apart two colours are in CIELAB, as a player with that vision sees them.
double Ecart(const QColor& a, const QColor& b, const std::array<std::array<double, 3>, 3>& m) {
    // sRGB to linear: below 10/255 the curve is a straight line, 12.92 x 255 = 3294.6.
    const auto lin = [](int c) { return c <= 10 ? c / 3294.6 : std::pow((c / 255.0 + 0.055) / 1.055, 2.4); };
    const auto f = [](double t) { return t > 0.008856 ? std::cbrt(t) : 7.787 * t + 16.0 / 116; };
    const auto lab = [&](const QColor& c) {
        const double rgb[] = {lin(c.red()), lin(c.green()), lin(c.blue())};
        double v[3];
        for (std::size_t l = 0; l < 3; ++l)
            v[l] = std::clamp(m[l][0] * rgb[0] + m[l][1] * rgb[1] + m[l][2] * rgb[2], 0.0, 1.0);
        const double x = f((0.4124 * v[0] + 0.3576 * v[1] + 0.1805 * v[2]) / 0.95047);
        const double y = f(0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2]);
        const double z = f((0.0193 * v[0] + 0.1192 * v[1] + 0.9505 * v[2]) / 1.08883);
        return std::array{116 * y - 16, 500 * (x - y), 200 * (y - z)};
    };
    const auto la = lab(a);
    const auto lb = lab(b);
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

// Every pair of liquids, as each of the three visions sees it (the simulation puts the red and green
// of a traffic light, e01e1e and 16a02c, 13 apart for a deuteranope).
TEST(Teintes, LesQuatreLiquidesRestentDistinctsDansChaqueVision) {
    using enum canalisor::Couleur;
    using canalisor::art::Teinte;
    const std::pair<std::string, QColor> liquides[]{
        {"bleu", Teinte(Bleu)}, {"rouge", Teinte(Rouge)}, {"vert", Teinte(Vert)}, {"jaune", Teinte(Jaune)}};
    for (const auto& [vision, m] : Visions)
        for (auto a = std::begin(liquides); a != std::end(liquides); ++a)
            for (auto b = a + 1; b != std::end(liquides); ++b)
                EXPECT_GT(Ecart(a->second, b->second, m), 20)
                    << "a " << vision << " tells " << a->first << " from " << b->first;
}

} // namespace
