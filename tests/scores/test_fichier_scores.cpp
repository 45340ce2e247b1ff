// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, and a game whose score cannot
// be recorded.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "FichierScores.h"
#include "Jeu.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;
using namespace std::string_literals;

namespace {

const std::string Lea = "L\xe9\x61";
// The worked example: TableExemple() in the file's own bytes.
const std::string Exemple =
    "Marie\r\n1500\r\nPaul\r\n1200\r\n" + Lea + "\r\n900\r\nHugo\r\n300\r\nAnne\r\n0\r\n";
// Exemple from its second entry, from its third.
const std::string DepuisPaul = Exemple.substr(13);
const std::string DepuisLea = Exemple.substr(25);
const EntreeScore Absente{"", "0"};
const TableScores Vide{{Absente, Absente, Absente, Absente, Absente}};

TableScores ExempleAvec(std::initializer_list<std::pair<std::size_t, EntreeScore>> changees) {
    TableScores table = TableExemple();
    for (const auto& [k, entree] : changees)
        table[k] = entree;
    return table;
}

void Poser(const QString& chemin, const std::string& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(octets.data(), static_cast<qint64>(octets.size())), static_cast<qint64>(octets.size()));
}

QByteArray Contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(illisible)");
}

// Everything in the folder: a failed write must leave no temporary file and make no new file.
QStringList Entrees(const QString& dossier) {
    return QDir(dossier).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

void Modes(const QString& chemin, mode_t mode) {
    ASSERT_EQ(chmod(QFile::encodeName(chemin).constData(), mode), 0) << chemin.toStdString();
}

struct Forme {
    const char* nom;
    std::string octets;
    TableScores attendu;
};

const std::vector<Forme> Formes = {
    {"exemple", Exemple, TableExemple()},
    {"fichier vide", "", Vide},
    {"cinq lignes", Exemple.substr(0, 30), ExempleAvec({{2, Absente}, {3, Absente}, {4, Absente}})},
    {"neuf lignes", Exemple.substr(0, Exemple.size() - 3), ExempleAvec({{4, Absente}})},
    {"onze lignes", Exemple + "Jules\r\n", TableExemple()},
    {"au-dela de dix lignes", Exemple + "Jules\r\n5000\r\nZo\xe9\r\n7\r\n", TableExemple()},
    {"sans fin de ligne finale", Exemple.substr(0, Exemple.size() - 2), TableExemple()},
    {"CR seulement", "Marie\r1500\rPaul\r1200\r" + Lea + "\r900\rHugo\r300\rAnne\r0\r", TableExemple()},
    // Without a single CR the file was written with LF line ends: read so, nothing is lost.
    {"LF seulement", "Marie\n1500\nPaul\n1200\n" + Lea + "\n900\nHugo\n300\nAnne\n0\n", TableExemple()},
    {"LF seul dans un nom", "Ma\nrie\r\n1500\r\n" + DepuisPaul, ExempleAvec({{0, {"Ma\nrie", "1500"}}})},
    {"LF seul dans un score", "Marie\r\n15\n00\r\n" + DepuisPaul, ExempleAvec({{0, Absente}})},
    {"un seul LF va avec le CR", "Marie\r\n1500\r\n\nPaul\r\n1200\r\n" + DepuisLea,
     ExempleAvec({{1, {"\nPaul", "1200"}}})},
    // The empty line is taken as Marie's score, and every pair after it is out of step.
    {"CR CR LF fait une ligne vide", "Marie\r\r\n1500\r\n" + DepuisPaul, Vide},
    // Readable scores keep their text; past 32 bits or not a number, the entry is dropped.
    {"scores en texte libre",
     "Marie\r\n +01500 \r\nPaul\r\n2147483647\r\n" + Lea +
         "\r\n-2147483648\r\nHugo\r\n2147483648\r\nAnne\r\n15OO\r\n",
     {{{"Marie", " +01500 "}, {"Paul", "2147483647"}, {Lea, "-2147483648"}, Absente, Absente}}},
    // A cut score line could have lost digits: its value is unknown.
    {"lignes trop longues",
     std::string(LongueurLigneMax + 10, 'x') + "\r\n1500\r\nPaul\r\n" + std::string(LongueurLigneMax, '0') +
         "7\r\n" + DepuisLea,
     ExempleAvec({{0, {std::string(LongueurLigneMax, 'x'), "1500"}}, {1, Absente}})},
    {"octets binaires et nuls",
     "Ma\0rie\r\n1500\r\n\x01\x7f\xff\t\x1a\r\n1200\r\n"s + Lea + "\r\n9\0"s + "00\r\n",
     {{{"Ma\0rie"s, "1500"}, {"\x01\x7f\xff\t\x1a", "1200"}, Absente, Absente, Absente}}},
    {"noms en UTF-8", "\xef\xbb\xbfL\xc3\xa9\x61\r\n1500\r\n\xf0\x9f\x98\x80\r\n1200\r\n" + DepuisLea,
     ExempleAvec({{0, {"\xef\xbb\xbfL\xc3\xa9\x61", "1500"}}, {1, {"\xf0\x9f\x98\x80", "1200"}}})},
};

TEST(FichierScores, ChaqueFormeDeFichierSeLit) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
    for (const Forme& forme : Formes) {
        SCOPED_TRACE(forme.nom);
        Poser(chemin, forme.octets);
        FichierScores fichier(chemin);
        EXPECT_TRUE(fichier.Existe());
        EXPECT_EQ(fichier.Lire(), forme.attendu);
    }
}

