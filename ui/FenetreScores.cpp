#include "FenetreScores.h"

#include "Classement.h"
#include "Controles.h"

namespace canalisor::ui {

QString FenetreScores::TexteScores(const TableScores& classe) {
    QString texte;
    for (const EntreeScore& entree : classe)
        texte += QString::fromStdString(entree.Nom + " : " + entree.Points + '\n');
    return texte;
}

FenetreScores::FenetreScores(Palmares& palmares)
    : FenetreAnnexe(QStringLiteral("Canalisor - Scores"), Twips(0, 0, 6540, 2895)) {
    setObjectName(QStringLiteral("FenetreScores"));
    // The title sits on its frame, so the frame is made first and drawn beneath it.
    Cadre(Twips(120, 120, 6255, 615));
    Label("Label1", Twips(120, 240, 6255, 495), QStringLiteral("Meilleurs scores"), Police(18, true, true),
          Qt::AlignHCenter | Qt::AlignTop, false);
    // A file gone or unreadable since start-up shows empty places rather than nothing.
    const QString texte = TexteScores(ClasserScores(palmares.Lire().value_or(TableScores{})));
    Label("Label2", Twips(120, 840, 6255, 1935), texte, Police(13.5), Qt::AlignHCenter | Qt::AlignTop, true);
}

} // namespace canalisor::ui
