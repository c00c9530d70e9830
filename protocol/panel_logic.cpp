#include "protocol/panel_logic.h"

#include "protocol/catalogue.h"

QString folderNumberText(int folder)
{
    return QStringLiteral("%1").arg(folder, 3, 10, QLatin1Char('0'));
}

QStringList folderNumberTexts(quint8 folderBanks, quint8 valueMin, quint8 valueMax)
{
    QStringList texts;
    if (valueMin > valueMax)
        return texts;
    const int perBank = valueMax - valueMin + 1;
    for (int bank = 1; bank <= folderBanks; ++bank) {
        for (int v = valueMin; v <= valueMax; ++v) {
            const int n = perBank * (bank - 1) + v;
            if (n <= HighestFolderNumber)
                texts.append(folderNumberText(n));
        }
    }
    return texts;
}

QStringList playerIdTexts(quint8 idMin, quint8 idMax)
{
    QStringList texts;
    for (int id = idMin; id <= idMax; ++id)
        texts.append(QString::number(id));
    return texts;
}
