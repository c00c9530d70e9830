// The received-data pane: the cost of one 64-byte chunk against the history
// already shown, through the real path (socket, read slot, formatter, append,
// scroll to the end), with the document laid out and the viewport painted.
// Usage: bench_pane ascii|hex|dec [--wide]
// --wide widens the window so that no ASCII line wraps.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMutex>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <thread>
#include <unistd.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "testsupport.h"

namespace {
using namespace bench;

constexpr int ChunkBytes = 64;
constexpr int LoneChunkGapMs = 25;
// History grows in steps of about this many characters. A text step lays out
// what it adds; a hex or decimal step lays out the whole paragraph again, so
// those take few big steps.
constexpr int TextHistoryStep = 500 * 1000;
constexpr int ParagraphHistoryStep = 3 * 1000 * 1000;
// A cell's history may grow by this much from its own samples before it is
// cleared and built again.
constexpr double HistorySlack = 1.2;
// A pane that has shown nothing new for this long has hung.
constexpr qint64 HangNs = 20LL * 1000 * 1000 * 1000;

struct Cell
{
    int history;  ///< characters received through the pane since the last Clear
    int samples;  ///< at most
    int budgetMs; ///< and at most this long, once three samples are in
};

const Cell Cells[] = {
    {10 * 1000, 200, 5000},
    {100 * 1000, 100, 5000},
    {1000 * 1000, 40, 8000},
    {10 * 1000 * 1000, 20, 10000},
};

/// Counts the viewport's paint events, so a sample ends only once painted.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

/// Reports a hang instead of waiting for ever: the panel's thread is stuck in
/// its own slot, so another thread writes the row and ends the process.
class HangWatch
{
public:
    HangWatch() : m_thread([this] { run(); }) {}
    ~HangWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    void startCell(const QString &condition, const QString &target)
    {
        QMutexLocker lock(&m_mutex);
        m_condition = condition;
        m_target = target;
        m_lastProgress = nowNs();
    }
    /// The pane showed something new: its text length and the document height.
    void progress(int characters, double height)
    {
        m_characters = characters;
        m_height = height;
        m_lastProgress = nowNs();
    }

private:
    void run()
    {
        while (!m_stop.load()) {
            ::usleep(100 * 1000);
            if (nowNs() - m_lastProgress.load() < HangNs)
                continue;
            QMutexLocker lock(&m_mutex);
            printRow({QStringLiteral("pane, 64-byte chunk"), m_condition, QStringLiteral("hung"),
                       QStringLiteral("nothing shown for %1 s after %2 MB, %3 Mpx high")
                           .arg(HangNs / 1000000000)
                           .arg(m_characters.load() / 1e6, 0, 'f', 2)
                           .arg(m_height.load() / 1e6, 0, 'f', 2),
                       QStringLiteral("0"),
                       m_target, QStringLiteral("miss")});
            std::fflush(stdout);
            ::_exit(0);
        }
    }

    QMutex m_mutex;
    QString m_condition;
    QString m_target;
    std::atomic<int> m_characters{0};
    std::atomic<double> m_height{0};
    std::atomic<qint64> m_lastProgress{nowNs()};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

class PaneBench
{
public:
    PaneBench(DataFormat format, bool wide) : m_format(format), m_wide(wide), m_traffic(format, 2024) {}
    bool start();
    void run();

private:
    bool feed(const QByteArray &chunk, bool painted);
    bool buildHistory(int characters);
    QString conditionFor(const Cell &cell) const;

    DataFormat m_format;
    bool m_wide;
    Traffic m_traffic;
    MainWindow m_window;
    QTextEdit *m_pane = nullptr;
    PaintCounter m_paints;
    QTcpServer m_server;
    QTcpSocket *m_player = nullptr;
    HangWatch m_hangWatch;
    /// Characters that went through the pane since the last Clear; the pane
    /// itself keeps only the latest of them, so its size cannot tell.
    int m_received = 0;
};

bool PaneBench::start()
{
    if (m_wide)
        m_window.resize(1800, m_window.height());
    m_window.show();
    if (!QTest::qWaitForWindowExposed(&m_window, 5000))
        return false;
    m_pane = findWidget<QTextEdit>(&m_window, QStringLiteral("textEdit_Data"));
    m_pane->viewport()->installEventFilter(&m_paints);
    if (!m_server.listen(QHostAddress(PlayerHost), 0))
        return false;
    startTcpConnect(&m_window, m_server.serverPort());
    if (!m_server.waitForNewConnection(5000))
        return false;
    m_player = m_server.nextPendingConnection();
    const QDeadlineTimer deadline(5000);
    while (tcpSocket->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired())
        QTest::qWait(5);
    const char *buttons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                             "radioButton_Data_Dec"};
    findWidget<QRadioButton>(&m_window, buttons[int(m_format)])->click();
    std::fprintf(stderr, "pane viewport %d x %d px\n", m_pane->viewport()->width(),
                 m_pane->viewport()->height());
    return tcpSocket->state() == QAbstractSocket::ConnectedState;
}

// Sends one chunk from the player and returns once the pane shows it: the read
// slot has run, the layout is complete and, when asked, the viewport painted.
bool PaneBench::feed(const QByteArray &chunk, bool painted)
{
    const QString text = formattedChunk(chunk, m_format);
    // The chunk has gone through once the text ends with it (a trim never takes
    // the latest characters).
    const QString tail = text.right(200);
    const int paintsBefore = m_paints.paints;
    if (m_player->write(chunk) != chunk.size())
        return false;
    m_player->flush();
    // The pane may come up to date a little after the received text; it is
    // read only after it changed, so the check costs little of the sample.
    const QString shown = QString(tail).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    bool changed = true;
    const QMetaObject::Connection watch = QObject::connect(
        m_pane->document(), &QTextDocument::contentsChanged, [&changed] { changed = true; });
    const auto caughtUp = [&] {
        if (!changed || !readDataText.endsWith(tail))
            return false;
        changed = false;
        return m_pane->toPlainText().endsWith(shown);
    };
    const QDeadlineTimer deadline(60000);
    while (!caughtUp()) {
        if (deadline.hasExpired()) {
            QObject::disconnect(watch);
            return false;
        }
        QCoreApplication::processEvents();
        if (m_player->bytesToWrite() > 0)
            m_player->flush();
    }
    QObject::disconnect(watch);
    // The pane lays out lazily, in steps between events; all of it is this chunk's cost.
    const double height = m_pane->document()->documentLayout()->documentSize().height();
    while (painted && m_paints.paints == paintsBefore) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
    }
    m_received += text.size();
    m_hangWatch.progress(m_received, height);
    return true;
}

