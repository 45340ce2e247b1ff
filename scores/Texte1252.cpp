#include "Texte1252.h"

#include <array>
#include <utility>

namespace canalisor {

namespace {

// Bytes 0x80 to 0x9F; the others are the same as in Latin-1.
constexpr std::array<char32_t, 32> Haut{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char Octet(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (std::size_t i = 0; i < Haut.size(); ++i)
        if (Haut[i] == c)
            return static_cast<char>(0x80 + i);
    return '?';
}

void AjouterUtf8(std::string& texte, char32_t c) {
    const auto octet = [&texte](char32_t bits) { texte.push_back(static_cast<char>(bits)); };
    if (c < 0x80) {
        octet(c);
    } else if (c < 0x800) {
        octet(0xC0 | c >> 6);
        octet(0x80 | (c & 0x3F));
    } else {
        // Every character of the table lies below U+10000.
        octet(0xE0 | c >> 12);
        octet(0x80 | (c >> 6 & 0x3F));
        octet(0x80 | (c & 0x3F));
    }
}

// The character that `texte` starts with and the bytes it takes. A malformed sequence gives
// U+FFFD for its first byte, so that a stray byte costs one character and nothing after it.
std::pair<char32_t, std::size_t> PremierCaractere(std::string_view texte) {
    constexpr std::pair<char32_t, std::size_t> remplacement{0xFFFD, 1};
    const auto octet = [&texte](std::size_t i) { return static_cast<unsigned char>(texte[i]); };
    const unsigned char tete = octet(0);
    if (tete < 0x80)
        return {tete, 1};
    const std::size_t longueur = tete >= 0xF0 ? 4 : tete >= 0xE0 ? 3 : tete >= 0xC0 ? 2 : 0;
    if (longueur == 0 || texte.size() < longueur)
        return remplacement;
    char32_t c = tete & (0x7Fu >> longueur);
    for (std::size_t i = 1; i < longueur; ++i) {
        if ((octet(i) & 0xC0) != 0x80)
            return remplacement;
        c = c << 6 | (octet(i) & 0x3Fu);
    }
    // The shortest form only, and no surrogate halves or values past Unicode's last.
    constexpr std::array<char32_t, 5> minimum{0, 0, 0x80, 0x800, 0x10000};
    if (c < minimum[longueur] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)
        return remplacement;
    return {c, longueur};
}

} // namespace

std::string De1252(std::string_view octets) {
    std::string texte;
    texte.reserve(octets.size());
    for (const char o : octets) {
        const auto b = static_cast<unsigned char>(o);
        AjouterUtf8(texte, b >= 0x80 && b < 0xA0 ? Haut[b - 0x80u] : char32_t{b});
    }
    return texte;
}

std::string Vers1252(std::string_view texte) {
    std::string octets;
    octets.reserve(texte.size());
    while (!texte.empty()) {
        const auto [c, longueur] = PremierCaractere(texte);
        octets.push_back(Octet(c));
        texte.remove_prefix(longueur);
    }
    return octets;
}

} // namespace canalisor
