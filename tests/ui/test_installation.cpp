// An installed game: its folder, found and entered by the bytes of its name whatever they are;
// the tiles in it, which the player may have replaced with anything; where each player's best
// scores go; and what every box shares (the program's icon) and the name box keeps.
#include <filesystem>
#include <map>

#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaEnum>
#include <QTemporaryDir>

#include "DossierProgramme.h"
#include "EmplacementScores.h"
#include "Imagier.h"
#include "MondeQt.h"
#include "MondeScripte.h"

namespace canalisor::test {
namespace {

// The link's target, its folder, and whether the program enters it ("" when it cannot be trusted;
// a folder that is gone leaves the current folder as it was).
TEST(Dossier, LeDossierDeLaCibleDuLienOctetPourOctet) {
    QTemporaryDir tmp;
    const std::string ici = tmp.path().toStdString();
    const std::string lien = ici + "/exe";
    const std::string a(3000, 'a');
    std::filesystem::create_directory(ici + "/jeu\xe9");
    const std::tuple<std::string, std::string, bool> cas[] = {
        {ici + "/jeu\xe9/canalisor", ici + "/jeu\xe9", true}, // not valid UTF-8
        {"/canalisor", "/", true},
        {ici + "/parti/canalisor (deleted)", ici + "/parti", false}, // deleted, with its folder
        {"jeu/canalisor", "", false},                                // relative: nothing to trust
        {"/opt/" + a + "/canalisor", "/opt/" + a, false},
    };
    const std::filesystem::path avant = std::filesystem::current_path();
    for (const auto& [cible, attendu, entre] : cas) {
        SCOPED_TRACE(cible);
        unlink(lien.c_str());
        ASSERT_EQ(symlink(cible.c_str(), lien.c_str()), 0);
        EXPECT_EQ(ui::DossierDuLien(lien.c_str()), attendu);
        EXPECT_EQ(ui::EntrerDossierProgramme(lien.c_str()), entre);
        EXPECT_EQ(std::filesystem::current_path(), entre ? attendu : avant.native());
        std::filesystem::current_path(avant);
    }
    // QTemporaryDir names what it removes in text, which this folder's name is not.
    std::filesystem::remove(ici + "/jeu\xe9");
}

QByteArray Bmp(int largeur, int hauteur) {
    QImage image(largeur, hauteur, QImage::Format_RGB888);
    image.fill(Qt::darkCyan);
    QByteArray octets;
    QBuffer tampon(&octets);
    EXPECT_TRUE(image.save(&tampon, "BMP"));
    return octets;
}

// "<fifo>", "<dossier>" and "<absent>" stand for what is not an ordinary file.
void Poser(const QString& chemin, const QByteArray& octets) {
    QFile f(chemin);
    if (octets == "<fifo>") {
        EXPECT_EQ(mkfifo(QFile::encodeName(chemin).constData(), 0600), 0) << "fifo " << chemin.toStdString();
    } else if (octets == "<dossier>") {
        EXPECT_TRUE(QDir().mkdir(chemin)) << chemin.toStdString();
    } else if (octets != "<absent>") {
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(octets) == octets.size()) << chemin.toStdString();
    }
}

QStringList avertissements;

// Files that would block, starve or mislead the game get the stand-in and one warning, and a
// picture is decoded once for all the cells that show it: each is asked for twice, as two cells
// would. Each row's file has a name of its own in one folder; a dense "1@2x.bmp", asked for on a
// dense screen, has the plain "1.bmp" of an earlier row beside it, which stands in when the
// dense one is refused.
TEST(Tuiles, UnFichierHostileDonneLeRemplacantEtUnSeulAvertissement) {
    const struct {
        const char* nom;
        QByteArray octets;
        const char* avertissement; // the one warning, or "" for none
    } cas[] = {
        {"1.bmp", Bmp(79, 79), ""},
        {"2.bmp", Bmp(316, 316), ""},                            // four times the side
        {"3.bmp", "<fifo>", "3.bmp (pas un fichier ordinaire)"}, // which blocks whoever opens it
        {"4.bmp", "<dossier>", "4.bmp (pas un fichier ordinaire)"},
        {"6.bmp", Bmp(10, 317), "6.bmp (10x317 pixels, plus que 316x316)"},
        {"7.bmp", Bmp(79, 79).chopped(1), "7.bmp (tronquée)"}, // one byte short of its last row
        {"8.bmp", "BM pas une image", "8.bmp (pas une image)"},
        {"1@2x.bmp", "<fifo>", "1@2x.bmp (pas un fichier ordinaire)"},
        {"2@2x.bmp", Bmp(633, 10), "2@2x.bmp (633x10 pixels, plus que 632x632)"},
    };
    QTemporaryDir dossier;
    ui::Imagier imagier(dossier.path() + "/");
    // Only the file's name and why it was refused: the folder and the rest of the text are the same.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        avertissements << m.section('/', -1).section(';', 0, 0).trimmed();
    });
    for (const auto& k : cas) {
        SCOPED_TRACE(k.nom);
        Poser(dossier.filePath(k.nom), k.octets);
        const int densite = QByteArray(k.nom).contains('@') ? 2 : 1;
        const QString nom = QString(k.nom).remove("@2x");
        avertissements.clear();
        const QPixmap a = imagier.Charger(nom, densite);
        const QPixmap b = imagier.Charger(nom, densite);
        EXPECT_EQ(avertissements.join('|').toStdString(), k.avertissement);
        EXPECT_EQ(a.isNull(), *k.avertissement && densite == 1) << "the plain tile stands in for a dense one";
        EXPECT_EQ(a.cacheKey(), b.cacheKey()) << "decoded twice";
    }
    qInstallMessageHandler(nullptr);
    // A tile changed on disk is read again.
    Poser(dossier.filePath("1.bmp"), Bmp(40, 40));
    EXPECT_EQ(imagier.Charger("1.bmp").width(), 40);
}

QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

// An installed program's folder holds a marker naming it; a build has none, and a copy of an
// installed folder made elsewhere has one that names the folder it came from.
TEST(Emplacement, UnProgrammeInstalleSeReconnait) {
    QTemporaryDir tmp;
    const QString prog = tmp.filePath("prog/");
    const QString autre = tmp.filePath("autre");
    ASSERT_TRUE(QDir().mkpath(prog) && QDir().mkpath(autre));
    ASSERT_TRUE(QFile::link(prog, tmp.filePath("lien")));
    const std::pair<QByteArray, bool> cas[] = {
        {"<absent>", false},                             // a build
        {QFile::encodeName(prog) + "\n", true},          // installed there
        {QFile::encodeName(tmp.filePath("lien")), true}, // installed through a link to that folder
        {QFile::encodeName(autre) + "\n", false},        // a copy of an installed folder
    };
    for (const auto& [marque, installe] : cas) {
        SCOPED_TRACE(marque.data());
        QFile::remove(prog + "installation");
        Poser(prog + "installation", marque);
        EXPECT_EQ(ui::ProgrammeInstalle(prog), installe);
    }
}

// The player's data folder as the XDG rules give it: XDG_DATA_HOME when absolute, else
// HOME/.local/share; HOME unset or relative gives way to the account's home.
TEST(Emplacement, LeDossierDuJoueurSelonXdg) {
    const struct {
        const char *cas, *xdg, *home, *compte, *attendu;
    } cas[] = {
        {"XDG_DATA_HOME absolu", "/donnees/", "/home/zoe", "/home/compte", "/donnees/canalisor"},
        {"XDG_DATA_HOME vide", "", "/home/zoe", "/home/compte", "/home/zoe/.local/share/canalisor"},
        {"XDG_DATA_HOME relatif, ignoré", "donnees", "/home/zoe", "/home/compte",
         "/home/zoe/.local/share/canalisor"},
        {"HOME absent", nullptr, nullptr, "/home/compte", "/home/compte/.local/share/canalisor"},
        {"HOME relatif", nullptr, "maison", "/home/compte", "/home/compte/.local/share/canalisor"},
        {"aucun dossier", nullptr, nullptr, nullptr, ""},
    };
    for (const auto& k : cas)
        EXPECT_EQ(ui::DossierDonneesJoueur(k.xdg, k.home, k.compte).toStdString(), k.attendu) << k.cas;
}

