#include "sim/simulator.h"

#include <QTcpSocket>
#include <QTime>
#include <algorithm>
#include <cstdio>

#include "protocol/panel_logic.h"
#include "sim/reply.h"

namespace {

// More clients than any test or demo needs; a newcomer beyond them closes the
// client idle longest, so a connection flood cannot exhaust the process's
// descriptors nor idle connections lock everyone out.
constexpr int MaxClients = 32;
// A log line shows at most this many skipped bytes.
constexpr int SkippedShown = 16;
// A link's read buffer, so the most one turn of the event loop handles for it:
// a flood never keeps a signal or another client waiting long.
constexpr qint64 ReadPerTurn = 16 * 1024;
// Replies a peer leaves unread beyond this are not kept: a TCP client is dropped,
// the serial line is not read again until its peer catches up.
constexpr qint64 MaxUnreadReplies = 1024 * 1024;
// Far more than a person reads, far less than a flood of random bytes makes.
constexpr int MaxLinesPerSecond = 500;
constexpr int LogWindowMs = 1000;

QString hostAndPort(const QHostAddress &address, quint16 port)
{
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
        : address.toString();
    return host + QLatin1Char(':') + QString::number(port);
}

QString skippedText(const DecodedItem &item)
{
    QString text = QStringLiteral("skipped %1 byte%2: %3")
                       .arg(item.skipped.size())
                       .arg(item.skipped.size() == 1 ? "" : "s")
                       .arg(hexBytes(item.skipped.left(SkippedShown)));
    if (item.skipped.size() > SkippedShown)
        text += QStringLiteral(" ...");
    return text
        + (item.kind == DecodedItem::Kind::CutFrame ? QStringLiteral(" (frame cut short)")
                                                    : QStringLiteral(" (no address byte)"));
}

} // namespace

Simulator::Simulator(const SimOptions &options, QObject *parent)
    : QObject(parent), m_options(options), m_player(options.model, options.id)
{
    m_clock.start();
    m_stdout.open(stdout, QIODevice::WriteOnly);
    m_log.setDevice(&m_stdout);
    connect(&m_server, &QTcpServer::newConnection, this, &Simulator::acceptClients);
    m_serial.setReadBufferSize(ReadPerTurn);
    connect(&m_serial, &QSerialPort::readyRead, this, &Simulator::readSerial);
    connect(&m_serial, &QSerialPort::bytesWritten, this, &Simulator::readSerial);
    connect(&m_serial, &QSerialPort::errorOccurred, this, &Simulator::serialError);
    m_suppressedReport.setSingleShot(true);
    m_suppressedReport.setInterval(LogWindowMs);
    connect(&m_suppressedReport, &QTimer::timeout, this, [this] {
        reportSuppressed();
        m_log.flush();
    });
}

Simulator::~Simulator()
{
    m_log.flush();
}

bool Simulator::start(QString *error)
{
    if (m_options.listenTcp) {
        if (!m_server.listen(m_options.listenAddress, m_options.listenPort)) {
            *error = QStringLiteral("cannot listen on %1: %2")
                         .arg(hostAndPort(m_options.listenAddress, m_options.listenPort),
                              m_server.errorString());
            return false;
        }
        announce(QStringLiteral("listening on ")
                 + hostAndPort(m_server.serverAddress(), m_server.serverPort()));
    }
    if (!m_options.serialDevice.isEmpty()) {
        if (!openSerial(error)) {
            m_server.close();
            return false;
        }
        announce(QStringLiteral("serial %1 at %2 baud, 8N1")
                     .arg(m_options.serialDevice)
                     .arg(m_options.baudRate));
    }
    const PlayerSnapshot state = m_player.snapshot(m_clock.elapsed());
    announce(QStringLiteral("player \"%1\" ID %2 (and ID 0): %3, folder %4 file %5, volume %6")
                 .arg(m_options.model.name)
                 .arg(state.id)
                 .arg(statusWord(state.transport).toLower())
                 .arg(folderNumberText(state.folder))
                 .arg(state.file)
                 .arg(state.volume));
    return true;
}

bool Simulator::openSerial(QString *error)
{
    m_serial.setPortName(m_options.serialDevice);
    const bool opened = m_serial.open(QIODevice::ReadWrite);
    if (!opened || !m_serial.setBaudRate(m_options.baudRate)
        || !m_serial.setDataBits(QSerialPort::Data8) || !m_serial.setParity(QSerialPort::NoParity)
        || !m_serial.setStopBits(QSerialPort::OneStop)
        || !m_serial.setFlowControl(QSerialPort::NoFlowControl)) {
        *error = QStringLiteral("cannot open serial device %1: %2")
                     .arg(m_options.serialDevice, m_serial.errorString());
        m_serial.close();
        return false;
    }
    return true;
}

void Simulator::stop(const QString &reason)
{
    reportSuppressed();
    logLine(QString(), QStringLiteral("stopping: ") + reason, true);
    m_server.close();
    const auto sockets = m_clients.keys();
    for (QTcpSocket *socket : sockets)
        closeClient(socket);
    if (m_serial.isOpen())
        m_serial.close();
    m_log.flush();
}

