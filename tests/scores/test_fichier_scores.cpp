// The best-scores file through the real file on disk: the shapes a player may hand the game,
// the write that replaces the file whole or leaves it as it was, copies of the game that end
// their games at the same time, and the windows-1252 text the file holds.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QLockFile>
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
    return std::string(std::istreambuf_iterator<char>(lu), {});
}

// Waits for a child process; true when it ended by _exit(0).
bool FinitBien(pid_t pid) {
    int statut = 0;
    return waitpid(pid, &statut, 0) == pid && WIFEXITED(statut) && WEXITSTATUS(statut) == 0;
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
    const std::string cinq = "a 1,b 2,c 3,d 4,e 5,"; // the five entries a to e read whole
    const struct {
        const char* cas;
        std::string octets;
        std::string attendu; // each entry as "name score,"
    } formes[] = {
        {"nine lines", "a\r\n1\r\nb\r\n2\r\nc\r\n3\r\nd\r\n4\r\ne\r\n", "a 1,b 2,c 3,d 4, 0,"},
        {"LF", "a\n1\nb\n2\nc\n3\nd\n4\ne\n5\n", cinq},
        {"CR", "a\r1\rb\r2\rc\r3\rd\r4\re\r5\r", cinq},
        {"CR, with a name left empty: two CRs in a row end two lines", "a\r1\r\r2\rc\r3\rd\r4\re\r5\r",
         "a 1, 2,c 3,d 4,e 5,"},
        {"CR CR LF", "a\r\r\n1\r\r\nb\r\r\n2\r\r\nc\r\r\n3\r\r\nd\r\r\n4\r\r\ne\r\r\n5\r\r\n", cinq},
        {"mixed line ends, no last one, a name of control codes, NUL and a windows-1252 byte",
         " \t\0\x01\x7f\xe9\n-32768\rb\r\r\n2\nc\r\n3\rd\n4\r\ne\r\n5"s,
         " \t\0\x01\x7fé -32768,b 2,c 3,d 4,e 5,"s},
        {"written by the game: a lone LF is part of its line, one LF goes with the CR before it",
         "a\nx\r\n1\r\n\nb\r\n2\r\nc\r\n3\r\nd\r\n4\r\ne\r\n5\r\n", "a\nx 1,\nb 2,c 3,d 4,e 5,"},
        {"nine CR LF are not the game's ten: each line end is the one a person sees",
         "a\r\n1\r\nb\n2\r\nc\r\n3\r\nd\r\n4\r\ne\r\n5\r\n", cinq},
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
// the lock all along) changes nothing, and never makes a file.
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
        bool dossierFerme = false;    // made read-only
        bool verrouTenu = false;      // by another copy meanwhile
        std::string contenu;          // what the path holds after it, "" for no regular file
    } cas[] = {
        {.cas = "0640", .mode = 0640, .joueur = false, .contenu = Exemple},
        {.cas = "0604, deux noms", .mode = 0604, .joueur = false, .deuxiemeNom = true, .contenu = Exemple},
        {.cas = "0444 à nobody", .mode = 0444, .proprietaire = 65534, .joueur = false, .contenu = Exemple},
        {.cas = "0666 à root", .mode = 0666, .proprietaire = 0, .contenu = Exemple},
        {.cas = "un dossier", .dossierALaPlace = true, .contenu = ""},
        {.cas = "disque plein", .disqueRefuse = true, .contenu = ancien},
        {.cas = "deux noms, disque plein", .deuxiemeNom = true, .disqueRefuse = true, .contenu = ancien},
        {.cas = "0444", .mode = 0444, .contenu = ancien},
        {.cas = "dossier en lecture seule", .dossierFerme = true, .contenu = ancien},
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
        ASSERT_EQ(chmod(".", k.dossierFerme ? 0555 : 0777), 0);
        fichier.refuse = k.disqueRefuse;
        if (k.deuxiemeNom) {
            ASSERT_EQ(link("canalisor.txt", "canalisor.txt.lien"), 0);
        }
        if (k.dossierALaPlace) {
            ASSERT_TRUE(fs::remove("canalisor.txt") && fs::create_directory("canalisor.txt"));
        }
        const int tenu = k.verrouTenu ? open("canalisor.txt", O_RDONLY) : -1;
        if (k.verrouTenu) {
            ASSERT_EQ(flock(tenu, LOCK_EX), 0);
        }
        const pid_t pid = fork();
        if (pid == 0) // as root, the write is made as user nobody, real ids too since Qt asks access(2)
            _exit((ecrivain != geteuid() && (setgid(65534) || setuid(65534))) ||
                  !fichier.Ecrire(TableExemple()));
        EXPECT_EQ(FinitBien(pid), k.contenu == Exemple) << "whether the write says it was made";
        ASSERT_EQ(chmod(".", 0777), 0);
        QFile lu(QStringLiteral("canalisor.txt"));
        EXPECT_EQ(lu.open(QIODevice::ReadOnly) ? lu.readAll().toStdString() : "", k.contenu);
        if (struct stat st{}; !k.contenu.empty() && stat("canalisor.txt", &st) == 0) {
            EXPECT_EQ(st.st_mode & 07777, k.mode) << "the mode kept";
            EXPECT_EQ(st.st_uid, uid) << "the owner kept";
            EXPECT_EQ(st.st_gid, gid) << "the group kept";
            EXPECT_EQ(st.st_nlink, k.deuxiemeNom ? 2u : 1u) << "every name kept";
        }
        // Everything in the folder by name, the file's own name left out of each.
        const auto tout = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System;
        EXPECT_EQ(QDir().entryList(tout, QDir::Name).join(' ').remove("canalisor.txt").toStdString(),
                  k.deuxiemeNom ? " .lien" : "")
            << "no temporary file left, no file made";
        if (tenu >= 0)
            close(tenu);
    }
    // A file handed out to be read only is never written, whoever may write it.
    Entrer();
    Poser("canalisor.txt", ancien);
    EXPECT_FALSE(FichierScores(QStringLiteral("canalisor.txt"), false).Ecrire(TableExemple()));
    EXPECT_EQ(EnLigne(fichier.Lire()), "Jules 5000, 0, 0, 0, 0,");
}

