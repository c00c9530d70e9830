#ifndef SOCAT_PAIR_H
#define SOCAT_PAIR_H

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

/// A null-modem cable between two pseudo-terminals: socat relays everything
/// written on one end to the other, until kill() (or the destructor) pulls it.
/// Qt Core alone, so the simulated player's tests use it without the panel.
struct SocatPair
{
    SocatPair()
    {
        // The serial lock file is named after the port's file name: make it unique.
        const QString unique = dir.filePath(QFileInfo(dir.path()).fileName());
        panelEnd = unique + "-panel";
        playerEnd = unique + "-player";
        socat.setProcessChannelMode(QProcess::MergedChannels);
        socat.start("socat", {"-d", "-d", "pty,raw,echo=0,link=" + panelEnd,
                              "pty,raw,echo=0,link=" + playerEnd});
        // socat makes both links, then logs that it relays; a write before that could be lost.
        const QDeadlineTimer deadline(10000);
        while (!isReady() && socat.waitForReadyRead(int(deadline.remainingTime())))
            log += socat.readAll();
    }
    ~SocatPair() { kill(); }
    bool isReady() const { return log.contains("starting data transfer loop"); }
    void kill()
    {
        socat.kill();
        socat.waitForFinished(10000);
    }

    QTemporaryDir dir;
    QProcess socat;
    QString panelEnd, playerEnd; // the ends the panel and the test's player open
    QByteArray log;
};

#endif // SOCAT_PAIR_H
