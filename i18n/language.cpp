// Language selection: the three menu entries, the process-wide translators and
// the renewal of the window's texts.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "i18n/translation_folders.h"
#include "ui_mainwindow.h"

void MainWindow::on_action_French_triggered()
{
    changeLanguage(ui->action_French);
}

void MainWindow::on_action_English_triggered()
{
    changeLanguage(ui->action_English);
}

void MainWindow::on_action_Default_triggered()
{
    changeLanguage(ui->action_Default);
}

void MainWindow::changeLanguage(QAction *chosen)
{
    // What the panel wrote into the window outlives the renewal of its texts:
    // the last frame in its notation, the volume ("..." until the slider moves).
    const QList<QLabel *> kept = {ui->label_Byte_1_B, ui->label_Byte_2_B, ui->label_Byte_3_B,
                                  ui->label_Volume_2};
    QStringList texts;
    for (const QLabel *label : kept)
        texts << label->text();
    clear_Language_Checks();
    chosen->setChecked(true);
    apply_Language();
    for (int i = 0; i < kept.size(); ++i)
        kept[i]->setText(texts[i]);
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
    const QString code = localeName.section(QLatin1Char('_'), 0, 0);
    const QString fileName = Language_File_Prefix + code;

    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&qtTranslator);
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
    // Qt's own texts follow the panel's; without Qt's file the panel still
    // speaks the language in its own texts.
    if (loaded
        && qtTranslator.load(QStringLiteral("qtbase_") + code,
                             QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);
    ui->retranslateUi(this);
    // The port label is the panel's text, not the form's: compose it anew.
    const int model = ui->comboBox_Player->currentIndex();
    if (model >= 0 && model < ModelCatalogue.size())
        showPortLabel(ModelCatalogue.at(model));
}
