// What a screen reader tells of the main window: each cell's place and content, the pipes to
// come, the counters, in the language of everything else the player reads.
#pragma once

#include <cstddef>
#include <string>

#include <QString>

#include "Plateau.h"

namespace canalisor::ui {

// "coude gauche-bas", "départ du liquide rouge"; codes 0 to 20.
QString NomPiece(int code);
// The piece a cell shows and what fills it: "croisement, canal horizontal rempli de bleu".
// Read from its picture, which says both; a cell without one (before the first level) shows
// its piece code.
QString ContenuCase(const Cellule& cellule);
// "Ligne 3, colonne 7 : coude gauche-bas, rempli de bleu", counting from 1.
QString NomCase(int index, const Cellule& cellule);
// "Tuyau en main : coude gauche-bas" for rang 0, then "Tuyau suivant", "Tuyau d'après".
QString NomBloc(std::size_t rang, const std::string& image);

// Gives picture cells and counters the accessible interfaces that say what they are; the
// first call does it, the others nothing.
void InstallerAccessibilite();

} // namespace canalisor::ui
