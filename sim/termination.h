#ifndef SIM_TERMINATION_H
#define SIM_TERMINATION_H

#include <QObject>

class QSocketNotifier;

/// Turns SIGINT and SIGTERM into a signal delivered by the event loop, so the
/// simulator can log and close its links before it exits. Does nothing on
/// systems without POSIX signals. One instance per process.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    void terminationRequested(const QString &signalName);

private:
    void readSignal();

    QSocketNotifier *m_notifier = nullptr;
};

#endif // SIM_TERMINATION_H
