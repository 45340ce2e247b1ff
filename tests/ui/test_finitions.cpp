// What a player meets at the edges of the windows: a key held down, the side windows beside the
// main one, the bordered captions, and the name box.
#include <QApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "Form1.h"
#include "MondeQt.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

// The main window started up over the worked example, shown and active.
struct Principale : ::testing::Test {
    Principale() {
        memoire.table = TableExemple();
        EXPECT_TRUE(form->Form_Load());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::Form1> form =
        std::make_unique<ui::Form1>(hasard, horloge, dialogues, memoire, QStringLiteral("/nonexistent/"));
    std::array<QPointer<QWidget>, 3> Cotes() const {
        return {form->FenetreScores(), form->FenetreAPropos(), form->FenetreRegles()};
    }
};

// A key as the board gets it, first press or repeat of a key held down.
void Touche(ui::Form1& form, Qt::Key touche, bool repetee) {
    QKeyEvent appui(QEvent::KeyPress, touche, Qt::NoModifier, QString(), repetee);
    QApplication::sendEvent(form.centralWidget(), &appui);
}

// A laying key held down lays one pipe, however long it repeats (the Enter that closed a
// message box, for one); an arrow held down goes on moving the cursor.
TEST_F(Principale, UneToucheTenueNePoseQuUnTuyau) {
    for (const int tuyau : {4, 2, 8})
        hasard.AjouterTuyau(tuyau);
    form->menuJouer_Click();
    const Grille& grille = form->Modele().Cellules();
    const auto enMain = [this](std::size_t rang) { return form->Modele().Affichage().BlocSuivant[rang]; };
    int vide = 0;
    for (const Qt::Key touche : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        SCOPED_TRACE(touche);
        while (grille[static_cast<std::size_t>(vide)].Tag != Vide ||
               !grille[static_cast<std::size_t>(vide)].Active)
            ++vide;
        // The cursor is moved by the mouse, then one cell right and back by a held arrow.
        QTest::mouseMove(form->centralWidget(), QPoint(2, 2));
        QTest::mouseMove(form->Case(vide));
        Touche(*form, Qt::Key_Right, false);
        Touche(*form, Qt::Key_Left, true);
        ASSERT_EQ(form->Curseur(), vide);
        const std::string premier = enMain(0);
        const std::string second = enMain(1);
        Touche(*form, touche, true);
        EXPECT_EQ(grille[static_cast<std::size_t>(vide)].Tag, Vide) << "a repeat alone lays nothing";
        Touche(*form, touche, false);
        for (int repetition = 0; repetition < 3; ++repetition)
            Touche(*form, touche, true);
        EXPECT_EQ(grille[static_cast<std::size_t>(vide)].Image, premier);
        EXPECT_EQ(enMain(0), second);
    }
}

// Each side window is a window of its own: no parent and nothing it is transient for, so the
// window manager lets the main window come over it; an ordinary window with a close box only.
// Shown by its command without being modal; built anew once closed.
TEST_F(Principale, LesFenetresAnnexesSontIndependantes) {
    const char* commandes[] = {"menuRecord", "menuAbout", "menuRegles"};
    for (std::size_t k = 0; k < std::size(commandes); ++k) {
        const char* commande = commandes[k];
        SCOPED_TRACE(commande);
        form->findChild<QAction*>(QLatin1String(commande))->trigger();
        QWidget* fenetre = Cotes()[k];
        ASSERT_NE(fenetre, nullptr);
        EXPECT_TRUE(fenetre->isVisible());
        EXPECT_EQ(fenetre->parentWidget(), nullptr);
        EXPECT_EQ(fenetre->windowHandle()->transientParent(), nullptr);
        EXPECT_EQ(fenetre->windowFlags() & (Qt::WindowType_Mask | Qt::WindowCloseButtonHint |
                                            Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint),
                  Qt::Window | Qt::WindowCloseButtonHint);
        EXPECT_EQ(fenetre->windowModality(), Qt::NonModal);
    }
    // A second command brings the open window to the front (activation goes through the window
    // system's queue).
    form->menuRecord_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(QGuiApplication::focusWindow(), form->FenetreScores()->windowHandle());
    // Closed by its box, a window is gone; its command builds it again.
    QPointer<QWidget> regles = form->FenetreRegles();
    regles->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(regles.isNull());
    form->menuRegles_Click();
    EXPECT_TRUE(form->FenetreRegles() && form->FenetreRegles()->isVisible());
}

// They close with the main window, and Ctrl+Q ("Quitter") reaches it from any of them.
TEST_F(Principale, QuitterDepuisUneFenetreAnnexeFermeTout) {
    form->menuRecord_Click();
    form->menuRegles_Click();
    const auto cotes = Cotes();
    QTest::keySequence(form->FenetreRegles()->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_FALSE(form->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (const QPointer<QWidget>& fenetre : cotes)
        EXPECT_TRUE(fenetre.isNull()) << "closed and deleted";
}

// A main window destroyed with its side windows still loaded, hidden or shown, takes them along.
TEST_F(Principale, LaFenetrePrincipaleDetruiteEmporteLesAnnexes) {
    form->menuAbout_Click();
    const auto cotes = Cotes();
    form.reset();
    for (const QPointer<QWidget>& fenetre : cotes)
        EXPECT_TRUE(fenetre.isNull());
}

// A bordered caption keeps two clear pixels between its text and its box (a box drawn around
// the label, one pixel thick), and its text fits what is left.
TEST_F(Principale, LesLegendesEncadreesOntDeLaPlaceDansLeurCadre) {
    const std::pair<QWidget*, const char*> legendes[] = {
        {form->FenetreRegles(), "l1"}, {form->FenetreRegles(), "l2"},     {form->FenetreRegles(), "l3"},
        {form->FenetreRegles(), "l4"}, {form->FenetreScores(), "Label2"},
    };
    for (const auto& [fenetre, nom] : legendes) {
        SCOPED_TRACE(nom);
        const QLabel* label = fenetre->findChild<QLabel*>(QLatin1String(nom));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
        const QFrame* cadre = nullptr;
        for (const QFrame* f : fenetre->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
            if (!qobject_cast<const QLabel*>(f) && f->geometry().contains(label->geometry()))
                cadre = f;
        ASSERT_NE(cadre, nullptr);
        EXPECT_EQ(cadre->frameWidth(), 1);
        EXPECT_TRUE(cadre->geometry().adjusted(3, 3, -3, -3).contains(label->geometry()));
        const QRect zone = label->contentsRect();
        const QRect texte = QFontMetrics(label->font())
                                .boundingRect(zone, static_cast<int>(label->alignment()) | Qt::TextWordWrap,
                                              label->text().trimmed());
        EXPECT_EQ(zone | texte, zone);
    }
}

// The name box as the program shows it: title, prompt, empty line, and no more than 40
// characters, whatever is typed or pasted; what it gives is what was typed, in UTF-8.
TEST(BoiteDuNom, PrendQuaranteCaracteresEtPasUnDePlus) {
    const std::pair<QString, std::string> cas[] = {
        {QString::fromUtf8("Zoé"), "Zoé"},
        {QString::fromUtf8("Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ! et la suite"),
         "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!"},
    };
    for (const auto& [tape, attendu] : cas) {
        ui::DialoguesQt dialogues;
        QString vu;
        QTimer::singleShot(0, [&, tape = tape] {
            auto* boite = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(boite, nullptr);
            auto* ligne = boite->findChild<QLineEdit*>();
            ASSERT_NE(ligne, nullptr);
            vu = boite->windowTitle() + "|" + boite->labelText() + "|" + ligne->text() + "|" +
                 QString::number(ligne->maxLength());
            ligne->insert(tape);
            boite->accept();
        });
        EXPECT_EQ(dialogues.Saisir("Bravo, vous avez battu le record!\nQuel est votre nom ?"), attendu);
        EXPECT_EQ(vu,
                  QString::fromUtf8("Canalisor|Bravo, vous avez battu le record!\nQuel est votre nom ?||40"));
    }
}

} // namespace
} // namespace canalisor::test
