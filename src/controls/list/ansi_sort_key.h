#pragma once
// The sort key of a channel list's text columns: the code of a string's first character in
// the system's ANSI code page, 936 (GBK). Single-byte characters give their byte; a
// double-byte character gives its two bytes read as a 16-bit signed number, which is
// negative because GBK lead bytes are 0x81..0xFE. A character the code page cannot
// represent gives the code of "?" (63), the code page's default character.

#include <QString>
#include <cstdint>
#include <optional>

namespace controls {

// The key of `s`; nullopt for an empty string.
std::optional<int16_t> AnsiFirstCharCode(const QString& s);

// a < b on first-character codes: when both are double-byte (negative) the codes compare
// as they are; otherwise their magnitudes compare, so single-byte characters come before
// double-byte ones. An empty key (nullopt) is smaller than any other and equal to itself.
bool FirstCharLess(std::optional<int16_t> a, std::optional<int16_t> b);
bool FirstCharLess(const QString& a, const QString& b);

} // namespace controls
