// The widget suites need a QApplication for their whole run.
#include <QApplication>

#include <gtest/gtest.h>

namespace {

QtMessageHandler parDefaut = nullptr;

// The offscreen platform says so whenever a window is raised; nothing a test can act on.
void FiltrerPlateforme(QtMsgType type, const QMessageLogContext& contexte, const QString& message) {
    if (parDefaut && !message.startsWith(QStringLiteral("This plugin does not support")))
        parDefaut(type, contexte, message);
}

} // namespace

int main(int argc, char** argv) {
    parDefaut = qInstallMessageHandler(FiltrerPlateforme);
    QApplication application(argc, argv);
    // Tests close main windows with no event loop to end.
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
