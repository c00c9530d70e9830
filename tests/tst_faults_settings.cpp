// A panel killed while it saves its settings must leave the previous file or
// the new one, never a torn one. The saving panel is this program run again
// as a child, building and closing windows in a loop until it is killed.

#include <QtTest>

#include <QApplication>
#include <QSpinBox>

#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "app/identity.h"
#include "app/mainwindow.h"
#include "testsupport.h"

namespace {

constexpr int TimeoutMs = 10000;
const char SaveLoopVariable[] = "QUORVEX_TEST_SAVE_LOOP";

QByteArray savedFile()
{
    QFile file(test_Config_File_Path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// What a first-start window saves with the address's last number at `octet`.
QByteArray savedWith(int octet)
{
    reset_Process_Objects();
    MainWindow(nullptr).findChild<QSpinBox *>(QStringLiteral("spinBox_IP_4"))->setValue(octet);
    return savedFile();
}

/// Whether process `pid` has a file open in `folder`: the save's temporary file.
bool holdsFileIn(pid_t pid, const QString &folder)
{
    // A file made without a name reads "FOLDER/#INODE (deleted)" here.
    const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo &fd : descriptors.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
        if (fd.symLinkTarget().startsWith(folder + '/'))
            return true;
    return false;
}

/// Whether process `pid` has come to a stop ("T" in its status line).
bool isStopped(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(") ") + 2, 1) == "T";
}

/// The child: each window takes the settings the last one saved and saves
/// them with the other number, so the file alternates between two contents.
int saveLoop(int argc, char **argv)
{
    setApplicationIdentity();
    QApplication application(argc, argv);
    const QDeadlineTimer deadline(60000); // ends by itself should the test never come to kill it
    for (int round = 0; !deadline.hasExpired(); ++round) {
        MainWindow window;
        find_Widget<QSpinBox>(&window, QStringLiteral("spinBox_IP_4"))->setValue(round % 2 ? 22 : 11);
        // Told just before the window goes and saves, so the kill can aim at it.
        std::fputs("closing\n", stdout);
        std::fflush(stdout);
    }
    return 0;
}

} // namespace

class FaultsSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void cleanupTestCase() { reset_Process_Objects(); }
    void killDuringSaveLeavesOldOrNew();
};

void FaultsSettingsTest::killDuringSaveLeavesOldOrNew()
{
    const QByteArray eleven = savedWith(11);
    const QByteArray twentyTwo = savedWith(22);
    QVERIFY(!eleven.isEmpty() && eleven != twentyTwo);
    const QString folder = QFileInfo(test_Config_File_Path()).absolutePath();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(SaveLoopVariable, QStringLiteral("1"));
    QRandomGenerator random(5);
    // Rounds until ten kills fell inside a save (one in four or five does here).
    int cutMidSave = 0, round = 0;
    for (; round < 150 && cutMidSave < 10; ++round) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY2(child.waitForStarted(TimeoutMs), qPrintable(child.errorString()));
        // Some saves first, then a kill aimed at one: a save takes from well
        // under a millisecond to several, with the disk's flush.
        const int saves = random.bounded(1, 4);
        QByteArray out;
        while (out.count('\n') < saves) {
            QVERIFY2(child.waitForReadyRead(TimeoutMs), out.constData());
            out += child.readAllStandardOutput();
        }
        const qint64 delayNs = random.bounded(5000) * 1000;
        QElapsedTimer spin; // too short for a timer: bounded by delayNs
        for (spin.start(); spin.nsecsElapsed() < delayNs;) {
        }
        // Stopped first, to see whether it has a file of the folder open.
        const pid_t pid = pid_t(child.processId());
        QCOMPARE(::kill(pid, SIGSTOP), 0);
        QVERIFY(QTest::qWaitFor([pid] { return isStopped(pid); }, TimeoutMs));
        if (holdsFileIn(pid, folder))
            ++cutMidSave;
        QCOMPARE(::kill(pid, SIGKILL), 0);
        QVERIFY(child.waitForFinished(TimeoutMs));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        const QByteArray onDisk = savedFile();
        QVERIFY2(onDisk == eleven || onDisk == twentyTwo,
                 qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(onDisk.size())));
    }
    // Otherwise the rounds above prove nothing.
    QVERIFY2(cutMidSave > 0, "no kill fell inside a save");
    qInfo("%d of %d kills fell inside a save", cutMidSave, round);
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsSet(SaveLoopVariable))
        return saveLoop(argc, argv);
    QApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    FaultsSettingsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_faults_settings.moc"
