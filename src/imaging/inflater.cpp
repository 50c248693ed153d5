#include "imaging/inflater.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace imaging {

namespace {

// A table entry packs everything the decoding loop needs into 32 bits:
//   bits 0..7   code length in bits (0 marks a slot no valid code reaches)
//   bits 8..11  extra bits that follow the code (lengths, distances), or for a link the
//               number of index bits of the sub-table it points to
//   bits 12..15 kind of entry
//   bits 16..31 literal byte, base length, base distance, code-length symbol or sub-table offset
enum Kind : uint32_t { kInvalid = 0, kLiteral = 1, kLength = 2, kEnd = 3, kDistance = 4, kSymbol = 5, kLink = 6 };

enum class Alphabet { LitLen, Dist, CodeLen };

constexpr uint32_t entry(Kind kind, unsigned value, unsigned codeLength, unsigned extra) {
    return (value << 16) | (uint32_t(kind) << 12) | (extra << 8) | codeLength;
}
constexpr unsigned entryLength(uint32_t e) { return e & 0xFF; }
constexpr unsigned entryExtra(uint32_t e) { return (e >> 8) & 0xF; }
constexpr Kind entryKind(uint32_t e) { return Kind((e >> 12) & 0xF); }
constexpr unsigned entryValue(uint32_t e) { return e >> 16; }

// RFC 1951, 3.2.5: base lengths and extra bits of length symbols 257..285.
constexpr std::array<uint16_t, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
// Base distances and extra bits of distance codes 0..29, extended by codes 30 and 31 (base
// 32769 and 49153, 14 extra bits each), which some encoders emit for 64 KiB windows.
constexpr std::array<uint16_t, 32> kDistBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,    25,   33,
                                                49,   65,   97,   129,  193,  257,   385,   513,   769,   1025, 1537,
                                                2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577, 32769, 49153};
constexpr std::array<uint8_t, 32> kDistExtra = {0, 0, 0, 0, 1, 1, 2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
                                                7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14};
// Order in which the code-length code lengths are stored (RFC 1951, 3.2.7).
constexpr std::array<uint8_t, 19> kCodeLenOrder = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

constexpr unsigned kMaxCodeLength = 15;
constexpr unsigned kLitLenRootBits = 10;
constexpr unsigned kDistRootBits = 8;
constexpr unsigned kCodeLenRootBits = 7;

uint32_t symbolEntry(Alphabet alphabet, unsigned sym, unsigned len) {
    switch (alphabet) {
    case Alphabet::LitLen:
        if (sym < 256) return entry(kLiteral, sym, len, 0);
        if (sym == 256) return entry(kEnd, 0, len, 0);
        if (sym <= 285) return entry(kLength, kLengthBase[sym - 257], len, kLengthExtra[sym - 257]);
        return entry(kInvalid, 0, 0, 0); // 286 and 287 take part in the code but never occur
    case Alphabet::Dist: return entry(kDistance, kDistBase[sym], len, kDistExtra[sym]);
    case Alphabet::CodeLen: break;
    }
    return entry(kSymbol, sym, len, 0);
}

unsigned reverseBits(unsigned code, unsigned len) {
    unsigned r = 0;
    for (unsigned i = 0; i < len; ++i) {
        r = (r << 1) | (code & 1);
        code >>= 1;
    }
    return r;
}

// Builds the canonical Huffman decoding table of `lens` (RFC 1951, 3.2.2). Over-subscribed
// and incomplete length sets are rejected, except the two incomplete ones RFC 1951, 3.2.7,
// describes as valid: a single code of one bit, and a distance alphabet without any code
// (a block of literals only).
bool buildTable(const uint8_t* lens, unsigned n, Alphabet alphabet, unsigned rootBits, Inflater::Table& table) {
    std::array<unsigned, kMaxCodeLength + 1> count{};
    for (unsigned i = 0; i < n; ++i) ++count[lens[i]];
    count[0] = 0;

    int left = 1;
    unsigned maxLen = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        left = (left << 1) - int(count[len]);
        if (left < 0) return false;
        if (count[len]) maxLen = len;
    }
    if (maxLen == 0) {
        if (alphabet != Alphabet::Dist) return false;
        table.rootBits = 1;
        table.entries.assign(2, entry(kInvalid, 0, 0, 0));
        return true;
    }
    if (left > 0 && (alphabet == Alphabet::CodeLen || maxLen != 1)) return false;

    const unsigned root = std::min(rootBits, maxLen);
    const unsigned subBits = maxLen - root;
    table.rootBits = root;
    table.entries.assign(size_t(1) << root, entry(kInvalid, 0, 0, 0));

    std::array<unsigned, kMaxCodeLength + 1> next{};
    unsigned code = 0;
    for (unsigned len = 1; len <= kMaxCodeLength; ++len) {
        code = (code + count[len - 1]) << 1;
        next[len] = code;
    }

    const unsigned rootSize = 1u << root;
    for (unsigned sym = 0; sym < n; ++sym) {
        const unsigned len = lens[sym];
        if (!len) continue;
        const unsigned rev = reverseBits(next[len]++, len);
        const uint32_t e = symbolEntry(alphabet, sym, len);
        if (len <= root) {
            for (unsigned i = rev; i < rootSize; i += 1u << len) table.entries[i] = e;
            continue;
        }
        const unsigned slot = rev & (rootSize - 1);
        unsigned offset;
        if (entryKind(table.entries[slot]) == kLink) {
            offset = entryValue(table.entries[slot]);
        } else {
            offset = unsigned(table.entries.size());
            table.entries.resize(offset + (size_t(1) << subBits), entry(kInvalid, 0, 0, 0));
            table.entries[slot] = entry(kLink, offset, root, subBits);
        }
        for (unsigned i = rev >> root; i < (1u << subBits); i += 1u << (len - root)) table.entries[offset + i] = e;
    }
    return true;
}

