#include "startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <time.h>

namespace bench {

qint64 nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 statusKb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    // A /proc file has no size, so it is read whole rather than line by line.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

ShownWatcher::ShownWatcher(QWidget *window, std::function<QByteArray()> report)
    : m_window(window), m_report(std::move(report))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool ShownWatcher::eventFilter(QObject *object, QEvent *event)
{
    if (!m_seen && event->type() == QEvent::Expose && object == m_window->windowHandle()
        && m_window->windowHandle()->isExposed()) {
        m_seen = true;
        // Queued: the expose event paints and flushes the window first.
        QTimer::singleShot(0, this, [this] {
            const qint64 shown = nowNs();
            QTimer::singleShot(1000, this, [this, shown] {
                std::printf("SHOWN %lld %lld\n%s", static_cast<long long>(shown),
                            static_cast<long long>(statusKb("VmRSS")),
                            m_report ? m_report().constData() : "");
                std::fflush(stdout);
                QCoreApplication::quit();
            });
        });
    }
    return false;
}

} // namespace bench
