// Links that fail the hard way and players that send what no player should:
// a reset in the middle of a frame, a flood, a pty that vanishes while frames
// are written, hundreds of connections, and replies that are huge, binary,
// broken UTF-8 or markup. The panel must survive each, show exactly what came,
// end disconnected where the link is gone, and keep answering its keys.

#include <QtTest>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextEdit>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "panelcase.h"
#include "link/link.h"
#include "link/received_data.h"
#include "loopbackplayer.h"
#include "socatpair.h"
#include "testsupport.h"

namespace {

constexpr int TimeoutMs = 10000;
// The pane keeps a bounded tail, so this takes about a second, sanitized too.
constexpr int FloodBytes = 10 * 1024 * 1024;

/// A player on 127.0.0.1 in a thread of its own, on plain blocking sockets, so
/// it can flood or reset while this thread runs the panel's event loop. The
/// script gets the accepted socket and closes it itself, or leaves it to be
/// closed (an orderly close) when it returns.
class ThreadPlayer
{
public:
    using Script = std::function<void(int &fd)>;

    explicit ThreadPlayer(Script script)
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto *generic = reinterpret_cast<sockaddr *>(&address);
        if (::bind(m_listener, generic, length) != 0 || ::listen(m_listener, 1) != 0
            || ::getsockname(m_listener, generic, &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this, script] {
            pollfd waiting{m_listener, POLLIN, 0};
            if (::poll(&waiting, 1, TimeoutMs) != 1)
                return;
            int fd = ::accept(m_listener, nullptr, nullptr);
            // Blocking calls give up after a while, so the thread always ends.
            const timeval limit{TimeoutMs / 1000, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            script(fd);
            if (fd >= 0)
                ::close(fd);
            m_done = true;
        });
    }
    ~ThreadPlayer()
    {
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }

    quint16 port() const { return m_port; }
    bool done() const { return m_done; }

private:
    int m_listener = ::socket(AF_INET, SOCK_STREAM, 0);
    quint16 m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_done{false};
};

bool sendAll(int fd, const QByteArray &bytes)
{
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += n;
    }
    return true;
}

QByteArray receive(int fd, int count)
{
    QByteArray bytes(count, '\0');
    int got = 0;
    while (got < count) {
        const ssize_t n = ::recv(fd, bytes.data() + got, size_t(count - got), 0);
        if (n <= 0)
            break;
        got += int(n);
    }
    return bytes.left(got);
}

/// What the formatter makes of `bytes` received in one piece.
QString formatted(const QByteArray &bytes, DataFormat format)
{
    ReceivedDataFormatter formatter;
    QString text;
    formatter.append(bytes, format, text);
    return text;
}

/// Where two long texts part, for a failure message that fits on a screen.
QByteArray firstDifference(const QString &actual, const QString &expected)
{
    int i = 0;
    while (i < actual.size() && i < expected.size() && actual.at(i) == expected.at(i))
        ++i;
    return QStringLiteral("lengths %1 and %2, first difference at %3: \"%4\" vs \"%5\"")
        .arg(actual.size())
        .arg(expected.size())
        .arg(i)
        .arg(actual.mid(i, 20), expected.mid(i, 20))
        .toUtf8();
}

int openDescriptors()
{
    // Every kind: sockets, pipes, devices and files, deleted ones too.
    return QDir(QStringLiteral("/proc/self/fd"))
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

} // namespace

class FaultsLinksTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

    void resetInTheMiddleOfAFrame();
    void floodThenHangUp();
    void ptyVanishesWhileWriting();
    void connectDisconnectLeaksNothing_data();
    void connectDisconnectLeaksNothing();
    void hostileReply_data();
    void hostileReply();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    void connectSerial(const QString &portPath);
    void clickPlay() { widget<QPushButton>("pushButton_Play")->click(); }

    MainWindow *window = nullptr;
};

void FaultsLinksTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
    window->show();
}

void FaultsLinksTest::cleanup()
{
    delete window;
    reset_Process_Objects();
}

void FaultsLinksTest::connectSerial(const QString &portPath)
{
    choose_Model(window, 0);
    auto *ports = widget<QComboBox>("comboBox_Port");
    ports->addItem(portPath);
    ports->setCurrentIndex(ports->count() - 1);
    widget<QPushButton>("pushButton_Connect")->click();
}

