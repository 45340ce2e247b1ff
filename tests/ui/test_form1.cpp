#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include "Fenetre.h"

namespace canalisor::test {
namespace {

// ---- Start-up --------------------------------------------------------------------------

TEST(Form1, DemarreAvecLeRecordDuFichierEtLaDifficulte2) {
    Fenetre f;
    ASSERT_TRUE(f.form->Form_Load());
    EXPECT_TRUE(f.dialogues.messages.empty());
    EXPECT_EQ(f.Texte("LabelRecord"), QStringLiteral("1500"));
    EXPECT_EQ(f.Label("LabelRecord")->toolTip(), QStringLiteral("Marie"));
    EXPECT_EQ(f.Texte("LabelDiff"), QStringLiteral("2"));
    for (const char* vide : {"LabelNiveau", "LabelEssais", "LabelScore", "LabelTemps"})
        EXPECT_TRUE(f.Texte(vide).isEmpty()) << vide;
    EXPECT_EQ(f.Bouton("Pause")->text(), QStringLiteral("Pause"));
    EXPECT_FALSE(f.Bouton("Pause")->isEnabled());
    EXPECT_EQ(f.Bouton("Maxi")->text(), QStringLiteral("Vannes max."));
    EXPECT_FALSE(f.Bouton("Maxi")->isEnabled());
    EXPECT_TRUE(f.Action("menuMoyen")->isChecked());
    EXPECT_FALSE(f.Action("menuFacile")->isChecked());
    for (int i = 0; i < NombreCellules; ++i) {
        EXPECT_FALSE(f.form->Case(i)->isEnabled()) << i;
        EXPECT_TRUE(f.form->Case(i)->NomImage().isEmpty()) << i;
    }
    for (int k = 0; k < 3; ++k)
        EXPECT_TRUE(f.form->Bloc(k)->NomImage().isEmpty());
    // The side windows are loaded, hidden.
    ASSERT_TRUE(f.form->FenetreScores() && f.form->FenetreAPropos() && f.form->FenetreRegles());
    EXPECT_FALSE(f.form->FenetreScores()->isVisible());
}

TEST(Form1, SansFichierDeScoresPrevientUneFoisEtSArrete) {
    Fenetre f;
    f.memoire.table.reset();
    EXPECT_FALSE(f.form->Form_Load());
    ASSERT_EQ(f.dialogues.messages.size(), 1u);
    EXPECT_EQ(f.dialogues.messages[0].texte, textes::FichierAbsent);
    EXPECT_EQ(f.dialogues.messages[0].icone, Icone::Critique);
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_EQ(f.form->FenetreScores(), nullptr) << "no side window is loaded";
}

TEST(Form1, LeNomDuRecordSeLitDansLaPageDeCodeDuFichier) {
    Fenetre f;
    f.memoire.table = TableScores{{{"Paul", "900"}, {"Zo\xe9", "1200"}, {"", "0"}, {"", "0"}, {"", "0"}}};
    ASSERT_TRUE(f.form->Form_Load());
    EXPECT_EQ(f.Texte("LabelRecord"), QStringLiteral("1200"));
    EXPECT_EQ(f.Label("LabelRecord")->toolTip(), QString::fromUtf8("Zoé"));
}

// ---- Layout ----------------------------------------------------------------------------

TEST(Form1, MenusDansLOrdreAvecLeursLegendes) {
    Fenetre f;
    const QList<QAction*> barre = f.form->menuBar()->actions();
    ASSERT_EQ(barre.size(), 3);
    EXPECT_EQ(barre[0]->text(), QStringLiteral("Fichier"));
    EXPECT_EQ(barre[1]->text(), QString::fromUtf8("Règles"));
    EXPECT_EQ(barre[2]->text(), QStringLiteral("A propos"));
    EXPECT_EQ(barre[1]->menu(), nullptr) << "Règles runs when clicked";
    EXPECT_EQ(barre[2]->menu(), nullptr);

    QStringList fichier;
    for (QAction* a : barre[0]->menu()->actions())
        fichier << a->text();
    EXPECT_EQ(fichier, (QStringList{QStringLiteral("Nouvelle partie"), QString::fromUtf8("Arrêter la partie"),
                                    QString::fromUtf8("Niveau de difficulté"),
                                    QStringLiteral("Meilleurs scores"), QStringLiteral("Quitter")}));
    QStringList difficultes;
    for (QAction* a : barre[0]->menu()->actions()[2]->menu()->actions())
        difficultes << a->text();
    EXPECT_EQ(difficultes, (QStringList{QStringLiteral("Facile (1)"), QStringLiteral("Moyen (2)"),
                                        QStringLiteral("Difficile (3)")}));
}

TEST(Form1, ControlesAuxPositionsDuPlan) {
    Fenetre f;
    f.form->show();
    EXPECT_EQ(f.form->windowTitle(), QStringLiteral("Canalisor"));
    EXPECT_EQ(f.form->centralWidget()->size(), QSize(1218, 738));
    EXPECT_FALSE(f.form->windowIcon().isNull());

    struct Attendu {
        const char* nom;
        QRect zone;
    };
    const Attendu controles[] = {
        {"Label1", {8, 8, 57, 25}},          {"LabelNiveau", {72, 8, 33, 25}},
        {"Label4", {8, 48, 57, 25}},         {"LabelEssais", {72, 48, 33, 25}},
        {"Label6", {168, 8, 57, 25}},        {"LabelScore", {232, 8, 65, 25}},
        {"Label5", {168, 48, 57, 25}},       {"LabelRecord", {232, 48, 65, 25}},
        {"Label7", {328, 8, 81, 25}},        {"LabelDiff", {352, 40, 33, 25}},
        {"Label3", {456, 8, 73, 25}},        {"LabelTemps", {456, 32, 65, 49}},
        {"Maxi", {568, 16, 97, 65}},         {"Pause", {688, 16, 97, 65}},
        {"Label2", {808, 8, 73, 41}},        {"BlocSuivant", {888, 0, 81, 81}},
        {"BlocSuivant2", {1008, 0, 81, 81}}, {"BlocSuivant3", {1128, 0, 81, 81}},
        {"Grille0", {8, 88, 81, 81}},        {"Grille14", {1128, 88, 81, 81}},
        {"Grille105", {8, 648, 81, 81}},     {"Grille119", {1128, 648, 81, 81}},
        {"Grille16", {88, 168, 81, 81}},
    };
    for (const Attendu& c : controles) {
        const auto* w = f.form->centralWidget()->findChild<QWidget*>(QString::fromLatin1(c.nom));
        ASSERT_NE(w, nullptr) << c.nom;
        EXPECT_EQ(w->geometry(), c.zone) << c.nom;
    }
    // Neighbours share their border line; the picture area inside it is the tile's size.
    EXPECT_EQ(f.form->Case(0)->geometry().right(), f.form->Case(1)->geometry().left());
    EXPECT_EQ(f.form->Case(0)->contentsRect().size(), QSize(79, 79));
    EXPECT_EQ(f.form->Bloc(0)->contentsRect().size(), QSize(79, 79));
}

// Whether any ink reaches the ring of pixels just inside a framed label's border: the text
// would then be cut by it.
bool EncreAuBord(QLabel& label) {
    const QImage image = label.grab().toImage();
    const int fond = qGray(label.palette().color(QPalette::Window).rgb());
    const auto encre = [&](int x, int y) { return qGray(image.pixel(x, y)) < fond - 60; };
    const int l = image.width();
    const int h = image.height();
    for (int x = 1; x < l - 1; ++x)
        if (encre(x, 1) || encre(x, h - 2))
            return true;
    for (int y = 1; y < h - 1; ++y)
        if (encre(1, y) || encre(l - 2, y))
            return true;
    return false;
}

// Every caption, and the longest value a counter shows, fits its box in the font it got.
TEST(Form1, ChaqueTexteTientDansSaCase) {
    Fenetre f;
    f.form->show();
    struct Cas {
        const char* nom;
        const char* texte;
        int lignesMax;
    };
    const Cas labels[] = {
        {"Label1", "Niveau", 1},          {"Label4", "Essais", 1},     {"Label6", "Score", 1},
        {"Label5", "Record", 1},          {"Label7", "Difficulté", 1}, {"Label3", "Temps", 1},
        {"Label2", "Tuyaux suivants", 2}, {"LabelNiveau", "15", 1},    {"LabelEssais", "99", 1},
        {"LabelScore", "88888", 1},       {"LabelRecord", "32767", 1}, {"LabelDiff", "3", 1},
        {"LabelTemps", "80", 1},
    };
    for (const Cas& c : labels) {
        QLabel* l = f.Label(c.nom);
        const QFontMetrics mesure(l->font());
        const QRect zone = l->contentsRect();
        const QString texte = QString::fromUtf8(c.texte);
        const QRect besoin = mesure.boundingRect(QRect(0, 0, zone.width(), 1000), Qt::TextWordWrap, texte);
        EXPECT_LE(besoin.width(), zone.width()) << c.nom;
        EXPECT_LE(besoin.height(), zone.height()) << c.nom;
        if (c.lignesMax == 1) {
            EXPECT_LE(mesure.horizontalAdvance(texte), zone.width()) << c.nom << ": on one line";
        }
        EXPECT_GE(l->font().pixelSize(), 8) << c.nom << ": still readable";
        if (l->frameWidth() > 0) {
            l->setText(texte);
            EXPECT_FALSE(EncreAuBord(*l)) << c.nom << ": the text runs into the border";
        }
    }
    for (const char* texte : {"Vannes max.", "Pause", "Retour"}) {
        const QPushButton* b = f.Bouton(QByteArray(texte) == "Vannes max." ? "Maxi" : "Pause");
        const QFontMetrics mesure(b->font());
        const QRect besoin = mesure.boundingRect(QRect(0, 0, b->width() - 8, 1000), Qt::TextWordWrap,
                                                 QString::fromUtf8(texte));
        EXPECT_LE(besoin.width(), b->width() - 8) << texte;
        EXPECT_LE(besoin.height(), b->height() - 8) << texte;
    }
}

// ---- A game through the window ---------------------------------------------------------

struct EnJeu : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(f.form->Form_Load());
        f.form->show();
        f.hasard.AjouterTuyau(4);
        f.hasard.AjouterTuyau(2);
        f.hasard.AjouterTuyau(8);
        f.Action("menuJouer")->trigger();
    }
    QStringList Blocs() const {
        return {f.form->Bloc(0)->NomImage(), f.form->Bloc(1)->NomImage(), f.form->Bloc(2)->NomImage()};
    }
    Fenetre f;
};

