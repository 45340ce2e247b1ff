// Whole games played headless by the scripted player at the three difficulties and on past the
// wrap after level 15, with stray clicks, pauses and stops mixed in. After every event the rules
// that hold whatever the player does are checked.
//   CANALISOR_SOAK_GAMES   number of games (default 30)
//   CANALISOR_SOAK_SEED    seed of the first game (default 20240611); game g plays seed + g
// A failure names its game's seed: CANALISOR_SOAK_SEED=<seed> CANALISOR_SOAK_GAMES=1 replays it.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <map>
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

struct Totaux {
    long finies, arretees, tours, niveaux, evenements;
};

// Whether the cell shows the catalogue's tile for its piece and fill state.
bool CelluleJuste(const Cellule& c) {
    static std::map<std::string, Tuile> tuiles;
    if (tuiles.empty())
        for (const Tuile& t : CatalogueTuiles())
            tuiles.emplace(t.Nom, t);
    const auto it = tuiles.find(c.Image);
    if (it == tuiles.end() || it->second.Code != c.Tag || !c.Active)
        return false;
    const Tuile& t = it->second; // a cross lists its filled channels in either order
    const std::string h = t.Horizontal ? std::string{'H', Lettre(*t.Horizontal)} : "";
    const std::string v = t.Vertical ? std::string{'V', Lettre(*t.Vertical)} : "";
    return t.Remplissage ? c.DataField == "x" : c.DataField == h + v || c.DataField == v + h;
}

// One game: its seed picks the difficulty, whether it starts on level 15 to get past the wrap
// (the scripted player seldom gets that far from level 1) and whether it may be stopped early on.
struct Partie {
    const unsigned graine;
    Totaux& t;
    Monde m{graine};
    std::mt19937 alea{graine};
    bool enCours = false, arretee = false, enPause = false;
    int scoreMin = 0;