inline uint64_t loadLE64(const uint8_t* p) {
    uint64_t v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::big) v = __builtin_bswap64(v);
    return v;
}

// The bit accumulator. Bits are taken least significant first. Past the end of the input it
// supplies zero bits but counts them, so a decoder that consumed any of them can tell that
// the stream was cut short.
struct BitReader {
    const uint8_t* begin;
    const uint8_t* p;
    const uint8_t* end;
    uint64_t buf = 0;
    unsigned cnt = 0;
    size_t pad = 0; // zero bytes supplied past the end of the input

    // Makes at least 56 bits available. Above `cnt` the accumulator holds either zeros or
    // the next stream bits, so or-ing the same bits in again is harmless.
    inline void refill() {
        if (end - p >= 8) {
            buf |= loadLE64(p) << cnt;
            p += (63 - cnt) >> 3;
            cnt |= 56;
            return;
        }
        while (cnt <= 56) {
            uint64_t b = 0;
            if (p < end) b = *p++;
            else ++pad;
            buf |= b << cnt;
            cnt += 8;
        }
    }
    inline uint32_t peek(unsigned n) const { return uint32_t(buf & ((uint64_t(1) << n) - 1)); }
    inline void consume(unsigned n) {
        buf >>= n;
        cnt -= n;
    }
    inline uint32_t take(unsigned n) {
        const uint32_t v = peek(n);
        consume(n);
        return v;
    }
    // True once a bit past the end of the input has been consumed.
    bool overrun() const { return pad * 8 > cnt; }
    // Input position of the next unread whole byte after dropping the partial byte.
    size_t bytePosition() const { return size_t(p - begin) + pad - (cnt >> 3); }
};

inline uint32_t lookup(const Inflater::Table& t, uint64_t bits) {
    uint32_t e = t.entries[bits & ((uint64_t(1) << t.rootBits) - 1)];
    if (entryKind(e) == kLink) e = t.entries[entryValue(e) + ((bits >> t.rootBits) & ((1u << entryExtra(e)) - 1))];
    return e;
}

struct Output {
    uint8_t* begin;
    uint8_t* p;
    uint8_t* end;
};

// Copies `length` bytes from `distance` back; the regions may overlap, in which case the
// bytes just written repeat (RFC 1951, 3.2.3).
inline void copyMatch(Output& o, size_t distance, size_t length) {
    uint8_t* dst = o.p;
    const uint8_t* src = dst - distance;
    o.p += length;
    if (distance >= 8 && size_t(o.end - dst) >= length + 8) {
        // Word-wise; may write up to 7 bytes past the match, which later output overwrites.
        uint8_t* const stop = dst + length;
        do {
            std::memcpy(dst, src, 8);
            dst += 8;
            src += 8;
        } while (dst < stop);
        return;
    }
    if (distance == 1) {
        std::memset(dst, *src, length);
        return;
    }
    for (size_t i = 0; i < length; ++i) dst[i] = src[i];
}

bool decodeHuffmanBlock(BitReader& br, const Inflater::Table& lit, const Inflater::Table& dist, Output& o) {
    for (;;) {
        br.refill();
        // A stream cut short would otherwise decode the zero bits past its end until the
        // output is full.
        if (br.pad && br.overrun()) return false;
        uint32_t e = lookup(lit, br.buf);
        if (entryLength(e) == 0) return false;
        br.consume(entryLength(e));
        Kind kind = entryKind(e);
        if (kind == kLiteral) {
            if (o.p == o.end) return false;
            *o.p++ = uint8_t(entryValue(e));
            // A second literal fits in the bits still held (at least 41 after the first).
            e = lookup(lit, br.buf);
            if (entryKind(e) != kLiteral) continue;
            br.consume(entryLength(e));
            if (o.p == o.end) return false;
            *o.p++ = uint8_t(entryValue(e));
            continue;
        }
        if (kind == kEnd) return !br.overrun();
        if (kind != kLength) return false;

        // At most 15 + 5 bits are gone, which leaves at least 36: enough for the distance
        // code and its extra bits (15 + 14 = 29).
        const size_t length = entryValue(e) + br.take(entryExtra(e));
        e = lookup(dist, br.buf);
        if (entryLength(e) == 0 || entryKind(e) != kDistance) return false;
        br.consume(entryLength(e));
        const size_t distance = entryValue(e) + br.take(entryExtra(e));
        if (br.overrun()) return false;
        if (distance > size_t(o.p - o.begin) || length > size_t(o.end - o.p)) return false;
        copyMatch(o, distance, length);
    }
}

} // namespace

