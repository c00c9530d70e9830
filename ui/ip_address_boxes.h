#ifndef IP_ADDRESS_BOXES_H
#define IP_ADDRESS_BOXES_H

#include <QList>

class QSpinBox;

/// Lets the IP boxes, given in address order, take an address as it is usually
/// written: "." moves on to the next box with its text selected, and a whole
/// dotted address pasted from the keyboard into any box fills them all. Each
/// box keeps its own range; the helper lives as long as the first box.
void attachIpAddressKeys(const QList<QSpinBox *> &boxes);

#endif // IP_ADDRESS_BOXES_H
