#ifndef COMMAND_NAMES_H
#define COMMAND_NAMES_H

#include <QString>
#include <QStringList>

#include <optional>

#include "protocol/catalogue.h"

/// The word each control's command goes by, on a command line and in a log,
/// in the panel's order: "play", "next-file", "folder", "change-id".
struct CommandWord
{
    CommandKind kind;
    const char *word;
};
extern const QList<CommandWord> CommandWords;

/// The word of each request item: "player-status", "total-time".
struct RequestWord
{
    RequestItem item;
    const char *word;
};
extern const QList<RequestWord> RequestWords;

/// The kind named by `word` (exactly, lower case), or nothing.
std::optional<CommandKind> commandKindNamed(const QString &word);

/// The word of `kind`; empty for a kind that serves no control.
QString commandWord(CommandKind kind);

/// The item named by `word`, or nothing.
std::optional<RequestItem> requestItemNamed(const QString &word);

/// The word of the request item carried in a value byte; empty for none.
QString requestWord(quint8 item);

/// The words of the model's request items, in the model's order.
QStringList requestWords(const PlayerModel &model);

/// What a frame of `command` says, as a log names it: "play", "next file",
/// "folder 012", "volume 20", "request Player Status", "change ID to 5".
/// `argument` is the folder number, the volume or the new ID; the other
/// kinds ignore it.
QString frameName(const PlayerCommand &command, int argument);

#endif // COMMAND_NAMES_H
