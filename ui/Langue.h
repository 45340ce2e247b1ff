// The language the game speaks, chosen from the player's environment as GNU gettext chooses a
// program's messages. The game is French: French is its own language, and the one it keeps for
// the C/POSIX locale, an empty environment and every language it has no translation for.
#pragma once

#include <string>
#include <vector>

namespace canalisor::ui {

enum class Langue { Francais, Anglais };

// The four variables that name the player's language, as the environment holds them; an empty
// value is an unset variable, as for the C library.
struct VariablesLangue {
    std::string Language;   // LANGUAGE: a priority list, "de:en_GB:fr"
    std::string LcAll;      // LC_ALL
    std::string LcMessages; // LC_MESSAGES
    std::string Lang;       // LANG
};

// The locale of messages is the first set of LC_ALL, LC_MESSAGES and LANG. Under the C or POSIX
// locale (or none) LANGUAGE is ignored and the game is French. Otherwise LANGUAGE's entries are
// tried in order and the first language the game speaks wins; when none does (or LANGUAGE is
// unset), the locale's own language decides, then French. Unlike gettext, which would fall back
// to the source language there, a list of untranslated languages thus leaves an English locale
// English.
Langue ChoisirLangue(const VariablesLangue& variables);

// The four variables as this process has them.
VariablesLangue VariablesDuProcessus();

// The translation files to load from the ":/traductions/" resource, in the order to install them:
// the game's own texts (none for French, its source language) and Qt's own dialog texts (none for
// English, Qt's source language).
std::vector<std::string> FichiersTraduction(Langue langue);

} // namespace canalisor::ui
