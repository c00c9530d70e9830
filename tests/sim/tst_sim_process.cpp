// quorvex-player-sim run as a child process, with the test playing the panel:
// over TCP on a free loopback port, over a socat pty pair, under abuse, and
// as a Unix tool (exit statuses, signals).

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

constexpr int TimeoutMs = 10000;
constexpr int FloodTimeoutMs = 60000;

/// The simulator as a child process, its standard output collected while
/// waiting; every child also ends by itself, should a failed test leave it behind.
struct SimProcess
{
    ~SimProcess()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    void start(const QStringList &arguments)
    {
        process.start(QStringLiteral(SIM_PATH), arguments + QStringList{"--exit-after", "120"});
    }
    bool waitForLog(const QString &text)
    {
        return QTest::qWaitFor([&] {
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
            return out.contains(text);
        }, TimeoutMs);
    }
    /// Starts on 127.0.0.1 port 0 as ID 5; the port the simulator reports, or 0.
    quint16 startTcp()
    {
        start({"--listen", "127.0.0.1:0", "--id", "5"});
        // The player's line comes after the address's, so the port is whole then.
        if (!waitForLog("(and ID 0)"))
            return 0;
        return out.section("listening on 127.0.0.1:", 1).section('\n', 0, 0).toUShort();
    }

    QProcess process;
    QString out;
};

/// Reads from `device` until `lines` whole lines have come, or the time is up;
/// a short read shows in the caller's comparison.
QString readLines(QIODevice &device, int lines, int timeoutMs = TimeoutMs)
{
    QByteArray received;
    static_cast<void>(QTest::qWaitFor(
        [&] { return (received += device.readAll()).count('\n') >= lines; }, timeoutMs));
    return QString::fromLatin1(received);
}

bool connectTo(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(TimeoutMs);
}

} // namespace

class SimProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void tcpSessionWithTwoClients();
    void survivesFloodsAndVanishingClients();
    void serialOverPtyPair();
    void exitStatus();
    void stopsCleanlyOnSignal();
};

void SimProcessTest::tcpSessionWithTwoClients()
{
    SimProcess sim;
    const quint16 port = sim.startTcp();
    QVERIFY2(port != 0, qPrintable(sim.out));
    QTcpSocket first;
    QTcpSocket second;
    QVERIFY(connectTo(first, port));
    QVERIFY(connectTo(second, port));

    // The first client's folder 300 is cut in two around a whole frame from the
    // second; the stray byte in front tells when the first half has arrived.
    first.write(QByteArray::fromHex("01 8521"));
    QVERIFY(sim.waitForLog("tcp 1  skipped 1 byte: 01"));
    second.write(QByteArray::fromHex("850401"));
    QCOMPARE(readLines(second, 1), QStringLiteral("ID 5 STATUS STOPPED\n"));
    first.write(QByteArray::fromHex("2C"));
    QVERIFY(sim.waitForLog("tcp 1  85 21 2C  ID 5 folder 300 -> playing folder 300"));

    // Each reply goes to the client that asked, and to no other. Volume 20,
    // status, remaining time asked of ID 0, a frame for ID 7.
    first.write(QByteArray::fromHex("850314 850401 800409 870201"));
    const QString replies = readLines(first, 2);
    const QRegularExpression expected("^ID 5 STATUS PLAYING\nID 5 REMAINING \\d\\d:\\d\\d\n$");
    QVERIFY2(expected.match(replies).hasMatch(), qPrintable(replies));
    QVERIFY(sim.waitForLog("87 02 01  ID 7 play -> ignored"));
    second.write(QByteArray::fromHex("850406 85040B"));
    QCOMPARE(readLines(second, 2), QStringLiteral("ID 5 FOLDER 300\nID 5 VOLUME 20\n"));
}

