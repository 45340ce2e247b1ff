// An installed game: where each player's best scores go, and what every window shares (Qt's
// texts in French whatever the locale, the icon). Runs with its own main, which prepares the
// application as the program does.
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "Application.h"
#include "EmplacementScores.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

// The program runs in its own folder "prog" and names it "./"; the player's folder is
// "../joueur". What is there before the start: (f) the program's file, read-only as installed,
// (i) a program's folder the player may write, (c) a copy of the player's own, (x) an ordinary
// file in the way of the player's folder, which not even root can make. What comes out: the
// folder asked whether the player may write it, what the program's file holds, the file chosen,
// what the player's copy holds, and the one message, if any.
TEST(Emplacement, ChoisitLeFichierEtNeCopieQuAUneFois) {
    const std::pair<QByteArray, QString> cas[] = {
        {"fi", "./|installe|./canalisor.txt|<absent>|"},
        {"", "|<absent>|./canalisor.txt|<absent>|"}, // start-up then says the file is missing
        {"c", "|<absent>|./canalisor.txt|copie|"},
        {"f", "./|installe|../joueur/canalisor.txt|installe|"}, // the first start copies
        {"fc", "./|installe|../joueur/canalisor.txt|copie|"},   // later ones keep the copy
        {"fx",
         "./|installe|./canalisor.txt|<absent>|Impossible de créer votre fichier des meilleurs scores "
         "../joueur/canalisor.txt (dossier impossible à créer). Ils seront lus dans ./canalisor.txt, que "
         "vous ne pouvez pas modifier."},
    };
    const std::tuple<char, const char*, QByteArray> fichiers[] = {{'f', "canalisor.txt", "installe"},
                                                                  {'c', "../joueur/canalisor.txt", "copie"},
                                                                  {'x', "../joueur", "x"}};
    const QString avant = QDir::currentPath();
    for (const auto& [quoi, attendu] : cas) {
        SCOPED_TRACE(quoi.data());
        QTemporaryDir tmp;
        ASSERT_TRUE(QDir().mkpath(tmp.filePath("prog")) && QDir::setCurrent(tmp.filePath("prog")));
        for (const auto& [code, chemin, octets] : fichiers) {
            QFile f(chemin);
            ASSERT_TRUE(!quoi.contains(code) || (QDir().mkpath(QFileInfo(f).path()) &&
                                                 f.open(QIODevice::WriteOnly) && f.write(octets) > 0));
        }
        QFile::setPermissions("canalisor.txt", QFile::ReadOwner | QFile::ReadOther);
        DialoguesScriptes dialogues;
        QString vus;
        const QString choisi = ui::EmplacementScores(
            "./", dialogues, "../joueur", [&](const QString& d) { return vus = d, quoi.contains('i'); });
        vus += '|' + Lire("canalisor.txt") + '|' + choisi + '|' + Lire("../joueur/canalisor.txt") + '|';
        for (const auto& boite : dialogues.messages)
            vus += QString::fromStdString(boite.texte);
        EXPECT_EQ(vus.toStdString(), attendu.toStdString());
    }
    QDir::setCurrent(avant);
    // Only root may write a read-only folder; nobody may write a missing one.
    QTemporaryDir tmp;
    QFile::setPermissions(tmp.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(ui::DossierInscriptible(tmp.path()), geteuid() == 0);
    EXPECT_FALSE(ui::DossierInscriptible(tmp.filePath("absent")));
}

// Qt's texts in French (the line edit's menu), the icon on every window (the missing-file box
// opens before the main window: it must come from the application), and the player's data
// folder named after the game.
TEST(Application, TextesDeQtEnFrancaisIconeEtDossierDeDonnees) {
    QLineEdit ligne;
    QStringList actions;
    const std::unique_ptr<QMenu> menu(ligne.createStandardContextMenu());
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
