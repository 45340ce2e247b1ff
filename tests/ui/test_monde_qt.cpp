// The real world the program runs in: the one-second clock and chance seeded from the clock,
// checked without waiting for either.
#include <algorithm>
#include <limits>
#include <ranges>
#include <vector>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTimer>
#include <QTimerEvent>

#include <gtest/gtest.h>

#include "MondeQt.h"

namespace canalisor::test {
namespace {

// The clock ticks every 1000 ms until stopped, each timeout a tick of the game, and stands still
// until started.
TEST(Horloge, UnTicParSecondeJusquALArret) {
    ui::HorlogeQt horloge;
    auto* minuterie = horloge.findChild<QTimer*>();
    ASSERT_NE(minuterie, nullptr) << "the clock is a Qt timer";

    EXPECT_FALSE(horloge.EnMarche()) << "the clock stands still until a game starts it";
    horloge.Demarrer();
    EXPECT_TRUE(minuterie->isActive()) << "started, it runs";
    EXPECT_EQ(minuterie->interval(), 1000) << "one tick a second";
    EXPECT_FALSE(minuterie->isSingleShot()) << "it ticks on until stopped";
    QSignalSpy tics(&horloge, &ui::HorlogeQt::Tic);
    QTimerEvent expire(minuterie->timerId());
    QCoreApplication::sendEvent(minuterie, &expire);
    EXPECT_EQ(tics.count(), 1) << "each timeout is a tick of the game";
    horloge.Arreter();
    EXPECT_FALSE(horloge.EnMarche()) << "stopped, it no longer ticks";
}

// Chance gives numbers r with 0 <= r < 1 over the whole range, and two runs a moment apart draw
// different numbers: the seed is the clock's time.
TEST(Hasard, GraineDeLHorlogeEtNombresEntreZeroEtUn) {
    ui::HasardHorloge premier;
    ui::HasardHorloge second;
    const auto tirages = [](ui::HasardHorloge& hasard) {
        return std::vector{hasard.Suivant(), hasard.Suivant(), hasard.Suivant(), hasard.Suivant()};
    };
    EXPECT_NE(tirages(premier), tirages(second)) << "two sources made a moment apart draw different numbers";
    const auto [plusPetit, plusGrand] = std::ranges::minmax(
        std::views::iota(0, 100000) | std::views::transform([&](int) { return premier.Suivant(); }));
    EXPECT_GE(plusPetit, 0.0);
    EXPECT_LT(plusPetit, 0.001) << "the draws reach down to 0";
    EXPECT_GT(plusGrand, 0.999) << "and up to 1";
    EXPECT_LT(plusGrand, 1.0);

    // The top 53 bits of a 64-bit draw as a fraction: exact, and never 1.
    const struct {
        const char* cas;
        std::uint64_t tirage;
        double fraction;
    } fractions[] = {
        {"the lowest 11 bits are dropped", 0x7ff, 0.0},
        {"the lowest bit kept", 0x800, 0x1.0p-53},
        {"every bit: the largest double below 1", std::numeric_limits<std::uint64_t>::max(),
         0x1.fffffffffffffp-1},
    };
    for (const auto& [cas, tirage, fraction] : fractions)
        EXPECT_EQ(ui::VersUnitaire(tirage), fraction) << cas;
}

} // namespace
} // namespace canalisor::test
