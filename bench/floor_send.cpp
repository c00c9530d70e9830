// The floor bench_send measures quorvex-send against: a Qt program that does
// nothing but connect to HOST PORT, write one frame and end once it has left.

#include <QCoreApplication>
#include <QTcpSocket>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 2;
    QTcpSocket socket;
    QObject::connect(&socket, &QTcpSocket::connected, &socket, [&socket] { socket.write("\x80\x02\x01", 3); });
    QObject::connect(&socket, &QTcpSocket::bytesWritten, &socket, [&socket] {
        if (socket.bytesToWrite() == 0)
            QCoreApplication::quit();
    });
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &socket, [] { QCoreApplication::exit(1); });
    socket.connectToHost(QString::fromLocal8Bit(argv[1]), quint16(QByteArray(argv[2]).toUInt()));
    return application.exec();
}
