#pragma once
// The bytes of a playlist file as text: UTF-8 when they are valid UTF-8, otherwise GB18030,
// the encoding of Chinese playlists written on the Windows platform.

#include <QString>
#include <cstdint>
#include <span>

namespace app {

// True when `bytes` is well-formed UTF-8 (Unicode, table 3-7): no overlong forms, no
// surrogates, nothing above U+10FFFF, no sequence cut short.
bool IsValidUtf8(std::span<const uint8_t> bytes);

// Skips a leading UTF-8 byte-order mark, then reads the rest as UTF-8 when it is valid UTF-8
// and as GB18030 otherwise. A byte that does not begin a GB18030 character becomes U+FFFD
// and reading goes on with the next byte; a character cut short by the end becomes one
// U+FFFD.
QString DecodePlaylistBytes(std::span<const uint8_t> bytes);

} // namespace app
