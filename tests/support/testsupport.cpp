#include "testsupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSerialPort>
#include <QStandardPaths>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtGlobal>

#include <QComboBox>
#include <QDeadlineTimer>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QtTest>

#include "app/globals.h"
#include "app/identity.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "settings/config_file.h"
#include "ui/aboutwindow.h"
#include "loopbackplayer.h"

namespace {
QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns each time a shown window's size hints change;
// that says nothing about the panel and buries the real messages.
void dropPlatformNoise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message == QLatin1String("This plugin does not support propagateSizeHints()"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}

QTemporaryDir &dataHome()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void prepare_Test_Process()
{
    setApplicationIdentity();
    previousHandler = qInstallMessageHandler(dropPlatformNoise);
    qputenv("XDG_DATA_HOME", dataHome().path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dataHome().path().toLocal8Bit());
}

void reset_Process_Objects()
{
    ModelCatalogue.clear();
    if (serialPort->isOpen())
        serialPort->close();
    if (tcpSocket->state() != QAbstractSocket::UnconnectedState)
        tcpSocket->abort();
    releaseTcpSocket();
    readDataText.clear();
    readDataFormatter.reset();
    Config_File_Path.clear();
    QFile::remove(test_Config_File_Path());
}

QString test_Config_File_Path()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
}

void choose_Model(MainWindow *window, int index)
{
    auto *player = find_Widget<QComboBox>(window, QStringLiteral("comboBox_Player"));
    player->setCurrentIndex(index);
    emit player->activated(index);
}

void start_TCP_Connect(MainWindow *window, quint16 port)
{
    choose_Model(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = port;
    const int octets[] = {127, 0, 0, 1};
    for (int i = 0; i < 4; ++i)
        find_Widget<QSpinBox>(window, QStringLiteral("spinBox_IP_%1").arg(i + 1))
            ->setValue(octets[i]);
    find_Widget<QPushButton>(window, QStringLiteral("pushButton_Connect"))->click();
}

bool connect_To_Player(MainWindow *window, LoopbackPlayer &player)
{
    if (!player.isListening())
        return false;
    start_TCP_Connect(window, player.port());
    if (!player.waitForPanel())
        return false;
    // The panel's side completes in the event loop, like QTRY_VERIFY polls it.
    const QDeadlineTimer deadline(5000);
    while (tcpSocket->state() != QAbstractSocket::ConnectedState) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
}

bool panel_Shows_Link(MainWindow *window, bool open)
{
    return find_Widget<QWidget>(window, "frame_Settings")->isEnabled() == !open
           && find_Widget<QWidget>(window, "pushButton_Connect")->isEnabled() == !open
           && find_Widget<QWidget>(window, "pushButton_Disconnect")->isEnabled() == open
           && find_Widget<QWidget>(window, "frame_Commands")->isEnabled() == open;
}

QString status_Text(MainWindow *window)
{
    // The bar may show it elided; its tooltip holds it whole.
    const auto *bar = find_Widget<QStatusBar>(window, QStringLiteral("statusBar"));
    return bar->currentMessage().isEmpty() ? QString() : bar->toolTip();
}

bool activate_Window(QWidget *topLevel)
{
    topLevel->show();
    if (!QTest::qWaitForWindowExposed(topLevel, 5000))
        return false;
    topLevel->activateWindow();
    return QTest::qWaitForWindowActive(topLevel, 5000);
}

QList<aboutwindow *> open_About_Dialogs()
{
    QList<aboutwindow *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *about = qobject_cast<aboutwindow *>(widget))
            dialogs << about;
    }
    return dialogs;
}
