// What `cmake --install` puts under a prefix, and that desktop tools accept it.

#include <QtTest>

#include <QImage>
#include <QSettings>
#include <QTranslator>

#include "i18n/translation_folders.h"

namespace {

const QString App_Id = QStringLiteral("example.brenvale.Quorvex");

/// Runs a program to its end; its exit code, or -1 when it did not finish.
int run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = process.readAll();
    return process.exitCode();
}

QString tool(const QString &name)
{
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        qWarning("%s is missing: run tools/install-deps.sh", qPrintable(name));
    return path;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void programAndTranslations();
    void icons_data();
    void icons();
    void desktopEntry();
    void metainfo();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QByteArray output;
    const int code = run(QStringLiteral(QUORVEX_CMAKE),
                         {"--install", QUORVEX_BUILD_DIR, "--prefix", m_prefix.path()}, &output);
    QVERIFY2(code == 0, output.constData());
}

void InstallTest::programAndTranslations()
{
    QVERIFY(QFileInfo(installed("bin/quorvex")).isExecutable());

    // Where the program looks, taken from an executable's folder, holds the files.
    const QString fromBin = QDir(QCoreApplication::applicationDirPath())
                                .relativeFilePath(installed_Translations_Folder());
    const QString qm = QDir(installed("bin")).absoluteFilePath(fromBin + "/LanguageData_fr.qm");
    QTranslator translator;
    QVERIFY2(translator.load(qm), qPrintable(qm));
    QCOMPARE(translator.translate("MainWindow", "Connect"), QStringLiteral("Connecter"));
}

void InstallTest::icons_data()
{
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 128})
        QTest::addRow("%dx%d", size, size) << size;
}

void InstallTest::icons()
{
    QFETCH(int, size);
    const QImage icon(installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/").arg(size) + App_Id
                                + ".png"));
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
}

void InstallTest::desktopEntry()
{
    const QString entry = installed("share/applications/" + App_Id + ".desktop");
    QVERIFY(QFileInfo::exists(entry));
    const QString validator = tool("desktop-file-validate");
    QVERIFY(!validator.isEmpty());
    QByteArray output;
    QCOMPARE(run(validator, {entry}, &output), 0);
    QVERIFY2(output.trimmed().isEmpty(), output.constData());

    QSettings desktop(entry, QSettings::IniFormat);
    desktop.beginGroup("Desktop Entry");
    QCOMPARE(desktop.value("Exec").toString(), QStringLiteral("quorvex"));
    QCOMPARE(desktop.value("Icon").toString(), App_Id);
}

void InstallTest::metainfo()
{
    const QString file = installed("share/metainfo/" + App_Id + ".metainfo.xml");
    const QString validator = tool("appstreamcli");
    QVERIFY(!validator.isEmpty());
    QByteArray output;
    QCOMPARE(run(validator, {"validate", "--no-net", file}, &output), 0);
    QVERIFY2(!output.contains("E:") && !output.contains("W:"), output.constData());

    QFile xml(file);
    QVERIFY(xml.open(QIODevice::ReadOnly));
    const QByteArray text = xml.readAll();
    QVERIFY(text.contains("<launchable type=\"desktop-id\">" + App_Id.toUtf8() + ".desktop<"));
    QVERIFY(text.contains("<release version=\"1.1.0\""));
}

QTEST_GUILESS_MAIN(InstallTest)
#include "tst_install.moc"
