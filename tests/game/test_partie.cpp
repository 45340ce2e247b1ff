// Where the generator may lay each anchored piece and the levels it lays; whole games through the
// events, and the best-scores table they end in.
#include <algorithm>
#include <limits>
#include <sstream>

#include "MondeScripte.h"
#include "Placement.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

// Starts a game with straight pipes in hand whose level 1 has its departure at cell 0, its arrival
// at 20 and obstacles at 40..42, dealt so `donnes` times: nothing lies right of the departure until
// the test lays it.
void NouvellePartieConnue(Monde& m, int donnes = 1) {
    for (int c : {2, 2, 2})
        m.hasard.AjouterTuyau(c);
    for (int k = 0; k < 5 * donnes; ++k)
        m.hasard.AjouterCellule(std::array{0, 20, 40, 41, 42}[static_cast<std::size_t>(k % 5)]);
    m.jeu.NouvellePartie();
}

// What the player sees, on one line: the boxes shown so far, each ended by '|' (" (stop)" when it
// has the critical icon); level, tries, score, countdown, difficulty and its check mark; the Pause
// caption; which are on of the Pause and valves buttons, the clock, the open valves and the
// difficulty menu (P M H V d, '-' when off).
std::string Vu(const Monde& m) {
    const EtatJeu& e = m.jeu.Etat();
    // The counters show nothing before the first game, and no fewer than 0 tries.
    const auto compte = [&](int n) { return e.Niveau == 0 ? std::string() : std::to_string(n); };
    std::string vu;
    for (const auto& b : m.dialogues.messages)
        vu += b.texte + (b.icone == Icone::Critique ? " (stop)|" : "|");
    vu += compte(e.Niveau) + " " + compte(std::max<int>(e.Essais, 0)) + " " + compte(e.Score) + " " +
          compte(e.Temps) + " " + std::to_string(e.Difficulte) + std::to_string(e.Difficulte) + " " +
          (e.EnPause ? "Retour" : "Pause") + " ";
    return vu + (e.PausePossible ? "P" : "-") + (e.OuvrirVannesPossible ? "M" : "-") +
           (e.HorlogeEnMarche ? "H" : "-") + (e.VannesOuvertes ? "V" : "-") +
           (e.ChoisirDifficultePossible ? "d" : "-");
}

const std::string Perdu = "Dommage! Vous avez perdu. (stop)|",
                  Passe = "Félicitations! Vous passez au niveau suivant.|";

} // namespace

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
        g[static_cast<std::size_t>(voisin)].Piece = static_cast<std::int16_t>(code);
        const auto regle = std::array{MalPlaceDepart, MalPlaceArrivee, MalPlacePorte,
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
        e.VannesOuvertes = true;
        e.Niveau = static_cast<std::int16_t>(niveau);
        for (int k = 0; k < 16; ++k) // piece k on row k / 2, column 4 or 10: each is taken at its first draw
            m.hasard.AjouterCellule(k / 2 * 15 + (k % 2 ? 10 : 4));
        m.jeu.NouveauNiveau();
        // The board's pieces in cell order, so in laying order, each marked '?' when its liquid does
        // not know it there (a departure: when the liquid does not run from it).
        std::string pose;
        for (int i = 0; i < NombreCellules; ++i) {
            const int t = m.jeu.Cellules()[static_cast<std::size_t>(i)].Piece - 9, k = t % 3;
            pose += t == Obstacle - 9 ? " O" : "";
            if (t < 0)
                continue;
            const Liquide& l = e.Liquides[static_cast<std::size_t>(t / 3)];
            const bool connu =
                k == 0 ? l.Valide && !l.Arrive && l.Position == i && l.Precedent == i && l.Depart == i
                       : (k == 1 ? l.Arrivee : l.Porte) == i;
            pose += std::string{' ', "DAP"[k], "brvj"[t / 3]} + (connu ? "" : "?");
        }
        int lances = 0, portes = 0; // the liquids that run and the gates asked for
        for (Couleur c : Couleurs)
            lances += e[c].Valide, portes += APorte(c, niveau);
        EXPECT_EQ(std::tie(pose, lances, portes, e.VannesOuvertes),
                  std::make_tuple(" " + ordre, std::ranges::count(ordre, 'D'), std::ranges::count(ordre, 'P'),
                                  false));
    }
}

