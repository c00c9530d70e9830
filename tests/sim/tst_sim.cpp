// The simulated player: its state machine, replies and command line driven
// with a clock the test controls (its frame decoder has a fuzz target), then
// the program run as a child process with the test playing the panel, over TCP
// on a free loopback port and a socat pty pair, under abuse, and as a Unix tool.

#include <QtNetwork>
#include <QtSerialPort>
#include <QtTest>

#include <csignal>

#include "protocol/catalogue.h"
#include "sim/options.h"
#include "sim/player.h"
#include "sim/reply.h"
#include "socat_pair.h"

class SimTest : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void options_data();
    void options();

    void tcpSession();
    void serialOverPtyPair();
    void exitStatus_data();
    void exitStatus();
};

void SimTest::frames_data()
{
    QTest::addColumn<int>("model"); // index in the catalogue
    // Steps "MS HEX" separated by ";": the clock in milliseconds and a frame.
    QTest::addColumn<QString>("script");
    // At the last step's time: transport, folder/file, volume, ID, elapsed
    // seconds; then the reply to the last frame, if any.
    QTest::addColumn<QString>("outcome");
    const auto row = [](const char *name, int model, const char *script, const char *outcome) {
        QTest::newRow(name) << model << QString(script) << QString(outcome);
    };
    const int pebble = 0, larch = 2, ks10 = 3, tcp = 4;

    // Folder banks and volume limits follow the model.
    row("folder 999, last bank", pebble, "0 857167", "playing 999/1 vol 64 id 5 at 0");
    row("no folder 1000", pebble, "0 857168", "stopped 0/1 vol 64 id 5 at 0");
    row("folder 200 beyond one bank", larch, "0 851148", "stopped 0/1 vol 64 id 5 at 0");
    row("folder 256 beyond two banks", ks10, "0 852100", "stopped 0/1 vol 31 id 5 at 0");
    row("volume above the highest", tcp, "0 850314; 0 850340", "stopped 0/1 vol 31 id 5 at 0");
    row("volume 63 of 64", pebble, "0 85033F", "stopped 0/1 vol 63 id 5 at 0");

    // Change ID, and what the model lacks.
    row("new ID obeyed", tcp, "0 857F09; 0 890201", "playing 0/1 vol 31 id 9 at 0");
    row("old ID ignored", tcp, "0 857F09; 0 850201", "stopped 0/1 vol 31 id 9 at 0");
    row("ID 0 reaches every player", tcp, "0 800201", "playing 0/1 vol 31 id 5 at 0");
    row("no change to ID 0", tcp, "0 857F00", "stopped 0/1 vol 31 id 5 at 0");
    row("no request on the short table", larch, "0 850401", "stopped 0/1 vol 64 id 5 at 0");

    // Transport and the clock. Folder 0 holds three files of 113, 166 and 219 s.
    row("pause holds the position", tcp, "0 850201; 5000 850205; 9000 850409",
        "paused 0/1 vol 31 id 5 at 5: ID 5 REMAINING 01:48");
    row("second pause resumes", tcp, "0 850201; 5000 850205; 9000 850205; 10000 850401",
        "playing 0/1 vol 31 id 5 at 6: ID 5 STATUS PLAYING");
    row("stop rewinds", tcp, "0 850201; 5000 850202; 9000 850201; 10000 85040A",
        "playing 0/1 vol 31 id 5 at 1: ID 5 TOTAL 01:53");
    row("stop rewinds a pause", tcp, "0 850201; 5000 850205; 6000 850202; 9000 850201; 10000 850401",
        "playing 0/1 vol 31 id 5 at 1: ID 5 STATUS PLAYING");
    row("previous file wraps", tcp, "0 850204; 0 850403",
        "stopped 0/3 vol 31 id 5 at 0: ID 5 PATH /000/003.MP3");
    row("next folder wraps", tcp, "0 857167; 0 850206", "playing 0/1 vol 31 id 5 at 0");
    row("the clock moves files on", tcp, "0 850201; 120000 850402",
        "playing 0/2 vol 31 id 5 at 7: ID 5 FILE 002.MP3");
    row("stopped after the last file", tcp, "0 850201; 500000 850401",
        "stopped 0/1 vol 31 id 5 at 0: ID 5 STATUS STOPPED");
    row("storage media", tcp, "0 850404", "stopped 0/1 vol 31 id 5 at 0: ID 5 MEDIA SD");
    row("no reply to an unknown item", tcp, "0 85040C", "stopped 0/1 vol 31 id 5 at 0");
}

