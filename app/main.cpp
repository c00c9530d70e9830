#include <QApplication>

#include "app/identity.h"
#include "app/mainwindow.h"
#include "app/termination_watcher.h"

int main(int argc, char *argv[])
{
    setApplicationIdentity();
    // A widget panel never draws with OpenGL; loading it costs start-up time and memory.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication application(argc, argv);
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
