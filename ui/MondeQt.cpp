#include "MondeQt.h"

#include <chrono>

#include <QCoreApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "Texte1252.h"

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

QValidator::State ValidateurNom::validate(QString& texte, int& position) const {
    QString garde;
    int avant = 0; // characters kept before the cursor
    int lus = 0;
    for (const char32_t c : texte.toUcs4()) {
        const QString caractere = QString::fromUcs4(&c, 1);
        const std::string utf8 = caractere.toStdString();
        // The file writes what it cannot hold as '?': such a character does not come back.
        if (De1252(Vers1252(utf8)) == utf8) {
            garde += caractere;
            if (lus < position)
                avant += static_cast<int>(caractere.size());
        }
        lus += static_cast<int>(caractere.size());
    }
    if (garde.size() != texte.size()) {
        texte = garde;
        position = avant;
    }
    return Acceptable;
}

namespace {

QString Traduit(const std::string& texte) {
    return QCoreApplication::translate("Jeu", texte.c_str());
}

} // namespace

QWidget* DialoguesQt::Centre() const {
    // Before the main window is shown (the missing-file box) a box belongs in the screen's middle.
    return parent_ && parent_->isVisible() ? parent_.data() : nullptr;
}

void DialoguesQt::Message(const std::string& texte, Icone icone) {
    QMessageBox boite(icone == Icone::Critique ? QMessageBox::Critical : QMessageBox::NoIcon,
                      QStringLiteral("Canalisor"), Traduit(texte), QMessageBox::Ok, Centre());
    boite.exec();
}

std::string DialoguesQt::Saisir(const std::string& invite) {
    // QInputDialog::getText() as it builds its box, with the length limit on the line.
    QInputDialog boite(Centre());
    boite.setWindowTitle(QStringLiteral("Canalisor"));
    boite.setLabelText(Traduit(invite));
    boite.setTextValue(QString());
    boite.setTextEchoMode(QLineEdit::Normal);
    if (auto* ligne = boite.findChild<QLineEdit*>()) {
        ligne->setMaxLength(LongueurNomMax);
        ligne->setValidator(new ValidateurNom(ligne));
    }
    return boite.exec() == QDialog::Accepted ? boite.textValue().toStdString() : std::string();
}

} // namespace canalisor::ui
