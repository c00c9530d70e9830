// The simulator without a process: the frame decoder, the player's state machine
// and replies driven with a clock the test controls, and the command line.

#include <QRandomGenerator>
#include <QtTest>

#include "protocol/catalogue.h"
#include "protocol/frame_decoder.h"
#include "sim/options.h"
#include "sim/player.h"
#include "sim/reply.h"

class SimLogicTest : public QObject
{
    Q_OBJECT

private slots:
    void resyncs();
    void chunkingNeverShows();
    void frames_data();
    void frames();
    void replies();
    void options_data();
    void options();
};

namespace {
// "[85 21 2C]" for a frame, "<85 21>" for a frame cut short, stray bytes bare:
// the text is the same however the stray bytes were split into items.
QString describe(const QList<DecodedItem> &items)
{
    QStringList pieces;
    for (const DecodedItem &item : items) {
        if (item.kind == DecodedItem::Kind::Frame)
            pieces << '[' + hexBytes(item.frame.bytes()) + ']';
        else if (item.kind == DecodedItem::Kind::CutFrame)
            pieces << '<' + hexBytes(item.skipped) + '>';
        else
            pieces << hexBytes(item.skipped);
    }
    return pieces.join(' ');
}
} // namespace

void SimLogicTest::resyncs()
{
    // Garbage, ID 0 and ID 127, frames cut short by a new address byte, and
    // an unfinished frame held back for the next bytes.
    FrameDecoder decoder;
    const QByteArray stream = QByteArray::fromHex("01027F800201 0506FF7F09 8521 8081860201 008521");
    QCOMPARE(describe(decoder.feed(stream)),
             "01 02 7F [80 02 01] 05 06 [FF 7F 09] <85 21> <80> <81> [86 02 01] 00");
    QCOMPARE(hexBytes(decoder.pending()), QStringLiteral("85 21"));
}

// Whatever the stream and its chunking, the decoder finds what it finds in the
// whole stream at once, every frame is well formed, and the items in order plus
// the pending bytes give back the stream exactly: no byte lost or decoded twice.
void SimLogicTest::chunkingNeverShows()
{
    QRandomGenerator random(20240607);
    for (int round = 0; round < 300; ++round) {
        QByteArray stream(int(random.bounded(0, 400)), '\0');
        // Mostly small values, so that whole frames are common.
        for (char &byte : stream)
            byte = char(random.bounded(4) ? random.bounded(0x80) : random.bounded(0x80, 0x100));
        FrameDecoder whole;
        const QString expected = describe(whole.feed(stream));
        FrameDecoder decoder;
        QList<DecodedItem> items;
        // Byte by byte in the first rounds, the worst case; random pieces after.
        for (int at = 0, chunk = 1; at < stream.size(); at += chunk) {
            chunk = round < 20 ? 1 : int(random.bounded(1, 12));
            items += decoder.feed(stream.mid(at, chunk));
        }
        QCOMPARE(describe(items), expected);
        QCOMPARE(decoder.pending(), whole.pending());
        QByteArray rebuilt;
        for (const DecodedItem &item : qAsConst(items)) {
            const bool frame = item.kind == DecodedItem::Kind::Frame;
            QVERIFY(frame ? item.frame.address >= 0x80 && item.frame.command < 0x80
                                && item.frame.value < 0x80
                          : !item.skipped.isEmpty());
            rebuilt += frame ? item.frame.bytes() : item.skipped;
        }
        QCOMPARE(rebuilt + decoder.pending(), stream);
    }
}

void SimLogicTest::frames_data()
{
    QTest::addColumn<int>("model"); // index in the catalogue
    // Steps "MS HEX" separated by ";": the clock in milliseconds and a frame.
    QTest::addColumn<QString>("script");
    // At the last step's time: transport, folder/file, volume, ID, elapsed
    // seconds; then the reply to the last frame, if any.
    QTest::addColumn<QString>("outcome");
    const int pebble = 0, larch = 2, ks10 = 3, tcp = 4;

    // Folder banks and volume limits follow the model.
    QTest::newRow("folder 999, last bank") << pebble << "0 857167"
                                           << "playing 999/1 vol 64 id 5 at 0";
    QTest::newRow("no folder 1000") << pebble << "0 857168" << "stopped 0/1 vol 64 id 5 at 0";
    QTest::newRow("folder 200 beyond one bank") << larch << "0 851148"
                                                << "stopped 0/1 vol 64 id 5 at 0";
    QTest::newRow("folder 256 beyond two banks") << ks10 << "0 852100"
                                                 << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("volume above the highest") << tcp << "0 850314; 0 850340"
                                              << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("volume 63 of 64") << pebble << "0 85033F" << "stopped 0/1 vol 63 id 5 at 0";

    // Change ID, and what the model lacks.
    QTest::newRow("new ID obeyed") << tcp << "0 857F09; 0 890201" << "playing 0/1 vol 31 id 9 at 0";
    QTest::newRow("old ID ignored") << tcp << "0 857F09; 0 850201"
                                    << "stopped 0/1 vol 31 id 9 at 0";
    QTest::newRow("no change to ID 0") << tcp << "0 857F00" << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("no request on the short table") << larch << "0 850401"
                                                   << "stopped 0/1 vol 64 id 5 at 0";

    // Transport and the clock. Folder 0 holds three files of 113, 166 and 219 s.
    QTest::newRow("pause holds the position")
        << tcp << "0 850201; 5000 850205; 9000 850409"
        << "paused 0/1 vol 31 id 5 at 5: ID 5 REMAINING 01:48";
    QTest::newRow("second pause resumes")
        << tcp << "0 850201; 5000 850205; 9000 850205; 10000 850401"
        << "playing 0/1 vol 31 id 5 at 6: ID 5 STATUS PLAYING";
    QTest::newRow("stop rewinds") << tcp << "0 850201; 5000 850202; 9000 850201; 10000 85040A"
                                  << "playing 0/1 vol 31 id 5 at 1: ID 5 TOTAL 01:53";
    QTest::newRow("previous file wraps") << tcp << "0 850204" << "stopped 0/3 vol 31 id 5 at 0";
    QTest::newRow("next folder wraps") << tcp << "0 857167; 0 850206"
                                       << "playing 0/1 vol 31 id 5 at 0";
    QTest::newRow("the clock moves files on") << tcp << "0 850201; 120000 850402"
                                              << "playing 0/2 vol 31 id 5 at 7: ID 5 FILE 002.MP3";
    QTest::newRow("stopped after the last file")
        << tcp << "0 850201; 500000 850401" << "stopped 0/1 vol 31 id 5 at 0: ID 5 STATUS STOPPED";
}

