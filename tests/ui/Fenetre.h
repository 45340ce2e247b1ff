// The main window in a scripted world: scripted chance, clock and dialogs, an in-memory
// best-scores file, and the build's tiles where it draws them.
#pragma once

#include <QAction>
#include <QTest>

#include <gtest/gtest.h>

#include "Form1.h"
#include "MondeScripte.h"

// Without the build's tiles, every cell draws its stand-in.
#ifndef CANALISOR_DOSSIER_TUILES
#define CANALISOR_DOSSIER_TUILES "/nonexistent/"
#endif

namespace canalisor::test {

// The warnings Qt printed since a test last cleared the list (main.cpp fills it).
inline QStringList avertissements;

// Scripted boxes that also note what the window showed as each one opened.
struct Boites : DialoguesScriptes {
    void Message(const std::string& texte, Icone icone) override {
        vus.append(vue ? vue() : QString());
        DialoguesScriptes::Message(texte, icone);
    }
    std::function<QString()> vue;
    QStringList vus;
};

struct Fenetre {
    Fenetre() : hasard(1) {
        memoire.table = TableExemple();
        form = std::make_unique<ui::Form1>(hasard, horloge, dialogues, memoire,
                                           QString::fromUtf8(CANALISOR_DOSSIER_TUILES));
    }
    // The widget of that name in the main window, or in `dans`.
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        T* w = (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
        EXPECT_NE(w, nullptr) << nom;
        return w;
    }
    // The mouse comes over cell i from elsewhere, which puts the keyboard's cursor there.
    void Survoler(int i) const {
        QTest::mouseMove(form->centralWidget(), QPoint(2, 2));
        QTest::mouseMove(form->Case(i));
    }
    // Shown and active, as shortcuts need.
    bool Montrer() const {
        form->show();
        form->activateWindow();
        return QTest::qWaitForWindowActive(form.get());
    }

    HasardScripte hasard;
    HorlogeScriptee horloge;
    Boites dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::Form1> form;
};

// A shown game at level 1 with 4, 2 and 8 in the boxes.
struct EnJeu : ::testing::Test {
    void SetUp() override {
        ASSERT_TRUE(f.form->Form_Load() && f.Montrer());
        for (int tuyau : {4, 2, 8})
            f.hasard.AjouterTuyau(tuyau);
        f.W<QAction>("menuJouer")->trigger();
    }
    Fenetre f;
};

} // namespace canalisor::test

// gtest prints text, not bytes.
inline void PrintTo(const QString& texte, std::ostream* sortie) {
    *sortie << texte.toStdString();
}
