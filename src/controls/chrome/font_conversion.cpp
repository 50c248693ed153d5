#include "font_conversion.h"

#include <cmath>

namespace controls {

using namespace platform;

LOGFONT logFontFromDesc(const FontDesc& desc, int32_t dotsPerInchY) {
    LOGFONT lf;
    // -MulDiv(points, dpi, 72): rounded to the nearest integer.
    lf.lfHeight = -static_cast<int32_t>(std::lround(desc.Size * dotsPerInchY / 72.0));
    // The weight wins when it agrees with the bold flag; otherwise the flag decides.
    const bool weightBold = desc.Weight > FW_NORMAL;
    lf.lfWeight = weightBold == desc.Bold ? desc.Weight : (desc.Bold ? FW_BOLD : FW_NORMAL);
    lf.lfItalic = desc.Italic ? 1 : 0;
    lf.lfUnderline = desc.Underline ? 1 : 0;
    lf.lfStrikeOut = desc.Strikethrough ? 1 : 0;
    lf.lfCharSet = static_cast<uint8_t>(desc.Charset);
    lf.lfFaceName = desc.Name.left(31);
    return lf;
}

FontDesc fontDescFromDC(HDC hdc) {
    FontDesc d;
    if (!hdc) return d;
    TEXTMETRIC tm;
    if (!GetTextMetrics(hdc, &tm)) return d;
    const QString face = GetTextFace(hdc);
    if (!face.isEmpty()) d.Name = face.left(79);
    d.Weight = static_cast<int16_t>(tm.tmWeight);
    d.Bold = tm.tmWeight > FW_NORMAL;
    d.Charset = tm.tmCharSet;
    d.Italic = tm.tmItalic != 0;
    d.Underline = tm.tmUnderlined != 0;
    d.Strikethrough = tm.tmStruckOut != 0;
    const int32_t aspect = tm.tmDigitizedAspectY > 0 ? tm.tmDigitizedAspectY : 96;
    d.Size = static_cast<double>(tm.tmHeight - tm.tmInternalLeading) * 72.0 / aspect;
    return d;
}

HFONT createFontFromDesc(const FontDesc& desc) { return CreateFontIndirect(logFontFromDesc(desc)); }

} // namespace controls
