// Links that fail the hard way and players that send what no player should:
// a reset mid-frame, a flood, a pty that vanishes while frames are written,
// hundreds of connections, and huge, binary, broken or markup replies. The
// panel must survive each, show exactly what came, end disconnected where the
// link is gone, and keep answering its keys.

#include <QApplication>
#include <QRadioButton>
#include <QSerialPort>
#include <QTextEdit>

#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <functional>
#include <thread>

#include "link/link.h"
#include "link/received_data.h"
#include "panelcase.h"
#include "socatpair.h"

namespace {

constexpr int TimeoutMs = 10000;

/// A player on plain blocking sockets in a thread of its own, so it can flood
/// or reset while this thread runs the panel's event loop. The script closes
/// the accepted socket itself (setting it to -1) or leaves an orderly close.
struct ThreadPlayer
{
    explicit ThreadPlayer(std::function<void(int &fd)> script)
    {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        auto *generic = reinterpret_cast<sockaddr *>(&address);
        if (::bind(listener, generic, length) == 0 && ::listen(listener, 1) == 0
            && ::getsockname(listener, generic, &length) == 0)
            port = ntohs(address.sin_port);
        thread = std::thread([this, script] {
            pollfd waiting{listener, POLLIN, 0};
            int fd = ::poll(&waiting, 1, TimeoutMs) == 1 ? ::accept(listener, nullptr, nullptr) : -1;
            if (fd < 0)
                return;
            // Blocking calls give up after a while, so the thread always ends.
            const timeval limit{TimeoutMs / 1000, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
            script(fd);
            if (fd >= 0)
                ::close(fd);
            done = true;
        });
    }
    ~ThreadPlayer() { thread.join(), ::close(listener); }

    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    quint16 port = 0;
    std::thread thread;
    std::atomic<bool> done{false};
};

bool sendAll(int fd, const QByteArray &bytes)
{
    for (qsizetype sent = 0, n; sent < bytes.size(); sent += n)
        if ((n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL)) <= 0)
            return false;
    return true;
}

QByteArray receive(int fd, int count)
{
    QByteArray bytes(count, '\0');
    int got = 0;
    for (ssize_t n; got < count && (n = ::recv(fd, bytes.data() + got, size_t(count - got), 0)) > 0;)
        got += int(n);
    return bytes.left(got);
}

QString formatted(const QByteArray &bytes, DataFormat format)
{
    QString text;
    ReceivedDataFormatter().append(bytes, format, text);
    return text;
}

/// Where two long texts part, for a failure message that fits on a screen.
QByteArray firstDifference(const QString &actual, const QString &expected)
{
    int i = 0;
    while (i < actual.size() && i < expected.size() && actual.at(i) == expected.at(i))
        ++i;
    return QStringLiteral("lengths %1 and %2, first difference at %3: \"%4\" vs \"%5\"")
        .arg(actual.size()).arg(expected.size()).arg(i).arg(actual.mid(i, 20), expected.mid(i, 20)).toUtf8();
}
#define COMPARE_TEXT(actual, expected) \
    QVERIFY2((actual) == (expected), firstDifference(actual, expected).constData())

int openDescriptors()
{
    // Every kind: sockets, pipes, devices and files, deleted ones too.
    return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

} // namespace

class FaultsLinksTest : public PanelCase
{
    Q_OBJECT

public:
    FaultsLinksTest() : PanelCase(false) {}

private:
    void connectSerial(const QString &portPath)
    {
        choose_Model(window, 0);
        widget<QComboBox>("comboBox_Port")->setEditText(portPath);
        widget<QPushButton>("pushButton_Connect")->click();
    }
    void clickPlay() { widget<QPushButton>("pushButton_Play")->click(); }
    /// Keeps sending frames (bounded) until the panel notices the lost link.
    void playUntilDisconnected(int rounds)
    {
        for (int i = 0; i < rounds && !panel_Shows_Link(window, false); ++i) {
            clickPlay();
            QTest::qWait(2);
        }
        QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), TimeoutMs);
    }

