// The windows in a scripted world (scripted chance, clock and dialogs, an in-memory best-scores
// file, the build's tiles where it draws them): start-up, menus, layout, the game's state as the
// main window shows it and as mouse, keyboard and screen reader reach it, the side windows beside
// the main one and their texts.
#include <algorithm>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "FenetrePrincipale.h"
#include "MondeQt.h"
#include "MondeScripte.h"

// gtest prints text, not bytes.
void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << texte.toStdString();
}

namespace canalisor::test {
namespace {

// Scripted boxes that also note, as each opens, what the window shows then and the box's text.
struct Boites : DialoguesScriptes {
    void Message(const std::string& texte, Icone icone) override {
        vus << vue() + " " + QString::fromStdString(texte);
        DialoguesScriptes::Message(texte, icone);
    }
    std::function<QString()> vue = [] { return QString(); };
    QStringList vus;
};

// The window started up, shown and active as shortcuts need, with 4, 2 and 8 to come as pipes.
// The file lists the worked example worst first, so that the scores window must rank it.
struct Fenetre {
    Fenetre() {
        for (int tuyau : {4, 2, 8})
            hasard.AjouterTuyau(tuyau);
        memoire.table = TableExemple();
        std::ranges::reverse(*memoire.table);
        EXPECT_TRUE(form->Demarrer());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // The widget of that name in the main window, or in `dans`.
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        return (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
    }
    // A menu item chosen by its name, a click on cell 1 (empty at level 1), or keys typed.
    void Faire(const QString& geste) const {
        if (geste.startsWith("menu"))
            W<QAction>(geste.toLatin1().constData())->trigger();
        else if (geste == "clic")
            QTest::mouseClick(form->Case(1), Qt::LeftButton);
        else
            QTest::keySequence(form->windowHandle(), QKeySequence(geste));
    }
    // The three side windows, opened by their commands.
    std::array<QPointer<QWidget>, 3> Ouvrir() const {
        for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
            Faire(commande);
        return {form->Scores(), form->APropos(), form->Regles()};
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    Boites dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::FenetrePrincipale> form = std::make_unique<ui::FenetrePrincipale>(
        hasard, horloge, dialogues, memoire, QString::fromUtf8(CANALISOR_DOSSIER_TUILES));
};

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
}

// Each step: a gesture, then Pause (caption, + enabled or - not) and Vannes max. (+ or -), the difficulty
// menu (check marks, enabled), the time shown, the clock (M running, A stopped) and the pipe in
// hand. Each difficulty item applies its own difficulty, and none while a game runs; with no game
// there is no button, so no letter. A click lays the pipe in hand, and paused it lays nothing.
TEST(FenetrePrincipale, MenusBoutonsClicsEtRaccourcisSuiventLaPartie) {
    const QString etapes =
        "P>Pause-- -x-+  A ;V>Pause-- -x-+  A ;menuFacile>Pause-- x--+  A ;Ctrl+N>Pause++ x--- 80 M 4.bmp;"
        "clic>Pause++ x--- 80 M 2.bmp;menuMoyen>Pause++ x--- 80 M 2.bmp;P>Retour+- x--- 80 A 2.bmp;"
        "clic>Retour+- x--- 80 A 2.bmp;P>Pause++ x--- 80 M 2.bmp;menuArreter>Pause-- x--+ 80 A 2.bmp;"
        "menuMoyen>Pause-- -x-+ 80 A 2.bmp;Ctrl+N>Pause++ -x-- 60 M 4.bmp;"
        "menuArreter>Pause-- -x-+ 60 A 4.bmp;menuDifficile>Pause-- --x+ 60 A 4.bmp;"
        "F2>Pause++ --x- 40 M 4.bmp;V>Pause-- --x- 1 M 4.bmp";
    Fenetre f;
    for (const QString& etape : etapes.split(';')) {
        f.Faire(etape.section('>', 0, 0));
        QString etat;
        // The valves button's caption never changes, so only a wrong one shows.
        for (const QPushButton* b : {f.W<QPushButton>("Pause"), f.W<QPushButton>("Vannes")})
            etat += b->text().remove("Vannes max.") + (b->isEnabled() ? "+" : "-");
        const QMenu* difficulte = f.W<QMenu>("menuDifficulte");
        etat += ' ';
        for (const QAction* a : difficulte->actions())
            etat += a->isChecked() ? "x" : "-";
        etat += (difficulte->menuAction()->isEnabled() ? "+ " : "- ") + f.W("LabelTemps")->text();
        EXPECT_EQ(etat + (f.horloge.enMarche ? " M " : " A ") + f.form->Bloc(0)->NomImage(),
                  etape.section('>', 1));
    }
    // The menus ("Règles" and "A propos" are commands of the bar itself; a letter after '&' opens
    // each with Alt) and every label of the four windows, whose text must fit. The smoke test checks
    // the window's size and the board's place.
    EXPECT_EQ(Arbre(f.form->menuBar()->actions()),
              "&Fichier[&Nouvelle partie, &Arrêter la partie, Niveau de &difficulté[&Facile (1), &Moyen (2), "
              "&Difficile (3)], &Meilleurs scores, &Quitter], &Règles, &A propos");
    QList<QLabel*> labels = f.form->findChildren<QLabel*>();
    for (const QWidget* cote : f.Ouvrir())
        labels += cote->findChildren<QLabel*>();
    for (const QLabel* l : labels) {
        const int drapeaux = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect zone = l->contentsRect();
        EXPECT_EQ(zone | QFontMetrics(l->font()).boundingRect(zone, drapeaux, l->text().trimmed()), zone)
            << l->objectName().toStdString();
    }
}

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(objet)->text(quoi);
}

// A screen reader reads cells, boxes and counters as name=value, and the Pause button says what
// it would do. From the cell under the mouse, keys g d h b (the arrows) and e (Enter), in capitals
// when they come from a key held down; then the cursor and, after an Enter, its cell's picture and
// the pipe in hand. The board's edges stop the cursor and a held arrow goes on moving it, but a
// held laying key lays one pipe however long it repeats (the Enter that closed a box, for one).
TEST(FenetrePrincipale, LecteurDEcranFlechesEtToucheTenue) {
    Fenetre f;
    f.Faire("menuJouer");
    f.form->Modele().Cellules()[63] = {Croix, "Vv", "8vv.bmp", true};
    f.form->Modele().Cellules()[76] = {13, "x", "13r.bmp", true};
    f.form->Rafraichir();
    QStringList lus{Lu(f.form->Case(63)), Lu(f.form->Case(76))};
    for (const char* nom : {"BlocSuivant", "BlocSuivant2", "BlocSuivant3", "LabelNiveau"})
        lus << Lu(f.W<QWidget>(nom)) + "=" + Lu(f.W<QWidget>(nom), QAccessible::Value);
    EXPECT_EQ(lus, (QStringList{"Ligne 5, colonne 4 : croisement, canal vertical rempli de vert",
                                "Ligne 6, colonne 2 : arrivée du liquide rouge, rempli de rouge",
                                "Tuyau en main : coude droite-bas=", "Tuyau suivant : tuyau horizontal=",
                                "Tuyau d'après : croisement=", "Niveau=1"}));
    const std::tuple<int, std::string_view, const char*> cas[] = {
        {0, "gh", "0"},  {0, "ddb", "17"},          {14, "d", "14"},
        {15, "g", "15"}, {119, "db", "119"},        {112, "hhh", "67"},
        {1, "dG", "1"},  {1, "E", "1 0.bmp 4.bmp"}, {1, "eEE", "1 4.bmp 2.bmp"}};
    const Qt::Key touches[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Return};
    for (const auto& [depart, frappe, attendu] : cas) {
        QTest::mouseMove(f.form->centralWidget(), QPoint(2, 2)); // comes over the cell from elsewhere
        QTest::mouseMove(f.form->Case(depart));
        for (const char t : frappe)
            QTest::simulateEvent(f.form->windowHandle(), true,
                                 touches[std::string_view("gdhbe").find(char(t | 32))], {}, {}, t < 'a');
        const int c = f.form->Curseur();
        EXPECT_EQ(QString::number(c) +
                      (frappe.find_first_of("eE") == std::string_view::npos
                           ? QString()
                           : " " + f.form->Case(c)->NomImage() + " " + f.form->Bloc(0)->NomImage()),
                  QString(attendu))
            << depart << " " << frappe;
    }
    f.Faire("P");
    EXPECT_EQ(Lu(f.W<QPushButton>("Pause"), QAccessible::Description), "Reprend la partie. Raccourci : P");
}

// Each command shows its window with its title and text; a second command brings it to the
// front, not built again. Each is a window of its own (no parent, nothing it is transient for, so
// the main window can come over it), an ordinary one with a close box, not modal; its bordered
// captions keep two clear pixels inside their one-pixel box (their texts are in test_textes.cpp).
// The rules show the board's own tiles for the pieces they name. Closed by its box a window is gone and its
// command builds it again; Ctrl+Q from any of them closes and deletes everything, and so does the main
// window's end.
TEST(Fenetres, ChaqueCommandeMontreSaFenetreIndependante) {
    Fenetre f;
    const std::tuple<const char*, const char*, const char*> textes[] = {
        {"Canalisor - Scores", "Label2", "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n"},
        {"Canalisor - A propos", "Label1",
         "Canalisor version 2.12\nLicence : GPL-3.0-or-later\nAoût 2016\ncanalisor@example.org\n"
         "https://example.org/canalisor"},
        {"Canalisor - Règles", "Label2", "Règles du jeu"},
    };
    auto cotes = f.Ouvrir();
    for (std::size_t k = 0; k < cotes.size(); ++k) {
        const auto& [titre, label, texte] = textes[k];
        QWidget* w = cotes[k];
        const auto drapeaux = Qt::WindowType_Mask | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint |
                              Qt::WindowContextHelpButtonHint;
        const bool seule = w->isVisible() && !w->parentWidget() && !w->windowHandle()->transientParent() &&
                           w->windowModality() == Qt::NonModal &&
                           (w->windowFlags() & drapeaux) == (Qt::Window | Qt::WindowCloseButtonHint);
        EXPECT_EQ(w->windowTitle() + "|" + f.W(label, w)->text() + (seule ? "" : "|pas une fenetre a part"),
                  QString(titre) + "|" + texte);
    }
    for (const char* nom : {"l1", "l2", "l3", "l4", "Label2"}) { // the pixel beyond the two clear ones
        QWidget* fenetre = cotes[nom[0] == 'l' ? 2 : 0];
        const QRect l = f.W(nom, fenetre)->geometry();
        for (const QPoint coin : {l.topLeft() - QPoint(3, 3), l.bottomRight() + QPoint(3, 3)}) {
            const auto* cadre = qobject_cast<QFrame*>(fenetre->childAt(coin));
            EXPECT_TRUE(cadre && !qobject_cast<const QLabel*>(cadre) && cadre->frameWidth() == 1) << nom;
        }
    }
    f.Faire("menuRecord");
    QCoreApplication::processEvents(); // activation goes through the window system's queue
    EXPECT_EQ(QGuiApplication::focusWindow(), cotes[0]->windowHandle());
    for (const auto& [nom, tuile] :
         {std::pair{"i1", "1.bmp"}, {"i2", "9.bmp"}, {"i3", "10.bmp"}, {"i4", "11.bmp"}})
        EXPECT_EQ(f.W(nom, cotes[2])->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  QImage(CANALISOR_DOSSIER_TUILES + QString(tuile)).convertToFormat(QImage::Format_RGB32))
            << nom;

    // A box opens over the window as the game has just left it: the first try lost at level 1.
    f.dialogues.vue = [&] { return f.W("LabelNiveau")->text() + "/" + f.W("LabelEssais")->text(); };
    f.Faire("menuJouer");
    for (int tics = 0; f.dialogues.vus.isEmpty() && tics < 100; ++tics)
        f.form->Tic();
    EXPECT_EQ(f.dialogues.vus, QStringList{"1/1 Dommage! Vous avez perdu."});

    // Closed by its box, a window alone is gone; Ctrl+Q from one, or the main window's end, ends all.
    for (const char* fin : {"boite", "Ctrl+Q", "fin"}) {
        cotes = f.Ouvrir();
        fin[0] == 'b'   ? void(cotes[2]->close())
        : fin[0] == 'C' ? QTest::keySequence(cotes[2]->windowHandle(), QKeySequence(QString(fin)))
                        : f.form.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(std::ranges::count_if(cotes, &QPointer<QWidget>::isNull), fin[0] == 'b' ? 1 : 3) << fin;
    }
}

} // namespace
} // namespace canalisor::test