Inflater::Inflater() {
    std::array<uint8_t, 288> lit{};
    std::fill(lit.begin(), lit.begin() + 144, 8);
    std::fill(lit.begin() + 144, lit.begin() + 256, 9);
    std::fill(lit.begin() + 256, lit.begin() + 280, 7);
    std::fill(lit.begin() + 280, lit.end(), 8);
    buildTable(lit.data(), 288, Alphabet::LitLen, kLitLenRootBits, m_fixedLitLen);
    std::array<uint8_t, 32> dist;
    dist.fill(5);
    buildTable(dist.data(), 32, Alphabet::Dist, kDistRootBits, m_fixedDist);
}

Inflater::Result Inflater::InflateZlib(std::span<const uint8_t> in, std::span<uint8_t> out) {
    if (in.size() < 2) return {};
    Result r = InflateRaw(in.subspan(2), out);
    r.consumed += 2;
    return r;
}

Inflater::Result Inflater::InflateRaw(std::span<const uint8_t> in, std::span<uint8_t> out) {
    BitReader br{in.data(), in.data(), in.data() + in.size()};
    Output o{out.data(), out.data(), out.data() + out.size()};
    Result result;
    auto finish = [&](bool ok) {
        result.ok = ok && !br.overrun();
        result.produced = size_t(o.p - o.begin);
        result.consumed = std::min(br.bytePosition(), in.size());
        return result;
    };

    bool final = false;
    while (!final) {
        br.refill();
        final = br.take(1);
        const unsigned type = br.take(2);
        if (type == 0) {
            // Stored block: drop the rest of the current byte and hand the whole bytes still
            // held back to the input.
            br.consume(br.cnt & 7);
            const size_t pos = br.bytePosition();
            if (pos > in.size() || in.size() - pos < 4) return finish(false);
            const uint8_t* h = in.data() + pos;
            const unsigned len = h[0] | (h[1] << 8);
            const unsigned nlen = h[2] | (h[3] << 8);
            if (len != (~nlen & 0xFFFF)) return finish(false);
            if (in.size() - pos - 4 < len || size_t(o.end - o.p) < len) return finish(false);
            std::memcpy(o.p, h + 4, len);
            o.p += len;
            br.p = h + 4 + len;
            br.buf = 0;
            br.cnt = 0;
            br.pad = 0;
            continue;
        }
        if (type == 1) {
            if (!decodeHuffmanBlock(br, m_fixedLitLen, m_fixedDist, o)) return finish(false);
            continue;
        }
        if (type == 3) return finish(false);

        // Dynamic block (RFC 1951, 3.2.7).
        const unsigned hlit = br.take(5) + 257;
        const unsigned hdist = br.take(5) + 1;
        const unsigned hclen = br.take(4) + 4;
        std::array<uint8_t, 19> clens{};
        // 19 lengths of 3 bits are more than one refill guarantees.
        for (unsigned i = 0; i < hclen; ++i) {
            br.refill();
            clens[kCodeLenOrder[i]] = uint8_t(br.take(3));
        }
        if (br.overrun()) return finish(false);
        if (!buildTable(clens.data(), 19, Alphabet::CodeLen, kCodeLenRootBits, m_codeLen)) return finish(false);

        std::array<uint8_t, 288 + 32> lens{};
        const unsigned total = hlit + hdist;
        unsigned i = 0;
        while (i < total) {
            br.refill();
            if (br.pad && br.overrun()) return finish(false);
            const uint32_t e = lookup(m_codeLen, br.buf);
            if (entryLength(e) == 0) return finish(false);
            br.consume(entryLength(e));
            const unsigned sym = entryValue(e);
            if (sym < 16) {
                lens[i++] = uint8_t(sym);
                continue;
            }
            unsigned repeat;
            uint8_t value = 0;
            if (sym == 16) {
                if (i == 0) return finish(false);
                value = lens[i - 1];
                repeat = 3 + br.take(2);
            } else if (sym == 17) {
                repeat = 3 + br.take(3);
            } else {
                repeat = 11 + br.take(7);
            }
            if (repeat > total - i) return finish(false);
            std::fill_n(lens.begin() + i, repeat, value);
            i += repeat;
        }
        if (br.overrun()) return finish(false);
        // HLIT may name up to 288 literal/length codes and HDIST up to 32 distance codes;
        // 286 and 287 decode as invalid symbols, 30 and 31 as the extended distances. A block
        // without an end-of-block code could never end.
        if (lens[256] == 0) return finish(false);
        if (!buildTable(lens.data(), hlit, Alphabet::LitLen, kLitLenRootBits, m_litLen) ||
            !buildTable(lens.data() + hlit, hdist, Alphabet::Dist, kDistRootBits, m_dist))
            return finish(false);
        if (!decodeHuffmanBlock(br, m_litLen, m_dist, o)) return finish(false);
    }
    return finish(true);
}

} // namespace imaging
