// The two process-wide links as the panel uses them: which count as open, and
// on which a frame goes out.

#include "link/link.h"

#include <QSerialPort>
#include <QTcpSocket>

#include "app/globals.h"
#include "protocol/frames.h"

bool serialLinkOpen()
{
    return serialPort->isOpen();
}

bool tcpLinkOpen()
{
    return tcpSocket->state() != QAbstractSocket::UnconnectedState;
}

bool someLinkOpen()
{
    return serialLinkOpen() || tcpLinkOpen();
}

QList<QIODevice *> frameLinks()
{
    QList<QIODevice *> links;
    if (serialLinkOpen())
        links.append(serialPort);
    if (tcpSocket->state() == QAbstractSocket::ConnectedState && tcpSocket->isOpen())
        links.append(tcpSocket);
    return links;
}

QList<QIODevice *> write_Command(quint8 address, quint8 code, quint8 value)
{
    const QByteArray frame = commandFrame(address, code, value);
    QList<QIODevice *> taken;
    for (QIODevice *link : frameLinks()) {
        if (link->write(frame) == frame.size())
            taken.append(link);
        // Out now, not on the event loop's next pass after the window repaints.
        if (link == serialPort)
            serialPort->flush();
        else
            tcpSocket->flush();
    }
    return taken;
}

void releaseTcpSocket()
{
    if (tcpSocket->isOpen())
        tcpSocket->close();
}
