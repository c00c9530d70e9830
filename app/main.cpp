#include <QApplication>

#include "app/identity.h"
#include "app/mainwindow.h"
#include "app/opengl_setting.h"
#include "app/termination_watcher.h"

int main(int argc, char *argv[])
{
    setApplicationIdentity();
    const bool openGlTurnedOff = turnOpenGlOff();
    QApplication application(argc, argv);
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
