// The windows in a scripted world (scripted chance, clock and dialogs, an in-memory best-scores
// file, the build's tiles): every text the player reads or hears, in the run's language, against
// the golden files beside this one; the captions and commands made from the game's state; the
// board as the mouse, the keyboard and a screen reader reach it; the side windows.
#include <functional>
#include <map>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include "FenetrePrincipale.h"
#include "FichierScores.h"
#include "MondeQt.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

// The main window started, shown and active as shortcuts need, with 4, 2 and 8 to come as pipes.
// The file lists the worked example worst first, so that the record and the scores window rank it.
struct Fenetre {
    explicit Fenetre(Dialogues* boites = nullptr, Palmares* fichier = nullptr)
        : form(std::make_unique<ui::FenetrePrincipale>(hasard, horloge, boites ? *boites : dialogues,
                                                       fichier ? *fichier : memoire,
                                                       QString::fromUtf8(CANALISOR_DOSSIER_TUILES))) {
        for (int tuyau : {4, 2, 8})
            hasard.AjouterTuyau(tuyau);
        memoire.table = TableExemple();
        std::ranges::reverse(*memoire.table);
        EXPECT_TRUE(form->Demarrer());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        return (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
    }
    QString EnMain() const { return form->Bloc(0)->NomImage(); }
    void Commande(const char* action) const { W<QAction>(action)->trigger(); }
    void MontrerAnnexes() const {
        for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
            Commande(commande);
    }
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
    // Plays the last try out with `score` points: the first flow step scores one more, the liquid
    // overflows at the next cell and the game ends.
    void PerdreLaPartie(int score) {
        form->NouvellePartie();
        form->Modele().Etat().Essais = 0;
        form->Modele().Etat().Score = score;
        for (int tics = 0; tics < 100 && form->Modele().Etat().Essais >= 0; ++tics)
            form->Tic();
        EXPECT_EQ(form->Modele().Etat().Essais, -1);
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::FenetrePrincipale> form;
};

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(objet)->text(quoi);
}

// The lines of a golden file beside this one, comment lines left out.
QStringList Lignes(const char* nom) {
    QFile fichier(QStringLiteral(CANALISOR_DOSSIER_TESTS) + nom);
    EXPECT_TRUE(fichier.open(QIODevice::ReadOnly)) << nom;
    QStringList lignes = QString::fromUtf8(fichier.readAll()).split('\n');
    lignes.removeLast(); // after the file's last line break
    lignes.removeIf([](const QString& l) { return l.startsWith('#'); });
    return lignes;
}

// The entries of textes_fr.txt or textes_en.txt, as LANG says: "== name", then the text's lines.
std::map<QString, QString> TextesAttendus() {
    const bool anglais = qEnvironmentVariable("LANG").startsWith(QStringLiteral("en"));
    std::map<QString, QStringList> entrees;
    QString nom;
    for (const QString& ligne : Lignes(anglais ? "textes_en.txt" : "textes_fr.txt")) {
        if (ligne.startsWith(QStringLiteral("== ")))
            nom = ligne.mid(3);
        else
            entrees[nom] << ligne;
    }
    std::map<QString, QString> textes;
    for (const auto& [entree, lignes] : entrees)
        textes[entree] = lignes.join('\n');
    return textes;
}

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
}

