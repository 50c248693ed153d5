#pragma once
// PlaylistReads: a set of playlists read at once — files from disk, addresses over HTTP with
// every request started together — and what each yields by the playlist rules. All of them
// are in, or abandoned, within one limit from the start, whatever the servers do.

#include "app/channels/playlist_reader.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>
#include <vector>

namespace app {

class PlaylistReads {
public:
    // Longest time all the reads of one set may take together; a download still running then
    // is abandoned and counts as failed.
    static constexpr int kLimitMs = 10'000;
    // Most bytes of a playlist file, the same as the HTTP component allows a response body.
    static constexpr int64_t kMaxFileBytes = int64_t{32} * 1024 * 1024;

    struct Result {
        // Where it was read from: an absolute path, or the address as written.
        QString location;
        Playlist playlist;
        // Why it yields nothing (a short text for the status line); empty when it was read.
        QString error;
        // The file does not exist (error says so too).
        bool missing = false;
    };

    PlaylistReads();
    // Starts reading each of `inputs`: a file path (relative to the current folder or not),
    // a file: URL, or an http or https address.
    explicit PlaylistReads(const QStringList& inputs);
    ~PlaylistReads();
    PlaylistReads(PlaylistReads&&) noexcept;
    PlaylistReads& operator=(PlaylistReads&&) noexcept;

    // Waits for every read, at most until kLimitMs after the start, and returns one result per
    // input, in their order. Called once.
    std::vector<Result> finish();

    // The location the playlist named by `input` is read from: an absolute path with "." and
    // ".." folded, or an http(s) address as written; empty for what cannot be read (another
    // scheme, an empty text).
    static QString locationOf(const QString& input);
    static bool isAddress(const QString& location);

private:
    struct Pending;
    std::vector<std::unique_ptr<Pending>> m_pending;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace app
