#include "Classement.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace canalisor {

std::optional<std::int32_t> LireNombre(std::string_view texte) {
    const auto debut = texte.find_first_not_of(' ');
    if (debut == std::string_view::npos)
        return std::nullopt;
    texte = texte.substr(debut, texte.find_last_not_of(' ') - debut + 1);

    const bool negatif = texte.front() == '-';
    if (texte.front() == '+' || negatif)
        texte.remove_prefix(1);
    if (texte.empty())
        return std::nullopt;

    // The magnitude of the most negative value; checking after each digit keeps the sum far
    // from overflowing, however many digits a damaged file holds.
    constexpr std::int64_t limite = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t valeur = 0;
    for (char c : texte) {
        if (c < '0' || c > '9')
            return std::nullopt;
        valeur = valeur * 10 + (c - '0');
        if (valeur > limite)
            return std::nullopt;
    }
    if (negatif)
        return static_cast<std::int32_t>(-valeur);
    if (valeur == limite)
        return std::nullopt;
    return static_cast<std::int32_t>(valeur);
}

std::int32_t ValeurScore(std::string_view texte) {
    return LireNombre(texte).value_or(0);
}

TableScores ClasserScores(const TableScores& ordreFichier) {
    // The historic ranking is kept quirk for quirk: which entry wins a tie, and the score text
    // of an entry that was once the running best, both show in the scores window and in the
    // file written after a game, so a plain stable sort would change what players see.
    TableScores classe;
    std::vector<EntreeScore> liste(ordreFichier.begin(), ordreFichier.end());
    for (std::size_t place = 0; place < 3; ++place) {
        std::vector<EntreeScore> reste;
        reste.reserve(liste.size() - 1);
        std::size_t meilleur = 0;
        std::int32_t m = ValeurScore(liste[0].Points);
        for (std::size_t i = 1; i < liste.size(); ++i) {
            const std::int32_t valeur = ValeurScore(liste[i].Points);
            if (valeur > m) {
                reste.push_back({liste[meilleur].Nom, std::to_string(m)});
                meilleur = i;
                m = valeur;
            } else {
                reste.push_back(liste[i]);
            }
        }
        classe[place] = liste[meilleur];
        liste = std::move(reste);
    }
    const bool premierDevant = ValeurScore(liste[0].Points) > ValeurScore(liste[1].Points);
    classe[3] = premierDevant ? liste[0] : liste[1];
    classe[4] = premierDevant ? liste[1] : liste[0];
    return classe;
}

std::optional<int> PlaceScore(const TableScores& classe, std::int32_t score) {
    for (std::size_t place = 0; place < classe.size(); ++place) {
        if (score > ValeurScore(classe[place].Points))
            return static_cast<int>(place);
    }
    return std::nullopt;
}

std::optional<int> InsererScore(TableScores& classe, const std::string& nom, std::int32_t score) {
    const auto place = PlaceScore(classe, score);
    if (!place)
        return std::nullopt;
    const auto debut = classe.begin() + *place;
    std::move_backward(debut, classe.end() - 1, classe.end());
    *debut = {nom, std::to_string(score)};
    return place;
}

} // namespace canalisor
