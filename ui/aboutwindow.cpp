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
        QStringLiteral("<p>%1 %2</p><p>%3</p><p><a href=\"http://%4\">%4</a></p><p>%5</p>")
            .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                 tr("%1 © All rights reserved.").arg(QCoreApplication::organizationName()),
                 domain, OS_Description().toHtmlEscaped()));
    setWindowTitle(tr("About %1").arg(QCoreApplication::applicationName()));
}

QString aboutwindow::OS_Description() const
{
#ifdef Q_OS_WIN
    return tr("Microsoft© %1 %2").arg(QSysInfo::productType(), QSysInfo::productVersion());
#else
    // The vendor prefix is true only on Windows; elsewhere the system names itself.
    return QSysInfo::prettyProductName();
#endif
}
