// The liquids' colours as players with a colour-vision deficiency see them. Each deficiency is
// simulated with Machado, Oliveira and Fernandes' matrices (2009, full severity) on linear sRGB,
// and the results compared in CIELAB: two liquids that come out closer than a clearly visible
// step would make a player guess which pipe is which.
#include <gtest/gtest.h>

#include <QColor>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "Dessin.h"
#include "Plateau.h"

using namespace canalisor;

namespace {

using Matrice = std::array<std::array<double, 3>, 3>;
using Triplet = std::array<double, 3>;

struct Vision {
    const char* nom;
    Matrice matrice;
};

const Vision Visions[] = {
    {"normal", {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
    {"protanopia",
     {{{0.152286, 1.052583, -0.204868}, {0.114503, 0.786281, 0.099216}, {-0.003882, -0.048116, 1.051998}}}},
    {"deuteranopia",
     {{{0.367322, 0.860646, -0.227968}, {0.280085, 0.672501, 0.047413}, {-0.011820, 0.042940, 0.968881}}}},
    {"tritanopia",
     {{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}},
};

// CIE76: 2.3 is the smallest visible step; 20 is a difference nobody has to look for.
constexpr double EcartMin = 20;

double Lineaire(int composante) {
    const double c = composante / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

Triplet Simuler(const QColor& couleur, const Matrice& m) {
    const Triplet rgb{Lineaire(couleur.red()), Lineaire(couleur.green()), Lineaire(couleur.blue())};
    Triplet vu{};
    for (std::size_t i = 0; i < 3; ++i)
        vu[i] = std::clamp(m[i][0] * rgb[0] + m[i][1] * rgb[1] + m[i][2] * rgb[2], 0.0, 1.0);
    return vu;
}

// Linear sRGB to CIELAB under D65.
Triplet Lab(const Triplet& rgb) {
    const double x = (0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047;
    const double y = 0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2];
    const double z = (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883;
    const auto f = [](double t) {
        constexpr double d = 6.0 / 29;
        return t > d * d * d ? std::cbrt(t) : t / (3 * d * d) + 4.0 / 29;
    };
    return {116 * f(y) - 16, 500 * (f(x) - f(y)), 200 * (f(y) - f(z))};
}

double Ecart(const Triplet& a, const Triplet& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

TEST(Couleurs, LesQuatreLiquidesRestentDistinctsDansChaqueVision) {
    for (const Vision& vision : Visions) {
        SCOPED_TRACE(vision.nom);
        for (std::size_t a = 0; a < Couleurs.size(); ++a)
            for (std::size_t b = a + 1; b < Couleurs.size(); ++b) {
                const double ecart = Ecart(Lab(Simuler(art::Teinte(Couleurs[a]), vision.matrice)),
                                           Lab(Simuler(art::Teinte(Couleurs[b]), vision.matrice)));
                EXPECT_GT(ecart, EcartMin)
                    << Description(Couleurs[a]).Nom << " and " << Description(Couleurs[b]).Nom;
            }
    }
}

// The simulation itself, on a pair it must confuse: the pure red and green of a traffic light
// are the classic deuteranope's trap, and any transposed or misread matrix would keep them apart.
TEST(Couleurs, LaSimulationConfondLeRougeEtLeVertDUnFeuTricolore) {
    const QColor rouge(0xe0, 0x1e, 0x1e);
    const QColor vert(0x16, 0xa0, 0x2c);
    const Matrice& normale = Visions[0].matrice;
    const Matrice& deuteranopie = Visions[2].matrice;
    EXPECT_GT(Ecart(Lab(Simuler(rouge, normale)), Lab(Simuler(vert, normale))), 100);
    EXPECT_LT(Ecart(Lab(Simuler(rouge, deuteranopie)), Lab(Simuler(vert, deuteranopie))), EcartMin);
}

// The rules and the player call the liquids by their colour names: a colour pushed apart from
// the others must still be the colour it is called. Hue angles in CIELAB (LCh), in degrees.
TEST(Couleurs, ChaqueLiquideGardeLaCouleurDeSonNom) {
    struct Attendu {
        Couleur couleur;
        double teinteMin;
        double teinteMax;
    };
    const Attendu attendus[] = {
        {Couleur::Bleu, 260, 310},
        {Couleur::Rouge, 20, 50},
        {Couleur::Vert, 125, 170},
        {Couleur::Jaune, 80, 105},
    };
    for (const Attendu& a : attendus) {
        const QColor c = art::Teinte(a.couleur);
        const Triplet lab = Lab({Lineaire(c.red()), Lineaire(c.green()), Lineaire(c.blue())});
        double teinte = std::atan2(lab[2], lab[1]) * 180 / std::numbers::pi;
        if (teinte < 0)
            teinte += 360;
        SCOPED_TRACE(Description(a.couleur).Nom);
        EXPECT_GE(teinte, a.teinteMin);
        EXPECT_LE(teinte, a.teinteMax);
        EXPECT_GT(std::hypot(lab[1], lab[2]), 45) << "too greyish to read as a colour";
    }
}

} // namespace
