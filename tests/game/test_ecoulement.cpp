// One flow step of a liquid on a board laid by hand.
#include <gtest/gtest.h>

#include <algorithm>

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
    Liquide& L(Couleur c) { return jeu.Etat()[c]; }
    // One flow step of c, its front put at p, come from `depuis`.
    void Pas(Couleur c, int p, int depuis) {
        L(c) = {
            static_cast<std::int16_t>(p), static_cast<std::int16_t>(depuis), 0, 0, L(c).Passage, true, false};
        jeu.Remplissage(c);
    }
};

} // namespace

TEST(Ecoulement, ChaqueTuyauParChaqueCoteDEntree) {
    // Pipe `code` at cell p entered from p + depuis: the liquid goes on to p + vers, or overflows
    // (vers 0). Every other neighbour holds a cross, which would take it from any side. First the
    // ways out that would leave the row or the board.
    std::vector<std::array<int, 4>> cas{{2, -1, 0, 14}, {8, 1, 0, 15}, {3, -15, 0, 112}, {8, 15, 0, 7}};
    // Then each pipe at P, with where it leads the liquid come from the left, right, top, bottom.
    const std::pair<int, std::array<int, 4>> sorties[]{
        {2, {1, -1, 0, 0}},   {3, {0, 0, 15, -15}}, {4, {0, 15, 0, 1}},   {5, {15, 0, 0, -1}},
        {6, {-15, 0, -1, 0}}, {7, {0, -15, 1, 0}},  {8, {1, -1, 15, -15}}};
    for (const auto& [code, vers] : sorties)
        for (std::size_t k = 0; k < 4; ++k)
            cas.push_back({code, std::array{-1, 1, -15, 15}[k], vers[k], P});
    for (auto [code, depuis, vers, p] : cas) {
        SCOPED_TRACE(testing::Message() << "piece " << code << " at " << p << " from " << p + depuis);
        Banc banc;
        banc.Poser(p, code);
        for (int d : {-1, 1, -15, 15})
            if (p + d >= 0 && p + d < NombreCellules)
                banc.Poser(p + d, d == depuis ? DroitH : Croix, d == depuis ? "x" : "");
        banc.Pas(Couleur::Bleu, p, p + depuis);
        const Liquide& l = banc.L(Couleur::Bleu);
        EXPECT_EQ(
            std::tie(l.Valide, l.Position, l.Precedent, banc.jeu.Etat().Score), // scored even if it overflows
            std::make_tuple(vers != 0, p + vers, vers ? p : p + depuis, 1));
        const std::string image = code != Croix ? std::to_string(code) + "b.bmp"
                                  : depuis % 15 ? "8hb.bmp"
                                                : "8vb.bmp";
        EXPECT_EQ(banc.C(p).Image, image);
    }
}

TEST(Ecoulement, CeQueLaCaseSuivanteAccepte) {
    // The blue front at P: a straight pipe (2, 3) entered so that it leaves towards P + sens, the
    // departure (9) or the gate (11). The cell ahead, filled with `fill`, takes the liquid when its
    // code is one of `prend`: leaving a departure or a gate, the liquid may only enter a pipe.
    const std::tuple<int, int, const char*, std::vector<int>> cas[]{{2, 1, "", {2, 5, 6, 8, 10, 11}},
                                                                    {2, -1, "", {2, 4, 7, 8, 11}},
                                                                    {3, 15, "", {3, 6, 7, 8}},
                                                                    {3, -15, "", {3, 4, 5, 8}},
                                                                    {9, 1, "", {2, 5, 6, 8}},
                                                                    {11, 1, "", {2, 5, 6, 8}},
                                                                    {11, -1, "", {2, 4, 7, 8}},
                                                                    {2, 1, "Hr", {}},
                                                                    {2, 1, "Vr", {Croix}},
                                                                    {3, 15, "Hb", {Croix}}};
    for (const auto& [front, sens, fill, prend] : cas)
        for (int code = Vide; code <= 20; ++code) {
            SCOPED_TRACE(testing::Message()
                         << "front " << front << " towards " << sens << ": " << code << fill);
            Banc banc;
            banc.Poser(P, front);
            banc.Poser(P + sens, code, fill);
            banc.Pas(Couleur::Bleu, P, front == 9 ? P : P - sens);
            const bool accepte = std::ranges::find(prend, code) != prend.end();
            const Liquide& l = banc.L(Couleur::Bleu);
            EXPECT_EQ(std::tie(l.Valide, l.Position), std::make_tuple(accepte, accepte ? P + sens : P));
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
        banc.Pas(premiere, P, travers ? P - 1 : P - 15);
        banc.Pas(seconde, P, travers ? P - 15 : P - 1);
        EXPECT_EQ(std::tie(banc.C(P).Image, banc.C(P).DataField), std::make_tuple(image, fill));
        EXPECT_TRUE(banc.L(premiere).Valide && banc.L(seconde).Valide);
        EXPECT_EQ(banc.L(seconde).Position, travers ? P + 15 : P + 1);
    }
    // Two liquids entering one channel in the same tick (blue flows first): each finds the other's
    // filled pipe ahead, and both overflow.
    Banc banc(3);
    banc.Poser(P, Croix);
    banc.Poser(P - 1, DroitH, "x");
    banc.Poser(P + 1, DroitH, "x");
    banc.Pas(Couleur::Bleu, P, P - 1);
    banc.Pas(Couleur::Rouge, P, P + 1);
    EXPECT_FALSE(banc.L(Couleur::Bleu).Valide || banc.L(Couleur::Rouge).Valide);
    EXPECT_EQ(std::tie(banc.C(P).Image, banc.C(P).DataField, banc.jeu.Etat().Score),
              std::make_tuple("8hr.bmp", "Hr", 2));
}

TEST(Ecoulement, LArriveeNeReussitQueParLaPorteSurLesNiveauxQuiEnOnt) {
    // Level, fill of the gate cell, whether the arrival counts.
    for (auto [niveau, porte, valide] :
         {std::tuple{4, "", false}, {4, "x", true}, {3, "", true}, {15, "", false}}) {
        SCOPED_TRACE(testing::Message() << "level " << niveau << ", gate '" << porte << "'");
        Banc banc(niveau);
        banc.Poser(P, 10);
        banc.Poser(80, 11, porte);
        banc.L(Couleur::Bleu).Passage = 80;
        banc.Pas(Couleur::Bleu, P, P - 1);
        const Liquide& l = banc.L(Couleur::Bleu);
        EXPECT_EQ(std::tie(l.Arrive, l.Valide, banc.C(P).Image), std::make_tuple(true, valide, "10b.bmp"));
        banc.jeu.Remplissage(Couleur::Bleu); // once arrived, later steps neither score nor move
        EXPECT_EQ(std::tie(banc.jeu.Etat().Score, l.Position), std::make_tuple(1, P));
    }
}
