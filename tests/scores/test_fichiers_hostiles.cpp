// Best-scores files that nobody should hand the game, read through the real file and a whole
// game: each shape gets an orderly outcome, and every score the file really holds survives
// the next game's rewrite unless a better one pushes it out.

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
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
#include "Joueur.h"
#include "MondeScripte.h"

using namespace canalisor;
using namespace canalisor::test;
using namespace std::string_literals;

namespace {

constexpr qint64 Mo = 1 << 20;

// A seed whose first level the scripted player passes; the game's final score S is the same
// in every case, since nothing the file holds changes what chance draws.
constexpr unsigned Graine = 424242;

const std::string Origine = "Marie\r\n9000\r\nPaul\r\n8000\r\nL\xe9"
                            "a\r\n7000\r\nHugo\r\n5\r\nAnne\r\n0\r\n";
// Origine once a game has entered Jules with S points.
const std::string OrigineAvecJules = "Marie\r\n9000\r\nPaul\r\n8000\r\nL\xe9"
                                     "a\r\n7000\r\nJules\r\n{S}\r\nHugo\r\n5\r\n";
const std::string QuatreAbsentes = "\r\n0\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n";

QByteArray Octets(const std::string& s) {
    return QByteArray::fromStdString(s);
}

QByteArray Lire(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(illisible)");
}

void Ecrire(const QString& chemin, const std::string& octets) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(octets.data(), static_cast<qint64>(octets.size())), static_cast<qint64>(octets.size()));
}

// `tete`, then `taille` bytes that are never written (a sparse hole that reads as NULs), then `queue`.
void EcrireCreux(const QString& chemin, const std::string& tete, qint64 taille, const std::string& queue) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(tete.data(), static_cast<qint64>(tete.size()));
    ASSERT_TRUE(f.resize(static_cast<qint64>(tete.size()) + taille));
    ASSERT_TRUE(f.seek(f.size()));
    ASSERT_EQ(f.write(queue.data(), static_cast<qint64>(queue.size())), static_cast<qint64>(queue.size()));
}

// `tete`, a line of `taille` bytes 'a' with no line end, written a megabyte at a time, then `queue`.
void EcrireLongueLigne(const QString& chemin, const std::string& tete, qint64 taille,
                       const std::string& queue) {
    QFile f(chemin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(tete.data(), static_cast<qint64>(tete.size()));
    const QByteArray bloc(Mo, 'a');
    for (qint64 ecrit = 0; ecrit < taille; ecrit += Mo)
        ASSERT_EQ(f.write(bloc), Mo);
    ASSERT_EQ(f.write(queue.data(), static_cast<qint64>(queue.size())), static_cast<qint64>(queue.size()));
}

long PicMemoireKo() {
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_maxrss;
}

// What the directory holds: nothing may be left beside the file, such as a temporary file.
QStringList Entrees(const QString& dossier) {
    return QDir(dossier).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
}

// The real file, which can be made to fail like a full disk from one moment on.
class FichierTeste : public FichierScores {
  public:
    using FichierScores::FichierScores;
    bool disquePlein = false;

  protected:
    bool EcrireContenu(QIODevice& fichier, const QByteArray& contenu) override {
        if (!disquePlein)
            return FichierScores::EcrireContenu(fichier, contenu);
        fichier.write(contenu.left(contenu.size() / 2));
        return false;
    }
};

// A game on the real best-scores file.
struct Partie {
    explicit Partie(const QString& chemin)
        : hasard(Graine), fichier(chemin), jeu(hasard, horloge, dialogues, fichier) {
        dialogues.reponses = {"Jules"};
    }

    bool Demarrer() { return jeu.Form_Load(QFileInfo(fichier.Chemin()).absolutePath().toStdString() + "/"); }

    // Passes level 1 with the scripted player, then loses the three tries by opening the
    // valves on boards left empty. `avantLaFin` runs before the tick that ends the game, and
    // `fin` runs that tick.
    void JouerJusquAuBout(const std::function<void()>& avantLaFin = {},
                          const std::function<void(const std::function<void()>&)>& fin = {}) {
        jeu.menuJouer_Click();
        JoueurScripte(jeu).JouerNiveau();
        ASSERT_EQ(jeu.Etat().Niveau, 2) << "seed " << Graine;
        for (int essai = 0; essai < 3; ++essai) {
            const auto perdre = [this] {
                jeu.Maxi_Click();
                jeu.Timer1_Timer();
            };
            if (essai < 2) {
                perdre();
                continue;
            }
            if (avantLaFin)
                avantLaFin();
            if (fin)
                fin(perdre);
            else
                perdre();
        }
        ASSERT_EQ(jeu.Etat().Essais, -1);
        ASSERT_GT(jeu.Etat().Score, 5);
        ASSERT_LT(jeu.Etat().Score, 7000);
    }

    // The boxes after those of the game itself (one level passed, three tries lost).
    std::vector<std::string> MessagesDeFin() const {
        std::vector<std::string> textes;
        for (std::size_t k = 4; k < dialogues.messages.size(); ++k) {
            EXPECT_EQ(dialogues.messages[k].icone, Icone::Critique);
            textes.push_back(dialogues.messages[k].texte);
        }
        return textes;
    }

    std::string AvecScore(std::string texte) const {
        const auto s = texte.find("{S}");
        return s == std::string::npos ? texte : texte.replace(s, 3, std::to_string(jeu.Etat().Score));
    }

    HasardScripte hasard;
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    FichierTeste fichier;
    Jeu jeu;
};

class FichiersHostiles : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dossier.isValid());
        chemin = dossier.filePath("canalisor.txt");
    }
    QTemporaryDir dossier;
    QString chemin;
};

