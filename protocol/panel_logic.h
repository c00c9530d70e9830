#ifndef PANEL_LOGIC_H
#define PANEL_LOGIC_H

#include <QString>
#include <QStringList>
#include <QtGlobal>

/// A folder number as the panel and the player's log write it: three digits
/// with leading zeros, "007".
QString folderNumberText(int folder);

/// Folder selector entries for one Folder command: bank by bank, value by value,
/// each a folderNumberText(), numbers above the highest folder left out.
QStringList folderNumberTexts(quint8 folderBanks, quint8 valueMin, quint8 valueMax);

/// Player IDs idMin..idMax in decimal without leading zeros; empty when idMin > idMax.
QStringList playerIdTexts(quint8 idMin, quint8 idMax);

#endif // PANEL_LOGIC_H
