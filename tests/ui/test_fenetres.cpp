// The windows in a scripted world (scripted chance, clock and dialogs, an in-memory best-scores
// file, the build's tiles where it draws them): the commands each state of a game offers, the
// board as the mouse, the keyboard and a screen reader reach it, and the side windows beside the
// main one.
#include <algorithm>
#include <functional>

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
#include "MondeScripte.h"

// gtest prints text, not bytes.
void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << texte.toStdString();
}

namespace canalisor::test {
namespace {

// Scripted boxes that also note, as each opens, the level and the tries the window shows then.
struct Boites : DialoguesScriptes {
    void Message(const std::string& texte, Icone icone) override {
        vus << vue() + " " + QString::fromStdString(texte);
        DialoguesScriptes::Message(texte, icone);
    }
    std::function<QString()> vue = [] { return QString(); };
    QStringList vus;
};

// The window started up, shown and active as shortcuts need, with 4, 2 and 8 to come as pipes.
// The file lists the worked example worst first, so that the record and the scores window must
// rank it.
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
    QString Texte(const char* label) const { return W(label)->text(); }
    QString EnMain() const { return form->Bloc(0)->NomImage(); }
    void Commande(const char* action) const { W<QAction>(action)->trigger(); }
    // Keys typed in the main window, which the player has first brought to the front.
    void Raccourci(const char* touches) const {
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QTest::keySequence(form->windowHandle(), QKeySequence(QString::fromLatin1(touches)));
    }
    // One key pressed and released, as the keyboard sends it; `tenue` for a key held down.
    void Touche(Qt::Key touche, Qt::KeyboardModifiers modificateurs = {}, bool tenue = false) const {
        QTest::simulateEvent(form->windowHandle(), true, touche, modificateurs, {}, tenue);
        QTest::simulateEvent(form->windowHandle(), false, touche, modificateurs, {}, tenue);
    }
    // The mouse comes over the cell from another one.
    void Survoler(int cellule) const {
        QTest::mouseMove(form->Case(cellule == 0 ? 1 : 0));
        QTest::mouseMove(form->Case(cellule));
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    Boites dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::FenetrePrincipale> form = std::make_unique<ui::FenetrePrincipale>(
        hasard, horloge, dialogues, memoire, QString::fromUtf8(CANALISOR_DOSSIER_TUILES));
};

QAccessibleInterface* Accessible(QObject* objet) {
    return QAccessible::queryAccessibleInterface(objet);
}

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    return Accessible(objet)->text(quoi);
}

// ---- The commands each state offers --------------------------------------------------

// What the main window shows after a gesture.
struct Vue {
    const char* pause; // the Pause button's caption
    bool pausePossible;
    bool vannesPossible;
    bool difficultePossible; // the difficulty submenu
    const char* coche;       // the difficulty that carries the check mark
    const char* difficulte;  // LabelDiff
    const char* temps;       // LabelTemps
    bool horloge;            // the clock runs
    const char* enMain;      // the picture of the pipe in hand
};

void Verifier(const Fenetre& f, const Vue& vue) {
    const QPushButton* pause = f.W<QPushButton>("Pause");
    const QPushButton* vannes = f.W<QPushButton>("Vannes");
    EXPECT_EQ(pause->text(), QString::fromUtf8(vue.pause)) << "the Pause button says what a press would do";
    EXPECT_EQ(pause->isEnabled(), vue.pausePossible)
        << "a game may pause from its level's start until the valves open or the game stops";
    EXPECT_EQ(vannes->isEnabled(), vue.vannesPossible)
        << "the valves open once a level, not while paused, not once the game stops";
    EXPECT_EQ(vannes->text(), "Vannes max.") << "the valves button's caption never changes";
    const QMenu* difficulte = f.W<QMenu>("menuDifficulte");
    EXPECT_EQ(difficulte->menuAction()->isEnabled(), vue.difficultePossible)
        << "the difficulty is chosen between games only";
    QStringList coches;
    for (const QAction* a : difficulte->actions())
        if (a->isChecked())
            coches << a->text().remove('&');
    EXPECT_EQ(coches, QStringList{QString::fromUtf8(vue.coche)})
        << "one check mark, on the difficulty that applies";
    EXPECT_EQ(f.Texte("LabelDiff"), QString::fromUtf8(vue.difficulte))
        << "the difficulty shown is the one that applies";
    EXPECT_EQ(f.Texte("LabelTemps"), QString::fromUtf8(vue.temps))
        << "the countdown in seconds, none before a game";
    EXPECT_EQ(f.horloge.enMarche, vue.horloge) << "the clock runs while a game counts, unpaused";
    EXPECT_EQ(f.EnMain(), QString::fromUtf8(vue.enMain)) << "the pipe in hand, none before a game";
    for (const char* toujours :
         {"menuJouer", "menuArreter", "menuRecord", "menuQuitter", "menuRegles", "menuAbout"})
        EXPECT_TRUE(f.W<QAction>(toujours)->isEnabled()) << toujours << " is offered in every state";
}

using Geste = std::function<void(Fenetre&)>;
Geste Commande(const char* action) {
    return [action](Fenetre& f) { f.Commande(action); };
}
Geste Raccourci(const char* touches) {
    return [touches](Fenetre& f) { f.Raccourci(touches); };
}
Geste Bouton(const char* nom) {
    return [nom](Fenetre& f) { QTest::mouseClick(f.W<QPushButton>(nom), Qt::LeftButton); };
}
Geste Clic(int cellule) {
    return [cellule](Fenetre& f) { QTest::mouseClick(f.form->Case(cellule), Qt::LeftButton); };
}
const Geste Tic = [](Fenetre& f) { f.form->Tic(); };

// Cells 1 and 2 are empty on the first level of this scripted world.
TEST(FenetrePrincipale, ChaqueEtatDeLaPartieOffreSesCommandes) {
    // clang-format off
    const Vue avant{.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
                    .coche = "Moyen (2)", .difficulte = "2", .temps = "", .horloge = false, .enMain = ""};
    const Vue compte{.pause = "Pause", .pausePossible = true, .vannesPossible = true, .difficultePossible = false,
                     .coche = "Facile (1)", .difficulte = "1", .temps = "79", .horloge = true, .enMain = "2.bmp"};
    const Vue enPause{.pause = "Retour", .pausePossible = true, .vannesPossible = false, .difficultePossible = false,
                      .coche = "Facile (1)", .difficulte = "1", .temps = "79", .horloge = false, .enMain = "2.bmp"};
    const struct {
        const char* geste;
        Geste faire;
        Vue vue;
    } etapes[] = {
        {"start-up: no game, difficulty 2", [](Fenetre&) {}, avant},
        {"P before any game: there is nothing to pause", Raccourci("P"), avant},
        {"V before any game: there are no valves to open", Raccourci("V"), avant},
        {"Arrêter la partie before any game changes nothing", Commande("menuArreter"), avant},
        {"Facile (1) between games applies difficulty 1", Commande("menuFacile"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
          .coche = "Facile (1)", .difficulte = "1", .temps = "", .horloge = false, .enMain = ""}},
        {"Ctrl+N starts a game: 80 s at difficulty 1, the difficulty locked", Raccourci("Ctrl+N"),
         {.pause = "Pause", .pausePossible = true, .vannesPossible = true, .difficultePossible = false,
          .coche = "Facile (1)", .difficulte = "1", .temps = "80", .horloge = true, .enMain = "4.bmp"}},
        {"a tick counts down one second", Tic,
         {.pause = "Pause", .pausePossible = true, .vannesPossible = true, .difficultePossible = false,
          .coche = "Facile (1)", .difficulte = "1", .temps = "79", .horloge = true, .enMain = "4.bmp"}},
        {"a click on an empty cell lays the pipe in hand and the next one comes", Clic(1), compte},
        {"Moyen (2) during a game changes nothing", Commande("menuMoyen"), compte},
        {"Meilleurs scores during a game: the clock runs on", Commande("menuRecord"), compte},
        {"Règles during a game: the clock runs on", Commande("menuRegles"), compte},
        {"A propos during a game: the clock runs on", Commande("menuAbout"), compte},
        {"a click on Pause stops the clock; the button offers Retour, the valves wait", Bouton("Pause"), enPause},
        {"a tick while paused counts nothing", Tic, enPause},
        {"a click while paused lays nothing", Clic(2), enPause},
        {"V while paused opens nothing", Raccourci("V"), enPause},
        {"P resumes where the count stopped", Raccourci("P"), compte},
        {"P pauses again", Raccourci("P"), enPause},
        {"Arrêter la partie while paused: Pause again but disabled, the difficulty free", Commande("menuArreter"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
          .coche = "Facile (1)", .difficulte = "1", .temps = "79", .horloge = false, .enMain = "2.bmp"}},
        {"Moyen (2) after the stop applies difficulty 2", Commande("menuMoyen"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
          .coche = "Moyen (2)", .difficulte = "2", .temps = "79", .horloge = false, .enMain = "2.bmp"}},
        {"Nouvelle partie: 60 s at difficulty 2", Commande("menuJouer"),
         {.pause = "Pause", .pausePossible = true, .vannesPossible = true, .difficultePossible = false,
          .coche = "Moyen (2)", .difficulte = "2", .temps = "60", .horloge = true, .enMain = "4.bmp"}},
        {"Arrêter la partie while counting: the clock stops, the board stays", Commande("menuArreter"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
          .coche = "Moyen (2)", .difficulte = "2", .temps = "60", .horloge = false, .enMain = "4.bmp"}},
        {"Difficile (3) between games applies difficulty 3", Commande("menuDifficile"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = true,
          .coche = "Difficile (3)", .difficulte = "3", .temps = "60", .horloge = false, .enMain = "4.bmp"}},
        {"F2 starts a game: 40 s at difficulty 3", Raccourci("F2"),
         {.pause = "Pause", .pausePossible = true, .vannesPossible = true, .difficultePossible = false,
          .coche = "Difficile (3)", .difficulte = "3", .temps = "40", .horloge = true, .enMain = "4.bmp"}},
        {"a click on Vannes max.: the next tick flows, and the game can no longer pause", Bouton("Vannes"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = false,
          .coche = "Difficile (3)", .difficulte = "3", .temps = "1", .horloge = true, .enMain = "4.bmp"}},
        {"P with the valves open does nothing", Raccourci("P"),
         {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = false,
          .coche = "Difficile (3)", .difficulte = "3", .temps = "1", .horloge = true, .enMain = "4.bmp"}},
    };
    // clang-format on
    Fenetre f;
    for (const auto& [geste, faire, vue] : etapes) {
        SCOPED_TRACE(geste);
        faire(f);
        Verifier(f, vue);
    }
}

// Each box opens over the board as the game has just left it, and the record, with its holder
// as its tooltip, follows the file: the best of the file at start-up, a new best once written.
TEST(FenetrePrincipale, BoitesEtRecordSurLaPartieQuiVientDeSeJouer) {
    Fenetre f;
    EXPECT_EQ(f.Texte("LabelRecord"), "1500") << "the record is the best score of the file";
    EXPECT_EQ(f.W("LabelRecord")->toolTip(), "Marie") << "the record's tooltip names its holder";
    f.dialogues.vue = [&f] { return f.Texte("LabelNiveau") + "/" + f.Texte("LabelEssais"); };
    f.dialogues.reponses = {"Zoé"};
    f.Commande("menuJouer");
    for (int tics = 0; f.dialogues.vus.isEmpty() && tics < 1000; ++tics)
        f.form->Tic();
    EXPECT_EQ(f.dialogues.vus, QStringList{"1/1 Dommage! Vous avez perdu."})
        << "the lost try's box shows over the level and tries the game has just left";
    f.form->Modele().Etat().Score = 2000;
    for (int tics = 0; f.horloge.enMarche && tics < 1000; ++tics)
        f.form->Tic();
    EXPECT_EQ(f.dialogues.invites.size(), 1u) << "a final score above the record asks for a name";
    EXPECT_EQ(f.Texte("LabelRecord"), "2002") << "the record shown is the new best";
    EXPECT_EQ(f.W("LabelRecord")->toolTip(), "Zoé") << "the record's tooltip names its new holder";
    // clang-format off
    Verifier(f, {.pause = "Pause", .pausePossible = false, .vannesPossible = false, .difficultePossible = false,
                 .coche = "Moyen (2)", .difficulte = "2", .temps = "10", .horloge = false, .enMain = "4.bmp"});
    // clang-format on
}

// ---- The board: mouse, keyboard, screen reader ----------------------------------------

// From every cell, each arrow, from the main keys, the keypad or held down, moves the cursor to
// the neighbouring cell; where the board ends the cursor stays, never wrapping to another row. An
// arrow with Ctrl or Shift is someone else's key. The cursor's frame shows once a key is used, on
// its cell only: a player who only uses the mouse never sees it.
TEST(Plateau, ChaqueFlecheMeneAuVoisinEtSArreteAuBord) {
    const struct {
        const char* nom;
        Qt::Key touche;
        int colonnes, lignes;
    } fleches[] = {{"Left", Qt::Key_Left, -1, 0},
                   {"Right", Qt::Key_Right, 1, 0},
                   {"Up", Qt::Key_Up, 0, -1},
                   {"Down", Qt::Key_Down, 0, 1}};
    const struct {
        const char* nom;
        Qt::KeyboardModifiers modificateurs;
        bool tenue;
        bool bouge;
    } facons[] = {{"", {}, false, true},
                  {" on the keypad", Qt::KeypadModifier, false, true},
                  {" held down", {}, true, true},
                  {" with Ctrl", Qt::ControlModifier, false, false},
                  {" with Shift", Qt::ShiftModifier, false, false}};
    Fenetre f;
    f.Survoler(31);
    for (int c = 0; c < 120; ++c)
        EXPECT_FALSE(f.form->Case(c)->CadreVisible())
            << "cell " << c << ": no frame while only the mouse moves";
    for (int cellule = 0; cellule < 120; ++cellule) {
        const int colonne = cellule % 15;
        const int ligne = cellule / 15;
        for (const auto& [nom, touche, colonnes, lignes] : fleches)
            for (const auto& [facon, modificateurs, tenue, bouge] : facons) {
                f.Survoler(cellule);
                f.Touche(touche, modificateurs, tenue);
                const bool surLePlateau = colonne + colonnes >= 0 && colonne + colonnes < 15 &&
                                          ligne + lignes >= 0 && ligne + lignes < 8;
                EXPECT_EQ(f.form->Curseur(),
                          surLePlateau && bouge ? cellule + colonnes + 15 * lignes : cellule)
                    << nom << facon << " from cell " << cellule << " (row " << ligne << ", column " << colonne
                    << "): the neighbour, or the same cell at the board's edge";
            }
    }
    for (int c = 0; c < 120; ++c)
        EXPECT_EQ(f.form->Case(c)->CadreVisible(), c == f.form->Curseur())
            << "cell " << c << ": the frame is the cursor's";
}

// Every way of laying at a cell does what a click does there: an empty cell takes the pipe in
// hand, and the next pipe comes; a piece laid by the level takes nothing, and the queue stays.
// The ways that are not a click lay nothing anywhere. Before the first game nothing lays.
TEST(Plateau, ClavierEtLecteurDEcranPosentCommeUnClic) {
    using Poser = std::function<void(Fenetre&, int)>;
    const auto touche = [](Qt::Key t, Qt::KeyboardModifiers m, bool tenue) -> Poser {
        return [=](Fenetre& f, int cellule) {
            f.Survoler(cellule);
            f.Touche(t, m, tenue);
        };
    };
    // Pressed on the cell, released at (x, y) cell sizes from its top left corner.
    const auto relacher = [](double x, double y) -> Poser {
        return [=](Fenetre& f, int c) {
            const QSize taille = f.form->Case(c)->size();
            QTest::mousePress(f.form->Case(c), Qt::LeftButton);
            QTest::mouseRelease(
                f.form->Case(c), Qt::LeftButton, {},
                QPoint(static_cast<int>(x * taille.width()), static_cast<int>(y * taille.height())));
        };
    };
    const struct {
        const char* nom;
        bool pose;
        Poser poser;
    } manieres[] = {
        {"a mouse click", true,
         [](Fenetre& f, int c) { QTest::mouseClick(f.form->Case(c), Qt::LeftButton); }},
        {"the screen reader's press action", true,
         [](Fenetre& f, int c) {
             Accessible(f.form->Case(c))
                 ->actionInterface()
                 ->doAction(QAccessibleActionInterface::pressAction());
         }},
        {"Return on the cursor", true, touche(Qt::Key_Return, {}, false)},
        {"the keypad's Enter on the cursor", true, touche(Qt::Key_Enter, Qt::KeypadModifier, false)},
        {"Space on the cursor", true, touche(Qt::Key_Space, {}, false)},
        {"Return held down, as the Enter that closed a box", false, touche(Qt::Key_Return, {}, true)},
        {"Space held down", false, touche(Qt::Key_Space, {}, true)},
        {"Ctrl+Return, someone else's key", false, touche(Qt::Key_Return, Qt::ControlModifier, false)},
        {"the left button released off the cell it pressed", false, relacher(0.5, -0.4)},
        {"the left button released on the next cell", false, relacher(1.5, 0.5)},
        {"the right button", false,
         [](Fenetre& f, int c) { QTest::mouseClick(f.form->Case(c), Qt::RightButton); }},
    };
    for (const auto& [nom, pose, poser] : manieres) {
        SCOPED_TRACE(nom);
        Fenetre f;
        poser(f, 17);
        EXPECT_EQ(f.form->Case(17)->NomImage(), "") << "before the first game the board takes nothing";
        f.Commande("menuJouer");
        int poses = 0;
        for (int c = 0; c < 120; ++c) {
            const QString avant = f.form->Case(c)->NomImage();
            const QStringList file{f.EnMain(), f.form->Bloc(1)->NomImage(), f.form->Bloc(2)->NomImage()};
            poser(f, c);
            const bool vide = pose && avant == "0.bmp";
            poses += vide;
            EXPECT_EQ(f.form->Case(c)->NomImage(), vide ? file[0] : avant) << "cell " << c;
            EXPECT_EQ(f.EnMain(), file[vide ? 1 : 0])
                << "cell " << c << ": a pipe laid, the next comes to hand";
            EXPECT_EQ(f.form->Bloc(1)->NomImage(), file[vide ? 2 : 1]) << "cell " << c;
        }
        EXPECT_GE(poses, pose ? 100 : 0) << "the first level leaves most cells empty";
    }
}

// A screen reader hears each cell as its place and what its picture shows: every piece, empty
// and filled with each liquid it can hold, each cross with its two channels.
TEST(LecteurDEcran, ChaquePieceVideOuRemplieASonNom) {
    // clang-format off
    const char* const pieces[21] = {
        "case vide", "obstacle", "tuyau horizontal", "tuyau vertical", "coude droite-bas", "coude gauche-bas",
        "coude gauche-haut", "coude droite-haut", "croisement",
        "départ du liquide bleu", "arrivée du liquide bleu", "porte du liquide bleu",
        "départ du liquide rouge", "arrivée du liquide rouge", "porte du liquide rouge",
        "départ du liquide vert", "arrivée du liquide vert", "porte du liquide vert",
        "départ du liquide jaune", "arrivée du liquide jaune", "porte du liquide jaune"};
    // clang-format on
    const std::pair<QString, QString> liquides[4] = {
        {"b", "bleu"}, {"r", "rouge"}, {"v", "vert"}, {"j", "jaune"}};
    std::vector<std::pair<QString, QString>> tuiles; // a picture, what a screen reader says of it
    for (int code = 0; code <= 20; ++code)
        tuiles.emplace_back(QString::number(code) + ".bmp", QString::fromUtf8(pieces[code]));
    for (int code = 2; code <= 7; ++code)
        for (const auto& [lettre, couleur] : liquides)
            tuiles.emplace_back(QString::number(code) + lettre + ".bmp",
                                pieces[code] + (", rempli de " + couleur));
    for (int code = 9; code <= 20; ++code) {
        const auto& [lettre, couleur] = liquides[(code - 9) / 3];
        tuiles.emplace_back(QString::number(code) + lettre + ".bmp",
                            QString::fromUtf8(pieces[code]) + ", rempli de " + couleur);
    }
    for (int h = -1; h < 4; ++h)
        for (int v = -1; v < 4; ++v) {
            if (h < 0 && v < 0)
                continue;
            QString image = "8";
            QString nom = "croisement";
            if (h == v)
                image += liquides[h].first;
            if (h >= 0 && h != v)
                image += "h" + liquides[h].first;
            if (v >= 0 && h != v)
                image += "v" + liquides[v].first;
            if (h >= 0)
                nom += ", canal horizontal rempli de " + liquides[h].second;
            if (v >= 0)
                nom += ", canal vertical rempli de " + liquides[v].second;
            tuiles.emplace_back(image + ".bmp", nom);
        }
    ASSERT_EQ(tuiles.size(), 81u);

    Fenetre f;
    EXPECT_EQ(Lu(f.form->Case(0)), "Ligne 1, colonne 1 : case vide") << "before the first game";
    EXPECT_EQ(Lu(f.form->Case(119)), "Ligne 8, colonne 15 : case vide") << "before the first game";
    for (int c = 0; c < 120; ++c)
        EXPECT_FALSE(f.form->Case(c)->isEnabled()) << "cell " << c << " takes nothing before the first game";
    f.Commande("menuJouer");
    for (std::size_t k = 0; k < tuiles.size(); ++k)
        f.form->Modele().Cellules()[k + 39] = {Vide, "", tuiles[k].first.toStdString(), true};
    f.form->Rafraichir();
    for (std::size_t k = 0; k < tuiles.size(); ++k) {
        const int c = static_cast<int>(k) + 39;
        EXPECT_FALSE(f.form->Case(c)->Remplacee())
            << tuiles[k].first.toStdString() << " is one of the build's tiles";
        EXPECT_EQ(Lu(f.form->Case(c)),
                  QString("Ligne %1, colonne %2 : ").arg(c / 15 + 1).arg(c % 15 + 1) + tuiles[k].second)
            << "cell " << c << " showing " << tuiles[k].first.toStdString();
        EXPECT_EQ(Accessible(f.form->Case(c))->role(), QAccessible::Button)
            << "a cell is pressed as a button";
    }

    // The three next pipes, each named by its place in the queue.
    const char* const blocs[] = {"BlocSuivant", "BlocSuivant2", "BlocSuivant3"};
    for (int code = 2; code <= 8; ++code) {
        auto& etat = f.form->Modele().Etat();
        etat.Tuyau1 = etat.Tuyau2 = etat.Tuyau3 = static_cast<std::int16_t>(code);
        f.form->Rafraichir();
        const QString piece = QString::fromUtf8(pieces[code]);
        EXPECT_EQ(Lu(f.W<QWidget>(blocs[0])), "Tuyau en main : " + piece);
        EXPECT_EQ(Lu(f.W<QWidget>(blocs[1])), "Tuyau suivant : " + piece);
        EXPECT_EQ(Lu(f.W<QWidget>(blocs[2])), QString::fromUtf8("Tuyau d'après : ") + piece);
    }
    for (const char* bloc : blocs) {
        EXPECT_EQ(Accessible(f.W<QWidget>(bloc))->role(), QAccessible::Graphic) << bloc << " only shows";
        EXPECT_EQ(Accessible(f.W<QWidget>(bloc))->actionInterface()->actionNames(), QStringList())
            << bloc << " cannot be pressed";
    }
}

// A counter is heard as what it counts and the number it shows; no number before a game, and
// no negative count of tries once the last one is lost.
TEST(LecteurDEcran, ChaqueCompteurDitCeQuIlCompteEtSaValeur) {
    const char* const compteurs[6][2] = {{"LabelNiveau", "Niveau"},   {"LabelEssais", "Essais"},
                                         {"LabelScore", "Score"},     {"LabelRecord", "Record"},
                                         {"LabelDiff", "Difficulté"}, {"LabelTemps", "Temps"}};
    const struct {
        const char* etat;
        int niveau, essais, score, temps;
        const char* valeurs[6]; // in the order of the counters above
    } cas[] = {
        {"before any game", 0, 0, 0, 0, {"", "", "", "1500", "2", ""}},
        {"during a game", 7, 3, 450, 37, {"7", "3", "450", "1500", "2", "37"}},
        {"the last try lost", 4, -1, 30000, 10, {"4", "0", "30000", "1500", "2", "10"}},
    };
    Fenetre f;
    for (const auto& [nom, niveau, essais, score, temps, valeurs] : cas) {
        SCOPED_TRACE(nom);
        auto& etat = f.form->Modele().Etat();
        etat.Niveau = static_cast<std::int16_t>(niveau);
        etat.Essais = static_cast<std::int16_t>(essais);
        etat.Score = score;
        etat.Temps = static_cast<std::int16_t>(temps);
        f.form->Rafraichir();
        for (std::size_t k = 0; k < 6; ++k) {
            QLabel* compteur = f.W(compteurs[k][0]);
            EXPECT_EQ(compteur->text(), QString(valeurs[k])) << compteurs[k][0];
            EXPECT_EQ(Lu(compteur), QString::fromUtf8(compteurs[k][1])) << compteurs[k][0];
            EXPECT_EQ(Lu(compteur, QAccessible::Value), QString(valeurs[k])) << compteurs[k][0];
        }
    }
}

// ---- Side windows --------------------------------------------------------------------

// The rules show the board's own tiles for the pieces their captions name (the texts themselves
// are in test_textes.cpp).
TEST(Fenetres, LesImagesDesReglesSontLesTuilesDuPlateau) {
    Fenetre f;
    f.form->MontrerRegles();
    for (const auto& [image, tuile] :
         {std::pair{"i1", "1.bmp"}, {"i2", "9.bmp"}, {"i3", "10.bmp"}, {"i4", "11.bmp"}})
        EXPECT_EQ(f.W(image, f.form->Regles())->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  QImage(CANALISOR_DOSSIER_TUILES + QString(tuile)).convertToFormat(QImage::Format_RGB32))
            << image << " shows the piece " << tuile << " its caption names";
}

// Start-up builds no side window: each is built the first time its command shows it, an
// ordinary window of its own with a close box only, not modal, that nothing holds above the main
// window; a second command brings the same window to the front.
TEST(Fenetres, ChaqueCommandeMontreSaFenetreAPart) {
    Fenetre f;
    const struct {
        const char* commande;
        std::function<QWidget*()> fenetre;
    } fenetres[] = {{"menuRecord", [&f] { return f.form->Scores(); }},
                    {"menuAbout", [&f] { return f.form->APropos(); }},
                    {"menuRegles", [&f] { return f.form->Regles(); }}};
    for (const auto& [commande, fenetre] : fenetres) {
        SCOPED_TRACE(commande);
        EXPECT_EQ(fenetre(), nullptr) << "not built before its command";
        f.Commande(commande);
        ASSERT_NE(fenetre(), nullptr) << "built by its command";
        EXPECT_TRUE(fenetre()->isVisible());
        EXPECT_EQ(fenetre()->parentWidget(), nullptr) << "a window of its own: the main window may come over it";
        EXPECT_EQ(fenetre()->windowHandle()->transientParent(), nullptr)
            << "nothing keeps it above the main window";
        EXPECT_EQ(fenetre()->windowModality(), Qt::NonModal) << "the game goes on while it is open";
        EXPECT_EQ(fenetre()->windowFlags() & (Qt::WindowType_Mask | Qt::WindowCloseButtonHint |
                                              Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint),
                  Qt::Window | Qt::WindowCloseButtonHint)
            << "an ordinary window with a close box only";
    }
    for (const auto& [commande, fenetre] : fenetres) {
        SCOPED_TRACE(commande);
        const QPointer<QWidget> premiere = fenetre();
        f.Commande(commande);
        QCoreApplication::processEvents(); // activation goes through the window system's queue
        EXPECT_EQ(fenetre(), premiere.data()) << "a second command builds nothing again";
        EXPECT_EQ(QGuiApplication::focusWindow(), fenetre()->windowHandle())
            << "a second command brings it to the front";
    }
}

// The scores window shows the file as it is each time its command shows it. Closed by its box
// it is gone, the other windows stay, and its command builds it again.
TEST(Fenetres, LesScoresSontCeuxDuFichierAChaqueCommande) {
    Fenetre f;
    for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
        f.Commande(commande);
    QPointer<QWidget> scores = f.form->Scores();
    (*f.memoire.table)[0] = {"Zoé", "5000"};
    f.Commande("menuRecord");
    EXPECT_EQ(f.W("Label2", scores)->text(), "Zoé : 5000\nMarie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\n")
        << "shown again while open, it reads the file as it is now";
    scores->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(scores.isNull()) << "closed by its box, the window is gone";
    EXPECT_NE(f.form->APropos(), nullptr) << "the about window stays";
    EXPECT_NE(f.form->Regles(), nullptr) << "the rules window stays";
    (*f.memoire.table)[1] = {"Yves", "4000"};
    f.Commande("menuRecord");
    EXPECT_EQ(f.W("Label2", f.form->Scores())->text(),
              "Zoé : 5000\nYves : 4000\nMarie : 1500\nPaul : 1200\nLéa : 900\n")
        << "built again, it reads the file anew";
}

// Ctrl+Q from any side window, Quitter, or the main window's end closes and deletes every window.
TEST(Fenetres, QuitterFermeToutesLesFenetres) {
    const struct {
        const char* cas;
        bool montrees; // the side windows are shown first
        Geste finir;
    } fins[] = {
        {"Ctrl+Q from the rules window", true,
         [](Fenetre& g) {
             QTest::keySequence(g.form->Regles()->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
         }},
        {"Quitter", true, Commande("menuQuitter")},
        {"the main window's end, side windows hidden", false, [](Fenetre& g) { g.form.reset(); }},
    };
    for (const auto& [nom, montrees, finir] : fins) {
        SCOPED_TRACE(nom);
        Fenetre g;
        const QPointer<QWidget> principale = g.form.get();
        const QPointer<QWidget> cotes[] = {g.form->Scores(), g.form->APropos(), g.form->Regles()};
        for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
            if (montrees)
                g.Commande(commande);
        finir(g);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QWidget>& cote : cotes)
            EXPECT_TRUE(cote.isNull()) << "every side window is deleted";
        EXPECT_TRUE(principale.isNull() || !principale->isVisible()) << "the main window is closed";
    }
}

} // namespace
} // namespace canalisor::test
