// quorvex-send as a user runs it: a child process whose exit status, output
// and frames on the far end are checked.

#include "testsupport.h"

#include <signal.h>

#include "link/received_data.h"
#include "protocol/frames.h"

namespace {

constexpr int TimeoutMs = 30000; // generous: a sanitizer build on a loaded machine starts slowly

/// One run of the sender; standard input is closed after `input`, then `meanwhile` runs.
struct SendRun
{
    SendRun(const QStringList &arguments, const QByteArray &input = {},
            const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment(),
            const std::function<void(QProcess &)> &meanwhile = {})
    {
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(SEND_PATH), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (meanwhile)
            meanwhile(process);
        finished = process.waitForFinished(TimeoutMs) && process.exitStatus() == QProcess::NormalExit;
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
    }
    QProcess process;
    bool finished = false;
    QString out, err;
};

/// The simulated player as a child, with its log gathered while waiting.
struct Sim
{
    explicit Sim(const QStringList &arguments)
    {
        process.start(QStringLiteral(SIM_PATH), QStringList{"--exit-after", "120"} + arguments);
    }
    ~Sim()
    {
        process.kill();
        process.waitForFinished(TimeoutMs);
    }
    bool waitForLog(const QString &text)
    {
        return QTest::qWaitFor([&] { return (log += process.readAllStandardOutput()).contains(text); }, TimeoutMs);
    }
    QString log;
    QProcess process;
};

} // namespace

class SendTest : public PanelCase
{
    Q_OBJECT

private slots:
    void exitStatuses_data();
    void exitStatuses();
    void simulatorSessions_data();
    void simulatorSessions();
    void dryRunMatchesPanel_data();
    void dryRunMatchesPanel();
    void savedSettings();
};

void SendTest::exitStatuses_data()
{
    QTest::addColumn<QStringList>("arguments"); // PEER: the silent peer, GONE: a closed port
    QTest::addColumn<int>("status");          // above 128: the signal sent once the peer has its bytes
    QTest::addColumn<QString>("says");         // on standard error
    QTest::addColumn<QByteArray>("received");  // by the peer
    const auto row = [](const char *name, const QString &arguments, int status, const QString &says,
                        const QByteArray &received = {}) {
        QTest::newRow(name) << arguments.split('|') << status << says << QByteArray::fromHex(received);
    };
    row("unknown", "--host|PEER|play,|plya", 2, "command 2: \"plya\": unknown command; the commands are play, stop");
    row("lacking", "--host|PEER|--model|pebble player 2|pause", 2,
        "\"pause\": model \"Pebble Player 2\" has no pause; it takes play, stop, next-file, "
        "previous-file, folder, volume, wait");
    row("volume", "--host|PEER|play|,|volume|32", 2, "command 2: \"volume 32\": model \"KS15 - TCP/IP\" takes volume 0 to 31");
    row("folder", "--host|PEER|--model|2|folder|128", 2, "model \"Larch Player\" takes folder 0 to 127");
    row("item", "--host|PEER|request|status", 2, "takes request ITEM, ITEM one of player-status, current-file, "
        "full-path-name, used-storage-media, current-folder-number, remaining-time, total-time, volume");
    row("id", "--host|PEER|--id|128|play", 2, "--id wants 0 (every player) or 1 to 127, not \"128\"");
    row("no --id", "--host|PEER|change-id|5", 2, "change-id needs an explicit --id");
    row("wait", "--host|PEER|wait|5s", 2, "takes wait 0 to 3600000 (milliseconds)");
    row("bad host", "--host|bad host|play", 2, "--host wants an IPv4 address or a host name, not \"bad host\"");
    row("bad port", "--host|127.0.0.1:65536|play", 2, "--host wants a port from 1 to 65535");
    row("speed", "--serial|/dev/null|--model|3|--speed|9600|play", 2, "model \"KS10 - KS15\" runs at 19200");
    row("script line", "--host|PEER|--script|-", 2, "-:3: \"volume\": model");
    row("no script", "--host|PEER|--script|/nonexistent/cues", 2, "cannot read script /nonexistent/cues: No such file");
    row("refused", "--host|127.1.2.3:GONE|play", 1, "Connection to 127.1.2.3:GONE failed: Connection refused");
    row("no device", "--serial|/nonexistent/ttyQ|play", 1, "Cannot open serial port /nonexistent/ttyQ: No such file");
    row("silent", "--host|PEER|--id|3|--expect-reply|--listen|300|play", 3,
        "no reply from 127.1.2.3:PEER within 300 ms", "830201");
    row("SIGTERM", "--host|PEER|play,|wait|5000,|play", 128 + SIGTERM, "stopped by SIGTERM; 1 of 2 frames sent", "800201");
}

void SendTest::exitStatuses()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, says);
    QFETCH(QByteArray, received);
    QTcpServer peer;
    QVERIFY(peer.listen(QHostAddress(PlayerHost)));
    const QString port = QString::number(peer.serverPort()), gone = QString::number(LoopbackPlayer().port());
    arguments.replaceInStrings("PEER", QStringLiteral("%1:%2").arg(PlayerHost, port)).replaceInStrings("GONE", gone);
    says.replace("PEER", port).replace("GONE", gone);
    QTcpSocket *link = nullptr;
    QByteArray bytes;
    const auto readPeer = [&](int waitMs) {
        link = peer.waitForNewConnection(waitMs) ? peer.nextPendingConnection() : link;
        QVERIFY(!link || QTest::qWaitFor([&] { return (bytes += link->readAll()).size() >= received.size(); }, TimeoutMs));
    };
    const SendRun run(arguments, "# cues\nplay\nvolume\n", QProcessEnvironment::systemEnvironment(), [&](QProcess &p) {
        if (!received.isEmpty())
            readPeer(TimeoutMs);
        if (status > 128)
            ::kill(pid_t(p.processId()), status - 128);
    });
    QVERIFY(run.finished);
    QCOMPARE(run.process.exitCode(), status);
    QVERIFY2(run.err.startsWith("quorvex-send: ") && run.err.contains(says), qPrintable(run.err));
    // A faulty command line opens no link at all.
    if (received.isEmpty())
        readPeer(0);
    QVERIFY(!link == received.isEmpty());
    QCOMPARE(bytes, received);
}

