// Language switching with the translation files the build makes, and where
// a chosen translation is looked for.

#include <QtTest>

#include <QAction>
#include <QLibraryInfo>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTcpServer>
#include <QTextEdit>

#include "app/mainwindow.h"
#include "i18n/translation_folders.h"
#include "panelcase.h"

namespace {

const QString French_Qm = QStringLiteral(QUORVEX_FR_QM);
const QString Marker_Qm = QStringLiteral(QUORVEX_MARKER_QM);
const QString Fr_File = QStringLiteral("LanguageData_fr.qm");

/// Puts a copy of the .qm into the folder as the French translation.
void place(const QString &source, const QString &folder)
{
    QVERIFY(QDir().mkpath(folder));
    QFile::remove(folder + '/' + Fr_File);
    QVERIFY2(QFile::copy(source, folder + '/' + Fr_File), qPrintable(source));
}

bool systemIsFrench()
{
    return QLocale::system().language() == QLocale::French;
}

} // namespace

class LanguageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { reset_Process_Objects(); }
    void cleanup();

    void menuSwitchesTextsAtOnce();
    void switchKeepsWhatIsShown_data();
    void switchKeepsWhatIsShown();
    void qtSpeaksTheLanguageToo();
    void lookupFolders_data();
    void lookupFolders();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    QString connectText() { return widget<QPushButton>("pushButton_Connect")->text(); }
    /// The tooltips of the icon-only buttons and of the folder and volume controls.
    QStringList toolTips();
    /// Triggers the language's action; false unless it alone is checked then.
    bool choose(const QString &action);
    /// Where a translation is looked for, in the order it is looked for.
    QStringList folders() const
    {
        return {m_workDir.path(), QCoreApplication::applicationDirPath(),
                installedTranslationsFolder()};
    }

    QTemporaryDir m_workDir;
    MainWindow *window = nullptr;
};

bool LanguageTest::choose(const QString &action)
{
    widget<QAction>(action)->trigger();
    for (const char *name : {"action_Default", "action_English", "action_French"}) {
        if (widget<QAction>(name)->isChecked() != (name == action))
            return false;
    }
    return true;
}

QStringList LanguageTest::toolTips()
{
    QList<QWidget *> controls = {widget<QWidget>("comboBox_Folder"),
                                 widget<QWidget>("horizontalSlider_Volume")};
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text().isEmpty())
            controls << button;
    }
    QStringList tips;
    for (const QWidget *control : controls)
        tips << control->toolTip();
    return tips;
}

void LanguageTest::initTestCase()
{
    prepare_Test_Process();
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QVERIFY2(QFile::exists(French_Qm), "the build makes the French translation");
}

void LanguageTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
    // This executable has its folder to itself; the other tests never look here.
    for (const QString &folder : folders())
        QFile::remove(folder + '/' + Fr_File);
}

void LanguageTest::menuSwitchesTextsAtOnce()
{
    // Also run on a French system, where the default entry means French.
    const QByteArray expectedSystem = qgetenv("QUORVEX_TEST_SYSTEM_LANGUAGE");
    if (!expectedSystem.isEmpty())
        QCOMPARE(QLocale::system().name().section('_', 0, 0).toUtf8(), expectedSystem);
    place(French_Qm, m_workDir.path());
    window = new MainWindow;
    QCOMPARE(connectText(), systemIsFrench() ? "Connecter" : "Connect");

    // French chosen twice stays checked; English needs no file of its own.
    // Every icon-only control says what it does, each in its own words.
    QStringList frenchTips, englishTips;
    const QList<QPair<QString, bool>> steps = {{"action_French", true},
                                               {"action_French", true},
                                               {"action_English", false},
                                               {"action_Default", systemIsFrench()}};
    for (const auto &step : steps) {
        QVERIFY2(choose(step.first), qPrintable(step.first));
        QCOMPARE(connectText(), step.second ? "Connecter" : "Connect");
        QCOMPARE(widget<QMenu>("menu_File")->title(), step.second ? "&Fichier" : "&File");
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvex 1.1.0"));
        QStringList tips = toolTips();
        QCOMPARE(tips.size(), 14);
        QVERIFY(!tips.contains(QString()));
        QCOMPARE(tips.removeDuplicates(), 0);
        (step.second ? frenchTips : englishTips) = tips;
    }
    for (int i = 0; i < frenchTips.size(); ++i)
        QVERIFY2(frenchTips[i] != englishTips[i], qPrintable(englishTips[i]));

    // The default entry is saved as such, not as the language it meant.
    delete window;
    window = nullptr;
    QFile file(test_Config_File_Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().split('\n').value(4), QByteArray("(default)"));
}

