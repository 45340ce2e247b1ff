// One flow step of a liquid on a board laid by hand.
#include "MondeScripte.h"

using namespace canalisor;

namespace {

constexpr int P = 52; // row 3, column 7: every neighbour is on the board

// A world whose board stays empty until the test lays what it needs.
struct Banc : test::Monde {
    explicit Banc(int niveau = 3) { jeu.Etat().Niveau = static_cast<std::int16_t>(niveau); }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, const char* fill = "") { C(i) = {std::int16_t(code), fill, "", true}; }
    Liquide& L(Couleur c = Couleur::Bleu) { return jeu.Etat()[c]; }
    // One flow step of c, its front put at p, come from `depuis`.
    void Pas(int p, int depuis, Couleur c = Couleur::Bleu) {
        L(c) = {std::int16_t(p), std::int16_t(depuis), 0, 0, L(c).Porte, true, false};
        jeu.Ecouler(c);
    }
};

} // namespace

TEST(Ecoulement, ChaquePieceParChaqueCoteVersChaqueCase) {
    constexpr int G = 0, D = 1, H = 2, B = 3, X = -1; // the sides left, right, top, bottom; X none
    const int pas[4]{-1, 1, -15, 15};                 // the neighbour on each side
    // The side each pipe 2..8 leads the liquid to, come in by the left, right, top, bottom (X: it
    // overflows), and the codes (0..20) that the cell ahead takes, moving out towards each side (none
    // towards X).
    const int sorties[7][4]{{D, G, X, X}, {X, X, B, H}, {X, B, X, D}, {B, X, X, G},
                            {H, X, G, X}, {X, H, D, X}, {D, G, B, H}};
    const std::string_view prend[5]{"", "  x x  xx  x", "  x  xx x xx", "   xxx  x", "   x  xxx"};
    // A piece at cell p, entered by side `de` (X: a departure) and left by side `vers`, towards a
    // cell holding each code 0..20 with that fill, and the codes it then takes. Every other
    // neighbour holds a cross, which would take the liquid from any side. First ways out that leave
    // the row or the board; out of a departure (9) or a gate (11), the liquid only enters a pipe; a
    // filled channel takes nothing. Then every pipe from every side.
    std::vector<std::tuple<int, int, int, int, const char*, std::string_view>> cas{
        {2, 14, G, X, "", ""},          {8, 15, D, X, "", ""},         {3, 112, H, X, "", ""},
        {8, 7, B, X, "", ""},           {9, P, X, D, "", "  x  xx x"}, {11, P, G, D, "", "  x  xx x"},
        {11, P, D, G, "", "  x x  xx"}, {2, P, G, D, "Hr", ""},        {2, P, G, D, "Vr", "        x"},
        {3, P, H, B, "Hb", "        x"}};
    for (int k = 0; k < 28; ++k)
        cas.push_back({k / 4 + 2, P, k % 4, sorties[k / 4][k % 4], "", prend[sorties[k / 4][k % 4] + 1]});
    for (auto [piece, p, de, vers, fill, codes] : cas)
        for (int code = Vide; code <= 20; ++code) {
            SCOPED_TRACE(testing::Message() << piece << " at " << p << " by " << de << ": " << code << fill);
            Banc banc;
            banc.Poser(p, piece);
            for (int s = G; s <= B; ++s) // but for the cells off the board
                if (p + pas[s] >= 0 && p + pas[s] < NombreCellules)
                    banc.Poser(p + pas[s], s == vers ? code : Croix, s == vers ? fill : "");
            const int avant = de == X ? p : p + pas[de];
            if (de != X)
                banc.Poser(avant, DroitH, "x");
            banc.Pas(p, avant);
            const bool suit = code < std::ssize(codes) && codes[code] == 'x';
            const std::string canal = piece != Croix ? "" : de < H ? "h" : "v"; // a cross fills one channel
            // The cell is scored even when the liquid overflows from it.
            EXPECT_EQ(std::tie(banc.L().Valide, banc.L().Position, banc.L().Precedent, banc.jeu.Etat().Score,
                               banc.C(p).Image),
                      std::make_tuple(suit, suit ? p + pas[vers] : p, suit ? p : avant, 1,
                                      std::to_string(piece) + canal + "b.bmp"));
        }
}

TEST(Ecoulement, CroisementsEtArriveesSurDeuxPas) {
    // Two flow steps into the piece at P (a cross or the blue arrival), each of a liquid coming from a
    // side (-1 left, 1 right, -15 top; 0: the liquid steps on from where it stands). Beside P lie
    // filled pipes, so a liquid going across a cross overflows; above and below, crosses; the blue
    // gate at 80 holds that fill. Then P's picture and fill, where each liquid flows on ('-'
    // overflowed, 'a' arrived), the score.
    using C = Couleur;
    const std::tuple<int, int, const char*, C, int, C, int, std::string> cas[]{
        {3, Croix, "", C::Rouge, -15, C::Bleu, -1, "8hbvr.bmp VrHb 67 - 2"},
        {3, Croix, "", C::Bleu, -1, C::Rouge, -15, "8hbvr.bmp HbVr - 67 2"},
        {3, Croix, "", C::Bleu, -15, C::Bleu, -1, "8b.bmp VbHb - - 2"},
        // Two liquids entering one channel in the same tick (blue flows first): both overflow.
        {3, Croix, "", C::Bleu, -1, C::Rouge, 1, "8hr.bmp Hr - - 2"},
        // An arrival counts only through its gate on the levels that have one; once arrived, a later
        // step neither scores nor moves.
        {4, 10, "", C::Bleu, -1, C::Bleu, 0, "10b.bmp x -a -a 1"},
        {4, 10, "x", C::Bleu, -1, C::Bleu, 0, "10b.bmp x 52a 52a 1"},
        {3, 10, "", C::Bleu, -1, C::Bleu, 0, "10b.bmp x 52a 52a 1"},
        {15, 10, "", C::Bleu, -1, C::Bleu, 0, "10b.bmp x -a -a 1"}};
    for (const auto& [niveau, piece, porte, premiere, depuis1, seconde, depuis2, attendu] : cas) {
        Banc banc(niveau);
        for (int i : {P - 15, P + 15})
            banc.Poser(i, Croix);
        banc.Poser(P, piece);
        banc.Poser(P - 1, DroitH, "x");
        banc.Poser(P + 1, DroitH, "x");
        banc.Poser(80, 11, porte);
        banc.L().Porte = 80;
        banc.Pas(P, P + depuis1, premiere);
        depuis2 ? banc.Pas(P, P + depuis2, seconde) : banc.jeu.Ecouler(seconde);
        std::string vu = banc.C(P).Image + " " + banc.C(P).Remplissage;
        for (C c : {premiere, seconde})
            vu += (banc.L(c).Valide ? " " + std::to_string(banc.L(c).Position) : " -") +
                  (banc.L(c).Arrive ? "a" : "");
        EXPECT_EQ(vu + " " + std::to_string(banc.jeu.Etat().Score), attendu);
    }
}
