#include "FenetreScores.h"

#include <QLabel>

#include "Classement.h"
#include "Controles.h"

namespace canalisor::ui {

QString FenetreScores::TexteScores(const TableScores& classe) {
    QString texte;
    for (const EntreeScore& entree : classe)
        texte +=
            tr("%1 : %2").arg(QString::fromStdString(entree.Nom), QString::fromStdString(entree.Points)) +
            QLatin1Char('\n');
    return texte;
}

FenetreScores::FenetreScores(Palmares& palmares)
    : FenetreAnnexe(tr("Canalisor - Scores"), Twips(0, 0, 6540, 2895)), palmares_(palmares) {
    setObjectName(QStringLiteral("FenetreScores"));
    // The title sits on its frame, so the frame is made first and drawn beneath it.
    Cadre(Twips(120, 120, 6255, 615));
    Label("Label1", Twips(120, 240, 6255, 495), tr("Meilleurs scores"), Police(18, true, true),
          Qt::AlignHCenter | Qt::AlignTop, false);
    // The places are read when the window is shown.
    places_ =
        Label("Label2", Twips(120, 840, 6255, 1935), {}, Police(13.5), Qt::AlignHCenter | Qt::AlignTop, true);
}

void FenetreScores::Relire() {
    // A file gone or unreadable shows empty places rather than nothing.
    places_->setText(TexteScores(ClasserScores(palmares_.Lire().value_or(TableScores{}))));
    AjusterLabel(*places_, Police(13.5));
}

void FenetreScores::showEvent(QShowEvent* event) {
    Relire();
    FenetreAnnexe::showEvent(event);
}

} // namespace canalisor::ui
