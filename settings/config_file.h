#ifndef CONFIG_FILE_H
#define CONFIG_FILE_H

#include <QString>

#include <array>
#include <optional>

class QIODevice;

/// The configuration file's fixed texts.
extern const QString ConfigFileSuffix;   ///< ".cfg", after the application name
extern const QString ConfigFileVersion;  ///< "1.00"
extern const QString ConfigFileMagic;    ///< "QVX1"
extern const QString ConfigFileTitle;    ///< "(Configuration File)"
extern const QString ConfigDefaultValue; ///< "(default)": a setting without a choice

/// Appended to the path in the received-data pane around a save.
extern const QString ConfigBeforeSave;
extern const QString ConfigAfterSave;
extern const QString ConfigSaveFailed;

/// The most bytes a settings file may hold; a longer one is unusable. A real
/// file holds well under 1 KiB.
constexpr qint64 ConfigFileMaxSize = 64 * 1024;

/// The longest port line applied: Linux's PATH_MAX, which no device path
/// reaches (a constant here, so the panel needs no POSIX header).
constexpr int ConfigPortMaxLength = 4096;

/// An unusable settings file goes to "<file>.bak", else to the first free
/// "<file>.bak.N" with N up to this; past it, nowhere.
constexpr int ConfigBackupLast = 99;

/// Display-format codes of lines 22 and 24.
enum ConfigFormat : int { FormatAscii = 1, FormatHex = 2, FormatDec = 3 };

/// The settings the file keeps, as the window shows them and as the reader
/// finds them. The writer writes ConfigDefaultValue for an absent octet or
/// code; the reader leaves out one outside its range. Texts travel as they
/// stand (an empty one past the end of a short file) and are looked up by the
/// window: the selectors' texts among their items, the language among the
/// languages it offers.
struct ConfigSettings
{
    QString language = ConfigDefaultValue; ///< "English", "French" or ConfigDefaultValue
    QString model = ConfigDefaultValue;
    /// Empty when the line holds a control character or is longer than
    /// ConfigPortMaxLength: the window opens it as a path.
    QString port = ConfigDefaultValue;
    QString baudRate = ConfigDefaultValue;
    std::array<std::optional<int>, 4> ip = {0, 0, 0, 0};
    /// Read as true only for a number other than 0: the reader never unchecks the box.
    bool autoConnection = false;
    QString playerId = ConfigDefaultValue;
    std::optional<int> sentFormat; ///< FormatHex or FormatDec
    std::optional<int> dataFormat; ///< FormatAscii, FormatHex or FormatDec

    bool operator==(const ConfigSettings &other) const
    {
        return language == other.language && model == other.model && port == other.port
               && baudRate == other.baudRate && ip == other.ip
               && autoConnection == other.autoConnection && playerId == other.playerId
               && sentFormat == other.sentFormat && dataFormat == other.dataFormat;
    }
};

/// The path itself, or, when it is empty, the file beside the executable.
QString configFileOrFallback(const QString &path);

/// Writes the 24 lines to an open device. False when the device refused any
/// byte, so a caller can keep the previous file.
bool writeConfigLines(QIODevice *device, const ConfigSettings &settings);

/// Reads the 24 lines from an open device; nothing when the first line lacks
/// the magic or the version, which makes the whole file ignored.
std::optional<ConfigSettings> readConfigLines(QIODevice *device);

/// What readConfigFile found at a path.
enum class ConfigFileStatus {
    Read,         ///< a settings file, read
    Missing,      ///< nothing there
    DanglingLink, ///< a symbolic link to nothing
    NotAFile,     ///< a folder, FIFO, device or socket, never opened
    TooLarge,     ///< more than ConfigFileMaxSize bytes
    Unreadable,   ///< a file that could not be opened or read
    Refused,      ///< a first line without the magic or the version
};

struct ConfigFileContents
{
    ConfigFileStatus status = ConfigFileStatus::Missing;
    std::optional<ConfigSettings> settings; ///< set exactly when status is Read
};

/// Reads the settings file at `path`, through a symbolic link, and writes
/// nothing. Only a regular file is opened, so nothing there can block it, and
/// at most ConfigFileMaxSize bytes are read.
ConfigFileContents readConfigFile(const QString &path);

#endif // CONFIG_FILE_H
