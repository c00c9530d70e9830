#include "testsupport.h"

#include "app/identity.h"
#include "link/link.h"
#include "settings/config_file.h"

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
    // In memory where there is such a folder: every window's save syncs its file.
    static QTemporaryDir dir(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/quorvex-test-XXXXXX")
                                                       : QDir::tempPath() + "/quorvex-test-XXXXXX");
    return dir;
}

void select(QWidget *window, const QString &selector, const QString &entry)
{
    auto *box = findWidget<QComboBox>(window, "comboBox_" + selector);
    box->setCurrentIndex(box->findText(entry));
    QCOMPARE(box->currentText(), entry);
}
} // namespace

void prepareTestProcess()
{
    setApplicationIdentity();
    previousHandler = qInstallMessageHandler(dropPlatformNoise);
    qputenv("XDG_DATA_HOME", dataHome().path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dataHome().path().toLocal8Bit());
}

void resetProcessObjects()
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
    QFile::remove(testConfigFilePath());
}

QString testConfigFilePath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation))
        .absoluteFilePath(QCoreApplication::applicationName() + ConfigFileSuffix);
}

void placeFrench(const QString &folder, const QString &qm)
{
    const QString target = folder + QStringLiteral("/LanguageData_fr.qm");
    QFile::remove(target);
    QVERIFY(QDir().mkpath(folder));
    QVERIFY2(QFile::copy(qm, target), qPrintable(qm));
}

void chooseModel(MainWindow *window, int index)
{
    auto *player = findWidget<QComboBox>(window, QStringLiteral("comboBox_Player"));
    player->setCurrentIndex(index);
    emit player->activated(index);
}

void startTcpConnect(MainWindow *window, quint16 port)
{
    chooseModel(window, TcpModelIndex);
    ModelCatalogue[TcpModelIndex].tcpPort = port;
    const QStringList octets = QString(PlayerHost).split('.');
    for (int i = 0; i < 4; ++i)
        findWidget<QSpinBox>(window, QStringLiteral("spinBox_IP_%1").arg(i + 1))
            ->setValue(octets[i].toInt());
    findWidget<QPushButton>(window, QStringLiteral("pushButton_Connect"))->click();
}

void connectSerial(MainWindow *window, int model, const QString &path, const QString &speed)
{
    chooseModel(window, model);
    findWidget<QComboBox>(window, QStringLiteral("comboBox_Port"))->setEditText(path);
    if (!speed.isEmpty())
        findWidget<QComboBox>(window, QStringLiteral("comboBox_Baudrate"))->setCurrentText(speed);
    findWidget<QPushButton>(window, QStringLiteral("pushButton_Connect"))->click();
}

bool connectToPlayer(MainWindow *window, LoopbackPlayer &player)
{
    startTcpConnect(window, player.port());
    // The panel's side completes in the event loop.
    return player.port() && player.waitForPanel()
           && QTest::qWaitFor([] { return tcpSocket->state() == QAbstractSocket::ConnectedState; }, 5000);
}

bool panelShowsLink(MainWindow *window, bool open)
{
    return findWidget<QWidget>(window, "frame_Settings")->isEnabled() == !open
           && findWidget<QWidget>(window, "pushButton_Connect")->isEnabled() == !open
           && findWidget<QWidget>(window, "pushButton_Disconnect")->isEnabled() == open
           && findWidget<QWidget>(window, "frame_Commands")->isEnabled() == open;
}

QString statusText(MainWindow *window)
{
    // The bar may show it elided; its tooltip holds it whole.
    const auto *bar = findWidget<QStatusBar>(window, QStringLiteral("statusBar"));
    return bar->currentMessage().isEmpty() ? QString() : bar->toolTip();
}

bool activateWindow(QWidget *topLevel)
{
    topLevel->show();
    if (!QTest::qWaitForWindowExposed(topLevel, 5000))
        return false;
    topLevel->activateWindow();
    return QTest::qWaitForWindowActive(topLevel, 5000);
}

QList<QDialog *> openAboutDialogs()
{
    QList<QDialog *> dialogs;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits("aboutwindow"))
            dialogs << static_cast<QDialog *>(widget);
    }
    return dialogs;
}

void PanelCase::init()
{
    resetProcessObjects();
    window = new MainWindow;
    window->show();
    player = std::make_unique<LoopbackPlayer>();
}

void PanelCase::cleanup()
{
    player.reset();
    delete window;
    resetProcessObjects();
}

bool PanelCase::nothingSent()
{
    performControl(window, "Play", "", "5");
    return player->waitForBytes(3) && player->takeReceived() == QByteArray::fromHex("850201");
}

void performControl(MainWindow *window, const QString &control, const QString &argument,
                    const QString &id)
{
    select(window, "ID", id);
    if (control == "Volume") {
        findWidget<QSlider>(window, "horizontalSlider_Volume")->setValue(argument.toInt());
        return;
    }
    if (!argument.isEmpty())
        select(window, control, argument);
    findWidget<QPushButton>(window, "pushButton_" + control)->click();
}

QStringList sentLabels(MainWindow *window)
{
    QStringList texts;
    for (int i = 1; i <= 3; ++i)
        texts << findWidget<QLabel>(window, QStringLiteral("label_Byte_%1_B").arg(i))->text();
    return texts;
}
