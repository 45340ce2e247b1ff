#include "Placement.h"

namespace canalisor {

namespace {

enum class Famille { Depart, Arrivee, Porte };

bool EstDe(int code, Famille f) {
    return EstPieceDeLiquide(code) && (code - DepartBleu) % 3 == static_cast<int>(f);
}
bool DepartOuPorte(int code) {
    return EstDe(code, Famille::Depart) || EstDe(code, Famille::Porte);
}
bool ArriveeOuPorte(int code) {
    return EstDe(code, Famille::Arrivee) || EstDe(code, Famille::Porte);
}

// The code of cell p + decalage when that cell is on the board and on p's row; nothing
// otherwise, so a neighbour that wraps onto another row never counts.
std::optional<int> CodeVoisin(const Grille& grille, int p, int decalage) {
    const int i = p + decalage;
    if (i < 0 || i >= NombreCellules || !MemeLigne(p, i))
        return std::nullopt;
    return grille[static_cast<std::size_t>(i)].Piece;
}

template <typename Predicat> bool Voisin(const Grille& g, int p, int decalage, Predicat pred) {
    const auto code = CodeVoisin(g, p, decalage);
    return code && pred(*code);
}

bool Pris(int code) {
    return code != Vide;
}
bool PremiereColonne(int p) {
    return p % Colonnes == 0;
}
bool DerniereColonne(int p) {
    return (p + 1) % Colonnes == 0;
}
bool Occupee(const Grille& g, int p) {
    return g[static_cast<std::size_t>(p)].Piece != Vide;
}

} // namespace

bool MalPlaceDepart(const Grille& g, int p) {
    return Occupee(g, p) || DerniereColonne(p) || Voisin(g, p, 1, Pris) || Voisin(g, p, 2, Pris) ||
           Voisin(g, p, -1, DepartOuPorte);
}

bool MalPlaceArrivee(const Grille& g, int p) {
    return Occupee(g, p) || PremiereColonne(p) || Voisin(g, p, -1, Pris) || Voisin(g, p, -2, Pris) ||
           Voisin(g, p, 1, ArriveeOuPorte);
}

bool MalPlacePorte(const Grille& g, int p) {
    return Occupee(g, p) || PremiereColonne(p) || DerniereColonne(p) || Voisin(g, p, -1, EstAncre) ||
           Voisin(g, p, -2, DepartOuPorte) || Voisin(g, p, 1, EstAncre) || Voisin(g, p, 2, ArriveeOuPorte);
}

bool MalPlaceObstacle(const Grille& g, int p) {
    return Occupee(g, p) || Voisin(g, p, -1, DepartOuPorte) || Voisin(g, p, 1, ArriveeOuPorte);
}

} // namespace canalisor
