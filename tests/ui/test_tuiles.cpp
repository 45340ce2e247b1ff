// Tiles from a folder the player may have filled with anything: files that would block, starve
// or mislead the game get the stand-in and one warning, and a picture is decoded once for all
// the cells that show it.
#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Controles.h"

namespace canalisor::test {
namespace {

QByteArray Bmp(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    QByteArray octets;
    QBuffer tampon(&octets);
    EXPECT_TRUE(tampon.open(QIODevice::WriteOnly) && image.save(&tampon, "BMP"));
    return octets;
}

// "<fifo>", "<dossier>" and "<absent>" stand for what is not an ordinary file.
void Poser(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    const QByteArray nom = QFile::encodeName(chemin);
    EXPECT_TRUE(octets == "<absent>" || (octets == "<fifo>" && mkfifo(nom.constData(), 0600) == 0) ||
                (octets == "<dossier>" && QDir().mkdir(chemin)) ||
                (!octets.startsWith('<') && f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size()))
        << nom.toStdString();
}

QStringList avertissements;

// Each file stands as "0.bmp", asked for twice as two cells would; a "7b@2x.bmp", asked for on
// a dense screen, has a plain "7b.bmp" beside it, which stands in when it is refused.
TEST(Tuiles, UnFichierHostileDonneLeRemplacantEtUnSeulAvertissement) {
    const struct {
        const char *quoi, *nom;
        QByteArray octets;
        const char* avertissement; // what the one warning says, or "" for none
    } cas[] = {
        {"a valid tile", "0.bmp", Bmp(79, 79), ""},
        {"four times the side", "0.bmp", Bmp(316, 316), ""},
        {"a FIFO, which blocks whoever opens it", "0.bmp", "<fifo>", "0.bmp (not a regular file)"},
        {"a folder", "0.bmp", "<dossier>", "0.bmp (not a regular file)"},
        {"2000 x 2000", "0.bmp", Bmp(2000, 2000), "0.bmp (2000x2000 pixels, larger than 316x316)"},
        {"one pixel too high", "0.bmp", Bmp(10, 317), "0.bmp (10x317 pixels, larger than 316x316)"},
        {"cut in the middle of its rows", "0.bmp", Bmp(79, 79).left(10000), "0.bmp (truncated)"},
        {"one byte short", "0.bmp", Bmp(79, 79).chopped(1), "0.bmp (truncated)"},
        {"not a picture", "0.bmp", "BM pas une image", "0.bmp (not a picture)"},
        {"missing", "0.bmp", "<absent>", "0.bmp (missing)"},
        {"a dense FIFO", "7b@2x.bmp", "<fifo>", "7b@2x.bmp (not a regular file)"},
        {"a dense picture too large", "7b@2x.bmp", Bmp(633, 10),
         "7b@2x.bmp (633x10 pixels, larger than 632x632)"},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.quoi);
        QTemporaryDir dossier;
        Poser(dossier.filePath(k.nom), k.octets);
        const bool dense = QByteArray(k.nom).contains('@');
        if (dense)
            Poser(dossier.filePath("7b.bmp"), Bmp(79, 79));
        ui::Imagier imagier(dossier.path() + "/");
        avertissements.clear();
        qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& m) { avertissements << m; });
        const QString nom = dense ? "7b.bmp" : "0.bmp";
        const QPixmap a = imagier.Charger(nom, dense ? 2 : 1), b = imagier.Charger(nom, dense ? 2 : 1);
        qInstallMessageHandler(nullptr);
        ASSERT_EQ(avertissements.size(), *k.avertissement ? 1 : 0) << avertissements.join('\n').toStdString();
        EXPECT_TRUE(!*k.avertissement || avertissements[0].contains(k.avertissement))
            << avertissements[0].toStdString();
        EXPECT_EQ(a.isNull(), *k.avertissement && !dense) << "the plain tile stands in for a dense one";
        EXPECT_EQ(a.cacheKey(), b.cacheKey()) << "decoded twice";
    }
}

// A tile changed on disk is read again.
TEST(Tuiles, UnFichierModifieEstRelu) {
    QTemporaryDir dossier;
    Poser(dossier.filePath("2.bmp"), Bmp(79, 79));
    ui::Imagier imagier(dossier.path() + "/");
    EXPECT_EQ(imagier.Charger("2.bmp").width(), 79);
    Poser(dossier.filePath("2.bmp"), Bmp(40, 40));
    EXPECT_EQ(imagier.Charger("2.bmp").width(), 40);
}

} // namespace
} // namespace canalisor::test
