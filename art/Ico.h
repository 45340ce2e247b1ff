// An icon file holding several sizes. Qt writes only one image into an ICO file, while the
// window manager and the desktop want to pick the size they show.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

namespace canalisor::art {

// The ICO file of these images, each stored as PNG (allowed since Windows Vista, read by Qt).
// Sizes above 256 pixels cannot be stored: the caller keeps to 1..256.
QByteArray ConteneurIco(const QList<QImage>& images);

} // namespace canalisor::art
