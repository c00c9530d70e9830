// The received-data pane fed by a loopback player over TCP.

#include <QtTest>

#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTextDocument>
#include <QTextEdit>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "loopbackplayer.h"
#include "testsupport.h"

namespace {
const char *const FormatButtons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                                     "radioButton_Data_Dec"};

// What the pane's plain text shows for readDataText: the text document keeps
// one line break for CR LF and for a lone CR, and gives its own separators and
// the no-break space back as a line break and a blank.
QString shownFor(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    for (QChar separator : {QChar(0x2028), QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
        text.replace(separator, QLatin1Char('\n'));
    text.replace(QChar(0x00A0), QLatin1Char(' '));
    return text;
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void oneReply_data();
    void oneReply();
    void chunkBoundariesLeaveNoTrace_data();
    void chunkBoundariesLeaveNoTrace();
    void formatChangeMidStream();
    void clearStartsFreshText();
    void scrollFollowsTheEnd();
    void paneOnlyGrowsAtTheEnd();
    void paneMatchesTextAfterRandomTraffic();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    QTextEdit *pane() { return widget<QTextEdit>("textEdit_Data"); }
    void useFormat(int format) { widget<QRadioButton>(FormatButtons[format])->click(); }
    bool sendChunk(const QByteArray &chunk);

    MainWindow *window = nullptr;
    LoopbackPlayer *player = nullptr;
};

void MonitorTest::initTestCase()
{
    prepare_Test_Process();
}

void MonitorTest::init()
{
    reset_Process_Objects();
    window = new MainWindow;
    window->show();
    player = new LoopbackPlayer;
    QVERIFY(connect_To_Player(window, *player));
}

void MonitorTest::cleanup()
{
    delete player;
    player = nullptr;
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

// One chunk as one read: the next chunk is sent only once the panel took this one.
bool MonitorTest::sendChunk(const QByteArray &chunk)
{
    QSignalSpy arrived(tcpSocket, &QIODevice::readyRead);
    if (!player->send(chunk))
        return false;
    // The window's slot was connected first, so it has run when the spy sees it.
    if (!arrived.wait(5000))
        return false;
    return tcpSocket->bytesAvailable() == 0;
}

void MonitorTest::oneReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");

    const QByteArray hi("\x48\x69\x0D\x0A", 4);
    QTest::newRow("text Hi CR LF") << hi << 0 << "Hi\r\n";
    QTest::newRow("hex Hi CR LF") << hi << 1 << " 48 69 0D 0A";
    QTest::newRow("dec Hi CR LF") << hi << 2 << " 72 105 13 10";
    QTest::newRow("text zero byte") << QByteArray("\x41\x00\x42", 3) << 0 << "AB";
    QTest::newRow("text zero byte first") << QByteArray("\x00\x42", 2) << 0 << "B";
    QTest::newRow("hex zero byte") << QByteArray("\x00\x42", 2) << 1 << " 00 42";
    QTest::newRow("hex FF") << QByteArray("\xFF") << 1 << " FF";
    QTest::newRow("dec FF") << QByteArray("\xFF") << 2 << " 255";
    QTest::newRow("bold markup") << QByteArray("<b>bold</b>") << 0 << "<b>bold</b>";
    QTest::newRow("html document") << QByteArray("<html><body><p>x</p></body></html>") << 0
                                   << "<html><body><p>x</p></body></html>";
    QTest::newRow("entity") << QByteArray("&lt;&amp;") << 0 << "&lt;&amp;";
}

void MonitorTest::oneReply()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, format);
    QFETCH(QString, text);

    useFormat(format);
    QVERIFY(sendChunk(bytes));
    QCOMPARE(readDataText, text);
    QCOMPARE(pane()->toPlainText(), shownFor(text));
}

void MonitorTest::chunkBoundariesLeaveNoTrace_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");

    QTest::newRow("hex 01 | 02") << QList<QByteArray>{"\x01", "\x02"} << 1 << " 01 02";
    QTest::newRow("dec 01 | 02") << QList<QByteArray>{"\x01", "\x02"} << 2 << " 1 2";
    QTest::newRow("text A | zero B") << QList<QByteArray>{"A", QByteArray("\x00" "B", 2)} << 0
                                     << "AB";
    QTest::newRow("text euro cut twice")
        << QList<QByteArray>{"\xE2", "\x82", "\xAC!"} << 0 << QString::fromUtf8("\xE2\x82\xAC!");
    QTest::newRow("text emoji cut")
        << QList<QByteArray>{"\xF0\x9F", "\x98\x80"} << 0 << QString::fromUtf8("\xF0\x9F\x98\x80");
    QTest::newRow("text CR | LF") << QList<QByteArray>{"a\r", "\nb"} << 0 << "a\r\nb";
    QTest::newRow("text markup cut") << QList<QByteArray>{"<", "b>x"} << 0 << "<b>x";
}

