// A whole session through the real window, for the sanitizer build's leak
// check at exit: ten About dialogs opened and closed, French then English,
// a connection to a loopback player and a disconnection, the window closed.
// Everything of ours must be gone by then: LeakSanitizer fails the test on an
// unreachable block, and the test itself on a widget still alive.

#include <QtTest>

#include <QAction>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTcpSocket>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "loopbackplayer.h"
#include "testsupport.h"
#include "ui/aboutwindow.h"

class WholeRunTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { prepare_Test_Process(); }
    void wholeRun();
};

void WholeRunTest::wholeRun()
{
    // On the heap and deleted at the end, as main()'s window leaves its scope.
    auto *window = new MainWindow;
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const auto action = [window](const char *name) {
        return find_Widget<QAction>(window, QString::fromLatin1(name));
    };

    for (int i = 0; i < 10; ++i) {
        action("action_About")->trigger();
        const QList<aboutwindow *> dialogs = open_About_Dialogs();
        QCOMPARE(dialogs.size(), 1);
        QVERIFY(QTest::qWaitForWindowExposed(dialogs.first()));
        QTest::mouseClick(dialogs.first()->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(open_About_Dialogs().isEmpty(), 5000);
    }

    // Run from the build folder, where the French translation is built.
    auto *connect = find_Widget<QPushButton>(window, QStringLiteral("pushButton_Connect"));
    action("action_French")->trigger();
    QCOMPARE(connect->text(), QStringLiteral("Connecter"));
    action("action_English")->trigger();
    QCOMPARE(connect->text(), QStringLiteral("Connect"));

    LoopbackPlayer player;
    QVERIFY(connect_To_Player(window, player));
    QVERIFY(panel_Shows_Link(window, true));
    QVERIFY(player.send("ID 0 STATUS PLAYING\n"));
    QTRY_VERIFY_WITH_TIMEOUT(readDataText.contains(QStringLiteral("STATUS PLAYING")), 5000);
    find_Widget<QPushButton>(window, QStringLiteral("pushButton_Disconnect"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(tcpSocket->state() == QAbstractSocket::UnconnectedState, 5000);
    QVERIFY(panel_Shows_Link(window, false));

    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    delete window;
    // Qt keeps every widget reachable until the process ends, where
    // the leak check cannot see it: none may be left.
    QStringList left;
    for (const QWidget *widget : QApplication::allWidgets())
        left << QString::fromLatin1(widget->metaObject()->className());
    QVERIFY2(left.isEmpty(), qPrintable(left.join(QLatin1Char(' '))));
}

QTEST_MAIN(WholeRunTest)
#include "tst_whole_run.moc"
