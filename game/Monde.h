// What the game needs from the world outside it: chance, a clock, the player's dialogs and
// the best-scores file. The program passes real ones in; the tests pass scripted ones.
#pragma once

#include <functional>
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
    // Given the five entries now in the file (file order), the table to write in their place,
    // or nothing when there is nothing to write.
    using Changement = std::function<std::optional<TableScores>(const TableScores& ordreFichier)>;

    virtual ~Palmares() = default;
    virtual bool Existe() = 0;
    // The five entries in file order, or nothing when the file cannot be read.
    virtual std::optional<TableScores> Lire() = 0;
    // Reads the file, applies the change and writes the result as one step that no other copy
    // of the game can come between; another copy's score written meanwhile is kept. False when
    // the file could not be read or written (the old file is kept); true when the change
    // wanted no write.
    virtual bool MettreAJour(const Changement& changer) = 0;
};

} // namespace canalisor