// Accepts the box that the next event loop opens, after typing `tape` into a name box one key at
// a time, and notes its title, text, line and buttons.
void Repondre(QStringList& vues, const QString& tape = {}) {
    QTimer::singleShot(0, [&vues, tape] {
        auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(boite);
        QStringList vue{boite->windowTitle()};
        if (auto* m = qobject_cast<QMessageBox*>(boite))
            vue << m->text();
        if (auto* n = qobject_cast<QInputDialog*>(boite)) {
            auto* ligne = n->findChild<QLineEdit*>();
            for (const char32_t c : tape.toUcs4()) {
                QKeyEvent touche(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
                QApplication::sendEvent(ligne, &touche);
            }
            vue << n->labelText() << ligne->text();
        }
        for (const QPushButton* b : boite->findChildren<QPushButton*>())
            vue << b->text().remove('&');
        vues << vue.join('|');
        boite->accept();
    });
}

// Every label's text fits its box in the font fitted to it.
void TextesTiennent(const QWidget* fenetre) {
    for (const QLabel* l : fenetre->findChildren<QLabel*>()) {
        const int drapeaux = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect zone = l->contentsRect();
        EXPECT_EQ(zone | QFontMetrics(l->font()).boundingRect(zone, drapeaux, l->text().trimmed()), zone)
            << fenetre->objectName().toStdString() << " " << l->objectName().toStdString();
    }
}

// ---- What the player reads and hears ------------------------------------------------------

// Every text of the windows, the boxes and the warning for a missing tile, each as its golden
// entry says: the menus with the letter Alt opens each by, the buttons and their tooltips, what
// a screen reader hears of the board, the side windows, the rules' numbers being the game's.
TEST(Textes, ToutCeQueLeJoueurLitEtEntend) {
    Fenetre f;
    std::map<QString, QString> lus{{"box 1 before a game", Lu(f.form->Bloc(0))}};
    f.form->NouvellePartie();
    auto& cellules = f.form->Modele().Cellules();
    cellules[63] = {Croix, "Vv", "8vv.bmp", true};
    cellules[76] = {13, "x", "13r.bmp", true};
    f.form->Rafraichir();
    const auto label = [&f](const char* nom, QObject* dans = nullptr) { return f.W(nom, dans)->text(); };
    auto* vannes = f.W<QPushButton>("Vannes");
    auto* pause = f.W<QPushButton>("Pause");
    lus.insert({
        {"menus", Arbre(f.form->menuBar()->actions())},
        {"title", f.form->windowTitle()},
        {"valves button", vannes->text()},
        {"valves tooltip", vannes->toolTip()},
        {"valves description", Lu(vannes, QAccessible::Description)},
        {"pause button", pause->text()},
        {"pause tooltip", pause->toolTip()},
        {"pause description", Lu(pause, QAccessible::Description)},
        {"box 1 tooltip", f.form->Bloc(0)->toolTip()},
        {"box 2 tooltip", f.form->Bloc(1)->toolTip()},
        {"box 3 tooltip", f.form->Bloc(2)->toolTip()},
        {"board", Lu(f.form->centralWidget())},
        {"board description", Lu(f.form->centralWidget(), QAccessible::Description)},
        {"box 1", Lu(f.form->Bloc(0))},
        {"box 2", Lu(f.form->Bloc(1))},
        {"box 3", Lu(f.form->Bloc(2))},
        {"level counter", Lu(f.W("LabelNiveau"))},
        {"tries counter", Lu(f.W("LabelEssais"))},
        {"difficulty counter", Lu(f.W("LabelDiff"))},
        {"time counter", Lu(f.W("LabelTemps"))},
        {"empty cell", Lu(f.form->Case(1))},
        {"crossing cell", Lu(f.form->Case(63))},
        {"outlet cell", Lu(f.form->Case(76))},
    });
    TextesTiennent(f.form.get());
    f.form->BasculerPause();
    lus.insert({{"paused button", pause->text()},
                {"paused tooltip", pause->toolTip()},
                {"paused description", Lu(pause, QAccessible::Description)}});

    f.MontrerAnnexes();
    QWidget* scores = f.form->Scores();
    QWidget* aPropos = f.form->APropos();
    QWidget* regles = f.form->Regles();
    lus.insert({
        {"scores title", scores->windowTitle()},
        {"scores heading", label("Label1", scores)},
        {"scores", label("Label2", scores)},
        {"about title", aPropos->windowTitle()},
        {"about", label("Label1", aPropos)},
        {"rules title", regles->windowTitle()},
        {"rules heading", label("Label2", regles)},
    });
    for (const char* nom : {"R1", "R2", "R3", "l1", "l2", "l3", "l4"})
        lus[nom] = label(nom, regles);
    for (const char* nom : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "Label7"})
        lus[nom] = label(nom);
    for (const QWidget* fenetre : {scores, aPropos, regles})
        TextesTiennent(fenetre);

    ui::DialoguesQt boites;
    const std::pair<const char*, const char*> messages[] = {
        {"missing file box", textes::FichierAbsent},
        {"level passed box", textes::NiveauPasse},
        {"try lost box", textes::EssaiPerdu},
        {"unreadable scores box", textes::ScoresIllisibles},
        {"unwritten scores box", textes::ScoresNonEcrits},
    };
    QStringList vues;
    for (const auto& [nom, texte] : messages) {
        Repondre(vues);
        boites.Message(texte, Icone::Critique);
        lus[nom] = vues.takeLast();
    }
    Repondre(vues, QStringLiteral("Zoé"));
    EXPECT_EQ(boites.Saisir(textes::DemandeNom), "Zoé");
    lus["name box"] = vues.takeLast();

    static QStringList avertissements;
    const QtMessageHandler avant = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { avertissements << m; });
    ui::Imagier(QStringLiteral("/nulle-part/")).Charger(QStringLiteral("9.bmp"));
    qInstallMessageHandler(avant);
    lus["missing tile warning"] = avertissements.join('|');

    const std::map<QString, QString> attendus = TextesAttendus();
    for (const auto& [nom, texte] : attendus)
        EXPECT_EQ(lus[nom].toStdString(), texte.toStdString()) << nom.toStdString();
    EXPECT_EQ(lus.size(), attendus.size()) << "every text read has its golden entry";
}

