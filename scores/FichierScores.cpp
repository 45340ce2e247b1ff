#include "FichierScores.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include "Texte1252.h"

namespace canalisor {

namespace {

constexpr std::size_t NombreLignes = 2 * std::tuple_size_v<TableScores>;

// Whether the first ten lines all end in CR LF, as every file the game writes does. Only
// then may a lone LF be part of a name: in any other file it is a line end a person put there.
bool EcritParLeJeu(QByteArrayView octets) {
    std::size_t fins = 0;
    for (qsizetype i = 0; i < octets.size() && fins < NombreLignes; ++i) {
        if (octets[i] != '\r')
            continue;
        if (i + 1 == octets.size() || octets[i + 1] != '\n')
            return false;
        ++fins;
        ++i;
    }
    return fins == NombreLignes;
}

// Cuts bytes into the first ten lines as they come, so that a file can be read a piece at a
// time and left as soon as its tenth line has ended.
class DecoupeLignes {
  public:
    explicit DecoupeLignes(bool ecritParLeJeu) : strict(ecritParLeJeu) {}

    // True once the tenth line has ended: the rest of the file does not matter.
    bool Ajouter(QByteArrayView octets) {
        for (const char c : octets) {
            if (ligne == NombreLignes)
                break;
            if (strict) {
                if (std::exchange(apresCR, false) && c == '\n')
                    continue;
                if (c == '\r') {
                    FinirLigne();
                    apresCR = true;
                } else {
                    Garder(c);
                }
            } else if (c == '\r') {
                // Whether these CRs end one line or one each is known at the next byte.
                ++crEnAttente;
            } else if (c == '\n') {
                crEnAttente = 0;
                FinirLigne();
            } else {
                for (; crEnAttente > 0; --crEnAttente)
                    FinirLigne();
                Garder(c);
            }
        }
        return ligne == NombreLignes;
    }

    // A line the file never reached is empty, like an empty line.
    TableScores Table() const {
        TableScores table;
        for (std::size_t k = 0; k < table.size(); ++k) {
            const std::size_t nom = 2 * k;
            const std::size_t points = nom + 1;
            // A cut score line could have lost digits, so its value is unknown.
            if (!coupees[points] && LireNombre(lignes[points]))
                table[k] = {lignes[nom], lignes[points]};
            else
                table[k] = {"", "0"};
        }
        return table;
    }

  private:
    void FinirLigne() {
        if (ligne < NombreLignes)
            ++ligne;
    }
    void Garder(char c) {
        if (ligne == NombreLignes)
            return;
        if (lignes[ligne].size() < LongueurLigneMax)
            lignes[ligne].push_back(c);
        else
            coupees[ligne] = true;
    }

