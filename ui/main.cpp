// Canalisor: the program reads its tiles and its best-scores file from its own folder. Its
// command line holds only --help, --version and Qt's own options.
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QMenuBar>

#include "Application.h"
#include "DossierProgramme.h"
#include "EmplacementScores.h"
#include "FenetrePrincipale.h"
#include "FichierScores.h"
#include "LigneDeCommande.h"
#include "MondeQt.h"
#include "PlaceFenetre.h"

int main(int argc, char* argv[]) {
    // Before QApplication: it needs a display, and would abort without one.
    if (const auto statut = canalisor::ui::LireLigneDeCommande(argc, argv, stdout, stderr))
        return *statut;

    QApplication application(argc, argv);
    canalisor::ui::PreparerApplication(application);
    canalisor::ui::DialoguesQt dialogues;
    // Qt decodes the folder's name and loses a name that is not valid UTF-8: it would then read,
    // and might rewrite, files at the root. The folder is entered by its bytes instead.
    if (!canalisor::ui::EntrerDossierProgramme()) {
        dialogues.Message(canalisor::ui::DossierIntrouvable, canalisor::Icone::Critique);
        return EXIT_FAILURE;
    }
    const QString chemin = QStringLiteral("./");

    canalisor::ui::HasardHorloge hasard;
    canalisor::ui::HorlogeQt horloge;
    const canalisor::ui::Emplacement emplacement =
        canalisor::ui::EmplacementScores(chemin, dialogues, canalisor::ui::ProgrammeInstalle(chemin),
                                         canalisor::ui::DossierDonneesJoueur());
    canalisor::FichierScores palmares(emplacement.Fichier, emplacement.Ecriture);
    canalisor::ui::FenetrePrincipale fenetre(hasard, horloge, dialogues, palmares, chemin);
    dialogues.Parent(&fenetre);
    QObject::connect(&horloge, &canalisor::ui::HorlogeQt::Tic, &fenetre,
                     &canalisor::ui::FenetrePrincipale::Tic);

    // Without its best-scores file the program has told the player so and ends unseen.
    if (!fenetre.Demarrer())
        return EXIT_FAILURE;
    canalisor::ui::PlacerFenetre(fenetre, fenetre.menuBar()->sizeHint().height());
    QObject::connect(&application, &QCoreApplication::aboutToQuit, &fenetre,
                     [&fenetre] { canalisor::ui::MemoriserFenetre(fenetre); });
    fenetre.show();
    return application.exec();
}
