#include "list_box.h"

#include "ansi_sort_key.h"
#include "play_icon.h"

#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"
#include "platform/gdi/colors.h"
#include "platform/window/mouse_args.h"
#include "platform/window/window_functions.h"

#include <cmath>
#include <limits>

namespace controls {

using namespace platform;

namespace {

const QString kSource = QStringLiteral("ucListBox");

} // namespace

ucListBox::ucListBox(Window* parent) : Window(parent, QStringLiteral("ucListBox")) {
    m_bar = new UcScrollBar(this);
    m_bar->resize(kScrollBarWidth, std::max(0, height()));
    // The embedded bar is part of the control's own design: it loads with its defaults.
    m_bar->ReadProperties(PropertyBag());
    ShowWindow(m_bar, SW_HIDE);
    connect(m_bar, &UcScrollBar::Change, this, &ucListBox::onBarChange, Qt::DirectConnection);
    connect(m_bar, &UcScrollBar::Scroll, this, &ucListBox::onBarScroll, Qt::DirectConnection);
    Window::setBackColor(TranslateColor(m_backColor));
    applyFont();
    createBrushes();
    m_listIndex = -1;
    m_playIndex = -1;
    resizeHandling();
}

ucListBox::~ucListBox() {
    m_subclass.reset();
    for (BrushHandle& b : m_brushes) b.reset();
    if (m_font) SelectObject(dc(), GetStockObject(SYSTEM_FONT));
    m_font.reset();
    m_playIcon.reset();
}

// --- Lifecycle --------------------------------------------------------------------------

void ucListBox::InitProperties() {
    m_backColor = kDefaultBackColor;
    m_fontDesc = FontDesc();
    m_autoCheckError = false;
    m_itemHeight = kDefaultItemHeight;
    m_itemBkColor1 = kDefaultItemBkColor1;
    m_itemBkColor2 = kDefaultItemBkColor2;
    m_itemSelBkColor = kDefaultItemSelBkColor;
    m_itemNorTextColor = kDefaultItemNorTextColor;
    m_itemSelTextColor = kDefaultItemSelTextColor;
    m_itemPlyTextColor = kDefaultItemPlyTextColor;
    m_itemErrTextColor = kDefaultItemErrTextColor;
    m_border = true;
    m_borderColor = kDefaultBorderColor;
    m_borderWidth = 1;
    m_style = 0;
    afterLoad();
}

void ucListBox::ReadProperties(const PropertyBag& bag) {
    m_backColor = bag.ReadColor(QStringLiteral("BackColor"), m_backColor);
    m_fontDesc = bag.ReadFont(QStringLiteral("Font"), m_fontDesc);
    m_autoCheckError = bag.ReadBool(QStringLiteral("AutoCheckError"), m_autoCheckError);
    // A stored height below one row pixel would make every row computation divide by zero.
    const int32_t itemHeight = bag.ReadInt(QStringLiteral("ItemHeight"), m_itemHeight);
    if (itemHeight >= 1) m_itemHeight = itemHeight;
    m_itemBkColor1 = bag.ReadColor(QStringLiteral("ItemBkColor1"), m_itemBkColor1);
    m_itemBkColor2 = bag.ReadColor(QStringLiteral("ItemBkColor2"), m_itemBkColor2);
    m_itemSelBkColor = bag.ReadColor(QStringLiteral("ItemSelBkColor"), m_itemSelBkColor);
    m_itemNorTextColor = bag.ReadColor(QStringLiteral("ItemNorTextColor"), m_itemNorTextColor);
    m_itemSelTextColor = bag.ReadColor(QStringLiteral("ItemSelTextColor"), m_itemSelTextColor);
    m_itemPlyTextColor = bag.ReadColor(QStringLiteral("ItemPlyTextColor"), m_itemPlyTextColor);
    m_itemErrTextColor = bag.ReadColor(QStringLiteral("ItemErrTextColor"), m_itemErrTextColor);
    m_border = bag.ReadBool(QStringLiteral("Border"), m_border);
    m_borderColor = bag.ReadColor(QStringLiteral("BorderColor"), m_borderColor);
    const int32_t borderWidth = bag.ReadInt(QStringLiteral("BorderWidth"), m_borderWidth);
    if (borderWidth >= 1 && borderWidth <= INT16_MAX) m_borderWidth = borderWidth;
    m_style = bag.ReadInt(QStringLiteral("Style"), m_style);
    afterLoad();
}

void ucListBox::WriteProperties(PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("BackColor"), static_cast<int32_t>(m_backColor));
    bag.WriteProperty(QStringLiteral("Font"), m_fontDesc);
    bag.WriteProperty(QStringLiteral("AutoCheckError"), m_autoCheckError);
    bag.WriteProperty(QStringLiteral("ItemHeight"), m_itemHeight);
    bag.WriteProperty(QStringLiteral("ItemBkColor1"), static_cast<int32_t>(m_itemBkColor1));
    bag.WriteProperty(QStringLiteral("ItemBkColor2"), static_cast<int32_t>(m_itemBkColor2));
    bag.WriteProperty(QStringLiteral("ItemSelBkColor"), static_cast<int32_t>(m_itemSelBkColor));
    bag.WriteProperty(QStringLiteral("ItemNorTextColor"), static_cast<int32_t>(m_itemNorTextColor));
    bag.WriteProperty(QStringLiteral("ItemSelTextColor"), static_cast<int32_t>(m_itemSelTextColor));
    bag.WriteProperty(QStringLiteral("ItemPlyTextColor"), static_cast<int32_t>(m_itemPlyTextColor));
    bag.WriteProperty(QStringLiteral("ItemErrTextColor"), static_cast<int32_t>(m_itemErrTextColor));
    bag.WriteProperty(QStringLiteral("Border"), m_border);
    bag.WriteProperty(QStringLiteral("BorderColor"), static_cast<int32_t>(m_borderColor));
    bag.WriteProperty(QStringLiteral("BorderWidth"), m_borderWidth);
    bag.WriteProperty(QStringLiteral("Style"), m_style);
}

