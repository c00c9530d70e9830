// The simulated player's state machine and its replies, driven frame by frame
// with a clock the test controls.

#include <QtTest>

#include "protocol/catalogue.h"
#include "sim/player.h"
#include "sim/reply.h"

class SimPlayerTest : public QObject
{
    Q_OBJECT

private slots:
    void frames_data();
    void frames();
    void replies_data();
    void replies();
};

namespace {

PlayerModel modelNamed(const QString &name)
{
    QList<PlayerModel> models;
    appendModelCatalogue(models);
    for (const PlayerModel &model : models) {
        if (model.name == name)
            return model;
    }
    qFatal("no model %s", qPrintable(name));
}

// "playing 300/1 vol 31 id 5 at 12": transport, folder/file, volume, ID, elapsed seconds.
QString stateText(const PlayerSnapshot &s)
{
    return QStringLiteral("%1 %2/%3 vol %4 id %5 at %6")
        .arg(statusWord(s.transport).toLower())
        .arg(s.folder)
        .arg(s.file)
        .arg(s.volume)
        .arg(s.id)
        .arg(s.elapsedMs / 1000);
}

} // namespace

void SimPlayerTest::frames_data()
{
    QTest::addColumn<QString>("model");
    // Steps "MS HEX" separated by ";": the clock in milliseconds and a frame.
    QTest::addColumn<QString>("script");
    // Of the last frame: its meaning, whether the player acted, its reply.
    QTest::addColumn<QString>("meaning");
    QTest::addColumn<bool>("acted");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("state"); // at the last step's time

    const QString ks15 = QStringLiteral("KS15 - TCP/IP");
    const QString ks10 = QStringLiteral("KS10 - KS15");
    const QString pebble = QStringLiteral("Pebble Player 2");
    const QString larch = QStringLiteral("Larch Player");

    // Folders and their banks.
    QTest::newRow("folder 300") << ks15 << "0 85212C" << "ID 5 folder 300" << true << ""
                                << "playing 300/1 vol 31 id 5 at 0";
    QTest::newRow("folder 999, last bank") << pebble << "0 857167" << "ID 5 folder 999" << true
                                           << "" << "playing 999/1 vol 64 id 5 at 0";
    QTest::newRow("folder 1000 beyond 999") << pebble << "0 857168" << "ID 5 folder 1000" << false
                                            << "" << "stopped 0/1 vol 64 id 5 at 0";
    QTest::newRow("folder 200 beyond one bank") << larch << "0 851148" << "ID 5 folder 200"
                                                << false << "" << "stopped 0/1 vol 64 id 5 at 0";
    QTest::newRow("folder 255, second bank") << ks10 << "0 85117F" << "ID 5 folder 255" << true
                                             << "" << "playing 255/1 vol 31 id 5 at 0";
    QTest::newRow("folder 256 beyond two banks") << ks10 << "0 852100" << "ID 5 folder 256"
                                                 << false << "" << "stopped 0/1 vol 31 id 5 at 0";

    // Volume limits follow the model.
    QTest::newRow("volume 20") << ks15 << "0 850314" << "ID 5 volume 20" << true << ""
                               << "stopped 0/1 vol 20 id 5 at 0";
    QTest::newRow("volume above the highest") << ks15 << "0 850314; 0 850340" << "ID 5 volume 64"
                                              << true << "" << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("volume 63 of 64") << pebble << "0 85033F" << "ID 5 volume 63" << true << ""
                                     << "stopped 0/1 vol 63 id 5 at 0";

    // Addressing and change ID.
    QTest::newRow("another ID") << ks15 << "0 870201" << "ID 7 play" << false << ""
                                << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("ID 0 obeyed") << ks15 << "0 800201" << "ID 0 play" << true << ""
                                 << "playing 0/1 vol 31 id 5 at 0";
    QTest::newRow("ID 0 answered with own ID")
        << ks15 << "0 800401" << "ID 0 request Player Status" << true << "ID 5 STATUS STOPPED\n"
        << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("change ID, new ID obeyed") << ks15 << "0 857F09; 0 890201" << "ID 9 play" << true
                                              << "" << "playing 0/1 vol 31 id 9 at 0";
    QTest::newRow("change ID, old ID ignored")
        << ks15 << "0 857F09; 0 850401" << "ID 5 request Player Status" << false << ""
        << "stopped 0/1 vol 31 id 9 at 0";
    QTest::newRow("change ID to 0 refused") << ks15 << "0 857F00" << "ID 5 change ID to 0" << false
                                            << "" << "stopped 0/1 vol 31 id 5 at 0";

    // What the model lacks, and what no model knows.
    QTest::newRow("pause on a model without it") << pebble << "0 850201; 0 850205" << "ID 5 pause"
                                                 << false << "" << "playing 0/1 vol 64 id 5 at 0";
    QTest::newRow("request on a model without it")
        << larch << "0 850409" << "ID 5 request Remaining time" << false << ""
        << "stopped 0/1 vol 64 id 5 at 0";
    QTest::newRow("unknown command") << ks15 << "0 850900" << "ID 5 unknown command 09 value 00"
                                     << false << "" << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("unknown request item") << ks15 << "0 850405"
                                          << "ID 5 command 04 with unknown value 05" << false << ""
                                          << "stopped 0/1 vol 31 id 5 at 0";

    // Transport and the clock. Folder 0 holds three files of 113, 166 and 219 s.
    QTest::newRow("play runs the clock") << ks15 << "0 850201; 5000 850401"
                                         << "ID 5 request Player Status" << true
                                         << "ID 5 STATUS PLAYING\n" << "playing 0/1 vol 31 id 5 at 5";
    QTest::newRow("pause holds the position")
        << ks15 << "0 850201; 5000 850205; 9000 850409" << "ID 5 request Remaining time" << true
        << "ID 5 REMAINING 01:48\n" << "paused 0/1 vol 31 id 5 at 5";
    QTest::newRow("second pause resumes")
        << ks15 << "0 850201; 5000 850205; 9000 850205; 10000 850401"
        << "ID 5 request Player Status" << true << "ID 5 STATUS PLAYING\n"
        << "playing 0/1 vol 31 id 5 at 6";
    QTest::newRow("pause while stopped") << ks15 << "0 850205" << "ID 5 pause" << false << ""
                                         << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("stop rewinds") << ks15 << "0 850201; 5000 850202; 9000 850201; 10000 85040A"
                                  << "ID 5 request Total time of the file" << true
                                  << "ID 5 TOTAL 01:53\n" << "playing 0/1 vol 31 id 5 at 1";
    QTest::newRow("next file wraps") << ks15 << "0 850203; 0 850203; 0 850203" << "ID 5 next file"
                                     << true << "" << "stopped 0/1 vol 31 id 5 at 0";
    QTest::newRow("previous file wraps") << ks15 << "0 850204" << "ID 5 previous file" << true << ""
                                         << "stopped 0/3 vol 31 id 5 at 0";
    QTest::newRow("next folder wraps to the lowest")
        << ks15 << "0 857167; 0 850206" << "ID 5 next folder" << true << ""
        << "playing 0/1 vol 31 id 5 at 0";
    QTest::newRow("previous folder wraps to the highest")
        << ks10 << "0 850207" << "ID 5 previous folder" << true << ""
        << "stopped 255/1 vol 31 id 5 at 0";
    QTest::newRow("the clock reaches the next file")
        << ks15 << "0 850201; 120000 850402" << "ID 5 request Current file" << true
        << "ID 5 FILE 002.MP3\n" << "playing 0/2 vol 31 id 5 at 7";
    QTest::newRow("stopped after the folder's last file")
        << ks15 << "0 850201; 500000 850401" << "ID 5 request Player Status" << true
        << "ID 5 STATUS STOPPED\n" << "stopped 0/1 vol 31 id 5 at 0";
}

