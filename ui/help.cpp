// PLACEHOLDER until the help-menu work lands.
#include "app/mainwindow.h"

void MainWindow::on_action_Brenvale_Home_Page_triggered() {}
void MainWindow::on_action_Contact_Technical_Support_triggered() {}
void MainWindow::on_action_About_triggered() {}
