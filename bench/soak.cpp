// Endurance, run by `make soak` rather than `make test`: a flood through the
// pane, blank lines for minutes, hundreds of connections, and a whole session
// for the sanitizer build's leak check at exit.

#include <QAction>
#include <QDialogButtonBox>
#include <QSerialPort>
#include <QTextEdit>

#include "link/received_data.h"
#include "testsupport.h"
#include "ui/aboutwindow.h"

namespace {

// Qt Test's limit counts a function's rows together: three blank-lines rows
// of five minutes each, plus their set-up, need more than fifteen.
const bool longerFunctions = qputenv("QTEST_FUNCTION_TIMEOUT", "1800000");

int openDescriptors()
{
    // Every kind: sockets, pipes, devices and files, deleted ones too.
    return QDir("/proc/self/fd").entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size();
}

qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

} // namespace

class SoakTest : public PanelCase
{
    Q_OBJECT

private slots:
    void floodThenHangUp();
    void blankLinesStayBounded_data();
    void blankLinesStayBounded();
    void connectDisconnectLeaksNothing();
    void wholeRun();
};

void SoakTest::floodThenHangUp()
{
    // 10 MB of lines with CR LF and a four-byte character: the pane is trimmed
    // between chunks, and neither may be cut in two.
    QByteArray flood;
    for (int line = 0; flood.size() < 10 * 1024 * 1024; ++line)
        flood += QByteArray::number(line).rightJustified(8, '0') + " \xF0\x9F\x8E\xB5 flood\r\n";
    QString all;
    ReceivedDataFormatter().append(flood, DataFormat::Text, all);

    QVERIFY(connectToPlayer(window, *player));
    QVERIFY(player->send(flood, false));
    player->hangUp();
    // The panel reads what came before it reports the hang-up.
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 60000);
    QCOMPARE(statusText(window), QStringLiteral("Connection to %1:%2 lost: The remote host closed the connection")
                                     .arg(PlayerHost).arg(player->port()));
    // The pane keeps the latest lines, whole and unchanged.
    QVERIFY(readDataText.size() <= ReceivedTextLimit && readDataText.size() >= ReceivedTextLimit / 2);
    const QString tail = all.right(readDataText.size());
    QVERIFY(readDataText == tail);
    QCOMPARE(all.at(all.size() - tail.size() - 1), QLatin1Char('\n'));
    const QString shown = QString(tail).replace("\r\n", "\n");
    QTRY_VERIFY_WITH_TIMEOUT(widget<QTextEdit>("textEdit_Data")->toPlainText() == shown, 1000);
}

void SoakTest::blankLinesStayBounded_data()
{
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::newRow("CR") << QByteArray("\r");
    QTest::newRow("LF") << QByteArray("\n");
    QTest::newRow("CR LF") << QByteArray("\r\n");
}

void SoakTest::blankLinesStayBounded()
{
    // Nothing but line ends at 1 MB/s for 5 minutes: after the first minute the
    // process stays within 20 MB of where it was then.
    QFETCH(QByteArray, lineEnd);
    constexpr qint64 Minute = 60 * 1000;
    const QByteArray block = lineEnd.repeated(10000 / lineEnd.size());
    QVERIFY(connectToPlayer(window, *player));
    QElapsedTimer clock;
    clock.start();
    qint64 sent = 0;
    qint64 settledKb = -1;
    qint64 highestKb = -1;
    for (qint64 sampled = 0; clock.elapsed() < 5 * Minute;) {
        // Never ahead of 1 MB/s; what the panel has not taken yet waits, bounded.
        while (sent < clock.elapsed() * 1000 && player->unsent() < 1000 * 1000) {
            QVERIFY(player->send(block, false));
            sent += block.size();
        }
        QTest::qWait(5);
        if (clock.elapsed() - sampled >= 1000) {
            sampled = clock.elapsed();
            if (settledKb < 0 && sampled >= Minute)
                settledKb = residentKb();
            if (settledKb >= 0)
                highestKb = qMax(highestKb, residentKb());
        }
    }
    qInfo("%s: %.0f MB sent in %lld s; RSS %lld MiB after the first minute, %lld MiB at most after",
          QTest::currentDataTag(), sent / 1e6, clock.elapsed() / 1000, settledKb / 1024, highestKb / 1024);
    QVERIFY2(sent >= 290 * 1000 * 1000, "the panel did not take 1 MB/s");
    QVERIFY(settledKb > 0 && highestKb - settledKb <= 20 * 1024);
    QVERIFY(readDataText.size() <= ReceivedTextLimit);
}

void SoakTest::connectDisconnectLeaksNothing()
{
    SocatPair cable;
    QVERIFY2(cable.isReady(), cable.log.constData());
    for (const bool serial : {false, true}) {
        const auto cycle = [&](LoopbackPlayer &peer) {
            if (serial)
                connectSerial(window, 0, cable.panelEnd);
            else
                QVERIFY(connectToPlayer(window, peer));
            QVERIFY(panelShowsLink(window, true));
            widget<QPushButton>("pushButton_Disconnect")->click();
            QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 10000);
            QCOMPARE(tcpSocket->state(), QAbstractSocket::UnconnectedState);
            QVERIFY(!serialPort->isOpen());
        };
        // The first round opens what Qt keeps for good; a player
        // keeps its side of every connection until it goes.
        {
            LoopbackPlayer warmUp;
            cycle(warmUp);
        }
        const int before = openDescriptors();
        {
            LoopbackPlayer peer;
            for (int i = 0; i < 200 && !QTest::currentTestFailed(); ++i)
                cycle(peer);
        }
        QVERIFY2(!QTest::currentTestFailed() && openDescriptors() == before, serial ? "serial" : "TCP");
    }
}

void SoakTest::wholeRun()
{
    // Through the UI, then closed and deleted as main()'s window leaves its
    // scope: LeakSanitizer checks the exit, this test that no widget is left.
    QTemporaryDir workDir;
    placeFrench(workDir.path());
    QVERIFY(QDir::setCurrent(workDir.path()));
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (int i = 0; i < 10; ++i) {
        widget<QAction>("action_About")->trigger();
        const auto dialogs = openAboutDialogs();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(QTest::qWaitForWindowExposed(dialogs.first()));
        QTest::mouseClick(dialogs.first()->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(openAboutDialogs().isEmpty(), 5000);
    }
    widget<QAction>("action_French")->trigger();
    QCOMPARE(widget<QPushButton>("pushButton_Connect")->text(), QStringLiteral("Connecter"));
    widget<QAction>("action_English")->trigger();

    QVERIFY(connectToPlayer(window, *player));
    QVERIFY(player->send("ID 0 STATUS PLAYING\n"));
    QTRY_VERIFY_WITH_TIMEOUT(readDataText.contains(QStringLiteral("STATUS PLAYING")), 5000);
    widget<QPushButton>("pushButton_Disconnect")->click();
    QTRY_VERIFY_WITH_TIMEOUT(panelShowsLink(window, false), 5000);

    QVERIFY(window->close());
    delete window;
    window = nullptr;
    // Qt keeps every widget reachable until the process ends, where
    // the leak check cannot see it: none may be left.
    QStringList left;
    for (const QWidget *widget : QApplication::allWidgets())
        left << QString::fromLatin1(widget->metaObject()->className());
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

QTEST_MAIN(SoakTest)
#include "soak.moc"
