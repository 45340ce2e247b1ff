// canalisor-bench-handlers: times the heaviest handlers of the main window, each with the
// synchronous repaint of the whole window and an X round trip, so that the figures compare
// with the Qt floor's "--bench-reload" (120 cell pixmaps reloaded + repaint + round trip).
// It is a benchmark tool, not the program: the program reads nothing from its command line,
// so the timing lives in this separate executable, built beside the tiles it loads.
//
// Usage:
//   canalisor-bench-handlers [N]        time each handler N times (default 100) after 5
//                                       warm-ups; prints "<name>_us median=.. min=.. max=.. n=N"
//   canalisor-bench-handlers --session  a scripted session for memory checkers: start a game,
//                                       lay pipes, tick through levels, lose the tries, open and
//                                       close the side windows, change the difficulty, quit
//
// The world is scripted: seeded chance, a clock that only records whether it runs (the ticks
// are called here), dialogs that answer at once and an in-memory best-scores file.

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#ifdef CANALISOR_BENCH_XCB
#include <xcb/xcb.h>
#endif

#include "FenetrePrincipale.h"
#include "Joueur.h"
#include "MondeScripte.h"

namespace {

using canalisor::Couleur;
using canalisor::Couleurs;
using canalisor::EstActive;
using canalisor::Jeu;
using canalisor::NombreCellules;
using canalisor::ui::FenetrePrincipale;

// Waits until the X server has handled every request sent so far, as the floor does.
void SynchroniserX() {
#ifdef CANALISOR_BENCH_XCB
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
        xcb_connection_t* c = x11->connection();
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
#endif
}

bool XSynchronise() {
#ifdef CANALISOR_BENCH_XCB
    return qApp->nativeInterface<QNativeInterface::QX11Application>() != nullptr;
#else
    return false;
#endif
}

struct Stats {
    double med, min, max;
};

Stats Statistiques(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    const double med = n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    return {med, v.front(), v.back()};
}

// The world of the window, all scripted.
struct Monde {
    explicit Monde(unsigned graine) : hasard(graine) {
        palmares.table = canalisor::test::TableExemple();
        // A game over with a record asks for a name: always have one ready.
        for (int k = 0; k < 1000; ++k)
            dialogues.reponses.push_back("Banc");
    }
    canalisor::test::HasardScripte hasard;
    canalisor::test::HorlogeScriptee horloge;
    canalisor::test::DialoguesScriptes dialogues;
    canalisor::test::PalmaresMemoire palmares;
};

QString DossierProgramme() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
}

