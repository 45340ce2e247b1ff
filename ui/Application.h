// What every window of the program shares, set once before the first one opens: the name the
// data folders are found by, the language of the game's and Qt's own texts, and the icon.
#pragma once

class QApplication;

namespace canalisor::ui {

// The player reads English when their language is English and French otherwise (see Langue.h):
// the game's English and Qt's own French buttons and menus travel inside the program, so a
// copied folder needs nothing installed beside it. Returns false when a translation could not
// be loaded (its texts then stay in their source language).
bool PreparerApplication(QApplication& application);

} // namespace canalisor::ui
