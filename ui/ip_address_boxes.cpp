#include "ui/ip_address_boxes.h"

#include <algorithm>

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSpinBox>

namespace {

/// The octets of a dotted address with one part per box, each 0 to 255 in
/// decimal digits; empty for anything else.
QList<int> dottedOctets(const QString &text, int parts)
{
    const QStringList split = text.trimmed().split(QLatin1Char('.'));
    if (split.size() != parts)
        return {};
    QList<int> octets;
    for (const QString &part : split) {
        const bool digits = !part.isEmpty() && part.size() <= 3
                            && std::all_of(part.begin(), part.end(), [](QChar c) {
                                   return c >= QLatin1Char('0') && c <= QLatin1Char('9');
                               });
        if (!digits || part.toInt() > 255)
            return {};
        octets << part.toInt();
    }
    return octets;
}

class IpAddressKeys : public QObject
{
public:
    explicit IpAddressKeys(const QList<QSpinBox *> &boxes) : QObject(boxes.first()), m_boxes(boxes)
    {
        for (QSpinBox *box : boxes)
            box->installEventFilter(this);
    }

protected:
    // The box holds the focus (its line edit is only a proxy), so its key
    // presses come here before the box's own check refuses a ".".
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->matches(QKeySequence::Paste))
            return pasteAddress();
        if (key->text() != QLatin1String("."))
            return false;
        const int next = m_boxes.indexOf(qobject_cast<QSpinBox *>(watched)) + 1;
        if (next > 0 && next < m_boxes.size()) {
            m_boxes[next]->setFocus(Qt::TabFocusReason);
            m_boxes[next]->selectAll();
        }
        return true;
    }

private:
    /// Fills every box from a whole address on the clipboard; anything else is
    /// left to the box's own paste.
    bool pasteAddress()
    {
        const QList<int> octets =
            dottedOctets(QGuiApplication::clipboard()->text(), m_boxes.size());
        if (octets.isEmpty())
            return false;
        for (int i = 0; i < m_boxes.size(); ++i)
            m_boxes[i]->setValue(octets[i]);
        return true;
    }

    const QList<QSpinBox *> m_boxes;
};

} // namespace

void attachIpAddressKeys(const QList<QSpinBox *> &boxes)
{
    if (!boxes.isEmpty())
        new IpAddressKeys(boxes);
}
