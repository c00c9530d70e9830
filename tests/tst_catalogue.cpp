// The model catalogue and the widget-free arithmetic behind the selectors.

#include <QtTest>

#include "protocol/catalogue.h"
#include "protocol/panel_logic.h"

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void models_data();
    void models();
    void commandTables();
    void appendsWithoutClearing();
    void folderNumbers_data();
    void folderNumbers();
    void playerIds();
    void portLabel();
};

static QString describeCommands(const QList<PlayerCommand> &commands, bool withMax)
{
    QStringList rows;
    for (const PlayerCommand &c : commands) {
        QString row = QStringLiteral("%1/%2/%3/%4")
                          .arg(c.label)
                          .arg(int(c.kind))
                          .arg(c.code)
                          .arg(c.valueMin);
        if (withMax && (c.kind == CommandKind::Folder || c.kind == CommandKind::Volume))
            row += QStringLiteral("-%1").arg(c.valueMax);
        rows << row;
    }
    return rows.join(QLatin1Char(','));
}

void CatalogueTest::models_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("tcp");
    QTest::addColumn<int>("banks");
    QTest::addColumn<QString>("speeds");
    QTest::addColumn<int>("defaultSpeed");
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("commandCount");

    QTest::newRow("0") << 0 << "Pebble Player 2" << false << 8 << "9600,19200,38400" << 19200 << 0 << 6;
    QTest::newRow("1") << 1 << "Heron Player" << false << 8 << "9600,19200,38400" << 19200 << 0 << 6;
    QTest::newRow("2") << 2 << "Larch Player" << false << 1 << "9600,19200,38400" << 9600 << 0 << 6;
    QTest::newRow("3") << 3 << "KS10 - KS15" << false << 2 << "19200" << 19200 << 0 << 18;
    QTest::newRow("4") << 4 << "KS15 - TCP/IP" << true << 8 << "" << -1 << 65079 << 18;
}

void CatalogueTest::models()
{
    QFETCH(int, index);
    QList<PlayerModel> catalogue;
    appendModelCatalogue(catalogue);
    QCOMPARE(catalogue.size(), 5);
    const PlayerModel &m = catalogue.at(index);

    QStringList speeds;
    for (auto s : m.baudRates)
        speeds << QString::number(s);

    QTEST(m.name, "name");
    QTEST(m.linkKind == LinkKind::Tcp, "tcp");
    QCOMPARE(int(m.idMin), 1);
    QCOMPARE(int(m.idMax), 127);
    QTEST(int(m.folderBanks), "banks");
    QTEST(speeds.join(QLatin1Char(',')), "speeds");
    QTEST(int(m.defaultBaudRate), "defaultSpeed");
    QTEST(int(m.tcpPort), "port");
    QTEST(int(m.commands.size()), "commandCount");
}

void CatalogueTest::commandTables()
{
    QList<PlayerModel> catalogue;
    appendModelCatalogue(catalogue);

    const QString tableA = QStringLiteral(
        "Folder/1/1/0-127,Play/4/2/1,Stop/5/2/2,Next File/7/2/3,Previous File/3/2/4,"
        "Volume/9/3/0-64");
    const QString tableB = QStringLiteral(
        "Folder/1/1/0-127,Play/4/2/1,Stop/5/2/2,Next File/7/2/3,Previous File/3/2/4,"
        "Pause/6/2/5,Next Folder/8/2/6,Previous Folder/2/2/7,Volume/9/3/0-31,"
        "Player Status/10/4/1,Current file/10/4/2,Full path name/10/4/3,"
        "Used storage media/10/4/4,Current folder number/10/4/6,Remaining time/10/4/9,"
        "Total time of the file/10/4/10,Volume/10/4/11,Change ID/11/127/0");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(describeCommands(catalogue.at(i).commands, true), tableA);
    for (int i = 3; i < 5; ++i)
        QCOMPARE(describeCommands(catalogue.at(i).commands, true), tableB);
}

void CatalogueTest::appendsWithoutClearing()
{
    QList<PlayerModel> catalogue{PlayerModel()};
    appendModelCatalogue(catalogue);
    QCOMPARE(catalogue.size(), 6);
    QVERIFY(catalogue.first().name.isEmpty());
    // Completing the appended element in place must not touch earlier ones.
    QVERIFY(catalogue.first().commands.isEmpty());
    QCOMPARE(catalogue.at(1).name, QStringLiteral("Pebble Player 2"));

    const PlayerCommand none;
    QCOMPARE(int(none.kind), 12);
    const PlayerModel blank;
    QCOMPARE(int(blank.folderBanks), 1);
    QCOMPARE(blank.defaultBaudRate, -1);
}

void CatalogueTest::folderNumbers_data()
{
    QTest::addColumn<int>("banks");
    QTest::addColumn<int>("valueMin");
    QTest::addColumn<int>("valueMax");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");

    QTest::newRow("one bank") << 1 << 0 << 127 << 128 << "000" << "127";
    QTest::newRow("two banks") << 2 << 0 << 127 << 256 << "000" << "255";
    QTest::newRow("eight banks cut at 999") << 8 << 0 << 127 << 1000 << "000" << "999";
    QTest::newRow("range 1..100, two banks") << 2 << 1 << 100 << 200 << "001" << "200";
    QTest::newRow("min above max") << 3 << 10 << 5 << 0 << "" << "";
    QTest::newRow("no bank") << 0 << 0 << 127 << 0 << "" << "";
    QTest::newRow("full byte range") << 4 << 0 << 255 << 1000 << "000" << "999";
}

void CatalogueTest::folderNumbers()
{
    QFETCH(int, banks);
    QFETCH(int, valueMin);
    QFETCH(int, valueMax);
    const QStringList texts = folderNumberTexts(quint8(banks), quint8(valueMin), quint8(valueMax));
    QTEST(int(texts.size()), "count");
    if (texts.isEmpty())
        return;
    QTEST(texts.first(), "first");
    QTEST(texts.last(), "last");
    // Numbers are consecutive within and across banks, never above 999.
    for (int i = 1; i < texts.size(); ++i)
        QCOMPARE(texts.at(i).toInt(), texts.at(i - 1).toInt() + 1);
    for (const QString &t : texts)
        QCOMPARE(t.size(), 3);
}

void CatalogueTest::playerIds()
{
    const QStringList ids = playerIdTexts(1, 127);
    QCOMPARE(ids.size(), 127);
    QCOMPARE(ids.first(), QStringLiteral("1"));
    QCOMPARE(ids.at(8), QStringLiteral("9"));
    QCOMPARE(ids.last(), QStringLiteral("127"));
    QVERIFY(playerIdTexts(5, 4).isEmpty());
    QCOMPARE(playerIdTexts(255, 255), QStringList{QStringLiteral("255")});
    QCOMPARE(playerIdTexts(0, 255).size(), 256);
}

void CatalogueTest::portLabel()
{
    QCOMPARE(portLabelText(QStringLiteral("Port Number: "), 65079),
             QStringLiteral("( Port Number: 65079 )"));
    QCOMPARE(portLabelText(QStringLiteral("Port : "), 0), QStringLiteral("( Port : 0 )"));
}

QTEST_APPLESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
