#ifndef PEER_H
#define PEER_H

#include <QByteArray>
#include <QtGlobal>

/// The far end of a link, on plain descriptors, for a thread of its own: it
/// reads and writes while the panel's event loop is busy or asleep.
namespace bench {

/// A TCP socket listening on PlayerHost (a free port); -1 on failure.
int listenLoopback(quint16 &port);

/// Accepts one connection within `timeoutMs`; -1 if none came. The panel's
/// side completes in its event loop, so call this from another thread or
/// after the handshake was started (the kernel finishes it alone).
int acceptWithin(int listener, int timeoutMs);

/// Opens a pty end raw at 38400 baud, 8N1, no flow control; -1 on failure.
int openRawLine(const QByteArray &path);

/// Reads into `buffer` whatever arrives within `timeoutMs`: the number of
/// bytes added, 0 on timeout, -1 when the link has gone.
int readWithin(int fd, QByteArray &buffer, int timeoutMs);

/// Closes a descriptor if it is one.
void closeFd(int fd);

} // namespace bench

#endif // PEER_H
