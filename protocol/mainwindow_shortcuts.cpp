// Keyboard shortcuts: folders 0-9, the volume steps and the media keys.

#include <QAction>
#include <QKeySequence>

#include "app/mainwindow.h"

void MainWindow::create_Shortcuts()
{
    using Slot = void (MainWindow::*)();
    const struct
    {
        int keys;
        Slot slot;
    } shortcuts[] = {
        {Qt::CTRL + Qt::Key_0, &MainWindow::Play_Folder_000},
        {Qt::CTRL + Qt::Key_1, &MainWindow::Play_Folder_001},
        {Qt::CTRL + Qt::Key_2, &MainWindow::Play_Folder_002},
        {Qt::CTRL + Qt::Key_3, &MainWindow::Play_Folder_003},
        {Qt::CTRL + Qt::Key_4, &MainWindow::Play_Folder_004},
        {Qt::CTRL + Qt::Key_5, &MainWindow::Play_Folder_005},
        {Qt::CTRL + Qt::Key_6, &MainWindow::Play_Folder_006},
        {Qt::CTRL + Qt::Key_7, &MainWindow::Play_Folder_007},
        {Qt::CTRL + Qt::Key_8, &MainWindow::Play_Folder_008},
        {Qt::CTRL + Qt::Key_9, &MainWindow::Play_Folder_009},
        {Qt::CTRL + Qt::Key_Plus, &MainWindow::Increase_Volume},
        {Qt::CTRL + Qt::Key_Minus, &MainWindow::Decrease_Volume},
        {Qt::Key_MediaPlay, &MainWindow::on_pushButton_Play_clicked},
        {Qt::Key_MediaStop, &MainWindow::on_pushButton_Stop_clicked},
        {Qt::Key_MediaNext, &MainWindow::on_pushButton_Next_File_clicked},
        {Qt::Key_MediaPrevious, &MainWindow::on_pushButton_Previous_File_clicked},
        {Qt::Key_MediaPause, &MainWindow::on_pushButton_Pause_clicked},
        {Qt::CTRL + Qt::Key_MediaNext, &MainWindow::on_pushButton_Next_Folder_clicked},
        {Qt::CTRL + Qt::Key_MediaPrevious, &MainWindow::on_pushButton_Previous_Folder_clicked},
    };
    // Actions of the window itself answer whenever it is the active window,
    // whatever widget has the focus and whether or not the button is enabled.
    for (const auto &shortcut : shortcuts) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(shortcut.keys));
        connect(action, &QAction::triggered, this, shortcut.slot);
        addAction(action);
    }
}
