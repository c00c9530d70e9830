// The panel under a flood: a loopback player sends 1 MB/s for 30 s while a
// 1-ms timer in the panel's thread records how late the event loop gets to
// it; at the end a shortcut is posted and timed until its frame is read. The
// panel's thread's CPU time is counted, and with the session log on (as the
// operator's panel always has it) the save of the full log is timed.
// Usage: bench_flood ascii|hex|dec [seconds] [--no-log]

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <time.h>
#include <unistd.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "peer.h"
#include "testsupport.h"

namespace {
using namespace bench;

constexpr qint64 BytesPerSecond = 1000 * 1000;
constexpr qint64 NsPerSecond = 1000 * 1000 * 1000;
constexpr int FrameWaitMs = 10000;
constexpr double BlockTargetMs = 20;
constexpr double KeyTargetMs = 20;
constexpr double SaveTargetMs = 1000;
// Ctrl+5 is also pressed this many times during the flood, evenly spread.
constexpr int PressesDuring = 5;
// A panel thread that has not ticked for this long after the frame wait is
// stuck, and the player's thread writes the rows itself.
constexpr qint64 StuckNs = 5LL * NsPerSecond;
// Ctrl+5 on the TCP model, ID 0: folder 5.
const QByteArray FolderFiveFrame = QByteArray::fromHex("800105");

struct FloodOutcome
{
    qint64 sent = 0;
    QVector<double> pressesDuringMs; ///< Ctrl+5 to its frame, for each press during the flood
    int pressesLost = 0;             ///< presses during the flood whose frame never came
    qint64 keyPosted = 0;
    qint64 frameRead = 0; ///< 0 when the frame never came
    bool connected = false;
};

/// What the 1-ms ticker in the panel's thread leaves for the player's thread.
struct Ticks
{
    std::atomic<qint64> last{0};
    std::atomic<qint64> longestLateNs{0};
    std::atomic<int> shownCharacters{0}; ///< the pane's text at the last tick
    std::atomic<int> scrollRange{0};     ///< its scroll bar's maximum then, in pixels
};

bool logging = true;

QString conditionFor(DataFormat format, qint64 seconds, qint64 sent)
{
    return QStringLiteral("%1, 1 MB/s x %2 s, %3 MB sent, log %4")
        .arg(formatName(format))
        .arg(seconds)
        .arg(double(sent) / 1e6, 0, 'f', 1)
        .arg(logging ? QStringLiteral("on") : QStringLiteral("off"));
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

/// Saves the log the flood filled and reports how long that took.
void timeFullSave(MainWindow *window, const QString &condition)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.log"));
    const qint64 start = nowNs();
    const bool saved = window->saveSessionLog(path);
    const double ms = (nowNs() - start) / 1e6;
    printRow({QStringLiteral("session log save, full"),
               condition + QStringLiteral(", %1 MB file").arg(QFileInfo(path).size() / 1e6, 0, 'f', 1),
               saved ? formatMs(ms) : QStringLiteral("error"), QStringLiteral("-"),
               QStringLiteral("1"), QStringLiteral("< 1000 ms"),
               saved ? verdict(ms, SaveTargetMs) : QStringLiteral("error")});
}

/// The rows for a panel whose thread never came back from its slot.
[[noreturn]] void reportStuck(DataFormat format, qint64 seconds, const FloodOutcome &outcome,
                              const Ticks &ticks)
{
    const QString condition = conditionFor(format, seconds, outcome.sent);
    const double stuckMs = (nowNs() - ticks.last.load()) / 1e6;
    printRow({QStringLiteral("flood, event loop blocked"), condition,
               QStringLiteral("max > ") + formatMs(qMax(stuckMs, ticks.longestLateNs.load() / 1e6)),
               QStringLiteral("still blocked after %1 M characters shown (%2 Mpx); "
                              "longest block before: %3")
                   .arg(ticks.shownCharacters.load() / 1e6, 0, 'f', 1)
                   .arg(ticks.scrollRange.load() / 1e6, 0, 'f', 1)
                   .arg(formatMs(ticks.longestLateNs.load() / 1e6)),
               QStringLiteral("-"), QStringLiteral("-"), QStringLiteral("report")});
    printRow({QStringLiteral("flood, Ctrl+5 to wire at its end"), condition,
               QStringLiteral("> ") + formatMs(FrameWaitMs), QStringLiteral("no frame"),
               QStringLiteral("1"), QStringLiteral("-"), QStringLiteral("report")});
    std::fprintf(stderr, "%s: the panel's thread has not come back for %.1f s\n",
                 qPrintable(condition), stuckMs / 1000);
    std::fflush(stdout);
    ::_exit(0);
}

void postCtrl5(QPointer<QWidget> target)
{
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::ControlModifier));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_5, Qt::ControlModifier));
}

