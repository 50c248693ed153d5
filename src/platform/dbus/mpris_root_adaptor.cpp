#include "platform/dbus/mpris_root_adaptor.h"

#include "platform/dbus/mpris_service.h"

namespace platform {

MprisRootAdaptor::MprisRootAdaptor(MprisService* service) : QDBusAbstractAdaptor(service), m_service(service) {}

QString MprisRootAdaptor::Identity() const { return m_service->identity(); }
QString MprisRootAdaptor::DesktopEntry() const { return m_service->desktopEntry(); }

QStringList MprisRootAdaptor::SupportedUriSchemes() const {
    return {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("rtmp"),
            QStringLiteral("rtsp"), QStringLiteral("mms"),   QStringLiteral("rtp"),
            QStringLiteral("udp"),  QStringLiteral("srt"),   QStringLiteral("file")};
}

QStringList MprisRootAdaptor::SupportedMimeTypes() const {
    return {QStringLiteral("audio/x-mpegurl"), QStringLiteral("application/vnd.apple.mpegurl"),
            QStringLiteral("audio/x-scpls")};
}

void MprisRootAdaptor::Raise() { m_service->player().raise(); }
void MprisRootAdaptor::Quit() { m_service->player().quit(); }

} // namespace platform
