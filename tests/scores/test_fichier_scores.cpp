// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, and copies of the game that
// end their games at the same time.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>

#include "FichierScores.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;
using namespace std::string_literals;

namespace {

// TableExemple() in the file's own bytes, then the same from its third entry.
const std::string Exemple =
    "Marie\r\n1500\r\nPaul\r\n1200\r\nL\xe9\x61\r\n900\r\nHugo\r\n300\r\nAnne\r\n0\r\n";
const std::string DepuisLea = Exemple.substr(25);
// A table as one line of text, "Nom score" an entry.
std::string EnLigne(const std::optional<TableScores>& table) {
    std::string texte;
    for (const EntreeScore& e : table.value_or(TableScores{}))
        texte += (texte.empty() ? "" : ", ") + e.Nom + " " + e.Points;
    return table ? texte : "(absent)";
}

void Poser(const QString& chemin, const std::string& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(octets.data(), qint64(octets.size())) >= 0);
}

std::string Contenu(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : "(illisible)";
}

// Everything in the folder by name: no temporary file may be left, no new file made.
std::string Entrees(const QString& dossier) {
    const auto filtre = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    return QDir(dossier).entryList(filtre, QDir::Name).join(' ').toStdString();
}

void Modes(const QString& chemin, mode_t mode) {
    ASSERT_EQ(chmod(QFile::encodeName(chemin).constData(), mode), 0) << chemin.toStdString();
}

// Waits for a child process; true when it ended by _exit(0).
bool FinitBien(pid_t pid) {
    int statut = 0;
    return waitpid(pid, &statut, 0) == pid && WIFEXITED(statut) && WEXITSTATUS(statut) == 0;
}

// The real file, whose writing can be refused after half the bytes went in, as a full disk
// refuses it; and a lock the test may hold on it, as another copy in the middle of its update.
struct FichierTeste : FichierScores {
    using FichierScores::FichierScores;
    bool refuse = false;
    std::optional<QLockFile> tenu;
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        return FichierScores::EcrireContenu(fichier, refuse ? contenu.first(contenu.size() / 2) : contenu) &&
               !refuse;
    }
};

// A folder holding the file "canalisor.txt".
struct SurDisque : ::testing::Test {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
};

TEST_F(SurDisque, ChaqueFormeDeFichierSeLit) {
    // A missing entry reads as an empty name with score 0.
    const std::tuple<const char*, std::string, std::string> formes[] = {
        {"fichier vide", "", " 0,  0,  0,  0,  0"},
        {"neuf lignes", Exemple.substr(0, 52), "Marie 1500, Paul 1200, Léa 900, Hugo 300,  0"},
        // Written by the game: a lone LF is part of its line, only one LF goes with the CR before it.
        {"LF dans un nom", "Ma\nrie\r\n1500\r\n\nPaul\r\n1200\r\n" + DepuisLea,
         "Ma\nrie 1500, \nPaul 1200, Léa 900, Hugo 300, Anne 0"},
        // Nine CR LF are not the game's ten: each line end is the one a person sees.
        {"un LF parmi des CR LF", "Marie\r\n1500\r\nPaul\n1200\r\n" + DepuisLea,
         "Marie 1500, Paul 1200, Léa 900, Hugo 300, Anne 0"},
        {"un CR LF parmi des LF", "Marie\n1500\r\nPaul\n1200\nL\xe9\x61\n900\nHugo\n300\nAnne\n0\n",
         "Marie 1500, Paul 1200, Léa 900, Hugo 300, Anne 0"},
        // A score keeps its text as written; not a number, the entry is dropped.
        {"scores en texte libre", "Marie\r\n +01500 \r\nPaul\r\n15OO\r\n" + DepuisLea,
         "Marie  +01500 ,  0, Léa 900, Hugo 300, Anne 0"},
        // A line is cut at 4096 bytes; a cut score line could have lost digits.
        {"lignes trop longues",
         std::string(4106, 'x') + "\r\n1500\r\nPaul\r\n" + std::string(4096, '0') + "7\r\n" + DepuisLea,
         std::string(4096, 'x') + " 1500,  0, Léa 900, Hugo 300, Anne 0"},
    };
    for (const auto& [nom, octets, attendu] : formes) {
        Poser(chemin, octets);
        EXPECT_EQ(EnLigne(FichierScores(chemin).Lire()), attendu) << nom;
    }
    // Read whole, the first line would end after a gigabyte of NULs and the entries after it count.
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && f.resize(1 << 30) &&
                f.seek(1 << 30) && f.write(QByteArray::fromStdString("\r\n9000\r\n" + Exemple)) > 0);
    EXPECT_EQ(EnLigne(FichierScores(chemin).Lire()), " 0,  0,  0,  0,  0");
}

