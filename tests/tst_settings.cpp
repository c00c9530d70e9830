// The settings a window leaves in its file and what the next window takes
// back from a file, on real files in the test's own data folder.

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

#include "testsupport.h"

namespace {

// Lines 5 French, 7 model, 9 a typed port, 11 speed, 13-16 IP, 18 auto, 20 ID,
// 22 sent, 24 data; from an earlier version, so a save changes line 3.
const QStringList Valid = {
    "QVX11.00", "Quorvex (Configuration File)", "Generate by: Quorvex 1.0.0",
    "*** Default Language:", "French", "*** Default Device:", "Larch Player",
    "*** Default Serial Port:", "/dev/ttyQVX0",
    "*** Default Baudrate:", "38400",
    "*** Default IP Address:", "10", "0", "255", "7", "*** Default Auto-connection:", "0",
    "*** Default Player ID:", "100", "*** Default Command Bytes Sent Setting:", "3",
    "*** Default Data Received Setting:", "2"};

// model|speed|ID|IP|auto-connection|sent format|data format|checked language|typed port
const QString Fresh = "Pebble Player 2|19200|0|0.0.0.0|0|Hex|ASCII|Default|";
const QString Restored = "Larch Player|38400|100|10.0.255.7|0|Dec|Hex|French|/dev/ttyQVX0";

QByteArray fileWith(QMap<int, QString> changes, int lineCount = 24)
{
    QStringList lines = Valid;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        lines[it.key() - 1] = it.value();
    return (lines.mid(0, lineCount).join('\n') + '\n').toUtf8();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path()); // a first test to run has no folder yet
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString dataFolder()
{
    return QFileInfo(testConfigFilePath()).path();
}

/// The data folder's entries, each with what it is; "unchanged" holds `file`,
/// "saved" the panel's 24 lines, without a control character but line feeds.
QString diskState(const QByteArray &file)
{
    static const QRegularExpression saved("\\AQVX11\\.00\\n(\\P{Cc}*\\n){23}\\z");
    QStringList entries;
    for (const QFileInfo &entry : QDir(dataFolder()).entryInfoList(
             QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        // Never opened unless a regular file: opening a FIFO would wait.
        const QByteArray bytes = entry.isFile() && !entry.isSymLink() ? readFile(entry.filePath()) : QByteArray();
        entries << entry.fileName() + ' '
                       + (entry.isSymLink() ? "link to " + QFileInfo(entry.symLinkTarget()).fileName()
                          : entry.isDir()   ? "folder"
                          : !entry.isFile() ? "fifo"
                          : bytes == file   ? "unchanged"
                          : saved.match(QString::fromUtf8(bytes)).hasMatch() ? "saved" : "file");
    }
    // Without a test's filler of the numbered backup names.
    return entries.filter(QRegularExpression("^(?!.*\\.bak\\.\\d+ folder)")).join('|');
}

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepareTestProcess(); }
    void init() { resetProcessObjects(); }
    void cleanup() { delete window; window = nullptr; resetProcessObjects(); }

    void readerRules_data();
    void readerRules();
    void nothingChosenIsWrittenAsDefault();
    void failedSave_data();
    void failedSave();
    void signalEndsPanelLikeClosing();

private:
    template <typename T> T *widget(const QString &name) { return findWidget<T>(window, name); }
    QString state();
    /// A new window as the operator sees it: shown, so it has read the system's ports.
    void openWindow();
    /// Deletes the window; returns the lines its save appended to the data pane.
    QStringList closeWindow();

    MainWindow *window = nullptr;
};

QString SettingsTest::state()
{
    QStringList parts, ip;
    for (const char *box : {"comboBox_Player", "comboBox_Baudrate", "comboBox_ID"})
        parts << widget<QComboBox>(box)->currentText();
    for (int i = 1; i <= 4; ++i)
        ip << QString::number(widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i))->value());
    parts << ip.join('.') << (widget<QCheckBox>("checkBox_Auto_connection")->isChecked() ? "1" : "0");
    // Radio buttons and actions alike, each by the last word of its name.
    for (const QStringList &group : {QStringList{"radioButton_Sent_Hex", "radioButton_Sent_Dec"},
                                     {"radioButton_Data_ASCII", "radioButton_Data_Hex", "radioButton_Data_Dec"},
                                     {"action_Default", "action_English", "action_French"}}) {
        QStringList on;
        for (const QString &name : group) {
            if (window->findChild<QObject *>(name)->property("checked").toBool())
                on << name.section('_', -1);
        }
        parts << on.join(',');
    }
    // The system's own ports differ from one machine to the next.
    const auto *port = widget<QComboBox>("comboBox_Port");
    return parts.join('|') + '|' + (port->findText(port->currentText()) < 0 ? port->currentText() : "");
}

void SettingsTest::openWindow()
{
    window = new MainWindow;
    window->show();
    const auto *ports = widget<QComboBox>("comboBox_Port");
    QVERIFY(QTest::qWaitFor([&] { return items(ports) == systemPortNames(); }, 5000));
}

