// An installed game: where each player's best scores go, and what every window shares (Qt's
// texts in French whatever the locale, the icon). Runs with its own main, which prepares the
// application as the program does.
#include <functional>
#include <string>

#include <unistd.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "Application.h"
#include "EmplacementScores.h"
#include "MondeQt.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

bool preparee = false;

QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void Ecrire(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << chemin.toStdString();
    f.write(octets);
}

const QByteArray Installe = "Canalisor\r\n500\r\nCanalisor\r\n400\r\nCanalisor\r\n300\r\nCanalisor\r\n200\r\n"
                            "Canalisor\r\n100\r\n";

struct Cas {
    const char* nom;
    bool fichierInstalle;
    bool inscriptible;
    QByteArray copieAvant; // empty: the player has no copy yet
    bool attendPersonnel;
    QByteArray copieApres; // "<absent>": no copy is made
};

class Emplacement : public ::testing::TestWithParam<Cas> {};

TEST_P(Emplacement, ChoisitLeFichierEtNeCopieQuAUneFois) {
    const Cas& c = GetParam();
    QTemporaryDir tmp;
    const QString programme = tmp.filePath(QStringLiteral("programme")) + QLatin1Char('/');
    const QString joueur = tmp.filePath(QStringLiteral("joueur/canalisor"));
    QDir().mkpath(programme);
    if (c.fichierInstalle) {
        Ecrire(programme + QStringLiteral("canalisor.txt"), Installe);
        // An installed file is read-only; the player's copy must still be writable.
        QFile::setPermissions(programme + QStringLiteral("canalisor.txt"),
                              QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    if (!c.copieAvant.isEmpty()) {
        QDir().mkpath(joueur);
        Ecrire(joueur + QStringLiteral("/canalisor.txt"), c.copieAvant);
    }
    DialoguesScriptes dialogues;
    QString demande;
    const QString choisi = ui::EmplacementScores(programme, dialogues, joueur, [&](const QString& d) {
        demande = d;
        return c.inscriptible;
    });

    EXPECT_EQ(choisi, c.attendPersonnel ? joueur + QStringLiteral("/canalisor.txt")
                                        : programme + QStringLiteral("canalisor.txt"));
    EXPECT_EQ(Lire(joueur + QStringLiteral("/canalisor.txt")), c.copieApres);
    EXPECT_TRUE(dialogues.messages.empty());
    if (c.fichierInstalle) {
        EXPECT_EQ(demande, programme);
        EXPECT_EQ(Lire(programme + QStringLiteral("canalisor.txt")), Installe);
    }
    if (c.attendPersonnel) {
        EXPECT_TRUE(QFile::permissions(choisi) & QFile::WriteOwner);
    }
}

INSTANTIATE_TEST_SUITE_P(Cas, Emplacement,
                         ::testing::Values(Cas{"dossier_inscriptible", true, true, {}, false, "<absent>"},
                                           Cas{"fichier_absent", false, false, {}, false, "<absent>"},
                                           Cas{"fichier_absent_malgre_une_copie", false, false,
                                               "Zo\xe9\r\n6\r\n", false, "Zo\xe9\r\n6\r\n"},
                                           Cas{"premier_lancement", true, false, {}, true, Installe},
                                           Cas{"copie_gardee", true, false, "Zo\xe9\r\n6\r\n", true,
                                               "Zo\xe9\r\n6\r\n"}),
                         [](const auto& cas) { return std::string(cas.param.nom); });

TEST(Emplacement, CopieImpossibleDitPourquoiEtGardeLeFichierInstalle) {
    QTemporaryDir tmp;
    const QString programme = tmp.path() + QLatin1Char('/');
    Ecrire(programme + QStringLiteral("canalisor.txt"), Installe);
    // A folder inside an ordinary file cannot be made, not even by root.
    Ecrire(tmp.filePath(QStringLiteral("fichier")), "x");
    DialoguesScriptes dialogues;
    const QString choisi =
        ui::EmplacementScores(programme, dialogues, tmp.filePath(QStringLiteral("fichier/canalisor")),
                              [](const QString&) { return false; });
    EXPECT_EQ(choisi, programme + QStringLiteral("canalisor.txt"));
    ASSERT_EQ(dialogues.messages.size(), 1u);
    EXPECT_EQ(dialogues.messages[0].icone, Icone::Critique);
    const std::string attendu =
        "Impossible de créer votre fichier des meilleurs scores " +
        tmp.filePath(QStringLiteral("fichier/canalisor/canalisor.txt")).toStdString() +
        " (dossier impossible à créer). Ils seront lus dans " +
        (programme + QStringLiteral("canalisor.txt")).toStdString() + ", que vous ne pouvez pas modifier.";
    EXPECT_EQ(dialogues.messages[0].texte, attendu);
}

// The program may find its folder as "./" once it has moved into it.
TEST(Emplacement, UnCheminRelatifDonneLaMemeCopie) {
    QTemporaryDir tmp;
    const QString avant = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tmp.path()));
    Ecrire(QStringLiteral("canalisor.txt"), Installe);
    DialoguesScriptes dialogues;
    QString demande;
    const QString choisi = ui::EmplacementScores(
        QStringLiteral("./"), dialogues, tmp.filePath(QStringLiteral("joueur")), [&](const QString& d) {
            demande = d;
            return false;
        });
    QDir::setCurrent(avant);
    EXPECT_EQ(demande, QStringLiteral("./"));
    EXPECT_EQ(choisi, tmp.filePath(QStringLiteral("joueur/canalisor.txt")));
    EXPECT_EQ(Lire(choisi), Installe);
}