struct Forme {
    const char* nom;
    std::function<void(const QString&)> poser;
    std::string record;    // what the main window shows after start-up
    std::string nomRecord; // its tooltip
    std::string apres;     // the file after a game that enters Jules with S points
};

std::function<void(const QString&)> Texte(std::string octets) {
    return [octets](const QString& chemin) { Ecrire(chemin, octets); };
}

const std::vector<Forme> Formes = {
    {"fichier vide", Texte(""), "0", "", "Jules\r\n{S}\r\n" + QuatreAbsentes},
    {"cinq lignes", Texte("Marie\r\n9000\r\nPaul\r\n8000\r\nHugo\r\n"), "9000", "Marie",
     "Marie\r\n9000\r\nPaul\r\n8000\r\nJules\r\n{S}\r\n\r\n0\r\n\r\n0\r\n"},
    {"neuf lignes", Texte(Origine.substr(0, Origine.size() - 3)), "9000", "Marie", OrigineAvecJules},
    {"onze lignes",
     Texte("Marie\r\n9000\r\nPaul\r\n8000\r\nL\xe9"
           "a\r\n7000\r\nHugo\r\n6000\r\nAnne\r\n5\r\nZo\xe9\r\n"),
     "9000", "Marie",
     "Marie\r\n9000\r\nPaul\r\n8000\r\nL\xe9"
     "a\r\n7000\r\nHugo\r\n6000\r\nJules\r\n{S}\r\n"},
    // Without a single CR, the file was written with LF line ends: read so, nothing is lost.
    {"LF seulement",
     Texte("Marie\n9000\nPaul\n8000\nL\xe9"
           "a\n7000\nHugo\n5\nAnne\n0\n"),
     "9000", "Marie", OrigineAvecJules},
    {"CR seulement",
     Texte("Marie\r9000\rPaul\r8000\rL\xe9"
           "a\r7000\rHugo\r5\rAnne\r0\r"),
     "9000", "Marie", OrigineAvecJules},
    // Texts stay as read, except Paul's: displaced by Marie while ranking, it is rewritten.
    // Hugo's line is no number, so his entry is dropped.
    {"scores en texte libre",
     Texte("Paul\r\n08000\r\nMarie\r\n 9000 \r\nL\xe9"
           "a\r\n+07000\r\nHugo\r\n9 000\r\nAnne\r\n5\r\n"),
     " 9000 ", "Marie",
     "Marie\r\n 9000 \r\nPaul\r\n8000\r\nL\xe9"
     "a\r\n+07000\r\nJules\r\n{S}\r\nAnne\r\n5\r\n"},
    // Beyond 32 bits or not a number: dropped. Beyond 16 bits but within 32: kept, as the
    // game's own score can go there too.
    {"scores hors bornes",
     Texte("Marie\r\n2147483648\r\nPaul\r\n99999999999\r\nL\xe9"
           "a\r\n40000\r\nHugo\r\n-40000\r\nAnne\r\n15OO\r\n"),
     "40000",
     "L\xe9"
     "a",
     "L\xe9"
     "a\r\n40000\r\nJules\r\n{S}\r\n\r\n0\r\n\r\n0\r\n\r\n0\r\n"},
    {"noms en UTF-8",
     Texte(
         "\xef\xbb\xbfL\xc3\xa9"
         "a\r\n9000\r\n\xf0\x9f\x98\x80\r\n8000\r\nZo\xc3\xab\r\n7000\r\n\xe2\x82\xac\r\n5\r\nAnne\r\n0\r\n"),
     "9000",
     "\xef\xbb\xbfL\xc3\xa9"
     "a",
     "\xef\xbb\xbfL\xc3\xa9"
     "a\r\n9000\r\n\xf0\x9f\x98\x80\r\n8000\r\nZo\xc3\xab\r\n7000\r\nJules\r\n{S}\r\n\xe2\x82\xac\r\n5\r\n"},
    {"octets binaires",
     Texte("Ma\0rie\r\n9000\r\n\x01\x7f\xff\r\n8000\r\n\tHugo\t\r\n7000\r\nNul\r\n12\0"
           "34\r\n\x1a\r\n5\r\n"s),
     "9000", "Ma\0rie"s,
     "Ma\0rie\r\n9000\r\n\x01\x7f\xff\r\n8000\r\n\tHugo\t\r\n7000\r\nJules\r\n{S}\r\n\x1a\r\n5\r\n"s},
    // Read whole, the long line would be cut to a name and the 6 after it would be a score.
    {"ligne de 100 Mo",
     [](const QString& c) {
         EcrireLongueLigne(c, Origine.substr(0, Origine.size() - 9), 100 * Mo, "\r\n6\r\n");
     },
     "9000", "Marie", OrigineAvecJules},
    {"un Go de zeros apres la dixieme ligne",
     [](const QString& c) { EcrireCreux(c, Origine, 1024 * Mo, ""); }, "9000", "Marie", OrigineAvecJules},
};

