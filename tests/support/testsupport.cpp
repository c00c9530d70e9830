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

const struct
{
    const char *control, *argument, *id, *frame;
    bool longTableOnly; // the first three models lack these controls
} FrameCases[] = {
    {"Play", "", "5", "850201", false},
    {"Play", "", "0", "800201", false},
    {"Stop", "", "5", "850202", false},
    {"Next_File", "", "5", "850203", false},
    {"Previous_File", "", "5", "850204", false},
    {"Pause", "", "5", "850205", true},
    {"Next_Folder", "", "5", "850206", true},
    {"Previous_Folder", "", "5", "850207", true},
    {"Volume", "20", "5", "850314", false},
    {"Folder", "007", "5", "850107", false},
    {"Folder", "080", "5", "850150", false}, // decimal, not octal
    {"Folder", "200", "5", "851148", false},
    {"Folder", "300", "5", "85212C", false},
    {"Folder", "999", "5", "857167", false},
    {"Request", "Remaining time", "5", "850409", true},
    {"Request", "Volume", "5", "85040B", true}, // also the Volume command's label
    {"Change_ID", "9", "5", "857F09", true},
};

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

bool LoopbackPlayer::waitForPanel(int timeoutMs)
{
    if (hasPanel())
        return true;
    // The kernel completes the handshake on its own, so blocking here is safe.
    if (!m_server.hasPendingConnections() && !m_server.waitForNewConnection(timeoutMs))
        return false;
    m_peer = m_server.nextPendingConnection();
    return m_peer;
}

bool LoopbackPlayer::waitForBytes(int count, int timeoutMs)
{
    // The panel writes from the event loop of this same thread: keep it running.
    return QTest::qWaitFor(
        [&] { return m_peer && (m_received += m_peer->readAll()).size() >= count; }, timeoutMs);
}

QByteArray LoopbackPlayer::takeReceived()
{
    if (m_peer)
        m_received += m_peer->readAll();
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}

bool LoopbackPlayer::send(const QByteArray &bytes, bool wait)
{
    if (!m_peer || m_peer->write(bytes) != bytes.size())
        return false;
    // The kernel takes loopback bytes at once; this does not need the panel's loop.
    while (wait && m_peer->bytesToWrite() > 0) {
        if (!m_peer->waitForBytesWritten(5000))
            return false;
    }
    return true;
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

void addFrameRows()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("id");
    QTest::addColumn<bool>("decimal");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<bool>("serial");
    // Each row starts in one notation, in turn, and switches to the other.
    bool decimal = false;
    for (bool serial : {false, true}) {
        for (const auto &c : FrameCases) {
            if (c.longTableOnly && serial)
                continue;
            decimal = !decimal;
            QTest::addRow("%s %s, ID %s, %s, %s", c.control, c.argument, c.id,
                          decimal ? "dec" : "hex", serial ? "serial" : "TCP")
                << c.control << c.argument << c.id << decimal << QByteArray::fromHex(c.frame)
                << serial;
        }
    }
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

QStringList labelsFor(const QByteArray &frame, bool decimal)
{
    QStringList texts;
    for (const char c : frame)
        texts << (decimal ? QString::number(quint8(c)) : QByteArray(1, c).toHex().toUpper());
    return texts;
}

QStringList sentLabels(MainWindow *window)
{
    QStringList texts;
    for (int i = 1; i <= 3; ++i)
        texts << findWidget<QLabel>(window, QStringLiteral("label_Byte_%1_B").arg(i))->text();
    return texts;
}
