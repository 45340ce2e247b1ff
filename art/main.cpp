// canalisor-art: draws the game's pictures at build time.
//
//   canalisor-art --tuiles DIR       the 81 tiles, named as the game loads them
//                 --ressources DIR   the rules window's four pictures and the icon
//                 --echelle N        tiles and rules pictures N times larger, named "7b@2x.bmp";
//                                    repeated, one set per scale (the icon is written once)
//                 --temoin FILE      written last, listing every file: the build's proof of success
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

#include "Dessin.h"
#include "Ico.h"

using namespace canalisor;

namespace {

class Ecrivain {
  public:
    // Windows' bitmap format, which Qt writes with 24 bits per pixel: the format the game's
    // tiles have always had. A larger scale gets the "@2x" suffix Qt uses for such images.
    bool Bitmap(const QDir& dossier, const QString& nom, int echelle, const QImage& image) {
        QString nomAEchelle = nom;
        if (echelle != 1)
            nomAEchelle.insert(nom.lastIndexOf('.'), QStringLiteral("@%1x").arg(echelle));
        return Enregistrer(dossier.filePath(nomAEchelle),
                           [&](const QString& chemin) { return image.save(chemin, "BMP"); });
    }

    bool Png(const QDir& dossier, const QString& nom, const QImage& image) {
        return Enregistrer(dossier.filePath(nom),
                           [&](const QString& chemin) { return image.save(chemin, "PNG"); });
    }

    bool Octets(const QDir& dossier, const QString& nom, const QByteArray& octets) {
        return Enregistrer(dossier.filePath(nom), [&](const QString& chemin) {
            QFile fichier(chemin);
            return fichier.open(QIODevice::WriteOnly) && fichier.write(octets) == octets.size();
        });
    }

    const QStringList& Ecrits() const { return ecrits_; }

  private:
    template <typename F> bool Enregistrer(const QString& chemin, F ecrire) {
        if (!ecrire(chemin)) {
            std::fprintf(stderr, "canalisor-art: cannot write %s\n", qPrintable(chemin));
            return false;
        }
        ecrits_.append(chemin);
        return true;
    }

    QStringList ecrits_;
};

bool EcrireTuiles(Ecrivain& ecrivain, const QDir& dossier, int echelle) {
    for (const Tuile& tuile : CatalogueTuiles())
        if (!ecrivain.Bitmap(dossier, QString::fromStdString(tuile.Nom), echelle,
                             art::DessinerTuile(tuile, echelle)))
            return false;
    return true;
}

bool EcrireRegles(Ecrivain& ecrivain, const QDir& dossier, int echelle) {
    const DescriptionCouleur& bleu = Description(Couleur::Bleu);
    const std::pair<const char*, std::int16_t> regles[] = {
        {"regle-obstacle.bmp", Obstacle},
        {"regle-depart.bmp", bleu.Depart},
        {"regle-arrivee.bmp", bleu.Arrivee},
        {"regle-porte.bmp", bleu.Porte},
    };
    for (const auto& [nom, code] : regles)
        if (!ecrivain.Bitmap(dossier, nom, echelle, art::DessinerTuile({"", code, {}, {}, {}}, echelle)))
            return false;
    return true;
}

// The icon has its own sizes, whatever the tiles' scale.
bool EcrireIcone(Ecrivain& ecrivain, const QDir& dossier) {
    QList<QImage> dansIco;
    for (int taille : {16, 32, 48, 64, 128, 256}) {
        const QImage icone = art::DessinerIcone(taille);
        if (!ecrivain.Png(dossier, QStringLiteral("icone-%1.png").arg(taille), icone))
            return false;
        if (taille != 64 && taille != 128)
            dansIco.append(icone);
    }
    return ecrivain.Octets(dossier, "canalisor.ico", art::ConteneurIco(dansIco));
}

} // namespace

int main(int argc, char** argv) {
    // Runs during the build, where there is often no display to connect to.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);

    QCommandLineParser options;
    options.setApplicationDescription("Draws Canalisor's tiles, rules pictures and icon.");
    options.addHelpOption();
    const QCommandLineOption tuiles("tuiles", "Folder that receives the tiles.", "dossier");
    const QCommandLineOption ressources("ressources", "Folder that receives the rules pictures and the icon.",
                                        "dossier");
    const QCommandLineOption echelle(
        "echelle", "Scale of the tiles and rules pictures (1 to 4); may be repeated.", "n", "1");
    const QCommandLineOption temoin("temoin", "File listing what was written, written last.", "fichier");
    options.addOptions({tuiles, ressources, echelle, temoin});
    options.process(application);

    QList<int> facteurs;
    for (const QString& valeur : options.values(echelle)) {
        bool nombre = false;
        const int facteur = valeur.toInt(&nombre);
        if (!nombre || facteur < 1 || facteur > 4) {
            facteurs.clear();
            break;
        }
        if (!facteurs.contains(facteur))
            facteurs.append(facteur);
    }
    if (facteurs.isEmpty() || (!options.isSet(tuiles) && !options.isSet(ressources))) {
        std::fprintf(stderr, "%s", qPrintable(options.helpText()));
        return 2;
    }

    Ecrivain ecrivain;
    for (const QCommandLineOption* option : {&tuiles, &ressources}) {
        if (!options.isSet(*option))
            continue;
        const QDir dossier(options.value(*option));
        if (!dossier.mkpath(".")) {
            std::fprintf(stderr, "canalisor-art: cannot create %s\n", qPrintable(dossier.path()));
            return 1;
        }
        const auto ecrire = option == &tuiles ? &EcrireTuiles : &EcrireRegles;
        for (int facteur : facteurs)
            if (!ecrire(ecrivain, dossier, facteur))
                return 1;
        if (option == &ressources && !EcrireIcone(ecrivain, dossier))
            return 1;
    }

    if (options.isSet(temoin)) {
        QFile fichier(options.value(temoin));
        if (!fichier.open(QIODevice::WriteOnly | QIODevice::Text)) {
            std::fprintf(stderr, "canalisor-art: cannot write %s\n", qPrintable(fichier.fileName()));
            return 1;
        }
        QTextStream(&fichier) << ecrivain.Ecrits().join('\n') << '\n';
    }
    return 0;
}
