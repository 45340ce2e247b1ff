// Whole games played headless by the scripted player, at the three difficulties and on past
// the wrap after level 15, with stray clicks mixed in. After every event the things that must
// hold whatever the player does are checked.
//
//   CANALISOR_SOAK_GAMES   number of games (default 30)
//   CANALISOR_SOAK_SEED    seed of the first game (default 20240611); game g plays seed + g
//
// A failure names the seed of its game, which replays it alone:
//   CANALISOR_SOAK_SEED=<seed> CANALISOR_SOAK_GAMES=1 build/tests/soak/test_soak

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <unordered_map>

#include "Joueur.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;

namespace {

unsigned long long Variable(const char* nom, unsigned long long defaut) {
    const char* texte = std::getenv(nom);
    if (!texte || !*texte)
        return defaut;
    char* fin = nullptr;
    const unsigned long long valeur = std::strtoull(texte, &fin, 10);
    return *fin ? defaut : valeur;
}

constexpr std::array<int, 15> ObstaclesParNiveau{3, 4, 5, 6, 7, 3, 4, 5, 6, 2, 2, 2, 2, 2, 4};

// Each way of playing reaches a different part of the rules.
enum class Style {
    Soigneux,  // lays every planned pipe, level after level
    Tour,      // the same from level 15, to get past the wrap (the scripted player seldom
               // finds paths for the four gated liquids, and never gets that far from level 1)
    Negligent, // now and then leaves a board empty: tries are lost and the game ends by itself
    Maladroit, // also clicks at random, now and then on a pipe the liquid is about to need
};
constexpr std::array<const char*, 4> NomsStyles{"careful", "from level 15", "careless", "clumsy"};

struct Totaux {
    int parties = 0;
    int niveaux = 0;
    int tours = 0; // wraps from level 15 to level 1
    int essaisPerdus = 0;
    int finies = 0;
    int arretees = 0;
    long tics = 0;
    long clics = 0;
};

struct Echec {
    std::string message;
};

const Tuile* TuileNommee(const std::string& nom) {
    static const auto tuiles = [] {
        std::unordered_map<std::string, const Tuile*> parNom;
        for (const Tuile& t : CatalogueTuiles())
            parNom.emplace(t.Nom, &t);
        return parNom;
    }();
    const auto it = tuiles.find(nom);
    return it == tuiles.end() ? nullptr : it->second;
}

std::optional<Couleur> CouleurDeLettre(char lettre) {
    for (Couleur c : Couleurs)
        if (Lettre(c) == lettre)
            return c;
    return std::nullopt;
}

// What a cell shows must be the catalogue's tile for its piece and its fill state.
std::string VerifierCellule(const Cellule& c) {
    const Tuile* t = TuileNommee(c.Image);
    if (!t)
        return "picture '" + c.Image + "' is not in the catalogue";
    if (t->Code != c.Tag)
        return "picture '" + c.Image + "' on piece " + std::to_string(c.Tag);
    if (!c.Active)
        return "cell takes no clicks";
    if (c.DataField.empty()) {
        if (c.Image != NomImage(c.Tag))
            return "unfilled piece shows '" + c.Image + "'";
        return {};
    }
    if (c.Tag == Croix) {
        std::optional<Couleur> h, v;
        if (c.DataField.size() % 2 != 0)
            return "cross fill '" + c.DataField + "'";
        for (std::size_t k = 0; k < c.DataField.size(); k += 2) {
            auto& canal = c.DataField[k] == 'H' ? h : v;
            const auto couleur = CouleurDeLettre(c.DataField[k + 1]);
            if ((c.DataField[k] != 'H' && c.DataField[k] != 'V') || !couleur || canal)
                return "cross fill '" + c.DataField + "'";
            canal = couleur;
        }
        if (c.Image != NomImageCroix(h, v) || t->Horizontal != h || t->Vertical != v)
            return "cross filled '" + c.DataField + "' shows '" + c.Image + "'";
        return {};
    }
    if (c.DataField != "x" || !(EstTuyau(c.Tag) || CouleurDuCode(c.Tag)) || !t->Remplissage)
        return "piece " + std::to_string(c.Tag) + " filled '" + c.DataField + "' shows '" + c.Image + "'";
    if (const auto couleur = CouleurDuCode(c.Tag); couleur && *t->Remplissage != *couleur)
        return "anchored piece filled with another colour: '" + c.Image + "'";
    return {};
}

class Partie {
  public:
    Partie(unsigned graine, Totaux& totaux)
        : graine_(graine), difficulte_(1 + static_cast<int>(graine % 3)),
          style_(static_cast<Style>(graine / 3 % 4)), monde_(graine), alea_(graine), totaux_(totaux) {}

