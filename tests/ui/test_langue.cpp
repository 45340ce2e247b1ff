// The language the game speaks for each way a player's environment can name one, and the
// translation files that language loads.
#include <cstdlib>
#include <ostream>

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
using ui::VariablesLangue;

struct Cas {
    const char* nom;
    VariablesLangue variables; // LANGUAGE, LC_ALL, LC_MESSAGES, LANG; "" for unset
    Langue attendue;
};

TEST(Langue, ChoisieCommeGettextLaChoisit) {
    const Langue en = Langue::Anglais;
    const Langue fr = Langue::Francais;
    const Cas cas[]{
        // The locale alone.
        {"empty environment -> French", {"", "", "", ""}, fr},
        {"LANG=en_US.UTF-8 -> English", {"", "", "", "en_US.UTF-8"}, en},
        {"LANG=EN_us.utf8, any case -> English", {"", "", "", "EN_us.utf8"}, en},
        {"LANG=de_DE.UTF-8, untranslated -> French", {"", "", "", "de_DE.UTF-8"}, fr},
        {"LANG=eng_XX is not en -> French", {"", "", "", "eng_XX"}, fr},
        {"LANG=C -> French", {"", "", "", "C"}, fr},
        {"LANG=C.UTF-8 -> French", {"", "", "", "C.UTF-8"}, fr},
        // Which variable names the locale.
        {"LC_ALL=C overrides LANG=en_US -> French", {"", "C", "", "en_US.UTF-8"}, fr},
        {"LC_ALL=fr_FR overrides LC_MESSAGES=en_US -> French",
         {"", "fr_FR.UTF-8", "en_US.UTF-8", "en_US.UTF-8"},
         fr},
        {"LC_MESSAGES=en_US overrides LANG=fr_FR -> English", {"", "", "en_US.UTF-8", "fr_FR.UTF-8"}, en},
        {"LC_MESSAGES=POSIX overrides LANG=en_US -> French", {"", "", "POSIX", "en_US.UTF-8"}, fr},
        // LANGUAGE, a priority list, under a locale that is not C.
        {"LANGUAGE=en with LANG=fr_FR -> English", {"en", "", "", "fr_FR.UTF-8"}, en},
        {"LANGUAGE=de:en with LANG=de_DE -> English", {"de:en", "", "", "de_DE.UTF-8"}, en},
        {"LANGUAGE=de:fr:en with LANG=en_US, first translated wins -> French",
         {"de:fr:en", "", "", "en_US.UTF-8"},
         fr},
        {"LANGUAGE=en@quot, a modifier, with LANG=de_DE -> English", {"en@quot", "", "", "de_DE.UTF-8"}, en},
        {"LANGUAGE=::en with empty entries with LANG=de_DE -> English", {"::en", "", "", "de_DE.UTF-8"}, en},
        {"LANGUAGE=de:es untranslated, LANG=en_US decides -> English", {"de:es", "", "", "en_US.UTF-8"}, en},
        {"LANGUAGE=de:es untranslated, LANG=de_DE untranslated -> French",
         {"de:es", "", "", "de_DE.UTF-8"},
         fr},
        {"LANGUAGE=C:en, C is untranslated -> French", {"C:en", "", "", "en_US.UTF-8"}, fr},
        // LANGUAGE ignored under the C locale or none.
        {"LANGUAGE=en ignored under LANG=C -> French", {"en", "", "", "C"}, fr},
        {"LANGUAGE=en ignored under LC_ALL=C.UTF-8 -> French", {"en", "C.UTF-8", "", "en_US.UTF-8"}, fr},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(ui::ChoisirLangue(c.variables), c.attendue) << c.nom;
}

TEST(Langue, FichiersDeTraductionDuJeuEtDeQt) {
    // French is the game's own language and English Qt's: each loads only the other's texts.
    EXPECT_EQ(ui::FichiersTraduction(Langue::Francais), std::vector<std::string>{"qtbase_fr.qm"})
        << "French: Qt's own dialogs in French";
    EXPECT_EQ(ui::FichiersTraduction(Langue::Anglais), std::vector<std::string>{"canalisor_en.qm"})
        << "English: the game's texts in English, Qt's own as they are";
}

TEST(Langue, LuesDansLEnvironnementDuProcessus) {
    ASSERT_EQ(setenv("LANGUAGE", "de:en", 1), 0);
    ASSERT_EQ(setenv("LC_ALL", "de_DE.UTF-8", 1), 0);
    ASSERT_EQ(unsetenv("LC_MESSAGES"), 0);
    ASSERT_EQ(setenv("LANG", "fr_FR.UTF-8", 1), 0);
    const VariablesLangue lues = ui::VariablesDuProcessus();
    EXPECT_EQ(lues.Language, "de:en");
    EXPECT_EQ(lues.LcAll, "de_DE.UTF-8");
    EXPECT_EQ(lues.LcMessages, "") << "an unset variable reads as empty";
    EXPECT_EQ(lues.Lang, "fr_FR.UTF-8");
}

} // namespace
} // namespace canalisor::test
