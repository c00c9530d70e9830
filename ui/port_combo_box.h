#ifndef PORT_COMBO_BOX_H
#define PORT_COMBO_BOX_H

#include <QComboBox>

/// The serial-port selector: editable, so any device path can be typed, and
/// announcing each opening of its list, so the list can be read again first.
class PortComboBox : public QComboBox
{
    Q_OBJECT

public:
    explicit PortComboBox(QWidget *parent = nullptr);
    void showPopup() override;

signals:
    void aboutToShowPopup();
};

#endif // PORT_COMBO_BOX_H