// ---- Captions and commands made from the game's state -------------------------------------

// The Pause button's caption, which buttons and the difficulty menu are offered, and the check
// mark, each from the state alone.
TEST(FenetrePrincipale, LegendesEtCommandesSelonLEtat) {
    const struct {
        const char* etat;
        bool enPause, pausePossible, vannesPossible, difficultePossible;
        std::int16_t difficulte;
        const char* pause; // the caption
        const char* coche; // the difficulty that carries the check mark
    } cas[] = {
        {"between games", false, false, false, true, 1, "Pause", "Facile (1)"},
        {"counting", false, true, true, false, 2, "Pause", "Moyen (2)"},
        {"paused", true, true, false, false, 3, "Retour", "Difficile (3)"},
        {"valves open", false, false, false, false, 2, "Pause", "Moyen (2)"},
    };
    Fenetre f;
    for (const auto& [etat, enPause, pausePossible, vannesPossible, difficultePossible, difficulte, pause,
                      coche] : cas) {
        SCOPED_TRACE(etat);
        auto& e = f.form->Modele().Etat();
        e.EnPause = enPause;
        e.PausePossible = pausePossible;
        e.OuvrirVannesPossible = vannesPossible;
        e.ChoisirDifficultePossible = difficultePossible;
        e.Difficulte = difficulte;
        f.form->Rafraichir();
        EXPECT_EQ(f.W<QPushButton>("Pause")->text().toStdString(), pause);
        EXPECT_EQ(f.W<QPushButton>("Pause")->isEnabled(), pausePossible);
        EXPECT_EQ(f.W<QPushButton>("Vannes")->isEnabled(), vannesPossible);
        const QMenu* menu = f.W<QMenu>("menuDifficulte");
        EXPECT_EQ(menu->menuAction()->isEnabled(), difficultePossible);
        QStringList coches;
        for (const QAction* a : menu->actions())
            if (a->isChecked())
                coches << a->text().remove('&');
        EXPECT_EQ(coches.join('|').toStdString(), coche) << "one check mark, on the difficulty that applies";
    }
}

