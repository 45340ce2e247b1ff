// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, a game end that reads the file
// again after the name box, and the windows-1252 text the file holds. Copies racing for the lock
// and games killed at each system call: copies.sh and balayage.sh beside this file.
#include <csignal>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QTemporaryDir>

#include "FichierScores.h"
#include "MondeScripte.h"
#include "Texte1252.h"

using namespace canalisor;
using namespace canalisor::test;
using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

// TableExemple() in the file's own bytes.
const std::string Exemple =
    "Marie\r\n1500\r\nPaul\r\n1200\r\nL\xe9\x61\r\n900\r\nHugo\r\n300\r\nAnne\r\n0\r\n";

void Poser(const std::string& chemin, const std::string& octets) {
    std::ofstream(chemin, std::ios::binary) << octets;
}

std::string Contenu(const std::string& chemin) {
    std::ifstream lu(chemin, std::ios::binary);
    return fs::is_regular_file(chemin) ? std::string(std::istreambuf_iterator<char>(lu), {}) : "";
}

// A game end killed while it holds the lock, its table in hand.
std::optional<TableScores> Tuer(const TableScores&) {
    raise(SIGKILL);
    return std::nullopt;
}

// "canalisor.txt" in the current folder, whose writing can be refused after half the bytes
// went in, as a full disk refuses it.
struct Fichier : FichierScores {
    Fichier() : FichierScores(QStringLiteral("canalisor.txt")) {}
    bool refuse = false;
    bool EcrireContenu(int fd, const QByteArray& c) override {
        return FichierScores::EcrireContenu(fd, refuse ? c.first(c.size() / 2) : c) && !refuse;
    }
};

// Each test runs in a folder of its own whose name is not valid UTF-8, as a player's may be:
// the file, its lock and its temporary file are reached by relative names, never by a decoded
// path. The folder sits beside a fresh QTemporaryDir and takes its name, which makes it unique;
// QTemporaryDir itself could not remove a name that is not text.
struct SurDisque : ::testing::Test {
    SurDisque() { Entrer(); }
    ~SurDisque() override {
        fs::current_path(origine);
        fs::remove_all(ici);
    }
    // Into the folder, made anew and empty.
    void Entrer() {
        fs::remove_all(ici);
        fs::create_directory(ici);
        fs::current_path(ici);
    }
    QTemporaryDir tmp;
    const fs::path origine = fs::current_path();
    const fs::path ici = tmp.path().toStdString() + "\xe9";
    Fichier fichier;
};

// A person may hand the game any line ends (LF, CR LF, CR, CR CR LF), alike or line by line,
// with or without a last one, and names of control codes, NUL included. A missing or damaged
// entry reads as an empty name with score 0. Names are windows-1252 bytes.
TEST_F(SurDisque, ChaqueFormeDeFichierSeLit) {
    const struct {
        const char* cas;
        std::string octets;
        std::string attendu; // each entry as "name score,"
    } formes[] = {
        {"CR, with a name left empty: two CRs in a row end two lines", "a\r1\r\r2\rc\r3\rd\r4\re\r5\r",
         "a 1, 2,c 3,d 4,e 5,"},
        {"mixed line ends, no last one, a name of control codes, NUL and a windows-1252 byte",
         " \t\0\x01\x7f\xe9\n-32768\rb\r\r\n2\nc\r\n3\rd\n4\r\ne\r\n5"s,
         " \t\0\x01\x7fé -32768,b 2,c 3,d 4,e 5,"s},
        {"written by the game: a lone LF is part of its line, one LF goes with the CR before it",
         "a\nx\r\n1\r\n\nb\r\n2\r\nc\r\n3\r\nd\r\n4\r\ne\r\n5\r\n", "a\nx 1,\nb 2,c 3,d 4,e 5,"},
        {"nine CR LF are not the game's ten: each line end is the one a person sees",
         "a\r\n1\r\nb\n2\r\nc\r\n3\r\nd\r\n4\r\ne\r\n5\r\n", "a 1,b 2,c 3,d 4,e 5,"},
        // A score keeps its text as written; not a number, the entry is dropped.
        {"spaces, a sign, leading zeros and the 32-bit range are read, and no more",
         "a\r\n +01 \r\nb\r\n2O\r\nc\r\n-2147483648\r\nd\r\n2147483648\r\ne\r\n\t5\r\n",
         "a  +01 , 0,c -2147483648, 0, 0,"},
        {"not numbers", "a\r\n-2147483649\r\nb\r\n   \r\nc\r\n-\r\nd\r\n+-1\r\ne\r\n1 2\r\n",
         " 0, 0, 0, 0, 0,"},
        {"a line is cut at 4096 bytes; a cut score line could have lost digits",
         std::string(4097, 'x') + "\r\n1\r\nb\r\n" + std::string(4097, '0'),
         std::string(4096, 'x') + " 1, 0, 0, 0, 0,"},
        {"only the first mebibyte is read", std::string(1 << 20, '\0') + "\r\n9\r\n" + Exemple,
         " 0, 0, 0, 0, 0,"},
    };
    for (const auto& k : formes) {
        Poser("canalisor.txt", k.octets);
        EXPECT_EQ(EnLigne(fichier.Lire()), k.attendu) << k.cas;
    }
}