void AttendreExposition(FenetrePrincipale& form) {
    QElapsedTimer attente;
    attente.start();
    while (!(form.windowHandle() && form.windowHandle()->isExposed()) && attente.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents();
}

// Untimed: shows the window's current state and lets the event queue drain, so that the
// next timed step starts from a settled window.
void Poser(FenetrePrincipale& form) {
    form.Rafraichir();
    form.repaint();
    SynchroniserX();
    QCoreApplication::processEvents();
}

// Every cell shows a pipe, as after a played level, so that a level start changes the
// picture of all 120 cells: the worst case for a layout.
void CouvrirDePipes(FenetrePrincipale& form, int decalage) {
    auto& grille = form.Modele().Cellules();
    for (int i = 0; i < NombreCellules; ++i)
        grille[static_cast<std::size_t>(i)].Image = canalisor::NomImage(2 + (i + decalage + 7) % 7);
    Poser(form);
}

// Times `etape` (the handler) + a synchronous repaint of the whole window + an X round
// trip, `iterations` times after 5 warm-ups; `preparer` runs untimed before each.
Stats Mesurer(FenetrePrincipale& form, int iterations, const std::function<void(int)>& preparer,
              const std::function<void()>& etape) {
    std::vector<double> us;
    for (int it = -5; it < iterations; ++it) {
        preparer(it);
        QElapsedTimer et;
        et.start();
        etape();
        form.repaint();
        SynchroniserX();
        const double t = static_cast<double>(et.nsecsElapsed()) / 1e3;
        if (it >= 0)
            us.push_back(t);
        QCoreApplication::processEvents();
    }
    return Statistiques(us);
}

void Afficher(const char* nom, const Stats& s, int n) {
    std::printf("%s_us median=%.0f min=%.0f max=%.0f n=%d\n", nom, s.med, s.min, s.max, n);
    std::fflush(stdout);
}

bool QuatreEnCours(const Jeu& jeu) {
    for (Couleur c : Couleurs) {
        if (!EstActive(c, jeu.Etat().Niveau))
            return false;
        if (!jeu.Etat()[c].Valide || jeu.Etat()[c].Arrive)
            return false;
    }
    return true;
}

// Lays out level `niveau` until the scripted player finds a path for every liquid, lays the
// pipes, opens the valves and lets the liquids flow `tics` cells into their pipes. Returns
// false when no seed gave a board where all four still flow after one more tick.
bool PreparerEcoulement(FenetrePrincipale& form, Monde& monde, int niveau, int tics) {
    Jeu& jeu = form.Modele();
    for (int essai = 0; essai < 200; ++essai) {
        form.NouvellePartie();
        jeu.Etat().Niveau = static_cast<std::int16_t>(niveau);
        jeu.NouveauNiveau();
        canalisor::test::JoueurScripte joueur(jeu);
        if (!joueur.Planifier())
            continue;
        joueur.Poser();
        if (!joueur.PlanEnPlace())
            continue;
        form.Rafraichir();
        form.OuvrirVannes();
        const std::size_t boites = monde.dialogues.messages.size();
        for (int t = 0; t < tics; ++t)
            form.Tic();
        if (monde.dialogues.messages.size() != boites || !QuatreEnCours(jeu))
            continue;
        // One more tick must leave all four flowing, or the timed tick would end the level.
        const canalisor::EtatJeu etat = jeu.Etat();
        const canalisor::Grille grille = jeu.Cellules();
        form.Tic();
        const bool encore =
            monde.dialogues.messages.size() == boites && QuatreEnCours(jeu) && jeu.Etat().HorlogeEnMarche;
        jeu.Etat() = etat;
        jeu.Cellules() = grille;
        Poser(form);
        if (encore)
            return true;
    }
    return false;
}

int Chronometrer(FenetrePrincipale& form, Monde& monde, int n) {
    Jeu& jeu = form.Modele();

    // Repaint alone: what every handler below pays on top of its own work.
    Afficher("repaint_only",
             Mesurer(
                 form, n, [](int) {}, [] {}),
             n);

    // (a) "Nouvelle partie": lays out level 1 over a board whose every cell changes picture.
    Afficher("handler_level_start",
             Mesurer(
                 form, n, [&](int it) { CouvrirDePipes(form, it); }, [&] { form.NouvellePartie(); }),
             n);

    // (a') the fullest layout, level 15, over the same kind of board.
    Afficher("handler_level15_start",
             Mesurer(
                 form, n,
                 [&](int it) {
                     jeu.Etat().Niveau = 15;
                     CouvrirDePipes(form, it);
                 },
                 [&] {
                     jeu.NouveauNiveau();
                     form.Rafraichir();
                 }),
             n);

    // (b) a tick that moves four liquids one cell each (count forced to "1" by "Vannes max.").
    if (!PreparerEcoulement(form, monde, 10, 2)) {
        std::fprintf(stderr, "canalisor-bench-handlers: no level-10 board with four liquids flowing\n");
        return 1;
    }
    const canalisor::EtatJeu etat = jeu.Etat();
    const canalisor::Grille grille = jeu.Cellules();
    const std::size_t boites = monde.dialogues.messages.size();
    bool quatre = true;
    Afficher("handler_tick_4_liquids",
             Mesurer(
                 form, n,
                 [&](int) {
                     jeu.Etat() = etat;
                     jeu.Cellules() = grille;
                     Poser(form);
                 },
                 [&] {
                     form.Tic();
                     quatre = quatre && QuatreEnCours(jeu);
                 }),
             n);
    if (!quatre || monde.dialogues.messages.size() != boites || jeu.Etat().Temps != 1) {
        std::fprintf(stderr, "canalisor-bench-handlers: the timed tick did not keep four liquids flowing\n");
        return 1;
    }

    // (c) a click that lays the pipe in hand on an empty cell (and moves the queue on).
    form.NouvellePartie();
    Poser(form);
    int vide = -1;
    for (int i = NombreCellules - 1; i >= 0 && vide < 0; --i)
        if (jeu.Cellules()[static_cast<std::size_t>(i)].Piece == canalisor::Vide)
            vide = i;
    auto& cellule = jeu.Cellules()[static_cast<std::size_t>(vide)];
    Afficher("handler_click_empty_cell",
             Mesurer(
                 form, n,
                 [&](int) {
                     cellule.Piece = canalisor::Vide;
                     cellule.Remplissage.clear();
                     cellule.Image = canalisor::NomImage(canalisor::Vide);
                     Poser(form);
                 },
                 [&] { form.PoserTuyau(vide); }),
             n);
    if (!canalisor::EstTuyau(cellule.Piece)) {
        std::fprintf(stderr, "canalisor-bench-handlers: the click laid no pipe\n");
        return 1;
    }

    std::printf("window %dx%d exposed=%d xsync=%d platform=%s\n", form.width(), form.height(),
                int(form.windowHandle() && form.windowHandle()->isExposed()), int(XSynchronise()),
                qPrintable(QGuiApplication::platformName()));
    std::fflush(stdout);
    return 0;
}

// Ticks until the level or the try changes, or the clock stops; at most `max` ticks.
int TicsJusquAuBout(FenetrePrincipale& form, int max = 2000) {
    const Jeu& jeu = form.Modele();
    const auto niveau = jeu.Etat().Niveau;
    const auto essais = jeu.Etat().Essais;
    int tics = 0;
    while (jeu.Etat().HorlogeEnMarche && jeu.Etat().Niveau == niveau && jeu.Etat().Essais == essais &&
           tics < max) {
        form.Tic();
        QCoreApplication::processEvents();
        ++tics;
    }
    return tics;
}

void OuvrirFermerFenetres(FenetrePrincipale& form) {
    form.MontrerScores();
    form.MontrerRegles();
    form.MontrerAPropos();
    QCoreApplication::processEvents();
    for (QWidget* w : std::initializer_list<QWidget*>{form.Scores(), form.Regles(), form.APropos()})
        if (w)
            w->close();
    // The side windows delete themselves on close.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int Session(FenetrePrincipale& form, Monde& monde) {
    Jeu& jeu = form.Modele();
    OuvrirFermerFenetres(form);
    form.ChoisirDifficulte(1);
    form.NouvellePartie();
    QCoreApplication::processEvents();

    // Levels played by the scripted player, clicking through the window's handler.
    int passes = 0;
    for (int niveau = 0; niveau < 3; ++niveau) {
        canalisor::test::JoueurScripte joueur(jeu);
        joueur.Planifier();
        // The player's plan, laid through the window: each click is the cell's handler.
        for (int clics = 0; !joueur.PlanEnPlace() && clics < 400; ++clics) {
            const int enMain = jeu.Etat().Tuyau1;
            int cible = -1;
            for (const auto& [i, codes] : joueur.Plan()) {
                const auto& c = jeu.Cellules()[static_cast<std::size_t>(i)];
                const bool bon = std::find(codes.begin(), codes.end(), c.Piece) != codes.end();
                if (!bon && c.Remplissage.empty() &&
                    std::find(codes.begin(), codes.end(), enMain) != codes.end()) {
                    cible = i;
                    break;
                }
            }
            if (cible < 0)
                for (int i = 0; i < NombreCellules && cible < 0; ++i)
                    if (jeu.Cellules()[static_cast<std::size_t>(i)].Piece == canalisor::Vide &&
                        !joueur.Plan().contains(i))
                        cible = i;
            if (cible < 0)
                break;
            form.PoserTuyau(cible);
            QCoreApplication::processEvents();
        }
        form.BasculerPause();
        form.BasculerPause();
        form.OuvrirVannes();
        const auto avant = jeu.Etat().Niveau;
        TicsJusquAuBout(form);
        if (jeu.Etat().Niveau != avant)
            ++passes;
        form.repaint();
    }
    OuvrirFermerFenetres(form);

    // Tries lost one after the other, to the end of the game and its name box.
    for (int k = 0; k < 5 && jeu.Etat().PausePossible; ++k) {
        form.OuvrirVannes();
        TicsJusquAuBout(form);
    }
    form.ArreterPartie();
    form.ChoisirDifficulte(3);
    form.ChoisirDifficulte(2);
    form.NouvellePartie();
    for (int t = 0; t < 5; ++t)
        form.Tic();
    OuvrirFermerFenetres(form);
    form.MontrerScores(); // left open: quitting closes it
    QCoreApplication::processEvents();
    std::printf("session: levels passed=%d boxes=%zu score=%d level=%d\n", passes,
                monde.dialogues.messages.size(), jeu.Etat().Score, jeu.Etat().Niveau);
    std::fflush(stdout);
    form.Quitter();
    QCoreApplication::processEvents();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    bool session = false;
    int n = 100;
    const QStringList arguments = QCoreApplication::arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        bool ok = false;
        const int valeur = arguments[i].toInt(&ok);
        if (arguments[i] == QLatin1String("--session"))
            session = true;
        else if (ok && valeur > 0)
            n = valeur;
        else {
            std::fprintf(stderr, "usage: canalisor-bench-handlers [N] | --session\n");
            return 2;
        }
    }

    Monde monde(12345);
    FenetrePrincipale form(monde.hasard, monde.horloge, monde.dialogues, monde.palmares, DossierProgramme());
    if (!form.Demarrer()) {
        std::fprintf(stderr, "canalisor-bench-handlers: start-up failed\n");
        return 1;
    }
    form.show();
    int code = 0;
    QTimer::singleShot(0, [&] {
        AttendreExposition(form);
        code = session ? Session(form, monde) : Chronometrer(form, monde, n);
        QCoreApplication::exit(code);
    });
    const int fin = application.exec();
    return code ? code : fin;
}
