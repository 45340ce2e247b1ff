// The command line, read before the application exists: --help and --version must answer
// without a display, and a mistyped option must not open the game.
#pragma once

#include <cstdio>
#include <optional>

namespace canalisor::ui {

// Reads the arguments. Qt's own options (-platform NAME, -style NAME, ...) are let through for
// QApplication to take. Returns nothing when the game is to start; otherwise the help, the
// version or an error has been written to `sortie` or `erreurs`, and the result is the exit
// status: 0 for --help and --version, 2 for an argument the program does not know.
std::optional<int> LireLigneDeCommande(int argc, const char* const argv[], std::FILE* sortie,
                                       std::FILE* erreurs);

} // namespace canalisor::ui
