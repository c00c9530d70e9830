#include "ui/port_combo_box.h"

PortComboBox::PortComboBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    // A typed path is a choice for this run, not a new entry of the system's list.
    setInsertPolicy(QComboBox::NoInsert);
}

void PortComboBox::showPopup()
{
    emit aboutToShowPopup();
    QComboBox::showPopup();
}