    void Jouer() {
        ChoisirDifficulte(difficulte_, "difficulty");
        monde_.dialogues.reponses = {"", "Soak " + std::to_string(graine_)};
        const TableScores classeAvant = ClasserScores(*monde_.palmares.table);
        Evenement("new game", [&] {
            monde_.jeu.menuJouer_Click();
            enCours_ = true;
        });
        if (style_ == Style::Tour)
            CommencerAuNiveau15();
        // Past the wrap a game could go on for a long time; it is stopped somewhere.
        const int niveauxMax = 16 + Tirer(30);
        // One game in five is stopped in the middle of one of its first levels, paused or not.
        const int niveauArret = graine_ % 5 == 0 ? Tirer(3) : -1;
        for (int niveaux = 0; Etat().Essais >= 0 && !arretee_; ++niveaux) {
            if (niveaux == niveauxMax)
                Arreter();
            else
                JouerNiveau(niveaux == niveauArret);
        }
        ++totaux_.parties;
        if (arretee_) {
            ++totaux_.arretees;
        } else {
            ++totaux_.finies;
            VerifierPalmares(classeAvant);
        }
        Apres();
    }

  private:
    const EtatJeu& Etat() const { return monde_.jeu.Etat(); }
    const Ecran& Affichage() const { return monde_.jeu.Affichage(); }
    const Cellule& Case(int i) const { return monde_.jeu.Cellules()[static_cast<std::size_t>(i)]; }
    int Tirer(int n) { return std::uniform_int_distribution<int>(0, n - 1)(alea_); }
    bool UneFoisSur(int n) { return Tirer(n) == 0; }

    [[noreturn]] void Echouer(const std::string& quoi) const {
        std::ostringstream m;
        m << "seed " << graine_ << " (difficulty " << difficulte_ << ", "
          << NomsStyles[static_cast<std::size_t>(style_)] << " player), event " << evenements_ << " '"
          << dernier_ << "': " << quoi << "\n  replay: CANALISOR_SOAK_SEED=" << graine_
          << " CANALISOR_SOAK_GAMES=1";
        throw Echec{m.str()};
    }

    // `reglage`: the test itself sets the level, which may then jump.
    void Evenement(const char* nom, const std::function<void()>& action, bool reglage = false) {
        dernier_ = nom;
        ++evenements_;
        const int niveau = Etat().Niveau;
        const std::size_t boites = monde_.dialogues.messages.size();
        action();
        for (std::size_t k = boites; k < monde_.dialogues.messages.size(); ++k) {
            const std::string& texte = monde_.dialogues.messages[k].texte;
            if (texte == textes::NiveauPasse)
                ++totaux_.niveaux;
            else if (texte == textes::EssaiPerdu)
                ++totaux_.essaisPerdus;
            else
                Echouer("unexpected box: " + texte);
        }
        if (enCours_ && !reglage && Etat().Niveau != niveau) {
            if (niveau == 15 && Etat().Niveau == 1) {
                ++tours_, ++totaux_.tours;
                difficulteAttendue_ = std::min(difficulteAttendue_ + 1, 3);
            } else if (Etat().Niveau != niveau + 1)
                Echouer("level " + std::to_string(niveau) + " went to " + std::to_string(Etat().Niveau));
        }
        if (const std::string erreur = Invariants(); !erreur.empty())
            Echouer(erreur);
    }