    std::array<std::string, NombreLignes> lignes;
    std::array<bool, NombreLignes> coupees{};
    std::size_t ligne = 0;
    std::size_t crEnAttente = 0;
    bool apresCR = false;
    const bool strict;
};

// The temporary file that becomes the new file. Its name is fixed: only the holder of the lock
// writes it, so one left by a killed process is simply replaced by the next update.
QString NomTemporaire(const QString& cible) {
    return cible + QStringLiteral(".ecriture");
}

// A complete copy that an earlier version of the game, killed between writing and renaming,
// left beside the file: its name is the file's, a dot and six random letters of both cases,
// and it holds ten lines ending in CR LF, as the game writes them. A player's own copy
// ("canalisor.txt.bak", "canalisor.txt.backup") does not fit that name and is left alone.
bool EstUnReste(const QFileInfo& info, const QString& nomFichier) {
    const QString nom = info.fileName();
    if (!info.isFile() || info.isSymLink() || nom.size() != nomFichier.size() + 7 ||
        !nom.startsWith(nomFichier + u'.'))
        return false;
    const QStringView suffixe = QStringView(nom).sliced(nomFichier.size() + 1);
    const auto lettre = [](QChar c) { return c.isLetter() && c.unicode() < 128; };
    if (!std::all_of(suffixe.begin(), suffixe.end(), lettre) ||
        std::all_of(suffixe.begin(), suffixe.end(), [](QChar c) { return c.isLower(); }) ||
        std::all_of(suffixe.begin(), suffixe.end(), [](QChar c) { return c.isUpper(); }))
        return false;
    if (info.size() > static_cast<qint64>(NombreLignes * (LongueurLigneMax + 2)))
        return false;
    QFile f(info.filePath());
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray octets = f.readAll();
    return octets.count('\r') == static_cast<qsizetype>(NombreLignes) &&
           octets.count("\r\n") == static_cast<qsizetype>(NombreLignes) && octets.endsWith("\r\n");
}

// A link is followed: the lock and the temporary file go beside the file it names, where every
// copy of the game meets whatever path led it there. Any other path is kept as given (the
// program's own folder is "./"): a decoded absolute path would lose a folder's name that is
// not valid UTF-8, and with it the file.
QString Cible(const QString& chemin) {
    const QFileInfo info(chemin);
    return info.isSymLink() ? info.canonicalFilePath() : chemin;
}

// Called with the lock held, so no write of this game is under way.
void EffacerRestes(const QString& cible) {
    QFile::remove(NomTemporaire(cible));
    const QFileInfo info(cible);
    const QFileInfoList voisins =
        info.dir().entryInfoList({info.fileName() + QStringLiteral(".*")}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& voisin : voisins)
        if (EstUnReste(voisin, info.fileName()))
            QFile::remove(voisin.filePath());
}

} // namespace

TableScores LireScores(QByteArrayView octets) {
    DecoupeLignes decoupe(EcritParLeJeu(octets));
    decoupe.Ajouter(octets);
    TableScores table = decoupe.Table();
    for (EntreeScore& entree : table)
        entree = {De1252(entree.Nom), De1252(entree.Points)};
    return table;
}

QByteArray EcrireScores(const TableScores& texte) {
    TableScores table = texte;
    for (EntreeScore& entree : table)
        entree = {Vers1252(entree.Nom), Vers1252(entree.Points)};
    QByteArray octets;
    const auto ajouterLigne = [&octets](const std::string& ligne) {
        octets.append(ligne.data(), static_cast<qsizetype>(ligne.size()));
        octets.append("\r\n");
    };
    for (const EntreeScore& entree : table) {
        ajouterLigne(entree.Nom);
        ajouterLigne(entree.Points);
    }
    return octets;
}

FichierScores::FichierScores(QString chemin) : cheminFichier(std::move(chemin)) {}

bool FichierScores::Existe() {
    return QFileInfo(cheminFichier).isFile();
}

std::optional<TableScores> FichierScores::Lire() {
    if (!Existe())
        return std::nullopt;
    QFile fichier(cheminFichier);
    if (!fichier.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Ten lines of any sane length fit in the first OctetsLusMax bytes; a huge or endless file
    // costs no more than that.
    const QByteArray debut = fichier.read(OctetsLusMax);
    if (fichier.error() != QFileDevice::NoError)
        return std::nullopt;
    return LireScores(debut);
}

bool FichierScores::MettreAJour(const Changement& changer) {
    if (!Existe())
        return false;
    const QString cible = Cible(cheminFichier);
    if (cible.isEmpty())
        return false;
    QLockFile verrou(cible + QStringLiteral(".lock"));
    // Another copy holds the lock for a few milliseconds: ask again often rather than in
    // QLockFile's own growing steps, which would keep the player waiting up to seconds.
    const QDeadlineTimer fin(attenteVerrou);
    while (!verrou.tryLock(0)) {
        if (verrou.error() != QLockFile::LockFailedError || fin.hasExpired())
            return false;
        QThread::msleep(5);
    }
    EffacerRestes(cible);
    const std::optional<TableScores> lu = Lire();
    if (!lu)
        return false;
    const std::optional<TableScores> nouvelle = changer(*lu);
    return !nouvelle || Remplacer(EcrireScores(*nouvelle));
}

bool FichierScores::Ecrire(const TableScores& table) {
    return MettreAJour([&table](const TableScores&) { return table; });
}

// The new contents go to a temporary file beside the old one, renamed over it only once
// complete: a crash or a full disk leaves the old file as it was. The new file takes the old
// one's mode, owner and group.
bool FichierScores::Remplacer(const QByteArray& contenu) {
    const QString cible = Cible(cheminFichier);
    const QByteArray cibleLocale = QFile::encodeName(cible);
    struct stat ancien {};
    if (cible.isEmpty() || ::stat(cibleLocale.constData(), &ancien) != 0 || !S_ISREG(ancien.st_mode))
        return false;
    // A renamed file would not be writable by this process: the player made it read-only.
    if (::access(cibleLocale.constData(), W_OK) != 0)
        return false;
    // Renaming over a file with other names would leave them on the old table.
    if (ancien.st_nlink > 1)
        return RemplacerSurPlace(cible, contenu);

    const QString temporaire = NomTemporaire(cible);
    QFile::remove(temporaire);
    QFile fichier(temporaire);
    // NewOnly: never through a link someone put at that name.
    if (!fichier.open(QIODevice::WriteOnly | QIODevice::NewOnly,
                      QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    const int fd = fichier.handle();
    // A file shared with other players (another owner, a common group) that this player may
    // write but not give away is written in place, or it would become this player's alone.
    // Owner first: a change of owner clears the set-id bits that the mode then puts back.
    if (::fchown(fd, ancien.st_uid, ancien.st_gid) != 0) {
        fichier.close();
        QFile::remove(temporaire);
        return RemplacerSurPlace(cible, contenu);
    }
    const bool ecrit = ::fchmod(fd, ancien.st_mode & 07777) == 0 && EcrireContenu(fichier, contenu) &&
                       fichier.flush() && ::fsync(fd) == 0;
    fichier.close();
    if (!ecrit || fichier.error() != QFileDevice::NoError ||
        ::rename(QFile::encodeName(temporaire).constData(), cibleLocale.constData()) != 0) {
        QFile::remove(temporaire);
        return false;
    }
    return true;
}

// Over the old bytes, keeping every name of the file. The room is taken first, so a full disk
// refuses before any old byte is touched; a write refused after that puts the old bytes back.
bool FichierScores::RemplacerSurPlace(const QString& cible, const QByteArray& contenu) {
    QFile fichier(cible);
    if (!fichier.open(QIODevice::ReadWrite) || fichier.size() > OctetsLusMax)
        return false;
    const QByteArray ancien = fichier.readAll();
    if (fichier.error() != QFileDevice::NoError || !fichier.seek(0))
        return false;
    const int fd = fichier.handle();
    if (contenu.size() > ancien.size() && ::posix_fallocate(fd, 0, contenu.size()) != 0) {
        fichier.resize(ancien.size());
        return false;
    }
    if (EcrireContenu(fichier, contenu) && fichier.flush() && fichier.resize(contenu.size()) &&
        ::fsync(fd) == 0)
        return true;
    fichier.unsetError();
    if (fichier.seek(0))
        fichier.write(ancien);
    fichier.flush();
    fichier.resize(ancien.size());
    return false;
}

bool FichierScores::EcrireContenu(QIODevice& fichier, const QByteArray& contenu) {
    return fichier.write(contenu) == contenu.size();
}

} // namespace canalisor
