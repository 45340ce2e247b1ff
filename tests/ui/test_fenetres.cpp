// The windows in a scripted world (scripted chance, clock and dialogs, an in-memory best-scores
// file, the build's tiles where it draws them): start-up, menus, layout, the game's state as the
// main window shows it and as mouse, keyboard and screen reader reach it, the side windows, a
// whole game down to the name typed; and the program's own message and name boxes.
#include <algorithm>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QFile>
#include <QImage>
#include <QInputDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "Form1.h"
#include "Joueur.h"
#include "MondeQt.h"
#include "MondeScripte.h"

// Without the build's tiles, every cell draws its stand-in.
#ifndef CANALISOR_DOSSIER_TUILES
#define CANALISOR_DOSSIER_TUILES "/nonexistent/"
#endif

// gtest prints text, not bytes.
void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << texte.toStdString();
}

namespace canalisor::test {
namespace {

// Scripted boxes that also note each box's icon and text, after what the window showed as it opened.
struct Boites : DialoguesScriptes {
    void Message(const std::string& texte, Icone icone) override {
        vus.append((vue ? vue() + " " : QString()) + (icone == Icone::Critique ? "(stop) " : "") +
                   QString::fromStdString(texte));
        DialoguesScriptes::Message(texte, icone);
    }
    std::function<QString()> vue;
    QStringList vus;
};

// The window started up, then shown and active as shortcuts need. The file lists the worked
// example worst first, so that the scores window must rank it. Without the file, start-up
// must fail.
struct Fenetre {
    explicit Fenetre(bool fichier = true) : hasard(1) {
        if (fichier) {
            memoire.table = TableExemple();
            std::ranges::reverse(*memoire.table);
        }
        EXPECT_EQ(form->Form_Load(), fichier);
        if (!fichier)
            return;
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    // The widget of that name in the main window, or in `dans`.
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        T* w = (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
        EXPECT_NE(w, nullptr) << nom;
        return w;
    }
    // The mouse comes over cell i from elsewhere, which puts the keyboard's cursor there.
    void Survoler(int i) const {
        QTest::mouseMove(form->centralWidget(), QPoint(2, 2));
        QTest::mouseMove(form->Case(i));
    }

    HasardScripte hasard;
    HorlogeScriptee horloge;
    Boites dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::Form1> form = std::make_unique<ui::Form1>(
        hasard, horloge, dialogues, memoire, QString::fromUtf8(CANALISOR_DOSSIER_TUILES));
};

// A game at level 1 with 4, 2 and 8 in the boxes.
struct EnJeu : ::testing::Test {
    void SetUp() override {
        for (int tuyau : {4, 2, 8})
            f.hasard.AjouterTuyau(tuyau);
        f.W<QAction>("menuJouer")->trigger();
    }
    Fenetre f;
};

// Its constructor checks that start-up fails; the box that says why was passed on.
TEST(Form1, SansFichierDeScoresLeDemarrageEchoue) {
    EXPECT_EQ(
        Fenetre(false).dialogues.vus,
        QStringList{"(stop) Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu."});
}

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
}

TEST_F(EnJeu, MenusDispositionEtTextesQuiTiennent) {
    // "Règles" and "A propos" are commands of the bar itself: no menu drops down.
    EXPECT_EQ(Arbre(f.form->menuBar()->actions()),
              "Fichier[Nouvelle partie, Arrêter la partie, Niveau de difficulté[Facile (1), Moyen (2), "
              "Difficile (3)], Meilleurs scores, Quitter], Règles, A propos");
    EXPECT_EQ(f.form->centralWidget()->size(), QSize(1218, 738));
    // The corner cells: index, left, top; each is 81 pixels square.
    const std::array<int, 3> coins[] = {{0, 8, 88}, {14, 1128, 88}, {105, 8, 648}, {119, 1128, 648}};
    for (const auto& [i, x, y] : coins)
        EXPECT_EQ(f.form->Case(i)->geometry(), QRect(x, y, 81, 81)) << i;
    // Every label of the four windows.
    QList<QLabel*> labels = f.form->findChildren<QLabel*>();
    for (const QWidget* cote : std::initializer_list<QWidget*>{
             f.form->FenetreScores(), f.form->FenetreAPropos(), f.form->FenetreRegles()})
        labels += cote->findChildren<QLabel*>();
    for (const QLabel* l : labels) {
        const QRect zone = l->contentsRect();
        const int drapeaux = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect texte = QFontMetrics(l->font()).boundingRect(zone, drapeaux, l->text().trimmed());
        EXPECT_EQ(zone | texte, zone) << l->objectName().toStdString();
    }
}

// Pause and Vannes max. (caption, enabled), the difficulty menu (check marks, enabled), the time
// shown, and the clock.
QString Etat(const Fenetre& f) {
    QString etat;
    for (const QPushButton* b : {f.W<QPushButton>("Pause"), f.W<QPushButton>("Maxi")})
        etat += b->text() + (b->isEnabled() ? "+ | " : "- | ");
    const QMenu* difficulte = f.W<QMenu>("menuDifficulte");
    for (const QAction* a : difficulte->actions())
        etat += a->isChecked() ? "x" : "-";
    etat += difficulte->menuAction()->isEnabled() ? "+ | " : "- | ";
    return etat + f.W("LabelTemps")->text() + (f.horloge.enMarche ? " | en marche" : " | arrêtée");
}

// Each gesture is keys typed or a menu item chosen; the buttons' clicks are the whole game's. Each
// difficulty item applies its own difficulty, and none while a game runs.
TEST(Form1, BoutonsMenusEtRaccourcisSuiventLaPartie) {
    const std::pair<std::string_view, const char*> etapes[] = {
        {"P", "Pause- | Vannes max.- | -x-+ |  | arrêtée"}, // no game: no button, so no letter
        {"V", "Pause- | Vannes max.- | -x-+ |  | arrêtée"},
        {"menuFacile", "Pause- | Vannes max.- | x--+ |  | arrêtée"},
        {"Ctrl+N", "Pause+ | Vannes max.+ | x--- | 80 | en marche"},
        {"menuMoyen", "Pause+ | Vannes max.+ | x--- | 80 | en marche"},
        {"P", "Retour+ | Vannes max.- | x--- | 80 | arrêtée"},
        {"P", "Pause+ | Vannes max.+ | x--- | 80 | en marche"},
        {"menuArreter", "Pause- | Vannes max.- | x--+ | 80 | arrêtée"},
        {"menuMoyen", "Pause- | Vannes max.- | -x-+ | 80 | arrêtée"},
        {"Ctrl+N", "Pause+ | Vannes max.+ | -x-- | 60 | en marche"},
        {"menuArreter", "Pause- | Vannes max.- | -x-+ | 60 | arrêtée"},
        {"menuDifficile", "Pause- | Vannes max.- | --x+ | 60 | arrêtée"},
        {"F2", "Pause+ | Vannes max.+ | --x- | 40 | en marche"},
        {"V", "Pause- | Vannes max.- | --x- | 1 | en marche"},
    };
    Fenetre f;
    for (const auto& [geste, etat] : etapes) {
        if (geste.starts_with("menu"))
            f.W<QAction>(geste.data())->trigger();
        else
            QTest::keySequence(f.form->windowHandle(), QKeySequence(geste.data()));
        EXPECT_EQ(Etat(f), QString::fromUtf8(etat)) << geste;
    }
}

// A click, Space or Enter lays the pipe in hand on the cell under the cursor, and the boxes
// move up; paused, neither does anything.
TEST_F(EnJeu, UnClicOuUneTouchePoseLeTuyauEnMain) {
    const Grille& grille = f.form->Modele().Cellules();
    const int vide = static_cast<int>(std::ranges::find(grille, Vide, &Cellule::Tag) - grille.begin());
    const auto images = [&] {
        return QStringList{f.form->Case(vide)->NomImage(), f.form->Bloc(0)->NomImage(),
                           f.form->Bloc(1)->NomImage(), f.form->Bloc(2)->NomImage()};
    };
    f.Survoler(vide);
    ASSERT_EQ(f.form->Curseur(), vide) << "the mouse moves the cursor";
    for (const bool enPause : {false, true}) {
        for (const Qt::Key touche : {Qt::Key_unknown, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
            const QStringList avant = images();
            if (touche == Qt::Key_unknown)
                QTest::mouseClick(f.form->Case(vide), Qt::LeftButton);
            else
                QTest::keyClick(f.form->windowHandle(), touche);
            EXPECT_EQ(images().mid(0, 3), avant.mid(enPause ? 0 : 1, 3))
                << "key " << touche << ", paused " << enPause;
        }
        f.W<QPushButton>("Pause")->click(); // pauses after the first round
    }
}

TEST_F(EnJeu, LesFlechesMenentLeCurseurEtLesBordsLArretent) {
    const std::tuple<int, std::string_view, int> cas[] = {
        {0, "gh", 0}, {0, "ddb", 17}, {14, "d", 14}, {15, "g", 15}, {119, "db", 119}, {112, "hhh", 67},
    };
    const Qt::Key fleches[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    for (const auto& [depart, touches, arrivee] : cas) {
        f.Survoler(depart);
        for (const char t : touches)
            QTest::keyClick(f.form->windowHandle(), fleches[std::string_view("gdhb").find(t)]);
        EXPECT_EQ(f.form->Curseur(), arrivee) << depart << " " << touches;
    }
}

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(objet)->text(quoi);
}

TEST_F(EnJeu, UnLecteurDEcranLitLesCasesLesBoitesLesCompteursEtLesBoutons) {
    const std::tuple<int, std::int16_t, const char*, const char*, const char*> cases[] = {
        {36, CoudeGB, "x", "5b.bmp", "Ligne 3, colonne 7 : coude gauche-bas, rempli de bleu"},
        {63, Croix, "Vv", "8vv.bmp", "Ligne 5, colonne 4 : croisement, canal vertical rempli de vert"},
        {76, 13, "x", "13r.bmp", "Ligne 6, colonne 2 : arrivée du liquide rouge, rempli de rouge"},
    };
    for (const auto& [index, code, remplissage, image, nom] : cases) {
        f.form->Modele().Cellules()[static_cast<std::size_t>(index)] = {code, remplissage, image, true};
        f.form->Rafraichir();
        EXPECT_EQ(Lu(f.form->Case(index)), nom);
    }
    QStringList lus; // name=value
    for (const char* nom : {"BlocSuivant", "BlocSuivant2", "BlocSuivant3", "LabelNiveau"})
        lus << Lu(f.W<QWidget>(nom)) + "=" + Lu(f.W<QWidget>(nom), QAccessible::Value);
    EXPECT_EQ(lus.join(" | "), "Tuyau en main : coude droite-bas= | Tuyau suivant : tuyau horizontal= | "
                               "Tuyau d'après : croisement= | Niveau=1");
    // The Pause button says what it would do, which changes with its caption.
    f.W<QPushButton>("Pause")->click();
    EXPECT_EQ(Lu(f.W<QPushButton>("Pause"), QAccessible::Description), "Reprend la partie. Raccourci : P");
}

// The side window of that name: a window of its own, not the main window's child.
QWidget* Seule(const char* nom) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(nom))
            return w;
    ADD_FAILURE() << nom;
    return nullptr;
}

TEST(Fenetres, ChaqueCommandeMontreSaFenetreQuitterLesFermeToutes) {
    const char* scores = "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n";
    const char* aPropos =
        "Canalisor version 2.12\nLicence : GPL-3.0-or-later\nAoût 2016\ncanalisor@example.org\n"
        "https://example.org/canalisor";
    const std::tuple<const char*, const char*, const char*, const char*, const char*> cas[] = {
        {"menuRecord", "Form2", "Canalisor - Scores", "Label2", scores},
        {"menuAbout", "Form3", "Canalisor - A propos", "Label1", aPropos},
        {"menuRegles", "Form4", "Canalisor - Règles", "Label2", "Règles du jeu"},
    };
    Fenetre f;
    for (const auto& [menu, nom, titre, label, texte] : cas) {
        SCOPED_TRACE(titre);
        QWidget* fenetre = Seule(nom);
        f.W<QAction>(menu)->trigger();
        f.W<QAction>(menu)->trigger();
        EXPECT_EQ(Seule(nom), fenetre) << "shown again, not built again";
        EXPECT_TRUE(fenetre->isVisible());
        EXPECT_EQ(fenetre->windowTitle(), titre);
        EXPECT_EQ(fenetre->windowFlags() &
                      (Qt::WindowType_Mask | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
                  Qt::Window | Qt::WindowCloseButtonHint);
        EXPECT_EQ(f.W(label, fenetre)->text(), texte);
    }
    // The rules as the player reads them (their MD5; printed in full on a mismatch), and the
    // pictures of the pieces they name, the same as the board's tiles.
    QStringList regles;
    for (const char* nom : {"Label2", "R1", "R2", "l1", "l2", "l3", "l4", "R3"})
        regles << f.W(nom, f.form->FenetreRegles())->text();
    EXPECT_EQ(QCryptographicHash::hash(regles.join('|').toUtf8(), QCryptographicHash::Md5).toHex(),
              "cd71621a174972c0c6d116be9f7c3b6b")
        << regles.join('|').toStdString();
    for (const auto& [nom, tuile] :
         {std::pair{"i1", "1.bmp"}, {"i2", "9.bmp"}, {"i3", "10.bmp"}, {"i4", "11.bmp"}})
        EXPECT_EQ(f.W(nom, f.form->FenetreRegles())->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  QImage(CANALISOR_DOSSIER_TUILES + QString(tuile)).convertToFormat(QImage::Format_RGB32))
            << nom;
    // "Quitter" (Ctrl+Q) closes the four windows.
    QTest::keySequence(f.form->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_FALSE(f.form->FenetreScores() || f.form->FenetreAPropos() || f.form->FenetreRegles());
}

// Level 1 passed with the valves open, level 2 lost three times with nothing laid, the name typed.
TEST(Fenetres, UnePartieJusquAuNomInscrit) {
    Fenetre f;
    f.dialogues.reponses = {"Zoé"};
    f.dialogues.vue = [&] { return f.W("LabelNiveau")->text() + "/" + f.W("LabelEssais")->text(); };
    f.W<QAction>("menuJouer")->trigger();
    JoueurScripte joueur(f.form->Modele());
    ASSERT_TRUE(joueur.Planifier());
    joueur.Poser(); // on the game itself: the clicks are the main window's tests
    QTest::mouseClick(f.W<QPushButton>("Maxi"), Qt::LeftButton);
    for (int tics = 0; f.horloge.enMarche && tics < 1000; ++tics)
        f.form->Timer1_Timer();
    // Each box opened over the window as the game had just left it.
    EXPECT_EQ(f.dialogues.vus,
              (QStringList{"1/2 Félicitations! Vous passez au niveau suivant.",
                           "2/1 (stop) Dommage! Vous avez perdu.", "2/0 (stop) Dommage! Vous avez perdu.",
                           "2/0 (stop) Dommage! Vous avez perdu."}));
    EXPECT_EQ(f.dialogues.invites,
              std::vector<std::string>{"Bravo, vous avez battu le record!\nQuel est votre nom ?"});
    // Closed, the scores window is destroyed once Qt gets to its deferred deletes; built again,
    // it reads the file the game wrote.
    f.form->FenetreScores()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.W<QAction>("menuRecord")->trigger();
    EXPECT_EQ(f.W("Label2", f.form->FenetreScores())->text(),
              "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nZoé : " + f.W("LabelScore")->text() + "\n");
}

// The program's own boxes: title, text, icon and button; the name box's title, prompt and empty
// field, and the name it hands back in the best-scores file's code page, or "" when cancelled.
TEST(Boites, TitresTextesIconesEtNom) {
    ui::DialoguesQt boites;
    std::vector<std::tuple<QString, QString, int>> vues; // title, text, icon (-1: the name box)
    const auto repondre = [&](const QString& nom, bool accepter) {
        QTimer::singleShot(0, [&vues, nom, accepter] {
            QWidget* w = QApplication::activeModalWidget();
            if (auto* b = qobject_cast<QMessageBox*>(w)) {
                vues.emplace_back(b->windowTitle(), b->text(), b->icon());
                EXPECT_EQ(b->standardButtons(), QMessageBox::Ok);
                b->accept();
            } else if (auto* d = qobject_cast<QInputDialog*>(w)) {
                vues.emplace_back(d->windowTitle(), d->labelText() + "|" + d->textValue(), -1);
                d->setTextValue(nom);
                accepter ? d->accept() : d->reject();
            } else {
                ADD_FAILURE() << "no box";
            }
        });
    };
    repondre({}, true);
    boites.Message("Dommage! Vous avez perdu.", Icone::Critique);
    repondre({}, true);
    boites.Message("Bravo", Icone::Aucune);
    repondre(QString::fromUtf8("€\u00a0Zoé"), true);
    EXPECT_EQ(boites.Saisir("Quel est votre nom ?"), "€\u00a0Zoé"); // UTF-8 inside: the file encodes it
    repondre(QStringLiteral("Zoe"), false);
    EXPECT_EQ(boites.Saisir("?"), "");
    EXPECT_EQ(vues, (std::vector<std::tuple<QString, QString, int>>{
                        {"Canalisor", "Dommage! Vous avez perdu.", QMessageBox::Critical},
                        {"Canalisor", "Bravo", QMessageBox::NoIcon},
                        {"Canalisor", "Quel est votre nom ?|", -1},
                        {"Canalisor", "?|", -1}}));
}

} // namespace
} // namespace canalisor::test
