#pragma once
// ucListBox: the owner-drawn channel list. It keeps an ordered array of ListItem rows, a
// selected row (ListIndex) and a playing row (PlayIndex), scrolls through an embedded
// skinned scrollbar (ucBar) and tells its owner about changes through events, the Before
// events of which can be vetoed or redirected.
//
// Rows are painted straight into the window's retained image, one at a time, whenever the
// model asks for it; the image keeps the content visible whatever repaints the window.
//
//   ┌──────────────────────────────────────┬──┐  Border on, BorderWidth b:
//   │ b+1 ┌──┬───────────────┬───────┬────┐│▲ │    rows start at TopOffset = b + 1,
//   │     │ 1│ Title         │Author │time││  │    hit bands at b (one pixel higher);
//   │     │ 2│ ...           │       │    ││  │    Style 0: number, Title, Author, StrTime
//   │     └──┴───────────────┴───────┴────┘│▼ │    Style 1: number, Title
//   └──────────────────────────────────────┴──┘

#include "list_item.h"
#include "scroll_bar.h"

#include "platform/forms/property_bag.h"
#include "platform/gdi/gdi_handle.h"
#include "platform/intercept/interception.h"
#include "platform/window/mouse_args.h"
#include "platform/window/window.h"

#include <QPointer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace controls {

class PlayIcon;

class ucListBox : public platform::Window, public platform::ISubclass {
    Q_OBJECT

public:
    // Most items a list holds: its row indexes are 16-bit.
    static constexpr int32_t kMaxItems = 32768;
    static constexpr int32_t kScrollBarWidth = 17;
    static constexpr int32_t kMinNumberColumnWidth = 18;

    // Defaults of a newly placed control.
    static constexpr uint32_t kDefaultBackColor = 0x00121111;
    static constexpr int32_t kDefaultItemHeight = 27;
    static constexpr uint32_t kDefaultItemBkColor1 = 0x00121111;
    static constexpr uint32_t kDefaultItemBkColor2 = 0x001F1E1E;
    static constexpr uint32_t kDefaultItemSelBkColor = 0x002E2D2D;
    static constexpr uint32_t kDefaultItemNorTextColor = 0x00757474;
    static constexpr uint32_t kDefaultItemSelTextColor = 0x00969595;
    static constexpr uint32_t kDefaultItemPlyTextColor = 0x0002B753;
    static constexpr uint32_t kDefaultItemErrTextColor = 0x000000FF;
    static constexpr uint32_t kDefaultBorderColor = 0x00808080;

    explicit ucListBox(platform::Window* parent);
    ~ucListBox() override;

    // Lifecycle: a new control takes the defaults; a loaded one reads its 15 keys, each
    // falling back to the value it holds. Both then measure, make brushes, place the
    // scrollbar and, at run time, start the wheel interception, load the play icon and paint.
    void InitProperties();
    void ReadProperties(const platform::PropertyBag& bag);
    // Writes all 15 keys, defaults included.
    void WriteProperties(platform::PropertyBag& bag) const;

    // --- Methods ---
    // Appends (no Index) or inserts at Index (truncated toward minus infinity). Returns the
    // new ListCount, or -1 for an Index outside 0..ListCount. Raises OnAdditem. Appending
    // past kMaxItems raises the overflow error and changes nothing.
    int32_t AddItem(const QString& Title, const std::optional<QString>& Author = std::nullopt,
                    const std::optional<QString>& URL = std::nullopt, std::optional<int32_t> LongTime = std::nullopt,
                    std::optional<double> Index = std::nullopt);
    // The new ListCount, or -1 for an empty list or an invalid Index. Raises OnRemoveitem.
    int32_t RemoveItem(int16_t Index);
    void Clear();
    void Refresh();
    // The first index at or after nStart whose field (0 Title, 1 Author, 2 URL) equals
    // nFindString without regard to case, or -1. Pending events run after every item.
    int32_t FindString(const QString& nFindString, int32_t nFind, std::optional<int32_t> nStart = std::nullopt);
    // Sorts by wFlag (0 Title, 1 Author, 2 LongTime), ascending first, then alternating.
    void Sorted(int32_t wFlag);

