#include "FenetreAPropos.h"

#include "Controles.h"

namespace canalisor::ui {

const QString& FenetreAPropos::TexteAPropos() {
    static const QString texte = QString::fromUtf8("Canalisor version 2.12\n"
                                                   "Licence : GPL-3.0-or-later\n"
                                                   "Août 2016\n"
                                                   "canalisor@example.org\n"
                                                   "https://example.org/canalisor");
    return texte;
}

FenetreAPropos::FenetreAPropos()
    : FenetreAnnexe(QString::fromUtf8("Canalisor - A propos"), Twips(0, 0, 4575, 2100)) {
    setObjectName(QStringLiteral("FenetreAPropos"));
    Label("Label1", Twips(120, 240, 4335, 1695), TexteAPropos(), Police(12), Qt::AlignLeft | Qt::AlignTop,
          false);
}

} // namespace canalisor::ui
