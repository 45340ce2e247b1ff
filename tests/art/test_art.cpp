// The drawn pictures, read back from where the game and its windows find them after a build,
// and the liquids' colours as players with a colour-vision deficiency see them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

#include "Dessin.h"

using namespace canalisor;

namespace {

// The game has always shipped 24-bit Windows bitmaps; a 32-bit or palette file would load in
// Qt too, so only the header tells. Returns the picture, read as a BMP whatever its bytes.
QImage Bmp24(const QString& chemin, int cote) {
    SCOPED_TRACE(chemin.toStdString());
    QFile fichier(chemin);
    const QByteArray octets = fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
    EXPECT_EQ(octets.mid(28, 2), QByteArray("\x18\0", 2)) << "bits per pixel";
    const QImage image = QImage::fromData(octets, "BMP");
    EXPECT_EQ(image.size(), QSize(cote, cote));
    return image.convertToFormat(QImage::Format_RGB32);
}

// Each tile and its double as files. Each is open where its piece lets the liquid through: there
// the middle of the edge shows the pipe, elsewhere the grey ground; departures open to the right,
// arrivals to the left. Each channel of a cross is the straight pipe that runs that way, filled as
// the name says. All tiles differ, which also tells a filled tile from its empty one.
TEST(Art, TuilesImagesDesReglesEtIcone) {
    // By piece code: the open sides among left (G), right (D), top (H) and bottom (B).
    const char* ouvertes[21] = {"",   "",  "GD", "HB", "DB", "GB", "GH", "DH", "GDHB", "D", "G",
                                "GD", "D", "G",  "GD", "D",  "G",  "GD", "D",  "G",    "GD"};
    ASSERT_EQ(CatalogueTuiles().size(), 81u);
    std::map<std::string, QImage> images;
    for (const Tuile& tuile : CatalogueTuiles()) {
        for (const int echelle : {2, 1}) {
            const QString chemin = CANALISOR_DOSSIER_PROGRAMME "/" + QString::fromStdString(tuile.Nom);
            images[tuile.Nom] = Bmp24(echelle == 1 ? chemin : chemin.chopped(4) + "@2x.bmp", 79 * echelle);
            const int fin = 79 * echelle - 1, milieu = fin / 2;
            std::string vu;
            for (const auto& [cote, x, y] :
                 {std::tuple{'G', 0, milieu}, {'D', fin, milieu}, {'H', milieu, 0}, {'B', milieu, fin}})
                if (images[tuile.Nom].pixel(x, y) != qRgb(0xc0, 0xc0, 0xc0))
                    vu += cote;
            EXPECT_EQ(vu, ouvertes[tuile.Code]) << tuile.Nom << " x" << echelle;
        }
        for (const auto& [nom, autre] : images)
            EXPECT_TRUE(nom == tuile.Nom || autre != images[tuile.Nom]) << tuile.Nom << " and " << nom;
    }
    // As the board gets them, too: the files alone would not tell (Qt writes 24 bits either way).
    EXPECT_EQ(art::DessinerTuile(CatalogueTuiles().back(), 2).depth(), 24);
    // Across (at 20, 39) and down (at 39, 12), away from the middle and from the marks near the ends.
    const auto t = [&images](const std::string& nom) { return images.at(nom + ".bmp"); };
    for (const auto& [croix, h, v] :
         {std::tuple{"8hbvr", "2b", "3r"}, {"8b", "2b", "3b"}, {"8vj", "2", "3j"}, {"8hv", "2v", "3"}})
        EXPECT_EQ(std::pair(t(croix).pixel(20, 39), t(croix).pixel(39, 12)),
                  std::pair(t(h).pixel(20, 39), t(v).pixel(39, 12)))
            << croix;
    // The rules window's pictures in the resources, each the piece it names, and the window's
    // icon with its four usual sizes.
    for (const auto& [nom, code] :
         {std::pair{"obstacle", 1}, {"depart", 9}, {"arrivee", 10}, {"porte", 11}}) {
        EXPECT_EQ(Bmp24(QString(":/regle-") + nom + ".bmp", 79), images.at(NomImage(code)));
        Bmp24(QString(":/regle-") + nom + "@2x.bmp", 158);
    }
    QImageReader lecteur(":/canalisor.ico");
    std::vector<int> tailles;
    for (int k = 0; k < lecteur.imageCount() && lecteur.jumpToImage(k); ++k)
        tailles.push_back(lecteur.read().width());
    std::ranges::sort(tailles);
    EXPECT_EQ(tailles, (std::vector<int>{16, 32, 48, 256}));
}

// Machado, Oliveira and Fernandes' matrices (2009, full severity) on linear sRGB, compared in
// CIELAB (CIE76): below a difference of 20, a player would have to guess which pipe is which.
using Matrice = std::array<std::array<double, 3>, 3>;
// Protanopia, deuteranopia, tritanopia.
const Matrice Visions[] = {
    {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}},
    {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}},
    {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}},
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
    const auto la = LabVu(a, m), lb = LabVu(b, m);
    return std::hypot(la[0] - lb[0], la[1] - lb[1], la[2] - lb[2]);
}

// The simulation itself must confuse the red and green of a traffic light for a deuteranope.
TEST(Art, LesQuatreLiquidesRestentDistinctsDansChaqueVision) {
    for (std::size_t v = 0; v < std::size(Visions); ++v)
        for (std::size_t a = 0; a < Couleurs.size(); ++a)
            for (std::size_t b = a + 1; b < Couleurs.size(); ++b)
                EXPECT_GT(Ecart(art::Teinte(Couleurs[a]), art::Teinte(Couleurs[b]), Visions[v]), 20)
                    << "vision " << v << ": " << Description(Couleurs[a]).Nom << " and "
                    << Description(Couleurs[b]).Nom;
    EXPECT_LT(Ecart(QColor(0xe0, 0x1e, 0x1e), QColor(0x16, 0xa0, 0x2c), Visions[1]), 20);
}

} // namespace
