// The simulator's frame decoder: finding frames in a stream that may hold
// garbage, frames cut short and arbitrary chunking.

#include <QRandomGenerator>
#include <QtTest>

#include "sim/frame_decoder.h"

class SimDecoderTest : public QObject
{
    Q_OBJECT

private slots:
    void decode_data();
    void decode();
    void randomStreamsArePartitioned();
};

namespace {

QByteArray bytesFromHex(const QString &text)
{
    return QByteArray::fromHex(text.toLatin1());
}

// "F 85 21 2C" for a frame, "S 01 02" for stray bytes, "C 85 21" for a cut frame.
// Adjacent stray runs are merged, so the text does not depend on the chunking.
QString describe(const QList<DecodedItem> &items)
{
    QStringList parts;
    bool lastWasStray = false;
    for (const DecodedItem &item : items) {
        switch (item.kind) {
        case DecodedItem::Kind::Frame:
            parts << QStringLiteral("F ") + hexBytes(item.frame.bytes());
            break;
        case DecodedItem::Kind::CutFrame:
            parts << QStringLiteral("C ") + hexBytes(item.skipped);
            break;
        case DecodedItem::Kind::Stray:
            if (lastWasStray)
                parts.last() += QLatin1Char(' ') + hexBytes(item.skipped);
            else
                parts << QStringLiteral("S ") + hexBytes(item.skipped);
            break;
        }
        lastWasStray = item.kind == DecodedItem::Kind::Stray;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

void SimDecoderTest::decode_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("decoded");
    QTest::addColumn<QString>("pending");

    QTest::newRow("one frame") << "85212C" << "F 85 21 2C" << "";
    QTest::newRow("folder 999") << "857167" << "F 85 71 67" << "";
    QTest::newRow("ID 0 and ID 127") << "800201FF7F09" << "F 80 02 01, F FF 7F 09" << "";
    QTest::newRow("garbage first") << "01027F850314" << "S 01 02 7F, F 85 03 14" << "";
    QTest::newRow("garbage between frames")
        << "850201050685020200" << "F 85 02 01, S 05 06, F 85 02 02, S 00" << "";
    QTest::newRow("frame cut after two bytes") << "8521860201" << "C 85 21, F 86 02 01" << "";
    QTest::newRow("frame cut after the address") << "85860201" << "C 85, F 86 02 01" << "";
    QTest::newRow("run of address bytes")
        << "8081828304 01" << "C 80, C 81, C 82, F 83 04 01" << "";
    QTest::newRow("unfinished frame held") << "0185 21" << "S 01" << "85 21";
    QTest::newRow("nothing") << "" << "" << "";
}

void SimDecoderTest::decode()
{
    QFETCH(QString, input);
    QFETCH(QString, decoded);
    QFETCH(QString, pending);
    const QByteArray bytes = bytesFromHex(input);

    FrameDecoder whole;
    QCOMPARE(describe(whole.feed(bytes)), decoded);
    QCOMPARE(hexBytes(whole.pending()), pending);

    // A frame may arrive in any number of pieces; byte by byte is the worst case.
    FrameDecoder piecewise;
    QList<DecodedItem> items;
    for (char byte : bytes)
        items += piecewise.feed(QByteArray(1, byte));
    QCOMPARE(describe(items), decoded);
    QCOMPARE(hexBytes(piecewise.pending()), pending);
}

// What a fuzzer would check: whatever the stream and its chunking, every frame
// is well formed, and the items, in order, plus the pending bytes give back the
// stream exactly, so no byte is lost or decoded twice.
void SimDecoderTest::randomStreamsArePartitioned()
{
    QRandomGenerator random(20240607);
    for (int round = 0; round < 300; ++round) {
        QByteArray stream(int(random.bounded(0, 400)), '\0');
        for (char &byte : stream) {
            // Lean towards small values so that whole frames are common.
            byte = char(random.bounded(4) == 0 ? random.bounded(0x80, 0x100) : random.bounded(0x80));
        }
        FrameDecoder decoder;
        QByteArray rebuilt;
        for (int at = 0; at < stream.size();) {
            const int chunk = int(random.bounded(1, 12));
            for (const DecodedItem &item : decoder.feed(stream.mid(at, chunk))) {
                if (item.kind == DecodedItem::Kind::Frame) {
                    QVERIFY(item.frame.address >= 0x80);
                    QVERIFY(item.frame.command < 0x80);
                    QVERIFY(item.frame.value < 0x80);
                    rebuilt += item.frame.bytes();
                } else {
                    QVERIFY(!item.skipped.isEmpty());
                    rebuilt += item.skipped;
                }
            }
            at += chunk;
        }
        QVERIFY(decoder.pending().size() < 3);
        QCOMPARE(rebuilt + decoder.pending(), stream);
    }
}

QTEST_GUILESS_MAIN(SimDecoderTest)
#include "tst_sim_decoder.moc"
