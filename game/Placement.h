// Where the level generator may lay each anchored piece: each test answers true when the
// candidate cell is bad. They keep the open sides of departures, arrivals and gates usable.
#pragma once

#include "Plateau.h"

namespace canalisor {

bool MalPlaceDepart(const Grille& grille, int p);
bool MalPlaceArrivee(const Grille& grille, int p);
bool MalPlacePorte(const Grille& grille, int p);
bool MalPlaceObstacle(const Grille& grille, int p);

} // namespace canalisor
