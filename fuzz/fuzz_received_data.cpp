// Fuzz target for the received-data formatter: arbitrary chunks, each shown as
// text, hexadecimal or decimal.
//
// Input: a series of chunks, each a header byte h then min(h / 3, rest) bytes;
// h % 3 picks the format (text, hex, dec). Sizes of 0 make empty chunks.
//
// Checked: the text is the same whether the chunks come as given, with
// neighbours of one format merged, or byte by byte (after reset(), on the same
// formatter); it holds no NUL and no lone surrogate; hex and dec show exactly
// " XX" / " N" per byte, after one U+FFFD when the text before them left a
// character unfinished; text shows every ASCII byte but NUL, in order, and well
// formed UTF-8 (perhaps cut at the end) exactly as QString::fromUtf8 without NULs.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include <QString>

#include "link/received_data.h"

namespace {

[[noreturn]] void violated(const char *property)
{
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

#define REQUIRE(condition) ((condition) ? void(0) : violated(#condition))

constexpr char16_t Replacement = 0xFFFD;

struct Chunk
{
    DataFormat format;
    QByteArray bytes;
};

QString formatAll(ReceivedDataFormatter &formatter, const std::vector<Chunk> &chunks)
{
    QString text;
    for (const Chunk &chunk : chunks)
        formatter.append(chunk.bytes, chunk.format, text);
    return text;
}

/// Length of the well-formed UTF-8 sequence starting at `at` (Unicode's table
/// of well-formed byte sequences): 0 if it is broken, -1 if the bytes end
/// before it does without breaking it.
int sequenceLength(const QByteArray &bytes, int at)
{
    const auto byte = [&bytes](int i) { return quint8(bytes[i]); };
    const quint8 lead = byte(at);
    int needed = 0;
    quint8 low = 0x80;
    quint8 high = 0xBF;
    if (lead <= 0x7F)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        needed = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        needed = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        needed = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (int i = 1; i <= needed; ++i) {
        if (at + i >= bytes.size())
            return -1;
        if (byte(at + i) < low || byte(at + i) > high)
            return 0;
        low = 0x80;
        high = 0xBF;
    }
    return needed + 1;
}

/// For well-formed UTF-8, perhaps with an unfinished last character: the size
/// of the complete part and whether a character is left unfinished.
struct WellFormed
{
    int complete;
    bool unfinished;
};

std::optional<WellFormed> wellFormedPrefix(const QByteArray &bytes)
{
    for (int at = 0; at < bytes.size();) {
        const int length = sequenceLength(bytes, at);
        if (length == 0)
            return std::nullopt;
        if (length < 0)
            return WellFormed{at, true};
        at += length;
    }
    return WellFormed{int(bytes.size()), false};
}

void checkNoLoneSurrogate(const QString &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate()) {
            REQUIRE(i + 1 < text.size() && text[i + 1].isLowSurrogate());
            ++i;
        } else {
            REQUIRE(!text[i].isLowSurrogate());
        }
    }
}

void checkTextPiece(const QByteArray &bytes, const QString &shown, bool pendingAfter)
{
    QString ascii;
    for (const QChar c : shown) {
        if (c.unicode() < 0x80)
            ascii += c;
    }
    QString asciiSent;
    for (const char c : bytes) {
        if (quint8(c) >= 0x01 && quint8(c) < 0x80)
            asciiSent += QLatin1Char(c);
    }
    REQUIRE(ascii == asciiSent);

    const std::optional<WellFormed> wellFormed = wellFormedPrefix(bytes);
    if (!wellFormed)
        return;
    REQUIRE(pendingAfter == wellFormed->unfinished);
    // Behind a letter, because fromUtf8 drops a leading byte-order mark, which
    // is data in a received stream; with a size, because it stops at a NUL without.
    const QByteArray decoded = "A" + bytes.left(wellFormed->complete);
    QString expected = QString::fromUtf8(decoded.constData(), decoded.size()).mid(1);
    expected.remove(QChar(0));
    REQUIRE(shown == expected);
}

QString bytesShown(const QByteArray &bytes, DataFormat format)
{
    QString text;
    for (const char c : bytes) {
        text += QLatin1Char(' ');
        if (format == DataFormat::Hex)
            text += QString::number(uint(quint8(c)), 16).rightJustified(2, QLatin1Char('0')).toUpper();
        else
            text += QString::number(uint(quint8(c)));
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<Chunk> chunks;
    for (std::size_t at = 0; at < size;) {
        const uint8_t header = data[at++];
        const std::size_t length = std::min<std::size_t>(header / 3, size - at);
        chunks.push_back({DataFormat(header % 3),
                          QByteArray(reinterpret_cast<const char *>(data + at), int(length))});
        at += length;
    }

    // Runs: neighbouring chunks of one format merged, empty chunks dropped.
    std::vector<Chunk> runs;
    for (const Chunk &chunk : chunks) {
        if (chunk.bytes.isEmpty())
            continue;
        if (!runs.empty() && runs.back().format == chunk.format)
            runs.back().bytes += chunk.bytes;
        else
            runs.push_back(chunk);
    }

    ReceivedDataFormatter formatter;
    QString text;
    bool pending = false;
    for (const Chunk &run : runs) {
        const int before = text.size();
        formatter.append(run.bytes, run.format, text);
        const QString shown = text.mid(before);
        if (run.format == DataFormat::Text) {
            checkTextPiece(run.bytes, shown, formatter.pending());
        } else {
            const QString flushed = pending ? QString(QChar(Replacement)) : QString();
            REQUIRE(shown == flushed + bytesShown(run.bytes, run.format));
            REQUIRE(!formatter.pending());
        }
        pending = formatter.pending();
    }
    REQUIRE(!text.contains(QChar(0)));
    checkNoLoneSurrogate(text);

    ReceivedDataFormatter chunked;
    REQUIRE(formatAll(chunked, chunks) == text);

    std::vector<Chunk> single;
    for (const Chunk &run : runs) {
        for (const char c : run.bytes)
            single.push_back({run.format, QByteArray(1, c)});
    }
    chunked.reset();
    REQUIRE(!chunked.pending());
    REQUIRE(formatAll(chunked, single) == text);
    return 0;
}
