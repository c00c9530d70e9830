#include "testsupport.h"

#include <QSerialPort>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtGlobal>

#include "app/globals.h"
#include "app/identity.h"

namespace {
QTemporaryDir &dataHome()
{
    static QTemporaryDir dir;
    return dir;
}
} // namespace

void prepare_Test_Process()
{
    set_Application_Identity();
    qputenv("XDG_DATA_HOME", dataHome().path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dataHome().path().toLocal8Bit());
}

QString test_Data_Home()
{
    return dataHome().path();
}

void reset_Process_Objects()
{
    ModelCatalogue.clear();
    if (serialPort->isOpen())
        serialPort->close();
    if (tcpSocket->state() != QAbstractSocket::UnconnectedState || tcpSocket->isOpen()) {
        tcpSocket->abort();
        tcpSocket->close();
    }
    readDataText.clear();
    readDataFormatter.reset();
    Config_File_Path.clear();
}
