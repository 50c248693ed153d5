#pragma once
// PictureBox: a plain child window of a form with a background colour, pixel coordinates,
// and the form-level events its owner handles (resize and pointer events in pixels).

#include "platform/forms/property_bag.h"
#include "platform/window/window.h"

#include <QString>

namespace app {

class PictureBox : public platform::Window {
    Q_OBJECT

public:
    explicit PictureBox(platform::Window* parent, const QString& name = QString());

    const QString& Name() const { return m_name; }
    // The design-time properties of a form file: BackColor, ToolTipText, MouseIcon, Font and
    // ForeColor (the font and colour its text is drawn in, on a transparent background).
    void ReadProperties(const platform::PropertyBag& bag);
    platform::COLORREF BackColor() const { return backColor(); }
    // Setting the background colour clears the picture to it.
    void setBackColor(platform::COLORREF c);
    void Cls();
    int32_t ScaleWidth() const { return width(); }
    int32_t ScaleHeight() const { return height(); }
    int32_t Left() const { return x(); }
    int32_t Top() const { return y(); }
    int32_t Width() const { return width(); }
    int32_t Height() const { return height(); }
    bool Visible() const { return !isHidden(); }
    void setVisible(bool on) override { platform::Window::setVisible(on); }
    // Moves the window; a negative width or height keeps the current one.
    void Move(int32_t left, int32_t top, int32_t w = -1, int32_t h = -1);
    platform::HDC hdc() const { return dc(); }
    // Shows the picture's current contents now.
    void Refresh();
    // Brings the window to the top of its siblings.
    void ZOrder() { raise(); }

    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;

signals:
    void Resize();
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);

private:
    QString m_name;
};

} // namespace app
