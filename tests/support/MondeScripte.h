// Scripted stand-ins for chance, the clock, the dialogs and the best-scores file.
#pragma once

#include <deque>
#include <random>
#include <sstream>
#include <stdexcept>
#include <utility>

#include <gtest/gtest.h>

#include "Jeu.h"

namespace canalisor::test {

// Hands out the values queued by the test, then (when seeded) numbers from a generator, so
// that a failing random case can be replayed from its seed.
struct HasardScripte : Hasard {
    explicit HasardScripte(std::optional<unsigned> g = std::nullopt) : graine(g), generateur(g.value_or(0)) {}
    double Suivant() override {
        // Thrown, not returned: a made-up value could loop a level layout forever.
        if (valeurs.empty() && !graine)
            throw std::logic_error("a random value was drawn that the test did not queue");
        if (valeurs.empty())
            return static_cast<double>(generateur() >> 8) / static_cast<double>(1u << 24);
        const double r = valeurs.front();
        valeurs.pop_front();
        return r;
    }
    // Queues the value that draws that cell (or that pipe code, for AjouterTuyau).
    void AjouterCellule(int cellule) { valeurs.push_back((cellule + 0.5) / 120.0); }
    void AjouterTuyau(int code) { valeurs.push_back((code - 2 + 0.5) / 7.0); }
    std::deque<double> valeurs;
    std::optional<unsigned> graine;
    std::mt19937 generateur;
};

// A clock the test ticks itself; it counts its starts and stops, so that a restart (a stop
// then a start: the next tick a full second away) shows.
struct HorlogeScriptee : Horloge {
    void Demarrer() override {
        enMarche = true;
        ++demarrages;
    }
    void Arreter() override {
        enMarche = false;
        ++arrets;
    }
    bool enMarche = false;
    int demarrages = 0;
    int arrets = 0;
};

// Records every box; the name box answers from a queue and fails the test when nobody
// expected it. avantReponse runs once while the box waits for the player, as another copy of
// the game may end its own game meanwhile.
struct DialoguesScriptes : Dialogues {
    struct Boite {
        std::string texte;
        Icone icone;
        bool horlogeEnMarche = false; // whether the clock ran while the box was open
    };
    void Message(const std::string& texte, Icone icone) override {
        messages.push_back({texte, icone, horloge && horloge->enMarche});
    }
    std::string Saisir(const std::string& invite) override {
        invites.push_back(invite);
        if (avantReponse)
            std::exchange(avantReponse, nullptr)();
        EXPECT_FALSE(reponses.empty()) << "unexpected name box";
        const std::string r = reponses.empty() ? "?" : reponses.front(); // "?" ends the prompt loop
        if (!reponses.empty())
            reponses.pop_front();
        return r;
    }
    std::vector<Boite> messages;
    std::deque<std::string> reponses;
    std::vector<std::string> invites;
    std::function<void()> avantReponse;
    const HorlogeScriptee* horloge = nullptr; // when given, each box notes whether it ran
};

// An in-memory best-scores file; a missing file is std::nullopt.
struct PalmaresMemoire : Palmares {
    bool Existe() override { return table.has_value(); }
    std::optional<TableScores> Lire() override { return table; }
    bool MettreAJour(const Changement& changer) override {
        if (!table)
            return false;
        const std::optional<TableScores> nouvelle = changer(*table);
        if (!nouvelle)
            return true;
        if (ecritureEchoue)
            return false;
        table = nouvelle;
        return true;
    }
    std::optional<TableScores> table;
    bool ecritureEchoue = false;
};

// A table as one line of text, each entry "name score,"; "" for no file.
inline std::string EnLigne(const std::optional<TableScores>& t) {
    std::string ligne;
    for (std::size_t k = 0; t && k < t->size(); ++k)
        ligne += (*t)[k].Nom + " " + (*t)[k].Points + ",";
    return ligne;
}

// The table that EnLigne writes as `ligne`: each entry "name score,", the name up to the last space.
inline TableScores Table(const std::string& ligne) {
    TableScores t;
    std::istringstream entrees(ligne);
    std::string entree;
    for (EntreeScore& e : t)
        if (std::getline(entrees, entree, ','))
            e = {entree.substr(0, entree.rfind(' ')), entree.substr(entree.rfind(' ') + 1)};
    return t;
}

// The worked example of the best-scores file.
inline TableScores TableExemple() {
    return Table("Marie 1500,Paul 1200,Léa 900,Hugo 300,Anne 0,");
}

// A whole world and the game in it, started up as the program does; fichier, when given,
// stands for the in-memory file.
struct Monde {
    explicit Monde(std::optional<unsigned> graine = std::nullopt, Palmares* fichier = nullptr)
        : hasard(graine), jeu(hasard, horloge, dialogues, fichier ? *fichier : palmares) {
        palmares.table = TableExemple();
        dialogues.horloge = &horloge;
        jeu.Demarrer("/jeu/");
    }
    HasardScripte hasard;
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire palmares;
    Jeu jeu;
    // Ticks until a flow step (a tick that starts on 1), a box or a stopped clock; returns the
    // number of ticks.
    int TicsJusquAuPas() {
        const std::size_t boites = dialogues.messages.size();
        int tics = 0;
        bool pas = false;
        while (!pas && jeu.Etat().HorlogeEnMarche && dialogues.messages.size() == boites) {
            pas = jeu.Etat().Temps == 1;
            jeu.Tic();
            ++tics;
        }
        return tics;
    }
};

} // namespace canalisor::test
