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

/// Number of folders a bank holds; the frame's bank arithmetic is fixed to it.
constexpr int FolderBankSize = 128;

/// Highest folder number any selector offers.
constexpr int HighestFolderNumber = 999;

/// Appends the five player models, each with its speeds and commands, to `catalogue`.
/// Does not clear it first.
void appendModelCatalogue(QList<PlayerModel> &catalogue);

#endif // CATALOGUE_H
