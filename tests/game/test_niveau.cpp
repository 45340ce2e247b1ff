// The level layout: where each anchored piece may stand, what each level lays and in which order,
// and how a cell is drawn.
#include <functional>

#include "MondeScripte.h"
#include "Placement.h"
#include "Regles.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

// What a code is to the placement rules, from the liquids' table.
struct Est {
    static bool Depart(int c) { return LiquideDe(c) && LiquideDe(c)->depart == c; }
    static bool Arrivee(int c) { return LiquideDe(c) && LiquideDe(c)->arrivee == c; }
    static bool Porte(int c) { return LiquideDe(c) && LiquideDe(c)->porte == c; }
    static bool Pris(int c) { return c != Vide; }
    static bool DepartOuPorte(int c) { return Depart(c) || Porte(c); }
    static bool ArriveeOuPorte(int c) { return Arrivee(c) || Porte(c); }
    static bool AncreOuObstacle(int c) { return c == Obstacle || LiquideDe(c) != nullptr; }
};

// One neighbour rule: the piece refuses a cell when the cell `decalage` away on its row holds a
// code that `refuse` names.
struct RegleDeVoisin {
    int decalage;
    std::function<bool(int)> refuse;
    const char* regle;
};
struct RegleDePlacement {
    const char* nom;
    bool (*malPlace)(const Grille&, int);
    bool premiereColonne; // may stand in column 0
    bool derniereColonne; // may stand in column 14
    std::vector<RegleDeVoisin> voisins;
};

const RegleDePlacement Placements[]{
    {.nom = "departure",
     .malPlace = MalPlaceDepart,
     .premiereColonne = true,
     .derniereColonne = false,
     .voisins = {{1, Est::Pris, "the cell it feeds stays empty"},
                 {2, Est::Pris, "the second cell on its right stays empty"},
                 {-1, Est::DepartOuPorte, "it does not face a departure or a gate on its left"}}},
    {.nom = "arrival",
     .malPlace = MalPlaceArrivee,
     .premiereColonne = false,
     .derniereColonne = true,
     .voisins = {{-1, Est::Pris, "the cell that feeds it stays empty"},
                 {-2, Est::Pris, "the second cell on its left stays empty"},
                 {1, Est::ArriveeOuPorte, "it does not face an arrival or a gate on its right"}}},
    {.nom = "gate",
     .malPlace = MalPlacePorte,
     .premiereColonne = false,
     .derniereColonne = false,
     .voisins = {{-2, Est::DepartOuPorte, "no departure or gate two cells left"},
                 {-1, Est::AncreOuObstacle, "no obstacle or anchored piece on its left"},
                 {1, Est::AncreOuObstacle, "no obstacle or anchored piece on its right"},
                 {2, Est::ArriveeOuPorte, "no arrival or gate two cells right"}}},
    {.nom = "obstacle",
     .malPlace = MalPlaceObstacle,
     .premiereColonne = true,
     .derniereColonne = true,
     .voisins = {{-1, Est::DepartOuPorte, "it does not block a departure or a gate on its left"},
                 {1, Est::ArriveeOuPorte, "it does not block an arrival or a gate on its right"}}},
};

} // namespace

// Rules: a piece never lands on a taken cell, nor in a column that would close its open side; and
// it keeps clear the cells that its open sides and its neighbours' need, on its own row only (a
// neighbour that wraps onto another row never counts). Every piece kind, every cell, every code
// one and two cells away on either side.
TEST(Placement, ChaquePieceSurChaqueCaseAcoteDeChaqueCode) {
    for (const RegleDePlacement& placement : Placements)
        for (int p = 0; p < CasesDuPlateau; ++p) {
            const int colonne = ColonneDe(p);
            const bool colonneInterdite = (colonne == 0 && !placement.premiereColonne) ||
                                          (colonne == ColonnesDuPlateau - 1 && !placement.derniereColonne);
            Grille g;
            EXPECT_EQ(placement.malPlace(g, p), colonneInterdite)
                << "a " << placement.nom << " at cell " << p << " (column " << colonne
                << ") on an empty board";
            for (int code = Obstacle; code <= PorteJaune; ++code) {
                g[static_cast<std::size_t>(p)].Piece = static_cast<std::int16_t>(code);
                EXPECT_TRUE(placement.malPlace(g, p))
                    << "a " << placement.nom << " on cell " << p << " taken by " << NomPiece(code);
            }
            g[static_cast<std::size_t>(p)].Piece = Vide;
            for (int decalage : {-2, -1, 1, 2}) {
                const int q = p + decalage;
                if (q < 0 || q >= CasesDuPlateau)
                    continue;
                const RegleDeVoisin* regle = nullptr;
                for (const RegleDeVoisin& r : placement.voisins)
                    if (r.decalage == decalage)
                        regle = &r;
                for (int code = Obstacle; code <= PorteJaune; ++code) {
                    g[static_cast<std::size_t>(q)].Piece = static_cast<std::int16_t>(code);
                    const bool refuse = LigneDe(q) == LigneDe(p) && regle && regle->refuse(code);
                    EXPECT_EQ(placement.malPlace(g, p), colonneInterdite || refuse)
                        << "a " << placement.nom << " at cell " << p << " (row " << LigneDe(p) << ", column "
                        << colonne << ") with " << NomPiece(code) << " at cell " << q << " (row "
                        << LigneDe(q) << "): " << (regle ? regle->regle : "no rule looks there");
                }
                g[static_cast<std::size_t>(q)].Piece = Vide;
            }
        }
}

