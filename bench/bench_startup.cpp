// Start-up: from process start to the main window shown, and the resident
// memory one second later, with and without a configuration file, on the
// offscreen platform and, when DISPLAY names an X server, under it; each run
// paired with one of a bare Qt window (bench_floor_window), the floor.
// Without arguments it is the launcher; it starts itself with --child, and the
// child does what the panel's main() does and reports when the window showed.
// Usage: bench_startup [runs]

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/globals.h"
#include "app/identity.h"
#include "app/mainwindow.h"
#include "app/opengl_setting.h"
#include "benchsupport.h"
#include "settings/config_file.h"

namespace {
using namespace bench;

constexpr int ChildTimeoutMs = 20000;
constexpr double ShownTargetMs = 200;
constexpr double ShownRatioTarget = 1.3;
constexpr double RssAboveFloorTargetKb = 8 * 1024;
const QString ConfiguredModel = QStringLiteral("KS15 - TCP/IP");

int runChild(int argc, char *argv[])
{
    // As main() does.
    setApplicationIdentity();
    const bool openGlTurnedOff = turnOpenGlOff();
    QApplication application(argc, argv);
    forgetOpenGlSetting(openGlTurnedOff);
    MainWindow window;
    // The model says whether the configuration file was read.
    ShownWatcher watcher(&window, [&window] {
        const auto *model = window.findChild<QComboBox *>(QStringLiteral("comboBox_Player"));
        return "MODEL " + (model ? model->currentText().toUtf8() : QByteArray()) + '\n';
    });
    window.show();
    QTimer::singleShot(ChildTimeoutMs / 2, &application, &QApplication::quit);
    return application.exec();
}

/// A valid 24-line file as the panel would have saved it after some use.
bool writeConfig(const QString &dataHome)
{
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
    const QDir dir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    if (!QDir().mkpath(dir.absolutePath()))
        return false;
    ConfigSettings settings;
    settings.language = QStringLiteral("English");
    settings.model = ConfiguredModel;
    settings.baudRate = QStringLiteral("19200");
    settings.ip = {192, 168, 1, 40};
    settings.sentFormat = FormatHex;
    settings.dataFormat = FormatAscii;
    QSaveFile file(dir.absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix));
    return file.open(QIODevice::WriteOnly | QIODevice::Text) && writeConfigLines(&file, settings)
           && file.commit();
}

struct Run
{
    double shownMs = -1;
    qint64 rssKb = -1;
};

/// Starts the panel's child (or, with `floor`, the bare window) and reads what it reports.
Run runOnce(const QString &platform, bool withConfig, bool floor)
{
    QTemporaryDir home;
    if (!home.isValid() || (withConfig && !writeConfig(home.path())))
        return {};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
    // The floor gets the GL setting the panel's main() gives itself.
    if (!environment.contains(QStringLiteral("QT_XCB_GL_INTEGRATION")))
        environment.insert(QStringLiteral("QT_XCB_GL_INTEGRATION"), QStringLiteral("none"));
    QProcess child;
    child.setProcessEnvironment(environment);
    // Where `make run` starts the panel, so it finds its translations the same way.
    child.setWorkingDirectory(QStringLiteral(QUORVEX_BUILD_DIR));
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const qint64 started = nowNs();
    if (floor)
        child.start(QStringLiteral(QUORVEX_FLOOR_WINDOW), QStringList());
    else
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child")});
    if (!child.waitForFinished(ChildTimeoutMs)) {
        child.kill();
        child.waitForFinished(5000);
        return {};
    }
    const QList<QByteArray> lines = child.readAllStandardOutput().trimmed().split('\n');
    const QList<QByteArray> fields = lines.value(0).split(' ');
    if (fields.size() != 3 || fields.at(0) != "SHOWN")
        return {};
    // Without the file the panel starts on the first model, with it on the file's.
    if (!floor && (lines.value(1) == "MODEL " + ConfiguredModel.toUtf8()) != withConfig) {
        std::fprintf(stderr, "bench_startup: the child started on %s\n", lines.value(1).constData());
        return {};
    }
    return {(fields.at(1).toLongLong() - started) / 1e6, fields.at(2).toLongLong()};
}

QString formatRatio(double ratio)
{
    return QString::number(ratio, 'f', 2) + QStringLiteral("x");
}

