#pragma once
// The documented string functions with their 1-based positions over UTF-16 units.

#include <QString>
#include <cstdint>

namespace platform {

// Position (1-based) of the first `find` in `s` at or after position `start`; 0 when absent.
// An empty `find` gives `start` when start <= len + 1.
inline int32_t InStr(int32_t start, const QString& s, const QString& find) {
    if (start < 1) start = 1;
    if (start > s.size() + 1) return 0;
    if (find.isEmpty()) return start;
    const qsizetype at = s.indexOf(find, start - 1, Qt::CaseSensitive);
    return at < 0 ? 0 : static_cast<int32_t>(at + 1);
}
inline int32_t InStr(const QString& s, const QString& find) { return InStr(1, s, find); }

// `length` units of `s` from position `start` (1-based); the rest when length < 0.
inline QString Mid(const QString& s, int32_t start, int32_t length = -1) {
    if (start < 1) start = 1;
    if (start > s.size()) return {};
    return length < 0 ? s.mid(start - 1) : s.mid(start - 1, length);
}
inline QString Left(const QString& s, int32_t n) { return s.left(n < 0 ? 0 : n); }

} // namespace platform
