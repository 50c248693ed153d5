// libFuzzer target for the directory transformation: every input, as a page of each
// category, must give what one search-and-replace pass per step gives, read as text and as
// bytes alike. A difference aborts, so the fuzzer keeps the input.
#include "app/channels/channel_text_checks.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string problem = checks::directory({data, size});
    if (!problem.empty()) {
        std::fprintf(stderr, "fuzz_directory: %s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
