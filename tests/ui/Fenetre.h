// The main window in a scripted world: scripted chance, clock and dialogs, an in-memory
// best-scores file, and a folder of pictures chosen by the test.
#pragma once

#include <memory>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "Form1.h"
#include "MondeScripte.h"

namespace canalisor::test {

struct Fenetre {
    // Without a folder, the build's tiles where they exist, else an empty temporary folder.
    explicit Fenetre(std::optional<unsigned> graine = 1, Palmares* palmares = nullptr, QString dossier = {});

    QLabel* Label(const char* nom) const;
    QString Texte(const char* nom) const { return Label(nom)->text(); }
    QPushButton* Bouton(const char* nom) const;
    QAction* Action(const char* nom) const;
    // Clicks cell i with the mouse, as the player does.
    void Cliquer(int i) const;
    // Ticks the clock until a box appears or the clock stops; at most `max` ticks.
    int TicsJusquABoite(int max = 1000);
    // The cells that hold this piece code.
    std::vector<int> CasesDeCode(int code) const;

    HasardScripte hasard;
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    QTemporaryDir vide;
    std::unique_ptr<ui::Form1> form;
};

// Messages Qt prints while it lives, for the tests that watch stderr.
class Avertissements {
  public:
    Avertissements();
    ~Avertissements();
    QStringList lignes;
};

} // namespace canalisor::test
