// Tiles from a folder the player may have filled with anything: files that would block, starve
// or mislead the game get the stand-in and one warning, and a picture is decoded once for all
// the cells that show it.
#include <functional>

#include <sys/stat.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Form1.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

QByteArray Bmp(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    QByteArray octets;
    QBuffer tampon(&octets);
    tampon.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&tampon, "BMP"));
    return octets;
}

void Poser(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(octets), octets.size());
}

// Collects the warnings while it lives.
struct Avertissements {
    Avertissements() {
        liste().clear();
        avant_ = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext&, const QString& message) { liste().append(message); });
    }
    ~Avertissements() { qInstallMessageHandler(avant_); }
    static QStringList& liste() {
        static QStringList l;
        return l;
    }

  private:
    QtMessageHandler avant_;
};

struct Cas {
    const char* quoi;
    std::function<void(const QString& chemin)> poser;
    bool remplacee;
    const char* avertissement; // the warning's reason, or nullptr for none
};

TEST(Tuiles, UnFichierHostileDonneLeRemplacantEtUnSeulAvertissement) {
    const std::vector<Cas> cas = {
        {"a valid tile", [](const QString& c) { Poser(c, Bmp(79, 79)); }, false, nullptr},
        {"four times the side", [](const QString& c) { Poser(c, Bmp(316, 316)); }, false, nullptr},
        {"a FIFO, which blocks whoever opens it",
         [](const QString& c) { ASSERT_EQ(mkfifo(QFile::encodeName(c).constData(), 0600), 0); }, true,
         "(not a regular file)"},
        {"a folder", [](const QString& c) { ASSERT_TRUE(QDir().mkdir(c)); }, true, "(not a regular file)"},
        {"2000 x 2000", [](const QString& c) { Poser(c, Bmp(2000, 2000)); }, true,
         "(2000x2000 pixels, larger than 316x316)"},
        {"one pixel too high", [](const QString& c) { Poser(c, Bmp(10, 317)); }, true,
         "(10x317 pixels, larger than 316x316)"},
        {"cut in the middle of its rows", [](const QString& c) { Poser(c, Bmp(79, 79).left(10000)); }, true,
         "(truncated)"},
        {"one byte short", [](const QString& c) { Poser(c, Bmp(79, 79).chopped(1)); }, true, "(truncated)"},
        {"not a picture", [](const QString& c) { Poser(c, "BM pas une image"); }, true, "(not a picture)"},
        {"missing", [](const QString&) {}, true, "(missing)"},
    };
    for (const Cas& k : cas) {
        SCOPED_TRACE(k.quoi);
        QTemporaryDir dossier;
        k.poser(dossier.filePath("0.bmp"));
        ui::Imagier imagier(dossier.path() + "/");
        Avertissements avertissements;
        ui::CaseImage a(imagier, nullptr), b(imagier, nullptr);
        a.Afficher("0.bmp");
        b.Afficher("0.bmp");
        a.Afficher("");
        a.Afficher("0.bmp");
        EXPECT_EQ(a.Remplacee(), k.remplacee);
        EXPECT_EQ(b.Remplacee(), k.remplacee);
        if (k.avertissement) {
            EXPECT_EQ(avertissements.liste().size(), 1);
            EXPECT_TRUE(avertissements.liste().value(0).contains(QStringLiteral("0.bmp ") + k.avertissement))
                << avertissements.liste().value(0).toStdString();
        } else {
            EXPECT_TRUE(avertissements.liste().isEmpty());
            EXPECT_EQ(a.Image().cacheKey(), b.Image().cacheKey()) << "decoded twice";
        }
    }
}

// On a dense screen a hostile "@2x" file is reported and the plain tile, enlarged, stands in.
TEST(Tuiles, UnDoubleHostileLaissePlaceALaTuileSimple) {
    QTemporaryDir dossier;
    ASSERT_EQ(mkfifo(QFile::encodeName(dossier.filePath("7b@2x.bmp")).constData(), 0600), 0);
    Poser(dossier.filePath("7b.bmp"), Bmp(79, 79));
    ui::Imagier imagier(dossier.path() + "/");
    Avertissements avertissements;
    const QPixmap image = imagier.Charger("7b.bmp", 2);
    EXPECT_EQ(image.width(), 79);
    ASSERT_EQ(avertissements.liste().size(), 1);
    EXPECT_TRUE(avertissements.liste()[0].contains("7b@2x.bmp (not a regular file)"));
}

// A tile changed on disk is read again; an unchanged one is never decoded twice.
TEST(Tuiles, UnFichierModifieEstRelu) {
    QTemporaryDir dossier;
    Poser(dossier.filePath("2.bmp"), Bmp(79, 79));
    ui::Imagier imagier(dossier.path() + "/");
    const qint64 premiere = imagier.Charger("2.bmp").cacheKey();
    EXPECT_EQ(imagier.Charger("2.bmp").cacheKey(), premiere);
    Poser(dossier.filePath("2.bmp"), Bmp(40, 40));
    EXPECT_EQ(imagier.Charger("2.bmp").width(), 40);
}

// The empty cells of a level, and of the next level start, share one decoded picture.
TEST(Tuiles, UnDebutDeNiveauDecodeLaCaseVideUneFois) {
    QTemporaryDir dossier;
    Poser(dossier.filePath("0.bmp"), Bmp(79, 79));
    HasardScripte hasard(7);
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    memoire.table = TableExemple();
    ui::Form1 form(hasard, horloge, dialogues, memoire, dossier.path() + "/");
    ASSERT_TRUE(form.Form_Load());
    Avertissements manquantes; // every other tile
    QSet<qint64> copies;
    int vides = 0;
    for (int niveau = 0; niveau < 2; ++niveau) {
        form.menuJouer_Click();
        for (int i = 0; i < 120; ++i)
            if (form.Case(i)->NomImage() == "0.bmp")
                ++vides, copies.insert(form.Case(i)->Image().cacheKey());
        form.menuArreter_Click();
    }
    EXPECT_GT(vides, 200);
    EXPECT_EQ(copies.size(), 1);
}

} // namespace
} // namespace canalisor::test
