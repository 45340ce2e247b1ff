// The best-scores file holds its names in windows-1252, one byte a character; the rest of the
// program holds text in UTF-8. The file's reader and writer convert at its edge, so that a
// name is never seen in two encodings.
#pragma once

#include <string>
#include <string_view>

namespace canalisor {

// Every byte has a character: the five that windows-1252 leaves unassigned (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) stand for the control codes of the same value, as Windows reads them, so that
// any file reads back to the bytes it held.
std::string De1252(std::string_view octets);
// A character that windows-1252 cannot hold becomes one '?', as does each byte that starts no
// well-formed UTF-8 sequence.
std::string Vers1252(std::string_view texte);

} // namespace canalisor