// Rule: each level lays its pieces in the order of the level table, then starts each liquid it
// uses at its departure; the liquids and gates it does not use keep what an earlier level left.
// The board is cleared of everything else, the valves close and the countdown starts at the delay.
TEST(Niveau, ChaqueNiveauPoseSesPiecesDansLOrdreEtLanceSesLiquides) {
    // What an earlier level left: a liquid at 1 from 2, departure 3, arrival 4, gate 5, arrived.
    const Liquide ancien{1, 2, 3, 4, 5, false, true};
    for (int niveau = 1; niveau <= 15; ++niveau) {
        SCOPED_TRACE(testing::Message() << "level " << niveau);
        Monde m;
        EtatJeu& e = m.jeu.Etat();
        e.Liquides.fill(ancien);
        e.VannesOuvertes = true;
        e.EnPause = true;
        e.Niveau = static_cast<std::int16_t>(niveau);
        Grille& g = m.jeu.Cellules();
        g[119] = {DroitH, "x", "2b.bmp", false}; // a filled pipe of an earlier level
        // The k-th piece drawn on row k / 2, column 4 or 10, each taken at its first draw: the board
        // read in cell order is the laying order.
        const auto cellule = [](std::size_t k) { return static_cast<int>(k / 2 * 15 + (k % 2 ? 10 : 4)); };
        const std::vector<std::int16_t>& pieces = PiecesDuNiveau[static_cast<std::size_t>(niveau - 1)];
        for (std::size_t k = 0; k < pieces.size(); ++k)
            m.hasard.AjouterCellule(cellule(k));
        m.jeu.NouveauNiveau();

        std::vector<std::string> posees;
        std::vector<std::string> attendues;
        for (std::int16_t code : pieces)
            attendues.push_back(std::string(NomPiece(code)) + " " + std::to_string(code) + ".bmp");
        for (const Cellule& c : g) {
            EXPECT_TRUE(c.Active);
            EXPECT_EQ(c.Remplissage, "");
            if (c.Piece != Vide)
                posees.push_back(std::string(NomPiece(c.Piece)) + " " + c.Image);
            if (c.Piece == Vide) {
                EXPECT_EQ(c.Image, "0.bmp");
            }
        }
        EXPECT_EQ(posees, attendues) << "the pieces laid and their pictures, in laying order";
        for (const RegleDeLiquide& l : Liquides) {
            SCOPED_TRACE(l.nom);
            const Liquide& liquide = e[l.couleur];
            const auto ou = [&](std::int16_t code) {
                for (std::size_t k = 0; k < pieces.size(); ++k)
                    if (pieces[k] == code)
                        return static_cast<std::int16_t>(cellule(k));
                return std::int16_t{-1};
            };
            // A liquid the level does not use is left alone.
            Liquide lance = ancien;
            if (niveau >= l.premierNiveau)
                lance = {ou(l.depart),
                         ou(l.depart),
                         ou(l.depart),
                         ou(l.arrivee),
                         NiveauAPorte(niveau, l) ? ou(l.porte) : ancien.Porte,
                         true,
                         false};
            EXPECT_EQ(std::tie(liquide.Position, liquide.Precedent, liquide.Depart, liquide.Arrivee,
                               liquide.Porte, liquide.Valide, liquide.Arrive),
                      std::tie(lance.Position, lance.Precedent, lance.Depart, lance.Arrivee, lance.Porte,
                               lance.Valide, lance.Arrive))
                << "front, came from, departure, arrival, gate, flowing, arrived";
        }
        EXPECT_EQ(std::tie(e.VannesOuvertes, e.EnPause, e.PausePossible, e.OuvrirVannesPossible, e.Temps,
                           m.horloge.enMarche),
                  std::make_tuple(false, false, true, true, 60, true))
            << "valves open, paused, Pause on, valves on, countdown, clock running";
    }
}

// Rule: a cell is drawn as floor(r x 120), and drawn again until the piece may stand there.
TEST(Niveau, UneCaseRefuseeEstTireeDeNouveau) {
    Monde m;
    m.jeu.Etat().Niveau = 1;
    // The departure: the last column, then cell 0. The arrival: cell 0 (taken), cell 2 (the second
    // cell right of the departure), then 20. The obstacles: cell 1 (the cell the departure feeds),
    // then 40, 41, 42.
    for (int cellule : {14, 0, 0, 2, 20, 1, 40, 41, 42})
        m.hasard.AjouterCellule(cellule);
    m.jeu.NouveauNiveau();
    const Liquide& bleu = m.jeu.Etat()[Couleur::Bleu];
    EXPECT_EQ(bleu.Depart, 0);
    EXPECT_EQ(bleu.Arrivee, 20);
    EXPECT_EQ(m.jeu.Etat().Obstacles[0], 40);
    EXPECT_TRUE(m.hasard.valeurs.empty());
}