QStringList SettingsTest::closeWindow()
{
    QString pane;
    auto *data = widget<QTextEdit>("textEdit_Data");
    connect(data, &QTextEdit::textChanged, this, [&pane, data] { pane = data->toPlainText(); });
    delete window;
    window = nullptr;
    return pane.split('\n', Qt::SkipEmptyParts);
}

void SettingsTest::readerRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("status"); // how it starts
    QTest::addColumn<QString>("disk");   // what dataFolder() then holds
    QTest::addColumn<QString>("place");  // what the path is, if not `file`
    const QString kept = "Unusable settings file kept as Quorvex.cfg.bak"; // .bak.1 too
    const QString aside = "Quorvex.cfg saved|Quorvex.cfg.bak ", moved = aside + "unchanged";
    const auto row = [](const char *name, const QByteArray &file, const QString &expected,
                        const QString &status = QString(), const QString &disk = "Quorvex.cfg saved",
                        const QString &place = QString()) {
        QTest::newRow(name) << file << expected << status << disk << place;
    };
    const QString portless = Restored.section('|', 0, -2) + '|';

    // The header's rules and CR LF line ends are the reader's fuzz target's.
    row("no file", QByteArray(), Fresh);
    row("ID looked up after model", fileWith({}), Restored);
    row("other version", fileWith({{1, "QVX11.01"}}), Fresh, kept, moved);
    row("cut after line 12", fileWith({}, 12), "Larch Player|38400|0|0.0.0.0|0|Hex|ASCII|French|/dev/ttyQVX0");
    // Compared as written: in another case the model is not listed.
    row("model not listed", fileWith({{7, "larch player"}, {11, "9600"}, {20, "5"}}),
        "Pebble Player 2|9600|5|10.0.255.7|0|Dec|Hex|French|/dev/ttyQVX0");
    row("speed the model lacks", fileWith({{7, "KS10 - KS15"}}),
        "KS10 - KS15|19200|100|10.0.255.7|0|Dec|Hex|French|/dev/ttyQVX0");
    row("ID the model lacks", fileWith({{20, "128"}}),
        "Larch Player|38400|0|10.0.255.7|0|Dec|Hex|French|/dev/ttyQVX0");
    row("IP out of range or not numbers",
        fileWith({{13, "256"}, {14, "-1"}, {15, "12a"}, {16, "0x1F"}}),
        "Larch Player|38400|100|0.0.0.0|0|Dec|Hex|French|/dev/ttyQVX0");
    row("codes nobody uses", fileWith({{22, "1"}, {24, "(default)"}, {18, "yes"}}),
        "Larch Player|38400|100|10.0.255.7|0|Hex|ASCII|French|/dev/ttyQVX0");
    row("language in lower case", fileWith({{5, "english"}}),
        "Larch Player|38400|100|10.0.255.7|0|Dec|Hex|Default|/dev/ttyQVX0");
    row("auto-connection to this machine",
        fileWith({{5, "English"}, {7, "KS15 - TCP/IP"}, {13, "127"}, {15, "0"}, {16, "1"},
                  {18, "7"}, {24, "3"}}),
        "KS15 - TCP/IP||100|127.0.0.1|1|Dec|Dec|English|/dev/ttyQVX0", "Connecting to 127.0.0.1:65079...");
    // An unplugged adapter fails as itself: nothing else is opened, its name is kept.
    row("auto-connection to a missing port", fileWith({{5, "English"}, {9, "ttyQVX9"}, {18, "1"}}),
        "Larch Player|38400|100|10.0.255.7|1|Dec|Hex|English|ttyQVX9",
        "Cannot open serial port ttyQVX9: No such file or directory");
    // Opened as a path, a port is cut at a NUL and a long one fails.
    row("NUL in port", fileWith({{9, QString("ttyQVX9") + QChar(0) + "x"}}), portless);
    row("port longer than a path", fileWith({{9, QString(ConfigPortMaxLength + 1, 'p')}}), portless);
    // Hostile files: nothing that blocks, nothing read whole, nothing copied.
    row("FIFO", QByteArray(), Fresh, kept, "Quorvex.cfg saved|Quorvex.cfg.bak fifo", "fifo");
    row("larger than a settings file", fileWith({}) + QByteArray(ConfigFileMaxSize, '\n'), Fresh, kept, moved);
    // A link is written through only to a file read as settings; else it goes aside as itself.
    row("link to another file", "notes\n", Fresh, kept, aside + "link to notes|notes unchanged", "link /notes");
    row("link to settings", fileWith({}), Restored, {}, "Quorvex.cfg link to a.cfg|a.cfg saved", "link /a.cfg");
    row("dangling link", "", Fresh, "Settings link to a missing file", aside + "link to gone", "link /gone");
    row("backup name taken", "x", Fresh, kept, aside + "folder|Quorvex.cfg.bak.1 unchanged", "folder");
    // Left in place, its other names filled (diskState skips them): nothing written over it either.
    const QString untouched = "Quorvex.cfg unchanged|Quorvex.cfg.";
    row("no backup name free", "x", Fresh, "Unusable settings file left", untouched + "bak folder", "folders");
    // The test's lock stands for another panel's, whose file this window leaves alone.
    row("another panel's file", "x", Fresh, "Settings file in use", untouched + "lock file", "locked");
}

