// Where the generator may lay each anchored piece, and the levels it lays.
#include <algorithm>

#include "MondeScripte.h"
#include "Placement.h"

using namespace canalisor;
using canalisor::test::Monde;

// A piece (D departure, A arrival, P gate, O obstacle) tried on cell p with one piece `code` already
// on cell `voisin` (0: none; code 1 is an obstacle): whether the generator refuses the cell, a rule too lax
// or too strict, and at the row ends, where a neighbour on another row never counts.
TEST(Placement, ReglesAuxBoutsDeLigneAuxCoinsEtAuxAbordsDesPieces) {
    // clang-format off
    const std::tuple<char, int, int, int, bool> cas[]{
        {'D', 0, 0, 0, false}, {'D', 0, 2, 1, true}, {'D', 119, 0, 0, true}, {'D', 13, 15, 1, false},
        {'D', 13, 14, 1, true}, {'D', 50, 49, 10, false}, {'D', 50, 49, 11, true}, {'A', 0, 0, 0, true},
        {'A', 119, 0, 0, false}, {'A', 119, 117, 1, true}, {'A', 16, 14, 1, false}, {'A', 16, 15, 1, true},
        {'A', 49, 50, 9, false}, {'A', 49, 50, 14, true}, {'P', 0, 0, 0, true}, {'P', 119, 0, 0, true},
        {'P', 16, 14, 9, false}, {'P', 50, 48, 1, false}, {'P', 50, 52, 18, false}, {'P', 50, 49, 1, true},
        {'P', 50, 51, 13, true}, {'P', 50, 48, 12, true}, {'P', 50, 52, 19, true}, {'P', 50, 48, 13, false},
        {'O', 0, 1, 10, true}, {'O', 0, 1, 9, false}, {'O', 119, 118, 12, true}, {'O', 15, 14, 9, false},
        {'O', 14, 15, 10, false}, {'O', 50, 49, 10, false}};
    // clang-format on
    for (auto [piece, p, voisin, code, refuse] : cas) {
        Grille g;
        g[static_cast<std::size_t>(voisin)].Tag = static_cast<std::int16_t>(code);
        const auto regle = std::array{MalPlaceDepart, MalPlaceArrivee, MalPlacePassage,
                                      MalPlaceObstacle}[std::string_view("DAPO").find(piece)];
        EXPECT_EQ(regle(g, p), refuse) << piece << " at " << p << " beside " << code << " at " << voisin;
    }
}

// The level table as a player meets it: each level's pieces in laying order (D departure, A arrival,
// P gate, each with its colour b r v j; O obstacle). The liquids that run are those with a departure,
// and the gates the arrivals ask for those laid.
TEST(Niveau, ChaqueNiveauPoseSesPiecesDansLOrdreEtLanceSesLiquides) {
    // clang-format off
    const std::string niveaux[15]{
        "Db Ab O O O",                             "Db Ab Pb O O O O",
        "Db Ab Dr Ar O O O O O",                   "Db Ab Pb Dr Ar O O O O O O",
        "Db Ab Pb Dr Ar Pr O O O O O O O",         "Db Ab Dr Ar Dv Av O O O",
        "Db Ab Dr Ar Dv Av Pb O O O O",            "Db Ab Dr Ar Dv Av Pb Pr O O O O O",
        "Db Ab Dr Ar Dv Av Pb Pr Pv O O O O O O",  "Db Ab Dr Ar Dv Av Dj Aj O O",
        "Db Ab Pb Dr Ar Dv Av Dj Aj O O",          "Db Ab Pb Dr Ar Pr Dv Av Dj Aj O O",
        "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj O O",    "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj Pj O O",
        "Db Ab Pb Dr Ar Pr Dv Av Pv Dj Aj Pj O O O O"};
    // clang-format on
    for (int niveau = 1; niveau <= 15; ++niveau) {
        const std::string& ordre = niveaux[niveau - 1];
        SCOPED_TRACE(ordre);
        Monde m;
        EtatJeu& e = m.jeu.Etat();
        for (Couleur c : Couleurs) // what an earlier level left
            e[c] = {1, 2, 3, 4, 5, false, true};
        e.VannesMax = true;
        e.Niveau = static_cast<std::int16_t>(niveau);
        for (int k = 0; k < 16; ++k) // piece k on row k / 2, column 4 or 10: each is taken at its first draw
            m.hasard.AjouterCellule(k / 2 * 15 + (k % 2 ? 10 : 4));
        m.jeu.NouveauNiveau();
        // The board's pieces in cell order, so in laying order, each marked '?' when its liquid does
        // not know it there (a departure: when the liquid does not run from it).
        std::string pose;
        for (int i = 0; i < NombreCellules; ++i) {
            const int t = m.jeu.Cellules()[static_cast<std::size_t>(i)].Tag - 9, k = t % 3;
            pose += t == Obstacle - 9 ? " O" : "";
            if (t < 0)
                continue;
            const Liquide& l = e.Liquides[static_cast<std::size_t>(t / 3)];
            const bool connu =
                k == 0 ? l.Valide && !l.Arrive && l.Position == i && l.Precedent == i && l.Depart == i
                       : (k == 1 ? l.Arrivee : l.Passage) == i;
            pose += std::string{' ', "DAP"[k], "brvj"[t / 3]} + (connu ? "" : "?");
        }
        int lances = 0, portes = 0; // the liquids that run and the gates asked for
        for (Couleur c : Couleurs)
            lances += e[c].Valide, portes += APorte(c, niveau);
        EXPECT_EQ(std::tie(pose, lances, portes, e.VannesMax),
                  std::make_tuple(" " + ordre, std::ranges::count(ordre, 'D'), std::ranges::count(ordre, 'P'),
                                  false));
    }
}
