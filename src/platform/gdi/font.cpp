#include "font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <cmath>

namespace platform {

namespace {

// Faces the program's design data names, mapped to faces a Linux desktop has. The CJK face
// is what the captions and channel titles are drawn in.
const QHash<QString, QStringList>& substitutions() {
    static const QHash<QString, QStringList> map = {
        {QStringLiteral("宋体"), {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC")}},
        {QStringLiteral("新宋体"), {QStringLiteral("WenQuanYi Zen Hei Mono"), QStringLiteral("WenQuanYi Zen Hei")}},
        {QStringLiteral("simsun"), {QStringLiteral("WenQuanYi Zen Hei")}},
        {QStringLiteral("微软雅黑"), {QStringLiteral("WenQuanYi Zen Hei")}},
        {QStringLiteral("黑体"), {QStringLiteral("WenQuanYi Zen Hei")}},
        {QStringLiteral("tahoma"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("ms sans serif"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("arial"), {QStringLiteral("DejaVu Sans")}},
        {QStringLiteral("system"), {QStringLiteral("DejaVu Sans")}},
    };
    return map;
}

} // namespace

QString resolveFontFamily(const QString& face) {
    const QString key = face.trimmed();
    auto it = substitutions().find(key);
    if (it == substitutions().end()) it = substitutions().find(key.toLower());
    if (it != substitutions().end()) {
        const QStringList families = QFontDatabase::families();
        for (const QString& f : *it) {
            if (families.contains(f, Qt::CaseInsensitive)) return f;
        }
        return it->front();
    }
    return key.isEmpty() ? QStringLiteral("DejaVu Sans") : key;
}

int32_t pointsToLogicalHeight(double points) {
    // -MulDiv(points, 96, 72): the product is rounded to the nearest integer.
    return -static_cast<int32_t>(std::lround(points * 96.0 / 72.0));
}

Font::Font(const LOGFONT& lf) : GdiObject(Type::Font), m_logFont(lf) {
    m_qfont.setFamily(resolveFontFamily(lf.lfFaceName));
    m_qfont.setWeight(static_cast<QFont::Weight>(std::clamp(lf.lfWeight == 0 ? FW_NORMAL : lf.lfWeight, 100, 900)));
    m_qfont.setItalic(lf.lfItalic != 0);
    m_qfont.setUnderline(lf.lfUnderline != 0);
    m_qfont.setStrikeOut(lf.lfStrikeOut != 0);
    m_qfont.setHintingPreference(QFont::PreferFullHinting);
    int32_t pixels = 12;
    if (lf.lfHeight < 0) {
        pixels = -lf.lfHeight;
    } else if (lf.lfHeight > 0) {
        // A positive height is the cell height (ascent + descent): find the character size
        // whose cell is that tall.
        QFont probe = m_qfont;
        probe.setPixelSize(100);
        const int cell = QFontMetrics(probe).height();
        pixels = cell > 0 ? std::max(1, static_cast<int32_t>(std::lround(lf.lfHeight * 100.0 / cell))) : lf.lfHeight;
    }
    m_qfont.setPixelSize(std::max(1, pixels));
    if (lf.lfWidth > 0) {
        const int avg = QFontMetrics(m_qfont).averageCharWidth();
        if (avg > 0) m_qfont.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * lf.lfWidth / avg)), 1, 4000));
    }
}

TEXTMETRIC Font::metrics() const {
    const QFontMetrics fm(m_qfont);
    TEXTMETRIC tm;
    tm.tmAscent = fm.ascent();
    tm.tmDescent = fm.descent();
    tm.tmHeight = fm.ascent() + fm.descent();
    tm.tmInternalLeading = std::max(0, tm.tmHeight - m_qfont.pixelSize());
    tm.tmExternalLeading = std::max(0, fm.leading());
    tm.tmAveCharWidth = fm.averageCharWidth();
    tm.tmMaxCharWidth = fm.maxWidth();
    tm.tmWeight = m_logFont.lfWeight == 0 ? FW_NORMAL : m_logFont.lfWeight;
    tm.tmItalic = m_logFont.lfItalic;
    tm.tmUnderlined = m_logFont.lfUnderline;
    tm.tmStruckOut = m_logFont.lfStrikeOut;
    tm.tmCharSet = m_logFont.lfCharSet;
    return tm;
}

HFONT CreateFontIndirect(const LOGFONT& lf) { return new Font(lf); }

HFONT CreateFont(int32_t height, int32_t width, int32_t escapement, int32_t orientation, int32_t weight,
                 uint32_t italic, uint32_t underline, uint32_t strikeOut, uint32_t charSet, uint32_t outPrecision,
                 uint32_t clipPrecision, uint32_t quality, uint32_t pitchAndFamily, const QString& face) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = static_cast<uint8_t>(italic != 0);
    lf.lfUnderline = static_cast<uint8_t>(underline != 0);
    lf.lfStrikeOut = static_cast<uint8_t>(strikeOut != 0);
    lf.lfCharSet = static_cast<uint8_t>(charSet);
    lf.lfOutPrecision = static_cast<uint8_t>(outPrecision);
    lf.lfClipPrecision = static_cast<uint8_t>(clipPrecision);
    lf.lfQuality = static_cast<uint8_t>(quality);
    lf.lfPitchAndFamily = static_cast<uint8_t>(pitchAndFamily);
    lf.lfFaceName = face;
    return CreateFontIndirect(lf);
}

} // namespace platform