void Simulator::acceptClients()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        const QString peer = hostAndPort(socket->peerAddress(), socket->peerPort());
        if (m_clients.size() >= MaxClients) {
            const auto idlest = std::min_element(m_clients.begin(), m_clients.end(),
                                                 [](const Client &a, const Client &b) {
                                                     return a.lastHeard < b.lastHeard;
                                                 });
            logLine(idlest->source(), QStringLiteral("closed, idle longest, to admit %1").arg(peer),
                    true);
            closeClient(idlest.key());
        }
        socket->setReadBufferSize(ReadPerTurn);
        Client client;
        client.number = ++m_clientsSeen;
        client.lastHeard = ++m_heardCount;
        m_clients.insert(socket, client);
        logLine(client.source(), QStringLiteral("connected from ") + peer);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readClient(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { dropClient(socket); });
    }
    m_log.flush();
}

void Simulator::readClient(QTcpSocket *socket)
{
    auto client = m_clients.find(socket);
    if (client == m_clients.end())
        return;
    client->lastHeard = ++m_heardCount;
    const QString source = client->source();
    handleBytes(socket->readAll(), client->decoder, socket, source);
    if (socket->bytesToWrite() > MaxUnreadReplies) {
        logLine(source, QStringLiteral("dropped: more than 1 MiB of replies unread"), true);
        closeClient(socket);
    }
    m_log.flush();
}

void Simulator::dropClient(QTcpSocket *socket)
{
    readClient(socket); // whatever arrived just before the close still counts
    const auto client = m_clients.constFind(socket);
    if (client == m_clients.constEnd())
        return;
    QString text = QStringLiteral("disconnected");
    if (!client->decoder.pending().isEmpty())
        text += QStringLiteral(", unfinished frame %1 dropped")
                    .arg(hexBytes(client->decoder.pending()));
    logLine(client->source(), text);
    m_log.flush();
    closeClient(socket);
}

void Simulator::closeClient(QTcpSocket *socket)
{
    m_clients.remove(socket);
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void Simulator::readSerial()
{
    // Called again as replies leave, so a peer that catches up is heard again.
    if (m_serial.bytesToWrite() > MaxUnreadReplies)
        return;
    handleBytes(m_serial.readAll(), m_serialDecoder, &m_serial, QStringLiteral("serial"));
    m_log.flush();
}

void Simulator::serialError(QSerialPort::SerialPortError error)
{
    // A device that went away (a pulled adapter, the far end of a pty pair
    // closed) shows as a resource or a read error, and the port would report
    // it again on every turn of the event loop: such a line is given up.
    if ((error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        || !m_serial.isOpen())
        return;
    // errorString() may hold a stale system message here; the kind is what is known.
    const QString reason = QStringLiteral("serial device %1 lost (%2)")
                               .arg(m_options.serialDevice,
                                    error == QSerialPort::ReadError ? QStringLiteral("read error")
                                                                    : QStringLiteral("removed"));
    m_serial.close();
    emit failed(reason);
}

void Simulator::handleBytes(const QByteArray &bytes, FrameDecoder &decoder, QIODevice *link,
                            const QString &source)
{
    const QList<DecodedItem> items = decoder.feed(bytes);
    for (const DecodedItem &item : items) {
        if (item.kind != DecodedItem::Kind::Frame) {
            logLine(source, skippedText(item));
            continue;
        }
        const FrameOutcome outcome = m_player.apply(item.frame, m_clock.elapsed());
        logLine(source, QStringLiteral("%1  %2 -> %3")
                            .arg(hexBytes(item.frame.bytes()), outcome.meaning, outcome.effect));
        if (!outcome.reply.isEmpty() && link->isOpen())
            link->write(outcome.reply);
    }
}

void Simulator::logLine(const QString &source, const QString &text, bool always)
{
    if (m_options.quiet)
        return;
    const qint64 now = m_clock.elapsed();
    if (now - m_windowStartMs >= LogWindowMs) {
        reportSuppressed();
        m_windowStartMs = now;
        m_linesInWindow = 0;
    }
    if (++m_linesInWindow > MaxLinesPerSecond && !always) {
        if (m_suppressed++ == 0)
            m_suppressedReport.start();
        return;
    }
    m_log << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    if (!source.isEmpty())
        m_log << ' ' << source;
    m_log << "  " << text << '\n';
}

void Simulator::reportSuppressed()
{
    if (m_suppressed == 0)
        return;
    m_log << QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"))
          << QStringLiteral("  %1 lines not logged: more than %2 a second (frames still handled)")
                 .arg(m_suppressed)
                 .arg(MaxLinesPerSecond)
          << '\n';
    m_suppressed = 0;
}

void Simulator::announce(const QString &text)
{
    m_log << text << '\n';
    m_log.flush();
}
