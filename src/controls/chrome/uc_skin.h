#pragma once
// ucSkin: dropped onto a top-level window, it turns that window into a self-drawn one. At run
// time it removes the native caption, lies over the whole client area as a frame-shaped
// surface (a 24-pixel caption strip and 4-pixel borders; the inside is cut away so the
// window's own controls show through), paints caption background, icon, title and up to five
// caption buttons from the "SKIN" image, and moves, sizes, minimises, maximises, closes and
// keeps the window on top itself.
//
// It learns of the host window's size, showing, activation and size limits by intercepting
// WM_SIZE, WM_SHOWWINDOW, WM_GETMINMAXINFO and WM_NCACTIVATE after the host's own handling,
// and of the pointer leaving by intercepting its own WM_MOUSELEAVE.

#include "button_look.h"
#include "frame_zones.h"

#include "imaging/pc_mem_dc.h"
#include "platform/forms/property_bag.h"
#include "platform/intercept/interception.h"
#include "platform/window/window.h"
#include "platform/window/window_functions.h"

#include <QString>
#include <array>

namespace controls {

class ucSkin : public platform::Window, public platform::ISubclass {
    Q_OBJECT

public:
    // Caption buttons.
    enum Button : int32_t { MinButton = 0, MaxButton = 1, CloseButton = 2, MenuBtn = 3, TopMostBtn = 4 };

    // A newly placed frame: icon and border on, no menu or keep-on-top button.
    explicit ucSkin(platform::Window* parent, const QString& name = QStringLiteral("ucSkin1"));
    ~ucSkin() override;

    bool DrawIcon() const { return m_drawIcon; }
    void setDrawIcon(bool on);
    int32_t MinWidth() const { return m_minWidth; }
    void setMinWidth(int32_t w) { m_minWidth = w; }
    int32_t MinHeight() const { return m_minHeight; }
    void setMinHeight(int32_t h) { m_minHeight = h; }
    // Stored and returned only.
    bool DrawBorder() const { return m_drawBorder; }
    void setDrawBorder(bool on) { m_drawBorder = on; }
    bool MenuButton() const { return m_menuButton; }
    void setMenuButton(bool on);
    bool TopMostButton() const { return m_topMostButton; }
    void setTopMostButton(bool on);

    static constexpr int32_t SizeCaption() { return 24; }
    static constexpr int32_t SizeBottom() { return 4; }
    static constexpr int32_t SizeLBorder() { return 4; }
    static constexpr int32_t SizeRBorder() { return 4; }
    platform::HWND hWnd() { return this; }

    // Persistence: "DrawIcon", "MinWidth", "MinHeight", "DrawBorder", "MenuButton",
    // "TopMostButton", all written. Reading at run time starts the frame.
    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    // Opens the host's system menu at the pointer and sends the chosen command (0 when the
    // menu was dismissed) to the host as WM_SYSCOMMAND.
    void ShowSystemMenu();

    // Replaces the skin image (77 x 65: glyph rows of 11 pixels, caption background at y 44).
    void setSkinImage(const platform::Picture& skin);

    // Run-time state the host and tests can read.
    bool KeepOnTop() const { return m_topMost; }
    // Keeps the host on top of other windows or not, as the keep-on-top button does, and
    // shows the button's glyph for it.
    void setKeepOnTop(bool on);
    // The look a caption button was painted in last (None before its first paint and for an
    // index that names no button).
    ButtonLook ButtonState(int32_t index) const;
    bool ButtonVisible(int32_t index) const;
    QString ButtonToolTip(int32_t index) const;
    const FrameZones& Zones() const { return m_zones; }

    void ApplyFrameRegions(bool windowRegion, bool controlRegion);
    void DrawCaption(bool active);

    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;
    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LRESULT& lReturn, platform::HWND& lng_hWnd,
                        platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam) override;

signals:
    void CloseButtonClick(bool& Cancel);
    void MaxButtonClick(bool& Cancel);
    void MinButtonClick();
    void MenuButtonClick();
    // The keep-on-top state changed, by the button or by setKeepOnTop.
    void KeepOnTopChanged(bool on);

protected:
    bool event(QEvent* e) override;

private:
    void start();
    void readWindowStyles();
    void layout();
    void updateButtonVisibility();
    bool parentMinimized() const;
    bool parentNormal() const;
    platform::HICON parentIcon() const;
    void drawCaptionButton(platform::HDC target, int32_t index, ButtonLook look, bool force, bool refresh);
    void drawCaptionButtons(platform::HDC target, bool force);
    int32_t glyphColumn(int32_t index) const;
    // What the frame does at a point: the hit code sent to start a move or size (HTNOWHERE
    // for none) and the pointer shape shown there.
    struct FrameHit {
        int32_t code = platform::HTNOWHERE;
        int32_t shape = platform::IDC_ARROW;
    };
    FrameHit frameHitAt(int32_t x, int32_t y) const;
    void frameMove(int32_t x, int32_t y, platform::WPARAM keys);
    void framePress(int32_t button, int32_t x, int32_t y);
    void frameDoubleClick();
    void buttonPress(int32_t index, int32_t button);
    void buttonMove(int32_t index, platform::WPARAM keys);
    void buttonRelease(int32_t index, int32_t button, int32_t x, int32_t y);
    void closeParent();
    void paintDesignView();

    bool m_drawIcon = true;
    int32_t m_minWidth = 0;
    int32_t m_minHeight = 0;
    bool m_drawBorder = true;
    bool m_menuButton = false;
    bool m_topMostButton = false;

    bool m_running = false;
    platform::Window* m_parent = nullptr;
    bool m_resizable = false;
    bool m_minBox = false;
    bool m_maxBox = false;
    bool m_windowEdge = false;
    bool m_topMost = false;
    int32_t m_pressButton = 0;
    platform::POINT m_pressPos;
    int32_t m_captureButton = -1; // the caption button that took the last press
    FrameZones m_zones;
    std::array<ButtonLook, FrameZones::kButtonCount> m_state{};
    std::array<bool, FrameZones::kButtonCount> m_visible{true, true, true, false, false};
    std::array<QString, FrameZones::kButtonCount> m_tips;
    platform::FontDesc m_font;
    imaging::pcMemDC m_skin;
    platform::Subclasser m_subclasser{this};
};

} // namespace controls
