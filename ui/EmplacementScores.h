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

// The marker that installing puts in the program's folder: it names the folder installed to.
inline constexpr const char* MarqueInstallation = "installation";

// True when the program in `dossier` is an installed copy (the package's, or one made with
// `cmake --install`): the folder holds the marker and the marker names this very folder. A
// build, or a copy of an installed folder made anywhere else, is not installed.
bool ProgrammeInstalle(const QString& dossier);

// The player's data folder for this program, by the XDG rules: XDG_DATA_HOME when it is an
// absolute path (a relative one is ignored), else HOME/.local/share, the account's home
// `maisonDuCompte` standing in for a HOME unset or not absolute; "canalisor" below it. Empty
// when no absolute folder is known. Each argument may be null.
QString DossierDonneesJoueur(const char* xdgDataHome, const char* home, const char* maisonDuCompte);
// The same from the environment and the account database.
QString DossierDonneesJoueur();

// The best-scores file to use, and whether a game end may write it.
struct Emplacement {
    QString Fichier;
    bool Ecriture = true;
};

// The best-scores file to use, given the program's folder `chemin` (ending in a separator).
// - An installed program: always the player's copy, canalisor.txt in `dossierJoueur`, copied
//   from the program's file the first time and kept from then on; root is a player like any
//   other, the installed file is never written.
// - Otherwise the file beside the program when the player may write its folder, as for a
//   build or a copy unpacked anywhere; when not, the player's copy as for an installed one.
// - No canalisor.txt beside the program and no copy of the player's: that path, so that
//   start-up says the file is missing.
// A copy that cannot be made is told through `dialogues`, and the program's own file is read
// but never written.
// `dossierJoueur` is the player's data folder (DossierDonneesJoueur()), empty when there is none.
// Every box names its files by their full paths.
Emplacement EmplacementScores(const QString& chemin, Dialogues& dialogues, bool installe,
                              const QString& dossierJoueur,
                              const std::function<bool(const QString&)>& inscriptible = DossierInscriptible);

} // namespace canalisor::ui
