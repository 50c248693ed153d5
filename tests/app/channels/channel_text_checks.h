#pragma once
// What must hold for any input to the channel text readers, whatever the bytes: shared by the
// tests that replay kept fuzzer inputs and by the fuzzers themselves. Each check returns an
// empty string when all is well, else what went wrong.
#include "app/channels/directory_text.h"
#include "app/channels/playlist_location.h"
#include "app/channels/playlist_reader.h"
#include "directory_reference.h"

#include <QByteArray>
#include <span>
#include <string>

namespace checks {

// The directory of `page` in every category is what one search-and-replace pass per step
// gives, read from text and from bytes alike.
inline std::string directory(std::span<const uint8_t> page) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(page.data()), qsizetype(page.size()));
    const QString stripped = reference::strippedPage(text);
    for (int category = 0; category < 4; ++category) {
        const std::vector<app::ChannelLine> want = reference::sectionLines(stripped, category);
        const app::DirectoryChannels fromText = app::ReadDirectoryText(text, category);
        const app::DirectoryChannels fromBytes = app::ReadDirectoryUtf8(page, category);
        const size_t kept = std::min(want.size(), size_t(app::kMaxChannels));
        const int64_t dropped = int64_t(want.size() - kept);
        if (fromText.lines != std::vector(want.begin(), want.begin() + std::ptrdiff_t(kept)) ||
            fromText.dropped != dropped) {
            return "text reading differs from the reference in category " + std::to_string(category);
        }
        if (fromBytes.lines != fromText.lines || fromBytes.dropped != fromText.dropped) {
            return "byte reading differs from text reading in category " + std::to_string(category);
        }
    }
    return {};
}

inline bool folded(const QString& path) {
    return path.startsWith(u'/') && !path.contains(QStringLiteral("//")) && !path.contains(QStringLiteral("/./")) &&
           !path.contains(QStringLiteral("/../")) && !path.endsWith(QStringLiteral("/.")) &&
           !path.endsWith(QStringLiteral("/.."));
}

// A playlist read from a file and from an address: within the list's capacity, every channel
// with a title and an address on one line, relative addresses made absolute.
inline std::string playlist(std::span<const uint8_t> bytes) {
    const QString locations[] = {QStringLiteral("/srv/lists/./tv.m3u"),
                                 QStringLiteral("http://h.example/a/b/tv.m3u?k=v#f")};
    for (const QString& location : locations) {
        const bool file = app::IsFileLocation(location);
        const app::Playlist p = app::ReadPlaylist(bytes, location);
        if (p.channels.size() > size_t(app::kMaxChannels) || p.dropped < 0 ||
            (p.dropped > 0 && p.channels.size() != size_t(app::kMaxChannels))) {
            return "capacity or drop count wrong";
        }
        if (p.format == app::PlaylistFormat::Hls) {
            const QString self = file ? QStringLiteral("/srv/lists/tv.m3u") : location;
            if (p.channels.size() != 1 || p.channels[0].address != self ||
                p.channels[0].title != QStringLiteral("tv.m3u")) {
                return "an HLS playlist is not its own single channel";
            }
            continue;
        }
        for (const app::PlaylistChannel& c : p.channels) {
            for (const QString* s : {&c.title, &c.address, &c.group}) {
                if (s->contains(u'\n') || s->contains(u'\r') || !QStringView(*s).isValidUtf16()) {
                    return "a line break or broken UTF-16 in a channel";
                }
            }
            if (c.title.isEmpty() || c.address.isEmpty() || c.duration < 0) return "an empty title or address";
            if (app::HasScheme(c.address)) continue;
            // Not kept as written, so resolved: against a file, an absolute folded path;
            // against an address, an absolute URL (or a bare "scheme:", which the URL rules
            // keep as the absolute URL it is).
            const bool bareScheme = c.address.endsWith(u':') && app::HasScheme(c.address + u'x');
            if (file ? !folded(c.address) : !bareScheme) {
                return "a relative address left unresolved: " + c.address.toStdString();
            }
        }
    }
    return {};
}

} // namespace checks
