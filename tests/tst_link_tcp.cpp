// The panel on a TCP link: a QTcpServer on 127.0.0.1 plays the player.

#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTcpSocket>
#include <QTextEdit>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "framecases.h"
#include "loopbackplayer.h"
#include "testsupport.h"

namespace {
const QByteArray PlayFrame("\x80\x02\x01", 3);

/// A port on 127.0.0.1 whose accept queue is full: the kernel drops further
/// handshakes, so a connection attempt to it stays under way.
class SilentPort
{
public:
    SilentPort()
    {
        m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0
            || ::listen(m_listener, 0) != 0
            || ::getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        // A backlog of 0 still queues one connection; two make sure it is full.
        // Without blocking, since the second one cannot complete either.
        for (int &filler : m_fillers) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(filler, reinterpret_cast<sockaddr *>(&address), sizeof address);
        }
    }
    ~SilentPort()
    {
        for (int filler : m_fillers)
            ::close(filler);
        ::close(m_listener);
    }
    quint16 port() const { return m_port; }

private:
    int m_listener = -1;
    int m_fillers[2] = {-1, -1};
    quint16 m_port = 0;
};
} // namespace

class TcpLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void connectUsesAddressAndModelPort();
    void controlFrames_data();
    void controlFrames();
    void requestFallback_data();
    void requestFallback();
    void volumeButtonsAtTheEnds_data();
    void volumeButtonsAtTheEnds();
    void refusedPortLeavesPanelDisconnected();
    void peerHangUpLeavesPanelDisconnected();
    void disconnectLetsLastFrameLeave();
    void nothingSentWithoutLink();
    void attemptUnderWayCarriesNoFrame();
    void notationSwitches();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    bool panelShowsConnected();
    bool panelShowsDisconnected();

    MainWindow *window = nullptr;
};

void TcpLinkTest::initTestCase()
{
    prepare_Test_Process();
}

void TcpLinkTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void TcpLinkTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

bool TcpLinkTest::panelShowsConnected()
{
    return !widget<QWidget>("frame_Settings")->isEnabled()
           && !widget<QWidget>("pushButton_Connect")->isEnabled()
           && widget<QWidget>("pushButton_Disconnect")->isEnabled()
           && widget<QWidget>("frame_Commands")->isEnabled();
}

bool TcpLinkTest::panelShowsDisconnected()
{
    return widget<QWidget>("frame_Settings")->isEnabled()
           && widget<QWidget>("pushButton_Connect")->isEnabled()
           && !widget<QWidget>("pushButton_Disconnect")->isEnabled()
           && !widget<QWidget>("frame_Commands")->isEnabled();
}

void TcpLinkTest::connectUsesAddressAndModelPort()
{
    LoopbackPlayer player;
    QVERIFY(player.isListening());
    choose_Model(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = player.port();
    widget<QSpinBox>("spinBox_IP_1")->setValue(127);
    widget<QSpinBox>("spinBox_IP_4")->setValue(1);
    widget<QPushButton>("pushButton_Connect")->click();

    const QString target = QStringLiteral("127.0.0.1:%1").arg(player.port());
    // The attempt counts as a link: it shows, and Disconnect could abort it.
    QCOMPARE(status_Text(window), QStringLiteral("Connecting to %1...").arg(target));
    QVERIFY(panelShowsConnected());

    QVERIFY(player.waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(status_Text(window), QStringLiteral("Connected to %1").arg(target),
                              5000);
    QCOMPARE(tcpSocket->peerPort(), player.port());
    QCOMPARE(tcpSocket->peerAddress(), QHostAddress(QHostAddress::LocalHost));
    QVERIFY(panelShowsConnected());
}

void TcpLinkTest::controlFrames_data()
{
    add_Frame_Rows({TcpModelIndex});
}

void TcpLinkTest::controlFrames()
{
    QFETCH(QString, control);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(bool, decimal);
    QFETCH(QByteArray, frame);

    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    widget<QRadioButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();

    perform_Control(window, control, argument, id);
    QVERIFY(player.waitForBytes(3));
    QCOMPARE(player.takeReceived(), frame);
    QCOMPARE(sent_Labels(window), labels_For(frame, decimal));
    if (control == QLatin1String("volume"))
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), argument);
    if (control == QLatin1String("changeId"))
        QCOMPARE(widget<QLabel>("label_Player")->text(),
                 QStringLiteral("Change ID: 127 %1").arg(argument));
}

