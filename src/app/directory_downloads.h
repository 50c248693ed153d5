#pragma once
// DirectoryDownloads: the four directory downloads of one load, started together and taken
// one by one in category order. However the server behaves (refuses, never accepts, never
// answers, stalls mid-body, trickles), all four have ended within kDeadlineMs of their start;
// a download still running then is abandoned and counts as failed.

#include "app/directory_config.h"

#include <QDeadlineTimer>
#include <QString>
#include <array>
#include <memory>
#include <optional>

namespace platform {
class HttpRequest;
}

namespace app {

class DirectoryDownloads {
public:
    // From the start of the four downloads to the last of them ending, at most.
    static constexpr int32_t kDeadlineMs = 10'000;

    DirectoryDownloads();
    ~DirectoryDownloads();
    DirectoryDownloads(const DirectoryDownloads&) = delete;
    DirectoryDownloads& operator=(const DirectoryDownloads&) = delete;

    // Starts one request for each category that has a post id, all at once (or for
    // `category` alone); the deadline runs from now. Downloads of an earlier start that were
    // not taken are abandoned.
    void start(const DirectoryConfig& config, std::optional<int> category = std::nullopt);

    // Whether category 0..3 has a download of the last start that was not taken yet.
    bool pending(int category) const;
    // Whether that download has ended (arrived, failed or run out of time), without waiting.
    bool finished(int category) const;
    // Waits until that download has ended and hands over its page, or nothing when it failed,
    // was abandoned at the deadline or was never started. Each download is taken once.
    std::optional<QString> take(int category);

private:
    std::array<std::unique_ptr<platform::HttpRequest>, 4> m_requests;
    QDeadlineTimer m_deadline;
};

} // namespace app
