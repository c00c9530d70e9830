#include "link/session_log.h"

#include <QDateTime>
#include <QSaveFile>

#include "protocol/frames.h"

namespace {
/// What an entry costs beyond its bytes and text: the entry and its arrays' headers.
constexpr qint64 EntryOverhead = 96;

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
    QByteArray stamp(qint64 msecs)
    {
        const qint64 second = msecs - msecs % 1000;
        if (second != m_second || m_text.isEmpty()) {
            m_second = second;
            m_text = QDateTime::fromMSecsSinceEpoch(second, Qt::LocalTime)
                         .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss."))
                         .toLatin1();
        }
        return m_text + QByteArray::number(msecs % 1000).rightJustified(3, '0');
    }

private:
    qint64 m_second = 0;
    QByteArray m_text;
};
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
    return EntryOverhead + entry.bytes.size() + 2 * qint64(entry.text.size());
}

void SessionLog::add(Entry entry)
{
    // A chunk alone over the byte bound keeps its end: the latest bytes count.
    const qint64 room = m_maxBytes - EntryOverhead - 2 * qint64(entry.text.size());
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

QString SessionLog::escaped(const QString &text)
{
    static const char Hex[] = "0123456789ABCDEF";
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u >= 0x20 && u != '\\' && u != 0x7F && u < 0x85) {
            out.append(c);
            continue;
        }
        switch (u) {
        case '\\':
            out.append(QLatin1String("\\\\"));
            break;
        case '\t':
            out.append(QLatin1String("\\t"));
            break;
        case '\n':
            out.append(QLatin1String("\\n"));
            break;
        case '\r':
            out.append(QLatin1String("\\r"));
            break;
        default:
            // C0, DEL and C1 controls, and the two separators some editors
            // break lines at.
            if (u < 0xA0 || u == 0x2028 || u == 0x2029) {
                out.append(QLatin1String(u > 0xFF ? "\\u" : "\\x"));
                for (int shift = u > 0xFF ? 12 : 4; shift >= 0; shift -= 4)
                    out.append(QLatin1Char(Hex[(u >> shift) & 0xF]));
            } else {
                out.append(c);
            }
        }
    }
    return out;
}

QByteArray SessionLog::text() const
{
    QByteArray out;
    if (m_dropped > 0)
        out += "# " + QByteArray::number(m_dropped) + " earlier entries dropped\n";
    out += Header;
    TimeStamper stamper;
    for (const Entry &entry : m_entries) {
        out += stamper.stamp(entry.msecsSinceEpoch);
        out += '\t';
        out += kindWord(entry.kind);
        out += '\t';
        out += escaped(entry.link).toUtf8();
        out += '\t';
        out += hexBytes(entry.bytes).toLatin1();
        out += '\t';
        // A chunk's bytes as text, each chunk decoded on its own, zero bytes included.
        const QString text = entry.kind == Kind::Received
                                 ? QString::fromUtf8(entry.bytes.constData(), entry.bytes.size())
                                 : entry.text;
        out += escaped(text).toUtf8();
        out += '\n';
    }
    return out;
}

bool SessionLog::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = file.errorString();
        return false;
    }
    const QByteArray bytes = text();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}
