#include "directory_text.h"

#include "playlist_bytes.h"

#include "platform/forms/runtime_error.h"
#include "platform/forms/vb_strings.h"

#include <QByteArray>
#include <QStringView>
#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The seven steps are written as search-and-replace passes over the whole text, each pass
// reading the previous one's result. Done that way, every "<br/>" replacement moved the rest
// of a large page, which made a 31 MB page take many seconds. Here each step is a small
// stage that takes the text one unit at a time and hands its output straight to the next,
// holding back only the few units a pattern match is still undecided about. A stage
// replaces the leftmost occurrences of its pattern without looking again at what it has
// written, which is exactly what a replace-all pass over the whole text does, so the result
// is the same.
//
// Only the section cut needs to know the whole stripped text: whether a stop marker follows
// the start marker anywhere decides where the section lies (a page without one goes on
// whole). Rather than keep a stripped copy of a page that may be tens of megabytes, steps 1
// to 3 run twice, handing their output on in small pieces: the first run only finds the
// markers, the second feeds the section to steps 5 to 7 and ends at the stop marker. Time
// stays linear and the memory besides the result is a few kilobytes.
//
// Every character the steps look for is ASCII, so they run unchanged over UTF-16 units and
// over the bytes of valid UTF-8: in both, an ASCII unit is always a whole character. The
// stages are templates over the unit type.

