#include "link/received_data.h"

namespace {
constexpr char32_t Replacement = 0xFFFD;

void appendHex(const QByteArray &chunk, QString &text)
{
    // Each byte's group starts with its blank, so chunks join without a seam.
    if (!chunk.isEmpty())
        text += QLatin1Char(' ') + QLatin1String(chunk.toHex(' ').toUpper());
}

void appendDec(const QByteArray &chunk, QString &text)
{
    text.reserve(text.size() + 4 * chunk.size());
    for (const char c : chunk) {
        text.append(QLatin1Char(' '));
        text.append(QString::number(quint8(c)));
    }
}
} // namespace

int receivedTextCut(const QString &text)
{
    if (text.size() <= ReceivedTextLimit)
        return 0;
    int cut = text.size() - ReceivedTextLimit / 4 * 3;
    // No further than this for a line or group start: a line without a break
    // may be long. A line feed at the cut itself is found too, so a CR LF pair
    // stays whole.
    const int lineFeed = text.indexOf(QLatin1Char('\n'), cut - 1);
    if (lineFeed >= 0 && lineFeed < cut + ReceivedCutSearch)
        return lineFeed + 1;
    // Hex and decimal groups start with their blank: a number is never cut in
    // two, whatever came before it in another format.
    const int blank = text.indexOf(QLatin1Char(' '), cut);
    if (blank >= 0 && blank < cut + ReceivedCutSearch)
        return blank;
    return text.at(cut - 1).isHighSurrogate() ? cut + 1 : cut;
}

QByteArray keptReceivedBytes(const QByteArray &chunk)
{
    // Every byte but a zero one adds a character or is one of at most four
    // bytes that add one (three may wait for the next chunk); with this many
    // the cut falls inside their own text, and all before it goes unseen.
    constexpr int Enough = 4 * (ReceivedTextLimit + 1);
    int counted = 0;
    int start = chunk.size();
    while (start > 0 && counted < Enough)
        counted += chunk.at(--start) != 0;
    // Decoding from there differs at most in its first characters, which go too.
    return counted < Enough ? chunk : chunk.mid(start);
}

void ReceivedDataFormatter::append(const QByteArray &chunk, DataFormat format, QString &text)
{
    // Without bytes there is nothing received in the new format to flush for.
    if (chunk.isEmpty())
        return;
    switch (format) {
    case DataFormat::Text:
        text.reserve(text.size() + chunk.size());
        for (const char c : chunk)
            decodeByte(quint8(c), text);
        return;
    case DataFormat::Hex:
        flushPending(text);
        appendHex(chunk, text);
        return;
    case DataFormat::Dec:
        flushPending(text);
        appendDec(chunk, text);
        return;
    }
}

void ReceivedDataFormatter::reset()
{
    m_codePoint = 0;
    m_needed = 0;
    m_seen = 0;
    m_lower = 0x80;
    m_upper = 0xBF;
}

// The decoding steps of the WHATWG UTF-8 decoder, one byte at a time, which is
// what makes the result independent of chunk boundaries.
void ReceivedDataFormatter::decodeByte(quint8 byte, QString &text)
{
    if (m_needed == 0) {
        startSequence(byte, text);
        return;
    }
    if (byte < m_lower || byte > m_upper) {
        // The sequence so far is broken; the byte may start the next one.
        reset();
        emitCodePoint(Replacement, text);
        startSequence(byte, text);
        return;
    }
    m_lower = 0x80;
    m_upper = 0xBF;
    m_codePoint = (m_codePoint << 6) | (byte & 0x3F);
    if (++m_seen < m_needed)
        return;
    const char32_t complete = m_codePoint;
    reset();
    emitCodePoint(complete, text);
}

void ReceivedDataFormatter::startSequence(quint8 byte, QString &text)
{
    if (byte <= 0x7F) {
        emitCodePoint(byte, text);
    } else if (byte >= 0xC2 && byte <= 0xDF) {
        m_needed = 1;
        m_codePoint = byte & 0x1F;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        if (byte == 0xE0)
            m_lower = 0xA0; // no overlong forms
        if (byte == 0xED)
            m_upper = 0x9F; // no surrogates
        m_needed = 2;
        m_codePoint = byte & 0x0F;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        if (byte == 0xF0)
            m_lower = 0x90;
        if (byte == 0xF4)
            m_upper = 0x8F; // nothing above U+10FFFF
        m_needed = 3;
        m_codePoint = byte & 0x07;
    } else {
        emitCodePoint(Replacement, text);
    }
}

void ReceivedDataFormatter::emitCodePoint(char32_t codePoint, QString &text)
{
    if (codePoint == 0)
        return; // a zero byte would end the text for many readers; drop it alone
    if (QChar::requiresSurrogates(codePoint)) {
        text.append(QChar(QChar::highSurrogate(codePoint)));
        text.append(QChar(QChar::lowSurrogate(codePoint)));
    } else {
        text.append(QChar(char16_t(codePoint)));
    }
}

void ReceivedDataFormatter::flushPending(QString &text)
{
    if (m_needed == 0)
        return;
    reset();
    emitCodePoint(Replacement, text);
}
