// The command words of a send, read and checked against the model before any
// link opens: a fault anywhere means nothing is sent.

#include "send/commands.h"

#include <QRegularExpression>

#include <functional>

#include "protocol/command_names.h"
#include "protocol/frames.h"
#include "protocol/panel_logic.h"

namespace {

/// Shown in an error: control characters escaped, long texts cut, so a hostile
/// script cannot drive the terminal.
QString quoted(const QString &text)
{
    constexpr int Longest = 60;
    QString shown;
    for (const QChar c : text.left(Longest)) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            shown += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    if (text.size() > Longest)
        shown += QStringLiteral("...");
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

/// A plain decimal number of at most nine digits ("007" is 7), or -1.
int plainNumber(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    return digits.match(text).hasMatch() ? text.toInt() : -1;
}

struct Range
{
    int low = 0;
    int high = 0;
};

/// The folders the panel's selector offers for the model's Folder command.
Range folderRange(const PlayerModel &model, const PlayerCommand &folder)
{
    const QStringList texts = folderNumberTexts(model.folderBanks, folder.valueMin, folder.valueMax);
    return texts.isEmpty() ? Range{0, -1} : Range{texts.first().toInt(), texts.last().toInt()};
}

/// The range of a command's argument: folder, volume or new ID.
Range argumentRange(const PlayerModel &model, const PlayerCommand &command)
{
    switch (command.kind) {
    case CommandKind::Folder:
        return folderRange(model, command);
    case CommandKind::ChangeId:
        return {model.idMin, model.idMax};
    default:
        return {command.valueMin, command.valueMax};
    }
}

bool takesArgument(CommandKind kind)
{
    return kind == CommandKind::Folder || kind == CommandKind::Volume
           || kind == CommandKind::Request || kind == CommandKind::ChangeId;
}

/// "volume 0 to 31", "request player-status, ...": how the model takes a command.
QString usage(const PlayerModel &model, const PlayerCommand &command)
{
    const QString word = commandWord(command.kind);
    if (command.kind == CommandKind::Request)
        return word + QStringLiteral(" ITEM, ITEM one of ") + requestWords(model).join(QStringLiteral(", "));
    if (!takesArgument(command.kind))
        return word;
    const Range range = argumentRange(model, command);
    return QStringLiteral("%1 %2 to %3").arg(word).arg(range.low).arg(range.high);
}

QString waitUsage()
{
    return QStringLiteral("wait 0 to %1 (milliseconds)").arg(LongestWaitMs);
}

/// Each command of the model once (the last of a kind, as the panel finds it), in the words' order.
QList<const PlayerCommand *> modelCommands(const PlayerModel &model)
{
    QList<const PlayerCommand *> commands;
    for (const CommandWord &entry : CommandWords) {
        if (const PlayerCommand *command = lastCommandOfKind(model.commands, entry.kind))
            commands << command;
    }
    return commands;
}

QString modelCommandWords(const PlayerModel &model)
{
    QStringList words;
    for (const PlayerCommand *command : modelCommands(model))
        words << commandWord(command->kind);
    return words.join(QStringLiteral(", ")) + QStringLiteral(", wait");
}

QString takes(const PlayerModel &model, const PlayerCommand &command)
{
    return QStringLiteral("model \"%1\" takes %2").arg(model.name, usage(model, command));
}

/// The model's request for the item named `word`, or nullptr.
const PlayerCommand *requestNamed(const PlayerModel &model, const QString &word)
{
    const std::optional<RequestItem> item = requestItemNamed(word.toLower());
    if (!item)
        return nullptr;
    return lastCommand(model.commands, [&item](const PlayerCommand &command) {
        return command.kind == CommandKind::Request && command.valueMin == quint8(*item);
    });
}

/// The frame of `command` with its argument, if it takes one, checked against the target.
QString readFrame(const PlayerCommand &command, const QString &argument, const SendTarget &target,
                  SendStep &step)
{
    const PlayerModel &model = target.model;
    const PlayerCommand *named = &command;
    FrameBytes bytes = {command.code, command.valueMin};
    int value = 0;
    if (command.kind == CommandKind::Request) {
        named = requestNamed(model, argument);
        if (!named)
            return takes(model, command);
        bytes = {named->code, named->valueMin};
        step.request = true;
    } else if (takesArgument(command.kind)) {
        const Range range = argumentRange(model, command);
        value = plainNumber(argument);
        if (value < range.low || value > range.high)
            return takes(model, command);
        if (command.kind == CommandKind::ChangeId && !target.idGiven)
            return QStringLiteral("change-id needs an explicit --id (ID 0 reaches every player on the line)");
        bytes = command.kind == CommandKind::Folder ? folderBytes(command.code, value)
                                                    : FrameBytes{command.code, quint8(value)};
    }
    step.frame = commandFrame(quint8(AddressBase + target.id), bytes.code, bytes.value);
    step.name = frameName(*named, value);
    return {};
}

/// One command's words made into a step, or the reason they cannot be.
QString readCommand(const QStringList &words, const SendTarget &target, SendStep &step)
{
    const PlayerModel &model = target.model;
    const QString word = words.first().toLower();
    if (word == QLatin1String("wait")) {
        step.waitMs = plainNumber(words.value(1));
        if (words.size() != 2 || step.waitMs < 0 || step.waitMs > LongestWaitMs)
            return QStringLiteral("takes ") + waitUsage();
        return {};
    }
    const std::optional<CommandKind> kind = commandKindNamed(word);
    if (!kind) {
        QStringList all;
        for (const CommandWord &entry : CommandWords)
            all << QLatin1String(entry.word);
        return QStringLiteral("unknown command; the commands are %1, wait").arg(all.join(QStringLiteral(", ")));
    }
    const PlayerCommand *command = lastCommandOfKind(model.commands, *kind);
    if (!command)
        return QStringLiteral("model \"%1\" has no %2; it takes %3").arg(model.name, word, modelCommandWords(model));
    if (words.size() != (takesArgument(*kind) ? 2 : 1))
        return takesArgument(*kind) ? takes(model, *command) : QStringLiteral("%1 takes no argument").arg(word);
    return readFrame(*command, words.value(1), target, step);
}

/// The commands of one text ("play, volume 20"); `where` names the text's place for an error.
QString readCommands(const QString &text, const SendTarget &target, QList<SendStep> &steps,
                     const std::function<QString(int)> &where)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList commands = text.split(QLatin1Char(','));
    for (int i = 0; i < commands.size(); ++i) {
        const QStringList words = commands[i].split(blanks, Qt::SkipEmptyParts);
        if (words.isEmpty()) {
            // A blank line is nothing; a blank beside a comma is a slip.
            if (commands.size() > 1)
                return where(i) + QStringLiteral(": an empty command beside a comma");
            continue;
        }
        SendStep step;
        const QString error = readCommand(words, target, step);
        if (!error.isEmpty())
            return QStringLiteral("%1: %2: %3").arg(where(i), quoted(words.join(QLatin1Char(' '))), error);
        steps << step;
    }
    return {};
}

} // namespace

