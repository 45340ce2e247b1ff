// What a screen reader gets from the main window, read through Qt's accessibility interfaces
// as an assistive technology reads it.
#include <QAccessible>
#include <QTest>

#include <gtest/gtest.h>

#include "Fenetre.h"

namespace canalisor::test {
namespace {

QAccessibleInterface* Interface(QObject* objet) {
    QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(objet);
    if (!interface)
        ADD_FAILURE() << "no accessible interface for " << objet->objectName().toStdString();
    return interface;
}

QString Nom(QObject* objet) {
    return Interface(objet)->text(QAccessible::Name);
}

struct EnJeuLu : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(f.form->Form_Load());
        f.form->show();
        for (int tuyau : {4, 2, 8})
            f.hasard.AjouterTuyau(tuyau);
        f.Action("menuJouer")->trigger();
    }
    // Shows a cell as the game would after the liquids passed.
    void Poser(int index, std::int16_t code, const char* remplissage, const char* image) {
        f.form->Modele().Cellules()[std::size_t(index)] = {code, remplissage, image, true};
        f.form->Rafraichir();
    }
    Fenetre f;
};

TEST_F(EnJeuLu, ChaqueCaseDitSaPlaceEtSonContenu) {
    struct Cas {
        int index;
        std::int16_t code;
        const char* remplissage;
        const char* image;
        const char* nom;
    };
    const Cas cas[] = {
        {0, Vide, "", "0.bmp", "Ligne 1, colonne 1 : case vide"},
        {16, Obstacle, "", "1.bmp", "Ligne 2, colonne 2 : obstacle"},
        {36, CoudeGB, "x", "5b.bmp", "Ligne 3, colonne 7 : coude gauche-bas, rempli de bleu"},
        {14, DroitH, "", "2.bmp", "Ligne 1, colonne 15 : tuyau horizontal"},
        {119, DroitV, "x", "3v.bmp", "Ligne 8, colonne 15 : tuyau vertical, rempli de vert"},
        {105, CoudeDB, "", "4.bmp", "Ligne 8, colonne 1 : coude droite-bas"},
        {50, CoudeGH, "x", "6j.bmp", "Ligne 4, colonne 6 : coude gauche-haut, rempli de jaune"},
        {51, CoudeDH, "x", "7r.bmp", "Ligne 4, colonne 7 : coude droite-haut, rempli de rouge"},
        {60, Croix, "", "8.bmp", "Ligne 5, colonne 1 : croisement"},
        {61, Croix, "HbVr", "8hbvr.bmp",
         "Ligne 5, colonne 2 : croisement, canal horizontal rempli de bleu, canal vertical rempli de rouge"},
        {62, Croix, "VjHj", "8j.bmp",
         "Ligne 5, colonne 3 : croisement, canal horizontal rempli de jaune, canal vertical rempli de jaune"},
        {63, Croix, "Vv", "8vv.bmp", "Ligne 5, colonne 4 : croisement, canal vertical rempli de vert"},
        {64, Croix, "Hr", "8hr.bmp", "Ligne 5, colonne 5 : croisement, canal horizontal rempli de rouge"},
        {75, 9, "", "9.bmp", "Ligne 6, colonne 1 : départ du liquide bleu"},
        {76, 13, "x", "13r.bmp", "Ligne 6, colonne 2 : arrivée du liquide rouge, rempli de rouge"},
        {77, 17, "", "17.bmp", "Ligne 6, colonne 3 : porte du liquide vert"},
        {78, 18, "x", "18j.bmp", "Ligne 6, colonne 4 : départ du liquide jaune, rempli de jaune"},
        {79, 20, "", "20.bmp", "Ligne 6, colonne 5 : porte du liquide jaune"},
    };
    for (const Cas& c : cas) {
        Poser(c.index, c.code, c.remplissage, c.image);
        EXPECT_EQ(Nom(f.form->Case(c.index)), QString::fromUtf8(c.nom));
    }
}

