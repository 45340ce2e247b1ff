// The main window at several sizes: the whole layout scales by one factor and is centred, clicks
// and the screen reader find the cells where they are drawn, tiles stay pixel for pixel at the two
// sizes they are drawn at, and the window opens and comes back at the size the player's screen and
// last run allow.
#include <tuple>

#include <QAccessible>
#include <QFile>
#include <QScreen>

#include "Fenetre.h"
#include "PlaceFenetre.h"

namespace canalisor::test {
namespace {

// The scale is the smaller of the client area's two ratios to 1218 x 738, the layout centred in
// the other direction; at scale 1 every control is where the layout draws it, twips divided by 15.
// Cells placed every 80 pixels still share their border line. A click two pixels inside two corners
// of a cell, and the screen reader, find the cell where it is drawn. The fonts scale with the rest.
TEST(Echelle, ChaqueTailleMetLeToutALEchelleEtAuCentre) {
    // The scale, the client area, a control, and where it lies in the client area.
    const std::tuple<const char*, QSize, const char*, QRect> places[] = {
        {"1", {1218, 738}, "Label1", {8, 8, 57, 25}},
        {"1", {1218, 738}, "Vannes", {568, 16, 97, 65}},
        {"1", {1218, 738}, "CadreEnMain", {880, 0, 97, 86}},
        {"1", {1218, 738}, "BlocSuivant3", {1128, 0, 81, 81}},
        {"1", {1218, 738}, "Grille119", {1128, 648, 81, 81}},
        {"2/3", {812, 492}, "LabelTemps", {304, 21, 44, 33}},
        {"2/3", {812, 492}, "Grille0", {5, 59, 55, 54}},
        {"2/3", {812, 492}, "Grille1", {59, 59, 54, 54}},
        {"1.5, taller: centred down", {1827, 1400}, "Grille119", {1692, 1118, 122, 122}},
        {"1.5, wider: centred across", {2000, 1107}, "Grille0", {98, 132, 122, 122}},
        {"2", {2436, 1476}, "Pause", {1376, 32, 194, 130}},
    };
    Fenetre f;
    const int pixels = f.W("Label1")->font().pixelSize();
    int touchee = -1;
    for (int i = 0; i < NombreCellules; ++i)
        QObject::connect(f.form->Case(i), &ui::CaseImage::Clic, [&touchee, i] { touchee = i; });
    f.form->NouvellePartie(); // cells take clicks once a game runs
    for (const auto& [echelle, client, nom, zone] : places) {
        SCOPED_TRACE(std::string("scale ") + echelle + " " + nom);
        f.Client(client);
        QWidget* controle = f.W<QWidget>(nom);
        ASSERT_TRUE(controle);
        EXPECT_EQ(controle->geometry(), zone);
        if (!QString(nom).startsWith("Grille"))
            continue;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(controle)->rect(),
                  QRect(f.form->centralWidget()->mapToGlobal(zone.topLeft()), zone.size()));
        const QPoint coin = f.form->centralWidget()->mapTo(f.form.get(), QPoint(0, 0));
        for (const QPoint point : {zone.topLeft() + QPoint(2, 2), zone.bottomRight() - QPoint(2, 2)}) {
            touchee = -1;
            QTest::mouseClick(f.form->windowHandle(), Qt::LeftButton, {}, coin + point);
            EXPECT_EQ(touchee, QString(nom).mid(6).toInt()) << "clicked at " << point.x() << "," << point.y();
        }
    }
    EXPECT_EQ(f.W("Label1")->font().pixelSize(), 2 * pixels) << "fitted at scale 1, doubled at scale 2";
}

// The picture area shows the tile pixel for pixel at the default size (the plain file) and at
// twice it (the "@2x" file); the keyboard's frame leaves the middle of each side, where a pipe
// ends, as the tile draws it.
TEST(Echelle, TuilesNettesEtBoutsDuTuyauSousLeCadreVisibles) {
    // The client area, the tile drawn for it, and the tile's side.
    const std::tuple<QSize, const char*, int> tailles[] = {{{1218, 738}, "2.bmp", 79},
                                                           {{2436, 1476}, "2@2x.bmp", 158}};
    Fenetre f({2, 3, 8, 2, 3, 8});
    f.form->NouvellePartie();
    f.form->PoserTuyau(0); // a horizontal pipe, ending in the middle of the left and right sides
    ui::CaseImage* c = f.form->Case(0);
    const auto rgb = QImage::Format_RGB32;
    for (const bool cadre : {false, true}) {
        // The cursor stays on cell 0, and from the first key on its frame shows.
        if (cadre)
            QTest::keyClick(f.form->windowHandle(), Qt::Key_Left);
        ASSERT_EQ(c->CadreVisible(), cadre);
        for (const auto& [client, fichier, cote] : tailles) {
            SCOPED_TRACE(std::string(fichier) + (cadre ? " under the frame" : ""));
            f.Client(client);
            const QImage tuile = QImage(CANALISOR_DOSSIER_TUILES + QString(fichier)).convertToFormat(rgb);
            ASSERT_EQ(tuile.size(), QSize(cote, cote));
            const QImage vue = c->grab(c->contentsRect()).toImage().convertToFormat(rgb);
            if (!cadre) {
                EXPECT_EQ(vue, tuile);
            }
            for (const QPoint bout : {QPoint(0, cote / 2), QPoint(cote - 1, cote / 2), QPoint(cote / 2, 0),
                                      QPoint(cote / 2, cote - 1), QPoint(cote / 3, 0)})
                EXPECT_EQ(vue.pixel(bout), tuile.pixel(bout)) << bout.x() << "," << bout.y();
        }
    }
}

// F11 fills the screen and gives the window back; Escape gives it back too, and outside full
// screen, from start-up on, it leaves the window as it is.
TEST(Echelle, F11EtEchapPourLePleinEcran) {
    Fenetre f;
    QStringList etats;
    for (const Qt::Key touche :
         {Qt::Key_Escape, Qt::Key_F11, Qt::Key_F11, Qt::Key_F11, Qt::Key_Escape, Qt::Key_Escape}) {
        QTest::keyClick(f.form->windowHandle(), touche);
        etats << (f.form->isFullScreen() ? "plein" : "fenetre");
    }
    EXPECT_EQ(etats, (QStringList{"fenetre", "plein", "fenetre", "plein", "fenetre", "fenetre"}));
}

// Where no settings say otherwise, a work area too small for the default size gets the largest
// window that fits it (room left for a 40-pixel title bar and 4-pixel borders), never smaller
// than 60 % of the default.
TEST(Echelle, TailleOuvertureSelonLaZoneDeTravail) {
    // The screen, its work area, and the window's size there.
    const std::tuple<const char*, QRect, QSize> ecrans[] = {
        {"1920 x 1080, panel of 30", {0, 0, 1920, 1050}, {1218, 760}},
        {"1024 x 600, panel beside", {60, 0, 1024, 600}, {881, 556}},
        {"640 x 480: the smallest size", {0, 0, 640, 480}, {731, 465}},
    };
    for (const auto& [ecran, travail, fenetre] : ecrans)
        EXPECT_EQ(ui::TailleOuverture(travail, QMargins(4, 40, 4, 4), 22), fenetre) << ecran;
}

// The window comes back at the size and place it was left at, kept in the usual settings file;
// with no file yet, on the test platform's 800 x 800 screen, it opens as large as fits, in the
// work area's corner.
TEST(Echelle, TailleEtPlaceRetenuesDUneFoisSurLAutre) {
    const QString fichier = qEnvironmentVariable("XDG_CONFIG_HOME") + "/canalisor/canalisor.conf";
    QFile::remove(fichier);
    {
        Fenetre f;
        ASSERT_EQ(f.form->screen()->availableGeometry(), QRect(0, 0, 800, 800));
        ui::PlacerFenetre(*f.form, 22);
        EXPECT_EQ(QRect(f.form->frameGeometry().topLeft(), f.form->size()), QRect(0, 0, 792, 501));
        f.form->setGeometry(140, 90, 1000, 640);
        ui::MemoriserFenetre(*f.form);
    }
    EXPECT_TRUE(QFile::exists(fichier)) << fichier.toStdString();
    Fenetre f;
    ui::PlacerFenetre(*f.form, 22);
    EXPECT_EQ(f.form->geometry(), QRect(140, 90, 1000, 640));
}

} // namespace
} // namespace canalisor::test
