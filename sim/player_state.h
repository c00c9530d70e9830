#ifndef SIM_PLAYER_STATE_H
#define SIM_PLAYER_STATE_H

#include <QtGlobal>

enum class Transport { Stopped, Playing, Paused };

/// What a request can ask about, at one moment of the simulated clock.
struct PlayerSnapshot
{
    quint8 id = 1;
    Transport transport = Transport::Stopped;
    int folder = 0;
    int file = 1;        ///< 1-based within the folder
    int fileCount = 1;
    int volume = 0;
    qint64 elapsedMs = 0;
    qint64 totalMs = 0;  ///< length of the current file
};

/// The simulated storage: every folder exists, each holds a few files of fixed
/// length, so a request always has an answer and the clock has something to run
/// through. Both are fixed functions of the numbers, the same on every run.
namespace SimulatedMedia {
/// 3 to 10 files: 3 + folder mod 8.
int fileCount(int folder);
/// 60 to 239 seconds: 60 + (37 × folder + 53 × file) mod 180, in milliseconds.
qint64 fileLengthMs(int folder, int file);
} // namespace SimulatedMedia

#endif // SIM_PLAYER_STATE_H