TEST_F(EnJeuLu, LesCasesEtLesBoitesSuiventLaPartie) {
    const int depart = f.CasesDeCode(9).at(0);
    EXPECT_TRUE(Nom(f.form->Case(depart)).endsWith(QString::fromUtf8(" : départ du liquide bleu")));
    const QStringList boites{QStringLiteral("Tuyau en main : coude droite-bas"),
                             QStringLiteral("Tuyau suivant : tuyau horizontal"),
                             QString::fromUtf8("Tuyau d'après : croisement")};
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(Nom(f.form->Bloc(k)), boites[k]);

    const int vide = f.CasesDeCode(Vide).at(0);
    f.hasard.AjouterTuyau(7);
    f.Cliquer(vide);
    EXPECT_TRUE(Nom(f.form->Case(vide)).endsWith(QStringLiteral(" : coude droite-bas")));
    EXPECT_EQ(Nom(f.form->Bloc(0)), QStringLiteral("Tuyau en main : tuyau horizontal"));
    EXPECT_EQ(Nom(f.form->Bloc(2)), QString::fromUtf8("Tuyau d'après : coude droite-haut"));
    // Cells are buttons: a screen reader's "press" lays the pipe as a click does.
    QAccessibleInterface* cellule = Interface(f.form->Case(vide));
    EXPECT_EQ(cellule->role(), QAccessible::Button);
    cellule->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Nom(f.form->Case(vide)).endsWith(QStringLiteral(" : tuyau horizontal")));
}

// A screen reader follows the focus; inside the board, which holds the keyboard, the cursor's
// cell has it. (The offscreen platform has no accessibility backend to carry notifications, so
// the states are read, not the events.)
TEST_F(EnJeuLu, LeCurseurDuClavierPorteLeFocusDuLecteurDEcran) {
    f.form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
    QTest::mouseMove(f.form->Case(30));
    QTest::keyClick(f.form->windowHandle(), Qt::Key_Down);
    const auto focalisees = [&] {
        std::vector<int> cases;
        for (int i = 0; i < NombreCellules; ++i)
            if (Interface(f.form->Case(i))->state().focused)
                cases.push_back(i);
        return cases;
    };
    EXPECT_EQ(focalisees(), std::vector<int>{45});
    EXPECT_TRUE(Interface(f.form->Case(45))->state().focusable);
    // Away from the board, for the menu bar say, no cell has it.
    f.form->centralWidget()->clearFocus();
    EXPECT_TRUE(focalisees().empty());
}

TEST_F(EnJeuLu, LesCompteursDisentCeQuIlsComptentEtLeurValeur) {
    struct Cas {
        const char* label;
        const char* nom;
        const char* valeur;
    };
    const Cas cas[] = {
        {"LabelNiveau", "Niveau", "1"},    {"LabelEssais", "Essais", "2"},   {"LabelScore", "Score", "0"},
        {"LabelRecord", "Record", "1500"}, {"LabelDiff", "Difficulté", "2"}, {"LabelTemps", "Temps", "60"},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.label);
        QAccessibleInterface* compteur = Interface(f.Label(c.label));
        EXPECT_EQ(compteur->text(QAccessible::Name), QString::fromUtf8(c.nom));
        EXPECT_EQ(compteur->text(QAccessible::Value), QString::fromLatin1(c.valeur));
    }
    EXPECT_EQ(Interface(f.Label("LabelRecord"))->text(QAccessible::Description), QStringLiteral("Marie"))
        << "the record's holder, as its tooltip shows";
    f.form->Timer1_Timer();
    EXPECT_EQ(Interface(f.Label("LabelTemps"))->text(QAccessible::Value), QStringLiteral("59"));
}

// The Pause button's name is its caption, and what it would do changes with it.
TEST_F(EnJeuLu, LeBoutonPauseDitCeQuIlFeraitSelonSaLegende) {
    QAccessibleInterface* pause = Interface(f.Bouton("Pause"));
    const QString enJeu = pause->text(QAccessible::Description);
    EXPECT_EQ(pause->text(QAccessible::Name), QStringLiteral("Pause"));
    f.Bouton("Pause")->click();
    EXPECT_EQ(pause->text(QAccessible::Name), QStringLiteral("Retour"));
    EXPECT_NE(pause->text(QAccessible::Description), enJeu);
    EXPECT_FALSE(Interface(f.Bouton("Maxi"))->text(QAccessible::Description).isEmpty());
}

} // namespace
} // namespace canalisor::test
