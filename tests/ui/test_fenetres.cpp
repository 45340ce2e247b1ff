// The windows in a scripted world: every text the player reads or hears, in the run's language,
// against the golden files beside this one; the captions and commands made from the game's state;
// the board as the mouse, the keyboard and a screen reader reach it; the side windows.
#include <functional>
#include <map>
#include <tuple>

#include <QAccessible>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "Fenetre.h"
#include "MondeQt.h"

namespace canalisor::test {
namespace {

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(objet)->text(quoi);
}

// One key pressed and released in the main window, as the keyboard sends it; `tenue` for a key
// held down.
void Touche(const Fenetre& f, Qt::Key touche, Qt::KeyboardModifiers modificateurs = {}, bool tenue = false) {
    QTest::simulateEvent(f.form->windowHandle(), true, touche, modificateurs, {}, tenue);
    QTest::simulateEvent(f.form->windowHandle(), false, touche, modificateurs, {}, tenue);
}

// The mouse comes over the cell from another one.
void Survoler(const Fenetre& f, int cellule) {
    QTest::mouseMove(f.form->Case(cellule == 0 ? 1 : 0));
    QTest::mouseMove(f.form->Case(cellule));
}

void MontrerAnnexes(const Fenetre& f) {
    for (const char* commande : {"menuRecord", "menuAbout", "menuRegles"})
        f.W<QAction>(commande)->trigger();
}

// The entries of a golden file beside this one, comment lines left out: a line "== name" starts
// an entry, and the lines up to the next one are its text (a file without names is entry "").
std::map<QString, QStringList> Entrees(const char* nom) {
    QFile fichier(QStringLiteral(CANALISOR_DOSSIER_TESTS) + nom);
    EXPECT_TRUE(fichier.open(QIODevice::ReadOnly)) << nom;
    QStringList lignes = QString::fromUtf8(fichier.readAll()).split('\n');
    lignes.removeLast(); // after the file's last line break
    std::map<QString, QStringList> entrees;
    QString entree;
    for (const QString& ligne : lignes) {
        if (ligne.startsWith(QStringLiteral("== ")))
            entree = ligne.mid(3);
        else if (!ligne.startsWith('#'))
            entrees[entree] << ligne;
    }
    return entrees;
}

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
}

// What the box that `ouvrir` opens shows: its title, its text or its prompt and line (after `tape`
// is typed or pasted into a name box), and its buttons. The box is then accepted.
QString Boite(const std::function<void()>& ouvrir, const QString& tape = {}) {
    QString vue;
    QTimer::singleShot(0, [&vue, tape] {
        auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(boite);
        QStringList lu{boite->windowTitle()};
        if (auto* m = qobject_cast<QMessageBox*>(boite))
            lu << m->text();
        if (auto* n = qobject_cast<QInputDialog*>(boite)) {
            n->findChild<QLineEdit*>()->insert(tape);
            lu << n->labelText() << n->textValue();
        }
        for (const QPushButton* b : boite->findChildren<QPushButton*>())
            lu << b->text().remove('&');
        vue = lu.join('|');
        boite->accept();
    });
    ouvrir();
    return vue;
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
// a screen reader hears of the board, the side windows, the rules' numbers being the game's. The
// name box drops, as they come, the characters the best-scores file cannot hold.
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

    MontrerAnnexes(f);
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
    for (const auto& [nom, texte] : messages)
        lus[nom] = Boite([&boites, texte] { boites.Message(texte, Icone::Critique); });
    lus["name box"] = Boite([&boites] { EXPECT_EQ(boites.Saisir(textes::DemandeNom), "Zoé"); }, "Zo日本é");

    static QStringList avertissements;
    const QtMessageHandler avant = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { avertissements << m; });
    ui::Imagier(QStringLiteral("/nulle-part/")).Charger(QStringLiteral("9.bmp"));
    qInstallMessageHandler(avant);
    lus["missing tile warning"] = avertissements.join('|');

    const auto attendus =
        Entrees(qEnvironmentVariable("LANG").startsWith("en") ? "textes_en.txt" : "textes_fr.txt");
    for (const auto& [nom, lignes] : attendus)
        EXPECT_EQ(lus[nom].toStdString(), lignes.join('\n').toStdString()) << nom.toStdString();
    EXPECT_EQ(lus.size(), attendus.size()) << "every text read has its golden entry";
}