ParsedSteps parseCommandArguments(const QStringList &arguments, const SendTarget &target)
{
    ParsedSteps parsed;
    const QString text = arguments.join(QLatin1Char(' '));
    parsed.error = readCommands(text, target, parsed.steps,
                                [](int i) { return QStringLiteral("command %1").arg(i + 1); });
    if (!parsed.error.isEmpty())
        parsed.steps.clear();
    return parsed;
}

ParsedSteps parseScript(const QString &text, const QString &name, const SendTarget &target)
{
    ParsedSteps parsed;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size() && parsed.error.isEmpty(); ++n) {
        const QString line = lines[n].section(QLatin1Char('#'), 0, 0);
        parsed.error = readCommands(line, target, parsed.steps,
                                    [&](int) { return QStringLiteral("%1:%2").arg(name).arg(n + 1); });
    }
    if (!parsed.error.isEmpty())
        parsed.steps.clear();
    return parsed;
}

QString commandListText(const SendTarget &target)
{
    const PlayerModel &model = target.model;
    QString text = QStringLiteral("Model \"%1\", player IDs %2 to %3 (0 reaches every player)\n")
                       .arg(model.name)
                       .arg(model.idMin)
                       .arg(model.idMax);
    for (const PlayerCommand *command : modelCommands(model)) {
        text += QStringLiteral("  ") + usage(model, *command);
        if (command->kind == CommandKind::ChangeId)
            text += QStringLiteral(" (needs --id)");
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("  ") + waitUsage() + QLatin1Char('\n');
    return text;
}
