// The five best scores and their ranking. Names and scores stay text, exactly as read
// (UTF-8, whatever the file's encoding); a score is turned into a number only to compare it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace canalisor {

struct EntreeScore {
    std::string Nom;
    std::string Points;
    bool operator==(const EntreeScore&) const = default;
};
using TableScores = std::array<EntreeScore, 5>;

// The value of a score line: optional spaces, an optional sign, decimal digits, optional
// spaces, within the signed 32-bit range. Nothing for anything else.
std::optional<std::int32_t> LireNombre(std::string_view texte);
// The value used in comparisons: an unreadable score counts as 0.
std::int32_t ValeurScore(std::string_view texte);

// Orders a table read in file order from the best score down (with the quirks of the
// historic ranking: a displaced running best takes the slot of the entry that displaced it
// with its score rewritten in plain decimal, and equal scores left for places 4 and 5 swap).
TableScores ClasserScores(const TableScores& ordreFichier);

// The place (0..4) that a new score takes in a ranked table, below any equal score; nothing
// when it is not greater than the fifth.
std::optional<int> PlaceScore(const TableScores& classe, std::int32_t score);
// Puts the entry at its place, moving the lower entries down and dropping the fifth.
// Returns the place (0..4), or nothing when the score does not enter the table.
std::optional<int> InsererScore(TableScores& classe, const std::string& nom, std::int32_t score);

} // namespace canalisor
