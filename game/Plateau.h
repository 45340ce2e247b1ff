// The board: 15 x 8 cells, the 21 piece codes, the four liquids and the picture names.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace canalisor {

constexpr int Colonnes = 15;
constexpr int Lignes = 8;
constexpr int NombreCellules = Colonnes * Lignes;

// Piece codes as the cells hold them.
enum Code : std::int16_t {
    Vide = 0,
    Obstacle = 1,
    DroitH = 2,  // left-right
    DroitV = 3,  // top-bottom
    CoudeDB = 4, // right-bottom
    CoudeGB = 5, // left-bottom
    CoudeGH = 6, // left-top
    CoudeDH = 7, // right-top
    Croix = 8,
    // Each liquid's departure, arrival and gate, in the order of the liquids.
    DepartBleu = 9,
    ArriveeBleu = 10,
    PorteBleu = 11,
    DepartRouge = 12,
    ArriveeRouge = 13,
    PorteRouge = 14,
    DepartVert = 15,
    ArriveeVert = 16,
    PorteVert = 17,
    DepartJaune = 18,
    ArriveeJaune = 19,
    PorteJaune = 20,
};
constexpr bool EstTuyau(int code) {
    return code >= DroitH && code <= Croix;
}
// A departure, an arrival or a gate of some liquid.
constexpr bool EstPieceDeLiquide(int code) {
    return code >= DepartBleu && code <= PorteJaune;
}
// Obstacles, departures, arrivals and gates: laid by the level, never replaced by the player.
constexpr bool EstAncre(int code) {
    return code == Obstacle || EstPieceDeLiquide(code);
}

// The liquids, in the order in which they flow within one tick.
enum class Couleur : std::uint8_t { Bleu, Rouge, Vert, Jaune };
constexpr std::array<Couleur, 4> Couleurs{Couleur::Bleu, Couleur::Rouge, Couleur::Vert, Couleur::Jaune};

struct DescriptionCouleur {
    char Lettre;         // in picture names and fill states
    std::int16_t Depart; // piece codes
    std::int16_t Arrivee;
    std::int16_t Porte;
    std::int16_t NiveauMin;         // first level that uses this liquid
    std::uint16_t NiveauxAvecPorte; // bit n set: level n has a gate of this colour
    const char* Nom; // French, as the screen reader says it: translated in the context "Accessibilite"
};
const DescriptionCouleur& Description(Couleur c);
inline char Lettre(Couleur c) {
    return Description(c).Lettre;
}
inline int Indice(Couleur c) {
    return static_cast<int>(c);
}
bool EstActive(Couleur c, int niveau);
bool APorte(Couleur c, int niveau);
// The colour whose departure, arrival or gate has this code, if any.
std::optional<Couleur> CouleurDuCode(int code);

// Sides of a cell, as bits, for the open sides of a piece.
enum Cote : std::uint8_t { Gauche = 1, Droite = 2, Haut = 4, Bas = 8 };
std::uint8_t Ouvertures(int code);

// Whether two indexes lie on the same row; well defined for any value (-1 is row -1).
bool MemeLigne(int a, int b);

enum class Direction : std::uint8_t { Droite, Gauche, Bas, Haut };
constexpr Direction Opposee(Direction d) {
    return static_cast<Direction>(static_cast<std::uint8_t>(d) ^ 1u);
}
// The side of a cell that faces direction d.
constexpr std::uint8_t CoteVers(Direction d) {
    constexpr std::uint8_t cotes[]{Droite, Gauche, Bas, Haut};
    return cotes[static_cast<std::uint8_t>(d)];
}
// The neighbour of i in that direction, when it is on the board (and on i's row for a
// horizontal move).
std::optional<int> Voisin(int i, Direction d);

// One cell of the board. Piece is the piece code; Remplissage the fill state ("" for none,
// "x" for a filled piece, "Hb", "Vr", "VrHb"... for a cross); Image the name of the picture
// file it shows ("" before the first level).
struct Cellule {
    std::int16_t Piece = Vide;
    std::string Remplissage;
    std::string Image;
    bool Active = false; // takes clicks
};
using Grille = std::array<Cellule, NombreCellules>;

// Picture names.
std::string NomImage(int code);                   // "7.bmp"
std::string NomImageRemplie(int code, Couleur c); // "7b.bmp", "10b.bmp"
std::string NomImageCroix(std::optional<Couleur> horizontal, std::optional<Couleur> vertical);

// One tile file with what it shows: the art tool draws from this list.
struct Tuile {
    std::string Nom;
    std::int16_t Code;
    std::optional<Couleur> Remplissage; // pipes 2..7, departures, arrivals, gates
    std::optional<Couleur> Horizontal;  // crosses
    std::optional<Couleur> Vertical;
};
// The 81 tile files, unfilled pieces first.
const std::vector<Tuile>& CatalogueTuiles();

} // namespace canalisor
