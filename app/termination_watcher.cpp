#include "app/termination_watcher.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int WatchedSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The self-pipe: a handler may only write a byte; the event loop reads the other end.
int signalPipe[2] = {-1, -1};
struct sigaction previousActions[std::size(WatchedSignals)];
bool watched[std::size(WatchedSignals)];

void onSignal(int signalNumber)
{
    const int savedErrno = errno; // the interrupted code may be about to read it
    const char byte = char(signalNumber);
    // Non-blocking: a full pipe already holds a request.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

QString signalName(int signalNumber)
{
    switch (signalNumber) {
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGHUP:
        return QStringLiteral("SIGHUP");
    default:
        return QStringLiteral("SIGTERM");
    }
}

} // namespace

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent)
{
    // pipe() and fcntl() rather than pipe2(), which macOS lacks.
    if (signalPipe[0] >= 0 || ::pipe(signalPipe) != 0)
        return;
    for (const int end : signalPipe) {
        ::fcntl(end, F_SETFD, FD_CLOEXEC);
        ::fcntl(end, F_SETFL, ::fcntl(end, F_GETFL) | O_NONBLOCK);
    }
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationWatcher::readSignals);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(WatchedSignals); ++i) {
        // A signal ignored at start stays ignored, as nohup and background jobs expect.
        watched[i] = ::sigaction(WatchedSignals[i], nullptr, &previousActions[i]) == 0
            && previousActions[i].sa_handler != SIG_IGN
            && ::sigaction(WatchedSignals[i], &action, nullptr) == 0;
    }
}

TerminationWatcher::~TerminationWatcher()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < std::size(WatchedSignals); ++i) {
        if (watched[i])
            ::sigaction(WatchedSignals[i], &previousActions[i], nullptr);
    }
    m_notifier->setEnabled(false);
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void TerminationWatcher::readSignals()
{
    // One bounded read a turn: a storm of signals cannot hold the event loop.
    char received[64];
    if (::read(signalPipe[0], received, sizeof received) > 0)
        emit terminationRequested(signalName(received[0]));
}

#else

TerminationWatcher::TerminationWatcher(QObject *parent) : QObject(parent) {}
TerminationWatcher::~TerminationWatcher() = default;
void TerminationWatcher::readSignals() {}

#endif