TEST_F(EnJeu, NouvellePartieMontreLeNiveau1) {
    EXPECT_EQ(f.Texte("LabelNiveau"), QStringLiteral("1"));
    EXPECT_EQ(f.Texte("LabelEssais"), QStringLiteral("2"));
    EXPECT_EQ(f.Texte("LabelScore"), QStringLiteral("0"));
    EXPECT_EQ(f.Texte("LabelTemps"), QStringLiteral("60"));
    EXPECT_EQ(Blocs(),
              (QStringList{QStringLiteral("4.bmp"), QStringLiteral("2.bmp"), QStringLiteral("8.bmp")}));
    for (int i = 0; i < NombreCellules; ++i) {
        EXPECT_TRUE(f.form->Case(i)->isEnabled()) << i;
        EXPECT_EQ(f.form->Case(i)->NomImage().toStdString(),
                  f.form->Modele().Cellules()[std::size_t(i)].Image);
    }
    EXPECT_EQ(f.form->Case(f.CasesDeCode(9).at(0))->NomImage(), QStringLiteral("9.bmp")) << "blue departure";
    f.form->Timer1_Timer();
    EXPECT_EQ(f.Texte("LabelTemps"), QStringLiteral("59"));
}

TEST_F(EnJeu, UnClicPoseLeTuyauEnMainEtDecaleLesBlocs) {
    const int vide = f.CasesDeCode(Vide).at(0);
    f.hasard.AjouterTuyau(7);
    f.Cliquer(vide);
    EXPECT_EQ(f.form->Case(vide)->NomImage(), QStringLiteral("4.bmp"));
    EXPECT_EQ(Blocs(),
              (QStringList{QStringLiteral("2.bmp"), QStringLiteral("8.bmp"), QStringLiteral("7.bmp")}));

    // An anchored piece refuses the pipe and the queue stays.
    const int depart = f.CasesDeCode(9).at(0);
    f.Cliquer(depart);
    EXPECT_EQ(f.form->Case(depart)->NomImage(), QStringLiteral("9.bmp"));
    EXPECT_EQ(Blocs()[0], QStringLiteral("2.bmp"));

    // An unfilled pipe is replaced.
    f.hasard.AjouterTuyau(3);
    f.Cliquer(vide);
    EXPECT_EQ(f.form->Case(vide)->NomImage(), QStringLiteral("2.bmp"));
    EXPECT_EQ(Blocs(),
              (QStringList{QStringLiteral("8.bmp"), QStringLiteral("7.bmp"), QStringLiteral("3.bmp")}));
}

