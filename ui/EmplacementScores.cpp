#include "EmplacementScores.h"

#include <cerrno>
#include <cstdlib>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "FichierScores.h"

namespace canalisor::ui {

namespace {

const QString NomFichier = QStringLiteral("canalisor.txt");

QString Texte(const char* source) {
    return QCoreApplication::translate("EmplacementScores", source);
}

// A path as the boxes show it: whole, from the root, whatever the program calls it.
QString Complet(const QString& chemin) {
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(chemin).absoluteFilePath()));
}

// Why a file or a folder could not be made, in the game's language: Qt's own texts and strerror()
// speak the system's, which need not be the game's.
QString Raison(int erreur) {
    switch (erreur) {
    case EACCES:
    case EPERM:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "accès refusé"));
    case ENOSPC:
    case EDQUOT:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "plus de place sur le disque"));
    case EROFS:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "disque en lecture seule"));
    case ENOTDIR:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "un fichier occupe la place d'un dossier"));
    case EEXIST:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "un autre élément porte déjà ce nom"));
    case ELOOP:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "trop de liens symboliques"));
    case ENAMETOOLONG:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "chemin trop long"));
    case ENOENT:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "dossier introuvable"));
    default:
        return Texte(QT_TRANSLATE_NOOP("EmplacementScores", "erreur du système n° %1")).arg(erreur);
    }
}

// Makes `dossier` and each missing folder above it, readable by the player alone as the XDG
// rules ask. 0, or the errno that stopped it.
int CreerDossiers(const QByteArray& dossier) {
    for (qsizetype fin = 1; fin < dossier.size(); ++fin)
        if (dossier[fin] == '/' && ::mkdir(dossier.first(fin).constData(), 0700) != 0 && errno != EEXIST)
            return errno;
    if (::mkdir(dossier.constData(), 0700) != 0 && errno != EEXIST)
        return errno;
    struct stat st {};
    if (::stat(dossier.constData(), &st) != 0)
        return errno;
    return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
}

} // namespace

bool DossierInscriptible(const QString& dossier) {
    // access() rather than the permission bits: it knows about the user's groups, read-only
    // mounts and root.
    return ::access(QFile::encodeName(dossier).constData(), W_OK | X_OK) == 0;
}

QString DossierDonneesJoueur(const char* xdgDataHome, const char* home, const char* maisonDuCompte) {
    const auto absolu = [](const char* chemin) { return chemin && chemin[0] == '/'; };
    QString base;
    if (absolu(xdgDataHome))
        base = QFile::decodeName(xdgDataHome);
    else if (absolu(home))
        base = QFile::decodeName(home) + QStringLiteral("/.local/share");
    else if (absolu(maisonDuCompte))
        base = QFile::decodeName(maisonDuCompte) + QStringLiteral("/.local/share");
    else
        return {};
    return QDir::cleanPath(base + QStringLiteral("/canalisor"));
}

QString DossierDonneesJoueur() {
    const passwd* compte = ::getpwuid(::getuid());
    return DossierDonneesJoueur(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"),
                                compte ? compte->pw_dir : nullptr);
}

bool ProgrammeInstalle(const QString& dossier) {
    QFile marque(dossier + QLatin1String(MarqueInstallation));
    if (!marque.open(QIODevice::ReadOnly))
        return false;
    const QByteArray nomme = marque.read(4096).trimmed();
    struct stat ici {
    }, la{};
    return !nomme.isEmpty() && ::stat(QFile::encodeName(dossier).constData(), &ici) == 0 &&
           ::stat(nomme.constData(), &la) == 0 && ici.st_dev == la.st_dev && ici.st_ino == la.st_ino;
}

Emplacement EmplacementScores(const QString& chemin, Dialogues& dialogues, bool installe,
                              const QString& dossierJoueur,
                              const std::function<bool(const QString&)>& inscriptible) {
    const QString programme = chemin + NomFichier;
    // An installed file is the package's: a game end that rewrote it (as root may) would hand
    // one player's scores to every new player and lose them at the next upgrade.
    if (!QFileInfo(programme).isFile() || (!installe && inscriptible(chemin)))
        return {programme};
    const auto lireSeulement = [&](const QString& texte) {
        dialogues.Message(texte.toStdString(), Icone::Critique);
        return Emplacement{programme, false};
    };
    if (dossierJoueur.isEmpty())
        return lireSeulement(
            Texte(QT_TRANSLATE_NOOP("EmplacementScores",
                                    "Aucun dossier personnel où garder vos meilleurs scores : ils "
                                    "seront lus dans %1, où aucun score ne sera enregistré."))
                .arg(Complet(programme)));

    const QString personnel = QDir(dossierJoueur).filePath(NomFichier);
    if (QFileInfo(personnel).isFile())
        return {personnel};
    // Made whole or not at all: a copy cut short would be taken for the player's scores.
    int erreur = CreerDossiers(QFile::encodeName(dossierJoueur));
    if (erreur == 0)
        erreur = CopierVersNouveauFichier(QFile::encodeName(programme), QFile::encodeName(personnel));
    if (erreur == 0)
        return {personnel};
    struct stat st {};
    const QString raison =
        erreur == EEXIST && ::lstat(QFile::encodeName(personnel).constData(), &st) == 0 && S_ISLNK(st.st_mode)
            ? Texte(QT_TRANSLATE_NOOP("EmplacementScores",
                                      "un lien symbolique qui ne mène à aucun fichier porte ce nom"))
            : Raison(erreur);
    return lireSeulement(
        Texte(QT_TRANSLATE_NOOP("EmplacementScores",
                                "Impossible de créer votre fichier des meilleurs scores %1 (%2). "
                                "Ils seront lus dans %3, où aucun score ne sera enregistré."))
            .arg(Complet(personnel), raison, Complet(programme)));
}

} // namespace canalisor::ui
