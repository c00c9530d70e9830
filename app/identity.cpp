#include "app/identity.h"

#include <QCoreApplication>
#include <QString>

void set_Application_Identity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.0"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvale"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("brenvale.example"));
}
