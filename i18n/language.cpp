// Language selection: the three menu entries, the process-wide translator and
// the renewal of the window's texts.

#include <QCoreApplication>
#include <QLocale>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "i18n/translation_folders.h"
#include "ui_mainwindow.h"

void MainWindow::on_action_French_triggered()
{
    clear_Language_Checks();
    ui->action_French->setChecked(true);
    apply_Language();
}

void MainWindow::on_action_English_triggered()
{
    clear_Language_Checks();
    ui->action_English->setChecked(true);
    apply_Language();
}

void MainWindow::on_action_Default_triggered()
{
    clear_Language_Checks();
    ui->action_Default->setChecked(true);
    apply_Language();
}

void MainWindow::clear_Language_Checks()
{
    ui->action_Default->setChecked(false);
    ui->action_English->setChecked(false);
    ui->action_French->setChecked(false);
}

void MainWindow::apply_Language()
{
    QString localeName = QLocale::system().name();
    if (ui->action_English->isChecked())
        localeName = English_Locale.name();
    if (ui->action_French->isChecked())
        localeName = French_Locale.name();
    const QString fileName =
        Language_File_Prefix + localeName.section(QLatin1Char('_'), 0, 0);

    QCoreApplication::removeTranslator(&translator);
    // The working directory first, with the toolkit's own name fallbacks; an
    // installed panel started from a menu finds its files beside it or under
    // its installation prefix.
    bool loaded = false;
    for (const QString &folder : translation_Folders()) {
        loaded = translator.load(fileName, folder);
        if (loaded)
            break;
    }
    if (loaded)
        QCoreApplication::installTranslator(&translator);
    ui->retranslateUi(this);
}
