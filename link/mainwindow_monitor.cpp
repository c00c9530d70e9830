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
/// The longest the pane lags behind readDataText, in milliseconds.
constexpr qint64 PaneInterval = 20;

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

/// Removes from the start of the pane what shows `removed`, the start of the
/// received text. Each character is one place in the document but a CR LF
/// pair, which is one line break; `removed` never ends inside a pair.
void dropFromPane(QTextEdit *pane, const QString &removed)
{
    const int places = removed.size() - removed.count(QLatin1String("\r\n"));
    QTextCursor cursor(pane->document());
    cursor.setPosition(places, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
} // namespace

void MainWindow::update_Serial_Read_Data()
{
    QByteArray chunk;
    read_Serial_Data(chunk);
    showReadData(chunk);
}

void MainWindow::update_TCP_Read_Data()
{
    QByteArray chunk;
    read_TCP_Data(chunk);
    showReadData(chunk);
}

void MainWindow::showReadData(const QByteArray &chunk)
{
    if (chunk.isEmpty())
        return;
    format_Read_Data(keptReceivedBytes(chunk), readDataText);
    // Trimmed before the new text goes in: a single chunk of a flood can be
    // megabytes, which the pane must never hold at once.
    if (const int cut = receivedTextCut(readDataText)) {
        const int shownCut = qMin(cut, paneShown);
        dropFromPane(ui->textEdit_Data, readDataText.left(shownCut));
        readDataText.remove(0, cut);
        paneShown -= shownCut;
    }
    // A lone reply shows at once; a stream shows at most PaneInterval late.
    const qint64 since = paneUpdated.isValid() ? paneUpdated.elapsed() : PaneInterval;
    if (since >= PaneInterval)
        updatePane();
    else if (!paneTimer.isActive())
        paneTimer.start(int(PaneInterval - since));
}

void MainWindow::updatePane()
{
    paneTimer.stop();
    const bool afterCarriageReturn =
        paneShown > 0 && readDataText.at(paneShown - 1) == QLatin1Char('\r');
    appendToPane(ui->textEdit_Data, readDataText.mid(paneShown), afterCarriageReturn);
    paneShown = readDataText.size();
    // Counted from the end, so the loop has the whole interval for other events.
    paneUpdated.start();
}

void MainWindow::on_pushButton_Clear_clicked()
{
    ui->textEdit_Data->clear();
    readDataText.clear();
    readDataFormatter.reset();
    paneTimer.stop();
    paneShown = 0;
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
