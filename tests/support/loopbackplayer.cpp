#include "loopbackplayer.h"

#include <QDeadlineTimer>
#include <QtTest>

LoopbackPlayer::LoopbackPlayer()
{
    m_server.listen(QHostAddress::LocalHost, 0);
}

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

void LoopbackPlayer::collect()
{
    if (m_peer)
        m_received += m_peer->readAll();
}

bool LoopbackPlayer::waitForBytes(int count, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (true) {
        QCoreApplication::processEvents();
        collect();
        if (m_received.size() >= count)
            return true;
        if (deadline.hasExpired())
            return false;
        // The panel's socket writes from the event loop of this same thread.
        QTest::qWait(5);
    }
}

QByteArray LoopbackPlayer::received()
{
    collect();
    return m_received;
}

QByteArray LoopbackPlayer::takeReceived()
{
    collect();
    const QByteArray bytes = m_received;
    m_received.clear();
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
    if (m_peer) {
        m_peer->flush();
        m_peer->close();
    }
}
