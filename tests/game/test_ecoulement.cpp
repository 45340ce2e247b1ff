// One flow step of a liquid on a board laid by hand.
#include <gtest/gtest.h>

#include <string_view>

#include "MondeScripte.h"

using namespace canalisor;

namespace {

constexpr int P = 52; // row 3, column 7: every neighbour is on the board

// A world whose board stays empty until the test lays what it needs.
struct Banc : test::Monde {
    explicit Banc(int niveau = 1) { jeu.Etat().Niveau = static_cast<std::int16_t>(niveau); }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, const char* fill = "") {
        C(i) = {static_cast<std::int16_t>(code), fill, "", true};
    }
    Liquide& L(Couleur c = Couleur::Bleu) { return jeu.Etat()[c]; }
    // One flow step of c, its front put at p, come from `depuis`.
    void Pas(int p, int depuis, Couleur c = Couleur::Bleu) {
        L(c) = {
            static_cast<std::int16_t>(p), static_cast<std::int16_t>(depuis), 0, 0, L(c).Passage, true, false};
        jeu.Remplissage(c);
    }
};

} // namespace

TEST(Ecoulement, ChaqueTuyauParChaqueCoteDEntree) {
    // Pipe `code` at cell p entered from p + depuis: the liquid goes on to p + vers, or overflows
    // (vers 0). Every other neighbour holds a cross, which would take it from any side. First the
    // ways out that would leave the row or the board; then each pipe 2..8 at P, with where it leads
    // the liquid come from the left, right, top, bottom.
    std::vector<std::array<int, 4>> cas{{2, -1, 0, 14}, {8, 1, 0, 15}, {3, -15, 0, 112}, {8, 15, 0, 7}};
    const int sorties[7][4]{{1, -1, 0, 0},   {0, 0, 15, -15}, {0, 15, 0, 1},   {15, 0, 0, -1},
                            {-15, 0, -1, 0}, {0, -15, 1, 0},  {1, -1, 15, -15}};
    for (int code = 2; code <= 8; ++code)
        for (int k = 0; k < 4; ++k)
            cas.push_back(
                {code, std::array{-1, 1, -15, 15}[static_cast<std::size_t>(k)], sorties[code - 2][k], P});
    for (auto [code, depuis, vers, p] : cas) {
        SCOPED_TRACE(testing::Message() << "piece " << code << " at " << p << " from " << p + depuis);
        Banc banc;
        banc.Poser(p, code);
        for (int d : {-1, 1, -15, 15})
            if (p + d >= 0 && p + d < NombreCellules)
                banc.Poser(p + d, d == depuis ? DroitH : Croix, d == depuis ? "x" : "");
        banc.Pas(p, p + depuis);
        const Liquide& l = banc.L();
        const std::string image = code != Croix ? std::to_string(code) + "b.bmp"
                                  : depuis % 15 ? "8hb.bmp"
                                                : "8vb.bmp";
        // The cell is scored even when the liquid overflows from it.
        EXPECT_EQ(std::tie(l.Valide, l.Position, l.Precedent, banc.jeu.Etat().Score, banc.C(p).Image),
                  std::make_tuple(vers != 0, p + vers, vers ? p : p + depuis, 1, image));
    }
}