void ucListBox::afterLoad() {
    Window::setBackColor(TranslateColor(m_backColor));
    applyFont();
    MeasureColumns(true);
    createBrushes();
    placeScrollBar();
    if (!Window::designMode()) {
        if (!m_subclass) {
            m_subclass = std::make_unique<Subclasser>(this);
            m_subclass->Subclass(this);
            m_subclass->AddMsg(this, WM_MOUSEWHEEL, MsgWhen::After);
        }
        if (!m_playIcon) {
            m_playIcon = std::make_unique<PlayIcon>();
            m_playIcon->load();
        }
        RedrawAll();
    }
    resizeHandling();
}

// --- Methods ----------------------------------------------------------------------------

int32_t ucListBox::AddItem(const QString& Title, const std::optional<QString>& Author,
                           const std::optional<QString>& URL, std::optional<int32_t> LongTime,
                           std::optional<double> Index) {
    ListItem item;
    item.Title = Title;
    item.Author = Author.value_or(QStringLiteral("UnKnow"));
    item.URL = URL.value_or(QString());
    item.LongTime = LongTime.value_or(0);
    item.StrTime = FormatSeconds(item.LongTime);
    if (!Index) {
        if (ListCount() >= kMaxItems) raiseOverflow(kSource);
        if (m_autoCheckError) item.ItemError = item.URL.isEmpty() || fileMissing(item.URL);
        m_items.push_back(std::move(item));
        DrawItem(ListCount() - 1);
    } else {
        const double at = Int(*Index);
        // NaN fails both comparisons and counts as out of range too.
        if (!(at >= 0 && at <= ListCount())) return -1;
        if (ListCount() >= kMaxItems) raiseOverflow(kSource);
        const auto pos = static_cast<size_t>(at);
        if (m_items.empty()) {
            m_items.push_back(std::move(item));
            DrawItem(0);
        } else {
            // Inserted rows are not checked against the file system and not painted.
            m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(pos), std::move(item));
        }
    }
    m_numberColumnWidth = std::max(kMinNumberColumnWidth, textWidth(QString::number(ListCount())) + 4);
    updateScrollRange();
    emit OnAdditem();
    return ListCount();
}

