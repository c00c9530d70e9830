#include "testsupport.h"

#include "app/identity.h"
#include "link/link.h"

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