// Read whole, the first line would end after the gigabyte and the entries after it would count.
TEST(FichierScores, UnGrosFichierNEstLuQuEnPartie) {
    QTemporaryDir dossier;
    QFile f(dossier.filePath("canalisor.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(1024 * OctetsLusMax)); // a sparse hole, read as NULs
    ASSERT_TRUE(f.seek(f.size()));
    ASSERT_GT(f.write(QByteArray::fromStdString("\r\n9000\r\n" + Exemple)), 0);
    f.close();
    EXPECT_EQ(FichierScores(f.fileName()).Lire(), Vide);
}

TEST(FichierScores, EcritLesDixLignesEnCRLFALaPlaceDeTout) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
    Poser(chemin, "Jules\n5000\n" + std::string(100, 'x') + "\n");
    ASSERT_TRUE(FichierScores(chemin).Ecrire(TableExemple()));
    EXPECT_EQ(Contenu(chemin), QByteArray::fromStdString(Exemple));
    EXPECT_EQ(Entrees(dossier.path()), QStringList{"canalisor.txt"});
}

// Start-up must say the file is missing, and a write must not make one appear.
TEST(FichierScores, PasUnFichierOrdinaire) {
    const std::vector<std::pair<const char*, std::function<void(const QString&, const QString&)>>> cas = {
        {"absent", [](auto&, auto&) {}},
        {"dossier", [](const QString& c, auto&) { ASSERT_TRUE(QDir().mkdir(c)); }},
        {"lien vers rien",
         [](const QString& c, const QString& d) { ASSERT_TRUE(QFile::link(d + "/x.txt", c)); }},
    };
    for (const auto& [nom, poser] : cas) {
        SCOPED_TRACE(nom);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("canalisor.txt");
        poser(chemin, dossier.path());
        const QStringList avant = Entrees(dossier.path());
        FichierScores fichier(chemin);
        EXPECT_FALSE(fichier.Existe());
        EXPECT_EQ(fichier.Lire(), std::nullopt);
        EXPECT_FALSE(fichier.Ecrire(TableExemple()));
        EXPECT_EQ(Entrees(dossier.path()), avant);
    }
}

// The real file, whose writing can be refused the way a full disk refuses it.
class FichierTeste : public FichierScores {
  public:
    using FichierScores::FichierScores;
    bool refuse = false;

  protected:
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        if (!refuse)
            return FichierScores::EcrireContenu(fichier, contenu);
        fichier.write(contenu.left(contenu.size() / 2));
        return false;
    }
};

