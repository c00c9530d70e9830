// The received-data pane fed by a loopback player over TCP.

#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>

#include "link/received_data.h"
#include "panelcase.h"

namespace {
// What the pane's plain text shows for readDataText: the text document keeps
// one line break for CR LF and for a lone CR, and gives a no-break space back
// as a blank.
QString shownFor(QString text)
{
    return text.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0xA0), ' ');
}
} // namespace

class MonitorTest : public PanelCase
{
    Q_OBJECT

public:
    MonitorTest() : PanelCase(true) {}

private slots:
    void formatsChangesAndClear();
    void appendsAtTheEndAndFollowsIt();
    void randomTrafficIgnoresChunking();
    void paneLosesWhatTheTextLoses();
    void textCut_data();
    void textCut();

private:
    QTextEdit *pane() { return widget<QTextEdit>("textEdit_Data"); }
    void useFormat(int format)
    {
        const char *const buttons[] = {"radioButton_Data_ASCII", "radioButton_Data_Hex",
                                       "radioButton_Data_Dec"};
        widget<QRadioButton>(buttons[format])->click();
    }
    // One chunk, one read: the next chunk is sent only once the panel took this
    // one. The window's slot was connected first, so it has run when the spy sees it.
    bool sendChunk(const QByteArray &chunk)
    {
        QSignalSpy arrived(tcpSocket, &QIODevice::readyRead);
        return player->send(chunk) && arrived.wait(5000) && tcpSocket->bytesAvailable() == 0;
    }
};

