#ifndef SEND_SENDER_H
#define SEND_SENDER_H

#include <QObject>
#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>

#include "link/received_data.h"
#include "send/options.h"

/// The program's exit statuses.
enum SendExitStatus : int {
    ExitSent = 0,    ///< everything sent (and, with --expect-reply, an answer came)
    ExitLink = 1,    ///< the link could not be opened or was lost
    ExitUsage = 2,   ///< a bad command line or script
    ExitNoReply = 3, ///< --expect-reply and nothing came back in time
};

/// One run over one link: opens it, writes the frames in order (pausing only
/// for wait steps), then listens for answers, which it prints as the panel's
/// pane shows them. finished() tells the exit status; the link is closed by then.
class Sender : public QObject
{
    Q_OBJECT

public:
    Sender(const SendOptions &options, const QList<SendStep> &steps, QObject *parent = nullptr);

    void start();

    /// Ends the run at once with `status`, closing the link; frames not yet
    /// written are dropped, and standard error says how many went out.
    void stop(const QString &reason, int status);

signals:
    void finished(int status);

private:
    void openSerial();
    void sendSteps();
    void checkDrained();
    void endListening();
    void readReplies();
    void linkLost(const QString &failure);
    void finish(int status, const QString &message = QString());

    SendOptions m_options;
    QList<SendStep> m_steps;
    int m_next = 0;
    int m_framesSent = 0;
    bool m_allWritten = false;
    bool m_listening = false;
    bool m_replied = false;
    bool m_done = false;
    bool m_lineOpen = false; ///< the last reply printed did not end its line
    QTcpSocket m_tcp;
    QSerialPort m_serial;
    QIODevice *m_link = nullptr;
    QTimer m_deadline; ///< for the TCP connection, then for the frames to leave
    QString m_deadlineMessage;
    QTimer m_timer; ///< each wait, then the listening
    ReceivedDataFormatter m_formatter;
};

/// "85 02 01  play": a frame and its name, as --verbose writes it.
QString frameLine(const SendStep &step);

/// Writes to a standard stream at once, so lines keep their order with the other stream's.
void writeTo(FILE *stream, const QString &text);

#endif // SEND_SENDER_H
