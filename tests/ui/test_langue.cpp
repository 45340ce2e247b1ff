// The language the game speaks for each way a player's environment can name one, as gettext
// chooses it: the locale from LC_ALL, else LC_MESSAGES, else LANG; ahead of it LANGUAGE's first
// translated entry, unless the locale is C; French when nothing names English.
#include <cstdlib>
#include <ostream>
#include <tuple>

#include <gtest/gtest.h>

#include "Langue.h"

namespace canalisor::ui {
// gtest prints the language's name rather than its number.
void PrintTo(Langue langue, std::ostream* sortie) {
    *sortie << (langue == Langue::Anglais ? "English" : "French");
}
} // namespace canalisor::ui

namespace canalisor::test {
namespace {

using ui::Langue;

TEST(Langue, ChoisieCommeGettextLaChoisit) {
    const Langue en = Langue::Anglais;
    const Langue fr = Langue::Francais;
    // The case, then LANGUAGE, LC_ALL, LC_MESSAGES and LANG ("" for unset), and the language.
    const std::tuple<const char*, ui::VariablesLangue, Langue> cas[]{
        {"nothing set", {"", "", "", ""}, fr},
        {"LANG=EN_us.utf8, in any case", {"", "", "", "EN_us.utf8"}, en},
        {"LANG=de_DE, untranslated", {"", "", "", "de_DE.UTF-8"}, fr},
        {"LANG=eng_XX is not en", {"", "", "", "eng_XX"}, fr},
        {"LC_ALL=C overrides LANG", {"", "C", "", "en_US.UTF-8"}, fr},
        {"LC_ALL overrides LC_MESSAGES", {"", "fr_FR.UTF-8", "en_US.UTF-8", "en_US.UTF-8"}, fr},
        {"LC_MESSAGES overrides LANG", {"", "", "en_US.UTF-8", "fr_FR.UTF-8"}, en},
        {"LC_MESSAGES=POSIX is the C locale", {"", "", "POSIX", "en_US.UTF-8"}, fr},
        {"LANGUAGE overrides LANG", {"en", "", "", "fr_FR.UTF-8"}, en},
        {"LANGUAGE's first translated entry wins", {"de:fr:en", "", "", "en_US.UTF-8"}, fr},
        {"LANGUAGE's later entries, empty ones and modifiers", {"de::en@quot", "", "", "de_DE.UTF-8"}, en},
        {"LANGUAGE untranslated: the locale decides", {"de:es", "", "", "en_US.UTF-8"}, en},
        {"LANGUAGE's C is untranslated", {"C:en", "", "", "en_US.UTF-8"}, fr},
        {"LANGUAGE ignored under LANG=C", {"en", "", "", "C"}, fr},
        {"LANGUAGE ignored under LC_ALL=C.UTF-8", {"en", "C.UTF-8", "", "en_US.UTF-8"}, fr},
    };
    for (const auto& [nom, variables, attendue] : cas)
        EXPECT_EQ(ui::ChoisirLangue(variables), attendue) << nom;
}

// The four variables come from the process's environment, an unset one as empty.
TEST(Langue, LuesDansLEnvironnementDuProcessus) {
    ASSERT_EQ(setenv("LANGUAGE", "de:en", 1), 0);
    ASSERT_EQ(setenv("LC_ALL", "de_DE.UTF-8", 1), 0);
    ASSERT_EQ(unsetenv("LC_MESSAGES"), 0);
    ASSERT_EQ(setenv("LANG", "fr_FR.UTF-8", 1), 0);
    const ui::VariablesLangue lues = ui::VariablesDuProcessus();
    EXPECT_EQ(std::tie(lues.Language, lues.LcAll, lues.LcMessages, lues.Lang),
              std::make_tuple("de:en", "de_DE.UTF-8", "", "fr_FR.UTF-8"));
}

} // namespace
} // namespace canalisor::test
