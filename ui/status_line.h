#ifndef STATUS_LINE_H
#define STATUS_LINE_H

#include <QLabel>

/// One line of text that never widens its window: it shows the first line of
/// its text elided at the end to its own width, again after every resize, and
/// holds the whole text in its tooltip.
class StatusLine : public QLabel
{
    Q_OBJECT

public:
    explicit StatusLine(QWidget *parent = nullptr);
    void setWholeText(const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();
};

#endif // STATUS_LINE_H
