#include "socatpair.h"

#include <QDeadlineTimer>
#include <QFileInfo>

SocatPair::SocatPair(int timeoutMs)
{
    // The serial lock file is named after the port's file name: make it unique.
    const QString unique = QFileInfo(m_dir.path()).fileName();
    m_panelEnd = m_dir.filePath(unique + QStringLiteral("-panel"));
    m_playerEnd = m_dir.filePath(unique + QStringLiteral("-player"));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("socat"),
                    {QStringLiteral("-d"), QStringLiteral("-d"),
                     QStringLiteral("pty,raw,echo=0,link=") + m_panelEnd,
                     QStringLiteral("pty,raw,echo=0,link=") + m_playerEnd});
    // socat makes both links, then logs that it relays; a write before that could be lost.
    const QDeadlineTimer deadline(timeoutMs);
    QByteArray log;
    while (!log.contains("starting data transfer loop")) {
        if (deadline.hasExpired() || !m_process.waitForReadyRead(int(deadline.remainingTime()))) {
            m_failure = QStringLiteral("socat made no pty pair: ") + m_process.errorString()
                        + QLatin1Char(' ') + QString::fromLocal8Bit(log);
            return;
        }
        log += m_process.readAll();
    }
    m_ready = QFileInfo::exists(m_panelEnd) && QFileInfo::exists(m_playerEnd);
    if (!m_ready)
        m_failure = QStringLiteral("socat made no links: ") + QString::fromLocal8Bit(log);
}

SocatPair::~SocatPair()
{
    kill();
}

void SocatPair::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(10000);
}