void SimTest::frames()
{
    QFETCH(int, model);
    QFETCH(QString, script);
    QList<PlayerModel> models;
    appendModelCatalogue(models);
    SimulatedPlayer player(models.at(model), 5);
    FrameOutcome outcome;
    qint64 now = 0;
    for (const QString &step : script.split(';')) {
        const QStringList fields = step.trimmed().split(' ');
        now = fields.at(0).toLongLong();
        const QByteArray bytes = QByteArray::fromHex(fields.at(1).toLatin1());
        outcome = player.apply(Frame{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}, now);
    }
    const PlayerSnapshot s = player.snapshot(now);
    const QString reply = QString::fromLatin1(outcome.reply).trimmed();
    QTEST(QStringLiteral("%1 %2/%3 vol %4 id %5 at %6")
                  .arg(statusWord(s.transport).toLower()).arg(s.folder).arg(s.file)
                  .arg(s.volume).arg(s.id).arg(s.elapsedMs / 1000)
              + (reply.isEmpty() ? QString() : ": " + reply),
          "outcome");
}

void SimTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the options read, or a piece of the error text
    const auto row = [](const char *name, const QStringList &arguments, const char *expected) {
        QTest::newRow(name) << arguments << QString(expected);
    };
    row("defaults", {}, "tcp=1 127.0.0.1:65079 serial=@19200 KS15 - TCP/IP id=1 exit=0 quiet=0");
    row("free port, id, quiet, bound",
        {"--listen", "127.0.0.1:0", "--id", "127", "-q", "--exit-after", "0.5"},
        "tcp=1 127.0.0.1:0 serial=@19200 KS15 - TCP/IP id=127 exit=500 quiet=1");
    row("serial alone, model in any case, its speed",
        {"--serial", "/dev/ttyS0", "--model", "larch player"},
        "tcp=0 127.0.0.1:65079 serial=/dev/ttyS0@9600 Larch Player id=1 exit=0 quiet=0");
    row("serial and TCP", {"--serial", "/dev/ttyS0", "--baud", "38400", "--listen", "localhost:7000"},
        "tcp=1 127.0.0.1:7000 serial=/dev/ttyS0@38400 KS15 - TCP/IP id=1 exit=0 quiet=0");

    row("unknown model", {"--model", "Quince"}, "unknown model");
    row("speed the model lacks", {"--serial", "x", "--baud", "9600", "--model", "KS10 - KS15"},
        "runs at 19200 baud only");
    row("port too big", {"--listen", "127.0.0.1:65536"}, "--listen wants HOST:PORT");
    row("stray argument", {"now"}, "unexpected argument \"now\"");
}

void SimTest::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const ParsedOptions parsed = parseOptions(QStringList{"quorvex-player-sim"} + arguments);
    const SimOptions &o = parsed.options;
    const QString read = !parsed.error.isEmpty()
        ? parsed.error
        : QStringLiteral("tcp=%1 %2:%3 serial=%4@%5 %6 id=%7 exit=%8 quiet=%9")
              .arg(o.listenTcp).arg(o.listenAddress.toString()).arg(o.listenPort)
              .arg(o.serialDevice).arg(o.baudRate).arg(o.model.name)
              .arg(o.id).arg(o.exitAfterMs).arg(o.quiet);
    QVERIFY2(expected.startsWith("tcp=") ? read == expected : read.contains(expected), qPrintable(read));
}