void SendTest::simulatorSessions_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("script");
    QTest::newRow("TCP, text") << false << "text" << false;
    QTest::newRow("TCP, hex, script") << false << "hex" << true;
    QTest::newRow("pty, dec, script") << true << "dec" << true;
    QTest::newRow("pty, text") << true << "text" << false;
}

void SendTest::simulatorSessions()
{
    QFETCH(bool, serial);
    QFETCH(QString, format);
    QFETCH(bool, script);
    SocatPair cable;
    QVERIFY(cable.isReady());
    Sim sim(serial ? QStringList{"--serial", cable.playerEnd, "--model", "KS10 - KS15", "--id", "6"}
                   : QStringList{"--listen", "127.0.0.1:0", "--id", "6"});
    QVERIFY2(sim.waitForLog("(and ID 0)"), qPrintable(sim.log));
    const QString link = serial ? cable.panelEnd
                                : "127.0.0.1:" + sim.log.section("listening on 127.0.0.1:", 1).section('\n', 0, 0);
    const QByteArray commands = "folder 80, volume 20\n\n  wait 10 # a pause\nplay\nrequest player-status\n";
    QStringList arguments = {serial ? "--serial" : "--host", link, "--model", "3", "--id", "6", "--format", format, "-v"};
    arguments << (script ? QStringList{"--script", "-"}
                         : QStringList{"folder", "80,", "volume", "20", ",", "wait", "10,play", ",", "request", "player-status"});
    const SendRun run(arguments, script ? commands : QByteArray());
    QVERIFY(run.finished);
    QCOMPARE(run.process.exitCode(), 0);
    QVERIFY(sim.waitForLog("86 04 01  ID 6 request Player Status -> reply"));
    for (const char *line : {"86 01 50  ID 6 folder 080", "86 03 14  ID 6 volume 20", "86 02 01  ID 6 play"})
        QVERIFY2(sim.log.contains(line) && run.err.contains(QString(line).remove("ID 6 ")), qPrintable(run.err));
    QString expected;
    ReceivedDataFormatter().append("ID 6 STATUS PLAYING\n", DataFormat(QStringList{"text", "hex", "dec"}.indexOf(format)), expected);
    QCOMPARE(run.out, expected.endsWith('\n') ? expected : expected + '\n');
}

void SendTest::dryRunMatchesPanel_data()
{
    QTest::addColumn<QString>("control"); // a button of the panel, as performControl works it
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("command"); // the same for quorvex-send
    const char *const rows[][4] = {
        {"Play", "", "0", "play"}, {"Play", "", "5", "play"}, {"Stop", "", "5", "stop"},
        {"Pause", "", "5", "pause"}, {"Next_File", "", "5", "next-file"},
        {"Previous_File", "", "5", "previous-file"}, {"Next_Folder", "", "5", "next-folder"},
        {"Previous_Folder", "", "5", "previous-folder"}, {"Folder", "080", "5", "folder 080"},
        {"Folder", "999", "0", "folder 999"}, {"Volume", "20", "5", "volume 20"},
        {"Change_ID", "9", "5", "change-id 9"}, {"Request", "Player Status", "5", "request player-status"},
        {"Request", "Total time of the file", "0", "request total-time"},
        {"Request", "Volume", "5", "request volume"},
    };
    for (const auto &r : rows)
        QTest::addRow("%s, ID %s", r[3], r[2]) << r[0] << r[1] << r[2] << r[3];
}

void SendTest::dryRunMatchesPanel()
{
    QFETCH(QString, control);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(QString, command);
    QVERIFY(connectToPlayer(window, *player));
    performControl(window, control, argument, id);
    QVERIFY(player->waitForBytes(3));
    const SendRun run(QStringList{"--dry-run", "--model", "ks15 - tcp/ip", "--id", id} + command.split(' '));
    QVERIFY(run.finished);
    QCOMPARE(run.out, hexBytes(player->takeReceived()) + '\n');
}

void SendTest::savedSettings()
{
    // The panel's settings name a serial model on one end of a cable, and an ID.
    SocatPair cable;
    QVERIFY(cable.isReady());
    QTemporaryDir home;
    QDir(home.path()).mkpath("Brenvale/Quorvex");
    QFile file(home.filePath("Brenvale/Quorvex/Quorvex.cfg"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    ConfigSettings settings;
    settings.model = "KS10 - KS15";
    settings.port = cable.panelEnd;
    settings.playerId = "7";
    QVERIFY(writeConfigLines(&file, settings));
    file.close();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_DATA_HOME", home.path());
    QSerialPort far(cable.playerEnd);
    QVERIFY(far.open(QIODevice::ReadWrite));
    const SendRun run({"pause"}, {}, environment);
    QCOMPARE(run.process.exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(far.bytesAvailable() >= 3, TimeoutMs);
    QCOMPARE(far.readAll(), QByteArray::fromHex("870205"));
    // Only read: the file is as it was.
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    // The model's range checked: KS10 has two folder banks.
    QCOMPARE(SendRun({"folder", "256"}, {}, environment).process.exitCode(), 2);
}

QTEST_MAIN(SendTest)
#include "tst_send.moc"