// Root writes whatever the permission bits say, so as root the write is made as user nobody:
// real ids too, since Qt asks access(2); the saved ids stay root's, to come back.
struct SansRoot {
    const bool root = geteuid() == 0;
    SansRoot() { EXPECT_TRUE(!root || (setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0)); }
    ~SansRoot() { EXPECT_TRUE(!root || (setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0)); }
};

// Something happens to the file after start-up; the write then fails and changes nothing.
TEST(FichierScores, EcritureRateeNeChangeRien) {
    struct Incident {
        const char* nom;
        std::function<void(const QString& chemin, const QString& dossier, FichierTeste&)> provoquer;
        bool parti; // the file is gone, and must stay gone
    };
    const std::vector<Incident> incidents = {
        {"fichier supprime", [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c)); }, true},
        {"remplace par un dossier",
         [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c) && QDir().mkdir(c)); }, true},
        {"contenu refuse", [](auto&, auto&, FichierTeste& f) { f.refuse = true; }, false},
        {"fichier en lecture seule", [](const QString& c, auto&, auto&) { Modes(c, 0444); }, false},
        {"dossier qui refuse le fichier temporaire", [](auto&, const QString& d, auto&) { Modes(d, 0555); },
         false},
    };
    for (const Incident& incident : incidents) {
        SCOPED_TRACE(incident.nom);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("canalisor.txt");
        Poser(chemin, Exemple);
        Modes(dossier.path(), 0777); // open to nobody, as a player's own files are
        Modes(chemin, 0666);
        FichierTeste fichier(chemin);
        ASSERT_TRUE(fichier.Existe());
        incident.provoquer(chemin, dossier.path(), fichier);
        const QStringList avant = Entrees(dossier.path());
        {
            SansRoot s;
            EXPECT_FALSE(fichier.Ecrire(ExempleAvec({{0, {"Jules", "5000"}}})));
        }
        Modes(dossier.path(), 0777);
        EXPECT_EQ(Entrees(dossier.path()), avant);
        EXPECT_EQ(Contenu(chemin), incident.parti ? "(illisible)" : QByteArray::fromStdString(Exemple));
    }
}

// While it lives, the system accepts no byte into any file, as on a full disk: the refusal
// only shows when the buffered bytes are flushed.
struct SansPlaceSurLeDisque {
    rlimit avant{};
    void (*signalAvant)(int) = std::signal(SIGXFSZ, SIG_IGN);
    SansPlaceSurLeDisque() {
        getrlimit(RLIMIT_FSIZE, &avant);
        const rlimit zero{0, avant.rlim_max};
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &zero), 0);
    }
    ~SansPlaceSurLeDisque() {
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signalAvant);
    }
};

TEST(FichierScores, UnePartieDontLeScoreNePeutEtreEcritLeDitEtGardeLAncienFichier) {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
    Poser(chemin, Exemple);
    HasardScripte hasard(424242);
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    FichierScores fichier(chemin);
    Jeu jeu(hasard, horloge, dialogues, fichier);
    ASSERT_TRUE(jeu.Form_Load(dossier.path().toStdString() + "/"));
    jeu.menuJouer_Click();
    // The last try, with a score that enters the five; the valves opened on an empty board lose it.
    jeu.Etat().Essais = 0;
    jeu.Etat().Score = 2000;
    dialogues.reponses = {"Jules"};
    jeu.Maxi_Click();
    {
        SansPlaceSurLeDisque plein;
        jeu.Timer1_Timer();
    }
    ASSERT_EQ(jeu.Etat().Essais, -1);
    EXPECT_EQ(dialogues.invites.size(), 1u);
    ASSERT_FALSE(dialogues.messages.empty());
    EXPECT_EQ(dialogues.messages.back().texte, textes::ScoresNonEcrits);
    EXPECT_EQ(dialogues.messages.back().icone, Icone::Critique);
    EXPECT_EQ(Contenu(chemin), QByteArray::fromStdString(Exemple));
    EXPECT_EQ(Entrees(dossier.path()), QStringList{"canalisor.txt"});
}

} // namespace
