#include <gtest/gtest.h>

#include "MondeScripte.h"

using namespace canalisor;
using canalisor::test::Monde;

namespace {

constexpr int P = 52;  // row 3, column 7: every neighbour is on the board

// A world whose board is cleared by hand, so each test lays exactly what it needs.
struct Banc : Monde {
    explicit Banc(int niveau = 1) {
        jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
        for (Cellule& c : jeu.Cellules())
            c = Cellule{Vide, "", "0.bmp", true};
    }
    Cellule& C(int i) { return jeu.Cellules()[static_cast<std::size_t>(i)]; }
    void Poser(int i, int code, std::string fill = "") {
        C(i).Tag = static_cast<std::int16_t>(code);
        C(i).DataField = std::move(fill);
    }
    Liquide& L(Couleur c) { return jeu.Etat()[c]; }
    void Front(Couleur c, int position, int precedent) {
        L(c).Position = static_cast<std::int16_t>(position);
        L(c).Precedent = static_cast<std::int16_t>(precedent);
        L(c).Valide = true;
        L(c).Arrive = false;
    }
};

}  // namespace

TEST(Ecoulement, EveryPipeAgainstEveryEntrySide) {
    // Entering from the cell at `depuis`, the liquid leaves towards `vers` (0: it overflows).
    struct Cas {
        int code, depuis, vers;
    };
    const int g = P - 1, d = P + 1, h = P - 15, b = P + 15;
    const std::vector<Cas> cas{
        {2, g, d}, {2, d, g}, {2, h, 0}, {2, b, 0}, {3, h, b}, {3, b, h}, {3, g, 0}, {3, d, 0},
        {4, b, d}, {4, d, b}, {4, g, 0}, {4, h, 0}, {5, g, b}, {5, b, g}, {5, d, 0}, {5, h, 0},
        {6, g, h}, {6, h, g}, {6, d, 0}, {6, b, 0}, {7, h, d}, {7, d, h}, {7, g, 0}, {7, b, 0},
        {8, g, d}, {8, d, g}, {8, h, b}, {8, b, h},
    };
    for (const Cas& c : cas) {
        Banc banc;
        banc.Poser(P, c.code);
        for (int voisin : {g, d, h, b})
            if (voisin != c.depuis)
                banc.Poser(voisin, Croix);  // a cross takes the liquid from any side
        banc.Poser(c.depuis, DroitH, "x");
        banc.Front(Couleur::Bleu, P, c.depuis);
        banc.jeu.Remplissage(Couleur::Bleu);
        const Liquide& l = banc.L(Couleur::Bleu);
        SCOPED_TRACE("piece " + std::to_string(c.code) + " from " + std::to_string(c.depuis));
        EXPECT_EQ(banc.jeu.Etat().Score, 1);  // filled and scored even when it overflows
        EXPECT_NE(banc.C(P).DataField, "");
        EXPECT_EQ(l.Valide, c.vers != 0);
        EXPECT_EQ(l.Position, c.vers ? c.vers : P);
        EXPECT_EQ(l.Precedent, c.vers ? P : c.depuis);
        if (c.code != Croix) {
            EXPECT_EQ(banc.C(P).Image, std::to_string(c.code) + "b.bmp");
        }
    }
}