// What a person may type in any editor: names empty, of spaces, of digits, of windows-1252
// bytes; scores negative, zero or positive; each line ended with LF, CR LF, CR or CR CR LF,
// the whole file alike or line by line, with or without a last line end.
TEST(LireScores, UnFichierFaitALaMainSeLitCommeIlSeVoit) {
    const char* const fins[] = {"\n", "\r\n", "\r", "\r\r\n"};
    // The characters of names as the file holds them and as they read: a space, two digits, the rest.
    const std::string octets = " 07-Z\t\0\x01\x7f\x80\x9f\xa0\xe9\xff"s;
    const std::string lettres[] = {" ",    "0",    "7", "-", "Z",      "\t", "\0"s,
                                   "\x01", "\x7f", "€", "Ÿ", "\u00a0", "é",  "ÿ"};
    for (unsigned graine = 0; graine < 2000; ++graine) {
        std::mt19937 hasard(graine);
        const auto tirer = [&hasard](std::size_t n) { return hasard() % n; };
        TableScores table;
        std::string lignes[10];
        for (std::size_t k = 0; k < 5; ++k) {
            const std::size_t sorte = tirer(4), longueur = sorte ? 1 + tirer(8) : 0;
            for (std::size_t i = 0; i < longueur; ++i) {
                const std::size_t j = sorte == 1 ? 0 : sorte == 2 ? 1 + tirer(2) : tirer(octets.size());
                lignes[2 * k] += octets[j];
                table[k].Nom += lettres[j];
            }
            lignes[2 * k + 1] = table[k].Points = std::to_string(tirer(3) ? int(tirer(65536)) - 32768 : 0);
        }
        // Forms 0..3 have one line end throughout, 4 one a line; 5..9 the same without the last.
        for (std::size_t forme = 0; forme < 10; ++forme) {
            std::string fichier, fin;
            for (const std::string& ligne : lignes) {
                // After a lone CR, an empty line ended by LF reads as one CR LF, to a person too.
                fin = ligne.empty() && fin == "\r" ? "\r" : fins[forme % 5 < 4 ? forme % 5 : tirer(4)];
                fichier += ligne + fin;
            }
            fichier.resize(fichier.size() - (forme >= 5 ? fin.size() : 0));
            ASSERT_EQ(LireScores(QByteArray::fromStdString(fichier)), table)
                << "seed " << graine << ", form " << forme << ", file " << testing::PrintToString(fichier);
        }
    }
}

