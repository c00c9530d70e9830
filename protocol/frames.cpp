#include "protocol/frames.h"

namespace {
constexpr quint8 AddressBase = 0x80;
constexpr int BankCodeStep = 16;
constexpr FrameBytes RequestFallback = {4, 0};
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
    FrameBytes bytes = RequestFallback;
    for (const PlayerCommand &command : commands) {
        if (command.kind == CommandKind::Request && command.label == label)
            bytes = {command.code, command.valueMin};
    }
    return bytes;
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
    if (notation == ByteNotation::Dec)
        return QString::number(byte);
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

QString convertedByteText(const QString &text, ByteNotation to)
{
    bool ok = false;
    const int base = to == ByteNotation::Hex ? 10 : 16;
    const int value = text.toInt(&ok, base);
    const int shown = ok ? value : 0;
    if (to == ByteNotation::Dec)
        return QString::number(shown);
    return QStringLiteral("%1").arg(shown, 2, 16, QLatin1Char('0')).toUpper();
}
