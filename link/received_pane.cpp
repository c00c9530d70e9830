#include "link/received_pane.h"

#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {
/// The longest the view lags behind the text, in milliseconds.
constexpr qint64 UpdateInterval = 20;

/// A removed line break stays in the document's buffer until the buffer is
/// rebuilt: Qt reclaims removed characters but not removed paragraph ends, so
/// a stream of blank lines grows it without bound. After this many the
/// document is rebuilt from the text.
constexpr int BreaksBeforeRebuild = 2 * ReceivedTextLimit;

/// The places a CR LF pair, a lone CR and a lone LF each take: one line break.
int lineBreaks(QStringRef text)
{
    return text.count(QLatin1Char('\r')) + text.count(QLatin1Char('\n'))
           - text.count(QLatin1String("\r\n"));
}
} // namespace

ReceivedPane::ReceivedPane(QTextEdit *view, QString &text, ReceivedDataFormatter &formatter,
                           QObject *parent)
    : QObject(parent), m_view(view), m_text(text), m_formatter(formatter)
{
    m_view->document()->setUndoRedoEnabled(false);
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &ReceivedPane::updateView);
}

void ReceivedPane::append(const QByteArray &chunk, DataFormat format)
{
    if (chunk.isEmpty())
        return;
    m_formatter.append(keptReceivedBytes(chunk), format, m_text);
    // Trimmed before the view takes the new text: a single chunk of a flood
    // can be megabytes, which the view must never hold at once.
    if (const int cut = receivedTextCut(m_text)) {
        const int shownCut = qMin(cut, m_shown);
        const QStringRef gone = m_text.leftRef(shownCut);
        m_dropped += shownCut - gone.count(QLatin1String("\r\n"));
        m_droppedBreaks += lineBreaks(gone);
        m_text.remove(0, cut);
        m_shown -= shownCut;
    }
    const qint64 since = m_updated.isValid() ? m_updated.elapsed() : UpdateInterval;
    if (since >= UpdateInterval)
        updateView();
    else if (!m_timer.isActive())
        m_timer.start(int(UpdateInterval - since));
}

void ReceivedPane::clear()
{
    m_view->clear();
    m_text.clear();
    m_formatter.reset();
    m_timer.stop();
    m_shown = 0;
    m_dropped = 0;
    m_droppedBreaks = 0;
}

// Removes the places the text lost from the start of the view and appends the
// new end as plain text, never as markup, in one edit, so the document lays
// its last paragraph out once. A CR LF pair or a lone CR is one place, one
// line break; so a LF right after a CR already shown must not break the line twice.
void ReceivedPane::updateView()
{
    m_timer.stop();
    QTextDocument *document = m_view->document();
    if (m_droppedBreaks >= BreaksBeforeRebuild) {
        document->setPlainText(m_text);
        m_droppedBreaks = 0;
    } else {
        QString added = m_text.mid(m_shown);
        if (m_shown > 0 && m_text.at(m_shown - 1) == QLatin1Char('\r')
            && added.startsWith(QLatin1Char('\n')))
            added.remove(0, 1);
        QTextCursor cursor(document);
        cursor.beginEditBlock();
        if (m_dropped > 0) {
            cursor.setPosition(m_dropped, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        if (!added.isEmpty()) {
            cursor.movePosition(QTextCursor::End);
            cursor.insertText(added);
        }
        cursor.endEditBlock();
    }
    m_dropped = 0;
    m_shown = m_text.size();
    QScrollBar *scrollBar = m_view->verticalScrollBar();
    scrollBar->setValue(scrollBar->maximum());
    // Counted from the end, so the loop has the whole interval for other events.
    m_updated.start();
}
