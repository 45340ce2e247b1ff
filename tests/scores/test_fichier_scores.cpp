// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, and a game whose score cannot
// be recorded.
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
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
// Exemple from its third entry.
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

// A folder holding the file "canalisor.txt".
struct SurDisque : ::testing::Test {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
};

// Name, bytes, what reads from them.
const std::tuple<const char*, std::string, TableScores> Formes[] = {
    {"exemple", Exemple, TableExemple()},
    {"fichier vide", "", Vide},
    {"cinq lignes", Exemple.substr(0, 30), ExempleAvec({{2, Absente}, {3, Absente}, {4, Absente}})},
    {"neuf lignes", Exemple.substr(0, Exemple.size() - 3), ExempleAvec({{4, Absente}})},
    // Lines after the tenth are ignored.
    {"onze lignes", Exemple + "Jules\r\n", TableExemple()},
    {"sans fin de ligne finale", Exemple.substr(0, Exemple.size() - 2), TableExemple()},
    {"CR seulement", "Marie\r1500\rPaul\r1200\r" + Lea + "\r900\rHugo\r300\rAnne\r0\r", TableExemple()},
    // Without a single CR the file was written with LF line ends: read so, nothing is lost.
    {"LF seulement", "Marie\n1500\nPaul\n1200\n" + Lea + "\n900\nHugo\n300\nAnne\n0\n", TableExemple()},
    // In a file with CRs, a lone LF is part of a line; only one LF goes with the CR before it.
    {"LF seuls dans un fichier en CR", "Ma\nrie\r\n1500\r\n\nPaul\r\n1200\r\n" + DepuisLea,
     ExempleAvec({{0, {"Ma\nrie", "1500"}}, {1, {"\nPaul", "1200"}}})},
    // Readable scores keep their text; past 32 bits or not a number, the entry is dropped.
    {"scores en texte libre",
     "Marie\r\n +01500 \r\nPaul\r\n2147483647\r\n" + Lea +
         "\r\n-2147483648\r\nHugo\r\n2147483648\r\nAnne\r\n15OO\r\n",
     {{{"Marie", " +01500 "}, {"Paul", "2147483647"}, {"Léa", "-2147483648"}, Absente, Absente}}},
    // A line is cut at its length limit; a cut score line could have lost digits: its value is unknown.
    {"lignes trop longues",
     std::string(LongueurLigneMax + 10, 'x') + "\r\n1500\r\nPaul\r\n" + std::string(LongueurLigneMax, '0') +
         "7\r\n" + DepuisLea,
     ExempleAvec({{0, {std::string(LongueurLigneMax, 'x'), "1500"}}, {1, Absente}})},
    {"octets binaires et nuls",
     "Ma\0rie\r\n1500\r\n\x01\x7f\xff\t\x1a\r\n1200\r\n"s + Lea + "\r\n9\0"s + "00\r\n",
     {{{"Ma\0rie"s, "1500"}, {"\x01\x7fÿ\t\x1a", "1200"}, Absente, Absente, Absente}}},
    // A file is windows-1252 whatever it holds: UTF-8 reads as the letters its bytes stand for.
    {"noms en UTF-8", "\xef\xbb\xbfL\xc3\xa9\x61\r\n1500\r\n\xf0\x9f\x98\x80\r\n1200\r\n" + DepuisLea,
     ExempleAvec({{0, {"ï»¿LÃ©a", "1500"}}, {1, {"ðŸ˜€", "1200"}}})},
};

TEST_F(SurDisque, ChaqueFormeDeFichierSeLit) {
    for (const auto& [nom, octets, attendu] : Formes) {
        SCOPED_TRACE(nom);
        Poser(chemin, octets);
        EXPECT_EQ(FichierScores(chemin).Lire(), attendu);
    }
}

// Read whole, the first line would end after the gigabyte and the entries after it would count.
TEST_F(SurDisque, UnGrosFichierNEstLuQuEnPartie) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(1024 * OctetsLusMax)); // a sparse hole of NULs
    ASSERT_TRUE(f.seek(f.size()) && f.write(QByteArray::fromStdString("\r\n9000\r\n" + Exemple)) > 0);
    f.close();
    EXPECT_EQ(FichierScores(chemin).Lire(), Vide);
}

TEST_F(SurDisque, EcritLesDixLignesEnCRLFALaPlaceDeTout) {
    Poser(chemin, "Jules\n5000\n" + std::string(100, 'x') + "\n");
    ASSERT_TRUE(FichierScores(chemin).Ecrire(TableExemple()));
    EXPECT_EQ(Contenu(chemin), QByteArray::fromStdString(Exemple));
    EXPECT_EQ(Entrees(dossier.path()), QStringList{"canalisor.txt"});
}

