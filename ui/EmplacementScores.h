// Where the best scores of this player live. The file beside the program comes first; an
// installed copy, whose folder the player may not write, gives each player a copy of their own.
#pragma once

#include <functional>

#include <QString>

#include "Monde.h"

namespace canalisor::ui {

// True when the current user may create and rename files in `dossier`: the best-scores file
// is replaced by renaming a new file over it, so the folder is what must be writable.
bool DossierInscriptible(const QString& dossier);

// The best-scores file to use, given the program's folder `chemin` (ending in a separator).
// - No canalisor.txt there: that path, so that start-up says the file is missing.
// - A folder the player may write: that file, as for a copy unpacked anywhere.
// - Otherwise canalisor.txt in `dossierJoueur`, copied from the program's file the first time
//   and kept from then on. A copy that cannot be made is told through `dialogues`, and the
//   program's own file is used (its writes will then be refused).
// `dossierJoueur` empty means the player's data folder (~/.local/share/canalisor).
QString EmplacementScores(const QString& chemin, Dialogues& dialogues, QString dossierJoueur = {},
                          const std::function<bool(const QString&)>& inscriptible = DossierInscriptible);

} // namespace canalisor::ui
