// The 24 lines of the configuration file, without widgets: one table of the
// value lines, which the writer and the reader both follow.

#include "settings/config_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QStringList>
#include <QTextCodec>
#include <QTextStream>

#include <algorithm>
#include <iterator>
#include <variant>

const QString ConfigFileSuffix = QStringLiteral(".cfg");
const QString ConfigFileVersion = QStringLiteral("1.00");
const QString ConfigFileMagic = QStringLiteral("QVX1");
const QString ConfigFileTitle = QStringLiteral("(Configuration File)");
const QString ConfigDefaultValue = QStringLiteral("(default)");

const QString ConfigBeforeSave = QStringLiteral("(before save)");
const QString ConfigAfterSave = QStringLiteral("(after save)");
const QString ConfigSaveFailed = QStringLiteral("(save failed)");

namespace {

std::optional<int> parsedInRange(const QString &line, int low, int high)
{
    bool ok = false;
    const int value = line.toInt(&ok, 10);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

QString numberOrDefault(const std::optional<int> &number)
{
    return number ? QString::number(*number) : ConfigDefaultValue;
}

// The value rules: how a setting is written, and what the reader takes back.

/// A text as it stands.
struct Text
{
    QString ConfigSettings::*field;
    QString write(const ConfigSettings &s) const { return s.*field; }
    void read(const QString &line, ConfigSettings &s) const { s.*field = line; }
};

/// The serial port, which the window opens as a path: a control character
/// (NUL included) or a length no path has leaves it unapplied.
struct Port
{
    QString write(const ConfigSettings &s) const { return s.port; }
    void read(const QString &line, ConfigSettings &s) const
    {
        const bool path = line.size() <= ConfigPortMaxLength
                          && std::none_of(line.cbegin(), line.cend(), [](QChar c) {
                                 return c.category() == QChar::Other_Control;
                             });
        s.port = path ? line : QString();
    }
};

/// One byte of the IP address in decimal; anything else is not applied.
struct Octet
{
    int index;
    QString write(const ConfigSettings &s) const { return numberOrDefault(s.ip[index]); }
    void read(const QString &line, ConfigSettings &s) const
    {
        s.ip[index] = parsedInRange(line, 0, 255);
    }
};

/// Auto-connection: "1" or "0"; any number but 0 reads as set.
struct Flag
{
    QString write(const ConfigSettings &s) const
    {
        return s.autoConnection ? QStringLiteral("1") : QStringLiteral("0");
    }
    void read(const QString &line, ConfigSettings &s) const
    {
        bool ok = false;
        s.autoConnection = line.toInt(&ok, 10) != 0 && ok;
    }
};

/// A display-format code from low to high; anything else is not applied.
struct Code
{
    std::optional<int> ConfigSettings::*field;
    int low;
    int high;
    QString write(const ConfigSettings &s) const { return numberOrDefault(s.*field); }
    void read(const QString &line, ConfigSettings &s) const
    {
        s.*field = parsedInRange(line, low, high);
    }
};

struct ValueLine
{
    int number;      ///< the value's line; its key line, if any, is the one before
    const char *key; ///< nullptr: one more value of the key above
    std::variant<Text, Port, Octet, Flag, Code> rule;
};

// Lines 1 to 3 are the header, which the reader skips but for line 1.
constexpr ValueLine Layout[] = {
    {5, "*** Default Language:", Text{&ConfigSettings::language}},
    {7, "*** Default Device:", Text{&ConfigSettings::model}},
    {9, "*** Default Serial Port:", Port{}},
    {11, "*** Default Baudrate:", Text{&ConfigSettings::baudRate}},
    {13, "*** Default IP Address:", Octet{0}},
    {14, nullptr, Octet{1}},
    {15, nullptr, Octet{2}},
    {16, nullptr, Octet{3}},
    {18, "*** Default Auto-connection:", Flag{}},
    {20, "*** Default Player ID:", Text{&ConfigSettings::playerId}},
    {22, "*** Default Command Bytes Sent Setting:",
     Code{&ConfigSettings::sentFormat, FormatHex, FormatDec}},
    {24, "*** Default Data Received Setting:",
     Code{&ConfigSettings::dataFormat, FormatAscii, FormatDec}},
};

constexpr int ConfigLineCount = std::prev(std::end(Layout))->number;

} // namespace

QString configFileOrFallback(const QString &path)
{
    if (!path.isEmpty())
        return path;
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
}

bool writeConfigLines(QIODevice *device, const ConfigSettings &settings)
{
    const QString name = QCoreApplication::applicationName();
    QStringList lines = {
        ConfigFileMagic + ConfigFileVersion,
        name + QLatin1Char(' ') + ConfigFileTitle,
        QStringLiteral("Generate by: ") + name + QLatin1Char(' ')
            + QCoreApplication::applicationVersion(),
    };
    for (const ValueLine &line : Layout) {
        if (line.key)
            lines << QLatin1String(line.key);
        Q_ASSERT(lines.size() + 1 == line.number);
        lines << std::visit([&settings](const auto &rule) { return rule.write(settings); },
                            line.rule);
    }
    Q_ASSERT(lines.size() == ConfigLineCount);

    // Encoded as a text stream would by default; written in one piece because
    // a text stream reports a short write as success.
    const QByteArray bytes =
        QTextCodec::codecForLocale()->fromUnicode(lines.join(QLatin1Char('\n')) + QLatin1Char('\n'));
    if (device->write(bytes) != bytes.size())
        return false;
    // A file keeps written bytes in its own buffer; the disk refuses them here.
    auto *file = qobject_cast<QFileDevice *>(device);
    return !file || file->flush();
}

std::optional<ConfigSettings> readConfigLines(QIODevice *device)
{
    QTextStream stream(device);
    // Past the end readLine() gives an empty text, which no rule applies.
    QStringList lines;
    for (int i = 0; i < ConfigLineCount; ++i)
        lines << stream.readLine();

    const QString &first = lines.constFirst();
    if (!first.contains(ConfigFileMagic) || !first.contains(ConfigFileVersion))
        return std::nullopt;

    ConfigSettings settings;
    for (const ValueLine &line : Layout) {
        const QString &text = lines.at(line.number - 1);
        std::visit([&](const auto &rule) { rule.read(text, settings); }, line.rule);
    }
    return settings;
}

ConfigFileContents readConfigFile(const QString &path)
{
    const QFileInfo entry(path);
    if (!entry.exists())
        return {entry.isSymLink() ? ConfigFileStatus::DanglingLink : ConfigFileStatus::Missing, {}};
    // Checked before any open: opening a FIFO waits for a writer.
    if (!entry.isFile())
        return {ConfigFileStatus::NotAFile, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {ConfigFileStatus::Unreadable, {}};
    // One byte more tells a file past the bound, whatever size it claims.
    QByteArray bytes = file.read(ConfigFileMaxSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {ConfigFileStatus::Unreadable, {}};
    if (bytes.size() > ConfigFileMaxSize)
        return {ConfigFileStatus::TooLarge, {}};

    // In text mode, so CR LF line ends read as LF.
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    std::optional<ConfigSettings> settings = readConfigLines(&buffer);
    return {settings ? ConfigFileStatus::Read : ConfigFileStatus::Refused, std::move(settings)};
}