TEST_F(FichiersHostiles, UnePartieSurChaqueForme) {
    for (const Forme& forme : Formes) {
        SCOPED_TRACE(forme.nom);
        forme.poser(chemin);
        Partie p(chemin);
        ASSERT_TRUE(p.Demarrer());
        EXPECT_EQ(p.jeu.Affichage().LabelRecord, forme.record);
        EXPECT_EQ(p.jeu.Affichage().InfoBulleRecord, forme.nomRecord);
        p.JouerJusquAuBout();
        EXPECT_EQ(p.MessagesDeFin(), std::vector<std::string>{});
        EXPECT_EQ(p.dialogues.invites.size(), 1u);
        EXPECT_EQ(Lire(chemin), Octets(p.AvecScore(forme.apres)));
        EXPECT_EQ(Entrees(dossier.path()), QStringList{"canalisor.txt"});
    }
}

// Reading stops at OctetsLusMax or at the tenth line, whatever the file's size; a reader
// that took the whole file would both see other entries and hold it in memory.
TEST_F(FichiersHostiles, GrosFichiersLusEnPartie) {
    const TableScores origine = LireScores(Origine);
    const TableScores absentes = LireScores("");
    struct Cas {
        const char* nom;
        std::function<void()> poser;
        TableScores attendu;
    };
    const std::vector<Cas> cas = {
        {"dernier nom de 100 Mo",
         [&] { EcrireLongueLigne(chemin, Origine.substr(0, Origine.size() - 9), 100 * Mo, "\r\n6\r\n"); },
         {{origine[0], origine[1], origine[2], origine[3], {"", "0"}}}},
        {"un Go de zeros puis des entrees",
         [&] { EcrireCreux(chemin, "", 1024 * Mo, "\r\n9000\r\n" + Origine); }, absentes},
        {"dix lignes puis un Go de zeros", [&] { EcrireCreux(chemin, Origine, 1024 * Mo, "\r\n"); }, origine},
    };
    const long avant = PicMemoireKo();
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        c.poser();
        EXPECT_EQ(FichierScores(chemin).Lire(), c.attendu);
    }
    EXPECT_LT(PicMemoireKo() - avant, 64 * 1024) << "kB of peak memory taken by reading";
}

