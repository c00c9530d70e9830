#include "link/session_log.h"

#include <QBuffer>
#include <QDateTime>
#include <QSaveFile>

namespace {
/// What an entry's line takes beyond its bytes and text: time, kind, link.
constexpr qint64 EntryOverhead = 96;
/// What a byte of a frame or chunk takes in a saved log: its hex, at least
/// one character of text.
constexpr qint64 BytesPerByte = 4;

const char Header[] = "time\tkind\tlink\tbytes\ttext\n";

const char *kindWord(SessionLog::Kind kind)
{
    switch (kind) {
    case SessionLog::Kind::Sent:
        return "sent";
    case SessionLog::Kind::Received:
        return "received";
    case SessionLog::Kind::Link:
        break;
    }
    return "link";
}

/// Local time to the millisecond. Entries come many to a second, and turning
/// a time into local time is the slow part, so the second is kept.
class TimeStamper
{
public:
    void append(QByteArray &out, qint64 msecs)
    {
        const qint64 second = msecs - msecs % 1000;
        if (second != m_second || m_text.isEmpty()) {
            m_second = second;
            m_text = QDateTime::fromMSecsSinceEpoch(second, Qt::LocalTime)
                         .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss."))
                         .toLatin1();
        }
        const int ms = int(msecs % 1000);
        out += m_text;
        out += char('0' + ms / 100);
        out += char('0' + ms / 10 % 10);
        out += char('0' + ms % 10);
    }

private:
    qint64 m_second = 0;
    QByteArray m_text;
};

const char HexDigits[] = "0123456789ABCDEF";

/// Control characters (C0, DEL, C1), the two separators some editors break
/// lines at, and the backslash that starts an escape: written as escapes, so
/// an entry stays on one line and in its column.
bool needsEscape(ushort u)
{
    return u < 0x20 || u == '\\' || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029;
}

void appendEscape(QByteArray &out, ushort u)
{
    switch (u) {
    case '\\':
        out += "\\\\";
        return;
    case '\t':
        out += "\\t";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    default:
        out += u > 0xFF ? "\\u" : "\\x";
        for (int shift = u > 0xFF ? 12 : 4; shift >= 0; shift -= 4)
            out += HexDigits[(u >> shift) & 0xF];
    }
}

void appendEscaped(QByteArray &out, const QString &text)
{
    int plain = 0; // where the characters taken as they are start
    for (int i = 0; i < text.size(); ++i) {
        const ushort u = text.at(i).unicode();
        if (!needsEscape(u))
            continue;
        out += text.midRef(plain, i - plain).toUtf8();
        appendEscape(out, u);
        plain = i + 1;
    }
    out += text.midRef(plain).toUtf8();
}

/// How long the UTF-8 sequence at the start of `d` (`n` bytes left) is when
/// valid (`valid` set), else how many bytes its longest valid start takes.
int sequenceAt(const uchar *d, int n, bool &valid)
{
    const uchar lead = d[0];
    int length = 0;
    uchar low = 0x80, high = 0xBF; // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    int taken = 1;
    while (taken < length && taken < n
           && d[taken] >= (taken == 1 ? low : 0x80) && d[taken] <= (taken == 1 ? high : 0xBF))
        ++taken;
    valid = length > 0 && taken == length;
    return taken;
}

/// The bytes as UTF-8 text, each invalid or cut-off sequence as one U+FFFD,
/// straight from bytes to bytes: a full log holds megabytes of chunks.
void appendChunkText(QByteArray &out, const QByteArray &bytes)
{
    const auto *data = reinterpret_cast<const uchar *>(bytes.constData());
    const int size = bytes.size();
    int i = 0;
    while (i < size) {
        int end = i;
        while (end < size && data[end] < 0x80 && !needsEscape(data[end]))
            ++end;
        out.append(bytes.constData() + i, end - i);
        i = end;
        if (i == size)
            break;
        if (data[i] < 0x80) {
            appendEscape(out, data[i++]);
            continue;
        }
        bool valid = false;
        const int taken = sequenceAt(data + i, size - i, valid);
        const bool c1 = valid && data[i] == 0xC2 && data[i + 1] < 0xA0;
        const bool separator = valid && data[i] == 0xE2 && data[i + 1] == 0x80
                               && (data[i + 2] == 0xA8 || data[i + 2] == 0xA9);
        if (!valid)
            out += "\xEF\xBF\xBD";
        else if (c1)
            appendEscape(out, data[i + 1]);
        else if (separator)
            appendEscape(out, ushort(0x2000 + data[i + 2] - 0x80)); // E2 80 A8 is U+2028
        else
            out.append(bytes.constData() + i, taken);
        i += taken;
    }
}

/// "85 21 2C", as hexBytes writes it.
void appendHex(QByteArray &out, const QByteArray &bytes)
{
    out += bytes.toHex(' ').toUpper();
}
} // namespace