void TcpLinkTest::requestFallback_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("empty request selector") << QStringList();
    QTest::newRow("entry matching no command") << QStringList{"Battery level"};
    QTest::newRow("entry in the wrong case") << QStringList{"remaining time"};
}

void TcpLinkTest::requestFallback()
{
    QFETCH(QStringList, entries);
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    auto *requests = widget<QComboBox>("comboBox_Request");
    requests->clear();
    requests->addItems(entries);

    widget<QPushButton>("pushButton_Request")->click();
    QVERIFY(player.waitForBytes(3));
    QCOMPARE(player.takeReceived(), QByteArray("\x80\x04\x00", 3));
}

void TcpLinkTest::volumeButtonsAtTheEnds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("sent");

    // The TCP model's volume runs from 0 to 31.
    QTest::newRow("More below the maximum") << 12 << "pushButton_Volume_More"
                                            << QByteArray("\x80\x03\x1F", 3);
    QTest::newRow("Less above the minimum") << 12 << "pushButton_Volume_Less"
                                            << QByteArray("\x80\x03\x00", 3);
    QTest::newRow("More at the maximum") << 31 << "pushButton_Volume_More" << QByteArray();
    QTest::newRow("Less at the minimum") << 0 << "pushButton_Volume_Less" << QByteArray();
}

void TcpLinkTest::volumeButtonsAtTheEnds()
{
    QFETCH(int, start);
    QFETCH(QString, button);
    QFETCH(QByteArray, sent);

    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    auto *slider = widget<QSlider>("horizontalSlider_Volume");
    if (slider->value() != start) {
        slider->setValue(start);
        QVERIFY(player.waitForBytes(3));
        player.takeReceived();
    }
    const QStringList labelsBefore = sent_Labels(window);

    widget<QPushButton>(button)->click();
    if (!sent.isEmpty()) {
        QVERIFY(player.waitForBytes(3));
        QCOMPARE(player.takeReceived(), sent);
        return;
    }
    QCOMPARE(sent_Labels(window), labelsBefore);
    // Frames keep their order on the link: had the click sent anything, it
    // would arrive before this Play frame.
    widget<QPushButton>("pushButton_Play")->click();
    QVERIFY(player.waitForBytes(3));
    QCOMPARE(player.takeReceived(), PlayFrame);
}

void TcpLinkTest::refusedPortLeavesPanelDisconnected()
{
    LoopbackPlayer player;
    const quint16 port = player.port();
    player.stopListening();
    choose_Model(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = port;
    widget<QSpinBox>("spinBox_IP_1")->setValue(127);
    widget<QSpinBox>("spinBox_IP_4")->setValue(1);
    widget<QPushButton>("pushButton_Connect")->click();

    QTRY_VERIFY_WITH_TIMEOUT(panelShowsDisconnected(), 5000);
    QCOMPARE(status_Text(window),
             QStringLiteral("Connection to 127.0.0.1:%1 failed: Connection refused").arg(port));
    QVERIFY(!tcpSocket->isOpen());
    // A second Connect starts a fresh attempt from the closed socket.
    widget<QPushButton>("pushButton_Connect")->click();
    QCOMPARE(status_Text(window), QStringLiteral("Connecting to 127.0.0.1:%1...").arg(port));
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsDisconnected(), 5000);
    QVERIFY(status_Text(window).endsWith(QLatin1String("failed: Connection refused")));
}

