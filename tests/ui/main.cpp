// The widget suites need a QApplication for their whole run.
#include <QApplication>

#include "Fenetre.h"

static QtMessageHandler parDefaut = nullptr;

int main(int argc, char** argv) {
    parDefaut = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& contexte, const QString& message) {
            // The offscreen platform says so whenever a window is raised: nothing a test can act on.
            if (message.startsWith(QStringLiteral("This plugin does not support")))
                return;
            if (type == QtWarningMsg)
                canalisor::test::avertissements.append(message);
            parDefaut(type, contexte, message);
        });
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false); // tests close main windows with no event loop to end
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