    std::string Invariants() {
        const EtatJeu& e = Etat();
        const Ecran& a = Affichage();
        if (e.Difficulte != difficulteAttendue_ || a.LabelDiff != std::to_string(e.Difficulte))
            return "difficulty " + std::to_string(e.Difficulte) + " after " + std::to_string(tours_) +
                   " wraps";
        const bool compte = enCours_ && !arretee_ && !enPause_ && e.Essais >= 0;
        if (a.Timer1Actif != compte || monde_.horloge.enMarche != compte)
            return "clock running " + std::to_string(a.Timer1Actif) + "/" +
                   std::to_string(monde_.horloge.enMarche) + ", game counting " + std::to_string(compte);
        if ((a.PauseLegende == "Retour") != enPause_)
            return "Pause button reads '" + a.PauseLegende + "'";
        if (!enCours_)
            return {};
        if (e.Niveau < 1 || e.Niveau > 15)
            return "level " + std::to_string(e.Niveau);
        if (e.Essais < -1 || e.Essais > 2 + tours_)
            return "tries " + std::to_string(e.Essais) + " after " + std::to_string(tours_) + " wraps";
        if (e.Score < scorePrecedent_)
            return "score fell from " + std::to_string(scorePrecedent_) + " to " + std::to_string(e.Score);
        scorePrecedent_ = e.Score;
        if (a.LabelScore != std::to_string(e.Score) || a.LabelNiveau != std::to_string(e.Niveau) ||
            a.LabelEssais != std::to_string(std::max<int>(e.Essais, 0)))
            return "labels " + a.LabelScore + "/" + a.LabelNiveau + "/" + a.LabelEssais;

        for (int i = 0; i < NombreCellules; ++i)
            if (const std::string erreur = VerifierCellule(Case(i)); !erreur.empty())
                return "cell " + std::to_string(i) + ": " + erreur;

        // The anchored pieces are where the state says, one per cell, and nowhere else.
        std::set<int> ancres;
        std::size_t pieces = 0;
        const auto ancre = [&](int cellule, int code) {
            ++pieces;
            ancres.insert(cellule);
            return cellule >= 0 && cellule < NombreCellules && Case(cellule).Tag == code;
        };
        for (Couleur c : Couleurs) {
            if (!EstActive(c, e.Niveau))
                continue;
            const Liquide& l = e[c];
            const DescriptionCouleur& d = Description(c);
            if (l.Position < 0 || l.Position >= NombreCellules || l.Precedent < 0 ||
                l.Precedent >= NombreCellules)
                return std::string(d.Nom) + " front off the board";
            if (!ancre(l.Depart, d.Depart) || !ancre(l.Arrivee, d.Arrivee) ||
                (APorte(c, e.Niveau) && !ancre(l.Passage, d.Passage)))
                return std::string(d.Nom) + " piece missing from its cell";
        }
        for (int k = 0; k < ObstaclesParNiveau[static_cast<std::size_t>(e.Niveau - 1)]; ++k)
            if (!ancre(e.Obstacles[static_cast<std::size_t>(k)], Obstacle))
                return "obstacle missing from its cell";
        const auto surLePlateau = std::count_if(monde_.jeu.Cellules().begin(), monde_.jeu.Cellules().end(),
                                                [](const Cellule& c) { return EstAncre(c.Tag); });
        if (ancres.size() != pieces || static_cast<std::size_t>(surLePlateau) != pieces)
            return std::to_string(pieces) + " anchored pieces on " + std::to_string(ancres.size()) +
                   " cells, " + std::to_string(surLePlateau) + " on the board";
        return {};
    }

    // ---- Events ----------------------------------------------------------------------

    void Tic() {
        ++totaux_.tics;
        Evenement("tick", [&] { monde_.jeu.Timer1_Timer(); });
    }

    void Clic(int i, const char* nom = "click") {
        ++totaux_.clics;
        Evenement(nom, [&] { monde_.jeu.Grille_Click(i); });
    }

    // Deals level 15 until the scripted player finds paths on it (about one deal in a
    // thousand), then plays it for real.
    void CommencerAuNiveau15() {
        for (int donne = 0; donne < 50000; ++donne) {
            Evenement(
                "deal level 15",
                [&] {
                    monde_.jeu.Etat().Niveau = 15;
                    monde_.jeu.NouveauNiveau();
                },
                true);
            if (JoueurScripte(monde_.jeu).Planifier())
                return;
        }
        Echouer("no level 15 with paths in 50000 deals");
    }

    // The menu is open only between games.
    void ChoisirDifficulte(int d, const char* nom) {
        const bool ouvert = Affichage().MenuDifficulteActif;
        Evenement(nom, [&] {
            monde_.jeu.ChoisirDifficulte(d);
            difficulteAttendue_ = ouvert ? d : difficulteAttendue_;
        });
    }

    void Pause() {
        const bool actif = Affichage().PauseActif;
        Evenement("pause", [&] {
            monde_.jeu.Pause_Click();
            enPause_ = actif ? !enPause_ : enPause_;
        });
    }

    void Arreter() {
        Evenement("stop", [&] {
            monde_.jeu.menuArreter_Click();
            arretee_ = true;
            enPause_ = false;
        });
    }

