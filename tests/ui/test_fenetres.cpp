// The side windows, and a whole game played through the main window down to the name typed.
#include "Fenetre.h"
#include "Joueur.h"

namespace canalisor::test {
namespace {

TEST(Fenetres, ChaqueCommandeMontreSaFenetreQuitterLesFermeToutes) {
    const char* scores = "Marie : 1500\nPaul : 1200\nLéa : 900\nHugo : 300\nAnne : 0\n";
    const char* aPropos =
        "Canalisor version 2.12\nLicence : GPL-3.0-or-later\nAoût 2016\ncanalisor@example.org\n"
        "https://example.org/canalisor";
    const std::tuple<const char*, const char*, const char*, const char*, const char*, QSize> cas[] = {
        {"menuRecord", "Form2", "Canalisor - Scores", "Label2", scores, {436, 193}},
        {"menuAbout", "Form3", "Canalisor - A propos", "Label1", aPropos, {305, 140}},
        {"menuRegles", "Form4", "Canalisor - Règles", "Label2", "Règles du jeu", {806, 639}},
    };
    Fenetre f;
    std::ranges::reverse(*f.memoire.table); // the list shows them best first
    ASSERT_TRUE(f.form->Form_Load());
    for (const auto& [menu, nom, titre, label, texte, taille] : cas) {
        SCOPED_TRACE(titre);
        QWidget* fenetre = f.W<QWidget>(nom);
        EXPECT_FALSE(fenetre->isVisible());
        f.W<QAction>(menu)->trigger();
        f.W<QAction>(menu)->trigger();
        EXPECT_EQ(f.W<QWidget>(nom), fenetre) << "shown again, not built again";
        EXPECT_TRUE(fenetre->isVisible());
        EXPECT_EQ(fenetre->windowTitle(), titre);
        EXPECT_TRUE(fenetre->minimumSize() == taille && fenetre->maximumSize() == taille);
        EXPECT_EQ(fenetre->windowFlags() &
                      (Qt::WindowType_Mask | Qt::WindowCloseButtonHint | Qt::WindowMinMaxButtonsHint),
                  Qt::Tool | Qt::WindowCloseButtonHint);
        EXPECT_EQ(f.W(label, fenetre)->text(), texte);
        fenetre->close(); // which destroys it, once Qt gets to its deferred deletes
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(f.form->findChild<QWidget*>(nom), nullptr);
        f.W<QAction>(menu)->trigger();
        EXPECT_TRUE(f.W<QWidget>(nom)->isVisible()) << "built again";
    }
    // The rules: one sentence a line, each ending with a line feed.
    const std::tuple<const char*, int, const char*, const char*> regles[] = {
        {"R1", 4, "Avant de jouer, choisissez", "(menu Fichier / Arrêter la partie).\n"},
        {"R2", 4, "Des tuyaux sont disponibles", "Les tuyaux ancrés sont les suivants :\n"},
        {"R3", 8, "Une fois la partie lancée", "au niveau de difficulté supérieur (plafonné à 3).\n"},
    };
    for (const auto& [label, lignes, debut, fin] : regles) {
        const QString texte = f.W(label, f.form->FenetreRegles())->text();
        EXPECT_EQ(texte.count('\n'), lignes) << label;
        EXPECT_TRUE(texte.startsWith(debut) && texte.endsWith(fin)) << label;
    }
    // "Quitter" (Ctrl+Q) closes the four windows.
    ASSERT_TRUE(f.Montrer());
    QTest::keySequence(f.form->windowHandle(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f.form->isVisible());
    EXPECT_FALSE(f.form->FenetreScores() || f.form->FenetreAPropos() || f.form->FenetreRegles());
}

// Level 1 passed with the valves open, level 2 lost three times with nothing laid, the name typed.
TEST(Fenetres, UnePartieJusquAuNomInscrit) {
    Fenetre f;
    ASSERT_TRUE(f.form->Form_Load());
    f.W<QAction>("menuRecord")->trigger();
    f.dialogues.reponses = {"Zo\xe9"};
    f.dialogues.vue = [&] { return f.W("LabelNiveau")->text() + "/" + f.W("LabelEssais")->text(); };
    f.W<QAction>("menuJouer")->trigger();
    JoueurScripte joueur(f.form->Modele());
    ASSERT_TRUE(joueur.Planifier());
    joueur.Poser(); // on the game itself: the clicks are the main window's tests
    QTest::mouseClick(f.W<QPushButton>("Maxi"), Qt::LeftButton);
    for (int tics = 0; f.horloge.enMarche && tics < 1000; ++tics)
        f.form->Timer1_Timer();
    // Each box opened over the window as the game had just left it.
    EXPECT_EQ(f.dialogues.vus, (QStringList{"1/2", "2/1", "2/0", "2/0"}));
    // The open list is the one read when it was built; built again, it reads the new file.
    QString liste = f.W("Label2", f.form->FenetreScores())->text();
    f.form->FenetreScores()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.W<QAction>("menuRecord")->trigger();
    EXPECT_EQ(f.W("Label2", f.form->FenetreScores())->text(),
              liste.replace("Anne : 0", QString::fromUtf8("Zoé : ") + f.W("LabelScore")->text()));
}

} // namespace
} // namespace canalisor::test
