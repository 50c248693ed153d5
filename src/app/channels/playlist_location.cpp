#include "playlist_location.h"

#include <QStringList>
#include <optional>

namespace app {

namespace {

bool isAsciiLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the scheme at the start of `text` including its colon, or 0.
qsizetype schemeLength(QStringView text) {
    if (text.isEmpty() || !isAsciiLetter(text[0])) return 0;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u':') return i + 1;
        if (!isAsciiLetter(c) && !isAsciiDigit(c) && c != u'+' && c != u'.' && c != u'-') return 0;
    }
    return 0;
}

// The five parts of a URI reference (RFC 3986, appendix B); an absent part is nullopt,
// which differs from an empty one ("http://h?" has an empty query).
struct UriParts {
    std::optional<QStringView> scheme;
    std::optional<QStringView> authority;
    QStringView path;
    std::optional<QStringView> query;
    std::optional<QStringView> fragment;
};

UriParts splitUri(QStringView text) {
    UriParts parts;
    if (const qsizetype n = schemeLength(text); n > 0) {
        parts.scheme = text.first(n - 1);
        text = text.sliced(n);
    }
    if (const qsizetype hash = text.indexOf(u'#'); hash >= 0) {
        parts.fragment = text.sliced(hash + 1);
        text = text.first(hash);
    }
    if (const qsizetype question = text.indexOf(u'?'); question >= 0) {
        parts.query = text.sliced(question + 1);
        text = text.first(question);
    }
    if (text.startsWith(u"//")) {
        text = text.sliced(2);
        const qsizetype slash = text.indexOf(u'/');
        parts.authority = slash < 0 ? text : text.first(slash);
        text = slash < 0 ? QStringView() : text.sliced(slash);
    }
    parts.path = text;
    return parts;
}

// RFC 3986, section 5.2.4.
QString removeDotSegments(QStringView input) {
    QString out;
    out.reserve(input.size());
    while (!input.isEmpty()) {
        if (input.startsWith(u"../")) {
            input = input.sliced(3);
        } else if (input.startsWith(u"./") || input.startsWith(u"/./")) {
            // "./x" loses "./"; "/./x" loses "/." and keeps its slash.
            input = input.sliced(2);
        } else if (input == u"/.") {
            input = u"/";
        } else if (input.startsWith(u"/../") || input == u"/..") {
            input = input.size() == 3 ? QStringView(u"/") : input.sliced(3);
            const qsizetype slash = out.lastIndexOf(u'/');
            out.truncate(slash < 0 ? 0 : slash);
        } else if (input == u"." || input == u"..") {
            input = {};
        } else {
            const qsizetype next = input.indexOf(u'/', input.startsWith(u'/') ? 1 : 0);
            const qsizetype take = next < 0 ? input.size() : next;
            out += input.first(take);
            input = input.sliced(take);
        }
    }
    return out;
}

} // namespace

bool HasScheme(QStringView address) {
    const qsizetype n = schemeLength(address);
    return n > 0 && n < address.size();
}

bool IsFileLocation(QStringView location) { return location.startsWith(u'/'); }

QString FoldPath(QStringView path) {
    QStringList kept;
    for (const QStringView segment : path.split(u'/')) {
        if (segment.isEmpty() || segment == u".") continue;
        if (segment == u"..") {
            if (!kept.isEmpty() && kept.last() != u"..") {
                kept.removeLast();
            } else if (!path.startsWith(u'/')) {
                // A relative path keeps the ".." it cannot fold; an absolute one is at its root.
                kept.append(QStringLiteral(".."));
            }
            continue;
        }
        kept.append(segment.toString());
    }
    const QString joined = kept.join(u'/');
    if (path.startsWith(u'/')) return u'/' + joined;
    return joined.isEmpty() ? QStringLiteral(".") : joined;
}

QString ResolveUrl(QStringView base, QStringView reference) {
    const UriParts r = splitUri(reference);
    const UriParts b = splitUri(base);
    std::optional<QStringView> scheme;
    std::optional<QStringView> authority;
    std::optional<QStringView> query;
    QString path;
    if (r.scheme) {
        scheme = r.scheme;
        authority = r.authority;
        path = removeDotSegments(r.path);
        query = r.query;
    } else {
        if (r.authority) {
            authority = r.authority;
            path = removeDotSegments(r.path);
            query = r.query;
        } else {
            if (r.path.isEmpty()) {
                path = b.path.toString();
                query = r.query ? r.query : b.query;
            } else {
                if (r.path.startsWith(u'/')) {
                    path = removeDotSegments(r.path);
                } else {
                    // Merge (section 5.2.3): the base path up to its last slash, or "/" for a
                    // base with an authority and an empty path.
                    QString merged;
                    if (b.authority && b.path.isEmpty()) {
                        merged = u'/' + r.path.toString();
                    } else {
                        const qsizetype slash = b.path.lastIndexOf(u'/');
                        merged = b.path.first(slash + 1).toString() + r.path.toString();
                    }
                    path = removeDotSegments(merged);
                }
                query = r.query;
            }
            authority = b.authority;
        }
        scheme = b.scheme;
    }
    // Recomposition (section 5.3).
    QString out;
    if (scheme) out += scheme->toString() + u':';
    if (authority) out += QStringLiteral("//") + authority->toString();
    out += path;
    if (query) out += u'?' + query->toString();
    if (r.fragment) out += u'#' + r.fragment->toString();
    return out;
}

QString ResolvePlaylistAddress(QStringView address, QStringView location) {
    if (HasScheme(address)) return address.toString();
    if (!IsFileLocation(location)) return ResolveUrl(location, address);
    if (address.startsWith(u'/')) return FoldPath(address);
    const qsizetype slash = location.lastIndexOf(u'/');
    return FoldPath(location.first(slash + 1).toString() + address.toString());
}

QString LocationName(QStringView location) {
    QStringView path = location;
    if (!IsFileLocation(location)) path = splitUri(location).path;
    return path.sliced(path.lastIndexOf(u'/') + 1).toString();
}

} // namespace app