    // A click that must change nothing: on an anchored piece, on a filled pipe, or anywhere
    // while the game is paused.
    void ClicSansEffet(int i, const char* nom) {
        const Grille avant = monde_.jeu.Cellules();
        const auto tuyau = Etat().Tuyau1;
        Clic(i, nom);
        for (int k = 0; k < NombreCellules; ++k)
            if (Case(k).Tag != avant[static_cast<std::size_t>(k)].Tag)
                Echouer("the click changed cell " + std::to_string(k));
        if (Etat().Tuyau1 != tuyau)
            Echouer("the click used the pipe in hand");
    }

    std::optional<int> CaseOu(const std::function<bool(const Cellule&)>& critere) {
        std::vector<int> cases;
        for (int i = 0; i < NombreCellules; ++i)
            if (critere(Case(i)))
                cases.push_back(i);
        if (cases.empty())
            return std::nullopt;
        return cases[static_cast<std::size_t>(Tirer(static_cast<int>(cases.size())))];
    }

    // Now and then, something a real player does on the side that must not change the game.
    void Distraction() {
        switch (Tirer(5)) {
        case 0:
            if (const auto i = CaseOu([](const Cellule& c) { return EstAncre(c.Tag); }))
                ClicSansEffet(*i, "click on an anchored piece");
            break;
        case 1:
            if (const auto i = CaseOu([](const Cellule& c) { return !c.DataField.empty(); }))
                ClicSansEffet(*i, "click on a filled piece");
            break;
        case 2:
            if (Affichage().PauseActif) {
                Pause();
                const std::string temps = Affichage().LabelTemps;
                ClicSansEffet(Tirer(NombreCellules), "click while paused");
                Tic();
                Evenement("valves while paused", [&] { monde_.jeu.Maxi_Click(); });
                if (Affichage().LabelTemps != temps)
                    Echouer("the countdown moved while paused");
                Pause();
            }
            break;
        case 3:
            ChoisirDifficulte(1 + Tirer(3), "difficulty during a game");
            break;
        default:
            Evenement("valves", [&] { monde_.jeu.Maxi_Click(); });
            break;
        }
    }

    // The scripted player's hand, one click at a time so that each is checked: a planned cell
    // that takes the pipe in hand, or else a spare cell for the pipes the plan has no use for.
    bool PoserUnTuyau(JoueurScripte& joueur) {
        const int enMain = Etat().Tuyau1;
        for (const auto& [cellule, pipes] : joueur.Plan()) {
            const std::vector<int>& codes = pipes; // a lambda cannot capture a structured binding in clang 14
            const Cellule& c = Case(cellule);
            const auto prend = [&](int code) {
                return std::find(codes.begin(), codes.end(), code) != codes.end();
            };
            if (!prend(c.Tag) && c.DataField.empty() && prend(enMain)) {
                Clic(cellule);
                return true;
            }
        }
        const auto libre = [&](int i) {
            return !joueur.Plan().contains(i) && (Case(i).Tag == Vide || EstTuyau(Case(i).Tag)) &&
                   Case(i).DataField.empty();
        };
        if (rebut_ < 0 || !libre(rebut_)) {
            rebut_ = -1;
            for (int i = 0; i < NombreCellules && rebut_ < 0; ++i)
                if (libre(i))
                    rebut_ = i;
        }
        if (rebut_ < 0)
            return false;
        Clic(rebut_);
        return true;
    }

    void JouerNiveau(bool arreterEnCours) {
        const int niveau = Etat().Niveau;
        const int essais = Etat().Essais;
        rebut_ = -1;
        JoueurScripte joueur(monde_.jeu);
        const bool poser = !(style_ == Style::Negligent && UneFoisSur(4));
        if (poser && joueur.Planifier()) {
            for (int clics = 0; !joueur.PlanEnPlace() && clics < 3000; ++clics) {
                if (!PoserUnTuyau(joueur))
                    break;
                if (style_ == Style::Maladroit && UneFoisSur(30))
                    Clic(Tirer(NombreCellules), "stray click");
                if (UneFoisSur(40))
                    Distraction();
            }
        }
        // The valves skip the countdown, so not on a level that is to be stopped during it.
        if (!arreterEnCours && !UneFoisSur(3))
            Evenement("valves", [&] { monde_.jeu.Maxi_Click(); });
        const int arretAuTic = arreterEnCours ? Tirer(30) : -1;
        for (int tic = 0; Affichage().Timer1Actif && Etat().Niveau == niveau && Etat().Essais == essais;
             ++tic) {
            if (tic == arretAuTic) {
                if (UneFoisSur(2) && Affichage().PauseActif)
                    Pause();
                Arreter();
                return;
            }
            Tic();
            if (tic > 100000)
                Echouer("the level does not end");
            if (UneFoisSur(60))
                Distraction();
            if (style_ == Style::Maladroit && UneFoisSur(150)) {
                // A pipe the liquid has not reached yet is swapped for whatever is in hand.
                if (const auto i =
                        CaseOu([](const Cellule& c) { return EstTuyau(c.Tag) && c.DataField.empty(); }))
                    Clic(*i, "click on a waiting pipe");
            }
        }
    }

