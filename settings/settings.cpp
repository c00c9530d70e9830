// PLACEHOLDER until the configuration-file work lands.
#include "app/mainwindow.h"

void MainWindow::load_Config_File(QString) {}
void MainWindow::save_Config_File(QString) {}
