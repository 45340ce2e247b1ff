// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, and a game whose score cannot
// be recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
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
using Noms = std::vector<std::string>;
Noms Entrees(const QString& dossier) {
    Noms noms;
    for (const QString& nom :
         QDir(dossier).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        noms.push_back(nom.toStdString());
    std::sort(noms.begin(), noms.end());
    return noms;
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
    // Files edited by hand: each line end is the one a person sees.
    {"LF avec un CR egare", "Marie\n1500\r\nPaul\n1200\n" + Lea + "\n900\nHugo\n300\nAnne\n0\n",
     TableExemple()},
    {"LF avec un nom vide", "Marie\n1500\n\n1200\n" + Lea + "\n900\nHugo\n300\nAnne\n0\n",
     ExempleAvec({{1, {"", "1200"}}})},
    {"CR CR LF",
     "Marie\r\r\n1500\r\r\nPaul\r\r\n1200\r\r\n" + Lea + "\r\r\n900\r\r\nHugo\r\r\n300\r\r\nAnne\r\r\n0",
     TableExemple()},
    {"CR avec un nom vide", "Marie\r1500\r\r1200\r" + Lea + "\r900\rHugo\r300\rAnne\r0\r",
     ExempleAvec({{1, {"", "1200"}}})},
    // Nine CR LF are not the game's ten: the lone LF ends a line.
    {"CR LF sans la derniere fin, un LF",
     "Marie\r\n1500\r\nPaul\n1200\r\n" + Lea + "\r\n900\r\nHugo\r\n300\r\nAnne\r\n0", TableExemple()},
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

// What a person may type in any editor: names empty, of spaces, of digits, of windows-1252
// bytes; scores negative, zero or positive; each line ended with LF, CR LF, CR or CR CR LF,
// the whole file alike or line by line, with or without a last line end.
TEST(LireScores, UnFichierFaitALaMainSeLitCommeIlSeVoit) {
    const char* const fins[] = {"\n", "\r\n", "\r", "\r\r\n"};
    // Each character of a name as the file holds it and as it reads in memory.
    const std::pair<const char*, const char*> lettres[] = {
        {" ", " "},   {"0", "0"},    {"7", "7"},    {"-", "-"},         {"a", "a"},    {"Z", "Z"},
        {"\t", "\t"}, {"\x80", "€"}, {"\x9f", "Ÿ"}, {"\xa0", "\u00a0"}, {"\xe9", "é"}, {"\xff", "ÿ"}};
    for (unsigned graine = 0; graine < 2000; ++graine) {
        std::mt19937 hasard(graine);
        const auto tirer = [&hasard](int n) { return static_cast<int>(hasard() % static_cast<unsigned>(n)); };
        TableScores table, octetsTable;
        for (std::size_t k = 0; k < table.size(); ++k) {
            EntreeScore& e = table[k];
            EntreeScore& o = octetsTable[k];
            const int longueur = 1 + tirer(8);
            switch (tirer(4)) {
            case 0:
                e.Nom = "";
                break;
            case 1:
                e.Nom = std::string(static_cast<std::size_t>(longueur), ' ');
                break;
            case 2:
                e.Nom = std::to_string(tirer(1000000));
                break;
            default:
                for (int i = 0; i < longueur; ++i) {
                    const auto& [octet, lettre] =
                        lettres[static_cast<std::size_t>(tirer(static_cast<int>(std::size(lettres))))];
                    o.Nom += octet;
                    e.Nom += lettre;
                }
            }
            if (o.Nom.empty())
                o.Nom = e.Nom;
            e.Points = o.Points = std::to_string(tirer(3) == 0 ? 0 : tirer(65536) - 32768);
        }
        // Each table in every form: 0..3 one line end throughout, 4 one per line; and each
        // with or without its last line end.
        for (int forme = 0; forme < 10; ++forme) {
            std::string octets;
            std::string_view finPrecedente;
            for (std::size_t ligne = 0; ligne < 10; ++ligne) {
                const std::string& texte =
                    ligne % 2 ? octetsTable[ligne / 2].Points : octetsTable[ligne / 2].Nom;
                std::string_view fin = fins[forme % 5 < 4 ? forme % 5 : tirer(4)];
                // After a lone CR, an empty line ended by LF reads as one CR LF, to a person too.
                if (texte.empty() && finPrecedente == "\r")
                    fin = "\r";
                octets += texte;
                octets += fin;
                finPrecedente = fin;
            }
            if (forme >= 5)
                octets.resize(octets.size() - finPrecedente.size());
            ASSERT_EQ(LireScores(QByteArray::fromStdString(octets)), table)
                << "seed " << graine << ", form " << forme << ", file " << testing::PrintToString(octets);
        }
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
    EXPECT_EQ(Entrees(dossier.path()), Noms{"canalisor.txt"});
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
        const Noms avant = Entrees(dossier.path());
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
    EXPECT_EQ(Entrees(dossier.path()), Noms{"canalisor.txt"});
}

// A copy of the game over the real file, started up and brought to the last try.
struct Copie {
    explicit Copie(const QString& chemin) : fichier(chemin), jeu(hasard, horloge, dialogues, fichier) {
        EXPECT_TRUE(jeu.Form_Load("/jeu/"));
        jeu.menuJouer_Click();
    }
    // Loses the last try with this final score; the name box answers nom, after running
    // avantReponse (another copy's game end) while it waits for the player.
    void Finir(std::int32_t score, const std::string& nom) {
        jeu.Etat().Essais = 0;
        jeu.Etat().Score = score - 2; // the departure's cell, filled with the valves open
        dialogues.reponses = {nom};
        jeu.Maxi_Click();
        jeu.Timer1_Timer();
    }
    struct DialoguesPatients : DialoguesScriptes {
        std::function<void()> avantReponse;
        std::string Saisir(const std::string& invite) override {
            if (avantReponse)
                std::exchange(avantReponse, nullptr)();
            return DialoguesScriptes::Saisir(invite);
        }
    };
    HasardScripte hasard{424242};
    HorlogeScriptee horloge;
    DialoguesPatients dialogues;
    FichierScores fichier;
    Jeu jeu;
};

// Copy A asks its player's name; meanwhile copy B ends its game and records its score; then
// A's player answers. What B wrote stays, and each copy's record shows its own table's best.
TEST_F(SurDisque, DeuxCopiesQuiFinissentEnMemeTempsGardentLesDeuxScores) {
    // Scores of A and B, the file after both, the record each copy shows.
    const std::tuple<std::int32_t, std::int32_t, TableScores, const char*, const char*> cas[] = {
        {2000,
         1000,
         {{{"Alice", "2000"}, {"Marie", "1500"}, {"Paul", "1200"}, {"Bob", "1000"}, {"Léa", "900"}}},
         "2000",
         "1500"},
        // Alice would have been first in the table read before her name was typed, not in the one written.
        {2000,
         3000,
         {{{"Bob", "3000"}, {"Alice", "2000"}, {"Marie", "1500"}, {"Paul", "1200"}, {"Léa", "900"}}},
         "1500",
         "3000"},
        // Bob pushes Hugo to place 5, above Alice's score: she is no longer among the five.
        {1,
         500,
         {{{"Marie", "1500"}, {"Paul", "1200"}, {"Léa", "900"}, {"Bob", "500"}, {"Hugo", "300"}}},
         "1500",
         "1500"},
    };
    for (const auto& [scoreA, scoreB, attendu, recordA, recordB] : cas) {
        SCOPED_TRACE(testing::Message() << scoreA << " et " << scoreB);
        Poser(chemin, Exemple);
        Copie a(chemin), b(chemin);
        a.dialogues.avantReponse = [&b, scoreB] { b.Finir(scoreB, "Bob"); };
        a.Finir(scoreA, "Alice");
        EXPECT_EQ(FichierScores(chemin).Lire(), attendu);
        EXPECT_EQ(a.jeu.Affichage().LabelRecord, recordA);
        EXPECT_EQ(b.jeu.Affichage().LabelRecord, recordB);
        for (const Copie* c : {&a, &b}) { // only the lost try's box: no failure was reported
            EXPECT_EQ(c->dialogues.invites.size(), 1u);
            EXPECT_EQ(c->dialogues.messages.size(), 1u);
        }
        EXPECT_EQ(Entrees(dossier.path()), Noms{"canalisor.txt"});
    }
}

// Five processes end their games against one file at the same instant, round after round;
// every one of their scores enters the five and must be found there. CANALISOR_TOURS sets the
// number of rounds.
TEST_F(SurDisque, CinqProcessusQuiFinissentEnsembleGardentTousLeurScore) {
    const char* tours = std::getenv("CANALISOR_TOURS");
    const int nombreTours = tours ? std::atoi(tours) : 20;
    const TableScores attendu{{{"Copie 4", "2004"},
                               {"Copie 3", "2003"},
                               {"Copie 2", "2002"},
                               {"Copie 1", "2001"},
                               {"Copie 0", "2000"}}};
    for (int tour = 0; tour < nombreTours; ++tour) {
        Poser(chemin, Exemple);
        int depart[2];
        ASSERT_EQ(pipe(depart), 0);
        std::vector<pid_t> copies;
        for (int k = 0; k < 5; ++k) {
            const pid_t pid = fork();
            ASSERT_GE(pid, 0);
            if (pid == 0) {
                close(depart[1]);
                Copie copie(chemin);
                char octet;
                [[maybe_unused]] const auto lu =
                    read(depart[0], &octet, 1); // returns when the parent closes it
                copie.Finir(2000 + k, "Copie " + std::to_string(k));
                _exit(copie.dialogues.messages.size() == 1 ? 0 : 1);
            }
            copies.push_back(pid);
        }
        close(depart[0]);
        close(depart[1]); // all five go
        for (const pid_t pid : copies) {
            int statut = 0;
            ASSERT_EQ(waitpid(pid, &statut, 0), pid);
            EXPECT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0) << "round " << tour;
        }
        ASSERT_EQ(FichierScores(chemin).Lire(), attendu) << "round " << tour;
    }
}

TEST_F(SurDisque, UnVerrouTenuFaitEchouerApresLAttenteUnVerrouAbandonneEstRepris) {
    using namespace std::chrono_literals;
    const TableScores jules = ExempleAvec({{0, {"Jules", "5000"}}});
    Poser(chemin, Exemple);
    {
        QLockFile tenu(chemin + ".lock"); // another copy in the middle of its update
        ASSERT_TRUE(tenu.tryLock(0));
        FichierScores fichier(chemin);
        fichier.AttenteVerrou(50ms);
        EXPECT_FALSE(fichier.Ecrire(jules));
        EXPECT_EQ(Contenu(chemin), QByteArray::fromStdString(Exemple));
    }
    const pid_t pid = fork(); // a copy that crashes holding the lock
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        QLockFile verrou(chemin + ".lock");
        _exit(verrou.tryLock(0) ? 0 : 1);
    }
    int statut = 0;
    ASSERT_EQ(waitpid(pid, &statut, 0), pid);
    ASSERT_TRUE(WIFEXITED(statut) && WEXITSTATUS(statut) == 0 && QFile::exists(chemin + ".lock"));
    EXPECT_TRUE(FichierScores(chemin).Ecrire(jules));
    EXPECT_EQ(FichierScores(chemin).Lire(), jules);
    EXPECT_EQ(Entrees(dossier.path()), Noms{"canalisor.txt"});
}

struct stat Etat(const QString& chemin) {
    struct stat st {};
    EXPECT_EQ(stat(QFile::encodeName(chemin).constData(), &st), 0);
    return st;
}

// The file another user made, or that the player protected: the new file is theirs as the
// old one was. The owner can only be given by root, as CI runs.
TEST_F(SurDisque, LEcritureGardeLeModeEtLeProprietaire) {
    const bool root = geteuid() == 0;
    // Mode, owner and group (-1: this process's own).
    const std::tuple<mode_t, int> cas[] = {{0640, -1}, {0604, -1}, {0444, 65534}, {0660, 65534}};
    for (const auto& [mode, proprietaire] : cas) {
        if (!root && (mode == 0444 || proprietaire >= 0))
            continue;
        SCOPED_TRACE(testing::Message() << std::oct << mode << std::dec << " " << proprietaire);
        Poser(chemin, Exemple);
        const uid_t uid = proprietaire >= 0 ? static_cast<uid_t>(proprietaire) : geteuid();
        const gid_t gid = proprietaire >= 0 ? static_cast<gid_t>(proprietaire) : getegid();
        ASSERT_EQ(chown(QFile::encodeName(chemin).constData(), uid, gid), 0);
        Modes(chemin, mode);
        ASSERT_TRUE(FichierScores(chemin).Ecrire(ExempleAvec({{0, {"Jules", "5000"}}})));
        const struct stat apres = Etat(chemin);
        EXPECT_EQ(apres.st_mode & 07777, mode);
        EXPECT_EQ(std::make_pair(apres.st_uid, apres.st_gid), std::make_pair(uid, gid));
        EXPECT_EQ(FichierScores(chemin).Lire(), ExempleAvec({{0, {"Jules", "5000"}}}));
    }
    // Root's file that every player may write, written by a player who cannot give it back.
    if (!root)
        return;
    Poser(chemin, Exemple);
    ASSERT_EQ(chown(QFile::encodeName(chemin).constData(), 0, 0), 0);
    Modes(dossier.path(), 0777);
    Modes(chemin, 0666);
    {
        SansRoot s;
        EXPECT_TRUE(FichierScores(chemin).Ecrire(ExempleAvec({{0, {"Jules", "5000"}}})));
    }
    const struct stat apres = Etat(chemin);
    EXPECT_EQ(std::make_tuple(apres.st_mode & 07777, apres.st_uid, apres.st_gid),
              std::make_tuple(0666u, 0u, 0u));
    EXPECT_EQ(FichierScores(chemin).Lire(), ExempleAvec({{0, {"Jules", "5000"}}}));
}

// A file with a second name is written over in place: both names show the new, shorter table,
// and a refused write leaves both on the old one.
TEST_F(SurDisque, UnFichierAPlusieursNomsLesGardeTous) {
    const QString autre = dossier.filePath("copie.txt");
    for (const bool refuse : {false, true}) {
        SCOPED_TRACE(refuse ? "refusee" : "reussie");
        QFile::remove(autre);
        Poser(chemin, Exemple);
        ASSERT_EQ(link(QFile::encodeName(chemin).constData(), QFile::encodeName(autre).constData()), 0);
        FichierTeste fichier(chemin);
        fichier.refuse = refuse;
        EXPECT_EQ(fichier.Ecrire(ExempleAvec({{0, {"Jo", "5000"}}})), !refuse);
        const QByteArray attendu = QByteArray::fromStdString(
            refuse ? Exemple
                   : "Jo\r\n5000\r\n" + Exemple.substr(std::string_view("Marie\r\n1500\r\n").size()));
        EXPECT_EQ(Contenu(chemin), attendu);
        EXPECT_EQ(Contenu(autre), attendu);
        EXPECT_EQ(Etat(chemin).st_nlink, 2u);
    }
}

// A write killed half-way leaves its temporary file; the next update, holding the lock, knows
// that no write is under way and removes it, but never a file the player keeps beside.
TEST_F(SurDisque, LesRestesDEcrituresInterrompuesSontEffacesEtRienDAutre) {
    Poser(chemin, Exemple);
    const std::pair<const char*, std::string> restes[] = {{"canalisor.txt.ecriture", "Marie\r\n15"},
                                                          {"canalisor.txt.SvoQcb", Exemple}};
    const std::pair<const char*, std::string> gardes[] = {
        {"canalisor.txt.bak", Exemple},    {"canalisor.txt.backup", Exemple},
        {"canalisor.txt.SAUVER", Exemple}, {"canalisor.txt.AbCdEf", "notes\r\n"},
        {"canalisor.txt.AbCdE1", Exemple}, {"autre.txt.SvoQcb", Exemple}};
    Noms attendues{"canalisor.txt"};
    for (const auto& [nom, octets] : restes)
        Poser(dossier.filePath(nom), octets);
    for (const auto& [nom, octets] : gardes) {
        Poser(dossier.filePath(nom), octets);
        attendues.push_back(nom);
    }
    ASSERT_TRUE(FichierScores(chemin).Ecrire(TableExemple()));
    std::sort(attendues.begin(), attendues.end());
    EXPECT_EQ(Entrees(dossier.path()), attendues);
    for (const auto& [nom, octets] : gardes)
        EXPECT_EQ(Contenu(dossier.filePath(nom)), QByteArray::fromStdString(octets)) << nom;
}

} // namespace
