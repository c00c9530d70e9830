#include "protocol/frame_decoder.h"

namespace {

bool isAddressByte(char byte)
{
    return quint8(byte) & AddressBase;
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
