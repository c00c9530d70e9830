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
    void installedTree();
};

void InstallTest::installedTree()
{
    QTemporaryDir prefix;
    const auto installed = [&prefix](const QString &relative) { return prefix.filePath(relative); };
    QByteArray output;
    QVERIFY2(run(QUORVEX_CMAKE, {"--install", QUORVEX_BUILD_DIR, "--prefix", prefix.path()}, &output),
             output.constData());
    QVERIFY(QFileInfo(installed("bin/quorvex")).isExecutable());
    // The folder the program derives from its own folder is where they were installed.
    const QString fromBin = QDir(QCoreApplication::applicationDirPath())
                                .relativeFilePath(installedTranslationsFolder());
    QTranslator translator;
    QVERIFY(translator.load("LanguageData_fr", installed("bin/") + fromBin));
    QCOMPARE(translator.translate("MainWindow", "Connect"), QStringLiteral("Connecter"));

    // The desktop entry, not even a hint against it; the icon it names, in each size.
    const QString entry = installed("share/applications/" + AppId + ".desktop");
    QVERIFY2(run("desktop-file-validate", {entry}, &output), output.constData());
    QVERIFY2(output.trimmed().isEmpty(), output.constData());
    QSettings desktop(entry, QSettings::IniFormat);
    QCOMPARE(desktop.value("Desktop Entry/Exec").toString(), QStringLiteral("quorvex"));
    QCOMPARE(desktop.value("Desktop Entry/Icon").toString(), AppId);
    for (int size : {16, 32, 48, 128}) {
        const QImage icon(installed(
            QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId)));
        QCOMPARE(icon.size(), QSize(size, size));
    }

    // The software centre's description of this release, for this entry.
    const QString metainfo = installed("share/metainfo/" + AppId + ".metainfo.xml");
    QVERIFY2(run("appstreamcli", {"validate", "--no-net", metainfo}, &output), output.constData());
    QFile xml(metainfo);
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const QByteArray text = xml.readAll();
    QVERIFY(text.contains("<launchable type=\"desktop-id\">" + AppId.toUtf8() + ".desktop<"));
    QVERIFY(text.contains("<release version=\"" QUORVEX_VERSION "\""));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
