// What a player meets at the edges of the windows: a key held down, the side
// windows beside the main one, the bordered captions, and the name box.
#include <algorithm>

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

// The main window started up over the worked example, shown and active, with
// its three side windows opened by their commands (scores, about, rules).
struct Principale : ::testing::Test {
    Principale() {
        memoire.table = TableExemple();
        EXPECT_TRUE(form->Form_Load());
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    std::array<QPointer<QWidget>, 3> Ouvrir() {
        for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
            form->findChild<QAction*>(QLatin1String(commande))->trigger();
        return {form->FenetreScores(), form->FenetreAPropos(), form->FenetreRegles()};
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::Form1> form =
        std::make_unique<ui::Form1>(hasard, horloge, dialogues, memoire, QStringLiteral("/nonexistent/"));
};

// A laying key held down lays one pipe however long it repeats (the Enter that
// closed a message box, for one); an arrow held down goes on moving the cursor.
TEST_F(Principale, UneToucheTenueNePoseQuUnTuyau) {
    form->menuJouer_Click();
    const auto touche = [&](Qt::Key k, bool repetee) {
        QKeyEvent appui(QEvent::KeyPress, k, Qt::NoModifier, QString(), repetee);
        QApplication::sendEvent(form->centralWidget(), &appui);
    };
    const Grille& grille = form->Modele().Cellules();
    const auto vide =
        static_cast<std::size_t>(std::ranges::find(grille, Vide, &Cellule::Tag) - grille.begin());
    QTest::mouseMove(form->Case(static_cast<int>(vide)));
    touche(Qt::Key_Right, false), touche(Qt::Key_Left, true);
    ASSERT_EQ(form->Curseur(), static_cast<int>(vide)) << "a held arrow moves on";
    const auto enMain = form->Modele().Affichage().BlocSuivant;
    touche(Qt::Key_Return, true);
    EXPECT_EQ(grille[vide].Tag, Vide) << "a repeat alone lays nothing";
    for (const bool repetee : {false, true, true})
        touche(Qt::Key_Return, repetee);
    EXPECT_EQ(grille[vide].Image, enMain[0]);
    EXPECT_EQ(form->Modele().Affichage().BlocSuivant[0], enMain[1]) << "one pipe taken, no more";
}

// Each side window is a window of its own (no parent, nothing it is transient for, so the main
// window can come over it), an ordinary one with a close box, shown without being modal, and
// brought to the front by a second command. Its bordered captions keep two clear pixels inside
// their one-pixel box. Closed by its box it is gone and its command builds
// it again; Ctrl+Q from any of them closes and deletes everything, and so does the main
// window's end.
TEST_F(Principale, LesFenetresAnnexesSontIndependantes) {
    auto cotes = Ouvrir();
    for (QWidget* fenetre : cotes) {
        SCOPED_TRACE(fenetre->windowTitle().toStdString());
        EXPECT_TRUE(fenetre->isVisible() && !fenetre->parentWidget() &&
                    !fenetre->windowHandle()->transientParent() && fenetre->windowModality() == Qt::NonModal);
        EXPECT_EQ(fenetre->windowFlags() & (Qt::WindowType_Mask | Qt::WindowCloseButtonHint |
                                            Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint),
                  Qt::Window | Qt::WindowCloseButtonHint);
    }
    for (const char* nom : {"l1", "l2", "l3", "l4", "Label2"}) {
        SCOPED_TRACE(nom);
        QWidget* fenetre = cotes[nom[0] == 'l' ? 2 : 0];
        const QLabel* label = fenetre->findChild<QLabel*>(QLatin1String(nom));
        const QFrame* cadre = nullptr;
        for (const QFrame* f : fenetre->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
            if (!qobject_cast<const QLabel*>(f) && f->geometry().contains(label->geometry()))
                cadre = f;
        ASSERT_TRUE(cadre && cadre->frameWidth() == 1);
        EXPECT_TRUE(cadre->geometry().adjusted(3, 3, -3, -3).contains(label->geometry()));
    }
    form->menuRecord_Click();
    QCoreApplication::processEvents(); // activation goes through the window system's queue
    EXPECT_EQ(QGuiApplication::focusWindow(), form->FenetreScores()->windowHandle());
    cotes[2]->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(cotes[2].isNull());
    cotes = Ouvrir();
    QTest::keySequence(cotes[2]->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(std::ranges::all_of(cotes, &QPointer<QWidget>::isNull)) << "Ctrl+Q closes and deletes them";
    cotes = Ouvrir();
    form.reset();
    EXPECT_TRUE(std::ranges::all_of(cotes, &QPointer<QWidget>::isNull))
        << "and so does the main window's end";
}

// The name box as the program shows it: title, prompt, empty line, and no more
// than 40 characters, whatever is typed or pasted; what it gives is what was
// typed, in UTF-8.
TEST(BoiteDuNom, PrendQuaranteCaracteresEtPasUnDePlus) {
    ui::DialoguesQt dialogues;
    QString vu;
    QTimer::singleShot(0, [&] {
        auto* boite = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        auto* ligne = boite->findChild<QLineEdit*>();
        vu = boite->windowTitle() + "|" + boite->labelText() + "|" + ligne->text() + "|";
        ligne->insert(QString::fromUtf8("Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ! et la suite"));
        boite->accept();
    });
    EXPECT_EQ(dialogues.Saisir("Bravo, vous avez battu le record!\nQuel est votre nom ?"),
              "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!");
    EXPECT_EQ(vu, "Canalisor|Bravo, vous avez battu le record!\nQuel est votre nom ?||");
}

} // namespace
} // namespace canalisor::test
