#include "FenetrePrincipale.h"

#include <algorithm>
#include <optional>

#include <QAccessible>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "Accessibilite.h"
#include "Disposition.h"

// The rules pictures and the icon are compiled into the library; naming their initialiser
// keeps the linker from dropping it from the archive. It must be called from outside any
// namespace.
static void InitialiserRessources() {
#ifdef CANALISOR_RESSOURCES
    Q_INIT_RESOURCE(canalisor);
#endif
}

namespace canalisor::ui {

namespace {

// The Pause button says what a press would do: resume a paused game, or pause it.
QString LegendePause(bool enPause) {
    return enPause ? FenetrePrincipale::tr("Retour") : FenetrePrincipale::tr("Pause");
}

// What the button does and its key, for its tooltip and a screen reader.
QString DescriptionPause(bool enPause) {
    return enPause
               ? FenetrePrincipale::tr("Reprend la partie. Raccourci : P")
               : FenetrePrincipale::tr("Arrête le temps ; aucun tuyau ne se pose en pause. Raccourci : P");
}

// A counter shows nothing before the first game.
QString Compte(const EtatJeu& etat, int valeur) {
    return etat.Niveau == 0 ? QString() : QString::number(valeur);
}

// The pictures of the three next pipes, none before the first game.
std::string NomBlocSuivant(std::int16_t tuyau) {
    return EstTuyau(tuyau) ? NomImage(tuyau) : std::string();
}

} // namespace

FenetrePrincipale::FenetrePrincipale(Hasard& hasard, Horloge& horloge, Dialogues& dialogues,
                                     Palmares& palmares, QString chemin, QWidget* parent)
    : QMainWindow(parent), relais_(*this, dialogues), palmaresRelais_(*this, palmares),
      jeu_(hasard, horloge, relais_, palmaresRelais_), palmares_(palmares), chemin_(std::move(chemin)),
      imagier_(chemin_) {
    InitialiserRessources();
    setObjectName(QStringLiteral("FenetrePrincipale"));
    setWindowTitle(QStringLiteral("Canalisor"));
    ConstruireMenus();
    ConstruireClient();
    ConstruireRaccourcis();
    resize(sizeHint());
    Rafraichir();
}

void FenetrePrincipale::ConstruireMenus() {
    // Each caption carries its letter for Alt (the mnemonic); F10 opens the first menu.
    const auto action = [this](QMenu* menu, const char* nom, const QString& texte, auto gestionnaire) {
        QAction* a = menu->addAction(texte);
        a->setObjectName(QString::fromLatin1(nom));
        connect(a, &QAction::triggered, this, gestionnaire);
        return a;
    };
    QMenu* fichier = menuBar()->addMenu(tr("&Fichier"));
    fichier->setObjectName(QStringLiteral("menuFichier"));
    action(fichier, "menuJouer", tr("&Nouvelle partie"), &FenetrePrincipale::NouvellePartie)
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_N), QKeySequence(Qt::Key_F2)});
    action(fichier, "menuArreter", tr("&Arrêter la partie"), &FenetrePrincipale::ArreterPartie);
    menuDifficulte_ = fichier->addMenu(tr("Niveau de &difficulté"));
    menuDifficulte_->setObjectName(QStringLiteral("menuDifficulte"));
    const auto difficulte = [&](const char* nom, const QString& texte, int d) {
        QAction* a = action(menuDifficulte_, nom, texte, [this, d] { ChoisirDifficulte(d); });
        a->setCheckable(true);
        return a;
    };
    menusDifficulte_ = {difficulte("menuFacile", tr("&Facile (1)"), 1),
                        difficulte("menuMoyen", tr("&Moyen (2)"), 2),
                        difficulte("menuDifficile", tr("&Difficile (3)"), 3)};
    action(fichier, "menuRecord", tr("&Meilleurs scores"), &FenetrePrincipale::MontrerScores);
    QAction* quitter = action(fichier, "menuQuitter", tr("&Quitter"), &FenetrePrincipale::Quitter);
    quitter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The side windows are windows of their own, and the game ends from any of them.
    quitter->setShortcutContext(Qt::ApplicationShortcut);

    // Commands of the menu bar itself: a click runs them, no menu drops down.
    QAction* regles = menuBar()->addAction(tr("&Règles"));
    regles->setObjectName(QStringLiteral("menuRegles"));
    connect(regles, &QAction::triggered, this, &FenetrePrincipale::MontrerRegles);
    QAction* aPropos = menuBar()->addAction(tr("&A propos"));
    aPropos->setObjectName(QStringLiteral("menuAbout"));
    connect(aPropos, &QAction::triggered, this, &FenetrePrincipale::MontrerAPropos);

    // F10 opens the first menu, as on the desktops that have the key for it; Qt only has Alt.
    auto* barre = new QAction(this);
    barre->setObjectName(QStringLiteral("raccourciMenus"));
    barre->setShortcut(QKeySequence(Qt::Key_F10));
    addAction(barre);
    connect(barre, &QAction::triggered, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
}

