#ifndef SIM_PLAYER_H
#define SIM_PLAYER_H

#include <QByteArray>
#include <QString>

#include "protocol/catalogue.h"
#include "protocol/frame_decoder.h"
#include "sim/player_state.h"

/// What one frame did to the player, ready to be logged and answered.
struct FrameOutcome
{
    QString meaning;   ///< what the frame says, whoever it is for: "ID 5 folder 300"
    QString effect;    ///< what the player made of it: "playing 300/001", "ignored: ..."
    QByteArray reply;  ///< bytes to send back on the link the frame came from; often empty
    bool acted = false; ///< the player's state or answer followed from the frame
};

/// One player on the line, with the traits of a catalogue model. The clock is
/// handed in with every call (milliseconds, any origin, never going back), so
/// the owner decides what time it is: the program passes a monotonic clock,
/// tests pass the numbers they need.
///
/// While playing, the elapsed time of the current file runs with the clock; at
/// the end of a file the next one starts, and after the last file of the folder
/// the player stops with the folder's first file current. Stop rewinds the
/// current file, Pause holds its position.
class SimulatedPlayer
{
public:
    /// `id` should lie in the model's ID range; the player starts stopped on its
    /// lowest folder, first file, at the model's highest volume.
    SimulatedPlayer(const PlayerModel &model, quint8 id);

    /// Frames for this player's ID and for ID 0 (whatever player is on the line)
    /// are carried out; others are ignored. Replies carry the player's own ID.
    FrameOutcome apply(const Frame &frame, qint64 nowMs);

    /// The state at `nowMs`, after the clock has moved files on.
    PlayerSnapshot snapshot(qint64 nowMs);

private:
    /// Lowest and highest folder number the model can address.
    int lowestFolder() const;
    int highestFolder() const;

    struct Match;
    static Match matchCommand(const PlayerModel &model, const Frame &frame);
    static QString describe(const Match &match, const Frame &frame);

    void advanceTo(qint64 nowMs);
    qint64 elapsedMs(qint64 nowMs) const;
    void startFile(int folder, int file, qint64 nowMs);
    QString position(qint64 nowMs) const;
    QString carryOut(const Match &match, const Frame &frame, qint64 nowMs, QByteArray &reply);
    QString playFolder(int folder, qint64 nowMs);
    QString play(qint64 nowMs);
    QString pause(qint64 nowMs);
    QString stepFile(int step, qint64 nowMs);
    QString stepFolder(int step, qint64 nowMs);
    QString setVolume(int requested, const PlayerCommand &command);
    QString changeId(int newId);

    PlayerModel m_model;
    quint8 m_id;
    Transport m_transport = Transport::Stopped;
    int m_folder = 0;
    int m_file = 1;
    int m_volume = 0;
    qint64 m_positionMs = 0;   ///< position in the file while not playing
    qint64 m_fileStartMs = 0;  ///< clock time of the file's position 0 while playing
};

#endif // SIM_PLAYER_H
