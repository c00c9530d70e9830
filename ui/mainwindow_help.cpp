// Help menu: the organisation's web page, a mail to support, the About dialog.

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

#include "app/mainwindow.h"
#include "ui/aboutwindow.h"

namespace {
const QString SupportMailAddress = QStringLiteral("support@brenvale.example");
}

void MainWindow::on_action_Brenvale_Home_Page_triggered()
{
    QDesktopServices::openUrl(
        QUrl(QStringLiteral("http://") + QCoreApplication::organizationDomain(), QUrl::TolerantMode));
}

void MainWindow::on_action_Contact_Technical_Support_triggered()
{
    // The tolerant parser encodes the blanks and parentheses of the texts.
    const QString subject = tr("Brenvale Support Request (From: %1 - %2)")
                                .arg(QCoreApplication::applicationName(),
                                     QCoreApplication::applicationVersion());
    const QString mail = QStringLiteral("mailto:") + SupportMailAddress + QStringLiteral("?subject=")
                         + subject + QStringLiteral("&body=")
                         + tr("( write here your question... )");
    QDesktopServices::openUrl(QUrl(mail, QUrl::TolerantMode));
}

void MainWindow::on_action_About_triggered()
{
    auto *about = new aboutwindow(nullptr);
    about->update_Infos();
    about->setWindowFlags(Qt::WindowCloseButtonHint);
    // Nothing refers to a closed dialog, so it goes instead of piling up.
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->show();
}
