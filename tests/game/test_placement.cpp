#include <gtest/gtest.h>

#include "Placement.h"

using namespace canalisor;

namespace {

struct Cas {
    const char* quoi;
    std::vector<std::pair<int, int>> pieces;  // cell, code already on the board
    bool (*test)(const Grille&, int);
    int p;
    bool mauvais;
};

Grille Avec(const std::vector<std::pair<int, int>>& pieces) {
    Grille g;
    for (auto [i, code] : pieces)
        g[static_cast<std::size_t>(i)].Tag = static_cast<std::int16_t>(code);
    return g;
}

}  // namespace

TEST(Placement, RulesAtRowEndsAndCorners) {
    const std::vector<Cas> cas{
        {"departure at 0 on an empty board", {}, MalPlaceDepart, 0, false},
        {"departure at 0 judged on cell 2", {{2, 1}}, MalPlaceDepart, 0, true},
        {"arrival refused in the first column", {}, MalPlaceArrivee, 0, true},
        {"gate refused in the first column", {}, MalPlacePassage, 0, true},
        {"obstacle at 0 judged on cell 1", {{1, 10}}, MalPlaceObstacle, 0, true},
        {"obstacle at 0, departure on cell 1 is harmless", {{1, 9}}, MalPlaceObstacle, 0, false},
        {"departure refused in the last column", {}, MalPlaceDepart, 119, true},
        {"gate refused in the last column", {}, MalPlacePassage, 119, true},
        {"arrival at 119 judged on 117", {{117, 1}}, MalPlaceArrivee, 119, true},
        {"arrival at 119 free", {}, MalPlaceArrivee, 119, false},
        {"obstacle at 119 after a departure", {{118, 12}}, MalPlaceObstacle, 119, true},
        {"departure at 13: cell 15 is on the next row", {{15, 1}}, MalPlaceDepart, 13, false},
        {"departure at 13: cell 14 counts", {{14, 1}}, MalPlaceDepart, 13, true},
        {"arrival at 16: cell 14 is on the row above", {{14, 1}}, MalPlaceArrivee, 16, false},
        {"arrival at 16: cell 15 counts", {{15, 1}}, MalPlaceArrivee, 16, true},
        {"taken cell", {{50, 1}}, MalPlaceObstacle, 50, true},
        {"arrival then departure back to back", {{49, 10}}, MalPlaceDepart, 50, false},
        {"departure then arrival back to back", {{50, 9}}, MalPlaceArrivee, 49, false},
        {"departure right of a gate", {{49, 11}}, MalPlaceDepart, 50, true},
        {"departure right of a departure", {{49, 15}}, MalPlaceDepart, 50, true},
        {"arrival left of an arrival", {{51, 13}}, MalPlaceArrivee, 50, true},
        {"nothing above or below matters", {{35, 1}, {65, 1}}, MalPlacePassage, 50, false},
        {"gate beside an obstacle", {{51, 1}}, MalPlacePassage, 50, true},
        {"gate beside a pipe is fine", {{51, 2}, {49, 8}}, MalPlacePassage, 50, false},
        {"gate two right of a departure", {{48, 9}}, MalPlacePassage, 50, true},
        {"gate two right of an obstacle", {{48, 1}}, MalPlacePassage, 50, false},
        {"gate two left of an arrival", {{52, 16}}, MalPlacePassage, 50, true},
        {"gate two left of a departure", {{52, 18}}, MalPlacePassage, 50, false},
        {"departure two left of a departure", {{52, 9}}, MalPlaceDepart, 50, true},
        {"obstacle right of a gate", {{49, 20}}, MalPlaceObstacle, 50, true},
        {"obstacle left of a gate", {{51, 20}}, MalPlaceObstacle, 50, true},
        {"obstacle left of a departure", {{51, 9}}, MalPlaceObstacle, 50, false},
    };
    for (const Cas& c : cas)
        EXPECT_EQ(c.test(Avec(c.pieces), c.p), c.mauvais) << c.quoi;
}