void SimProcessTest::survivesFloodsAndVanishingClients()
{
    SimProcess sim;
    const quint16 port = sim.startTcp();
    QVERIFY2(port != 0, qPrintable(sim.out));
    {
        // Half a frame, then an orderly close, so the half surely arrives first.
        QTcpSocket halfFrame;
        QVERIFY(connectTo(halfFrame, port));
        halfFrame.write(QByteArray::fromHex("8521"));
        QVERIFY(halfFrame.waitForBytesWritten(TimeoutMs));
        halfFrame.disconnectFromHost();
        QVERIFY(sim.waitForLog("tcp 1  disconnected, unfinished frame 85 21 dropped"));

        QByteArray garbage(1024 * 1024, '\0');
        QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(garbage.data()),
                                      garbage.size() / 4);
        QTcpSocket flood;
        QVERIFY(connectTo(flood, port));
        flood.write(garbage);
        QVERIFY(QTest::qWaitFor([&] { return flood.bytesToWrite() == 0; }, FloodTimeoutMs));
    }
    // The flood may have changed the player's ID; ID 0 reaches it whatever it is.
    QTcpSocket next;
    QVERIFY(connectTo(next, port));
    next.write(QByteArray::fromHex("800401"));
    const QString reply = readLines(next, 1, FloodTimeoutMs);
    QVERIFY2(QRegularExpression("^ID \\d+ STATUS [A-Z]+\n$").match(reply).hasMatch(),
             qPrintable(reply));
    // The log keeps up by leaving lines out, never by leaving frames unhandled.
    QVERIFY(sim.waitForLog("lines not logged: more than 500 a second"));
}

void SimProcessTest::serialOverPtyPair()
{
    QTemporaryDir dir;
    const QString simEnd = dir.filePath("sim");
    const QString panelEnd = dir.filePath("panel");
    QProcess pair;
    pair.start("socat", {"pty,raw,echo=0,link=" + simEnd, "pty,raw,echo=0,link=" + panelEnd});
    QVERIFY(QTest::qWaitFor(
        [&] { return QFileInfo::exists(simEnd) && QFileInfo::exists(panelEnd); }, TimeoutMs));

    SimProcess sim;
    sim.start({"--serial", simEnd, "--baud", "19200", "--model", "KS10 - KS15", "--id", "3"});
    QVERIFY2(sim.waitForLog("at 19200 baud, 8N1"), qPrintable(sim.out));
    QSerialPort panel(panelEnd);
    QVERIFY2(panel.open(QIODevice::ReadWrite), qPrintable(panel.errorString()));
    // Garbage, folder 7, then the folder number and the volume.
    panel.write(QByteArray::fromHex("7F 830107 830406 83040B"));
    QCOMPARE(readLines(panel, 2), QStringLiteral("ID 3 FOLDER 007\nID 3 VOLUME 31\n"));

    // The pair gone, the line is given up rather than polled forever.
    panel.close();
    pair.kill();
    QVERIFY(pair.waitForFinished(TimeoutMs));
    QVERIFY(sim.process.waitForFinished(TimeoutMs));
    QCOMPARE(sim.process.exitCode(), 1);
    QVERIFY(sim.process.readAllStandardError().contains("serial device " + simEnd.toLocal8Bit()
                                                        + " lost"));
}

void SimProcessTest::exitStatus()
{
    QTcpServer busy;
    QVERIFY(busy.listen(QHostAddress::LocalHost));
    // What the simulator says on standard output when it ends well, else on
    // standard error.
    const struct
    {
        QStringList arguments;
        int exitCode;
        const char *says;
    } cases[] = {
        {{"--listen", "127.0.0.1:0", "--exit-after", "0.2"}, 0, "stopping: --exit-after"},
        {{"--id", "0"}, 2, "--id wants a number"},
        {{"--listen", "127.0.0.1:" + QString::number(busy.serverPort())}, 1, "cannot listen on"},
        {{"--serial", "/nonexistent/ttyQ0"}, 1, "cannot open serial device /nonexistent/ttyQ0"},
    };
    for (const auto &c : cases) {
        QProcess sim;
        sim.start(SIM_PATH, c.arguments);
        QVERIFY(sim.waitForFinished(TimeoutMs));
        QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.exitCode(), c.exitCode);
        const QString said = c.exitCode ? sim.readAllStandardError() : sim.readAllStandardOutput();
        QVERIFY2(said.contains(c.says), qPrintable(said));
    }
}

void SimProcessTest::stopsCleanlyOnSignal()
{
    for (const int signalNumber : {SIGTERM, SIGINT}) {
        SimProcess sim;
        const quint16 port = sim.startTcp();
        QVERIFY2(port != 0, qPrintable(sim.out));
        QTcpSocket client;
        QVERIFY(connectTo(client, port));
        QVERIFY(sim.waitForLog("tcp 1  connected"));

        QCOMPARE(::kill(pid_t(sim.process.processId()), signalNumber), 0);
        QVERIFY(sim.process.waitForFinished(TimeoutMs));
        QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(sim.waitForLog(signalNumber == SIGTERM ? "stopping: SIGTERM" : "stopping: SIGINT"));
        QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, TimeoutMs);
    }
}

QTEST_GUILESS_MAIN(SimProcessTest)
#include "tst_sim_process.moc"
