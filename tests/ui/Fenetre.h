// The main window in a scripted world (scripted chance, clock and dialogs, an in-memory
// best-scores file, the build's tiles), started, shown and active as shortcuts need.
#pragma once

#include <initializer_list>
#include <memory>

#include <QMenuBar>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include "FenetrePrincipale.h"
#include "MondeScripte.h"

namespace canalisor::test {

// `tuyaux` come as the first pipes. The file lists the worked example worst first, so that the
// record and the scores window rank it.
struct Fenetre {
    explicit Fenetre(std::initializer_list<int> tuyaux = {4, 2, 8}, Dialogues* boites = nullptr,
                     Palmares* fichier = nullptr)
        : form(std::make_unique<ui::FenetrePrincipale>(hasard, horloge, boites ? *boites : dialogues,
                                                       fichier ? *fichier : memoire,
                                                       QString::fromUtf8(CANALISOR_DOSSIER_TUILES))) {
        for (int tuyau : tuyaux)
            hasard.AjouterTuyau(tuyau);
        memoire.table = TableExemple();
        std::ranges::reverse(*memoire.table);
        EXPECT_TRUE(form->Demarrer());
        form->show();
        form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    template <class T = QLabel> T* W(const char* nom, QObject* dans = nullptr) const {
        return (dans ? dans : form.get())->findChild<T*>(QString::fromLatin1(nom));
    }
    // Makes the client area `taille`, as a player dragging the frame would.
    void Client(QSize taille) const {
        form->resize(taille + QSize(0, form->menuBar()->height()));
        QCoreApplication::processEvents();
        ASSERT_EQ(form->centralWidget()->size(), taille);
    }
    HasardScripte hasard{1};
    HorlogeScriptee horloge;
    DialoguesScriptes dialogues;
    PalmaresMemoire memoire;
    std::unique_ptr<ui::FenetrePrincipale> form;
};

} // namespace canalisor::test
