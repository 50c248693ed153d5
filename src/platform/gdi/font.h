#pragma once
// Fonts described as on the desktop platform (height in device pixels, negative for the
// character height and positive for the cell height, weight 100..900) and mapped onto Qt
// fonts. Face names of the platform's standard fonts are substituted by installed ones
// ("宋体" by a CJK face).

#include "gdi_object.h"

#include <QFont>
#include <QString>

namespace platform {

inline constexpr int32_t FW_NORMAL = 400;
inline constexpr int32_t FW_BOLD = 700;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t ANSI_CHARSET = 0;
inline constexpr uint8_t GB2312_CHARSET = 134;

struct LOGFONT {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = FW_NORMAL;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = DEFAULT_CHARSET;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    QString lfFaceName;
};

struct TEXTMETRIC {
    int32_t tmHeight = 0;
    int32_t tmAscent = 0;
    int32_t tmDescent = 0;
    int32_t tmInternalLeading = 0;
    int32_t tmExternalLeading = 0;
    int32_t tmAveCharWidth = 0;
    int32_t tmMaxCharWidth = 0;
    int32_t tmWeight = FW_NORMAL;
    uint8_t tmItalic = 0;
    uint8_t tmUnderlined = 0;
    uint8_t tmStruckOut = 0;
    uint8_t tmCharSet = DEFAULT_CHARSET;
    int32_t tmDigitizedAspectX = 96;
    int32_t tmDigitizedAspectY = 96;
};

class Font : public GdiObject {
public:
    explicit Font(const LOGFONT& lf);

    const LOGFONT& logFont() const { return m_logFont; }
    const QFont& qfont() const { return m_qfont; }
    TEXTMETRIC metrics() const;

private:
    LOGFONT m_logFont;
    QFont m_qfont;
};

HFONT CreateFontIndirect(const LOGFONT& lf);
HFONT CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                 uint32_t italic, uint32_t underline, uint32_t strikeOut, uint32_t charSet, uint32_t outPrecision,
                 uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const QString& face);

// The installed family used for a face name (after the substitutions for platform faces).
QString resolveFontFamily(const QString& face);

// Character height in pixels for a point size at the screen's 96 dots per inch, as
// -MulDiv(points, 96, 72) rounds it.
int32_t pointsToLogicalHeight(double points);

} // namespace platform
