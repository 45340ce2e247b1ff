// The drawn pictures, read back from where the game and its windows find them after a build.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "Plateau.h"

using namespace canalisor;

namespace {

const QString DossierProgramme = CANALISOR_DOSSIER_PROGRAMME;
const QString DossierRessources = CANALISOR_DOSSIER_RESSOURCES;
constexpr int TailleCase = 79;

QByteArray Lire(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

quint32 PetitBoutiste(const QByteArray& octets, qsizetype position, int taille) {
    quint32 valeur = 0;
    for (int k = taille - 1; k >= 0; --k)
        valeur = (valeur << 8) | static_cast<quint8>(octets[position + k]);
    return valeur;
}

// The game has always shipped 24-bit Windows bitmaps; a 32-bit or palette file would load in Qt
// too, so only the header tells.
testing::AssertionResult EstBmp24(const QByteArray& octets, int cote) {
    if (octets.size() < 54 || !octets.startsWith("BM"))
        return testing::AssertionFailure() << "not a BMP file";
    const auto largeur = static_cast<qint32>(PetitBoutiste(octets, 18, 4));
    const auto hauteur = static_cast<qint32>(PetitBoutiste(octets, 22, 4));
    const auto bits = PetitBoutiste(octets, 28, 2);
    if (bits != 24)
        return testing::AssertionFailure() << bits << " bits per pixel";
    if (largeur != cote || std::abs(hauteur) != cote)
        return testing::AssertionFailure() << largeur << " x " << hauteur << " in the header";
    const QImage image = QImage::fromData(octets, "BMP");
    if (image.size() != QSize(cote, cote))
        return testing::AssertionFailure() << "loads as " << image.width() << " x " << image.height();
    return testing::AssertionSuccess();
}

QImage ImageTuile(const std::string& nom) {
    return QImage(DossierProgramme + '/' + QString::fromStdString(nom)).convertToFormat(QImage::Format_RGB32);
}

TEST(Tuiles, ChaqueFichierDuCatalogueEstUnBmp24BitsDeLaTailleDUneCase) {
    ASSERT_EQ(CatalogueTuiles().size(), 81u);
    for (const auto& tuile : CatalogueTuiles()) {
        SCOPED_TRACE(tuile.Nom);
        EXPECT_TRUE(EstBmp24(Lire(DossierProgramme + '/' + QString::fromStdString(tuile.Nom)), TailleCase));
    }
}

TEST(Tuiles, DeuxFichiersNeMontrentJamaisLaMemeImage) {
    std::vector<std::pair<std::string, QImage>> images;
    for (const auto& tuile : CatalogueTuiles())
        images.emplace_back(tuile.Nom, ImageTuile(tuile.Nom));
    for (std::size_t a = 0; a < images.size(); ++a)
        for (std::size_t b = a + 1; b < images.size(); ++b)
            EXPECT_NE(images[a].second, images[b].second) << images[a].first << " and " << images[b].first;
}

// What reaches a side of a tile: the liquid of the channel that opens there, if any.
std::optional<Couleur> LiquideDuCote(const Tuile& tuile, Cote cote) {
    if (tuile.Code == Croix)
        return (cote == Gauche || cote == Droite) ? tuile.Horizontal : tuile.Vertical;
    return tuile.Remplissage;
}

// The line of pixels along one side of a tile.
std::vector<QRgb> Bordure(const QImage& image, Cote cote) {
    std::vector<QRgb> pixels;
    for (int k = 0; k < TailleCase; ++k) {
        switch (cote) {
        case Gauche:
            pixels.push_back(image.pixel(0, k));
            break;
        case Droite:
            pixels.push_back(image.pixel(TailleCase - 1, k));
            break;
        case Haut:
            pixels.push_back(image.pixel(k, 0));
            break;
        case Bas:
            pixels.push_back(image.pixel(k, TailleCase - 1));
            break;
        }
    }
    return pixels;
}

// Antialiasing may round a curved wall differently by a few levels; a wall one pixel off
// changes a pixel from black to white or grey.
bool Semblables(const std::vector<QRgb>& a, const std::vector<QRgb>& b) {
    for (std::size_t k = 0; k < a.size(); ++k)
        if (std::abs(qRed(a[k]) - qRed(b[k])) > 24 || std::abs(qGreen(a[k]) - qGreen(b[k])) > 24 ||
            std::abs(qBlue(a[k]) - qBlue(b[k])) > 24)
            return false;
    return true;
}

// Two tiles side by side must continue each other's pipe: same walls at the same place, same
// liquid. So every open side carrying the same liquid on the same axis has the same border,
// whichever tile it belongs to, and a closed side shows the bare cell.
TEST(Tuiles, LesTuyauxAtteignentLeursCotesOuvertsEtSeRaccordent) {
    const QImage vide = ImageTuile(NomImage(Vide));
    // Key: horizontal axis or not, and the liquid (-1: none).
    std::map<std::pair<bool, int>, std::pair<std::string, std::vector<QRgb>>> references;
    for (const auto& tuile : CatalogueTuiles()) {
        const QImage image = ImageTuile(tuile.Nom);
        for (Cote cote : {Gauche, Droite, Haut, Bas}) {
            SCOPED_TRACE(tuile.Nom + " side " + std::to_string(static_cast<int>(cote)));
            const auto bordure = Bordure(image, cote);
            if ((Ouvertures(tuile.Code) & cote) == 0) {
                EXPECT_TRUE(Semblables(bordure, Bordure(vide, cote))) << "a closed side shows something";
                continue;
            }
            EXPECT_FALSE(Semblables(bordure, Bordure(vide, cote))) << "the pipe does not reach the side";
            const auto liquide = LiquideDuCote(tuile, cote);
            const std::pair cle{cote == Gauche || cote == Droite, liquide ? Indice(*liquide) : -1};
            const auto [reference, nouvelle] = references.try_emplace(cle, tuile.Nom, bordure);
            if (!nouvelle) {
                EXPECT_TRUE(Semblables(bordure, reference->second.second))
                    << "does not join " << reference->second.first;
            }
        }
    }
    // Five per axis: empty and the four liquids, each telling itself apart from the others.
    ASSERT_EQ(references.size(), 10u);
    for (auto a = references.begin(); a != references.end(); ++a)
        for (auto b = std::next(a); b != references.end(); ++b)
            if (a->first.first == b->first.first) {
                EXPECT_FALSE(Semblables(a->second.second, b->second.second))
                    << a->second.first << " and " << b->second.first << " look filled alike";
            }
}

// The rules window shows its pictures from the program's resources, not from the tile files,
// yet each must show the very piece its caption names.
TEST(Ressources, LesImagesDesReglesMontrentLesPiecesBleues) {
    const DescriptionCouleur& bleu = Description(Couleur::Bleu);
    const std::pair<const char*, int> regles[] = {
        {":/regle-obstacle.bmp", Obstacle},
        {":/regle-depart.bmp", bleu.Depart},
        {":/regle-arrivee.bmp", bleu.Arrivee},
        {":/regle-porte.bmp", bleu.Passage},
    };
    for (const auto& [ressource, code] : regles) {
        SCOPED_TRACE(ressource);
        const QByteArray octets = Lire(ressource);
        EXPECT_TRUE(EstBmp24(octets, TailleCase));
        EXPECT_EQ(QImage::fromData(octets, "BMP").convertToFormat(QImage::Format_RGB32),
                  ImageTuile(NomImage(code)));
    }
}

TEST(Ressources, LIconeContientSesQuatreTaillesEnUnFichier) {
    const QByteArray ico = Lire(":/canalisor.ico");
    ASSERT_GE(ico.size(), 6 + 4 * 16);
    EXPECT_EQ(PetitBoutiste(ico, 0, 2), 0u);
    EXPECT_EQ(PetitBoutiste(ico, 2, 2), 1u) << "an icon, not a cursor";
    ASSERT_EQ(PetitBoutiste(ico, 4, 2), 4u);
    const int tailles[] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(tailles[i]);
        const qsizetype entree = 6 + 16 * i;
        EXPECT_EQ(static_cast<quint8>(ico[entree]), tailles[i] % 256) << "256 is written as 0";
        const auto longueur = PetitBoutiste(ico, entree + 8, 4);
        const auto position = PetitBoutiste(ico, entree + 12, 4);
        ASSERT_LE(position + longueur, static_cast<quint32>(ico.size()));
        const QImage image = QImage::fromData(ico.mid(position, longueur));
        EXPECT_EQ(image.size(), QSize(tailles[i], tailles[i]));
    }

    // The window gets its icon through Qt's own reader: it must see every size.
    QBuffer tampon;
    tampon.setData(ico);
    QImageReader lecteur(&tampon, "ico");
    EXPECT_EQ(lecteur.imageCount(), 4);

    for (int taille : {16, 32, 48, 64, 128, 256})
        EXPECT_EQ(QImage(DossierRessources + QStringLiteral("/icone-%1.png").arg(taille)).size(),
                  QSize(taille, taille));
}

// ---- Twice the size, for screens at twice the density -------------------------------------

QString NomDouble(const QString& nom) {
    return nom.chopped(4) + QStringLiteral("@2x.bmp");
}

const char* const Regles[] = {"regle-obstacle.bmp", "regle-depart.bmp", "regle-arrivee.bmp",
                              "regle-porte.bmp"};

// Qt picks "name@2x.bmp" beside "name.bmp" only when both are there; so does the game.
TEST(Doubles, ChaqueTuileEtChaqueImageDesReglesAUnDoubleBmp24De158) {
    int doubles = 0;
    for (const auto& tuile : CatalogueTuiles()) {
        SCOPED_TRACE(tuile.Nom);
        EXPECT_TRUE(EstBmp24(Lire(DossierProgramme + '/' + NomDouble(QString::fromStdString(tuile.Nom))),
                             2 * TailleCase));
        ++doubles;
    }
    for (const char* regle : Regles) {
        SCOPED_TRACE(regle);
        const QString nom = NomDouble(QString::fromLatin1(regle));
        EXPECT_TRUE(EstBmp24(Lire(QStringLiteral(":/") + nom), 2 * TailleCase))
            << "in the program's resources";
        EXPECT_TRUE(EstBmp24(Lire(DossierRessources + '/' + nom), 2 * TailleCase));
        ++doubles;
    }
    EXPECT_EQ(doubles, 81 + 4);
}

// Mean difference per channel, 0 to 255.
double Difference(const QImage& a, const QImage& b) {
    double somme = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            somme +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return somme / (3.0 * a.width() * a.height());
}

QImage Reduite(const QString& chemin) {
    return QImage(chemin)
        .scaled(TailleCase, TailleCase, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32);
}

// A double drawn from the wrong piece, or the wrong colour, would show on a high-density screen
// only: reduced to the cell's size, each must look like its own tile more than like any other.
TEST(Doubles, ChaqueDoubleReduitRessembleASaTuileEtANulleAutre) {
    std::vector<std::pair<std::string, QImage>> simples;
    for (const auto& tuile : CatalogueTuiles())
        simples.emplace_back(tuile.Nom, ImageTuile(tuile.Nom));
    for (const auto& [nom, simple] : simples) {
        SCOPED_TRACE(nom);
        const QImage reduite = Reduite(DossierProgramme + '/' + NomDouble(QString::fromStdString(nom)));
        ASSERT_EQ(reduite.size(), simple.size());
        const double propre = Difference(reduite, simple);
        EXPECT_LT(propre, 8) << "the reduced double strays from its tile";
        for (const auto& [autre, image] : simples)
            if (autre != nom) {
                EXPECT_LT(propre, Difference(reduite, image)) << "looks more like " << autre;
            }
    }
    for (const char* regle : Regles) {
        SCOPED_TRACE(regle);
        const QImage simple = QImage(QStringLiteral(":/") + regle).convertToFormat(QImage::Format_RGB32);
        EXPECT_LT(Difference(Reduite(QStringLiteral(":/") + NomDouble(QString::fromLatin1(regle))), simple),
                  8);
    }
}

TEST(Outil, LEchelleDeuxDonneDesTuilesDoublesNommeesArobase2x) {
    QTemporaryDir dossier;
    ASSERT_TRUE(dossier.isValid());
    ASSERT_EQ(QProcess::execute(CANALISOR_ART, {"--tuiles", dossier.path(), "--echelle", "2"}), 0);
    for (const auto& tuile : CatalogueTuiles()) {
        SCOPED_TRACE(tuile.Nom);
        const QString nom = QString::fromStdString(tuile.Nom);
        EXPECT_TRUE(EstBmp24(Lire(dossier.filePath(nom.chopped(4) + "@2x.bmp")), 2 * TailleCase));
        EXPECT_FALSE(QFile::exists(dossier.filePath(nom)))
            << "the 1x set is not the tool's to overwrite here";
    }
}

} // namespace