/// The player's thread: accepts the panel, sends paced traffic until the end
/// of the flood, posts the shortcut and waits for its frame.
void runPlayer(int listener, DataFormat format, qint64 seconds, const std::atomic<bool> &go,
               QPointer<QWidget> keyTarget, QEventLoop *loop, FloodOutcome &outcome,
               const Ticks &ticks)
{
    const int fd = acceptWithin(listener, 10000);
    outcome.connected = fd >= 0;
    const QDeadlineTimer goDeadline(10000);
    while (outcome.connected && !go.load() && !goDeadline.hasExpired())
        ::poll(nullptr, 0, 1);
    if (outcome.connected && go.load()) {
        Traffic traffic(format, 31);
        QByteArray pending;
        QByteArray frames; // what the panel wrote during the flood
        qint64 pressed = 0; // when the press waiting for its frame was posted
        int presses = 0;
        const qint64 start = nowNs();
        const qint64 end = start + seconds * NsPerSecond;
        for (qint64 now = start; now < end; now = nowNs()) {
            char incoming[64];
            const ssize_t got = ::recv(fd, incoming, sizeof incoming, MSG_DONTWAIT);
            if (got > 0)
                frames.append(incoming, int(got));
            if (pressed > 0 && frames.contains(FolderFiveFrame)) {
                outcome.pressesDuringMs.append((now - pressed) / 1e6);
                frames.clear();
                pressed = 0;
            }
            if (presses < PressesDuring && now - start >= (presses + 1) * (end - start) / (PressesDuring + 1)) {
                if (pressed > 0)
                    ++outcome.pressesLost;
                ++presses;
                frames.clear();
                pressed = nowNs();
                postCtrl5(keyTarget);
            }
            const qint64 due = (now - start) * BytesPerSecond / NsPerSecond - outcome.sent;
            if (pending.isEmpty() && due > 0)
                pending = traffic.next(int(qMin<qint64>(due, 16384)));
            if (pending.isEmpty()) {
                ::poll(nullptr, 0, 1);
                continue;
            }
            pollfd writable{fd, POLLOUT, 0};
            if (::poll(&writable, 1, 1) != 1)
                continue;
            const ssize_t taken =
                ::send(fd, pending.constData(), size_t(pending.size()), MSG_NOSIGNAL | MSG_DONTWAIT);
            if (taken > 0) {
                pending.remove(0, int(taken));
                outcome.sent += taken;
            }
        }
        if (pressed > 0)
            ++outcome.pressesLost;
        // The operator presses Ctrl+5 as the flood ends.
        outcome.keyPosted = nowNs();
        postCtrl5(keyTarget);
        QByteArray received;
        const QDeadlineTimer frameDeadline(FrameWaitMs);
        while (!received.contains(FolderFiveFrame) && !frameDeadline.hasExpired()) {
            if (readWithin(fd, received, 100) < 0)
                break;
        }
        if (received.contains(FolderFiveFrame))
            outcome.frameRead = nowNs();
        else if (nowNs() - ticks.last.load() > StuckNs)
            reportStuck(format, seconds, outcome, ticks);
    }
    closeFd(fd);
    QMetaObject::invokeMethod(loop, "quit", Qt::QueuedConnection);
}
} // namespace

