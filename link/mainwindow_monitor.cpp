// Received-data monitor: what the player sends, shown raw in the pane.

#include <QButtonGroup>
#include <QScrollBar>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTextCursor>
#include <QTextDocument>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/received_data.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

namespace {
/// The longest the pane lags behind readDataText, in milliseconds.
constexpr qint64 PaneInterval = 20;

/// Removes the first `dropped` places of the pane and appends `added` at its
/// end as plain text, never as markup, in one edit, so the document lays its
/// last paragraph out once. A CR LF pair or a lone CR is one place, one line
/// break; so a LF right after a CR already shown must not break the line twice.
void updatePaneText(QTextEdit *pane, int dropped, QString added, bool afterCarriageReturn)
{
    QTextDocument *document = pane->document();
    // A monitor is never undone; the undo stack would keep every chunk twice.
    if (document->isUndoRedoEnabled())
        document->setUndoRedoEnabled(false);
    if (afterCarriageReturn && added.startsWith(QLatin1Char('\n')))
        added.remove(0, 1);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    if (dropped > 0) {
        cursor.setPosition(dropped, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    }
    if (!added.isEmpty()) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(added);
    }
    cursor.endEditBlock();
    QScrollBar *scrollBar = pane->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
}
} // namespace

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
    if (chunk.isEmpty())
        return;
    format_Read_Data(keptReceivedBytes(chunk), readDataText);
    // Trimmed before the pane takes the new text: a single chunk of a flood
    // can be megabytes, which the pane must never hold at once.
    if (const int cut = receivedTextCut(readDataText)) {
        const int shownCut = qMin(cut, paneShown);
        paneDropped += shownCut - readDataText.leftRef(shownCut).count(QLatin1String("\r\n"));
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
    updatePaneText(ui->textEdit_Data, paneDropped, readDataText.mid(paneShown), afterCarriageReturn);
    paneDropped = 0;
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
    paneDropped = 0;
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
    switch (dataFormats->checkedId()) {
    case FormatAscii:
        readDataFormatter.append(chunk, DataFormat::Text, text);
        break;
    case FormatHex:
        readDataFormatter.append(chunk, DataFormat::Hex, text);
        break;
    case FormatDec:
        readDataFormatter.append(chunk, DataFormat::Dec, text);
        break;
    }
}
