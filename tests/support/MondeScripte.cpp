#include "MondeScripte.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace canalisor::test {

HasardScripte::HasardScripte(std::optional<unsigned> graine)
    : generateur_(graine ? std::optional<std::mt19937>(*graine) : std::nullopt) {}

double HasardScripte::Suivant() {
    if (valeurs_.empty() && generateur_)
        Ajouter(static_cast<double>((*generateur_)() >> 8) / static_cast<double>(1u << 24));
    if (valeurs_.empty()) // thrown, not returned: a made-up value could loop a level layout forever
        throw std::logic_error("a random value was drawn that the test did not queue");
    const double r = valeurs_.front();
    valeurs_.pop_front();
    return r;
}

std::string DialoguesScriptes::Saisir(const std::string& invite) {
    invites.push_back(invite);
    EXPECT_FALSE(reponses.empty()) << "unexpected name box";
    if (reponses.empty())
        return "?"; // ends the prompt loop
    const std::string r = std::move(reponses.front());
    reponses.pop_front();
    return r;
}

bool PalmaresMemoire::MettreAJour(const Changement& changer) {
    if (!table)
        return false;
    const std::optional<TableScores> nouvelle = changer(*table);
    if (!nouvelle)
        return true;
    ++ecritures;
    if (ecritureEchoue)
        return false;
    table = nouvelle;
    return true;
}

TableScores TableExemple() {
    return {{{"Marie", "1500"}, {"Paul", "1200"}, {"Léa", "900"}, {"Hugo", "300"}, {"Anne", "0"}}};
}

Monde::Monde(std::optional<unsigned> graine) : hasard(graine), jeu(hasard, horloge, dialogues, palmares) {
    palmares.table = TableExemple();
    jeu.Form_Load("/jeu/");
}

int Monde::TicsJusquAuPas() {
    int tics = 0;
    const std::size_t boites = dialogues.messages.size();
    // A tick that starts on "1" is a flow step: the last one counted.
    for (bool pas = false; !pas && jeu.Affichage().Timer1Actif && dialogues.messages.size() == boites;
         ++tics) {
        pas = jeu.Affichage().LabelTemps == "1";
        jeu.Timer1_Timer();
    }
    return tics;
}

} // namespace canalisor::test