// Each command reaches the game by its menu, button or key: the difficulty between games, Ctrl+N
// and F2 start a game, P and the Pause button pause and resume, V and the valves button open.
TEST(FenetrePrincipale, ChaqueCommandeParviendAuJeu) {
    Fenetre f;
    const auto& e = f.form->Modele().Etat();
    f.Commande("menuDifficile");
    EXPECT_EQ(e.Difficulte, 3) << "Difficile (3)";
    f.Raccourci("Ctrl+N");
    EXPECT_EQ(e.Niveau, 1) << "Ctrl+N starts a game";
    f.Raccourci("P");
    EXPECT_TRUE(e.EnPause) << "P pauses";
    QTest::mouseClick(f.W<QPushButton>("Pause"), Qt::LeftButton);
    EXPECT_FALSE(e.EnPause) << "the Pause button resumes";
    f.Raccourci("V");
    EXPECT_TRUE(e.VannesOuvertes) << "V opens the valves";
    EXPECT_FALSE(e.EnPause) << "V does not pause";
    f.Commande("menuArreter");
    f.Commande("menuMoyen");
    EXPECT_EQ(e.Difficulte, 2) << "Moyen (2)";
    f.Commande("menuFacile");
    EXPECT_EQ(e.Difficulte, 1) << "Facile (1)";
    f.Raccourci("F2");
    EXPECT_FALSE(e.VannesOuvertes) << "F2 starts a new game";
    QTest::mouseClick(f.W<QPushButton>("Vannes"), Qt::LeftButton);
    EXPECT_TRUE(e.VannesOuvertes) << "the valves button opens them";
}

// A counter shows its number, none before a game and no negative count of tries, and is heard
// as what it counts and that number; the record's tooltip names its holder.
TEST(FenetrePrincipale, ChaqueCompteurMontreEtDitSaValeur) {
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
    EXPECT_EQ(f.W("LabelRecord")->toolTip().toStdString(), "Marie");
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
            EXPECT_EQ(compteur->text().toStdString(), valeurs[k]) << compteurs[k][0];
            EXPECT_EQ(Lu(compteur).toStdString(), compteurs[k][1]) << compteurs[k][0];
            EXPECT_EQ(Lu(compteur, QAccessible::Value).toStdString(), valeurs[k]) << compteurs[k][0];
        }
    }
}

// ---- The board: keyboard, mouse, screen reader ---------------------------------------------

// From every cell each arrow, from the main keys, the keypad or held down, moves the cursor to
// the neighbouring cell; at the board's edge it stays, never wrapping. An arrow with Ctrl is
// someone else's key. The cursor's frame shows once a key is used, on its cell only.
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
                  {" with Ctrl", Qt::ControlModifier, false, false}};
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
                const int attendue = surLePlateau && bouge ? cellule + colonnes + 15 * lignes : cellule;
                EXPECT_EQ(f.form->Curseur(), attendue) << nom << facon << " from cell " << cellule;
            }
    }
    for (int c = 0; c < 120; ++c)
        EXPECT_EQ(f.form->Case(c)->CadreVisible(), c == f.form->Curseur()) << "cell " << c;
}

