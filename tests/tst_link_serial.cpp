// The panel on a serial line: a socat pty pair stands in for the cable.

#include <QtTest>

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextEdit>

#include <memory>
#include <termios.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "framecases.h"
#include "link/link.h"
#include "loopbackplayer.h"
#include "socatpair.h"
#include "testsupport.h"

class SerialLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lineSettings_data();
    void lineSettings();
    void controlFrames_data() { add_Frame_Rows({0, 1, 2, 3}); }
    void controlFrames();
    void replyShowsInPane();
    void portThatDoesNotOpen_data();
    void portThatDoesNotOpen();
    void pullingTheCableLeavesPanelDisconnected();
    void bothLinksSerialFirst();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    void connectSerial(int model, const QString &portPath, const QString &speed = QString());
    bool openPlayerEnd(QSerialPort &port);

    std::unique_ptr<SocatPair> cable;
    MainWindow *window = nullptr;
};

void SerialLinkTest::initTestCase()
{
    prepare_Test_Process();
    cable = std::make_unique<SocatPair>();
    QVERIFY2(cable->isReady(), qPrintable(cable->failure()));
}

void SerialLinkTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void SerialLinkTest::cleanup()
{
    delete window;
    reset_Process_Objects();
}

// The system's list holds no ptys, so the path goes in as the operator's choice.
void SerialLinkTest::connectSerial(int model, const QString &portPath, const QString &speed)
{
    choose_Model(window, model);
    auto *ports = widget<QComboBox>("comboBox_Port");
    ports->addItem(portPath);
    ports->setCurrentIndex(ports->count() - 1);
    if (!speed.isEmpty())
        widget<QComboBox>("comboBox_Baudrate")->setCurrentText(speed);
    widget<QPushButton>("pushButton_Connect")->click();
}

bool SerialLinkTest::openPlayerEnd(QSerialPort &port)
{
    port.setPortName(cable->playerEnd());
    return port.open(QIODevice::ReadWrite);
}

void SerialLinkTest::lineSettings_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("baud");
    QTest::addColumn<speed_t>("termiosSpeed");
    QTest::newRow("Pebble Player 2, default speed") << 0 << "" << 19200 << speed_t(B19200);
    QTest::newRow("Pebble Player 2, 38400") << 0 << "38400" << 38400 << speed_t(B38400);
    QTest::newRow("Heron Player, 9600") << 1 << "9600" << 9600 << speed_t(B9600);
    QTest::newRow("Larch Player, default speed") << 2 << "" << 9600 << speed_t(B9600);
    QTest::newRow("KS10 - KS15, its one speed") << 3 << "" << 19200 << speed_t(B19200);
}

void SerialLinkTest::lineSettings()
{
    QFETCH(int, model);
    QFETCH(QString, speed);
    QFETCH(int, baud);
    QFETCH(speed_t, termiosSpeed);
    connectSerial(model, cable->panelEnd(), speed);
    QVERIFY(serialPort->isOpen());
    QVERIFY(panel_Shows_Link(window, true));
    QCOMPARE(status_Text(window),
             QStringLiteral("Connected to %1 at %2 baud").arg(cable->panelEnd()).arg(baud));

    // What the device really holds, not what the port object was told.
    termios line{};
    QCOMPARE(tcgetattr(int(serialPort->handle()), &line), 0);
    QCOMPARE(cfgetospeed(&line), termiosSpeed);
    QCOMPARE(cfgetispeed(&line), termiosSpeed);
    QCOMPARE(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), tcflag_t(CS8));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
}

void SerialLinkTest::controlFrames()
{
    QFETCH(int, model);
    QFETCH(QString, control);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(bool, decimal);
    QFETCH(QByteArray, frame);
    QSerialPort player;
    QVERIFY(openPlayerEnd(player));
    connectSerial(model, cable->panelEnd());
    QVERIFY(serialPort->isOpen());
    widget<QRadioButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();

    perform_Control(window, control, argument, id);
    QTRY_VERIFY_WITH_TIMEOUT(player.bytesAvailable() >= 3, 5000);
    QCOMPARE(player.readAll(), frame);
    QCOMPARE(sent_Labels(window), labels_For(frame, decimal));
}

void SerialLinkTest::replyShowsInPane()
{
    QSerialPort player;
    QVERIFY(openPlayerEnd(player));
    connectSerial(0, cable->panelEnd());
    player.write("OK <b>");
    QTRY_COMPARE_WITH_TIMEOUT(widget<QTextEdit>("textEdit_Data")->toPlainText(),
                              QStringLiteral("OK <b>"), 5000);
}

void SerialLinkTest::portThatDoesNotOpen_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("no such device") << false << "No such file or directory";
    // The toolkit reports a port locked by another program as a permission
    // error, so the hint covers both causes.
    QTest::newRow("held by another program") << true << "dialout group";
}

void SerialLinkTest::portThatDoesNotOpen()
{
    QFETCH(bool, busy);
    QFETCH(QString, reasonPart);
    const QString path = cable->panelEnd() + (busy ? "" : "-missing");
    QSerialPort other(path);
    QVERIFY(!busy || other.open(QIODevice::ReadWrite));
    connectSerial(0, path);

    QVERIFY(!serialPort->isOpen());
    QVERIFY(panel_Shows_Link(window, false));
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith("Cannot open serial port " + path + ": "), qPrintable(status));
    QVERIFY2(status.contains(reasonPart), qPrintable(status));
}

void SerialLinkTest::pullingTheCableLeavesPanelDisconnected()
{
    SocatPair ownCable;
    QVERIFY2(ownCable.isReady(), qPrintable(ownCable.failure()));
    connectSerial(0, ownCable.panelEnd());
    QVERIFY(serialPort->isOpen());

    ownCable.kill();
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    QVERIFY(!serialPort->isOpen());
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith("Serial port " + ownCable.panelEnd() + " lost: "),
             qPrintable(status));
}

void SerialLinkTest::bothLinksSerialFirst()
{
    // The panel opens one link per Connect; the test opens the second one.
    QSerialPort serialPlayer;
    QVERIFY(openPlayerEnd(serialPlayer));
    connectSerial(0, cable->panelEnd());
    LoopbackPlayer tcpPlayer;
    tcpSocket->connectToHost(QHostAddress::LocalHost, tcpPlayer.port());
    QVERIFY(tcpPlayer.waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, 5000);

    QCOMPARE(frame_Links(), (QList<QIODevice *>{serialPort, tcpSocket}));
    widget<QPushButton>("pushButton_Play")->click();
    QTRY_VERIFY_WITH_TIMEOUT(serialPlayer.bytesAvailable() >= 3, 5000);
    QVERIFY(tcpPlayer.waitForBytes(3));
    QCOMPARE(serialPlayer.readAll(), QByteArray::fromHex("800201"));
    QCOMPARE(tcpPlayer.takeReceived(), QByteArray::fromHex("800201"));
}

QTEST_MAIN(SerialLinkTest)
#include "tst_link_serial.moc"