// Not an ordinary file: start-up must say the file is missing and end, never block on it,
// and writing must not make a file appear where a link points.
TEST_F(FichiersHostiles, PasUnFichierOrdinaire) {
    struct Cas {
        const char* nom;
        std::function<void()> poser;
    };
    const QString cible = dossier.filePath("ailleurs.txt");
    const std::vector<Cas> cas = {
        {"lien vers rien", [&] { ASSERT_TRUE(QFile::link(cible, chemin)); }},
        {"boucle de liens",
         [&] {
             ASSERT_TRUE(QFile::link(chemin, cible));
             ASSERT_TRUE(QFile::link(cible, chemin));
         }},
        // Opening a named pipe for reading would wait for a writer forever.
        {"tube nomme", [&] { ASSERT_EQ(mkfifo(QFile::encodeName(chemin).constData(), 0644), 0); }},
    };
    for (const Cas& c : cas) {
        SCOPED_TRACE(c.nom);
        c.poser();
        const QStringList avant = Entrees(dossier.path());
        FichierScores fichier(chemin);
        EXPECT_FALSE(fichier.Existe());
        EXPECT_EQ(fichier.Lire(), std::nullopt);
        EXPECT_FALSE(fichier.Ecrire(LireScores(Origine)));
        EXPECT_EQ(Entrees(dossier.path()), avant);

        Partie p(chemin);
        EXPECT_FALSE(p.Demarrer());
        ASSERT_EQ(p.dialogues.messages.size(), 1u);
        EXPECT_EQ(p.dialogues.messages[0].texte, textes::FichierAbsent);
        EXPECT_EQ(p.dialogues.messages[0].icone, Icone::Critique);

        QFile::remove(chemin);
        QFile::remove(cible);
    }
}

TEST_F(FichiersHostiles, LienVersLeFichierGardeLeLien) {
    const QString cible = dossier.filePath("scores-reels.txt");
    Ecrire(cible, Origine);
    ASSERT_TRUE(QFile::link(cible, chemin));
    Partie p(chemin);
    ASSERT_TRUE(p.Demarrer());
    EXPECT_EQ(p.jeu.Affichage().LabelRecord, "9000");
    p.JouerJusquAuBout();
    EXPECT_EQ(p.MessagesDeFin(), std::vector<std::string>{});
    EXPECT_TRUE(QFileInfo(chemin).isSymLink());
    EXPECT_EQ(Lire(cible), Octets(p.AvecScore(OrigineAvecJules)));
}