int32_t ucListBox::RemoveItem(int16_t Index) {
    if (m_items.empty() || Index > ListCount() - 1 || Index < 0) return -1;
    if (ListCount() == 1) {
        Clear();
    } else {
        m_items.erase(m_items.begin() + Index);
    }
    // The selection stays where it was, so it now marks the item that moved up into it.
    if (Index == m_playIndex) m_playIndex = -1;
    updateScrollRange();
    RedrawAll();
    emit OnRemoveitem();
    return ListCount();
}

void ucListBox::Clear() {
    if (m_items.empty()) return;
    m_items.clear();
    m_items.shrink_to_fit();
    updateScrollRange();
    m_topIndex = 0;
    m_listIndex = -1;
    m_playIndex = -1;
    m_bottomIndex = 0;
    eraseToBackColor();
    if (m_border) drawBorder();
}

void ucListBox::Refresh() {
    eraseToBackColor();
    RedrawAll();
    update();
}

int32_t ucListBox::FindString(const QString& nFindString, int32_t nFind, std::optional<int32_t> nStart) {
    if (m_items.empty()) return -1;
    const int32_t start = nStart.value_or(0);
    if (start < 0) raiseOutOfRange(kSource);
    const QString key = nFindString.toLower();
    const int32_t last = ListCount() - 1;
    QPointer<ucListBox> self(this);
    for (int32_t i = start; i <= last; ++i) {
        // Handlers run between items and may have removed rows: a search that runs past the
        // end of the list finds nothing.
        if (i >= ListCount()) return -1;
        const ListItem& it = m_items[static_cast<size_t>(i)];
        const QString field = nFind == 0 ? it.Title : nFind == 1 ? it.Author : nFind == 2 ? it.URL : QString();
        if (field.toLower() == key) return i;
        DoEvents();
        if (!self) return -1;
    }
    return -1;
}

void ucListBox::Sorted(int32_t wFlag) {
    if (m_items.empty()) return;
    const size_t n = m_items.size();
    // The first-character codes are taken once; the exchange sort swaps them with the items.
    std::vector<std::optional<int16_t>> keys(n);
    bool descending = false;
    switch (wFlag) {
    case 0:
    case 1:
        for (size_t k = 0; k < n; ++k) keys[k] = AnsiFirstCharCode(wFlag == 0 ? m_items[k].Title : m_items[k].Author);
        descending = m_sortState == (wFlag == 0 ? 1 : 3);
        m_sortState = static_cast<int16_t>(wFlag == 0 ? (descending ? 2 : 1) : (descending ? 4 : 3));
        break;
    case 2:
        descending = m_sortState == 5;
        m_sortState = descending ? 6 : 5;
        break;
    default: break;
    }
    auto swapWanted = [&](size_t i, size_t j) {
        if (wFlag == 2) {
            const int32_t a = m_items[i].LongTime;
            const int32_t b = m_items[j].LongTime;
            return descending ? a < b : a > b;
        }
        // Ascending swaps equal keys too, exactly as "not less" says.
        const bool less = FirstCharLess(keys[i], keys[j]);
        return descending ? less : !less;
    };
    if (wFlag >= 0 && wFlag <= 2) {
        for (size_t i = 0; i + 1 < n; ++i) {
            for (size_t j = i + 1; j < n; ++j) {
                if (!swapWanted(i, j)) continue;
                std::swap(m_items[i], m_items[j]);
                std::swap(keys[i], keys[j]);
                // The selected and the playing item keep their marks.
                const auto si = static_cast<int32_t>(i);
                const auto sj = static_cast<int32_t>(j);
                if (m_listIndex == si) m_listIndex = static_cast<int16_t>(sj);
                else if (m_listIndex == sj) m_listIndex = static_cast<int16_t>(si);
                if (m_playIndex == si) m_playIndex = static_cast<int16_t>(sj);
                else if (m_playIndex == sj) m_playIndex = static_cast<int16_t>(si);
            }
        }
    }
    RedrawAll();
}

// --- Read-only properties ---------------------------------------------------------------