void SimPlayerTest::frames()
{
    QFETCH(QString, model);
    QFETCH(QString, script);
    QFETCH(QString, meaning);
    QFETCH(bool, acted);
    QFETCH(QString, reply);
    QFETCH(QString, state);

    SimulatedPlayer player(modelNamed(model), 5);
    FrameOutcome outcome;
    qint64 now = 0;
    for (const QString &step : script.split(QLatin1Char(';'))) {
        const QStringList fields = step.trimmed().split(QLatin1Char(' '));
        QCOMPARE(fields.size(), 2);
        now = fields.at(0).toLongLong();
        const QByteArray bytes = QByteArray::fromHex(fields.at(1).toLatin1());
        QCOMPARE(bytes.size(), 3);
        outcome = player.apply(Frame{quint8(bytes[0]), quint8(bytes[1]), quint8(bytes[2])}, now);
    }
    QCOMPARE(outcome.meaning, meaning);
    QCOMPARE(outcome.acted, acted);
    QCOMPARE(QString::fromLatin1(outcome.reply), reply);
    QVERIFY2(!outcome.effect.isEmpty(), "every frame's log line says what became of it");
    QCOMPARE(stateText(player.snapshot(now)), state);
}

void SimPlayerTest::replies_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("reply");

    QTest::newRow("player status") << 1 << "ID 5 STATUS PAUSED\n";
    QTest::newRow("current file") << 2 << "ID 5 FILE 003.MP3\n";
    QTest::newRow("full path name") << 3 << "ID 5 PATH /007/003.MP3\n";
    QTest::newRow("used storage media") << 4 << "ID 5 MEDIA SD\n";
    QTest::newRow("current folder number") << 6 << "ID 5 FOLDER 007\n";
    QTest::newRow("remaining time, seconds cut") << 9 << "ID 5 REMAINING 02:31\n";
    QTest::newRow("total time") << 10 << "ID 5 TOTAL 03:45\n";
    QTest::newRow("volume") << 11 << "ID 5 VOLUME 20\n";
    QTest::newRow("no such item") << 5 << "";
    QTest::newRow("item 0") << 0 << "";
}

void SimPlayerTest::replies()
{
    QFETCH(int, item);
    QFETCH(QString, reply);

    PlayerSnapshot state;
    state.id = 5;
    state.transport = Transport::Paused;
    state.folder = 7;
    state.file = 3;
    state.volume = 20;
    state.elapsedMs = 73500;
    state.totalMs = 225000;
    QCOMPARE(QString::fromLatin1(formatReply(quint8(item), state)), reply);
}

QTEST_GUILESS_MAIN(SimPlayerTest)
#include "tst_sim_player.moc"
