// The 24 configuration lines without a window: what the reader accepts from
// given bytes, what the writer produces, and that a refused write is reported.

#include <QtTest>

#include <QBuffer>

#include "settings/config_file.h"
#include "testsupport.h"

Q_DECLARE_METATYPE(std::optional<int>)

namespace {

/// A file as a careful writer would leave it, to be spoiled line by line.
QStringList validLines()
{
    return {"QVX11.00", "Quorvex (Configuration File)", "Generate by: Quorvex 1.1.0",
            "*** Default Language:", "French", "*** Default Device:", "Larch Player",
            "*** Default Serial Port:", "ttyUSB0", "*** Default Baudrate:", "38400",
            "*** Default IP Address:", "10", "0", "255", "7", "*** Default Auto-connection:",
            "1", "*** Default Player ID:", "12", "*** Default Command Bytes Sent Setting:", "3",
            "*** Default Data Received Setting:", "2"};
}

QStringList withLine(int number, const QString &text)
{
    QStringList lines = validLines();
    lines[number - 1] = text;
    return lines;
}

std::optional<ConfigFileValues> read(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    return read_Config_Lines(&buffer);
}

QByteArray fileOf(const QStringList &lines)
{
    return (lines.join('\n') + '\n').toUtf8();
}

/// Accepts the first `limit` bytes, then refuses, like a disk that fills up.
class FillingDevice : public QIODevice
{
public:
    explicit FillingDevice(qint64 limit) : m_limit(limit) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override
    {
        const qint64 room = m_limit - m_written;
        if (room <= 0)
            return -1;
        const qint64 taken = qMin(room, length);
        m_written += taken;
        return taken;
    }

private:
    qint64 m_limit;
    qint64 m_written = 0;
};

} // namespace

class ConfigFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }

    void headerDecidesWholeFile_data();
    void headerDecidesWholeFile();
    void valueLineRules_data();
    void valueLineRules();
    void fileCutAfterLine12();
    void writerLines_data();
    void writerLines();
    void writtenFileReadsBack();
    void refusedWriteIsReported_data();
    void refusedWriteIsReported();
    void fullDeviceIsReported();
};

void ConfigFileTest::headerDecidesWholeFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("as written") << fileOf(validLines()) << true;
    QTest::newRow("blank between") << fileOf(withLine(1, "QVX1 1.00")) << true;
    QTest::newRow("text around") << fileOf(withLine(1, "## QVX1, v1.00 ##")) << true;
    QTest::newRow("version first") << fileOf(withLine(1, "1.00QVX1")) << true;
    QTest::newRow("other version") << fileOf(withLine(1, "QVX11.01")) << false;
    QTest::newRow("lower-case magic") << fileOf(withLine(1, "qvx11.00")) << false;
    QTest::newRow("magic alone") << fileOf(withLine(1, "QVX1")) << false;
    QTest::newRow("header on line 2") << fileOf(QStringList{""} + validLines()) << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("windows line ends")
        << fileOf(validLines()).replace("\n", "\r\n") << true;
}

void ConfigFileTest::headerDecidesWholeFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, accepted);
    const std::optional<ConfigFileValues> values = read(bytes);
    QCOMPARE(values.has_value(), accepted);
    if (accepted) {
        QCOMPARE(values->model, QStringLiteral("Larch Player"));
        QCOMPARE(values->dataFormat, std::optional<int>(FormatHex));
    }
}

void ConfigFileTest::valueLineRules_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("expected");

    const auto none = QVariant::fromValue(std::optional<int>());
    const auto code = [](int c) { return QVariant::fromValue(std::optional<int>(c)); };
    const auto language = [](ConfigLanguage l) { return QVariant::fromValue(int(l)); };

    QTest::newRow("English") << 5 << "English" << language(ConfigLanguage::English);
    QTest::newRow("French") << 5 << "French" << language(ConfigLanguage::French);
    QTest::newRow("english") << 5 << "english" << language(ConfigLanguage::Default);
    QTest::newRow("French [fr]") << 5 << "French [fr]" << language(ConfigLanguage::Default);
    QTest::newRow("(default) language") << 5 << "(default)" << language(ConfigLanguage::Default);

    QTest::newRow("IP 0") << 13 << "0" << code(0);
    QTest::newRow("IP 255") << 13 << "255" << code(255);
    QTest::newRow("IP 256") << 13 << "256" << none;
    QTest::newRow("IP -1") << 13 << "-1" << none;
    QTest::newRow("IP 12a") << 13 << "12a" << none;
    QTest::newRow("IP hex") << 13 << "0x1F" << none;
    QTest::newRow("IP empty") << 13 << "" << none;

    QTest::newRow("auto 0") << 18 << "0" << QVariant(false);
    QTest::newRow("auto 1") << 18 << "1" << QVariant(true);
    QTest::newRow("auto 7") << 18 << "7" << QVariant(true);
    QTest::newRow("auto yes") << 18 << "yes" << QVariant(false);

    QTest::newRow("sent 1 unused") << 22 << "1" << none;
    QTest::newRow("sent 2") << 22 << "2" << code(FormatHex);
    QTest::newRow("sent 3") << 22 << "3" << code(FormatDec);
    QTest::newRow("sent 4") << 22 << "4" << none;
    QTest::newRow("data 1") << 24 << "1" << code(FormatAscii);
    QTest::newRow("data 0") << 24 << "0" << none;
    QTest::newRow("data (default)") << 24 << "(default)" << none;
}