int16_t ucListBox::IndexFromPoint(double, double Y) const {
    if (m_items.empty()) return -1;
    const int32_t r = rowAt(Y);
    return validIndex(r) ? static_cast<int16_t>(r) : -1;
}

int16_t ucListBox::LastIndex() const { return static_cast<int16_t>(std::min<int32_t>(m_bottomIndex, ListCount() - 1)); }

// --- Properties -------------------------------------------------------------------------

void ucListBox::setBackColor(uint32_t v) {
    if (v == m_backColor) return;
    m_backColor = v;
    Window::setBackColor(TranslateColor(v));
    recreateBrush(BrushSlot::Back);
    RedrawAll();
    MeasureColumns(false);
}

void ucListBox::setFont(const FontDesc& v) {
    m_fontDesc = v;
    applyFont();
    MeasureColumns(false);
}

void ucListBox::setAutoCheckError(bool v) {
    if (v == m_autoCheckError) return;
    m_autoCheckError = v;
    if (v) RedrawAll();
}

void ucListBox::setItemHeight(int32_t v) {
    if (v == m_itemHeight || v < 1) return;
    m_itemHeight = v;
    CalcBottomIndex();
    updateScrollRange();
    RedrawAll();
}

void ucListBox::setItemBkColor1(uint32_t v) {
    if (v == m_itemBkColor1) return;
    m_itemBkColor1 = v;
    recreateBrush(BrushSlot::ItemBk1);
    RedrawAll();
}

void ucListBox::setItemBkColor2(uint32_t v) {
    if (v == m_itemBkColor2) return;
    m_itemBkColor2 = v;
    recreateBrush(BrushSlot::ItemBk2);
    RedrawAll();
}

void ucListBox::setItemSelBkColor(uint32_t v) {
    if (v == m_itemSelBkColor) return;
    m_itemSelBkColor = v;
    recreateBrush(BrushSlot::ItemSelBk);
    DrawItem(m_listIndex);
}

void ucListBox::setItemNorTextColor(uint32_t v) {
    if (v == m_itemNorTextColor) return;
    m_itemNorTextColor = v;
    RedrawAll();
}

void ucListBox::setItemSelTextColor(uint32_t v) {
    if (v == m_itemSelTextColor) return;
    m_itemSelTextColor = v;
    DrawItem(m_listIndex);
}

void ucListBox::setItemPlyTextColor(uint32_t v) {
    if (v == m_itemPlyTextColor) return;
    m_itemPlyTextColor = v;
    DrawItem(m_playIndex);
}

void ucListBox::setItemErrTextColor(uint32_t v) {
    if (v == m_itemErrTextColor) return;
    m_itemErrTextColor = v;
    RedrawAll();
}

void ucListBox::setBorder(bool v) {
    if (v == m_border) return;
    m_border = v;
    placeScrollBar();
    if (m_border) drawBorder();
    resizeHandling();
}

void ucListBox::setBorderColor(uint32_t v) {
    if (v == m_borderColor) return;
    m_borderColor = v;
    if (m_border) drawBorder();
    resizeHandling();
}

void ucListBox::setBorderWidth(int32_t v) {
    if (v == m_borderWidth || v < 1 || v > INT16_MAX) return;
    m_borderWidth = v;
    resizeHandling();
}

void ucListBox::setStyle(int32_t v) {
    if (v == m_style) return;
    m_style = v;
    RedrawAll();
}

void ucListBox::setListIndex(int16_t v) {
    // Bring the row into view first; the scrollbar clamps and its Change moves TopIndex.
    if (v < m_topIndex) m_bar->setValue(v);
    else if (v > m_bottomIndex) m_bar->setValue(v);
    int16_t newIndex = v;
    bool cancel = false;
    emit BeforeListIndexChanged(m_listIndex, newIndex, 1, cancel);
    if (cancel) return;
    const int16_t old = m_listIndex;
    m_listIndex = newIndex;
    DrawItem(m_listIndex);
    DrawItem(old);
    emit ListIndexChanged(m_listIndex, 1);
}

