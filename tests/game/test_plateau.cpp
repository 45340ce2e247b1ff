#include <gtest/gtest.h>

#include <set>

#include "Plateau.h"

using namespace canalisor;

TEST(Plateau, MemeLigneUsesFloorDivision) {
    struct Cas {
        int a, b;
        bool meme;
    };
    for (const Cas& c : {Cas{14, 15, false}, Cas{15, 29, true}, Cas{0, -1, false}, Cas{119, 120, false},
                         Cas{-1, -15, true}, Cas{-15, -16, false}, Cas{105, 119, true}, Cas{0, 14, true}}) {
        EXPECT_EQ(MemeLigne(c.a, c.b), c.meme) << c.a << " / " << c.b;
    }
}

TEST(Plateau, MovesStayOnTheBoardAndTheRow) {
    struct Cas {
        int depuis;
        Direction d;
        std::optional<int> vers;
    };
    for (const Cas& c : {Cas{14, Direction::Droite, {}}, Cas{15, Direction::Gauche, {}}, Cas{119, Direction::Droite, {}},
                         Cas{119, Direction::Bas, {}}, Cas{0, Direction::Gauche, {}}, Cas{0, Direction::Haut, {}},
                         Cas{13, Direction::Droite, 14}, Cas{16, Direction::Gauche, 15}, Cas{104, Direction::Bas, 119},
                         Cas{15, Direction::Haut, 0}, Cas{105, Direction::Bas, {}}}) {
        EXPECT_EQ(Voisin(c.depuis, c.d), c.vers) << c.depuis << " dir " << static_cast<int>(c.d);
    }
}

TEST(Plateau, CrossPicturesNameTheHorizontalColourFirst) {
    EXPECT_EQ(NomImageCroix(Couleur::Bleu, Couleur::Rouge), "8hbvr.bmp");
    EXPECT_EQ(NomImageCroix(Couleur::Rouge, Couleur::Bleu), "8hrvb.bmp");
    EXPECT_EQ(NomImageCroix(Couleur::Vert, Couleur::Vert), "8v.bmp");
    EXPECT_EQ(NomImageCroix(Couleur::Vert, {}), "8hv.bmp");
    EXPECT_EQ(NomImageCroix({}, Couleur::Vert), "8vv.bmp");
    EXPECT_EQ(NomImageRemplie(10, Couleur::Bleu), "10b.bmp");
    EXPECT_EQ(NomImageRemplie(19, Couleur::Jaune), "19j.bmp");
}

TEST(Plateau, CatalogueHasTheEightyOneDistinctTiles) {
    const auto& tuiles = CatalogueTuiles();
    std::set<std::string> noms;
    for (const Tuile& t : tuiles)
        noms.insert(t.Nom);
    EXPECT_EQ(tuiles.size(), 81u);
    EXPECT_EQ(noms.size(), 81u);
    for (const char* nom : {"0.bmp", "20.bmp", "2b.bmp", "7j.bmp", "9b.bmp", "20j.bmp", "8b.bmp", "8hj.bmp", "8vb.bmp",
                            "8hbvr.bmp", "8hjvv.bmp"})
        EXPECT_TRUE(noms.contains(nom)) << nom;
    // A departure, arrival or gate is only ever filled by its own colour.
    EXPECT_FALSE(noms.contains("9r.bmp"));
}

TEST(Plateau, ColoursAndGateLevels) {
    EXPECT_TRUE(EstActive(Couleur::Rouge, 3));
    EXPECT_FALSE(EstActive(Couleur::Vert, 5));
    EXPECT_TRUE(EstActive(Couleur::Jaune, 10));
    EXPECT_FALSE(EstActive(Couleur::Jaune, 9));
    int portes = 0;
    for (Couleur c : Couleurs)
        for (int n = 1; n <= 15; ++n)
            portes += APorte(c, n);
    EXPECT_EQ(portes, 24);
    EXPECT_TRUE(APorte(Couleur::Bleu, 2));
    EXPECT_FALSE(APorte(Couleur::Bleu, 3));
    EXPECT_EQ(CouleurDuCode(14), Couleur::Rouge);
    EXPECT_EQ(CouleurDuCode(8), std::nullopt);
}
