// Whole games played headless by the scripted player at the three difficulties, with stray
// clicks, ticks, valves, pauses and stops mixed in. After every gesture the rules that hold
// whatever the player does are checked, each by its name.
//   CANALISOR_SOAK_GAMES   number of games (default 30)
//   CANALISOR_SOAK_SEED    seed of the first game (default 20240611); game g plays seed + g
#include <cstdlib>

#include "Joueur.h"
#include "MondeScripte.h"
#include "Regles.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

enum class Geste { Tic, Vannes, Clic, Pause, Arret, PoseDuJoueur };
const char* Nom(Geste g) {
    constexpr const char* noms[]{"a tick", "Vannes max.",       "a click",
                                 "Pause",  "Arrêter la partie", "the scripted player's next pipe"};
    return noms[static_cast<int>(g)];
}

struct Partie : Monde {
    explicit Partie(unsigned g) : Monde(g), graine(g), alea(g) {}
    const unsigned graine;
    std::mt19937 alea;
    bool arretee = false;
    bool enPause = false;
    int gestes = 0;
    JoueurScripte joueur{jeu};

    const EtatJeu& E() const { return jeu.Etat(); }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea); }
    // Whether the board holds each anchored piece of the level exactly as many times as the level lays it.
    bool AncresEnPlace() const {
        const auto& pieces = PiecesDuNiveau[static_cast<std::size_t>(E().Niveau - 1)];
        for (int code = Obstacle; code <= PorteJaune; ++code)
            if (!Piece(code).tuyau && std::ranges::count_if(jeu.Cellules(), [&](const Cellule& c) {
                                          return c.Piece == code;
                                      }) != std::ranges::count(pieces, code))
                return false;
        return true;
    }
    void Verifier(bool tenue, const char* regle, Geste g) const {
        if (!tenue)
            throw std::runtime_error("rule broken: " + std::string(regle) + "; after " + Nom(g) +
                                     ", gesture " + std::to_string(gestes) +
                                     "; replay: CANALISOR_SOAK_SEED=" + std::to_string(graine) +
                                     " CANALISOR_SOAK_GAMES=1 tests/soak/test_soak");
    }

    void Faire(Geste g) {
        ++gestes;
        if (g == Geste::Pause && E().PausePossible)
            enPause = !enPause;
        if (g == Geste::Arret) {
            enPause = false;
            arretee = true;
        }
        const std::int32_t score = E().Score;
        if (g == Geste::Tic)
            jeu.Tic();
        if (g == Geste::Vannes)
            jeu.OuvrirVannes();
        if (g == Geste::Clic)
            jeu.PoserTuyau(Tirer(CasesDuPlateau));
        if (g == Geste::Pause)
            jeu.BasculerPause();
        if (g == Geste::Arret)
            jeu.ArreterPartie();
        if (g == Geste::PoseDuJoueur)
            joueur.Poser(1);
        const bool compte = !arretee && !enPause && E().Essais >= 0;
        Verifier(E().HorlogeEnMarche == compte && horloge.enMarche == compte,
                 "the clock runs exactly while the game counts (not stopped, paused or over)", g);
        Verifier(E().EnPause == enPause, "Pause pauses and Retour resumes a running game", g);
        Verifier(E().Niveau >= 1 && E().Niveau <= 15, "the level stays within 1 to 15", g);
        Verifier(E().Essais >= -1, "the tries left never fall below -1", g);
        Verifier(E().Score >= score, "the score never falls", g);
        Verifier(AncresEnPlace(), "the board keeps exactly the level's anchored pieces", g);
    }
    // Something a player does on the side: a tick, the valves, a click, or a pause with those in
    // it; only some games may be stopped.
    void Distraction() {
        const int quoi = Tirer(5);
        if (quoi < 3)
            Faire(static_cast<Geste>(quoi));
        else if (quoi == 3 || graine % 5 != 0)
            for (Geste g : {Geste::Pause, Geste::Tic, Geste::Vannes, Geste::Clic, Geste::Pause})
                Faire(g);
        else
            Faire(Geste::Arret);
    }

    void JouerNiveau() {
        const int niveau = E().Niveau;
        const int essais = E().Essais;
        const bool pose = Tirer(5) != 0 && joueur.Planifier(); // now and then a board is left empty
        for (int clics = 0; pose && !joueur.PlanEnPlace() && clics < 3000; ++clics)
            if (Tirer(20) == 0)
                Distraction();
            else
                Faire(Geste::PoseDuJoueur);
        if (Tirer(3) != 0)
            Faire(Geste::Vannes);
        while (E().HorlogeEnMarche && E().Niveau == niveau && E().Essais == essais)
            Faire(Tirer(60) == 0 ? Geste::Pause : Geste::Tic);
        if (enPause)
            Faire(Geste::Pause);
    }
};

TEST(Endurance, PartiesEntieres) {
    const char* n = std::getenv("CANALISOR_SOAK_GAMES");
    const char* s = std::getenv("CANALISOR_SOAK_SEED");
    const unsigned long parties = n && *n ? std::strtoul(n, nullptr, 10) : 30;
    const unsigned long graine = s && *s ? std::strtoul(s, nullptr, 10) : 20240611;
    int finies = 0;
    int arretees = 0;
    for (unsigned long g = 0; g < parties; ++g) {
        Partie p(static_cast<unsigned>(graine + g));
        p.jeu.ChoisirDifficulte(1 + static_cast<int>(p.graine % 3));
        p.dialogues.reponses = {"Soak"};
        p.jeu.NouvellePartie();
        try {
            for (int niveaux = 16 + p.Tirer(30); p.E().Essais >= 0 && !p.arretee; --niveaux) {
                if (niveaux == 0)
                    p.Faire(Geste::Arret);
                else
                    p.JouerNiveau();
            }
            if (p.E().Essais < 0)
                ++finies;
            if (p.arretee)
                ++arretees;
            for (int k = 0; k < 20; ++k) // once the game is stopped or over, nothing starts the clock
                p.Distraction();
        } catch (const std::exception& e) {
            FAIL() << e.what();
        }
    }
    std::printf("soak: %lu games, %d over, %d stopped\n", parties, finies, arretees);
    if (parties >= 30) { // else the run is too short to be sure of meeting one
        EXPECT_GT(finies, 0) << "no game was played to its end";
        EXPECT_GT(arretees, 0) << "no game was stopped";
    }
}

} // namespace
