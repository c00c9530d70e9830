#ifndef FRAMES_H
#define FRAMES_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/catalogue.h"

/// The address byte is this plus the player ID. Only the address byte has this
/// bit set, which is how a reader finds the start of a frame.
constexpr quint8 AddressBase = 0x80;

/// The bytes of a frame: address, command, value.
constexpr int FrameSize = 3;

/// Each folder bank moves the Folder command byte by this much.
constexpr int BankCodeStep = 16;

/// The two notations of the sent-bytes row.
enum class ByteNotation {
    Hex,
    Dec,
};

/// Command and value byte of a frame, as they follow the address byte.
struct FrameBytes
{
    quint8 code = 0;
    quint8 value = 0;
};

/// A selector's text read as a base-10 integer; text that is not a number reads as 0.
int decimalOrZero(const QString &text);

/// AddressBase plus the player ID, modulo 256; without a current ID entry the ID is 0.
quint8 addressByte(bool hasCurrentEntry, const QString &idText);

/// Folder N (never negative) travels in banks of FolderBankSize: the bank moves
/// the command byte by BankCodeStep, the rest is the value byte.
FrameBytes folderBytes(quint8 folderCode, int folder);

/// The Request whose label equals `label` exactly (the last match wins); command
/// byte 4 and value byte 0 when none does, since that frame is still sent.
FrameBytes requestBytes(const QList<PlayerCommand> &commands, const QString &label);

/// The three bytes on the wire, in order.
QByteArray commandFrame(quint8 address, quint8 code, quint8 value);

/// One byte of the sent-bytes row: two upper-case hex digits ("05", "7F") or
/// plain decimal without leading zeros ("5", "127").
QString byteText(quint8 byte, ByteNotation notation);

/// A sent-bytes label rewritten in `to`, its text read in the other notation
/// (0 when it does not parse).
QString convertedByteText(const QString &text, ByteNotation to);

/// The bytes as "85 21 2C": each as byteText() writes it in hexadecimal, one blank between.
QString hexBytes(const QByteArray &bytes);

#endif // FRAMES_H
