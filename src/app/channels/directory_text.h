#pragma once
// The channel directory's text rules: the four categories, the tag stripper, the section
// cutter and the transformation of a downloaded page into channel lines.
//
// A directory is the text of a blog post: the section between "电视{" and "}电视" (for
// television; likewise for the other categories) holds one channel per line, a line break
// written as "<br/>", each line "title#address". The first and the last line of a section
// are never channels, so the markers stand on lines of their own.

#include <QString>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace app {

struct Category {
    const char16_t* caption;
    const char16_t* startMarker;
    const char16_t* stopMarker;
};

// Index order: 0 cameras, 1 music, 2 television, 3 radio (tabs, lists and loaders alike).
inline constexpr std::array<Category, 4> kCategories = {{
    {u"监控", u"监控{", u"}监控"},
    {u"音乐", u"音乐{", u"}音乐"},
    {u"电视", u"电视{", u"}电视"},
    {u"电台", u"电台{", u"}电台"},
}};

// A channel list holds at most this many channels (its row indexes are 16-bit); a source
// that yields more keeps the first ones and counts the rest as dropped.
inline constexpr int32_t kMaxChannels = 32768;

struct ChannelLine {
    QString title;
    QString address;
    friend bool operator==(const ChannelLine&, const ChannelLine&) = default;
};

// What a directory page yields: its first kMaxChannels channel lines in page order, and how
// many further channel lines there were (so the program can say that a list is full).
struct DirectoryChannels {
    std::vector<ChannelLine> lines;
    int64_t dropped = 0;
};

// " " + text + " " with every "<"…">" run removed, scanning once from the left. A "<" with no
// ">" after it removes the rest of the text (the stripped text never keeps a "<").
QString StripHtmlTags(const QString& text);

// The text between the first `start` and the first `stop` after it (positions 1-based as the
// string functions count them). An absent start is not reported: the section then begins at
// the position equal to the start marker's length. Throws platform::RuntimeError when no
// stop follows.
QString GetStrStartToStop(const QString& text, const QString& start, const QString& stop);

// The seven steps from a page to the channel lines of `category`, each step that fails
// leaving its text as it was: delete CR LF pairs; "<br/>" becomes CR LF; strip tags; cut the
// section; delete "&nbsp;"; split at CR LF; lines 1 .. last − 1 split at "#" into title and
// address (lines with fewer than two fields are skipped). Time and memory are linear in the
// page's length. An unknown category yields nothing.
DirectoryChannels ReadDirectoryText(const QString& page, int category);

// ReadDirectoryText of the page's bytes read as UTF-8 (invalid bytes becoming U+FFFD), with
// the same result but without a UTF-16 copy of the page: valid UTF-8 is read as bytes.
DirectoryChannels ReadDirectoryUtf8(std::span<const uint8_t> page, int category);

// ReadDirectoryText's lines alone (at most kMaxChannels of them).
std::vector<ChannelLine> ChannelLinesOf(const QString& page, int category);

} // namespace app
