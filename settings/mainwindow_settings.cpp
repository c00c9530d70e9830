// Configuration file: the window's widgets to and from the 24 lines.

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cstdio>

#include "app/mainwindow.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

namespace {

/// The checked button's code; nothing when no button is checked.
std::optional<int> checkedFormat(const QButtonGroup *group)
{
    const int code = group->checkedId();
    return code < 0 ? std::nullopt : std::optional<int>(code);
}

/// Checks the radio button of `code`; other codes leave the buttons as they are.
void checkFormat(const QButtonGroup *group, std::optional<int> code)
{
    if (QAbstractButton *button = code ? group->button(*code) : nullptr)
        button->setChecked(true);
}

std::array<QSpinBox *, 4> ipBoxes(const Ui::MainWindow &ui)
{
    return {ui.spinBox_IP_1, ui.spinBox_IP_2, ui.spinBox_IP_3, ui.spinBox_IP_4};
}

QString currentText(const QComboBox *box)
{
    return box->currentIndex() < 0 ? ConfigDefaultValue : box->currentText();
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

/// Everything but the language and the formats, which the menu and the groups know.
ConfigSettings settingsShown(const Ui::MainWindow &ui)
{
    ConfigSettings settings;
    settings.model = currentText(ui.comboBox_Player);
    // Typed or listed alike: the box's text is the port.
    const QString port = ui.comboBox_Port->currentText();
    settings.port = port.isEmpty() ? ConfigDefaultValue : port;
    settings.baudRate = currentText(ui.comboBox_Baudrate);
    const auto boxes = ipBoxes(ui);
    for (int i = 0; i < 4; ++i)
        settings.ip[i] = boxes[i]->value();
    settings.autoConnection = ui.checkBox_Auto_connection->isChecked();
    settings.playerId = currentText(ui.comboBox_ID);
    return settings;
}

/// Moves a file the reader could not use to `backup`, replacing what is
/// there, before the save at exit takes its place: renamed, never copied, so
/// nothing large is duplicated.
bool keepAside(const QString &path, const QString &backup)
{
    QFile::remove(backup);
    return QFile::rename(path, backup);
}

/// Standard error: at exit the window that could say it is gone.
void complain(const QString &message)
{
    std::fputs(qUtf8Printable(message + QLatin1Char('\n')), stderr);
}

} // namespace

void MainWindow::load_Config_File(QString path)
{
    path = configFileOrFallback(path);
    const ConfigFileContents saved = readConfigFile(path);
    if (saved.status == ConfigFileStatus::Missing)
        return;
    const std::optional<ConfigSettings> &settings = saved.settings;
    if (!settings) {
        const QString backup = path + QStringLiteral(".bak");
        if (keepAside(path, backup)) {
            showStatus([backup] {
                return tr("Unusable settings file kept as %1; defaults in use")
                           .arg(QFileInfo(backup).fileName())
                       + QLatin1Char('\n') + backup;
            });
        } else {
            showStatus([path] {
                return tr("Unusable settings file; defaults in use") + QLatin1Char('\n')
                       + tr("%1 could not be kept and is replaced at exit").arg(path);
            });
        }
        return;
    }

    checkLanguage(settings->language);
    // The model first: it refills the speed and ID selectors looked up below.
    if (selectText(ui->comboBox_Player, settings->model)) {
        hide_Player_Controls();
        update_Player_Panel(ui->comboBox_Player->currentIndex());
    }
    // A port not listed now (unplugged, or a path) is kept as the box's text.
    if (!settings->port.isEmpty() && settings->port != ConfigDefaultValue)
        showPort(settings->port);
    selectText(ui->comboBox_Baudrate, settings->baudRate);
    const auto boxes = ipBoxes(*ui);
    for (int i = 0; i < 4; ++i) {
        if (settings->ip[i])
            boxes[i]->setValue(*settings->ip[i]);
    }
    if (settings->autoConnection)
        ui->checkBox_Auto_connection->setChecked(true);
    selectText(ui->comboBox_ID, settings->playerId);
    checkFormat(sentFormats, settings->sentFormat);
    checkFormat(dataFormats, settings->dataFormat);
}

void MainWindow::save_Config_File(QString path)
{
    path = configFileOrFallback(path);
    ui->textEdit_Data->append(path + ConfigBeforeSave);
    ConfigSettings settings = settingsShown(*ui);
    settings.language = checkedLanguage();
    settings.sentFormat = checkedFormat(sentFormats);
    settings.dataFormat = checkedFormat(dataFormats);

    // The new lines go to a temporary file that replaces the old one only once
    // complete, so a failed or interrupted save keeps the previous settings.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        complain(tr("Cannot save the settings to %1: %2").arg(path, file.errorString()));
        return;
    }
    ui->textEdit_Data->append(path + ConfigAfterSave);
    // "(after save)" still marks the opened file; a save that fails after it
    // says so rather than pass for a success.
    if (!writeConfigLines(&file, settings))
        file.cancelWriting();
    if (!file.commit()) {
        ui->textEdit_Data->append(path + ConfigSaveFailed);
        complain(tr("Cannot save the settings to %1: %2").arg(path, file.errorString()));
    }
}