SessionLog::SessionLog(int maxEntries, qint64 maxBytes)
    : m_maxEntries(maxEntries), m_maxBytes(maxBytes)
{
}

void SessionLog::addFrame(const QString &link, const QByteArray &frame, const QString &name)
{
    add({QDateTime::currentMSecsSinceEpoch(), Kind::Sent, link, frame, name});
}

void SessionLog::addChunk(const QString &link, const QByteArray &chunk)
{
    // Shares the chunk's data with the caller: no copy is made here.
    add({QDateTime::currentMSecsSinceEpoch(), Kind::Received, link, chunk, QString()});
}

void SessionLog::addEvent(const QString &link, const QString &text)
{
    add({QDateTime::currentMSecsSinceEpoch(), Kind::Link, link, QByteArray(), text});
}

qint64 SessionLog::cost(const Entry &entry)
{
    return EntryOverhead + BytesPerByte * qint64(entry.bytes.size()) + entry.text.size();
}

void SessionLog::add(Entry entry)
{
    if (!m_recording)
        return;
    // A chunk alone over the byte bound keeps its end: the latest bytes count.
    const qint64 room = (m_maxBytes - EntryOverhead - entry.text.size()) / BytesPerByte;
    if (entry.bytes.size() > room) {
        entry.bytes = entry.bytes.right(int(qMax<qint64>(room, 0)));
        ++m_dropped;
    }
    m_bytes += cost(entry);
    m_entries.push_back(std::move(entry));
    while (!m_entries.empty()
           && (int(m_entries.size()) > m_maxEntries || m_bytes > m_maxBytes)) {
        m_bytes -= cost(m_entries.front());
        m_entries.pop_front();
        ++m_dropped;
    }
}

QByteArray SessionLog::text() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return buffer.data();
}

bool SessionLog::write(QIODevice &device) const
{
    // Written in blocks: a full log makes tens of megabytes of text.
    constexpr int BlockSize = 1 << 20;
    QByteArray block;
    block.reserve(2 * BlockSize);
    if (m_dropped > 0)
        block += "# " + QByteArray::number(m_dropped) + " earlier entries dropped\n";
    block += Header;
    TimeStamper stamper;
    for (const Entry &entry : m_entries) {
        stamper.append(block, entry.msecsSinceEpoch);
        block += '\t';
        block += kindWord(entry.kind);
        block += '\t';
        appendEscaped(block, entry.link);
        block += '\t';
        appendHex(block, entry.bytes);
        block += '\t';
        if (entry.kind == Kind::Received)
            appendChunkText(block, entry.bytes);
        else
            appendEscaped(block, entry.text);
        block += '\n';
        if (block.size() >= BlockSize) {
            if (device.write(block) != block.size())
                return false;
            block.resize(0);
        }
    }
    return device.write(block) == block.size();
}

bool SessionLog::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    if (!write(file) || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
