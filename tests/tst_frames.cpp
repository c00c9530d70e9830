// Frame arithmetic and the sent-bytes notation, without widgets or links.

#include <QtTest>

#include "protocol/catalogue.h"
#include "protocol/frames.h"

Q_DECLARE_METATYPE(PlayerCommand)

class FramesTest : public QObject
{
    Q_OBJECT

private slots:
    void address_data();
    void address();
    void folder_data();
    void folder();
    void request_data();
    void request();
    void byteNotation_data();
    void byteNotation();
    void labelConversion_data();
    void labelConversion();
};

void FramesTest::address_data()
{
    QTest::addColumn<bool>("hasEntry");
    QTest::addColumn<QString>("idText");
    QTest::addColumn<int>("address");

    QTest::newRow("ID 5") << true << "5" << 0x85;
    QTest::newRow("ID 0") << true << "0" << 0x80;
    QTest::newRow("ID 127") << true << "127" << 0xFF;
    QTest::newRow("no current entry") << false << "5" << 0x80;
    QTest::newRow("empty text") << true << "" << 0x80;
    QTest::newRow("not a number") << true << "x7" << 0x80;
    QTest::newRow("above 127 wraps") << true << "128" << 0x00;
    QTest::newRow("leading zeros") << true << "007" << 0x87;
}

void FramesTest::address()
{
    QFETCH(bool, hasEntry);
    QFETCH(QString, idText);
    QTEST(int(addressByte(hasEntry, idText)), "address");
}

void FramesTest::folder_data()
{
    QTest::addColumn<int>("folder");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("value");

    QTest::newRow("000") << 0 << 0x01 << 0x00;
    QTest::newRow("007") << 7 << 0x01 << 0x07;
    QTest::newRow("127, last of bank 0") << 127 << 0x01 << 0x7F;
    QTest::newRow("128, first of bank 1") << 128 << 0x11 << 0x00;
    QTest::newRow("200") << 200 << 0x11 << 0x48;
    QTest::newRow("300") << 300 << 0x21 << 0x2C;
    QTest::newRow("896, first of bank 7") << 896 << 0x71 << 0x00;
    QTest::newRow("999") << 999 << 0x71 << 0x67;
}

void FramesTest::folder()
{
    QFETCH(int, folder);
    const FrameBytes bytes = folderBytes(1, folder);
    QTEST(int(bytes.code), "code");
    QTEST(int(bytes.value), "value");
}

void FramesTest::request_data()
{
    QTest::addColumn<QList<PlayerCommand>>("commands");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("value");

    const QList<PlayerCommand> table = {
        {"Play", CommandKind::Play, 2, 1, 0},
        {"Remaining time", CommandKind::Request, 4, 9, 0},
        {"Volume", CommandKind::Volume, 3, 0, 31},
        {"Volume", CommandKind::Request, 4, 11, 0},
    };
    QTest::newRow("match") << table << "Remaining time" << 4 << 9;
    QTest::newRow("label shared with another kind") << table << "Volume" << 4 << 11;
    QTest::newRow("no match falls back") << table << "Player Status" << 4 << 0;
    QTest::newRow("case matters") << table << "remaining time" << 4 << 0;
    QTest::newRow("empty selector") << table << "" << 4 << 0;
    QTest::newRow("not a request") << table << "Play" << 4 << 0;
    QTest::newRow("last match wins")
        << (table + QList<PlayerCommand>{{"Remaining time", CommandKind::Request, 9, 99, 0}})
        << "Remaining time" << 9 << 99;
}

void FramesTest::request()
{
    QFETCH(QList<PlayerCommand>, commands);
    QFETCH(QString, label);
    const FrameBytes bytes = requestBytes(commands, label);
    QTEST(int(bytes.code), "code");
    QTEST(int(bytes.value), "value");
}

void FramesTest::byteNotation_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("dec");

    QTest::newRow("0") << 0 << "00" << "0";
    QTest::newRow("2") << 2 << "02" << "2";
    QTest::newRow("127") << 127 << "7F" << "127";
    QTest::newRow("133") << 133 << "85" << "133";
    QTest::newRow("255") << 255 << "FF" << "255";
}

void FramesTest::byteNotation()
{
    QFETCH(int, byte);
    QFETCH(QString, hex);
    QFETCH(QString, dec);
    QCOMPARE(byteText(quint8(byte), ByteNotation::Hex), hex);
    QCOMPARE(byteText(quint8(byte), ByteNotation::Dec), dec);
    // The two switches undo each other for every byte the row can show.
    QCOMPARE(convertedByteText(hex, ByteNotation::Dec), dec);
    QCOMPARE(convertedByteText(dec, ByteNotation::Hex), hex);
}

void FramesTest::labelConversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("converted");

    const int hex = int(ByteNotation::Hex);
    const int dec = int(ByteNotation::Dec);
    QTest::newRow("start-up 0 to hex") << "0" << hex << "00";
    QTest::newRow("00 back to dec") << "00" << dec << "0";
    QTest::newRow("empty to hex") << "" << hex << "00";
    QTest::newRow("empty to dec") << "" << dec << "0";
    QTest::newRow("garbage to hex") << "zz" << hex << "00";
    QTest::newRow("7F to dec") << "7F" << dec << "127";
    QTest::newRow("lower-case hex to dec") << "ff" << dec << "255";
    QTest::newRow("hex digits are not decimal") << "7F" << hex << "00";
}

void FramesTest::labelConversion()
{
    QFETCH(QString, text);
    QFETCH(int, to);
    QTEST(convertedByteText(text, ByteNotation(to)), "converted");
}

QTEST_MAIN(FramesTest)
#include "tst_frames.moc"
