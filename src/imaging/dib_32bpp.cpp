#include "imaging/dib_32bpp.h"

#include "imaging/gdi_plus.h"
#include "imaging/png_parser.h"
#include "imaging/skin_catalogue.h"
#include "platform/gdi/bitmap.h"
#include "platform/gdi/dc.h"
#include "platform/window/message_box.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace imaging {

namespace {

// Streams and files shorter than this cannot hold an image worth decoding.
constexpr int64_t kMinImageBytes = 57;

} // namespace

c32bppDIB::c32bppDIB() {
    // A current system: AlphaBlend friendly and usable. The platform image library (Qt's
    // image reader and painter) is always there, so GDI+ counts as enabled and smooth
    // scaling is on.
    m_flags = kFlagAlphaBlendFriendly | kFlagAlphaBlendUsable;
    setIsGDIplusEnabled(true);
    if (isGDIplusEnabled()) m_highQuality = true;
}

c32bppDIB::~c32bppDIB() {
    DestroyDIB();
    deleteOwnDC();
}

bool c32bppDIB::createBits(int32_t width, int32_t height) {
    try {
        m_bitmap = platform::CreateDIBSection32(width, height, &m_bits);
    } catch (const std::bad_alloc&) { m_bitmap = nullptr; }
    if (!m_bitmap) m_bits = nullptr;
    return m_bitmap != nullptr;
}

void c32bppDIB::releaseBits() {
    if (m_dc && m_previousObject) {
        platform::SelectObject(m_dc, m_previousObject);
        m_previousObject = nullptr;
    }
    if (m_bitmap) platform::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_bits = nullptr;
}

void c32bppDIB::deleteOwnDC() {
    if (!m_dc) return;
    if (m_previousObject) platform::SelectObject(m_dc, m_previousObject);
    m_previousObject = nullptr;
    platform::DeleteDC(m_dc);
    m_dc = nullptr;
}

bool c32bppDIB::InitializeDIB(int32_t Width, int32_t Height) {
    DestroyDIB();
    if (Width < 0 || Height == 0) return false;
    const int64_t h = Height < 0 ? -int64_t(Height) : int64_t(Height);
    // Width × Height × 4 must fit a signed 32-bit value.
    if (int64_t(Width) * h * 4 > 0x7FFFFFFF) return false;
    if (!createBits(Width, int32_t(h))) return false;
    m_width = Width;
    m_height = int32_t(h);
    m_imageType = 0;
    m_alpha = true;
    if (m_manageOwnDC) LoadDIBinDC(true);
    return true;
}

// The DC goes with the image; a DC kept by ManageOwnDC survives only while images come and go
// through InitializeDIB, which makes a new one when needed.
void c32bppDIB::DestroyDIB() {
    deleteOwnDC();
    releaseBits();
    m_sourceFormat.clear();
    m_width = m_height = 0;
    m_alpha = false;
    m_imageType = -1;
}

platform::HDC c32bppDIB::LoadDIBinDC(bool bLoad) {
    if (bLoad) {
        if (!m_bitmap) return nullptr;
        if (!m_dc) m_dc = platform::CreateCompatibleDC(nullptr);
        if (!m_previousObject) m_previousObject = platform::SelectObject(m_dc, m_bitmap);
        return m_dc;
    }
    if (m_dc && m_previousObject) {
        platform::SelectObject(m_dc, m_previousObject);
        m_previousObject = nullptr;
    }
    if (!m_manageOwnDC) deleteOwnDC();
    return nullptr;
}

void c32bppDIB::setManageOwnDC(bool bManage) {
    m_manageOwnDC = bManage;
    if (bManage) {
        if (m_bitmap) LoadDIBinDC(true);
    } else {
        deleteOwnDC();
    }
}

void c32bppDIB::EraseDIB() {
    if (!m_bitmap) return;
    std::memset(m_bits, 0, size_t(m_width) * size_t(m_height) * 4);
    m_imageType = 0;
    m_alpha = true;
}

void c32bppDIB::setIsAlphaBlendFriendly(bool Enabled) {
    if (!Enabled) m_flags &= ~kFlagAlphaBlendFriendly;
    else if (m_flags & kFlagAlphaBlendUsable) m_flags |= kFlagAlphaBlendFriendly;
}

void c32bppDIB::setIsGDIplusEnabled(bool Enabled) {
    if (Enabled == isGDIplusEnabled()) return;
    m_flags &= ~kFlagGDIplusEnabled;
    if (Enabled && !(m_flags & kFlagGDIplusForbidden) && cGDIPlus::isAvailable()) m_flags |= kFlagGDIplusEnabled;
}

bool c32bppDIB::isZlibEnabled() { return cPNGparser::zlibAvailable(); }

// --- Loaders ---

bool c32bppDIB::LoadPicture_File(const QString& FileName, int32_t iconCx, int32_t iconCy, bool SaveFormat,
                                 int32_t iconBitDepth) {
    QFile probe(FileName);
    if (!probe.exists() || probe.size() < kMinImageBytes) return false;
    return loadDispatcher(Source::File, FileName, {}, SaveFormat, iconCx, iconCy, iconBitDepth);
}

bool c32bppDIB::LoadPicture_Stream(std::span<const uint8_t> inStream, int32_t iconCx, int32_t iconCy,
                                   int64_t streamStart, int64_t streamLength, bool SaveFormat, int32_t iconBitDepth) {
    if (inStream.empty()) return false;
    const int64_t size = int64_t(inStream.size());
    if (streamStart < 0) streamStart = 0;
    if (streamStart >= size) return false;
    if (streamLength <= 0 || streamLength > size - streamStart) streamLength = size - streamStart;
    if (streamLength < kMinImageBytes) return false;
    return loadDispatcher(Source::Stream, {}, inStream.subspan(size_t(streamStart), size_t(streamLength)), SaveFormat,
                          iconCx, iconCy, iconBitDepth);
}

