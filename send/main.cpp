// quorvex-send: the players' commands from a shell, a script or a show-control system.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/identity.h"
#include "app/termination_watcher.h"
#include "protocol/frames.h"
#include "send/sender.h"

#include <csignal>

namespace {

/// A script longer than this is surely not one (a thousand lines take a few KiB).
constexpr qint64 LongestScript = 1024 * 1024;

/// As a shell reports a program that a signal ended: 128 plus its number.
int signalStatus(const QString &signalName)
{
    if (signalName == QLatin1String("SIGINT"))
        return 128 + SIGINT;
    if (signalName == QLatin1String("SIGTERM"))
        return 128 + SIGTERM;
    return 128 + 1; // SIGHUP, whose number is 1 wherever it exists
}

void usageError(const QString &message)
{
    writeTo(stderr, QStringLiteral("quorvex-send: %1\nTry quorvex-send --help.\n").arg(message));
}

/// The script's text, or the reason it cannot be read.
QString readScript(const QString &path, QString *text)
{
    QFile file;
    const bool isStdin = path == QLatin1String("-");
    const bool opened = isStdin ? file.open(stdin, QIODevice::ReadOnly)
                                : !QFileInfo(path).isDir() && (file.setFileName(path), file.open(QIODevice::ReadOnly));
    if (!opened)
        return QStringLiteral("cannot read script %1: %2")
            .arg(path, QFileInfo(path).isDir() ? QStringLiteral("Is a directory") : file.errorString());
    // A pipe may give its bytes in several reads.
    QByteArray bytes;
    for (QByteArray chunk; bytes.size() <= LongestScript; bytes += chunk) {
        chunk = file.read(LongestScript + 1 - bytes.size());
        if (chunk.isEmpty())
            break;
    }
    if (bytes.size() > LongestScript)
        return QStringLiteral("script %1 is longer than %2 bytes").arg(path).arg(LongestScript);
    *text = QString::fromUtf8(bytes);
    return {};
}

/// Where the panel keeps its settings: its identity names the folder, as in
/// the panel's own constructor. Ours is put back after.
QString panelSettingsPath()
{
    setApplicationIdentity();
    const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    const QString path = folder.absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
    QCoreApplication::setApplicationName(QStringLiteral("quorvex-send"));
    return path;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QString settingsPath = panelSettingsPath();
    // Read only when no link option is given, and never written.
    const auto savedSettings = [&settingsPath] { return readConfigFile(settingsPath).settings; };
    const ParsedSendOptions parsed = parseSendOptions(QCoreApplication::arguments(), savedSettings);
    if (!parsed.error.isEmpty()) {
        usageError(parsed.error);
        return ExitUsage;
    }
    const SendOptions &options = parsed.options;
    if (options.help) {
        writeTo(stdout, sendUsageText());
        return ExitSent;
    }
    if (options.version) {
        writeTo(stdout, QStringLiteral("quorvex-send %1\n").arg(QCoreApplication::applicationVersion()));
        return ExitSent;
    }
    if (options.list) {
        writeTo(stdout, commandListText(options.target));
        return ExitSent;
    }

    ParsedSteps steps;
    if (options.script.isEmpty()) {
        steps = parseCommandArguments(options.commands, options.target);
    } else {
        QString text;
        steps.error = readScript(options.script, &text);
        if (steps.error.isEmpty())
            steps = parseScript(text, options.script, options.target);
    }
    if (!steps.error.isEmpty()) {
        writeTo(stderr, QStringLiteral("quorvex-send: %1\n").arg(steps.error));
        return ExitUsage;
    }

    if (options.dryRun) {
        for (const SendStep &step : steps.steps) {
            if (!step.frame.isEmpty())
                writeTo(stdout, hexBytes(step.frame) + QLatin1Char('\n'));
        }
        return ExitSent;
    }
    if (options.link == SendLink::None) {
        usageError(QStringLiteral("no link: give --host or --serial (no usable settings of the panel in %1)")
                       .arg(settingsPath));
        return ExitUsage;
    }

    // Watching for signals before the link opens, so none is missed in between.
    TerminationWatcher termination;
    Sender sender(options, steps.steps);
    QObject::connect(&sender, &Sender::finished, &application, &QCoreApplication::exit);
    QObject::connect(&termination, &TerminationWatcher::terminationRequested, &sender,
                     [&sender](const QString &signalName) { sender.stop(signalName, signalStatus(signalName)); });
    sender.start();
    return application.exec();
}