TEST(Ecoulement, WhatTheCellAheadAccepts) {
    struct Cas {
        const char* quoi;
        int code;       // piece at the front: 2 entered from the left, 3 from the top, 9 departure, 11 gate
        int precedent;  // where the front was entered from
        int suivant;    // the cell ahead
        int tag;
        const char* fill;
        bool accepte;
    };
    const int d = P + 1, dessous = P + 15;
    const std::vector<Cas> cas{
        {"empty cell", 2, P - 1, d, Vide, "", false},
        {"obstacle", 2, P - 1, d, Obstacle, "", false},
        {"pipe open to the left", 2, P - 1, d, CoudeGB, "", true},
        {"elbow left-top", 2, P - 1, d, CoudeGH, "", true},
        {"elbow right-bottom", 2, P - 1, d, CoudeDB, "", false},
        {"vertical pipe", 2, P - 1, d, DroitV, "", false},
        {"filled straight", 2, P - 1, d, DroitH, "x", false},
        {"cross with its vertical channel taken", 2, P - 1, d, Croix, "Vr", true},
        {"cross with its horizontal channel taken", 2, P - 1, d, Croix, "Hr", false},
        {"own arrival from the left", 2, P - 1, d, 10, "", true},
        {"another colour's arrival", 2, P - 1, d, 13, "", false},
        {"own gate", 2, P - 1, d, 11, "", true},
        {"own departure", 2, P - 1, d, 9, "", false},
        {"down into an elbow left-top", 3, P - 15, dessous, CoudeGH, "", true},
        {"down into a cross with a vertical liquid", 3, P - 15, dessous, Croix, "Vb", false},
        {"down into a cross with a horizontal liquid", 3, P - 15, dessous, Croix, "Hb", true},
        {"down into the own arrival", 3, P - 15, dessous, 10, "", false},
        {"from the departure into the arrival", 9, P, d, 10, "", false},
        {"from the departure into the gate", 9, P, d, 11, "", false},
        {"from the departure into a cross", 9, P, d, Croix, "", true},
        {"from the gate into its arrival", 11, P - 1, d, 10, "", false},
        {"from the gate into a pipe", 11, P - 1, d, DroitH, "", true},
        {"into the gate from the right", 2, P + 1, P - 1, 11, "", true},
    };
    for (const Cas& c : cas) {
        Banc banc(2);
        banc.Poser(P, c.code);
        banc.Poser(c.suivant, c.tag, c.fill);
        banc.L(Couleur::Bleu).Passage = 0;
        banc.Front(Couleur::Bleu, P, c.precedent);
        banc.jeu.Remplissage(Couleur::Bleu);
        EXPECT_EQ(banc.L(Couleur::Bleu).Valide, c.accepte) << c.quoi;
        EXPECT_EQ(banc.L(Couleur::Bleu).Position, c.accepte ? c.suivant : P) << c.quoi;
    }
}

TEST(Ecoulement, ExitsNeverLeaveTheRowOrTheBoard) {
    Banc banc;
    banc.Poser(14, DroitH);
    banc.Poser(15, DroitH);  // first cell of the next row: never reached from 14
    banc.Front(Couleur::Bleu, 14, 13);
    banc.jeu.Remplissage(Couleur::Bleu);
    EXPECT_FALSE(banc.L(Couleur::Bleu).Valide);

    Banc bas;
    bas.Poser(112, DroitV);
    bas.Front(Couleur::Bleu, 112, 97);
    bas.jeu.Remplissage(Couleur::Bleu);
    EXPECT_FALSE(bas.L(Couleur::Bleu).Valide);
}

TEST(Ecoulement, CrossesKeepTwoIndependentChannelsInEitherOrder) {
    struct Cas {
        Couleur premiere, seconde;
        bool premiereHorizontale;
        const char* fill;
        const char* image;
    };
    for (const Cas& c : {Cas{Couleur::Rouge, Couleur::Bleu, false, "VrHb", "8hbvr.bmp"},
                         Cas{Couleur::Bleu, Couleur::Rouge, true, "HbVr", "8hbvr.bmp"},
                         Cas{Couleur::Bleu, Couleur::Bleu, false, "VbHb", "8b.bmp"},
                         Cas{Couleur::Jaune, Couleur::Vert, true, "HjVv", "8hjvv.bmp"},
                         Cas{Couleur::Rouge, Couleur::Vert, true, "HrVv", "8hrvv.bmp"}}) {
        Banc banc(10);
        banc.Poser(P, Croix);
        for (int voisin : {P - 1, P + 1, P - 15, P + 15})
            banc.Poser(voisin, Croix);
        const int depuisPremiere = c.premiereHorizontale ? P - 1 : P - 15;
        const int depuisSeconde = c.premiereHorizontale ? P - 15 : P - 1;
        banc.Front(c.premiere, P, depuisPremiere);
        banc.jeu.Remplissage(c.premiere);
        EXPECT_EQ(banc.C(P).Image,
                  NomImageCroix(c.premiereHorizontale ? std::optional(c.premiere) : std::nullopt,
                                c.premiereHorizontale ? std::nullopt : std::optional(c.premiere)));
        // Half-filled: the player can no longer replace it.
        banc.jeu.Etat().Tuyau1 = DroitH;
        banc.jeu.Grille_Click(P);
        EXPECT_EQ(banc.C(P).Tag, Croix);
        banc.Front(c.seconde, P, depuisSeconde);
        banc.jeu.Remplissage(c.seconde);
        EXPECT_EQ(banc.C(P).DataField, c.fill);
        EXPECT_EQ(banc.C(P).Image, c.image);
        EXPECT_TRUE(banc.L(c.seconde).Valide);
        EXPECT_EQ(banc.L(c.seconde).Position, c.premiereHorizontale ? P + 15 : P + 1);
    }
}