// Every way of laying at a cell does what a click does there: an empty cell takes the pipe in
// hand and the next pipe comes; a piece laid by the level takes nothing. The ways that are not a
// click lay nothing anywhere, and before the first game nothing lays.
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
        {"a mouse click", true, relacher(0.5, 0.5)},
        {"the screen reader's press action", true,
         [](Fenetre& f, int c) {
             QAccessible::queryAccessibleInterface(f.form->Case(c))
                 ->actionInterface()
                 ->doAction(QAccessibleActionInterface::pressAction());
         }},
        {"Return on the cursor", true, touche(Qt::Key_Return, {}, false)},
        {"the keypad's Enter on the cursor", true, touche(Qt::Key_Enter, Qt::KeypadModifier, false)},
        {"Space on the cursor", true, touche(Qt::Key_Space, {}, false)},
        {"Return held down, as the Enter that closed a box", false, touche(Qt::Key_Return, {}, true)},
        {"Space held down", false, touche(Qt::Key_Space, {}, true)},
        {"the left button released off the cell it pressed", false, relacher(0.5, -0.4)},
        {"the left button released on the next cell", false, relacher(1.5, 0.5)},
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
            const QString enMain = f.EnMain();
            const QString suivant = f.form->Bloc(1)->NomImage();
            poser(f, c);
            const bool posee = pose && avant == "0.bmp";
            poses += posee;
            EXPECT_EQ(f.form->Case(c)->NomImage(), posee ? enMain : avant) << "cell " << c;
            EXPECT_EQ(f.EnMain(), posee ? suivant : enMain)
                << "cell " << c << ": the next pipe comes to hand";
        }
        EXPECT_GE(poses, pose ? 100 : 0) << "the first level leaves most cells empty";
    }
}

// A screen reader hears each cell, a button, as its place and what its picture shows, as
// noms_tuiles.txt says for each of the build's tiles; the cells take nothing before the first
// game; the next-pipe boxes are pictures named by their place in the queue.
TEST(Plateau, ChaqueCaseASonNomEtSaPlace) {
    Fenetre f;
    for (int c = 0; c < 120; ++c)
        EXPECT_FALSE(f.form->Case(c)->isEnabled()) << "cell " << c << " before the first game";
    f.Commande("menuJouer");
    const QStringList tuiles = Lignes("noms_tuiles.txt");
    ASSERT_EQ(tuiles.size(), 81);
    for (int k = 0; k < 81; ++k)
        f.form->Modele().Cellules()[k + 39] = {Vide, "", tuiles[k].section(' ', 0, 0).toStdString(), true};
    f.form->Rafraichir();
    for (int k = 0; k < 81; ++k) {
        const int c = k + 39;
        const std::string tuile = tuiles[k].section(' ', 0, 0).toStdString();
        EXPECT_FALSE(f.form->Case(c)->Remplacee()) << tuile << " is one of the build's tiles";
        const QString place = QString("Ligne %1, colonne %2 : ").arg(c / 15 + 1).arg(c % 15 + 1);
        EXPECT_EQ(Lu(f.form->Case(c)), place + tuiles[k].section(' ', 1))
            << "cell " << c << " showing " << tuile;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(f.form->Case(c))->role(), QAccessible::Button);
    }
    auto& etat = f.form->Modele().Etat();
    etat.Tuyau1 = 5;
    etat.Tuyau2 = 6;
    etat.Tuyau3 = 7;
    f.form->Rafraichir();
    EXPECT_EQ(Lu(f.W<QWidget>("BlocSuivant")), "Tuyau en main : coude gauche-bas");
    EXPECT_EQ(Lu(f.W<QWidget>("BlocSuivant2")), "Tuyau suivant : coude gauche-haut");
    EXPECT_EQ(Lu(f.W<QWidget>("BlocSuivant3")), "Tuyau d'après : coude droite-haut");
    for (const char* bloc : {"BlocSuivant", "BlocSuivant2", "BlocSuivant3"}) {
        QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(f.W<QWidget>(bloc));
        EXPECT_EQ(lu->role(), QAccessible::Graphic) << bloc << " only shows";
        EXPECT_EQ(lu->actionInterface()->actionNames(), QStringList()) << bloc << " cannot be pressed";
    }
}

// ---- Side windows ----------------------------------------------------------------------------

