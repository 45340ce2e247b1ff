// The board's rows, where the generator may lay each anchored piece, and the levels it lays.
#include <gtest/gtest.h>

#include <cmath>

#include "MondeScripte.h"
#include "Placement.h"

using namespace canalisor;
using canalisor::test::Monde;

TEST(Plateau, LesLignesArrondissentVersLeBas) {
    const std::tuple<int, int, bool> cas[]{{14, 15, false}, {0, -1, false}, {-1, -15, true}, {0, 14, true}};
    for (auto [a, b, meme] : cas)
        EXPECT_EQ(MemeLigne(a, b), meme) << a << " / " << b;
}

// A piece (D departure, A arrival, P gate, O obstacle) tried on cell p with one piece `code` already
// on cell `voisin` (0: none): whether the generator refuses the cell. Random layouts catch a rule
// too lax; these rows catch one too strict, and the row ends, where a neighbour on another row
// never counts.
TEST(Placement, ReglesAuxBoutsDeLigneAuxCoinsEtAuxAbordsDesPieces) {
    const std::tuple<char, int, int, int, bool> cas[]{
        {'D', 0, 0, 0, false},          {'D', 0, 2, Obstacle, true},   {'D', 119, 0, 0, true},
        {'D', 13, 15, Obstacle, false}, {'D', 13, 14, Obstacle, true}, {'D', 50, 49, 10, false},
        {'A', 0, 0, 0, true},           {'A', 119, 0, 0, false},       {'A', 119, 117, Obstacle, true},
        {'A', 16, 14, Obstacle, false}, {'A', 16, 15, Obstacle, true}, {'A', 49, 50, 9, false},
        {'P', 0, 0, 0, true},           {'P', 119, 0, 0, true},        {'P', 16, 14, 9, false},
        {'P', 50, 48, Obstacle, false}, {'P', 50, 52, 18, false},      {'O', 0, 1, 10, true},
        {'O', 0, 1, 9, false},          {'O', 119, 118, 12, true},     {'O', 15, 14, 9, false},
        {'O', 14, 15, 10, false},       {'O', 50, 49, 10, false}};
    for (auto [piece, p, voisin, code, refuse] : cas) {
        Grille g;
        g[static_cast<std::size_t>(voisin)].Tag = static_cast<std::int16_t>(code);
        const auto regle = piece == 'D'   ? MalPlaceDepart
                           : piece == 'A' ? MalPlaceArrivee
                           : piece == 'P' ? MalPlacePassage
                                          : MalPlaceObstacle;
        EXPECT_EQ(regle(g, p), refuse) << piece << " at " << p << " beside " << code << " at " << voisin;
    }
}

TEST(Niveau, LesNiveauxTiresAuHasardGardentLeursInvariants) {
    // Per level: liquids (a departure and an arrival each), gates, obstacles.
    const int liquides[15]{1, 1, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 4, 4};
    const int portes[15]{0, 1, 0, 1, 2, 0, 1, 2, 3, 0, 1, 2, 3, 4, 4};
    const int obstacles[15]{3, 4, 5, 6, 7, 3, 4, 5, 6, 2, 2, 2, 2, 2, 4};
    const unsigned graine = 20261206;
    Monde m(graine);
    // What lies at p + d on p's row: 0 departure, 1 arrival, 2 gate, 3 anything else, -1 nothing.
    const auto famille = [&](int p, int d) {
        if (p + d < 0 || p + d >= NombreCellules || !MemeLigne(p, p + d))
            return -1;
        const int code = m.jeu.Cellules()[static_cast<std::size_t>(p + d)].Tag;
        return code == Vide ? -1 : code >= 9 && code <= 20 ? (code - 9) % 3 : 3;
    };
    for (int niveau = 1; niveau <= 15; ++niveau) {
        SCOPED_TRACE(testing::Message() << "seed " << graine << ", level " << niveau);
        const auto n = static_cast<std::size_t>(niveau - 1);
        for (int essai = 0; essai < 2000; ++essai) {
            m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
            m.jeu.NouveauNiveau();
            std::array<int, 4> vu{}; // counted by cell: two pieces on one cell would count once
            for (int p = 0; p < NombreCellules; ++p) {
                const int f = famille(p, 0), col = p % Colonnes;
                if (f >= 0)
                    ++vu[static_cast<std::size_t>(f)];
                // A departure or gate lets the liquid out to the right, an arrival or gate takes it
                // from the left: that neighbour stays empty, and the one beyond holds nothing that
                // could not send it (or take it) that way.
                if (f == 0 || f == 2) {
                    ASSERT_TRUE(col < 14 && famille(p, 1) < 0 && famille(p, 2) != 1 && famille(p, 2) != 2)
                        << "cell " << p;
                }
                if (f == 1 || f == 2) {
                    ASSERT_TRUE(col > 0 && famille(p, -1) < 0 && famille(p, -2) != 0 && famille(p, -2) != 2)
                        << "cell " << p;
                }
            }
            ASSERT_EQ(vu, (std::array{liquides[n], liquides[n], portes[n], obstacles[n]}))
                << "layout " << essai;
        }
    }
}

// Level 4 lays Db Ab Pb Dr Ar and six obstacles, each drawn again until its cell is allowed.
TEST(Niveau, PoseDansLOrdreRetireLesCasesRefuseesEtNeLanceQueSesLiquides) {
    Monde m;
    EtatJeu& e = m.jeu.Etat();
    e[Couleur::Rouge] = {11, 12, 13, 14, 77, false, true};
    e[Couleur::Vert] = {1, 2, 3, 4, 5, false, true};
    e.Obstacles[6] = 99;
    e.VannesMax = true;
    e.Niveau = 4;
    m.hasard.Ajouter({1.0, std::nextafter(1.0, 0.0)}); // Db: cell 119, the last column, refused twice
    m.hasard.AjouterCellule(0);
    m.hasard.AjouterCellule(1);                                         // Ab: beside the departure, refused
    m.hasard.Ajouter(1.0);                                              // then cell 119
    for (int c : {0, 62, 30, 31, 47, 61, 100, 101, 102, 103, 104, 105}) // 0 taken; 31 beside Dr; 61 beside Pb
        m.hasard.AjouterCellule(c);
    m.jeu.NouveauNiveau();
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
    EXPECT_FALSE(e.VannesMax);
}