void TcpLinkTest::peerHangUpLeavesPanelDisconnected()
{
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    // The last words before the hang-up still reach the pane.
    QVERIFY(player.send("bye"));
    player.hangUp();

    QTRY_VERIFY_WITH_TIMEOUT(panelShowsDisconnected(), 5000);
    QCOMPARE(status_Text(window),
             QStringLiteral("Connection to 127.0.0.1:%1 lost: The remote host closed the connection")
                 .arg(player.port()));
    QCOMPARE(widget<QTextEdit>("textEdit_Data")->toPlainText(), QStringLiteral("bye"));
    QVERIFY(!tcpSocket->isOpen());

    // The operator can connect again at once.
    widget<QPushButton>("pushButton_Connect")->click();
    QVERIFY(player.waitForPanel());
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsConnected(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(status_Text(window).startsWith(QLatin1String("Connected to")), 5000);
    widget<QPushButton>("pushButton_Play")->click();
    QVERIFY(player.waitForBytes(3));
    QCOMPARE(player.takeReceived(), PlayFrame);
}

void TcpLinkTest::disconnectLetsLastFrameLeave()
{
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    widget<QPushButton>("pushButton_Play")->click();
    widget<QPushButton>("pushButton_Disconnect")->click();

    QVERIFY(player.waitForBytes(3));
    QCOMPARE(player.takeReceived(), PlayFrame);
    QTRY_VERIFY_WITH_TIMEOUT(!player.hasPanel(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsDisconnected(), 5000);
    QVERIFY(status_Text(window).isEmpty());
}

void TcpLinkTest::nothingSentWithoutLink()
{
    choose_Model(window, TcpModelIndex);
    const QStringList labelsBefore = sent_Labels(window);
    widget<QPushButton>("pushButton_Play")->click();
    QCOMPARE(sent_Labels(window), labelsBefore);
    // The volume label still follows the slider, with or without a link.
    widget<QSlider>("horizontalSlider_Volume")->setValue(7);
    QCOMPARE(widget<QLabel>("label_Volume_2")->text(), QStringLiteral("7"));
    QCOMPARE(sent_Labels(window), labelsBefore);
}

void TcpLinkTest::attemptUnderWayCarriesNoFrame()
{
    SilentPort silent;
    QVERIFY(silent.port() != 0);
    choose_Model(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = silent.port();
    widget<QSpinBox>("spinBox_IP_1")->setValue(127);
    widget<QSpinBox>("spinBox_IP_4")->setValue(1);
    QSignalSpy stateChanges(tcpSocket, &QAbstractSocket::stateChanged);
    widget<QPushButton>("pushButton_Connect")->click();

    // The handshake runs into the full queue: the attempt neither fails nor
    // succeeds (a refusal on loopback would come at once).
    QVERIFY(!stateChanges.isEmpty());
    stateChanges.clear();
    QVERIFY(!stateChanges.wait(300));
    QCOMPARE(tcpSocket->state(), QAbstractSocket::ConnectingState);
    QVERIFY(panelShowsConnected());
    QVERIFY(status_Text(window).startsWith(QLatin1String("Connecting to 127.0.0.1:")));
    // Nothing can carry the frame yet, so it is neither buffered nor shown.
    const QStringList labels = sent_Labels(window);
    widget<QPushButton>("pushButton_Play")->click();
    QCOMPARE(sent_Labels(window), labels);
    QCOMPARE(tcpSocket->bytesToWrite(), qint64(0));

    // Disconnect gives the attempt up at once instead of when it succeeds.
    widget<QPushButton>("pushButton_Disconnect")->click();
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(panelShowsDisconnected());
}

void TcpLinkTest::notationSwitches()
{
    auto *hex = widget<QRadioButton>("radioButton_Sent_Hex");
    auto *dec = widget<QRadioButton>("radioButton_Sent_Dec");
    // The switches lie in the command area, usable only with a link.
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    // Before any frame: whatever the start-up texts are, they read as 0.
    dec->click();
    QCOMPARE(sent_Labels(window), (QStringList{"0", "0", "0"}));
    hex->click();
    QCOMPARE(sent_Labels(window), (QStringList{"00", "00", "00"}));

    perform_Control(window, "pushButton_Play", "", "5");
    QVERIFY(player.waitForBytes(3));
    QCOMPARE(sent_Labels(window), (QStringList{"85", "02", "01"}));
    dec->click();
    QCOMPARE(sent_Labels(window), (QStringList{"133", "2", "1"}));
    // A click on the notation already shown leaves the labels as they are.
    dec->click();
    QCOMPARE(sent_Labels(window), (QStringList{"133", "2", "1"}));
    hex->click();
    hex->click();
    QCOMPARE(sent_Labels(window), (QStringList{"85", "02", "01"}));
}

QTEST_MAIN(TcpLinkTest)
#include "tst_link_tcp.moc"
