// quorvex-player-sim run as a child process, with the test playing the panel:
// over TCP on a free loopback port, over a socat pty pair, under abuse, and
// as a Unix tool (exit statuses, signals).

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

namespace {

constexpr int StartTimeoutMs = 10000;
constexpr int ReplyTimeoutMs = 10000;
constexpr int FloodTimeoutMs = 60000;
// Every child also ends by itself, should a failed test leave it behind.
const QStringList SafetyNet = {QStringLiteral("--exit-after"), QStringLiteral("120")};

QByteArray bytesFromHex(const char *hex)
{
    return QByteArray::fromHex(hex);
}

/// The simulator as a child process whose standard output is collected as it comes.
class SimProcess
{
public:
    SimProcess()
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process,
                         [this] { out += QString::fromLocal8Bit(process.readAllStandardOutput()); });
    }

    ~SimProcess()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    void start(const QStringList &arguments)
    {
        process.start(QStringLiteral(SIM_PATH), arguments + SafetyNet);
    }

    /// Starts on 127.0.0.1 port 0 and returns the port the simulator reports, or 0.
    quint16 startTcp(const QStringList &arguments)
    {
        start(QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} + arguments);
        const QRegularExpression ready(QStringLiteral("^listening on 127\\.0\\.0\\.1:(\\d+)$"),
                                       QRegularExpression::MultilineOption);
        if (!waitForLog(ready))
            return 0;
        return quint16(ready.match(out).captured(1).toUInt());
    }

    bool waitForLog(const QRegularExpression &pattern, int timeoutMs = ReplyTimeoutMs)
    {
        return QTest::qWaitFor([&] { return pattern.match(out).hasMatch(); }, timeoutMs);
    }

    bool waitForLog(const QString &text, int timeoutMs = ReplyTimeoutMs)
    {
        return QTest::qWaitFor([&] { return out.contains(text); }, timeoutMs);
    }

    QProcess process;
    QString out;
};

/// Reads from `device` until `lines` whole lines have come, or the time is up.
QString readLines(QIODevice &device, int lines, int timeoutMs = ReplyTimeoutMs)
{
    QByteArray received;
    // A short read shows in the caller's comparison, with what did come.
    static_cast<void>(QTest::qWaitFor(
        [&] {
            received += device.readAll();
            return received.count('\n') >= lines;
        },
        timeoutMs));
    return QString::fromLatin1(received);
}

bool connectTo(QTcpSocket &socket, quint16 port)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
    return socket.waitForConnected(StartTimeoutMs);
}

} // namespace

class SimProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void tcpSession();
    void clientsDecodeSeparately();
    void survivesFloodsAndVanishingClients();
    void serialOverPtyPair();
    void exitStatus_data();
    void exitStatus();
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
};

void SimProcessTest::tcpSession()
{
    SimProcess sim;
    const quint16 port = sim.startTcp({QStringLiteral("--id"), QStringLiteral("5")});
    QVERIFY2(port != 0, qPrintable(sim.out));
    QTcpSocket panel;
    QVERIFY(connectTo(panel, port));

    // Folder 300, volume 20, status, remaining time asked of ID 0, a frame for ID 7.
    panel.write(bytesFromHex("85212C 850314 850401 800409 870201"));
    const QString replies = readLines(panel, 2);
    QVERIFY2(QRegularExpression(QStringLiteral("^ID 5 STATUS PLAYING\nID 5 REMAINING 0\\d:\\d\\d\n$"))
                 .match(replies)
                 .hasMatch(),
             qPrintable(replies));

    QVERIFY(sim.waitForLog(QStringLiteral("85 21 2C  ID 5 folder 300 -> playing folder 300")));
    QVERIFY(sim.waitForLog(QStringLiteral("85 03 14  ID 5 volume 20 -> volume 20")));
    QVERIFY(sim.waitForLog(QStringLiteral("80 04 09  ID 0 request Remaining time -> reply")));
    QVERIFY(sim.waitForLog(QStringLiteral("87 02 01  ID 7 play -> ignored")));
    // Time first, then the link: "12:34:56.789 tcp 1  85 21 2C ..."
    QVERIFY(sim.waitForLog(QRegularExpression(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d tcp 1  85 03 14  "),
        QRegularExpression::MultilineOption)));
}

