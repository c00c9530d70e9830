#ifndef CONFIG_FILE_H
#define CONFIG_FILE_H

#include <QString>

#include <array>
#include <optional>

class QIODevice;

/// The language line's three states.
enum class ConfigLanguage { Default, English, French };

/// Display-format codes of lines 22 and 24.
enum ConfigFormat : int { FormatAscii = 1, FormatHex = 2, FormatDec = 3 };

/// What the writer takes from the widgets. An absent text or code is written
/// as "(default)": a selector without a current item, no radio button checked.
struct ConfigSettings
{
    ConfigLanguage language = ConfigLanguage::Default;
    std::optional<QString> model;
    std::optional<QString> port;
    std::optional<QString> baudRate;
    std::array<int, 4> ip = {0, 0, 0, 0};
    bool autoConnection = false;
    std::optional<QString> playerId;
    std::optional<int> sentFormat;
    std::optional<int> dataFormat;
};

/// What the reader found in an accepted file, each value only where its line
/// rules allow it to be applied; lines past the end of a short file read as
/// empty. Selector texts are looked up by the window, the model first.
struct ConfigFileValues
{
    ConfigLanguage language = ConfigLanguage::Default;
    QString model;
    QString port;
    QString baudRate;
    std::array<std::optional<int>, 4> ip;
    /// True only for a number other than 0: the reader never unchecks the box.
    bool autoConnection = false;
    QString playerId;
    std::optional<int> sentFormat; ///< 2 or 3
    std::optional<int> dataFormat; ///< 1, 2 or 3
};

/// "English" and "French": the toolkit's names of the two locales' languages.
QString config_Language_Name(ConfigLanguage language);

/// The path itself, or, when it is empty, the file beside the executable.
QString config_File_Or_Fallback(const QString &path);

/// Writes the 24 lines to an open device. False when the device refused any
/// byte, so a caller can keep the previous file.
bool write_Config_Lines(QIODevice *device, const ConfigSettings &settings);

/// Reads the 24 lines from an open device; nothing when the first line lacks
/// the magic or the version, which makes the whole file ignored.
std::optional<ConfigFileValues> read_Config_Lines(QIODevice *device);

/// Appended to the path in the received-data pane around a save.
extern const QString Config_Before_Save;
extern const QString Config_After_Save;
extern const QString Config_Save_Failed;

#endif // CONFIG_FILE_H
