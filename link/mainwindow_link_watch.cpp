// Watching the links: a failed attempt, a dropped connection or an unplugged
// port brings the panel back to the disconnected state and says why.

#include <QFileInfo>
#include <QMetaObject>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTcpSocket>
#include <QTimer>

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
    connectTimer = new QTimer(this);
    connectTimer->setSingleShot(true);
    connectTimer->setInterval(TcpConnectTimeoutMs);
    connect(connectTimer, &QTimer::timeout, this, &MainWindow::giveUpTcpAttempt);
    connect(tcpSocket, &QAbstractSocket::connected, this, [this] {
        connectTimer->stop();
        // Bytes of the last link must not complete a character of this one.
        readDataFormatter.reset();
        reportLinkEvent(tcpLinkName(),
                        [target = tcpTarget] { return tr("Connected to %1").arg(target); });
    });
    connect(tcpSocket, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError error) {
                if (!tcpErrorIsFatal(error))
                    return;
                connectTimer->stop();
                const bool established = tcpSocket->state() == QAbstractSocket::ConnectedState;
                const QString target = tcpTarget;
                const QString reason = tcpSocket->errorString();
                reportLinkEvent(tcpLinkName(), [established, target, reason] {
                    return established ? tr("Connection to %1 lost: %2").arg(target, reason)
                                       : tr("Connection to %1 failed: %2").arg(target, reason);
                });
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
                // Unplugged, or a pty whose other end went: the device is gone.
                const bool removed =
                    error == QSerialPort::ResourceError
                    || !QFileInfo::exists(QSerialPortInfo(*serialPort).systemLocation());
                const QString reason = serialPort->errorString();
                QMetaObject::invokeMethod(
                    this, [this, removed, reason] { dropSerialLink(removed, reason); },
                    Qt::QueuedConnection);
            });
}

void MainWindow::setConnectTimeout(int milliseconds)
{
    connectTimer->setInterval(milliseconds);
}

void MainWindow::giveUpTcpAttempt()
{
    if (!tcpLinkOpen() || tcpSocket->state() == QAbstractSocket::ConnectedState)
        return;
    reportLinkEvent(tcpLinkName(), [target = tcpTarget] {
        return tr("Connection to %1 failed: timed out").arg(target);
    });
    tcpSocket->abort();
    dropTcpLink(false);
}

void MainWindow::dropTcpLink(bool afterError)
{
    // An attempt that ended without a word must not go on saying "Connecting".
    if (connectTimer->isActive() && !tcpLinkOpen()) {
        connectTimer->stop();
        reportLinkEvent(tcpLinkName(),
                        [target = tcpTarget] { return tr("Connection to %1 failed").arg(target); });
    }
    // After an error the link is given up even if Qt would linger.
    if (afterError && tcpLinkOpen())
        tcpSocket->abort();
    if (!tcpLinkOpen())
        releaseTcpSocket();
    update_Connection_Controls();
}

void MainWindow::dropSerialLink(bool removed, const QString &reason)
{
    // Several errors may be queued before the first one closes the port.
    if (!serialPort->isOpen())
        return;
    const QString portName = serialName;
    serialPort->close();
    // Qt has no words of its own for a device that went away.
    reportLinkEvent(serialLinkName(), [removed, portName, reason] {
        return removed ? tr("Serial port %1 was removed or unplugged").arg(portName)
                       : tr("Serial port %1 lost: %2").arg(portName, reason);
    });
    update_Connection_Controls();
}
