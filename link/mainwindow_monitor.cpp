// Received-data monitor: what the player sends, shown raw in the pane.

#include <QButtonGroup>
#include <QSerialPort>
#include <QTcpSocket>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/received_pane.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

void MainWindow::update_Serial_Read_Data()
{
    QByteArray chunk;
    read_Serial_Data(chunk);
    if (!chunk.isEmpty())
        sessionLog.addChunk(serialLinkName(), chunk);
    showReadData(chunk);
}

void MainWindow::update_TCP_Read_Data()
{
    QByteArray chunk;
    read_TCP_Data(chunk);
    if (!chunk.isEmpty())
        sessionLog.addChunk(tcpLinkName(), chunk);
    showReadData(chunk);
}

void MainWindow::showReadData(const QByteArray &chunk)
{
    // The format in force when the chunk comes: a change affects later chunks only.
    switch (dataFormats->checkedId()) {
    case FormatAscii:
        receivedPane->append(chunk, DataFormat::Text);
        break;
    case FormatHex:
        receivedPane->append(chunk, DataFormat::Hex);
        break;
    case FormatDec:
        receivedPane->append(chunk, DataFormat::Dec);
        break;
    }
}

void MainWindow::on_pushButton_Clear_clicked()
{
    receivedPane->clear();
}

void MainWindow::read_Serial_Data(QByteArray &data)
{
    if (serialPort->isOpen())
        data = serialPort->readAll();
}

void MainWindow::read_TCP_Data(QByteArray &data)
{
    if (tcpSocket->isOpen())
        data = tcpSocket->readAll();
}
