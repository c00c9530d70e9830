// Click to wire: from a playback button's slot, or a folder shortcut's key
// press, to the three bytes read by the player's end of the link, on loopback
// TCP and on a socat pty pair at 38400 baud. The player's end reads in a
// thread of its own and stamps each frame as it arrives.
// Usage: bench_wire [frames]

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "peer.h"
#include "testsupport.h"

namespace {
using namespace bench;

constexpr int FrameBytes = 3;
constexpr int WarmUpFrames = 100;
constexpr int FrameWaitMs = 5000;

/// The player's end: stamps the arrival of every whole frame. The descriptor
/// stays the caller's.
class FrameReader
{
public:
    FrameReader(int fd, int frames) : m_fd(fd), m_arrivals(frames), m_thread([this] { run(); }) {}
    ~FrameReader()
    {
        m_stop = true;
        m_thread.join();
    }
    int frames() const { return m_count.load(); }
    qint64 arrival(int frame) const { return m_arrivals.at(frame); }
    QByteArray firstFrame() const { return m_first; }

private:
    void run()
    {
        QAbstractEventDispatcher *panelLoop = QAbstractEventDispatcher::instance(qApp->thread());
        QByteArray buffer;
        int bytes = 0;
        while (!m_stop.load() && m_count.load() < int(m_arrivals.size())) {
            const int got = readWithin(m_fd, buffer, 50);
            if (got < 0)
                return;
            if (got == 0)
                continue;
            const qint64 now = nowNs();
            if (m_first.isEmpty() && buffer.size() >= FrameBytes)
                m_first = buffer.left(FrameBytes);
            bytes += got;
            buffer = buffer.right(FrameBytes);
            while (m_count.load() < bytes / FrameBytes && m_count.load() < int(m_arrivals.size())) {
                m_arrivals[size_t(m_count.load())] = now;
                ++m_count;
            }
            panelLoop->wakeUp();
        }
    }

