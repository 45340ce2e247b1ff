// The main window: start-up, menus, layout, and the game's state as its widgets show it and as
// mouse, keyboard and screen reader reach it.
#include <QAccessible>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include "Fenetre.h"

namespace canalisor::test {
namespace {

TEST(Form1, SansFichierDeScoresUneBoiteEtRienNeSAffiche) {
    Fenetre f;
    f.memoire.table.reset();
    EXPECT_FALSE(f.form->Form_Load());
    ASSERT_EQ(f.dialogues.messages.size(), 1u);
    EXPECT_EQ(f.dialogues.messages[0].icone, Icone::Critique);
    EXPECT_FALSE(f.form->isVisible());
}

QString Arbre(const QList<QAction*>& actions) {
    QStringList legendes;
    for (const QAction* a : actions)
        legendes << a->text() + (a->menu() ? "[" + Arbre(a->menu()->actions()) + "]" : QString());
    return legendes.join(", ");
}

TEST(Form1, MenusDispositionEtTextesQuiTiennent) {
    Fenetre f;
    ASSERT_TRUE(f.form->Form_Load());
    f.form->show();
    f.form->menuJouer_Click();
    // "Règles" and "A propos" are commands of the bar itself: no menu drops down.
    EXPECT_EQ(Arbre(f.form->menuBar()->actions()),
              "Fichier[Nouvelle partie, Arrêter la partie, Niveau de difficulté[Facile (1), Moyen (2), "
              "Difficile (3)], Meilleurs scores, Quitter], Règles, A propos");
    EXPECT_EQ(f.form->centralWidget()->size(), QSize(1218, 738));
    const std::pair<const char*, QRect> zones[] = {
        {"Grille0", {8, 88, 81, 81}},        {"Grille14", {1128, 88, 81, 81}},
        {"Grille105", {8, 648, 81, 81}},     {"Grille119", {1128, 648, 81, 81}},
        {"BlocSuivant2", {1008, 0, 81, 81}}, {"LabelTemps", {456, 32, 65, 49}},
    };
    for (const auto& [nom, zone] : zones)
        EXPECT_EQ(f.W<QWidget>(nom)->geometry(), zone) << nom;
    // Every label of the four windows: the side ones are the main one's children.
    for (const QLabel* l : f.form->findChildren<QLabel*>()) {
        const QRect zone = l->contentsRect();
        const int drapeaux = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
        const QRect texte = QFontMetrics(l->font()).boundingRect(zone, drapeaux, l->text().trimmed());
        EXPECT_EQ(zone | texte, zone) << l->objectName().toStdString();
    }
}

// Pause and Vannes max. (caption, enabled), the difficulty menu (check marks, enabled), the time
// shown, and the clock.
QString Etat(const Fenetre& f) {
    QString etat;
    for (const QPushButton* b : {f.W<QPushButton>("Pause"), f.W<QPushButton>("Maxi")})
        etat += b->text() + (b->isEnabled() ? "+ | " : "- | ");
    const QMenu* difficulte = f.W<QMenu>("menuDifficulte");
    for (const QAction* a : difficulte->actions())
        etat += a->isChecked() ? "x" : "-";
    etat += difficulte->menuAction()->isEnabled() ? "+ | " : "- | ";
    return etat + f.W("LabelTemps")->text() + (f.horloge.enMarche ? " | en marche" : " | arrêtée");
}

// Each gesture is keys typed, a button clicked, a menu item chosen, or a tick of the clock.
TEST(Form1, BoutonsMenusEtRaccourcisSuiventLaPartie) {
    const std::pair<std::string_view, const char*> etapes[] = {
        {"P", "Pause- | Vannes max.- | -x-+ |  | arrêtée"}, // no game: no button, so no letter
        {"V", "Pause- | Vannes max.- | -x-+ |  | arrêtée"},
        {"Ctrl+N", "Pause+ | Vannes max.+ | -x-- | 60 | en marche"},
        {"Pause", "Retour+ | Vannes max.- | -x-- | 60 | arrêtée"},
        {"P", "Pause+ | Vannes max.+ | -x-- | 60 | en marche"},
        {"tic", "Pause+ | Vannes max.+ | -x-- | 59 | en marche"},
        {"Maxi", "Pause- | Vannes max.- | -x-- | 1 | en marche"},
        {"menuArreter", "Pause- | Vannes max.- | -x-+ | 1 | arrêtée"},
        {"menuDifficile", "Pause- | Vannes max.- | --x+ | 1 | arrêtée"},
        {"F2", "Pause+ | Vannes max.+ | --x- | 40 | en marche"},
        {"V", "Pause- | Vannes max.- | --x- | 1 | en marche"},
    };
    Fenetre f;
    ASSERT_TRUE(f.form->Form_Load() && f.Montrer());
    for (const auto& [geste, etat] : etapes) {
        if (geste == "tic")
            f.form->Timer1_Timer();
        else if (geste.starts_with("menu"))
            f.W<QAction>(geste.data())->trigger();
        else if (auto* bouton = f.form->findChild<QPushButton*>(QString::fromLatin1(geste)))
            QTest::mouseClick(bouton, Qt::LeftButton);
        else
            QTest::keySequence(f.form->windowHandle(), QKeySequence(geste.data()));
        EXPECT_EQ(Etat(f), QString::fromUtf8(etat)) << geste;
    }
}

// A click, Space or Enter lays the pipe in hand on the cell under the cursor, and the boxes
// move up; paused, neither does anything.
TEST_F(EnJeu, UnClicOuUneTouchePoseLeTuyauEnMain) {
    const Grille& grille = f.form->Modele().Cellules();
    const int vide = static_cast<int>(std::ranges::find(grille, Vide, &Cellule::Tag) - grille.begin());
    const auto images = [&] {
        return QStringList{f.form->Case(vide)->NomImage(), f.form->Bloc(0)->NomImage(),
                           f.form->Bloc(1)->NomImage(), f.form->Bloc(2)->NomImage()};
    };
    f.Survoler(vide);
    ASSERT_EQ(f.form->Curseur(), vide) << "the mouse moves the cursor";
    for (const bool enPause : {false, true}) {
        if (enPause)
            f.W<QPushButton>("Pause")->click();
        for (const Qt::Key touche : {Qt::Key_unknown, Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
            const QStringList avant = images();
            if (touche == Qt::Key_unknown)
                QTest::mouseClick(f.form->Case(vide), Qt::LeftButton);
            else
                QTest::keyClick(f.form->windowHandle(), touche);
            EXPECT_EQ(images().mid(0, 3), avant.mid(enPause ? 0 : 1, 3))
                << "key " << touche << ", paused " << enPause;
        }
    }
    EXPECT_EQ(f.form->Bloc(2)->NomImage().toStdString(), f.form->Modele().Affichage().BlocSuivant[2]);
}

TEST_F(EnJeu, LesFlechesMenentLeCurseurEtLesBordsLArretent) {
    const std::tuple<int, std::string_view, int> cas[] = {
        {0, "gh", 0}, {0, "ddb", 17}, {14, "d", 14}, {15, "g", 15}, {119, "db", 119}, {112, "hhh", 67},
    };
    const Qt::Key fleches[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    for (const auto& [depart, touches, arrivee] : cas) {
        f.Survoler(depart);
        for (const char t : touches)
            QTest::keyClick(f.form->windowHandle(), fleches[std::string_view("gdhb").find(t)]);
        EXPECT_EQ(f.form->Curseur(), arrivee) << depart << " " << touches;
    }
}

QString Lu(QObject* objet, QAccessible::Text quoi = QAccessible::Name) {
    const QAccessibleInterface* interface = QAccessible::queryAccessibleInterface(objet);
    return interface ? interface->text(quoi) : QStringLiteral("<no interface>");
}

TEST_F(EnJeu, UnLecteurDEcranLitLesCasesLesBoitesLesCompteursEtLesBoutons) {
    const std::tuple<int, std::int16_t, const char*, const char*, const char*> cases[] = {
        {36, CoudeGB, "x", "5b.bmp", "Ligne 3, colonne 7 : coude gauche-bas, rempli de bleu"},
        {63, Croix, "Vv", "8vv.bmp", "Ligne 5, colonne 4 : croisement, canal vertical rempli de vert"},
        {76, 13, "x", "13r.bmp", "Ligne 6, colonne 2 : arrivée du liquide rouge, rempli de rouge"},
    };
    for (const auto& [index, code, remplissage, image, nom] : cases) {
        f.form->Modele().Cellules()[static_cast<std::size_t>(index)] = {code, remplissage, image, true};
        f.form->Rafraichir();
        EXPECT_EQ(Lu(f.form->Case(index)), nom);
    }
    QStringList lus; // name=value
    for (const char* nom : {"BlocSuivant", "BlocSuivant2", "BlocSuivant3", "LabelNiveau", "LabelEssais",
                            "LabelScore", "LabelRecord", "LabelDiff", "LabelTemps", "Maxi", "Pause"})
        lus << Lu(f.W<QWidget>(nom)) + "=" + Lu(f.W<QWidget>(nom), QAccessible::Value);
    EXPECT_EQ(lus.join(" | "),
              "Tuyau en main : coude droite-bas= | Tuyau suivant : tuyau horizontal= | Tuyau d'après : "
              "croisement= | Niveau=1 | Essais=2 | Score=0 | Record=1500 | Difficulté=2 | Temps=60 | "
              "Vannes max.= | Pause=");
    // The Pause button says what it would do, which changes with its caption.
    const QString enJeu = Lu(f.W<QPushButton>("Pause"), QAccessible::Description);
    f.W<QPushButton>("Pause")->click();
    EXPECT_EQ(Lu(f.W<QPushButton>("Pause")), "Retour");
    EXPECT_NE(Lu(f.W<QPushButton>("Pause"), QAccessible::Description), enJeu);
}

// A text too wide for its box: the font shrinks, and only as far as it must.
TEST(Police, RetrecitJusteAssez) {
    const QStringList texte{"Difficulté"};
    QFont police = ui::PoliceAjustee(ui::Police(30), texte, QRect(0, 0, 60, 40), Qt::AlignLeft);
    EXPECT_TRUE(ui::TextesTiennent(police, texte, QRect(0, 0, 60, 40), Qt::AlignLeft));
    police.setPixelSize(police.pixelSize() + 1);
    EXPECT_FALSE(ui::TextesTiennent(police, texte, QRect(0, 0, 60, 40), Qt::AlignLeft));
}

// Two cells showing the same missing tile: one warning, and both draw a stand-in.
TEST(Images, LeDoubleSurEcranDenseUnAvertissementParNomEtUneRelectureQuandLeNomChange) {
    QTemporaryDir dossier;
    QImage image(158, 158, QImage::Format_RGB888);
    image.fill(Qt::darkGreen);
    ASSERT_TRUE(image.save(dossier.filePath("7b@2x.bmp")));
    ui::Imagier imagier(dossier.path() + "/");
    const QPixmap dense = imagier.Charger("7b.bmp", 2);
    EXPECT_TRUE(dense.width() == 158 && dense.devicePixelRatio() == 2);
    ui::CaseImage c(imagier, nullptr), d(imagier, nullptr);
    c.Afficher("7b@2x.bmp");
    ASSERT_TRUE(QFile::remove(dossier.filePath("7b@2x.bmp")));
    c.Afficher("7b@2x.bmp");
    EXPECT_FALSE(c.Remplacee()) << "the same name must not read the file again";
    avertissements.clear();
    d.Afficher("0.bmp");
    c.Afficher("0.bmp");
    c.Afficher("7b@2x.bmp");
    EXPECT_TRUE(c.Remplacee() && d.Remplacee()) << "a new name reads the file, which is gone now";
    EXPECT_EQ(avertissements.size(), 2);
}

} // namespace
} // namespace canalisor::test
