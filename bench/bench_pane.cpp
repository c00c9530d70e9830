// The received-data pane: the cost of one 64-byte chunk against the history
// already shown, through the real path (socket, read slot, formatter, append,
// scroll to the end), with the document laid out and the viewport painted.
// Usage: bench_pane ascii|hex|dec

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "benchsupport.h"
#include "testsupport.h"

namespace {
using namespace bench;

constexpr int ChunkBytes = 64;
// Big enough to build 10 MB in a few dozen reads, small enough that the
// loopback buffers take it at once.
constexpr int HistoryChunkBytes = 128 * 1024;
// A cell's history may grow by this much from its own samples before it is
// cleared and built again.
constexpr double HistorySlack = 1.2;

struct Cell
{
    int history;  ///< characters in the pane
    int samples;  ///< at most
    int budgetMs; ///< and at most this long, once a few samples are in
};

const Cell Cells[] = {
    {10 * 1000, 200, 20000},
    {100 * 1000, 200, 20000},
    {1000 * 1000, 60, 20000},
    {10 * 1000 * 1000, 20, 25000},
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

class PaneBench
{
public:
    explicit PaneBench(DataFormat format) : m_format(format), m_traffic(format, 2024) {}
    bool start();
    void run();

private:
    bool feed(const QByteArray &chunk, bool painted);
    bool buildHistory(int characters);

    DataFormat m_format;
    Traffic m_traffic;
    MainWindow m_window;
    QTextEdit *m_pane = nullptr;
    PaintCounter m_paints;
    QTcpServer m_server;
    QTcpSocket *m_player = nullptr;
};

bool PaneBench::start()
{
    m_window.show();
    if (!QTest::qWaitForWindowExposed(&m_window, 5000))
        return false;
    m_pane = find_Widget<QTextEdit>(&m_window, QStringLiteral("textEdit_Data"));
    m_pane->viewport()->installEventFilter(&m_paints);
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        return false;
    start_TCP_Connect(&m_window, m_server.serverPort());
    if (!m_server.waitForNewConnection(5000))
        return false;
    m_player = m_server.nextPendingConnection();
    const QDeadlineTimer deadline(5000);
    while (tcpSocket->state() != QAbstractSocket::ConnectedState && !deadline.hasExpired())
        QTest::qWait(5);
    const char *buttons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                             "radioButton_Data_Dec"};
    find_Widget<QRadioButton>(&m_window, buttons[int(m_format)])->click();
    return tcpSocket->state() == QAbstractSocket::ConnectedState;
}

// Sends one chunk from the player and returns once the pane shows it: the read
// slot has run, the layout is complete and, when asked, the viewport painted.
bool PaneBench::feed(const QByteArray &chunk, bool painted)
{
    const int expected = readDataText.size() + text_Growth(chunk, m_format);
    const int paintsBefore = m_paints.paints;
    if (m_player->write(chunk) != chunk.size())
        return false;
    m_player->flush();
    const QDeadlineTimer deadline(60000);
    while (readDataText.size() < expected) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
        if (m_player->bytesToWrite() > 0)
            m_player->flush();
    }
    // The pane lays out lazily, in steps between events; all of it is this chunk's cost.
    m_pane->document()->documentLayout()->documentSize();
    while (painted && m_paints.paints == paintsBefore) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

bool PaneBench::buildHistory(int characters)
{
    if (readDataText.size() > characters * HistorySlack)
        find_Widget<QPushButton>(&m_window, QStringLiteral("pushButton_Clear"))->click();
    while (readDataText.size() < characters) {
        const int perByte = m_format == DataFormat::Text ? 1 : 3;
        const int bytes = qMin(HistoryChunkBytes, (characters - readDataText.size()) / perByte + 1);
        const qint64 t0 = now_Ns();
        if (!feed(m_traffic.next(bytes), false))
            return false;
        if (qEnvironmentVariableIsSet("BENCH_TRACE"))
            std::fprintf(stderr, "build %d: %.1f ms height %.0f blocks %d width %d\n", int(readDataText.size()), (now_Ns() - t0) / 1e6, m_pane->document()->documentLayout()->documentSize().height(), m_pane->document()->blockCount(), m_pane->viewport()->width());
    }
    QCoreApplication::processEvents();
    return true;
}

void PaneBench::run()
{
    const QString name = format_Name(m_format);
    for (const Cell &cell : Cells) {
        const QString size = cell.history >= 1000000
                                 ? QStringLiteral("%1 MB").arg(cell.history / 1000000)
                                 : QStringLiteral("%1 KB").arg(cell.history / 1000);
        const QString condition = QStringLiteral("%1, %2 history").arg(name, size);
        QVector<double> samples;
        const qint64 started = now_Ns();
        bool failed = false;
        while (samples.size() < cell.samples
               && (samples.size() < 5 || now_Ns() - started < cell.budgetMs * 1000000LL)) {
            if (readDataText.size() < cell.history
                || readDataText.size() > cell.history * HistorySlack) {
                if (!buildHistory(cell.history)) {
                    failed = true;
                    break;
                }
            }
            const QByteArray chunk = m_traffic.next(ChunkBytes);
            const qint64 t0 = now_Ns();
            if (!feed(chunk, true)) {
                failed = true;
                break;
            }
            samples.append((now_Ns() - t0) / 1e6);
            if (qEnvironmentVariableIsSet("BENCH_TRACE"))
                std::fprintf(stderr, "sample %d: %.2f ms\n", int(readDataText.size()), samples.last());
        }
        const Summary s = summarize(samples);
        const bool targeted = m_format == DataFormat::Text;
        print_Row({QStringLiteral("pane, 64-byte chunk"), condition,
                   failed ? QStringLiteral("error") : format_Ms(s.median),
                   QStringLiteral("p90 ") + format_Ms(s.p90), QString::number(s.count),
                   targeted ? QStringLiteral("<= 2 ms median") : QStringLiteral("-"),
                   failed ? QStringLiteral("error")
                   : targeted ? verdict(s.median, 2.0)
                              : QStringLiteral("report")});
        std::fprintf(stderr, "%s: %.1f s, peak RSS %s\n", qPrintable(condition), (now_Ns() - started) / 1e9,
                     qPrintable(format_Mib(status_Kb("VmHWM"))));
        if (failed)
            return;
    }
    print_Row({QStringLiteral("pane, peak RSS"), name + QStringLiteral(", up to 10 MB history"),
               format_Mib(status_Kb("VmHWM")), QStringLiteral("-"), QStringLiteral("1"),
               QStringLiteral("-"), QStringLiteral("report")});
}
} // namespace

int main(int argc, char *argv[])
{
    DataFormat format = DataFormat::Text;
    if (argc != 2 || !parse_Format(QString::fromLocal8Bit(argv[1]), format)) {
        std::fprintf(stderr, "usage: bench_pane ascii|hex|dec\n");
        return 2;
    }
    prepare_Test_Process();
    QApplication application(argc, argv);
    auto *bench = new PaneBench(format);
    if (!bench->start()) {
        std::fprintf(stderr, "bench_pane: the panel did not connect to the loopback player\n");
        return 1;
    }
    bench->run();
    // Tearing down a document of millions of characters only costs time here.
    std::fflush(stdout);
    ::_exit(0);
}
