// What every window of the program shares, set once before the first one opens: the name the
// data folders are found by, Qt's own texts in French, and the icon.
#pragma once

class QApplication;

namespace canalisor::ui {

// The player reads French whatever the system's locale: the translations of Qt's own buttons
// and menus travel inside the program, so a copied folder needs nothing installed beside it.
// Returns false when they could not be loaded (the texts then stay in English).
bool PreparerApplication(QApplication& application);

} // namespace canalisor::ui
