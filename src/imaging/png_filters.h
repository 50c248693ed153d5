#pragma once
// Reverses the PNG row filters (PNG second edition, 9.2 and 9.4).

#include <cstddef>
#include <cstdint>

namespace imaging {

// Unfilters one row of `n` bytes in place. `prev` is the previous row of the same pass after
// unfiltering, or a row of zeros for the first row; `bpp` is the filter distance in bytes.
// Filter types above 4 leave the row as stored.
void unfilterPngRow(unsigned type, uint8_t* cur, const uint8_t* prev, size_t n, unsigned bpp);

// Unfilters two consecutive rows that both use the Paeth filter, `row1` following `row0`,
// faster than one after the other. False (nothing done) where that is not available.
bool unfilterPngRowPair(uint8_t* row0, uint8_t* row1, const uint8_t* prev, size_t n, unsigned bpp);

} // namespace imaging
