#ifndef SIM_REPLY_H
#define SIM_REPLY_H

#include <QByteArray>
#include <QString>

#include "protocol/catalogue.h"
#include "sim/player_state.h"

/// The simulator's own answer to a request: one ASCII line "ID <id> <KEY> <value>"
/// ended by a line feed, e.g. "ID 5 REMAINING 02:13\n". Empty for an item that
/// has no answer. The real players' format is unknown; this one is made to be
/// read in the panel's text pane.
QByteArray formatReply(quint8 item, const PlayerSnapshot &state);

/// "PLAYING", "PAUSED" or "STOPPED", as the status reply says it.
QString statusWord(Transport transport);

/// Milliseconds as "mm:ss", seconds truncated; minutes keep counting past 99.
QString clockText(qint64 ms);

/// "003.MP3": the current file's name on the simulated medium.
QString fileName(int file);

/// "/007/003.MP3": folder and file on the simulated medium.
QString fullPathName(int folder, int file);

#endif // SIM_REPLY_H
