// Command frames: what each control sends, and the sent-bytes row.

#include <QButtonGroup>
#include <QSerialPort>
#include <QVariant>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "protocol/command_names.h"
#include "protocol/frames.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

namespace {
// Each sent-bytes label remembers the notation it was written in, so a click
// on the notation already shown leaves it alone instead of misreading it.
const char NotationProperty[] = "byteNotation";

void convertLabel(QLabel *label, ByteNotation to)
{
    const QVariant written = label->property(NotationProperty);
    if (written.isValid() && written.toInt() == int(to))
        return;
    label->setText(convertedByteText(label->text(), to));
    label->setProperty(NotationProperty, int(to));
}

void writeLabel(QLabel *label, quint8 byte, ByteNotation notation)
{
    label->setText(byteText(byte, notation));
    label->setProperty(NotationProperty, int(notation));
}
} // namespace

bool MainWindow::send_Command(quint8 code, quint8 value, const QString &name)
{
    if (frameLinks().isEmpty()) {
        // An attempt under way takes no frame: say so, or the operator
        // believes the player got it.
        if (tcpLinkOpen())
            reportLinkEvent(tcpLinkName(), [target = tcpTarget] {
                return tr("Not sent: still connecting to %1").arg(target);
            });
        return false;
    }
    const quint8 address =
        addressByte(ui->comboBox_ID->currentIndex() >= 0, ui->comboBox_ID->currentText());
    const QList<QIODevice *> took = write_Command(address, code, value);
    for (QIODevice *link : took)
        sessionLog.addFrame(link == serialPort ? serialLinkName() : tcpLinkName(),
                            commandFrame(address, code, value), name);
    // Only a frame that some link took is shown as sent.
    if (took.isEmpty())
        return false;
    show_Sent_Bytes(address, code, value);
    return true;
}

QString MainWindow::commandName(CommandKind kind, int argument) const
{
    const PlayerModel *model = selectedModel();
    const PlayerCommand *command = model ? lastCommandOfKind(model->commands, kind) : nullptr;
    return command ? frameName(*command, argument) : QString();
}

void MainWindow::show_Sent_Bytes(quint8 address, quint8 code, quint8 value)
{
    const ByteNotation notation =
        sentFormats->checkedId() == FormatDec ? ByteNotation::Dec : ByteNotation::Hex;
    writeLabel(ui->label_Byte_1_B, address, notation);
    writeLabel(ui->label_Byte_2_B, code, notation);
    writeLabel(ui->label_Byte_3_B, value, notation);
}

bool MainWindow::find_Command(CommandKind kind, quint8 &code, quint8 &value) const
{
    const PlayerModel *model = selectedModel();
    const PlayerCommand *command = model ? lastCommandOfKind(model->commands, kind) : nullptr;
    if (!command)
        return false;
    code = command->code;
    value = command->valueMin;
    return true;
}

bool MainWindow::find_Volume_Command(quint8 &code, quint8 &value, quint8 volume) const
{
    if (!find_Command(CommandKind::Volume, code, value))
        return false;
    value = volume;
    return true;
}

void MainWindow::play_Folder(int folder)
{
    quint8 code = 0;
    quint8 unused = 0;
    if (!find_Command(CommandKind::Folder, code, unused))
        return;
    const FrameBytes bytes = folderBytes(code, folder);
    send_Command(bytes.code, bytes.value, commandName(CommandKind::Folder, folder));
}

void MainWindow::show_Volume_Value()
{
    ui->label_Volume_2->setText(QString::number(ui->horizontalSlider_Volume->value()));
}

void MainWindow::on_radioButton_Sent_Hex_clicked()
{
    convertLabel(ui->label_Byte_1_B, ByteNotation::Hex);
    convertLabel(ui->label_Byte_2_B, ByteNotation::Hex);
    convertLabel(ui->label_Byte_3_B, ByteNotation::Hex);
}

void MainWindow::on_radioButton_Sent_Dec_clicked()
{
    convertLabel(ui->label_Byte_1_B, ByteNotation::Dec);
    convertLabel(ui->label_Byte_2_B, ByteNotation::Dec);
    convertLabel(ui->label_Byte_3_B, ByteNotation::Dec);
}

void MainWindow::on_pushButton_Folder_clicked()
{
    // No current entry reads as folder 0, like any text that is not a number.
    play_Folder(decimalOrZero(ui->comboBox_Folder->currentText()));
}

