#include "peer.h"
#include "testsupport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace bench {

int listenLoopback(quint16 &port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    inet_pton(AF_INET, PlayerHost, &address.sin_addr);
    socklen_t length = sizeof address;
    auto *generic = reinterpret_cast<sockaddr *>(&address);
    if (::bind(fd, generic, length) != 0 || ::listen(fd, 1) != 0
        || ::getsockname(fd, generic, &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

int acceptWithin(int listener, int timeoutMs)
{
    pollfd waiting{listener, POLLIN, 0};
    if (::poll(&waiting, 1, timeoutMs) != 1)
        return -1;
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
}

int openRawLine(const QByteArray &path)
{
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios line{};
    if (::tcgetattr(fd, &line) != 0) {
        ::close(fd);
        return -1;
    }
    ::cfmakeraw(&line);
    ::cfsetispeed(&line, B38400);
    ::cfsetospeed(&line, B38400);
    line.c_cflag &= ~tcflag_t(CSTOPB | PARENB | CRTSCTS);
    line.c_cflag |= CS8 | CLOCAL | CREAD;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
    if (::tcsetattr(fd, TCSANOW, &line) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int readWithin(int fd, QByteArray &buffer, int timeoutMs)
{
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, timeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return 0;
    if (ready < 0)
        return -1;
    char bytes[4096];
    const ssize_t got = ::read(fd, bytes, sizeof bytes);
    if (got <= 0)
        return got < 0 && errno == EAGAIN ? 0 : -1;
    buffer.append(bytes, int(got));
    return int(got);
}

void closeFd(int fd)
{
    if (fd >= 0)
        ::close(fd);
}

} // namespace bench