// A write replaces the file whole with ten lines ending in CR LF, and the new file is the old
// one's: its mode, owner and group, and every name it has (written in place). A write that
// cannot be made (the file gone or changed since start-up, the disk full, another copy holding
// the lock all along) changes nothing, and never makes a file. The folder is every player's,
// with the sticky bit, and a copy killed while it held the lock blocks no one.
TEST_F(SurDisque, UneEcritureRemplaceToutOuNeChangeRien) {
    const std::string ancien = "Jules\n5000\n" + std::string(100, 'x') + "\n";
    const struct {
        const char* cas;
        mode_t mode = 0644;
        int proprietaire = -1; // the writer's own; only root can give a file away, as CI runs
        bool joueur = true;    // as root, the write is made as user nobody
        // Before the write:
        bool deuxiemeNom = false;     // a hard link canalisor.txt.lien
        bool disqueRefuse = false;    // after half the bytes
        bool dossierALaPlace = false; // of the file
        bool verrouTenu = false;      // by another copy all along
        bool copieTuee = false;       // while it held the lock
        std::string contenu;          // what the path holds after it, "" for no regular file
    } cas[] = {
        {.cas = "0640", .mode = 0640, .joueur = false, .contenu = Exemple},
        {.cas = "0604, deux noms", .mode = 0604, .joueur = false, .deuxiemeNom = true, .contenu = Exemple},
        {.cas = "0444 à nobody", .mode = 0444, .proprietaire = 65534, .joueur = false, .contenu = Exemple},
        {.cas = "0666 à root", .mode = 0666, .proprietaire = 0, .contenu = Exemple},
        {.cas = "copie tuée en tenant le verrou", .copieTuee = true, .contenu = Exemple},
        {.cas = "un dossier", .dossierALaPlace = true, .contenu = ""},
        {.cas = "disque plein", .disqueRefuse = true, .contenu = ancien},
        {.cas = "deux noms, disque plein", .deuxiemeNom = true, .disqueRefuse = true, .contenu = ancien},
        {.cas = "0444", .mode = 0444, .contenu = ancien},
        {.cas = "verrou tenu", .verrouTenu = true, .contenu = ancien},
    };
    fichier.AttenteVerrou(std::chrono::milliseconds(50)); // as long as a held lock makes a test wait
    for (const auto& k : cas) {
        if (k.proprietaire >= 0 && geteuid() != 0)
            continue;
        SCOPED_TRACE(k.cas);
        Entrer();
        Poser("canalisor.txt", ancien);
        const uid_t ecrivain = k.joueur && geteuid() == 0 ? 65534 : geteuid();
        const uid_t uid = k.proprietaire >= 0 ? uid_t(k.proprietaire) : ecrivain;
        const gid_t gid = uid == geteuid() ? getegid() : gid_t(uid);
        ASSERT_FALSE(chown("canalisor.txt", uid, gid) || chmod("canalisor.txt", k.mode));
        ASSERT_EQ(chmod(".", 01777), 0);
        fichier.refuse = k.disqueRefuse;
        if (k.deuxiemeNom) {
            ASSERT_EQ(link("canalisor.txt", "canalisor.txt.lien"), 0);
        }
        if (k.dossierALaPlace) {
            ASSERT_TRUE(fs::remove("canalisor.txt") && fs::create_directory("canalisor.txt"));
        }
        const int tenu = open("canalisor.txt", O_RDONLY);
        if (k.verrouTenu) {
            ASSERT_EQ(flock(tenu, LOCK_EX), 0);
        }
        int statut = 0;
        if (k.copieTuee) {
            const pid_t tue = fork();
            if (tue == 0)
                _exit(fichier.MettreAJour(Tuer));
            ASSERT_TRUE(waitpid(tue, &statut, 0) == tue && WIFSIGNALED(statut)) << "killed with the lock";
        }
        const pid_t pid = fork();
        if (pid == 0) // as root, the write is made as user nobody, real ids too since Qt asks access(2)
            _exit((ecrivain != geteuid() && (setgid(65534) || setuid(65534))) ||
                  !fichier.Ecrire(TableExemple()));
        EXPECT_EQ(waitpid(pid, &statut, 0) == pid && statut == 0, k.contenu == Exemple)
            << "whether the write says it was made";
        EXPECT_EQ(Contenu("canalisor.txt"), k.contenu);
        if (struct stat st{}; !k.contenu.empty() && stat("canalisor.txt", &st) == 0) {
            EXPECT_EQ(st.st_mode & 07777, k.mode) << "the mode kept";
            EXPECT_EQ(st.st_uid, uid) << "the owner kept";
            EXPECT_EQ(st.st_gid, gid) << "the group kept";
            EXPECT_EQ(st.st_nlink, k.deuxiemeNom ? 2u : 1u) << "every name kept";
        }
        const auto tout = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System;
        EXPECT_EQ(QDir().entryList(tout, QDir::Name).join(' ').toStdString(),
                  k.deuxiemeNom ? "canalisor.txt canalisor.txt.lien" : "canalisor.txt")
            << "no temporary file left, no file made";
        close(tenu);
    }
    // A file handed out to be read only is never written, whoever may write it; the update it
    // refused leaves the file unlocked for the next one.
    Entrer();
    Poser("canalisor.txt", ancien);
    EXPECT_FALSE(FichierScores(QStringLiteral("canalisor.txt"), false).Ecrire(TableExemple()));
    EXPECT_EQ(Contenu("canalisor.txt"), ancien);
    EXPECT_TRUE(fichier.Ecrire(TableExemple())) << "the lock released";
}