// A canalisor.txt that is a symbolic link stays one, and the file it leads to is written, from
// a folder whose name is not valid UTF-8 (this test's own) to one whose name is. A game end
// deletes no file it did not make: a player's copies beside the written file stay, even when they
// hold ten lines ending in CR LF as the game writes them and bear a name an older build used.
TEST_F(SurDisque, UnLienResteUnLienEtAucunFichierDuJoueurNEstEfface) {
    const std::string utf8 = tmp.path().toStdString() + "/cible";
    const struct {
        const char* cas;
        std::string lien;  // what canalisor.txt leads to, "" for no link
        std::string cible; // the file written in the end
        bool deuxNoms;     // the file has a second name, so it is written in place
    } cas[] = {
        {"sans lien", "", "canalisor.txt", false},
        {"relatif, dossier non UTF-8", "vrai\xe9/canalisor.txt", "vrai\xe9/canalisor.txt", false},
        {"absolu, dossier UTF-8", utf8 + "/canalisor.txt", utf8 + "/canalisor.txt", false},
        {"deux liens de suite", "lien2", "vrai\xe9/canalisor.txt", false},
        {"cible a deux noms", "vrai\xe9/canalisor.txt", "vrai\xe9/canalisor.txt", true},
    };
    const char* copies[] = {".Backup", ".Record", ".Samedi", ".ecriture"};
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        Entrer();
        fs::remove_all(utf8);
        fs::create_directory(utf8);
        fs::create_directory("vrai\xe9");
        Poser(k.cible, "Jules\r\n5000\r\n");
        for (const char* copie : copies)
            Poser(k.cible + copie, Exemple);
        if (!k.lien.empty())
            fs::create_symlink(k.lien, "canalisor.txt");
        if (k.lien == "lien2")
            fs::create_symlink(k.cible, "lien2");
        if (k.deuxNoms)
            fs::create_hard_link(k.cible, "autre_nom");
        EXPECT_TRUE(fichier.Ecrire(TableExemple()));
        EXPECT_EQ(fs::is_symlink("canalisor.txt"), !k.lien.empty()) << "a link stays a link";
        EXPECT_EQ(Contenu(k.cible), Exemple) << "the file it leads to is written";
        EXPECT_EQ(fs::hard_link_count(k.cible), k.deuxNoms ? 2u : 1u) << "every name kept";
        for (const char* copie : copies)
            EXPECT_EQ(Contenu(k.cible + copie), Exemple) << copie << " kept";
    }
}