void LanguageTest::switchKeepsWhatIsShown_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("volume");
    QTest::newRow("start-up") << false << false << QStringList{"0", "0", "0"} << "...";
    QTest::newRow("hexadecimal") << true << false << QStringList{"85", "02", "01"} << "20";
    QTest::newRow("decimal") << true << true << QStringList{"133", "2", "1"} << "20";
}

void LanguageTest::switchKeepsWhatIsShown()
{
    QFETCH(bool, linked);
    QFETCH(bool, decimal);
    place(French_Qm, m_workDir.path());
    window = new MainWindow;
    LoopbackPlayer player;
    if (linked) {
        QVERIFY(connect_To_Player(window, player));
        if (decimal)
            widget<QRadioButton>("radioButton_Sent_Dec")->click();
        perform_Control(window, "Volume", "20", "5");
        perform_Control(window, "Play", "", "5");
        QVERIFY(player.waitForBytes(6));
    }
    // The port label is composed only for the TCP model; before that it is the form's.
    const auto portLabel = [&](const QString &caption) {
        return linked ? "( " + caption + QString::number(player.port()) + " )"
                      : QStringLiteral("( Port Number: ...)");
    };
    for (const char *action : {"action_English", "action_French", "action_English"}) {
        QVERIFY(choose(action));
        const bool french = action == QLatin1String("action_French");
        QTEST(sent_Labels(window), "sent");
        QTEST(widget<QLabel>("label_Volume_2")->text(), "volume");
        QCOMPARE(widget<QLabel>("label_IP_Port")->text(),
                 portLabel(french ? QStringLiteral("Numéro de port\u00a0: ") : "Port Number: "));
        // The status message on view is said again in the new language.
        const QString status = french ? QStringLiteral("Connecté à 127.0.0.1:%1") : "Connected to 127.0.0.1:%1";
        QCOMPARE(status_Text(window), linked ? status.arg(player.port()) : QString());
    }
}

void LanguageTest::qtSpeaksTheLanguageToo()
{
    const QString qtFrench =
        QLibraryInfo::location(QLibraryInfo::TranslationsPath) + "/qtbase_fr.qm";
    if (!QFile::exists(qtFrench))
        QSKIP(qPrintable(qtFrench + " is missing: tools/install-deps.sh installs it"));
    place(French_Qm, m_workDir.path());
    window = new MainWindow;
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close();

    for (const char *action : {"action_French", "action_English"}) {
        QVERIFY(choose(action));
        const bool french = action == QLatin1String("action_French");
        // The received-data pane's standard menu, and a refusal's reason.
        std::unique_ptr<QMenu> menu(widget<QTextEdit>("textEdit_Data")->createStandardContextMenu());
        const QAction *copy = menu->findChild<QAction *>("edit-copy");
        QVERIFY(copy);
        QCOMPARE(copy->text().section('\t', 0, 0) == "&Copy", !french);
        start_TCP_Connect(window, port);
        QTRY_VERIFY(panel_Shows_Link(window, false));
        QVERIFY2(status_Text(window).endsWith(french ? "Connexion refusée" : "Connection refused"),
                 qPrintable(status_Text(window)));
    }
}

void LanguageTest::lookupFolders_data()
{
    // The .qm placed in the working directory, beside the executable, in the
    // installed folder; the marker translation tells which one was taken.
    QTest::addColumn<QStringList>("placed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("working directory") << QStringList{French_Qm, "", ""} << "Connecter";
    QTest::newRow("beside the executable") << QStringList{"", French_Qm, ""} << "Connecter";
    QTest::newRow("installed folder") << QStringList{"", "", French_Qm} << "Connecter";
    QTest::newRow("nowhere: source texts") << QStringList{"", "", ""} << "Connect";
    QTest::newRow("working directory first")
        << QStringList{Marker_Qm, French_Qm, French_Qm} << "Marker";
    QTest::newRow("executable's folder second")
        << QStringList{"", Marker_Qm, French_Qm} << "Marker";
}

void LanguageTest::lookupFolders()
{
    QFETCH(QStringList, placed);
    for (int i = 0; i < 3; ++i) {
        if (!placed[i].isEmpty())
            place(placed[i], folders()[i]);
    }

    window = new MainWindow;
    QVERIFY(choose("action_French"));
    QTEST(connectText(), "expected");
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