    int m_fd;
    std::vector<qint64> m_arrivals;
    std::atomic<int> m_count{0};
    std::atomic<bool> m_stop{false};
    QByteArray m_first;
    std::thread m_thread;
};

using Action = std::function<void()>;

/// Runs `action` once per frame, each time only after the last frame arrived,
/// and returns the times from action to arrival (ms); empty if a frame got lost.
QVector<double> timeFrames(FrameReader &reader, int frames, const Action &action)
{
    // Wakes the waiting loop now and then, so every wait is bounded.
    QTimer heartbeat;
    heartbeat.start(50);
    QVector<double> times;
    times.reserve(frames);
    for (int i = 0; i < frames; ++i) {
        const qint64 t0 = nowNs();
        action();
        const QDeadlineTimer deadline(FrameWaitMs);
        while (reader.frames() <= i) {
            if (deadline.hasExpired())
                return {};
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (i >= WarmUpFrames)
            times.append((reader.arrival(i) - t0) / 1e6);
    }
    return times;
}

void report(const QString &metric, const QString &condition, const QVector<double> &times,
            bool targeted)
{
    if (times.isEmpty()) {
        printRow({metric, condition, QStringLiteral("error"), QStringLiteral("-"),
                   QStringLiteral("0"), QStringLiteral("-"), QStringLiteral("error")});
        return;
    }
    const Summary s = summarize(times);
    printRow({metric, condition, formatMs(s.median), QStringLiteral("p99 ") + formatMs(s.p99),
               QString::number(s.count),
               targeted ? QStringLiteral("<= 0.03 ms median") : QStringLiteral("-"),
               targeted ? verdict(s.median, 0.03) : QStringLiteral("report")});
}

void pressCtrl5()
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                  : QApplication::activeWindow();
    QTest::keyClick(target, Qt::Key_5, Qt::ControlModifier);
}

/// The measurements on one link, each with a reader of its own: the Play slot
/// again and again (the sent-bytes labels keep their text), Play and Stop in
/// turn (the labels change, so the window repaints them), and Ctrl+5.
void measureLink(MainWindow *window, int fd, int frames, const QString &link, bool targeted)
{
    int turn = 0;
    const struct
    {
        const char *metric;
        Action action;
    } measurements[] = {
        {"Play slot to wire",
         [window] {
             QMetaObject::invokeMethod(window, "on_pushButton_Play_clicked", Qt::DirectConnection);
         }},
        {"Play/Stop slots in turn to wire",
         [window, &turn] {
             QMetaObject::invokeMethod(window,
                                       ++turn % 2 ? "on_pushButton_Stop_clicked"
                                                  : "on_pushButton_Play_clicked",
                                       Qt::DirectConnection);
         }},
        {"Ctrl+5 key to wire", pressCtrl5},
    };
    for (const auto &measurement : measurements) {
        FrameReader reader(fd, frames + WarmUpFrames);
        report(QString::fromLatin1(measurement.metric), link,
               timeFrames(reader, frames + WarmUpFrames, measurement.action), targeted);
        std::fprintf(stderr, "%s, %s: first frame %s\n", qPrintable(link), measurement.metric,
                     reader.firstFrame().toHex(' ').constData());
    }
}

bool measureTcp(int frames)
{
    resetProcessObjects();
    std::unique_ptr<MainWindow> window(new MainWindow);
    quint16 port = 0;
    const int listener = listenLoopback(port);
    if (listener < 0 || !activateWindow(window.get()))
        return false;
    startTcpConnect(window.get(), port);
    const QDeadlineTimer deadline(10000);
    while (tcpSocket->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired())
        QTest::qWait(5);
    const int fd = acceptWithin(listener, 1000);
    closeFd(listener);
    if (fd < 0 || !activateWindow(window.get()))
        return false;
    measureLink(window.get(), fd, frames, QStringLiteral("loopback TCP"), true);
    closeFd(fd);
    return true;
}

bool measureSerial(int frames)
{
    resetProcessObjects();
    SocatPair cable;
    if (!cable.isReady()) {
        std::fprintf(stderr, "bench_wire: %s\n", cable.log.constData());
        return false;
    }
    std::unique_ptr<MainWindow> window(new MainWindow);
    if (!activateWindow(window.get()))
        return false;
    // "Pebble Player 2" offers 38400 baud; the pty end goes in as the operator's choice.
    chooseModel(window.get(), 0);
    auto *ports = findWidget<QComboBox>(window.get(), QStringLiteral("comboBox_Port"));
    ports->addItem(cable.panelEnd);
    ports->setCurrentIndex(ports->count() - 1);
    findWidget<QComboBox>(window.get(), QStringLiteral("comboBox_Baudrate"))
        ->setCurrentText(QStringLiteral("38400"));
    findWidget<QPushButton>(window.get(), QStringLiteral("pushButton_Connect"))->click();
    const int fd = openRawLine(QFile::encodeName(cable.playerEnd));
    if (!serialPort->isOpen() || serialPort->baudRate() != 38400 || fd < 0
        || !activateWindow(window.get()))
        return false;
    measureLink(window.get(), fd, frames, QStringLiteral("socat pty pair, 38400 baud"), false);
    closeFd(fd);
    return true;
}
} // namespace

int main(int argc, char *argv[])
{
    const int frames = argc == 2 ? QByteArray(argv[1]).toInt() : 10000;
    if (argc > 2 || frames <= 0) {
        std::fprintf(stderr, "usage: bench_wire [frames]\n");
        return 2;
    }
    prepareTestProcess();
    QApplication application(argc, argv);
    bool ok = measureTcp(frames);
    ok = measureSerial(frames) && ok;
    if (!ok)
        std::fprintf(stderr, "bench_wire: a link could not be set up\n");
    resetProcessObjects();
    return ok ? 0 : 1;
}
