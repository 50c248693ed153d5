#include "platform/web/web_engine_startup.h"

#include <QCoreApplication>
#include <unistd.h>

namespace platform {

void prepareWebEngineStartup() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace platform
