// The floor for bench_startup: a bare Qt window (a QMainWindow holding one
// QTextEdit) that reports, like the panel's child, when its first expose event
// has been handled and its resident memory one second later.

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <ctime>

namespace {
qint64 nowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

QByteArray residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return "-1";
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0);
    }
    return "-1";
}

class ShownWatcher : public QObject
{
public:
    explicit ShownWatcher(QWidget *window) : m_window(window) {}

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (!m_seen && event->type() == QEvent::Expose && object == m_window->windowHandle()
            && m_window->windowHandle()->isExposed()) {
            m_seen = true;
            QTimer::singleShot(0, this, [this] {
                const qint64 shown = nowNs();
                QTimer::singleShot(1000, this, [shown] {
                    std::printf("SHOWN %lld %s\n", static_cast<long long>(shown),
                                residentKb().constData());
                    std::fflush(stdout);
                    QCoreApplication::quit();
                });
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_seen = false;
};
} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QTextEdit);
    ShownWatcher watcher(&window);
    application.installEventFilter(&watcher);
    window.show();
    QTimer::singleShot(10000, &application, &QApplication::quit);
    return application.exec();
}
