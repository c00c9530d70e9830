#ifndef GLOBALS_H
#define GLOBALS_H

#include <QList>
#include <QLocale>
#include <QString>
#include <QTranslator>

#include "link/received_data.h"
#include "protocol/catalogue.h"

class QSerialPort;
class QTcpSocket;

// Every process-wide object of the panel, constructed before the entry point in
// the order below (one translation unit keeps that order) and destroyed in
// reverse order; any other state is its window's. The constants of the
// widget-free library live beside their readers (settings/config_file.h,
// protocol/catalogue.h): nothing can observe when they are built.

extern QTranslator translator;
/// Qt's own texts (dialog buttons, context menus, socket errors) in the language
/// of the panel's translation, installed beside it.
extern QTranslator qtTranslator;
extern const QString LanguageFilePrefix;
extern const QLocale EnglishLocale;
extern const QLocale FrenchLocale;

/// The five player models, in the order of the model selector.
extern QList<PlayerModel> ModelCatalogue;

/// The two links, created closed before the application object and never
/// destroyed: the end of the process releases whatever they hold.
extern QSerialPort *const serialPort;
extern QTcpSocket *const tcpSocket;

/// What the pane shows: what was received since start or the last Clear, its
/// latest ReceivedTextLimit characters at most.
extern QString readDataText;

/// The decoding state behind readDataText: a character cut by a chunk boundary
/// waits here for its remaining bytes. Cleared together with readDataText.
extern ReceivedDataFormatter readDataFormatter;

extern QString Config_File_Path;

#endif // GLOBALS_H