// What other copies and older builds may leave beside the file never stops a game end, and no
// link there is followed: a lock or temporary name that is a folder or a link, an older build's
// lock file whose holder was killed, a copy killed while it held the lock.
TEST_F(SurDisque, NiVerrouMortNiNomPiegeNArretentUneFinDePartie) {
    const struct {
        const char* cas;
        const char* nom;  // beside canalisor.txt
        const char* quoi; // "dossier", "lien" (to ../victime), "verrou Qt" or "tue pendant l'ecriture"
    } cas[] = {
        {"verrou dossier", ".lock", "dossier"},
        {"verrou lien", ".lock", "lien"},
        {"temporaire dossier", ".ecriture", "dossier"},
        {"temporaire lien", ".ecriture", "lien"},
        {"verrou d'une version tuee", ".lock", "verrou Qt"},
        {"copie tuee en ecrivant", "", "tue pendant l'ecriture"},
    };
    const std::string victime = tmp.path().toStdString() + "/victime";
    fichier.AttenteVerrou(std::chrono::milliseconds(1000));
    for (const auto& k : cas) {
        SCOPED_TRACE(k.cas);
        Entrer();
        Poser(victime, "victime");
        Poser("canalisor.txt", "Jules\r\n5000\r\n");
        const std::string nom = "canalisor.txt"s + k.nom;
        const std::string quoi = k.quoi;
        if (quoi == "dossier")
            fs::create_directory(nom);
        if (quoi == "lien")
            fs::create_symlink(victime, nom);
        const pid_t tue = quoi == "verrou Qt" || quoi == "tue pendant l'ecriture" ? fork() : -1;
        if (tue == 0 && quoi == "verrou Qt") // as an older build locked, then killed
            _exit(QLockFile(QString::fromStdString(nom)).tryLock(0) ? 0 : 1);
        if (tue == 0)
            fichier.MettreAJour(Tuer);
        int statut = 0;
        ASSERT_TRUE(tue < 0 || waitpid(tue, &statut, 0) == tue);
        EXPECT_TRUE(fichier.Ecrire(TableExemple()));
        EXPECT_EQ(EnLigne(fichier.Lire()), "Marie 1500,Paul 1200,Léa 900,Hugo 300,Anne 0,");
        EXPECT_EQ(Contenu(victime), "victime") << "no link followed";
        EXPECT_TRUE(quoi != "dossier" || fs::is_directory(nom));
        EXPECT_TRUE(quoi != "lien" || fs::is_symlink(nom));
    }
}

