#include <gtest/gtest.h>

#include <cmath>

#include "MondeScripte.h"

using namespace canalisor;
using canalisor::test::Monde;

namespace {

// 0 departure, 1 arrival, 2 gate, -1 anything else.
int Famille(int code) {
    return code >= 9 && code <= 20 ? (code - 9) % 3 : -1;
}

} // namespace

TEST(Niveau, RandomLayoutsOfEveryLevelKeepTheirInvariants) {
    // Departures, arrivals, gates, obstacles per level.
    const std::array<std::array<int, 4>, 15> attendu{{{1, 1, 0, 3},
                                                      {1, 1, 1, 4},
                                                      {2, 2, 0, 5},
                                                      {2, 2, 1, 6},
                                                      {2, 2, 2, 7},
                                                      {3, 3, 0, 3},
                                                      {3, 3, 1, 4},
                                                      {3, 3, 2, 5},
                                                      {3, 3, 3, 6},
                                                      {4, 4, 0, 2},
                                                      {4, 4, 1, 2},
                                                      {4, 4, 2, 2},
                                                      {4, 4, 3, 2},
                                                      {4, 4, 4, 2},
                                                      {4, 4, 4, 4}}};
    const unsigned graine = 20261206;
    Monde m(graine);
    // The code of the cell at p + d when it lies on p's row, else -1.
    const auto sur = [&](int p, int d) {
        const bool dedans = p + d >= 0 && p + d < NombreCellules && MemeLigne(p, p + d);
        return dedans ? m.jeu.Cellules()[static_cast<std::size_t>(p + d)].Tag : -1;
    };
    for (int niveau = 1; niveau <= 15; ++niveau) {
        SCOPED_TRACE(testing::Message() << "seed " << graine << ", level " << niveau);
        for (int essai = 0; essai < 2000; ++essai) {
            m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
            m.jeu.NouveauNiveau();
            std::array<int, 4> vu{}; // counted by cell: two pieces on one cell would count once
            for (int p = 0; p < NombreCellules; ++p) {
                const Cellule& c = m.jeu.Cellules()[static_cast<std::size_t>(p)];
                const int f = Famille(c.Tag), col = p % Colonnes;
                const int avant = Famille(sur(p, -2)), apres = Famille(sur(p, 2));
                if (c.Tag != Vide) // anything else than the level's pieces counts as an obstacle too many
                    ++vu[static_cast<std::size_t>(f < 0 ? 3 : f)];
                // A departure or gate lets the liquid out to the right, an arrival or gate takes it from
                // the left: that neighbour stays empty, and the one beyond holds nothing that could not
                // send it (or take it) that way.
                if (f == 0 || f == 2) {
                    ASSERT_TRUE(col < 14 && sur(p, 1) == Vide && apres != 1 && apres != 2) << "cell " << p;
                }
                if (f == 1 || f == 2) {
                    ASSERT_TRUE(col > 0 && sur(p, -1) == Vide && avant != 0 && avant != 2) << "cell " << p;
                }
            }
            ASSERT_EQ(vu, attendu[static_cast<std::size_t>(niveau - 1)]) << "layout " << essai;
        }
    }
}

// Level 4 lays Db Ab Pb Dr Ar and six obstacles, each drawn again until its cell is allowed.
TEST(Niveau, LaysPiecesInOrderRedrawsRefusedCellsAndStartsOnlyItsOwnRuns) {
    Monde m;
    EtatJeu& e = m.jeu.Etat();
    e[Couleur::Rouge] = {11, 12, 13, 14, 77, false, true};
    e[Couleur::Vert] = {1, 2, 3, 4, 5, false, true};
    e.Obstacles[6] = 99;
    e.VannesMax = true;
    e.Niveau = 4;
    const double presqueUn = std::nextafter(1.0, 0.0);
    m.hasard.Ajouter({1.0, presqueUn}); // Db: cell 119, the last column, refused twice
    m.hasard.AjouterCellule(0);
    m.hasard.AjouterCellule(1);                                         // Ab: beside the departure, refused
    m.hasard.Ajouter(1.0);                                              // then cell 119
    for (int c : {0, 62, 30, 31, 47, 61, 100, 101, 102, 103, 104, 105}) // 0 taken; 31 beside Dr; 61 beside Pb
        m.hasard.AjouterCellule(c);
    m.jeu.NouveauNiveau();
    EXPECT_EQ(m.hasard.EnAttente(), 0u);
    const Liquide &b = e[Couleur::Bleu], &r = e[Couleur::Rouge], &v = e[Couleur::Vert];
    EXPECT_EQ(std::tie(b.Depart, b.Arrivee, b.Passage, b.Position, b.Precedent, b.Valide, b.Arrive),
              std::make_tuple(0, 119, 62, 0, 0, true, false));
    // Red has no gate on level 4: its gate cell is kept. Green is not on level 4 at all.
    EXPECT_EQ(std::tie(r.Depart, r.Arrivee, r.Passage, r.Position, r.Precedent, r.Valide, r.Arrive),
              std::make_tuple(30, 47, 77, 30, 30, true, false));
    EXPECT_EQ(std::tie(v.Position, v.Precedent, v.Depart, v.Arrivee, v.Passage, v.Valide, v.Arrive),
              std::make_tuple(1, 2, 3, 4, 5, false, true));
    EXPECT_EQ(std::vector<int>(e.Obstacles.begin(), e.Obstacles.end()),
              (std::vector<int>{100, 101, 102, 103, 104, 105, 99}));
    EXPECT_EQ(std::tie(m.jeu.Cellules()[62].Image, e.VannesMax), std::make_tuple("11.bmp", false));
    const Ecran& a = m.jeu.Affichage();
    EXPECT_EQ(std::tie(a.LabelNiveau, a.LabelTemps, a.PauseLegende), std::make_tuple("4", "60", "Pause"));
    EXPECT_TRUE(a.PauseActif && a.MaxiActif && a.Timer1Actif && m.horloge.enMarche);
    m.hasard.Ajouter({0.0, presqueUn, 1.0}); // a source that returns 1.0 still draws a pipe
    for (int code : {2, 8, 8})
        EXPECT_EQ(m.jeu.TirerTuyau(), code);
}
