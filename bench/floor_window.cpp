// The floor for bench_startup: a bare Qt window (a QMainWindow holding one
// QTextEdit) that reports, like the panel's child, when its first expose event
// has been handled and its resident memory one second later.

#include <QApplication>
#include <QMainWindow>
#include <QTextEdit>
#include <QTimer>

#include "startup_probe.h"

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QTextEdit);
    bench::ShownWatcher watcher(&window);
    window.show();
    QTimer::singleShot(10000, &application, &QApplication::quit);
    return application.exec();
}
