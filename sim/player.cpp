#include "sim/player.h"

#include "protocol/command_names.h"
#include "protocol/panel_logic.h"
#include "sim/reply.h"

int SimulatedMedia::fileCount(int folder)
{
    return 3 + folder % 8;
}

qint64 SimulatedMedia::fileLengthMs(int folder, int file)
{
    return qint64(60 + (37 * folder + 53 * file) % 180) * 1000;
}

namespace {

const QList<PlayerModel> &allModels()
{
    static const QList<PlayerModel> models = modelCatalogue();
    return models;
}

} // namespace

struct SimulatedPlayer::Match
{
    bool found = false;
    PlayerCommand command;
    int bank = 0; // Folder only
};

SimulatedPlayer::SimulatedPlayer(const PlayerModel &model, quint8 id) : m_model(model), m_id(id)
{
    m_folder = lowestFolder();
    if (const PlayerCommand *volume = lastCommandOfKind(m_model.commands, CommandKind::Volume))
        m_volume = volume->valueMax;
}

int SimulatedPlayer::lowestFolder() const
{
    const PlayerCommand *folder = lastCommandOfKind(m_model.commands, CommandKind::Folder);
    return folder ? folder->valueMin : 0;
}

int SimulatedPlayer::highestFolder() const
{
    const PlayerCommand *folder = lastCommandOfKind(m_model.commands, CommandKind::Folder);
    if (!folder || m_model.folderBanks == 0)
        return lowestFolder();
    return qMin(HighestFolderNumber, (m_model.folderBanks - 1) * FolderBankSize + folder->valueMax);
}

SimulatedPlayer::Match SimulatedPlayer::matchCommand(const PlayerModel &model, const Frame &frame)
{
    Match match;
    for (const PlayerCommand &command : model.commands) {
        bool fits = false;
        int bank = 0;
        switch (command.kind) {
        case CommandKind::Folder:
            fits = frame.command >= command.code
                && (frame.command - command.code) % BankCodeStep == 0;
            bank = (frame.command - command.code) / BankCodeStep;
            break;
        case CommandKind::Volume:
        case CommandKind::ChangeId:
            fits = frame.command == command.code;
            break;
        default: // the kinds whose value byte is fixed: transport and requests
            fits = frame.command == command.code && frame.value == command.valueMin;
            break;
        }
        if (fits) {
            match.found = true;
            match.command = command;
            match.bank = bank;
        }
    }
    return match;
}

QString SimulatedPlayer::describe(const Match &match, const Frame &frame)
{
    if (!match.found) {
        const QString command = byteText(frame.command, ByteNotation::Hex);
        const QString value = byteText(frame.value, ByteNotation::Hex);
        for (const PlayerModel &model : allModels()) {
            for (const PlayerCommand &known : model.commands) {
                if (known.code == frame.command)
                    return QStringLiteral("command %1 with unknown value %2").arg(command, value);
            }
        }
        return QStringLiteral("unknown command %1 value %2").arg(command, value);
    }
    return frameName(match.command, match.bank * FolderBankSize + frame.value);
}

FrameOutcome SimulatedPlayer::apply(const Frame &frame, qint64 nowMs)
{
    FrameOutcome out;
    if (!(frame.address & AddressBase) || (frame.command & AddressBase)
        || (frame.value & AddressBase)) {
        out.meaning = QStringLiteral("not a frame");
        out.effect = QStringLiteral("ignored");
        return out;
    }

    const int target = frame.address - AddressBase;
    const Match own = matchCommand(m_model, frame);
    Match any = own;
    for (int i = 0; !any.found && i < allModels().size(); ++i)
        any = matchCommand(allModels().at(i), frame);
    out.meaning = QStringLiteral("ID %1 ").arg(target) + describe(any, frame);

    if (target != 0 && target != m_id)
        out.effect = QStringLiteral("ignored: for another player (this is ID %1)").arg(m_id);
    else if (!any.found)
        out.effect = QStringLiteral("ignored: unknown command");
    else if (!own.found)
        out.effect = QStringLiteral("unsupported by %1").arg(m_model.name);
    else {
        advanceTo(nowMs);
        out.effect = carryOut(own, frame, nowMs, out.reply);
        out.acted = !out.effect.startsWith(QLatin1String("ignored"));
    }
    return out;
}

QString SimulatedPlayer::carryOut(const Match &match, const Frame &frame, qint64 nowMs,
                                  QByteArray &reply)
{
    const PlayerCommand &command = match.command;
    switch (command.kind) {
    case CommandKind::Folder: {
        const int folder = match.bank * FolderBankSize + frame.value;
        if (match.bank >= m_model.folderBanks || frame.value < command.valueMin
            || frame.value > command.valueMax || folder > HighestFolderNumber) {
            return QStringLiteral("ignored: the model's folders are %1 to %2")
                .arg(folderNumberText(lowestFolder()), folderNumberText(highestFolder()));
        }
        return playFolder(folder, nowMs);
    }
    case CommandKind::Play:
        return play(nowMs);
    case CommandKind::Stop:
        m_transport = Transport::Stopped;
        m_positionMs = 0;
        return QStringLiteral("stopped, ") + position(nowMs);
    case CommandKind::Pause:
        return pause(nowMs);
    case CommandKind::NextFile:
        return stepFile(+1, nowMs);
    case CommandKind::PreviousFile:
        return stepFile(-1, nowMs);
    case CommandKind::NextFolder:
        return stepFolder(+1, nowMs);
    case CommandKind::PreviousFolder:
        return stepFolder(-1, nowMs);
    case CommandKind::Volume:
        return setVolume(frame.value, command);
    case CommandKind::ChangeId:
        return changeId(frame.value);
    case CommandKind::Request:
        reply = formatReply(frame.value, snapshot(nowMs));
        if (reply.isEmpty())
            return QStringLiteral("ignored: no answer for this item");
        return QStringLiteral("reply \"%1\"").arg(QString::fromLatin1(reply).trimmed());
    default:
        return QStringLiteral("ignored: serves no control");
    }
}

