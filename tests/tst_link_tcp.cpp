// The panel on a TCP link: a QTcpServer on 127.0.0.1 plays the player.

#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
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
const QByteArray PlayFrame = QByteArray::fromHex("800201");

/// A port on 127.0.0.1 whose accept queue is full: the kernel drops further
/// handshakes, so a connection attempt to it stays under way.
struct SilentPort
{
    SilentPort()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto *generic = reinterpret_cast<sockaddr *>(&address);
        if (::bind(listener, generic, length) != 0 || ::listen(listener, 0) != 0
            || ::getsockname(listener, generic, &length) != 0)
            return;
        port = ntohs(address.sin_port);
        // A backlog of 0 still queues one; the second filler finds it full.
        for (int filler : fillers)
            ::connect(filler, generic, length);
    }
    ~SilentPort()
    {
        for (int fd : {listener, fillers[0], fillers[1]})
            ::close(fd);
    }
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    int fillers[2] = {::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0),
                      ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0)};
    quint16 port = 0;
};
} // namespace

class TcpLinkTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

    void connectUsesAddressAndModelPort();
    void controlFrames_data() { add_Frame_Rows({TcpModelIndex}); }
    void controlFrames();
    void requestFallback();
    void volumeButtonsAtTheEnds_data();
    void volumeButtonsAtTheEnds();
    void refusedPortLeavesPanelDisconnected();
    void peerHangUpLeavesPanelDisconnected();
    void disconnectLetsLastFrameLeave();
    void attemptUnderWayCarriesNoFrame();
    void notationSwitches();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    bool nothingSentTo(LoopbackPlayer &player);

    MainWindow *window = nullptr;
};

void TcpLinkTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
}

void TcpLinkTest::cleanup()
{
    delete window;
    reset_Process_Objects();
}

// Frames keep their order on the link: had anything been sent before, it
// would arrive ahead of this Play frame.
bool TcpLinkTest::nothingSentTo(LoopbackPlayer &player)
{
    perform_Control(window, "pushButton_Play", "", "0");
    return player.waitForBytes(3) && player.takeReceived() == PlayFrame;
}

void TcpLinkTest::connectUsesAddressAndModelPort()
{
    LoopbackPlayer player;
    start_TCP_Connect(window, player.port());
    const QString target = QStringLiteral("127.0.0.1:%1").arg(player.port());
    // The attempt counts as a link: it shows, and Disconnect could abort it.
    QCOMPARE(status_Text(window), QStringLiteral("Connecting to %1...").arg(target));
    QVERIFY(panel_Shows_Link(window, true));
    QVERIFY(player.waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(status_Text(window), "Connected to " + target, 5000);
    QCOMPARE(tcpSocket->peerPort(), player.port());
    QCOMPARE(tcpSocket->peerAddress(), QHostAddress(QHostAddress::LocalHost));
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
    if (control == "volume")
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), argument);
    if (control == "changeId")
        QCOMPARE(widget<QLabel>("label_Player")->text(), "Change ID: 127 " + argument);
}

void TcpLinkTest::requestFallback()
{
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    auto *requests = widget<QComboBox>("comboBox_Request");
    // An empty selector, and an entry that matches no Request command.
    for (const QStringList &entries : {QStringList(), QStringList{"remaining time"}}) {
        requests->clear();
        requests->addItems(entries);
        widget<QPushButton>("pushButton_Request")->click();
        QVERIFY(player.waitForBytes(3));
        QCOMPARE(player.takeReceived(), QByteArray::fromHex("800400"));
    }
}

void TcpLinkTest::volumeButtonsAtTheEnds_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("sent");
    // The TCP model's volume runs from 0 to 31.
    QTest::newRow("More below the maximum") << 12 << "More" << QByteArray::fromHex("80031F");
    QTest::newRow("Less above the minimum") << 12 << "Less" << QByteArray::fromHex("800300");
    QTest::newRow("More at the maximum") << 31 << "More" << QByteArray();
    QTest::newRow("Less at the minimum") << 0 << "Less" << QByteArray();
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
    widget<QPushButton>("pushButton_Volume_" + button)->click();
    if (sent.isEmpty()) {
        QCOMPARE(sent_Labels(window), labelsBefore);
        QVERIFY(nothingSentTo(player));
    } else {
        QVERIFY(player.waitForBytes(3));
        QCOMPARE(player.takeReceived(), sent);
    }
}

void TcpLinkTest::refusedPortLeavesPanelDisconnected()
{
    quint16 port = 0;
    {
        LoopbackPlayer gone;
        port = gone.port();
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        // A second Connect starts afresh from the closed socket.
        start_TCP_Connect(window, port);
        QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
        QCOMPARE(status_Text(window),
                 QStringLiteral("Connection to 127.0.0.1:%1 failed: Connection refused").arg(port));
        QVERIFY(!tcpSocket->isOpen());
    }
}

void TcpLinkTest::peerHangUpLeavesPanelDisconnected()
{
    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    // The last words before the hang-up still reach the pane.
    QVERIFY(player.send("bye"));
    player.hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    QCOMPARE(status_Text(window),
             QStringLiteral("Connection to 127.0.0.1:%1 lost: The remote host closed the connection")
                 .arg(player.port()));
    QCOMPARE(widget<QTextEdit>("textEdit_Data")->toPlainText(), QStringLiteral("bye"));
    QVERIFY(!tcpSocket->isOpen());

    QVERIFY(connect_To_Player(window, player));
    QVERIFY(nothingSentTo(player));
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
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    QVERIFY(status_Text(window).isEmpty());
}

void TcpLinkTest::attemptUnderWayCarriesNoFrame()
{
    SilentPort silent;
    QVERIFY(silent.port != 0);
    QSignalSpy stateChanges(tcpSocket, &QAbstractSocket::stateChanged);
    start_TCP_Connect(window, silent.port);
    // The handshake runs into the full queue: the attempt neither fails nor
    // succeeds (a refusal on loopback would come at once).
    stateChanges.clear();
    QVERIFY(!stateChanges.wait(300));
    QCOMPARE(tcpSocket->state(), QAbstractSocket::ConnectingState);
    QVERIFY(panel_Shows_Link(window, true));

    // Nothing can carry the frame yet, so it is neither buffered nor shown.
    const QStringList labels = sent_Labels(window);
    widget<QPushButton>("pushButton_Play")->click();
    QCOMPARE(sent_Labels(window), labels);
    QCOMPARE(tcpSocket->bytesToWrite(), qint64(0));

    // Disconnect gives the attempt up at once, not when it would succeed.
    widget<QPushButton>("pushButton_Disconnect")->click();
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(panel_Shows_Link(window, false));
}

void TcpLinkTest::notationSwitches()
{
    LoopbackPlayer player; // the switches are usable only with a link
    QVERIFY(connect_To_Player(window, player));
    auto *hex = widget<QRadioButton>("radioButton_Sent_Hex");
    auto *dec = widget<QRadioButton>("radioButton_Sent_Dec");
    // Before any frame, whatever the start-up texts are, they read as 0.
    dec->click();
    QCOMPARE(sent_Labels(window), (QStringList{"0", "0", "0"}));
    hex->click();
    QCOMPARE(sent_Labels(window), (QStringList{"00", "00", "00"}));

    perform_Control(window, "pushButton_Play", "", "5");
    QVERIFY(player.waitForBytes(3));
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
