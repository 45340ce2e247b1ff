#include "Application.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QTranslator>

#include "Langue.h"

// Both resource files are compiled into the library; naming their initialisers keeps the linker
// from dropping them from the archive. It must be done from outside any namespace.
static void InitialiserTraductions() {
    Q_INIT_RESOURCE(traductions);
#ifdef CANALISOR_RESSOURCES
    Q_INIT_RESOURCE(canalisor);
#endif
}

namespace canalisor::ui {

bool PreparerApplication(QApplication& application) {
    InitialiserTraductions();
    // The name the window system and Qt know the program by (the player's data folder is
    // worked out by EmplacementScores).
    QApplication::setApplicationName(QStringLiteral("canalisor"));
    // The menu entry's name: Wayland's app id, and on X11 what docks match the window by.
    QApplication::setDesktopFileName(QStringLiteral("io.github.canalisor.Canalisor"));

    // The window system only ever asks for the small sizes; decoding the 256-pixel image as
    // well would cost start-up time and memory for nothing.
    QIcon icone;
    QImageReader lecteur(QStringLiteral(":/canalisor.ico"));
    do {
        if (lecteur.size().width() <= 48)
            icone.addPixmap(QPixmap::fromImage(lecteur.read()));
    } while (lecteur.jumpToNextImage());
    QApplication::setWindowIcon(icone);

    // The game's texts and Qt's own in the player's language: none to load for the game's French,
    // none for Qt's English.
    const std::vector<std::string> fichiers = FichiersTraduction(ChoisirLangue(VariablesDuProcessus()));
    std::vector<std::unique_ptr<QTranslator>> traducteurs = ChargerTraductions();
    bool installees = traducteurs.size() == fichiers.size();
    for (std::unique_ptr<QTranslator>& traducteur : traducteurs) {
        traducteur->setParent(&application);
        installees = QApplication::installTranslator(traducteur.release()) && installees;
    }
    return installees;
}

std::vector<std::unique_ptr<QTranslator>> ChargerTraductions() {
    InitialiserTraductions();
    std::vector<std::unique_ptr<QTranslator>> traducteurs;
    for (const std::string& fichier : FichiersTraduction(ChoisirLangue(VariablesDuProcessus()))) {
        auto traducteur = std::make_unique<QTranslator>();
        if (traducteur->load(QStringLiteral(":/traductions/") + QString::fromStdString(fichier)))
            traducteurs.push_back(std::move(traducteur));
    }
    return traducteurs;
}

} // namespace canalisor::ui
