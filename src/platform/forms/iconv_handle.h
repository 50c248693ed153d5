#pragma once
// IconvHandle: an iconv conversion descriptor that closes itself with its owner. A name
// iconv does not know leaves the handle invalid; converting through it is the caller's
// decision to skip.

#include <iconv.h>

namespace platform {

class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid()) iconv_close(m_cd);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return m_cd; }
    // Back to the initial shift state, as before a new text.
    void resetState() const { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

} // namespace platform
