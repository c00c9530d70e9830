// Fuzz target for the configuration reader: arbitrary file bytes, and a file
// the writer made from values taken from the same bytes.
//
// The file is read as the panel reads it, from a device opened in text mode.
// Checked on the input as a file: it is accepted exactly when its first line
// holds the magic and the version; the values obey their rules (IP octets
// 0..255, sent format 2 or 3, data format 1, 2 or 3, texts of one line, the
// language's among them: the window looks it up; a port without control
// characters and no longer than a path); a UTF-8 file reads the same with CR
// LF line ends.
//
// The same bytes also give settings to write: byte 0 the language, byte 1
// which texts are present (bits 0-3) and auto-connection (bit 4), byte 2 the
// sent (% 3, 0 none) and data (/ 3 % 4, 0 none) formats, bytes 3-6 the IP
// octets, then model, port, speed and player ID, each a length byte (% 48)
// and that many bytes of UTF-8. The texts keep only what a selector item can
// hold (the catalogue's names, port names, numbers: no control characters),
// since a line break or CR cannot survive a line format. Checked: the file
// reads back to the same values, with LF or CR LF line ends, in text mode or not.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include <QBuffer>
#include <QTextCodec>

#include "settings/config_file.h"

namespace {

[[noreturn]] void violated(const char *property)
{
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

#define REQUIRE(condition) ((condition) ? void(0) : violated(#condition))

using Values = std::optional<ConfigSettings>;

Values readFile(QByteArray bytes, QIODevice::OpenMode mode)
{
    QBuffer buffer(&bytes);
    REQUIRE(buffer.open(mode));
    return readConfigLines(&buffer);
}

Values readAsPanel(const QByteArray &bytes)
{
    return readFile(bytes, QIODevice::ReadOnly | QIODevice::Text);
}

QByteArray withCrLf(QByteArray bytes)
{
    return bytes.replace('\n', "\r\n");
}

QTextCodec *utf8()
{
    return QTextCodec::codecForMib(106);
}

/// The first line as the reader's text stream sees it: decoded as UTF-16 or
/// UTF-32 after such a byte-order mark, else as the locale's UTF-8, and in text
/// mode without any CR character.
QString firstLine(const QByteArray &bytes)
{
    QString text = QTextCodec::codecForUtfText(bytes, utf8())->toUnicode(bytes);
    text.remove(QLatin1Char('\r'));
    return text.section(QLatin1Char('\n'), 0, 0);
}

bool oneLine(const QString &text)
{
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'));
}

bool isControl(QChar c)
{
    return c.category() == QChar::Other_Control;
}

void checkRules(const ConfigSettings &values)
{
    for (const std::optional<int> &octet : values.ip)
        REQUIRE(!octet || (*octet >= 0 && *octet <= 255));
    REQUIRE(!values.sentFormat || *values.sentFormat == FormatHex || *values.sentFormat == FormatDec);
    REQUIRE(!values.dataFormat || (*values.dataFormat >= FormatAscii && *values.dataFormat <= FormatDec));
    REQUIRE(oneLine(values.language) && oneLine(values.model) && oneLine(values.port)
            && oneLine(values.baudRate) && oneLine(values.playerId));
    REQUIRE(values.port.size() <= ConfigPortMaxLength
            && std::none_of(values.port.cbegin(), values.port.cend(), isControl));
}

class Cursor
{
public:
    Cursor(const uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}
    uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    /// A selector text: any UTF-8, less control characters (line breaks among them).
    QString text()
    {
        const std::size_t length = std::min<std::size_t>(byte() % 48, m_size - m_at);
        QString text = QString::fromUtf8(reinterpret_cast<const char *>(m_data + m_at), int(length));
        m_at += length;
        QString kept;
        for (const QChar c : text) {
            if (!isControl(c))
                kept += c;
        }
        return kept;
    }

private:
    const uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

ConfigSettings settingsFrom(Cursor &cursor)
{
    ConfigSettings settings;
    const QString languages[] = {ConfigDefaultValue, QStringLiteral("English"),
                                 QStringLiteral("French")};
    settings.language = languages[cursor.byte() % 3];
    const uint8_t flags = cursor.byte();
    const uint8_t formats = cursor.byte();
    if (formats % 3 != 0)
        settings.sentFormat = formats % 3 == 1 ? FormatHex : FormatDec;
    if (formats / 3 % 4 != 0)
        settings.dataFormat = formats / 3 % 4;
    for (std::optional<int> &octet : settings.ip)
        octet = cursor.byte();
    settings.autoConnection = flags & 0x10;
    QString *texts[] = {&settings.model, &settings.port, &settings.baudRate, &settings.playerId};
    for (int i = 0; i < 4; ++i) {
        const QString text = cursor.text();
        if (flags & (1 << i))
            *texts[i] = text;
    }
    return settings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Whatever the machine's locale, the panel's files are read and written as UTF-8 here.
    // The application's identity, in lines 2 and 3 only, stays unset: the reader skips them.
    static const bool ready = [] {
        QTextCodec::setCodecForLocale(utf8());
        return true;
    }();
    (void)ready;

    const QByteArray file(reinterpret_cast<const char *>(data), int(size));
    const Values values = readAsPanel(file);
    const QString first = firstLine(file);
    REQUIRE(values.has_value()
            == (first.contains(ConfigFileMagic) && first.contains(ConfigFileVersion)));
    if (values)
        checkRules(*values);
    // Line ends are bytes only in UTF-8: in a file in UTF-16 or UTF-32 an
    // inserted 0x0D byte would shift the characters, so it is left out here.
    const QTextCodec *detected = QTextCodec::codecForUtfText(file, utf8());
    if (detected->mibEnum() == 106) {
        REQUIRE(readAsPanel(withCrLf(file)) == values);
        // Without text mode the stream still takes CR LF for a line end.
        if (!file.contains('\r'))
            REQUIRE(readFile(withCrLf(file), QIODevice::ReadOnly) == values);
    }

    Cursor cursor(data, size);
    const ConfigSettings settings = settingsFrom(cursor);
    QByteArray written;
    QBuffer buffer(&written);
    REQUIRE(buffer.open(QIODevice::WriteOnly));
    REQUIRE(writeConfigLines(&buffer, settings));
    const Values back = readAsPanel(written);
    REQUIRE(back == settings);
    REQUIRE(readAsPanel(withCrLf(written)) == back);
    REQUIRE(readFile(written, QIODevice::ReadOnly) == back);
    REQUIRE(readFile(withCrLf(written), QIODevice::ReadOnly) == back);
    return 0;
}
