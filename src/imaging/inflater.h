#pragma once
// A DEFLATE decoder (RFC 1951) for the image data of PNG files, used when zlib is not used.
//
// The output size is fixed in advance by the caller (a PNG header tells how many bytes the
// image needs), so the decoder writes into a caller-owned buffer and treats any attempt to
// write past its end as an error. Huffman codes are decoded through two-level lookup tables:
// a root table indexed by the next few stream bits, and sub-tables for the rare longer codes.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace imaging {

class Inflater {
public:
    struct Result {
        bool ok = false;     // every block up to the final one decoded without error
        size_t produced = 0; // output bytes written
        size_t consumed = 0; // input bytes used, up to the byte after the final block
    };

    Inflater();

    // Decodes a zlib stream (RFC 1950): the two header bytes are skipped without examination
    // and the trailing Adler-32 is not verified; `consumed` then counts from the stream start
    // and points at the Adler-32 bytes.
    Result InflateZlib(std::span<const uint8_t> in, std::span<uint8_t> out);

    // Decodes a raw DEFLATE stream.
    Result InflateRaw(std::span<const uint8_t> in, std::span<uint8_t> out);

    // A decoding table: root entries followed by the sub-tables they link to. Public so the
    // table builder, a free function of the implementation, can fill it.
    struct Table {
        std::vector<uint32_t> entries;
        unsigned rootBits = 0;
    };

private:
    Table m_fixedLitLen;
    Table m_fixedDist;
    Table m_litLen;
    Table m_dist;
    Table m_codeLen;
};

} // namespace imaging
