#ifndef SIM_SIMULATOR_H
#define SIM_SIMULATOR_H

#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QObject>
#include <QSerialPort>
#include <QTcpServer>
#include <QTextStream>
#include <QTimer>

#include "protocol/frame_decoder.h"
#include "sim/options.h"
#include "sim/player.h"

class QTcpSocket;

/// The program around the player: the TCP server and its clients, the serial
/// line and the log. Every link has a decoder of its own, so a frame cut on one
/// link never mixes with bytes from another; replies go back on the link the
/// request came from. All links drive the one simulated player.
class Simulator : public QObject
{
    Q_OBJECT

public:
    explicit Simulator(const SimOptions &options, QObject *parent = nullptr);
    ~Simulator() override;

    /// Opens the links and prints the ready lines (the TCP address first). On
    /// failure returns false with the reason, and nothing stays open.
    bool start(QString *error);

    /// Logs why the simulator stops and closes every link.
    void stop(const QString &reason);

signals:
    /// A link failed while running (the serial device went away).
    void failed(const QString &reason);

private:
    struct Client
    {
        int number = 0;
        quint64 lastHeard = 0; ///< when it connected or last sent, in m_heardCount's steps
        FrameDecoder decoder;

        QString source() const { return QStringLiteral("tcp %1").arg(number); }
    };

    bool openSerial(QString *error);
    void acceptClients();
    void readClient(QTcpSocket *socket);
    void dropClient(QTcpSocket *socket);
    void closeClient(QTcpSocket *socket);
    void readSerial();
    void serialError(QSerialPort::SerialPortError error);
    void handleBytes(const QByteArray &bytes, FrameDecoder &decoder, QIODevice *link,
                     const QString &source);
    void logLine(const QString &source, const QString &text, bool always = false);
    void reportSuppressed();
    void announce(const QString &text);

    SimOptions m_options;
    SimulatedPlayer m_player;
    QElapsedTimer m_clock;
    QTcpServer m_server;
    QHash<QTcpSocket *, Client> m_clients;
    int m_clientsSeen = 0;
    quint64 m_heardCount = 0;
    QSerialPort m_serial;
    FrameDecoder m_serialDecoder;
    QFile m_stdout;
    QTextStream m_log;
    // The log's flood guard: lines beyond the budget of one second are counted, not written.
    qint64 m_windowStartMs = 0;
    int m_linesInWindow = 0;
    int m_suppressed = 0;
    QTimer m_suppressedReport;
};

#endif // SIM_SIMULATOR_H