void SimProcessTest::clientsDecodeSeparately()
{
    SimProcess sim;
    const quint16 port = sim.startTcp({QStringLiteral("--id"), QStringLiteral("5")});
    QVERIFY2(port != 0, qPrintable(sim.out));
    QTcpSocket first;
    QTcpSocket second;
    QVERIFY(connectTo(first, port));
    QVERIFY(connectTo(second, port));

    // The first client's frame is cut in two around a whole frame from the
    // second; the stray byte in front tells when the first half has arrived.
    first.write(bytesFromHex("01 8521"));
    QVERIFY(sim.waitForLog(QStringLiteral("tcp 1  skipped 1 byte: 01")));
    second.write(bytesFromHex("850401"));
    QCOMPARE(readLines(second, 1), QStringLiteral("ID 5 STATUS STOPPED\n"));
    first.write(bytesFromHex("2C"));
    QVERIFY(sim.waitForLog(QStringLiteral("tcp 1  85 21 2C  ID 5 folder 300")));

    // Each reply goes to the client that asked, and to no other.
    first.write(bytesFromHex("850401"));
    QCOMPARE(readLines(first, 1), QStringLiteral("ID 5 STATUS PLAYING\n"));
    second.write(bytesFromHex("850406"));
    QCOMPARE(readLines(second, 1), QStringLiteral("ID 5 FOLDER 300\n"));
}

void SimProcessTest::survivesFloodsAndVanishingClients()
{
    SimProcess sim;
    const quint16 port = sim.startTcp({QStringLiteral("--id"), QStringLiteral("5")});
    QVERIFY2(port != 0, qPrintable(sim.out));

    for (int i = 0; i < 6; ++i) {
        QTcpSocket vanishing;
        QVERIFY(connectTo(vanishing, port));
        if (i % 2 == 0) {
            vanishing.abort();
            continue;
        }
        // Half a frame, then an orderly close, so the half surely arrives first.
        vanishing.write(bytesFromHex("8521"));
        QVERIFY(vanishing.waitForBytesWritten(StartTimeoutMs));
        vanishing.disconnectFromHost();
    }
    QVERIFY(sim.waitForLog(QStringLiteral("tcp 5  disconnected")));
    QVERIFY(sim.waitForLog(QStringLiteral("tcp 6  disconnected, unfinished frame 85 21 dropped")));

    QByteArray garbage(1024 * 1024, '\0');
    QRandomGenerator random(7);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    {
        QTcpSocket flood;
        QVERIFY(connectTo(flood, port));
        flood.write(garbage);
        QVERIFY(QTest::qWaitFor([&] { return flood.bytesToWrite() == 0; }, FloodTimeoutMs));
        flood.disconnectFromHost();
    }

    // The flood may have changed the player's ID; ID 0 reaches it whatever it is.
    QTcpSocket next;
    QVERIFY(connectTo(next, port));
    next.write(bytesFromHex("800401"));
    const QString reply = readLines(next, 1, FloodTimeoutMs);
    QVERIFY2(QRegularExpression(QStringLiteral("^ID \\d+ STATUS (PLAYING|PAUSED|STOPPED)\n$"))
                 .match(reply)
                 .hasMatch(),
             qPrintable(reply));
    QCOMPARE(sim.process.state(), QProcess::Running);
    QVERIFY(sim.waitForLog(QStringLiteral("(no address byte)")));
    QVERIFY(sim.waitForLog(QStringLiteral("(frame cut short)")));
    // The log keeps up by leaving lines out, never by leaving frames unhandled.
    QVERIFY(sim.waitForLog(QStringLiteral("lines not logged: more than 500 a second")));
}

void SimProcessTest::serialOverPtyPair()
{
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty())
        QSKIP("socat is not installed (tools/install-deps.sh installs it)");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString simEnd = dir.filePath(QStringLiteral("sim"));
    const QString panelEnd = dir.filePath(QStringLiteral("panel"));

    QProcess pair;
    pair.start(socat, {QStringLiteral("-d"), QStringLiteral("-d"),
                       QStringLiteral("pty,raw,echo=0,link=") + simEnd,
                       QStringLiteral("pty,raw,echo=0,link=") + panelEnd});
    QVERIFY(QTest::qWaitFor(
        [&] { return QFileInfo::exists(simEnd) && QFileInfo::exists(panelEnd); }, StartTimeoutMs));

    {
        SimProcess sim;
        sim.start({QStringLiteral("--serial"), simEnd, QStringLiteral("--baud"),
                   QStringLiteral("19200"), QStringLiteral("--model"), QStringLiteral("KS10 - KS15"),
                   QStringLiteral("--id"), QStringLiteral("3")});
        QVERIFY2(sim.waitForLog(QStringLiteral("at 19200 baud, 8N1")), qPrintable(sim.out));

        QSerialPort panel;
        panel.setPortName(panelEnd);
        QVERIFY2(panel.open(QIODevice::ReadWrite), qPrintable(panel.errorString()));
        QVERIFY(panel.setBaudRate(19200));
        // Garbage, folder 7, then the folder number and the volume.
        panel.write(bytesFromHex("7F 830107 830406 83040B"));
        QCOMPARE(readLines(panel, 2), QStringLiteral("ID 3 FOLDER 007\nID 3 VOLUME 31\n"));
        QVERIFY(sim.waitForLog(QStringLiteral("serial  skipped 1 byte: 7F")));
        QVERIFY(sim.waitForLog(QStringLiteral("serial  83 01 07  ID 3 folder 007 -> playing")));

        // The pair gone, the line is given up rather than polled forever.
        panel.close();
        pair.kill();
        QVERIFY(pair.waitForFinished(StartTimeoutMs));
        QVERIFY(QTest::qWaitFor([&] { return sim.process.state() == QProcess::NotRunning; },
                                StartTimeoutMs));
        QCOMPARE(sim.process.exitCode(), 1);
        QVERIFY(sim.process.readAllStandardError().contains("serial device " + simEnd.toLocal8Bit()
                                                            + " lost"));
    }
}

