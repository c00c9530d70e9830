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
#include "link/received_data.h"
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
    text.replace("\r\n", "\n").replace('\r', '\n');
    for (QChar separator : {QChar(0x2028), QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
        text.replace(separator, '\n');
    return text.replace(QChar(0x00A0), ' ');
}
} // namespace

class MonitorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void init();
    void cleanup();

    void oneReply_data();
    void oneReply();
    void formatChangeMidStream();
    void clearStartsFreshText();
    void scrollFollowsTheEnd();
    void paneOnlyGrowsAtTheEnd();
    void randomTrafficIgnoresChunking();

private:
    QTextEdit *pane() { return find_Widget<QTextEdit>(window, "textEdit_Data"); }
    void useFormat(int format) { find_Widget<QRadioButton>(window, FormatButtons[format])->click(); }
    bool sendChunk(const QByteArray &chunk);

    MainWindow *window = nullptr;
    LoopbackPlayer *player = nullptr;
};

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
    delete window;
    reset_Process_Objects();
}

// One chunk, one read: the next chunk is sent only once the panel took this one.
bool MonitorTest::sendChunk(const QByteArray &chunk)
{
    QSignalSpy arrived(tcpSocket, &QIODevice::readyRead);
    // The window's slot was connected first, so it has run when the spy sees it.
    return player->send(chunk) && arrived.wait(5000) && tcpSocket->bytesAvailable() == 0;
}

void MonitorTest::oneReply_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    const QByteArray hi("\x48\x69\x0D\x0A\x00\xFF", 6);
    QTest::newRow("text") << hi << 0 << QStringLiteral("Hi\r\n\uFFFD");
    QTest::newRow("hex") << hi << 1 << " 48 69 0D 0A 00 FF";
    QTest::newRow("dec") << hi << 2 << " 72 105 13 10 0 255";
    QTest::newRow("markup") << QByteArray("<b>bold</b>&amp;") << 0 << "<b>bold</b>&amp;";
    QTest::newRow("html document") << QByteArray("<html><body><p>x</p></body></html>") << 0
                                   << "<html><body><p>x</p></body></html>";
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

void MonitorTest::formatChangeMidStream()
{
    QVERIFY(sendChunk("Hi"));
    useFormat(1);
    QVERIFY(sendChunk("\x01"));
    useFormat(2);
    QVERIFY(sendChunk("\xFF"));
    useFormat(0);
    QVERIFY(sendChunk("!\xE2\x82"));
    useFormat(1);
    QVERIFY(sendChunk("\xAC"));
    // A character cut by the change shows as text: its bytes came in as text.
    const QString expected = QStringLiteral("Hi 01 255!\uFFFD AC");
    QCOMPARE(readDataText, expected);
    QCOMPARE(pane()->toPlainText(), expected);
}

void MonitorTest::clearStartsFreshText()
{
    QVERIFY(sendChunk("old\xE2"));
    find_Widget<QPushButton>(window, "pushButton_Clear")->click();
    QVERIFY(pane()->toPlainText().isEmpty());
    QVERIFY(readDataText.isEmpty());
    // The character cut before Clear is forgotten, not completed.
    QVERIFY(sendChunk("\x82\xAC"));
    QCOMPARE(readDataText, QStringLiteral("\uFFFD\uFFFD"));
    find_Widget<QPushButton>(window, "pushButton_Clear")->click();
    useFormat(1);
    QVERIFY(sendChunk("\x0A"));
    QCOMPARE(pane()->toPlainText(), QStringLiteral(" 0A"));
}

void MonitorTest::scrollFollowsTheEnd()
{
    QScrollBar *scrollBar = pane()->verticalScrollBar();
    for (int i = 0; i < 40; ++i)
        QVERIFY(sendChunk("line " + QByteArray::number(i) + "\r\n"));
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

void MonitorTest::randomTrafficIgnoresChunking()
{
    // Line ends, the characters the text document treats specially, zero
    // bytes, markup and sequences cut across chunks.
    const QList<QByteArray> pool = {"\r", "\n", "\r\n", QByteArray(1, '\0'), "<b>", "&amp;",
                                    "\xE2\x80\xA8", "\xE2\x80\xA9", "\xEF\xB7\x90", "\xC2\xA0",
                                    "\xE2\x82", "\xAC", "\xFF", "\t", "word"};
    QRandomGenerator random(7);
    ReceivedDataFormatter oneRead;
    QString expected;
    int format = 0;
    QByteArray run; // the bytes since the last format change, as if read at once
    for (int i = 0; i < 150; ++i) {
        if (random.bounded(6) == 0) {
            oneRead.append(run, DataFormat(format), expected);
            run.clear();
            useFormat(format = random.bounded(3));
        }
        QByteArray chunk;
        for (int p = random.bounded(1, 5); p > 0; --p)
            chunk += pool.at(random.bounded(pool.size()));
        run += chunk;
        QVERIFY(sendChunk(chunk));
    }
    oneRead.append(run, DataFormat(format), expected);
    QCOMPARE(readDataText, expected);
    QCOMPARE(pane()->toPlainText(), shownFor(readDataText));
}

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
