// The simulator's command line: defaults, the checks against the model, and
// the refusals a script would hit.

#include <QtTest>

#include "sim/options.h"

class SimOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

namespace {

// One line holding every field a test cares about.
QString summary(const SimOptions &o)
{
    return QStringLiteral("tcp=%1 %2:%3 serial=%4@%5 model=%6 id=%7 exit=%8 quiet=%9")
        .arg(o.listenTcp)
        .arg(o.listenAddress.toString())
        .arg(o.listenPort)
        .arg(o.serialDevice)
        .arg(o.baudRate)
        .arg(o.model.name)
        .arg(o.id)
        .arg(o.exitAfterMs)
        .arg(o.quiet);
}

} // namespace

void SimOptionsTest::parse_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // the summary, or a piece of the error text

    const QString ks15 = QStringLiteral("model=KS15 - TCP/IP");

    QTest::newRow("defaults") << QStringList{}
                              << "tcp=1 127.0.0.1:65079 serial=@19200 " + ks15
                                     + " id=1 exit=0 quiet=0";
    QTest::newRow("free port, id, quiet, bound")
        << QStringList{"--listen", "127.0.0.1:0", "--id", "127", "-q", "--exit-after", "0.5"}
        << "tcp=1 127.0.0.1:0 serial=@19200 " + ks15 + " id=127 exit=500 quiet=1";
    QTest::newRow("localhost, model in any case")
        << QStringList{"--listen=localhost:1234", "--model", "ks10 - ks15"}
        << "tcp=1 127.0.0.1:1234 serial=@19200 model=KS10 - KS15 id=1 exit=0 quiet=0";
    QTest::newRow("IPv6 in brackets") << QStringList{"--listen", "[::1]:5000"}
                                      << "tcp=1 ::1:5000 serial=@19200 " + ks15
                                             + " id=1 exit=0 quiet=0";
    QTest::newRow("serial alone, model's speed")
        << QStringList{"--serial", "/dev/ttyS0", "--model", "Larch Player"}
        << "tcp=0 127.0.0.1:65079 serial=/dev/ttyS0@9600 model=Larch Player id=1 exit=0 quiet=0";
    QTest::newRow("serial and TCP")
        << QStringList{"--serial", "/dev/ttyS0", "--baud", "38400", "--listen", "127.0.0.1:7000",
                       "--model", "Heron Player"}
        << "tcp=1 127.0.0.1:7000 serial=/dev/ttyS0@38400 model=Heron Player id=1 exit=0 quiet=0";

    QTest::newRow("unknown model") << QStringList{"--model", "Quince"} << "unknown model \"Quince\"";
    QTest::newRow("speed the model lacks")
        << QStringList{"--serial", "x", "--baud", "9600", "--model", "KS10 - KS15"}
        << "runs at 19200 baud only";
    QTest::newRow("odd speed") << QStringList{"--serial", "x", "--baud", "115200"}
                               << "--baud wants 9600, 19200 or 38400";
    QTest::newRow("speed without serial") << QStringList{"--baud", "9600"} << "--baud needs --serial";
    QTest::newRow("ID 0") << QStringList{"--id", "0"} << "--id wants a number from 1 to 127";
    QTest::newRow("no port") << QStringList{"--listen", "127.0.0.1"} << "--listen wants HOST:PORT";
    QTest::newRow("port too big") << QStringList{"--listen", "127.0.0.1:65536"}
                                  << "--listen wants HOST:PORT";
    QTest::newRow("host name") << QStringList{"--listen", "example:80"} << "is not an IP address";
    QTest::newRow("exit after 0") << QStringList{"--exit-after", "0"} << "--exit-after wants";
    QTest::newRow("unknown option") << QStringList{"--loud"} << "Unknown option 'loud'";
    QTest::newRow("stray argument") << QStringList{"now"} << "unexpected argument \"now\"";
}

void SimOptionsTest::parse()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    const ParsedOptions parsed = parseOptions(QStringList{"quorvex-player-sim"} + arguments);
    if (expected.startsWith(QLatin1String("tcp="))) {
        QCOMPARE(parsed.error, QString());
        QCOMPARE(summary(parsed.options), expected);
    } else {
        QVERIFY2(parsed.error.contains(expected), qPrintable(parsed.error));
    }
}

QTEST_GUILESS_MAIN(SimOptionsTest)
#include "tst_sim_options.moc"
