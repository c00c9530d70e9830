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

/// Moves what the reader could not use out of the settings file's way before
/// the save at exit takes its place: to `.bak`, replacing a file there, else
/// to the first free `.bak.N`. Renamed, never copied, so nothing large is
/// duplicated; a link is moved as itself. Returns the new path, empty when no
/// name took it.
QString keepAside(const QString &path)
{
    // A failed rename falls back to copying, which would wait on a FIFO: a
    // folder that takes no new names fails here instead.
    if (!QFileInfo(QFileInfo(path).absolutePath()).isWritable())
        return QString();
    const QString backup = path + QStringLiteral(".bak");
    QFile::remove(backup);
    if (QFile::rename(path, backup))
        return backup;
    for (int n = 1; n <= ConfigBackupLast; ++n) {
        const QString numbered = backup + QLatin1Char('.') + QString::number(n);
        const QFileInfo there(numbered);
        if (!there.exists() && !there.isSymLink() && QFile::rename(path, numbered))
            return numbered;
    }
    return QString();
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
    // A crashed panel's lock is taken over: tryLock asks whether its owner
    // still runs. One that cannot be made at all (an unwritable folder) lets
    // the save at exit try, and say why it fails.
    settingsLock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
    if (!settingsLock->tryLock(100) && settingsLock->error() == QLockFile::LockFailedError) {
        settingsSaved = false;
        showStatus([path] {
            return tr("Settings file in use by another panel; this session's settings will not be saved")
                   + QLatin1Char('\n') + path;
        });
    }
    const ConfigFileContents saved = readConfigFile(path);
    const std::optional<ConfigSettings> &settings = saved.settings;
    // Another panel's file is left to it, usable or not.
    if (!settings && saved.status != ConfigFileStatus::Missing && settingsSaved)
        keepUnusable(path, saved.status == ConfigFileStatus::DanglingLink);
    if (!settings)
        return;

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

void MainWindow::keepUnusable(const QString &path, bool dangling)
{
    const QString backup = keepAside(path);
    if (backup.isEmpty()) {
        // Left in place, and not written over at exit either.
        settingsSaved = false;
        const auto text = [path] {
            return tr("Unusable settings file left as it is; this session's settings will not be saved")
                   + QLatin1Char('\n') + path;
        };
        complain(text());
        showStatus(text);
        return;
    }
    showStatus([backup, dangling] {
        const QString name = QFileInfo(backup).fileName();
        return (dangling ? tr("Settings link to a missing file moved to %1; defaults in use").arg(name)
                         : tr("Unusable settings file kept as %1; defaults in use").arg(name))
               + QLatin1Char('\n') + backup;
    });
}

void MainWindow::save_Config_File(QString path)
{
    if (!settingsSaved)
        return;
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
