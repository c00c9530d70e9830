// Language switching with the translation files the build makes, where a
// chosen translation is looked for, and the help menu in both languages.

#include "i18n/translation_folders.h"
#include "testsupport.h"

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

class LanguageTest : public PanelCase
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void switchLanguage_data();
    void switchLanguage();
    void lookupFolders_data();
    void lookupFolders();
    void helpMenu_data();
    void helpMenu();

private:
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
    UrlCatcher m_catcher;
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
    // Each window finds the French translation in the working directory.
    PanelCase::initTestCase();
    QVERIFY(QDir::setCurrent(m_workDir.path()));
    placeFrench(m_workDir.path());
    QDesktopServices::setUrlHandler("http", &m_catcher, "openUrl");
    QDesktopServices::setUrlHandler("mailto", &m_catcher, "openUrl");
}

void LanguageTest::cleanup()
{
    qDeleteAll(openAboutDialogs());
    PanelCase::cleanup();
    m_catcher.opened.clear();
    // This executable has its folder to itself; the other tests never look here.
    for (const QString &folder : folders())
        QFile::remove(folder + "/LanguageData_fr.qm");
    placeFrench(m_workDir.path());
}

void LanguageTest::switchLanguage_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("volume");
    QTest::newRow("start-up") << false << false << QStringList{"0", "0", "0"} << "...";
    QTest::newRow("hexadecimal") << true << false << QStringList{"85", "02", "01"} << "20";
    QTest::newRow("decimal") << true << true << QStringList{"133", "2", "1"} << "20";
}

void LanguageTest::switchLanguage()
{
    QFETCH(bool, linked);
    QFETCH(bool, decimal);
    // Also run on a French system, where the default entry means French.
    const QByteArray expectedSystem = qgetenv("QUORVEX_TEST_SYSTEM_LANGUAGE");
    if (!expectedSystem.isEmpty())
        QCOMPARE(QLocale::system().name().section('_', 0, 0).toUtf8(), expectedSystem);
    const bool systemIsFrench = QLocale::system().language() == QLocale::French;
    QCOMPARE(connectText(), systemIsFrench ? "Connecter" : "Connect");
    if (linked) {
        QVERIFY(connectToPlayer(window, *player));
        if (decimal)
            widget<QRadioButton>("radioButton_Sent_Dec")->click();
        performControl(window, "Volume", "20", "5");
        performControl(window, "Play", "", "5");
        QVERIFY(player->waitForBytes(6));
    }

    // French chosen twice stays checked; English needs no file of its own. What
    // the window shows is kept, and said again in the new language. Every
    // icon-only control says what it does, each in its own words. Qt's own
    // texts follow, as in the received-data pane's menu.
    QStringList frenchTips, englishTips;
    const QList<QPair<QString, bool>> steps = {{"action_French", true},
                                               {"action_French", true},
                                               {"action_English", false},
                                               {"action_Default", systemIsFrench}};
    for (const auto &[action, french] : steps) {
        QVERIFY2(choose(action), qPrintable(action));
        QCOMPARE(connectText(), french ? "Connecter" : "Connect");
        QCOMPARE(widget<QMenu>("menu_File")->title(), french ? "&Fichier" : "&File");
        QCOMPARE(window->windowTitle(), QStringLiteral("Quorvex " QUORVEX_VERSION));
        QTEST(sentLabels(window), "sent");
        QTEST(widget<QLabel>("label_Volume_2")->text(), "volume");
        const QString label = french ? QStringLiteral("( Numéro de port\u00a0: %1 )")
                                     : "( Port Number: %1 )";
        // Composed once the TCP model is chosen; before, it is the form's.
        QCOMPARE(widget<QLabel>("label_IP_Port")->text(),
                 linked ? label.arg(player->port()) : QStringLiteral("( Port Number: ...)"));
        // The icon-only buttons, the folder and volume controls.
        QStringList tips = {widget<QWidget>("comboBox_Folder")->toolTip(),
                            widget<QWidget>("horizontalSlider_Volume")->toolTip()};
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            if (button->text().isEmpty())
                tips << button->toolTip();
        }
        QCOMPARE(tips.size(), 14);
        QVERIFY(!tips.contains(QString()));
        QCOMPARE(tips.removeDuplicates(), 0);
        (french ? frenchTips : englishTips) = tips;
        std::unique_ptr<QMenu> menu(widget<QTextEdit>("textEdit_Data")->createStandardContextMenu());
        const QAction *copy = menu->findChild<QAction *>("edit-copy");
        QVERIFY(copy);
        QCOMPARE(copy->text().section('\t', 0, 0) == "&Copy", !french);
        const QString connected = french ? QStringLiteral("Connecté à %1:%2") : "Connected to %1:%2";
        QCOMPARE(statusText(window), linked ? connected.arg(PlayerHost).arg(player->port()) : QString());
    }
    for (int i = 0; i < frenchTips.size(); ++i)
        QVERIFY2(frenchTips[i] != englishTips[i], qPrintable(englishTips[i]));
}

