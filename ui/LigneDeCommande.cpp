#include "LigneDeCommande.h"

#include <array>
#include <memory>
#include <string_view>
#include <vector>

#include <QCoreApplication>
#include <QString>
#include <QTranslator>

#include "Application.h"

#include "Version.h"

namespace canalisor::ui {

namespace {

// ---- What the command line says -------------------------------------------------------
// Every text of the command line is here, French as the source, marked for lupdate in the
// translation context "LigneDeCommande". No application exists yet to install a translation in,
// so the player's is asked directly; without one the source text stands.

QString Texte(const char* source) {
    static const std::vector<std::unique_ptr<QTranslator>> traductions = ChargerTraductions();
    for (const std::unique_ptr<QTranslator>& traduction : traductions) {
        const QString traduit = traduction->translate("LigneDeCommande", source);
        if (!traduit.isEmpty())
            return traduit;
    }
    return QString::fromUtf8(source);
}

QString TexteAide() {
    return Texte(QT_TRANSLATE_NOOP(
        "LigneDeCommande", "Utilisation : canalisor [OPTION]...\n"
                           "Jeu de tuyaux : conduisez les liquides jusqu'à leur arrivée avant qu'ils ne "
                           "débordent.\n"
                           "\n"
                           "  -h, --help       affiche cette aide et quitte\n"
                           "  -v, --version    affiche la version et quitte\n"
                           "\n"
                           "Les options de Qt sont acceptées aussi, entre autres :\n"
                           "  -platform NOM    le greffon d'affichage : xcb, wayland, offscreen...\n"
                           "  -style NOM       le style des fenêtres : Fusion, Windows...\n"
                           "  -display ÉCRAN   l'écran X11 où ouvrir la fenêtre, par exemple :0\n"
                           "\n"
                           "Voir aussi : man canalisor\n"));
}

QString TexteVersion() {
    return Texte(QT_TRANSLATE_NOOP("LigneDeCommande", "Canalisor version %1\n"
                                                      "Licence : GPL-3.0-or-later\n"))
        .arg(QString::fromLatin1(Version));
}

QString TexteOptionInconnue(const QString& option) {
    return Texte(QT_TRANSLATE_NOOP("LigneDeCommande", "canalisor : option inconnue « %1 »\n")).arg(option);
}

QString TexteArgumentInattendu(const QString& argument) {
    return Texte(QT_TRANSLATE_NOOP("LigneDeCommande",
                                   "canalisor : argument inattendu « %1 » (le jeu ne prend aucun fichier)\n"))
        .arg(argument);
}

QString TexteValeurManquante(const QString& option) {
    return Texte(QT_TRANSLATE_NOOP("LigneDeCommande", "canalisor : l'option « %1 » attend une valeur\n"))
        .arg(option);
}

QString TexteEssayerAide() {
    return Texte(
        QT_TRANSLATE_NOOP("LigneDeCommande", "Essayez « canalisor --help » pour la liste des options.\n"));
}

// ---- Qt's own options ------------------------------------------------------------------
// Those QGuiApplication, QApplication and the X11 plugin take off the command line
// (Qt 6), each as -name or --name. Letting through one that the running platform ignores is
// harmless: the program reads nothing else from its arguments.

struct OptionQt {
    std::string_view nom;
    bool valeur; // takes the next argument, or its value after '='
};

constexpr std::array OptionsQt{
    OptionQt{"platform", true},
    OptionQt{"platformpluginpath", true},
    OptionQt{"platformtheme", true},
    OptionQt{"plugin", true},
    OptionQt{"qwindowgeometry", true},
    OptionQt{"qwindowicon", true},
    OptionQt{"qwindowtitle", true},
    OptionQt{"qmljsdebugger", true},
    OptionQt{"style", true},
    OptionQt{"stylesheet", true},
    OptionQt{"session", true},
    OptionQt{"display", true},
    OptionQt{"geometry", true},
    OptionQt{"title", true},
    OptionQt{"icon", true},
    OptionQt{"name", true},
    OptionQt{"visual", true},
    OptionQt{"reverse", false},
    OptionQt{"widgetcount", false},
    OptionQt{"sync", false},
    OptionQt{"nograb", false},
    OptionQt{"dograb", false},
    OptionQt{"testability", false},
};

const OptionQt* TrouverOptionQt(std::string_view nom) {
    for (const OptionQt& option : OptionsQt)
        if (option.nom == nom)
            return &option;
    return nullptr;
}

void Ecrire(std::FILE* flux, const QString& texte) {
    std::fputs(texte.toLocal8Bit().constData(), flux);
    std::fflush(flux);
}

} // namespace

std::optional<int> LireLigneDeCommande(int argc, const char* const argv[], std::FILE* sortie,
                                       std::FILE* erreurs) {
    constexpr int Usage = 2; // the status of a command line mistake, as for any Unix command
    const auto refuser = [&](const QString& message) {
        Ecrire(erreurs, message + TexteEssayerAide());
        return Usage;
    };

    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const QString tel = QString::fromLocal8Bit(argv[i]);
        if (argument == "-h" || argument == "--help") {
            Ecrire(sortie, TexteAide());
            return 0;
        }
        if (argument == "-v" || argument == "--version") {
            Ecrire(sortie, TexteVersion());
            return 0;
        }
        if (argument.size() < 2 || argument[0] != '-')
            return refuser(TexteArgumentInattendu(tel));

        std::string_view nom = argument.substr(argument.starts_with("--") ? 2 : 1);
        const auto egal = nom.find('=');
        const bool valeurJointe = egal != std::string_view::npos;
        nom = nom.substr(0, egal);
        const OptionQt* option = TrouverOptionQt(nom);
        if (option == nullptr || (valeurJointe && !option->valeur))
            return refuser(TexteOptionInconnue(tel));
        if (option->valeur && !valeurJointe) {
            if (i + 1 == argc)
                return refuser(TexteValeurManquante(tel));
            ++i;
        }
    }
    return std::nullopt;
}

} // namespace canalisor::ui