namespace {

constexpr int TimeoutMs = 10000;

/// The simulator as a child process, its standard output collected while
/// waiting; every child also ends by itself, should a failed test leave it behind.
struct SimProcess
{
    explicit SimProcess(const QStringList &arguments)
    {
        // The last --exit-after given counts.
        process.start(QStringLiteral(SIM_PATH), QStringList{"--exit-after", "120"} + arguments);
    }
    ~SimProcess()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    bool waitForLog(const QString &text, int timeoutMs = TimeoutMs)
    {
        return QTest::qWaitFor([&] {
            out += QString::fromLocal8Bit(process.readAllStandardOutput());
            return out.contains(text);
        }, timeoutMs);
    }
    /// Known once the player's line, which follows the address's, is out.
    quint16 port() const { return out.section("127.0.0.1:", 1).section('\n', 0, 0).toUShort(); }

    QProcess process;
    QString out;
};

/// Reads from `device` until `lines` whole lines have come, or the time is up;
/// a short read shows in the caller's comparison.
QString readLines(QIODevice &device, int lines)
{
    QByteArray received;
    static_cast<void>(QTest::qWaitFor(
        [&] { return (received += device.readAll()).count('\n') >= lines; }, TimeoutMs));
    return QString::fromLatin1(received);
}

} // namespace