    // --- Read-only ---
    platform::HWND hWnd() { return this; }
    int32_t ListCount() const { return static_cast<int32_t>(m_items.size()); }
    int16_t IndexFromPoint(double X, double Y) const;
    int32_t UserControlWidth() const { return rowWidth(); }
    int16_t FirstIndex() const { return static_cast<int16_t>(std::min<int32_t>(m_topIndex, INT16_MAX)); }
    int16_t LastIndex() const;

    // --- Properties ---
    uint32_t BackColor() const { return m_backColor; }
    void setBackColor(uint32_t v);
    platform::FontDesc Font() const { return m_fontDesc; }
    void setFont(const platform::FontDesc& v);
    bool AutoCheckError() const { return m_autoCheckError; }
    void setAutoCheckError(bool v);
    int32_t ItemHeight() const { return m_itemHeight; }
    // Values below 1 are ignored: rows, hit-testing and the scroll range divide by it.
    void setItemHeight(int32_t v);
    uint32_t ItemBkColor1() const { return m_itemBkColor1; }
    void setItemBkColor1(uint32_t v);
    uint32_t ItemBkColor2() const { return m_itemBkColor2; }
    void setItemBkColor2(uint32_t v);
    uint32_t ItemSelBkColor() const { return m_itemSelBkColor; }
    void setItemSelBkColor(uint32_t v);
    uint32_t ItemNorTextColor() const { return m_itemNorTextColor; }
    void setItemNorTextColor(uint32_t v);
    uint32_t ItemSelTextColor() const { return m_itemSelTextColor; }
    void setItemSelTextColor(uint32_t v);
    uint32_t ItemPlyTextColor() const { return m_itemPlyTextColor; }
    void setItemPlyTextColor(uint32_t v);
    uint32_t ItemErrTextColor() const { return m_itemErrTextColor; }
    void setItemErrTextColor(uint32_t v);
    bool Border() const { return m_border; }
    void setBorder(bool v);
    uint32_t BorderColor() const { return m_borderColor; }
    void setBorderColor(uint32_t v);
    int32_t BorderWidth() const { return m_borderWidth; }
    // Values outside 1..32767 are ignored (a pen width of at least one pixel, stored in 16 bits).
    void setBorderWidth(int32_t v);
    int32_t Style() const { return m_style; }
    void setStyle(int32_t v);

    int16_t ListIndex() const { return m_listIndex; }
    void setListIndex(int16_t v);
    int16_t PlayIndex() const { return m_playIndex; }
    void setPlayIndex(int16_t v);

    // --- Indexed properties (invalid indexes read empty and ignore writes) ---
    QString Title(int16_t Index) const;
    void setTitle(int16_t Index, const QString& v);
    QString Author(int16_t Index) const;
    void setAuthor(int16_t Index, const QString& v);
    QString URL(int16_t Index) const;
    void setURL(int16_t Index, const QString& v);
    QString StrTime(int16_t Index) const;
    void setStrTime(int16_t Index, const QString& v);
    int32_t LongTime(int16_t Index) const;
    void setLongTime(int16_t Index, int32_t v);
    bool ItemError(int16_t Index) const;
    void setItemError(int16_t Index, bool v);

    // --- State the tests and the owner may read ---
    UcScrollBar* ucBar() const { return m_bar; }
    int32_t TopIndex() const { return m_topIndex; }
    int32_t BottomIndex() const { return m_bottomIndex; }
    int32_t ViewHeight() const { return m_viewHeight; }
    int32_t NumberColumnWidth() const { return m_numberColumnWidth; }
    int32_t AuthorColumnWidth() const { return m_authorColumnWidth; }
    int32_t TimeColumnWidth() const { return m_timeColumnWidth; }
    int16_t SortState() const { return m_sortState; }

    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LRESULT& lReturn, platform::HWND& lng_hWnd,
                        platform::UINT& uMsg, platform::WPARAM& wParam, platform::LPARAM& lParam) override;

signals:
    void Click(int16_t Button, int16_t Shift, float X, float Y);
    void DBClick(int16_t Button, int16_t Shift, float X, float Y);
    void MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void MouseUp(int16_t Button, int16_t Shift, float X, float Y);
    void BeforeListIndexChanged(int16_t OldIndex, int16_t& NewIndex, int16_t wFlag, bool& Cancel);
    void ListIndexChanged(int16_t NewIndex, int16_t wFlag);
    void BeforePlayIndexChanged(int16_t OldIndex, int16_t& NewIndex, int16_t wFlag, bool& Cancel);
    void PlayIndexChanged(int16_t NewIndex, int16_t wFlag);
    void OnAdditem();
    void OnRemoveitem();
    void Scroll();
    void Resize();

