#ifndef RECEIVED_DATA_H
#define RECEIVED_DATA_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// How the monitor shows received bytes.
enum class DataFormat {
    Text,
    Hex,
    Dec,
};

/// The received text the pane keeps: at most this many characters, the
/// latest. The text view lays out a document taller than about 8.4 million
/// pixels in an endless loop, and a line without a break, in the panel's wrap
/// mode, in a time that grows with the square of its length (a second for
/// 100,000 characters, on every chunk appended to it). A flood reaches both.
constexpr int ReceivedTextLimit = 20000;

/// How far after the plain cut receivedTextCut looks for a line or group start.
constexpr int ReceivedCutSearch = 1000;

/// How many characters to drop from the start of `text` so that it fits
/// ReceivedTextLimit again; 0 while it fits. A quarter of the limit goes at
/// once, so a steady stream trims now and then rather than on every chunk. The
/// cut falls after a line feed close by, if any, so the text starts with a
/// whole line; else at a blank close by, so hex and decimal start with a whole
/// group; it never splits a CR LF pair or a surrogate pair.
int receivedTextCut(const QString &text);

/// The end of `chunk` that is worth formatting: appended to any received text
/// and cut with receivedTextCut, it leaves the same text as the whole chunk
/// would. All of `chunk` unless its text alone passes the limit.
QByteArray keptReceivedBytes(const QByteArray &chunk);

/// Turns received bytes into the monitor's text. The text for a stream of bytes,
/// each received in some format, never depends on how the link split the stream
/// into chunks: a character cut by a chunk boundary waits for its remaining bytes.
class ReceivedDataFormatter
{
public:
    /// Appends `chunk` to `text`. Text: UTF-8, every invalid or cut-off sequence
    /// shown as one U+FFFD (the longest valid prefix is one sequence), zero bytes
    /// dropped. Hex and Dec: a blank and the byte's value for every byte.
    /// A character still incomplete when the format leaves Text is shown as
    /// U+FFFD before the new format's output: its bytes came in as text and must
    /// not vanish.
    void append(const QByteArray &chunk, DataFormat format, QString &text);

    /// Forgets an incomplete character, so the next chunk starts a fresh text.
    void reset();

    /// Whether an incomplete UTF-8 sequence is waiting for more bytes.
    bool pending() const { return m_needed > 0; }

private:
    void decodeByte(quint8 byte, QString &text);
    void startSequence(quint8 byte, QString &text);
    void emitCodePoint(char32_t codePoint, QString &text);
    void flushPending(QString &text);

    char32_t m_codePoint = 0;
    int m_needed = 0;
    int m_seen = 0;
    quint8 m_lower = 0x80;
    quint8 m_upper = 0xBF;
};

#endif // RECEIVED_DATA_H
