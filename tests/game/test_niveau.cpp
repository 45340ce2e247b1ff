#include <gtest/gtest.h>

#include <map>

#include "MondeScripte.h"
#include "Placement.h"

using namespace canalisor;
using canalisor::test::Monde;

namespace {

struct Contenu {
    int departs, arrivees, portes, obstacles;
};
// What each level lays, counted by kind.
const std::map<int, Contenu> Attendu{
    {1, {1, 1, 0, 3}},  {2, {1, 1, 1, 4}},  {3, {2, 2, 0, 5}},  {4, {2, 2, 1, 6}},  {5, {2, 2, 2, 7}},
    {6, {3, 3, 0, 3}},  {7, {3, 3, 1, 4}},  {8, {3, 3, 2, 5}},  {9, {3, 3, 3, 6}},  {10, {4, 4, 0, 2}},
    {11, {4, 4, 1, 2}}, {12, {4, 4, 2, 2}}, {13, {4, 4, 3, 2}}, {14, {4, 4, 4, 2}}, {15, {4, 4, 4, 4}},
};

bool EstDepart(int code) { return code >= 9 && code <= 20 && (code - 9) % 3 == 0; }
bool EstArrivee(int code) { return code >= 9 && code <= 20 && (code - 9) % 3 == 1; }
bool EstPorte(int code) { return code >= 9 && code <= 20 && (code - 9) % 3 == 2; }
int CodeEn(const Grille& g, int i) { return g[static_cast<std::size_t>(i)].Tag; }
// The code of the cell at p + d when it lies on p's row, else -1.
int Sur(const Grille& g, int p, int d) {
    const int i = p + d;
    return (i >= 0 && i < NombreCellules && MemeLigne(p, i)) ? CodeEn(g, i) : -1;
}

}  // namespace

TEST(Niveau, RandomLayoutsOfEveryLevelKeepTheirInvariants) {
    const unsigned graine = 20261206;
    Monde m(graine);
    for (int niveau = 1; niveau <= 15; ++niveau) {
        for (int essai = 0; essai < 2000; ++essai) {
            m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
            m.jeu.NouveauNiveau();
            const Grille& g = m.jeu.Cellules();
            Contenu vu{};
            int nonVides = 0;
            for (int p = 0; p < NombreCellules; ++p) {
                const int code = CodeEn(g, p);
                nonVides += code != Vide;
                ASSERT_TRUE(code == Vide || code == Obstacle || code >= 9) << "seed " << graine;
                const int col = p % Colonnes;
                if (EstDepart(code)) {
                    ++vu.departs;
                    ASSERT_LE(col, 13);
                    ASSERT_EQ(Sur(g, p, 1), Vide) << "seed " << graine << " level " << niveau;
                    ASSERT_FALSE(EstArrivee(Sur(g, p, 2)) || EstPorte(Sur(g, p, 2)));
                } else if (EstArrivee(code)) {
                    ++vu.arrivees;
                    ASSERT_GE(col, 1);
                    ASSERT_EQ(Sur(g, p, -1), Vide) << "seed " << graine << " level " << niveau;
                    ASSERT_FALSE(EstDepart(Sur(g, p, -2)) || EstPorte(Sur(g, p, -2)));
                } else if (EstPorte(code)) {
                    ++vu.portes;
                    ASSERT_TRUE(col >= 1 && col <= 13);
                    ASSERT_EQ(Sur(g, p, -1), Vide);
                    ASSERT_EQ(Sur(g, p, 1), Vide);
                    ASSERT_FALSE(EstDepart(Sur(g, p, -2)) || EstPorte(Sur(g, p, -2)));
                    ASSERT_FALSE(EstArrivee(Sur(g, p, 2)) || EstPorte(Sur(g, p, 2)));
                } else if (code == Obstacle) {
                    ++vu.obstacles;
                }
                const Cellule& c = g[static_cast<std::size_t>(p)];
                ASSERT_TRUE(c.Active);
                ASSERT_EQ(c.DataField, "");
                ASSERT_EQ(c.Image, NomImage(code));
            }
            const Contenu& a = Attendu.at(niveau);
            ASSERT_EQ(vu.departs, a.departs) << "level " << niveau << " seed " << graine;
            ASSERT_EQ(vu.arrivees, a.arrivees);
            ASSERT_EQ(vu.portes, a.portes);
            ASSERT_EQ(vu.obstacles, a.obstacles);
            ASSERT_EQ(nonVides, a.departs + a.arrivees + a.portes + a.obstacles);
            // The layout variables point at their pieces.
            for (Couleur c : Couleurs) {
                if (!EstActive(c, niveau))
                    continue;
                const Liquide& l = m.jeu.Etat()[c];
                ASSERT_EQ(CodeEn(g, l.Depart), Description(c).Depart);
                ASSERT_EQ(CodeEn(g, l.Arrivee), Description(c).Arrivee);
                if (APorte(c, niveau)) {
                    ASSERT_EQ(CodeEn(g, l.Passage), Description(c).Passage);
                }
            }
            for (int k = 0; k < a.obstacles; ++k)
                ASSERT_EQ(CodeEn(g, m.jeu.Etat().Obstacles[static_cast<std::size_t>(k)]), Obstacle);
        }
    }
}

