#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "Controles.h"
#include "Fenetre.h"
#include "MondeQt.h"
#include "Texte1252.h"

namespace canalisor::test {
namespace {

using ui::CaseImage;
using ui::Imagier;

// ---- Names in the best-scores file's code page ---------------------------------------

struct Conversion {
    const char* octets;
    const char* texte; // UTF-8
};

TEST(Texte1252, ConvertitDansLesDeuxSens) {
    const Conversion cas[] = {
        {"Marie", "Marie"},
        {"L\xe9"
         "a",
         "Léa"},
        {"\x8c"
         "uvre \x80"
         "5 \x93"
         "x\x94",
         "Œuvre €5 “x”"},
        {"Ma\xeft\xe9 \xff", "Maïté ÿ"},
        {"", ""},
    };
    for (const Conversion& c : cas) {
        EXPECT_EQ(ui::De1252(c.octets), QString::fromUtf8(c.texte)) << c.texte;
        EXPECT_EQ(ui::Vers1252(QString::fromUtf8(c.texte)), std::string(c.octets)) << c.texte;
    }
    EXPECT_EQ(ui::Vers1252(QString::fromUtf8("日本 😀 Ā")), "?? ? ?") << "what the file cannot hold";
}

TEST(Texte1252, ToutOctetRevientTelQuel) {
    std::string tous;
    for (int o = 1; o < 256; ++o)
        tous.push_back(static_cast<char>(o));
    EXPECT_EQ(ui::Vers1252(ui::De1252(tous)), tous);
}

// ---- Chance ----------------------------------------------------------------------------

TEST(Hasard, ResteDansZeroUn) {
    const std::pair<std::uint64_t, double> cas[] = {
        {0, 0.0},
        {std::uint64_t{1} << 11, 0x1.0p-53},
        {std::uint64_t{1} << 63, 0.5},
        {~std::uint64_t{0}, 1.0 - 0x1.0p-53},
    };
    for (const auto& [x, attendu] : cas)
        EXPECT_EQ(ui::VersUnitaire(x), attendu) << x;
    // The largest draw must still pick the last of 120 cells, not a 121st.
    EXPECT_LT(static_cast<int>(ui::VersUnitaire(~std::uint64_t{0}) * 120), 120);
}

// ---- Text sized to its box -------------------------------------------------------------

TEST(Police, RetrecitJusquACeQueLeTexteTienne) {
    const QString texte = QString::fromUtf8("Difficulté");
    const QFont grande = ui::Police(30);
    const QRect zone(0, 0, 60, 40);
    ASSERT_GT(QFontMetrics(grande).horizontalAdvance(texte), zone.width()) << "the case must need shrinking";
    const QFont ajustee = ui::PoliceAjustee(grande, {texte}, zone, Qt::AlignLeft);
    const QFontMetrics mesure(ajustee);
    EXPECT_LE(mesure.horizontalAdvance(texte), zone.width());
    EXPECT_LE(mesure.height(), zone.height());
    // Only as small as needed: one pixel more would not fit.
    QFont plusGrande = ajustee;
    plusGrande.setPixelSize(ajustee.pixelSize() + 1);
    EXPECT_FALSE(ui::TextesTiennent(plusGrande, {texte}, zone, Qt::AlignLeft));
}

// ---- Picture cells ---------------------------------------------------------------------

struct DossierImages {
    DossierImages() {
        QImage image(79, 79, QImage::Format_RGB888);
        image.fill(Qt::darkBlue);
        image.save(dossier.filePath(QStringLiteral("2.bmp")));
    }
    QString Chemin() const { return dossier.path() + QLatin1Char('/'); }
    QTemporaryDir dossier;
};

TEST(CaseImage, NeRelitLeFichierQueSiLeNomChange) {
    DossierImages images;
    Imagier imagier(images.Chemin());
    QWidget parent;
    CaseImage c(imagier, &parent);
    c.Afficher("2.bmp");
    ASSERT_TRUE(QFile::remove(images.dossier.filePath(QStringLiteral("2.bmp"))));
    c.Afficher("2.bmp");
    EXPECT_FALSE(c.Remplacee()) << "the same name must not read the file again";
    Avertissements avertissements;
    c.Afficher("0.bmp");
    c.Afficher("2.bmp");
    EXPECT_TRUE(c.Remplacee()) << "a new name reads the file, which is gone now";
}

TEST(CaseImage, UnClicEstUnAppuiEtUnRelachementSurLaCase) {
    Imagier imagier(QString{});
    QWidget parent;
    CaseImage c(imagier, &parent);
    c.setGeometry(0, 0, 81, 81);
    QSignalSpy clics(&c, &CaseImage::Clic);

    QTest::mouseClick(&c, Qt::LeftButton);
    EXPECT_EQ(clics.size(), 1);
    QTest::mouseClick(&c, Qt::RightButton);
    EXPECT_EQ(clics.size(), 1) << "only the left button lays a pipe";
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(40, 40));
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(200, 40));
    EXPECT_EQ(clics.size(), 1) << "releasing off the cell cancels the click";
    c.setEnabled(false);
    QTest::mouseClick(&c, Qt::LeftButton);
    EXPECT_EQ(clics.size(), 1) << "a disabled cell takes no clicks";
}

} // namespace
} // namespace canalisor::test
