#include "protocol/command_names.h"

#include "protocol/panel_logic.h"

const QList<CommandWord> CommandWords = {
    {CommandKind::Play, "play"},
    {CommandKind::Stop, "stop"},
    {CommandKind::Pause, "pause"},
    {CommandKind::NextFile, "next-file"},
    {CommandKind::PreviousFile, "previous-file"},
    {CommandKind::NextFolder, "next-folder"},
    {CommandKind::PreviousFolder, "previous-folder"},
    {CommandKind::Folder, "folder"},
    {CommandKind::Volume, "volume"},
    {CommandKind::Request, "request"},
    {CommandKind::ChangeId, "change-id"},
};

const QList<RequestWord> RequestWords = {
    {RequestItem::PlayerStatus, "player-status"},
    {RequestItem::CurrentFile, "current-file"},
    {RequestItem::FullPathName, "full-path-name"},
    {RequestItem::StorageMedia, "used-storage-media"},
    {RequestItem::FolderNumber, "current-folder-number"},
    {RequestItem::RemainingTime, "remaining-time"},
    {RequestItem::TotalTime, "total-time"},
    {RequestItem::Volume, "volume"},
};

std::optional<CommandKind> commandKindNamed(const QString &word)
{
    for (const CommandWord &entry : CommandWords) {
        if (word == QLatin1String(entry.word))
            return entry.kind;
    }
    return std::nullopt;
}

QString commandWord(CommandKind kind)
{
    for (const CommandWord &entry : CommandWords) {
        if (entry.kind == kind)
            return QLatin1String(entry.word);
    }
    return {};
}

std::optional<RequestItem> requestItemNamed(const QString &word)
{
    for (const RequestWord &entry : RequestWords) {
        if (word == QLatin1String(entry.word))
            return entry.item;
    }
    return std::nullopt;
}

QString requestWord(quint8 item)
{
    for (const RequestWord &entry : RequestWords) {
        if (quint8(entry.item) == item)
            return QLatin1String(entry.word);
    }
    return {};
}

QStringList requestWords(const PlayerModel &model)
{
    QStringList words;
    for (const PlayerCommand &command : model.commands) {
        const QString word = requestWord(command.valueMin);
        if (command.kind == CommandKind::Request && !word.isEmpty() && !words.contains(word))
            words << word;
    }
    return words;
}

QString frameName(const PlayerCommand &command, int argument)
{
    switch (command.kind) {
    case CommandKind::Folder:
        return QStringLiteral("folder ") + folderNumberText(argument);
    case CommandKind::Volume:
        return QStringLiteral("volume %1").arg(argument);
    case CommandKind::ChangeId:
        return QStringLiteral("change ID to %1").arg(argument);
    case CommandKind::Request:
        return QStringLiteral("request ") + command.label;
    default:
        // A log reads "next file": the word with its hyphen as a blank.
        return commandWord(command.kind).replace(QLatin1Char('-'), QLatin1Char(' '));
    }
}
