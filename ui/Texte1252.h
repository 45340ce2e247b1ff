// The best-scores file holds names in windows-1252, one byte a character, and the game passes
// those bytes through untouched; the windows turn them into text and back.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace canalisor::ui {

// Every byte has a character: the five unassigned ones stand for the control codes of the same
// value, so that any file reads back to the bytes it held.
QString De1252(std::string_view octets);
// A character that windows-1252 cannot hold becomes '?'.
std::string Vers1252(const QString& texte);

} // namespace canalisor::ui
