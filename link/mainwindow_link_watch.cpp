// Watching the links: a failed attempt, a dropped connection or an unplugged
// port brings the panel back to the disconnected state and says why.

#include <QMetaObject>
#include <QSerialPort>
#include <QStatusBar>
#include <QTcpSocket>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "ui_mainwindow.h"

namespace {
// Qt reports these without giving up the connection.
bool tcpErrorIsFatal(QAbstractSocket::SocketError error)
{
    return error != QAbstractSocket::SocketTimeoutError
           && error != QAbstractSocket::TemporaryError;
}

// An unplugged adapter gives a resource error; a pty whose other end went away
// gives a read error on every notification, so both end the link.
bool serialErrorIsFatal(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ResourceError || error == QSerialPort::ReadError
           || error == QSerialPort::WriteError;
}
} // namespace

void MainWindow::watchLinks()
{
    connect(tcpSocket, &QAbstractSocket::connected, this,
            [this] { showLinkStatus(tr("Connected to %1").arg(tcpLinkTarget())); });
    connect(tcpSocket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) {
                if (!tcpErrorIsFatal(error))
                    return;
                const bool established = tcpSocket->state() == QAbstractSocket::ConnectedState;
                const QString reason = tcpSocket->errorString();
                showLinkStatus(established
                                   ? tr("Connection to %1 lost: %2").arg(tcpLinkTarget(), reason)
                                   : tr("Connection to %1 failed: %2").arg(tcpLinkTarget(), reason));
                // Closing from inside the socket's own signal is unsafe; do it next.
                QMetaObject::invokeMethod(this, [this] { dropTcpLink(true); },
                                          Qt::QueuedConnection);
            });
    connect(tcpSocket, &QAbstractSocket::stateChanged, this,
            [this](QAbstractSocket::SocketState state) {
                if (state == QAbstractSocket::UnconnectedState)
                    QMetaObject::invokeMethod(this, [this] { dropTcpLink(false); },
                                              Qt::QueuedConnection);
            });
    connect(serialPort, &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if (!serialErrorIsFatal(error) || !serialPort->isOpen())
                    return;
                const QString reason = serialPort->errorString();
                QMetaObject::invokeMethod(this, [this, reason] { dropSerialLink(reason); },
                                          Qt::QueuedConnection);
            });
}

void MainWindow::dropTcpLink(bool afterError)
{
    // After an error the link is given up even if Qt would linger.
    if (afterError && tcpLinkOpen())
        tcpSocket->abort();
    if (!tcpLinkOpen())
        releaseTcpSocket();
    update_Connection_Controls();
}

void MainWindow::dropSerialLink(const QString &reason)
{
    // Several errors may be queued before the first one closes the port.
    if (!serialPort->isOpen())
        return;
    const QString portName = serialPort->portName();
    serialPort->close();
    showLinkStatus(tr("Serial port %1 lost: %2").arg(portName, reason));
    update_Connection_Controls();
}

void MainWindow::showLinkStatus(const QString &message)
{
    ui->statusBar->showMessage(message);
}
