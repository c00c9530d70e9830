#include "loopbackplayer.h"

#include <QDeadlineTimer>
#include <QtTest>

bool LoopbackPlayer::waitForPanel(int timeoutMs)
{
    if (hasPanel())
        return true;
    // The kernel completes the handshake on its own, so blocking here is safe.
    if (!m_server.hasPendingConnections() && !m_server.waitForNewConnection(timeoutMs))
        return false;
    m_peer = m_server.nextPendingConnection();
    return m_peer;
}

bool LoopbackPlayer::waitForBytes(int count, int timeoutMs)
{
    // The panel writes from the event loop of this same thread: keep it running.
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_peer || (m_received += m_peer->readAll()).size() < count) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}

QByteArray LoopbackPlayer::takeReceived()
{
    if (m_peer)
        m_received += m_peer->readAll();
    QByteArray bytes;
    bytes.swap(m_received);
    return bytes;
}

bool LoopbackPlayer::send(const QByteArray &bytes)
{
    if (!m_peer || m_peer->write(bytes) != bytes.size())
        return false;
    // The kernel takes loopback bytes at once; this does not need the panel's loop.
    while (m_peer->bytesToWrite() > 0) {
        if (!m_peer->waitForBytesWritten(5000))
            return false;
    }
    return true;
}

void LoopbackPlayer::hangUp()
{
    if (m_peer)
        m_peer->close();
}
