#pragma once
// Label: a one-line text on a form or picture box, drawn on a transparent background in the
// given font and colour.

#include "platform/forms/property_bag.h"

#include <QWidget>

namespace app {

class Label : public QWidget {
    Q_OBJECT

public:
    explicit Label(QWidget* parent, const QString& name = QString());

    QString Caption() const { return m_caption; }
    void setCaption(const QString& text);
    void setForeColor(uint32_t colorref);
    void setFont(const platform::FontDesc& font);
    // The design-time properties of a form file: Caption, ForeColor and Font.
    void ReadProperties(const platform::PropertyBag& bag);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QString m_caption;
    QColor m_color;
    QFont m_font;
};

} // namespace app
