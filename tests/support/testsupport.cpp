#include "testsupport.h"

#include "app/identity.h"
#include "link/link.h"

void prepareTestProcess()
{
    setApplicationIdentity();
    // The offscreen platform warns each time a shown window's size hints change;
    // that says nothing about the panel and buries the real messages.
    static const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            if (previous && message != QLatin1String("This plugin does not support propagateSizeHints()"))
                previous(type, context, message);
        });
    // In memory where there is such a folder: every window's save syncs its file.
    static QTemporaryDir dataHome(QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/quorvex-test-XXXXXX")
                                                            : QDir::tempPath() + "/quorvex-test-XXXXXX");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dataHome.path().toLocal8Bit());
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
