#include "sim/reply.h"

#include <QPair>
#include <QtGlobal>

#include "protocol/panel_logic.h"

namespace {

// Key and value of one reply line, or an empty key for an item without an answer.
QPair<QString, QString> replyField(quint8 item, const PlayerSnapshot &s)
{
    switch (RequestItem(item)) {
    case RequestItem::PlayerStatus:
        return {QStringLiteral("STATUS"), statusWord(s.transport)};
    case RequestItem::CurrentFile:
        return {QStringLiteral("FILE"), fileName(s.file)};
    case RequestItem::FullPathName:
        return {QStringLiteral("PATH"), fullPathName(s.folder, s.file)};
    case RequestItem::StorageMedia:
        return {QStringLiteral("MEDIA"), QStringLiteral("SD")};
    case RequestItem::FolderNumber:
        return {QStringLiteral("FOLDER"), folderNumberText(s.folder)};
    case RequestItem::RemainingTime:
        return {QStringLiteral("REMAINING"), clockText(qMax<qint64>(0, s.totalMs - s.elapsedMs))};
    case RequestItem::TotalTime:
        return {QStringLiteral("TOTAL"), clockText(s.totalMs)};
    case RequestItem::Volume:
        return {QStringLiteral("VOLUME"), QString::number(s.volume)};
    }
    return {};
}

} // namespace

QByteArray formatReply(quint8 item, const PlayerSnapshot &state)
{
    const auto field = replyField(item, state);
    if (field.first.isEmpty())
        return {};
    return QStringLiteral("ID %1 %2 %3\n").arg(state.id).arg(field.first, field.second).toLatin1();
}

QString statusWord(Transport transport)
{
    switch (transport) {
    case Transport::Playing:
        return QStringLiteral("PLAYING");
    case Transport::Paused:
        return QStringLiteral("PAUSED");
    case Transport::Stopped:
        break;
    }
    return QStringLiteral("STOPPED");
}

QString clockText(qint64 ms)
{
    const qint64 seconds = qMax<qint64>(0, ms) / 1000;
    return QStringLiteral("%1:%2")
        .arg(seconds / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString fileName(int file)
{
    return QStringLiteral("%1.MP3").arg(file, 3, 10, QLatin1Char('0'));
}

QString fullPathName(int folder, int file)
{
    return QLatin1Char('/') + folderNumberText(folder) + QLatin1Char('/') + fileName(file);
}
