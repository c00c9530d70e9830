// The settings a window leaves in its file and what the next window takes
// back from a file, on real files in the test's own data folder.

#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>

#include <csignal>
#include <sys/resource.h>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "testsupport.h"

namespace {

QStringList validLines()
{
    return {"QVX11.00", "Quorvex (Configuration File)", "Generate by: Quorvex 1.1.0",
            "*** Default Language:", "French", "*** Default Device:", "Larch Player",
            "*** Default Serial Port:", "(default)", "*** Default Baudrate:", "38400",
            "*** Default IP Address:", "10", "0", "255", "7", "*** Default Auto-connection:",
            "0", "*** Default Player ID:", "100", "*** Default Command Bytes Sent Setting:",
            "3", "*** Default Data Received Setting:", "2"};
}

QStringList withLines(QMap<int, QString> changes)
{
    QStringList lines = validLines();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        lines[it.key() - 1] = it.value();
    return lines;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString Fresh = "Pebble Player 2|19200|0|0.0.0.0|0|hex|ascii|default";

} // namespace

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void settingsSurviveRestart_data();
    void settingsSurviveRestart();
    void readerRules_data();
    void readerRules();
    void nothingChosenIsWrittenAsDefault();
    void failedSaveKeepsPreviousFile_data();
    void failedSaveKeepsPreviousFile();
    void emptyPathFallsBackToExecutableFolder();

private:
    template <typename T> T *widget(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    /// Model, speed, ID, IP, auto-connection, sent and data formats, language.
    QString state() const;
    /// Deletes the window, keeping what its save wrote into the data pane.
    QStringList closeWindow();

    MainWindow *window = nullptr;
};

QString SettingsTest::state() const
{
    const auto checked = [this](const QString &name) {
        return widget<QRadioButton>(name)->isChecked();
    };
    QStringList languages;
    for (const char *name : {"action_Default", "action_English", "action_French"}) {
        if (widget<QAction>(name)->isChecked())
            languages << (QLatin1String(name) == "action_Default" ? "default" : QString(name).mid(7));
    }
    return QStringList{
        widget<QComboBox>("comboBox_Player")->currentText(),
        widget<QComboBox>("comboBox_Baudrate")->currentText(),
        widget<QComboBox>("comboBox_ID")->currentText(),
        QStringLiteral("%1.%2.%3.%4")
            .arg(widget<QSpinBox>("spinBox_IP_1")->value())
            .arg(widget<QSpinBox>("spinBox_IP_2")->value())
            .arg(widget<QSpinBox>("spinBox_IP_3")->value())
            .arg(widget<QSpinBox>("spinBox_IP_4")->value()),
        widget<QCheckBox>("checkBox_Auto_connection")->isChecked() ? "1" : "0",
        checked("radioButton_Sent_Hex") ? "hex" : checked("radioButton_Sent_Dec") ? "dec" : "-",
        checked("radioButton_Data_ASCII") ? "ascii"
        : checked("radioButton_Data_Hex") ? "hex"
        : checked("radioButton_Data_Dec") ? "dec"
                                          : "-",
        languages.join(','),
    }.join('|');
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

void SettingsTest::initTestCase()
{
    prepare_Test_Process();
}

void SettingsTest::init()
{
    reset_Process_Objects();
}

void SettingsTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

void SettingsTest::settingsSurviveRestart_data()
{
    QTest::addColumn<int>("model");
    QTest::addColumn<QString>("speed");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("expected");

    QTest::newRow("serial, French") << 2 << "38400" << "action_French"
                                    << "Larch Player|38400|100|10.20.30.40|0|dec|hex|French";
    // Auto-connection only on a TCP model to this machine: a test opens no serial device.
    QTest::newRow("TCP, English") << 4 << "" << "action_English"
                                  << "KS15 - TCP/IP||100|127.0.0.1|1|dec|hex|English";
}

void SettingsTest::settingsSurviveRestart()
{
    QFETCH(int, model);
    QFETCH(QString, speed);
    QFETCH(QString, language);
    QFETCH(QString, expected);

    window = new MainWindow;
    auto *player = widget<QComboBox>("comboBox_Player");
    player->setCurrentIndex(model);
    emit player->activated(model);
    auto *speeds = widget<QComboBox>("comboBox_Baudrate");
    speeds->setCurrentIndex(speeds->findText(speed));
    widget<QComboBox>("comboBox_ID")->setCurrentIndex(100);
    const bool tcp = speed.isEmpty();
    const QList<int> ip = tcp ? QList<int>{127, 0, 0, 1} : QList<int>{10, 20, 30, 40};
    for (int i = 0; i < 4; ++i)
        widget<QSpinBox>(QStringLiteral("spinBox_IP_%1").arg(i + 1))->setValue(ip[i]);
    widget<QCheckBox>("checkBox_Auto_connection")->setChecked(tcp);
    widget<QRadioButton>("radioButton_Sent_Dec")->setChecked(true);
    widget<QRadioButton>("radioButton_Data_Hex")->setChecked(true);
    widget<QAction>(language)->trigger();
    // Whatever ports this machine lists, the last one must come back.
    auto *ports = widget<QComboBox>("comboBox_Port");
    ports->setCurrentIndex(ports->count() - 1);
    const QString port = ports->currentText();

    closeWindow();
    const QByteArray saved = readFile(test_Config_File_Path());
    QCOMPARE(saved.count('\n'), 24);

    reset_Process_Objects(); // as a new process would start, but with this file
    writeFile(test_Config_File_Path(), saved);
    window = new MainWindow;
    QCOMPARE(state(), expected);
    QCOMPARE(widget<QComboBox>("comboBox_Port")->currentText(), port);
}

void SettingsTest::readerRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("expected");

    const auto bytes = [](const QStringList &lines) { return (lines.join('\n') + '\n').toUtf8(); };

    QTest::newRow("no file") << QByteArray() << Fresh;
    QTest::newRow("accepted, ID after model")
        << bytes(validLines()) << "Larch Player|38400|100|10.0.255.7|0|dec|hex|French";
    QTest::newRow("other version") << bytes(withLines({{1, "QVX11.01"}})) << Fresh;
    QTest::newRow("lower-case magic") << bytes(withLines({{1, "qvx1 1.00"}})) << Fresh;
    QTest::newRow("model no longer listed")
        << bytes(withLines({{7, "Larch Player 2"}, {20, "5"}, {11, "9600"}}))
        << "Pebble Player 2|9600|5|10.0.255.7|0|dec|hex|French";
    QTest::newRow("speed the model lacks")
        << bytes(withLines({{7, "KS10 - KS15"}, {11, "38400"}}))
        << "KS10 - KS15|19200|100|10.0.255.7|0|dec|hex|French";
    QTest::newRow("ID the model lacks") << bytes(withLines({{20, "128"}}))
                                        << "Larch Player|38400|0|10.0.255.7|0|dec|hex|French";
    QTest::newRow("model in other case") << bytes(withLines({{7, "larch player"}}))
                                         << "Pebble Player 2|38400|100|10.0.255.7|0|dec|hex|French";
    QTest::newRow("cut after line 12") << bytes(validLines().mid(0, 12))
                                       << "Larch Player|38400|0|0.0.0.0|0|hex|ascii|French";
    QTest::newRow("language in lower case") << bytes(withLines({{5, "english"}}))
                                            << "Larch Player|38400|100|10.0.255.7|0|dec|hex|default";
    QTest::newRow("auto-connection to this machine")
        << bytes(withLines({{5, "English"}, {7, "KS15 - TCP/IP"}, {13, "127"}, {15, "0"},
                            {16, "1"}, {18, "1"}, {22, "1"}, {24, "(default)"}}))
        << "KS15 - TCP/IP||100|127.0.0.1|1|hex|ascii|English";
}

void SettingsTest::readerRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, expected);
    if (!file.isEmpty())
        writeFile(test_Config_File_Path(), file);
    window = new MainWindow;
    QCOMPARE(state(), expected);
}