void MainWindow::on_pushButton_Change_ID_clicked()
{
    quint8 code = 0;
    quint8 value = 0;
    if (!find_Command(CommandKind::ChangeId, code, value))
        return;
    const auto newId = quint8(decimalOrZero(ui->comboBox_Change_ID->currentText()) & 0xFF);
    // Shown only for a frame that went out, or with no link to send it on.
    if (!send_Command(code, newId, commandName(CommandKind::ChangeId, newId)) && someLinkOpen())
        return;
    // Shown untranslated, the same in every interface language.
    ui->label_Player->setText(QStringLiteral("Change ID: %1 %2").arg(code).arg(newId));
}

void MainWindow::on_pushButton_Previous_Folder_clicked()
{
    sendFixedCommand(CommandKind::PreviousFolder);
}

void MainWindow::on_pushButton_Previous_File_clicked()
{
    sendFixedCommand(CommandKind::PreviousFile);
}

void MainWindow::on_pushButton_Play_clicked()
{
    sendFixedCommand(CommandKind::Play);
}

void MainWindow::on_pushButton_Stop_clicked()
{
    sendFixedCommand(CommandKind::Stop);
}

void MainWindow::on_pushButton_Pause_clicked()
{
    sendFixedCommand(CommandKind::Pause);
}

void MainWindow::on_pushButton_Next_Folder_clicked()
{
    sendFixedCommand(CommandKind::NextFolder);
}

void MainWindow::on_pushButton_Next_File_clicked()
{
    sendFixedCommand(CommandKind::NextFile);
}

void MainWindow::sendFixedCommand(CommandKind kind)
{
    quint8 code = 0;
    quint8 value = 0;
    if (find_Command(kind, code, value))
        send_Command(code, value, commandName(kind, 0));
}

void MainWindow::on_pushButton_Volume_Less_clicked()
{
    // Sends nothing itself: only a change of the value fires the volume slot.
    ui->horizontalSlider_Volume->setValue(ui->horizontalSlider_Volume->minimum());
}

void MainWindow::on_pushButton_Volume_More_clicked()
{
    ui->horizontalSlider_Volume->setValue(ui->horizontalSlider_Volume->maximum());
}

void MainWindow::on_horizontalSlider_Volume_valueChanged(int value)
{
    const auto volume = quint8((value + ui->horizontalSlider_Volume->minimum()) & 0xFF);
    quint8 code = 0;
    quint8 byte = 0;
    if (!find_Volume_Command(code, byte, volume))
        return;
    // The label follows the slider while no link is open (a model chosen);
    // with one, it shows only a volume that went out.
    if (send_Command(code, byte, commandName(CommandKind::Volume, volume)) || !someLinkOpen())
        show_Volume_Value();
}

void MainWindow::on_pushButton_Request_clicked()
{
    const PlayerModel *model = selectedModel();
    const QString label = ui->comboBox_Request->currentText();
    const FrameBytes bytes = requestBytes(model ? model->commands : QList<PlayerCommand>(), label);
    PlayerCommand request;
    request.kind = CommandKind::Request;
    request.label = label;
    send_Command(bytes.code, bytes.value, frameName(request, 0));
}

void MainWindow::Play_Folder_000() { play_Folder(0); }
void MainWindow::Play_Folder_001() { play_Folder(1); }
void MainWindow::Play_Folder_002() { play_Folder(2); }
void MainWindow::Play_Folder_003() { play_Folder(3); }
void MainWindow::Play_Folder_004() { play_Folder(4); }
void MainWindow::Play_Folder_005() { play_Folder(5); }
void MainWindow::Play_Folder_006() { play_Folder(6); }
void MainWindow::Play_Folder_007() { play_Folder(7); }
void MainWindow::Play_Folder_008() { play_Folder(8); }
void MainWindow::Play_Folder_009() { play_Folder(9); }

void MainWindow::Increase_Volume()
{
    QSlider *slider = ui->horizontalSlider_Volume;
    if (slider->value() < slider->maximum())
        slider->setSliderPosition(slider->value() + 1);
}

void MainWindow::Decrease_Volume()
{
    QSlider *slider = ui->horizontalSlider_Volume;
    if (slider->value() > slider->minimum())
        slider->setSliderPosition(slider->value() - 1);
}
