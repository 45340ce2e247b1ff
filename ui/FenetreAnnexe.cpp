#include "FenetreAnnexe.h"

#include <QAction>
#include <QLabel>

#include "Controles.h"

namespace canalisor::ui {

FenetreAnnexe::FenetreAnnexe(const QString& titre, QRect client)
    : QWidget(nullptr,
              Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint) {
    // An ordinary window, not a tool window: on X11 Qt makes a tool window transient for the
    // whole program even without a parent, and window managers keep a transient window, or a
    // utility window, above the main one.
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(titre);
    setFixedSize(client.size());
    auto* fermer = new QAction(this);
    fermer->setObjectName(QStringLiteral("fermer"));
    fermer->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    addAction(fermer);
    connect(fermer, &QAction::triggered, this, &QWidget::close);
}

QLabel* FenetreAnnexe::Label(const char* nom, QRect zone, const QString& texte, const QFont& police,
                             Qt::Alignment alignement, bool bordure) {
    // A border is a frame around the label rather than the label's own: a label's text starts
    // right at its frame, and the fitted font must see the room the text really has.
    if (bordure) {
        Cadre(zone);
        zone.adjust(MargeBordure, MargeBordure, -MargeBordure, -MargeBordure);
    }
    auto* label = new QLabel(this);
    PreparerLabel(*label, nom, zone, texte, police, alignement, true);
    return label;
}

void FenetreAnnexe::Cadre(QRect zone) {
    auto* cadre = new QFrame(this);
    cadre->setFrameStyle(QFrame::Box | QFrame::Plain);
    cadre->setGeometry(zone);
}

} // namespace canalisor::ui
