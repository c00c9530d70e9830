// Received-data monitor: what the player sends, shown raw in the pane.

#include <QScrollBar>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextCursor>
#include <QTextDocument>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/received_data.h"
#include "ui_mainwindow.h"

namespace {
/// Appends `added` at the end of the pane as plain text, never as markup; the
/// cost depends on `added` alone. The document turns a CR LF pair and a lone
/// CR into one line break, so a LF right after a CR of the previous chunk is
/// already shown and must not break the line twice.
void appendToPane(QTextEdit *pane, QString added, bool afterCarriageReturn)
{
    QTextDocument *document = pane->document();
    // A monitor is never undone; the undo stack would keep every chunk twice.
    if (document->isUndoRedoEnabled())
        document->setUndoRedoEnabled(false);
    if (afterCarriageReturn && added.startsWith(QLatin1Char('\n')))
        added.remove(0, 1);
    if (!added.isEmpty()) {
        QTextCursor cursor(document);
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(added);
    }
    QScrollBar *scrollBar = pane->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}
} // namespace

void MainWindow::update_Serial_Read_Data()
{
    QByteArray chunk;
    read_Serial_Data(chunk);
    show_Read_Data(chunk);
}

void MainWindow::update_TCP_Read_Data()
{
    QByteArray chunk;
    read_TCP_Data(chunk);
    show_Read_Data(chunk);
}

void MainWindow::show_Read_Data(const QByteArray &chunk)
{
    if (chunk.isEmpty())
        return;
    const int oldLength = readDataText.size();
    const bool afterCarriageReturn =
        oldLength > 0 && readDataText.at(oldLength - 1) == QLatin1Char('\r');
    format_Read_Data(chunk, readDataText);
    appendToPane(ui->textEdit_Data, readDataText.mid(oldLength), afterCarriageReturn);
}

void MainWindow::on_pushButton_Clear_clicked()
{
    ui->textEdit_Data->clear();
    readDataText.clear();
    readDataFormatter.reset();
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

void MainWindow::format_Read_Data(const QByteArray &chunk, QString &text)
{
    if (ui->radioButton_Data_ASCII->isChecked())
        readDataFormatter.append(chunk, DataFormat::Text, text);
    else if (ui->radioButton_Data_Hex->isChecked())
        readDataFormatter.append(chunk, DataFormat::Hex, text);
    else if (ui->radioButton_Data_Dec->isChecked())
        readDataFormatter.append(chunk, DataFormat::Dec, text);
}