// In a folder every player may write, with the sticky bit, a player cannot remove another's
// files: what player A's killed game left (an older build's lock, a lock held when it died)
// must not make player B's game end wait or fail. Run as root, as uids 65533 and 65534.
TEST(Partage, LeJeuTueDUnJoueurNeBloquePasLAutre) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as two players";
    const std::pair<uid_t, gid_t> joueurs[2] = {{65533, 65533}, {65534, 65534}};
    QTemporaryDir tmp;
    const fs::path avant = fs::current_path();
    ASSERT_EQ(chmod(tmp.path().toLocal8Bit().constData(), 01777), 0);
    fs::current_path(tmp.path().toStdString());
    Poser("canalisor.txt", Exemple);
    ASSERT_EQ(chown("canalisor.txt", joueurs[0].first, joueurs[0].second) || chmod("canalisor.txt", 0666), 0);
    // Runs f as player j in a process of its own; true when it ends by _exit(0).
    const auto enTantQue = [&joueurs](int j, const std::function<bool()>& f) {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(setgid(joueurs[j].second) || setuid(joueurs[j].first) || !f());
        return FinitBien(pid);
    };
    EXPECT_TRUE(enTantQue(0, [] { return QLockFile("canalisor.txt.lock").tryLock(0); })); // an older build's
    EXPECT_FALSE(enTantQue(0, [] { return FichierScores("canalisor.txt").MettreAJour(Tuer); }));
    const auto debut = std::chrono::steady_clock::now();
    EXPECT_TRUE(enTantQue(1, [] {
        TableScores table = TableExemple();
        table[4] = {"Bea", "100"};
        FichierScores f("canalisor.txt");
        f.AttenteVerrou(std::chrono::milliseconds(2000));
        return f.Ecrire(table);
    }));
    EXPECT_LT(std::chrono::steady_clock::now() - debut, std::chrono::milliseconds(1000));
    EXPECT_EQ(EnLigne(FichierScores("canalisor.txt").Lire()),
              "Marie 1500,Paul 1200,Léa 900,Hugo 300,Bea 100,");
    fs::current_path(avant);
}

// Brings a copy of the game to its last try and loses it with this final score; the name box
// answers nom.
void Finir(Monde& copie, std::int32_t score, const std::string& nom) {
    copie.jeu.NouvellePartie();
    copie.jeu.Etat().Essais = 0;
    copie.jeu.Etat().Score = score - 2; // the departure's cell, filled with the valves open
    copie.dialogues.reponses = {nom};
    copie.jeu.OuvrirVannes();
    copie.jeu.Tic();
}

// Copy A asks its player's name; meanwhile five processes end their games against the same
// file at the same instant, each score entering the five; then A's player answers. What the
// others wrote stays, and A's record shows the best of the table it wrote, round after round.
TEST_F(SurDisque, DesCopiesQuiFinissentEnsembleGardentTousLeursScores) {
    // A's score, the record A shows, the file after all six.
    const std::tuple<std::int32_t, const char*, const char*> cas[] = {
        {3000, "3000", "Alice 3000,Copie 4 2008,Copie 3 2006,Copie 2 2004,Copie 1 2002,"},
        // Alice would have been first in the table read before her name was typed.
        {2005, "1500", "Copie 4 2008,Copie 3 2006,Alice 2005,Copie 2 2004,Copie 1 2002,"},
        // Pushed out meanwhile, she is no longer among the five.
        {1, "1500", "Copie 4 2008,Copie 3 2006,Copie 2 2004,Copie 1 2002,Copie 0 2000,"},
    };
    for (int tour = 0; tour < 21; ++tour) {
        const auto& [scoreA, record, attendu] = cas[tour % 3];
        SCOPED_TRACE(tour);
        Poser("canalisor.txt", Exemple);
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
                if (read(depart[0], &octet, 1) == 0) // once the parent closes its end: all five go
                    Finir(copie, 2000 + 2 * k, "Copie " + std::to_string(k));
                _exit(copie.dialogues.messages.size() == 1 ? 0 : 1); // only the lost try's box
            }
            close(depart[0]);
            close(depart[1]);
            for (const pid_t pid : copies)
                EXPECT_TRUE(FinitBien(pid));
        };
        Finir(a, scoreA, "Alice");
        EXPECT_EQ(EnLigne(fichier.Lire()), attendu);
        EXPECT_EQ(a.jeu.Etat().ScoreRecord, record);
        EXPECT_EQ(a.dialogues.messages.size(), 1u);
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