bool PaneBench::buildHistory(int characters)
{
    if (m_received > characters * HistorySlack) {
        findWidget<QPushButton>(&m_window, QStringLiteral("pushButton_Clear"))->click();
        m_received = 0;
    }
    const int perByte = m_format == DataFormat::Text ? 1 : 3;
    while (m_received < characters) {
        const int step = m_format == DataFormat::Text ? TextHistoryStep : ParagraphHistoryStep;
        const int wanted = qMin(step, characters - m_received);
        if (!feed(m_traffic.next(wanted / perByte + 1), false))
            return false;
    }
    QCoreApplication::processEvents();
    return true;
}

QString PaneBench::conditionFor(const Cell &cell) const
{
    const QString size = cell.history >= 1000000
                             ? QStringLiteral("%1 MB").arg(cell.history / 1000000)
                             : QStringLiteral("%1 KB").arg(cell.history / 1000);
    return QStringLiteral("%1, %2 history%3")
        .arg(formatName(m_format), size,
             m_wide ? QStringLiteral(", wide window") : QString());
}

void PaneBench::run()
{
    // Text lays out only its last lines; hex and decimal their whole paragraph.
    const double targetMs = m_format == DataFormat::Text ? 2.0 : 4.0;
    const QString target = QStringLiteral("<= %1 ms median").arg(targetMs);
    for (const Cell &cell : Cells) {
        const QString condition = conditionFor(cell);
        m_hangWatch.startCell(condition, target);
        QVector<double> samples;
        const qint64 started = nowNs();
        bool failed = false;
        while (samples.size() < cell.samples
               && (samples.size() < 3 || nowNs() - started < cell.budgetMs * 1000000LL)) {
            if (m_received < cell.history || m_received > cell.history * HistorySlack) {
                if (!buildHistory(cell.history)) {
                    failed = true;
                    break;
                }
            }
            const QByteArray chunk = m_traffic.next(ChunkBytes);
            // A lone chunk: the pane takes one at once when its last update is
            // that long ago, and a stream on a timer.
            QTest::qWait(LoneChunkGapMs);
            const qint64 t0 = nowNs();
            if (!feed(chunk, true)) {
                failed = true;
                break;
            }
            samples.append((nowNs() - t0) / 1e6);
        }
        const Summary s = summarize(samples);
        printRow({QStringLiteral("pane, 64-byte chunk"), condition,
                   failed ? QStringLiteral("error") : formatMs(s.median),
                   QStringLiteral("p90 ") + formatMs(s.p90), QString::number(s.count),
                   target, failed ? QStringLiteral("error") : verdict(s.median, targetMs)});
        std::fprintf(stderr, "%s: %.1f s, peak RSS %s\n", qPrintable(condition),
                     (nowNs() - started) / 1e9, qPrintable(formatMib(statusKb("VmHWM"))));
        if (failed)
            return;
    }
    printRow({QStringLiteral("pane, peak RSS"),
               conditionFor(Cells[std::size(Cells) - 1]).replace(QStringLiteral("10 MB"),
                                                                  QStringLiteral("up to 10 MB")),
               formatMib(statusKb("VmHWM")), QStringLiteral("-"), QStringLiteral("1"),
               QStringLiteral("-"), QStringLiteral("report")});
}
} // namespace

int main(int argc, char *argv[])
{
    DataFormat format = DataFormat::Text;
    const bool wide = argc == 3 && QByteArray(argv[2]) == "--wide";
    if (argc < 2 || argc > 3 || (argc == 3 && !wide)
        || !parseFormat(QString::fromLocal8Bit(argv[1]), format)) {
        std::fprintf(stderr, "usage: bench_pane ascii|hex|dec [--wide]\n");
        return 2;
    }
    prepareTestProcess();
    QApplication application(argc, argv);
    auto *bench = new PaneBench(format, wide);
    if (!bench->start()) {
        std::fprintf(stderr, "bench_pane: the panel did not connect to the loopback player\n");
        return 1;
    }
    bench->run();
    // Tearing down a document of millions of characters only costs time here.
    std::fflush(stdout);
    ::_exit(0);
}