QLabel* FenetrePrincipale::Label(const char* nom, QRect zone, const QString& texte, double points,
                                 Qt::Alignment alignement, bool compteur, const QStringList& plusLongs,
                                 bool enveloppe) {
    QLabel* label = compteur ? new Compteur(centralWidget()) : new QLabel(centralWidget());
    if (compteur)
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
    PreparerLabel(*label, nom, zone, texte, Police(points), alignement | Qt::AlignTop, enveloppe, plusLongs);
    return label;
}

void FenetrePrincipale::ConstruireClient() {
    auto* client = new Disposition(this);
    setCentralWidget(client);
    centralWidget()->setObjectName(QStringLiteral("client"));

    const Qt::Alignment gauche = Qt::AlignLeft;
    const Qt::Alignment centre = Qt::AlignHCenter;
    QList<QLabel*> legendes;
    legendes.append(Label("Label1", Twips(120, 120, 855, 375), tr("Niveau"), 12, gauche, false));
    labelNiveau_ =
        Label("LabelNiveau", Twips(1080, 120, 495, 375), {}, 12, centre, true, {QStringLiteral("15")});
    legendes.append(Label("Label4", Twips(120, 720, 855, 375), tr("Essais"), 12, gauche, false));
    labelEssais_ =
        Label("LabelEssais", Twips(1080, 720, 495, 375), {}, 12, centre, true, {QStringLiteral("99")});
    legendes.append(Label("Label6", Twips(2520, 120, 855, 375), tr("Score"), 12, gauche, false));
    labelScore_ =
        Label("LabelScore", Twips(3480, 120, 975, 375), {}, 12, centre, true, {QStringLiteral("88888")});
    legendes.append(Label("Label5", Twips(2520, 720, 855, 375), tr("Record"), 12, gauche, false));
    labelRecord_ =
        Label("LabelRecord", Twips(3480, 720, 975, 375), {}, 12, centre, true, {QStringLiteral("88888")});
    legendes.append(Label("Label7", Twips(4920, 120, 1215, 375), tr("Difficulté"), 12, gauche, false));
    labelDiff_ = Label("LabelDiff", Twips(5280, 600, 495, 375), {}, 12, centre, true, {QStringLiteral("3")});
    legendes.append(Label("Label3", Twips(6840, 120, 1095, 375), tr("Temps"), 12, centre, false));
    labelTemps_ =
        Label("LabelTemps", Twips(6840, 480, 975, 735), {}, 29.25, centre, true, {QStringLiteral("80")});
    legendes.append(
        Label("Label2", Twips(12120, 120, 1095, 615), tr("Tuyaux suivants"), 12, gauche, false, {}, true));
    // Captions that had to shrink would stand out among the others: all take the smallest size.
    int pixels = legendes.front()->font().pixelSize();
    for (const QLabel* l : legendes)
        pixels = std::min(pixels, l->font().pixelSize());
    for (QLabel* l : legendes) {
        QFont police = l->font();
        police.setPixelSize(pixels);
        l->setFont(police);
    }
    // A counter is named after its caption.
    const std::pair<QLabel*, QString> comptes[] = {
        {labelNiveau_, tr("Niveau")}, {labelEssais_, tr("Essais")},   {labelScore_, tr("Score")},
        {labelRecord_, tr("Record")}, {labelDiff_, tr("Difficulté")}, {labelTemps_, tr("Temps")},
    };
    for (const auto& [compteur, nom] : comptes)
        compteur->setAccessibleName(nom);

    const auto bouton = [this](const char* nom, QRect zone, const QString& texte, const QStringList& textes,
                               void (FenetrePrincipale::*gestionnaire)()) {
        auto* b = new BoutonTexte(texte, centralWidget());
        b->setObjectName(QString::fromLatin1(nom));
        b->setGeometry(zone);
        b->setFocusPolicy(Qt::NoFocus); // the keys are the board's; the buttons have their letters
        b->setFont(PoliceAjustee(Police(13.5), textes, b->ZoneTexte(), BoutonTexte::Drapeaux));
        connect(b, &QPushButton::clicked, this, gestionnaire);
        return b;
    };
    vannes_ = bouton("Vannes", Twips(8520, 240, 1455, 975), tr("Vannes max."), {tr("Vannes max.")},
                     &FenetrePrincipale::OuvrirVannes);
    // What each button does and its key, in its tooltip and for a screen reader.
    const QString descriptionVannes =
        tr("Ouvre les vannes en grand : les liquides avancent à chaque seconde et "
           "chaque case rapporte plus de points. Raccourci : V");
    vannes_->setToolTip(descriptionVannes);
    vannes_->setAccessibleDescription(descriptionVannes);
    pause_ = bouton("Pause", Twips(10320, 240, 1455, 975), LegendePause(false),
                    {LegendePause(false), LegendePause(true)}, &FenetrePrincipale::BasculerPause);
    pause_->setToolTip(DescriptionPause(false));
    pause_->setAccessibleDescription(DescriptionPause(false));

    // The pipe in hand is framed apart from the two that follow, in the room between the boxes.
    auto* enMain = new QFrame(centralWidget());
    enMain->setObjectName(QStringLiteral("CadreEnMain"));
    enMain->setFrameStyle(QFrame::Box | QFrame::Plain);
    enMain->setGeometry(Twips(13200, 0, 1455, 1290));
    enMain->setLineWidth(3);
    enMain->setForegroundRole(QPalette::Highlight);
    const std::array<int, 3> gauches{13320, 15120, 16920};
    const std::array<QString, 3> bulles{
        tr("Tuyau en main : cliquez sur une case pour l'y poser, ou choisissez-la avec les flèches et "
           "appuyez sur Espace ou Entrée."),
        tr("Tuyau suivant : il vient en main une fois le tuyau en main posé."),
        tr("Tuyau d'après : il vient en main après le tuyau suivant."),
    };
    for (std::size_t k = 0; k < blocs_.size(); ++k) {
        blocs_[k] = new CaseImage(imagier_, centralWidget());
        blocs_[k]->setObjectName(
            QStringLiteral("BlocSuivant%1").arg(k == 0 ? QString() : QString::number(k + 1)));
        blocs_[k]->setGeometry(Twips(gauches[k], 0, 1215, 1215));
        blocs_[k]->setAccessibleName(NomBloc(k, {}));
        blocs_[k]->setToolTip(bulles[k]);
    }
    // Cells are placed every 80 pixels but are 81 wide, so that neighbours share a border line.
    for (int i = 0; i < NombreCellules; ++i) {
        CaseImage* c = new CaseImage(imagier_, centralWidget());
        c->setObjectName(QStringLiteral("Grille%1").arg(i));
        c->setGeometry(Twips(120 + 1200 * (i % Colonnes), 1320 + 1200 * (i / Colonnes), 1215, 1215));
        c->RendreCliquable();
        c->setAccessibleName(NomCase(i, jeu_.Cellules()[static_cast<std::size_t>(i)]));
        connect(c, &CaseImage::Clic, this, [this, i] { PoserTuyau(i); });
        connect(c, &CaseImage::Survol, this, [this, i] { PlacerCurseur(i, false); });
        cases_[static_cast<std::size_t>(i)] = c;
    }
    Case(curseur_)->Curseur(true, false);

    // The board is played from the keyboard as well: the client area holds the keys and passes
    // them to the cell under the cursor.
    centralWidget()->setFocusPolicy(Qt::StrongFocus);
    centralWidget()->setAccessibleName(tr("Plateau"));
    centralWidget()->setAccessibleDescription(
        tr("Les flèches choisissent une case, Espace ou Entrée y pose le tuyau en main."));
    centralWidget()->installEventFilter(this);
    centralWidget()->setFocus();
    // Every place and font above is the default size's; from here on the client scales them.
    client->Retenir();
}

