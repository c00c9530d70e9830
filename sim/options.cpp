#include "sim/options.h"

#include <QCommandLineParser>

namespace {

constexpr double LongestRunSeconds = 24 * 3600;

QString modelNames(const QList<PlayerModel> &models)
{
    QStringList names;
    for (const PlayerModel &model : models)
        names << QLatin1Char('"') + model.name + QLatin1Char('"');
    return names.join(QStringLiteral(", "));
}

// The catalogue's TCP model: the one played by default, a panel reaching it
// without hardware, and whose port a serial model listens on too.
const PlayerModel *tcpModel(const QList<PlayerModel> &models)
{
    for (const PlayerModel &model : models) {
        if (model.linkKind == LinkKind::Tcp)
            return &model;
    }
    return nullptr;
}

QString defaultModelName()
{
    const QList<PlayerModel> models = modelCatalogue();
    const PlayerModel *model = tcpModel(models);
    return model ? model->name : QString();
}

/// "9600, 19200 or 38400".
QString speedList(const QList<qint32> &speeds)
{
    QStringList texts;
    for (const qint32 speed : speeds)
        texts << QString::number(speed);
    const QString last = texts.isEmpty() ? QString() : texts.takeLast();
    return texts.isEmpty() ? last : texts.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

QString readModel(const QString &name, SimOptions &options)
{
    const QList<PlayerModel> models = modelCatalogue();
    for (const PlayerModel &model : models) {
        if (model.name.compare(name, Qt::CaseInsensitive) == 0) {
            const PlayerModel *tcp = tcpModel(models);
            options.model = model;
            options.listenPort = model.tcpPort ? model.tcpPort : tcp ? tcp->tcpPort : 0;
            return {};
        }
    }
    return QStringLiteral("unknown model \"%1\"; the models are %2").arg(name, modelNames(models));
}

QString readListen(const QString &text, SimOptions &options)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    QString host = text.left(colon);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool portOk = false;
    const uint port = text.mid(colon + 1).toUInt(&portOk);
    if (colon < 0 || !portOk || port > 65535)
        return QStringLiteral("--listen wants HOST:PORT with a port from 0 to 65535, not \"%1\"")
            .arg(text);
    QHostAddress address;
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        address = QHostAddress(QHostAddress::LocalHost);
    else if (!address.setAddress(host))
        return QStringLiteral("--listen: \"%1\" is not an IP address").arg(host);
    options.listenAddress = address;
    options.listenPort = quint16(port);
    return {};
}

QString readBaud(const QString &text, SimOptions &options)
{
    bool ok = false;
    const int baud = text.toInt(&ok);
    if (!ok || !SerialSpeeds.contains(baud))
        return QStringLiteral("--baud wants %1, not \"%2\"").arg(speedList(SerialSpeeds), text);
    const auto &offered = options.model.baudRates;
    if (!offered.isEmpty() && !offered.contains(baud)) {
        return QStringLiteral("model \"%1\" runs at %2 baud only")
            .arg(options.model.name, speedList(offered));
    }
    options.baudRate = baud;
    return {};
}

QString readId(const QString &text, SimOptions &options)
{
    bool ok = false;
    const int id = text.toInt(&ok);
    const PlayerModel &model = options.model;
    if (!ok || id < model.idMin || id > model.idMax)
        return QStringLiteral("--id wants a number from %1 to %2, not \"%3\"")
            .arg(model.idMin)
            .arg(model.idMax)
            .arg(text);
    options.id = quint8(id);
    return {};
}

QString readExitAfter(const QString &text, SimOptions &options)
{
    bool ok = false;
    const double seconds = text.toDouble(&ok);
    if (!ok || !(seconds > 0) || seconds > LongestRunSeconds)
        return QStringLiteral("--exit-after wants seconds above 0 and at most %1, not \"%2\"")
            .arg(LongestRunSeconds)
            .arg(text);
    options.exitAfterMs = qMax<qint64>(1, qint64(seconds * 1000));
    return {};
}

} // namespace

