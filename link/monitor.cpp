// PLACEHOLDER until the received-data work lands.
#include "app/mainwindow.h"

void MainWindow::update_Serial_Read_Data() {}
void MainWindow::update_TCP_Read_Data() {}
void MainWindow::on_pushButton_Clear_clicked() {}
void MainWindow::read_Serial_Data(QByteArray &) {}
void MainWindow::read_TCP_Data(QByteArray &) {}
void MainWindow::format_Read_Data(const QByteArray &, QString &) {}