private slots:
    void resetInTheMiddleOfAFrame()
    {
        QByteArray taken;
        {
            // Reads one byte of the first frame, then resets with the rest unread.
            ThreadPlayer resetter([&taken](int &fd) {
                taken = receive(fd, 1);
                const linger abortive{1, 0};
                ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
                ::close(fd);
                fd = -1;
            });
            start_TCP_Connect(window, resetter.port);
            QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
            playUntilDisconnected(200);
            QVERIFY(resetter.done);
        }
        QCOMPARE(taken, QByteArray::fromHex("80"));
        const QString status = status_Text(window);
        QVERIFY2(status.startsWith("Connection to 127.0.0.1:") && status.contains(" lost: "), qPrintable(status));
        QVERIFY(frameLinks().isEmpty());
        // The next connection starts clean: no bytes left over from the dead one.
        QVERIFY(connect_To_Player(window, *player));
        clickPlay();
        QVERIFY(player->waitForBytes(3));
        QCOMPARE(player->takeReceived(), QByteArray::fromHex("800201"));
    }

    void floodThenHangUp()
    {
        // 10 MB of lines with CR LF and a four-byte character: the pane is trimmed
        // between chunks, and neither may be cut in two.
        constexpr int FloodBytes = 10 * 1024 * 1024;
        QByteArray flood;
        flood.reserve(FloodBytes + 64);
        for (int line = 0; flood.size() < FloodBytes; ++line)
            flood += QByteArray::number(line).rightJustified(8, '0') + " \xF0\x9F\x8E\xB5 flood\r\n";
        flood.truncate(FloodBytes);
        const QString all = formatted(flood, DataFormat::Text);

        ThreadPlayer flooder([&flood](int &fd) { sendAll(fd, flood); });
        start_TCP_Connect(window, flooder.port);
        // The panel reads what came before it reports the hang-up.
        QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), 60000);
        QVERIFY(flooder.done);
        QCOMPARE(status_Text(window),
                 QStringLiteral("Connection to 127.0.0.1:%1 lost: The remote host closed the connection")
                     .arg(flooder.port));
        // The pane keeps the latest lines, whole and unchanged.
        QVERIFY(readDataText.size() <= ReceivedTextLimit && readDataText.size() >= ReceivedTextLimit / 2);
        const QString tail = all.right(readDataText.size());
        COMPARE_TEXT(readDataText, tail);
        QCOMPARE(all.at(all.size() - tail.size() - 1), QLatin1Char('\n'));
        const auto *pane = widget<QTextEdit>("textEdit_Data");
        const QString shown = QString(tail).replace("\r\n", "\n");
        (void)QTest::qWaitFor([&] { return pane->toPlainText() == shown; }, 1000);
        COMPARE_TEXT(pane->toPlainText(), shown);
    }

    void ptyVanishesWhileWriting()
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
        playUntilDisconnected(100);
        QVERIFY(!serialPort->isOpen());
        QCOMPARE(status_Text(window), "Serial port " + cable.panelEnd() + " was removed or unplugged");
        // With nothing to carry it, a frame is not shown as sent (another ID would show).
        const QStringList labels = sent_Labels(window);
        widget<QComboBox>("comboBox_ID")->setCurrentIndex(9);
        clickPlay();
        QCOMPARE(sent_Labels(window), labels);
    }

    void connectDisconnectLeaksNothing()
    {
        SocatPair cable;
        QVERIFY2(cable.isReady(), qPrintable(cable.failure()));
        for (const bool serial : {false, true}) {
            const auto cycle = [&](LoopbackPlayer &peer) {
                if (serial)
                    connectSerial(cable.panelEnd());
                else
                    QVERIFY(connect_To_Player(window, peer));
                QVERIFY(panel_Shows_Link(window, true));
                widget<QPushButton>("pushButton_Disconnect")->click();
                QTRY_VERIFY_WITH_TIMEOUT(panel_Shows_Link(window, false), TimeoutMs);
                QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
                QVERIFY(!serialPort->isOpen());
            };
            // The first round opens what Qt keeps for good; a player
            // keeps its side of every connection until it goes.
            {
                LoopbackPlayer warmUp;
                cycle(warmUp);
            }
            const int before = openDescriptors();
            {
                LoopbackPlayer peer;
                for (int i = 0; i < 200 && !QTest::currentTestFailed(); ++i)
                    cycle(peer);
            }
            QVERIFY2(!QTest::currentTestFailed() && openDescriptors() == before, serial ? "serial" : "TCP");
        }
    }

    void hostileReply_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<int>("format");
        // All of them 1 MB without a line break: one paragraph in the pane.
        const auto filled = [](const QByteArray &piece) {
            return piece.repeated(1024 * 1024 / piece.size() + 1).left(1024 * 1024);
        };
        QTest::newRow("text") << filled("The quick brown fox \xF0\x9F\xA6\x8A jumps over the lazy dog. ") << 0;
        QTest::newRow("zero bytes") << filled(QByteArray("ab\0\0c\0", 6)) << 0;
        QTest::newRow("invalid UTF-8")
            << filled("\xFF" "a\xC0\x80" "b\x80\xE2\x82" "c\xED\xA0\x80\xF4\x90\x80\x80\xE2\x82\xAC") << 0;
        QTest::newRow("markup") << filled("<html><body><b>x</b>&amp;<script>alert(1)</script><img src=y> ") << 0;
        QTest::newRow("binary in hex") << filled(QByteArray("\x00\x7F\x80\xFF\x0D\x0A<&", 8)) << 1;
    }

    void hostileReply()
    {
        QFETCH(QByteArray, reply);
        QFETCH(int, format);
        reply += "#END"; // tells when the last byte has been shown
        const DataFormat dataFormat = format == 0 ? DataFormat::Text : DataFormat::Hex;
        const QString all = formatted(reply, dataFormat);

        // It answers the first frame with the reply, then waits for another.
        QByteArray frame;
        ThreadPlayer hostile([&](int &fd) {
            if (receive(fd, 3).size() == 3 && sendAll(fd, reply))
                frame = receive(fd, 3);
        });
        start_TCP_Connect(window, hostile.port);
        QTRY_COMPARE_WITH_TIMEOUT(tcpSocket->state(), QAbstractSocket::ConnectedState, TimeoutMs);
        // The format buttons work only with a link.
        widget<QRadioButton>(format == 0 ? "radioButton_Data_ASCII" : "radioButton_Data_Hex")->click();
        clickPlay();
        QTRY_VERIFY_WITH_TIMEOUT(readDataText.endsWith(formatted("#END", dataFormat)), 60000);
        // No line feed to cut after: the pane keeps the latest characters, and
        // none of them is one the document would turn into another.
        QVERIFY(readDataText.size() <= ReceivedTextLimit);
        const QString tail = all.right(readDataText.size());
        COMPARE_TEXT(readDataText, tail);
        QVERIFY(!readDataText.at(0).isLowSurrogate());
        const auto *pane = widget<QTextEdit>("textEdit_Data");
        (void)QTest::qWaitFor([&] { return pane->toPlainText() == tail; }, 1000);
        COMPARE_TEXT(pane->toPlainText(), tail);

        // Still at the operator's service: a shortcut's frame leaves at once.
        QVERIFY(activate_Window(window));
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget() ? QApplication::focusWidget() : window,
                            Qt::Key_1, QString(), Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(hostile.done, 1000);
        QCOMPARE(frame, QByteArray::fromHex("800101"));
    }
};

QTEST_MAIN(FaultsLinksTest)
#include "tst_faults_links.moc"
