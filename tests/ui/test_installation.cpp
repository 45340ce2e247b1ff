// An installed game: where each player's best scores go, and what every window shares (Qt's
// texts in French whatever the locale, the icon). Runs with its own main, which prepares the
// application as the program does.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
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

QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

void Ecrire(const QString& chemin, const QByteArray& octets,
            QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size() && f.setPermissions(mode));
}

// The program runs in its own folder and names it "./". The player's folder is "../joueur", or a
// folder inside an ordinary file, which not even root can make: that copy fails and says why.
TEST(Emplacement, ChoisitLeFichierEtNeCopieQuAUneFois) {
    // clang-format off
    const QByteArray installe =
        "Canalisor\r\n500\r\nCanalisor\r\n400\r\nCanalisor\r\n300\r\nCanalisor\r\n200\r\nCanalisor\r\n100\r\n";
    const QByteArray zoe = "Zo\xe9\r\n6\r\n";
    const struct {
        const char *nom, *joueur, *choisi;
        bool fichier, inscriptible;
        QByteArray copieAvant, copieApres;
        const char* message = "";
    } cas[] = {
        {"dossier inscriptible", "../joueur", "./canalisor.txt", true, true, {}, "<absent>"},
        {"fichier absent", "../joueur", "./canalisor.txt", false, false, {}, "<absent>"},
        {"fichier absent malgre une copie", "../joueur", "./canalisor.txt", false, false, zoe, zoe},
        {"premier lancement", "../joueur", "../joueur/canalisor.txt", true, false, {}, installe},
        {"copie gardee", "../joueur", "../joueur/canalisor.txt", true, false, zoe, zoe},
        {"copie impossible", "../fichier/canalisor", "./canalisor.txt", true, false, {}, "<absent>",
         "Impossible de créer votre fichier des meilleurs scores ../fichier/canalisor/canalisor.txt (dossier "
         "impossible à créer). Ils seront lus dans ./canalisor.txt, que vous ne pouvez pas modifier."},
    };
    // clang-format on
    const QString avant = QDir::currentPath();
    for (const auto& k : cas) {
        SCOPED_TRACE(k.nom);
        QTemporaryDir tmp;
        ASSERT_TRUE(QDir().mkpath(tmp.filePath("prog")) && QDir::setCurrent(tmp.filePath("prog")));
        Ecrire("../fichier", "x");
        if (k.fichier) // read-only, as installed; the player's copy must still be writable
            Ecrire("canalisor.txt", installe, QFile::ReadOwner | QFile::ReadOther);
        if (!k.copieAvant.isEmpty() && QDir().mkpath(k.joueur))
            Ecrire(k.joueur + QStringLiteral("/canalisor.txt"), k.copieAvant);
        DialoguesScriptes dialogues;
        QString demande;
        const auto inscriptible = [&](const QString& d) { return demande = d, k.inscriptible; };
        const QString choisi = ui::EmplacementScores("./", dialogues, k.joueur, inscriptible);
        EXPECT_EQ(choisi, k.choisi);
        EXPECT_EQ(Lire(k.joueur + QStringLiteral("/canalisor.txt")), k.copieApres);
        EXPECT_EQ(Lire("canalisor.txt"), k.fichier ? installe : "<absent>");
        EXPECT_EQ(demande, k.fichier ? "./" : "");
        EXPECT_TRUE(QFile::permissions(choisi) & QFile::WriteOwner || choisi == "./canalisor.txt");
        ASSERT_EQ(dialogues.messages.size(), *k.message ? 1u : 0u);
        EXPECT_TRUE(!*k.message || dialogues.messages[0].texte == k.message) << dialogues.messages[0].texte;
    }
    QDir::setCurrent(avant);
}

// Only root may write a read-only folder; nobody may write a missing one.
TEST(Emplacement, UnDossierSansDroitDEcritureNEstPasInscriptible) {
    QTemporaryDir tmp;
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(ui::DossierInscriptible(tmp.path()), geteuid() == 0);
    EXPECT_FALSE(ui::DossierInscriptible(tmp.filePath("absent")));
}

// Qt's texts in French (the name prompt's buttons, the line edit's menu), the icon on every
// window (the missing-file box opens before the main window: it must come from the application),
// and the player's data folder named after the game.
TEST(Application, TextesDeQtEnFrancaisIconeEtDossierDeDonnees) {
    QStringList boutons;
    QTimer::singleShot(0, [&] {
        auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        for (const QPushButton* b : boite->findChildren<QPushButton*>())
            boutons << b->text().remove('&');
        boite->reject();
    });
    EXPECT_EQ(ui::DialoguesQt().Saisir("Votre nom ?"), "");
    boutons.sort();
    EXPECT_EQ(boutons.join('|'), "Annuler|OK");
    QLineEdit ligne;
    std::unique_ptr<QMenu> menu(ligne.createStandardContextMenu());
    QStringList actions;
    for (const QAction* a : menu->actions())
        actions << a->text().remove('&').section('\t', 0, 0);
    EXPECT_EQ(actions.join('|'), "Annuler|Rétablir||Couper|Copier|Coller|Supprimer||Tout sélectionner");
    EXPECT_EQ(QMessageBox().windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    qputenv("XDG_DATA_HOME", "/maison/donnees");
    EXPECT_EQ(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), "/maison/donnees/canalisor");
}

} // namespace
} // namespace canalisor::test

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (!canalisor::ui::PreparerApplication(application))
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
