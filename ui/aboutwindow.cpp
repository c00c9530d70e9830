#include "ui/aboutwindow.h"

#include <QCoreApplication>
#include <QSysInfo>

#include "ui_aboutwindow.h"

aboutwindow::aboutwindow(QWidget *parent) : QDialog(parent), ui(new Ui::aboutwindow)
{
    ui->setupUi(this);
}

aboutwindow::~aboutwindow() = default;

void aboutwindow::update_Infos()
{
    ui->retranslateUi(this);
    const QString domain = QCoreApplication::organizationDomain();
    ui->label_Infos->setText(
        QStringLiteral("<p>") + QCoreApplication::applicationName() + QLatin1Char(' ')
        + QCoreApplication::applicationVersion() + QStringLiteral("</p><p>")
        + QCoreApplication::organizationName() + QStringLiteral(" \u00a9 ")
        + tr("All rights reserved.") + QStringLiteral("</p><p><a href=\"http://") + domain
        + QStringLiteral("\">") + domain + QStringLiteral("</a></p><p>") + OS_Description().toHtmlEscaped()
        + QStringLiteral("</p>"));
    setWindowTitle(windowTitle() + QLatin1Char(' ') + QCoreApplication::applicationName());
}

QString aboutwindow::OS_Description() const
{
#ifdef Q_OS_WIN
    return tr("Microsoft©") + QLatin1Char(' ') + QSysInfo::productType() + QLatin1Char(' ')
           + QSysInfo::productVersion();
#else
    // The vendor prefix is true only on Windows; elsewhere the system names itself.
    return QSysInfo::prettyProductName();
#endif
}
