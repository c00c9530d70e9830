#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QPair>

#include <cstdio>
#include <cstdlib>

#include "app/identity.h"
#include "app/mainwindow.h"
#include "app/opengl_setting.h"
#include "app/termination_watcher.h"

namespace {
/// What the panel says, and all it says, when it finds no display to open:
/// none named, or one named that does not answer.
const char NoDisplayLine[] =
    "error: no display answers (DISPLAY or WAYLAND_DISPLAY), and the panel needs one; run it "
    "in a graphical session, or put xvfb-run -a before the command for a virtual display\n";

/// Qt's words when no platform plugin could start, before it aborts.
const char NoPlatformFatal[] = "no Qt platform plugin could be initialized";

QtMessageHandler qtMessageHandler = nullptr;
/// The messages of the application object's construction, held back until it
/// is known whether a display answered.
QList<QPair<QtMsgType, QByteArray>> *heldMessages = nullptr;

void holdStartMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtFatalMsg && message.contains(QLatin1String(NoPlatformFatal))) {
        // Qt's page about reinstalling the program and its abort say nothing
        // an operator can act on; exit before the abort.
        std::fputs(NoDisplayLine, stderr);
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (type == QtFatalMsg) {
        qtMessageHandler(type, context, message);
        return;
    }
    heldMessages->append({type, qFormatLogMessage(type, context, message).toLocal8Bit()});
}

/// Gives the held messages to Qt's handler, as they would have come.
void releaseStartMessages()
{
    qInstallMessageHandler(qtMessageHandler);
    for (const auto &held : qAsConst(*heldMessages))
        qtMessageHandler(held.first, QMessageLogContext(), QString::fromLocal8Bit(held.second));
    delete heldMessages;
    heldMessages = nullptr;
}
} // namespace

int main(int argc, char *argv[])
{
    setApplicationIdentity();
    const bool openGlTurnedOff = turnOpenGlOff();
    heldMessages = new QList<QPair<QtMsgType, QByteArray>>;
    qtMessageHandler = qInstallMessageHandler(holdStartMessages);
    QApplication application(argc, argv);
    releaseStartMessages();
    forgetOpenGlSetting(openGlTurnedOff);
    // A signal ends the event loop as closing the window does, so the settings are saved.
    TerminationWatcher termination;
    QObject::connect(&termination, &TerminationWatcher::terminationRequested, &application,
                     &QCoreApplication::quit);
    MainWindow window;
    window.show();
    // Leaving this scope destroys the window first (it saves the settings),
    // then the application object.
    return application.exec();
}