// ---- Captions and commands made from the game's state -------------------------------------

// From the state alone: the Pause button's caption, which buttons and the difficulty menu are
// offered, the check mark, and what each counter shows and a screen reader hears as its value:
// nothing before a game, no negative count of tries.
TEST(FenetrePrincipale, LegendesEtCompteursSelonLEtat) {
    const char* const compteurs[] = {"LabelNiveau", "LabelEssais", "LabelScore", "LabelDiff", "LabelTemps"};
    const struct {
        const char* etat;
        bool enPause, pausePossible, vannesPossible, difficultePossible;
        std::int16_t difficulte, niveau, essais;
        const char* pause;      // the caption
        const char* coche;      // the difficulty that carries the check mark
        const char* valeurs[5]; // shown by the counters above
    } cas[] = {
        {"no game", false, false, false, true, 1, 0, 0, "Pause", "Facile (1)", {"", "", "", "1", ""}},
        {"counting", false, true, true, false, 2, 7, 3, "Pause", "Moyen (2)", {"7", "3", "45", "2", "9"}},
        {"paused", true, true, false, false, 3, 7, 3, "Retour", "Difficile (3)", {"7", "3", "45", "3", "9"}},
        {"tries out", false, false, false, false, 2, 4, -1, "Pause", "Moyen (2)", {"4", "0", "45", "2", "9"}},
    };
    Fenetre f;
    for (const auto& c : cas) {
        SCOPED_TRACE(c.etat);
        auto& e = f.form->Modele().Etat();
        e.EnPause = c.enPause;
        e.PausePossible = c.pausePossible;
        e.OuvrirVannesPossible = c.vannesPossible;
        e.ChoisirDifficultePossible = c.difficultePossible;
        e.Difficulte = c.difficulte;
        e.Niveau = c.niveau;
        e.Essais = c.essais;
        e.Score = 45;
        e.Temps = 9;
        f.form->Rafraichir();
        EXPECT_EQ(f.W<QPushButton>("Pause")->text().toStdString(), c.pause);
        EXPECT_EQ(f.W<QPushButton>("Pause")->isEnabled(), c.pausePossible);
        EXPECT_EQ(f.W<QPushButton>("Vannes")->isEnabled(), c.vannesPossible);
        const QMenu* menu = f.W<QMenu>("menuDifficulte");
        EXPECT_EQ(menu->menuAction()->isEnabled(), c.difficultePossible);
        QStringList coches;
        for (const QAction* a : menu->actions())
            if (a->isChecked())
                coches << a->text().remove('&');
        EXPECT_EQ(coches.join('|').toStdString(), c.coche)
            << "one check mark, on the difficulty that applies";
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_EQ(f.W(compteurs[k])->text().toStdString(), c.valeurs[k]) << compteurs[k];
            EXPECT_EQ(Lu(f.W(compteurs[k]), QAccessible::Value).toStdString(), c.valeurs[k]) << compteurs[k];
        }
    }
}

