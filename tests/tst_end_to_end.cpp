// The panel driving the simulated player, a separate process: over TCP on a
// free loopback port and over a socat pty pair. What the player logs must be
// what the panel sent, and its replies must reach the pane.

#include <QtTest>

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextEdit>

#include <memory>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "panelcase.h"
#include "socatpair.h"
#include "testsupport.h"

namespace {

constexpr int TimeoutMs = 10000;

/// The simulator as a child process, its standard output collected as it
/// comes; killed when the test ends, however it ends.
class SimChild
{
public:
    explicit SimChild(const QStringList &arguments)
    {
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                         [this] { m_log += QString::fromLocal8Bit(m_process.readAllStandardOutput()); });
        // It also ends by itself should this process die first.
        m_process.start(QStringLiteral(SIM_PATH), arguments + QStringList{"--exit-after", "120"});
    }
    ~SimChild()
    {
        m_process.kill();
        m_process.waitForFinished(TimeoutMs);
    }

    bool waitForLog(const QRegularExpression &pattern)
    {
        return QTest::qWaitFor([&] { return pattern.match(m_log).hasMatch(); }, TimeoutMs);
    }
    const QString &log() const { return m_log; }

private:
    QProcess m_process;
    QString m_log;
};

QRegularExpression logLine(const QString &pattern)
{
    return QRegularExpression(pattern, QRegularExpression::MultilineOption);
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
    QTest::addColumn<QStringList>("logged"); // the frame lines, in order
    // The TCP model hides the ID selector and sends ID 0, which any player takes.
    QTest::newRow("TCP") << false << "0" << "300"
                         << QStringList{"80 21 2C  ID 0 folder 300 -> playing folder 300 file 1 of 7 at 00:00",
                                        "80 03 14  ID 0 volume 20 -> volume 20",
                                        "80 04 01  ID 0 request Player Status -> reply \"ID 1 STATUS PLAYING\"",
                                        "80 04 0B  ID 0 request Volume -> reply \"ID 1 VOLUME 20\""};
    // KS10 - KS15 has two folder banks, and here the panel names the player.
    QTest::newRow("serial") << true << "1" << "200"
                            << QStringList{"81 11 48  ID 1 folder 200 -> playing folder 200 file 1 of 3 at 00:00",
                                           "81 03 14  ID 1 volume 20 -> volume 20",
                                           "81 04 01  ID 1 request Player Status -> reply \"ID 1 STATUS PLAYING\"",
                                           "81 04 0B  ID 1 request Volume -> reply \"ID 1 VOLUME 20\""};
}

void EndToEndTest::panelDrivesPlayer()
{
    QFETCH(bool, serial);
    QFETCH(QString, id);
    QFETCH(QString, folder);
    QFETCH(QStringList, logged);

    std::unique_ptr<SocatPair> cable;
    QStringList arguments{"--listen", "127.0.0.1:0"};
    if (serial) {
        cable = std::make_unique<SocatPair>();
        QVERIFY2(cable->isReady(), qPrintable(cable->failure()));
        arguments = QStringList{"--serial", cable->playerEnd(), "--baud", "19200", "--model",
                                "KS10 - KS15"};
    }
    SimChild sim(arguments);
    const QRegularExpression ready(serial ? "^serial .* at 19200 baud, 8N1$"
                                          : "^listening on 127\\.0\\.0\\.1:(\\d+)$",
                                   QRegularExpression::MultilineOption);
    QVERIFY2(sim.waitForLog(ready), qPrintable(sim.log()));

    MainWindow window;
    window.show();
    if (serial) {
        choose_Model(&window, 3);
        auto *ports = find_Widget<QComboBox>(&window, "comboBox_Port");
        ports->addItem(cable->panelEnd());
        ports->setCurrentIndex(ports->count() - 1);
        find_Widget<QPushButton>(&window, "pushButton_Connect")->click();
        QVERIFY(serialPort->isOpen());
    } else {
        start_TCP_Connect(&window, quint16(ready.match(sim.log()).captured(1).toUInt()));
        QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
    }

    perform_Control(&window, "Folder", folder, id);
    perform_Control(&window, "Volume", "20", id);
    perform_Control(&window, "Request", "Player Status", id);
    // The second reply tells that the volume frame changed the player.
    perform_Control(&window, "Request", "Volume", id);
    auto *pane = find_Widget<QTextEdit>(&window, "textEdit_Data");
    const QString replies = QStringLiteral("ID 1 STATUS PLAYING\nID 1 VOLUME 20\n");
    QTRY_COMPARE_WITH_TIMEOUT(pane->toPlainText(), replies, TimeoutMs);
    QCOMPARE(readDataText, replies);

    // Each log line: time, link, then the frame. Nothing else reached the player.
    const QString link = serial ? "serial" : "tcp 1";
    QVERIFY2(sim.waitForLog(logLine(QRegularExpression::escape(logged.last()) + "$")),
             qPrintable(sim.log()));
    const QRegularExpression frameLine(
        "^\\d\\d:\\d\\d:\\d\\d\\.\\d\\d\\d " + link + "  ([0-9A-F]{2} [0-9A-F]{2} [0-9A-F]{2}  .*)$",
        QRegularExpression::MultilineOption);
    QStringList frames;
    for (auto it = frameLine.globalMatch(sim.log()); it.hasNext();)
        frames << it.next().captured(1);
    QCOMPARE(frames, logged);
}

QTEST_MAIN(EndToEndTest)
#include "tst_end_to_end.moc"
