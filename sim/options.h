#ifndef SIM_OPTIONS_H
#define SIM_OPTIONS_H

#include <QHostAddress>
#include <QString>
#include <QStringList>

#include "protocol/catalogue.h"

/// Everything the command line decides, already checked against the model.
struct SimOptions
{
    bool listenTcp = true;
    QHostAddress listenAddress = QHostAddress(QHostAddress::LocalHost);
    quint16 listenPort = 0;     ///< 0 lets the system choose a free port
    QString serialDevice;       ///< empty: no serial line
    qint32 baudRate = 0;
    PlayerModel model;
    quint8 id = 1;
    bool quiet = false;
    qint64 exitAfterMs = 0;     ///< 0: run until a signal
    bool showHelp = false;
    bool showVersion = false;
};

/// The options, or the reason they cannot be used (error is then non-empty).
struct ParsedOptions
{
    SimOptions options;
    QString error;
};

/// Reads a command line whose first entry is the program name. Without
/// --serial the simulator listens on TCP; with it, only if --listen is given.
ParsedOptions parseOptions(const QStringList &arguments);

/// The --help text.
QString usageText();

#endif // SIM_OPTIONS_H