    const EtatJeu& E() const { return m.jeu.Etat(); }
    const Ecran& A() const { return m.jeu.Affichage(); }
    const Cellule& Case(int i) const { return m.jeu.Cellules()[static_cast<std::size_t>(i)]; }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea); }
    [[noreturn]] void Echouer(const std::string& quoi) const {
        throw std::runtime_error("seed " + std::to_string(graine) + ": " + quoi);
    }

    // One event, then the rules that hold whatever the player does. The flags above say beforehand
    // what the event must leave.
    void Evenement(const std::string& nom, const std::function<void()>& action) {
        const int niveau = E().Niveau;
        const std::size_t boites = m.dialogues.messages.size();
        action();
        for (std::size_t k = boites; k < m.dialogues.messages.size(); ++k)
            t.niveaux += m.dialogues.messages[k].texte == textes::NiveauPasse;
        t.tours += niveau == 15 && E().Niveau == 1;
        ++t.evenements;
        const bool compte = enCours && !arretee && !enPause && E().Essais >= 0;
        if (A().Timer1Actif != compte || m.horloge.enMarche != compte ||
            (A().PauseLegende == "Retour") != enPause)
            Echouer("after " + nom + ", the clock runs when the game does not count, or stops when it does");
        if (enCours && (E().Niveau < 1 || E().Niveau > 15 || E().Essais < -1 || E().Score < scoreMin))
            Echouer("after " + nom + ", the level or the tries out of range, or the score went down");
        scoreMin = E().Score;
        for (int i = 0; enCours && i < NombreCellules; ++i)
            if (!CelluleJuste(Case(i)))
                Echouer("after " + nom + ", cell " + std::to_string(i) + " shows " + Case(i).Image);
    }

    void Tic() { Evenement("a tick", std::bind_front(&Jeu::Timer1_Timer, &m.jeu)); }
    void Vannes() { Evenement("the valves", std::bind_front(&Jeu::Maxi_Click, &m.jeu)); }
    void Clic(int i) { Evenement("a click", std::bind_front(&Jeu::Grille_Click, &m.jeu, i)); }
    void Pause() {
        enPause ^= A().PauseActif;
        Evenement("pause", std::bind_front(&Jeu::Pause_Click, &m.jeu));
    }
    void Arreter() {
        arretee = true;
        enPause = false;
        Evenement("a stop", std::bind_front(&Jeu::menuArreter_Click, &m.jeu));
    }
    std::string Photo() const { // what a click or tick that must change nothing could change
        std::string p = A().LabelTemps + "/" + std::to_string(E().Tuyau1) + "/";
        for (const Cellule& c : m.jeu.Cellules())
            p += std::to_string(c.Tag) + c.DataField + ",";
        return p;
    }

    // Something a player does on the side: a tick (0), the valves (1), a stray click, maybe on a
    // laid pipe (2), or in the games that have one a stop, paused first when it can be (6); or
    // what must change nothing: a click on an anchored (3) or a filled piece (4), or a click, a
    // tick and the valves while paused (5).
    void Distraction() {
        const int quoi = Tirer(7);
        if (quoi < 3 || (quoi == 6 && graine % 5 != 0))
            return quoi == 0 ? Tic() : quoi == 1 ? Vannes() : Clic(Tirer(NombreCellules));
        if (quoi >= 5)
            Pause();
        if (quoi == 6)
            return Arreter();
        if (quoi == 5 && !enPause) // not now: stopped, over, or the valves open
            return;
        const std::string avant = Photo();
        for (int n = 0, i = Tirer(NombreCellules); n < NombreCellules; ++n, i = (i + 1) % NombreCellules)
            if (quoi == 5 || (quoi == 3 ? EstAncre(Case(i).Tag) : !Case(i).DataField.empty())) {
                Clic(i); // the first cell that fits from a random one on
                break;
            }
        if (quoi == 5) {
            Tic();
            Vannes();
        }
        if (Photo() != avant)
            Echouer(quoi == 5 ? "the game moved while paused"
                              : "a click on an anchored or filled piece took");
        if (quoi == 5)
            Pause();
    }

    void JouerNiveau() {
        const int niveau = E().Niveau, essais = E().Essais;
        JoueurScripte joueur(m.jeu);
        bool pose = Tirer(5) != 0 && joueur.Planifier(); // now and then a board is left empty: a try is lost
        for (int clics = 0; pose && !joueur.PlanEnPlace() && clics < 3000; ++clics) {
            Evenement("laying a pipe", [&] { pose = joueur.Poser(1) > 0; }); // one click at a time
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
        enCours = true;
        Evenement("a new game", std::bind_front(&Jeu::menuJouer_Click, &m.jeu));
        // Level 15 is dealt until the scripted player finds paths on it, about one deal in a thousand
        // (a run that never gets past the wrap fails at the end).
        for (int donne = 0; graine % 2 && donne < 50000 && (donne == 0 || !JoueurScripte(m.jeu).Planifier());
             ++donne) {
            m.jeu.Etat().Niveau = 15;
            m.jeu.NouveauNiveau();
        }
        for (int niveaux = 16 + Tirer(30); E().Essais >= 0 && !arretee; --niveaux)
            niveaux == 0 ? Arreter() : JouerNiveau();
        ++(arretee ? t.arretees : t.finies);
        for (int k = 0; k < 20; ++k) // once the game is stopped or over, nothing starts the clock
            Distraction();
    }
};

TEST(Endurance, PartiesEntieres) {
    const unsigned long parties = Variable("CANALISOR_SOAK_GAMES", 30);
    const unsigned long graine = Variable("CANALISOR_SOAK_SEED", 20240611);
    Totaux t{};
    const auto debut = std::chrono::steady_clock::now();
    for (unsigned long g = 0; g < parties; ++g) // a broken rule throws, naming the game's seed
        Partie{static_cast<unsigned>(graine + g), t}.Jouer();
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    std::printf("soak: %ld games (%ld over, %ld stopped), %ld levels passed, %ld wraps, %ld events, %.1f s\n",
                t.finies + t.arretees, t.finies, t.arretees, t.niveaux, t.tours, t.evenements, duree.count());
    // Else the run did not cover what it is here for: a wrap, a game over and a stop.
    EXPECT_TRUE(parties < 30 || (t.tours > 0 && t.finies > 0 && t.arretees > 0));
}

} // namespace
