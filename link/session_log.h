#ifndef SESSION_LOG_H
#define SESSION_LOG_H

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QtGlobal>

#include <deque>

/// The log keeps the latest entries up to whichever bound is reached first:
/// a count, and the size its saved text comes to (counting for each byte
/// received or sent its hex and one character of text, so binary data,
/// whose text is escapes, may make the file larger).
constexpr int SessionLogMaxEntries = 100000;
constexpr qint64 SessionLogMaxBytes = 16 * 1024 * 1024;

/// What the operator did and what came back, in order: frames written, chunks
/// received and link events, each stamped to the millisecond. Entries keep raw
/// bytes and are formatted only when saved, so logging a chunk costs little.
class SessionLog
{
public:
    enum class Kind {
        Sent,
        Received,
        Link,
    };

    struct Entry
    {
        qint64 msecsSinceEpoch = 0;
        Kind kind = Kind::Link;
        QString link;     ///< "TCP 10.0.0.5:65079", "serial /dev/ttyUSB0"
        QByteArray bytes; ///< the frame or the chunk; none for a link event
        QString text;     ///< the frame's name or the event's words
    };

    explicit SessionLog(int maxEntries = SessionLogMaxEntries,
                        qint64 maxBytes = SessionLogMaxBytes);

    void addFrame(const QString &link, const QByteArray &frame, const QString &name);
    void addChunk(const QString &link, const QByteArray &chunk);
    void addEvent(const QString &link, const QString &text);

    /// Off, entries are not kept: the operator's panel always logs, but a
    /// benchmark measures what logging costs.
    void setRecording(bool on) { m_recording = on; }

    int size() const { return int(m_entries.size()); }
    /// Entries dropped to keep the bounds; the head of a chunk longer than the
    /// byte bound counts as one.
    qint64 dropped() const { return m_dropped; }

    /// The whole log as UTF-8 text: a line saying what was dropped (if
    /// anything), a header, then one tab-separated line per entry: local time,
    /// kind, link, bytes in hex, then the name, the words, or the bytes as text.
    QByteArray text() const;

    /// Writes text() to `path` in one piece: on failure the file is left as it
    /// was and `error` says why.
    bool save(const QString &path, QString *error) const;

private:
    void add(Entry entry);
    /// Writes text() to `device`; false when a write failed.
    bool write(QIODevice &device) const;
    static qint64 cost(const Entry &entry);

    std::deque<Entry> m_entries;
    int m_maxEntries;
    qint64 m_maxBytes;
    qint64 m_bytes = 0;
    qint64 m_dropped = 0;
    bool m_recording = true;
};

#endif // SESSION_LOG_H
