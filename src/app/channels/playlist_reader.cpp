#include "playlist_reader.h"

#include "playlist_bytes.h"
#include "playlist_location.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace app {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

QStringView trimBlanks(QStringView s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin])) ++begin;
    while (end > begin && isBlank(s[end - 1])) --end;
    return s.sliced(begin, end - begin);
}

// Lines end at LF, CR LF or a lone CR. The text after the last line end is a line too (empty
// lines are harmless: nothing reads them).
std::vector<QStringView> trimmedLines(QStringView text) {
    std::vector<QStringView> lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\n' && c != u'\r') continue;
        lines.push_back(trimBlanks(text.sliced(start, i - start)));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    lines.push_back(trimBlanks(text.sliced(start)));
    return lines;
}

char16_t asciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// True when `s` begins with the lower-case ASCII `prefix` in any letter case.
bool startsWithIgnoringAsciiCase(QStringView s, std::u16string_view prefix) {
    if (s.size() < static_cast<qsizetype>(prefix.size())) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (asciiLower(s[static_cast<qsizetype>(i)].unicode()) != prefix[i]) return false;
    }
    return true;
}

// A duration as playlists write it: a decimal number of seconds (sign, fraction and
// exponent allowed) cut toward zero; negative, missing or not a number gives 0, and a
// length beyond 64 bits the largest value.
int64_t playlistSeconds(QStringView text) {
    // [+-]? (digits [. digits?] | . digits) ([eE] [+-]? digits)?
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    const qsizetype intStart = i;
    while (i < n && isDigit(text[i])) ++i;
    const QStringView intDigits = text.sliced(intStart, i - intStart);
    QStringView fracDigits;
    if (i < n && text[i] == u'.') {
        const qsizetype fracStart = ++i;
        while (i < n && isDigit(text[i])) ++i;
        fracDigits = text.sliced(fracStart, i - fracStart);
    }
    if (intDigits.isEmpty() && fracDigits.isEmpty()) return 0;
    int64_t exponent = 0;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) expNegative = text[i++] == u'-';
        const qsizetype expStart = i;
        while (i < n && isDigit(text[i])) {
            // An exponent past a million says nothing more about a duration; clamping keeps
            // the arithmetic in range.
            if (exponent < 1'000'000) exponent = exponent * 10 + (text[i].unicode() - u'0');
            ++i;
        }
        if (i == expStart) return 0;
        if (expNegative) exponent = -exponent;
    }
    if (i != n) return 0;
    // The value is 0.d1d2... × 10^magnitude with d1 its first non-zero digit.
    qsizetype leadingZeros = 0;
    while (leadingZeros < intDigits.size() && intDigits[leadingZeros] == u'0') ++leadingZeros;
    int64_t magnitude = 0;
    if (leadingZeros < intDigits.size()) {
        magnitude = static_cast<int64_t>(intDigits.size() - leadingZeros) + exponent;
    } else {
        qsizetype fracZeros = 0;
        while (fracZeros < fracDigits.size() && fracDigits[fracZeros] == u'0') ++fracZeros;
        if (fracZeros == fracDigits.size()) return 0; // zero
        magnitude = exponent - static_cast<int64_t>(fracZeros);
    }
    if (negative || magnitude <= 0) return 0;
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    if (magnitude > 19) return kMax;
    const std::string ascii = text.sliced(text[0] == u'+' ? 1 : 0).toLatin1().toStdString();
    double value = 0;
    std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (!(value < 9.2233720368547758e18)) return kMax;
    return static_cast<int64_t>(std::trunc(value));
}

bool isPls(const std::vector<QStringView>& lines) {
    for (const QStringView line : lines) {
        if (line.isEmpty()) continue;
        return line.size() == 10 && startsWithIgnoringAsciiCase(line, u"[playlist]");
    }
    return false;
}

bool isHls(const std::vector<QStringView>& lines) {
    for (const QStringView line : lines) {
        if (line.startsWith(u"#EXT-X-TARGETDURATION") || line.startsWith(u"#EXT-X-STREAM-INF") ||
            line.startsWith(u"#EXT-X-MEDIA-SEQUENCE")) {
            return true;
        }
    }
    return false;
}

// Appends a channel while there is room, counts it as dropped when there is none.
class ChannelCollector {
public:
    explicit ChannelCollector(Playlist& playlist) : m_playlist(playlist) {}
    bool full() const { return m_playlist.channels.size() >= static_cast<size_t>(kMaxChannels); }
    void drop() { ++m_playlist.dropped; }
    void add(PlaylistChannel channel) { m_playlist.channels.push_back(std::move(channel)); }

private:
    Playlist& m_playlist;
};

// What an #EXTINF line says about the address that follows it.
struct PendingEntry {
    int64_t duration = 0;
    QString title;
    QString tvgName;
    QString group;
};

bool isKeyDelimiter(QChar c) { return isBlank(c) || c == u'"' || c == u',' || c == u'='; }