// A write replaces the file whole with ten lines ending in CR LF, and the new file is the old
// one's: its mode, owner and group, and every name it has (written in place). Before it, a
// killed copy left a lock and temporary files, which the write, holding the lock, knows to be
// no write's under way; the player's own files stay. A write that cannot be made (the file
// gone or changed since start-up, the disk full) changes nothing, and never makes a file.
TEST(FichierScores, UneEcritureRemplaceToutOuNeChangeRien) {
    enum Fin { Ecrit, Refuse, Parti }; // Parti: no regular file is left at the path
    using Preparer = std::function<void(const QString& chemin, FichierTeste&)>;
    const Preparer rien = [](auto&, auto&) {};
    const Preparer lien = [](auto& c, auto&) {
        ASSERT_EQ(link(QFile::encodeName(c).constData(), QFile::encodeName(c + ".lien").constData()), 0);
    };
    const Preparer refuser = [](auto&, FichierTeste& f) { f.refuse = true; };
    // Name; mode, owner and group (-1: the writer's own); whether user nobody writes; what
    // happens before the write; how it ends. Only root can give a file away, as CI runs.
    const std::tuple<const char*, mode_t, int, bool, Preparer, Fin> cas[] = {
        {"0640, verrou abandonne", 0640, -1, false,
         [](auto& c, auto&) {
             const pid_t pid = fork(); // a copy that crashes holding the lock
             if (pid == 0)
                 _exit(QLockFile(c + ".lock").tryLock(0) ? 0 : 1);
             ASSERT_TRUE(FinitBien(pid) && QFile::exists(c + ".lock"));
         },
         Ecrit},
        {"0604, deux noms", 0604, -1, false, lien, Ecrit},
        {"0444 a nobody", 0444, 65534, false, rien, Ecrit},
        {"0666 a root, ecrit par nobody", 0666, 0, true, rien, Ecrit},
        {"fichier supprime", 0644, -1, true, [](auto& c, auto&) { ASSERT_TRUE(QFile::remove(c)); }, Parti},
        {"un dossier", 0644, -1, true,
         [](auto& c, auto&) { ASSERT_TRUE(QFile::remove(c) && QDir().mkdir(c)); }, Parti},
        {"lien vers rien", 0644, -1, true,
         [](auto& c, auto&) { ASSERT_TRUE(QFile::remove(c) && QFile::link(c + ".x", c)); }, Parti},
        {"contenu refuse", 0644, -1, true, refuser, Refuse},
        {"deux noms, refuse", 0644, -1, true, [&](auto& c, auto& f) { lien(c, f), refuser(c, f); }, Refuse},
        {"fichier 0444", 0444, -1, true, rien, Refuse},
        {"dossier 0555", 0644, -1, true, [](auto& c, auto&) { Modes(c.left(c.lastIndexOf('/')), 0555); },
         Refuse},
        {"verrou tenu", 0644, -1, true,
         [](auto& c, FichierTeste& f) {
             f.AttenteVerrou(std::chrono::milliseconds(50));
             ASSERT_TRUE(f.tenu.emplace(c + ".lock").tryLock(0));
         },
         Refuse},
    };
    const std::string ancien = "Jules\n5000\n" + std::string(100, 'x') + "\n";
    const std::string nouveau = "Jo\r\n5000\r\n" + Exemple.substr(13);
    const TableScores table{
        {{"Jo", "5000"}, {"Paul", "1200"}, {"Léa", "900"}, {"Hugo", "300"}, {"Anne", "0"}}};
    for (const auto& [nom, mode, proprietaire, joueur, preparer, fin] : cas) {
        if (proprietaire >= 0 && geteuid() != 0)
            continue;
        SCOPED_TRACE(nom);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("canalisor.txt");
        Poser(chemin, ancien);
        // The first two are leftovers; the player's own copies and notes are never taken for one.
        if (fin == Ecrit) {
            for (const char* voisin : {"canalisor.txt.ecriture", "canalisor.txt.SvoQcb", "autre.txt.SvoQcb",
                                       "canalisor.txt.AbCdE1", "canalisor.txt.SAUVER", "canalisor.txt.backup",
                                       "canalisor.txt.bak"})
                Poser(dossier.filePath(voisin), Exemple);
            Poser(dossier.filePath("canalisor.txt.AbCdEf"), "notes\r\n");
        }
        const uid_t ecrivain = joueur && geteuid() == 0 ? 65534 : geteuid();
        const uid_t uid = proprietaire >= 0 ? uid_t(proprietaire) : ecrivain;
        const gid_t gid = uid == geteuid() ? getegid() : gid_t(uid);
        ASSERT_EQ(chown(QFile::encodeName(chemin).constData(), uid, gid), 0);
        Modes(chemin, mode);
        Modes(dossier.path(), 0777);
        FichierTeste fichier(chemin);
        preparer(chemin, fichier);
        const std::string avant = Entrees(dossier.path());
        EXPECT_EQ(fichier.Existe(), fin != Parti);
        const pid_t pid = fork();
        if (pid == 0) // as root, the write is made as user nobody, real ids too since Qt asks access(2)
            _exit(ecrivain != geteuid() && (setgid(65534) || setuid(65534)) ? 2 : !fichier.Ecrire(table));
        EXPECT_EQ(FinitBien(pid), fin == Ecrit);
        Modes(dossier.path(), 0777);
        EXPECT_EQ(Contenu(chemin), fin == Ecrit ? nouveau : fin == Refuse ? ancien : "(illisible)");
        const bool lie = QFile::exists(chemin + ".lien");
        EXPECT_EQ(Contenu(chemin + ".lien"), lie ? Contenu(chemin) : "(illisible)");
        if (struct stat st{}; fin != Parti && stat(QFile::encodeName(chemin).constData(), &st) == 0) {
            EXPECT_EQ(std::make_tuple(st.st_mode & 07777, st.st_uid, st.st_gid, st.st_nlink),
                      std::make_tuple(mode, uid, gid, nlink_t(lie ? 2 : 1)));
        }
        const std::string ecrit = "autre.txt.SvoQcb canalisor.txt canalisor.txt.AbCdE1 canalisor.txt.AbCdEf "
                                  "canalisor.txt.SAUVER canalisor.txt.backup canalisor.txt.bak"s +
                                  (lie ? " canalisor.txt.lien" : "");
        EXPECT_EQ(Entrees(dossier.path()), fin == Ecrit ? ecrit : avant);
    }
}