TEST_F(EnJeu, EnPauseUnClicNePoseRien) {
    const int vide = f.CasesDeCode(Vide).at(0);
    QTest::mouseClick(f.Bouton("Pause"), Qt::LeftButton);
    ASSERT_EQ(f.Bouton("Pause")->text(), QStringLiteral("Retour"));
    f.Cliquer(vide);
    EXPECT_EQ(f.form->Case(vide)->NomImage(), QStringLiteral("0.bmp"));
    EXPECT_EQ(Blocs()[0], QStringLiteral("4.bmp"));
}

TEST_F(EnJeu, BoutonsEtMenusSuiventLaPartie) {
    struct Etape {
        const char* geste;
        const char* pause;
        bool pauseActif;
        bool maxiActif;
        bool horloge;
        const char* temps;
    };
    const Etape etapes[] = {
        {"Pause", "Retour", true, false, false, "60"},
        {"Pause", "Pause", true, true, true, "60"},
        {"tic", "Pause", true, true, true, "59"},
        {"Maxi", "Pause", false, false, true, "1"},
        {"menuArreter", "Pause", false, false, false, "1"},
        {"menuJouer", "Pause", true, true, true, "60"},
        {"Pause", "Retour", true, false, false, "60"},
        {"menuArreter", "Pause", false, false, false, "60"},
    };
    for (const Etape& e : etapes) {
        const std::string geste = e.geste;
        if (geste == "tic")
            f.form->Timer1_Timer();
        else if (geste.starts_with("menu"))
            f.Action(e.geste)->trigger();
        else
            QTest::mouseClick(f.Bouton(e.geste), Qt::LeftButton);
        SCOPED_TRACE(e.geste);
        EXPECT_EQ(f.Bouton("Pause")->text(), QString::fromLatin1(e.pause));
        EXPECT_EQ(f.Bouton("Pause")->isEnabled(), e.pauseActif);
        EXPECT_EQ(f.Bouton("Maxi")->isEnabled(), e.maxiActif);
        EXPECT_EQ(f.horloge.enMarche, e.horloge);
        EXPECT_EQ(f.Texte("LabelTemps"), QString::fromLatin1(e.temps));
        // The difficulty can be chosen only between games.
        EXPECT_EQ(f.form->findChild<QMenu*>("menuDifficulte")->menuAction()->isEnabled(),
                  geste == "menuArreter");
    }
}