protected:
    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;

private:
    bool validIndex(int32_t i) const { return i >= 0 && i < ListCount(); }
    // Geometry (list_box_paint.cpp).
    int32_t innerWidth() const { return width(); }
    int32_t innerHeight() const { return height(); }
    bool barVisible() const;
    int32_t rowWidth() const;
    int32_t leftOffset() const { return m_border ? m_borderWidth : 0; }
    int32_t topOffset() const { return m_border ? m_borderWidth + 1 : 1; }
    int32_t computeViewHeight() const;
    int32_t rowAt(double y) const;
    void CalcBottomIndex();

    // Painting (list_box_paint.cpp).
    void RedrawAll();
    void DrawItem(int32_t i);
    void FillArea(int32_t x, int32_t y, int32_t w, int32_t h, platform::HBRUSH brush);
    void drawBorder();
    void eraseToBackColor();
    void paintDesignMode();
    // The fills kept ready, one brush a slot, each made from the colour property it is named after.
    enum class BrushSlot : size_t { ItemBk1, ItemBk2, ItemSelBk, Back, Count };
    platform::HBRUSH brush(BrushSlot slot) const { return m_brushes[static_cast<size_t>(slot)].get(); }
    void createBrushes();
    void recreateBrush(BrushSlot which);
    void applyFont();
    void MeasureColumns(bool withMinimum);
    int32_t textWidth(const QString& s) const;
    bool fileMissing(const QString& path) const;

    // Model helpers.
    void updateScrollRange();
    void placeScrollBar();
    void resizeHandling();
    void afterLoad();
    void onBarChange();
    void onBarScroll();
    void onPress(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam);
    void onDoubleClick();
    void onWheel(platform::WPARAM wParam);

    std::vector<ListItem> m_items;
    UcScrollBar* m_bar = nullptr;
    std::unique_ptr<platform::Subclasser> m_subclass;
    std::unique_ptr<PlayIcon> m_playIcon;

    int16_t m_listIndex = -1;
    int16_t m_playIndex = -1;
    // TopIndex and BottomIndex are kept 32 bits wide: on a full list scrolled to its end
    // they may pass the largest 16-bit row index (the scrollbar's Max reaches 32768 when not
    // even one row fits, and BottomIndex lies a row or two below the last one).
    int32_t m_topIndex = 0;
    int32_t m_bottomIndex = 0;
    int32_t m_viewHeight = 0;
    int32_t m_numberColumnWidth = 0;
    int32_t m_authorColumnWidth = 0;
    int32_t m_timeColumnWidth = 0;
    int16_t m_sortState = 0;
    // The last press, repeated by the Click and DBClick that follow it.
    platform::MouseArgs m_snapshot;
    // The button of the last press inside the window, until its release (for Click).
    int16_t m_clickButton = 0;

    uint32_t m_backColor = kDefaultBackColor;
    platform::FontDesc m_fontDesc;
    platform::FontHandle m_font;
    bool m_autoCheckError = false;
    int32_t m_itemHeight = kDefaultItemHeight;
    uint32_t m_itemBkColor1 = kDefaultItemBkColor1;
    uint32_t m_itemBkColor2 = kDefaultItemBkColor2;
    uint32_t m_itemSelBkColor = kDefaultItemSelBkColor;
    uint32_t m_itemNorTextColor = kDefaultItemNorTextColor;
    uint32_t m_itemSelTextColor = kDefaultItemSelTextColor;
    uint32_t m_itemPlyTextColor = kDefaultItemPlyTextColor;
    uint32_t m_itemErrTextColor = kDefaultItemErrTextColor;
    bool m_border = true;
    uint32_t m_borderColor = kDefaultBorderColor;
    int32_t m_borderWidth = 1;
    int32_t m_style = 0;

    std::array<platform::BrushHandle, static_cast<size_t>(BrushSlot::Count)> m_brushes;
};

} // namespace controls
