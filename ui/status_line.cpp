#include "ui/status_line.h"

StatusLine::StatusLine(QWidget *parent) : QLabel(parent)
{
    // Its text never asks for width: the line takes what the bar leaves it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    // A path or a peer's words, shown as they are, never as markup.
    setTextFormat(Qt::PlainText);
}

void StatusLine::setWholeText(const QString &text)
{
    setToolTip(text);
    elide();
}

void StatusLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void StatusLine::elide()
{
    setText(fontMetrics().elidedText(toolTip().section(QLatin1Char('\n'), 0, 0), Qt::ElideRight,
                                     contentsRect().width()));
}
