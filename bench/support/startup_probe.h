#ifndef STARTUP_PROBE_H
#define STARTUP_PROBE_H

#include <QByteArray>
#include <QObject>
#include <QtGlobal>

#include <functional>

class QWidget;

// What the start-up benchmark's child and the bare window it is measured
// against share; Qt alone, so the bare window holds no panel code.
namespace bench {

/// CLOCK_MONOTONIC in nanoseconds: one clock for every thread and process.
qint64 nowNs();

/// A field of /proc/self/status ("VmHWM", "VmRSS") in KiB; -1 if absent.
qint64 statusKb(const char *field);

/// Notes when the window's first expose event has been handled (painted and
/// flushed); one second later prints "SHOWN <that time> <VmRSS>", then the
/// lines `report` gives, and ends the event loop. Watches the whole application
/// from its construction.
class ShownWatcher : public QObject
{
public:
    explicit ShownWatcher(QWidget *window, std::function<QByteArray()> report = {});

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QWidget *m_window;
    std::function<QByteArray()> m_report;
    bool m_seen = false;
};

} // namespace bench

#endif // STARTUP_PROBE_H
