#include "socatpair.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

SocatPair::SocatPair(int timeoutMs)
{
    if (!m_dir.isValid()) {
        m_failure = QStringLiteral("no temporary folder");
        return;
    }
    const QString unique = QFileInfo(m_dir.path()).fileName();
    m_panelEnd = m_dir.filePath(unique + QStringLiteral("-panel"));
    m_playerEnd = m_dir.filePath(unique + QStringLiteral("-player"));
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("socat"),
                    {QStringLiteral("-d"), QStringLiteral("-d"),
                     QStringLiteral("pty,raw,echo=0,link=") + m_panelEnd,
                     QStringLiteral("pty,raw,echo=0,link=") + m_playerEnd});
    if (!m_process.waitForStarted(timeoutMs)) {
        m_failure = QStringLiteral("socat did not start: ") + m_process.errorString();
        return;
    }
    // socat announces each pty on stderr before it makes the links; poll them.
    const QDeadlineTimer deadline(timeoutMs);
    while (!(QFileInfo::exists(m_panelEnd) && QFileInfo::exists(m_playerEnd))) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            m_failure = QStringLiteral("socat made no pty pair: ")
                        + QString::fromLocal8Bit(m_process.readAll());
            return;
        }
        m_process.waitForReadyRead(20);
    }
    // socat logs "starting data transfer loop" once it relays; until then a
    // write could be lost.
    QByteArray log;
    while (!log.contains("starting data transfer loop")) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running) {
            m_failure = QStringLiteral("socat did not start relaying: ")
                        + QString::fromLocal8Bit(log);
            return;
        }
        m_process.waitForReadyRead(20);
        log += m_process.readAll();
    }
    m_ready = true;
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
