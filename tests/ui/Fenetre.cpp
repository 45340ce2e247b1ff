#include "Fenetre.h"

#include <QTest>

#include <gtest/gtest.h>

namespace canalisor::test {

Fenetre::Fenetre(std::optional<unsigned> graine, Palmares* palmares, QString dossier) : hasard(graine) {
    memoire.table = TableExemple();
#ifdef CANALISOR_DOSSIER_TUILES
    if (dossier.isEmpty())
        dossier = QString::fromUtf8(CANALISOR_DOSSIER_TUILES);
#endif
    if (dossier.isEmpty())
        dossier = vide.path() + QLatin1Char('/');
    form = std::make_unique<ui::Form1>(hasard, horloge, dialogues, palmares ? *palmares : memoire, dossier);
}

QLabel* Fenetre::Label(const char* nom) const {
    auto* label = form->findChild<QLabel*>(QString::fromLatin1(nom));
    if (!label)
        ADD_FAILURE() << "no label " << nom;
    return label;
}

QPushButton* Fenetre::Bouton(const char* nom) const {
    auto* bouton = form->findChild<QPushButton*>(QString::fromLatin1(nom));
    if (!bouton)
        ADD_FAILURE() << "no button " << nom;
    return bouton;
}

QAction* Fenetre::Action(const char* nom) const {
    auto* action = form->findChild<QAction*>(QString::fromLatin1(nom));
    if (!action)
        ADD_FAILURE() << "no menu item " << nom;
    return action;
}

void Fenetre::Cliquer(int i) const {
    QTest::mouseClick(form->Case(i), Qt::LeftButton);
}

int Fenetre::TicsJusquABoite(int max) {
    const std::size_t boites = dialogues.messages.size();
    int tics = 0;
    while (horloge.enMarche && dialogues.messages.size() == boites && tics < max) {
        form->Timer1_Timer();
        ++tics;
    }
    return tics;
}

std::vector<int> Fenetre::CasesDeCode(int code) const {
    std::vector<int> cases;
    for (int i = 0; i < NombreCellules; ++i)
        if (form->Modele().Cellules()[static_cast<std::size_t>(i)].Tag == code)
            cases.push_back(i);
    return cases;
}

namespace {
Avertissements* actif = nullptr;
QtMessageHandler precedent = nullptr;

void Recueillir(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (actif && type == QtWarningMsg)
        actif->lignes.append(message);
}
} // namespace

Avertissements::Avertissements() {
    actif = this;
    precedent = qInstallMessageHandler(Recueillir);
}

Avertissements::~Avertissements() {
    qInstallMessageHandler(precedent);
    actif = nullptr;
}

} // namespace canalisor::test
