// The widget suites run in an application prepared as the program prepares its own.
#include <QApplication>

#include <gtest/gtest.h>

#include "Application.h"

int main(int argc, char** argv) {
    // The offscreen platform says so whenever a window is raised: nothing a test can act on.
    static const QtMessageHandler parDefaut = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& contexte, const QString& message) {
            if (!message.startsWith(QStringLiteral("This plugin does not support")))
                parDefaut(type, contexte, message);
        });
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false); // tests close main windows with no event loop to end
    if (!canalisor::ui::PreparerApplication(application))
        return 1;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