// Each command reaches the game by its menu, button or key: the difficulty between games, Ctrl+N
// and F2 start a game, P and the Pause button pause and resume, V and the valves button open.
// Alt and a menu's letter, or F10, open the first menu.
TEST(FenetrePrincipale, ChaqueCommandeParviendAuJeu) {
    Fenetre f;
    const auto taper = [&f](const char* touches) {
        QTest::keySequence(f.form->windowHandle(), QKeySequence(QString::fromLatin1(touches)));
    };
    const auto& e = f.form->Modele().Etat();
    f.W<QAction>("menuDifficile")->trigger();
    EXPECT_EQ(e.Difficulte, 3) << "Difficile (3)";
    taper("Ctrl+N");
    EXPECT_EQ(e.Niveau, 1) << "Ctrl+N starts a game";
    taper("P");
    EXPECT_TRUE(e.EnPause) << "P pauses";
    QTest::mouseClick(f.W<QPushButton>("Pause"), Qt::LeftButton);
    EXPECT_FALSE(e.EnPause) << "the Pause button resumes";
    taper("V");
    EXPECT_TRUE(e.VannesOuvertes) << "V opens the valves";
    EXPECT_FALSE(e.EnPause) << "V does not pause";
    f.W<QAction>("menuArreter")->trigger();
    f.W<QAction>("menuMoyen")->trigger();
    EXPECT_EQ(e.Difficulte, 2) << "Moyen (2)";
    f.W<QAction>("menuFacile")->trigger();
    EXPECT_EQ(e.Difficulte, 1) << "Facile (1)";
    taper("F2");
    EXPECT_FALSE(e.VannesOuvertes) << "F2 starts a new game";
    QTest::mouseClick(f.W<QPushButton>("Vannes"), Qt::LeftButton);
    EXPECT_TRUE(e.VannesOuvertes) << "the valves button opens them";
    for (const char* touches : {"Alt+F", "F10"}) {
        taper(touches);
        EXPECT_EQ(QApplication::activePopupWidget(), f.W<QMenu>("menuFichier")) << touches;
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    }
}

// ---- The board: keyboard, mouse, screen reader ---------------------------------------------

// From every cell each arrow, from the main keys, the keypad or held down, moves the cursor to
// the neighbouring cell; at the board's edge it stays, never wrapping. An arrow with Ctrl is
// someone else's key. The cursor's frame shows once a key is used, on its cell only.
TEST(Plateau, ChaqueFlecheMeneAuVoisinEtSArreteAuBord) {
    // Each arrow: its name, its key, and the step it makes across and down.
    const std::tuple<const char*, Qt::Key, int, int> fleches[] = {{"Left", Qt::Key_Left, -1, 0},
                                                                  {"Right", Qt::Key_Right, 1, 0},
                                                                  {"Up", Qt::Key_Up, 0, -1},
                                                                  {"Down", Qt::Key_Down, 0, 1}};
    // Each way of typing it: its name, its modifiers, whether held down, whether the cursor moves.
    const std::tuple<const char*, Qt::KeyboardModifiers, bool, bool> facons[] = {
        {"", {}, false, true},
        {" on the keypad", Qt::KeypadModifier, false, true},
        {" held down", {}, true, true},
        {" with Ctrl", Qt::ControlModifier, false, false}};
    Fenetre f;
    Survoler(f, 31);
    EXPECT_FALSE(f.form->Case(31)->CadreVisible()) << "no frame while only the mouse moves";
    for (int cellule = 0; cellule < 120; ++cellule)
        for (const auto& [nom, touche, colonnes, lignes] : fleches)
            for (const auto& [facon, modificateurs, tenue, bouge] : facons) {
                Survoler(f, cellule);
                Touche(f, touche, modificateurs, tenue);
                const int colonne = cellule % 15 + colonnes;
                const int ligne = cellule / 15 + lignes;
                const bool surLePlateau = colonne >= 0 && colonne < 15 && ligne >= 0 && ligne < 8;
                const int attendue = surLePlateau && bouge ? 15 * ligne + colonne : cellule;
                EXPECT_EQ(f.form->Curseur(), attendue) << nom << facon << " from cell " << cellule;
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
            Survoler(f, cellule);
            Touche(f, t, m, tenue);
        };
    };
    // Pressed on the cell, released at (x, y) cell sizes from its top left corner.
    const auto relacher = [](double x, double y) -> Poser {
        return [=](Fenetre& f, int c) {
            const QSize taille = f.form->Case(c)->size();
            QTest::mousePress(f.form->Case(c), Qt::LeftButton);
            QTest::mouseRelease(f.form->Case(c), Qt::LeftButton, {},
                                QPointF(x * taille.width(), y * taille.height()).toPoint());
        };
    };
    const auto appuyer = [](Fenetre& f, int c) {
        QAccessible::queryAccessibleInterface(f.form->Case(c))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
    };
    // The way, whether it lays, and how it is done at a cell.
    const std::tuple<const char*, bool, Poser> manieres[] = {
        {"a mouse click", true, relacher(0.5, 0.5)},
        {"the screen reader's press action", true, appuyer},
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
        f.W<QAction>("menuJouer")->trigger();
        int poses = 0;
        for (int c = 0; c < 120; ++c) {
            const QString avant = f.form->Case(c)->NomImage();
            const QString enMain = f.form->Bloc(0)->NomImage();
            const QString suivant = f.form->Bloc(1)->NomImage();
            poser(f, c);
            const bool posee = pose && avant == "0.bmp";
            poses += posee;
            EXPECT_EQ(f.form->Case(c)->NomImage(), posee ? enMain : avant) << "cell " << c;
            EXPECT_EQ(f.form->Bloc(0)->NomImage(), posee ? suivant : enMain)
                << "cell " << c << ": the next comes";
        }
        EXPECT_GE(poses, pose ? 100 : 0) << "the first level leaves most cells empty";
    }
}