void FaultsLinksTest::resetInTheMiddleOfAFrame()
{
    QByteArray taken;
    {
        // Reads one byte of the first frame, then resets with the rest unread.
        ThreadPlayer player([&taken](int &fd) {
            taken = receive(fd, 1);
            const linger abortive{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
            ::close(fd);
            fd = -1;
        });
        start_TCP_Connect(window, player.port());
        QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
        // Frames keep coming while the reset arrives, and after it.
        for (int i = 0; i < 200 && !panel_Shows_Link(window, false); ++i) {
            clickPlay();
            QTest::qWait(2);
        }
        QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), TimeoutMs);
        QVERIFY(player.done());
    }
    QCOMPARE(taken, QByteArray::fromHex("80"));
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith(QStringLiteral("Connection to 127.0.0.1:")) && status.contains(" lost: "),
             qPrintable(status));
    QVERIFY(frame_Links().isEmpty());

    // The next connection starts clean: no bytes left over from the dead one.
    LoopbackPlayer next;
    QVERIFY(connect_To_Player(window, next));
    clickPlay();
    QVERIFY(next.waitForBytes(3));
    QCOMPARE(next.takeReceived(), QByteArray::fromHex("800201"));
}

void FaultsLinksTest::floodThenHangUp()
{
    QByteArray flood;
    flood.reserve(FloodBytes);
    // Lines with CR LF and a character of four bytes: the pane is trimmed
    // between chunks, and neither may be cut in two.
    for (int line = 0; flood.size() < FloodBytes; ++line)
        flood += QByteArray::number(line).rightJustified(8, '0') + " \xF0\x9F\x8E\xB5 flood\r\n";
    flood.truncate(FloodBytes);
    const QString all = formatted(flood, DataFormat::Text);

    ThreadPlayer player([&flood](int &fd) { sendAll(fd, flood); });
    start_TCP_Connect(window, player.port());
    // The panel reads what came before it reports the hang-up.
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 60000);
    QVERIFY(player.done());
    QCOMPARE(status_Text(window),
             QStringLiteral("Connection to 127.0.0.1:%1 lost: The remote host closed the connection")
                 .arg(player.port()));

    // The pane keeps the latest lines, whole and unchanged.
    QVERIFY(readDataText.size() <= Received_Text_Limit);
    QVERIFY(readDataText.size() >= Received_Text_Limit / 2);
    const QString tail = all.right(readDataText.size());
    QVERIFY2(readDataText == tail, firstDifference(readDataText, tail).constData());
    QCOMPARE(all.at(all.size() - tail.size() - 1), QLatin1Char('\n'));
    const QString shown = QString(tail).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QString plain = widget<QTextEdit>("textEdit_Data")->toPlainText();
    QVERIFY2(plain == shown, firstDifference(plain, shown).constData());
}

void FaultsLinksTest::ptyVanishesWhileWriting()
{
    SocatPair cable;
    QVERIFY2(cable.isReady(), qPrintable(cable.failure()));
    QSerialPort playerEnd(cable.playerEnd());
    QVERIFY(playerEnd.open(QIODevice::ReadWrite));
    connectSerial(cable.panelEnd());
    QVERIFY(serialPort->isOpen());

    for (int i = 0; i < 20; ++i)
        clickPlay();
    // Pulled while those frames may still wait in the port's buffer.
    cable.kill();
    for (int i = 0; i < 100 && !panel_Shows_Link(window, false); ++i) {
        clickPlay();
        QTest::qWait(2);
    }
    QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), TimeoutMs);
    QVERIFY(!serialPort->isOpen());
    const QString status = status_Text(window);
    QVERIFY2(status.startsWith("Serial port " + cable.panelEnd() + " lost: "), qPrintable(status));
    // With nothing to carry it, a frame is not shown as sent (another ID, so
    // it would show).
    const QStringList labels = sent_Labels(window);
    widget<QComboBox>("comboBox_ID")->setCurrentIndex(9);
    clickPlay();
    QCOMPARE(sent_Labels(window), labels);
}

