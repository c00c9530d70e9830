// Player selection and panel reconfiguration: which controls the selected
// model shows, what its selectors hold, and what the link state enables.

#include "app/globals.h"
#include "app/mainwindow.h"
#include "link/link.h"
#include "protocol/panel_logic.h"
#include "ui_mainwindow.h"

void MainWindow::fill_Model_Catalogue()
{
    appendModelCatalogue(ModelCatalogue);
    for (const PlayerModel &model : qAsConst(ModelCatalogue))
        ui->comboBox_Player->addItem(model.name);
}

void MainWindow::init_Controls()
{
    ui->action_Default->setChecked(true);
    ui->radioButton_Sent_Hex->setChecked(true);
    ui->radioButton_Data_ASCII->setChecked(true);
    ui->label_Byte_1_B->setText(QString());
    ui->label_Byte_2_B->setText(QString());
    ui->label_Byte_3_B->setText(QString());
    if (ui->comboBox_Player->count() > 0)
        ui->comboBox_Player->setCurrentIndex(0);
}

void MainWindow::hide_Player_Controls()
{
    const QList<QWidget *> modelDependent = {
        ui->frame_Port,
        ui->frame_Baudrate,
        ui->frame_IP,
        ui->frame_ID,
        ui->frame_Change_ID,
        ui->line_after_Change_ID,
        ui->line_after_ID,
        ui->frame_Folder,
        ui->line_ID_and_Folder,
        ui->frame_Playback_Command,
        ui->pushButton_Previous_Folder,
        ui->pushButton_Previous_File,
        ui->pushButton_Play,
        ui->pushButton_Stop,
        ui->pushButton_Pause,
        ui->pushButton_Next_Folder,
        ui->pushButton_Next_File,
        ui->line_Playback_Command,
        ui->frame_Volume,
        ui->pushButton_Volume_Less,
        ui->pushButton_Volume_More,
        ui->line_Volume,
        ui->frame_Request,
        ui->line_Request,
    };
    for (QWidget *widget : modelDependent)
        widget->setVisible(false);
}

const PlayerModel *MainWindow::selectedModel() const
{
    return modelAt(ModelCatalogue, ui->comboBox_Player->currentIndex());
}

void MainWindow::update_Player_Panel(int index)
{
    const PlayerModel *selected = modelAt(ModelCatalogue, index);
    if (!selected)
        return;

    ui->comboBox_Baudrate->clear();
    ui->comboBox_ID->clear();
    ui->comboBox_Change_ID->clear();
    ui->comboBox_Folder->clear();
    ui->comboBox_Request->clear();
    hide_Player_Controls();

    const PlayerModel &model = *selected;
    const bool serial = model.linkKind == LinkKind::Serial;
    if (serial) {
        ui->frame_Port->setVisible(true);
        ui->frame_Baudrate->setVisible(true);
        for (const qint32 speed : model.baudRates) {
            ui->comboBox_Baudrate->addItem(QString::number(speed));
            if (speed == model.defaultBaudRate)
                ui->comboBox_Baudrate->setCurrentIndex(ui->comboBox_Baudrate->count() - 1);
        }
        if (ui->comboBox_Baudrate->count() > 0)
            ui->frame_Baudrate->setEnabled(true);
    } else {
        showPortLabel(model);
        ui->frame_IP->setVisible(true);
    }

    ui->comboBox_ID->addItem(QStringLiteral("0"));
    const QStringList ids = playerIdTexts(model.idMin, model.idMax);
    ui->comboBox_ID->addItems(ids);
    ui->comboBox_Change_ID->addItems(ids);
    if (ui->comboBox_ID->count() > 0 && serial) {
        ui->frame_ID->setVisible(true);
        ui->line_ID_and_Folder->setVisible(true);
        ui->line_after_ID->setVisible(true);
    }

    for (const PlayerCommand &command : model.commands)
        showCommandControls(model, command);
}

void MainWindow::showCommandControls(const PlayerModel &model, const PlayerCommand &command)
{
    QWidget *playbackButton = nullptr;
    switch (command.kind) {
    case CommandKind::Folder:
        ui->comboBox_Folder->addItems(
            folderNumberTexts(model.folderBanks, command.valueMin, command.valueMax));
        if (ui->comboBox_Folder->count() > 0)
            ui->frame_Folder->setVisible(true);
        return;
    case CommandKind::PreviousFolder:
        playbackButton = ui->pushButton_Previous_Folder;
        break;
    case CommandKind::PreviousFile:
        playbackButton = ui->pushButton_Previous_File;
        break;
    case CommandKind::Play:
        playbackButton = ui->pushButton_Play;
        break;
    case CommandKind::Stop:
        playbackButton = ui->pushButton_Stop;
        break;
    case CommandKind::Pause:
        playbackButton = ui->pushButton_Pause;
        break;
    case CommandKind::NextFile:
        playbackButton = ui->pushButton_Next_File;
        break;
    case CommandKind::NextFolder:
        playbackButton = ui->pushButton_Next_Folder;
        break;
    case CommandKind::Volume:
        // Setting the range and value may fire the volume slot; it sends
        // nothing, since the panel is only reconfigured with no link open.
        ui->horizontalSlider_Volume->setMinimum(command.valueMin);
        ui->horizontalSlider_Volume->setMaximum(command.valueMax);
        ui->frame_Volume->setVisible(true);
        ui->pushButton_Volume_Less->setVisible(true);
        ui->pushButton_Volume_More->setVisible(true);
        ui->horizontalSlider_Volume->setValue(command.valueMax);
        ui->line_Volume->setVisible(true);
        return;
    case CommandKind::Request:
        ui->comboBox_Request->addItem(command.label);
        ui->frame_Request->setVisible(true);
        ui->line_Request->setVisible(true);
        return;
    case CommandKind::ChangeId:
        if (model.linkKind == LinkKind::Serial) {
            ui->frame_Change_ID->setVisible(true);
            ui->line_after_Change_ID->setVisible(true);
        }
        return;
    default:
        return;
    }
    ui->frame_Playback_Command->setVisible(true);
    playbackButton->setVisible(true);
    ui->line_Playback_Command->setVisible(true);
}

void MainWindow::showPortLabel(const PlayerModel &model)
{
    if (model.linkKind != LinkKind::Serial)
        ui->label_IP_Port->setText(tr("( Port Number: %1 )").arg(model.tcpPort));
}

void MainWindow::on_comboBox_Player_activated(int index)
{
    update_Player_Panel(index);
}

void MainWindow::update_Connection_Controls()
{
    const bool linkOpen = someLinkOpen();
    ui->frame_Player->setEnabled(!linkOpen && ui->comboBox_Player->count() > 0);
    // A device path can be typed even when the system lists no port.
    ui->frame_Port->setEnabled(!linkOpen);
    ui->frame_Baudrate->setEnabled(!linkOpen && ui->comboBox_Baudrate->count() > 0);
    ui->frame_Settings->setEnabled(!linkOpen);
    ui->pushButton_Connect->setEnabled(!linkOpen);
    ui->pushButton_Disconnect->setEnabled(linkOpen);
    ui->frame_Commands->setEnabled(linkOpen);
}
