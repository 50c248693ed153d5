#pragma once
// Where a playlist's relative addresses point: a playlist's location is the URL it was
// fetched from or the absolute path of its file, and an address without a scheme is
// resolved against it.

#include <QString>
#include <QStringView>

namespace app {

// True when `address` begins with a scheme ([A-Za-z][A-Za-z0-9+.-]* and a colon) followed by
// at least one character. Such an address is kept as written, which also keeps "C:\x" and
// "localhost:8080/x".
bool HasScheme(QStringView address);

// True when `location` names a file (an absolute path) rather than a URL.
bool IsFileLocation(QStringView location);

// `path` with "." and ".." segments and repeated slashes folded away, by the text alone
// (symbolic links are not followed). ".." at the root stays at the root; a trailing slash
// goes. The result of an absolute path is absolute.
QString FoldPath(QStringView path);

// `reference` resolved against the absolute URL `base` (RFC 3986, section 5.2, strict).
// Neither is re-encoded: what is written, spaces and non-ASCII text included, stays.
QString ResolveUrl(QStringView base, QStringView reference);

// The address a player opens for `address` found in the playlist at `location`: kept when
// it has a scheme; otherwise resolved against the URL, or against the folder of the file
// (an absolute address is only folded).
QString ResolvePlaylistAddress(QStringView address, QStringView location);

// The last segment of the location's path: the file name of a file, the last path segment
// of a URL without its query and fragment.
QString LocationName(QStringView location);

} // namespace app
