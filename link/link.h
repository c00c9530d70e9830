#ifndef LINK_H
#define LINK_H

#include <QIODevice>
#include <QList>
#include <QString>
#include <QtGlobal>

/// How long a TCP connection attempt may take before the panel gives it up.
constexpr int TcpConnectTimeoutMs = 10000;

/// The serial link is open once open() succeeded, until it is closed.
bool serialLinkOpen();

/// The TCP link counts as open in every state but UnconnectedState, so that an
/// attempt under way shows as one and can be aborted with Disconnect.
/// (isOpen() stays true after a failed attempt, so it cannot be the test.)
bool tcpLinkOpen();

/// What the panel's controls follow: some link is open by the rules above.
bool someLinkOpen();

/// The links a frame written now would leave on, in writing order: an open
/// serial port first, then an established TCP connection. A TCP attempt still
/// under way carries nothing: a frame buffered there is lost if it fails.
QList<QIODevice *> frameLinks();

/// Writes the three bytes, in one write, on each link of frameLinks(). The
/// links that took the whole frame, in writing order.
QList<QIODevice *> write_Command(quint8 address, quint8 code, quint8 value);

/// Closes the TCP socket as a device: one that failed to connect or was closed
/// by its peer stays open as a device until then.
void releaseTcpSocket();

#endif // LINK_H
