#ifndef TRANSLATION_FOLDERS_H
#define TRANSLATION_FOLDERS_H

#include <QStringList>

/// Where a translation file is looked for, in this order: the current working
/// directory (an empty entry: the file name alone), the executable's folder,
/// then the folder the installation puts the translations in.
QStringList translationFolders();

/// The installed translations folder, found from the executable's folder so
/// that an installation under any prefix finds its own files.
QString installedTranslationsFolder();

#endif // TRANSLATION_FOLDERS_H