// A screen reader hears each cell, a button, as its place and what its picture shows, as
// noms_tuiles.txt says for each of the build's tiles; the next-pipe boxes are pictures that
// cannot be pressed.
TEST(Plateau, ChaqueCaseASonNomEtSaPlace) {
    Fenetre f;
    f.form->NouvellePartie();
    const QStringList tuiles = Entrees("noms_tuiles.txt")[""];
    ASSERT_EQ(tuiles.size(), 81);
    for (int k = 0; k < 81; ++k)
        f.form->Modele().Cellules()[k + 39] = {Vide, "", tuiles[k].section(' ', 0, 0).toStdString(), true};
    f.form->Rafraichir();
    for (int c = 39; c < 120; ++c) {
        const QString& tuile = tuiles[c - 39];
        EXPECT_FALSE(f.form->Case(c)->Remplacee()) << tuile.toStdString() << " is one of the build's tiles";
        const QString place = QString("Ligne %1, colonne %2 : ").arg(c / 15 + 1).arg(c % 15 + 1);
        EXPECT_EQ(Lu(f.form->Case(c)), place + tuile.section(' ', 1)) << "cell " << c;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(f.form->Case(c))->role(), QAccessible::Button);
    }
    for (int k = 0; k < 3; ++k) {
        QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(f.form->Bloc(k));
        EXPECT_EQ(lu->role(), QAccessible::Graphic) << "box " << k + 1 << " only shows";
        EXPECT_EQ(lu->actionInterface()->actionNames(), QStringList())
            << "box " << k + 1 << " cannot be pressed";
    }
}

// ---- Side windows ----------------------------------------------------------------------------

// Start-up builds no side window: each is built the first time its command shows it, an ordinary
// window of its own with a close box only, not modal, that nothing holds above the main window;
// a second command brings the same window to the front. Closed by Escape or Ctrl+W, a side window
// is gone and the others stay.
TEST(Fenetres, ChaqueCommandeMontreSaFenetreAPart) {
    Fenetre f;
    // Each window's command, the window, and the key that closes it.
    const std::tuple<const char*, std::function<QWidget*()>, const char*> fenetres[] = {
        {"menuRecord", [&f] { return f.form->Scores(); }, "Escape"},
        {"menuAbout", [&f] { return f.form->APropos(); }, "Ctrl+W"},
        {"menuRegles", [&f] { return f.form->Regles(); }, "Escape"},
    };
    for (const auto& [commande, fenetre, fermeture] : fenetres) {
        SCOPED_TRACE(commande);
        EXPECT_EQ(fenetre(), nullptr) << "not built before its command";
        f.W<QAction>(commande)->trigger();
        const QPointer<QWidget> premiere = fenetre();
        ASSERT_TRUE(premiere) << "built by its command";
        EXPECT_TRUE(premiere->isVisible());
        EXPECT_EQ(premiere->parentWidget(), nullptr) << "a window of its own";
        EXPECT_EQ(premiere->windowHandle()->transientParent(), nullptr) << "nothing keeps it above";
        EXPECT_EQ(premiere->windowModality(), Qt::NonModal) << "the game goes on while it is open";
        EXPECT_EQ(premiere->windowFlags() & (Qt::WindowType_Mask | Qt::WindowCloseButtonHint |
                                             Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint),
                  Qt::Window | Qt::WindowCloseButtonHint)
            << "an ordinary window with a close box only";
        f.form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.form.get()));
        f.W<QAction>(commande)->trigger();
        QCoreApplication::processEvents(); // activation goes through the window system's queue
        EXPECT_EQ(fenetre(), premiere.data()) << "a second command builds nothing again";
        EXPECT_EQ(QGuiApplication::focusWindow(), premiere->windowHandle()) << "brought to the front";
    }
    for (const auto& [commande, fenetre, fermeture] : fenetres) {
        const QPointer<QWidget> cote = fenetre();
        ASSERT_TRUE(cote) << commande << " stays while the others close";
        cote->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(cote));
        QTest::keySequence(cote->windowHandle(), QKeySequence(QString::fromLatin1(fermeture)));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(cote.isNull()) << commande << " closed by " << fermeture << " is gone";
    }
}