namespace app {

namespace {

template <typename Unit> using Text = std::basic_string_view<Unit>;
template <typename Unit> using Buffer = std::basic_string<Unit>;

template <typename Unit, size_t N> constexpr std::array<Unit, N - 1> ascii(const char (&s)[N]) {
    std::array<Unit, N - 1> out{};
    for (size_t i = 0; i + 1 < N; ++i) out[i] = static_cast<Unit>(s[i]);
    return out;
}

template <typename Unit> constexpr auto kBreakTag = ascii<Unit>("<br/>");
template <typename Unit> constexpr auto kCrLf = ascii<Unit>("\r\n");
template <typename Unit> constexpr auto kNbsp = ascii<Unit>("&nbsp;");

// True when the pattern's first unit occurs nowhere else in it. Such a pattern has no
// proper prefix that is also a suffix, so after a failed partial match no occurrence can
// begin inside the units already matched.
template <typename Unit, size_t N> constexpr bool startsUniquely(const std::array<Unit, N>& pattern) {
    for (size_t i = 1; i < N; ++i) {
        if (pattern[i] == pattern[0]) return false;
    }
    return N > 0;
}
static_assert(startsUniquely(kBreakTag<char>) && startsUniquely(kNbsp<char>));

// Writes units into a buffer sized for the largest possible output.
template <typename Unit> struct BufferSink {
    Unit* out;
    void put(Unit c) { *out++ = c; }
    void finish() {}
};

// Step 1: deletes every CR LF pair. A CR is held until the next unit shows whether it
// begins a pair.
template <typename Unit, typename Next> struct DeleteCrLf {
    Next& next;
    bool heldCr = false;
    void put(Unit c) {
        if (heldCr) {
            heldCr = false;
            if (c == Unit('\n')) return;
            next.put(Unit('\r'));
        }
        if (c == Unit('\r')) {
            heldCr = true;
        } else {
            next.put(c);
        }
    }
    void finish() {
        if (heldCr) next.put(Unit('\r'));
        heldCr = false;
        next.finish();
    }
};

// Steps 2 and 5: replaces every occurrence of a pattern that starts uniquely (see above),
// leftmost first, by a replacement that may be empty.
template <typename Unit, typename Next, size_t P, size_t R> struct ReplacePattern {
    Next& next;
    const std::array<Unit, P>& pattern;
    const std::array<Unit, R>& replacement;
    size_t matched = 0;
    void put(Unit c) {
        if (c == pattern[matched]) {
            if (++matched == P) {
                for (const Unit r : replacement) next.put(r);
                matched = 0;
            }
            return;
        }
        release();
        if (c == pattern[0]) {
            matched = 1;
        } else {
            next.put(c);
        }
    }
    void release() {
        for (size_t i = 0; i < matched; ++i) next.put(pattern[i]);
        matched = 0;
    }
    void finish() {
        release();
        next.finish();
    }
};

// Step 3 without its padding: drops every "<" and what follows it up to and including the
// next ">". Removing the first such run again and again until no "<" is left gives the same
// text, because the part before each cut holds no "<" any more. A "<" that never closes
// drops the rest of the text.
template <typename Unit, typename Next> struct StripTags {
    Next& next;
    bool inTag = false;
    void put(Unit c) {
        if (inTag) {
            if (c == Unit('>')) inTag = false;
        } else if (c == Unit('<')) {
            inTag = true;
        } else {
            next.put(c);
        }
    }
    void finish() { next.finish(); }
};

QString toQString(std::u16string_view s) {
    return QString(reinterpret_cast<const QChar*>(s.data()), static_cast<qsizetype>(s.size()));
}
QString toQString(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Steps 6 and 7: splits at CR LF and turns lines 1 .. last − 1 into channel lines. A line
// is only known not to be the last when its CR LF arrives, so the text after the final
// CR LF (the last line) is never read, and neither is line 0.
template <typename Unit> struct ChannelLineSplitter {
    explicit ChannelLineSplitter(DirectoryChannels& out) : result(out) {}
    DirectoryChannels& result;
    Buffer<Unit> line;
    bool heldCr = false;
    bool firstLine = true;
    void put(Unit c) {
        if (heldCr) {
            heldCr = false;
            if (c == Unit('\n')) {
                endLine();
                return;
            }
            line.push_back(Unit('\r'));
        }
        if (c == Unit('\r')) {
            heldCr = true;
        } else {
            line.push_back(c);
        }
    }
    // A run free of CR, while no CR is held.
    void putRun(const Unit* from, const Unit* to) { line.append(from, to); }
    void endLine() {
        if (firstLine) {
            firstLine = false;
        } else {
            takeLine();
        }
        line.clear();
    }
    void takeLine() {
        const Text<Unit> text(line);
        const size_t hash = text.find(Unit('#'));
        if (hash == Text<Unit>::npos) return;
        if (result.lines.size() >= static_cast<size_t>(kMaxChannels)) {
            ++result.dropped;
            return;
        }
        const size_t next = text.find(Unit('#'), hash + 1);
        const size_t addressEnd = next == Text<Unit>::npos ? text.size() : next;
        result.lines.push_back(
            {toQString(text.substr(0, hash)), toQString(text.substr(hash + 1, addressEnd - hash - 1))});
    }
    void finish() {}
};

// The first unit at or after `p` that is one of the given ones, or `end`.
template <typename Unit> const Unit* findAny(const Unit* p, const Unit* end, Unit a, Unit b) {
    while (p < end && *p != a && *p != b) ++p;
    return p;
}
template <typename Unit> const Unit* findAny(const Unit* p, const Unit* end, Unit a, Unit b, Unit c) {
    while (p < end && *p != a && *p != b && *p != c) ++p;
    return p;
}

// Units of stripped text handed on at a time: small enough to stay in the cache.
constexpr size_t kPieceUnits = 8192;

// Collects the stripped text into pieces for a consumer, which answers false when it needs
// no more text.
template <typename Unit, typename Consumer> struct PieceSink {
    explicit PieceSink(Consumer& c) : consumer(c), piece(std::make_unique_for_overwrite<Unit[]>(kPieceUnits)) {}
    Consumer& consumer;
    std::unique_ptr<Unit[]> piece;
    size_t fill = 0;
    bool done = false;
    void put(Unit c) {
        piece[fill++] = c;
        if (fill == kPieceUnits) flush();
    }
    void putRun(const Unit* from, const Unit* to) {
        while (from < to) {
            const size_t n = std::min(static_cast<size_t>(to - from), kPieceUnits - fill);
            std::copy(from, from + n, piece.get() + fill);
            fill += n;
            from += n;
            if (fill == kPieceUnits) flush();
        }
    }
    void flush() {
        if (fill > 0 && !done) done = !consumer(Text<Unit>(piece.get(), fill));
        fill = 0;
    }
    void finish() {}
};

// Steps 1 to 3 over `page`: the tag-stripped text with its two padding spaces, in pieces.
template <typename Unit, typename Consumer> void stripPage(Text<Unit> page, Consumer& consumer) {
    using Sink = PieceSink<Unit, Consumer>;
    using Strip = StripTags<Unit, Sink>;
    using Breaks = ReplacePattern<Unit, Strip, 5, 2>;
    Sink sink(consumer);
    Strip strip{sink};
    Breaks breaks{strip, kBreakTag<Unit>, kCrLf<Unit>};
    DeleteCrLf<Unit, Breaks> crlf{breaks};
    strip.put(Unit(' '));
    const Unit* p = page.data();
    const Unit* const end = p + page.size();
    while (p < end && !sink.done) {
        // While no stage holds anything back, a run free of CR and "<" (and, inside a tag,
        // of ">") passes the first two stages unchanged: outside a tag it is copied, inside
        // one dropped. Only the units that end such runs go through the stages one by one.
        if (!crlf.heldCr && breaks.matched == 0) {
            if (strip.inTag) {
                p = findAny(p, end, Unit('\r'), Unit('<'), Unit('>'));
            } else {
                const Unit* run = findAny(p, end, Unit('\r'), Unit('<'));
                sink.putRun(p, run);
                p = run;
            }
            if (p == end) break;
        }
        crlf.put(*p++);
    }
    // The finish of each stage releases what it held into the next; then the padding
    // follows the released units.
    crlf.finish();
    strip.put(Unit(' '));
    sink.flush();
}

// The first run over the stripped text: finds the first start marker, the first stop marker
// after it, and the first stop marker at or after the place the section begins when there
// is no start marker. Positions count units from the start of the stripped text.
template <typename Unit> struct MarkerFinder {
    static constexpr size_t npos = Text<Unit>::npos;
    MarkerFinder(Text<Unit> startMarker, Text<Unit> stopMarker, size_t (*noStart)(Text<Unit>))
        : start(startMarker), stop(stopMarker), noStartFrom(noStart) {}
    Text<Unit> start;
    Text<Unit> stop;
    // Where the section begins without a start marker, worked out from the first piece.
    size_t (*noStartFrom)(Text<Unit> firstPiece);
    size_t defaultFrom = npos;
    size_t pos = 0;
    // The end of the text seen so far, long enough for a marker that spans two pieces.
    Buffer<Unit> window;
    size_t startAt = npos;
    size_t stopAfterStart = npos;
    size_t stopAfterDefault = npos;

    bool operator()(Text<Unit> piece) {
        if (defaultFrom == npos) defaultFrom = noStartFrom(piece);
        const size_t carried = window.size();
        window.append(piece);
        const size_t windowPos = pos - carried;
        const Text<Unit> w(window);
        if (startAt == npos) {
            const size_t i = w.find(start);
            if (i != npos) startAt = windowPos + i;
        }
        if (startAt != npos && stopAfterStart == npos) stopAfterStart = findStop(w, windowPos, startAt + start.size());
        if (stopAfterDefault == npos) stopAfterDefault = findStop(w, windowPos, defaultFrom);
        pos += piece.size();
        const size_t keep = std::min(window.size(), std::max(start.size(), stop.size()) - 1);
        window.erase(0, window.size() - keep);
        // Once the start marker and a stop after it are known, nothing later matters.
        return stopAfterStart == npos;
    }
    size_t findStop(Text<Unit> w, size_t windowPos, size_t from) const {
        const size_t local = from > windowPos ? from - windowPos : 0;
        if (local > w.size()) return npos;
        const size_t i = w.find(stop, local);
        return i == npos ? npos : windowPos + i;
    }
};

// Steps 5 to 7 over the section as it arrives.
template <typename Unit> struct SectionReader {
    static constexpr std::array<Unit, 0> kNothing{};
    explicit SectionReader(DirectoryChannels& result) : splitter(result), nbsp{splitter, kNbsp<Unit>, kNothing} {}
    ChannelLineSplitter<Unit> splitter;
    ReplacePattern<Unit, ChannelLineSplitter<Unit>, 6, 0> nbsp;
    void feed(Text<Unit> text) {
        const Unit* p = text.data();
        const Unit* const end = p + text.size();
        while (p < end) {
            // Runs free of "&" and CR need no stage but the line buffer.
            if (nbsp.matched == 0 && !splitter.heldCr) {
                const Unit* run = findAny(p, end, Unit('&'), Unit('\r'));
                splitter.putRun(p, run);
                p = run;
                if (p == end) break;
            }
            nbsp.put(*p++);
        }
    }
    void finish() { nbsp.finish(); }
};

// The second run: hands the part [from, to) of the stripped text to the section reader and
// stops after it.
template <typename Unit> struct SectionFeeder {
    SectionReader<Unit>& reader;
    size_t from;
    size_t to;
    size_t pos = 0;
    bool operator()(Text<Unit> piece) {
        const size_t begin = std::max(from, pos);
        const size_t end = std::min(to, pos + piece.size());
        if (begin < end) reader.feed(piece.substr(begin - pos, end - begin));
        pos += piece.size();
        return pos < to;
    }
};

// All seven steps; `noStartFrom` gives the section's beginning without a start marker.
template <typename Unit>
DirectoryChannels readDirectory(Text<Unit> page, Text<Unit> start, Text<Unit> stop,
                                size_t (*noStartFrom)(Text<Unit> firstPiece)) {
    MarkerFinder<Unit> finder(start, stop, noStartFrom);
    stripPage(page, finder);
    size_t from = 0;
    size_t to = Text<Unit>::npos;
    const size_t p = finder.startAt != Text<Unit>::npos ? finder.startAt + start.size() : finder.defaultFrom;
    const size_t q = finder.startAt != Text<Unit>::npos ? finder.stopAfterStart : finder.stopAfterDefault;
    if (q != Text<Unit>::npos) {
        from = p;
        to = q;
    }
    DirectoryChannels result;
    SectionReader<Unit> reader(result);
    SectionFeeder<Unit> feeder{reader, from, to};
    if (from < to) stripPage(page, feeder);
    reader.finish();
    return result;
}

// Step 4's bounds in `text` by the string functions' rules, in UTF-16 positions: the start
// marker's first occurrence a (1-based, 0 when absent), p = a + its length, q the first stop
// marker at or after p; none when q < p. Returns the 0-based start and length.
bool sectionBounds(const QString& text, const QString& start, const QString& stop, qsizetype& from, qsizetype& length) {
    const int32_t a = platform::InStr(text, start);
    const int32_t p = a + static_cast<int32_t>(start.size());
    const int32_t q = platform::InStr(p, text, stop);
    if (q < p) return false;
    from = p - 1;
    length = q - p;
    return true;
}

// Without a start marker the string functions begin the section at the 1-based position
// equal to the marker's length: all four markers are three UTF-16 units long, so at the
// 0-based position 2 (past the end of a shorter text, where no stop marker can follow).
constexpr size_t kNoStartPosition = 2;
static_assert(std::char_traits<char16_t>::length(kCategories[0].startMarker) == kNoStartPosition + 1 &&
              std::char_traits<char16_t>::length(kCategories[1].startMarker) == kNoStartPosition + 1 &&
              std::char_traits<char16_t>::length(kCategories[2].startMarker) == kNoStartPosition + 1 &&
              std::char_traits<char16_t>::length(kCategories[3].startMarker) == kNoStartPosition + 1);

size_t noStartFromUtf16(Text<char16_t>) { return kNoStartPosition; }

// The same place in UTF-8: the first character boundary at or after UTF-16 position 2 (the
// first piece holds it unless the whole text is shorter). The position may fall between the
// halves of a surrogate pair, which bytes cannot express; beginning after the pair instead
// changes only the section's first line, which is never read, and no stop marker or line
// break can begin at a low surrogate.
size_t noStartFromUtf8(Text<char> firstPiece) {
    size_t offset = 0;
    size_t units = 0;
    while (units < kNoStartPosition && offset < firstPiece.size()) {
        const auto lead = static_cast<uint8_t>(firstPiece[offset]);
        const size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        units += bytes == 4 ? 2 : 1;
        offset += bytes;
    }
    return std::min(offset, firstPiece.size());
}

} // namespace

QString StripHtmlTags(const QString& text) {
    // Stripping alone is step 3 with nothing to delete or replace before it: the buffer
    // sink straight behind the tag stage.
    Buffer<char16_t> out(static_cast<size_t>(text.size()) + 2, u'\0');
    BufferSink<char16_t> sink{out.data()};
    StripTags<char16_t, BufferSink<char16_t>> strip{sink};
    strip.put(u' ');
    for (const QChar c : text) strip.put(c.unicode());
    strip.put(u' ');
    out.resize(static_cast<size_t>(sink.out - out.data()));
    return toQString(out);
}

QString GetStrStartToStop(const QString& text, const QString& start, const QString& stop) {
    qsizetype from = 0;
    qsizetype length = 0;
    if (!sectionBounds(text, start, stop, from, length)) {
        throw platform::RuntimeError(platform::kErrInvalidArgument, QStringLiteral("GetStrStartToStop"),
                                     QStringLiteral("Invalid procedure call or argument"));
    }
    return text.mid(from, length);
}

DirectoryChannels ReadDirectoryText(const QString& page, int category) {
    if (category < 0 || category >= static_cast<int>(kCategories.size())) return {};
    const Category& cat = kCategories[static_cast<size_t>(category)];
    return readDirectory<char16_t>(Text<char16_t>(QStringView(page).utf16(), static_cast<size_t>(page.size())),
                                   cat.startMarker, cat.stopMarker, noStartFromUtf16);
}

DirectoryChannels ReadDirectoryUtf8(std::span<const uint8_t> page, int category) {
    if (category < 0 || category >= static_cast<int>(kCategories.size())) return {};
    // Invalid bytes become U+FFFD in the UTF-16 reading; only valid UTF-8 is read as bytes.
    if (!IsValidUtf8(page)) {
        return ReadDirectoryText(
            QString::fromUtf8(reinterpret_cast<const char*>(page.data()), static_cast<qsizetype>(page.size())),
            category);
    }
    const Category& cat = kCategories[static_cast<size_t>(category)];
    const QByteArray start = QString::fromUtf16(cat.startMarker).toUtf8();
    const QByteArray stop = QString::fromUtf16(cat.stopMarker).toUtf8();
    return readDirectory<char>(Text<char>(reinterpret_cast<const char*>(page.data()), page.size()),
                               Text<char>(start.constData(), static_cast<size_t>(start.size())),
                               Text<char>(stop.constData(), static_cast<size_t>(stop.size())), noStartFromUtf8);
}

std::vector<ChannelLine> ChannelLinesOf(const QString& page, int category) {
    return ReadDirectoryText(page, category).lines;
}

} // namespace app
