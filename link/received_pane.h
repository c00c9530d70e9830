#ifndef RECEIVED_PANE_H
#define RECEIVED_PANE_H

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include "link/received_data.h"

class QTextEdit;

/// The received-data pane: formats each received chunk onto `text` (what was
/// received since the last Clear, its latest ReceivedTextLimit characters) and
/// keeps `view` showing that text, at the end of it, as one piece would show.
/// A lone chunk shows at once; a stream updates the view every 20 ms at most,
/// so the event loop stays free.
class ReceivedPane : public QObject
{
public:
    /// `text` and `formatter` are the process-wide ones in the panel; a test
    /// gives its own. The view's undo history is turned off: a monitor is never
    /// undone, and the history would keep every chunk.
    ReceivedPane(QTextEdit *view, QString &text, ReceivedDataFormatter &formatter,
                 QObject *parent = nullptr);

    /// Adds the bytes the link delivered, formatted as `format`.
    void append(const QByteArray &chunk, DataFormat format);

    /// Empties the text and the view and forgets a character cut before.
    void clear();

private:
    /// Puts what the text holds beyond what the view shows into the view.
    void updateView();

    QTextEdit *m_view;
    QString &m_text;
    ReceivedDataFormatter &m_formatter;
    /// How many characters at the start of the text the view shows.
    int m_shown = 0;
    /// How many places at the start of the view the text no longer holds.
    int m_dropped = 0;
    /// Line breaks the view lost since its document was last rebuilt.
    int m_droppedBreaks = 0;
    QElapsedTimer m_updated;
    QTimer m_timer;
};

#endif // RECEIVED_PANE_H