TEST(Niveau, LaysPiecesInTableOrderRedrawingRefusedCells) {
    Monde m;
    m.jeu.Etat().Niveau = 2;
    // Db at 0; Ab: 1 refused (next to the departure), then 32; Pb: 0 taken, then 62;
    // four obstacles, the first drawn onto the gate's left neighbour and refused.
    for (int c : {0, 1, 32, 0, 62, 61, 100, 101, 102, 103})
        m.hasard.AjouterCellule(c);
    m.jeu.NouveauNiveau();
    const EtatJeu& e = m.jeu.Etat();
    EXPECT_EQ(e[Couleur::Bleu].Depart, 0);
    EXPECT_EQ(e[Couleur::Bleu].Arrivee, 32);
    EXPECT_EQ(e[Couleur::Bleu].Passage, 62);
    EXPECT_EQ((std::array<std::int16_t, 4>{e.Obstacles[0], e.Obstacles[1], e.Obstacles[2], e.Obstacles[3]}),
              (std::array<std::int16_t, 4>{100, 101, 102, 103}));
    EXPECT_EQ(m.hasard.EnAttente(), 0u);
    EXPECT_EQ(m.jeu.Cellules()[62].Image, "11.bmp");
}

TEST(Niveau, StartsTheRunsOfActiveColoursOnlyAndKeepsOtherValues) {
    Monde m(7);
    EtatJeu& e = m.jeu.Etat();
    e[Couleur::Rouge] = {11, 12, 13, 14, 15, false, true};
    e[Couleur::Bleu].Passage = 77;
    e.VannesMax = true;
    e.Niveau = 1;
    m.jeu.NouveauNiveau();
    EXPECT_EQ(e[Couleur::Rouge].Position, 11);
    EXPECT_TRUE(e[Couleur::Rouge].Arrive);
    EXPECT_EQ(e[Couleur::Bleu].Passage, 77);  // level 1 has no gate
    const Liquide& bleu = e[Couleur::Bleu];
    EXPECT_EQ(bleu.Position, bleu.Depart);
    EXPECT_EQ(bleu.Precedent, bleu.Depart);
    EXPECT_TRUE(bleu.Valide);
    EXPECT_FALSE(bleu.Arrive);
    EXPECT_FALSE(e.VannesMax);
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(a.LabelNiveau, "1");
    EXPECT_EQ(a.LabelTemps, "60");
    EXPECT_TRUE(a.PauseActif && a.MaxiActif && a.Timer1Actif);
    EXPECT_EQ(a.PauseLegende, "Pause");
}

TEST(Niveau, DrawsNeverReachTheEndOfTheirRange) {
    Monde m;
    const double presqueUn = std::nextafter(1.0, 0.0);
    m.hasard.Ajouter({0.0, presqueUn, 6.9 / 7.0, 1.0});
    EXPECT_EQ(m.jeu.TirerTuyau(), 2);
    EXPECT_EQ(m.jeu.TirerTuyau(), 8);
    EXPECT_EQ(m.jeu.TirerTuyau(), 8);
    EXPECT_EQ(m.jeu.TirerTuyau(), 8);  // a source that returns 1.0 still draws a pipe
    m.jeu.Etat().Niveau = 1;
    m.hasard.Ajouter({1.0, presqueUn});  // departure at cell 119 is refused: drawn again
    m.hasard.AjouterCellule(20);
    m.hasard.Ajouter(1.0);  // the arrival takes cell 119
    for (int c : {40, 41, 42})
        m.hasard.AjouterCellule(c);
    m.jeu.NouveauNiveau();
    EXPECT_EQ(m.jeu.Etat()[Couleur::Bleu].Arrivee, 119);
}

TEST(Niveau, PipeDrawsAreUniform) {
    Monde m(99);
    std::array<int, 9> compte{};
    const int n = 70000;
    for (int k = 0; k < n; ++k)
        ++compte[static_cast<std::size_t>(m.jeu.TirerTuyau())];
    for (int code = 2; code <= 8; ++code)
        EXPECT_NEAR(compte[static_cast<std::size_t>(code)], n / 7, n / 70) << code;
}
