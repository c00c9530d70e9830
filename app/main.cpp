#include <QApplication>

#include "app/identity.h"
#include "app/mainwindow.h"
#include "app/termination_signals.h"

int main(int argc, char *argv[])
{
    setApplicationIdentity();
    QApplication application(argc, argv);
    quitOnTerminationSignals();
    MainWindow window;
    window.show();
    // Leaving this scope destroys the window first (it saves the settings),
    // then the application object.
    return application.exec();
}