void SimTest::tcpSession()
{
    SimProcess sim({"--listen", "127.0.0.1:0", "--id", "5"});
    QVERIFY2(sim.waitForLog("(and ID 0)"), qPrintable(sim.out));
    const quint16 port = sim.port();
    QTcpSocket clients[3];
    for (QTcpSocket &client : clients) {
        client.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(client.waitForConnected(TimeoutMs));
    }
    QTcpSocket &first = clients[0], &second = clients[1], &flood = clients[2];

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
    second.write(QByteArray::fromHex("850406 85040B 8521"));
    QCOMPARE(readLines(second, 2), QStringLiteral("ID 5 FOLDER 300\nID 5 VOLUME 20\n"));
    // A client going away with half a frame sent.
    second.disconnectFromHost();
    QVERIFY(sim.waitForLog("tcp 2  disconnected, unfinished frame 85 21 dropped"));

    // A flood of garbage, then requests from a client that never reads: it is
    // dropped once 1 MiB of replies waits for it beyond what the system's
    // buffers hold (some 250 kB here), and the log keeps up by leaving lines
    // out. The sanitizer build takes seconds over the 100,000 requests.
    QByteArray garbage(64 * 1024, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    flood.setReadBufferSize(1);
    flood.write(garbage + QByteArray::fromHex("800403").repeated(100000));
    QVERIFY(sim.waitForLog("tcp 3  dropped: more than 1 MiB of replies unread", 4 * TimeoutMs));
    QVERIFY(sim.waitForLog("lines not logged: more than 500 a second"));

    // A full table admits a newcomer by closing the client heard from least
    // recently: the first idle one, not the older first client, which speaks
    // once the last idle one has an answer. Frames are still handled after the
    // flood, which may have changed the player's ID; ID 0 reaches it.
    QTcpSocket idle[31], newcomer;
    for (QTcpSocket &client : idle)
        client.connectToHost(QHostAddress::LocalHost, port);
    const auto answered = [](QTcpSocket &client) {
        client.write(QByteArray::fromHex("800401"));
        const QString reply = readLines(client, 1);
        return QRegularExpression("^ID \\d+ STATUS [A-Z]+\n$").match(reply).hasMatch();
    };
    QVERIFY(answered(idle[30]));
    QVERIFY(answered(first));
    newcomer.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(sim.waitForLog("tcp 4  closed, idle longest, to admit 127.0.0.1:"));
    QVERIFY(answered(newcomer));
}

void SimTest::serialOverPtyPair()
{
    SocatPair cable;
    QVERIFY2(cable.isReady(), cable.log.constData());
    SimProcess sim(
        {"--serial", cable.playerEnd, "--baud", "19200", "--model", "KS10 - KS15", "--id", "3"});
    QVERIFY2(sim.waitForLog("at 19200 baud, 8N1"), qPrintable(sim.out));
    QSerialPort panel(cable.panelEnd);
    QVERIFY2(panel.open(QIODevice::ReadWrite), qPrintable(panel.errorString()));
    // Garbage, folder 7, then the folder number and the volume.
    panel.write(QByteArray::fromHex("7F 830107 830406 83040B"));
    QCOMPARE(readLines(panel, 2), QStringLiteral("ID 3 FOLDER 007\nID 3 VOLUME 31\n"));

    // The pair gone, the line is given up rather than polled forever.
    panel.close();
    cable.kill();
    QVERIFY(sim.process.waitForFinished(TimeoutMs));
    QCOMPARE(sim.process.exitCode(), 1);
    QVERIFY(sim.process.readAllStandardError().contains(
        "serial device " + cable.playerEnd.toLocal8Bit() + " lost"));
}

void SimTest::exitStatus_data()
{
    // What the simulator says on standard output when it ends well, else on
    // standard error; "BUSY" stands for a port already taken.
    QTest::addColumn<QStringList>("arguments");
    // Sent under a flood of frames for another ID; 0 for none; negative: the
    // signal is ignored when the simulator starts (as under nohup), then sent.
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("says");
    const QStringList listen = {"--listen", "127.0.0.1:0"};
    QTest::newRow("time up") << listen + QStringList{"--exit-after", "0.2"} << 0 << 0
                             << "stopping: --exit-after";
    QTest::newRow("SIGTERM") << listen << int(SIGTERM) << 0 << "stopping: SIGTERM";
    QTest::newRow("SIGINT") << listen << int(SIGINT) << 0 << "stopping: SIGINT";
    QTest::newRow("SIGHUP") << listen << int(SIGHUP) << 0 << "stopping: SIGHUP";
    QTest::newRow("SIGHUP ignored at start")
        << listen + QStringList{"--exit-after", "2"} << -int(SIGHUP) << 0
        << "stopping: --exit-after";
    QTest::newRow("bad option") << QStringList{"--id", "0"} << 0 << 2
                                << "--id wants a number from 1 to 127";
    QTest::newRow("port taken") << QStringList{"--listen", "127.0.0.1:BUSY"} << 0 << 1
                                << "cannot listen on";
    QTest::newRow("no device") << QStringList{"--serial", "/nonexistent/ttyQ0"} << 0 << 1
                               << "cannot open serial device /nonexistent/ttyQ0";
}

void SimTest::exitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    QFETCH(QString, says);
    QTcpServer busy;
    QVERIFY(busy.listen(QHostAddress::LocalHost));
    arguments.replaceInStrings("BUSY", QString::number(busy.serverPort()));
    // The child inherits an ignored signal, as from nohup.
    const bool ignoredAtStart = signal < 0;
    signal = qAbs(signal);
    if (ignoredAtStart)
        ::signal(signal, SIG_IGN);
    SimProcess sim(arguments);
    if (ignoredAtStart)
        ::signal(signal, SIG_DFL);
    QTcpSocket flood;
    if (signal) {
        QVERIFY2(sim.waitForLog("(and ID 0)"), qPrintable(sim.out));
        flood.connectToHost(QHostAddress::LocalHost, sim.port());
        flood.write(QByteArray::fromHex("870201").repeated(4 << 20));
        QVERIFY(sim.waitForLog("87 02 01  ID 7 play -> ignored"));
        QCOMPARE(::kill(pid_t(sim.process.processId()), signal), 0);
    }
    // The event loop runs meanwhile, so the flood goes on to the end.
    QTRY_COMPARE_WITH_TIMEOUT(sim.process.state(), QProcess::NotRunning, TimeoutMs);
    QCOMPARE(sim.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.exitCode(), exitCode);
    sim.out += exitCode ? sim.process.readAllStandardError() : sim.process.readAllStandardOutput();
    QVERIFY2(sim.out.contains(says), qPrintable(sim.out));
}

QTEST_GUILESS_MAIN(SimTest)
#include "tst_sim.moc"