void ConfigFileTest::valueLineRules()
{
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(QVariant, expected);

    const std::optional<ConfigFileValues> values = read(fileOf(withLine(line, text)));
    QVERIFY(values);
    switch (line) {
    case 5:
        QCOMPARE(int(values->language), expected.toInt());
        break;
    case 13:
        QCOMPARE(values->ip[0], expected.value<std::optional<int>>());
        QCOMPARE(values->ip[1], std::optional<int>(0)); // its neighbours still apply
        break;
    case 18:
        QCOMPARE(values->autoConnection, expected.toBool());
        break;
    case 22:
        QCOMPARE(values->sentFormat, expected.value<std::optional<int>>());
        break;
    case 24:
        QCOMPARE(values->dataFormat, expected.value<std::optional<int>>());
        break;
    }
}

void ConfigFileTest::fileCutAfterLine12()
{
    const std::optional<ConfigFileValues> values = read(fileOf(validLines().mid(0, 12)));
    QVERIFY(values);
    QCOMPARE(values->language, ConfigLanguage::French);
    QCOMPARE(values->model, QStringLiteral("Larch Player"));
    QCOMPARE(values->port, QStringLiteral("ttyUSB0"));
    QCOMPARE(values->baudRate, QStringLiteral("38400"));
    for (const std::optional<int> &ip : values->ip)
        QVERIFY(!ip);
    QVERIFY(!values->autoConnection);
    QVERIFY(values->playerId.isEmpty());
    QVERIFY(!values->sentFormat);
    QVERIFY(!values->dataFormat);
}

void ConfigFileTest::writerLines_data()
{
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QStringList>("expected");

    QStringList full = validLines();
    full[8] = "/dev/ttyS1";
    QTest::newRow("every choice made") << true << full;

    QStringList defaults = validLines();
    for (int line : {5, 7, 9, 11, 20, 22, 24})
        defaults[line - 1] = "(default)";
    for (int line : {13, 14, 15, 16, 18})
        defaults[line - 1] = "0";
    QTest::newRow("nothing chosen") << false << defaults;
}

void ConfigFileTest::writerLines()
{
    QFETCH(bool, chosen);
    QFETCH(QStringList, expected);

    ConfigSettings settings;
    if (chosen) {
        settings.language = ConfigLanguage::French;
        settings.model = "Larch Player";
        settings.port = "/dev/ttyS1";
        settings.baudRate = "38400";
        settings.ip = {10, 0, 255, 7};
        settings.autoConnection = true;
        settings.playerId = "12";
        settings.sentFormat = FormatDec;
        settings.dataFormat = FormatHex;
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    QVERIFY(write_Config_Lines(&buffer, settings));
    QCOMPARE(buffer.data(), fileOf(expected));
}

void ConfigFileTest::writtenFileReadsBack()
{
    ConfigSettings settings;
    settings.language = ConfigLanguage::English;
    settings.model = "KS15 - TCP/IP";
    settings.ip = {192, 168, 1, 254};
    settings.playerId = "0";
    settings.dataFormat = FormatDec;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly | QIODevice::Text);
    QVERIFY(write_Config_Lines(&buffer, settings));

    const std::optional<ConfigFileValues> values = read(buffer.data());
    QVERIFY(values);
    QCOMPARE(values->language, ConfigLanguage::English);
    QCOMPARE(values->model, QStringLiteral("KS15 - TCP/IP"));
    QCOMPARE(values->port, QStringLiteral("(default)")); // looked up, found nowhere
    QCOMPARE(values->ip[3], std::optional<int>(254));
    QCOMPARE(values->playerId, QStringLiteral("0"));
    QVERIFY(!values->sentFormat);
    QCOMPARE(values->dataFormat, std::optional<int>(FormatDec));
}

void ConfigFileTest::refusedWriteIsReported_data()
{
    QTest::addColumn<qint64>("limit");
    QTest::newRow("nothing accepted") << qint64(0);
    QTest::newRow("cut in the header") << qint64(5);
    QTest::newRow("last byte refused") << qint64(384);
}

void ConfigFileTest::refusedWriteIsReported()
{
    QFETCH(qint64, limit);
    FillingDevice device(limit);
    QVERIFY(!write_Config_Lines(&device, ConfigSettings()));
}

void ConfigFileTest::fullDeviceIsReported()
{
    QFile full("/dev/full");
    QVERIFY(full.open(QIODevice::WriteOnly));
    QVERIFY(!write_Config_Lines(&full, ConfigSettings()));
}

QTEST_GUILESS_MAIN(ConfigFileTest)
#include "tst_config_file.moc"
