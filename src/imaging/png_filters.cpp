#include "imaging/png_filters.h"

#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace imaging {

namespace {

// Paeth predictor: ties go to left, then up, then upper-left.
inline uint8_t paeth(int a, int b, int c) {
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    if (pa <= pb && pa <= pc) return uint8_t(a);
    if (pb <= pc) return uint8_t(b);
    return uint8_t(c);
}

void subScalar(uint8_t* cur, size_t n, unsigned bpp) {
    for (size_t i = bpp; i < n; ++i) cur[i] = uint8_t(cur[i] + cur[i - bpp]);
}

void averageScalar(uint8_t* cur, const uint8_t* prev, size_t n, unsigned bpp) {
    for (size_t i = 0; i < bpp && i < n; ++i) cur[i] = uint8_t(cur[i] + (prev[i] >> 1));
    for (size_t i = bpp; i < n; ++i) cur[i] = uint8_t(cur[i] + ((unsigned(cur[i - bpp]) + prev[i]) >> 1));
}

void paethScalar(uint8_t* cur, const uint8_t* prev, size_t n, unsigned bpp) {
    for (size_t i = 0; i < bpp && i < n; ++i) cur[i] = uint8_t(cur[i] + prev[i]);
    for (size_t i = bpp; i < n; ++i) cur[i] = uint8_t(cur[i] + paeth(cur[i - bpp], prev[i], prev[i - bpp]));
}

// Pixels of 3 or 4 bytes are unfiltered a pixel at a time as 32-bit words: each pixel
// depends on the one before it. At 3 bytes a pixel a word also covers the first byte of the
// next pixel, so each word is loaded before the store of the previous pixel can touch it
// (which also keeps loads clear of stores still in flight), and the garbage byte a store
// leaves is overwritten by the next pixel's store. The last pixel of a row moves only its own
// bytes, so nothing past the row is read or written.
template <unsigned Bpp, class Step> inline void unfilterWords(uint8_t* cur, const uint8_t* prev, size_t n, Step step) {
    static_assert(Bpp == 3 || Bpp == 4);
    if (n < Bpp) return;
    auto load = [n](const uint8_t* row, size_t i) {
        uint32_t v = 0;
        if (Bpp == 3 && i + 4 > n) std::memcpy(&v, row + i, 3);
        else std::memcpy(&v, row + i, 4);
        return v;
    };
    uint32_t raw = load(cur, 0);
    for (size_t i = 0;; i += Bpp) {
        const bool last = i + Bpp >= n;
        const uint32_t nextRaw = last ? 0 : load(cur, i + Bpp);
        const uint32_t out = step(raw, load(prev, i));
        if (Bpp == 3 && last) {
            std::memcpy(cur + i, &out, 3);
            return;
        }
        std::memcpy(cur + i, &out, 4);
        if (last) return;
        raw = nextRaw;
    }
}

// Byte-wise sum modulo 256 and byte-wise floor average of two words, without carries
// between bytes.
inline uint32_t addBytes(uint32_t x, uint32_t y) {
    return ((x & 0x7F7F7F7Fu) + (y & 0x7F7F7F7Fu)) ^ ((x ^ y) & 0x80808080u);
}
inline uint32_t averageBytes(uint32_t x, uint32_t y) { return (x & y) + (((x ^ y) >> 1) & 0x7F7F7F7Fu); }

template <unsigned Bpp> void subWords(uint8_t* cur, size_t n) {
    uint32_t a = 0;
    unfilterWords<Bpp>(cur, cur, n, [&a](uint32_t raw, uint32_t) { return a = addBytes(raw, a); });
}

template <unsigned Bpp> void averageWords(uint8_t* cur, const uint8_t* prev, size_t n) {
    uint32_t a = 0;
    unfilterWords<Bpp>(cur, prev, n, [&a](uint32_t raw, uint32_t b) { return a = addBytes(raw, averageBytes(a, b)); });
}

#if defined(__SSE2__)
inline __m128i widen(uint32_t v) { return _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(v)), _mm_setzero_si128()); }
inline uint32_t narrow(__m128i v) { return uint32_t(_mm_cvtsi128_si32(_mm_packus_epi16(v, v))); }
inline __m128i abs16(__m128i x) { return _mm_max_epi16(x, _mm_sub_epi16(_mm_setzero_si128(), x)); }
inline __m128i select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Paeth with the bytes of a pixel side by side in 16-bit lanes; the decoded pixel stays in
// lanes from one step to the next and is narrowed only to be stored.
struct PaethChain {
    __m128i a = _mm_setzero_si128(); // left, decoded
    __m128i c = _mm_setzero_si128(); // upper left
    inline __m128i step(uint32_t raw, __m128i b) {
        const __m128i paSigned = _mm_sub_epi16(b, c); // p - a
        const __m128i pbSigned = _mm_sub_epi16(a, c); // p - b
        const __m128i pa = abs16(paSigned);
        const __m128i pb = abs16(pbSigned);
        const __m128i pc = abs16(_mm_add_epi16(paSigned, pbSigned));
        const __m128i smallest = _mm_min_epi16(pc, _mm_min_epi16(pa, pb));
        const __m128i predictor = select(_mm_cmpeq_epi16(smallest, pa), a, select(_mm_cmpeq_epi16(smallest, pb), b, c));
        a = _mm_and_si128(_mm_add_epi16(widen(raw), predictor), _mm_set1_epi16(0xFF));
        c = b;
        return a;
    }
};

