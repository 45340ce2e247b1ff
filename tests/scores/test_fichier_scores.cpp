// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, and copies of the game that
// end their games at the same time.
#include <gtest/gtest.h>

#include <string_view>

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
    explicit FichierTeste(const QString& chemin) : FichierScores(chemin) {
        AttenteVerrou(std::chrono::milliseconds(50)); // as long as a held lock makes a test wait
    }
    bool refuse = false;
    std::optional<QLockFile> tenu;
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        return FichierScores::EcrireContenu(fichier, refuse ? contenu.first(contenu.size() / 2) : contenu) &&
               !refuse;
    }
};

// A folder holding the file "canalisor.txt", which every copy of the game in a test shares.
struct SurDisque : ::testing::Test {
    QTemporaryDir dossier;
    const QString chemin = dossier.filePath("canalisor.txt");
    FichierScores fichier{chemin};
};

// What a person may hand the game: any line ends (LF, CR LF, CR, CR CR LF), alike or line by
// line, with or without a last one; names of control codes, NUL included.
TEST_F(SurDisque, ChaqueFormeDeFichierSeLit) {
    const auto avec = [](std::string texte, const std::string& fin) { // every CR LF made `fin`
        for (std::size_t i = 0; (i = texte.find("\r\n", i)) != std::string::npos; i += fin.size())
            texte.replace(i, 2, fin);
        return texte;
    };
    const std::string exemple = "Marie 1500, Paul 1200, Léa 900, Hugo 300, Anne 0";
    // A missing entry reads as an empty name with score 0.
    const std::tuple<const char*, std::string, std::string> formes[] = {
        {"neuf lignes", Exemple.substr(0, 52), "Marie 1500, Paul 1200, Léa 900, Hugo 300,  0"},
        {"LF", avec(Exemple, "\n"), exemple},
        {"CR", avec(Exemple, "\r"), exemple},
        {"CR CR LF", avec(Exemple, "\r\r\n"), exemple},
        {"fins melees, pas de derniere",
         " 0\t\0\x01\x7f\xe9\n-32768\rPaul\r\r\n1200\n"s + DepuisLea.substr(0, 28),
         " 0\t\0\x01\x7fé -32768, Paul 1200, Léa 900, Hugo 300, Anne 0"s},
        // Written by the game: a lone LF is part of its line, only one LF goes with the CR before it.
        {"LF dans un nom", "Ma\nrie\r\n1500\r\n\nPaul\r\n1200\r\n" + DepuisLea,
         "Ma\nrie 1500, \nPaul 1200, Léa 900, Hugo 300, Anne 0"},
        // Nine CR LF are not the game's ten: each line end is the one a person sees.
        {"un LF parmi des CR LF", "Marie\r\n1500\r\nPaul\n1200\r\n" + DepuisLea, exemple},
        // A score keeps its text as written; not a number, the entry is dropped.
        {"scores en texte libre", "Marie\r\n +01500 \r\nPaul\r\n15OO\r\n" + DepuisLea,
         "Marie  +01500 ,  0, Léa 900, Hugo 300, Anne 0"},
        // A line is cut at 4096 bytes; a cut score line could have lost digits.
        {"lignes trop longues",
         std::string(4106, 'x') + "\r\n1500\r\nPaul\r\n" + std::string(4096, '0') + "7\r\n" + DepuisLea,
         std::string(4096, 'x') + " 1500,  0, Léa 900, Hugo 300, Anne 0"},
        // Only the first mebibyte is read: read whole, the first line would end and the rest count.
        {"un Mio de NUL", std::string(1 << 20, '\0') + "\r\n9000\r\n" + Exemple, " 0,  0,  0,  0,  0"},
    };
    for (const auto& [nom, octets, attendu] : formes) {
        Poser(chemin, octets);
        EXPECT_EQ(EnLigne(fichier.Lire()), attendu) << nom;
    }
}

