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

namespace {

// Command bytes on the wire; every model uses the same ones.
constexpr quint8 CodeFolder = 1;
constexpr quint8 CodeTransport = 2;
constexpr quint8 CodeVolume = 3;
constexpr quint8 CodeRequest = 4;
constexpr quint8 CodeChangeId = 127;

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
    c.append(PlayerCommand("Player Status", CommandKind::Request, CodeRequest, 1, 0));
    c.append(PlayerCommand("Current file", CommandKind::Request, CodeRequest, 2, 0));
    c.append(PlayerCommand("Full path name", CommandKind::Request, CodeRequest, 3, 0));
    c.append(PlayerCommand("Used storage media", CommandKind::Request, CodeRequest, 4, 0));
    c.append(PlayerCommand("Current folder number", CommandKind::Request, CodeRequest, 6, 0));
    c.append(PlayerCommand("Remaining time", CommandKind::Request, CodeRequest, 9, 0));
    c.append(PlayerCommand("Total time of the file", CommandKind::Request, CodeRequest, 10, 0));
    c.append(PlayerCommand("Volume", CommandKind::Request, CodeRequest, 11, 0));
    c.append(PlayerCommand("Change ID", CommandKind::ChangeId, CodeChangeId, 0, 0));
}

const QList<qint32> AllSpeeds = {9600, 19200, 38400};

} // namespace

void appendModelCatalogue(QList<PlayerModel> &catalogue)
{
    // Each model is appended first and then completed in place, so the lists
    // end up in the catalogue's element rather than in a discarded copy.
    catalogue.append(PlayerModel("Pebble Player 2", LinkKind::Serial, 1, 127, 8, 19200, 0));
    catalogue.last().baudRates = AllSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("Heron Player", LinkKind::Serial, 1, 127, 8, 19200, 0));
    catalogue.last().baudRates = AllSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("Larch Player", LinkKind::Serial, 1, 127, 1, 9600, 0));
    catalogue.last().baudRates = AllSpeeds;
    appendTableA(catalogue.last());

    catalogue.append(PlayerModel("KS10 - KS15", LinkKind::Serial, 1, 127, 2, 19200, 0));
    catalogue.last().baudRates.append(19200);
    appendTableB(catalogue.last());

    catalogue.append(PlayerModel("KS15 - TCP/IP", LinkKind::Tcp, 1, 127, 8, -1, 65079));
    appendTableB(catalogue.last());
}
