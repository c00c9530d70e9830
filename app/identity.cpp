#include "app/identity.h"

#include <QCoreApplication>
#include <QString>

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.1.0"));
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvale"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("brenvale.example"));
}