// Ticks, clicks and the valves while paused, and the clock after a stop or a game over, are left
// to the soak's checks.
TEST(Partie, ChronologiePauseEtVannesAChaqueDifficulte) {
    // At each difficulty: what is seen at start-up, the record and its holder (the best score, though
    // the file lists it last) and the piece of a cell clicked before the first level; then in a game
    // with straight pipes laid from the departure on, what is seen paused after a tick; the ticks to
    // the first flow step (the Delai-th) and what is seen then; the ticks to the next (Cadence); with
    // the valves opened, what is seen, then the ticks for two more steps (each tick is one, worth
    // more) and the score; then what a new game shows, started paused (1, 3) or with the valves
    // open (2) on level 7, with no try left: it starts from scratch, but for the difficulty.
    const std::string debut = "    22 Pause ----d 1500 Marie 0/1 2 0 ", fin = "/" + Perdu + "1 2 0 ";
    const std::tuple<int, const char*, const char*> cas[]{
        {1, "79 11 Retour P----/79 1 2 1 10 11 Pause PMH--/10/1 2 2 1 11 Pause --HV-/2 6", "80 11"},
        {2, "59 22 Retour P----/59 1 2 1 10 22 Pause PMH--/10/1 2 2 1 22 Pause --HV-/2 6", "60 22"},
        {3, "39 33 Retour P----/39 1 2 1 5 33 Pause PMH--/5/1 2 2 1 33 Pause --HV-/2 8", "40 33"}};
    for (auto [d, partie, nouvelle] : cas) {
        Monde m(static_cast<unsigned>(d));
        std::ranges::reverse(*m.palmares.table);
        m.jeu.Demarrer("/jeu/");
        m.jeu.PoserTuyau(0);
        std::ostringstream vu; // a stream, as what is seen must be read in order
        vu << Vu(m) << " " << m.jeu.Etat().ScoreRecord << " " << m.jeu.Etat().NomRecord << " "
           << m.jeu.Cellules()[0].Piece;
        m.jeu.ChoisirDifficulte(d);
        NouvellePartieConnue(m);
        for (int i : {1, 2, 3})
            m.jeu.PoserTuyau(i);
        m.jeu.ChoisirDifficulte(d % 3 + 1); // locked while a game runs
        m.jeu.Tic();
        m.jeu.BasculerPause();
        vu << "/" << Vu(m);
        m.jeu.BasculerPause();
        vu << "/" << m.TicsJusquAuPas() << " " << Vu(m) << "/" << m.TicsJusquAuPas();
        m.jeu.OuvrirVannes();
        vu << "/" << Vu(m) << "/" << m.TicsJusquAuPas() + m.TicsJusquAuPas() << " " << m.jeu.Etat().Score;
        std::tie(m.jeu.Etat().Niveau, m.jeu.Etat().Essais) = std::pair(7, 0);
        d == 2 ? m.jeu.OuvrirVannes() : m.jeu.BasculerPause();
        m.jeu.NouvellePartie();
        vu << "/" << Vu(m);
        EXPECT_EQ(vu.str(), debut + partie + fin + nouvelle + " Pause PMH--");
    }
    Monde m;
    m.palmares.table.reset();
    EXPECT_FALSE(m.jeu.Demarrer("/jeu/"));
    EXPECT_EQ(Vu(m), "Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu. (stop)|    "
                     "22 Pause ----d");
}

// The judgement after a flow step with the valves open. Each liquid (blue, red, green, yellow)
// ends the step arrived (A), still flowing (F) or overflowed (D); its gate cell is filled ("x") or
// not. A failure is judged before an arrival: a try is lost, else the level is passed, else it goes
// on. After level 15 comes level 1, a difficulty up, with a try more; the score saturates.
TEST(Partie, ApresUnPasLEchecLEmporteSurLArrivee) {
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    // Difficulty, level, the liquids' ends, the gates, the score before; what is seen after.
    const std::tuple<int, int, std::string_view, const char*, std::int32_t, std::string> cas[]{
        {2, 3, "AD", "", 0, Perdu + "3 1 4 60 22 Pause PMH--"},
        {2, 3, "DA", "", 0, Perdu + "3 1 4 60 22 Pause PMH--"},
        {2, 3, "AA", "", 0, Passe + "4 2 104 60 22 Pause PMH--"},
        {2, 3, "AF", "", 0, "3 2 4 1 22 Pause --HV-"},
        {2, 2, "A", "", 0, Perdu + "2 1 2 60 22 Pause PMH--"},
        {2, 2, "A", "x", 0, Passe + "3 2 102 60 22 Pause PMH--"},
        {2, 1, "D", "", 0, Perdu + "1 1 2 60 22 Pause PMH--"},
        {2, 1, "A", "", 0, Passe + "2 2 102 60 22 Pause PMH--"},
        {1, 15, "AAAA", "x", 500, Passe + "1 3 1608 60 22 Pause PMH--"},
        {3, 15, "AAAA", "x", max - 50, Passe + "1 3 2147483647 40 33 Pause PMH--"}};
    for (auto [d, niveau, pas, porte, score, attendu] : cas) {
        Monde m(3);
        m.jeu.ChoisirDifficulte(d);
        m.jeu.NouvellePartie();
        m.jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
        m.jeu.NouveauNiveau();
        m.jeu.Etat().Score = score;
        Grille& g = m.jeu.Cellules();
        g.fill({Vide, "", "0.bmp", true});
        for (int k = 0; k < std::ssize(pas); ++k) {
            const auto p = static_cast<std::int16_t>(16 + 30 * k),
                       porteCase = static_cast<std::int16_t>(113 + k);
            g[porteCase] = {static_cast<std::int16_t>(11 + 3 * k), porte, "", true};
            // Entered from the cell on its left; a pipe ahead, but for the liquid that overflows.
            g[p].Piece = static_cast<std::int16_t>(pas[k] == 'A' ? 10 + 3 * k : +DroitH);
            g[p + 1].Piece = pas[k] == 'D' ? Vide : DroitH;
            m.jeu.Etat().Liquides[k] = {p, static_cast<std::int16_t>(p - 1), 0, 0, porteCase, true, false};
        }
        m.jeu.OuvrirVannes(); // the next tick is a flow step
        m.jeu.Tic();
        EXPECT_EQ(Vu(m), attendu) << "level " << niveau << ", " << pas << ", gates '" << porte << "'";
    }
}