// Start-up builds no side window: each is built the first time its command shows it, an ordinary
// window of its own with a close box only, not modal, that nothing holds above the main window;
// a second command brings the same window to the front. Closed by its box or by Escape or Ctrl+W,
// a side window is gone and the others stay.
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
        EXPECT_EQ(fenetre()->parentWidget(), nullptr) << "a window of its own";
        EXPECT_EQ(fenetre()->windowHandle()->transientParent(), nullptr) << "nothing keeps it above";
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
        EXPECT_EQ(QGuiApplication::focusWindow(), fenetre()->windowHandle()) << "brought to the front";
    }
    const std::pair<const char*, std::function<void(QWidget*)>> fermetures[] = {
        {"its close box", [](QWidget* w) { w->close(); }},
        {"Escape", [](QWidget* w) { QTest::keySequence(w->windowHandle(), QKeySequence(Qt::Key_Escape)); }},
        {"Ctrl+W",
         [](QWidget* w) { QTest::keySequence(w->windowHandle(), QKeySequence(QStringLiteral("Ctrl+W"))); }},
    };
    for (const auto& [nom, fermer] : fermetures)
        for (const auto& [commande, fenetre] : fenetres) {
            f.MontrerAnnexes();
            const QPointer<QWidget> cote = fenetre();
            cote->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(cote));
            fermer(cote);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(cote.isNull()) << commande << " closed by " << nom << " is gone";
            const int restantes = (f.form->Scores() != nullptr) + (f.form->APropos() != nullptr) +
                                  (f.form->Regles() != nullptr);
            EXPECT_EQ(restantes, 2) << "the others stay after " << commande << " closed by " << nom;
        }
}

// The rules show the board's own tiles for the pieces their captions name.
TEST(Fenetres, LesImagesDesReglesSontLesTuilesDuPlateau) {
    Fenetre f;
    f.Commande("menuRegles");
    for (const auto& [image, tuile] :
         {std::pair{"i1", "1.bmp"}, {"i2", "9.bmp"}, {"i3", "10.bmp"}, {"i4", "11.bmp"}})
        EXPECT_EQ(f.W(image, f.form->Regles())->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                  QImage(CANALISOR_DOSSIER_TUILES + QString(tuile)).convertToFormat(QImage::Format_RGB32))
            << image << " shows " << tuile;
}

// Ctrl+Q from a side window, Quitter, or the main window's end closes and deletes every window.
TEST(Fenetres, QuitterFermeToutesLesFenetres) {
    const std::pair<const char*, std::function<void(Fenetre&)>> fins[] = {
        {"Ctrl+Q from the rules window",
         [](Fenetre& g) {
             QTest::keySequence(g.form->Regles()->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
         }},
        {"Quitter", [](Fenetre& g) { g.Commande("menuQuitter"); }},
        {"the main window's end", [](Fenetre& g) { g.form.reset(); }},
    };
    for (const auto& [nom, finir] : fins) {
        SCOPED_TRACE(nom);
        Fenetre g;
        g.MontrerAnnexes();
        const QPointer<QWidget> principale = g.form.get();
        const QPointer<QWidget> cotes[] = {g.form->Scores(), g.form->APropos(), g.form->Regles()};
        finir(g);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QWidget>& cote : cotes)
            EXPECT_TRUE(cote.isNull()) << "every side window is deleted";
        EXPECT_TRUE(principale.isNull() || !principale->isVisible()) << "the main window is closed";
    }
}

// The scores window shows the file ranked, as it is whenever it is shown: changed by another copy
// of the game while open, rewritten by a game end while open, and built again after a close. The
// record and its holder follow the file.
TEST(Fenetres, LesScoresSontCeuxDuFichierAChaqueFois) {
    Fenetre f;
    f.Commande("menuRecord");
    const auto scores = [&f] { return f.W("Label2", f.form->Scores())->text().toStdString(); };
    EXPECT_EQ(scores(), "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n") << "ranked";
    (*f.memoire.table)[0] = {"Zoé", "50"};
    f.Commande("menuRecord");
    EXPECT_EQ(scores(), "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nZoé : 50\n") << "shown again";
    f.dialogues.reponses = {"Jules"};
    f.PerdreLaPartie(1999);
    EXPECT_EQ(scores(), "Jules : 2000\nMarie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\n") << "a game end";
    EXPECT_EQ(f.W("LabelRecord")->text().toStdString(), "2000");
    EXPECT_EQ(f.W("LabelRecord")->toolTip().toStdString(), "Jules");
    f.form->Scores()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    (*f.memoire.table)[1] = {"Yves", "4000"};
    f.Commande("menuRecord");
    EXPECT_EQ(scores(), "Yves : 4000\nJules : 2000\nPaul : 1200\nLéa : 900\nHugo : 300\n") << "built again";
}

