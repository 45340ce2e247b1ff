// The game played from the keyboard: the cursor, laying a pipe with Space or Enter, and the
// shortcuts of the menus and the buttons. Keys go to the window as the system sends them, so
// they reach whatever holds the keyboard and pass the window's shortcuts first.
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "Fenetre.h"

namespace canalisor::test {
namespace {

void Touche(Fenetre& f, Qt::Key touche, Qt::KeyboardModifiers modificateurs = Qt::NoModifier) {
    QTest::keyClick(f.form->windowHandle(), touche, modificateurs);
}

void Sequence(Fenetre& f, const char* sequence) {
    QTest::keySequence(f.form->windowHandle(), QKeySequence(QString::fromLatin1(sequence)));
}

// Shortcuts work in the active window only, as on a desktop.
testing::AssertionResult Activer(Fenetre& f) {
    f.form->show();
    f.form->activateWindow();
    if (!QTest::qWaitForWindowActive(f.form.get()))
        return testing::AssertionFailure() << "the window never became active";
    return testing::AssertionSuccess();
}

// The cells whose cursor frame shows.
std::vector<int> Cadres(const Fenetre& f) {
    std::vector<int> cadres;
    for (int i = 0; i < NombreCellules; ++i)
        if (f.form->Case(i)->CadreVisible())
            cadres.push_back(i);
    return cadres;
}

// A window in a game at level 1, holding 4, 2 and 8 in the queue.
struct EnJeuClavier : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(f.form->Form_Load());
        ASSERT_TRUE(Activer(f));
        f.hasard.AjouterTuyau(4);
        f.hasard.AjouterTuyau(2);
        f.hasard.AjouterTuyau(8);
        f.Action("menuJouer")->trigger();
    }
    Fenetre f;
};

TEST_F(EnJeuClavier, LeCadreNApparaitQuAuJoueurAuClavierPuisSuitAussiLaSouris) {
    EXPECT_EQ(QApplication::focusWidget(), f.form->centralWidget()) << "the board holds the keyboard";
    for (int i : {3, 40, 77})
        QTest::mouseMove(f.form->Case(i));
    EXPECT_EQ(f.form->Curseur(), 77) << "the cursor follows the mouse";
    EXPECT_TRUE(Cadres(f).empty()) << "no frame before the keyboard is used";
    Touche(f, Qt::Key_Right);
    EXPECT_EQ(Cadres(f), std::vector<int>{78});
    QTest::mouseMove(f.form->Case(60));
    EXPECT_EQ(Cadres(f), std::vector<int>{60});
}

TEST_F(EnJeuClavier, LesFlechesMenentLeCurseurEtLesBordsLArretent) {
    struct Cas {
        int depart;
        const char* fleches; // g d h b: left, right, up, down
        int arrivee;
    };
    const Cas cas[] = {
        {0, "g", 0},
        {0, "h", 0},
        {0, "dd", 2},
        {0, "b", 15},
        {14, "d", 14}, // no wrapping onto the next row
        {15, "g", 15}, // nor back onto the row above
        {14, "b", 29},
        {119, "db", 119},
        {105, "bg", 105},
        {112, "hhh", 67},
        {0, "dddddddddddddddddddd", 14},
        {0, "bbbbbbbbbb", 105},
        {52, "dbgh", 52},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(::testing::Message() << c.depart << " " << c.fleches);
        // The mouse must come over the cell: resting where it already was moves nothing.
        QTest::mouseMove(f.form->centralWidget(), QPoint(2, 2));
        QTest::mouseMove(f.form->Case(c.depart));
        ASSERT_EQ(f.form->Curseur(), c.depart) << "the mouse moves the cursor";
        for (const char* t = c.fleches; *t; ++t)
            Touche(f, *t == 'g'   ? Qt::Key_Left
                      : *t == 'd' ? Qt::Key_Right
                      : *t == 'h' ? Qt::Key_Up
                                  : Qt::Key_Down);
        EXPECT_EQ(f.form->Curseur(), c.arrivee);
        EXPECT_EQ(Cadres(f), std::vector<int>{c.arrivee}) << "one frame, on the cursor";
    }
}

