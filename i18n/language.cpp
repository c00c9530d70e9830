// PLACEHOLDER until the language work lands.
#include "app/mainwindow.h"

void MainWindow::on_action_French_triggered() {}
void MainWindow::on_action_English_triggered() {}
void MainWindow::on_action_Default_triggered() {}
void MainWindow::clear_Language_Checks() {}
void MainWindow::apply_Language() {}