// The program runs in its own folder "prog" and names it "./"; the player's folder is
// "<tmp>/joueur". Before the start, the program's folder may hold its file, read-only as
// installed, the player may have a copy (or a link leading nowhere in its place), and an
// ordinary file may stand in the way of the player's folder, which not even root can make.
struct Depart {
    bool installe = false;
    bool ouvert = false;      // the player may write the program's folder
    bool sansFichier = false; // in the program's folder
    bool copie = false;       // the player's
    bool bouchon = false;     // an ordinary file in the place of the player's folder
    bool lienMort = false;    // in the place of the player's copy
    bool sansDossier = false; // no personal folder at all
};

// What comes out: the file chosen ("<tmp>" for the test's folder), what the player's copy holds
// ("<absent>" for no file), whether a game end may write, and the one box's text.
struct Issue {
    QString choisi;
    QByteArray copie = "<absent>";
    bool ecrit = true;
    QString boite = "";
};

Issue Choisir(const Depart& k) {
    QTemporaryDir tmp;
    const QString avant = QDir::currentPath();
    EXPECT_TRUE(QDir().mkpath(tmp.filePath("prog")) && QDir::setCurrent(tmp.filePath("prog")));
    if (k.copie || k.lienMort)
        QDir().mkpath("../joueur");
    if (k.lienMort)
        QFile::link("nulle-part", "../joueur/canalisor.txt");
    Poser("canalisor.txt", k.sansFichier ? "<absent>" : "installe");
    Poser("../joueur/canalisor.txt", k.copie ? "copie" : "<absent>");
    Poser("../joueur", k.bouchon ? "x" : "<absent>");
    QFile::setPermissions("canalisor.txt", QFile::ReadOwner | QFile::ReadOther);
    DialoguesScriptes dialogues;
    const auto inscriptible = [&k](const QString&) { return k.ouvert; };
    const QString joueur = k.sansDossier ? "" : tmp.filePath("joueur");
    const ui::Emplacement choisi = ui::EmplacementScores("./", dialogues, k.installe, joueur, inscriptible);
    Issue vu{QString(choisi.Fichier).replace(tmp.path(), "<tmp>"), Lire("../joueur/canalisor.txt"),
             choisi.Ecriture};
    for (const auto& boite : dialogues.messages)
        vu.boite += QString::fromStdString(boite.texte).replace(tmp.path(), "<tmp>");
    // Copied from a read-only file, the player's copy is still theirs to rewrite.
    EXPECT_TRUE(!QFile::exists("../joueur/canalisor.txt") ||
                QFile::permissions("../joueur/canalisor.txt").testFlag(QFile::WriteOwner));
    // A data folder the game makes is the player's alone, as the XDG rules ask.
    struct stat dossier {};
    if (!k.copie && !k.lienMort && ::stat("../joueur", &dossier) == 0 && S_ISDIR(dossier.st_mode)) {
        EXPECT_EQ(dossier.st_mode & 0777, 0700u) << "the player's data folder is made 0700";
    }
    QDir::setCurrent(avant);
    return vu;
}

// The box texts of boites_scores.txt in the run's language: English under an English LANG,
// French under C and French.
std::map<QString, QString> Boites() {
    QFile fichier(QStringLiteral(CANALISOR_DOSSIER_TESTS "boites_scores.txt"));
    EXPECT_TRUE(fichier.open(QIODevice::ReadOnly));
    QStringList lignes = QString::fromUtf8(fichier.readAll()).split('\n');
    lignes.removeIf([](const QString& l) { return l.startsWith('#'); });
    const int langue = qEnvironmentVariable("LANG").startsWith("en") ? 2 : 1;
    std::map<QString, QString> boites;
    for (qsizetype i = 0; i + 2 < lignes.size(); i += 3)
        boites[lignes[i].mid(3)] = lignes[i + langue];
    return boites;
}

