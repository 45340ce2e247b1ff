// What the player reads and hears, stated whole in both languages the game speaks: French (its
// own, under the C locale and French ones) and English (under an English locale). The same tests
// run in each; LANG says which column is expected. Then the best-scores window as the file
// stands, the keyboard's ways into menus and out of the side windows, and the name box, which
// takes only what the best-scores file can store.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
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

// The run's language, as the test's environment sets it.
bool Anglais() {
    return qEnvironmentVariable("LANG").startsWith(QStringLiteral("en"));
}

// One text as the player meets it: where it is, then what it reads in French and in English.
struct Texte {
    const char* ou;
    const char* francais;
    const char* anglais;
};

QString Attendu(const Texte& t) {
    return QString::fromUtf8(Anglais() ? t.anglais : t.francais);
}

// Each text against the one the row expects in this run's language, the row named on a failure.
void Comparer(const std::vector<std::pair<Texte, QString>>& lus) {
    for (const auto& [texte, lu] : lus)
        EXPECT_EQ(lu.toStdString(), Attendu(texte).toStdString()) << texte.ou;
}

// Accepts the box that the next event loop opens (after typing `tape` into a name box) and
// notes its title, text, buttons and line.
void Repondre(QStringList& vues, const QString& tape = {}) {
    QTimer::singleShot(0, [&vues, tape] {
        auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(boite);
        QStringList vue{boite->windowTitle()};
        if (auto* m = qobject_cast<QMessageBox*>(boite))
            vue << m->text();
        if (auto* n = qobject_cast<QInputDialog*>(boite)) {
            vue << n->labelText();
            auto* ligne = n->findChild<QLineEdit*>();
            // One key at a time, each carrying its character, as a keyboard sends them.
            for (const char32_t c : tape.toUcs4()) {
                QKeyEvent touche(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
                QApplication::sendEvent(ligne, &touche);
            }
            vue << ligne->text();
        }
        for (const QPushButton* b : boite->findChildren<QPushButton*>())
            vue << b->text().remove('&');
        vues << vue.join('|');
        boite->accept();
    });
}

// The main window started and shown in a scripted world, with 4, 2 and 8 to come as pipes and
// the worked example as its best-scores file.
struct Fenetre {
    explicit Fenetre(Dialogues* boites = nullptr, Palmares* fichier = nullptr)
        : form(std::make_unique<ui::FenetrePrincipale>(hasard, horloge, boites ? *boites : dialogues,
                                                       fichier ? *fichier : memoire,
                                                       QString::fromUtf8(CANALISOR_DOSSIER_TUILES))) {
        for (int tuyau : {4, 2, 8})
            hasard.AjouterTuyau(tuyau);
        memoire.table = TableExemple();
        EXPECT_TRUE(form->Demarrer());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        return (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
    }
    // Plays the last try of a game out: the first flow step fills the departure (one point more than
    // `score`), the liquid overflows at the next cell and the game ends.
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

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
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

// The menus with the letter Alt opens each by (after '&'), the captions, the buttons, their
// tooltips with their keys and those of the next-pipe boxes, and what a screen reader hears.
TEST(Textes, FenetrePrincipale) {
    Fenetre f;
    const QString avantLaPartie = Lu(f.form->Bloc(0));
    f.form->NouvellePartie();
    f.form->Modele().Cellules()[63] = {Croix, "Vv", "8vv.bmp", true};
    f.form->Modele().Cellules()[76] = {13, "x", "13r.bmp", true};
    f.form->Rafraichir();
    Comparer({
        {{"menus",
          "&Fichier[&Nouvelle partie, &Arrêter la partie, Niveau de &difficulté[&Facile (1), &Moyen (2), "
          "&Difficile (3)], &Meilleurs scores, &Quitter], &Règles, &A propos",
          "&Game[&New Game, &End Game, &Difficulty[&Easy (1), &Medium (2), &Hard (3)], &Best Scores, &Quit], "
          "&Rules, &About"},
         Arbre(f.form->menuBar()->actions())},
        {{"title", "Canalisor", "Canalisor"}, f.form->windowTitle()},
        {{"Label1", "Niveau", "Level"}, f.W("Label1")->text()},
        {{"Label4", "Essais", "Tries"}, f.W("Label4")->text()},
        {{"Label6", "Score", "Score"}, f.W("Label6")->text()},
        {{"Label5", "Record", "Record"}, f.W("Label5")->text()},
        {{"Label7", "Difficulté", "Difficulty"}, f.W("Label7")->text()},
        {{"Label3", "Temps", "Time"}, f.W("Label3")->text()},
        {{"Label2", "Tuyaux suivants", "Next pipes"}, f.W("Label2")->text()},
        {{"valves button", "Vannes max.", "Full flow"}, f.W<QPushButton>("Vannes")->text()},
        {{"valves tooltip",
          "Ouvre les vannes en grand : les liquides avancent à chaque seconde et chaque case rapporte plus "
          "de "
          "points. Raccourci : V",
          "Opens the valves fully: the liquids move on every second and each cell scores more points. "
          "Shortcut: V"},
         f.W<QPushButton>("Vannes")->toolTip()},
        {{"valves description",
          "Ouvre les vannes en grand : les liquides avancent à chaque seconde et chaque case rapporte plus "
          "de "
          "points. Raccourci : V",
          "Opens the valves fully: the liquids move on every second and each cell scores more points. "
          "Shortcut: V"},
         Lu(f.W<QPushButton>("Vannes"), QAccessible::Description)},
        {{"pause button", "Pause", "Pause"}, f.W<QPushButton>("Pause")->text()},
        {{"pause tooltip", "Arrête le temps ; aucun tuyau ne se pose en pause. Raccourci : P",
          "Stops the clock; no pipe can be laid while paused. Shortcut: P"},
         f.W<QPushButton>("Pause")->toolTip()},
        {{"box 1 tooltip",
          "Tuyau en main : cliquez sur une case pour l'y poser, ou choisissez-la avec les flèches et appuyez "
          "sur Espace ou Entrée.",
          "Pipe in hand: click a cell to lay it there, or choose the cell with the arrow keys and press "
          "Space "
          "or Enter."},
         f.form->Bloc(0)->toolTip()},
        {{"box 2 tooltip", "Tuyau suivant : il vient en main une fois le tuyau en main posé.",
          "Next pipe: it comes into your hand once the pipe in hand is laid."},
         f.form->Bloc(1)->toolTip()},
        {{"box 3 tooltip", "Tuyau d'après : il vient en main après le tuyau suivant.",
          "Pipe after next: it comes into your hand after the next pipe."},
         f.form->Bloc(2)->toolTip()},
        {{"board", "Plateau", "Board"}, Lu(f.form->centralWidget())},
        {{"board description", "Les flèches choisissent une case, Espace ou Entrée y pose le tuyau en main.",
          "The arrow keys choose a cell; Space or Enter lays the pipe in hand there."},
         Lu(f.form->centralWidget(), QAccessible::Description)},
        {{"crossing cell", "Ligne 5, colonne 4 : croisement, canal vertical rempli de vert",
          "Row 5, column 4: crossing, vertical channel filled with green"},
         Lu(f.form->Case(63))},
        {{"outlet cell", "Ligne 6, colonne 2 : arrivée du liquide rouge, rempli de rouge",
          "Row 6, column 2: outlet of the red liquid, filled with red"},
         Lu(f.form->Case(76))},
        {{"empty cell", "Ligne 1, colonne 2 : case vide", "Row 1, column 2: empty cell"},
         Lu(f.form->Case(1))},
        {{"box 1 before a game", "Tuyau en main : aucun", "Pipe in hand: none"}, avantLaPartie},
        {{"box 1", "Tuyau en main : coude droite-bas", "Pipe in hand: right-down bend"}, Lu(f.form->Bloc(0))},
        {{"box 2", "Tuyau suivant : tuyau horizontal", "Next pipe: horizontal pipe"}, Lu(f.form->Bloc(1))},
        {{"box 3", "Tuyau d'après : croisement", "Pipe after next: crossing"}, Lu(f.form->Bloc(2))},
        {{"level counter", "Niveau", "Level"}, Lu(f.W("LabelNiveau"))},
        {{"tries counter", "Essais", "Tries"}, Lu(f.W("LabelEssais"))},
        {{"difficulty counter", "Difficulté", "Difficulty"}, Lu(f.W("LabelDiff"))},
        {{"time counter", "Temps", "Time"}, Lu(f.W("LabelTemps"))},
    });
    // The pieces a cell may hold, each liquid's anchors and the other fills.
    const std::pair<Cellule, Texte> pieces[] = {
        {{1, "", "1.bmp", true}, {"obstacle", "obstacle", "obstacle"}},
        {{3, "x", "3j.bmp", true},
         {"filled", "tuyau vertical, rempli de jaune", "vertical pipe, filled with yellow"}},
        {{5, "", "5.bmp", true}, {"bend", "coude gauche-bas", "left-down bend"}},
        {{6, "", "6.bmp", true}, {"bend", "coude gauche-haut", "left-up bend"}},
        {{7, "", "7.bmp", true}, {"bend", "coude droite-haut", "right-up bend"}},
        {{8, "Hb", "8hb.bmp", true},
         {"cross", "croisement, canal horizontal rempli de bleu",
          "crossing, horizontal channel filled with blue"}},
        {{9, "", "9.bmp", true}, {"source", "départ du liquide bleu", "source of the blue liquid"}},
        {{20, "", "20.bmp", true}, {"gate", "porte du liquide jaune", "gate of the yellow liquid"}},
        {{21, "", "", true}, {"unknown", "pièce 21", "piece 21"}},
    };
    for (const auto& [cellule, texte] : pieces) {
        f.form->Modele().Cellules()[0] = cellule;
        f.form->Rafraichir();
        EXPECT_EQ(Lu(f.form->Case(0)).section(QStringLiteral(": "), 1).toStdString(),
                  Attendu(texte).toStdString())
            << texte.ou;
    }
    f.form->BasculerPause();
    Comparer({
        {{"paused button", "Retour", "Resume"}, f.W<QPushButton>("Pause")->text()},
        {{"paused tooltip", "Reprend la partie. Raccourci : P", "Resumes the game. Shortcut: P"},
         f.W<QPushButton>("Pause")->toolTip()},
    });
    TextesTiennent(f.form.get());
}

// The three side windows, every text whole, the rules' numbers being those of the game.
TEST(Textes, FenetresAnnexes) {
    Fenetre f;
    for (auto commande : {&ui::FenetrePrincipale::MontrerScores, &ui::FenetrePrincipale::MontrerAPropos,
                          &ui::FenetrePrincipale::MontrerRegles})
        (f.form.get()->*commande)();
    QWidget* scores = f.form->Scores();
    QWidget* aPropos = f.form->APropos();
    QWidget* regles = f.form->Regles();
    Comparer({
        {{"scores title", "Canalisor - Scores", "Canalisor - Scores"}, scores->windowTitle()},
        {{"scores heading", "Meilleurs scores", "Best scores"}, f.W("Label1", scores)->text()},
        {{"scores", "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n",
          "Marie: 1500\nPaul: 1200\nLéa: 900\nHugo: 300\nAnne: 0\n"},
         f.W("Label2", scores)->text()},
        {{"about title", "Canalisor - A propos", "Canalisor - About"}, aPropos->windowTitle()},
        {{"about",
          "Canalisor version 2.12\nLicence : GPL-3.0-or-later\nAoût 2016\ncanalisor@example.org\n"
          "https://example.org/canalisor",
          "Canalisor version 2.12\nLicense: GPL-3.0-or-later\nAugust 2016\ncanalisor@example.org\n"
          "https://example.org/canalisor"},
         f.W("Label1", aPropos)->text()},
        {{"rules title", "Canalisor - Règles", "Canalisor - Rules"}, regles->windowTitle()},
        {{"rules heading", "Règles du jeu", "Rules of the game"}, f.W("Label2", regles)->text()},
        {{"R1",
          "Avant de jouer, choisissez votre niveau de difficulté (menu Fichier / Niveau de difficulté).\n"
          "Pour démarrer la partie, sélectionnez Fichier / Nouvelle partie.\n"
          "Il n'est pas possible de modifier la difficulté d'une partie en cours.\n"
          "Une partie s'achève lorsque le joueur n'a plus d'essais ou bien décide d'arrêter manuellement "
          "(menu "
          "Fichier / Arrêter la partie).\n",
          "Before playing, choose your difficulty (Game menu > Difficulty).\n"
          "To start a game, choose Game > New Game.\n"
          "The difficulty of a game in progress cannot be changed.\n"
          "A game ends when the player has no tries left or decides to stop it (Game menu > End Game).\n"},
         f.W("R1", regles)->text()},
        {{"R2",
          "Des tuyaux sont disponibles successivement. Les trois prochains sont affichés dans l'ordre (cases "
          "Tuyaux suivants).\n"
          "A chaque fois que le joueur clique sur la grille, il place dans la case correspondante le tuyau à "
          "sa "
          "disposition.\n"
          "Un tuyau peut être posé sur un autre tuyau à condition qu'il ne soit ni ancré, ni rempli.\n"
          "Les tuyaux ancrés sont les suivants :\n",
          "Pipes come one after another. The next three are shown in order (the Next pipes boxes).\n"
          "Each time the player clicks the board, the pipe in hand is laid in the cell clicked.\n"
          "A pipe can be laid over another pipe as long as that one is neither fixed nor filled.\n"
          "The fixed pieces are:\n"},
         f.W("R2", regles)->text()},
        {{"l1", "Obstacle", "Obstacle"}, f.W("l1", regles)->text()},
        {{"l2",
          "Départ du liquide bleu (selon le niveau, il peut y avoir jusqu'à 4 liquides de couleurs "
          "différentes)",
          "Source of the blue liquid (depending on the level, there can be up to 4 liquids of different "
          "colors)"},
         f.W("l2", regles)->text()},
        {{"l3",
          "Arrivée du liquide bleu (pour gagner, chaque liquide doit être conduit vers son tuyau d'arrivée "
          "associé)",
          "Outlet of the blue liquid (to win, each liquid must be led to its own outlet pipe)"},
         f.W("l3", regles)->text()},
        {{"l4",
          "Porte pour le liquide bleu (si une porte est présente, le liquide de la couleur correspondante "
          "doit "
          "impérativement transiter par ce passage avant d'atteindre son tuyau d'arrivée)",
          "Gate for the blue liquid (where there is a gate, the liquid of the matching color must pass "
          "through "
          "it before it reaches its outlet pipe)"},
         f.W("l4", regles)->text()},
        {{"R3",
          "Une fois la partie lancée, un premier compteur Temps défile (80 secondes en difficulté 1, 60 en "
          "difficulté 2 et 40 en difficulté 3).\n"
          "Une fois ce temps écoulé, les vannes de chaque liquide s'ouvrent et le liquide progresse d'une "
          "case.\n"
          "Pour ne pas déborder, la case suivant la case sur le point d'être remplie doit être également "
          "posée.\n"
          "Ensuite, un nouveau compteur est remis en route et régulièrement (10 secondes en difficulté 1 et "
          "2 "
          "et 5 secondes en difficulté 3), le liquide progresse d'une nouvelle case.\n"
          "Une fois que tous les tuyaux sont correctement placés, ou sur le point de l'être, il est possible "
          "d'accélérer le remplissage en cliquant sur le bouton Vannes max.\n"
          "Il est possible de mettre le jeu en pause (en cliquant sur le bouton Pause) afin de réfléchir "
          "plus "
          "calmement à une stratégie.\n"
          "Les points sont calculés de la manière suivante : 1 point par case remplie automatiquement, 2 "
          "points "
          "(3 en mode difficile) par case remplie de manière accélérée, 100 points par niveau franchi.\n"
          "Lorsque le joueur termine le 15e niveau, il gagne 1000 points supplémentaires, 1 essai "
          "supplémentaire et recommence au niveau 1 en conservant son score, au niveau de difficulté "
          "supérieur (plafonné à 3).\n",
          "Once the game has started, a first Time countdown runs (80 seconds at difficulty 1, 60 at "
          "difficulty 2 and 40 at difficulty 3).\n"
          "When that time is up, the valves of each liquid open and the liquid moves on by one cell.\n"
          "To keep it from overflowing, the cell after the one about to be filled must already hold a pipe.\n"
          "Then a new countdown starts and, at regular intervals (10 seconds at difficulties 1 and 2, 5 "
          "seconds "
          "at difficulty 3), the liquid moves on by one more cell.\n"
          "Once all the pipes are correctly laid, or about to be, you can speed up the filling by clicking "
          "the "
          "Full flow button.\n"
          "You can pause the game (by clicking the Pause button) to think out a strategy more calmly.\n"
          "Points are scored as follows: 1 point per cell filled automatically, 2 points (3 on Hard) per "
          "cell "
          "filled at full flow, 100 points per level completed.\n"
          "When the player completes the 15th level, they win 1000 extra points and 1 extra try, and start "
          "again at level 1 with their score kept, one difficulty higher (3 at most).\n"},
         f.W("R3", regles)->text()},
    });
    for (const QWidget* fenetre : {scores, aPropos, regles})
        TextesTiennent(fenetre);
}

// The game's boxes and the name box as the player sees them: the game's texts and Qt's buttons.
TEST(Textes, Boites) {
    ui::DialoguesQt boites;
    QStringList vues;
    for (const char* texte : {textes::FichierAbsent, textes::NiveauPasse, textes::EssaiPerdu,
                              textes::ScoresIllisibles, textes::ScoresNonEcrits}) {
        Repondre(vues);
        boites.Message(texte, Icone::Critique);
    }
    Repondre(vues, QStringLiteral("Zoé"));
    EXPECT_EQ(boites.Saisir(textes::DemandeNom), "Zoé");
    const Texte attendus[] = {
        {"missing file",
         "Canalisor|Veuillez créer un fichier canalisor.txt à la racine du répertoire du jeu.|OK",
         "Canalisor|Please create a canalisor.txt file in the game's folder.|OK"},
        {"level passed", "Canalisor|Félicitations! Vous passez au niveau suivant.|OK",
         "Canalisor|Congratulations! You move on to the next level.|OK"},
        {"try lost", "Canalisor|Dommage! Vous avez perdu.|OK", "Canalisor|Too bad! You lost.|OK"},
        {"unreadable",
         "Canalisor|Votre score n'a pas pu être enregistré : le fichier canalisor.txt est introuvable ou "
         "illisible.|OK",
         "Canalisor|Your score could not be saved: the file canalisor.txt is missing or unreadable.|OK"},
        {"unwritten",
         "Canalisor|Votre score n'a pas pu être enregistré : le fichier canalisor.txt ne peut pas être "
         "écrit.|OK",
         "Canalisor|Your score could not be saved: the file canalisor.txt cannot be written.|OK"},
        {"name box", "Canalisor|Bravo, vous avez battu le record!\nQuel est votre nom ?|Zoé|OK|Annuler",
         "Canalisor|Well done, you beat the record!\nWhat is your name?|Zoé|OK|Cancel"},
    };
    ASSERT_EQ(vues.size(), std::size(attendus));
    for (std::size_t k = 0; k < std::size(attendus); ++k)
        EXPECT_EQ(vues[static_cast<qsizetype>(k)].toStdString(), Attendu(attendus[k]).toStdString())
            << attendus[k].ou;
}

// The warning printed when a tile cannot be shown, whole.
TEST(Textes, Avertissement) {
    static QStringList avertissements;
    const QtMessageHandler avant = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& m) { avertissements << m; });
    ui::Imagier imagier(QStringLiteral("/nulle-part/"));
    imagier.Charger(QStringLiteral("9.bmp"));
    qInstallMessageHandler(avant);
    Comparer(
        {{{"missing tile",
           "canalisor : impossible de charger l'image /nulle-part/9.bmp (absente) ; ses cases montrent le "
           "code de la pièce à la place",
           "canalisor: cannot load the picture /nulle-part/9.bmp (missing); its cells show the piece code "
           "instead"},
          avertissements.join('|')}});
}

// The scores window shows the file as it is whenever it is shown: changed by another copy of the
// game before it first shows, rewritten by a game end while it is open, and when shown again.
TEST(Scores, LaFenetreMontreLeFichierTelQuIlEst) {
    Fenetre f;
    (*f.memoire.table)[4] = {"Zoé", "50"};
    f.form->MontrerScores();
    const auto places = [&f] { return f.W("Label2", f.form->Scores())->text().toStdString(); };
    const bool anglais = Anglais();
    EXPECT_EQ(places(), anglais ? "Marie: 1500\nPaul: 1200\nLéa: 900\nHugo: 300\nZoé: 50\n"
                                : "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nZoé : 50\n");
    f.dialogues.reponses = {"Jules"};
    f.PerdreLaPartie(999);
    EXPECT_EQ(places(), anglais ? "Marie: 1500\nPaul: 1200\nJules: 1000\nLéa: 900\nHugo: 300\n"
                                : "Marie : 1500\nPaul : 1200\nJules : 1000\nLéa : 900\nHugo : 300\n");
    f.form->Scores()->hide();
    (*f.memoire.table)[0] = {"Anne", "2000"};
    f.form->MontrerScores();
    EXPECT_EQ(places(), anglais ? "Anne: 2000\nPaul: 1200\nJules: 1000\nLéa: 900\nHugo: 300\n"
                                : "Anne : 2000\nPaul : 1200\nJules : 1000\nLéa : 900\nHugo : 300\n");
}

// Alt and a menu's letter, or F10, open a menu; Escape and Ctrl+W close each side window, which
// then goes as if closed by its box.
TEST(Clavier, MenusParLeursLettresEtFenetresFermeesAuClavier) {
    Fenetre f;
    const std::pair<const char*, QKeyCombination> ouvertures[] = {
        {"Alt+F", Qt::ALT | Qt::Key_F},
        {"F10", QKeyCombination(Qt::Key_F10)},
    };
    for (const auto& [nom, touche] : ouvertures) {
        QTest::keyClick(f.form->windowHandle(), touche.key(), touche.keyboardModifiers());
        EXPECT_EQ(QApplication::activePopupWidget(), f.W<QMenu>("menuFichier")) << nom;
        if (QWidget* menu = QApplication::activePopupWidget())
            menu->close();
    }
    for (const char* touche : {"Escape", "Ctrl+W"}) {
        for (auto commande : {&ui::FenetrePrincipale::MontrerScores, &ui::FenetrePrincipale::MontrerAPropos,
                              &ui::FenetrePrincipale::MontrerRegles})
            (f.form.get()->*commande)();
        const std::array<QPointer<QWidget>, 3> cotes{f.form->Scores(), f.form->APropos(), f.form->Regles()};
        for (const QPointer<QWidget>& cote : cotes) {
            cote->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(cote));
            QTest::keySequence(cote->windowHandle(), QKeySequence(QString::fromLatin1(touche)));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<QWidget>& cote : cotes)
            EXPECT_TRUE(cote.isNull()) << touche;
    }
}

// The name box refuses, as they are typed, the characters that the best-scores file would write
// as '?'; what was kept is written, and the record holder's tooltip shows the name as the file
// holds it.
TEST(Nom, LaBoiteNePrendQueCeQueLeFichierGarde) {
    struct BoiteDuNom : ui::DialoguesQt {
        void Message(const std::string&, Icone) override {}
    } boites;
    QTemporaryDir dossier;
    QFile depart(dossier.filePath(QStringLiteral("canalisor.txt")));
    ASSERT_TRUE(depart.open(QIODevice::WriteOnly) && depart.write(EcrireScores(TableExemple())) > 0);
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

} // namespace
} // namespace canalisor::test
