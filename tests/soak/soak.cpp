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
    long parties, finies, arretees, niveaux, tours, tics, clics;
};

// Departures, arrivals, gates and obstacles together.
constexpr long PiecesParNiveau[15]{5, 7, 9, 11, 13, 9, 11, 13, 15, 10, 11, 12, 13, 14, 16};

// Whether the cell shows the catalogue's tile for its piece and fill state.
bool CelluleJuste(const Cellule& c) {
    static std::map<std::string, Tuile> tuiles;
    if (tuiles.empty())
        for (const Tuile& t : CatalogueTuiles())
            tuiles.emplace(t.Nom, t);
    const auto it = tuiles.find(c.Image);
    if (it == tuiles.end() || it->second.Code != c.Tag || !c.Active)
        return false;
    const Tuile& t = it->second;
    const auto canal = [](char nom, std::optional<Couleur> k) {
        return k ? std::string{nom, Lettre(*k)} : "";
    };
    const std::string h = canal('H', t.Horizontal), v = canal('V', t.Vertical);
    const auto propre = CouleurDuCode(c.Tag); // departures, arrivals and gates only take their own colour
    return c.DataField.empty() ? c.Image == NomImage(c.Tag)
           : c.Tag == Croix    ? c.DataField == h + v || c.DataField == v + h
                               : c.DataField == "x" && t.Remplissage && (!propre || propre == t.Remplissage);
}

// One game: its seed picks the difficulty, whether it starts on level 15 to get past the wrap
// (the scripted player seldom gets that far from level 1) and whether it is stopped early on.
struct Partie {
    const unsigned graine;
    Totaux& t;
    Monde m{graine};
    std::mt19937 alea{graine};
    bool enCours = false, arretee = false, enPause = false;
    int tours = 0, scoreMin = 0;