// The load sequence shared by files and streams: the PNG decoder first, then (when enabled)
// the platform image loader for every other format it reads.
bool c32bppDIB::loadDispatcher(Source source, const QString& fileName, std::span<const uint8_t> bytes, bool saveFormat,
                               int32_t& iconCx, int32_t& iconCy, int32_t& iconBitDepth) {
    DestroyDIB();
    // The icon parameters are normalised and otherwise unused: no icon decoder exists.
    if (iconCx < 0) iconCx = 0;
    if (iconCy < 0) iconCy = 0;
    if (iconBitDepth < 0 || iconBitDepth > 32) iconBitDepth = 32;

    bool isPNG = false;
    try {
        cPNGparser parser;
        if (source == Source::File) {
            QFile file(fileName);
            if (file.open(QIODevice::ReadOnly)) isPNG = parser.LoadFile(file, fileName, *this, m_gdiToken);
        } else {
            isPNG = parser.LoadStream(bytes, *this, 0, bytes.size(), m_gdiToken);
        }
    } catch (const std::bad_alloc&) {
        showLoadError(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) { showLoadError(QString::fromLocal8Bit(e.what())); }

    std::vector<uint8_t> work;
    if (!isPNG && source == Source::File) {
        QFile file(fileName);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray all = file.readAll();
            work.assign(all.begin(), all.end());
        }
    }
    bool workIsSource = false;
    if (!m_bitmap && isGDIplusEnabled()) {
        if (source == Source::File) cGDIPlus::LoadImageFromFile(fileName, *this, m_gdiToken);
        else cGDIPlus::LoadImageFromBytes(bytes, *this, m_gdiToken);
        if (m_bitmap && saveFormat) {
            std::vector<uint8_t> png;
            if (cGDIPlus::SaveToPNG(QString(), png, *this, m_gdiToken)) {
                work = std::move(png);
                workIsSource = true;
            }
        }
    }
    if (!m_bitmap) return false;

    if (saveFormat) {
        if (workIsSource) {
            m_sourceFormat = std::move(work);
        } else if (source == Source::Stream) {
            m_sourceFormat.assign(bytes.begin(), bytes.end());
        } else {
            QFile file(fileName);
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray all = file.readAll();
                m_sourceFormat.assign(all.begin(), all.end());
            }
        }
    }
    return true;
}

bool c32bppDIB::LoadPicture_Resource(const std::variant<int32_t, QString>& ResIndex,
                                     const std::variant<int32_t, QString>& ResSection, const ResourceReader& VBglobal,
                                     int32_t iconCx, int32_t iconCy, int64_t streamStart, int64_t streamLength,
                                     int32_t iconBitDepth) {
    try {
        if (!std::holds_alternative<QString>(ResSection)) {
            LoadPicture_StdPicture(0);
            return m_bitmap != nullptr;
        }
        const QString type = std::get<QString>(ResSection);
        const QString name = std::holds_alternative<QString>(ResIndex) ? std::get<QString>(ResIndex)
                                                                       : QString::number(std::get<int32_t>(ResIndex));
        const QByteArray data = VBglobal ? VBglobal(type, name) : LoadResData(name, type);
        if (data.isEmpty()) {
            DestroyDIB();
            return false;
        }
        const auto* p = reinterpret_cast<const uint8_t*>(data.constData());
        LoadPicture_Stream(std::span<const uint8_t>(p, size_t(data.size())), iconCx, iconCy, streamStart, streamLength,
                           false, iconBitDepth);
        return m_bitmap != nullptr;
    } catch (...) { return false; }
}

bool c32bppDIB::LoadPicture_StdPicture(uintptr_t) {
    DestroyDIB();
    return false;
}

bool c32bppDIB::LoadPicture_ByHandle(uintptr_t Handle) { return LoadPicture_StdPicture(Handle); }

bool c32bppDIB::LoadPicture_ClipBoard() { return LoadPicture_StdPicture(0); }

bool c32bppDIB::LoadPicture_FromOrignalFormat(int32_t iconCx, int32_t iconCy, int32_t iconBitDepth) {
    if (m_sourceFormat.empty()) return false;
    const std::vector<uint8_t> copy = m_sourceFormat;
    return LoadPicture_Stream(copy, iconCx, iconCy, 0, 0, true, iconBitDepth);
}

bool c32bppDIB::GetOrginalFormat(std::vector<uint8_t>& outStream) const {
    outStream = m_sourceFormat;
    return !outStream.empty();
}

// --- Pixels ---

int32_t c32bppDIB::GetPixel(int32_t x, int32_t y, int32_t* AlphaValue, bool asPreMultiplied) const {
    if (!m_bitmap || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        if (AlphaValue) *AlphaValue = 0;
        return -1;
    }
    const uint8_t* p = row(y) + size_t(x) * 4;
    unsigned b = p[0], g = p[1], r = p[2];
    const unsigned a = p[3];
    if (AlphaValue) *AlphaValue = int32_t(a);
    if (!asPreMultiplied && a != 0 && a != 255) {
        // Components above their alpha are not premultiplied data; they saturate.
        b = std::min(b * 255 / a, 255u);
        g = std::min(g * 255 / a, 255u);
        r = std::min(r * 255 / a, 255u);
    }
    return int32_t(r | (g << 8) | (b << 16));
}

} // namespace imaging

namespace imaging {

void c32bppDIB::showLoadError(const QString& description) { platform::MsgBox(description, platform::vbOKOnly); }

} // namespace imaging