// The real file, whose writing can be refused the way a full disk refuses it: half the bytes
// go in, then the write reports failure.
struct FichierTeste : FichierScores {
    using FichierScores::FichierScores;
    bool refuse = false;
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        return FichierScores::EcrireContenu(fichier, refuse ? contenu.first(contenu.size() / 2) : contenu) &&
               !refuse;
    }
};

void Modes(const QString& chemin, mode_t mode) {
    ASSERT_EQ(chmod(QFile::encodeName(chemin).constData(), mode), 0) << chemin.toStdString();
}

// Root writes whatever the permission bits say, so as root the write is made as user nobody:
// real ids too, since Qt asks access(2); the saved ids stay root's, to come back.
struct SansRoot {
    const bool root = geteuid() == 0;
    SansRoot() { EXPECT_TRUE(!root || (setresgid(65534, 65534, 0) == 0 && setresuid(65534, 65534, 0) == 0)); }
    ~SansRoot() { EXPECT_TRUE(!root || (setresuid(0, 0, 0) == 0 && setresgid(0, 0, 0) == 0)); }
};

// Something happens to the file after start-up; the write then fails and changes nothing. A
// path that holds no regular file reads as a missing file, and a write must not make one.
TEST(FichierScores, EcritureRateeNeChangeRien) {
    // Name, what happens to the file (given its path, its folder, the file object), and whether
    // no regular file is left at the path.
    using Provoquer = std::function<void(const QString&, const QString&, FichierTeste&)>;
    const std::tuple<const char*, Provoquer, bool> incidents[] = {
        {"fichier supprime", [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c)); }, true},
        {"remplace par un dossier",
         [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c) && QDir().mkdir(c)); }, true},
        {"remplace par un lien vers rien",
         [](auto& c, auto& d, auto&) { ASSERT_TRUE(QFile::remove(c) && QFile::link(d + "/x", c)); }, true},
        {"contenu refuse", [](auto&, auto&, FichierTeste& f) { f.refuse = true; }, false},
        {"fichier en lecture seule", [](const QString& c, auto&, auto&) { Modes(c, 0444); }, false},
        {"dossier en lecture seule", [](auto&, const QString& d, auto&) { Modes(d, 0555); }, false},
    };
    for (const auto& [nom, provoquer, parti] : incidents) {
        SCOPED_TRACE(nom);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("canalisor.txt");
        Poser(chemin, Exemple);
        Modes(dossier.path(), 0777); // open to nobody, as a player's own files are
        Modes(chemin, 0666);
        FichierTeste fichier(chemin);
        ASSERT_TRUE(fichier.Existe());
        provoquer(chemin, dossier.path(), fichier);
        const QStringList avant = Entrees(dossier.path());
        EXPECT_EQ(fichier.Existe(), !parti);
        EXPECT_EQ(fichier.Lire().has_value(), !parti);
        {
            SansRoot s;
            EXPECT_FALSE(fichier.Ecrire(ExempleAvec({{0, {"Jules", "5000"}}})));
        }
        Modes(dossier.path(), 0777);
        EXPECT_EQ(Entrees(dossier.path()), avant);
        EXPECT_EQ(Contenu(chemin), parti ? "(illisible)" : QByteArray::fromStdString(Exemple));
    }
}

// The last try, with a score that enters the five; the valves opened on an empty board lose it.
// The write fails as on a full disk: the system accepts no byte into any file, which only shows
// when the buffered bytes are flushed.
TEST_F(SurDisque, UnePartieDontLeScoreNePeutEtreEcritLeDitEtGardeLAncienFichier) {
    Poser(chemin, Exemple);
    HasardScripte hasard(424242);
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    FichierScores fichier(chemin);
    Jeu jeu(hasard, horloge, dialogues, fichier);
    ASSERT_TRUE(jeu.Form_Load(dossier.path().toStdString() + "/"));
    jeu.menuJouer_Click();
    jeu.Etat().Essais = 0;
    jeu.Etat().Score = 2000;
    dialogues.reponses = {"Jules"};
    jeu.Maxi_Click();
    rlimit avant{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &avant), 0);
    std::signal(SIGXFSZ, SIG_IGN); // a refused byte must fail the write, not end the process
    const rlimit plein{0, avant.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &plein), 0);
    jeu.Timer1_Timer();
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &avant), 0);
    ASSERT_FALSE(dialogues.messages.empty());
    EXPECT_EQ(dialogues.messages.back().texte, textes::ScoresNonEcrits);
    EXPECT_EQ(dialogues.messages.back().icone, Icone::Critique);
    EXPECT_EQ(Contenu(chemin), QByteArray::fromStdString(Exemple));
    EXPECT_EQ(Entrees(dossier.path()), QStringList{"canalisor.txt"});
}

} // namespace