// A copy of the game over the real file, started up and brought to the last try.
struct Copie : DialoguesScriptes {
    explicit Copie(const QString& chemin) : fichier(chemin), jeu(hasard, horloge, *this, fichier) {
        EXPECT_TRUE(jeu.Form_Load("/jeu/"));
        jeu.menuJouer_Click();
    }
    // Loses the last try with this final score; the name box answers nom, after running
    // avantReponse (another copy's game end) while it waits for the player.
    void Finir(std::int32_t score, const std::string& nom) {
        jeu.Etat().Essais = 0;
        jeu.Etat().Score = score - 2; // the departure's cell, filled with the valves open
        reponses = {nom};
        jeu.Maxi_Click();
        jeu.Timer1_Timer();
    }
    std::string Saisir(const std::string& invite) override {
        if (avantReponse)
            std::exchange(avantReponse, nullptr)();
        return DialoguesScriptes::Saisir(invite);
    }
    std::function<void()> avantReponse;
    HasardScripte hasard{424242};
    HorlogeScriptee horloge;
    FichierScores fichier;
    Jeu jeu;
};

// Copy A asks its player's name; meanwhile copy B ends its game and records its score; then
// A's player answers. What B wrote stays, and each copy's record shows its own table's best.
TEST_F(SurDisque, DeuxCopiesQuiFinissentEnMemeTempsGardentLesDeuxScores) {
    // Scores of A and B, the records A and B show, the file after both.
    const std::tuple<std::int32_t, std::int32_t, const char*, const char*> cas[] = {
        {2000, 1000, "2000 1500", "Alice 2000, Marie 1500, Paul 1200, Bob 1000, Léa 900"},
        // Alice would have been first in the table read before her name was typed.
        {2000, 3000, "1500 3000", "Bob 3000, Alice 2000, Marie 1500, Paul 1200, Léa 900"},
        // Bob pushes Hugo to place 5, above Alice's score: she is no longer among the five.
        {1, 500, "1500 1500", "Marie 1500, Paul 1200, Léa 900, Bob 500, Hugo 300"},
    };
    for (const auto& [scoreA, scoreB, records, attendu] : cas) {
        SCOPED_TRACE(testing::Message() << scoreA << " et " << scoreB);
        Poser(chemin, Exemple);
        Copie a(chemin), b(chemin);
        a.avantReponse = [&b, scoreB] { b.Finir(scoreB, "Bob"); };
        a.Finir(scoreA, "Alice");
        EXPECT_EQ(EnLigne(FichierScores(chemin).Lire()), attendu);
        EXPECT_EQ(a.jeu.Affichage().LabelRecord + " " + b.jeu.Affichage().LabelRecord, records);
        // Only the lost try's box each: no failure was reported.
        EXPECT_EQ(a.messages.size() + b.messages.size(), 2u);
    }
}

// Five processes end their games against one file at the same instant, round after round;
// every one of their scores enters the five and must be found there. CANALISOR_TOURS sets the
// number of rounds.
TEST_F(SurDisque, CinqProcessusQuiFinissentEnsembleGardentTousLeurScore) {
    const char* tours = std::getenv("CANALISOR_TOURS");
    for (int tour = 0; tour < (tours ? std::atoi(tours) : 20); ++tour) {
        Poser(chemin, Exemple);
        int depart[2];
        ASSERT_EQ(pipe(depart), 0);
        pid_t copies[5];
        for (int k = 0; k < 5; ++k) {
            if ((copies[k] = fork()) != 0)
                continue;
            close(depart[1]);
            Copie copie(chemin);
            char octet;
            [[maybe_unused]] const auto lu = read(depart[0], &octet, 1); // returns when the parent closes it
            copie.Finir(2000 + k, "Copie " + std::to_string(k));
            _exit(copie.messages.size() == 1 ? 0 : 1);
        }
        close(depart[0]);
        close(depart[1]); // all five go
        for (const pid_t pid : copies)
            EXPECT_TRUE(FinitBien(pid)) << "round " << tour;
        ASSERT_EQ(EnLigne(FichierScores(chemin).Lire()),
                  "Copie 4 2004, Copie 3 2003, Copie 2 2002, Copie 1 2001, Copie 0 2000")
            << "round " << tour;
    }
}

} // namespace
