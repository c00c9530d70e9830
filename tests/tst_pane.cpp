// The received-data pane on its own: chunks fed straight in, no link. What
// the view shows must be what the kept text shows in one piece, however the
// chunks fell between updates and cuts.

#include <QtTest>
#include <QtWidgets>

#include <malloc.h>

#include <memory>

#include "link/received_pane.h"

namespace {

// What a text edit shows for `text` in one piece, written here independently:
// one line break for CR LF and for a lone CR, a no-break space given back as a blank.
QString shownFor(QString text)
{
    return text.replace("\r\n", "\n").replace('\r', '\n').replace(QChar(0xA0), ' ');
}

// The C library's count, which a sanitizer's allocator leaves unchanged.
qint64 heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

} // namespace

class PaneTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void formatsScrollAndClear();
    void splitsLeaveNoTrace_data();
    void splitsLeaveNoTrace();
    void textCut_data();
    void textCut();
    void blankLinesStayBounded();

private:
    /// Whether the view comes to show the text within a second.
    bool viewCatchesUp() { return QTest::qWaitFor([this] { return view->toPlainText() == shownFor(text); }, 1000); }

    std::unique_ptr<QTextEdit> view;
    QString text;
    ReceivedDataFormatter formatter;
    std::unique_ptr<ReceivedPane> pane;
};

void PaneTest::init()
{
    pane.reset();
    view = std::make_unique<QTextEdit>();
    view->resize(300, 200);
    view->show();
    pane = std::make_unique<ReceivedPane>(view.get(), text, formatter);
    pane->clear();
}

void PaneTest::formatsScrollAndClear()
{
    // Each chunk shows in its own format; a character cut by a change shows
    // as text, since its bytes came in as text. Zero bytes are left out of
    // the text alone; markup shows as it came.
    const struct { DataFormat format; QByteArray bytes; QString shown; } chunks[] = {
        {DataFormat::Text, QByteArray("Hi\r\n\x00\xFF", 6), QStringLiteral("Hi\r\n\uFFFD")},
        {DataFormat::Text, "<b>bold</b>&amp;", "<b>bold</b>&amp;"},
        {DataFormat::Hex, QByteArray("\x00\x0D\xFF", 3), " 00 0D FF"},
        {DataFormat::Dec, QByteArray("\x00\x0D\xFF", 3), " 0 13 255"},
        {DataFormat::Text, "!\xE2\x82", "!"},
        {DataFormat::Hex, "\xAC", QStringLiteral("\uFFFD AC")},
        // Broken UTF-8: each stray byte or cut sequence is one replacement.
        {DataFormat::Text, "\xF0\x9F\x98\x80", QStringLiteral("\U0001F600")},
        {DataFormat::Text, "\xE2\x82" "A", QStringLiteral("\uFFFD" "A")},
        {DataFormat::Text, QByteArray("\xE2\x00\x82\xAC", 4), QStringLiteral("\uFFFD\uFFFD\uFFFD")},
        {DataFormat::Text, "\xC0\xAF\xED\xA0\x80", QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD")},
        {DataFormat::Text, "\xF4\x90\x80\x80", QStringLiteral("\uFFFD\uFFFD\uFFFD\uFFFD")},
    };
    QString expected;
    for (const auto &chunk : chunks) {
        pane->append(chunk.bytes, chunk.format);
        expected += chunk.shown;
        QCOMPARE(text, expected);
        QVERIFY(viewCatchesUp());
    }
    // Appending leaves what is shown, and a mark in it, in place; the end is
    // brought into view again after the operator scrolled up.
    QTextCursor mark(view->document());
    mark.setPosition(3);
    QScrollBar *scrollBar = view->verticalScrollBar();
    for (int i = 0; i < 40; ++i) {
        scrollBar->setValue(0);
        pane->append("line " + QByteArray::number(i) + "\r\n", DataFormat::Text);
    }
    QVERIFY(viewCatchesUp());
    QCOMPARE(mark.position(), 3);
    QVERIFY(!view->document()->isUndoRedoEnabled());
    QVERIFY(scrollBar->maximum() > 0);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
    // Clear empties the pane and forgets a character cut before it; a lone
    // reply, long after the last, shows at once.
    pane->append("\xE2", DataFormat::Text);
    pane->clear();
    QVERIFY(text.isEmpty() && view->toPlainText().isEmpty());
    QTest::qWait(30);
    pane->append("\x82\xAC", DataFormat::Text);
    QCOMPARE(view->toPlainText(), QStringLiteral("\uFFFD\uFFFD"));
}

void PaneTest::splitsLeaveNoTrace_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("step"); // between the split points tried

    QTest::newRow("every line end, every split") << QByteArray("a\r\n\r\r\n\n\rb\n\r") << 1;
    // Long enough for cuts: between updates, and two between one update and the next.
    QByteArray lines;
    const char *const ends[] = {"\r\n", "\r", "\n", "\n\r", "\r\r\n", "\n\n"};
    for (int i = 0; lines.size() < 2 * ReceivedTextLimit; ++i)
        lines += QByteArray::number(i) + ends[i % 6];
    QTest::newRow("lines past the limit") << lines << 7001;
    QTest::newRow("blank lines past the limit") << QByteArray(2 * ReceivedTextLimit, '\r') << 6997;
}

