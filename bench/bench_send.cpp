// A send is a process start: from the exec of quorvex-send to its frame at a
// loopback TCP peer, against a bare Qt program doing the same and against
// socat; then a script of 1,000 frames to a TCP peer and to a pty pair, which
// must cost no more than the frames themselves (no per-frame waits).

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <functional>

#include "benchsupport.h"

extern char **environ;

namespace {

constexpr int Runs = 21;
constexpr int ScriptFrames = 1000;
constexpr int TimeoutMs = 10000;

/// Milliseconds from the spawn of `argv` until `bytes` bytes have arrived from
/// `receive` (which waits itself, bounded); -1 when they did not, or the child failed.
double timedRun(const QStringList &argv, const std::function<qint64()> &receive, qint64 bytes)
{
    QList<QByteArray> storage;
    std::vector<char *> args;
    for (const QString &arg : argv)
        storage << arg.toLocal8Bit();
    for (QByteArray &arg : storage)
        args.push_back(arg.data());
    args.push_back(nullptr);
    const qint64 start = bench::nowNs();
    pid_t child = 0;
    if (posix_spawn(&child, args[0], nullptr, nullptr, args.data(), environ) != 0)
        return -1;
    const qint64 got = receive();
    const qint64 end = bench::nowNs();
    int status = 0;
    waitpid(child, &status, 0);
    return got >= bytes && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? (end - start) / 1e6 : -1;
}

/// Reads from `fd` until `bytes` have come, the peer closes or the time is up.
qint64 readBytes(int fd, qint64 bytes)
{
    qint64 got = 0;
    char buffer[4096];
    pollfd watch = {fd, POLLIN, 0};
    while (got < bytes && poll(&watch, 1, TimeoutMs) > 0) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        got += n;
    }
    return got;
}

/// A loopback listener whose next connection is read up to `bytes`.
struct TcpPeer
{
    TcpPeer()
    {
        fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr *>(&address), size) == 0 && listen(fd, 8) == 0)
            getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
        port = ntohs(address.sin_port);
    }
    ~TcpPeer() { close(fd); }
    qint64 receive(qint64 bytes) const
    {
        pollfd watch = {fd, POLLIN, 0};
        if (poll(&watch, 1, TimeoutMs) <= 0)
            return 0;
        const int connection = accept(fd, nullptr, nullptr);
        const qint64 got = readBytes(connection, bytes);
        close(connection);
        return got;
    }
    int fd = -1;
    quint16 port = 0;
};

bench::Row row(const QString &metric, const QString &condition, const QVector<double> &samples,
               const QString &target = QStringLiteral("-"), bool pass = true)
{
    const bench::Summary s = bench::summarize(samples);
    return {metric, condition, bench::formatMs(s.median), QStringLiteral("p90 ") + bench::formatMs(s.p90),
            QString::number(s.count), target,
            target == QLatin1String("-") ? QStringLiteral("report") : pass ? QStringLiteral("pass") : QStringLiteral("miss")};
}

} // namespace

