#pragma once
// cCDECL: calls exported functions of a shared library by name, with up to five 32-bit
// arguments, and keeps the last looked-up address. On this platform every C export uses the
// one calling convention of the system ABI, in which the caller cleans up.

#include <QString>
#include <cstdint>
#include <span>

namespace imaging {

class cCDECL {
public:
    static constexpr uint32_t kErrNotLoaded = 0x80040000;
    static constexpr uint32_t kErrNoFunction = 0x80040001;
    static constexpr uint32_t kErrTooManyParameters = 0x80040002;

    cCDECL() = default;
    ~cCDECL();
    cCDECL(const cCDECL&) = delete;
    cCDECL& operator=(const cCDECL&) = delete;

    // Loads the named library (a previous one is released first).
    bool DllLoad(const QString& sName);
    bool DllUnload();
    // Calls `sFunction` with the values of ParmLongs (index 0 first) and returns its 32-bit
    // result. Raises "DLL not loaded", "Too many parameters" (more than five) or
    // "Failed to locate function: <name>" as platform::RuntimeError.
    int32_t CallFunc(const QString& sFunction, std::span<const int32_t> ParmLongs = {});
    // errno of the last call (cleared before it).
    int32_t LastError() const { return m_lastError; }

private:
    void* m_library = nullptr;
    QString m_lastName;
    void* m_lastAddress = nullptr;
    int32_t m_lastError = 0;
};

} // namespace imaging
