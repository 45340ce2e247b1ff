// Whole games played headless by the scripted player at the three difficulties and on past the
// wrap after level 15, with stray clicks, ticks, valves, pauses and stops mixed in. After every
// event the rules that hold whatever the player does are checked.
//   CANALISOR_SOAK_GAMES   number of games (default 30)
//   CANALISOR_SOAK_SEED    seed of the first game (default 20240611); game g plays seed + g
// A failure names its game's seed: CANALISOR_SOAK_SEED=<seed> CANALISOR_SOAK_GAMES=1 replays it.

#include <cstdlib>

#include "Joueur.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

// One game: its seed picks the difficulty, whether it starts on level 15 to get past the wrap
// (the scripted player seldom gets that far from level 1) and whether it may be stopped early on.
struct Partie : Monde {
    Partie(unsigned g, std::array<int, 3>& v) : Monde(g), graine(g), alea(g), vus(v) {}
    const unsigned graine;
    std::mt19937 alea;
    bool arretee = false, enPause = false;
    std::array<int, 3>& vus; // wraps, games over, games stopped
    JoueurScripte joueur{jeu};

    const EtatJeu& E() const { return jeu.Etat(); }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea); }
    std::string Photo() const { // the board, the hand and the countdown
        std::string p = std::to_string(E().Temps) + "/" + std::to_string(E().Tuyau1);
        for (const Cellule& c : jeu.Cellules())
            p += "," + std::to_string(c.Piece) + c.Remplissage;
        return p;
    }

    // One event: 0 a tick, 1 the valves, 2 a click on cell i, 3 pause, 4 stop, 5 the scripted
    // player's next pipe. Then the rules that hold whatever the player does: the clock runs exactly
    // while the game counts, the level and tries stay in range, the score never falls. Paused, a
    // tick, the valves and a click move nothing (the board, the hand, the countdown); nor does a
    // click on an anchored or a filled piece. A broken rule throws.
    void Geste(int quoi, int i = 0) {
        const Cellule& c = jeu.Cellules()[static_cast<std::size_t>(i)];
        const bool fixe = c.Piece == 1 || c.Piece >= 9 || !c.Remplissage.empty();
        enPause = quoi == 3 ? enPause != E().PausePossible : enPause && quoi != 4;
        arretee = arretee || quoi == 4;
        const int niveau = E().Niveau, score = E().Score;
        const std::string avant = Photo();
        quoi == 0   ? jeu.Tic()
        : quoi == 1 ? jeu.OuvrirVannes()
        : quoi == 2 ? jeu.PoserTuyau(i)
        : quoi == 3 ? jeu.BasculerPause()
        : quoi == 4 ? jeu.ArreterPartie()
                    : void(joueur.Poser(1));
        vus[0] += niveau == 15 && E().Niveau == 1;
        const bool compte = !arretee && !enPause && E().Essais >= 0;
        if (E().HorlogeEnMarche != compte || horloge.enMarche != compte || E().EnPause != enPause ||
            E().Niveau < 1 || E().Niveau > 15 || E().Essais < -1 || E().Score < score ||
            (quoi < 3 && (enPause || (quoi == 2 && fixe)) && Photo() != avant))
            throw std::runtime_error("seed " + std::to_string(graine) + ": a rule broken after gesture " +
                                     std::to_string(quoi));
    }
    // Something a player does on the side; a pause has a tick, the valves and a click in it.
    void Distraction() {
        const int quoi = Tirer(6), i = Tirer(NombreCellules);
        if (quoi < 3 || (quoi > 3 && graine % 5 == 0)) // only some games may be stopped
            Geste(std::min(quoi, 4), i);
        else
            for (int g : {3, 0, 1, 2, 3})
                Geste(g, i);
    }

    void JouerNiveau() {
        const int niveau = E().Niveau, essais = E().Essais;
        const bool pose = Tirer(5) != 0 && joueur.Planifier(); // now and then a board is left empty
        for (int clics = 0; pose && !joueur.PlanEnPlace() && clics < 3000; ++clics)
            Tirer(20) == 0 ? Distraction() : Geste(5); // one click at a time
        if (Tirer(3) != 0)
            Geste(1);
        while (E().HorlogeEnMarche && E().Niveau == niveau && E().Essais == essais)
            Tirer(60) == 0 ? Distraction() : Geste(0);
    }

    void Jouer() {
        jeu.ChoisirDifficulte(1 + static_cast<int>(graine % 3));
        dialogues.reponses = {"Soak"};
        jeu.NouvellePartie();
        // Level 15 is dealt until the scripted player finds paths on it, about one deal in a thousand
        // (a run that never gets past the wrap fails at the end).
        for (int donne = 0; graine % 2 && donne < 50000 && (donne == 0 || !joueur.Planifier()); ++donne)
            jeu.Etat().Niveau = 15, jeu.NouveauNiveau();
        for (int niveaux = 16 + Tirer(30); E().Essais >= 0 && !arretee; --niveaux)
            niveaux == 0 ? Geste(4) : JouerNiveau();
        ++vus[arretee ? 2 : 1];
        for (int k = 0; k < 20; ++k) // once the game is stopped or over, nothing starts the clock
            Distraction();
    }
};

TEST(Endurance, PartiesEntieres) {
    const char *n = std::getenv("CANALISOR_SOAK_GAMES"), *s = std::getenv("CANALISOR_SOAK_SEED");
    const unsigned long parties = n && *n ? std::strtoul(n, nullptr, 10) : 30,
                        graine = s && *s ? std::strtoul(s, nullptr, 10) : 20240611;
    std::array<int, 3> vus{};
    for (unsigned long g = 0; g < parties; ++g) // a broken rule throws, naming the game's seed
        Partie(static_cast<unsigned>(graine + g), vus).Jouer();
    std::printf("soak: %lu games, %d wraps, %d over, %d stopped\n", parties, vus[0], vus[1], vus[2]);
    // Else the run did not cover what it is here for: a wrap, a game over and a stop.
    EXPECT_TRUE(parties < 30 || (vus[0] > 0 && vus[1] > 0 && vus[2] > 0));
}

} // namespace