ParsedOptions parseOptions(const QStringList &arguments)
{
    const QCommandLineOption listen(QStringLiteral("listen"), {}, QStringLiteral("HOST:PORT"));
    const QCommandLineOption serial(QStringLiteral("serial"), {}, QStringLiteral("DEVICE"));
    const QCommandLineOption baud(QStringLiteral("baud"), {}, QStringLiteral("RATE"));
    const QCommandLineOption id(QStringLiteral("id"), {}, QStringLiteral("N"));
    const QCommandLineOption model(QStringLiteral("model"), {}, QStringLiteral("NAME"));
    const QCommandLineOption quiet(QStringList{QStringLiteral("q"), QStringLiteral("quiet")});
    const QCommandLineOption exitAfter(QStringLiteral("exit-after"), {}, QStringLiteral("SECONDS"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));

    QCommandLineParser parser;
    parser.addOptions({listen, serial, baud, id, model, quiet, exitAfter, help, version});

    ParsedOptions result;
    SimOptions &options = result.options;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty()) {
        result.error = QStringLiteral("unexpected argument \"%1\"")
                           .arg(parser.positionalArguments().constFirst());
        return result;
    }
    options.showHelp = parser.isSet(help);
    options.showVersion = parser.isSet(version);
    options.quiet = parser.isSet(quiet);

    // The model comes first: the ID range, the speeds and the default port follow from it.
    QString error = readModel(parser.isSet(model) ? parser.value(model) : defaultModelName(), options);
    if (error.isEmpty() && parser.isSet(listen))
        error = readListen(parser.value(listen), options);
    if (error.isEmpty() && parser.isSet(serial)) {
        options.serialDevice = parser.value(serial);
        if (options.serialDevice.isEmpty())
            error = QStringLiteral("--serial wants a device");
    }
    options.listenTcp = options.serialDevice.isEmpty() || parser.isSet(listen);
    options.baudRate = options.model.defaultBaudRate > 0 ? options.model.defaultBaudRate : 19200;
    if (error.isEmpty() && parser.isSet(baud)) {
        error = options.serialDevice.isEmpty() ? QStringLiteral("--baud needs --serial")
                                               : readBaud(parser.value(baud), options);
    }
    if (error.isEmpty() && parser.isSet(id))
        error = readId(parser.value(id), options);
    if (error.isEmpty() && parser.isSet(exitAfter))
        error = readExitAfter(parser.value(exitAfter), options);
    result.error = error;
    return result;
}

QString usageText()
{
    return QStringLiteral(
        "Usage: quorvex-player-sim [options]\n"
        "Behaves like one media player on a TCP port and/or a serial line: decodes\n"
        "the three-byte command frames, keeps the player's state, answers requests\n"
        "and logs one line per frame on standard output.\n"
        "\n"
        "  --listen HOST:PORT   listen for TCP clients there (default 127.0.0.1:65079;\n"
        "                       port 0 picks a free one; IPv6 as [::1]:PORT)\n"
        "  --serial DEVICE      open a serial device, 8N1 (no TCP then unless --listen)\n"
        "  --baud RATE          %1 (default: the model's speed)\n"
        "  --model NAME         player model by its display name (default \"%2\")\n"
        "  --id N               the player's ID (default 1); frames for ID 0 are obeyed too\n"
        "  --exit-after SECONDS stop after this long (at most one day)\n"
        "  -q, --quiet          no frame log; only the ready lines and errors\n"
        "  -h, --help           this text\n"
        "  --version            the version\n"
        "\n"
        "Exit status: 0 after --exit-after, SIGINT, SIGTERM or SIGHUP; 1 when a link\n"
        "cannot be opened or the serial device is lost; 2 for a bad command line.\n")
        .arg(speedList(SerialSpeeds), defaultModelName());
}
