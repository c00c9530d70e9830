// quorvex-player-sim: one simulated media player on TCP and/or a serial line.

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "app/termination_watcher.h"
#include "sim/options.h"
#include "sim/simulator.h"

namespace {

constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

void printTo(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvex-player-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));

    const ParsedOptions parsed = parseOptions(QCoreApplication::arguments());
    if (!parsed.error.isEmpty()) {
        printTo(stderr, QStringLiteral("quorvex-player-sim: %1\nTry --help.\n").arg(parsed.error));
        return ExitUsage;
    }
    const SimOptions &options = parsed.options;
    if (options.showHelp) {
        printTo(stdout, usageText());
        return 0;
    }
    if (options.showVersion) {
        printTo(stdout, QStringLiteral("quorvex-player-sim %1\n").arg(QUORVEX_VERSION));
        return 0;
    }

    // Watching for signals before the links open, so none is missed in between.
    TerminationWatcher termination;
    Simulator simulator(options);
    QString error;
    if (!simulator.start(&error)) {
        printTo(stderr, QStringLiteral("quorvex-player-sim: %1\n").arg(error));
        return ExitFailure;
    }

    QObject::connect(&termination, &TerminationWatcher::terminationRequested, &simulator,
                     [&simulator](const QString &signalName) {
                         simulator.stop(signalName);
                         QCoreApplication::exit(0);
                     });
    QObject::connect(&simulator, &Simulator::failed, &simulator, [&simulator](const QString &reason) {
        printTo(stderr, QStringLiteral("quorvex-player-sim: %1\n").arg(reason));
        simulator.stop(reason);
        QCoreApplication::exit(ExitFailure);
    });
    if (options.exitAfterMs > 0) {
        QTimer::singleShot(options.exitAfterMs, &simulator, [&simulator] {
            simulator.stop(QStringLiteral("--exit-after"));
            QCoreApplication::exit(0);
        });
    }
    return application.exec();
}
