#include "protocol/frame_decoder.h"

#include <QStringList>

namespace {

constexpr quint8 AddressFlag = 0x80;
constexpr int FrameSize = 3;

bool isAddressByte(char byte)
{
    return quint8(byte) & AddressFlag;
}

void appendSkipped(QList<DecodedItem> &items, DecodedItem::Kind kind, const QByteArray &bytes)
{
    if (kind == DecodedItem::Kind::Stray && !items.isEmpty()
        && items.last().kind == DecodedItem::Kind::Stray) {
        items.last().skipped += bytes;
        return;
    }
    DecodedItem item;
    item.kind = kind;
    item.skipped = bytes;
    items.append(item);
}

} // namespace

QByteArray Frame::bytes() const
{
    QByteArray out(FrameSize, '\0');
    out[0] = char(address);
    out[1] = char(command);
    out[2] = char(value);
    return out;
}

bool Frame::operator==(const Frame &other) const
{
    return address == other.address && command == other.command && value == other.value;
}

QString hexBytes(const QByteArray &bytes)
{
    QStringList parts;
    parts.reserve(bytes.size());
    for (char byte : bytes)
        parts << QStringLiteral("%1").arg(quint8(byte), 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

QList<DecodedItem> FrameDecoder::feed(const QByteArray &bytes)
{
    QList<DecodedItem> items;
    for (char byte : bytes) {
        if (isAddressByte(byte)) {
            if (!m_partial.isEmpty())
                appendSkipped(items, DecodedItem::Kind::CutFrame, m_partial);
            m_partial = QByteArray(1, byte);
            continue;
        }
        if (m_partial.isEmpty()) {
            appendSkipped(items, DecodedItem::Kind::Stray, QByteArray(1, byte));
            continue;
        }
        m_partial.append(byte);
        if (m_partial.size() == FrameSize) {
            DecodedItem item;
            item.frame.address = quint8(m_partial[0]);
            item.frame.command = quint8(m_partial[1]);
            item.frame.value = quint8(m_partial[2]);
            items.append(item);
            m_partial.clear();
        }
    }
    return items;
}
