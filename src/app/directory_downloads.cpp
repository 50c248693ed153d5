#include "app/directory_downloads.h"

#include "app/directory_request.h"
#include "platform/http/http_request.h"

#include <algorithm>

namespace app {

namespace {
bool validCategory(int category) { return category >= 0 && category < 4; }
} // namespace

DirectoryDownloads::DirectoryDownloads() = default;

DirectoryDownloads::~DirectoryDownloads() = default;

void DirectoryDownloads::start(const DirectoryConfig& config, std::optional<int> only) {
    m_deadline.setRemainingTime(kDeadlineMs);
    const int64_t timestamp = LocalClockTimestamp();
    for (int category = 0; category < 4; ++category) {
        auto& slot = m_requests[static_cast<size_t>(category)];
        slot.reset();
        if (only && *only != category) continue;
        if (config.postId(category).isEmpty()) continue;
        auto request = std::make_unique<platform::HttpRequest>();
        // Every limit of the request is the shared deadline: a host that never accepts, a
        // server that never answers and one that trickles a byte now and then all end there.
        request->setConnectTimeout(kDeadlineMs);
        request->setStallTimeout(kDeadlineMs);
        request->setTotalTimeout(kDeadlineMs);
        try {
            request->Open(QStringLiteral("GET"), DirectoryRequestUrl(config, category, timestamp), true);
            request->setRequestHeader(QStringLiteral("Referer"), DirectoryReferer(config));
            request->send();
        } catch (const platform::RuntimeError&) {
            // An address the request cannot even be sent to: the category fails at once.
        }
        slot = std::move(request);
    }
}

bool DirectoryDownloads::pending(int category) const {
    return validCategory(category) && m_requests[static_cast<size_t>(category)] != nullptr;
}

bool DirectoryDownloads::finished(int category) const {
    if (!pending(category)) return true;
    if (m_deadline.hasExpired()) return true;
    try {
        return m_requests[static_cast<size_t>(category)]->waitForResponse(0.0);
    } catch (const platform::RuntimeError&) {
        return true; // ended in a failure
    }
}

std::optional<QString> DirectoryDownloads::take(int category) {
    if (!pending(category)) return std::nullopt;
    std::unique_ptr<platform::HttpRequest> request = std::move(m_requests[static_cast<size_t>(category)]);
    try {
        const double seconds = std::max<qint64>(0, m_deadline.remainingTime()) / 1000.0;
        // The request's own time-out ends it at the deadline; waiting a little longer only
        // lets that failure arrive instead of cutting the transfer off first.
        if (!request->waitForResponse(seconds + 1.0)) return std::nullopt;
        return request->ResponseText();
    } catch (const platform::RuntimeError&) {
        // A transport failure, a time-out, or a request that was never sent.
        return std::nullopt;
    }
}

} // namespace app
