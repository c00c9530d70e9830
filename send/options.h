#ifndef SEND_OPTIONS_H
#define SEND_OPTIONS_H

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

#include "link/received_data.h"
#include "send/commands.h"
#include "settings/config_file.h"

/// How the player is reached.
enum class SendLink {
    None, ///< neither given nor saved: only a dry run or --list can go on
    Tcp,
    Serial,
};

/// Everything the command line decides, already checked.
struct SendOptions
{
    SendLink link = SendLink::None;
    QString host;
    quint16 port = 0;
    QString device;
    qint32 speed = 0;
    SendTarget target;
    QString script;           ///< "-" for standard input; empty: the commands are arguments
    QStringList commands;     ///< the positional arguments
    int listenMs = -1;        ///< -1: not given
    DataFormat format = DataFormat::Text;
    bool expectReply = false;
    bool verbose = false;
    bool dryRun = false;
    bool list = false;
    bool help = false;
    bool version = false;
};

/// The options, or the reason they cannot be used (error is then non-empty).
struct ParsedSendOptions
{
    SendOptions options;
    QString error;
};

/// The panel's saved settings, read only when no link option is given.
using SavedSettingsReader = std::function<std::optional<ConfigSettings>()>;

/// Reads a command line whose first entry is the program name. Without --host
/// or --serial the saved settings give the link, the model and the player ID
/// (unless --model and --id do).
ParsedSendOptions parseSendOptions(const QStringList &arguments, const SavedSettingsReader &saved);

/// How long to listen after the last frame: --listen, or 500 ms when a request
/// or --expect-reply waits for an answer, else 0.
int listenTime(const SendOptions &options, const QList<SendStep> &steps);

/// The link as messages name it: "127.0.0.1:65079", "/dev/ttyUSB0".
QString linkTarget(const SendOptions &options);

/// The --help text.
QString sendUsageText();

#endif // SEND_OPTIONS_H