void SettingsTest::nothingChosenIsWrittenAsDefault()
{
    window = new MainWindow;
    for (const char *name : {"action_Default", "action_English", "action_French"})
        widget<QAction>(name)->setChecked(false);
    for (const char *name : {"comboBox_Player", "comboBox_Baudrate", "comboBox_ID"})
        widget<QComboBox>(name)->setCurrentIndex(-1);
    widget<QComboBox>("comboBox_Port")->clear();
    for (const char *name : {"radioButton_Sent_Hex", "radioButton_Data_ASCII"}) {
        widget<QRadioButton>(name)->setAutoExclusive(false);
        widget<QRadioButton>(name)->setChecked(false);
    }
    closeWindow();

    const QStringList lines = QString(readFile(test_Config_File_Path())).split('\n');
    QCOMPARE(lines.size(), 25); // 24 lines, each ended
    for (int line : {5, 7, 9, 11, 20, 22, 24})
        QCOMPARE(lines[line - 1], QStringLiteral("(default)"));
}

void SettingsTest::failedSaveKeepsPreviousFile_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("pane");
    QTest::newRow("disk full while writing")
        << "size limit" << QStringList{"(before save)", "(after save)", "(save failed)"};
    QTest::newRow("folder is a regular file") << "file as folder" << QStringList{"(before save)"};
    QTest::newRow("file is a folder") << "folder as file" << QStringList{"(before save)"};
}

void SettingsTest::failedSaveKeepsPreviousFile()
{
    QFETCH(QString, failure);
    QFETCH(QStringList, pane);

    QTemporaryDir dir;
    const QByteArray previous = (validLines().join('\n') + "\nfrom an earlier run\n").toUtf8();
    const QString path = failure == "file as folder" ? dir.filePath("blocker/Quorvex.cfg")
                                                     : dir.filePath("Quorvex.cfg");
    if (failure == "size limit")
        writeFile(path, previous);
    else if (failure == "file as folder")
        writeFile(dir.filePath("blocker"), previous);
    else
        QVERIFY(QDir(dir.path()).mkdir("Quorvex.cfg"));

    window = new MainWindow;
    Config_File_Path = path;
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    if (failure == "size limit") {
        // Any write past 64 bytes now fails the way a full disk does.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit tight = saved;
        tight.rlim_cur = 64;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
    }
    const QStringList lines = closeWindow();
    setrlimit(RLIMIT_FSIZE, &saved);

    QStringList expected;
    for (const QString &suffix : pane)
        expected << path + suffix;
    QCOMPARE(lines, expected);
    if (failure == "size limit")
        QCOMPARE(readFile(path), previous);
    else if (failure == "file as folder")
        QCOMPARE(readFile(dir.filePath("blocker")), previous);
    else
        QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size(), 1);
}

void SettingsTest::emptyPathFallsBackToExecutableFolder()
{
    const QString besideExecutable = QCoreApplication::applicationDirPath() + "/Quorvex.cfg";
    QFile::remove(besideExecutable);
    window = new MainWindow;
    Config_File_Path.clear();
    const QStringList lines = closeWindow();
    const QByteArray written = readFile(besideExecutable);
    QFile::remove(besideExecutable);

    QCOMPARE(lines, (QStringList{besideExecutable + "(before save)",
                                 besideExecutable + "(after save)"}));
    QCOMPARE(written.count('\n'), 24);
    QVERIFY(written.startsWith("QVX11.00\n"));
}

QTEST_MAIN(SettingsTest)
#include "tst_settings.moc"