// A canalisor.txt that is a symbolic link stays one, and the file it leads to is written, in a
// folder whose name is not valid UTF-8. Nothing beside that file is deleted, followed or stops the
// write: a player's copies, even one holding ten lines ending in CR LF under a name an older build
// used for its temporary file, and links where an older build kept its lock and temporary file.
TEST_F(SurDisque, UnLienResteUnLienEtRienACoteNEstTouche) {
    const struct {
        const char* cas;
        const char* lien; // what canalisor.txt leads to
        bool deuxNoms;    // the file has a second name, so it is written in place
    } cas[] = {
        {"un lien", "vrai\xe9/canalisor.txt", false},
        {"deux liens de suite", "lien2", false},
        {"cible a deux noms", "vrai\xe9/canalisor.txt", true},
    };
    const std::string cible = "vrai\xe9/canalisor.txt";
    const std::string victime = tmp.path().toStdString() + "/victime";
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        Entrer();
        Poser(victime, "victime");
        fs::create_directory("vrai\xe9");
        Poser(cible, "Jules\r\n5000\r\n");
        Poser(cible + ".Backup", Exemple);
        Poser(cible + ".ecriture", Exemple);
        fs::create_symlink(victime, cible + ".lock");
        fs::create_symlink(k.lien, "canalisor.txt");
        fs::create_symlink(cible, "lien2");
        if (k.deuxNoms)
            fs::create_hard_link(cible, "autre_nom");
        EXPECT_TRUE(fichier.Ecrire(TableExemple()));
        EXPECT_TRUE(fs::is_symlink("canalisor.txt")) << "a link stays a link";
        EXPECT_EQ(Contenu(cible), Exemple) << "the file it leads to is written";
        EXPECT_EQ(fs::hard_link_count(cible), k.deuxNoms ? 2u : 1u) << "every name kept";
        EXPECT_EQ(Contenu(cible + ".Backup") + Contenu(cible + ".ecriture"), Exemple + Exemple)
            << "copies kept";
        EXPECT_TRUE(fs::is_symlink(cible + ".lock"));
        EXPECT_EQ(Contenu(victime), "victime") << "no link beside followed";
    }
}

