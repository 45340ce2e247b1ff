#include "FenetreAPropos.h"

#include "Controles.h"
#include "Version.h"

namespace canalisor::ui {

QString FenetreAPropos::TexteAPropos() {
    return tr("Canalisor version %1\n"
              "Licence : GPL-3.0-or-later\n"
              "Août 2016\n"
              "canalisor@example.org\n"
              "https://example.org/canalisor")
        .arg(QString::fromLatin1(Version));
}

FenetreAPropos::FenetreAPropos() : FenetreAnnexe(tr("Canalisor - A propos"), Twips(0, 0, 4575, 2100)) {
    setObjectName(QStringLiteral("FenetreAPropos"));
    Label("Label1", Twips(120, 240, 4335, 1695), TexteAPropos(), Police(12), Qt::AlignLeft | Qt::AlignTop,
          false);
}

} // namespace canalisor::ui
