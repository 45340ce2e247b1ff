#include "FichierScores.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
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

// A link is followed, from the bytes of its path: the new file goes beside the file it names,
// where every copy of the game meets whatever path led it there, and the link stays a link.
// Any other path is kept as given (the program's own folder is "./"). Never decoded: a decoded
// path would lose a folder's name that is not valid UTF-8, and with it the file.
QByteArray Cible(const QString& chemin) {
    const QByteArray octets = QFile::encodeName(chemin);
    struct stat st {};
    if (octets.isEmpty() || ::lstat(octets.constData(), &st) != 0)
        return {};
    if (!S_ISLNK(st.st_mode))
        return octets;
    const std::unique_ptr<char, decltype(&std::free)> vrai(::realpath(octets.constData(), nullptr), &std::free);
    return vrai ? QByteArray(vrai.get()) : QByteArray();
}

// The lock that every copy's update holds: flock() on the file itself. The system releases it
// when its holder ends, however it ends, so that no lock outlives a killed game, and it needs
// no other file beside this one (none that another player could leave behind, none that could
// be a folder or a link). A copy that waited while the holder renamed a new file over the old
// one holds the old file's lock: it takes the new file's.
class Verrou {
  public:
    Verrou(const QByteArray& cible, std::chrono::milliseconds attente) {
        const QDeadlineTimer fin(attente);
        for (;;) {
            // O_NONBLOCK: something other than a file put there since is never waited on.
            fd_ = ::open(cible.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
            struct stat ouvert {}, present {};
            if (fd_ < 0 || ::fstat(fd_, &ouvert) != 0 || !S_ISREG(ouvert.st_mode))
                break;
            const int pris = ::flock(fd_, LOCK_EX | LOCK_NB);
            // A file system that keeps no locks cannot order the copies: the update goes on.
            if (pris != 0 && errno != EWOULDBLOCK && errno != EINTR)
                return;
            if (pris == 0) {
                if (::stat(cible.constData(), &present) != 0)
                    break;
                if (present.st_dev == ouvert.st_dev && present.st_ino == ouvert.st_ino)
                    return;
            } else if (fin.hasExpired()) {
                break;
            } else {
                // Another copy holds it for a few milliseconds.
                QThread::msleep(5);
            }
            ::close(std::exchange(fd_, -1));
        }
        if (fd_ >= 0)
            ::close(std::exchange(fd_, -1));
    }
    Verrou(const Verrou&) = delete;
    Verrou& operator=(const Verrou&) = delete;
    ~Verrou() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    bool Tenu() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// A new file beside `cible` that takes its place once complete. It is made unnamed where the
// file system allows it, so that a crash while it is written leaves nothing behind; otherwise
// under a fresh name. It never takes a name that exists (a file, a folder or a link there is
// passed over), and it removes no name but the one it made.
class Temporaire {
  public:
    explicit Temporaire(const QByteArray& cible) : cible_(cible) {
        const qsizetype barre = cible.lastIndexOf('/');
        const QByteArray dossier = barre < 0 ? QByteArray(".") : barre == 0 ? QByteArray("/") : cible.first(barre);
        fd_ = ::open(dossier.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        for (int essai = 0; fd_ < 0 && essai < 100; ++essai) {
            nom_ = NomNeuf();
            fd_ = ::open(nom_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd_ < 0)
                nom_.clear();
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
    }
    Temporaire(const Temporaire&) = delete;
    Temporaire& operator=(const Temporaire&) = delete;
    ~Temporaire() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!nom_.isEmpty())
            ::unlink(nom_.constData());
    }

    int Fd() const { return fd_; }

    // Puts the complete file in the place of `cible`, in one step that no reader sees half done.
    bool Renommer() {
        // rename() needs a name: an unnamed file gets one of its own first.
        for (int essai = 0; nom_.isEmpty() && essai < 100; ++essai) {
            nom_ = NomNeuf();
            if (::linkat(AT_FDCWD, Lui().constData(), AT_FDCWD, nom_.constData(), AT_SYMLINK_FOLLOW) == 0)
                break;
            nom_.clear();
            if (errno != EEXIST)
                break;
        }
        if (::close(std::exchange(fd_, -1)) != 0 || nom_.isEmpty() ||
            ::rename(nom_.constData(), cible_.constData()) != 0)
            return false;
        nom_.clear();
        return true;
    }

    // Gives the complete file the name `cible` only where nothing has that name yet, not even a
    // link that leads nowhere; false with errno set otherwise.
    bool Nommer() const {
        return nom_.isEmpty()
                   ? ::linkat(AT_FDCWD, Lui().constData(), AT_FDCWD, cible_.constData(), AT_SYMLINK_FOLLOW) == 0
                   : ::link(nom_.constData(), cible_.constData()) == 0;
    }

  private:
    // The open file, for linkat() to give a name to an unnamed one.
    QByteArray Lui() const { return "/proc/self/fd/" + QByteArray::number(fd_); }

    QByteArray NomNeuf() const {
        static constexpr char lettres[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        std::random_device hasard;
        QByteArray nom = cible_ + ".ecriture-";
        for (int i = 0; i < 6; ++i)
            nom += lettres[hasard() % (sizeof lettres - 1)];
        return nom;
    }

    QByteArray cible_;
    QByteArray nom_; // the name this made, until the file takes the place of cible_
    int fd_ = -1;
};

// Up to `plafond` bytes from the start of the open file `fd`; nothing, with errno set, when the
// system refuses.
std::optional<QByteArray> LireDebut(int fd, qsizetype plafond) {
    QByteArray octets(plafond, Qt::Uninitialized);
    qsizetype lus = 0;
    for (ssize_t n = 1; n > 0 && lus < plafond; lus += std::max<ssize_t>(n, 0)) {
        n = ::pread(fd, octets.data() + lus, static_cast<std::size_t>(plafond - lus), lus);
        if (n < 0 && errno != EINTR)
            return std::nullopt;
    }
    octets.truncate(lus);
    return octets;
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

FichierScores::FichierScores(QString chemin, bool ecriture)
    : cheminFichier(std::move(chemin)), ecritureAutorisee(ecriture) {}

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
    const QByteArray cible = Cible(cheminFichier);
    if (cible.isEmpty())
        return false;
    const Verrou verrou(cible, attenteVerrou);
    if (!verrou.Tenu())
        return false;
    const std::optional<TableScores> lu = Lire();
    if (!lu)
        return false;
    const std::optional<TableScores> nouvelle = changer(*lu);
    return !nouvelle || (ecritureAutorisee && Remplacer(EcrireScores(*nouvelle)));
}

bool FichierScores::Ecrire(const TableScores& table) {
    return MettreAJour([&table](const TableScores&) { return table; });
}

// The new contents go to a temporary file beside the old one, renamed over it only once
// complete: a crash or a full disk leaves the old file as it was. The new file takes the old
// one's mode, owner and group.
bool FichierScores::Remplacer(const QByteArray& contenu) {
    const QByteArray cible = Cible(cheminFichier);
    struct stat ancien {};
    if (cible.isEmpty() || ::stat(cible.constData(), &ancien) != 0 || !S_ISREG(ancien.st_mode))
        return false;
    // A renamed file would not be writable by this process: the player made it read-only.
    if (::access(cible.constData(), W_OK) != 0)
        return false;
    // Renaming over a file with other names would leave them on the old table.
    if (ancien.st_nlink > 1)
        return RemplacerSurPlace(cible, contenu);

    Temporaire temporaire(cible);
    const int fd = temporaire.Fd();
    if (fd < 0)
        return false;
    // A file shared with other players (another owner, a common group) that this player may
    // write but not give away is written in place, or it would become this player's alone.
    // Owner first: a change of owner clears the set-id bits that the mode then puts back.
    if (::fchown(fd, ancien.st_uid, ancien.st_gid) != 0)
        return RemplacerSurPlace(cible, contenu);
    return ::fchmod(fd, ancien.st_mode & 07777) == 0 && EcrireContenu(fd, contenu) && ::fsync(fd) == 0 &&
           temporaire.Renommer();
}

// Over the old bytes, keeping every name of the file. Room for the new bytes is reserved first
// without changing the file's size, so a full disk refuses before any old byte is touched and a
// crash at any moment leaves the old bytes or the new ones, never a file grown with zeros that
// would spoil a last line written without its line end. Where the file system cannot reserve
// room, the write goes on without. A write refused after all puts the old bytes back.
bool FichierScores::RemplacerSurPlace(const QByteArray& cible, const QByteArray& contenu) {
    const int fd = ::open(cible.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const std::optional<QByteArray> ancien = LireDebut(fd, OctetsLusMax + 1);
    const int reserve = ancien ? ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(contenu.size())) : -1;
    bool ecrit = ancien && ancien->size() <= OctetsLusMax && (reserve == 0 || errno == EOPNOTSUPP || errno == ENOSYS);
    if (ecrit) {
        ecrit = EcrireContenu(fd, contenu) && ::ftruncate(fd, static_cast<off_t>(contenu.size())) == 0 &&
                ::fsync(fd) == 0;
        [[maybe_unused]] const bool remis =
            !ecrit && EcrireTout(fd, *ancien) && ::ftruncate(fd, static_cast<off_t>(ancien->size())) == 0;
    }
    ::close(fd);
    return ecrit;
}

bool FichierScores::EcrireContenu(int fd, const QByteArray& contenu) {
    return EcrireTout(fd, contenu);
}

int CopierVersNouveauFichier(const QByteArray& source, const QByteArray& destination) {
    const int fd = ::open(source.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int erreur = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(fd);
        return erreur;
    }
    const std::optional<QByteArray> octets = LireDebut(fd, OctetsLusMax);
    const int erreur = errno;
    ::close(fd);
    if (!octets)
        return erreur;
    Temporaire copie(destination);
    // The player must be able to rewrite the copy, whatever the mode of the file it comes from.
    if (copie.Fd() < 0 || ::fchmod(copie.Fd(), (st.st_mode & 0666) | 0600) != 0 || !EcrireTout(copie.Fd(), *octets) ||
        ::fsync(copie.Fd()) != 0 || !copie.Nommer())
        return errno;
    return 0;
}

bool EcrireTout(int fd, const QByteArray& contenu) {
    for (qsizetype fait = 0; fait < contenu.size();) {
        const ssize_t n = ::pwrite(fd, contenu.constData() + fait, static_cast<std::size_t>(contenu.size() - fait),
                                   static_cast<off_t>(fait));
        if (n < 0 && errno != EINTR)
            return false;
        fait += std::max<ssize_t>(n, 0);
    }
    return true;
}

} // namespace canalisor
