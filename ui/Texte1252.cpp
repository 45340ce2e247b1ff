#include "Texte1252.h"

#include <array>

#include <QList>

namespace canalisor::ui {

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

} // namespace

QString De1252(std::string_view octets) {
    QString texte;
    texte.reserve(static_cast<qsizetype>(octets.size()));
    for (const char o : octets) {
        const auto b = static_cast<unsigned char>(o);
        const char32_t c = b >= 0x80 && b < 0xA0 ? Haut[b - 0x80u] : char32_t{b};
        texte.append(QChar(static_cast<char16_t>(c)));
    }
    return texte;
}

std::string Vers1252(const QString& texte) {
    std::string octets;
    for (const char32_t c : texte.toUcs4())
        octets.push_back(Octet(c));
    return octets;
}

} // namespace canalisor::ui
