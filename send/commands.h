#ifndef SEND_COMMANDS_H
#define SEND_COMMANDS_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "protocol/catalogue.h"

/// One step of a send: a frame with its name, or a pause.
struct SendStep
{
    QByteArray frame;     ///< empty for a wait
    QString name;         ///< as a log names the frame: "play", "folder 012"
    int waitMs = 0;       ///< for a wait
    bool request = false; ///< the player is asked for an answer
};

/// What the commands are checked against and addressed to.
struct SendTarget
{
    PlayerModel model;
    quint8 id = 0;
    bool idGiven = false; ///< --id was given: change-id needs it
};

/// The steps, or why there are none (error non-empty).
struct ParsedSteps
{
    QList<SendStep> steps;
    QString error;
};

/// The longest wait a command may ask for.
constexpr int LongestWaitMs = 3600 * 1000;

/// The command line's commands, separated by "," (alone or at a word's end),
/// each checked against the target. An error names the command by its place:
/// `command 2 "volume 40": ...`.
ParsedSteps parseCommandArguments(const QStringList &arguments, const SendTarget &target);

/// A script: one command per line ("," may separate more), "#" starts a
/// comment, blank lines are skipped. An error names the line: `NAME:3: ...`.
ParsedSteps parseScript(const QString &text, const QString &name, const SendTarget &target);

/// The model's commands with their ranges and request items, for --list.
QString commandListText(const SendTarget &target);

#endif // SEND_COMMANDS_H