TEST(Emplacement, UnDossierSansDroitDEcritureNEstPasInscriptible) {
    QTemporaryDir tmp;
    EXPECT_TRUE(ui::DossierInscriptible(tmp.path()));
    const QString ferme = tmp.filePath(QStringLiteral("ferme"));
    QDir().mkpath(ferme);
    QFile::setPermissions(ferme, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                                     QFile::ReadOther | QFile::ExeOther);
    if (geteuid() == 0)
        GTEST_SKIP() << "root may write any folder; the package's CI stage checks this as an ordinary user";
    EXPECT_FALSE(ui::DossierInscriptible(ferme));
}

// ---- What every window shares ---------------------------------------------------------

QString SansRaccourci(QString texte) {
    return texte.remove(QLatin1Char('&'));
}

// Opens a box through `ouvrir` and reads its buttons while it is up, then closes it.
QStringList BoutonsDeLaBoite(const std::function<void()>& ouvrir) {
    QStringList textes;
    QTimer::singleShot(0, [&] {
        QWidget* boite = QApplication::activeModalWidget();
        if (!boite)
            return;
        for (const QPushButton* b : boite->findChildren<QPushButton*>())
            textes << SansRaccourci(b->text());
        if (auto* dialogue = qobject_cast<QDialog*>(boite))
            dialogue->reject();
    });
    ouvrir();
    textes.sort();
    return textes;
}

TEST(Application, LesTextesDeQtSontEnFrancais) {
    ASSERT_TRUE(preparee);
    ui::DialoguesQt dialogues;
    EXPECT_EQ(BoutonsDeLaBoite([&] { EXPECT_EQ(dialogues.Saisir("Votre nom ?"), ""); }),
              (QStringList{QStringLiteral("Annuler"), QStringLiteral("OK")}));
    EXPECT_EQ(BoutonsDeLaBoite([&] { dialogues.Message("Dommage! Vous avez perdu.", Icone::Critique); }),
              QStringList{QStringLiteral("OK")});

    QLineEdit ligne;
    std::unique_ptr<QMenu> menu(ligne.createStandardContextMenu());
    QStringList actions;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator())
            actions << SansRaccourci(a->text()).section(QLatin1Char('\t'), 0, 0);
    EXPECT_EQ(actions,
              (QStringList{QStringLiteral("Annuler"), QStringLiteral("Rétablir"), QStringLiteral("Couper"),
                           QStringLiteral("Copier"), QStringLiteral("Coller"), QStringLiteral("Supprimer"),
                           QStringLiteral("Tout sélectionner")}));
}

TEST(Application, ToutesLesFenetresPortentLIconeEtLesDonneesVontDansLeDossierDuJeu) {
    ASSERT_TRUE(preparee);
    // The missing-file box opens before any main window: the icon must come from the application.
    QMessageBox boite;
    EXPECT_EQ(boite.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));

    QTemporaryDir maison;
    qputenv("HOME", maison.path().toLocal8Bit());
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
              maison.path() + QStringLiteral("/.local/share/canalisor"));
}

} // namespace
} // namespace canalisor::test

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    canalisor::test::preparee = canalisor::ui::PreparerApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
