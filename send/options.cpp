#include "send/options.h"

#include <QCommandLineParser>
#include <QHostAddress>
#include <QRegularExpression>

namespace {

constexpr int RequestListenMs = 500;

/// The models as --model takes them: "0 \"Pebble Player 2\", 1 ...".
QString modelChoices(const QList<PlayerModel> &models)
{
    QStringList names;
    for (int i = 0; i < models.size(); ++i)
        names << QStringLiteral("%1 \"%2\"").arg(i).arg(models[i].name);
    return names.join(QStringLiteral(", "));
}

std::optional<PlayerModel> modelNamed(const QString &text, const QList<PlayerModel> &models)
{
    bool isNumber = false;
    const int index = text.toInt(&isNumber);
    if (isNumber)
        return index >= 0 && index < models.size() ? std::optional(models[index]) : std::nullopt;
    for (const PlayerModel &model : models) {
        if (model.name.compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return model;
    }
    return std::nullopt;
}

/// The first model reached by `kind`: the default when only the link is given.
PlayerModel firstModelOf(LinkKind kind, const QList<PlayerModel> &models)
{
    for (const PlayerModel &model : models) {
        if (model.linkKind == kind)
            return model;
    }
    return models.first();
}

/// The TCP port a model listens on; a serial model behind a network adapter
/// gets the catalogue's TCP port.
quint16 defaultPort(const PlayerModel &model, const QList<PlayerModel> &models)
{
    return model.tcpPort ? model.tcpPort : firstModelOf(LinkKind::Tcp, models).tcpPort;
}

QString readHost(const QString &text, SendOptions &options)
{
    QString host = text;
    QString port;
    static const QRegularExpression bracketed(QStringLiteral("^\\[([^\\]]*)\\](?::(.*))?$"));
    const QRegularExpressionMatch match = bracketed.match(text);
    if (match.hasMatch()) {
        host = match.captured(1);
        port = match.captured(2);
    } else if (text.count(QLatin1Char(':')) == 1) {
        host = text.section(QLatin1Char(':'), 0, 0);
        port = text.section(QLatin1Char(':'), 1);
    }
    static const QRegularExpression name(QStringLiteral("^[A-Za-z0-9]([A-Za-z0-9.-]{0,252})$"));
    if (QHostAddress(host).isNull() && !name.match(host).hasMatch())
        return QStringLiteral("--host wants an IPv4 address or a host name, not \"%1\"").arg(host);
    if (!port.isNull()) {
        bool ok = false;
        const uint number = port.toUInt(&ok);
        if (!ok || number == 0 || number > 65535)
            return QStringLiteral("--host wants a port from 1 to 65535, not \"%1\"").arg(port);
        options.port = quint16(number);
    }
    options.host = host;
    return {};
}

QString speedList(const QList<qint32> &speeds)
{
    QStringList texts;
    for (const qint32 speed : speeds)
        texts << QString::number(speed);
    return texts.join(QStringLiteral(", "));
}

/// The speeds a model's serial line may run at; a TCP model behind a serial adapter takes any.
QList<qint32> speedsOf(const PlayerModel &model)
{
    return model.baudRates.isEmpty() ? SerialSpeeds : model.baudRates;
}

qint32 defaultSpeed(const PlayerModel &model)
{
    return model.defaultBaudRate > 0 ? model.defaultBaudRate : speedsOf(model).value(1, SerialSpeeds.first());
}

QString readSpeed(const QString &text, SendOptions &options)
{
    bool ok = false;
    const int speed = text.toInt(&ok);
    const QList<qint32> speeds = speedsOf(options.target.model);
    if (!ok || !speeds.contains(speed))
        return QStringLiteral("--speed: model \"%1\" runs at %2, not \"%3\"")
            .arg(options.target.model.name, speedList(speeds), text);
    options.speed = speed;
    return {};
}

QString readId(const QString &text, SendOptions &options)
{
    bool ok = false;
    const int id = text.toInt(&ok);
    const PlayerModel &model = options.target.model;
    if (!ok || (id != 0 && (id < model.idMin || id > model.idMax)))
        return QStringLiteral("--id wants 0 (every player) or %1 to %2, not \"%3\"")
            .arg(model.idMin)
            .arg(model.idMax)
            .arg(text);
    options.target.id = quint8(id);
    options.target.idGiven = true;
    return {};
}

QString readListen(const QString &text, SendOptions &options)
{
    bool ok = false;
    const int ms = text.toInt(&ok);
    if (!ok || ms < 0 || ms > LongestWaitMs)
        return QStringLiteral("--listen wants 0 to %1 milliseconds, not \"%2\"").arg(LongestWaitMs).arg(text);
    options.listenMs = ms;
    return {};
}

QString readFormat(const QString &text, SendOptions &options)
{
    const QStringList names = {QStringLiteral("text"), QStringLiteral("hex"), QStringLiteral("dec")};
    const int index = names.indexOf(text.toLower());
    if (index < 0)
        return QStringLiteral("--format wants text, hex or dec, not \"%1\"").arg(text);
    options.format = std::array{DataFormat::Text, DataFormat::Hex, DataFormat::Dec}[index];
    return {};
}

/// The link, model and ID the panel saved, where the command line names none.
void applySaved(const ConfigSettings &saved, bool modelGiven, SendOptions &options,
                const QList<PlayerModel> &models)
{
    const std::optional<PlayerModel> savedModel = modelNamed(saved.model, models);
    const PlayerModel linkModel = savedModel.value_or(models.first());
    if (!modelGiven)
        options.target.model = linkModel;
    const PlayerModel &model = options.target.model;
    if (linkModel.linkKind == LinkKind::Tcp) {
        QStringList octets;
        for (const std::optional<int> &octet : saved.ip)
            octets << QString::number(octet.value_or(0));
        options.link = SendLink::Tcp;
        options.host = octets.join(QLatin1Char('.'));
        options.port = defaultPort(model, models);
    } else if (saved.port != ConfigDefaultValue && !saved.port.isEmpty()) {
        options.link = SendLink::Serial;
        options.device = saved.port;
        const int speed = saved.baudRate.toInt();
        options.speed = speedsOf(model).contains(speed) ? speed : defaultSpeed(model);
    }
    bool ok = false;
    const int id = saved.playerId.toInt(&ok);
    if (ok && id >= 0 && id <= model.idMax)
        options.target.id = quint8(id);
}

} // namespace

ParsedSendOptions parseSendOptions(const QStringList &arguments, const SavedSettingsReader &saved)
{
    const QCommandLineOption host(QStringLiteral("host"), {}, QStringLiteral("ADDRESS"));
    const QCommandLineOption serial(QStringLiteral("serial"), {}, QStringLiteral("DEVICE"));
    const QCommandLineOption speed(QStringLiteral("speed"), {}, QStringLiteral("BAUD"));
    const QCommandLineOption model(QStringLiteral("model"), {}, QStringLiteral("NAME"));
    const QCommandLineOption id(QStringLiteral("id"), {}, QStringLiteral("N"));
    const QCommandLineOption script(QStringLiteral("script"), {}, QStringLiteral("FILE"));
    const QCommandLineOption listen(QStringLiteral("listen"), {}, QStringLiteral("MS"));
    const QCommandLineOption format(QStringLiteral("format"), {}, QStringLiteral("FORMAT"));
    const QCommandLineOption expectReply(QStringLiteral("expect-reply"));
    const QCommandLineOption verbose(QStringList{QStringLiteral("v"), QStringLiteral("verbose")});
    const QCommandLineOption dryRun(QStringList{QStringLiteral("n"), QStringLiteral("dry-run")});
    const QCommandLineOption list(QStringLiteral("list"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));

    QCommandLineParser parser;
    parser.addOptions({host, serial, speed, model, id, script, listen, format, expectReply, verbose,
                       dryRun, list, help, version});
    ParsedSendOptions result;
    SendOptions &options = result.options;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    options.help = parser.isSet(help);
    options.version = parser.isSet(version);
    options.list = parser.isSet(list);
    options.dryRun = parser.isSet(dryRun);
    options.verbose = parser.isSet(verbose);
    options.expectReply = parser.isSet(expectReply);
    options.commands = parser.positionalArguments();
    options.script = parser.value(script);
    if (options.help || options.version)
        return result;

    const QList<PlayerModel> models = modelCatalogue();
    QString &error = result.error;
    if (parser.isSet(host) && parser.isSet(serial))
        error = QStringLiteral("give --host or --serial, not both");
    else if (parser.isSet(script) && !options.commands.isEmpty())
        error = QStringLiteral("give commands or --script, not both");
    else if (parser.isSet(script) && options.script.isEmpty())
        error = QStringLiteral("--script wants a file (\"-\" for standard input)");
    else if (!parser.isSet(script) && options.commands.isEmpty() && !options.list)
        error = QStringLiteral("no command given");
    if (!error.isEmpty())
        return result;

    // The model comes first: the speeds, the port and the ID range follow from it.
    const bool modelGiven = parser.isSet(model);
    if (modelGiven) {
        const std::optional<PlayerModel> chosen = modelNamed(parser.value(model), models);
        if (!chosen)
            error = QStringLiteral("--model wants one of %1, not \"%2\"")
                        .arg(modelChoices(models), parser.value(model));
        else
            options.target.model = *chosen;
    } else {
        options.target.model = firstModelOf(parser.isSet(host) ? LinkKind::Tcp : LinkKind::Serial, models);
    }
    if (error.isEmpty() && parser.isSet(host)) {
        options.link = SendLink::Tcp;
        options.port = defaultPort(options.target.model, models);
        error = readHost(parser.value(host), options);
    } else if (error.isEmpty() && parser.isSet(serial)) {
        options.link = SendLink::Serial;
        options.device = parser.value(serial);
        options.speed = defaultSpeed(options.target.model);
        if (options.device.isEmpty())
            error = QStringLiteral("--serial wants a device");
    } else if (error.isEmpty()) {
        if (const std::optional<ConfigSettings> settings = saved())
            applySaved(*settings, modelGiven, options, models);
    }
    if (error.isEmpty() && parser.isSet(speed)) {
        error = options.link == SendLink::Serial ? readSpeed(parser.value(speed), options)
                                                 : QStringLiteral("--speed needs a serial line");
    }
    if (error.isEmpty() && parser.isSet(id))
        error = readId(parser.value(id), options);
    if (error.isEmpty() && parser.isSet(listen))
        error = readListen(parser.value(listen), options);
    if (error.isEmpty() && parser.isSet(format))
        error = readFormat(parser.value(format), options);
    return result;
}

int listenTime(const SendOptions &options, const QList<SendStep> &steps)
{
    if (options.listenMs >= 0)
        return options.listenMs;
    const bool asks = std::any_of(steps.cbegin(), steps.cend(), [](const SendStep &s) { return s.request; });
    return asks || options.expectReply ? RequestListenMs : 0;
}

QString linkTarget(const SendOptions &options)
{
    if (options.link == SendLink::Serial)
        return options.device;
    const bool ipv6 = options.host.contains(QLatin1Char(':'));
    return (ipv6 ? QLatin1Char('[') + options.host + QLatin1Char(']') : options.host)
           + QLatin1Char(':') + QString::number(options.port);
}

QString sendUsageText()
{
    return QStringLiteral(
        "Usage: quorvex-send [options] COMMAND [ARG] [, COMMAND [ARG]]...\n"
        "       quorvex-send [options] --script FILE     (FILE \"-\" is standard input)\n"
        "Sends the players' commands as three-byte frames over TCP or a serial line.\n"
        "Every command is checked against the model before anything is sent.\n"
        "\n"
        "Commands: play, stop, pause, next-file, previous-file, next-folder,\n"
        "  previous-folder, folder N, volume N, request ITEM, change-id N, wait MS.\n"
        "  Request items: player-status, current-file, full-path-name,\n"
        "  used-storage-media, current-folder-number, remaining-time, total-time,\n"
        "  volume. A script holds one command per line; # starts a comment.\n"
        "\n"
        "  --host ADDRESS[:PORT]  the player over TCP (port by default the model's, %1)\n"
        "  --serial DEVICE        the player on a serial line, 8N1\n"
        "  --speed BAUD           %2, as the model allows (default: the model's)\n"
        "  --model NAME|NUMBER    the model, by its name (any case) or 0 to 4\n"
        "                         (default: the first of the link's kind)\n"
        "  --id N                 the player's ID, 0 to 127 (default 0: every player)\n"
        "  --script FILE          the commands from a file\n"
        "  --listen MS            print what the player sends for MS milliseconds\n"
        "                         after the last frame (500 after a request)\n"
        "  --format FORMAT        replies as text, hex or dec (default text)\n"
        "  --expect-reply         fail with status 3 when nothing comes back\n"
        "  -v, --verbose          each frame sent, with its name, on standard error\n"
        "  -n, --dry-run          print the frames, one per line; open nothing\n"
        "  --list                 the model's commands, ranges and request items\n"
        "  -h, --help             this text\n"
        "  --version              the version\n"
        "\n"
        "Without --host or --serial, the link, the model and the player ID are those\n"
        "the panel saved (its settings are only read).\n"
        "\n"
        "Exit status: 0 everything sent (and, with --expect-reply, an answer came);\n"
        "1 the link could not be opened or was lost; 2 a bad command line or script;\n"
        "3 --expect-reply and nothing came back in time; 128 + N signal N ended the run.\n")
        .arg(firstModelOf(LinkKind::Tcp, modelCatalogue()).tcpPort)
        .arg(speedList(SerialSpeeds));
}