    const EtatJeu& E() const { return m.jeu.Etat(); }
    const Ecran& A() const { return m.jeu.Affichage(); }
    const Cellule& Case(int i) const { return m.jeu.Cellules()[static_cast<std::size_t>(i)]; }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea); }
    [[noreturn]] void Echouer(const std::string& quoi) const {
        throw std::runtime_error("seed " + std::to_string(graine) + ": " + quoi);
    }

    void Evenement(const std::string& nom, const std::function<void()>& action) {
        const int niveau = E().Niveau;
        action();
        if (niveau > 0 && E().Niveau == niveau % 15 + 1) // a level passed: the next one, or 1 after 15
            ++t.niveaux, tours += E().Niveau == 1, t.tours += E().Niveau == 1;
        if (const std::string erreur = Invariants(); !erreur.empty())
            Echouer("after " + nom + ", " + erreur);
    }

    // Empty while every rule that holds whatever the player does still holds.
    std::string Invariants() {
        const EtatJeu& e = E();
        const bool compte = enCours && !arretee && !enPause && e.Essais >= 0;
        if (A().Timer1Actif != compte || m.horloge.enMarche != compte ||
            (A().PauseLegende == "Retour") != enPause)
            return "the clock runs when the game does not count, or stops when it does";
        if (!enCours)
            return {};
        if (e.Niveau < 1 || e.Niveau > 15 || e.Essais < -1 || e.Essais > 2 + tours || e.Score < scoreMin)
            return "level, tries or score out of range: " + std::to_string(e.Niveau) + ", " +
                   std::to_string(e.Essais) + ", " + std::to_string(e.Score);
        scoreMin = e.Score;
        for (int i = 0; i < NombreCellules; ++i)
            if (!CelluleJuste(Case(i)))
                return "cell " + std::to_string(i) + " shows " + Case(i).Image + " for " + Case(i).DataField;
        // The fronts are on the board, the state knows where the anchored pieces are, and no two
        // share a cell: the board shows as many as the level lays.
        for (Couleur c : Couleurs) {
            const Liquide& l = e[c];
            const DescriptionCouleur& d = Description(c);
            if (EstActive(c, e.Niveau) &&
                (std::min(l.Position, l.Precedent) < 0 ||
                 std::max<int>(l.Position, l.Precedent) >= NombreCellules || Case(l.Depart).Tag != d.Depart ||
                 Case(l.Arrivee).Tag != d.Arrivee ||
                 (APorte(c, e.Niveau) && Case(l.Passage).Tag != d.Passage)))
                return std::string(d.Nom) + " front off the board, or its pieces off their cells";
        }
        const auto ancres = std::count_if(m.jeu.Cellules().begin(), m.jeu.Cellules().end(),
                                          [](const Cellule& c) { return EstAncre(c.Tag); });
        if (ancres != PiecesParNiveau[e.Niveau - 1])
            return std::to_string(ancres) + " anchored pieces on the board";
        return {};
    }

    void Tic() {
        ++t.tics, Evenement("a tick", [&] { m.jeu.Timer1_Timer(); });
    }
    void Vannes() {
        Evenement("the valves", [&] { m.jeu.Maxi_Click(); });
    }
    void Clic(int i) {
        ++t.clics, Evenement("a click on " + std::to_string(i), [&] { m.jeu.Grille_Click(i); });
    }
    void Pause() {
        Evenement("pause", [&, actif = A().PauseActif] { m.jeu.Pause_Click(), enPause ^= actif; });
    }
    void Arreter() {
        Evenement("a stop", [&] { m.jeu.menuArreter_Click(), arretee = true, enPause = false; });
    }
    std::string Photo() const { // what a click or tick that must change nothing could change
        std::string p = A().LabelTemps + "/" + std::to_string(E().Tuyau1) + "/";
        for (const Cellule& c : m.jeu.Cellules())
            p += std::to_string(c.Tag) + c.DataField + ",";
        return p;
    }

    // Something a player does on the side: a click on an anchored or a filled piece, or a click, a
    // tick and the valves while paused, must change nothing; or the valves open.
    void Distraction() {
        const int quoi = Tirer(4);
        if (quoi == 3 || (quoi == 2 && !A().PauseActif))
            return Vannes();
        if (quoi == 2)
            Pause();
        const std::string avant = Photo();
        for (int n = 0, i = Tirer(NombreCellules); n < NombreCellules; ++n, i = (i + 1) % NombreCellules)
            if (quoi == 2 || (quoi == 0 ? EstAncre(Case(i).Tag) : !Case(i).DataField.empty())) {
                Clic(i); // the first cell that fits from a random one on
                break;
            }
        if (quoi == 2)
            Tic(), Vannes();
        if (Photo() != avant)
            Echouer(quoi == 2 ? "the game moved while paused"
                              : "a click on an anchored or filled piece took");
        if (quoi == 2)
            Pause();
    }

    void JouerNiveau(bool arreter) {
        const int niveau = E().Niveau, essais = E().Essais;
        JoueurScripte joueur(m.jeu);
        bool pose = Tirer(5) != 0 && joueur.Planifier(); // now and then a board is left empty: a try is lost
        for (int clics = 0; pose && !joueur.PlanEnPlace() && clics < 3000; ++clics) {
            ++t.clics, Evenement("laying a pipe", [&] { pose = joueur.Poser(1) > 0; }); // one click at a time
            if (Tirer(40) == 0)
                Clic(Tirer(NombreCellules)); // stray, maybe on a laid pipe
            if (Tirer(40) == 0)
                Distraction();
        }
        if (!arreter && Tirer(3) != 0) // the valves skip the countdown a stop may fall in
            Vannes();
        const int arretAuTic = arreter ? Tirer(30) : -1;
        for (int tic = 0; A().Timer1Actif && E().Niveau == niveau && E().Essais == essais; ++tic) {
            if (tic == arretAuTic && Tirer(2) == 0 && A().PauseActif)
                Pause();
            if (tic == arretAuTic)
                return Arreter();
            Tic();
            if (Tirer(60) == 0)
                Distraction();
        }
    }

    void Jouer() {
        Evenement("the difficulty", [&] { m.jeu.ChoisirDifficulte(1 + static_cast<int>(graine % 3)); });
        m.dialogues.reponses = {"Soak"};
        Evenement("a new game", [&] { m.jeu.menuJouer_Click(), enCours = true; });
        // Level 15 is dealt until the scripted player finds paths on it, about one deal in a thousand.
        for (int donne = 0; graine % 2 && (donne == 0 || !JoueurScripte(m.jeu).Planifier()); ++donne)
            donne == 50000 ? Echouer("no level 15 with paths in 50000 deals")
                           : Evenement("a deal", [&] { m.jeu.Etat().Niveau = 15, m.jeu.NouveauNiveau(); });
        const int niveauxMax = 16 + Tirer(30), niveauArret = graine % 5 == 0 ? Tirer(3) : -1;
        for (int niveaux = 0; E().Essais >= 0 && !arretee; ++niveaux)
            niveaux == niveauxMax ? Arreter() : JouerNiveau(niveaux == niveauArret);
        ++t.parties, ++(arretee ? t.arretees : t.finies);
        for (int k = 0; k < 5; ++k) // once the game is stopped or over, nothing starts the clock
            Clic(Tirer(NombreCellules)), Tic(), Pause(), Vannes();
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
    std::printf(
        "soak: %ld games (%ld over, %ld stopped), %ld levels, %ld wraps, %ld ticks, %ld clicks, %.1f s\n",
        t.parties, t.finies, t.arretees, t.niveaux, t.tours, t.tics, t.clics, duree.count());
    // Else the run did not cover what it is here for.
    EXPECT_TRUE(parties < 30 || (t.tours > 0 && t.finies > 0 && t.arretees > 0))
        << "no wrap, game over or stop";
}

} // namespace
