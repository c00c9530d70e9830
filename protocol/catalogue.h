#ifndef CATALOGUE_H
#define CATALOGUE_H

#include <QList>
#include <QString>
#include <QtGlobal>

/// Which control of the panel a command serves. Values outside 1..11 serve none.
enum class CommandKind : qint32 {
    Folder = 1,
    PreviousFolder = 2,
    PreviousFile = 3,
    Play = 4,
    Stop = 5,
    Pause = 6,
    NextFile = 7,
    NextFolder = 8,
    Volume = 9,
    Request = 10,
    ChangeId = 11,
    None = 12, // kind of a default-constructed command
};

/// How a model is reached; readers only test for zero or non-zero.
enum class LinkKind : quint8 {
    Serial = 0,
    Tcp = 1,
};

/// One command of a model. For kinds without a range, valueMin is the fixed value byte.
struct PlayerCommand
{
    PlayerCommand() = default;
    PlayerCommand(const QString &label, CommandKind kind, quint8 code, quint8 valueMin,
                  quint8 valueMax);

    QString label;
    CommandKind kind = CommandKind::None;
    quint8 code = 0;
    quint8 valueMin = 0;
    quint8 valueMax = 0;
};

/// One selectable player model; its lists are filled by appending after construction.
struct PlayerModel
{
    PlayerModel() = default;
    PlayerModel(const QString &name, LinkKind linkKind, quint8 idMin, quint8 idMax,
                quint8 folderBanks, qint32 defaultBaudRate, quint16 tcpPort);

    QString name;
    LinkKind linkKind = LinkKind::Serial;
    quint8 idMin = 0;
    quint8 idMax = 0;
    quint8 folderBanks = 1;
    QList<qint32> baudRates; ///< bits per second
    QList<PlayerCommand> commands;
    qint32 defaultBaudRate = -1;
    quint16 tcpPort = 0;
};

/// Command bytes on the wire; every model uses the same ones.
constexpr quint8 CodeFolder = 1;
constexpr quint8 CodeTransport = 2;
constexpr quint8 CodeVolume = 3;
constexpr quint8 CodeRequest = 4;
constexpr quint8 CodeChangeId = 127;

/// The items a Request asks for, as they travel in its value byte.
enum class RequestItem : quint8 {
    PlayerStatus = 1,
    CurrentFile = 2,
    FullPathName = 3,
    StorageMedia = 4,
    FolderNumber = 6,
    RemainingTime = 9,
    TotalTime = 10,
    Volume = 11,
};

/// The serial speeds a model may offer, in bits per second.
extern const QList<qint32> SerialSpeeds;

/// Number of folders a bank holds; the frame's bank arithmetic is fixed to it.
constexpr int FolderBankSize = 128;

/// Highest folder number any selector offers.
constexpr int HighestFolderNumber = 999;

/// Appends the five player models, each with its speeds and commands, to `catalogue`.
/// Does not clear it first.
void appendModelCatalogue(QList<PlayerModel> &catalogue);

/// The five models in a list of their own, as appendModelCatalogue() makes them.
QList<PlayerModel> modelCatalogue();

/// The model at `index`, or nullptr when the index lies outside the catalogue.
const PlayerModel *modelAt(const QList<PlayerModel> &catalogue, int index);

/// The last command of `commands` that `accepts` takes, or nullptr: in a command
/// list a later entry overrides an earlier one.
template <typename Predicate>
const PlayerCommand *lastCommand(const QList<PlayerCommand> &commands, Predicate accepts)
{
    const PlayerCommand *found = nullptr;
    for (const PlayerCommand &command : commands) {
        if (accepts(command))
            found = &command;
    }
    return found;
}

/// The last command of that kind, or nullptr.
const PlayerCommand *lastCommandOfKind(const QList<PlayerCommand> &commands, CommandKind kind);

#endif // CATALOGUE_H
