#pragma once
// The playlist reader: the channels an M3U/M3U8 or PLS playlist yields, in file order.
//
// The bytes are UTF-8 when valid, GB18030 otherwise (a leading byte-order mark is skipped).
// Lines end at LF, CR LF or a lone CR and are trimmed of spaces and tabs. A playlist whose
// first non-empty line is "[playlist]" (any letter case) is PLS, any other M3U.
//
// M3U: "#EXTINF:" (upper case) sets the pending entry: the duration right after the colon,
// attributes key="value" (tvg-name, group-title, ...), then after the first comma outside a
// quoted value the title. Every other line beginning "#" is ignored; every other non-empty
// line is an address and yields one channel with the pending entry, which it clears. An M3U
// with an #EXT-X-TARGETDURATION, #EXT-X-STREAM-INF or #EXT-X-MEDIA-SEQUENCE line is an HLS
// stream itself and yields one channel: its own location.
//
// PLS: FileN, TitleN and LengthN (key letters in any case, N ≥ 1) give one channel per N with
// a non-empty FileN, in ascending N.
//
// Addresses without a scheme are resolved against the playlist's location (see
// playlist_location.h). At most kMaxChannels channels are kept; the rest are counted.

#include "app/channels/directory_text.h"

#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace app {

struct PlaylistChannel {
    QString title;
    QString address;
    // Whole seconds; 0 for a live stream (or a length the playlist does not give).
    int64_t duration = 0;
    // The M3U group-title attribute; empty when absent and in PLS.
    QString group;
    friend bool operator==(const PlaylistChannel&, const PlaylistChannel&) = default;
};

enum class PlaylistFormat { M3u, Hls, Pls };

struct Playlist {
    PlaylistFormat format = PlaylistFormat::M3u;
    std::vector<PlaylistChannel> channels;
    // Entries beyond the first kMaxChannels, left out.
    int64_t dropped = 0;
};

// The channels of the playlist `bytes`, found at `location`: the URL it was fetched from or
// the absolute path of its file. Never fails: bytes that hold no channel give none.
Playlist ReadPlaylist(std::span<const uint8_t> bytes, const QString& location);

} // namespace app
