#ifndef FRAME_DECODER_H
#define FRAME_DECODER_H

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include "protocol/frames.h"

/// One three-byte command frame: only the address byte has its top bit set.
struct Frame
{
    quint8 address = AddressBase;
    quint8 command = 0;
    quint8 value = 0;

    QByteArray bytes() const { return commandFrame(address, command, value); }
};

/// What the decoder made of a stretch of the stream, in arrival order.
struct DecodedItem
{
    enum class Kind {
        Frame,      ///< a complete frame, in `frame`
        Stray,      ///< bytes below 0x80 with no address byte before them
        CutFrame,   ///< the start of a frame that a new address byte interrupted
    };

    Kind kind = Kind::Frame;
    Frame frame;          ///< for Frame only
    QByteArray skipped;   ///< for Stray and CutFrame: the bytes thrown away
};

/// Splits a byte stream into frames. A byte of 0x80 or more always starts a
/// frame, which is how the decoder finds its footing again after garbage or a
/// frame cut short. Every byte fed ends up in exactly one item or in pending().
class FrameDecoder
{
public:
    /// Decodes what `bytes` completes; an unfinished frame is kept for the next call.
    /// Adjacent stray bytes come out as one Stray item.
    QList<DecodedItem> feed(const QByteArray &bytes);

    /// The start of a frame still waiting for its other bytes (0 to 2 bytes).
    QByteArray pending() const { return m_partial; }

    void reset() { m_partial.clear(); }

private:
    QByteArray m_partial;
};

#endif // FRAME_DECODER_H
