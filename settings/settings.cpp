// Configuration file: the window's widgets to and from the 24 lines.

#include <QFile>
#include <QSaveFile>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

namespace {

std::optional<QString> currentText(const QComboBox *box)
{
    if (box->currentIndex() < 0)
        return std::nullopt;
    return box->currentText();
}

/// Makes the item with exactly this text current; false when there is none.
bool selectText(QComboBox *box, const QString &text)
{
    const int index = box->findData(text, Qt::DisplayRole, Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    box->setCurrentIndex(index);
    return true;
}

ConfigSettings settingsShown(const Ui::MainWindow &ui)
{
    ConfigSettings settings;
    // French wins over English, as when the language is applied.
    if (ui.action_English->isChecked())
        settings.language = ConfigLanguage::English;
    if (ui.action_French->isChecked())
        settings.language = ConfigLanguage::French;
    settings.model = currentText(ui.comboBox_Player);
    settings.port = currentText(ui.comboBox_Port);
    settings.baudRate = currentText(ui.comboBox_Baudrate);
    settings.ip = {ui.spinBox_IP_1->value(), ui.spinBox_IP_2->value(),
                   ui.spinBox_IP_3->value(), ui.spinBox_IP_4->value()};
    settings.autoConnection = ui.checkBox_Auto_connection->isChecked();
    settings.playerId = currentText(ui.comboBox_ID);
    if (ui.radioButton_Sent_Hex->isChecked())
        settings.sentFormat = FormatHex;
    else if (ui.radioButton_Sent_Dec->isChecked())
        settings.sentFormat = FormatDec;
    if (ui.radioButton_Data_ASCII->isChecked())
        settings.dataFormat = FormatAscii;
    else if (ui.radioButton_Data_Hex->isChecked())
        settings.dataFormat = FormatHex;
    else if (ui.radioButton_Data_Dec->isChecked())
        settings.dataFormat = FormatDec;
    return settings;
}

/// Checks the radio buttons the file names; other codes leave them as they are.
void applyFormats(Ui::MainWindow &ui, const ConfigFileValues &values)
{
    if (values.sentFormat == FormatHex)
        ui.radioButton_Sent_Hex->setChecked(true);
    else if (values.sentFormat == FormatDec)
        ui.radioButton_Sent_Dec->setChecked(true);

    if (values.dataFormat == FormatAscii)
        ui.radioButton_Data_ASCII->setChecked(true);
    else if (values.dataFormat == FormatHex)
        ui.radioButton_Data_Hex->setChecked(true);
    else if (values.dataFormat == FormatDec)
        ui.radioButton_Data_Dec->setChecked(true);
}

} // namespace

void MainWindow::load_Config_File(QString path)
{
    path = config_File_Or_Fallback(path);
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    const std::optional<ConfigFileValues> values = read_Config_Lines(&file);
    file.close();
    if (!values)
        return;

    clear_Language_Checks();
    switch (values->language) {
    case ConfigLanguage::English:
        ui->action_English->setChecked(true);
        break;
    case ConfigLanguage::French:
        ui->action_French->setChecked(true);
        break;
    case ConfigLanguage::Default:
        ui->action_Default->setChecked(true);
        break;
    }

    // The model first: it refills the speed and ID selectors looked up below.
    if (selectText(ui->comboBox_Player, values->model)) {
        hide_Player_Controls();
        update_Player_Panel(ui->comboBox_Player->currentIndex());
    }
    selectText(ui->comboBox_Port, values->port);
    selectText(ui->comboBox_Baudrate, values->baudRate);

    QSpinBox *const ipBoxes[] = {ui->spinBox_IP_1, ui->spinBox_IP_2, ui->spinBox_IP_3,
                                 ui->spinBox_IP_4};
    for (int i = 0; i < 4; ++i) {
        if (values->ip[i])
            ipBoxes[i]->setValue(*values->ip[i]);
    }
    if (values->autoConnection)
        ui->checkBox_Auto_connection->setChecked(true);
    selectText(ui->comboBox_ID, values->playerId);
    applyFormats(*ui, *values);
}

void MainWindow::save_Config_File(QString path)
{
    path = config_File_Or_Fallback(path);
    ui->textEdit_Data->append(path + Config_Before_Save);
    const ConfigSettings settings = settingsShown(*ui);

    // The new lines go to a temporary file that replaces the old one only once
    // complete, so a failed or interrupted save keeps the previous settings.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    ui->textEdit_Data->append(path + Config_After_Save);
    // "(after save)" still marks the opened file; a save that fails after it
    // says so rather than pass for a success.
    if (!write_Config_Lines(&file, settings))
        file.cancelWriting();
    if (!file.commit())
        ui->textEdit_Data->append(path + Config_Save_Failed);
}
