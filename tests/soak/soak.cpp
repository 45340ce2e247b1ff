// Whole games played headless by the scripted player at the three difficulties and on past the
// wrap after level 15, with stray clicks, ticks, valves, pauses and stops mixed in. After every
// event the rules that hold whatever the player does are checked.
//   CANALISOR_SOAK_GAMES   number of games (default 30)
//   CANALISOR_SOAK_SEED    seed of the first game (default 20240611); game g plays seed + g
// A failure names its game's seed: CANALISOR_SOAK_SEED=<seed> CANALISOR_SOAK_GAMES=1 replays it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>
#include <stdexcept>

#include "Joueur.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

unsigned long Variable(const char* nom, unsigned long defaut) {
    const char* texte = std::getenv(nom);
    return texte && *texte ? std::strtoul(texte, nullptr, 10) : defaut;
}

// One game: its seed picks the difficulty, whether it starts on level 15 to get past the wrap
// (the scripted player seldom gets that far from level 1) and whether it may be stopped early on.
struct Partie {
    const unsigned graine;
    std::array<int, 3>& vus; // wraps, games over, games stopped
    Monde m{graine};
    std::mt19937 alea{graine};
    bool arretee = false, enPause = false;

    const EtatJeu& E() const { return m.jeu.Etat(); }
    const Ecran& A() const { return m.jeu.Affichage(); }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea); }

    // One event, then the rules that hold whatever the player does: the clock runs exactly while
    // the game counts, the level and tries stay in range, the score never falls; and, when
    // `immobile`, the board, the hand and the countdown have not moved.
    void Evenement(const char* nom, bool immobile, const std::function<void()>& action) {
        const auto photo = [&] {
            std::string p = A().LabelTemps + "/" + std::to_string(E().Tuyau1);
            for (const Cellule& c : m.jeu.Cellules())
                p += "," + std::to_string(c.Tag) + c.DataField;
            return p;
        };
        const int niveau = E().Niveau, score = E().Score;
        const std::string avant = photo();
        action();
        vus[0] += niveau == 15 && E().Niveau == 1;
        std::string faute;
        const bool compte = !arretee && !enPause && E().Essais >= 0;
        if (A().Timer1Actif != compte || m.horloge.enMarche != compte ||
            (A().PauseLegende == "Retour") != enPause)
            faute = "the clock runs when the game does not count, or stops when it does";
        else if (E().Niveau < 1 || E().Niveau > 15 || E().Essais < -1 || E().Score < score)
            faute = "the level or the tries out of range, or the score went down";
        else if (immobile && photo() != avant)
            faute = "the game moved";
        if (!faute.empty())
            throw std::runtime_error("seed " + std::to_string(graine) + ", after " + nom + ": " + faute);
    }

    void Tic() {
        Evenement("a tick", enPause, [&] { m.jeu.Timer1_Timer(); });
    }
    void Vannes() {
        Evenement("the valves", enPause, [&] { m.jeu.Maxi_Click(); });
    }
    void Pause() {
        enPause ^= A().PauseActif;
        Evenement("pause", false, [&] { m.jeu.Pause_Click(); });
    }
    // A click on an anchored or a filled piece, or while paused, changes nothing.
    void Clic(int i) {
        const Cellule& c = m.jeu.Cellules()[static_cast<std::size_t>(i)];
        const bool fixe = c.Tag == 1 || c.Tag >= 9 || !c.DataField.empty();
        Evenement("a click", fixe || enPause, [&] { m.jeu.Grille_Click(i); });
    }

    // Something a player does on the side: a tick, the valves, a stray click (on an anchored or a
    // filled piece it must change nothing); a pause, in which a tick, the valves and a click change
    // nothing; or, in the games that have one, a stop.
    void Distraction() {
        const int quoi = Tirer(6), i = Tirer(NombreCellules);
        if (quoi == 0)
            Tic();
        else if (quoi == 1)
            Vannes();
        else if (quoi == 2)
            Clic(i);
        else if (quoi == 3 || graine % 5 != 0)
            Pause(), Tic(), Vannes(), Clic(i), Pause();
        else
            arretee = true, enPause = false, Evenement("a stop", false, [&] { m.jeu.menuArreter_Click(); });
    }

    void JouerNiveau() {
        const int niveau = E().Niveau, essais = E().Essais;
        JoueurScripte joueur(m.jeu);
        bool pose = Tirer(5) != 0 && joueur.Planifier(); // now and then a board is left empty: a try is lost
        for (int clics = 0; pose && !joueur.PlanEnPlace() && clics < 3000; ++clics) {
            Evenement("laying a pipe", false, [&] { pose = joueur.Poser(1) > 0; }); // one click at a time
            if (Tirer(20) == 0)
                Distraction();
        }
        if (Tirer(3) != 0)
            Vannes();
        while (A().Timer1Actif && E().Niveau == niveau && E().Essais == essais) {
            Tic();
            if (Tirer(60) == 0)
                Distraction();
        }
    }

    void Jouer() {
        m.jeu.ChoisirDifficulte(1 + static_cast<int>(graine % 3));
        m.dialogues.reponses = {"Soak"};
        Evenement("a new game", false, [&] { m.jeu.menuJouer_Click(); });
        // Level 15 is dealt until the scripted player finds paths on it, about one deal in a thousand
        // (a run that never gets past the wrap fails at the end).
        for (int donne = 0; graine % 2 && donne < 50000 && (donne == 0 || !JoueurScripte(m.jeu).Planifier());
             ++donne) {
            m.jeu.Etat().Niveau = 15;
            m.jeu.NouveauNiveau();
        }
        for (int niveaux = 16 + Tirer(30); E().Essais >= 0 && !arretee; --niveaux)
            niveaux == 0 ? (arretee = true, Evenement("a stop", false, [&] { m.jeu.menuArreter_Click(); }))
                         : JouerNiveau();
        ++vus[arretee ? 2 : 1];
        for (int k = 0; k < 20; ++k) // once the game is stopped or over, nothing starts the clock
            Distraction();
    }
};

TEST(Endurance, PartiesEntieres) {
    const unsigned long parties = Variable("CANALISOR_SOAK_GAMES", 30);
    const unsigned long graine = Variable("CANALISOR_SOAK_SEED", 20240611);
    std::array<int, 3> vus{};
    for (unsigned long g = 0; g < parties; ++g) // a broken rule throws, naming the game's seed
        Partie{static_cast<unsigned>(graine + g), vus}.Jouer();
    std::printf("soak: %lu games, %d wraps, %d over, %d stopped\n", parties, vus[0], vus[1], vus[2]);
    // Else the run did not cover what it is here for: a wrap, a game over and a stop.
    EXPECT_TRUE(parties < 30 || (vus[0] > 0 && vus[1] > 0 && vus[2] > 0));
}

} // namespace
