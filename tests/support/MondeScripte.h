// Scripted stand-ins for chance, the clock, the dialogs and the best-scores file.
#pragma once

#include <deque>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest-printers.h>

#include "Jeu.h"

namespace canalisor {
// A failed comparison shows an entry as the file holds it, not as raw object bytes.
inline void PrintTo(const EntreeScore& e, std::ostream* os) {
    *os << testing::PrintToString(e.Nom) << " " << testing::PrintToString(e.Points);
}
} // namespace canalisor

namespace canalisor::test {

// Hands out the values queued by the test, then (when seeded) numbers from a generator, so
// that a failing random case can be replayed from its seed.
class HasardScripte : public Hasard {
  public:
    explicit HasardScripte(std::optional<unsigned> graine = std::nullopt);
    double Suivant() override;
    void Ajouter(double r) { valeurs_.push_back(r); }
    void Ajouter(std::initializer_list<double> rs) { valeurs_.insert(valeurs_.end(), rs); }
    // Queues the value that draws that cell (or that pipe code, for AjouterTuyau).
    void AjouterCellule(int cellule) { Ajouter((cellule + 0.5) / 120.0); }
    void AjouterTuyau(int code) { Ajouter((code - 2 + 0.5) / 7.0); }
    std::size_t EnAttente() const { return valeurs_.size(); }

  private:
    std::deque<double> valeurs_;
    std::optional<std::mt19937> generateur_;
};

struct HorlogeScriptee : Horloge {
    void Demarrer() override { enMarche = true, ++demarrages; }
    void Arreter() override { enMarche = false; }
    bool enMarche = false;
    int demarrages = 0;
};

// Records every box; the name box answers from a queue and fails the test when nobody
// expected it.
struct DialoguesScriptes : Dialogues {
    struct Boite {
        std::string texte;
        Icone icone;
    };
    void Message(const std::string& texte, Icone icone) override { messages.push_back({texte, icone}); }
    std::string Saisir(const std::string& invite) override;
    std::vector<Boite> messages;
    std::deque<std::string> reponses;
    std::vector<std::string> invites;
};

// An in-memory best-scores file; a missing file is std::nullopt.
struct PalmaresMemoire : Palmares {
    bool Existe() override { return table.has_value(); }
    std::optional<TableScores> Lire() override { return table; }
    bool MettreAJour(const Changement& changer) override;
    std::optional<TableScores> table;
    bool ecritureEchoue = false;
    int ecritures = 0;
};

// The worked example of the best-scores file.
TableScores TableExemple();

// A whole world and the game in it, started up as the program does.
struct Monde {
    explicit Monde(std::optional<unsigned> graine = std::nullopt);
    HasardScripte hasard;
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire palmares;
    Jeu jeu;
    // Ticks until a box appears or the clock stops; returns the number of ticks.
    int TicsJusquAuPas();
};

} // namespace canalisor::test