int main(int argc, char *argv[])
{
    DataFormat format = DataFormat::Text;
    logging = !(argc > 2 && QByteArray(argv[argc - 1]) == "--no-log");
    const int positional = logging ? argc : argc - 1;
    const qint64 seconds = positional == 3 ? QByteArray(argv[2]).toLongLong() : 30;
    if (positional < 2 || positional > 3 || !parseFormat(QString::fromLocal8Bit(argv[1]), format)
        || seconds <= 0) {
        std::fprintf(stderr, "usage: bench_flood ascii|hex|dec [seconds] [--no-log]\n");
        return 2;
    }
    prepareTestProcess();
    QApplication application(argc, argv);
    auto *window = new MainWindow;
    window->setSessionLogging(logging);
    quint16 port = 0;
    const int listener = listenLoopback(port);
    if (listener < 0 || !activateWindow(window)) {
        std::fprintf(stderr, "bench_flood: no listening port or no active window\n");
        return 1;
    }
    const char *buttons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                             "radioButton_Data_Dec"};
    findWidget<QRadioButton>(window, buttons[int(format)])->click();

    QEventLoop loop;
    std::atomic<bool> go{false};
    FloodOutcome outcome;
    QWidget *focus = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    Ticks ticks;
    ticks.last = nowNs();
    std::thread player(runPlayer, listener, format, seconds, std::cref(go), QPointer<QWidget>(focus),
                       &loop, std::ref(outcome), std::cref(ticks));

    startTcpConnect(window, port);
    const QDeadlineTimer connectDeadline(10000);
    while (tcpSocket->state() != QAbstractSocket::ConnectedState && !connectDeadline.hasExpired())
        QTest::qWait(5);

    // Each tick records how long the loop left it waiting past its interval.
    const QScrollBar *scrollBar =
        findWidget<QTextEdit>(window, QStringLiteral("textEdit_Data"))->verticalScrollBar();
    QVector<double> lateness;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = nowNs();
        const qint64 late = qMax<qint64>(0, now - ticks.last.load() - 1000000);
        lateness.append(late / 1e6);
        if (late > ticks.longestLateNs.load())
            ticks.longestLateNs = late;
        ticks.last = now;
        ticks.shownCharacters = readDataText.size();
        ticks.scrollRange = scrollBar->maximum();
    });
    QTimer::singleShot(int(seconds * 1000 + FrameWaitMs + 30000), &loop, &QEventLoop::quit);
    ticks.last = nowNs();
    ticker.start();
    const double cpuStartMs = threadCpuMs();
    go = true;
    if (tcpSocket->state() == QAbstractSocket::ConnectedState)
        loop.exec();
    const double cpuMs = threadCpuMs() - cpuStartMs;
    ticker.stop();
    player.join();

    const QString condition = conditionFor(format, seconds, outcome.sent);
    if (!outcome.connected || lateness.isEmpty()) {
        printRow({QStringLiteral("flood, event loop blocked"), condition, QStringLiteral("error"),
                   QStringLiteral("-"), QStringLiteral("0"), QStringLiteral("-"),
                   QStringLiteral("error")});
        std::fflush(stdout);
        ::_exit(1);
    }
    const Summary s = summarize(lateness);
    printRow({QStringLiteral("flood, event loop blocked"), condition,
               QStringLiteral("max ") + formatMs(s.max), QStringLiteral("p99 ") + formatMs(s.p99),
               QString::number(s.count), QStringLiteral("<= 20 ms max"), verdict(s.max, BlockTargetMs)});
    const Summary d = summarize(outcome.pressesDuringMs);
    const bool allCame = outcome.pressesLost == 0 && !outcome.pressesDuringMs.isEmpty();
    printRow({QStringLiteral("flood, Ctrl+5 to wire during it"), condition,
               allCame ? QStringLiteral("max ") + formatMs(d.max)
                       : QStringLiteral("%1 of %2 frames lost").arg(outcome.pressesLost).arg(PressesDuring),
               allCame ? QStringLiteral("median ") + formatMs(d.median) : QStringLiteral("-"),
               QString::number(d.count), QStringLiteral("<= 20 ms each"),
               allCame ? verdict(d.max, KeyTargetMs) : QStringLiteral("miss")});
    const bool framed = outcome.frameRead > 0;
    const double atEndMs = (outcome.frameRead - outcome.keyPosted) / 1e6;
    printRow({QStringLiteral("flood, Ctrl+5 to wire at its end"), condition,
               framed ? formatMs(atEndMs) : QStringLiteral("> %1").arg(formatMs(FrameWaitMs)),
               framed ? QStringLiteral("-") : QStringLiteral("no frame"), QStringLiteral("1"),
               QStringLiteral("<= 20 ms"), framed ? verdict(atEndMs, KeyTargetMs) : QStringLiteral("miss")});
    printRow({QStringLiteral("flood, panel thread CPU"), condition,
               QString::number(cpuMs, 'f', 0) + QStringLiteral(" ms"),
               QStringLiteral("-"), QStringLiteral("1"), QStringLiteral("-"), QStringLiteral("report")});
    if (logging)
        timeFullSave(window, condition);
    std::fprintf(stderr, "%s: pane text %d characters, peak RSS %s\n", qPrintable(condition),
                 int(readDataText.size()), qPrintable(formatMib(statusKb("VmHWM"))));
    std::fflush(stdout);
    // Tearing down a document of millions of characters only costs time here.
    ::_exit(0);
}