// A write replaces the file whole with ten lines ending in CR LF, and the new file is the old
// one's: its mode, owner and group, and every name it has (written in place). Before it, a
// killed copy left a lock and temporary files, which the write, holding the lock, knows to be
// no write's under way; the player's own files stay. A write that cannot be made (the file
// gone or changed since start-up, the disk full) changes nothing, and never makes a file.
TEST(FichierScores, UneEcritureRemplaceToutOuNeChangeRien) {
    enum Fin { Ecrit, Refuse, Parti }; // Parti: no regular file is left at the path
    // Name; mode, owner and group (-1: the writer's own); whether user nobody writes; what happens
    // before the write: (c) a copy crashed holding the lock, (l) a second name, a hard link, (r) the
    // disk refuses the bytes after half of them, (d) a folder in the file's place, (s) the folder
    // made read-only, (t) another copy holds the lock meanwhile; how it ends. Only root can give a
    // file away, as CI runs.
    const std::tuple<const char*, mode_t, int, bool, std::string_view, Fin> cas[] = {
        {"0640", 0640, -1, false, "c", Ecrit},
        {"0604", 0604, -1, false, "l", Ecrit},
        {"0444 a nobody", 0444, 65534, false, "", Ecrit},
        {"0666 a root", 0666, 0, true, "", Ecrit},
        {"un dossier", 0644, -1, true, "d", Parti},
        {"refuse", 0644, -1, true, "r", Refuse},
        {"deux noms, refuse", 0644, -1, true, "lr", Refuse},
        {"0444", 0444, -1, true, "", Refuse},
        {"dossier 0555", 0644, -1, true, "s", Refuse},
        {"verrou tenu", 0644, -1, true, "t", Refuse},
    };
    const std::string ancien = "Jules\n5000\n" + std::string(100, 'x') + "\n";
    TableScores table = TableExemple();
    table[0] = {"Jo", "5000"};
    for (const auto& [nom, mode, proprietaire, joueur, avant, fin] : cas) {
        if (proprietaire >= 0 && geteuid() != 0)
            continue;
        SCOPED_TRACE(nom);
        QTemporaryDir dossier;
        const QString chemin = dossier.filePath("canalisor.txt");
        const QByteArray c = QFile::encodeName(chemin);
        Poser(chemin, ancien);
        // The first two are leftovers; the player's own copies and notes (ten lines, but a lone CR in
        // a name: not the game's) are never taken for one.
        for (const QString& voisin :
             QStringLiteral(".ecriture .SvoQcb .AbCdE1 .AbCdEf .AbCdEfg .SAUVER .backup .bak").split(' '))
            if (fin == Ecrit)
                Poser(chemin + voisin, voisin == ".AbCdEf" ? "Ma\rrie" + Exemple.substr(5) : Exemple);
        const uid_t ecrivain = joueur && geteuid() == 0 ? 65534 : geteuid();
        const uid_t uid = proprietaire >= 0 ? uid_t(proprietaire) : ecrivain;
        const gid_t gid = uid == geteuid() ? getegid() : gid_t(uid);
        ASSERT_EQ(chown(c.constData(), uid, gid), 0);
        Modes(chemin, mode);
        const auto fait = [&avant](char quoi) { return avant.find(quoi) != std::string_view::npos; };
        Modes(dossier.path(), fait('s') ? 0555 : 0777);
        FichierTeste fichier(chemin);
        fichier.refuse = fait('r');
        ASSERT_TRUE(!fait('l') || link(c.constData(), (c + ".lien").constData()) == 0);
        ASSERT_TRUE(!fait('d') || (QFile::remove(chemin) && QDir().mkdir(chemin)));
        ASSERT_TRUE(!fait('t') || fichier.tenu.emplace(chemin + ".lock").tryLock(0));
        const pid_t abandon = fait('c') ? fork() : -1;
        if (abandon == 0) // a copy that crashes holding the lock
            _exit(QLockFile(chemin + ".lock").tryLock(0) ? 0 : 1);
        ASSERT_TRUE(abandon < 0 || (FinitBien(abandon) && QFile::exists(chemin + ".lock")));
        const std::string avantEcriture = Entrees(dossier.path());
        const pid_t pid = fork();
        if (pid == 0) // as root, the write is made as user nobody, real ids too since Qt asks access(2)
            _exit(ecrivain != geteuid() && (setgid(65534) || setuid(65534)) ? 2 : !fichier.Ecrire(table));
        EXPECT_EQ(FinitBien(pid), fin == Ecrit);
        Modes(dossier.path(), 0777);
        EXPECT_EQ(Contenu(chemin), fin == Ecrit    ? "Jo\r\n5000\r\n" + Exemple.substr(13)
                                   : fin == Refuse ? ancien
                                                   : "(illisible)");
        const bool lie = QFile::exists(chemin + ".lien");
        EXPECT_EQ(Contenu(chemin + ".lien"), lie ? Contenu(chemin) : "(illisible)");
        if (struct stat st{}; fin != Parti && stat(c.constData(), &st) == 0) {
            EXPECT_EQ(std::make_tuple(st.st_mode & 07777, st.st_uid, st.st_gid, st.st_nlink),
                      std::make_tuple(mode, uid, gid, nlink_t(lie ? 2 : 1)));
        }
        EXPECT_EQ(Entrees(dossier.path()),
                  fin != Ecrit ? avantEcriture
                               : "canalisor.txt canalisor.txt.AbCdE1 canalisor.txt.AbCdEf "
                                 "canalisor.txt.AbCdEfg canalisor.txt.SAUVER canalisor.txt.backup "
                                 "canalisor.txt.bak"s +
                                     (lie ? " canalisor.txt.lien" : ""));
    }
}

