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
    void lookupFolders_data();
    void lookupFolders();

private:
    template <typename T> T *widget(const QString &name) { return find_Widget<T>(window, name); }
    QString connectText() { return widget<QPushButton>("pushButton_Connect")->text(); }
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
    const QList<QPair<QString, bool>> steps = {{"action_French", true},
                                               {"action_French", true},
                                               {"action_English", false},
                                               {"action_Default", systemIsFrench()}};
    for (const auto &step : steps) {
        QVERIFY2(choose(step.first), qPrintable(step.first));
        QCOMPARE(connectText(), step.second ? "Connecter" : "Connect");
        QCOMPARE(widget<QMenu>("menu_File")->title(), step.second ? "&Fichier" : "&File");
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvex 1.1.0"));
    }

    // The default entry is saved as such, not as the language it meant.
    delete window;
    window = nullptr;
    QFile file(test_Config_File_Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().split('\n').value(4), QByteArray("(default)"));
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
