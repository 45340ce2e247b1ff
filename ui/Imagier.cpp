#include "Imagier.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

namespace canalisor::ui {

QString NomDouble(const QString& nom) {
    const qsizetype point = nom.lastIndexOf(QLatin1Char('.'));
    return point < 0 ? nom + QStringLiteral("@2x") : nom.left(point) + QStringLiteral("@2x") + nom.mid(point);
}

namespace {

// The warnings' texts, in the game's language.
QString Traduire(const char* texte) {
    return QCoreApplication::translate("Imagier", texte);
}

// Little-endian fields of a bitmap's headers.
quint32 Octet(const QByteArray& d, int a) {
    return static_cast<uchar>(d[a]);
}
quint32 Mot16(const QByteArray& d, int a) {
    return Octet(d, a) | Octet(d, a + 1) << 8;
}
quint32 Mot32(const QByteArray& d, int a) {
    return Mot16(d, a) | Mot16(d, a + 2) << 16;
}

// How many bytes a bitmap file must hold for its headers' promise of pixels, or -1 when the
// headers do not say. Qt's reader stops at the end of a short file without an error and fills
// the missing rows with black, so this is the only way to tell a truncated tile.
qint64 OctetsBmp(const QByteArray& entete) {
    if (entete.size() < 26 || !entete.startsWith("BM"))
        return -1;
    const qint64 debut = Mot32(entete, 10); // where the pixels start
    const quint32 taille = Mot32(entete, 14);
    qint64 largeur = 0, hauteur = 0, bits = 0, compression = 0, octetsImage = 0;
    if (taille == 12) { // the oldest header, with 16-bit sides
        largeur = Mot16(entete, 18);
        hauteur = Mot16(entete, 20);
        bits = Mot16(entete, 24);
    } else if (taille >= 40 && entete.size() >= 38) {
        largeur = static_cast<qint32>(Mot32(entete, 18));
        hauteur = std::abs(static_cast<qint64>(static_cast<qint32>(Mot32(entete, 22)))); // < 0: top row first
        bits = Mot16(entete, 28);
        compression = Mot32(entete, 30);
        octetsImage = Mot32(entete, 34);
    } else {
        return -1;
    }
    switch (compression) {
    case 0: // uncompressed, rows padded to four bytes
    case 3: // the same with bit-field masks
    case 6:
        return debut + (largeur * bits + 31) / 32 * 4 * hauteur;
    case 1: // run lengths: only the header's own count says
    case 2:
        return octetsImage > 0 ? debut + octetsImage : -1;
    default:
        return -1;
    }
}

} // namespace

void Imagier::Signaler(const QString& nom, const QString& raison) {
    if (signalees_.contains(nom))
        return;
    signalees_.insert(nom);
    // For the player, who may have put the file there.
    qWarning("%s",
             qUtf8Printable(Traduire(QT_TRANSLATE_NOOP("Imagier", "canalisor : impossible de charger "
                                                                  "l'image %1 (%2) ; ses cases montrent "
                                                                  "le code de la pièce à la place"))
                                .arg(dossier_ + nom, raison)));
}

Imagier::Lecture Imagier::Lire(const QString& nom, int densite) {
    const QByteArray chemin = QFile::encodeName(dossier_ + nom);
    const QString cle = QString::number(densite) + QLatin1Char('/') + nom;
    Lecture lecture;
    struct stat etat {};
    if (stat(chemin.constData(), &etat) != 0) {
        lecture.absente = errno == ENOENT || errno == ENOTDIR;
        lecture.refus = lecture.absente ? Traduire(QT_TRANSLATE_NOOP("Imagier", "absente"))
                                        : QString::fromLocal8Bit(std::strerror(errno));
        lues_.remove(cle);
        return lecture;
    }
    const auto empreinte = [](const struct stat& e) {
        return Empreinte{static_cast<quint64>(e.st_dev), static_cast<quint64>(e.st_ino),
                         static_cast<qint64>(e.st_size),
                         static_cast<qint64>(e.st_mtim.tv_sec) * 1000000000 + e.st_mtim.tv_nsec};
    };
    // 120 cells show "0.bmp" at every level start: one decoded copy serves them all.
    if (const auto memo = lues_.constFind(cle);
        memo != lues_.constEnd() && memo->empreinte == empreinte(etat))
        return memo->lecture;

    const auto retenir = [&](const struct stat& e) {
        lues_.insert(cle, Memorisee{empreinte(e), lecture});
        return lecture;
    };
    // A FIFO, a device or a folder is never opened; opening without blocking also guards
    // against one swapped in after the test, which fstat() then catches.
    if (!S_ISREG(etat.st_mode)) {
        lecture.refus = Traduire(QT_TRANSLATE_NOOP("Imagier", "pas un fichier ordinaire"));
        return retenir(etat);
    }
    const int fd = open(chemin.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lecture.refus = QString::fromLocal8Bit(std::strerror(errno));
        return lecture;
    }
    QFile fichier;
    if (fstat(fd, &etat) != 0 || !S_ISREG(etat.st_mode) ||
        !fichier.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        close(fd);
        lecture.refus = Traduire(QT_TRANSLATE_NOOP("Imagier", "pas un fichier ordinaire"));
        return lecture;
    }

    QImageReader lecteur(&fichier);
    const QSize cote = lecteur.size();
    const int plafond = 4 * cote_ * densite;
    if (!cote.isValid()) {
        lecture.refus = Traduire(QT_TRANSLATE_NOOP("Imagier", "pas une image"));
    } else if (cote.width() > plafond || cote.height() > plafond) {
        // Decoding it would take seconds and hundreds of megabytes for a picture that must be
        // cut down to a tile anyway.
        lecture.refus = Traduire(QT_TRANSLATE_NOOP("Imagier", "%1x%2 pixels, plus que %3x%3"))
                            .arg(cote.width())
                            .arg(cote.height())
                            .arg(plafond);
    } else {
        QImage image;
        if (!lecteur.read(&image)) {
            lecture.refus = lecteur.errorString();
        } else if (fichier.seek(0); OctetsBmp(fichier.read(38)) > static_cast<qint64>(etat.st_size)) {
            lecture.refus = Traduire(QT_TRANSLATE_NOOP("Imagier", "tronquée"));
        } else {
            lecture.image = QPixmap::fromImage(std::move(image));
            lecture.image.setDevicePixelRatio(densite);
        }
    }
    return retenir(etat);
}

QPixmap Imagier::Charger(const QString& nom, qreal ratio) {
    if (ratio > 1) {
        const QString double_ = NomDouble(nom);
        const Lecture dense = Lire(double_, 2);
        if (!dense.image.isNull())
            return dense.image;
        // Only a missing "@2x" file is expected; one that is there but refused is a fault.
        if (!dense.absente)
            Signaler(double_, dense.refus);
    }
    const Lecture lecture = Lire(nom, 1);
    if (lecture.image.isNull())
        Signaler(nom, lecture.refus);
    return lecture.image;
}

} // namespace canalisor::ui