// Brings a copy of the game to its last try and loses it with this final score; the name box
// answers nom.
void Finir(Monde& copie, std::int32_t score, const std::string& nom) {
    copie.jeu.menuJouer_Click();
    copie.jeu.Etat().Essais = 0;
    copie.jeu.Etat().Score = score - 2; // the departure's cell, filled with the valves open
    copie.dialogues.reponses = {nom};
    copie.jeu.Maxi_Click();
    copie.jeu.Timer1_Timer();
}

// Copy A asks its player's name; meanwhile five processes end their games against the same
// file at the same instant, each score entering the five; then A's player answers. What the
// others wrote stays, and A's record shows the best of the table it wrote, round after round.
TEST_F(SurDisque, DesCopiesQuiFinissentEnsembleGardentTousLeursScores) {
    // A's score, the record A shows, the file after all six.
    const std::tuple<std::int32_t, const char*, const char*> cas[] = {
        {3000, "3000", "Alice 3000, Copie 4 2008, Copie 3 2006, Copie 2 2004, Copie 1 2002"},
        // Alice would have been first in the table read before her name was typed.
        {2005, "1500", "Copie 4 2008, Copie 3 2006, Alice 2005, Copie 2 2004, Copie 1 2002"},
        // Pushed out meanwhile, she is no longer among the five.
        {1, "1500", "Copie 4 2008, Copie 3 2006, Copie 2 2004, Copie 1 2002, Copie 0 2000"},
    };
    for (int tour = 0; tour < 21; ++tour) {
        const auto& [scoreA, record, attendu] = cas[tour % 3];
        SCOPED_TRACE(tour);
        Poser(chemin, Exemple);
        Monde a(424242, &fichier);
        a.dialogues.avantReponse = [this] {
            int depart[2];
            ASSERT_EQ(pipe(depart), 0);
            pid_t copies[5];
            for (int k = 0; k < 5; ++k) {
                if ((copies[k] = fork()) != 0)
                    continue;
                Monde copie(424242, &fichier);
                close(depart[1]);
                char octet;
                [[maybe_unused]] const auto lu =
                    read(depart[0], &octet, 1); // returns when the parent closes it
                Finir(copie, 2000 + 2 * k, "Copie " + std::to_string(k));
                _exit(copie.dialogues.messages.size() == 1 ? 0 : 1); // only the lost try's box
            }
            close(depart[0]);
            close(depart[1]); // all five go
            for (const pid_t pid : copies)
                EXPECT_TRUE(FinitBien(pid));
        };
        Finir(a, scoreA, "Alice");
        EXPECT_EQ(EnLigne(fichier.Lire()), attendu);
        EXPECT_EQ(a.jeu.Affichage().LabelRecord, record);
        EXPECT_EQ(a.dialogues.messages.size(), 1u);
    }
}

} // namespace
