// The received-data formats, and that chunk boundaries never show in them.

#include <QtTest>

#include <QRandomGenerator>

#include "link/received_data.h"

Q_DECLARE_METATYPE(DataFormat)

namespace {
struct Piece
{
    QByteArray bytes;
    DataFormat format;
};

QString formatAll(const QList<Piece> &pieces)
{
    ReceivedDataFormatter formatter;
    QString text;
    for (const Piece &piece : pieces)
        formatter.append(piece.bytes, piece.format, text);
    return text;
}

// Cuts every piece into chunks of one byte: the hardest split of all.
QList<Piece> byteByByte(const QList<Piece> &pieces)
{
    QList<Piece> chunks;
    for (const Piece &piece : pieces)
        for (const char c : piece.bytes)
            chunks.append({QByteArray(1, c), piece.format});
    return chunks;
}

QString u(std::initializer_list<char32_t> codePoints)
{
    QString text;
    // Not QString::fromUcs4, which takes a leading U+FEFF for a byte-order mark.
    for (char32_t cp : codePoints) {
        if (QChar::requiresSurrogates(cp))
            text.append(QChar(QChar::highSurrogate(cp))).append(QChar(QChar::lowSurrogate(cp)));
        else
            text += QChar(char16_t(cp));
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
    void utf8_data();
    void utf8();
    void splitNeverShows_data();
    void splitNeverShows();
    void randomStreamsIgnoreChunking();
    void partialCharacterAtFormatChange();
    void resetForgetsPartialCharacter();
    void appendsOnlyAfterExistingText();
};

void ReceivedDataTest::oneChunk_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<DataFormat>("format");
    QTest::addColumn<QString>("text");

    const QByteArray hiCrLf("\x48\x69\x0D\x0A", 4);
    QTest::newRow("text Hi CR LF") << hiCrLf << DataFormat::Text << "Hi\r\n";
    QTest::newRow("hex Hi CR LF") << hiCrLf << DataFormat::Hex << " 48 69 0D 0A";
    QTest::newRow("dec Hi CR LF") << hiCrLf << DataFormat::Dec << " 72 105 13 10";
    const QByteArray zeroInside("\x41\x00\x42", 3);
    QTest::newRow("text zero dropped, rest kept") << zeroInside << DataFormat::Text << "AB";
    QTest::newRow("hex zero shown") << zeroInside << DataFormat::Hex << " 41 00 42";
    QTest::newRow("dec zero shown") << zeroInside << DataFormat::Dec << " 65 0 66";
    QTest::newRow("text leading zero") << QByteArray("\x00Z", 2) << DataFormat::Text << "Z";
    QTest::newRow("text only zeros") << QByteArray(3, '\0') << DataFormat::Text << "";
    QTest::newRow("hex FF") << QByteArray("\xFF") << DataFormat::Hex << " FF";
    QTest::newRow("dec FF") << QByteArray("\xFF") << DataFormat::Dec << " 255";
    QTest::newRow("text FF is invalid") << QByteArray("\xFF") << DataFormat::Text << u({0xFFFD});
    QTest::newRow("markup stays text") << QByteArray("<b>bold</b>") << DataFormat::Text
                                       << "<b>bold</b>";
    QTest::newRow("empty chunk") << QByteArray() << DataFormat::Hex << "";
}

void ReceivedDataTest::oneChunk()
{
    QFETCH(QByteArray, bytes);
    QFETCH(DataFormat, format);
    QTEST(formatAll({{bytes, format}}), "text");
}

void ReceivedDataTest::utf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("two-byte") << QByteArray("\xC3\xA9") << u({0xE9});
    QTest::newRow("three-byte") << QByteArray("\xE2\x82\xAC") << u({0x20AC});
    QTest::newRow("four-byte, a surrogate pair") << QByteArray("\xF0\x9F\x98\x80") << u({0x1F600});
    QTest::newRow("byte-order mark is kept") << QByteArray("\xEF\xBB\xBF" "A") << u({0xFEFF, 'A'});
    QTest::newRow("lone continuation") << QByteArray("\x80" "A") << u({0xFFFD, 'A'});
    QTest::newRow("cut sequence, next byte kept") << QByteArray("\xE2\x82" "A") << u({0xFFFD, 'A'});
    QTest::newRow("overlong") << QByteArray("\xC0\xAF") << u({0xFFFD, 0xFFFD});
    QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << u({0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80")
                                    << u({0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("zero inside a sequence") << QByteArray("\xE2\x00\x82\xAC", 4)
                                            << u({0xFFFD, 0xFFFD, 0xFFFD});
    QTest::newRow("unfinished at the end waits") << QByteArray("A\xE2\x82") << "A";
}

void ReceivedDataTest::utf8()
{
    QFETCH(QByteArray, bytes);
    QTEST(formatAll({{bytes, DataFormat::Text}}), "text");
}

void ReceivedDataTest::splitNeverShows_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<DataFormat>("format");

    const QByteArray mixed("A\x00\xE2\x82\xAC\xF0\x9F\x98\x80\xFF\xC3(\xED\xA0\x80\r\n<b>", 19);
    for (DataFormat format : {DataFormat::Text, DataFormat::Hex, DataFormat::Dec}) {
        const QByteArray name = QByteArray::number(int(format));
        QTest::newRow("mixed " + name) << mixed << format;
        QTest::newRow("01 02 " + name) << QByteArray("\x01\x02") << format;
    }
}

void ReceivedDataTest::splitNeverShows()
{
    QFETCH(QByteArray, bytes);
    QFETCH(DataFormat, format);
    const QString whole = formatAll({{bytes, format}});
    for (int cut = 0; cut <= bytes.size(); ++cut) {
        QCOMPARE(formatAll({{bytes.left(cut), format}, {bytes.mid(cut), format}}), whole);
        for (int second = cut; second <= bytes.size(); ++second) {
            QCOMPARE(formatAll({{bytes.left(cut), format},
                                {bytes.mid(cut, second - cut), format},
                                {bytes.mid(second), format}}),
                     whole);
        }
    }
    QCOMPARE(formatAll(byteByByte({{bytes, format}})), whole);
}

void ReceivedDataTest::randomStreamsIgnoreChunking()
{
    // Bytes that start, continue, break and end sequences, plus zero and ASCII.
    const QByteArray pool("\x00\x0A\x0D" "A<\x80\xBF\xC2\xC3\xE0\xE2\xED\xEF\xF0\xF4\xF5\xFF\x9F\xA0\x90",
                          21);
    QRandomGenerator random(20240611);
    for (int round = 0; round < 3000; ++round) {
        QList<Piece> pieces;
        const int pieceCount = 1 + random.bounded(4);
        for (int p = 0; p < pieceCount; ++p) {
            Piece piece{{}, DataFormat(random.bounded(3))};
            // Text dominates, where the decoder keeps state across chunks.
            if (random.bounded(3) > 0)
                piece.format = DataFormat::Text;
            const int length = random.bounded(12);
            for (int i = 0; i < length; ++i)
                piece.bytes += pool.at(random.bounded(pool.size()));
            pieces.append(piece);
        }
        const QString whole = formatAll(pieces);
        QList<Piece> chunks;
        for (const Piece &piece : pieces) {
            int at = 0;
            while (at < piece.bytes.size()) {
                const int size = 1 + random.bounded(piece.bytes.size() - at);
                chunks.append({piece.bytes.mid(at, size), piece.format});
                at += size;
            }
        }
        QCOMPARE(formatAll(chunks), whole);
        QCOMPARE(formatAll(byteByByte(pieces)), whole);
    }
}

void ReceivedDataTest::partialCharacterAtFormatChange()
{
    // The two bytes came in as text, so they show as text, not as vanished.
    QCOMPARE(formatAll({{"A\xE2\x82", DataFormat::Text}, {"\xAC", DataFormat::Hex}}),
             "A" + u({0xFFFD}) + " AC");
    QCOMPARE(formatAll({{"\xC3", DataFormat::Text}, {"\x01", DataFormat::Dec}}),
             u({0xFFFD}) + " 1");
    // An empty chunk carries no bytes, so it changes nothing.
    QCOMPARE(formatAll({{"\xC3", DataFormat::Text}, {"", DataFormat::Hex}, {"\xA9", DataFormat::Text}}),
             u({0xE9}));
    // Text after hex after text keeps everything on one line.
    QCOMPARE(formatAll({{"Hi", DataFormat::Text}, {"\x01", DataFormat::Hex}, {"!", DataFormat::Text}}),
             "Hi 01!");
}

void ReceivedDataTest::resetForgetsPartialCharacter()
{
    ReceivedDataFormatter formatter;
    QString text;
    formatter.append("\xE2\x82", DataFormat::Text, text);
    QVERIFY(formatter.pending());
    formatter.reset();
    QVERIFY(!formatter.pending());
    text.clear();
    formatter.append("\xAC" "A", DataFormat::Text, text);
    QCOMPARE(text, u({0xFFFD, 'A'}));
}

void ReceivedDataTest::appendsOnlyAfterExistingText()
{
    ReceivedDataFormatter formatter;
    QString text = QStringLiteral("earlier");
    formatter.append("\x0A", DataFormat::Hex, text);
    QCOMPARE(text, QStringLiteral("earlier 0A"));
}

QTEST_MAIN(ReceivedDataTest)
#include "tst_received_data.moc"
