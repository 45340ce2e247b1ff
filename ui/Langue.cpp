#include "Langue.h"

#include <cstdlib>
#include <optional>
#include <string_view>

namespace canalisor::ui {

namespace {

// "C", "POSIX" and glibc's "C.UTF-8" (or "C.utf8") all mean untranslated messages.
bool LocaleC(std::string_view locale) {
    return locale == "C" || locale == "POSIX" || locale.starts_with("C.");
}

// The language part of a name such as "en_GB.UTF-8@euro", "en" or "fr_CA", ignoring case; none
// for a language the game does not speak. "C" and "POSIX" inside LANGUAGE name the untranslated
// messages, which are French.
std::optional<Langue> LangueDuNom(std::string_view nom) {
    if (LocaleC(nom))
        return Langue::Francais;
    const std::string_view langue = nom.substr(0, nom.find_first_of("_.@"));
    const auto egale = [langue](std::string_view code) {
        if (langue.size() != code.size())
            return false;
        for (std::size_t k = 0; k < code.size(); ++k) {
            const char c = langue[k];
            if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != code[k])
                return false;
        }
        return true;
    };
    if (egale("fr"))
        return Langue::Francais;
    if (egale("en"))
        return Langue::Anglais;
    return std::nullopt;
}

std::string Variable(const char* nom) {
    const char* valeur = std::getenv(nom);
    return valeur ? valeur : "";
}

} // namespace

Langue ChoisirLangue(const VariablesLangue& variables) {
    const std::string& locale = !variables.LcAll.empty()        ? variables.LcAll
                                : !variables.LcMessages.empty() ? variables.LcMessages
                                                                : variables.Lang;
    if (locale.empty() || LocaleC(locale))
        return Langue::Francais;

    std::string_view liste = variables.Language;
    while (!liste.empty()) {
        const std::size_t fin = liste.find(':');
        if (const auto langue = LangueDuNom(liste.substr(0, fin)))
            return *langue;
        liste = fin == std::string_view::npos ? std::string_view() : liste.substr(fin + 1);
    }
    return LangueDuNom(locale).value_or(Langue::Francais);
}

VariablesLangue VariablesDuProcessus() {
    return {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

std::vector<std::string> FichiersTraduction(Langue langue) {
    switch (langue) {
    case Langue::Anglais:
        return {"canalisor_en.qm"};
    case Langue::Francais:
        break;
    }
    return {"qtbase_fr.qm"};
}

} // namespace canalisor::ui
