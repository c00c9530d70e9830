#ifndef SOCATPAIR_H
#define SOCATPAIR_H

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

/// A null-modem cable between two pseudo-terminals: socat relays everything
/// written on one end to the other. Started by the constructor, killed by the
/// destructor (or by kill(), to pull the cable while a port is open).
class SocatPair
{
public:
    /// Starts socat and waits, at most `timeoutMs`, for both ends to appear.
    explicit SocatPair(int timeoutMs = 10000);
    ~SocatPair();
    SocatPair(const SocatPair &) = delete;
    SocatPair &operator=(const SocatPair &) = delete;

    /// Whether both ends exist and socat runs.
    bool isReady() const { return m_ready; }
    /// What went wrong when not ready (socat's own messages included).
    QString failure() const { return m_failure; }

    /// The end the panel opens, and the end the test plays the player on.
    QString panelEnd() const { return m_panelEnd; }
    QString playerEnd() const { return m_playerEnd; }

    /// Kills socat and waits (bounded) until it has gone: both ends hang up.
    void kill();

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_panelEnd;
    QString m_playerEnd;
    QString m_failure;
    bool m_ready = false;
};

#endif // SOCATPAIR_H
