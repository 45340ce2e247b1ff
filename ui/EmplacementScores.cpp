#include "EmplacementScores.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace canalisor::ui {

namespace {

const QString NomFichier = QStringLiteral("canalisor.txt");

QString Natif(const QString& chemin) {
    return QDir::toNativeSeparators(chemin);
}

} // namespace

bool DossierInscriptible(const QString& dossier) {
    // access() rather than the permission bits: it knows about the user's groups, read-only
    // mounts and root.
    return ::access(QFile::encodeName(dossier).constData(), W_OK | X_OK) == 0;
}

bool ProgrammeInstalle(const QString& dossier) {
    QFile marque(dossier + QLatin1String(MarqueInstallation));
    if (!marque.open(QIODevice::ReadOnly))
        return false;
    const QByteArray nomme = marque.read(4096).trimmed();
    struct stat ici {}, la {};
    return !nomme.isEmpty() && ::stat(QFile::encodeName(dossier).constData(), &ici) == 0 &&
           ::stat(nomme.constData(), &la) == 0 && ici.st_dev == la.st_dev && ici.st_ino == la.st_ino;
}

Emplacement EmplacementScores(const QString& chemin, Dialogues& dialogues, bool installe,
                              QString dossierJoueur, const std::function<bool(const QString&)>& inscriptible) {
    const QString programme = chemin + NomFichier;
    // An installed file is the package's: a game end that rewrote it (as root may) would hand
    // one player's scores to every new player and lose them at the next upgrade.
    if (!QFileInfo(programme).isFile() || (!installe && inscriptible(chemin)))
        return {programme};

    if (dossierJoueur.isEmpty())
        dossierJoueur = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dossierJoueur.isEmpty()) {
        dialogues.Message(
            QStringLiteral("Aucun dossier personnel où garder vos meilleurs scores : ils seront lus "
                           "dans %1, que vous ne pouvez pas modifier.")
                .arg(Natif(programme))
                .toStdString(),
            Icone::Critique);
        return {programme, false};
    }

    const QString personnel = QDir(dossierJoueur).filePath(NomFichier);
    if (QFileInfo(personnel).isFile())
        return {personnel};

    // QFile::copy writes a temporary file and renames it: a copy cut short leaves nothing that
    // a later start would take for the player's scores.
    QFile source(programme);
    QString raison = QStringLiteral("dossier impossible à créer");
    if (QDir().mkpath(dossierJoueur)) {
        if (source.copy(personnel)) {
            // The copy keeps the installed file's mode; the player must be able to rewrite it.
            QFile::setPermissions(personnel,
                                  QFile::permissions(personnel) | QFile::ReadOwner | QFile::WriteOwner);
            return {personnel};
        }
        raison = source.errorString();
    }
    dialogues.Message(
        QStringLiteral("Impossible de créer votre fichier des meilleurs scores %1 (%2). Ils seront "
                       "lus dans %3, que vous ne pouvez pas modifier.")
            .arg(Natif(personnel), raison, Natif(programme))
            .toStdString(),
        Icone::Critique);
    return {programme, false};
}

} // namespace canalisor::ui
