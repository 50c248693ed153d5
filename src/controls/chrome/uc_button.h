#pragma once
// ucButton: a push button with four looks (normal, hot, pressed, disabled)
// drawn either in the built-in style (a grey gradient face with a rounded two-line outline)
// or from a skin picture holding one frame per state, stacked top to bottom.
//
// Pointer input, in the order the events reach the host:
//   press    → pressed look for the left button, then MouseDown;
//   move     → leave tracking; hot or pressed look while over the button, then MouseMove;
//   release  → normal look outside; hot look inside and Click for the left button; MouseUp.
// A double click is press, release, double-click, release: Click comes twice.

#include "button_look.h"

#include "imaging/pc_mem_dc.h"
#include "platform/forms/property_bag.h"
#include "platform/gdi/memory_dc.h"
#include "platform/intercept/interception.h"
#include "platform/window/window.h"

#include <QString>
#include <memory>

namespace controls {

class ucButton : public platform::Window, public platform::ISubclass {
    Q_OBJECT

public:
    // A newly placed button: built-in style, caption = its name, black caption colour.
    explicit ucButton(platform::Window* parent, const QString& name = QStringLiteral("ucButton1"));
    ~ucButton() override;

    bool Enabled() const { return isEnabled(); }
    void setEnabled(bool on);
    const platform::FontDesc& Font() const { return m_font; }
    void setFont(const platform::FontDesc& font);
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption);
    platform::COLORREF ForeColor() const { return m_foreColor; }
    void setForeColor(platform::COLORREF color);
    bool DefaultStyle() const { return m_defaultStyle; }
    void setDefaultStyle(bool on);
    const platform::Picture& SkinPicture() const { return m_skinPicture; }
    void setSkinPicture(const platform::Picture& picture);
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString& text) { setToolTip(text); }
    platform::HWND hWnd() { return this; }

    // The look painted last (None before the first paint).
    ButtonLook ButtonState() const { return m_state; }

    // Persistence: "Enabled", "Font", "ForeColor", "Caption", "DefaultStyle", "SkinPicture".
    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    // Draws `state` unless it is already shown (or `force`); None draws nothing.
    void PaintState(ButtonLook state, bool force = false);

    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;
    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LRESULT& lReturn, platform::HWND& lng_hWnd,
                        platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam) override;

signals:
    void Click();
    void MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);

private:
    void onResize();
    void buildDefaultFace();
    void releaseDefaultFace();
    void createSkinSurface();
    bool inside(int32_t x, int32_t y) const;

    platform::FontDesc m_font;
    platform::FontHandle m_hfont;
    QString m_caption;
    platform::COLORREF m_foreColor = 0x000000;
    bool m_defaultStyle = true;
    platform::Picture m_skinPicture;
    std::unique_ptr<imaging::pcMemDC> m_skin;
    // The built-in face: 3 x 20 pixels, one gradient column per state.
    platform::MemoryDC m_face;
    ButtonLook m_state = ButtonLook::None;
    int16_t m_lastButton = 0;
    platform::Subclasser m_subclasser{this};
};

} // namespace controls
