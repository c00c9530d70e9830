#include "i18n/translation_folders.h"

#include <QCoreApplication>
#include <QDir>

QString installedTranslationsFolder()
{
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/')
                           + QStringLiteral(QUORVEX_TRANSLATIONS_FROM_BINDIR));
}

QStringList translationFolders()
{
    return {QString(), QCoreApplication::applicationDirPath(), installedTranslationsFolder()};
}
