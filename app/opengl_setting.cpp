#include "app/opengl_setting.h"

#include <QByteArray>
#include <QtGlobal>

namespace {
const char Variable[] = "QT_XCB_GL_INTEGRATION";
}

bool turnOpenGlOff()
{
    if (qEnvironmentVariableIsSet(Variable))
        return false;
    qputenv(Variable, QByteArrayLiteral("none"));
    return true;
}

void forgetOpenGlSetting(bool turnedOff)
{
    if (turnedOff)
        qunsetenv(Variable);
}
