#include "i18n/translation_folders.h"

#include <QCoreApplication>
#include <QDir>

QString installed_Translations_Folder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QStringLiteral(QUORVEX_TRANSLATIONS_FROM_BINDIR));
}

QStringList translation_Folders()
{
    return {QString(), QCoreApplication::applicationDirPath(), installed_Translations_Folder()};
}
