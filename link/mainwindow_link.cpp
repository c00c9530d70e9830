// Serial and TCP link, the window's side: the port list, Connect and
// Disconnect. Which links a frame goes out on is link/link.cpp's.

#include <QFileInfo>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QTcpSocket>
#include <QTimer>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "ui_mainwindow.h"

namespace {
// -1 stands for no valid speed: open_Serial_Port leaves the port alone.
int serialSpeed(qint32 rate)
{
    return SerialSpeeds.contains(rate) ? rate : -1;
}

// Qt reports a port held by another program (its lock file, or the exclusive
// mode another panel set) as a permission error. So it reports, on Unix, a
// device the user may not open at all; only that one lacks the permissions.
bool serialPortHeldElsewhere(const QSerialPort &port, const QString &name)
{
    if (port.error() != QSerialPort::PermissionError)
        return false;
#ifdef Q_OS_UNIX
    const QFileInfo device(name.startsWith(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name);
    return device.isReadable() && device.isWritable();
#else
    return true;
#endif
}
} // namespace

void MainWindow::update_Serial_Ports()
{
    // Read again each time the list opens: what the operator chose or typed stays.
    serialPortsListed = true;
    QComboBox *box = ui->comboBox_Port;
    const QString shown = box->currentText();
    box->clear();
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &port : ports)
        box->addItem(port.portName());
    if (!shown.isEmpty())
        showPort(shown);
}

void MainWindow::listSerialPortsOnce()
{
    if (!serialPortsListed)
        update_Serial_Ports();
}

void MainWindow::showPort(const QString &port)
{
    QComboBox *box = ui->comboBox_Port;
    const int index = box->findData(port, Qt::DisplayRole, Qt::MatchCaseSensitive);
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(port);
}

void MainWindow::on_pushButton_Connect_clicked()
{
    connect_Player();
}

void MainWindow::on_pushButton_Disconnect_clicked()
{
    disconnect_Player();
}

void MainWindow::connect_Player()
{
    connect_Serial();
    connect_TCP();
    update_Connection_Controls();
}

void MainWindow::connect_Serial()
{
    const PlayerModel *model = selectedModel();
    if (!model || model->linkKind != LinkKind::Serial)
        return;
    const int speedIndex = ui->comboBox_Baudrate->currentIndex();
    // Exactly the name or path the box shows, listed or not: when an automatic
    // connection comes before the first paint, the list is read for it.
    listSerialPortsOnce();
    const QString port = ui->comboBox_Port->currentText();
    if (port.isEmpty() || speedIndex < 0
        || speedIndex >= model->baudRates.size())
        return;
    open_Serial_Port(serialSpeed(model->baudRates.at(speedIndex)), port);
}

void MainWindow::open_Serial_Port(int speed, const QString &portName)
{
    if (serialPort->isOpen() || speed == -1)
        return;
    serialPort->setPortName(portName);
    serialPort->setBaudRate(speed, QSerialPort::AllDirections);
    serialPort->setDataBits(QSerialPort::Data8);
    serialPort->setParity(QSerialPort::NoParity);
    serialPort->setStopBits(QSerialPort::OneStop);
    serialPort->setFlowControl(QSerialPort::NoFlowControl);
    serialName = portName;
    const QString link = serialLinkName();
    if (serialPort->open(QIODevice::ReadWrite)) {
        // Bytes of the last link must not complete a character of this one.
        readDataFormatter.reset();
        reportLinkEvent(link, [portName, speed] {
            return tr("Connected to %1 at %2 baud").arg(portName, QString::number(speed));
        });
        return;
    }
    const QString reason = serialPort->errorString();
    if (serialPortHeldElsewhere(*serialPort, portName)) {
        reportLinkEvent(link, [portName] {
            return tr("Cannot open serial port %1: it is in use by another program").arg(portName);
        });
        return;
    }
#ifdef Q_OS_LINUX
    if (serialPort->error() == QSerialPort::PermissionError) {
        reportLinkEvent(link, [portName, reason] {
            return tr("Cannot open serial port %1: %2\nCheck that your user is in the dialout "
                      "group and that no other program uses the port.")
                .arg(portName, reason);
        });
        return;
    }
#endif
    reportLinkEvent(link, [portName, reason] {
        return tr("Cannot open serial port %1: %2").arg(portName, reason);
    });
}

void MainWindow::connect_TCP()
{
    const PlayerModel *model = selectedModel();
    if (!model || model->linkKind == LinkKind::Serial)
        return;
    const QString host = QStringLiteral("%1.%2.%3.%4")
                             .arg(ui->spinBox_IP_1->value())
                             .arg(ui->spinBox_IP_2->value())
                             .arg(ui->spinBox_IP_3->value())
                             .arg(ui->spinBox_IP_4->value());
    open_TCP_Socket(host, model->tcpPort);
}

void MainWindow::open_TCP_Socket(const QString &host, quint16 port)
{
    if (tcpLinkOpen())
        return;
    // Reopened from a clean state after a failed attempt.
    releaseTcpSocket();
    tcpTarget = QStringLiteral("%1:%2").arg(host).arg(port);
    reportLinkEvent(tcpLinkName(),
                    [target = tcpTarget] { return tr("Connecting to %1...").arg(target); });
    // Started first: a failure reported at once stops it again.
    connectTimer->start();
    tcpSocket->connectToHost(host, port, QIODevice::ReadWrite, QAbstractSocket::AnyIPProtocol);
}

void MainWindow::disconnect_Player()
{
    connectTimer->stop();
    QString link;
    QString logName;
    bool attempt = false;
    if (serialPort->isOpen()) {
        link = serialName;
        logName = serialLinkName();
    } else if (tcpLinkOpen()) {
        link = tcpTarget;
        logName = tcpLinkName();
        attempt = tcpSocket->state() != QAbstractSocket::ConnectedState;
    }
    close_Serial_Port();
    close_TCP_Socket();
    if (link.isEmpty())
        showStatus({});
    else if (attempt)
        reportLinkEvent(logName, [link] { return tr("Connection attempt to %1 cancelled").arg(link); });
    else
        reportLinkEvent(logName, [link] { return tr("Disconnected from %1").arg(link); });
    update_Connection_Controls();
}

void MainWindow::close_Serial_Port()
{
    if (serialPort->isOpen())
        serialPort->close();
}

void MainWindow::close_TCP_Socket()
{
    switch (tcpSocket->state()) {
    case QAbstractSocket::UnconnectedState:
        break;
    case QAbstractSocket::ConnectedState:
        // Lets frames already handed to the socket leave before it closes.
        tcpSocket->disconnectFromHost();
        break;
    default:
        // An attempt under way would only be closed once it succeeded, and a
        // close already waiting for its data is given up on a second Disconnect.
        tcpSocket->abort();
        break;
    }
    releaseTcpSocket();
}
