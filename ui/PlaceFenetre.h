// Where the main window opens and at what size: as the player left it last time, read from the
// settings file (~/.config/canalisor/canalisor.conf), else at the default size on a screen
// whose work area holds it, else at the largest size that fits.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace canalisor::ui {

// The window's size (client area and menu bar, without the frame the window manager adds) for
// a work area `travail` and a frame `cadre`: the default client area when both fit, else the
// largest client area of the same proportions that does, never below the smallest the layout
// allows.
QSize TailleOuverture(const QRect& travail, const QMargins& cadre, int barreMenus);

// Before the window first shows: its remembered size and place, or TailleOuverture on its screen.
void PlacerFenetre(QWidget& fenetre, int barreMenus);
// Keeps the window's size and place for the next run.
void MemoriserFenetre(const QWidget& fenetre);

} // namespace canalisor::ui
