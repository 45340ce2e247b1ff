#include "Ico.h"

#include <QBuffer>
#include <QtEndian>

namespace canalisor::art {

namespace {

void Ecrire16(QByteArray& octets, quint16 valeur) {
    const quint16 le = qToLittleEndian(valeur);
    octets.append(reinterpret_cast<const char*>(&le), sizeof le);
}

void Ecrire32(QByteArray& octets, quint32 valeur) {
    const quint32 le = qToLittleEndian(valeur);
    octets.append(reinterpret_cast<const char*>(&le), sizeof le);
}

// A size of 256 does not fit the directory's one byte: the format writes it as 0.
char Dimension(int pixels) {
    return static_cast<char>(pixels >= 256 ? 0 : pixels);
}

} // namespace

QByteArray ConteneurIco(const QList<QImage>& images) {
    QList<QByteArray> pngs;
    for (const QImage& image : images) {
        QByteArray png;
        QBuffer tampon(&png);
        tampon.open(QIODevice::WriteOnly);
        image.convertToFormat(QImage::Format_ARGB32).save(&tampon, "PNG");
        pngs.append(png);
    }

    constexpr int TailleEnTete = 6;
    constexpr int TailleEntree = 16;
    QByteArray ico;
    Ecrire16(ico, 0); // reserved
    Ecrire16(ico, 1); // an icon, not a cursor
    Ecrire16(ico, static_cast<quint16>(images.size()));
    auto position = static_cast<quint32>(TailleEnTete + TailleEntree * images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        ico.append(Dimension(images[i].width()));
        ico.append(Dimension(images[i].height()));
        ico.append('\0');  // no palette
        ico.append('\0');  // reserved
        Ecrire16(ico, 1);  // colour planes
        Ecrire16(ico, 32); // bits per pixel
        Ecrire32(ico, static_cast<quint32>(pngs[i].size()));
        Ecrire32(ico, position);
        position += static_cast<quint32>(pngs[i].size());
    }
    for (const QByteArray& png : pngs)
        ico.append(png);
    return ico;
}

} // namespace canalisor::art
