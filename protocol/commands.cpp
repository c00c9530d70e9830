// PLACEHOLDER until the command-frame work lands: empty bodies so the window builds.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::send_Command(quint8, quint8) {}
void MainWindow::show_Sent_Bytes(quint8, quint8, quint8) {}
bool MainWindow::find_Command(CommandKind, quint8 &, quint8 &) const { return false; }
bool MainWindow::find_Volume_Command(quint8 &, quint8 &, quint8) const { return false; }
void MainWindow::play_Folder(int) {}
void MainWindow::show_Volume_Value() {}
void MainWindow::on_radioButton_Sent_Hex_clicked() {}
void MainWindow::on_radioButton_Sent_Dec_clicked() {}
void MainWindow::on_pushButton_Folder_clicked() {}
void MainWindow::on_pushButton_Change_ID_clicked() {}
void MainWindow::on_pushButton_Previous_Folder_clicked() {}
void MainWindow::on_pushButton_Previous_File_clicked() {}
void MainWindow::on_pushButton_Play_clicked() {}
void MainWindow::on_pushButton_Stop_clicked() {}
void MainWindow::on_pushButton_Pause_clicked() {}
void MainWindow::on_pushButton_Next_Folder_clicked() {}
void MainWindow::on_pushButton_Next_File_clicked() {}
void MainWindow::on_pushButton_Volume_Less_clicked() {}
void MainWindow::on_pushButton_Volume_More_clicked() {}
void MainWindow::on_horizontalSlider_Volume_valueChanged(int) {}
void MainWindow::on_pushButton_Request_clicked() {}
void MainWindow::Play_Folder_000() {}
void MainWindow::Play_Folder_001() {}
void MainWindow::Play_Folder_002() {}
void MainWindow::Play_Folder_003() {}
void MainWindow::Play_Folder_004() {}
void MainWindow::Play_Folder_005() {}
void MainWindow::Play_Folder_006() {}
void MainWindow::Play_Folder_007() {}
void MainWindow::Play_Folder_008() {}
void MainWindow::Play_Folder_009() {}
void MainWindow::Increase_Volume() {}
void MainWindow::Decrease_Volume() {}
