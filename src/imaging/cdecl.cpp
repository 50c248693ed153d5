#include "imaging/cdecl.h"

#include "platform/forms/runtime_error.h"

#include <cerrno>
#include <dlfcn.h>

namespace imaging {

namespace {
const QString kSource = QStringLiteral("cCDECL");
constexpr size_t kMaxParameters = 5;
} // namespace

cCDECL::~cCDECL() { DllUnload(); }

bool cCDECL::DllLoad(const QString& sName) {
    DllUnload();
    m_library = dlopen(sName.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    return m_library != nullptr;
}

bool cCDECL::DllUnload() {
    m_lastName.clear();
    m_lastAddress = nullptr;
    if (!m_library) return false;
    const bool ok = dlclose(m_library) == 0;
    m_library = nullptr;
    return ok;
}

int32_t cCDECL::CallFunc(const QString& sFunction, std::span<const int32_t> ParmLongs) {
    if (!m_library) throw platform::RuntimeError(kErrNotLoaded, kSource, QStringLiteral("DLL not loaded"));
    if (ParmLongs.size() > kMaxParameters)
        throw platform::RuntimeError(kErrTooManyParameters, kSource, QStringLiteral("Too many parameters"));
    if (!m_lastAddress || sFunction != m_lastName) {
        m_lastAddress = dlsym(m_library, sFunction.toLocal8Bit().constData());
        m_lastName = m_lastAddress ? sFunction : QString();
        if (!m_lastAddress)
            throw platform::RuntimeError(kErrNoFunction, kSource,
                                         QStringLiteral("Failed to locate function: ") + sFunction);
    }
    // Arguments travel sign-extended in full registers, so a callee that takes 32-bit values
    // and one that takes pointer-sized values both read what the caller meant.
    intptr_t a[kMaxParameters] = {};
    for (size_t i = 0; i < ParmLongs.size(); ++i) a[i] = intptr_t(ParmLongs[i]);
    using Fn = intptr_t (*)(intptr_t, intptr_t, intptr_t, intptr_t, intptr_t);
    const auto fn = reinterpret_cast<Fn>(m_lastAddress);
    errno = 0;
    const intptr_t result = fn(a[0], a[1], a[2], a[3], a[4]);
    m_lastError = errno;
    return int32_t(result);
}

} // namespace imaging
