#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "Classement.h"

using namespace canalisor;

namespace {

struct CasNombre {
    std::string texte;
    std::optional<std::int32_t> attendu;
};

const std::vector<CasNombre> CasNombres = {
    {"1500", 1500},
    {"0", 0},
    {"-5", -5},
    {"+7", 7},
    {"0300", 300},
    {"  42  ", 42},
    {"-0", 0},
    {"2147483647", std::numeric_limits<std::int32_t>::max()},
    {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"99999999999999999999999999999999999999999", std::nullopt},
    {"", std::nullopt},
    {"   ", std::nullopt},
    {"+", std::nullopt},
    {"-", std::nullopt},
    {"+-1", std::nullopt},
    {"- 5", std::nullopt},
    {"1 2", std::nullopt},
    {"12a", std::nullopt},
    {"abc", std::nullopt},
    {"1.5", std::nullopt},
    {"1e3", std::nullopt},
    {"\t5", std::nullopt},
    {"5\n", std::nullopt},
    {std::string("5\0", 2), std::nullopt},
    {std::string(100000, '0') + "7", 7},
    {std::string(100000, '9'), std::nullopt},
};

TEST(LireNombre, TableDesTextes) {
    for (const auto& cas : CasNombres)
        EXPECT_EQ(LireNombre(cas.texte), cas.attendu) << '"' << cas.texte.substr(0, 40) << '"';
}

const std::string Lea = "L\xE9"
                        "a";

TableScores Table(std::initializer_list<EntreeScore> entrees) {
    TableScores table;
    std::copy(entrees.begin(), entrees.end(), table.begin());
    return table;
}

const TableScores Exemple = Table({
    {"Marie", "1500"},
    {"Paul", "1200"},
    {Lea, "900"},
    {"Hugo", "300"},
    {"Anne", "0"},
});

struct CasClassement {
    const char* nom;
    TableScores ordreFichier;
    TableScores attendu;
};

const std::vector<CasClassement> CasClassements = {
    {"exemple dans le desordre",
     Table({{"Hugo", "300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "900"}}),
     Table({{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "900"}, {"Hugo", "300"}, {"Anne", "0"}})},
    {"table deja classee inchangee, textes compris",
     Table({{"A", "+1500"}, {"B", "01200"}, {"C", " 900 "}, {"D", "300"}, {"E", "-4"}}),
     Table({{"A", "+1500"}, {"B", "01200"}, {"C", " 900 "}, {"D", "300"}, {"E", "-4"}})},
    // Hugo is displaced twice and loses his leading zero; Léa wins her pass and keeps hers.
    {"score deplace reecrit, gagnant garde son texte",
     Table({{"Hugo", "0300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "0900"}}),
     Table({{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "0900"}, {"Hugo", "300"}, {"Anne", "0"}})},
    {"ordre croissant : chacun deplace, sauf le premier classe",
     Table({{"A", "01"}, {"B", "02"}, {"C", "03"}, {"D", "04"}, {"E", "05"}}),
     Table({{"E", "05"}, {"D", "4"}, {"C", "3"}, {"B", "2"}, {"A", "1"}})},
    {"egalite aux places 4 et 5 inversee",
     Table({{"A", "100"}, {"B", "90"}, {"C", "80"}, {"D", "5"}, {"E", "5"}}),
     Table({{"A", "100"}, {"B", "90"}, {"C", "80"}, {"E", "5"}, {"D", "5"}})},
    {"tous egaux", Table({{"A", "7"}, {"B", "7"}, {"C", "7"}, {"D", "7"}, {"E", "7"}}),
     Table({{"A", "7"}, {"B", "7"}, {"C", "7"}, {"E", "7"}, {"D", "7"}})},
    // A was displaced by Y into the slot after B, so B, later in the file, ranks first.
    {"un deplace passe derriere un egal plus loin dans le fichier",
     Table({{"A", "5"}, {"X", "1"}, {"B", "5"}, {"Y", "9"}, {"Z", "0"}}),
     Table({{"Y", "9"}, {"B", "5"}, {"A", "5"}, {"X", "1"}, {"Z", "0"}})},
    {"score illisible compte 0 et s'ecrit 0 une fois deplace",
     Table({{"Zoe", "abc"}, {"Yves", "10"}, {"Xavier", "-3"}, {"Willy", "20"}, {"Val", "x"}}),
     Table({{"Willy", "20"}, {"Yves", "10"}, {"Zoe", "0"}, {"Val", "x"}, {"Xavier", "-3"}})},
    {"bornes 32 bits",
     Table({{"A", "-2147483648"}, {"B", "2147483647"}, {"C", "0"}, {"D", "1"}, {"E", "-1"}}),
     Table({{"B", "2147483647"}, {"D", "1"}, {"C", "0"}, {"E", "-1"}, {"A", "-2147483648"}})},
};

TEST(ClasserScores, TableDesCas) {
    for (const auto& cas : CasClassements)
        EXPECT_EQ(ClasserScores(cas.ordreFichier), cas.attendu) << cas.nom;
}

// Every table of scores 0..2: the places come out best first (the swap of places 4 and 5
// only touches equal scores) and no entry is lost or doubled.
TEST(ClasserScores, ToutesLesTablesDeTroisValeurs) {
    for (int code = 0; code < 243; ++code) {
        TableScores table;
        for (int k = 0, reste = code; k < 5; ++k, reste /= 3)
            table[static_cast<std::size_t>(k)] = {std::string(1, static_cast<char>('A' + k)),
                                                  std::to_string(reste % 3)};
        const TableScores classe = ClasserScores(table);
        for (std::size_t k = 1; k < 5; ++k)
            EXPECT_GE(ValeurScore(classe[k - 1].Points), ValeurScore(classe[k].Points)) << "code " << code;
        std::vector<std::string> noms;
        for (const auto& entree : classe)
            noms.push_back(entree.Nom);
        std::sort(noms.begin(), noms.end());
        EXPECT_EQ(noms, (std::vector<std::string>{"A", "B", "C", "D", "E"})) << "code " << code;
    }
}

struct CasInsertion {
    std::int32_t score;
    std::optional<int> place;
};

// A new score equal to a kept one goes below it.
const std::vector<CasInsertion> CasInsertions = {
    {2000, 0}, {1501, 0}, {1500, 1}, {1200, 2},         {1000, 2},          {900, 3},
    {301, 3},  {300, 4},  {1, 4},    {0, std::nullopt}, {-5, std::nullopt},
};

TEST(InsererScore, PlaceSelonLeScore) {
    for (const auto& cas : CasInsertions) {
        EXPECT_EQ(PlaceScore(Exemple, cas.score), cas.place) << cas.score;

        TableScores table = Exemple;
        EXPECT_EQ(InsererScore(table, "Jules", cas.score), cas.place) << cas.score;
        if (!cas.place) {
            EXPECT_EQ(table, Exemple) << cas.score;
            continue;
        }
        // The entries above keep their places, the ones below move down one and the fifth goes.
        TableScores attendu;
        for (std::size_t k = 0, source = 0; k < 5; ++k)
            attendu[k] = static_cast<int>(k) == *cas.place ? EntreeScore{"Jules", std::to_string(cas.score)}
                                                           : Exemple[source++];
        EXPECT_EQ(table, attendu) << cas.score;
    }
}

TEST(InsererScore, JulesEntreTroisiemeEtAnneSort) {
    TableScores table = Exemple;
    EXPECT_EQ(InsererScore(table, "Jules", 1000), 2);
    EXPECT_EQ(table,
              Table({{"Marie", "1500"}, {"Paul", "1200"}, {"Jules", "1000"}, {Lea, "900"}, {"Hugo", "300"}}));
}

TEST(InsererScore, CompareLesValeursPasLesTextes) {
    const TableScores table =
        Table({{"A", "0900"}, {"B", " 300"}, {"C", "+200"}, {"D", "abc"}, {"E", "-50"}});
    EXPECT_EQ(PlaceScore(table, 1000), 0);
    EXPECT_EQ(PlaceScore(table, 250), 2);
    EXPECT_EQ(PlaceScore(table, 1), 3); // "abc" counts as 0
    EXPECT_EQ(PlaceScore(table, -10), 4);
}

} // namespace
