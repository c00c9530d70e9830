// The benchmarks' own helpers: a wrong percentile or a traffic generator that
// drifts would make every figure of the table wrong without failing anything.

#include <QtTest>

#include <QTcpSocket>

#include <unistd.h>

#include "benchsupport.h"
#include "peer.h"
#include "socatpair.h"

using namespace bench;

class BenchSupportTest : public QObject
{
    Q_OBJECT

private slots:
    void percentiles_data();
    void percentiles();
    void summaryOfUnsortedSamples();
    void figuresAsTheTableShowsThem();
    void rowsKeepTheirColumns();
    void asciiTrafficKeepsItsLinesAcrossChunks();
    void byteTrafficCoversEveryByte();
    void formattedChunkFollowsTheFormatter();
    void memoryFields();
    void loopbackPeerSeesDataAndHangUp();
    void rawLineCarriesEveryByteUnchanged();
};

void BenchSupportTest::percentiles_data()
{
    QTest::addColumn<QVector<double>>("sorted");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("expected");
    QVector<double> ten;
    for (int i = 1; i <= 10; ++i)
        ten << i;
    QTest::newRow("median of ten") << ten << 50.0 << 5.0;
    QTest::newRow("p90 of ten") << ten << 90.0 << 9.0;
    QTest::newRow("p99 of ten is the largest") << ten << 99.0 << 10.0;
    QTest::newRow("p100") << ten << 100.0 << 10.0;
    QTest::newRow("tiny p is the smallest") << ten << 0.1 << 1.0;
    QTest::newRow("one sample") << QVector<double>{7} << 99.0 << 7.0;
    QTest::newRow("no sample") << QVector<double>{} << 50.0 << 0.0;
    QTest::newRow("median of three") << QVector<double>{1, 2, 30} << 50.0 << 2.0;
}

void BenchSupportTest::percentiles()
{
    QFETCH(QVector<double>, sorted);
    QFETCH(double, p);
    QFETCH(double, expected);
    QCOMPARE(percentile(sorted, p), expected);
}

void BenchSupportTest::summaryOfUnsortedSamples()
{
    QVector<double> samples;
    for (int i = 100; i >= 1; --i)
        samples << i;
    const Summary s = summarize(samples);
    QCOMPARE(s.count, 100);
    QCOMPARE(s.median, 50.0);
    QCOMPARE(s.p90, 90.0);
    QCOMPARE(s.p99, 99.0);
    QCOMPARE(s.max, 100.0);
}

void BenchSupportTest::figuresAsTheTableShowsThem()
{
    QCOMPARE(format_Ms(0.0123), QStringLiteral("0.0123 ms"));
    QCOMPARE(format_Ms(2.0), QStringLiteral("2 ms"));
    QCOMPARE(format_Ms(543.2), QStringLiteral("543 ms"));
    QCOMPARE(format_Ms(3800), QStringLiteral("3.8 s"));
    QCOMPARE(format_Mib(48 * 1024), QStringLiteral("48 MiB"));
    // A figure exactly on its target meets it.
    QCOMPARE(verdict(2.0, 2.0), QStringLiteral("pass"));
    QCOMPARE(verdict(2.001, 2.0), QStringLiteral("miss"));
}

void BenchSupportTest::rowsKeepTheirColumns()
{
    const Row row{"pane", "hex,\t1 MB", "2 ms", "p90\n3 ms", "5", "-", "report"};
    const QByteArray line = row_Line(row);
    QVERIFY(line.endsWith('\n'));
    QCOMPARE(line.count('\n'), 1);
    const QList<QByteArray> cells = line.chopped(1).split('\t');
    QCOMPARE(cells, (QList<QByteArray>{"ROW", "pane", "hex, 1 MB", "2 ms", "p90 3 ms", "5", "-",
                                       "report"}));
    // The driver's table keeps a non-ASCII cell whole.
    QVERIFY(row_Line({"m", "µs", "", "", "", "", ""}).contains("\tµs\t"));
}

