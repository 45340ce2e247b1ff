// What the game needs from the world outside it: chance, a clock, the player's dialogs and
// the best-scores file. The program passes real ones in; the tests pass scripted ones.
#pragma once

#include <optional>
#include <string>

#include "Classement.h"

namespace canalisor {

// Uniform numbers r with 0 <= r < 1.
class Hasard {
  public:
    virtual ~Hasard() = default;
    virtual double Suivant() = 0;
};

// The one-second clock. A restart waits a full second before the next tick.
class Horloge {
  public:
    virtual ~Horloge() = default;
    virtual void Demarrer() = 0;
    virtual void Arreter() = 0;
};

enum class Icone { Aucune, Critique };

// Modal boxes titled "Canalisor".
class Dialogues {
  public:
    virtual ~Dialogues() = default;
    virtual void Message(const std::string& texte, Icone icone) = 0;
    // The typed text, or "" when the player cancels.
    virtual std::string Saisir(const std::string& invite) = 0;
};

// The best-scores file "canalisor.txt" in the program's directory.
class Palmares {
  public:
    virtual ~Palmares() = default;
    virtual bool Existe() = 0;
    // The five entries in file order, or nothing when the file cannot be read.
    virtual std::optional<TableScores> Lire() = 0;
    // Replaces the file whole; false when it could not be written (the old file is kept).
    virtual bool Ecrire(const TableScores& table) = 0;
};

} // namespace canalisor