TEST_F(EnJeu, LaDifficulteSeChoisitEntreDeuxParties) {
    f.Action("menuArreter")->trigger();
    f.Action("menuDifficile")->trigger();
    EXPECT_EQ(f.Texte("LabelDiff"), QStringLiteral("3"));
    EXPECT_TRUE(f.Action("menuDifficile")->isChecked());
    EXPECT_FALSE(f.Action("menuMoyen")->isChecked());
    // Clicking the checked item again leaves it checked: the mark follows the game.
    f.Action("menuDifficile")->trigger();
    EXPECT_TRUE(f.Action("menuDifficile")->isChecked());
    f.Action("menuJouer")->trigger();
    EXPECT_EQ(f.Texte("LabelTemps"), QStringLiteral("40"));
}

// The player sees the board that caused a box while the box is open.
class DialoguesTemoins : public DialoguesScriptes {
  public:
    void Message(const std::string& texte, Icone icone) override {
        DialoguesScriptes::Message(texte, icone);
        vus.push_back(vue());
    }
    std::function<QStringList()> vue;
    std::vector<QStringList> vus;
};

TEST(Form1, LaFenetreEstAJourAvantUneBoite) {
    DialoguesTemoins temoins;
    HasardScripte hasard(3);
    HorlogeScriptee horloge;
    PalmaresMemoire palmares;
    palmares.table = TableExemple();
    QTemporaryDir dossier;
    Avertissements silence;
    ui::Form1 form(hasard, horloge, temoins, palmares, dossier.path() + QLatin1Char('/'));
    ASSERT_TRUE(form.Form_Load());
    form.menuJouer_Click();
    const int depart = form.Modele().Etat().Liquides[0].Depart;
    temoins.vue = [&] {
        return QStringList{form.Case(depart)->NomImage(), form.findChild<QLabel*>("LabelEssais")->text()};
    };
    // Nothing laid: the first flow step fills the departure and overflows.
    for (int tic = 0; tic < 60; ++tic)
        form.Timer1_Timer();
    ASSERT_EQ(temoins.messages.size(), 1u);
    EXPECT_EQ(temoins.messages[0].texte, textes::EssaiPerdu);
    EXPECT_EQ(temoins.vus[0],
              (QStringList{QString::fromStdString(NomImageRemplie(9, Couleur::Bleu)), QStringLiteral("1")}));
}

