// PLACEHOLDER until the link work lands.
#include "app/mainwindow.h"

void MainWindow::on_pushButton_Connect_clicked() {}
void MainWindow::on_pushButton_Disconnect_clicked() {}
void MainWindow::update_Serial_Ports() {}
void MainWindow::connect_Player() {}
void MainWindow::connect_Serial() {}
void MainWindow::connect_TCP() {}
void MainWindow::open_Serial_Port(int, const QString &) {}
void MainWindow::open_TCP_Socket(const QString &, quint16) {}
void MainWindow::disconnect_Player() {}
void MainWindow::close_Serial_Port() {}
void MainWindow::close_TCP_Socket() {}
