// Language switching with the translation files the build makes, and where
// a chosen translation is looked for.

#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QPushButton>

#include "app/mainwindow.h"
#include "i18n/translation_folders.h"
#include "testsupport.h"

namespace {

const QString French_Qm = QStringLiteral(QUORVEX_FR_QM);
const QString Marker_Qm = QStringLiteral(QUORVEX_MARKER_QM);
const QString Fr_File = QStringLiteral("LanguageData_fr.qm");

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
    void init();
    void cleanup();

    void menuSwitchesTextsAtOnce();
    void lookupFolders_data();
    void lookupFolders();
    void defaultFollowsSystemLocale();

private:
    template <typename T> T *widget(const QString &name) const
    {
        T *w = window->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    QString connectText() const { return widget<QPushButton>("pushButton_Connect")->text(); }
    QStringList checkedLanguages() const;
    /// Puts a copy of the .qm into the folder as the French translation.
    static void place(const QString &source, const QString &folder);

    QString m_startDir;
    QScopedPointer<QTemporaryDir> m_workDir;
    MainWindow *window = nullptr;
};

QStringList LanguageTest::checkedLanguages() const
{
    QStringList names;
    for (const char *name : {"action_Default", "action_English", "action_French"}) {
        if (widget<QAction>(name)->isChecked())
            names << name;
    }
    return names;
}

void LanguageTest::place(const QString &source, const QString &folder)
{
    QVERIFY(QDir().mkpath(folder));
    QFile::remove(folder + '/' + Fr_File);
    QVERIFY2(QFile::copy(source, folder + '/' + Fr_File), qPrintable(source));
}

void LanguageTest::initTestCase()
{
    prepare_Test_Process();
    m_startDir = QDir::currentPath();
    QVERIFY2(QFile::exists(French_Qm), "the build makes the French translation");
}

void LanguageTest::init()
{
    reset_Process_Objects();
    m_workDir.reset(new QTemporaryDir);
    QVERIFY(QDir::setCurrent(m_workDir->path()));
}

void LanguageTest::cleanup()
{
    delete window;
    window = nullptr;
    reset_Process_Objects();
    QDir::setCurrent(m_startDir);
    m_workDir.reset();
    // This executable has its folder to itself; the other tests never look here.
    QFile::remove(QCoreApplication::applicationDirPath() + '/' + Fr_File);
    QFile::remove(installed_Translations_Folder() + '/' + Fr_File);
}

void LanguageTest::menuSwitchesTextsAtOnce()
{
    place(French_Qm, m_workDir->path());
    window = new MainWindow;
    QCOMPARE(connectText(), systemIsFrench() ? "Connecter" : "Connect");

    struct Step
    {
        const char *action;
        const char *connect;
        const char *fileMenu;
    };
    const Step steps[] = {
        {"action_French", "Connecter", "&Fichier"},
        {"action_French", "Connecter", "&Fichier"}, // chosen again: stays checked
        {"action_English", "Connect", "&File"},     // no English file is needed
        {"action_Default", systemIsFrench() ? "Connecter" : "Connect",
         systemIsFrench() ? "&Fichier" : "&File"},
    };
    for (const Step &step : steps) {
        widget<QAction>(step.action)->trigger();
        QCOMPARE(checkedLanguages(), QStringList{step.action});
        QCOMPARE(connectText(), QString::fromUtf8(step.connect));
        QCOMPARE(widget<QMenu>("menu_File")->title(), QString::fromUtf8(step.fileMenu));
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvex 1.1.0"));
    }
}

void LanguageTest::lookupFolders_data()
{
    QTest::addColumn<QString>("workDir");
    QTest::addColumn<QString>("besideExecutable");
    QTest::addColumn<QString>("installed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("working directory") << French_Qm << "" << "" << "Connecter";
    QTest::newRow("beside the executable") << "" << French_Qm << "" << "Connecter";
    QTest::newRow("installed folder") << "" << "" << French_Qm << "Connecter";
    QTest::newRow("nowhere: source texts") << "" << "" << "" << "Connect";
    QTest::newRow("working directory first") << Marker_Qm << French_Qm << French_Qm << "Marker";
    QTest::newRow("executable's folder second") << "" << Marker_Qm << French_Qm << "Marker";
}

void LanguageTest::lookupFolders()
{
    QFETCH(QString, workDir);
    QFETCH(QString, besideExecutable);
    QFETCH(QString, installed);

    if (!workDir.isEmpty())
        place(workDir, m_workDir->path());
    if (!besideExecutable.isEmpty())
        place(besideExecutable, QCoreApplication::applicationDirPath());
    if (!installed.isEmpty())
        place(installed, installed_Translations_Folder());

    window = new MainWindow;
    widget<QAction>("action_French")->trigger();
    QTEST(connectText(), "expected");
    QCOMPARE(checkedLanguages(), QStringList{"action_French"});
}

void LanguageTest::defaultFollowsSystemLocale()
{
    const QByteArray expectedSystem = qgetenv("QUORVEX_TEST_SYSTEM_LANGUAGE");
    if (!expectedSystem.isEmpty())
        QCOMPARE(QLocale::system().name().section('_', 0, 0).toUtf8(), expectedSystem);

    place(French_Qm, m_workDir->path());
    window = new MainWindow;
    widget<QAction>("action_English")->trigger();
    widget<QAction>("action_Default")->trigger();
    QCOMPARE(connectText(), systemIsFrench() ? "Connecter" : "Connect");

    delete window;
    window = nullptr;
    QFile file(test_Config_File_Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.value(4), QByteArray("(default)"));
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