TEST(Ecoulement, TwoLiquidsEnteringOneChannelInTheSameTickBothOverflow) {
    Banc banc(3);
    banc.Poser(P, Croix);
    banc.Poser(P - 1, DroitH, "x");
    banc.Poser(P + 1, DroitH, "x");
    banc.Front(Couleur::Bleu, P, P - 1);
    banc.Front(Couleur::Rouge, P, P + 1);
    banc.jeu.Remplissage();
    EXPECT_FALSE(banc.L(Couleur::Bleu).Valide);
    EXPECT_FALSE(banc.L(Couleur::Rouge).Valide);
    EXPECT_EQ(banc.C(P).DataField, "Hr");
    EXPECT_EQ(banc.C(P).Image, "8hr.bmp");
    EXPECT_EQ(banc.jeu.Etat().Score, 2);
}

TEST(Ecoulement, ArrivalSucceedsOnlyThroughTheGateOnLevelsThatHaveOne) {
    struct Cas {
        int niveau;
        const char* porte;  // fill state of the gate cell
        bool valide;
    };
    for (const Cas& c : {Cas{4, "", false}, Cas{4, "x", true}, Cas{3, "", true}, Cas{15, "", false}}) {
        Banc banc(c.niveau);
        banc.Poser(P, 10);
        banc.Poser(P - 1, DroitH, "x");
        banc.Poser(80, 11, c.porte);
        banc.L(Couleur::Bleu).Passage = 80;
        banc.Front(Couleur::Bleu, P, P - 1);
        banc.jeu.Remplissage(Couleur::Bleu);
        const Liquide& l = banc.L(Couleur::Bleu);
        SCOPED_TRACE("level " + std::to_string(c.niveau));
        EXPECT_TRUE(l.Arrive);
        EXPECT_EQ(l.Valide, c.valide);
        EXPECT_EQ(banc.C(P).Image, "10b.bmp");
        EXPECT_EQ(banc.jeu.Etat().Score, 1);
        // Once arrived, later steps neither score nor move.
        banc.jeu.Remplissage(Couleur::Bleu);
        EXPECT_EQ(banc.jeu.Etat().Score, 1);
        EXPECT_EQ(l.Position, P);
    }
}

TEST(Ecoulement, DepartureAndGateFillWithTheirOwnColour) {
    Banc banc(15);
    banc.Poser(P, 18);  // yellow departure
    banc.Poser(P + 1, CoudeGB);
    banc.Front(Couleur::Jaune, P, P);
    banc.jeu.Etat().VannesMax = true;
    banc.jeu.Etat().PointsMax = 3;
    banc.jeu.Remplissage(Couleur::Jaune);
    EXPECT_EQ(banc.C(P).Image, "18j.bmp");
    EXPECT_EQ(banc.C(P).DataField, "x");
    EXPECT_EQ(banc.jeu.Etat().Score, 3);
    EXPECT_EQ(banc.L(Couleur::Jaune).Position, P + 1);
    EXPECT_EQ(banc.L(Couleur::Jaune).Precedent, P);

    banc.Poser(P + 16, 20);  // its gate, entered from the left
    banc.Poser(P + 17, DroitH);
    banc.Front(Couleur::Jaune, P + 16, P + 15);
    banc.jeu.Remplissage(Couleur::Jaune);
    EXPECT_EQ(banc.C(P + 16).Image, "20j.bmp");
    EXPECT_EQ(banc.L(Couleur::Jaune).Position, P + 17);
}

TEST(Ecoulement, APipeReplacedAtTheFrontStillFillsThenOverflows) {
    Banc banc;
    banc.Poser(P, DroitV);  // the player swapped the straight for a vertical one
    banc.Poser(P + 1, DroitH);
    banc.Front(Couleur::Bleu, P, P - 1);
    banc.jeu.Remplissage(Couleur::Bleu);
    EXPECT_EQ(banc.C(P).Image, "3b.bmp");
    EXPECT_EQ(banc.jeu.Etat().Score, 1);
    EXPECT_FALSE(banc.L(Couleur::Bleu).Valide);
}