int main(int argc, char *argv[])
{
    Q_UNUSED(argc)
    const QString dir = QString::fromLocal8Bit(argv[0]).section(QLatin1Char('/'), 0, -2);
    const QString send = QStringLiteral(QUORVEX_SEND), floor = dir + QStringLiteral("/bench_floor_send");
    QTemporaryDir temporary;
    QFile frame(temporary.filePath(QStringLiteral("frame")));
    QFile script(temporary.filePath(QStringLiteral("script")));
    if (!frame.open(QIODevice::WriteOnly) || !script.open(QIODevice::WriteOnly))
        return 1;
    frame.write("\x80\x02\x01", 3);
    frame.close();
    for (int i = 0; i < ScriptFrames; ++i)
        script.write(i % 2 ? "play\n" : "stop\n");
    script.close();
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));

    // Interleaved, so a busy moment of the machine falls on all three alike.
    TcpPeer peer;
    const QString host = QStringLiteral("127.0.0.1:%1").arg(peer.port);
    const auto fromPeer = [&peer](qint64 bytes) { return [&peer, bytes] { return peer.receive(bytes); }; };
    QVector<double> sender, bare, plain, ratios, scriptTcp;
    for (int run = 0; run <= Runs; ++run) {
        const double s = timedRun({send, QStringLiteral("--host"), host, QStringLiteral("play")}, fromPeer(3), 3);
        const double f = timedRun({floor, QStringLiteral("127.0.0.1"), QString::number(peer.port)}, fromPeer(3), 3);
        const double c = timedRun({socat, QStringLiteral("-u"), QStringLiteral("OPEN:") + frame.fileName(),
                                   QStringLiteral("TCP:") + host}, fromPeer(3), 3);
        const double t = timedRun({send, QStringLiteral("--host"), host, QStringLiteral("--script"), script.fileName()},
                                  fromPeer(3 * ScriptFrames), 3 * ScriptFrames);
        if (run == 0 || s < 0 || f < 0 || c < 0 || t < 0) // the first warms the caches
            continue;
        sender << s;
        bare << f;
        plain << c;
        ratios << s / f;
        scriptTcp << t - s;
    }
    const double ratio = bench::summarize(ratios).median;
    bench::printRow(row(QStringLiteral("exec to frame, quorvex-send play"), QStringLiteral("loopback TCP"), sender));
    bench::printRow(row(QStringLiteral("exec to frame, bare Qt program"), QStringLiteral("loopback TCP"), bare));
    bench::printRow(row(QStringLiteral("exec to frame, socat"), QStringLiteral("loopback TCP"), plain));
    bench::printRow({QStringLiteral("exec to frame, quorvex-send / bare Qt"), QStringLiteral("loopback TCP"),
                     QStringLiteral("%1x").arg(ratio, 0, 'f', 2), QStringLiteral("-"), QString::number(ratios.size()),
                     QStringLiteral("<= 1.2x"), ratio <= 1.2 ? QStringLiteral("pass") : QStringLiteral("miss")});
    const double perFrameTcp = bench::summarize(scriptTcp).median / (ScriptFrames - 1);
    bench::printRow(row(QStringLiteral("1,000-frame script beyond one frame"), QStringLiteral("loopback TCP"), scriptTcp,
                        QStringLiteral("<= 0.05 ms a frame"), perFrameTcp <= 0.05));

    // The pty pair: socat relays between two pseudo-terminals, as a cable would.
    QProcess pair;
    const QString benchEnd = temporary.filePath(QStringLiteral("bench")), sendEnd = temporary.filePath(QStringLiteral("send"));
    pair.start(socat, {QStringLiteral("pty,raw,echo=0,link=") + benchEnd, QStringLiteral("pty,raw,echo=0,link=") + sendEnd});
    const int fd = pair.waitForStarted() && QTest::qWaitFor([&] { return QFile::exists(sendEnd); }, TimeoutMs)
                       ? open(QFile::encodeName(benchEnd).constData(), O_RDWR | O_NOCTTY)
                       : -1;
    termios raw = {};
    if (fd < 0 || tcgetattr(fd, &raw) != 0)
        return 1;
    cfmakeraw(&raw);
    tcsetattr(fd, TCSANOW, &raw);
    const auto fromPty = [fd](qint64 bytes) { return [fd, bytes] { return readBytes(fd, bytes); }; };
    QVector<double> onePty, scriptPty;
    for (int run = 0; run <= Runs; ++run) {
        const QStringList link = {send, QStringLiteral("--serial"), sendEnd, QStringLiteral("--speed"), QStringLiteral("38400")};
        const double one = timedRun(link + QStringList{QStringLiteral("play")}, fromPty(3), 3);
        const double all = timedRun(link + QStringList{QStringLiteral("--script"), script.fileName()},
                                    fromPty(3 * ScriptFrames), 3 * ScriptFrames);
        if (run > 0 && one >= 0 && all >= 0) {
            onePty << one;
            scriptPty << all - one;
        }
    }
    close(fd);
    pair.kill();
    pair.waitForFinished(TimeoutMs);
    bench::printRow(row(QStringLiteral("exec to frame, quorvex-send play"), QStringLiteral("socat pty pair"), onePty));
    const double perFramePty = bench::summarize(scriptPty).median / (ScriptFrames - 1);
    bench::printRow(row(QStringLiteral("1,000-frame script beyond one frame"), QStringLiteral("socat pty pair"), scriptPty,
                        QStringLiteral("<= 0.05 ms a frame"), perFramePty <= 0.05));
    return 0;
}
