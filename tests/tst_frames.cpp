// Frame arithmetic and sent-bytes notation at the edges the selectors never
// reach; the wire tests cover every ordinary frame.

#include <QtTest>

#include "protocol/frames.h"

Q_DECLARE_METATYPE(PlayerCommand)

class FramesTest : public QObject
{
    Q_OBJECT

private slots:
    void address_data();
    void address();
    void request_data();
    void request();
    void labelConversion_data();
    void labelConversion();
};

void FramesTest::address_data()
{
    QTest::addColumn<bool>("hasEntry");
    QTest::addColumn<QString>("idText");
    QTest::addColumn<int>("address");
    QTest::newRow("no current entry") << false << "5" << 0x80;
    QTest::newRow("empty text") << true << "" << 0x80;
    QTest::newRow("not a number") << true << "x7" << 0x80;
    QTest::newRow("leading zeros") << true << "007" << 0x87;
    QTest::newRow("above 127 wraps") << true << "128" << 0x00;
}

void FramesTest::address()
{
    QFETCH(bool, hasEntry);
    QFETCH(QString, idText);
    QTEST(int(addressByte(hasEntry, idText)), "address");
}

void FramesTest::request_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("value");
    QTest::newRow("label of another kind too") << "Volume" << 4 << 11;
    QTest::newRow("last match wins") << "Remaining time" << 9 << 99;
    QTest::newRow("case matters") << "remaining time" << 4 << 0;
    QTest::newRow("not a request") << "Play" << 4 << 0;
}

void FramesTest::request()
{
    const QList<PlayerCommand> commands = {
        {"Play", CommandKind::Play, 2, 1, 0},
        {"Remaining time", CommandKind::Request, 4, 9, 0},
        {"Volume", CommandKind::Volume, 3, 0, 31},
        {"Volume", CommandKind::Request, 4, 11, 0},
        {"Remaining time", CommandKind::Request, 9, 99, 0},
    };
    QFETCH(QString, label);
    const FrameBytes bytes = requestBytes(commands, label);
    QTEST(int(bytes.code), "code");
    QTEST(int(bytes.value), "value");
}

void FramesTest::labelConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("toDecimal");
    QTest::addColumn<QString>("converted");
    QTest::newRow("empty to hex") << "" << false << "00";
    QTest::newRow("empty to dec") << "" << true << "0";
    QTest::newRow("garbage to hex") << "zz" << false << "00";
    QTest::newRow("hex digits are not decimal") << "7F" << false << "00";
    QTest::newRow("lower-case hex to dec") << "ff" << true << "255";
}

void FramesTest::labelConversion()
{
    QFETCH(QString, text);
    QFETCH(bool, toDecimal);
    QTEST(convertedByteText(text, toDecimal ? ByteNotation::Dec : ByteNotation::Hex), "converted");
}

QTEST_MAIN(FramesTest)
#include "tst_frames.moc"
