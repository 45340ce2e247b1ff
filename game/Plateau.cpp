#include "Plateau.h"

#include <cmath>

#include "Traduction.h"

namespace canalisor {

namespace {

constexpr std::uint16_t Niveaux(std::initializer_list<int> niveaux) {
    std::uint16_t bits = 0;
    for (int n : niveaux)
        bits = static_cast<std::uint16_t>(bits | (1u << n));
    return bits;
}

constexpr std::array<DescriptionCouleur, 4> Descriptions{{
    {'b', DepartBleu, ArriveeBleu, PorteBleu, 1, Niveaux({2, 4, 5, 7, 8, 9, 11, 12, 13, 14, 15}),
     QT_TRANSLATE_NOOP("Accessibilite", "bleu")},
    {'r', DepartRouge, ArriveeRouge, PorteRouge, 3, Niveaux({5, 8, 9, 12, 13, 14, 15}),
     QT_TRANSLATE_NOOP("Accessibilite", "rouge")},
    {'v', DepartVert, ArriveeVert, PorteVert, 6, Niveaux({9, 13, 14, 15}),
     QT_TRANSLATE_NOOP("Accessibilite", "vert")},
    {'j', DepartJaune, ArriveeJaune, PorteJaune, 10, Niveaux({14, 15}),
     QT_TRANSLATE_NOOP("Accessibilite", "jaune")},
}};

} // namespace

const DescriptionCouleur& Description(Couleur c) {
    return Descriptions[static_cast<std::size_t>(c)];
}

bool EstActive(Couleur c, int niveau) {
    return niveau >= Description(c).NiveauMin;
}

bool APorte(Couleur c, int niveau) {
    return niveau >= 0 && niveau < 16 && (Description(c).NiveauxAvecPorte & (1u << niveau)) != 0;
}

std::optional<Couleur> CouleurDuCode(int code) {
    if (!EstPieceDeLiquide(code))
        return std::nullopt;
    return static_cast<Couleur>((code - DepartBleu) / 3);
}

std::uint8_t Ouvertures(int code) {
    switch (code) {
    case DroitH:
        return Gauche | Droite;
    case DroitV:
        return Haut | Bas;
    case CoudeDB:
        return Droite | Bas;
    case CoudeGB:
        return Gauche | Bas;
    case CoudeGH:
        return Gauche | Haut;
    case CoudeDH:
        return Droite | Haut;
    case Croix:
        return Gauche | Droite | Haut | Bas;
    default:
        break;
    }
    if (EstPieceDeLiquide(code)) {
        switch ((code - DepartBleu) % 3) {
        case 0:
            return Droite; // departure
        case 1:
            return Gauche; // arrival
        default:
            return Gauche | Droite; // gate
        }
    }
    return 0;
}

bool MemeLigne(int a, int b) {
    // Floor division, so that -1 lands on row -1 and not on row 0.
    return std::floor(a / 15.0) == std::floor(b / 15.0);
}

std::optional<int> Voisin(int i, Direction d) {
    switch (d) {
    case Direction::Droite:
        if (i + 1 <= NombreCellules - 1 && MemeLigne(i, i + 1))
            return i + 1;
        break;
    case Direction::Gauche:
        if (i - 1 >= 0 && MemeLigne(i, i - 1))
            return i - 1;
        break;
    case Direction::Bas:
        if (i + Colonnes <= NombreCellules - 1)
            return i + Colonnes;
        break;
    case Direction::Haut:
        if (i - Colonnes >= 0)
            return i - Colonnes;
        break;
    }
    return std::nullopt;
}

std::string NomImage(int code) {
    return std::to_string(code) + ".bmp";
}

std::string NomImageRemplie(int code, Couleur c) {
    return std::to_string(code) + Lettre(c) + ".bmp";
}

std::string NomImageCroix(std::optional<Couleur> horizontal, std::optional<Couleur> vertical) {
    if (horizontal && vertical && *horizontal == *vertical)
        return std::string("8") + Lettre(*horizontal) + ".bmp";
    std::string nom = "8";
    if (horizontal)
        nom += std::string("h") + Lettre(*horizontal);
    if (vertical)
        nom += std::string("v") + Lettre(*vertical);
    return nom + ".bmp";
}

const std::vector<Tuile>& CatalogueTuiles() {
    static const std::vector<Tuile> tuiles = [] {
        std::vector<Tuile> t;
        for (std::int16_t code = Vide; code <= PorteJaune; ++code)
            t.push_back({NomImage(code), code, {}, {}, {}});
        for (std::int16_t code = DroitH; code <= CoudeDH; ++code)
            for (Couleur c : Couleurs)
                t.push_back({NomImageRemplie(code, c), code, c, {}, {}});
        for (Couleur c : Couleurs)
            for (std::int16_t code : {Description(c).Depart, Description(c).Arrivee, Description(c).Porte})
                t.push_back({NomImageRemplie(code, c), code, c, {}, {}});
        for (Couleur c : Couleurs) {
            t.push_back({NomImageCroix(c, c), Croix, {}, c, c});
            t.push_back({NomImageCroix(c, {}), Croix, {}, c, {}});
            t.push_back({NomImageCroix({}, c), Croix, {}, {}, c});
        }
        for (Couleur h : Couleurs)
            for (Couleur v : Couleurs)
                if (h != v)
                    t.push_back({NomImageCroix(h, v), Croix, {}, h, v});
        return t;
    }();
    return tuiles;
}

} // namespace canalisor
