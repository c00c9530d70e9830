// The help menu: the URLs handed to the desktop and the About dialogs.

#include <QtTest>

#include <QAction>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include "app/mainwindow.h"
#include "testsupport.h"
#include "ui/aboutwindow.h"

namespace {

/// Stands in for the desktop's browser and mail program.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void openUrl(const QUrl &url) { opened << url; }
    QList<QUrl> opened;
};

} // namespace

class HelpTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void urlsHandedToDesktop_data();
    void urlsHandedToDesktop();
    void aboutDialogs();

private:
    void trigger(const char *action) { find_Widget<QAction>(window, action)->trigger(); }

    QTemporaryDir m_workDir;
    UrlCatcher m_catcher;
    MainWindow *window = nullptr;
};

void HelpTest::initTestCase()
{
    prepare_Test_Process();
    // The working directory is the first place the French translation is looked for.
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    QVERIFY(QFile::copy(QUORVEX_FR_QM, "LanguageData_fr.qm"));
    QDesktopServices::setUrlHandler("http", &m_catcher, "openUrl");
    QDesktopServices::setUrlHandler("mailto", &m_catcher, "openUrl");
}

void HelpTest::init()
{
    reset_Process_Objects();
    m_catcher.opened.clear();
    window = new MainWindow;
    trigger("action_English");
}

void HelpTest::cleanup()
{
    qDeleteAll(open_About_Dialogs());
    delete window;
    window = nullptr;
    reset_Process_Objects();
}

void HelpTest::urlsHandedToDesktop_data()
{
    // Each row in the language its name gives.
    QTest::addColumn<QString>("mail");
    QTest::addColumn<QByteArray>("encoded");

    // Byte for byte in English; in French the same URL with the translated texts.
    const QByteArray english("mailto:support@brenvale.example?subject=Brenvale%20Support%20"
                             "Request%20(From:%20Quorvex%20-%201.1.0)&body=(%20write%20here%20"
                             "your%20question...%20)");
    QTest::newRow("English") << QUrl::fromPercentEncoding(english) << english;
    QTest::newRow("French")
        << QString::fromUtf8("mailto:support@brenvale.example?subject=Demande d’assistance "
                             "Brenvale (de la part de\u00a0: Quorvex - 1.1.0)&body=( écrivez ici "
                             "votre question... )")
        << QByteArray();
}

void HelpTest::urlsHandedToDesktop()
{
    QFETCH(QByteArray, encoded);

    trigger(QByteArray("action_") + QTest::currentDataTag());
    trigger("action_Brenvale_Home_Page");
    trigger("action_Contact_Technical_Support");
    QCOMPARE(m_catcher.opened.size(), 2);
    QCOMPARE(m_catcher.opened[0].toEncoded(), QByteArray("http://brenvale.example"));
    QTEST(QUrl::fromPercentEncoding(m_catcher.opened[1].toEncoded()), "mail");
    if (!encoded.isEmpty())
        QCOMPARE(m_catcher.opened[1].toEncoded(), encoded);
}

void HelpTest::aboutDialogs()
{
    trigger("action_About");
    aboutwindow *english = open_About_Dialogs().value(0);
    QVERIFY(english);
    trigger("action_French");
    trigger("action_About");
    QList<aboutwindow *> dialogs = open_About_Dialogs();
    QCOMPARE(dialogs.size(), 2);
    dialogs.removeOne(english);
    aboutwindow *french = dialogs.value(0);

    QCOMPARE(english->windowTitle(), QStringLiteral("About Quorvex"));
    QCOMPARE(find_Widget<QLabel>(english, "label_Infos")->text(),
             "<p>Quorvex 1.1.0</p><p>Brenvale \u00a9 All rights reserved.</p>"
             "<p><a href=\"http://brenvale.example\">brenvale.example</a></p><p>"
                 + QSysInfo::prettyProductName().toHtmlEscaped() + "</p>");
    QCOMPARE(french->windowTitle(), QString::fromUtf8("À propos de Quorvex"));
    QVERIFY(find_Widget<QLabel>(french, "label_Infos")
                ->text()
                .contains(QString::fromUtf8("Brenvale \u00a9 Tous droits réservés.")));

    for (aboutwindow *about : {english, french}) {
        QVERIFY(QTest::qWaitForWindowExposed(about, 5000));
        QVERIFY(!about->isModal());
        QVERIFY(!find_Widget<QLabel>(about, "label")->pixmap(Qt::ReturnByValue).isNull());
        // Its layout pins the dialog to its content.
        const QSize size = about->size();
        about->resize(size + QSize(120, 80));
        QCOMPARE(about->size(), size);
    }

    // Nothing refers to a closed dialog, however it was closed.
    const QPointer<aboutwindow> closedByOk = english, closedByWindow = french;
    QTest::mouseClick(find_Widget<QDialogButtonBox>(english, "buttonBox")
                          ->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    french->close();
    QTRY_VERIFY_WITH_TIMEOUT(closedByOk.isNull() && closedByWindow.isNull(), 5000);
}

QTEST_MAIN(HelpTest)
#include "tst_help.moc"
