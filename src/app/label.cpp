#include "label.h"

#include "platform/gdi/colors.h"
#include "platform/gdi/font.h"

#include <QPainter>

namespace app {

Label::Label(QWidget* parent, const QString& name) : QWidget(parent), m_color(Qt::lightGray) {
    setObjectName(name);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(platform::FontDesc{});
}

void Label::setCaption(const QString& text) {
    if (text == m_caption) return;
    m_caption = text;
    update();
}

void Label::setForeColor(uint32_t colorref) {
    m_color = platform::toQColor(platform::TranslateColor(colorref));
    update();
}

void Label::setFont(const platform::FontDesc& font) {
    m_font = QFont(platform::resolveFontFamily(font.Name));
    m_font.setPixelSize(-platform::pointsToLogicalHeight(font.Size));
    m_font.setBold(font.Bold);
    m_font.setItalic(font.Italic);
    m_font.setStyleStrategy(QFont::NoSubpixelAntialias);
    update();
}

void Label::ReadProperties(const platform::PropertyBag& p) {
    setCaption(p.ReadString(QStringLiteral("Caption"), {}));
    setForeColor(p.ReadColor(QStringLiteral("ForeColor"), 0));
    setFont(p.ReadFont(QStringLiteral("Font"), {}));
}

void Label::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(m_font);
    p.setPen(m_color);
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
}

} // namespace app
