// PLACEHOLDER until the shortcut work lands.
#include "app/mainwindow.h"

void MainWindow::create_Shortcuts() {}