void LanguageTest::lookupFolders_data()
{
    // The .qm placed in the working directory, beside the executable, in the
    // installed folder; the marker translation tells which one was taken.
    const QString fr = QStringLiteral(QUORVEX_FR_QM), marker = QStringLiteral(QUORVEX_MARKER_QM);
    QTest::addColumn<QStringList>("placed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("installed folder") << QStringList{"", "", fr} << "Connecter";
    QTest::newRow("nowhere: source texts") << QStringList{"", "", ""} << "Connect";
    QTest::newRow("working directory first") << QStringList{marker, fr, fr} << "Marker";
    QTest::newRow("executable's folder second") << QStringList{"", marker, fr} << "Marker";
}

void LanguageTest::lookupFolders()
{
    QFETCH(QStringList, placed);
    delete window;
    resetProcessObjects();
    QVERIFY(QFile::remove(m_workDir.filePath("LanguageData_fr.qm")));
    for (int i = 0; i < 3; ++i) {
        if (!placed[i].isEmpty())
            placeFrench(folders()[i], placed[i]);
    }

    window = new MainWindow;
    QVERIFY(choose("action_French"));
    QTEST(connectText(), "expected");
}

void LanguageTest::helpMenu_data()
{
    // Each row in the language its name gives.
    QTest::addColumn<QString>("mail");
    QTest::addColumn<QByteArray>("encoded");
    QTest::addColumn<QString>("about"); // the About dialog's title and rights
    // Byte for byte in English; in French the same URL with the translated texts.
    const QByteArray english("mailto:support@brenvale.example?subject=Brenvale%20Support%20"
                             "Request%20(From:%20Quorvex%20-%20" QUORVEX_VERSION
                             ")&body=(%20write%20here%20your%20question...%20)");
    QTest::newRow("English") << QUrl::fromPercentEncoding(english) << english
                             << "About Quorvex|All rights reserved.";
    QTest::newRow("French")
        << QString::fromUtf8("mailto:support@brenvale.example?subject=Demande d’assistance "
                             "Brenvale (de la part de\u00a0: Quorvex - " QUORVEX_VERSION
                             ")&body=( écrivez ici votre question... )")
        << QByteArray() << QString::fromUtf8("À propos de Quorvex|Tous droits réservés.");
}

void LanguageTest::helpMenu()
{
    QFETCH(QByteArray, encoded);
    QFETCH(QString, about);
    QVERIFY(choose(QByteArray("action_") + QTest::currentDataTag()));
    widget<QAction>("action_Brenvale_Home_Page")->trigger();
    widget<QAction>("action_Contact_Technical_Support")->trigger();
    QCOMPARE(m_catcher.opened.size(), 2);
    QCOMPARE(m_catcher.opened[0].toEncoded(), QByteArray("http://brenvale.example"));
    QTEST(QUrl::fromPercentEncoding(m_catcher.opened[1].toEncoded()), "mail");
    if (!encoded.isEmpty())
        QCOMPARE(m_catcher.opened[1].toEncoded(), encoded);

    // A dialog apart, which the operator may leave open; one per click.
    widget<QAction>("action_About")->trigger();
    widget<QAction>("action_About")->trigger();
    const QList<QDialog *> dialogs = openAboutDialogs();
    QCOMPARE(dialogs.size(), 2);
    QCOMPARE(dialogs[0]->windowTitle(), about.section('|', 0, 0));
    QCOMPARE(findWidget<QLabel>(dialogs[0], "label_Infos")->text(),
             "<p>Quorvex " QUORVEX_VERSION "</p><p>Brenvale \u00a9 " + about.section('|', 1)
                 + "</p><p><a href=\"http://brenvale.example\">brenvale.example</a></p><p>"
                 + QSysInfo::prettyProductName().toHtmlEscaped() + "</p>");
    QVERIFY(QTest::qWaitForWindowExposed(dialogs[0], 5000));
    QVERIFY(!dialogs[0]->isModal());
    // Nothing refers to a closed dialog, however it was closed.
    const QPointer<QDialog> closedByOk = dialogs[0], closedByWindow = dialogs[1];
    QTest::mouseClick(findWidget<QDialogButtonBox>(dialogs[0], "buttonBox")
                          ->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    dialogs[1]->close();
    QTRY_VERIFY_WITH_TIMEOUT(closedByOk.isNull() && closedByWindow.isNull(), 5000);
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