void SimProcessTest::exitStatus_data()
{
    QTest::addColumn<QStringList>("arguments"); // "%busy" stands for a port in use
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("stdoutPart");
    QTest::addColumn<QString>("stderrPart");

    QTest::newRow("exit after") << QStringList{"--listen", "127.0.0.1:0", "--exit-after", "0.2"} << 0
                                << "stopping: --exit-after" << "";
    QTest::newRow("quiet keeps the ready line")
        << QStringList{"--listen", "127.0.0.1:0", "--exit-after", "0.2", "--quiet"} << 0
        << "listening on 127.0.0.1:" << "";
    QTest::newRow("bad option") << QStringList{"--id", "0"} << 2 << "" << "--id wants a number";
    QTest::newRow("port in use") << QStringList{"--listen", "127.0.0.1:%busy"} << 1 << ""
                                 << "cannot listen on 127.0.0.1:";
    QTest::newRow("no such serial device") << QStringList{"--serial", "/nonexistent/ttyQ0"} << 1
                                           << "" << "cannot open serial device /nonexistent/ttyQ0";
}

void SimProcessTest::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, stdoutPart);
    QFETCH(QString, stderrPart);

    QTcpServer busy;
    QVERIFY(busy.listen(QHostAddress::LocalHost));
    arguments.replaceInStrings(QStringLiteral("%busy"), QString::number(busy.serverPort()));

    QProcess sim;
    sim.start(QStringLiteral(SIM_PATH), arguments);
    QVERIFY(sim.waitForFinished(StartTimeoutMs));
    const QString out = QString::fromLocal8Bit(sim.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(sim.readAllStandardError());
    QCOMPARE(sim.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.exitCode(), exitCode);
    QVERIFY2(out.contains(stdoutPart), qPrintable(out));
    QVERIFY2(err.contains(stderrPart), qPrintable(err));
    if (arguments.contains(QStringLiteral("--quiet")))
        QVERIFY2(!out.contains(QLatin1String("stopping")), qPrintable(out));
}

void SimProcessTest::stopsCleanlyOnSignal_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<QString>("name");
#ifdef Q_OS_UNIX
    QTest::newRow("SIGTERM") << int(SIGTERM) << "SIGTERM";
    QTest::newRow("SIGINT") << int(SIGINT) << "SIGINT";
#endif
}

void SimProcessTest::stopsCleanlyOnSignal()
{
#ifdef Q_OS_UNIX
    QFETCH(int, signalNumber);
    QFETCH(QString, name);

    SimProcess sim;
    const quint16 port = sim.startTcp({});
    QVERIFY2(port != 0, qPrintable(sim.out));
    QTcpSocket client;
    QVERIFY(connectTo(client, port));
    QVERIFY(sim.waitForLog(QStringLiteral("tcp 1  connected")));

    QCOMPARE(::kill(pid_t(sim.process.processId()), signalNumber), 0);
    QVERIFY(QTest::qWaitFor([&] { return sim.process.state() == QProcess::NotRunning; },
                            StartTimeoutMs));
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), 0);
    QVERIFY2(sim.out.contains(QStringLiteral("stopping: ") + name), qPrintable(sim.out));
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, StartTimeoutMs);
#else
    QSKIP("POSIX signals only");
#endif
}

QTEST_GUILESS_MAIN(SimProcessTest)
#include "tst_sim_process.moc"
