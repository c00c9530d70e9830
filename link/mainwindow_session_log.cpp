// The session log, the window's side: the links' names in it, link events
// logged as the status line shows them, and File > Save Session Log...

#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/mainwindow.h"

QString MainWindow::serialLinkName() const
{
    return QStringLiteral("serial ") + serialName;
}

QString MainWindow::tcpLinkName() const
{
    return QStringLiteral("TCP ") + tcpTarget;
}

void MainWindow::reportLinkEvent(const QString &link, const std::function<QString()> &text)
{
    showStatus(text);
    sessionLog.addEvent(link, text());
}

void MainWindow::on_action_Save_Session_Log_triggered()
{
    // The Documents folder, else home: a dialog given a folder that does not
    // exist opens in the working directory, wherever that is.
    if (sessionLogFolder.isEmpty())
        sessionLogFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(sessionLogFolder).exists())
        sessionLogFolder = QDir::homePath();
    const QString name = QStringLiteral("quorvex-session-%1.log")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save Session Log"), QDir(sessionLogFolder).filePath(name),
        tr("Session logs (*.log *.txt);;All files (*)"));
    if (!path.isEmpty())
        saveSessionLog(path);
}

bool MainWindow::saveSessionLog(const QString &path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QString error;
    if (!sessionLog.save(path, &error)) {
        showStatus([shown, error] {
            return tr("Cannot save the session log to %1: %2").arg(shown, error);
        });
        return false;
    }
    sessionLogFolder = QFileInfo(path).absolutePath();
    showStatus([shown] { return tr("Session log saved to %1").arg(shown); });
    return true;
}
