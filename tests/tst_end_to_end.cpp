// The panel driving the simulated player, a separate process: over TCP on a
// free loopback port and over a socat pty pair. What the player logs must be
// what the panel sent, and its replies must reach the pane.

#include <QProcess>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextEdit>

#include "panelcase.h"
#include "socatpair.h"

namespace {

constexpr int TimeoutMs = 10000;

/// Waits (bounded) for a line of `log` matching `pattern`; gives the match.
QRegularExpressionMatch waitForLine(const QString &log, const QString &pattern)
{
    const QRegularExpression line(pattern, QRegularExpression::MultilineOption);
    return QTest::qWaitFor([&] { return line.match(log).hasMatch(); }, TimeoutMs) ? line.match(log)
                                                                                  : QRegularExpressionMatch();
}

} // namespace

class EndToEndTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init() { reset_Process_Objects(); }
    void cleanup() { reset_Process_Objects(); }

    void panelDrivesPlayer_data();
    void panelDrivesPlayer();
};

void EndToEndTest::panelDrivesPlayer_data()
{
    QTest::addColumn<bool>("serial");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("folderFrame"); // what the player logs for it
    // The TCP model hides the ID selector and sends ID 0, which any player takes.
    QTest::newRow("TCP") << false << "0" << "300"
                         << "80 21 2C  ID 0 folder 300 -> playing folder 300 file 1 of 7 at 00:00";
    // KS10 - KS15 has two folder banks, and here the panel names the player.
    QTest::newRow("serial") << true << "1" << "200"
                            << "81 11 48  ID 1 folder 200 -> playing folder 200 file 1 of 3 at 00:00";
}

void EndToEndTest::panelDrivesPlayer()
{
    QFETCH(bool, serial);
    QFETCH(QString, id);
    QFETCH(QString, folder);
    QFETCH(QString, folderFrame);
    const QString head = "8" + id + " 0";
    const QStringList logged{folderFrame, head + "3 14  ID " + id + " volume 20 -> volume 20",
                             head + "4 01  ID " + id + " request Player Status -> reply \"ID 1 STATUS PLAYING\"",
                             head + "4 0B  ID " + id + " request Volume -> reply \"ID 1 VOLUME 20\""};
    std::unique_ptr<SocatPair> cable;
    QStringList arguments{"--listen", "127.0.0.1:0"};
    if (serial) {
        cable = std::make_unique<SocatPair>();
        QVERIFY2(cable->isReady(), qPrintable(cable->failure()));
        arguments = QStringList{"--serial", cable->playerEnd(), "--baud", "19200", "--model",
                                "KS10 - KS15"};
    }
    // The simulator's output as it comes; the child is killed when the test
    // ends, however it ends, and ends by itself should this process die first.
    QString log;
    QProcess sim;
    QObject::connect(&sim, &QProcess::readyReadStandardOutput,
                     [&] { log += QString::fromLocal8Bit(sim.readAllStandardOutput()); });
    sim.start(QStringLiteral(SIM_PATH), arguments + QStringList{"--exit-after", "120"});
    const QRegularExpressionMatch ready = waitForLine(
        log, serial ? "^serial .* at 19200 baud, 8N1$" : "^listening on 127\\.0\\.0\\.1:(\\d+)$");
    QVERIFY2(ready.hasMatch(), qPrintable(log));

    MainWindow window;
    window.show();
    if (serial) {
        choose_Model(&window, 3);
        // The path typed into the port box, as the README's demo does.
        find_Widget<QComboBox>(&window, "comboBox_Port")->setEditText(cable->panelEnd());
        find_Widget<QPushButton>(&window, "pushButton_Connect")->click();
        QVERIFY(serialPort->isOpen());
    } else {
        start_TCP_Connect(&window, quint16(ready.captured(1).toUInt()));
        QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
    }

    // The second reply tells that the volume frame changed the player.
    for (const auto &[control, argument] : {std::pair<QString, QString>{"Folder", folder}, {"Volume", "20"},
                                            {"Request", "Player Status"}, {"Request", "Volume"}})
        perform_Control(&window, control, argument, id);
    auto *pane = find_Widget<QTextEdit>(&window, "textEdit_Data");
    const QString replies = QStringLiteral("ID 1 STATUS PLAYING\nID 1 VOLUME 20\n");
    QTRY_COMPARE_WITH_TIMEOUT(pane->toPlainText(), replies, TimeoutMs);
    QCOMPARE(readDataText, replies);

    // Each log line: time, link, then the frame. Nothing else reached the player.
    const QString link = serial ? "serial" : "tcp 1";
    QVERIFY2(waitForLine(log, QRegularExpression::escape(logged.last()) + "$").hasMatch(), qPrintable(log));
    const QRegularExpression frameLine(
        "^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d " + link + "  ([0-9A-F]{2} [0-9A-F]{2} [0-9A-F]{2}  .*)$",
        QRegularExpression::MultilineOption);
    QStringList frames;
    for (auto it = frameLine.globalMatch(log); it.hasNext();)
        frames << it.next().captured(1);
    QCOMPARE(frames, logged);
}

QTEST_MAIN(EndToEndTest)
#include "tst_end_to_end.moc"
