// What `cmake --install` puts under a prefix, and that desktop tools accept it.

#include <QtGui>
#include <QtTest>

#include "i18n/translation_folders.h"

namespace {

const QString AppId = QStringLiteral("example.brenvale.Quorvex");

/// Runs a program found on the PATH to its end; false when it fails, with its output.
bool run(const QString &name, const QStringList &arguments, QByteArray *output)
{
    const QString program = QStandardPaths::findExecutable(name);
    *output = name.toUtf8() + " is missing: run tools/install-deps.sh";
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(120000);
    *output = process.readAll();
    return finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void programFindsItsTranslations();
    void desktopFiles();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

void InstallTest::initTestCase()
{
    QByteArray output;
    QVERIFY2(run(QUORVEX_CMAKE, {"--install", QUORVEX_BUILD_DIR, "--prefix", m_prefix.path()},
                 &output),
             output.constData());
}

void InstallTest::programFindsItsTranslations()
{
    QVERIFY(QFileInfo(installed("bin/quorvex")).isExecutable());
    // The folder the program derives from its own folder is where they were installed.
    const QString fromBin = QDir(QCoreApplication::applicationDirPath())
                                .relativeFilePath(installedTranslationsFolder());
    QTranslator translator;
    QVERIFY(translator.load("LanguageData_fr", installed("bin/") + fromBin));
    QCOMPARE(translator.translate("MainWindow", "Connect"), QStringLiteral("Connecter"));
}

void InstallTest::desktopFiles()
{
    const QString entry = installed("share/applications/" + AppId + ".desktop");
    QByteArray output;
    QVERIFY2(run("desktop-file-validate", {entry}, &output), output.constData());
    QVERIFY2(output.trimmed().isEmpty(), output.constData()); // not even a hint
    QSettings desktop(entry, QSettings::IniFormat);
    QCOMPARE(desktop.value("Desktop Entry/Exec").toString(), QStringLiteral("quorvex"));
    QCOMPARE(desktop.value("Desktop Entry/Icon").toString(), AppId);
    // The icon it names, in each size a desktop looks for.
    for (int size : {16, 32, 48, 128}) {
        const QImage icon(installed(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)));
        QCOMPARE(icon.size(), QSize(size, size));
    }

    const QString metainfo = installed("share/metainfo/" + AppId + ".metainfo.xml");
    QVERIFY2(run("appstreamcli", {"validate", "--no-net", metainfo}, &output), output.constData());
    QFile xml(metainfo);
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const QByteArray text = xml.readAll();
    QVERIFY(text.contains("<launchable type=\"desktop-id\">" + AppId.toUtf8() + ".desktop<"));
    QVERIFY(text.contains("<release version=\"1.1.0\""));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
