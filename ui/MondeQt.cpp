#include "MondeQt.h"

#include <chrono>

#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace canalisor::ui {

double VersUnitaire(std::uint64_t x) {
    return static_cast<double>(x >> 11) * 0x1.0p-53;
}

HasardHorloge::HasardHorloge()
    : generateur_(static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count())) {}

HorlogeQt::HorlogeQt() {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &HorlogeQt::Tic);
}

QWidget* DialoguesQt::Centre() const {
    // Before the main window is shown (the missing-file box) a box belongs in the screen's middle.
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

void DialoguesQt::Message(const std::string& texte, Icone icone) {
    QMessageBox boite(icone == Icone::Critique ? QMessageBox::Critical : QMessageBox::NoIcon,
                      QStringLiteral("Canalisor"), QString::fromStdString(texte), QMessageBox::Ok, Centre());
    boite.exec();
}

std::string DialoguesQt::Saisir(const std::string& invite) {
    // QInputDialog::getText() as it builds its box, with the length limit on the line.
    QInputDialog boite(Centre());
    boite.setWindowTitle(QStringLiteral("Canalisor"));
    boite.setLabelText(QString::fromStdString(invite));
    boite.setTextValue(QString());
    boite.setTextEchoMode(QLineEdit::Normal);
    if (auto* ligne = boite.findChild<QLineEdit*>())
        ligne->setMaxLength(LongueurNomMax);
    return boite.exec() == QDialog::Accepted ? boite.textValue().toStdString() : std::string();
}

} // namespace canalisor::ui