void MonitorTest::formatsChangesAndClear()
{
    // Each chunk shows in the format chosen before it came; a character cut
    // by a change shows as text, since its bytes came in as text. Zero bytes
    // are left out of the text alone.
    const struct
    {
        int format;
        QByteArray bytes;
        QString shown;
    } chunks[] = {
        {0, QByteArray("Hi\r\n\x00\xFF", 6), QStringLiteral("Hi\r\n\uFFFD")},
        {0, "<b>bold</b>&amp;", "<b>bold</b>&amp;"},
        {1, QByteArray("\x00\x0D\xFF", 3), " 00 0D FF"},
        {2, QByteArray("\x00\x0D\xFF", 3), " 0 13 255"},
        {0, "!\xE2\x82", "!"},
        {1, "\xAC", QStringLiteral("\uFFFD AC")},
        // Broken UTF-8: each stray byte or cut sequence is one replacement.
        {0, "\xF0\x9F\x98\x80", QStringLiteral("\U0001F600")},
        {0, "\xE2\x82" "A", QStringLiteral("\uFFFD" "A")},
        {0, QByteArray("\xE2\x00\x82\xAC", 4), QStringLiteral("\uFFFD\uFFFD\uFFFD")},
        {0, "\xC0\xAF\xED\xA0\x80", QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD")},
        {0, "\xF4\x90\x80\x80", QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD")},
    };
    QString expected;
    for (const auto &chunk : chunks) {
        useFormat(chunk.format);
        QVERIFY(sendChunk(chunk.bytes));
        expected += chunk.shown;
        QCOMPARE(readDataText, expected);
        QTRY_COMPARE_WITH_TIMEOUT(pane()->toPlainText(), shownFor(expected), 1000);
    }
    // Clear empties the pane and forgets a character cut before it.
    useFormat(0);
    QVERIFY(sendChunk("\xE2"));
    widget<QPushButton>("pushButton_Clear")->click();
    QVERIFY(readDataText.isEmpty() && pane()->toPlainText().isEmpty());
    // A lone reply, long after the last, shows at once.
    QTest::qWait(30);
    QVERIFY(sendChunk("\x82\xAC"));
    QCOMPARE(pane()->toPlainText(), QStringLiteral("\uFFFD\uFFFD"));
}

void MonitorTest::appendsAtTheEndAndFollowsIt()
{
    // Rebuilding the pane for every chunk costs in proportion to everything
    // received; appending leaves what is shown, and a mark in it, in place.
    QVERIFY(sendChunk("first\r\n"));
    QTextCursor mark(pane()->document());
    mark.setPosition(3);
    for (int i = 0; i < 40; ++i)
        QVERIFY(sendChunk("line " + QByteArray::number(i) + "\r\n"));
    QScrollBar *scrollBar = pane()->verticalScrollBar();
    QTRY_VERIFY_WITH_TIMEOUT(pane()->toPlainText().endsWith("line 39\n"), 1000);
    QCOMPARE(mark.position(), 3);
    QVERIFY(!pane()->document()->isUndoRedoEnabled());
    QVERIFY(scrollBar->maximum() > 0);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
    // The operator scrolls up; the next chunk brings the end back into view.
    scrollBar->setValue(0);
    QVERIFY(sendChunk("more\r\n"));
    QTRY_VERIFY_WITH_TIMEOUT(scrollBar->value() > 0, 1000);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
}

void MonitorTest::randomTrafficIgnoresChunking()
{
    // Line ends, zero bytes, markup, and bytes that start, continue, break and
    // end UTF-8 sequences (the lowest and highest allowed after E0, ED, F0, F4).
    const QByteArray pool("\r\n\0<b>&\tA"
                          "\x80\x82\x8F\x90\x9F\xA0\xAC\xBF\xC2\xE0\xE2\xED\xF0\xF4\xF5\xFF", 25);
    QRandomGenerator random(7);
    ReceivedDataFormatter oneRead;
    QString expected;
    int format = 0;
    QByteArray run; // the bytes since the last format change, as if read at once
    for (int i = 0; i < 300; ++i) {
        if (random.bounded(6) == 0) {
            oneRead.append(run, DataFormat(format), expected);
            run.clear();
            useFormat(format = random.bounded(3));
        }
        QByteArray chunk;
        for (int p = random.bounded(1, 9); p > 0; --p)
            chunk += pool.at(random.bounded(pool.size()));
        run += chunk;
        QVERIFY(sendChunk(chunk));
    }
    oneRead.append(run, DataFormat(format), expected);
    QCOMPARE(readDataText, expected);
    QTRY_COMPARE_WITH_TIMEOUT(pane()->toPlainText(), shownFor(readDataText), 1000);
}

void MonitorTest::paneLosesWhatTheTextLoses()
{
    // Big chunks in quick succession, in turn in each format: the text is
    // trimmed several times between two updates of the pane.
    QByteArray lines;
    for (int i = 0; lines.size() < ReceivedTextLimit / 3; ++i)
        lines += "line " + QByteArray::number(i) + "\r\n";
    for (int chunk = 0; chunk < 12; ++chunk) {
        useFormat(chunk % 3);
        QVERIFY(sendChunk(lines));
    }
    QVERIFY(readDataText.size() <= ReceivedTextLimit);
    QTRY_COMPARE_WITH_TIMEOUT(pane()->toPlainText(), shownFor(readDataText), 1000);
}

void MonitorTest::textCut_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("placed"); // put at the plain cut, its first character one before
    QTest::addColumn<int>("offset");     // the cut expected, from the plain cut

    const int limit = ReceivedTextLimit;
    const char32_t note = 0x1F3B5;
    QTest::newRow("at the limit") << limit << "" << -(limit / 4);
    QTest::newRow("one over, no line") << limit + 1 << "" << 0;
    QTest::newRow("line feed within reach") << 2 * limit << "x" + QString(500, 'x') + "\n" << 501;
    QTest::newRow("line feed out of reach") << 2 * limit << "x" + QString(1000, 'x') + "\n" << 0;
    QTest::newRow("hex pair across the cut") << 2 * limit << " 41 42" << 2;
    QTest::newRow("number across the cut") << 2 * limit << " 255 7" << 3;
    QTest::newRow("blank at the cut") << 2 * limit << "x 7 8" << 0;
    QTest::newRow("blank out of reach") << 2 * limit << "x" + QString(1000, 'x') + " " << 0;
    QTest::newRow("CR LF across the cut") << 2 * limit << "\r\n" << 1;
    QTest::newRow("surrogate pair across the cut")
        << 2 * limit << QString::fromUcs4(reinterpret_cast<const uint *>(&note), 1) << 1;
}

void MonitorTest::textCut()
{
    QFETCH(int, size);
    QFETCH(QString, placed);
    QFETCH(int, offset);
    const int plainCut = size - ReceivedTextLimit / 4 * 3;
    QString text(size, QLatin1Char('x'));
    text.replace(plainCut - 1, placed.size(), placed);
    QCOMPARE(receivedTextCut(text), qMax(0, plainCut + offset));
}

QTEST_MAIN(MonitorTest)
#include "tst_monitor.moc"