TEST(Form1, LesTuilesDuProgrammeSeChargent) {
#ifndef CANALISOR_DOSSIER_TUILES
    GTEST_SKIP() << "the build draws no tiles";
#else
    Fenetre f;
    Avertissements avertissements;
    ASSERT_TRUE(f.form->Form_Load());
    f.form->menuJouer_Click();
    for (int i = 0; i < NombreCellules; ++i)
        EXPECT_FALSE(f.form->Case(i)->Remplacee()) << f.form->Case(i)->NomImage().toStdString();
    EXPECT_TRUE(avertissements.lignes.isEmpty()) << avertissements.lignes.join('\n').toStdString();
#endif
}

TEST(Form1, SansTuilesLesCasesMontrentLeCodeEtUnAvertissementParNom) {
    QTemporaryDir dossier;
    Fenetre f(1, nullptr, dossier.path() + QLatin1Char('/'));
    Avertissements avertissements;
    ASSERT_TRUE(f.form->Form_Load());
    f.form->menuJouer_Click();
    QSet<QString> noms;
    for (int i = 0; i < NombreCellules; ++i) {
        EXPECT_TRUE(f.form->Case(i)->Remplacee()) << i;
        noms.insert(f.form->Case(i)->NomImage());
    }
    for (int k = 0; k < 3; ++k)
        noms.insert(f.form->Bloc(k)->NomImage());
    EXPECT_EQ(avertissements.lignes.size(), noms.size());
}

} // namespace
} // namespace canalisor::test
