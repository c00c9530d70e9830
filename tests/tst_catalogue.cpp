// The widget-free arithmetic behind the selectors, and how the catalogue is
// appended. What each model holds shows in the panel and frame tests.

#include <QtTest>

#include "protocol/catalogue.h"
#include "protocol/panel_logic.h"

class CatalogueTest : public QObject
{
    Q_OBJECT

private slots:
    void appendsWithoutClearing();
    void folderNumbers_data();
    void folderNumbers();
    void playerIds();
};

void CatalogueTest::appendsWithoutClearing()
{
    QList<PlayerModel> catalogue{PlayerModel()};
    appendModelCatalogue(catalogue);
    QCOMPARE(catalogue.size(), 6);
    // Completing the appended element in place must not touch earlier ones.
    QVERIFY(catalogue.first().name.isEmpty() && catalogue.first().commands.isEmpty());
    for (int i = 1; i < catalogue.size(); ++i)
        QVERIFY(!catalogue.at(i).commands.isEmpty());
}

void CatalogueTest::folderNumbers_data()
{
    QTest::addColumn<int>("banks");
    QTest::addColumn<int>("valueMin");
    QTest::addColumn<int>("valueMax");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("last");

    QTest::newRow("two banks") << 2 << 0 << 127 << 256 << "255";
    QTest::newRow("eight banks cut at 999") << 8 << 0 << 127 << 1000 << "999";
    QTest::newRow("range 1..100, two banks") << 2 << 1 << 100 << 200 << "200";
    QTest::newRow("full byte range") << 4 << 0 << 255 << 1000 << "999";
    QTest::newRow("min above max") << 3 << 10 << 5 << 0 << "";
    QTest::newRow("no bank") << 0 << 0 << 127 << 0 << "";
}

void CatalogueTest::folderNumbers()
{
    QFETCH(int, banks);
    QFETCH(int, valueMin);
    QFETCH(int, valueMax);
    const QStringList texts = folderNumberTexts(quint8(banks), quint8(valueMin), quint8(valueMax));
    QTEST(int(texts.size()), "count");
    QTEST(texts.value(texts.size() - 1), "last");
    // Three digits, consecutive within and across banks.
    for (int i = 0; i < texts.size(); ++i) {
        QCOMPARE(texts.at(i).size(), 3);
        QCOMPARE(texts.at(i).toInt(), valueMin + i);
    }
}

void CatalogueTest::playerIds()
{
    QCOMPARE(playerIdTexts(1, 3), (QStringList{"1", "2", "3"}));
    QVERIFY(playerIdTexts(5, 4).isEmpty());
    // The top of the byte range ends the loop rather than wrapping round.
    QCOMPARE(playerIdTexts(255, 255), QStringList{"255"});
    QCOMPARE(playerIdTexts(0, 255).size(), 256);
}

QTEST_APPLESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