void PaneTest::splitsLeaveNoTrace()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, step);
    const QString all = QString::fromLatin1(bytes);
    // Three pieces: the view updated after the first, the second and third
    // taken together in the next update.
    for (int first = 1; first < bytes.size(); first += step) {
        for (int second = first; second <= bytes.size(); second += step) {
            pane->clear();
            pane->append(bytes.left(first), DataFormat::Text);
            QVERIFY(viewCatchesUp());
            pane->append(bytes.mid(first, second - first), DataFormat::Text);
            pane->append(bytes.mid(second), DataFormat::Text);
            const QString where = QStringLiteral("split at %1 and %2").arg(first).arg(second);
            QVERIFY2(viewCatchesUp(), qPrintable(where));
            // The latest text, whole, even when a piece alone passes the limit.
            QVERIFY2(text.size() <= ReceivedTextLimit && all.endsWith(text)
                         && text.size() >= qMin(all.size(), ReceivedTextLimit / 2),
                     qPrintable(where));
        }
    }
}

void PaneTest::textCut_data()
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

void PaneTest::textCut()
{
    QFETCH(int, size);
    QFETCH(QString, placed);
    QFETCH(int, offset);
    const int plainCut = size - ReceivedTextLimit / 4 * 3;
    QString cutText(size, QLatin1Char('x'));
    cutText.replace(plainCut - 1, placed.size(), placed);
    QCOMPARE(receivedTextCut(cutText), qMax(0, plainCut + offset));
}

void PaneTest::blankLinesStayBounded()
{
    // A burst of nothing but line ends, each chunk shown: the memory the view's
    // document holds stops growing once the first chunks have passed.
    QTextDocument *document = view->document();
    // Measured with the whole document laid out, as it is in the end anyway.
    const auto heapLaidOut = [document] {
        document->documentLayout()->blockBoundingRect(document->lastBlock());
        return heapInUse();
    };
    // Each chunk drops a quarter of what the view shows: the view loses lines
    // from its start, never all at once.
    const QByteArray chunk(ReceivedTextLimit / 4, '\r');
    qint64 settled = 0;
    for (int i = 0; i < 70; ++i) {
        pane->append(chunk, DataFormat::Text);
        QVERIFY(viewCatchesUp());
        if (i == 9)
            settled = heapLaidOut();
    }
    const qint64 growth = heapLaidOut() - settled;
    QVERIFY2(growth < 512 * 1024, qPrintable(QString::number(growth)));
}

QTEST_MAIN(PaneTest)
#include "tst_pane.moc"
