#ifndef APP_TERMINATION_WATCHER_H
#define APP_TERMINATION_WATCHER_H

#include <QObject>
#include <QString>

class QSocketNotifier;

/// Turns SIGTERM, SIGINT and SIGHUP into terminationRequested(), delivered by
/// the event loop, so a program can save its settings or close its links before
/// it exits. Create it once the application object exists; one watches at a
/// time (a second one, while the first lives, watches nothing). A signal
/// ignored when it starts (nohup, a background job) stays ignored. Its
/// destructor puts back the handlers it found. Without POSIX signals it never emits.
class TerminationWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationWatcher(QObject *parent = nullptr);
    ~TerminationWatcher() override;

signals:
    /// "SIGTERM", "SIGINT" or "SIGHUP"; signals that arrive together are
    /// reported once, by the first of them.
    void terminationRequested(const QString &signalName);

private:
    void readSignals();

    QSocketNotifier *m_notifier = nullptr;
};

#endif // APP_TERMINATION_WATCHER_H