void ucListBox::setPlayIndex(int16_t v) {
    int16_t newIndex = v;
    bool cancel = false;
    emit BeforePlayIndexChanged(m_playIndex, newIndex, 1, cancel);
    if (cancel) return;
    const int16_t old = m_playIndex;
    m_playIndex = newIndex;
    DrawItem(m_playIndex);
    DrawItem(old);
    emit PlayIndexChanged(m_playIndex, 1);
}

// --- Indexed properties -----------------------------------------------------------------

QString ucListBox::Title(int16_t Index) const { return validIndex(Index) ? m_items[Index].Title : QString(); }
QString ucListBox::Author(int16_t Index) const { return validIndex(Index) ? m_items[Index].Author : QString(); }
QString ucListBox::URL(int16_t Index) const { return validIndex(Index) ? m_items[Index].URL : QString(); }
QString ucListBox::StrTime(int16_t Index) const { return validIndex(Index) ? m_items[Index].StrTime : QString(); }
int32_t ucListBox::LongTime(int16_t Index) const { return validIndex(Index) ? m_items[Index].LongTime : 0; }
bool ucListBox::ItemError(int16_t Index) const { return validIndex(Index) && m_items[Index].ItemError; }

void ucListBox::setTitle(int16_t Index, const QString& v) {
    if (!validIndex(Index)) return;
    m_items[Index].Title = v;
    DrawItem(Index);
}

void ucListBox::setAuthor(int16_t Index, const QString& v) {
    if (!validIndex(Index)) return;
    m_items[Index].Author = v;
    DrawItem(Index);
}

void ucListBox::setURL(int16_t Index, const QString& v) {
    if (validIndex(Index)) m_items[Index].URL = v;
}

void ucListBox::setStrTime(int16_t Index, const QString& v) {
    if (validIndex(Index)) m_items[Index].StrTime = v;
}

void ucListBox::setLongTime(int16_t Index, int32_t v) {
    if (!validIndex(Index)) return;
    m_items[Index].LongTime = v;
    DrawItem(Index);
}

void ucListBox::setItemError(int16_t Index, bool v) {
    if (!validIndex(Index) || m_items[Index].ItemError == v) return;
    m_items[Index].ItemError = v;
    DrawItem(Index);
}

// --- Scrolling --------------------------------------------------------------------------

void ucListBox::updateScrollRange() {
    if (m_items.empty()) {
        m_bar->setMax(0);
        if (barVisible()) ShowWindow(m_bar, SW_HIDE);
        return;
    }
    m_viewHeight = computeViewHeight();
    // Integer division truncates toward zero, as Fix does with the real quotient.
    m_bar->setMax(ListCount() - m_viewHeight / m_itemHeight);
    const bool show = int64_t(m_viewHeight) < int64_t(m_itemHeight) * ListCount();
    if (show != barVisible()) ShowWindow(m_bar, show ? SW_SHOWNA : SW_HIDE);
}

void ucListBox::placeScrollBar() {
    const int32_t barWidth = m_bar->width();
    if (m_border) {
        MoveWindow(m_bar, width() - barWidth - m_borderWidth, m_borderWidth, barWidth,
                   std::max(0, height() - 2 * m_borderWidth), true);
    } else {
        MoveWindow(m_bar, width() - barWidth, 0, barWidth, std::max(0, height()), true);
    }
}

void ucListBox::onBarChange() {
    if (!barVisible()) return;
    m_topIndex = m_bar->Value();
    RedrawAll();
}

void ucListBox::onBarScroll() {
    QPointer<ucListBox> self(this);
    if (barVisible()) {
        m_topIndex = m_bar->Value();
        RedrawAll();
    }
    if (self) emit Scroll();
}

void ucListBox::resizeHandling() {
    if (Window::designMode()) {
        paintDesignMode();
        return;
    }
    if (!m_items.empty()) m_bottomIndex = int32_t(Int(double(m_viewHeight) / m_itemHeight)) + m_topIndex + 1;
    updateScrollRange();
    placeScrollBar();
    QPointer<ucListBox> self(this);
    RedrawAll();
    if (self) emit Resize();
}

