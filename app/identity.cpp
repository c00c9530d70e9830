#include "app/identity.h"

#include <QCoreApplication>
#include <QString>

void setApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvex"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEX_VERSION));
    QCoreApplication::setOrganizationName(QStringLiteral("Brenvale"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("brenvale.example"));
}
