#include "protocol/frames.h"

#include <QStringList>

namespace {
constexpr FrameBytes RequestFallback = {CodeRequest, 0};

/// Two upper-case hexadecimal digits at least; a label's text may hold any number.
QString upperHex(int value)
{
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}
} // namespace

int decimalOrZero(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

quint8 addressByte(bool hasCurrentEntry, const QString &idText)
{
    const int id = hasCurrentEntry ? decimalOrZero(idText) : 0;
    return quint8((id + AddressBase) & 0xFF);
}

FrameBytes folderBytes(quint8 folderCode, int folder)
{
    const int bank = folder / FolderBankSize;
    const int rest = folder % FolderBankSize;
    return {quint8((folderCode + BankCodeStep * bank) & 0xFF), quint8(rest)};
}

FrameBytes requestBytes(const QList<PlayerCommand> &commands, const QString &label)
{
    const PlayerCommand *request = lastCommand(commands, [&label](const PlayerCommand &command) {
        return command.kind == CommandKind::Request && command.label == label;
    });
    return request ? FrameBytes{request->code, request->valueMin} : RequestFallback;
}

QByteArray commandFrame(quint8 address, quint8 code, quint8 value)
{
    QByteArray frame;
    frame.append(char(address));
    frame.append(char(code));
    frame.append(char(value));
    return frame;
}

QString byteText(quint8 byte, ByteNotation notation)
{
    return notation == ByteNotation::Dec ? QString::number(byte) : upperHex(byte);
}

QString convertedByteText(const QString &text, ByteNotation to)
{
    bool ok = false;
    const int base = to == ByteNotation::Hex ? 10 : 16;
    const int value = text.toInt(&ok, base);
    const int shown = ok ? value : 0;
    return to == ByteNotation::Dec ? QString::number(shown) : upperHex(shown);
}

QString hexBytes(const QByteArray &bytes)
{
    // No string per byte: a saved session log passes megabytes through here.
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
