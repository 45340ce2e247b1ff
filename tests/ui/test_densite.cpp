// Pictures on screens of several densities: on a screen with two device pixels per pixel the
// cells show the tiles drawn at twice the size, and keep their size in the layout.
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "Controles.h"
#include "Fenetre.h"

namespace canalisor::test {
namespace {

using ui::Imagier;

void Ecrire(const QTemporaryDir& dossier, const QString& nom, int cote) {
    QImage image(cote, cote, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(dossier.filePath(nom), "BMP"));
}

TEST(Densite, LEcranDenseRecoitLeDoubleQuandIlExiste) {
    struct Cas {
        qreal ecran;
        bool double_;
        int pixels; // device pixels of the picture
        qreal densite;
    };
    const Cas cas[] = {
        {1, true, 79, 1},    {2, true, 158, 2},
        {1.5, true, 158, 2}, // a fractional screen reduces the larger one rather than enlarging
        {3, true, 158, 2},   {2, false, 79, 1}, // without a double, the tile itself, enlarged by Qt
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(::testing::Message()
                     << "screen " << c.ecran << (c.double_ ? " with" : " without") << " a double");
        QTemporaryDir dossier;
        Ecrire(dossier, QStringLiteral("7b.bmp"), 79);
        if (c.double_)
            Ecrire(dossier, QStringLiteral("7b@2x.bmp"), 158);
        Imagier imagier(dossier.path() + QLatin1Char('/'));
        Avertissements avertissements;
        const QPixmap image = imagier.Charger(QStringLiteral("7b.bmp"), c.ecran);
        EXPECT_EQ(image.width(), c.pixels);
        EXPECT_EQ(image.devicePixelRatio(), c.densite);
        EXPECT_EQ(image.deviceIndependentSize(), QSizeF(79, 79)) << "the cell's room in the layout";
        EXPECT_TRUE(avertissements.lignes.isEmpty()) << "a missing double is no fault";
    }
}

} // namespace
} // namespace canalisor::test