// --- Input ------------------------------------------------------------------------------

LRESULT ucListBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE: resizeHandling(); return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: onPress(msg, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // The second press of a double-click raises no MouseDown and its release no Click.
        m_clickButton = 0;
        onDoubleClick();
        return 0;
    case WM_MOUSEMOVE: {
        const MouseArgs a = MouseArgs::fromMessage(msg, wParam, lParam);
        emit MouseMove(a.Button, a.Shift, a.X, a.Y);
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const MouseArgs a = MouseArgs::fromMessage(msg, wParam, lParam);
        const int16_t button = a.Button;
        const int32_t x = GET_X_LPARAM(lParam);
        const int32_t y = GET_Y_LPARAM(lParam);
        QPointer<ucListBox> self(this);
        emit MouseUp(a.Button, a.Shift, a.X, a.Y);
        // A click is a press and a release of the same button, both on the control.
        if (self && m_clickButton == button && x >= 0 && y >= 0 && x < width() && y < height()) {
            m_clickButton = 0;
            emit Click(m_snapshot.Button, m_snapshot.Shift, m_snapshot.X, m_snapshot.Y);
        }
        return 0;
    }
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

void ucListBox::onPress(UINT msg, WPARAM wParam, LPARAM lParam) {
    m_snapshot = MouseArgs::fromMessage(msg, wParam, lParam);
    const int16_t button = m_snapshot.Button;
    m_clickButton = button;
    if ((button == 1 || button == 2) && !m_items.empty()) {
        const int32_t r = rowAt(m_snapshot.Y);
        if (validIndex(r) && r != m_listIndex) {
            int16_t newIndex = static_cast<int16_t>(r);
            bool cancel = false;
            emit BeforeListIndexChanged(m_listIndex, newIndex, 0, cancel);
            // A vetoed selection ends the press: no MouseDown follows.
            if (cancel) return;
            const int16_t old = m_listIndex;
            m_listIndex = newIndex;
            DrawItem(old);
            DrawItem(m_listIndex);
            emit ListIndexChanged(m_listIndex, 0);
        }
    }
    emit MouseDown(m_snapshot.Button, m_snapshot.Shift, m_snapshot.X, m_snapshot.Y);
}

void ucListBox::onDoubleClick() {
    if (m_items.empty() || m_snapshot.Button != 1) return;
    emit DBClick(m_snapshot.Button, m_snapshot.Shift, m_snapshot.X, m_snapshot.Y);
    const int32_t r = rowAt(m_snapshot.Y);
    if (!validIndex(r) || r == m_playIndex) return;
    int16_t newIndex = static_cast<int16_t>(r);
    bool cancel = false;
    emit BeforePlayIndexChanged(m_playIndex, newIndex, 0, cancel);
    if (cancel) return;
    const int16_t old = m_playIndex;
    m_playIndex = newIndex;
    DrawItem(old);
    DrawItem(m_playIndex);
    emit PlayIndexChanged(m_playIndex, 0);
}

void ucListBox::zSubclass_Proc(bool bBefore, bool&, LRESULT&, HWND&, UINT& uMsg, WPARAM& wParam, LPARAM&) {
    if (!bBefore && uMsg == WM_MOUSEWHEEL) onWheel(wParam);
}

void ucListBox::onWheel(WPARAM wParam) {
    if (!barVisible()) return;
    const int32_t step = static_cast<int32_t>(Int(double(m_viewHeight) / m_itemHeight * 0.2 + 1));
    // Only the direction counts: a negative wheel delta in the high word makes the whole
    // parameter negative when read as a signed 32-bit number.
    const auto signedParam = static_cast<int32_t>(static_cast<uint32_t>(wParam));
    int64_t target = signedParam < 1 ? int64_t(m_bar->Value()) + step : int64_t(m_bar->Value()) - step;
    if (target < 0) target = 0;
    if (target > m_bar->Max()) target = m_bar->Max();
    if (target == m_bar->Value()) return;
    QPointer<ucListBox> self(this);
    m_bar->setValue(static_cast<int32_t>(target));
    if (self) emit Scroll();
}

} // namespace controls
