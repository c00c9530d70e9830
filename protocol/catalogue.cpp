#include "protocol/catalogue.h"

PlayerCommand::PlayerCommand(const QString &label, CommandKind kind, quint8 code,
                             quint8 valueMin, quint8 valueMax)
    : label(label), kind(kind), code(code), valueMin(valueMin), valueMax(valueMax)
{
}

PlayerModel::PlayerModel(const QString &name, LinkKind linkKind, quint8 idMin, quint8 idMax,
                         quint8 folderBanks, qint32 defaultBaudRate, quint16 tcpPort)
    : name(name),
      linkKind(linkKind),
      idMin(idMin),
      idMax(idMax),
      folderBanks(folderBanks),
      defaultBaudRate(defaultBaudRate),
      tcpPort(tcpPort)
{
}

const QList<qint32> SerialSpeeds = {9600, 19200, 38400};

namespace {

PlayerCommand request(const QString &label, RequestItem item)
{
    return PlayerCommand(label, CommandKind::Request, CodeRequest, quint8(item), 0);
}

// Fields that nothing reads for a command are given as 0.
void appendTableA(PlayerModel &model)
{
    model.commands.append(PlayerCommand("Folder", CommandKind::Folder, CodeFolder, 0, 127));
    model.commands.append(PlayerCommand("Play", CommandKind::Play, CodeTransport, 1, 0));
    model.commands.append(PlayerCommand("Stop", CommandKind::Stop, CodeTransport, 2, 0));
    model.commands.append(PlayerCommand("Next File", CommandKind::NextFile, CodeTransport, 3, 0));
    model.commands.append(
        PlayerCommand("Previous File", CommandKind::PreviousFile, CodeTransport, 4, 0));
    model.commands.append(PlayerCommand("Volume", CommandKind::Volume, CodeVolume, 0, 64));
}

void appendTableB(PlayerModel &model)
{
    auto &c = model.commands;
    c.append(PlayerCommand("Folder", CommandKind::Folder, CodeFolder, 0, 127));
    c.append(PlayerCommand("Play", CommandKind::Play, CodeTransport, 1, 0));
    c.append(PlayerCommand("Stop", CommandKind::Stop, CodeTransport, 2, 0));
    c.append(PlayerCommand("Next File", CommandKind::NextFile, CodeTransport, 3, 0));
    c.append(PlayerCommand("Previous File", CommandKind::PreviousFile, CodeTransport, 4, 0));
    c.append(PlayerCommand("Pause", CommandKind::Pause, CodeTransport, 5, 0));
    c.append(PlayerCommand("Next Folder", CommandKind::NextFolder, CodeTransport, 6, 0));
    c.append(PlayerCommand("Previous Folder", CommandKind::PreviousFolder, CodeTransport, 7, 0));
    c.append(PlayerCommand("Volume", CommandKind::Volume, CodeVolume, 0, 31));
    c.append(request("Player Status", RequestItem::PlayerStatus));
    c.append(request("Current file", RequestItem::CurrentFile));
    c.append(request("Full path name", RequestItem::FullPathName));
    c.append(request("Used storage media", RequestItem::StorageMedia));
    c.append(request("Current folder number", RequestItem::FolderNumber));
    c.append(request("Remaining time", RequestItem::RemainingTime));
    c.append(request("Total time of the file", RequestItem::TotalTime));
    c.append(request("Volume", RequestItem::Volume));
    c.append(PlayerCommand("Change ID", CommandKind::ChangeId, CodeChangeId, 0, 0));
}

} // namespace

void appendModelCatalogue(QList<PlayerModel> &catalogue)
{
    // Each model is appended first and then completed in place, so the lists
    // end up in the catalogue's element rather than in a discarded copy.
    catalogue.append(PlayerModel("Pebble Player 2", LinkKind::Serial, 1, 127, 8, 19200, 0));
    catalogue.last().baudRates = SerialSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("Heron Player", LinkKind::Serial, 1, 127, 8, 19200, 0));
    catalogue.last().baudRates = SerialSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("Larch Player", LinkKind::Serial, 1, 127, 1, 9600, 0));
    catalogue.last().baudRates = SerialSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("KS10 - KS15", LinkKind::Serial, 1, 127, 2, 19200, 0));
    catalogue.last().baudRates.append(19200);
    appendTableB(catalogue.last());

    catalogue.append(PlayerModel("KS15 - TCP/IP", LinkKind::Tcp, 1, 127, 8, -1, 65079));
    appendTableB(catalogue.last());
}

QList<PlayerModel> modelCatalogue()
{
    QList<PlayerModel> catalogue;
    appendModelCatalogue(catalogue);
    return catalogue;
}

const PlayerModel *modelAt(const QList<PlayerModel> &catalogue, int index)
{
    return index >= 0 && index < catalogue.size() ? &catalogue.at(index) : nullptr;
}

const PlayerCommand *lastCommandOfKind(const QList<PlayerCommand> &commands, CommandKind kind)
{
    return lastCommand(commands, [kind](const PlayerCommand &command) { return command.kind == kind; });
}
