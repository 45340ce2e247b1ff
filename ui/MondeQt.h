// The real world the program runs in: chance seeded from the clock, a one-second timer, and
// the Qt dialogs. The tests pass scripted ones instead.
#pragma once

#include <cstdint>
#include <random>

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QValidator>
#include <QWidget>

#include "Monde.h"

namespace canalisor::ui {

// The top 53 bits of x as a fraction: every double it gives is exact and strictly below 1.
double VersUnitaire(std::uint64_t x);

class HasardHorloge : public Hasard {
  public:
    HasardHorloge();
    double Suivant() override { return VersUnitaire(generateur_()); }

  private:
    std::mt19937_64 generateur_;
};

// The game's clock: a tick every 1000 ms while it runs. QTimer::start() on a running timer restarts it,
// so a restart waits a full second, as the game's clock must.
class HorlogeQt : public QObject, public Horloge {
    Q_OBJECT
  public:
    HorlogeQt();
    void Demarrer() override { timer_.start(); }
    void Arreter() override { timer_.stop(); }
    bool EnMarche() const { return timer_.isActive(); }

  signals:
    void Tic();

  private:
    QTimer timer_{this}; // a child, so that whoever holds the clock can find its timer
};

// What the name box lets the player type: only the characters the best-scores file can store
// (windows-1252), so that the name written and the record holder's name shown are the one typed.
// Others are dropped as they are typed or pasted.
class ValidateurNom : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& texte, int& position) const override;
};

// The longest name the name box takes, in characters: more than a player needs, and far less
// than a line of the best-scores file holds (a character is at most one byte there), so a name
// comes back from the file as it was typed.
inline constexpr int LongueurNomMax = 40;

// Modal boxes titled "Canalisor", centred on the main window once it exists. The game's texts
// come as their French source and are shown in the player's language (the context "Jeu").
class DialoguesQt : public Dialogues {
  public:
    void Parent(QWidget* parent) { parent_ = parent; }
    void Message(const std::string& texte, Icone icone) override;
    // The name goes into the best-scores file as it is typed, up to LongueurNomMax characters of
    // windows-1252.
    std::string Saisir(const std::string& invite) override;

  private:
    QWidget* Centre() const;
    QPointer<QWidget> parent_;
};

} // namespace canalisor::ui