void SimLogicTest::frames()
{
    QFETCH(int, model);
    QFETCH(QString, script);
    QList<PlayerModel> models;
    appendModelCatalogue(models);
    SimulatedPlayer player(models.at(model), 5);
    FrameOutcome outcome;
    qint64 now = 0;
    for (const QString &step : script.split(';')) {
        const QStringList fields = step.trimmed().split(' ');
        now = fields.at(0).toLongLong();
        const QByteArray bytes = QByteArray::fromHex(fields.at(1).toLatin1());
        outcome = player.apply(Frame{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}, now);
    }
    const PlayerSnapshot s = player.snapshot(now);
    const QString reply = QString::fromLatin1(outcome.reply).trimmed();
    QTEST(QStringLiteral("%1 %2/%3 vol %4 id %5 at %6")
                  .arg(statusWord(s.transport).toLower()).arg(s.folder).arg(s.file)
                  .arg(s.volume).arg(s.id).arg(s.elapsedMs / 1000)
              + (reply.isEmpty() ? QString() : ": " + reply),
          "outcome");
}

void SimLogicTest::replies()
{
    // Paused in folder 7 on file 3 of 3, volume 20, 73.5 s into 225 s.
    const PlayerSnapshot state{5, Transport::Paused, 7, 3, 3, 20, 73500, 225000};
    QByteArray replies;
    for (int item = 0; item <= 12; ++item)
        replies += formatReply(quint8(item), state);
    QCOMPARE(replies, QByteArray("ID 5 STATUS PAUSED\nID 5 FILE 003.MP3\nID 5 PATH /007/003.MP3\n"
                                 "ID 5 MEDIA SD\nID 5 FOLDER 007\nID 5 REMAINING 02:31\n"
                                 "ID 5 TOTAL 03:45\nID 5 VOLUME 20\n"));
}

void SimLogicTest::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the options read, or a piece of the error text
    QTest::newRow("defaults")
        << QStringList{} << "tcp=1 127.0.0.1:65079 serial=@19200 KS15 - TCP/IP id=1 exit=0 quiet=0";
    QTest::newRow("free port, id, quiet, bound")
        << QStringList{"--listen", "127.0.0.1:0", "--id", "127", "-q", "--exit-after", "0.5"}
        << "tcp=1 127.0.0.1:0 serial=@19200 KS15 - TCP/IP id=127 exit=500 quiet=1";
    QTest::newRow("serial alone, model in any case, its speed")
        << QStringList{"--serial", "/dev/ttyS0", "--model", "larch player"}
        << "tcp=0 127.0.0.1:65079 serial=/dev/ttyS0@9600 Larch Player id=1 exit=0 quiet=0";
    QTest::newRow("serial and TCP")
        << QStringList{"--serial", "/dev/ttyS0", "--baud", "38400", "--listen", "localhost:7000"}
        << "tcp=1 127.0.0.1:7000 serial=/dev/ttyS0@38400 KS15 - TCP/IP id=1 exit=0 quiet=0";

    QTest::newRow("unknown model") << QStringList{"--model", "Quince"} << "unknown model";
    QTest::newRow("speed the model lacks")
        << QStringList{"--serial", "x", "--baud", "9600", "--model", "KS10 - KS15"}
        << "runs at 19200 baud only";
    QTest::newRow("ID 0") << QStringList{"--id", "0"} << "--id wants a number from 1 to 127";
    QTest::newRow("port too big") << QStringList{"--listen", "127.0.0.1:65536"}
                                  << "--listen wants HOST:PORT";
    QTest::newRow("stray argument") << QStringList{"now"} << "unexpected argument \"now\"";
}

void SimLogicTest::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const ParsedOptions parsed = parseOptions(QStringList{"quorvex-player-sim"} + arguments);
    if (!expected.startsWith("tcp=")) {
        QVERIFY2(parsed.error.contains(expected), qPrintable(parsed.error));
        return;
    }
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    const SimOptions &o = parsed.options;
    QCOMPARE(QStringLiteral("tcp=%1 %2:%3 serial=%4@%5 %6 id=%7 exit=%8 quiet=%9")
                 .arg(o.listenTcp).arg(o.listenAddress.toString()).arg(o.listenPort)
                 .arg(o.serialDevice).arg(o.baudRate).arg(o.model.name)
                 .arg(o.id).arg(o.exitAfterMs).arg(o.quiet),
             expected);
}

QTEST_GUILESS_MAIN(SimLogicTest)
#include "tst_sim_logic.moc"
