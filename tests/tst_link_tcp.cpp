// The panel on a TCP link: a QTcpServer on 127.0.0.1 plays the player.

#include <QRadioButton>
#include <QTextEdit>

#include <QTcpSocket>

#include <list>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "panelcase.h"

class TcpLinkTest : public PanelCase
{
    Q_OBJECT

public:
    TcpLinkTest() : PanelCase(false) {}

private slots:
    void connectAndDisconnect();
    void controlFrames_data() { add_Frame_Rows(TcpModelIndex); }
    void controlFrames();
    void requestFallback();
    void refusedPortLeavesPanelDisconnected();
    void peerHangUpLeavesPanelDisconnected();
    void attemptWithoutAnswerTimesOut();
};

void TcpLinkTest::connectAndDisconnect()
{
    start_TCP_Connect(window, player->port());
    const QString target = QStringLiteral("127.0.0.1:%1").arg(player->port());
    // The attempt under way counts as a link, but a frame now is neither
    // buffered for later nor shown as sent.
    QCOMPARE(tcpSocket->state(), QAbstractSocket::ConnectingState);
    QCOMPARE(status_Text(window), "Connecting to " + target + "...");
    QVERIFY(panel_Shows_Link(window, true));
    const QStringList labels = sent_Labels(window);
    perform_Control(window, "Play", "", "0");
    QCOMPARE(sent_Labels(window), labels);

    QVERIFY(player->waitForPanel());
    QTRY_COMPARE_WITH_TIMEOUT(status_Text(window), "Connected to " + target, 5000);
    QVERIFY(nothingSent());

    // A frame clicked just before Disconnect still leaves.
    perform_Control(window, "Stop", "", "5");
    widget<QPushButton>("pushButton_Disconnect")->click();
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), QByteArray::fromHex("850202"));
    QTRY_VERIFY_WITH_TIMEOUT(!player->hasPanel(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    QCOMPARE(status_Text(window), "Disconnected from " + target);

    // Disconnect gives an attempt up at once, not once it has succeeded.
    start_TCP_Connect(window, player->port());
    widget<QPushButton>("pushButton_Disconnect")->click();
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
    QVERIFY(panel_Shows_Link(window, false));
}

void TcpLinkTest::controlFrames()
{
    QFETCH(QString, control);
    QFETCH(QString, argument);
    QFETCH(QString, id);
    QFETCH(bool, decimal);
    QFETCH(QByteArray, frame);
    QVERIFY(connect_To_Player(window, *player));
    widget<QRadioButton>(decimal ? "radioButton_Sent_Dec" : "radioButton_Sent_Hex")->click();

    perform_Control(window, control, argument, id);
    // On the wire already, not on the event loop's next pass.
    QCOMPARE(tcpSocket->bytesToWrite(), 0);
    QVERIFY(player->waitForBytes(3));
    QCOMPARE(player->takeReceived(), frame);
    QCOMPARE(sent_Labels(window), labels_For(frame, decimal));
    // Switching converts the labels; a click on the notation already shown
    // must not convert them again.
    auto *other = widget<QRadioButton>(decimal ? "radioButton_Sent_Hex" : "radioButton_Sent_Dec");
    for (int click = 0; click < 2; ++click) {
        other->click();
        QCOMPARE(sent_Labels(window), labels_For(frame, !decimal));
    }
    if (control == "Volume")
        QCOMPARE(widget<QLabel>("label_Volume_2")->text(), argument);
    if (control == "Change_ID")
        QCOMPARE(widget<QLabel>("label_Player")->text(), "Change ID: 127 " + argument);
}

void TcpLinkTest::requestFallback()
{
    QVERIFY(connect_To_Player(window, *player));
    auto *requests = widget<QComboBox>("comboBox_Request");
    // An empty selector, and an entry that matches no Request command.
    for (const QStringList &entries : {QStringList(), QStringList{"remaining time"}}) {
        requests->clear();
        requests->addItems(entries);
        widget<QPushButton>("pushButton_Request")->click();
        QVERIFY(player->waitForBytes(3));
        QCOMPARE(player->takeReceived(), QByteArray::fromHex("800400"));
    }
}

void TcpLinkTest::refusedPortLeavesPanelDisconnected()
{
    const quint16 port = LoopbackPlayer().port(); // closed again at once
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
    QVERIFY(connect_To_Player(window, *player));
    // The last words before the hang-up still reach the pane.
    QVERIFY(player->send("bye"));
    player->hangUp();
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    QCOMPARE(status_Text(window), QStringLiteral("Connection to 127.0.0.1:%1 lost: The remote "
                                                 "host closed the connection").arg(player->port()));
    QCOMPARE(widget<QTextEdit>("textEdit_Data")->toPlainText(), QStringLiteral("bye"));
    QVERIFY(!tcpSocket->isOpen());
}

void TcpLinkTest::attemptWithoutAnswerTimesOut()
{
    // A listener that never accepts, its backlog full: further handshakes get no answer.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr *>(&address), length) == 0
            && ::listen(listener, 0) == 0
            && ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0);
    const quint16 port = ntohs(address.sin_port);
    std::list<QTcpSocket> fillers;
    do {
        fillers.emplace_back();
        fillers.back().connectToHost(QHostAddress::LocalHost, port);
    } while (fillers.size() < 16 && fillers.back().waitForConnected(300));

    window->setConnectTimeout(300);
    start_TCP_Connect(window, port);
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 5000);
    ::close(listener);
    QCOMPARE(status_Text(window), QStringLiteral("Connection to 127.0.0.1:%1 failed: timed out").arg(port));
    QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
}

QTEST_MAIN(TcpLinkTest)
#include "tst_link_tcp.moc"