// Alt and a menu's letter, or F10, open the first menu.
TEST(Clavier, AltEtF10OuvrentLesMenus) {
    Fenetre f;
    for (const QKeyCombination touche : {Qt::ALT | Qt::Key_F, QKeyCombination(Qt::Key_F10)}) {
        QTest::keyClick(f.form->windowHandle(), touche.key(), touche.keyboardModifiers());
        EXPECT_EQ(QApplication::activePopupWidget(), f.W<QMenu>("menuFichier"))
            << QKeySequence(touche).toString().toStdString();
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    }
}

// The name box refuses, as they are typed, the characters that the best-scores file would write
// as '?'; what was kept is written, and the record's tooltip shows the name as the file holds it.
TEST(Nom, LaBoiteNePrendQueCeQueLeFichierGarde) {
    struct BoiteDuNom : ui::DialoguesQt {
        void Message(const std::string&, Icone) override {}
    } boites;
    QTemporaryDir dossier;
    QFile depart(dossier.filePath(QStringLiteral("canalisor.txt")));
    ASSERT_TRUE(depart.open(QIODevice::WriteOnly));
    ASSERT_GT(depart.write(EcrireScores(TableExemple())), 0);
    depart.close();
    FichierScores fichier(depart.fileName());
    Fenetre f(&boites, &fichier);
    QStringList vues;
    Repondre(vues, QStringLiteral("Zoë Łukasz 日本 €"));
    f.PerdreLaPartie(1999);
    ASSERT_EQ(vues.size(), 1);
    EXPECT_EQ(vues[0].section('|', 2, 2).toStdString(), "Zoë ukasz  €");
    EXPECT_EQ(f.W("LabelRecord")->toolTip().toStdString(), "Zoë ukasz  €");
    QFile lu(fichier.Chemin());
    ASSERT_TRUE(lu.open(QIODevice::ReadOnly));
    EXPECT_EQ(lu.readAll().left(18).toStdString(), "Zo\xeb ukasz  \x80\r\n2000");
}

// A character the file cannot hold, typed or pasted anywhere in the name, is dropped and the
// cursor stays just after what was kept before it; a name the file holds is left as typed.
TEST(Nom, UnCaractereRefuseLaisseLeCurseurApresCeQuiEstGarde) {
    const struct {
        const char* cas;
        const char* tape;
        int curseur;
        const char* garde;
        int curseurApres;
    } cas[] = {
        {"typed at the end", "Zoë Ł", 5, "Zoë ", 4},
        {"typed at the start", "ŁZoé", 1, "Zoé", 0},
        {"pasted in the middle, cursor after it", "Zo日本é", 4, "Zoé", 2},
        {"beyond the basic plane", "A😀B", 3, "AB", 1},
        {"a name the file holds", "Zoë €", 5, "Zoë €", 5},
    };
    const ui::ValidateurNom validateur;
    for (const auto& c : cas) {
        QString texte = QString::fromUtf8(c.tape);
        int position = c.curseur;
        EXPECT_EQ(validateur.validate(texte, position), QValidator::Acceptable) << c.cas;
        EXPECT_EQ(texte.toStdString(), c.garde) << c.cas << ": what the box keeps";
        EXPECT_EQ(position, c.curseurApres) << c.cas << ": where the cursor stands";
    }
}

} // namespace
} // namespace canalisor::test