// Root reads and writes whatever the permission bits say, so when the tests run as root the
// game's file accesses are made as an ordinary user. Real and effective ids both change (Qt
// asks access(2), which looks at the real ones); the saved ids stay root's, to come back.
class SansRoot {
  public:
    static constexpr uid_t Personne = 65534;
    SansRoot() {
        if (geteuid() != 0)
            return;
        groupe = setresgid(Personne, Personne, 0) == 0;
        utilisateur = groupe && setresuid(Personne, Personne, 0) == 0;
    }
    ~SansRoot() {
        if (utilisateur) {
            EXPECT_EQ(setresuid(0, 0, 0), 0);
        }
        if (groupe) {
            EXPECT_EQ(setresgid(0, 0, 0), 0);
        }
    }
    SansRoot(const SansRoot&) = delete;
    SansRoot& operator=(const SansRoot&) = delete;

  private:
    bool groupe = false;
    bool utilisateur = false;
};

void Modes(const QString& chemin, mode_t mode) {
    ASSERT_EQ(chmod(QFile::encodeName(chemin).constData(), mode), 0) << chemin.toStdString();
}

// Whether the permission bits bind the game's file accesses (not so for root when the
// effective user cannot be changed).
bool DroitsAppliques(const QString& dossier) {
    const QString ferme = dossier + "/ferme";
    QDir().mkdir(ferme);
    Modes(ferme, 0555);
    bool refuse = false;
    {
        SansRoot s;
        refuse = !QFile(ferme + "/essai").open(QIODevice::WriteOnly);
    }
    Modes(ferme, 0755);
    QDir(ferme).removeRecursively();
    return refuse;
}

// Something happens to the file between start-up and the end of a game that enters the five.
struct Incident {
    const char* nom;
    std::function<void(const QString& chemin, const QString& dossier, FichierTeste&)> provoquer;
    const char* message; // the box after the game's own, nullptr for none
    bool nomDemande;
    enum { Reecrit, Intact, Parti } fichier;
};

class IncidentsAvantLaFin : public FichiersHostiles {
  protected:
    // `autourDeLaFin` wraps the tick that ends the game (and writes the file).
    void Jouer(const Incident& incident,
               const std::function<void(const std::function<void()>&)>& autourDeLaFin = {}) {
        SCOPED_TRACE(incident.nom);
        // Open to the ordinary user, as a player's own files are.
        Modes(dossier.path(), 0777);
        Ecrire(chemin, Origine);
        Modes(chemin, 0666);
        Partie p(chemin);
        {
            SansRoot s;
            ASSERT_TRUE(p.Demarrer());
        }
        EXPECT_EQ(p.jeu.Affichage().LabelRecord, "9000");
        QStringList apresIncident;
        p.JouerJusquAuBout(
            [&] {
                incident.provoquer(chemin, dossier.path(), p.fichier);
                apresIncident = Entrees(dossier.path());
            },
            [&](const std::function<void()>& perdre) {
                SansRoot s;
                if (autourDeLaFin)
                    autourDeLaFin(perdre);
                else
                    perdre();
            });
        Modes(dossier.path(), 0777);

        EXPECT_EQ(p.MessagesDeFin(),
                  incident.message ? std::vector<std::string>{incident.message} : std::vector<std::string>{});
        EXPECT_EQ(p.dialogues.invites.size(), incident.nomDemande ? 1u : 0u);
        // Nothing made, nothing left behind: no new file, no temporary file.
        EXPECT_EQ(Entrees(dossier.path()), apresIncident);
        switch (incident.fichier) {
        case Incident::Reecrit:
            EXPECT_EQ(Lire(chemin), Octets(p.AvecScore(OrigineAvecJules)));
            break;
        case Incident::Intact:
            EXPECT_EQ(Lire(chemin), Octets(Origine));
            break;
        case Incident::Parti:
            EXPECT_FALSE(QFileInfo(chemin).isFile());
            break;
        }
        QDir(dossier.path()).removeRecursively();
        QDir().mkpath(dossier.path());
    }
};

