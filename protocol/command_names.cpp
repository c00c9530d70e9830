#include "protocol/command_names.h"

#include "protocol/panel_logic.h"

#include <algorithm>

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

namespace {

template <typename Entry, typename Accepts>
const Entry *findEntry(const QList<Entry> &entries, Accepts accepts)
{
    const auto found = std::find_if(entries.cbegin(), entries.cend(), accepts);
    return found == entries.cend() ? nullptr : &*found;
}

} // namespace

std::optional<CommandKind> commandKindNamed(const QString &word)
{
    const auto *entry = findEntry(CommandWords, [&word](const CommandWord &e) { return word == QLatin1String(e.word); });
    return entry ? std::optional(entry->kind) : std::nullopt;
}

QString commandWord(CommandKind kind)
{
    const auto *entry = findEntry(CommandWords, [kind](const CommandWord &e) { return e.kind == kind; });
    return entry ? QLatin1String(entry->word) : QString();
}

std::optional<RequestItem> requestItemNamed(const QString &word)
{
    const auto *entry = findEntry(RequestWords, [&word](const RequestWord &e) { return word == QLatin1String(e.word); });
    return entry ? std::optional(entry->item) : std::nullopt;
}

QString requestWord(quint8 item)
{
    const auto *entry = findEntry(RequestWords, [item](const RequestWord &e) { return quint8(e.item) == item; });
    return entry ? QLatin1String(entry->word) : QString();
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