void FenetrePrincipale::ConstruireRaccourcis() {
    // Window-wide letters for the two buttons, which keep the keyboard off themselves. A click()
    // on a disabled button does nothing, so the letter obeys the button's state.
    const auto lettre = [this](const char* nom, Qt::Key touche, QPushButton* bouton) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(nom));
        a->setShortcut(QKeySequence(touche));
        addAction(a);
        connect(a, &QAction::triggered, bouton, &QPushButton::click);
    };
    lettre("raccourciPause", Qt::Key_P, pause_);
    lettre("raccourciVannes", Qt::Key_V, vannes_);

    // F11 fills the screen with the board and gives the window back; Escape gives it back too,
    // and only then takes the key: elsewhere Escape stays the menus' and the boxes'.
    const auto plein = [this](const char* nom, Qt::Key touche, auto gestionnaire) {
        auto* a = new QAction(this);
        a->setObjectName(QString::fromLatin1(nom));
        a->setShortcut(QKeySequence(touche));
        addAction(a);
        connect(a, &QAction::triggered, this, gestionnaire);
        return a;
    };
    plein("raccourciPleinEcran", Qt::Key_F11, &FenetrePrincipale::BasculerPleinEcran);
    quitterPleinEcran_ =
        plein("raccourciQuitterPleinEcran", Qt::Key_Escape, &FenetrePrincipale::BasculerPleinEcran);
    quitterPleinEcran_->setEnabled(false);
}