TEST_F(IncidentsAvantLaFin, LeFichierChange) {
    const std::vector<Incident> incidents = {
        {"rien", [](auto&, auto&, auto&) {}, nullptr, true, Incident::Reecrit},
        {"fichier supprime", [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c)); },
         textes::ScoresIllisibles, false, Incident::Parti},
        {"remplace par un dossier",
         [](const QString& c, auto&, auto&) { ASSERT_TRUE(QFile::remove(c) && QDir().mkdir(c)); },
         textes::ScoresIllisibles, false, Incident::Parti},
        {"remplace par un lien vers rien",
         [](const QString& c, const QString& d, auto&) {
             ASSERT_TRUE(QFile::remove(c) && QFile::link(d + "/ailleurs.txt", c));
         },
         textes::ScoresIllisibles, false, Incident::Parti},
        {"disque plein", [](auto&, auto&, FichierTeste& f) { f.disquePlein = true; }, textes::ScoresNonEcrits,
         true, Incident::Intact},
    };
    for (const Incident& incident : incidents)
        Jouer(incident);
}

// No byte may go into any file while it lives: writes fail the way they do on a full disk.
class SansPlaceSurLeDisque {
  public:
    SansPlaceSurLeDisque() : signalAvant(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &avant);
        rlimit zero = avant;
        zero.rlim_cur = 0;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &zero), 0);
    }
    ~SansPlaceSurLeDisque() {
        setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signalAvant);
    }
    SansPlaceSurLeDisque(const SansPlaceSurLeDisque&) = delete;
    SansPlaceSurLeDisque& operator=(const SansPlaceSurLeDisque&) = delete;

  private:
    rlimit avant{};
    void (*signalAvant)(int);
};

// The system refuses the bytes for real, unlike the seam of the full-disk case above, so the
// failure shows where the file code must notice it on its own.
TEST_F(IncidentsAvantLaFin, EcritureRefuseeParLeSysteme) {
    Jouer(
        {"aucun octet accepte", [](auto&, auto&, auto&) {}, textes::ScoresNonEcrits, true, Incident::Intact},
        [](const std::function<void()>& perdre) {
            SansPlaceSurLeDisque plein;
            perdre();
        });
}

TEST_F(IncidentsAvantLaFin, DroitsRetires) {
    if (!DroitsAppliques(dossier.path()))
        GTEST_SKIP() << "root, and the effective user cannot be changed: permission bits do not bind";
    const std::vector<Incident> incidents = {
        {"fichier en lecture seule", [](const QString& c, auto&, auto&) { Modes(c, 0444); },
         textes::ScoresNonEcrits, true, Incident::Intact},
        {"fichier illisible", [](const QString& c, auto&, auto&) { Modes(c, 0000); },
         textes::ScoresIllisibles, false, Incident::Intact},
        {"dossier qui refuse le fichier temporaire", [](auto&, const QString& d, auto&) { Modes(d, 0555); },
         textes::ScoresNonEcrits, true, Incident::Intact},
    };
    for (const Incident& incident : incidents)
        Jouer(incident);
}

// An unreadable file is there, so the game starts, with no record to show.
TEST_F(FichiersHostiles, IllisibleDesLeDemarrage) {
    if (!DroitsAppliques(dossier.path()))
        GTEST_SKIP() << "root, and the effective user cannot be changed: permission bits do not bind";
    Modes(dossier.path(), 0777);
    Ecrire(chemin, Origine);
    Modes(chemin, 0000);
    Partie p(chemin);
    {
        SansRoot s;
        ASSERT_TRUE(p.Demarrer());
    }
    EXPECT_EQ(p.jeu.Affichage().LabelRecord, "0");  // as for an empty file
    EXPECT_TRUE(p.dialogues.messages.empty());
    p.JouerJusquAuBout({}, [](const std::function<void()>& perdre) {
        SansRoot s;
        perdre();
    });
    EXPECT_EQ(p.MessagesDeFin(), std::vector<std::string>{textes::ScoresIllisibles});
    EXPECT_EQ(Lire(chemin), Octets(Origine));
}

} // namespace