void SettingsTest::readerRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, status);
    QFETCH(QString, place);
    const QString path = testConfigFilePath();
    QVERIFY(QDir(dataFolder()).removeRecursively() && QDir().mkpath(dataFolder()));
    QLockFile other(path + ".lock");
    QVERIFY(place != "locked" || other.tryLock(0));
    if (place == "fifo")
        QCOMPARE(mkfifo(qPrintable(path), 0600), 0);
    else if (place.startsWith("link "))
        QVERIFY(QFile::link(dataFolder() + place.mid(5), path));
    if (!file.isEmpty()) // through the link, if any
        writeFile(path, file);
    for (int n = 0; place.startsWith("folder") && n <= (place == "folders" ? ConfigBackupLast : 0); ++n)
        QVERIFY(QDir().mkdir(path + ".bak" + (n ? '.' + QString::number(n) : "")));
    window = new MainWindow;
    QTEST(state(), "expected");
    // A restored auto-connection starts while the window is built, before it is shown.
    QVERIFY2(statusText(window).startsWith(status), qPrintable(statusText(window)));
    QCOMPARE(statusText(window).isEmpty(), status.isEmpty());
    QFETCH(QString, disk); // a file left untouched is one this session does not save over
    QCOMPARE(window->findChild<QLabel *>("label_Settings_Not_Saved")->isVisibleTo(window),
             disk.startsWith("Quorvex.cfg unchanged"));
    const QString shown = state();
    closeWindow();
    QTEST(diskState(file), "disk");

    // What the window saved brings it all back, a typed or missing port too.
    ModelCatalogue.clear(); // as a new process would start
    openWindow();
    QCOMPARE(state(), shown);
}

void SettingsTest::nothingChosenIsWrittenAsDefault()
{
    openWindow();
    for (const char *name : {"action_Default", "action_English", "action_French"})
        widget<QAction>(name)->setChecked(false);
    for (const char *name : {"comboBox_Player", "comboBox_Baudrate", "comboBox_ID"})
        widget<QComboBox>(name)->setCurrentIndex(-1);
    widget<QComboBox>("comboBox_Port")->clear();
    for (const char *name : {"buttonGroup_Sent", "buttonGroup_Data"}) {
        auto *group = window->findChild<QButtonGroup *>(name);
        group->setExclusive(false);
        group->checkedButton()->setChecked(false);
    }
    // Without a path either: the file goes beside the executable.
    Config_File_Path.clear();
    const QString path = QCoreApplication::applicationDirPath() + "/Quorvex.cfg";
    QFile::remove(path);
    QCOMPARE(closeWindow(), (QStringList{path + "(before save)", path + "(after save)"}));
    const QStringList lines = QString(readFile(path)).split('\n');
    QFile::remove(path);

    QCOMPARE(lines.size(), 25); // 24 lines, each ended
    for (int line : {5, 7, 9, 11, 20, 22, 24})
        QCOMPARE(lines[line - 1], QStringLiteral("(default)"));
}

void SettingsTest::failedSave_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("said");
    // A full disk fails the write after the file was opened; a missing folder, the open.
    QTest::newRow("disk full") << "" << QStringList{"(before save)", "(after save)", "(save failed)"};
    QTest::newRow("no such folder") << "missing/" << QStringList{"(before save)"};
}

void SettingsTest::failedSave()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, said);
    QTemporaryDir dir;
    const QString path = dir.filePath(folder + "Quorvex.cfg");
    const QByteArray previous = fileWith({}) + "from an earlier run\n";
    if (folder.isEmpty())
        writeFile(path, previous);

    window = new MainWindow;
    Config_File_Path = path;
    // Any write past 64 bytes now fails the way a full disk does.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tight{64, saved.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const QStringList lines = closeWindow();
    setrlimit(RLIMIT_FSIZE, &saved);

    for (QString &line : said)
        line.prepend(path);
    QCOMPARE(lines, said);
    QCOMPARE(readFile(path), folder.isEmpty() ? previous : QByteArray());
    // No temporary file left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(),
             folder.isEmpty() ? 1 : 0);
}

/// Whether process `pid` has a handler for `signal` (its mask in /proc).
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    const QString text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const QString mask = QRegularExpression("SigCgt:\\s*(\\w+)").match(text).captured(1);
    return (mask.toULongLong(nullptr, 16) >> (signal - 1)) & 1;
}

void SettingsTest::signalEndsPanelLikeClosing()
{
    // One signal stands for the three: the simulator's tests tell them apart.
    QProcess panel;
    panel.start(QStringLiteral(QUORVEX_PATH), QStringList());
    QVERIFY(panel.waitForStarted(10000));
    QVERIFY(QTest::qWaitFor([&] { return catches(panel.processId(), SIGTERM); }, 10000));
    QCOMPARE(::kill(pid_t(panel.processId()), SIGTERM), 0);
    QVERIFY(panel.waitForFinished(10000));
    QCOMPARE(panel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(panel.exitCode(), 0);
    QCOMPARE(readFile(testConfigFilePath()).count('\n'), 24);
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
