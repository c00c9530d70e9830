#include "protocol/frames.h"
#include "send/sender.h"

#include <QFileInfo>
#include <QSerialPortInfo>

#include <cstdio>

namespace {

/// How long a TCP connection may take, and how long the frames may wait for
/// the link to take them: a cue that cannot reach its player should say so
/// before the show moves on.
constexpr int LinkTimeoutMs = 5000;

} // namespace

QString frameLine(const SendStep &step)
{
    return hexBytes(step.frame) + QStringLiteral("  ") + step.name;
}

void writeTo(FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

Sender::Sender(const SendOptions &options, const QList<SendStep> &steps, QObject *parent)
    : QObject(parent), m_options(options), m_steps(steps), m_tcp(this), m_serial(this)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(ExitLink, m_deadlineMessage); });
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, [this] { m_listening ? endListening() : sendSteps(); });
}

void Sender::start()
{
    const QString target = linkTarget(m_options);
    if (m_options.link == SendLink::Serial) {
        openSerial();
        return;
    }
    m_link = &m_tcp;
    connect(&m_tcp, &QTcpSocket::connected, this, [this] {
        m_deadline.stop();
        sendSteps();
    });
    connect(&m_tcp, &QTcpSocket::readyRead, this, &Sender::readReplies);
    connect(&m_tcp, &QTcpSocket::bytesWritten, this, &Sender::checkDrained);
    connect(&m_tcp, &QAbstractSocket::errorOccurred, this, [this, target](QAbstractSocket::SocketError) {
        const bool established = m_tcp.state() == QAbstractSocket::ConnectedState || m_framesSent > 0;
        linkLost(established ? QStringLiteral("Connection to %1 lost: %2").arg(target, m_tcp.errorString())
                             : QStringLiteral("Connection to %1 failed: %2").arg(target, m_tcp.errorString()));
    });
    m_deadlineMessage = QStringLiteral("Connection to %1 failed: timed out").arg(target);
    m_deadline.start(LinkTimeoutMs);
    m_tcp.connectToHost(m_options.host, m_options.port);
}

void Sender::openSerial()
{
    const QString device = m_options.device;
    m_serial.setPortName(device);
    m_serial.setBaudRate(m_options.speed, QSerialPort::AllDirections);
    m_serial.setDataBits(QSerialPort::Data8);
    m_serial.setParity(QSerialPort::NoParity);
    m_serial.setStopBits(QSerialPort::OneStop);
    m_serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_serial.open(QIODevice::ReadWrite)) {
        finish(ExitLink, QStringLiteral("Cannot open serial port %1: %2").arg(device, m_serial.errorString()));
        return;
    }
    m_link = &m_serial;
    connect(&m_serial, &QSerialPort::readyRead, this, &Sender::readReplies);
    connect(&m_serial, &QSerialPort::bytesWritten, this, &Sender::checkDrained);
    connect(&m_serial, &QSerialPort::errorOccurred, this, [this, device](QSerialPort::SerialPortError error) {
        // As the panel: an unplugged adapter gives a resource error, a pty
        // whose other end went a read error on every notification.
        if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError
            && error != QSerialPort::WriteError)
            return;
        const bool removed = error == QSerialPort::ResourceError
                             || !QFileInfo::exists(QSerialPortInfo(m_serial).systemLocation());
        linkLost(removed ? QStringLiteral("Serial port %1 was removed or unplugged").arg(device)
                         : QStringLiteral("Serial port %1 lost: %2").arg(device, m_serial.errorString()));
    });
    sendSteps();
}

void Sender::sendSteps()
{
    while (m_next < m_steps.size()) {
        const SendStep &step = m_steps.at(m_next++);
        if (step.frame.isEmpty()) {
            m_timer.start(step.waitMs);
            return;
        }
        if (m_link->write(step.frame) != step.frame.size()) {
            linkLost(QStringLiteral("Cannot write to %1: %2").arg(linkTarget(m_options), m_link->errorString()));
            return;
        }
        ++m_framesSent;
        if (m_options.verbose)
            writeTo(stderr, frameLine(step) + QLatin1Char('\n'));
    }
    m_allWritten = true;
    checkDrained();
}

void Sender::checkDrained()
{
    if (!m_allWritten || m_listening || m_done)
        return;
    if (m_link->bytesToWrite() > 0) {
        // A peer that stops reading must not hold the program: each step of progress restarts the count.
        m_deadlineMessage = QStringLiteral("Connection to %1 lost: the player took no data for %2 s")
                                .arg(linkTarget(m_options))
                                .arg(LinkTimeoutMs / 1000);
        m_deadline.start(LinkTimeoutMs);
        return;
    }
    m_deadline.stop();
    m_listening = true;
    const int listenMs = listenTime(m_options, m_steps);
    if (listenMs == 0)
        endListening();
    else
        m_timer.start(listenMs);
}

void Sender::endListening()
{
    readReplies();
    if (m_options.expectReply && !m_replied) {
        finish(ExitNoReply, QStringLiteral("no reply from %1 within %2 ms")
                                .arg(linkTarget(m_options))
                                .arg(listenTime(m_options, m_steps)));
        return;
    }
    finish(ExitSent);
}

void Sender::readReplies()
{
    if (!m_link || !m_link->isOpen())
        return;
    const QByteArray bytes = m_link->readAll();
    if (bytes.isEmpty())
        return;
    m_replied = true;
    QString text;
    m_formatter.append(bytes, m_options.format, text);
    if (text.isEmpty())
        return;
    m_lineOpen = !text.endsWith(QLatin1Char('\n'));
    writeTo(stdout, text);
}

void Sender::linkLost(const QString &failure)
{
    if (m_done)
        return;
    // A player that hangs up once it has everything ends the listening, not the run.
    if (m_listening) {
        endListening();
        return;
    }
    finish(ExitLink, failure);
}

void Sender::stop(const QString &reason, int status)
{
    if (m_done)
        return;
    const int frames = int(std::count_if(m_steps.cbegin(), m_steps.cend(),
                                         [](const SendStep &s) { return !s.frame.isEmpty(); }));
    finish(status, QStringLiteral("stopped by %1; %2 of %3 frames sent").arg(reason).arg(m_framesSent).arg(frames));
}

void Sender::finish(int status, const QString &message)
{
    if (m_done)
        return;
    m_done = true;
    m_deadline.stop();
    m_timer.stop();
    readReplies();
    if (m_lineOpen)
        writeTo(stdout, QStringLiteral("\n"));
    if (!message.isEmpty())
        writeTo(stderr, QStringLiteral("quorvex-send: ") + message + QLatin1Char('\n'));
    if (m_tcp.state() != QAbstractSocket::UnconnectedState)
        m_tcp.disconnectFromHost();
    m_serial.close();
    // Closing from inside a link's own signal is unsafe: the program ends next.
    QMetaObject::invokeMethod(this, [this, status] { emit finished(status); }, Qt::QueuedConnection);
}
