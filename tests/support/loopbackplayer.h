#ifndef LOOPBACKPLAYER_H
#define LOOPBACKPLAYER_H

#include <QByteArray>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

/// A player on 127.0.0.1 (a free port): accepts the panel's connection,
/// collects every byte it sends and can answer or hang up.
class LoopbackPlayer
{
public:
    LoopbackPlayer() { m_server.listen(QHostAddress::LocalHost, 0); }

    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }

    /// Waits (bounded) for the panel's connection, or a new one after a hang-up.
    bool waitForPanel(int timeoutMs = 5000);
    bool hasPanel() const { return m_peer && m_peer->state() == QAbstractSocket::ConnectedState; }

    /// Waits (bounded) until at least `count` bytes have arrived in total.
    bool waitForBytes(int count, int timeoutMs = 5000);
    /// Everything received so far, which it forgets.
    QByteArray takeReceived();

    /// Sends `bytes` to the panel and waits (bounded) until they left.
    bool send(const QByteArray &bytes);
    /// Closes the connection from the player's side.
    void hangUp();

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_peer;
    QByteArray m_received;
};

#endif // LOOPBACKPLAYER_H
