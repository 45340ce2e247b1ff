// The game's artwork, drawn with QPainter rather than shipped as files, so that a tile can
// never disagree with the catalogue of pieces it comes from.
#pragma once

#include <QColor>
#include <QImage>

#include "Plateau.h"

namespace canalisor::art {

// Side of a tile, in pixels, at scale 1: the picture area of a board cell.
constexpr int CoteTuile = 79;

// The hue of a liquid, as the body of a filled pipe shows it. The four stay apart for players
// who confuse reds with greens or blues with greens (tests/art simulates those visions), and
// each liquid also carries its own shape.
QColor Teinte(Couleur c);

// The tile as the board shows it, CoteTuile x echelle pixels square, 24-bit.
QImage DessinerTuile(const Tuile& tuile, int echelle = 1);

// The program's icon at one size: two crossing pipes on a tile, drawn anew for each size
// so that the small ones keep whole-pixel walls instead of a blurred reduction.
QImage DessinerIcone(int taille);

} // namespace canalisor::art
