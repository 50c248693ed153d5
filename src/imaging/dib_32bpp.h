#pragma once
// c32bppDIB: the in-memory image of the program. A 32-bit pixel buffer, premultiplied alpha,
// bytes B, G, R, A, rows bottom-up with a stride of Width × 4 (the PixelBuffer32 layout), with
// loaders that fill it, a Render operation that draws it with per-pixel alpha, and effects.

#include "platform/window/messages.h"

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
    bool LoadPicture_File(const QString& FileName, int32_t iconCx = 0, int32_t iconCy = 0, bool SaveFormat = false,
                          int32_t iconBitDepth = 32);
    bool LoadPicture_Stream(std::span<const uint8_t> inStream, int32_t iconCx = 0, int32_t iconCy = 0,
                            int64_t streamStart = 0, int64_t streamLength = 0, bool SaveFormat = false,
                            int32_t iconBitDepth = 32);
    // A string `ResSection` names a custom resource type whose bytes are loaded as a stream;
    // they come from `VBglobal` when given, else from the program's resources (LoadResData).
    // A numeric section asks for a picture object, which cannot be converted.
    bool LoadPicture_Resource(const std::variant<int32_t, QString>& ResIndex,
                              const std::variant<int32_t, QString>& ResSection, const ResourceReader& VBglobal = {},
                              int32_t iconCx = 0, int32_t iconCy = 0, int64_t streamStart = 0, int64_t streamLength = 0,
                              int32_t iconBitDepth = 32);
    // Picture objects are not converted: these clear the image and return false.
    bool LoadPicture_StdPicture(uintptr_t Picture);
    bool LoadPicture_ByHandle(uintptr_t Handle);
    bool LoadPicture_ClipBoard();
    bool LoadPicture_FromOrignalFormat(int32_t iconCx = 0, int32_t iconCy = 0, int32_t iconBitDepth = 32);
    bool GetOrginalFormat(std::vector<uint8_t>& outStream) const;

    // --- Pixels ---
    // Colour 0x00BBGGRR at (x, y) counted from the top left; -1 and alpha 0 outside the image.
    int32_t GetPixel(int32_t x, int32_t y, int32_t* AlphaValue = nullptr, bool asPreMultiplied = true) const;

    // --- Drawing ---
    // Draws the source rectangle onto `destinationDC`, or into `destHostDIB` when given,
    // scaled to the destination rectangle. A negative srcWidth/srcHeight mirrors the image
    // (the destination rectangle stays where it is). Opacity is a percentage taken modulo 100
    // (0 meaning 100); 0 or less draws nothing. grayScale picks a weight set (-1 none),
    // LightAdjustment (-100..100) brightens or darkens, Angle rotates about the destination
    // centre. Blend is accepted and unused.
    bool Render(platform::HDC destinationDC, int32_t destX = 0, int32_t destY = 0, int32_t destWidth = 0,
                int32_t destHeight = 0, int32_t SrcX = 0, int32_t SrcY = 0, int32_t srcWidth = 0, int32_t srcHeight = 0,
                int32_t Opacity = 100, bool Blend = true, bool SetHalfTone = true, c32bppDIB* destHostDIB = nullptr,
                int32_t grayScale = -1, int32_t LightAdjustment = 0, double Angle = 0, bool CenterOnDestXY = false);
    // True: the own DC, holding the bitmap (null without an image). False: the bitmap leaves
    // the DC, which is deleted unless ManageOwnDC is set.
    platform::HDC LoadDIBinDC(bool bLoad);
    bool ManageOwnDC() const { return m_manageOwnDC; }
    void setManageOwnDC(bool bManage);

    // --- Export and effects ---
    bool SaveToStream(std::vector<uint8_t>& outStream) const;
    bool GetDIBbits(std::vector<uint8_t>& outStream, bool as2dArray = false, bool asBGRformat = true,
                    bool as32bpp = true, bool asWordAligned = true, bool asBottomUp = true, int32_t x = 0,
                    int32_t y = 0, int32_t width = 0, int32_t height = 0, bool asPreMultiplied = true) const;
    bool SetDIBbits(std::span<const uint8_t> inStream, bool isBGRformat = true, bool is32bpp = true,
                    bool isWordAligned = true, bool isBottomUp = true, int32_t dstX = 0, int32_t dstY = 0,
                    int32_t dstWidth = 0, int32_t dstHeight = 0);
    // Copies into `cDIBclass` (created when null) at newWidth × newHeight: 0 means the source
    // size, a negative size mirrors, another size is drawn with Render.
    bool CopyImageTo(std::unique_ptr<c32bppDIB>& cDIBclass, int32_t newWidth = 0, int32_t newHeight = 0,
                     bool CopyOriginalFormat = false);
    // A region of the pixels with alpha: Style 0 bounding box, 1 one span per row, 2 every
    // run. The caller owns it; null without an image or for another style.
    platform::HRGN CreateRegion(int32_t Style = 0, int32_t xOffset = 0, int32_t yOffset = 0) const;
    bool CreateCheckerBoard(int32_t CheckerSize, uint32_t FirstColor, uint32_t SecondColor);
    bool RenderDropShadow_JIT(platform::HDC hdc, int32_t x, int32_t y, int32_t blurDepth, uint32_t Color,
                              int32_t Opacity = 100);
    bool MakeTransparent(uint32_t TransparentColor, bool Revert = false);
    bool MakeImageInverse();
    bool MirrorImage(bool MirrorAxisX, bool MirrorAxisY);
    std::unique_ptr<c32bppDIB> CreateDropShadow(int32_t blurDepth, uint32_t Color) const;
    // File names on the clipboard, or in dropped data, as a list of local files.
    int32_t GetPastedFileNames(QStringList& ListOfFiles) const;
    bool GetDroppedFileNames(const QMimeData* OLEDragDrop_DataObject, QStringList& ListOfFiles) const;

    // --- State ---
    platform::HBITMAP Handle() const { return m_bitmap; }
    uint8_t* BitsPointer() const { return m_bits; }
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
    uint8_t* row(int32_t y) const { return m_bits + size_t(m_height - 1 - y) * size_t(m_width) * 4; }

private:
    enum class Source { File, Stream };
    static void showLoadError(const QString& description);
    bool loadDispatcher(Source source, const QString& fileName, std::span<const uint8_t> bytes, bool saveFormat,
                        int32_t& iconCx, int32_t& iconCy, int32_t& iconBitDepth);

    // The pixel memory: a bottom-up 32-bit section of the platform, selectable into a DC.
    bool createBits(int32_t width, int32_t height);
    void releaseBits();
    void deleteOwnDC();

    // Drawing paths of Render (dib_32bpp_render.cpp).
    struct RenderJob;
    bool renderAlphaBlend(const RenderJob& job);
    bool renderPainter(const RenderJob& job);
    bool renderSoftware(const RenderJob& job);
    bool renderRotatedSoftware(const RenderJob& job);

    platform::HBITMAP m_bitmap = nullptr;
    uint8_t* m_bits = nullptr;
    platform::HDC m_dc = nullptr;
    platform::HGDIOBJ m_previousObject = nullptr;
    bool m_manageOwnDC = false;
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