// `rest` is the line after "#EXTINF:". The duration runs to the first space or comma; the
// title follows the first comma outside a double-quoted value; between them stand the
// attributes, each a key (the whole run of characters before "=") and a quoted value.
PendingEntry parseExtinf(QStringView rest) {
    PendingEntry entry;
    qsizetype durationEnd = 0;
    while (durationEnd < rest.size() && rest[durationEnd] != u' ' && rest[durationEnd] != u',') ++durationEnd;
    entry.duration = playlistSeconds(rest.first(durationEnd));
    bool haveTvgName = false;
    bool haveGroup = false;
    qsizetype open = -1;
    for (qsizetype i = 0; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c == u'"') {
            if (open < 0) {
                open = i;
                continue;
            }
            // A value counts when its "=" stands after the duration (the duration's own
            // delimiter sits between them).
            if (open >= durationEnd + 2 && rest[open - 1] == u'=') {
                const qsizetype keyEnd = open - 1;
                qsizetype keyStart = keyEnd;
                while (keyStart > 0 && !isKeyDelimiter(rest[keyStart - 1])) --keyStart;
                const QStringView key = rest.sliced(keyStart, keyEnd - keyStart);
                const QStringView value = rest.sliced(open + 1, i - open - 1);
                if (!haveTvgName && key == u"tvg-name") {
                    entry.tvgName = value.toString();
                    haveTvgName = true;
                } else if (!haveGroup && key == u"group-title") {
                    entry.group = value.toString();
                    haveGroup = true;
                }
            }
            open = -1;
        } else if (c == u',' && open < 0) {
            entry.title = trimBlanks(rest.sliced(i + 1)).toString();
            break;
        }
    }
    return entry;
}

void readM3u(const std::vector<QStringView>& lines, const QString& location, Playlist& playlist) {
    ChannelCollector collector(playlist);
    std::optional<PendingEntry> pending;
    for (const QStringView line : lines) {
        if (line.isEmpty()) continue;
        if (line.startsWith(u"#EXTINF:")) {
            pending = parseExtinf(line.sliced(8));
            continue;
        }
        if (line.startsWith(u'#')) continue;
        if (collector.full()) {
            collector.drop();
            pending.reset();
            continue;
        }
        PlaylistChannel channel;
        channel.address = ResolvePlaylistAddress(line, location);
        if (pending) {
            channel.title = !pending->title.isEmpty()     ? pending->title
                            : !pending->tvgName.isEmpty() ? pending->tvgName
                                                          : channel.address;
            channel.duration = pending->duration;
            channel.group = pending->group;
        } else {
            channel.title = channel.address;
        }
        collector.add(std::move(channel));
        pending.reset();
    }
}

// PLS entry numbers as decimal digits without leading zeros, ordered by value whatever
// their length.
struct NumberOrder {
    bool operator()(const QString& a, const QString& b) const {
        if (a.size() != b.size()) return a.size() < b.size();
        return a < b;
    }
};

struct PlsEntry {
    QString file;
    QString title;
    QString length;
};

void readPls(const std::vector<QStringView>& lines, const QString& location, Playlist& playlist) {
    std::map<QString, PlsEntry, NumberOrder> entries;
    for (const QStringView line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0) continue;
        const QStringView key = trimBlanks(line.first(eq));
        const QStringView value = trimBlanks(line.sliced(eq + 1));
        qsizetype nameLength = 0;
        QString PlsEntry::*field = nullptr;
        if (startsWithIgnoringAsciiCase(key, u"file")) {
            nameLength = 4;
            field = &PlsEntry::file;
        } else if (startsWithIgnoringAsciiCase(key, u"title")) {
            nameLength = 5;
            field = &PlsEntry::title;
        } else if (startsWithIgnoringAsciiCase(key, u"length")) {
            nameLength = 6;
            field = &PlsEntry::length;
        } else {
            continue;
        }
        QStringView number = key.sliced(nameLength);
        if (number.isEmpty() || !std::all_of(number.begin(), number.end(), isDigit)) continue;
        while (!number.isEmpty() && number[0] == u'0') number = number.sliced(1);
        if (number.isEmpty()) continue; // N = 0 is no entry
        // A key given twice keeps its last value, as in any key=value file.
        entries[number.toString()].*field = value.toString();
    }
    ChannelCollector collector(playlist);
    for (const auto& [number, entry] : entries) {
        if (entry.file.isEmpty()) continue;
        if (collector.full()) {
            collector.drop();
            continue;
        }
        PlaylistChannel channel;
        channel.address = ResolvePlaylistAddress(entry.file, location);
        channel.title = entry.title.isEmpty() ? channel.address : entry.title;
        channel.duration = playlistSeconds(entry.length);
        collector.add(std::move(channel));
    }
}

} // namespace

Playlist ReadPlaylist(std::span<const uint8_t> bytes, const QString& location) {
    Playlist playlist;
    const QString where = IsFileLocation(location) ? FoldPath(location) : location;
    const QString text = DecodePlaylistBytes(bytes);
    const std::vector<QStringView> lines = trimmedLines(text);
    if (isPls(lines)) {
        playlist.format = PlaylistFormat::Pls;
        readPls(lines, where, playlist);
    } else if (isHls(lines)) {
        playlist.format = PlaylistFormat::Hls;
        playlist.channels.push_back({LocationName(where), where, 0, {}});
    } else {
        readM3u(lines, where, playlist);
    }
    return playlist;
}

} // namespace app
