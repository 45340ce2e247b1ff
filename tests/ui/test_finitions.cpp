// What a player meets at the edges of the windows: the name box.
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include "MondeQt.h"

namespace canalisor::test {
namespace {

// The name box as the program shows it: title, prompt, empty line, and no more than 40
// characters, whatever is typed or pasted; what it gives is what was typed, in UTF-8.
TEST(BoiteDuNom, PrendQuaranteCaracteresEtPasUnDePlus) {
    const std::pair<QString, std::string> cas[] = {
        {QString::fromUtf8("Zoé"), "Zoé"},
        {QString::fromUtf8("Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ! et la suite"),
         "Œuvre d’Ève – “Zoë” à l’été… €‰™ ÿ ŸŽšœ!"},
    };
    for (const auto& [tape, attendu] : cas) {
        ui::DialoguesQt dialogues;
        QString vu;
        QTimer::singleShot(0, [&, tape = tape] {
            auto* boite = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(boite, nullptr);
            auto* ligne = boite->findChild<QLineEdit*>();
            ASSERT_NE(ligne, nullptr);
            vu = boite->windowTitle() + "|" + boite->labelText() + "|" + ligne->text() + "|" +
                 QString::number(ligne->maxLength());
            ligne->insert(tape);
            boite->accept();
        });
        EXPECT_EQ(dialogues.Saisir("Bravo, vous avez battu le record!\nQuel est votre nom ?"), attendu);
        EXPECT_EQ(vu,
                  QString::fromUtf8("Canalisor|Bravo, vous avez battu le record!\nQuel est votre nom ?||40"));
    }
}

} // namespace
} // namespace canalisor::test
