// The benchmarks' own helpers: a wrong percentile, a traffic generator that
// drifts or a misread memory field would make every figure of the table wrong
// without failing anything.

#include <QtTest>

#include "benchsupport.h"

using namespace bench;

class BenchSupportTest : public QObject
{
    Q_OBJECT

private slots:
    void percentiles_data();
    void percentiles();
    void summaryOfUnsortedSamples();
    void asciiTrafficKeepsItsLinesAcrossChunks();
    void byteTrafficCoversEveryByte();
    void memoryFields();
};

void BenchSupportTest::percentiles_data()
{
    QTest::addColumn<QVector<double>>("sorted");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("expected");
    const QVector<double> ten{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
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
    QCOMPARE(QVector<double>({s.median, s.p90, s.p99, s.max}), QVector<double>({50, 90, 99, 100}));
}

void BenchSupportTest::asciiTrafficKeepsItsLinesAcrossChunks()
{
    // The same seed gives the same stream, however it is cut into chunks.
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
        QVERIFY2(lines.at(i).size() >= 34 && lines.at(i).size() <= 44, lines.at(i).constData());
        for (char c : lines.at(i))
            QVERIFY(c >= 0x20 && c <= 0x7E);
    }
}

void BenchSupportTest::byteTrafficCoversEveryByte()
{
    for (DataFormat format : {DataFormat::Hex, DataFormat::Dec}) {
        const QByteArray bytes = Traffic(format, 9).next(65536);
        QCOMPARE(bytes.size(), 65536);
        QSet<char> seen(bytes.begin(), bytes.end());
        QCOMPARE(seen.size(), 256);
    }
}

void BenchSupportTest::memoryFields()
{
    // Resident first: the peak, read later, can only have grown past it.
    const qint64 resident = status_Kb("VmRSS");
    QVERIFY(resident > 1000);
    QVERIFY(status_Kb("VmHWM") >= resident);
    QCOMPARE(status_Kb("NoSuchField"), qint64(-1));
}

QTEST_GUILESS_MAIN(BenchSupportTest)
#include "tst_bench_support.moc"
