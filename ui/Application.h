// What every window of the program shares, set once before the first one opens: the name the
// data folders are found by, the language of the game's and Qt's own texts, and the icon.
#pragma once

#include <memory>
#include <vector>

class QApplication;
class QTranslator;

namespace canalisor::ui {

// The player reads English when their language is English and French otherwise (see Langue.h):
// the game's English and Qt's own French buttons and menus travel inside the program, so a
// copied folder needs nothing installed beside it. Returns false when a translation could not
// be loaded (its texts then stay in their source language).
bool PreparerApplication(QApplication& application);

// The translations of the player's language, loaded from the program's resources: the game's
// texts, then Qt's own. They need no application: the command line is answered before one
// exists, by asking them directly. A translation that cannot be loaded is left out.
std::vector<std::unique_ptr<QTranslator>> ChargerTraductions();

} // namespace canalisor::ui