TEST(Partie, TroisEssaisPerdusFinissentLaPartieEtInscriventLeScore) {
    // The file: 0 fine, 1 cannot be written, 2 gone; the final score; the name typed after two
    // empty answers (none when the score earns no place); the box after the three lost tries; the
    // record shown after and the file after.
    const std::string ne = "Votre score n'a pas pu être enregistré : le fichier canalisor.txt ";
    const char* exemple = "1500 Marie 1500,Paul 1200,Léa 900,Hugo 300,Anne 0,";
    const std::tuple<int, std::int32_t, const char*, std::string, const char*> cas[]{
        {0, 2000, "Zo\xe9\r\n", "", "2000 Zo\xe9   2000,Marie 1500,Paul 1200,Léa 900,Hugo 300,"},
        {0, 0, "", "", exemple},
        {1, 2000, "Jules", ne + "ne peut pas être écrit. (stop)|", exemple},
        {2, 2000, "", ne + "est introuvable ou illisible. (stop)|", "1500 "}};
    for (auto [fichier, score, tape, boite, apres] : cas) {
        Monde m;
        NouvellePartieConnue(m, 3);
        m.jeu.Etat().Score = score - 3; // the departure's cell adds one a try
        m.palmares.ecritureEchoue = fichier == 1;
        m.palmares.table = fichier == 2 ? std::nullopt : m.palmares.table;
        m.dialogues.reponses = {"", "", tape}; // an empty or cancelled name is asked again
        for (int essai = 0; essai < 3; ++essai)
            m.TicsJusquAuPas();
        // A finished game cannot be resumed.
        EXPECT_EQ(Vu(m) + " " + m.jeu.Etat().ScoreRecord + " " + EnLigne(m.palmares.table),
                  Perdu + Perdu + Perdu + boite + "1 0 " + std::to_string(score) + " 10 22 Pause ----- " +
                      apres);
        EXPECT_EQ(m.dialogues.invites,
                  std::vector<std::string>(*tape ? 3 : 0,
                                           "Bravo, vous avez battu le record!\nQuel est votre nom ?"));
    }
}

TEST(Classement, ClasseLeFichierPuisYPlaceUnNouveauScore) {
    // The entries in file order, a new score for Z: the place it takes ('-' none) and the table
    // after ranking and inserting. Of equal scores, a new one goes below.
    const char* exemple = "Hugo 300 Marie 1500 Anne 0 Paul 1200 Léa 900";
    const std::tuple<const char*, std::int32_t, const char*> cas[]{
        {exemple, 1000, "2 Marie 1500,Paul 1200,Z 1000,Léa 900,Hugo 300,"},
        {exemple, 1200, "2 Marie 1500,Paul 1200,Z 1200,Léa 900,Hugo 300,"},
        {exemple, 1, "4 Marie 1500,Paul 1200,Léa 900,Hugo 300,Z 1,"},
        {exemple, 0, "- Marie 1500,Paul 1200,Léa 900,Hugo 300,Anne 0,"},
        {exemple, 2000, "0 Z 2000,Marie 1500,Paul 1200,Léa 900,Hugo 300,"},
        // A displaced running best has its score rewritten: Hugo loses his zero, Léa keeps hers.
        {"Hugo 0300 Marie 1500 Anne 0 Paul 1200 Léa 0900", 0,
         "- Marie 1500,Paul 1200,Léa 0900,Hugo 300,Anne 0,"},
        // Of equal scores the first in the file ranks higher, except the two left for places 4 and 5.
        {"A 5 B 5 C 5 D 5 E 5", 5, "- A 5,B 5,C 5,E 5,D 5,"}};
    for (auto [fichier, score, attendu] : cas) {
        TableScores t;
        std::istringstream lu(fichier);
        for (EntreeScore& e : t)
            lu >> e.Nom >> e.Points;
        t = ClasserScores(t);
        const std::optional<int> place = InsererScore(t, "Z", score);
        EXPECT_EQ((place ? std::to_string(*place) : "-") + " " + EnLigne(t), attendu)
            << fichier << ", " << score;
    }
}