void MonitorTest::chunkBoundariesLeaveNoTrace()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(int, format);
    QFETCH(QString, text);

    useFormat(format);
    for (const QByteArray &chunk : chunks)
        QVERIFY(sendChunk(chunk));
    QCOMPARE(readDataText, text);
    QCOMPARE(pane()->toPlainText(), shownFor(text));
}

void MonitorTest::formatChangeMidStream()
{
    QVERIFY(sendChunk("Hi"));
    useFormat(1);
    QVERIFY(sendChunk("\x01"));
    useFormat(2);
    QVERIFY(sendChunk("\xFF"));
    useFormat(0);
    // A character cut when the format changes shows as one replacement
    // character: its bytes came in as text.
    QVERIFY(sendChunk("!\xE2\x82"));
    useFormat(1);
    QVERIFY(sendChunk("\xAC"));
    const QString expected = QStringLiteral("Hi 01 255!") + QChar(0xFFFD) + QStringLiteral(" AC");
    QCOMPARE(readDataText, expected);
    QCOMPARE(pane()->toPlainText(), expected);
}

void MonitorTest::clearStartsFreshText()
{
    QVERIFY(sendChunk("old\xE2"));
    widget<QPushButton>("pushButton_Clear")->click();
    QVERIFY(pane()->toPlainText().isEmpty());
    QVERIFY(readDataText.isEmpty());
    // The cut character before Clear is forgotten, not completed.
    QVERIFY(sendChunk("\x82\xAC"));
    QCOMPARE(readDataText, QString(2, QChar(0xFFFD)));
    widget<QPushButton>("pushButton_Clear")->click();
    useFormat(1);
    QVERIFY(sendChunk("\x0A"));
    QCOMPARE(pane()->toPlainText(), QStringLiteral(" 0A"));
    QCOMPARE(readDataText, QStringLiteral(" 0A"));
}

void MonitorTest::scrollFollowsTheEnd()
{
    QScrollBar *scrollBar = pane()->verticalScrollBar();
    for (int i = 0; i < 40; ++i)
        QVERIFY(sendChunk(QByteArray("line ") + QByteArray::number(i) + "\r\n"));
    QVERIFY(scrollBar->maximum() > 0);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
    // The operator scrolls up; the next chunk brings the end back into view.
    scrollBar->setValue(0);
    QVERIFY(sendChunk("more\r\n"));
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
}

void MonitorTest::paneOnlyGrowsAtTheEnd()
{
    // Rebuilding the pane for every chunk costs in proportion to everything
    // received; appending touches only the end of the document.
    QVERIFY(sendChunk(QByteArray(4000, 'x') + "\r\n"));
    QSignalSpy changes(pane()->document(), &QTextDocument::contentsChange);
    for (int i = 0; i < 20; ++i) {
        const int endBefore = pane()->document()->characterCount() - 1;
        QVERIFY(sendChunk("chunk\r\n"));
        QVERIFY(!changes.isEmpty());
        for (const QList<QVariant> &change : qAsConst(changes)) {
            QCOMPARE(change.at(1).toInt(), 0); // nothing removed
            QVERIFY(change.at(0).toInt() >= endBefore);
        }
        changes.clear();
    }
    QVERIFY(!pane()->document()->isUndoRedoEnabled());
}

void MonitorTest::paneMatchesTextAfterRandomTraffic()
{
    // Line ends, the characters the text document treats specially (U+2028,
    // U+2029, U+FDD0, U+00A0), zero bytes, markup and cut sequences.
    const QList<QByteArray> pool = {"\r",           "\n",           "\r\n",
                                    QByteArray(1, '\0'), "<b>",     "&amp;",
                                    "\xE2\x80\xA8", "\xE2\x80\xA9", "\xEF\xB7\x90",
                                    "\xC2\xA0",     "\xE2\x82",     "\xAC",
                                    "\xFF",         "\t",           "word"};
    QRandomGenerator random(7);
    for (int i = 0; i < 150; ++i) {
        if (random.bounded(6) == 0)
            useFormat(random.bounded(3));
        QByteArray chunk;
        const int parts = 1 + random.bounded(4);
        for (int p = 0; p < parts; ++p)
            chunk += pool.at(random.bounded(pool.size()));
        QVERIFY(sendChunk(chunk));
    }
    QVERIFY(!readDataText.isEmpty());
    QCOMPARE(pane()->toPlainText(), shownFor(readDataText));
}

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