// The rules show the board's own tiles for the pieces their captions name.
TEST(Fenetres, LesImagesDesReglesSontLesTuilesDuPlateau) {
    Fenetre f;
    f.W<QAction>("menuRegles")->trigger();
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
        {"Quitter", [](Fenetre& g) { g.W<QAction>("menuQuitter")->trigger(); }},
        {"the main window's end", [](Fenetre& g) { g.form.reset(); }},
    };
    for (const auto& [nom, finir] : fins) {
        SCOPED_TRACE(nom);
        Fenetre g;
        MontrerAnnexes(g);
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
    f.W<QAction>("menuRecord")->trigger();
    const auto scores = [&f] { return f.W("Label2", f.form->Scores())->text().toStdString(); };
    EXPECT_EQ(scores(), "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n") << "ranked";
    (*f.memoire.table)[0] = {"Zoé", "50"};
    f.W<QAction>("menuRecord")->trigger();
    EXPECT_EQ(scores(), "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nZoé : 50\n") << "shown again";
    f.dialogues.reponses = {"Jules"};
    // The last try is played out with 1999 points: the first flow step scores one more, the liquid
    // overflows at the next cell and the game ends.
    f.form->NouvellePartie();
    f.form->Modele().Etat().Essais = 0;
    f.form->Modele().Etat().Score = 1999;
    for (int tics = 0; tics < 100 && f.form->Modele().Etat().Essais >= 0; ++tics)
        f.form->Tic();
    EXPECT_EQ(scores(), "Jules : 2000\nMarie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\n") << "a game end";
    EXPECT_EQ(f.W("LabelRecord")->text().toStdString(), "2000");
    EXPECT_EQ(f.W("LabelRecord")->toolTip().toStdString(), "Jules");
    f.form->Scores()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    (*f.memoire.table)[1] = {"Yves", "4000"};
    f.W<QAction>("menuRecord")->trigger();
    EXPECT_EQ(scores(), "Yves : 4000\nJules : 2000\nPaul : 1200\nLéa : 900\nHugo : 300\n") << "built again";
}

// A character the file cannot hold, typed or pasted anywhere in the name, is dropped and the
// cursor stays just after what was kept before it; a name the file holds is left as typed.
TEST(Nom, UnCaractereRefuseLaisseLeCurseurApresCeQuiEstGarde) {
    // The case, what the box is given and the cursor after it, what it keeps and the cursor then.
    const std::tuple<const char*, const char*, int, const char*, int> cas[] = {
        {"typed at the end", "Zoë Ł", 5, "Zoë ", 4},
        {"typed at the start", "ŁZoé", 1, "Zoé", 0},
        {"pasted in the middle, cursor after it", "Zo日本é", 4, "Zoé", 2},
        {"beyond the basic plane", "A😀B", 3, "AB", 1},
        {"a name the file holds", "Zoë €", 5, "Zoë €", 5},
    };
    const ui::ValidateurNom validateur;
    for (const auto& [nom, tape, curseur, garde, curseurApres] : cas) {
        QString texte = QString::fromUtf8(tape);
        int position = curseur;
        EXPECT_EQ(validateur.validate(texte, position), QValidator::Acceptable) << nom;
        EXPECT_EQ(texte.toStdString(), garde) << nom << ": what the box keeps";
        EXPECT_EQ(position, curseurApres) << nom << ": where the cursor stands";
    }
}

} // namespace
} // namespace canalisor::test
