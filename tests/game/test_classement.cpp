#include <gtest/gtest.h>

#include <cstdint>

#include "Classement.h"

using namespace canalisor;

namespace {

const std::string Lea = "L\xE9"
                        "a";
const TableScores Exemple{
    {{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "900"}, {"Hugo", "300"}, {"Anne", "0"}}};

} // namespace

TEST(Classement, LireNombreTakesSpacesSignAndDigitsWithinThirtyTwoBits) {
    const std::pair<std::string, std::optional<std::int32_t>> cas[]{{"1500", 1500},
                                                                    {"-5", -5},
                                                                    {"+7", 7},
                                                                    {"0300", 300},
                                                                    {"  42  ", 42},
                                                                    {"-0", 0},
                                                                    {"2147483647", INT32_MAX},
                                                                    {"-2147483648", INT32_MIN},
                                                                    {"2147483648", {}},
                                                                    {"-2147483649", {}},
                                                                    {std::string(100000, '9'), {}},
                                                                    {std::string(100000, '0') + "7", 7},
                                                                    {"", {}},
                                                                    {"   ", {}},
                                                                    {"-", {}},
                                                                    {"+-1", {}},
                                                                    {"- 5", {}},
                                                                    {"1 2", {}},
                                                                    {"12a", {}},
                                                                    {"1.5", {}},
                                                                    {"\t5", {}},
                                                                    {"5\n", {}},
                                                                    {std::string("5\0", 2), {}}};
    for (const auto& [texte, valeur] : cas)
        EXPECT_EQ(LireNombre(texte), valeur) << '"' << texte.substr(0, 20) << '"';
}

TEST(Classement, RanksFromTheBestWithTheHistoricQuirks) {
    const std::pair<TableScores, TableScores> cas[]{
        {{{{"Hugo", "300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "900"}}}, Exemple},
        // A displaced running best has its score rewritten: Hugo loses his zero, Léa keeps hers.
        {{{{"Hugo", "0300"}, {"Marie", "1500"}, {"Anne", "0"}, {"Paul", "1200"}, {Lea, "0900"}}},
         {{{"Marie", "1500"}, {"Paul", "1200"}, {Lea, "0900"}, {"Hugo", "300"}, {"Anne", "0"}}}},
        // Equal scores left for places 4 and 5 swap.
        {{{{"A", "100"}, {"B", "90"}, {"C", "80"}, {"D", "5"}, {"E", "5"}}},
         {{{"A", "100"}, {"B", "90"}, {"C", "80"}, {"E", "5"}, {"D", "5"}}}},
        // A, displaced by Y into the slot after B, ranks behind B; "abc" counts 0 and then reads 0.
        {{{{"A", "5"}, {"abc", "abc"}, {"B", "5"}, {"Y", "9"}, {"Z", "-1"}}},
         {{{"Y", "9"}, {"B", "5"}, {"A", "5"}, {"abc", "0"}, {"Z", "-1"}}}},
    };
    for (const auto& [fichier, classe] : cas)
        EXPECT_EQ(ClasserScores(fichier), classe) << fichier[0].Nom << ", " << fichier[1].Nom << "...";
}

// Below any equal score: the table's ties at places 2 and 5 stay above the new entry.
TEST(Classement, ANewScoreGoesBelowAnyEqualOne) {
    const std::pair<std::int32_t, std::optional<int>> cas[]{
        {2000, 0}, {1501, 0}, {1500, 1}, {1200, 2}, {1000, 2}, {301, 3}, {300, 4}, {1, 4}, {0, {}}, {-5, {}}};
    for (auto [score, place] : cas) {
        TableScores table = Exemple;
        EXPECT_EQ(InsererScore(table, "Jules", score), place) << score;
    }
}
