// The 24 lines of the configuration file, without widgets: the window turns
// its widgets into ConfigSettings and applies ConfigFileValues back.

#include "settings/config_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDevice>
#include <QIODevice>
#include <QTextCodec>
#include <QTextStream>

#include "app/globals.h"

const QString Config_Before_Save = QStringLiteral("(before save)");
const QString Config_After_Save = QStringLiteral("(after save)");
const QString Config_Save_Failed = QStringLiteral("(save failed)");

namespace {

const int Config_Line_Count = 24;

QString valueOrDefault(const std::optional<QString> &text)
{
    return text ? *text : Config_Default_Value;
}

QString codeOrDefault(const std::optional<int> &code)
{
    return code ? QString::number(*code) : Config_Default_Value;
}

std::optional<int> parsedInRange(const QString &line, int low, int high)
{
    bool ok = false;
    const int value = line.toInt(&ok, 10);
    if (!ok || value < low || value > high)
        return std::nullopt;
    return value;
}

ConfigLanguage parsedLanguage(const QString &line)
{
    if (line == config_Language_Name(ConfigLanguage::English))
        return ConfigLanguage::English;
    if (line == config_Language_Name(ConfigLanguage::French))
        return ConfigLanguage::French;
    return ConfigLanguage::Default;
}

} // namespace

QString config_Language_Name(ConfigLanguage language)
{
    switch (language) {
    case ConfigLanguage::English:
        return QLocale::languageToString(English_Locale.language());
    case ConfigLanguage::French:
        return QLocale::languageToString(French_Locale.language());
    case ConfigLanguage::Default:
        break;
    }
    return Config_Default_Value;
}

QString config_File_Or_Fallback(const QString &path)
{
    if (!path.isEmpty())
        return path;
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QCoreApplication::applicationName() + Config_File_Suffix);
}

bool write_Config_Lines(QIODevice *device, const ConfigSettings &settings)
{
    const QString name = QCoreApplication::applicationName();
    const QStringList lines = {
        Config_File_Magic + Config_File_Version,
        name + QLatin1Char(' ') + Config_File_Title,
        QStringLiteral("Generate by: ") + name + QLatin1Char(' ')
            + QCoreApplication::applicationVersion(),
        QStringLiteral("*** Default Language:"),
        config_Language_Name(settings.language),
        QStringLiteral("*** Default Device:"),
        valueOrDefault(settings.model),
        QStringLiteral("*** Default Serial Port:"),
        valueOrDefault(settings.port),
        QStringLiteral("*** Default Baudrate:"),
        valueOrDefault(settings.baudRate),
        QStringLiteral("*** Default IP Address:"),
        QString::number(settings.ip[0]),
        QString::number(settings.ip[1]),
        QString::number(settings.ip[2]),
        QString::number(settings.ip[3]),
        QStringLiteral("*** Default Auto-connection:"),
        settings.autoConnection ? QStringLiteral("1") : QStringLiteral("0"),
        QStringLiteral("*** Default Player ID:"),
        valueOrDefault(settings.playerId),
        QStringLiteral("*** Default Command Bytes Sent Setting:"),
        codeOrDefault(settings.sentFormat),
        QStringLiteral("*** Default Data Received Setting:"),
        codeOrDefault(settings.dataFormat),
    };
    Q_ASSERT(lines.size() == Config_Line_Count);

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

std::optional<ConfigFileValues> read_Config_Lines(QIODevice *device)
{
    QTextStream stream(device);
    // Past the end readLine() gives an empty text, which no rule applies.
    QStringList lines;
    for (int i = 0; i < Config_Line_Count; ++i)
        lines << stream.readLine();
    const auto line = [&lines](int number) { return lines.at(number - 1); };

    if (!line(1).contains(Config_File_Magic) || !line(1).contains(Config_File_Version))
        return std::nullopt;

    ConfigFileValues values;
    values.language = parsedLanguage(line(5));
    values.model = line(7);
    values.port = line(9);
    values.baudRate = line(11);
    for (int i = 0; i < 4; ++i)
        values.ip[i] = parsedInRange(line(13 + i), 0, 255);
    bool ok = false;
    values.autoConnection = line(18).toInt(&ok, 10) != 0 && ok;
    values.playerId = line(20);
    values.sentFormat = parsedInRange(line(22), FormatHex, FormatDec);
    values.dataFormat = parsedInRange(line(24), FormatAscii, FormatDec);
    return values;
}