TEST(Ecoulement, CeQueLaCaseSuivanteAccepte) {
    // The blue front at P: a straight pipe (2, 3) entered so that it leaves towards P + sens, the
    // departure (9) or the gate (11). The cell ahead, filled with `fill`, takes the liquid when its
    // code (0..20) is marked in `prend`: leaving a departure or a gate, the liquid may only enter a pipe.
    const std::tuple<int, int, const char*, std::string_view> cas[]{
        {2, 1, "", "  x  xx x xx"}, {2, -1, "", "  x x  xx  x"},
        {3, 15, "", "   x  xxx"},   {3, -15, "", "   xxx  x"},
        {9, 1, "", "  x  xx x"},    {11, 1, "", "  x  xx x"},
        {11, -1, "", "  x x  xx"},  {2, 1, "Hr", ""},
        {2, 1, "Vr", "        x"},  {3, 15, "Hb", "        x"}};
    for (const auto& [front, sens, fill, prend] : cas)
        for (int code = Vide; code <= 20; ++code) {
            SCOPED_TRACE(testing::Message()
                         << "front " << front << " towards " << sens << ": " << code << fill);
            Banc banc;
            banc.Poser(P, front);
            banc.Poser(P + sens, code, fill);
            banc.Pas(P, front == 9 ? P : P - sens);
            const bool accepte =
                static_cast<std::size_t>(code) < prend.size() && prend[static_cast<std::size_t>(code)] == 'x';
            EXPECT_EQ(std::tie(banc.L().Valide, banc.L().Position),
                      std::make_tuple(accepte, accepte ? P + sens : P));
        }
}

TEST(Ecoulement, LesCroisementsRemplissentDeuxCanauxDansLesDeuxOrdres) {
    // First liquid, second liquid, whether the first runs across, then the cross's picture and fill.
    using C = Couleur;
    const std::tuple<C, C, bool, const char*, const char*> cas[]{
        {C::Rouge, C::Bleu, false, "8hbvr.bmp", "VrHb"},
        {C::Bleu, C::Rouge, true, "8hbvr.bmp", "HbVr"},
        {C::Bleu, C::Bleu, false, "8b.bmp", "VbHb"}};
    for (auto [premiere, seconde, travers, image, fill] : cas) {
        SCOPED_TRACE(fill);
        Banc banc(10);
        for (int i : {P, P - 1, P + 1, P - 15, P + 15})
            banc.Poser(i, Croix);
        banc.Pas(P, travers ? P - 1 : P - 15, premiere);
        banc.Pas(P, travers ? P - 15 : P - 1, seconde);
        EXPECT_EQ(std::tie(banc.C(P).Image, banc.C(P).DataField, banc.L(premiere).Valide,
                           banc.L(seconde).Valide, banc.L(seconde).Position),
                  std::make_tuple(image, fill, true, true, travers ? P + 15 : P + 1));
    }
    // Two liquids entering one channel in the same tick (blue flows first): each finds the other's
    // filled pipe ahead, and both overflow.
    Banc banc(3);
    banc.Poser(P, Croix);
    banc.Poser(P - 1, DroitH, "x");
    banc.Poser(P + 1, DroitH, "x");
    banc.Pas(P, P - 1);
    banc.Pas(P, P + 1, Couleur::Rouge);
    EXPECT_EQ(std::tie(banc.L().Valide, banc.L(Couleur::Rouge).Valide, banc.C(P).Image, banc.C(P).DataField,
                       banc.jeu.Etat().Score),
              std::make_tuple(false, false, "8hr.bmp", "Hr", 2));
}

TEST(Ecoulement, LArriveeNeReussitQueParLaPorteSurLesNiveauxQuiEnOnt) {
    // Level, fill of the gate cell, whether the arrival counts; once arrived, a later step neither
    // scores nor moves.
    for (auto [niveau, porte, valide] :
         {std::tuple{4, "", false}, {4, "x", true}, {3, "", true}, {15, "", false}}) {
        SCOPED_TRACE(testing::Message() << "level " << niveau << ", gate '" << porte << "'");
        Banc banc(niveau);
        banc.Poser(P, 10);
        banc.Poser(80, 11, porte);
        banc.L().Passage = 80;
        banc.Pas(P, P - 1);
        banc.jeu.Remplissage(Couleur::Bleu);
        EXPECT_EQ(std::tie(banc.L().Arrive, banc.L().Valide, banc.C(P).Image, banc.jeu.Etat().Score,
                           banc.L().Position),
                  std::make_tuple(true, valide, "10b.bmp", 1, P));
    }
}
