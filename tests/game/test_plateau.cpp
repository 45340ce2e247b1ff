#include <gtest/gtest.h>

#include "Placement.h"

using namespace canalisor;

TEST(Plateau, RowsUseFloorDivision) {
    const std::tuple<int, int, bool> cas[]{{14, 15, false}, {0, -1, false},    {119, 120, false},
                                           {-1, -15, true}, {-15, -16, false}, {0, 14, true},
                                           {105, 119, true}};
    for (auto [a, b, meme] : cas)
        EXPECT_EQ(MemeLigne(a, b), meme) << a << " / " << b;
}

// One row per piece (D departure, A arrival, P gate, O obstacle) and candidate cell, with the
// pieces already laid (cell, code): whether the generator refuses the cell.
TEST(Placement, RulesAtRowEndsCornersAndBesideOtherPieces) {
    const std::tuple<char, int, std::vector<std::pair<int, int>>, bool> cas[]{
        // Row ends and corners: a neighbour on another row never counts.
        {'D', 0, {}, false},
        {'D', 0, {{2, 1}}, true},
        {'D', 119, {}, true},
        {'D', 13, {{15, 1}}, false},
        {'D', 13, {{14, 1}}, true},
        {'A', 0, {}, true},
        {'A', 119, {}, false},
        {'A', 119, {{117, 1}}, true},
        {'A', 16, {{14, 1}}, false},
        {'A', 16, {{15, 1}}, true},
        {'P', 0, {}, true},
        {'P', 119, {}, true},
        {'P', 15, {}, true},
        {'P', 14, {}, true},
        {'O', 0, {{1, 10}}, true},
        {'O', 0, {{1, 9}}, false},
        {'O', 119, {{118, 12}}, true},
        {'O', 15, {{14, 9}}, false},
        {'O', 14, {{15, 10}}, false},
        // Mid-row: what each piece keeps clear on its open sides.
        {'O', 50, {{50, 1}}, true},
        {'D', 50, {{50, 2}}, true},
        {'A', 50, {{49, 10}}, true},
        {'D', 50, {{49, 10}}, false},
        {'A', 49, {{50, 9}}, false},
        {'D', 50, {{49, 11}}, true},
        {'D', 50, {{49, 15}}, true},
        {'D', 50, {{52, 9}}, true},
        {'A', 50, {{51, 13}}, true},
        {'A', 50, {{48, 1}}, true},
        {'P', 50, {{35, 1}, {65, 1}}, false},
        {'P', 50, {{51, 1}}, true},
        {'P', 50, {{49, 1}}, true},
        {'P', 50, {{51, 2}, {49, 8}}, false},
        {'P', 50, {{48, 9}}, true},
        {'P', 50, {{48, 1}}, false},
        {'P', 50, {{52, 16}}, true},
        {'P', 50, {{52, 18}}, false},
        {'O', 50, {{49, 20}}, true},
        {'O', 50, {{51, 20}}, true},
        {'O', 50, {{51, 9}}, false},
        {'O', 50, {{49, 10}}, false}};
    for (const auto& [piece, p, pieces, refuse] : cas) {
        Grille g;
        for (auto [i, code] : pieces)
            g[static_cast<std::size_t>(i)].Tag = static_cast<std::int16_t>(code);
        const auto regle = piece == 'D'   ? MalPlaceDepart
                           : piece == 'A' ? MalPlaceArrivee
                           : piece == 'P' ? MalPlacePassage
                                          : MalPlaceObstacle;
        EXPECT_EQ(regle(g, p), refuse)
            << piece << " at " << p << " beside " << (pieces.empty() ? -1 : pieces[0].first);
    }
}
