#include "display_scaling.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QtGlobal>
#include <algorithm>

namespace platform {

void prepareDisplayScaling() {
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    // Qt multiplies the screen's factor by QT_SCALE_FACTOR as given; a fractional one is
    // rounded here the way Qt rounds the screen's (halves up), so both agree.
    bool ok = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    if (!ok) return;
    const int whole = std::max(1, qRound(factor));
    if (whole != factor) qputenv("QT_SCALE_FACTOR", QByteArray::number(whole));
}

} // namespace platform
