// The panel on a serial line: a socat pty pair stands in for the cable.

#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
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
    void controlFrames_data();
    void controlFrames();
    void replyShowsInPane();
    void portThatDoesNotOpen_data();
    void portThatDoesNotOpen();
    void pullingTheCableLeavesPanelDisconnected();
    void disconnectClosesPort();
    void bothLinksSerialFirst();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    void connectSerial(int model, const QString &portPath, const QString &speed = QString());
    bool openPlayerEnd(QSerialPort &port, const SocatPair &pair);
    bool panelShowsDisconnected();

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
    window = nullptr;
    reset_Process_Objects();
}

// The system's list holds no ptys, so the path goes in as the operator's choice.
void SerialLinkTest::connectSerial(int model, const QString &portPath, const QString &speed)
{
    choose_Model(window, model);
    auto *ports = widget<QComboBox>("comboBox_Port");
    ports->addItem(portPath);
    ports->setCurrentIndex(ports->count() - 1);
    if (!speed.isEmpty()) {
        auto *speeds = widget<QComboBox>("comboBox_Baudrate");
        speeds->setCurrentIndex(speeds->findText(speed));
    }
    widget<QPushButton>("pushButton_Connect")->click();
}

bool SerialLinkTest::openPlayerEnd(QSerialPort &port, const SocatPair &pair)
{
    port.setPortName(pair.playerEnd());
    return port.open(QIODevice::ReadWrite);
}

bool SerialLinkTest::panelShowsDisconnected()
{
    return widget<QWidget>("pushButton_Connect")->isEnabled()
           && !widget<QWidget>("pushButton_Disconnect")->isEnabled()
           && !widget<QWidget>("frame_Commands")->isEnabled()
           && widget<QWidget>("frame_Settings")->isEnabled();
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
    QCOMPARE(status_Text(window),
             QStringLiteral("Connected to %1 at %2 baud").arg(cable->panelEnd()).arg(baud));
    QVERIFY(widget<QWidget>("frame_Commands")->isEnabled());
    QVERIFY(!widget<QWidget>("pushButton_Connect")->isEnabled());

    // What the device really holds, not what the port object was told.
    termios line{};
    QCOMPARE(tcgetattr(int(serialPort->handle()), &line), 0);
    QCOMPARE(cfgetospeed(&line), termiosSpeed);
    QCOMPARE(cfgetispeed(&line), termiosSpeed);
    QCOMPARE(line.c_cflag & CSIZE, tcflag_t(CS8));
    QCOMPARE(line.c_cflag & PARENB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CSTOPB, tcflag_t(0));
    QCOMPARE(line.c_cflag & CRTSCTS, tcflag_t(0));
    QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
}

void SerialLinkTest::controlFrames_data()
{
    add_Frame_Rows({0, 1, 2, 3});
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
    QVERIFY(openPlayerEnd(player, *cable));
    connectSerial(model, cable->panelEnd());
    QVERIFY(serialPort->isOpen());
    widget<QAbstractButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();

    perform_Control(window, control, argument, id);
    QTRY_VERIFY_WITH_TIMEOUT(player.bytesAvailable() >= 3, 5000);
    QCOMPARE(player.readAll(), frame);
    QCOMPARE(sent_Labels(window), labels_For(frame, decimal));
}

void SerialLinkTest::replyShowsInPane()
{
    QSerialPort player;
    QVERIFY(openPlayerEnd(player, *cable));
    connectSerial(0, cable->panelEnd());
    QVERIFY(serialPort->isOpen());
    player.write("OK <b>");
    QTRY_COMPARE_WITH_TIMEOUT(widget<QTextEdit>("textEdit_Data")->toPlainText(),
                              QStringLiteral("OK <b>"), 5000);
}

void SerialLinkTest::portThatDoesNotOpen_data()
{
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("reasonPart");
    QTest::newRow("no such device") << false << "No such file or directory";
    // The toolkit locks the port and reports a lock held by another user of it
    // as a permission error, which is where the group hint belongs too.
    QTest::newRow("held by another program") << true << "dialout group";
}

void SerialLinkTest::portThatDoesNotOpen()
{
    QFETCH(bool, busy);
    QFETCH(QString, reasonPart);

    QSerialPort other;
    const QString path = busy ? cable->panelEnd() : cable->panelEnd() + QStringLiteral("-missing");
    if (busy) {
        other.setPortName(path);
        QVERIFY(other.open(QIODevice::ReadWrite));
    }
    connectSerial(0, path);

    QVERIFY(!serialPort->isOpen());
    QVERIFY(panelShowsDisconnected());
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith(QStringLiteral("Cannot open serial port %1: ").arg(path)),
             qPrintable(status));
    QVERIFY2(status.contains(reasonPart), qPrintable(status));
}

void SerialLinkTest::pullingTheCableLeavesPanelDisconnected()
{
    SocatPair ownCable;
    QVERIFY2(ownCable.isReady(), qPrintable(ownCable.failure()));
    connectSerial(0, ownCable.panelEnd());
    QVERIFY(serialPort->isOpen());

    ownCable.kill();
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsDisconnected(), 5000);
    QVERIFY(!serialPort->isOpen());
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith(QStringLiteral("Serial port %1 lost: ").arg(ownCable.panelEnd())),
             qPrintable(status));
    // Nothing more to send on: a click neither writes nor shows a frame.
    const QStringList labels = sent_Labels(window);
    widget<QPushButton>("pushButton_Play")->click();
    QCOMPARE(sent_Labels(window), labels);
}

void SerialLinkTest::disconnectClosesPort()
{
    connectSerial(0, cable->panelEnd());
    QVERIFY(serialPort->isOpen());
    widget<QPushButton>("pushButton_Disconnect")->click();
    QVERIFY(!serialPort->isOpen());
    QVERIFY(panelShowsDisconnected());
    QVERIFY(status_Text(window).isEmpty());
    // The port is free again for whoever wants it.
    QSerialPort again;
    again.setPortName(cable->panelEnd());
    QVERIFY(again.open(QIODevice::ReadWrite));
}

void SerialLinkTest::bothLinksSerialFirst()
{
    // The panel opens one link per Connect; the second one is opened by hand.
    QSerialPort serialPlayer;
    QVERIFY(openPlayerEnd(serialPlayer, *cable));
    connectSerial(0, cable->panelEnd());
    QVERIFY(serialPort->isOpen());
    LoopbackPlayer tcpPlayer;
    tcpSocket->connectToHost(QHostAddress::LocalHost, tcpPlayer.port());
    QVERIFY(tcpPlayer.waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, 5000);

    const QList<QIODevice *> order = {serialPort, tcpSocket};
    QCOMPARE(frame_Links(), order);
    widget<QPushButton>("pushButton_Play")->click();
    const QByteArray play("\x80\x02\x01", 3);
    QTRY_VERIFY_WITH_TIMEOUT(serialPlayer.bytesAvailable() >= 3, 5000);
    QVERIFY(tcpPlayer.waitForBytes(3));
    QCOMPARE(serialPlayer.readAll(), play);
    QCOMPARE(tcpPlayer.takeReceived(), play);
}

QTEST_MAIN(SerialLinkTest)
#include "tst_link_serial.moc"