// The file chosen, copied once from the program's and kept from then on; an installed file is
// never written, a build's file is when its folder is open. Where the player's copy cannot be
// made, the program's file is read and never written, and one box says why.
TEST(Textes, LeFichierDesScoresDuJoueurEtLaBoiteQuandIlNePeutEtreFait) {
    const QString programme = "./canalisor.txt";
    const QString joueur = "<tmp>/joueur/canalisor.txt";
    std::map<QString, QString> boites = Boites();
    const struct {
        const char* cas; // its box, when it has one, is its entry in boites_scores.txt
        Depart depart;
        QString choisi;
        QByteArray copie = "<absent>"; // what the player's copy holds after
    } cas[] = {
        {"une construction", {.ouvert = true}, programme},
        // Start-up then says the file is missing.
        {"seulement une copie", {.sansFichier = true, .copie = true}, programme, "copie"},
        {"installé, sans fichier", {.installe = true, .sansFichier = true}, programme},
        {"dossier fermé, premier lancement", {}, joueur, "installe"},
        // Root may write the installed folder: it gets its own copy all the same.
        {"installé, dossier ouvert", {.installe = true, .ouvert = true}, joueur, "installe"},
        {"installé, la copie est gardée", {.installe = true, .ouvert = true, .copie = true}, joueur, "copie"},
        {"aucun dossier personnel", {.installe = true, .sansDossier = true}, programme},
        {"un fichier à la place du dossier", {.installe = true, .bouchon = true}, programme},
        {"un lien qui ne mène nulle part", {.installe = true, .lienMort = true}, programme},
    };
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        const Issue vu = Choisir(k.depart);
        const auto entree = boites.extract(k.cas);
        const QString boite = entree ? entree.mapped() : QString();
        EXPECT_EQ(vu.choisi, k.choisi) << "the file chosen";
        EXPECT_EQ(vu.copie, k.copie) << "copied once, then kept";
        EXPECT_EQ(vu.boite.toStdString(), boite.toStdString()) << "the one box, in the player's language";
        EXPECT_EQ(vu.ecrit, boite.isEmpty()) << "a game end may write unless the box says otherwise";
    }
    EXPECT_TRUE(boites.empty()) << "every box of boites_scores.txt belongs to a case";
}

// Every box takes the program's icon from the application (the missing-file box opens before the
// main window), a critical one the critical icon. The name box opens empty and takes no more than
// 40 characters, whatever is typed or pasted; it gives what was typed, in UTF-8, or "" when cancelled.
TEST(Application, LesBoitesPortentLIconeDuJeuEtLeNomSArreteA40Caracteres) {
    ui::DialoguesQt boites;
    QStringList vues;
    const auto repondre = [&vues](const char* tape, bool accepte) {
        QTimer::singleShot(0, [&vues, tape, accepte] {
            auto* boite = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            auto* message = qobject_cast<QMessageBox*>(boite);
            auto* nom = qobject_cast<QInputDialog*>(boite);
            // The box's icon, or what the name box first holds, then the sizes of its window icon.
            QStringList vue{
                message ? QString(QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(message->icon()))
                        : "«" + nom->textValue() + "»"};
            for (const QSize& taille : boite->windowIcon().availableSizes())
                vue << QString::number(taille.width());
            vues << vue.join(' ');
            if (nom)
                nom->findChild<QLineEdit*>()->insert(QString::fromUtf8(tape)); // as typed or pasted
            boite->done(accepte ? QDialog::Accepted : QDialog::Rejected);
        });
    };
    repondre("", true);
    boites.Message("Dommage! Vous avez perdu.", Icone::Critique);
    repondre("", true);
    boites.Message("Bravo", Icone::Aucune);
    repondre("Zoe", false);
    EXPECT_EQ(boites.Saisir("?"), "") << "cancelled";
    repondre("Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ! et la suite", true);
    EXPECT_EQ(boites.Saisir("?"), "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!")
        << "40 characters at most, in UTF-8";
    EXPECT_EQ(vues.join('\n').toStdString(), "Critical 16 32 48\nNoIcon 16 32 48\n«» 16 32 48\n«» 16 32 48");
}

} // namespace
} // namespace canalisor::test