    void VerifierPalmares(const TableScores& classeAvant) {
        const bool entre = Etat().Score > ValeurScore(classeAvant[4].Points);
        const std::size_t invites = monde_.dialogues.invites.size();
        if (invites != (entre ? 2u : 0u))
            Echouer("name box shown " + std::to_string(invites) + " times for score " +
                    std::to_string(Etat().Score));
        const TableScores& table = *monde_.palmares.table;
        const bool present = std::find(table.begin(), table.end(),
                                       EntreeScore{"Soak " + std::to_string(graine_),
                                                   std::to_string(Etat().Score)}) != table.end();
        if (present != entre)
            Echouer("score recorded " + std::to_string(present));
        for (std::size_t k = 1; k < table.size(); ++k)
            if (ValeurScore(table[k - 1].Points) < ValeurScore(table[k].Points))
                Echouer("best scores not ranked after the game");
        if (Affichage().LabelRecord != ClasserScores(table)[0].Points)
            Echouer("record label " + Affichage().LabelRecord + " is not the best score");
    }

    // After the game, stopped or over: a few more events, none of which may start the clock.
    void Apres() {
        for (int k = 0; k < 20; ++k) {
            switch (Tirer(5)) {
            case 0:
                Clic(Tirer(NombreCellules), "click after the game");
                break;
            case 1:
                Tic();
                break;
            case 2:
                Pause();
                break;
            case 3:
                Evenement("valves after the game", [&] { monde_.jeu.Maxi_Click(); });
                break;
            default:
                if (arretee_ && !Affichage().MenuDifficulteActif)
                    Echouer("difficulty menu still disabled after stop");
                ChoisirDifficulte(1 + Tirer(3), "difficulty after the game");
                break;
            }
        }
    }

    const unsigned graine_;
    const int difficulte_;
    const Style style_;
    Monde monde_;
    std::mt19937 alea_;
    Totaux& totaux_;
    bool enCours_ = false;
    bool arretee_ = false;
    bool enPause_ = false;
    int tours_ = 0;
    int difficulteAttendue_ = 2; // the start-up default
    std::int32_t scorePrecedent_ = 0;
    int rebut_ = -1;
    long evenements_ = 0;
    const char* dernier_ = "";
};

TEST(Endurance, PartiesEntieres) {
    const auto parties = Variable("CANALISOR_SOAK_GAMES", 30);
    const auto graine = Variable("CANALISOR_SOAK_SEED", 20240611);
    Totaux totaux;
    int echecs = 0;
    const auto debut = std::chrono::steady_clock::now();
    for (unsigned long long g = 0; g < parties && echecs < 5; ++g) {
        try {
            Partie(static_cast<unsigned>(graine + g), totaux).Jouer();
        } catch (const Echec& e) {
            ADD_FAILURE() << e.message;
            ++echecs;
        }
    }
    const std::chrono::duration<double> duree = std::chrono::steady_clock::now() - debut;
    std::printf("soak: %d games (%d over, %d stopped), %d levels passed, %d wraps, %d tries lost, "
                "%ld ticks, %ld clicks, %.1f s, seed %llu\n",
                totaux.parties, totaux.finies, totaux.arretees, totaux.niveaux, totaux.tours,
                totaux.essaisPerdus, totaux.tics, totaux.clics, duree.count(), graine);
    // Without these the run would not have reached the parts it is here for.
    if (parties >= 30 && echecs == 0) {
        EXPECT_GT(totaux.tours, 0) << "no game got past level 15";
        EXPECT_GT(totaux.finies, 0) << "no game ran out of tries";
        EXPECT_GT(totaux.arretees, 0) << "no game was stopped";
    }
}

} // namespace
