// The rules of the game as a player learns them from the rules window, written out once for
// the tests and the benchmark's scripted player. None of them asks the game for a rule it checks:
// a wrong table in the game then makes a test fail rather than agree.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Plateau.h"

namespace canalisor::test {

// The four sides of a cell, and the four moves out of it through them.
enum class Sens { Gauche, Droite, Haut, Bas };
inline constexpr std::array<Sens, 4> TousLesSens{Sens::Gauche, Sens::Droite, Sens::Haut, Sens::Bas};

inline const char* Nom(Sens s) {
    constexpr const char* noms[]{"left", "right", "top", "bottom"};
    return noms[static_cast<int>(s)];
}
inline Sens Oppose(Sens s) {
    constexpr Sens opposes[]{Sens::Droite, Sens::Gauche, Sens::Bas, Sens::Haut};
    return opposes[static_cast<int>(s)];
}
inline bool Horizontal(Sens s) {
    return s == Sens::Gauche || s == Sens::Droite;
}

// The board: 15 columns by 8 rows, cell = row x 15 + column.
inline constexpr int ColonnesDuPlateau = 15;
inline constexpr int LignesDuPlateau = 8;
inline constexpr int CasesDuPlateau = 120;
inline int LigneDe(int cellule) {
    return cellule / ColonnesDuPlateau;
}
inline int ColonneDe(int cellule) {
    return cellule % ColonnesDuPlateau;
}
// The neighbour through side s, or nothing past the board's edge (a row end included).
inline std::optional<int> CaseVers(int cellule, Sens s) {
    const int ligne = LigneDe(cellule);
    const int colonne = ColonneDe(cellule);
    if (s == Sens::Gauche && colonne > 0)
        return cellule - 1;
    if (s == Sens::Droite && colonne < ColonnesDuPlateau - 1)
        return cellule + 1;
    if (s == Sens::Haut && ligne > 0)
        return cellule - ColonnesDuPlateau;
    if (s == Sens::Bas && ligne < LignesDuPlateau - 1)
        return cellule + ColonnesDuPlateau;
    return std::nullopt;
}

// Every piece code: its name and the sides a liquid may pass through.
struct RegleDePiece {
    std::int16_t code;
    const char* nom;
    bool gauche = false;
    bool droite = false;
    bool haut = false;
    bool bas = false;
    bool tuyau = false; // laid by the player; the others are laid by the level and never move
};
inline constexpr std::array<RegleDePiece, 21> Pieces{{
    {.code = Vide, .nom = "Vide"},
    {.code = Obstacle, .nom = "Obstacle"},
    {.code = DroitH, .nom = "DroitH", .gauche = true, .droite = true, .tuyau = true},
    {.code = DroitV, .nom = "DroitV", .haut = true, .bas = true, .tuyau = true},
    {.code = CoudeDB, .nom = "CoudeDB", .droite = true, .bas = true, .tuyau = true},
    {.code = CoudeGB, .nom = "CoudeGB", .gauche = true, .bas = true, .tuyau = true},
    {.code = CoudeGH, .nom = "CoudeGH", .gauche = true, .haut = true, .tuyau = true},
    {.code = CoudeDH, .nom = "CoudeDH", .droite = true, .haut = true, .tuyau = true},
    {.code = Croix, .nom = "Croix", .gauche = true, .droite = true, .haut = true, .bas = true, .tuyau = true},
    {.code = DepartBleu, .nom = "DepartBleu", .droite = true},
    {.code = ArriveeBleu, .nom = "ArriveeBleu", .gauche = true},
    {.code = PorteBleu, .nom = "PorteBleu", .gauche = true, .droite = true},
    {.code = DepartRouge, .nom = "DepartRouge", .droite = true},
    {.code = ArriveeRouge, .nom = "ArriveeRouge", .gauche = true},
    {.code = PorteRouge, .nom = "PorteRouge", .gauche = true, .droite = true},
    {.code = DepartVert, .nom = "DepartVert", .droite = true},
    {.code = ArriveeVert, .nom = "ArriveeVert", .gauche = true},
    {.code = PorteVert, .nom = "PorteVert", .gauche = true, .droite = true},
    {.code = DepartJaune, .nom = "DepartJaune", .droite = true},
    {.code = ArriveeJaune, .nom = "ArriveeJaune", .gauche = true},
    {.code = PorteJaune, .nom = "PorteJaune", .gauche = true, .droite = true},
}};
inline const RegleDePiece& Piece(int code) {
    return Pieces.at(static_cast<std::size_t>(code));
}
inline const char* NomPiece(int code) {
    return code >= 0 && code < static_cast<int>(Pieces.size()) ? Piece(code).nom : "(no piece)";
}
inline bool Ouvert(int code, Sens s) {
    const RegleDePiece& p = Piece(code);
    constexpr std::array<bool RegleDePiece::*, 4> cotes{&RegleDePiece::gauche, &RegleDePiece::droite,
                                                        &RegleDePiece::haut, &RegleDePiece::bas};
    return p.*cotes[static_cast<std::size_t>(s)];
}
// The liquids, in the order they flow within a tick.
struct RegleDeLiquide {
    Couleur couleur;
    const char* nom;
    char lettre; // in picture names and fill states
    std::int16_t depart;
    std::int16_t arrivee;
    std::int16_t porte;
    int premierNiveau;
};
inline constexpr std::array<RegleDeLiquide, 4> Liquides{{
    {Couleur::Bleu, "blue", 'b', DepartBleu, ArriveeBleu, PorteBleu, 1},
    {Couleur::Rouge, "red", 'r', DepartRouge, ArriveeRouge, PorteRouge, 3},
    {Couleur::Vert, "green", 'v', DepartVert, ArriveeVert, PorteVert, 6},
    {Couleur::Jaune, "yellow", 'j', DepartJaune, ArriveeJaune, PorteJaune, 10},
}};
// The liquid that owns this departure, arrival or gate, if any.
inline const RegleDeLiquide* LiquideDe(int code) {
    for (const RegleDeLiquide& l : Liquides)
        if (code == l.depart || code == l.arrivee || code == l.porte)
            return &l;
    return nullptr;
}

// What each level lays, in laying order.
inline const std::array<std::vector<std::int16_t>, 15> PiecesDuNiveau{{
    /* 1 */ {DepartBleu, ArriveeBleu, Obstacle, Obstacle, Obstacle},
    /* 2 */ {DepartBleu, ArriveeBleu, PorteBleu, Obstacle, Obstacle, Obstacle, Obstacle},
    /* 3 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, Obstacle, Obstacle, Obstacle, Obstacle, Obstacle},
    /* 4 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, Obstacle, Obstacle, Obstacle, Obstacle,
     Obstacle, Obstacle},
    /* 5 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, PorteRouge, Obstacle, Obstacle, Obstacle,
     Obstacle, Obstacle, Obstacle, Obstacle},
    /* 6 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, Obstacle, Obstacle,
     Obstacle},
    /* 7 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, PorteBleu, Obstacle,
     Obstacle, Obstacle, Obstacle},
    /* 8 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, PorteBleu, PorteRouge,
     Obstacle, Obstacle, Obstacle, Obstacle, Obstacle},
    /* 9 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, PorteBleu, PorteRouge,
     PorteVert, Obstacle, Obstacle, Obstacle, Obstacle, Obstacle, Obstacle},
    /* 10 */
    {DepartBleu, ArriveeBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, DepartJaune, ArriveeJaune,
     Obstacle, Obstacle},
    /* 11 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, DepartVert, ArriveeVert, DepartJaune,
     ArriveeJaune, Obstacle, Obstacle},
    /* 12 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, PorteRouge, DepartVert, ArriveeVert,
     DepartJaune, ArriveeJaune, Obstacle, Obstacle},
    /* 13 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, PorteRouge, DepartVert, ArriveeVert,
     PorteVert, DepartJaune, ArriveeJaune, Obstacle, Obstacle},
    /* 14 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, PorteRouge, DepartVert, ArriveeVert,
     PorteVert, DepartJaune, ArriveeJaune, PorteJaune, Obstacle, Obstacle},
    /* 15 */
    {DepartBleu, ArriveeBleu, PorteBleu, DepartRouge, ArriveeRouge, PorteRouge, DepartVert, ArriveeVert,
     PorteVert, DepartJaune, ArriveeJaune, PorteJaune, Obstacle, Obstacle, Obstacle, Obstacle},
}};
// Whether the liquid must pass its gate on that level: the level lays the gate.
inline bool NiveauAPorte(int niveau, const RegleDeLiquide& l) {
    return std::ranges::count(PiecesDuNiveau.at(static_cast<std::size_t>(niveau - 1)), l.porte) > 0;
}

// The difficulty settings, as the rules window and the menu give them.
struct RegleDeDifficulte {
    int difficulte;
    const char* menu;
    int delai;   // seconds to the first flow step
    int cadence; // seconds between flow steps
    int pointsAuto;
    int pointsVannesOuvertes;
};
inline constexpr std::array<RegleDeDifficulte, 3> Difficultes{{
    {1, "Facile (1)", 80, 10, 1, 2},
    {2, "Moyen (2)", 60, 10, 1, 2},
    {3, "Difficile (3)", 40, 5, 1, 3},
}};

} // namespace canalisor::test
