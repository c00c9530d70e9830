// The panel on a serial line: a socat pty pair stands in for the cable.

#include <QRadioButton>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QStatusBar>
#include <QTextEdit>

#include <termios.h>

#include "link/link.h"
#include "panelcase.h"
#include "socatpair.h"

class SerialLinkTest : public PanelCase
{
    Q_OBJECT

public:
    SerialLinkTest() : PanelCase(false) {}

private slots:
    void initTestCase();
    void lineSettings();
    // The short command table; the long one crosses the TCP link.
    void controlFrames_data() { add_Frame_Rows(0); }
    void controlFrames();
    void portThatDoesNotOpen();
    void portListReadAgainOnOpening();
    void pullingTheCableLeavesPanelDisconnected();
    void bothLinksSerialFirst();
    void decoderStartsAfreshOnEachLink();

private:
    void connectSerial(int model, const QString &portPath, const QString &speed = QString());

    SocatPair cable;
    QSerialPort serialPlayer{cable.playerEnd()}; // the far end of `cable`
};

void SerialLinkTest::initTestCase()
{
    PanelCase::initTestCase();
    QVERIFY2(cable.isReady(), qPrintable(cable.failure()));
    QVERIFY(serialPlayer.open(QIODevice::ReadWrite));
}

// The system's list holds no ptys, so the path goes in as the operator's choice.
void SerialLinkTest::connectSerial(int model, const QString &portPath, const QString &speed)
{
    choose_Model(window, model);
    widget<QComboBox>("comboBox_Port")->setEditText(portPath);
    if (!speed.isEmpty())
        widget<QComboBox>("comboBox_Baudrate")->setCurrentText(speed);
    widget<QPushButton>("pushButton_Connect")->click();
}

void SerialLinkTest::lineSettings()
{
    // The speed chosen, else the model's default; always 8N1 without flow control.
    const struct
    {
        int model;
        const char *speed;
        int baud;
        speed_t termiosSpeed;
    } cases[] = {{0, "", 19200, B19200}, {0, "38400", 38400, B38400}, {2, "", 9600, B9600}};
    for (const auto &c : cases) {
        connectSerial(c.model, cable.panelEnd(), c.speed);
        QVERIFY(panel_Shows_Link(window, true));
        QCOMPARE(status_Text(window),
                 QStringLiteral("Connected to %1 at %2 baud").arg(cable.panelEnd()).arg(c.baud));
        // What the device really holds, not what the port object was told.
        termios line{};
        QCOMPARE(tcgetattr(int(serialPort->handle()), &line), 0);
        QCOMPARE(cfgetospeed(&line), c.termiosSpeed);
        QCOMPARE(cfgetispeed(&line), c.termiosSpeed);
        QCOMPARE(line.c_cflag & (CSTOPB | CRTSCTS), tcflag_t(0));
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t(0));
        // A pty forces 8 bits without parity whatever it is told, so these two
        // are read back from the port.
        QCOMPARE(serialPort->dataBits(), QSerialPort::Data8);
        QCOMPARE(serialPort->parity(), QSerialPort::NoParity);
        widget<QPushButton>("pushButton_Disconnect")->click();
    }
}

void SerialLinkTest::controlFrames()
{
    QFETCH(QString, control);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(bool, decimal);
    QFETCH(QByteArray, frame);
    connectSerial(0, cable.panelEnd());
    QVERIFY(serialPort->isOpen());
    widget<QRadioButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();

    perform_Control(window, control, argument, id);
    // On the line already, not on the event loop's next pass.
    QCOMPARE(serialPort->bytesToWrite(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(serialPlayer.bytesAvailable() >= 3, 5000);
    QCOMPARE(serialPlayer.readAll(), frame);
    QCOMPARE(sent_Labels(window), labels_For(frame, decimal));
}

void SerialLinkTest::portThatDoesNotOpen()
{
    // A long path is elided in the bar, never cut at the window's edge.
    for (const QString &path : {cable.panelEnd() + "-missing", "/dev/serial/by-id/" + QString(120, 'x')}) {
        connectSerial(0, path);
        QVERIFY(panel_Shows_Link(window, false));
        QCOMPARE(status_Text(window), "Cannot open serial port " + path + ": No such file or directory");
        const auto *bar = widget<QStatusBar>("statusBar");
        QVERIFY(bar->fontMetrics().horizontalAdvance(bar->currentMessage()) < window->width());
    }
}

void SerialLinkTest::portListReadAgainOnOpening()
{
    auto *ports = widget<QComboBox>("comboBox_Port");
    // With no port listed the box still takes a path.
    ports->clear();
    widget<QPushButton>("pushButton_Connect")->click();
    QVERIFY(widget<QWidget>("frame_Port")->isEnabled());
    QStringList listed;
    for (const QSerialPortInfo &port : QSerialPortInfo::availablePorts())
        listed << port.portName();
    // What was typed or picked stays while the list is read again.
    for (const QString &choice : QStringList{cable.panelEnd()} + listed.mid(0, 1)) {
        ports->clear();
        ports->setEditText(choice);
        ports->showPopup();
        ports->hidePopup();
        QStringList items;
        for (int i = 0; i < ports->count(); ++i)
            items << ports->itemText(i);
        QCOMPARE(items, listed);
        QCOMPARE(ports->currentText(), choice);
    }
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
    QCOMPARE(status_Text(window), "Serial port " + ownCable.panelEnd() + " was removed or unplugged");
}

void SerialLinkTest::bothLinksSerialFirst()
{
    // The panel opens one link per Connect; the test opens the second one.
    connectSerial(0, cable.panelEnd());
    tcpSocket->connectToHost(QHostAddress::LocalHost, player->port());
    QVERIFY(player->waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, 5000);

    QCOMPARE(frameLinks(), (QList<QIODevice *>{serialPort, tcpSocket}));
    widget<QPushButton>("pushButton_Play")->click();
    QTRY_VERIFY_WITH_TIMEOUT(serialPlayer.bytesAvailable() >= 3, 5000);
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(serialPlayer.readAll(), QByteArray::fromHex("800201"));
    QCOMPARE(player->takeReceived(), QByteArray::fromHex("800201"));

    // A reply on the serial line reaches the pane, as text, never as markup.
    serialPlayer.write("OK <b>");
    QTRY_COMPARE_WITH_TIMEOUT(widget<QTextEdit>("textEdit_Data")->toPlainText(),
                              QStringLiteral("OK <b>"), 5000);
}

void SerialLinkTest::decoderStartsAfreshOnEachLink()
{
    // A character cut by the end of one link is not completed by the next.
    connectSerial(0, cable.panelEnd());
    serialPlayer.write("\xC3");
    QTRY_VERIFY_WITH_TIMEOUT(readDataFormatter.pending(), 5000);
    widget<QPushButton>("pushButton_Disconnect")->click();
    widget<QPushButton>("pushButton_Connect")->click();
    serialPlayer.write("\xA9");
    QTRY_COMPARE_WITH_TIMEOUT(readDataText, QString(QChar(0xFFFD)), 5000);
}

QTEST_MAIN(SerialLinkTest)
#include "tst_link_serial.moc"