// Space and Enter go to the click's handler: what the rules refuse a click, they refuse a key.
TEST_F(EnJeuClavier, EspaceEtEntreePosentCommeUnClic) {
    struct Cas {
        const char* nom;
        Qt::Key touche;
        int cellule;
        bool enPause;
        bool pose;
    };
    const int vide = f.CasesDeCode(Vide).at(0);
    const Cas cas[] = {
        {"empty cell", Qt::Key_Space, vide, false, true},
        {"unfilled pipe, replaced", Qt::Key_Return, vide, false, true},
        {"keypad Enter", Qt::Key_Enter, f.CasesDeCode(Vide).at(1), false, true},
        {"departure", Qt::Key_Space, f.CasesDeCode(9).at(0), false, false},
        {"obstacle", Qt::Key_Return, f.CasesDeCode(Obstacle).at(0), false, false},
        {"paused", Qt::Key_Space, f.CasesDeCode(Vide).at(2), true, false},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        if (c.enPause)
            f.Bouton("Pause")->click();
        QTest::mouseMove(f.form->centralWidget(), QPoint(2, 2));
        QTest::mouseMove(f.form->Case(c.cellule));
        const QString avant = f.form->Case(c.cellule)->NomImage();
        const QString enMain = f.form->Bloc(0)->NomImage();
        const QString suivant = f.form->Bloc(1)->NomImage();
        Touche(f, c.touche);
        EXPECT_EQ(f.form->Case(c.cellule)->NomImage(), c.pose ? enMain : avant);
        EXPECT_EQ(f.form->Bloc(0)->NomImage(), c.pose ? suivant : enMain);
        if (c.enPause)
            f.Bouton("Pause")->click();
    }
}

// Each shortcut does what its button or menu item does, and nothing when the button is disabled.
TEST(Raccourcis, ChaqueToucheFaitCeQueFaitSonBoutonOuSonMenu) {
    struct Cas {
        bool enJeu;
        std::vector<const char*> touches;
        const char* pause;
        bool pauseActif;
        bool maxiActif;
        bool horloge;
        const char* temps;
    };
    const Cas cas[] = {
        {false, {"Ctrl+N"}, "Pause", true, true, true, "60"},
        {false, {"F2"}, "Pause", true, true, true, "60"},
        {false, {"P"}, "Pause", false, false, false, ""}, // no game: the button is disabled
        {false, {"V"}, "Pause", false, false, false, ""},
        {true, {"P"}, "Retour", true, false, false, "60"},
        {true, {"P", "P"}, "Pause", true, true, true, "60"},
        {true, {"V"}, "Pause", false, false, true, "1"},
        {true, {"V", "P"}, "Pause", false, false, true, "1"},   // with the valves open, no pause
        {true, {"P", "V"}, "Retour", true, false, false, "60"}, // paused, the valves stay shut
        {true, {"Ctrl+N"}, "Pause", true, true, true, "60"},
    };
    for (const Cas& c : cas) {
        std::string nom = c.enJeu ? "in game:" : "no game:";
        for (const char* t : c.touches)
            nom += std::string(" ") + t;
        SCOPED_TRACE(nom);
        Fenetre f;
        ASSERT_TRUE(f.form->Form_Load());
        ASSERT_TRUE(Activer(f));
        if (c.enJeu)
            f.Action("menuJouer")->trigger();
        for (const char* t : c.touches)
            Sequence(f, t);
        EXPECT_EQ(f.Bouton("Pause")->text(), QString::fromLatin1(c.pause));
        EXPECT_EQ(f.Bouton("Pause")->isEnabled(), c.pauseActif);
        EXPECT_EQ(f.Bouton("Maxi")->isEnabled(), c.maxiActif);
        EXPECT_EQ(f.horloge.enMarche, c.horloge);
        EXPECT_EQ(f.Texte("LabelTemps"), QString::fromLatin1(c.temps));
        f.form->close();
    }
}

TEST(Raccourcis, LesMenusMontrentLeursTouchesEtCtrlQFermeLaFenetre) {
    Fenetre f;
    ASSERT_TRUE(f.form->Form_Load());
    // A menu shows the first of an item's shortcuts.
    EXPECT_EQ(f.Action("menuJouer")->shortcuts(),
              (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+N")), QKeySequence(Qt::Key_F2)}));
    EXPECT_EQ(f.Action("menuQuitter")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    ASSERT_TRUE(Activer(f));
    Sequence(f, "Ctrl+Q");
    EXPECT_FALSE(f.form->isVisible());
}

} // namespace
} // namespace canalisor::test