template <unsigned Bpp> void paethWords(uint8_t* cur, const uint8_t* prev, size_t n) {
    PaethChain chain;
    unfilterWords<Bpp>(cur, prev, n, [&](uint32_t raw, uint32_t up) { return narrow(chain.step(raw, widen(up))); });
}

// Walks one row pixel by pixel for the paired Paeth below, with the same word rules as
// unfilterWords: each raw word is loaded before the previous pixel's store.
template <unsigned Bpp> struct RowWalker {
    uint8_t* row;
    size_t n;
    size_t i = 0;
    uint32_t raw = 0;
    RowWalker(uint8_t* r, size_t size) : row(r), n(size) { raw = load(0); }
    uint32_t load(size_t at) const {
        uint32_t v = 0;
        if (Bpp == 3 && at + 4 > n) std::memcpy(&v, row + at, 3);
        else std::memcpy(&v, row + at, 4);
        return v;
    }
    // The raw word of the current pixel; the next one is fetched now.
    uint32_t take() {
        const uint32_t v = raw;
        if (i + Bpp < n) raw = load(i + Bpp);
        return v;
    }
    void put(uint32_t out) {
        std::memcpy(row + i, &out, (Bpp == 3 && i + Bpp >= n) ? 3 : 4);
        i += Bpp;
    }
};

// Two consecutive Paeth rows at once: the second row runs one pixel behind the first, taking
// its upper pixels straight from the first row's lanes, so the two dependency chains (each
// pixel waits for its left neighbour) overlap instead of following each other.
template <unsigned Bpp> void paethPairWords(uint8_t* row0, uint8_t* row1, const uint8_t* prev, size_t n) {
    PaethChain first, second;
    RowWalker<Bpp> w0(row0, n), w1(row1, n);
    __m128i above = _mm_setzero_si128(); // row 0's previous pixel, in lanes
    for (size_t i = 0; i < n; i += Bpp) {
        uint32_t up = 0;
        if (Bpp == 3 && i + 4 > n) std::memcpy(&up, prev + i, 3);
        else std::memcpy(&up, prev + i, 4);
        const __m128i out0 = first.step(w0.take(), widen(up));
        if (i > 0) w1.put(narrow(second.step(w1.take(), above)));
        w0.put(narrow(out0));
        above = out0;
    }
    w1.put(narrow(second.step(w1.take(), above)));
}
#endif

} // namespace

bool unfilterPngRowPair(uint8_t* row0, uint8_t* row1, const uint8_t* prev, size_t n, unsigned bpp) {
#if defined(__SSE2__)
    if (n == 0) return false;
    if (bpp == 3 && n % 3 == 0) {
        paethPairWords<3>(row0, row1, prev, n);
        return true;
    }
    if (bpp == 4 && n % 4 == 0) {
        paethPairWords<4>(row0, row1, prev, n);
        return true;
    }
#endif
    (void)row0, (void)row1, (void)prev, (void)n, (void)bpp;
    return false;
}

void unfilterPngRow(unsigned type, uint8_t* cur, const uint8_t* prev, size_t n, unsigned bpp) {
    switch (type) {
    case 1:
        if (bpp == 3 && n % 3 == 0) return subWords<3>(cur, n);
        if (bpp == 4 && n % 4 == 0) return subWords<4>(cur, n);
        return subScalar(cur, n, bpp);
    case 2:
        for (size_t i = 0; i < n; ++i) cur[i] = uint8_t(cur[i] + prev[i]);
        return;
    case 3:
        if (bpp == 3 && n % 3 == 0) return averageWords<3>(cur, prev, n);
        if (bpp == 4 && n % 4 == 0) return averageWords<4>(cur, prev, n);
        return averageScalar(cur, prev, n, bpp);
    case 4:
#if defined(__SSE2__)
        if (bpp == 3 && n % 3 == 0) return paethWords<3>(cur, prev, n);
        if (bpp == 4 && n % 4 == 0) return paethWords<4>(cur, prev, n);
#endif
        return paethScalar(cur, prev, n, bpp);
    default: return;
    }
}

} // namespace imaging
