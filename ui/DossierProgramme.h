// The program's own folder holds its tiles and its best-scores file. Its name is whatever bytes
// the archive or the player gave it, which need not be valid text in any encoding: it is found
// and entered by those bytes, and every file in it is then reached by a relative name.
#pragma once

#include <string>

#include "Traduction.h"

namespace canalisor::ui {

// What the player is told when the program cannot reach its own folder (the boxes translate
// the game's texts).
inline constexpr const char* DossierIntrouvable =
    QT_TRANSLATE_NOOP("Jeu", "Impossible de trouver le dossier du jeu.");

// The folder holding the file that the symbolic link `lien` names, as raw bytes without a
// trailing separator ("/" for a file at the root); empty when the link cannot be read.
std::string DossierDuLien(const char* lien);

// Makes the folder of the running executable the current folder; false, with the current
// folder unchanged, when it cannot be found or entered. The program's files are then "./name".
bool EntrerDossierProgramme(const char* lien = "/proc/self/exe");

} // namespace canalisor::ui