void FenetrePrincipale::BasculerPleinEcran() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

void FenetrePrincipale::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        quitterPleinEcran_->setEnabled(isFullScreen());
    QMainWindow::changeEvent(event);
}

bool FenetrePrincipale::eventFilter(QObject* objet, QEvent* event) {
    if (objet == centralWidget() && event->type() == QEvent::KeyPress &&
        Touche(*static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(objet, event);
}

bool FenetrePrincipale::Touche(const QKeyEvent& touche) {
    // With a modifier the key is someone else's (Ctrl+N...); the keypad's arrows are arrows.
    if ((touche.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    std::optional<Direction> direction;
    switch (touche.key()) {
    case Qt::Key_Left:
        direction = Direction::Gauche;
        break;
    case Qt::Key_Right:
        direction = Direction::Droite;
        break;
    case Qt::Key_Up:
        direction = Direction::Haut;
        break;
    case Qt::Key_Down:
        direction = Direction::Bas;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A key held down, such as the Enter that closed a message box, lays one pipe, not a row.
        if (touche.isAutoRepeat())
            return true;
        PlacerCurseur(curseur_, true);
        // As a click would: a cell that takes no clicks takes no key either.
        Case(curseur_)->Activer();
        return true;
    default:
        return false;
    }
    // Past an edge there is no neighbour: the cursor stays rather than wrapping to another row.
    PlacerCurseur(Voisin(curseur_, *direction).value_or(curseur_), true);
    return true;
}

void FenetrePrincipale::PlacerCurseur(int index, bool clavier) {
    clavierUtilise_ = clavierUtilise_ || clavier;
    const int avant = curseur_;
    Case(avant)->Curseur(false, false);
    curseur_ = index;
    Case(curseur_)->Curseur(true, clavierUtilise_);
    // A screen reader follows the focus: inside the board, the cursor stands for it.
    if (curseur_ != avant && centralWidget()->hasFocus()) {
        QAccessibleEvent focus(Case(curseur_), QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

// ---- Handlers -----------------------------------------------------------------------

bool FenetrePrincipale::Demarrer() {
    if (!jeu_.Demarrer(chemin_.toStdString()))
        return false;
    // The side windows are built when first asked for: hidden until then, they would only
    // delay the board's first showing.
    Rafraichir();
    return true;
}

void FenetrePrincipale::PoserTuyau(int cellule) {
    jeu_.PoserTuyau(cellule);
    Rafraichir();
}

void FenetrePrincipale::Tic() {
    jeu_.Tic();
    Rafraichir();
}

void FenetrePrincipale::BasculerPause() {
    jeu_.BasculerPause();
    Rafraichir();
}

void FenetrePrincipale::OuvrirVannes() {
    jeu_.OuvrirVannes();
    Rafraichir();
}

void FenetrePrincipale::NouvellePartie() {
    jeu_.NouvellePartie();
    Rafraichir();
}

void FenetrePrincipale::ArreterPartie() {
    jeu_.ArreterPartie();
    Rafraichir();
}

void FenetrePrincipale::ChoisirDifficulte(int difficulte) {
    jeu_.ChoisirDifficulte(difficulte);
    Rafraichir();
}

template <class Fenetre, class... Arguments>
void FenetrePrincipale::Montrer(QPointer<Fenetre>& fenetre, Arguments&... arguments) {
    // A window closed by its close box is gone: build it again, which composes its text anew.
    if (!fenetre)
        fenetre = new Fenetre(arguments...);
    fenetre->show();
    fenetre->raise();
    fenetre->activateWindow();
}

void FenetrePrincipale::MontrerScores() {
    // Shown, it reads the file; already open, it reads it again, as another copy of the game may
    // have written it.
    if (scores_ && scores_->isVisible())
        scores_->Relire();
    Montrer(scores_, palmares_);
}
void FenetrePrincipale::MontrerRegles() {
    Montrer(regles_);
}
void FenetrePrincipale::MontrerAPropos() {
    Montrer(aPropos_);
}
void FenetrePrincipale::Quitter() {
    close();
}

FenetrePrincipale::~FenetrePrincipale() {
    // The side windows have no parent to delete them; one closed and awaiting its deferred
    // delete is still here too.
    delete scores_.data();
    delete aPropos_.data();
    delete regles_.data();
}

void FenetrePrincipale::closeEvent(QCloseEvent* event) {
    for (QWidget* fenetre : std::initializer_list<QWidget*>{scores_, aPropos_, regles_})
        if (fenetre)
            fenetre->close();
    event->accept();
}

// ---- Refresh ------------------------------------------------------------------------

void FenetrePrincipale::Rafraichir() {
    const EtatJeu& e = jeu_.Etat();
    labelNiveau_->setText(Compte(e, e.Niveau));
    labelEssais_->setText(Compte(e, std::max<int>(e.Essais, 0)));
    labelScore_->setText(Compte(e, e.Score));
    labelRecord_->setText(QString::fromStdString(e.ScoreRecord));
    labelRecord_->setToolTip(QString::fromStdString(e.NomRecord));
    labelDiff_->setText(e.Difficulte == 0 ? QString() : QString::number(e.Difficulte));
    labelTemps_->setText(Compte(e, e.Temps));
    const QString legende = LegendePause(e.EnPause);
    if (legende != pause_->text()) {
        pause_->setText(legende);
        pause_->setToolTip(DescriptionPause(e.EnPause));
        pause_->setAccessibleDescription(DescriptionPause(e.EnPause));
    }
    pause_->setEnabled(e.PausePossible);
    vannes_->setEnabled(e.OuvrirVannesPossible);
    menuDifficulte_->menuAction()->setEnabled(e.ChoisirDifficultePossible);
    for (std::size_t d = 0; d < menusDifficulte_.size(); ++d)
        menusDifficulte_[d]->setChecked(e.Difficulte == static_cast<int>(d) + 1);
    // A picture's name says the piece and its liquids: the spoken name changes with it only.
    const std::array<std::int16_t, 3> tuyaux{e.Tuyau1, e.Tuyau2, e.Tuyau3};
    for (std::size_t k = 0; k < blocs_.size(); ++k) {
        const std::string nom = NomBlocSuivant(tuyaux[k]);
        if (blocs_[k]->Afficher(nom))
            blocs_[k]->setAccessibleName(NomBloc(k, nom));
    }
    const Grille& grille = jeu_.Cellules();
    for (std::size_t i = 0; i < cases_.size(); ++i) {
        if (cases_[i]->Afficher(grille[i].Image))
            cases_[i]->setAccessibleName(NomCase(static_cast<int>(i), grille[i]));
        cases_[i]->setEnabled(grille[i].Active);
    }
}

void FenetrePrincipale::DialoguesFenetre::Message(const std::string& texte, Icone icone) {
    fenetre_.Rafraichir();
    dialogues_.Message(texte, icone);
}

std::string FenetrePrincipale::DialoguesFenetre::Saisir(const std::string& invite) {
    fenetre_.Rafraichir();
    return dialogues_.Saisir(invite);
}

bool FenetrePrincipale::PalmaresFenetre::MettreAJour(const Changement& changer) {
    const bool fait = palmares_.MettreAJour(changer);
    if (fenetre_.scores_ && fenetre_.scores_->isVisible())
        fenetre_.scores_->Relire();
    return fait;
}

} // namespace canalisor::ui