// While A's player types a name, another copy records its scores: A's game end reads the file
// again, so that what the other wrote stays, and A's record is the best of the table it wrote.
TEST_F(SurDisque, UnScoreEcritPendantLaSaisieDuNomReste) {
    const TableScores autre{{{"Copie 4", "2008"},
                             {"Copie 3", "2006"},
                             {"Copie 2", "2004"},
                             {"Copie 1", "2002"},
                             {"Copie 0", "2000"}}};
    // A's score, the record A shows, the file after.
    const std::tuple<std::int32_t, const char*, const char*> cas[] = {
        {3000, "3000", "Alice 3000,Copie 4 2008,Copie 3 2006,Copie 2 2004,Copie 1 2002,"},
        // Alice would have been first in the table read before her name was typed.
        {2005, "1500", "Copie 4 2008,Copie 3 2006,Alice 2005,Copie 2 2004,Copie 1 2002,"},
        // Pushed out meanwhile, she is no longer among the five.
        {1, "1500", "Copie 4 2008,Copie 3 2006,Copie 2 2004,Copie 1 2002,Copie 0 2000,"},
    };
    for (const auto& [scoreA, record, attendu] : cas) {
        SCOPED_TRACE(scoreA);
        Poser("canalisor.txt", Exemple);
        Monde a(424242, &fichier);
        a.dialogues.avantReponse = [this, &autre] { EXPECT_TRUE(fichier.Ecrire(autre)); };
        a.dialogues.reponses = {"Alice"};
        a.jeu.NouvellePartie();
        a.jeu.Etat().Essais = 0;
        a.jeu.Etat().Score = scoreA - 2; // the departure's cell, filled with the valves open
        a.jeu.OuvrirVannes();
        a.jeu.Tic();
        EXPECT_EQ(EnLigne(fichier.Lire()), attendu);
        EXPECT_EQ(a.jeu.Etat().ScoreRecord, record);
        EXPECT_EQ(a.dialogues.messages.size(), 1u) << "only the lost try's box";
    }
}

// Bytes 0x80 to 0x9F, where windows-1252 differs from Latin-1; the five it leaves unassigned
// stand for the control codes of the same value. Then 0xA0 to 0xFF, as in Latin-1. The first
// half is ASCII, NUL included.
TEST(Encodage, ChaqueOctetDansLesDeuxSensEtCeQueLeFichierNePeutTenir) {
    std::string tous;
    for (int o = 0; o < 256; ++o)
        tous.push_back(static_cast<char>(o));
    const std::string texte = tous.substr(0, 128) +
                              "€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"
                              "\u00A0¡¢£¤¥¦§¨©ª«¬\u00AD®¯°±²³´µ¶·¸¹º»¼½¾¿ÀÁÂÃÄÅÆÇÈÉÊËÌÍÎÏ"
                              "ÐÑÒÓÔÕÖ×ØÙÚÛÜÝÞßàáâãäåæçèéêëìíîïðñòóôõö÷øùúûüýþÿ";
    EXPECT_EQ(De1252(tous), texte);
    EXPECT_EQ(Vers1252(texte), tous);
    // What windows-1252 cannot hold becomes one '?' a character (four bytes for an emoji; a byte
    // order mark is a character like any other); text that is not UTF-8 (never given by the
    // windows) one '?' for each byte that starts no character: windows-1252 taken for UTF-8, a
    // cut sequence, an overlong '/', a surrogate half, past U+10FFFF.
    EXPECT_EQ(
        Vers1252("Ωmega Ā|😀 Jo|\xef\xbb\xbfLéa|\xe9t\xe9|\xe2\x82|\xc0\xaf|\xed\xa0\x80|\xf4\x90\x80\x80"),
        "?mega ?|? Jo|?L\xe9\x61|?t?|??|??|???|????");
}

} // namespace