/// Paired rounds: the panel, then the bare window, so both see the same load.
void measure(const QString &platform, const QString &label, bool withConfig, int runs)
{
    const QString condition =
        label + (withConfig ? QStringLiteral(", config file") : QStringLiteral(", no config file"));
    // Fills the file system and font caches.
    runOnce(platform, withConfig, false);
    runOnce(platform, withConfig, true);
    QVector<double> shown, floorShown, ratios, rss, floorRss, aboveFloor;
    for (int i = 0; i < runs; ++i) {
        const Run run = runOnce(platform, withConfig, false);
        const Run bare = runOnce(platform, withConfig, true);
        if (run.shownMs < 0 || bare.shownMs <= 0)
            break;
        shown.append(run.shownMs);
        floorShown.append(bare.shownMs);
        ratios.append(run.shownMs / bare.shownMs);
        rss.append(double(run.rssKb));
        floorRss.append(double(bare.rssKb));
        aboveFloor.append(double(run.rssKb - bare.rssKb));
    }
    const bool targeted = platform == QLatin1String("xcb");
    const auto target = [targeted](const QString &text) {
        return targeted ? text : QStringLiteral("-");
    };
    if (shown.size() < runs) {
        printRow({QStringLiteral("start-up to window shown"), condition, QStringLiteral("error"),
                   QStringLiteral("-"), QString::number(shown.size()), QStringLiteral("-"),
                   QStringLiteral("error")});
        return;
    }
    const Summary s = summarize(shown);
    printRow({QStringLiteral("start-up to window shown"), condition, formatMs(s.median),
               QStringLiteral("p90 ") + formatMs(s.p90), QString::number(s.count),
               target(QStringLiteral("<= 200 ms median")),
               targeted ? verdict(s.median, ShownTargetMs) : QStringLiteral("report")});
    const Summary f = summarize(floorShown);
    printRow({QStringLiteral("start-up, bare Qt window"), condition, formatMs(f.median),
               QStringLiteral("p90 ") + formatMs(f.p90), QString::number(f.count),
               QStringLiteral("-"), QStringLiteral("report")});
    const Summary r = summarize(ratios);
    printRow({QStringLiteral("start-up, panel / bare window"), condition, formatRatio(r.median),
               QStringLiteral("p90 ") + formatRatio(r.p90), QString::number(r.count),
               target(QStringLiteral("<= 1.3x median")),
               targeted ? verdict(r.median, ShownRatioTarget) : QStringLiteral("report")});
    const Summary m = summarize(rss);
    printRow({QStringLiteral("RSS 1 s after shown"), condition, formatMib(qint64(m.median)),
               QStringLiteral("max ") + formatMib(qint64(m.max)), QString::number(m.count),
               QStringLiteral("-"), QStringLiteral("report")});
    const Summary fm = summarize(floorRss);
    printRow({QStringLiteral("RSS 1 s after shown, bare Qt window"), condition,
               formatMib(qint64(fm.median)), QStringLiteral("max ") + formatMib(qint64(fm.max)),
               QString::number(fm.count), QStringLiteral("-"), QStringLiteral("report")});
    const Summary a = summarize(aboveFloor);
    const auto mib = [](double kib) { return QString::number(kib / 1024, 'f', 1) + QStringLiteral(" MiB"); };
    printRow({QStringLiteral("RSS, panel above bare window"), condition, mib(a.median),
               QStringLiteral("max ") + mib(a.max), QString::number(a.count),
               target(QStringLiteral("<= 8 MiB median")),
               targeted ? verdict(a.median, RssAboveFloorTargetKb) : QStringLiteral("report")});
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && QByteArray(argv[1]) == "--child")
        return runChild(argc, argv);
    const int runs = argc == 2 ? QByteArray(argv[1]).toInt() : 7;
    if (argc > 2 || runs <= 0) {
        std::fprintf(stderr, "usage: bench_startup [runs]\n");
        return 2;
    }
    setApplicationIdentity();
    QCoreApplication application(argc, argv);
    for (bool withConfig : {false, true})
        measure(QStringLiteral("offscreen"), QStringLiteral("offscreen"), withConfig, runs);
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "bench_startup: no DISPLAY, so no start-up under X\n");
        return 0;
    }
    for (bool withConfig : {false, true})
        measure(QStringLiteral("xcb"), QStringLiteral("Xvfb"), withConfig, runs);
    return 0;
}
