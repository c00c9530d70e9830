// Fuzz target for the simulated player's frame decoder: any byte stream, fed in
// chunks the fuzzer chooses.
//
// Input: the low four bits of the first byte say how many chunk sizes follow
// (0 to 15), each a byte taken modulo 32, used in turn until the stream is fed;
// a size of 0 feeds an empty chunk, then one byte. The rest is the stream.
// With no sizes the stream goes in as one chunk.
//
// Checked: every item is well formed, the items and the pending bytes give the
// stream back exactly, a cut frame is always followed by an address byte, and
// the result is the same whole, in the fuzzer's chunks and byte by byte. The
// first three leave exactly one way to decode a stream, the framing rule's.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "protocol/frame_decoder.h"

namespace {

[[noreturn]] void violated(const char *property)
{
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

#define REQUIRE(condition) ((condition) ? void(0) : violated(#condition))

bool isAddress(char byte)
{
    return quint8(byte) >= 0x80;
}

bool allData(const QByteArray &bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), isAddress);
}

struct Piece
{
    DecodedItem::Kind kind;
    QByteArray bytes;
    bool operator==(const Piece &other) const { return kind == other.kind && bytes == other.bytes; }
};

struct Decoding
{
    std::vector<Piece> pieces;
    QByteArray pending;
    bool operator==(const Decoding &other) const
    {
        return pieces == other.pieces && pending == other.pending;
    }
};

void checkAndAppend(std::vector<Piece> &pieces, const DecodedItem &item)
{
    switch (item.kind) {
    case DecodedItem::Kind::Frame:
        REQUIRE(item.frame.address >= 0x80);
        REQUIRE(item.frame.command < 0x80);
        REQUIRE(item.frame.value < 0x80);
        pieces.push_back({item.kind, item.frame.bytes()});
        return;
    case DecodedItem::Kind::CutFrame:
        REQUIRE(item.skipped.size() == 1 || item.skipped.size() == 2);
        REQUIRE(isAddress(item.skipped[0]));
        REQUIRE(allData(item.skipped.mid(1)));
        pieces.push_back({item.kind, item.skipped});
        return;
    case DecodedItem::Kind::Stray:
        REQUIRE(!item.skipped.isEmpty());
        REQUIRE(allData(item.skipped));
        // The decoder joins stray runs only within one call; join across calls
        // too, so that decodings in different chunks compare equal.
        if (!pieces.empty() && pieces.back().kind == DecodedItem::Kind::Stray)
            pieces.back().bytes += item.skipped;
        else
            pieces.push_back({item.kind, item.skipped});
        return;
    }
    violated("item of no known kind");
}

Decoding decode(FrameDecoder &decoder, const QByteArray &stream, const std::vector<int> &sizes)
{
    Decoding out;
    std::size_t next = 0;
    for (int at = 0; at < stream.size();) {
        int size = sizes.empty() ? stream.size() : sizes[next++ % sizes.size()];
        if (size == 0) {
            REQUIRE(decoder.feed(QByteArray()).isEmpty());
            size = 1;
        }
        for (const DecodedItem &item : decoder.feed(stream.mid(at, size)))
            checkAndAppend(out.pieces, item);
        at += size;
    }
    out.pending = decoder.pending();
    return out;
}

void checkPartition(const QByteArray &stream, const Decoding &decoding)
{
    const QByteArray &pending = decoding.pending;
    REQUIRE(pending.size() < 3);
    REQUIRE(pending.isEmpty() || (isAddress(pending[0]) && allData(pending.mid(1))));

    QByteArray rebuilt;
    for (const Piece &piece : decoding.pieces)
        rebuilt += piece.bytes;
    REQUIRE(rebuilt + pending == stream);

    // Only a new address byte cuts a frame short, and that byte starts the next
    // piece or the pending bytes; a data byte would have completed the frame.
    for (std::size_t i = 0; i < decoding.pieces.size(); ++i) {
        if (decoding.pieces[i].kind != DecodedItem::Kind::CutFrame)
            continue;
        const QByteArray &after = i + 1 < decoding.pieces.size() ? decoding.pieces[i + 1].bytes : pending;
        REQUIRE(!after.isEmpty() && isAddress(after[0]));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t sizeCount = std::min<std::size_t>(data[0] & 0x0f, size - 1);
    std::vector<int> sizes;
    for (std::size_t i = 1; i <= sizeCount; ++i)
        sizes.push_back(data[i] % 32);
    const QByteArray stream(reinterpret_cast<const char *>(data + 1 + sizeCount),
                            int(size - 1 - sizeCount));

    FrameDecoder decoder;
    const Decoding chunked = decode(decoder, stream, sizes);
    checkPartition(stream, chunked);

    // reset() forgets a pending frame start: the same decoder starts afresh.
    decoder.reset();
    REQUIRE(decoder.pending().isEmpty());
    const Decoding whole = decode(decoder, stream, {});
    checkPartition(stream, whole);
    REQUIRE(whole == chunked);

    FrameDecoder byteByByte;
    REQUIRE(decode(byteByByte, stream, {1}) == whole);
    return 0;
}
