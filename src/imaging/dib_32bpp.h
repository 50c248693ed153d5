#pragma once
// c32bppDIB: the in-memory image of the program. A 32-bit pixel buffer, premultiplied alpha,
// bytes B, G, R, A, rows bottom-up with a stride of Width × 4 (the PixelBuffer32 layout), with
// loaders that fill it, a Render operation that draws it with per-pixel alpha, and effects.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <variant>
#include <vector>

class QByteArray;
class QMimeData;

namespace imaging {

class c32bppDIB {
public:
    // Capability flags.
    static constexpr uint32_t kFlagAlphaBlendFriendly = 1;
    static constexpr uint32_t kFlagGDIplusEnabled = 2;
    static constexpr uint32_t kFlagAlphaBlendUsable = 8;
    static constexpr uint32_t kFlagNoHalftone = 16;
    static constexpr uint32_t kFlagGDIplusForbidden = 32;

    // Reads the bytes of a custom resource by type and name; empty when there is none.
    using ResourceReader = std::function<QByteArray(const QString& type, const QString& name)>;

    c32bppDIB();
    ~c32bppDIB();
    c32bppDIB(const c32bppDIB&) = delete;
    c32bppDIB& operator=(const c32bppDIB&) = delete;

    // --- Buffer ---
    bool InitializeDIB(int32_t Width, int32_t Height);
    void DestroyDIB();
    void EraseDIB();

    // --- Loaders ---
    bool LoadPicture_File(const QString& FileName, int32_t iconCx = 0, int32_t iconCy = 0,
                          bool SaveFormat = false, int32_t iconBitDepth = 32);
    bool LoadPicture_Stream(std::span<const uint8_t> inStream, int32_t iconCx = 0, int32_t iconCy = 0,
                            int64_t streamStart = 0, int64_t streamLength = 0, bool SaveFormat = false,
                            int32_t iconBitDepth = 32);
    // A string `ResSection` names a custom resource type whose bytes are loaded as a stream;
    // they come from `VBglobal` when given, else from the program's Qt resources at
    // ":/resources/<TYPE>/<NAME>". A numeric section asks for a picture object, which cannot
    // be converted.
    bool LoadPicture_Resource(const std::variant<int32_t, QString>& ResIndex,
                              const std::variant<int32_t, QString>& ResSection,
                              const ResourceReader& VBglobal = {}, int32_t iconCx = 0, int32_t iconCy = 0,
                              int64_t streamStart = 0, int64_t streamLength = 0, int32_t iconBitDepth = 32);
    // Picture objects are not converted: these clear the image and return false.
    bool LoadPicture_StdPicture(uintptr_t Picture);
    bool LoadPicture_ByHandle(uintptr_t Handle);
    bool LoadPicture_ClipBoard();
    bool LoadPicture_FromOrignalFormat(int32_t iconCx = 0, int32_t iconCy = 0, int32_t iconBitDepth = 32);
    bool GetOrginalFormat(std::vector<uint8_t>& outStream) const;

    // --- Pixels ---
    // Colour 0x00BBGGRR at (x, y) counted from the top left; -1 and alpha 0 outside the image.
    int32_t GetPixel(int32_t x, int32_t y, int32_t* AlphaValue = nullptr, bool asPreMultiplied = true) const;

    // --- Export and effects ---
    bool SaveToStream(std::vector<uint8_t>& outStream) const;
    bool GetDIBbits(std::vector<uint8_t>& outStream, bool as2dArray = false, bool asBGRformat = true,
                    bool as32bpp = true, bool asWordAligned = true, bool asBottomUp = true, int32_t x = 0,
                    int32_t y = 0, int32_t width = 0, int32_t height = 0, bool asPreMultiplied = true) const;
    bool SetDIBbits(std::span<const uint8_t> inStream, bool isBGRformat = true, bool is32bpp = true,
                    bool isWordAligned = true, bool isBottomUp = true, int32_t dstX = 0, int32_t dstY = 0,
                    int32_t dstWidth = 0, int32_t dstHeight = 0);
    bool MakeTransparent(uint32_t TransparentColor, bool Revert = false);
    bool MakeImageInverse();
    bool MirrorImage(bool MirrorAxisX, bool MirrorAxisY);
    std::unique_ptr<c32bppDIB> CreateDropShadow(int32_t blurDepth, uint32_t Color) const;
    // File names on the clipboard, or in dropped data, as a list of local files.
    int32_t GetPastedFileNames(QStringList& ListOfFiles) const;
    bool GetDroppedFileNames(const QMimeData* OLEDragDrop_DataObject, QStringList& ListOfFiles) const;

    // --- State ---
    uintptr_t Handle() const { return m_handle; }
    uint8_t* BitsPointer() const { return m_bits.get(); }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    int32_t scanWidth() const { return m_width * 4; }
    bool Alpha() const { return m_alpha; }
    int32_t ImageType() const { return m_imageType; }
    bool HighQualityInterpolation() const { return m_highQuality; }
    void setHighQualityInterpolation(bool v) { m_highQuality = v; }
    uintptr_t gdiToken() const { return m_gdiToken; }
    void setgdiToken(uintptr_t v) { m_gdiToken = v; }
    bool isAlphaBlendFriendly() const { return m_flags & kFlagAlphaBlendFriendly; }
    void setIsAlphaBlendFriendly(bool Enabled);
    bool isGDIplusEnabled() const { return m_flags & kFlagGDIplusEnabled; }
    void setIsGDIplusEnabled(bool Enabled);
    static bool isZlibEnabled();
    uint32_t CapabilityFlags() const { return m_flags; }
    void setCapabilityFlags(uint32_t flags) { m_flags = flags; }

    // Used by the decoder and the effects.
    void SetAlphaFlag(bool v) { m_alpha = v; }
    void SetImageType(int32_t v) { m_imageType = v; }

    // Image row y (0 = top) in the buffer.
    uint8_t* row(int32_t y) const { return m_bits.get() + size_t(m_height - 1 - y) * size_t(m_width) * 4; }

private:
    enum class Source { File, Stream };
    static void showLoadError(const QString& description);
    bool loadDispatcher(Source source, const QString& fileName, std::span<const uint8_t> bytes,
                        bool saveFormat, int32_t& iconCx, int32_t& iconCy, int32_t& iconBitDepth);

    // The pixel memory, behind one seam so the storage can become a platform bitmap.
    bool createBits(int32_t width, int32_t height);
    void releaseBits();

    struct FreeDeleter {
        void operator()(uint8_t* p) const;
    };
    std::unique_ptr<uint8_t, FreeDeleter> m_bits;
    uintptr_t m_handle = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_alpha = false;
    int32_t m_imageType = -1;
    bool m_highQuality = false;
    uintptr_t m_gdiToken = 0;
    uint32_t m_flags = 0;
    std::vector<uint8_t> m_sourceFormat;
};

} // namespace imaging