void BenchSupportTest::asciiTrafficKeepsItsLinesAcrossChunks()
{
    Traffic whole(DataFormat::Text, 5);
    Traffic pieces(DataFormat::Text, 5);
    const QByteArray stream = whole.next(20000);
    QByteArray chunked;
    for (int size : {1, 64, 7, 3000, 39, 9000})
        chunked += pieces.next(size);
    chunked += pieces.next(stream.size() - chunked.size());
    QCOMPARE(chunked, stream);

    const QList<QByteArray> lines = stream.split('\n');
    QVERIFY(lines.size() > 400);
    for (int i = 0; i < lines.size() - 1; ++i) { // the last line is still open
        QVERIFY2(lines.at(i).size() >= 34 && lines.at(i).size() <= 44,
                 qPrintable(QString::number(lines.at(i).size())));
        for (char c : lines.at(i))
            QVERIFY(c >= 0x20 && c <= 0x7E);
    }
}

void BenchSupportTest::byteTrafficCoversEveryByte()
{
    for (DataFormat format : {DataFormat::Hex, DataFormat::Dec}) {
        const QByteArray bytes = Traffic(format, 9).next(65536);
        QCOMPARE(bytes.size(), 65536);
        QSet<int> seen;
        for (char c : bytes)
            seen.insert(quint8(c));
        QCOMPARE(seen.size(), 256);
    }
}

void BenchSupportTest::formattedChunkFollowsTheFormatter()
{
    const QByteArray bytes("\x00\xFF\x0A", 3);
    QCOMPARE(formatted_Chunk(bytes, DataFormat::Hex), QStringLiteral(" 00 FF 0A"));
    QCOMPARE(formatted_Chunk(bytes, DataFormat::Dec), QStringLiteral(" 0 255 10"));
    QCOMPARE(formatted_Chunk(bytes, DataFormat::Text).size(), 2); // zero dropped, U+FFFD, LF
    QCOMPARE(formatted_Chunk(QByteArray(64, 'a'), DataFormat::Text).size(), 64);
    DataFormat format = DataFormat::Text;
    QVERIFY(parse_Format(QStringLiteral("dec"), format));
    QCOMPARE(format, DataFormat::Dec);
    QVERIFY(!parse_Format(QStringLiteral("text"), format));
}

void BenchSupportTest::memoryFields()
{
    // Resident first: the peak, read later, can only have grown past it.
    const qint64 resident = status_Kb("VmRSS");
    const qint64 peak = status_Kb("VmHWM");
    QVERIFY(resident > 1000);
    QVERIFY(peak >= resident);
    QCOMPARE(status_Kb("NoSuchField"), qint64(-1));
}

void BenchSupportTest::loopbackPeerSeesDataAndHangUp()
{
    quint16 port = 0;
    const int listener = listen_Loopback(port);
    QVERIFY(listener >= 0);
    QVERIFY(port != 0);
    QCOMPARE(accept_Within(listener, 50), -1); // nobody came

    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    QVERIFY(client.waitForConnected(5000));
    const int peer = accept_Within(listener, 5000);
    QVERIFY(peer >= 0);
    QByteArray received;
    QCOMPARE(read_Within(peer, received, 20), 0); // nothing sent yet
    client.write("\x80\x02\x01", 3);
    QVERIFY(client.waitForBytesWritten(5000));
    while (received.size() < 3)
        QVERIFY(read_Within(peer, received, 5000) > 0);
    QCOMPARE(received, QByteArray("\x80\x02\x01", 3));
    client.close();
    QCOMPARE(read_Within(peer, received, 5000), -1);
    close_Fd(peer);
    close_Fd(listener);
}

void BenchSupportTest::rawLineCarriesEveryByteUnchanged()
{
    SocatPair cable;
    QVERIFY2(cable.isReady(), qPrintable(cable.failure()));
    const int a = open_Raw_Line(QFile::encodeName(cable.panelEnd()));
    const int b = open_Raw_Line(QFile::encodeName(cable.playerEnd()));
    QVERIFY(a >= 0 && b >= 0);
    // A cooked line would turn LF into CR LF, eat ^C and ^D, or strip the top bit.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all += char(i);
    QCOMPARE(::write(a, all.constData(), size_t(all.size())), ssize_t(all.size()));
    QByteArray received;
    while (received.size() < all.size())
        QVERIFY(read_Within(b, received, 5000) > 0);
    QCOMPARE(received, all);
    close_Fd(a);
    close_Fd(b);
}

QTEST_GUILESS_MAIN(BenchSupportTest)
#include "tst_bench_support.moc"
