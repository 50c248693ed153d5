// libFuzzer target for cPNGparser::LoadStream. Each input is decoded twice: with zlib (CRCs
// checked) and with the built-in inflater (CRCs skipped, so mutations reach the image data).
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (const bool zlib : {true, false}) {
        imaging::cPNGparser::setZlibAvailable(zlib);
        imaging::c32bppDIB dib;
        dib.setIsGDIplusEnabled(false);
        imaging::cPNGparser parser;
        parser.LoadStream(bytes, dib, 0, size);
        // Touch the whole image so a wrong size or buffer shows up here.
        if (dib.Handle()) {
            volatile uint8_t sink = 0;
            const uint8_t* p = dib.BitsPointer();
            for (size_t i = 0, n = size_t(dib.Width()) * size_t(dib.Height()) * 4; i < n; i += 4093) sink = sink + p[i];
        }
    }
    imaging::cPNGparser::setZlibAvailable(true);
    return 0;
}