void FaultsLinksTest::connectDisconnectLeaksNothing_data()
{
    QTest::addColumn<bool>("serial");
    QTest::newRow("TCP") << false;
    QTest::newRow("serial") << true;
}

void FaultsLinksTest::connectDisconnectLeaksNothing()
{
    QFETCH(bool, serial);
    SocatPair cable;
    QVERIFY2(cable.isReady(), qPrintable(cable.failure()));
    const auto cycle = [&](LoopbackPlayer &player) {
        if (serial)
            connectSerial(cable.panelEnd());
        else
            QVERIFY(connect_To_Player(window, player));
        QVERIFY(panel_Shows_Link(window, true));
        widget<QPushButton>("pushButton_Disconnect")->click();
        QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), TimeoutMs);
        QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
        QVERIFY(!serialPort->isOpen());
    };
    {
        // The first round opens what the toolkit keeps for good.
        LoopbackPlayer player;
        cycle(player);
    }
    const int before = openDescriptors();
    {
        // The player keeps its side of every connection until it goes.
        LoopbackPlayer player;
        for (int i = 0; i < 200; ++i) {
            cycle(player);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("round %1").arg(i)));
        }
    }
    QCOMPARE(openDescriptors(), before);
}

void FaultsLinksTest::hostileReply_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<int>("format");
    constexpr int Size = 1024 * 1024;
    const auto filled = [](const QByteArray &piece) {
        QByteArray bytes;
        bytes.reserve(Size + piece.size());
        while (bytes.size() < Size)
            bytes += piece;
        bytes.truncate(Size);
        return bytes;
    };
    // All of them 1 MB without a line break: one paragraph in the pane.
    QTest::newRow("text") << filled("The quick brown fox \xF0\x9F\xA6\x8A jumps over the lazy dog. ") << 0;
    QTest::newRow("zero bytes") << filled(QByteArray("ab\0\0c\0", 6)) << 0;
    QTest::newRow("invalid UTF-8")
        << filled("\xFF" "a\xC0\x80" "b\x80\xE2\x82" "c\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82\xAC") << 0;
    QTest::newRow("markup") << filled("<html><body><b>x</b>&amp;<script>alert(1)</script><img src=y> ")
                            << 0;
    QTest::newRow("binary in hex") << filled(QByteArray("\x00\x7F\x80\xFF\x0D\x0A<&", 8)) << 1;
}

void FaultsLinksTest::hostileReply()
{
    QFETCH(QByteArray, reply);
    QFETCH(int, format);
    // The end mark tells when the last byte has been shown.
    reply += "#END";
    const DataFormat dataFormat = format == 0 ? DataFormat::Text : DataFormat::Hex;
    const QString all = formatted(reply, dataFormat);

    // It answers the first frame with the reply, then waits for another.
    QByteArray frame;
    ThreadPlayer player([&](int &fd) {
        if (receive(fd, 3).size() == 3 && sendAll(fd, reply))
            frame = receive(fd, 3);
    });
    start_TCP_Connect(window, player.port());
    QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
    // The format buttons work only with a link.
    static const char *const buttons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex"};
    widget<QRadioButton>(buttons[format])->click();
    clickPlay();
    QTRY_VERIFY_WITH_TIMEOUT(readDataText.endsWith(formatted("#END", dataFormat)), 60000);
    // No line feed to cut after: the pane keeps the latest characters.
    QVERIFY(readDataText.size() <= Received_Text_Limit);
    const QString tail = all.right(readDataText.size());
    QVERIFY2(readDataText == tail, firstDifference(readDataText, tail).constData());
    QVERIFY(!readDataText.at(0).isLowSurrogate());
    // None of these texts holds a character the document would turn into another.
    const QString plain = widget<QTextEdit>("textEdit_Data")->toPlainText();
    QVERIFY2(plain == tail, firstDifference(plain, tail).constData());

    // Still at the operator's service: a shortcut's frame leaves at once.
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window, TimeoutMs));
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget() ? QApplication::focusWidget() : window,
                        Qt::Key_1, QString(), Qt::ControlModifier);
    QTRY_VERIFY_WITH_TIMEOUT(player.done(), 1000);
    QCOMPARE(frame, QByteArray::fromHex("800101"));
}

QTEST_MAIN(FaultsLinksTest)
#include "tst_faults_links.moc"
