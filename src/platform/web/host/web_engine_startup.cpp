#include "platform/web/host/web_engine_startup.h"

#include <QCoreApplication>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace platform {

void prepareWebEngineStartup() {
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX")) {
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    }
    // A program that dies without closing our input would otherwise leave the engine behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace platform
