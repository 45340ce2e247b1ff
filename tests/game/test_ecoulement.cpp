#include <gtest/gtest.h>

#include "MondeScripte.h"

using namespace canalisor;
using canalisor::test::Monde;

namespace {

constexpr int P = 52; // row 3, column 7: every neighbour is on the board

// A world whose board is cleared by hand, so each test lays exactly what it needs.
struct Banc : Monde {
    explicit Banc(int niveau = 1) {
        jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
        for (Cellule& c : jeu.Cellules())
            c = Cellule{Vide, "", "0.bmp", true};
    }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, const char* fill = "") {
        C(i) = {static_cast<std::int16_t>(code), fill, "", true};
    }
    Liquide& L(Couleur c) { return jeu.Etat()[c]; }
    void Front(Couleur c, int p, int depuis) {
        L(c) = {
            static_cast<std::int16_t>(p), static_cast<std::int16_t>(depuis), 0, 0, L(c).Passage, true, false};
    }
};

} // namespace

TEST(Ecoulement, EveryPipeAgainstEveryEntrySide) {
    // Pipe `code` at cell p entered from p + depuis: the liquid goes on to p + vers, or overflows
    // (vers 0). Every other neighbour holds a cross, which would take it from any side.
    const std::array<int, 4> cas[]{{2, -1, 1, P},
                                   {2, 1, -1, P},
                                   {2, -15, 0, P},
                                   {2, 15, 0, P},
                                   {3, -15, 15, P},
                                   {3, 15, -15, P},
                                   {3, -1, 0, P},
                                   {3, 1, 0, P},
                                   {4, 15, 1, P},
                                   {4, 1, 15, P},
                                   {4, -1, 0, P},
                                   {4, -15, 0, P},
                                   {5, -1, 15, P},
                                   {5, 15, -1, P},
                                   {5, 1, 0, P},
                                   {5, -15, 0, P},
                                   {6, -1, -15, P},
                                   {6, -15, -1, P},
                                   {6, 1, 0, P},
                                   {6, 15, 0, P},
                                   {7, -15, 1, P},
                                   {7, 1, -15, P},
                                   {7, -1, 0, P},
                                   {7, 15, 0, P},
                                   {8, -1, 1, P},
                                   {8, 1, -1, P},
                                   {8, -15, 15, P},
                                   {8, 15, -15, P},
                                   // The way out would leave the row or the board.
                                   {2, -1, 0, 14},
                                   {8, 1, 0, 15},
                                   {4, -15, 0, 29},
                                   {3, -15, 0, 112},
                                   {8, 15, 0, 7},
                                   {6, 15, 0, 97}};
    for (auto [code, depuis, vers, p] : cas) {
        SCOPED_TRACE(testing::Message() << "piece " << code << " at " << p << " from " << p + depuis);
        Banc banc;
        banc.Poser(p, code);
        for (int d : {-1, 1, -15, 15})
            if (p + d >= 0 && p + d < NombreCellules)
                banc.Poser(p + d, d == depuis ? DroitH : Croix, d == depuis ? "x" : "");
        banc.Front(Couleur::Bleu, p, p + depuis);
        banc.jeu.Remplissage(Couleur::Bleu);
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

TEST(Ecoulement, WhatTheCellAheadAccepts) {
    // The blue front at P: a straight pipe (2, 3) entered so that it leaves towards P + sens, the
    // departure (9) or the gate (11). The cell ahead holds `tag` (0 empty, 1 obstacle, 2..8 pipes,
    // 9..11 blue departure, arrival, gate, 13 the red arrival) filled with `fill`.
    const std::tuple<int, int, int, const char*, bool> cas[]{
        {2, 1, 0, "", false},
        {2, 1, 1, "", false},
        {2, 1, 2, "", true},
        {2, 1, 3, "", false},
        {2, 1, 4, "", false},
        {2, 1, 5, "", true},
        {2, 1, 6, "", true},
        {2, 1, 7, "", false},
        {2, 1, 2, "x", false},
        {2, 1, 8, "Vr", true},
        {2, 1, 8, "Hr", false},
        {2, 1, 10, "", true},
        {2, 1, 10, "x", false},
        {2, 1, 13, "", false},
        {2, 1, 11, "", true},
        {2, 1, 9, "", false},
        {2, -1, 11, "", true},
        {2, -1, 10, "", false},
        {2, -1, 4, "", true},
        {2, -1, 7, "", true},
        {2, -1, 5, "", false},
        {3, 15, 3, "", true},
        {3, 15, 6, "", true},
        {3, 15, 7, "", true},
        {3, 15, 5, "", false},
        {3, 15, 8, "Vb", false},
        {3, 15, 8, "Hb", true},
        {3, 15, 10, "", false},
        {3, -15, 4, "", true},
        {3, -15, 5, "", true},
        {3, -15, 7, "", false},
        {3, -15, 11, "", false},
        // Leaving a departure or a gate, the liquid may only enter a pipe.
        {9, 1, 2, "", true},
        {9, 1, 8, "", true},
        {9, 1, 10, "", false},
        {9, 1, 11, "", false},
        {11, 1, 2, "", true},
        {11, 1, 10, "", false},
        {11, 1, 11, "", false},
        {11, -1, 7, "", true}};
    for (auto [front, sens, tag, fill, accepte] : cas) {
        SCOPED_TRACE(testing::Message()
                     << "front " << front << " towards " << sens << ": " << tag << " " << fill);
        Banc banc;
        banc.Poser(P, front);
        banc.Poser(P + sens, tag, fill);
        banc.Front(Couleur::Bleu, P, front == 9 ? P : P - sens);
        banc.jeu.Remplissage(Couleur::Bleu);
        const Liquide& l = banc.L(Couleur::Bleu);
        EXPECT_EQ(std::tie(banc.C(P).Image, l.Valide, l.Position),
                  std::make_tuple(std::to_string(front) + "b.bmp", accepte, accepte ? P + sens : P));
    }
}

TEST(Ecoulement, CrossesFillTwoChannelsInEitherOrderAndCollideInOne) {
    // First liquid, second liquid, whether the first runs across, then the cross's picture and fill.
    using C = Couleur;
    const std::tuple<C, C, bool, const char*, const char*> cas[]{
        {C::Rouge, C::Bleu, false, "8hbvr.bmp", "VrHb"},
        {C::Bleu, C::Rouge, true, "8hbvr.bmp", "HbVr"},
        {C::Bleu, C::Bleu, false, "8b.bmp", "VbHb"},
        {C::Jaune, C::Vert, true, "8hjvv.bmp", "HjVv"}};
    for (auto [premiere, seconde, travers, image, fill] : cas) {
        SCOPED_TRACE(fill);
        Banc banc(10);
        for (int i : {P, P - 1, P + 1, P - 15, P + 15})
            banc.Poser(i, Croix);
        banc.Front(premiere, P, travers ? P - 1 : P - 15);
        banc.jeu.Remplissage(premiere);
        banc.Front(seconde, P, travers ? P - 15 : P - 1);
        banc.jeu.Remplissage(seconde);
        EXPECT_EQ(std::tie(banc.C(P).Image, banc.C(P).DataField), std::make_tuple(image, fill));
        EXPECT_TRUE(banc.L(premiere).Valide && banc.L(seconde).Valide);
        EXPECT_EQ(banc.L(seconde).Position, travers ? P + 15 : P + 1);
    }
    // Two liquids entering one channel in the same tick: the second finds it taken, and the
    // first finds the second's filled pipe ahead. Both overflow.
    Banc banc(3);
    banc.Poser(P, Croix);
    banc.Poser(P - 1, DroitH, "x");
    banc.Poser(P + 1, DroitH, "x");
    banc.Front(Couleur::Bleu, P, P - 1);
    banc.Front(Couleur::Rouge, P, P + 1);
    banc.jeu.Remplissage();
    EXPECT_FALSE(banc.L(Couleur::Bleu).Valide || banc.L(Couleur::Rouge).Valide);
    EXPECT_EQ(std::tie(banc.C(P).Image, banc.C(P).DataField, banc.jeu.Etat().Score),
              std::make_tuple("8hr.bmp", "Hr", 2));
}

TEST(Ecoulement, ArrivalSucceedsOnlyThroughTheGateOnLevelsThatHaveOne) {
    // Level, fill of the gate cell, whether the arrival counts.
    for (auto [niveau, porte, valide] :
         {std::tuple{4, "", false}, {4, "x", true}, {3, "", true}, {15, "", false}}) {
        SCOPED_TRACE(testing::Message() << "level " << niveau << ", gate '" << porte << "'");
        Banc banc(niveau);
        banc.Poser(P, 10);
        banc.Poser(80, 11, porte);
        banc.L(Couleur::Bleu).Passage = 80;
        banc.Front(Couleur::Bleu, P, P - 1);
        banc.jeu.Remplissage(Couleur::Bleu);
        const Liquide& l = banc.L(Couleur::Bleu);
        EXPECT_EQ(std::tie(l.Arrive, l.Valide, banc.C(P).Image), std::make_tuple(true, valide, "10b.bmp"));
        banc.jeu.Remplissage(Couleur::Bleu); // once arrived, later steps neither score nor move
        EXPECT_EQ(std::tie(banc.jeu.Etat().Score, l.Position), std::make_tuple(1, P));
    }
}