PlayerSnapshot SimulatedPlayer::snapshot(qint64 nowMs)
{
    advanceTo(nowMs);
    PlayerSnapshot s;
    s.id = m_id;
    s.transport = m_transport;
    s.folder = m_folder;
    s.file = m_file;
    s.fileCount = SimulatedMedia::fileCount(m_folder);
    s.volume = m_volume;
    s.elapsedMs = elapsedMs(nowMs);
    s.totalMs = SimulatedMedia::fileLengthMs(m_folder, m_file);
    return s;
}

void SimulatedPlayer::advanceTo(qint64 nowMs)
{
    // Bounded by the folder's file count: the last file ends in Stopped.
    while (m_transport == Transport::Playing) {
        const qint64 length = SimulatedMedia::fileLengthMs(m_folder, m_file);
        if (nowMs - m_fileStartMs < length)
            return;
        m_fileStartMs += length;
        if (m_file < SimulatedMedia::fileCount(m_folder)) {
            ++m_file;
        } else {
            m_transport = Transport::Stopped;
            m_file = 1;
            m_positionMs = 0;
        }
    }
}

qint64 SimulatedPlayer::elapsedMs(qint64 nowMs) const
{
    if (m_transport != Transport::Playing)
        return m_positionMs;
    return qBound<qint64>(0, nowMs - m_fileStartMs,
                          SimulatedMedia::fileLengthMs(m_folder, m_file));
}

void SimulatedPlayer::startFile(int folder, int file, qint64 nowMs)
{
    m_folder = folder;
    m_file = file;
    m_positionMs = 0;
    m_fileStartMs = nowMs;
}

QString SimulatedPlayer::position(qint64 nowMs) const
{
    return QStringLiteral("folder %1 file %2 of %3 at %4")
        .arg(folderNumberText(m_folder))
        .arg(m_file)
        .arg(SimulatedMedia::fileCount(m_folder))
        .arg(clockText(elapsedMs(nowMs)));
}

QString SimulatedPlayer::playFolder(int folder, qint64 nowMs)
{
    startFile(folder, 1, nowMs);
    m_transport = Transport::Playing;
    return QStringLiteral("playing ") + position(nowMs);
}

QString SimulatedPlayer::play(qint64 nowMs)
{
    if (m_transport == Transport::Playing)
        return QStringLiteral("already playing ") + position(nowMs);
    m_fileStartMs = nowMs - m_positionMs;
    m_transport = Transport::Playing;
    return QStringLiteral("playing ") + position(nowMs);
}

QString SimulatedPlayer::pause(qint64 nowMs)
{
    switch (m_transport) {
    case Transport::Playing:
        m_positionMs = elapsedMs(nowMs);
        m_transport = Transport::Paused;
        return QStringLiteral("paused, ") + position(nowMs);
    case Transport::Paused:
        return play(nowMs); // a second Pause resumes
    case Transport::Stopped:
        break;
    }
    return QStringLiteral("ignored: stopped");
}

QString SimulatedPlayer::stepFile(int step, qint64 nowMs)
{
    const int count = SimulatedMedia::fileCount(m_folder);
    const int index = ((m_file - 1 + step) % count + count) % count;
    startFile(m_folder, index + 1, nowMs);
    return QStringLiteral("now ") + position(nowMs);
}

QString SimulatedPlayer::stepFolder(int step, qint64 nowMs)
{
    const int low = lowestFolder();
    const int span = highestFolder() - low + 1;
    const int index = ((m_folder - low + step) % span + span) % span;
    startFile(low + index, 1, nowMs);
    return QStringLiteral("now ") + position(nowMs);
}

QString SimulatedPlayer::setVolume(int requested, const PlayerCommand &command)
{
    // Out-of-range volumes are clamped, as a player's amplifier would.
    m_volume = qBound<int>(command.valueMin, requested, command.valueMax);
    QString effect = QStringLiteral("volume %1").arg(m_volume);
    if (m_volume != requested) {
        effect += QStringLiteral(" (%1 is outside %2 to %3)")
                      .arg(requested)
                      .arg(command.valueMin)
                      .arg(command.valueMax);
    }
    return effect;
}

QString SimulatedPlayer::changeId(int newId)
{
    if (newId < m_model.idMin || newId > m_model.idMax) {
        return QStringLiteral("ignored: IDs are %1 to %2").arg(m_model.idMin).arg(m_model.idMax);
    }
    m_id = quint8(newId);
    return QStringLiteral("now ID %1").arg(m_id);
}
