#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "Fenetre.h"

namespace canalisor::test {
namespace {

struct Fenetres : ::testing::Test {
    void SetUp() override { ASSERT_TRUE(f.form->Form_Load()); }
    static QString Texte(QWidget* fenetre, const char* label) {
        auto* l = fenetre->findChild<QLabel*>(QString::fromLatin1(label));
        return l ? l->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(label));
    }
    // Closing destroys a side window once Qt gets to its deferred deletes.
    static void Fermer(QWidget* fenetre) {
        fenetre->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    Fenetre f;
};

TEST_F(Fenetres, OutilsDeTailleFixeAvecUneCaseDeFermetureSeulement) {
    struct Attendu {
        QWidget* fenetre;
        const char* titre;
        QSize taille;
    };
    const Attendu fenetres[] = {
        {f.form->FenetreScores(), "Canalisor - Scores", {436, 193}},
        {f.form->FenetreAPropos(), "Canalisor - A propos", {305, 140}},
        {f.form->FenetreRegles(), "Canalisor - Règles", {806, 639}},
    };
    for (const Attendu& a : fenetres) {
        SCOPED_TRACE(a.titre);
        EXPECT_EQ(a.fenetre->windowTitle(), QString::fromUtf8(a.titre));
        EXPECT_EQ(a.fenetre->minimumSize(), a.taille);
        EXPECT_EQ(a.fenetre->maximumSize(), a.taille);
        const Qt::WindowFlags drapeaux = a.fenetre->windowFlags();
        EXPECT_EQ(drapeaux & Qt::WindowType_Mask, Qt::Tool);
        EXPECT_TRUE(drapeaux & Qt::WindowCloseButtonHint);
        EXPECT_FALSE(drapeaux & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(a.fenetre->testAttribute(Qt::WA_DeleteOnClose));
    }
}

TEST_F(Fenetres, ScoresClassesUneLigneParPlace) {
    f.memoire.table = TableScores{{{"Hugo", "300"},
                                   {"Marie", "1500"},
                                   {"Anne", "0"},
                                   {"Paul", "1200"},
                                   {"L\xe9"
                                    "a",
                                    "900"}}};
    Fermer(f.form->FenetreScores());
    f.Action("menuRecord")->trigger();
    EXPECT_EQ(Texte(f.form->FenetreScores(), "Label2"),
              QString::fromUtf8("Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n"));
    EXPECT_EQ(Texte(f.form->FenetreScores(), "Label1"), QStringLiteral("Meilleurs scores"));
}

TEST_F(Fenetres, APropos) {
    const QStringList lignes = Texte(f.form->FenetreAPropos(), "Label1").split(QLatin1Char('\n'));
    ASSERT_EQ(lignes.size(), 5) << "five lines, no line feed after the last";
    EXPECT_EQ(lignes[0], QStringLiteral("Canalisor version 2.12"));
    EXPECT_TRUE(lignes[1].contains(QStringLiteral("GPL-3.0-or-later")));
    EXPECT_EQ(lignes[2], QString::fromUtf8("Août 2016"));
    EXPECT_TRUE(lignes[3].contains(QLatin1Char('@')));
    EXPECT_TRUE(lignes[4].startsWith(QStringLiteral("https://")));
}

TEST_F(Fenetres, ReglesUnePhraseParLigne) {
    struct Bloc {
        const char* nom;
        int phrases;
        const char* debut;
        const char* fin;
    };
    const Bloc blocs[] = {
        {"R1", 4, "Avant de jouer, choisissez", "(menu Fichier / Arrêter la partie).\n"},
        {"R2", 4, "Des tuyaux sont disponibles", "Les tuyaux ancrés sont les suivants :\n"},
        {"R3", 8, "Une fois la partie lancée", "au niveau de difficulté supérieur (plafonné à 3).\n"},
    };
    QWidget* regles = f.form->FenetreRegles();
    for (const Bloc& b : blocs) {
        const QString texte = Texte(regles, b.nom);
        EXPECT_EQ(texte.count(QLatin1Char('\n')), b.phrases) << b.nom;
        EXPECT_TRUE(texte.startsWith(QString::fromUtf8(b.debut))) << b.nom;
        EXPECT_TRUE(texte.endsWith(QString::fromUtf8(b.fin))) << b.nom;
    }
    const QString r3 = Texte(regles, "R3");
    EXPECT_LT(r3.indexOf(QStringLiteral("bouton Vannes max.\n")),
              r3.indexOf(QStringLiteral("bouton Pause)")));
    EXPECT_EQ(Texte(regles, "Label2"), QString::fromUtf8("Règles du jeu"));
    EXPECT_EQ(Texte(regles, "l1"), QStringLiteral("Obstacle"));
    for (const char* legende : {"l2", "l3", "l4"})
        EXPECT_TRUE(Texte(regles, legende).endsWith(QLatin1Char(')'))) << legende;
    EXPECT_TRUE(Texte(regles, "l4").startsWith(QStringLiteral("Porte pour le liquide bleu")));
    for (const char* image : {"i1", "i2", "i3", "i4"}) {
        const auto* i = regles->findChild<QLabel*>(QString::fromLatin1(image));
        ASSERT_NE(i, nullptr) << image;
        EXPECT_EQ(i->pixmap().size(), QSize(79, 79)) << image << ": picture from the resources";
    }
}

TEST_F(Fenetres, ChaqueTexteTientDansSaFenetre) {
    for (QWidget* fenetre : std::initializer_list<QWidget*>{f.form->FenetreScores(), f.form->FenetreAPropos(),
                                                            f.form->FenetreRegles()}) {
        for (const QLabel* l : fenetre->findChildren<QLabel*>()) {
            if (l->text().isEmpty())
                continue;
            const QRect zone = l->contentsRect();
            // The empty line after a closing line feed shows nothing and may overflow.
            const QString texte = l->text().endsWith(QLatin1Char('\n')) ? l->text().chopped(1) : l->text();
            const QRect besoin = QFontMetrics(l->font()).boundingRect(
                QRect(0, 0, zone.width(), 10000), Qt::TextWordWrap | static_cast<int>(l->alignment()), texte);
            EXPECT_LE(besoin.height(), zone.height()) << l->objectName().toStdString();
            EXPECT_LE(besoin.width(), zone.width()) << l->objectName().toStdString();
        }
    }
}

TEST_F(Fenetres, UneCommandeMontreLaFenetreSansLaRecomposer) {
    struct Commande {
        const char* menu;
        std::function<QWidget*()> fenetre;
    };
    const Commande commandes[] = {
        {"menuRecord", [&] { return f.form->FenetreScores(); }},
        {"menuAbout", [&] { return f.form->FenetreAPropos(); }},
        {"menuRegles", [&] { return f.form->FenetreRegles(); }},
    };
    for (const Commande& c : commandes) {
        SCOPED_TRACE(c.menu);
        QWidget* chargee = c.fenetre();
        f.Action(c.menu)->trigger();
        EXPECT_EQ(c.fenetre(), chargee) << "shown as loaded at start-up";
        EXPECT_TRUE(chargee->isVisible());
        f.Action(c.menu)->trigger();
        EXPECT_EQ(c.fenetre(), chargee) << "a second command only brings it to the front";
        Fermer(chargee);
        EXPECT_EQ(c.fenetre(), nullptr) << "the close box destroys it";
        f.Action(c.menu)->trigger();
        ASSERT_NE(c.fenetre(), nullptr);
        EXPECT_TRUE(c.fenetre()->isVisible());
    }
}

// "Quitter" and the main window's close box both take the side windows with them, shown or not.
TEST_F(Fenetres, FermerLaFenetrePrincipaleFermeLesQuatre) {
    for (const bool parLeMenu : {true, false}) {
        SCOPED_TRACE(parLeMenu ? "Quitter" : "close box");
        Fenetre g;
        ASSERT_TRUE(g.form->Form_Load());
        g.form->show();
        g.Action("menuRecord")->trigger();
        if (parLeMenu)
            g.Action("menuQuitter")->trigger();
        else
            EXPECT_TRUE(g.form->close());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(g.form->isVisible());
        EXPECT_EQ(g.form->FenetreScores(), nullptr);
        EXPECT_EQ(g.form->FenetreAPropos(), nullptr) << "hidden windows go too";
        EXPECT_EQ(g.form->FenetreRegles(), nullptr);
    }
}

} // namespace
} // namespace canalisor::test
