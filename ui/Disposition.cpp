#include "Disposition.h"

#include <algorithm>
#include <cmath>

#include <QFrame>
#include <QResizeEvent>

namespace canalisor::ui {

int Trait(double echelle) {
    return std::max(1, static_cast<int>(std::lround(echelle)));
}

QRect AEchelle(const QRect& zone, double echelle, QPoint decalage, int trait) {
    const auto ligne = [echelle](int pixels) { return static_cast<int>(std::lround(pixels * echelle)); };
    // The last pixel line of the box is where a neighbour's first line may lie: it lands where
    // that neighbour's does, and the box goes on for the line's width.
    const QPoint debut(ligne(zone.left()), ligne(zone.top()));
    const QPoint fin(ligne(zone.right()) + trait - 1, ligne(zone.bottom()) + trait - 1);
    return QRect(debut, fin).translated(decalage);
}

QSize Disposition::TailleMin() {
    return {static_cast<int>(std::ceil(Taille.width() * EchelleMin)),
            static_cast<int>(std::ceil(Taille.height() * EchelleMin))};
}

Disposition::Disposition(QWidget* parent) : QWidget(parent) {
    setMinimumSize(TailleMin());
}

void Disposition::Retenir() {
    places_.clear();
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const int pixels = w->testAttribute(Qt::WA_SetFont) ? w->font().pixelSize() : 0;
        const auto* cadre = qobject_cast<const QFrame*>(w);
        const int trait = cadre && cadre->frameShape() != QFrame::NoFrame ? cadre->lineWidth() : 0;
        places_.push_back({w, w->geometry(), std::max(pixels, 0), trait});
    }
    Appliquer();
}

void Disposition::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Appliquer();
}

void Disposition::Appliquer() {
    const double echelle = std::min(double(width()) / Taille.width(), double(height()) / Taille.height());
    // A client area that has not been laid out yet is shown at the default size.
    echelle_ = echelle > 0 ? echelle : 1;
    const QSize occupee(static_cast<int>(std::lround(Taille.width() * echelle_)),
                        static_cast<int>(std::lround(Taille.height() * echelle_)));
    decalage_ =
        echelle > 0 ? QPoint((width() - occupee.width()) / 2, (height() - occupee.height()) / 2) : QPoint();
    const int trait = Trait(echelle_);
    for (const Place& place : places_) {
        QWidget* w = place.controle;
        if (!w)
            continue;
        if (place.trait > 0)
            static_cast<QFrame*>(w)->setLineWidth(Trait(place.trait * echelle_));
        if (place.pixels > 0) {
            QFont police = w->font();
            // Fitted once at the default size, then scaled: fitting again at every size would
            // cost the time of start-up again at each step of a resize.
            police.setPixelSize(std::max(1, static_cast<int>(std::lround(place.pixels * echelle_))));
            w->setFont(police);
        }
        w->setGeometry(AEchelle(place.zone, echelle_, decalage_, trait));
    }
}

} // namespace canalisor::ui
