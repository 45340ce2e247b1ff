#include "PlaceFenetre.h"

#include <algorithm>
#include <cmath>

#include <QScreen>
#include <QSettings>
#include <QWidget>

#include "Disposition.h"

namespace canalisor::ui {

namespace {

// Before the window manager has framed the window its frame is not known: room for a usual
// title bar and borders.
constexpr QMargins CadreSuppose{4, 40, 4, 4};

QSettings Reglages() {
    return QSettings(QStringLiteral("canalisor"), QStringLiteral("canalisor"));
}

const QString CleGeometrie = QStringLiteral("fenetre/geometrie");

} // namespace

QSize TailleOuverture(const QRect& travail, const QMargins& cadre, int barreMenus) {
    const QSize place = travail.size().shrunkBy(cadre) - QSize(0, barreMenus);
    const QSize defaut = Disposition::Taille;
    if (place.width() >= defaut.width() && place.height() >= defaut.height())
        return defaut + QSize(0, barreMenus);
    const double echelle =
        std::min(double(place.width()) / defaut.width(), double(place.height()) / defaut.height());
    // The side that sets the scale fills the room exactly, whatever the rounding of the other.
    const auto cote = [echelle](int pixels, int largeurPlace) {
        return std::min(largeurPlace, static_cast<int>(std::floor(pixels * echelle + 1e-9)));
    };
    const QSize client = QSize(cote(defaut.width(), place.width()), cote(defaut.height(), place.height()))
                             .expandedTo(Disposition::TailleMin());
    return client + QSize(0, barreMenus);
}

void PlacerFenetre(QWidget& fenetre, int barreMenus) {
    const QByteArray geometrie = Reglages().value(CleGeometrie).toByteArray();
    if (!geometrie.isEmpty() && fenetre.restoreGeometry(geometrie))
        return;
    const QRect travail = fenetre.screen()->availableGeometry();
    const QSize taille = TailleOuverture(travail, CadreSuppose, barreMenus);
    fenetre.resize(taille);
    // Where the system would put it is unknown before it shows: a window that had to shrink is
    // put in the work area's top-left corner rather than off its edge.
    if (taille != Disposition::Taille + QSize(0, barreMenus))
        fenetre.move(travail.topLeft());
}

void MemoriserFenetre(const QWidget& fenetre) {
    Reglages().setValue(CleGeometrie, fenetre.saveGeometry());
}

} // namespace canalisor::ui
