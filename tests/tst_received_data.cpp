// The received-data formats, and that chunk boundaries never show in them.

#include <QtTest>

#include <QRandomGenerator>

#include "link/received_data.h"

Q_DECLARE_METATYPE(DataFormat)

namespace {
using Pieces = QList<QPair<QByteArray, DataFormat>>;

QString formatAll(const Pieces &pieces)
{
    ReceivedDataFormatter formatter;
    QString text;
    for (const auto &piece : pieces)
        formatter.append(piece.first, piece.second, text);
    return text;
}

// Not QString::fromUcs4, which takes a leading U+FEFF for a byte-order mark.
QString u(std::initializer_list<char32_t> codePoints)
{
    QString text;
    for (char32_t cp : codePoints) {
        if (QChar::requiresSurrogates(cp))
            text.append(QChar(QChar::highSurrogate(cp))).append(QChar(QChar::lowSurrogate(cp)));
        else
            text.append(QChar(char16_t(cp)));
    }
    return text;
}
} // namespace

class ReceivedDataTest : public QObject
{
    Q_OBJECT

private slots:
    void oneChunk_data();
    void oneChunk();
    void chunkingNeverShows();
    void partialCharacter();
    void textCut_data();
    void textCut();
};

void ReceivedDataTest::oneChunk_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<DataFormat>("format");
    QTest::addColumn<QString>("text");

    const QByteArray hi("\x48\x69\x0D\x0A\x00\xFF", 6);
    QTest::newRow("text, zero dropped") << hi << DataFormat::Text << "Hi\r\n" + u({0xFFFD});
    QTest::newRow("hex") << hi << DataFormat::Hex << " 48 69 0D 0A 00 FF";
    QTest::newRow("dec") << hi << DataFormat::Dec << " 72 105 13 10 0 255";
    QTest::newRow("zero keeps the rest") << QByteArray("\x00" "A\x00" "B", 4) << DataFormat::Text << "AB";
    QTest::newRow("four bytes, a surrogate pair") << QByteArray("\xF0\x9F\x98\x80")
                                                  << DataFormat::Text << u({0x1F600});
    QTest::newRow("byte-order mark kept") << QByteArray("\xEF\xBB\xBF" "A") << DataFormat::Text
                                          << u({0xFEFF, 'A'});
    QTest::newRow("cut sequence, next byte kept") << QByteArray("\xE2\x82" "A") << DataFormat::Text
                                                  << u({0xFFFD, 'A'});
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << DataFormat::Text << u({0xFFFD, 0xFFFD});
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << DataFormat::Text
                               << u({0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << DataFormat::Text
                                    << u({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("zero inside a sequence") << QByteArray("\xE2\x00\x82\xAC", 4)
                                            << DataFormat::Text << u({0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("unfinished at the end waits") << QByteArray("A\xE2\x82") << DataFormat::Text
                                                 << "A";
}

void ReceivedDataTest::oneChunk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(DataFormat, format);
    QTEST(formatAll({{bytes, format}}), "text");
}

void ReceivedDataTest::chunkingNeverShows()
{
    // Bytes that start, continue, break and end sequences, plus zero and ASCII.
    const QByteArray pool("\x00\x0A\x0D" "A<\x80\xBF\xC2\xC3\xE0\xE2\xED\xEF\xF0\xF4\xF5\xFF\x9F\xA0\x90",
                          21);
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        Pieces pieces;
        for (int p = random.bounded(1, 5); p > 0; --p) {
            // Text dominates: that is where state crosses chunk boundaries.
            const auto format = DataFormat(random.bounded(3) == 0 ? random.bounded(3) : 0);
            QByteArray bytes;
            for (int i = random.bounded(12); i > 0; --i)
                bytes += pool.at(random.bounded(pool.size()));
            pieces.append({bytes, format});
        }
        Pieces randomCuts;
        Pieces byteByByte;
        for (const auto &piece : pieces) {
            for (int at = 0, size = 0; at < piece.first.size(); at += size) {
                size = random.bounded(1, piece.first.size() - at + 1);
                randomCuts.append({piece.first.mid(at, size), piece.second});
            }
            for (const char c : piece.first)
                byteByByte.append({QByteArray(1, c), piece.second});
        }
        const QString whole = formatAll(pieces);
        QCOMPARE(formatAll(randomCuts), whole);
        QCOMPARE(formatAll(byteByByte), whole);
    }
}

void ReceivedDataTest::partialCharacter()
{
    // Bytes that came in as text show as text when the format changes.
    QCOMPARE(formatAll({{"A\xE2\x82", DataFormat::Text}, {"\xAC", DataFormat::Hex}}),
             "A" + u({0xFFFD}) + " AC");
    // An empty chunk carries no bytes, so it changes nothing.
    QCOMPARE(formatAll({{"\xC3", DataFormat::Text}, {"", DataFormat::Dec}, {"\xA9", DataFormat::Text}}),
             u({0xE9}));
    ReceivedDataFormatter formatter;
    QString text = QStringLiteral("earlier");
    formatter.append("\xE2\x82", DataFormat::Text, text);
    QVERIFY(formatter.pending());
    formatter.reset();
    formatter.append("\xAC" "A", DataFormat::Text, text);
    QCOMPARE(text, "earlier" + u({0xFFFD, 'A'}));
}

void ReceivedDataTest::textCut_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("placed"); // put at the plain cut, its first character one before
    QTest::addColumn<int>("offset");     // the cut expected, from the plain cut

    QTest::newRow("at the limit") << Received_Text_Limit << "" << -(Received_Text_Limit / 4);
    QTest::newRow("one over, no line") << Received_Text_Limit + 1 << "" << 0;
    QTest::newRow("line feed within reach") << 2 * Received_Text_Limit << "x" + QString(500, 'x') + "\n" << 501;
    QTest::newRow("line feed out of reach") << 2 * Received_Text_Limit << "x" + QString(1000, 'x') + "\n" << 0;
    QTest::newRow("CR LF across the cut") << 2 * Received_Text_Limit << "\r\n" << 1;
    QTest::newRow("surrogate pair across the cut") << 2 * Received_Text_Limit << u({0x1F3B5}) << 1;
}

void ReceivedDataTest::textCut()
{
    QFETCH(int, size);
    QFETCH(QString, placed);
    QFETCH(int, offset);
    const int plainCut = size - Received_Text_Limit / 4 * 3;
    QString text(size, QLatin1Char('x'));
    text.replace(plainCut - 1, placed.size(), placed);
    QCOMPARE(received_Text_Cut(text), qMax(0, plainCut + offset));
}

QTEST_MAIN(ReceivedDataTest)
#include "tst_received_data.moc"
