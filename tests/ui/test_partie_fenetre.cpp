// A whole game played through the window: the pipes are laid by mouse clicks on the cells, the
// clock ticks by hand, and the best-scores file is a real one in a temporary folder.
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include "Fenetre.h"
#include "FichierScores.h"
#include "Joueur.h"

namespace canalisor::test {
namespace {

QByteArray Lire(const QString& chemin) {
    QFile fichier(chemin);
    return fichier.open(QIODevice::ReadOnly) ? fichier.readAll() : QByteArray();
}

// Lays the planned pipes by clicking, dropping the pipes it cannot use on a spare cell.
void Poser(Fenetre& f, JoueurScripte& joueur) {
    const Jeu& jeu = f.form->Modele();
    int rebut = -1;
    for (int i = 0; i < NombreCellules && rebut < 0; ++i)
        if (jeu.Cellules()[std::size_t(i)].Tag == Vide && !joueur.Plan().contains(i))
            rebut = i;
    ASSERT_GE(rebut, 0);
    for (int clics = 0; !joueur.PlanEnPlace(); ++clics) {
        ASSERT_LT(clics, 5000) << "the queue never gave the pipes the plan needs";
        int cible = rebut;
        for (const auto& [cellule, codes] : joueur.Plan()) {
            const int tag = jeu.Cellules()[std::size_t(cellule)].Tag;
            const auto fait = [&](int code) {
                return std::find(codes.begin(), codes.end(), code) != codes.end();
            };
            if (!fait(tag) && fait(jeu.Etat().Tuyau1)) {
                cible = cellule;
                break;
            }
        }
        f.Cliquer(cible);
    }
}

TEST(PartieFenetre, DuPremierNiveauJusquAuNomInscrit) {
    const unsigned graine = 11;
    SCOPED_TRACE(::testing::Message() << "seed " << graine);
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath(QStringLiteral("canalisor.txt"));
    {
        QFile fichier(chemin);
        ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
        fichier.write(EcrireScores(TableExemple()));
    }
    FichierScores palmares(chemin);
    Fenetre f(graine, &palmares);
    ASSERT_TRUE(f.form->Form_Load());
    f.form->show();
    f.Action("menuRecord")->trigger();
    f.dialogues.reponses = {"", "Zo\xe9"};

    f.Action("menuJouer")->trigger();
    JoueurScripte joueur(f.form->Modele());
    ASSERT_TRUE(joueur.Planifier());
    Poser(f, joueur);
    QTest::mouseClick(f.Bouton("Maxi"), Qt::LeftButton);
    f.TicsJusquABoite();
    ASSERT_EQ(f.dialogues.messages.size(), 1u);
    EXPECT_EQ(f.dialogues.messages[0].texte, textes::NiveauPasse);
    EXPECT_EQ(f.Texte("LabelNiveau"), QStringLiteral("2"));
    EXPECT_GT(f.Texte("LabelScore").toInt(), 100);

    // Level 2, three times: nothing laid, so every try overflows at the departure.
    for (const char* essais : {"1", "0", "0"}) {
        f.TicsJusquABoite();
        ASSERT_EQ(f.dialogues.messages.back().texte, textes::EssaiPerdu);
        EXPECT_EQ(f.Texte("LabelEssais"), QString::fromLatin1(essais));
    }
    EXPECT_EQ(f.dialogues.messages.size(), 4u);
    EXPECT_FALSE(f.horloge.enMarche);
    EXPECT_FALSE(f.Bouton("Pause")->isEnabled()) << "a finished game cannot be resumed";
    const QString score = f.Texte("LabelScore");

    ASSERT_EQ(f.dialogues.invites.size(), 2u) << "an empty name asks again";
    EXPECT_EQ(f.dialogues.invites[0], textes::DemandeNom);
    TableScores attendu = TableExemple();
    attendu[4] = {"Zo\xe9", score.toStdString()};
    EXPECT_EQ(Lire(chemin), EcrireScores(attendu));
    EXPECT_EQ(f.Texte("LabelRecord"), QStringLiteral("1500"));

    // The open list is the one read when it was loaded; reopened, it reads the new file.
    QWidget* scores = f.form->FenetreScores();
    EXPECT_FALSE(scores->findChild<QLabel*>("Label2")->text().contains(QString::fromUtf8("Zoé")));
    scores->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    f.Action("menuRecord")->trigger();
    EXPECT_TRUE(f.form->FenetreScores()->findChild<QLabel*>("Label2")->text().endsWith(
        QString::fromUtf8("Zoé : ") + score + QLatin1Char('\n')));
}

} // namespace
} // namespace canalisor::test
