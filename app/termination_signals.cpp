#include "app/termination_signals.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
// A handler may only write to a descriptor; the event loop reads the other end.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int)
{
    const char byte = 1;
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written; // a full pipe already holds a request to quit
}
} // namespace

void quitOnTerminationSignals()
{
    // pipe() and fcntl() rather than pipe2(), which macOS lacks.
    if (::pipe(signalPipe) != 0)
        return;
    for (const int end : signalPipe) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read,
                                         QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] {
        char bytes[16];
        while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}
#else
void quitOnTerminationSignals() {}
#endif
