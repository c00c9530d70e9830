// Language selection: the three menu entries, the process-wide translators and
// the renewal of the window's texts.

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

#include "app/globals.h"
#include "app/mainwindow.h"
#include "i18n/translation_folders.h"
#include "settings/config_file.h"
#include "ui_mainwindow.h"

namespace {

/// One entry of the language menu: its action and its locale, which names the
/// translation to install and, by its language's English name, the entry's
/// text in the configuration file.
struct MenuLanguage
{
    QAction *Ui::MainWindow::*action;
    const QLocale *locale; ///< nullptr: the system's, kept as "(default)"
};

// In menu order. A later entry wins when several are checked, French over English.
const MenuLanguage Languages[] = {
    {&Ui::MainWindow::action_Default, nullptr},
    {&Ui::MainWindow::action_English, &EnglishLocale},
    {&Ui::MainWindow::action_French, &FrenchLocale},
};

QString configValue(const MenuLanguage &language)
{
    return language.locale ? QLocale::languageToString(language.locale->language())
                           : ConfigDefaultValue;
}

/// The checked entry that names a language, or nullptr for the system's.
const MenuLanguage *checkedNamedLanguage(const Ui::MainWindow &ui)
{
    const MenuLanguage *checked = nullptr;
    for (const MenuLanguage &language : Languages) {
        if (language.locale && (ui.*language.action)->isChecked())
            checked = &language;
    }
    return checked;
}

} // namespace

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
    for (const MenuLanguage &language : Languages)
        ((*ui).*language.action)->setChecked(false);
}

QString MainWindow::checkedLanguage() const
{
    const MenuLanguage *checked = checkedNamedLanguage(*ui);
    return configValue(checked ? *checked : Languages[0]);
}

void MainWindow::checkLanguage(const QString &configText)
{
    clear_Language_Checks();
    // Any other text, an empty line included, stands for the system's language.
    const MenuLanguage *chosen = &Languages[0];
    for (const MenuLanguage &language : Languages) {
        if (configValue(language) == configText)
            chosen = &language;
    }
    ((*ui).*chosen->action)->setChecked(true);
}

void MainWindow::apply_Language()
{
    const MenuLanguage *checked = checkedNamedLanguage(*ui);
    const QString localeName = checked ? checked->locale->name() : QLocale::system().name();
    const QString code = localeName.section(QLatin1Char('_'), 0, 0);
    const QString fileName = LanguageFilePrefix + code;

    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&qtTranslator);
    // The working directory first, with Qt's own name fallbacks; an installed
    // panel started from a menu finds its files beside it or under its
    // installation prefix.
    bool loaded = false;
    for (const QString &folder : translationFolders()) {
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
    if (const PlayerModel *model = selectedModel())
        showPortLabel(*model);
    // So is the status message on view.
    renderStatus();
}
