// libFuzzer target for the playlist reader: every input, read from a file and from an
// address, must keep the reader's invariants (see channel_text_checks.h). A broken one
// aborts, so the fuzzer keeps the input.
#include "app/channels/channel_text_checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = checks::playlist({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "fuzz_playlist: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
