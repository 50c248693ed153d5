#include "long_scroll.h"

#include "platform/forms/number_rules.h"
#include "platform/forms/runtime_error.h"
#include "platform/window/scroll_bar.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace controls {

using platform::ScrollBar;

namespace {

const QString kSource = QStringLiteral("CLongScroll");

} // namespace

CLongScroll::CLongScroll(QObject* parent) : QObject(parent) {}

CLongScroll::~CLongScroll() {
    // Letting go of the client is all setClient(nullptr) would do, and it cannot fail.
    disconnect(m_onChange);
    disconnect(m_onScroll);
    m_client = nullptr;
}

void CLongScroll::setClient(QObject* client) {
    ScrollBar* bar = nullptr;
    if (client) {
        bar = qobject_cast<ScrollBar*>(client);
        if (!bar) {
            throw platform::RuntimeError(kErrNotAScrollbar, kSource,
                                         QStringLiteral("Client object must be a scrollbar."));
        }
    }
    disconnect(m_onChange);
    disconnect(m_onScroll);
    m_client = bar;
    if (!bar) return;
    m_onChange = connect(bar, &ScrollBar::Change, this, &CLongScroll::onClientNotification, Qt::DirectConnection);
    m_onScroll = connect(bar, &ScrollBar::Scroll, this, &CLongScroll::onClientNotification, Qt::DirectConnection);
    // The whole reset is the adapter's own doing; notifications it causes are not client moves.
    m_updating = true;
    bar->setMin(0);
    bar->setMax(32767);
    bar->setSmallChange(1);
    bar->setLargeChange(10);
    bar->setValue(0);
    m_updating = false;
    readClient();
}

void CLongScroll::setMax(int32_t v) {
    m_max = v;
    if (m_min < v) {
        if (m_value > v) setValue(v);
    } else if (v < m_min) {
        if (m_value > m_min) setValue(m_min);
    } else if (m_value != v) {
        setValue(v);
    }
}

void CLongScroll::setMin(int32_t v) {
    m_min = v;
    if (v < m_max) {
        if (m_value < v) setValue(v);
    } else if (v > m_max) {
        if (m_value < m_max) setValue(v);
    } else if (m_value != v) {
        setValue(v);
    }
}

int64_t CLongScroll::span() const {
    const int64_t s = std::abs(int64_t(m_max) - m_min);
    // The distance between the bounds is a 32-bit quantity.
    if (s > std::numeric_limits<int32_t>::max()) platform::raiseOverflow(kSource);
    return s;
}

void CLongScroll::readClient() {
    if (!m_client) return;
    m_cache = {m_client->Value(), m_client->Min(), m_client->Max(), m_client->SmallChange(), m_client->LargeChange()};
}

int16_t CLongScroll::clientValueFor(int32_t value) const {
    const int64_t s = span();
    const double frac = s == 0 ? 0.0 : double(std::abs(int64_t(value) - lo())) / double(s);
    const double clientSpan = std::abs(double(m_cache.max) - m_cache.min);
    return platform::toInt16Checked(m_max < m_min ? m_cache.max - clientSpan * frac : m_cache.min + clientSpan * frac,
                                    kSource);
}

void CLongScroll::pushToClient(int16_t c) {
    // The client's thumb reaches an end only when Value is exactly at that end.
    if (c == m_cache.min && m_value > m_min) c = static_cast<int16_t>(m_cache.min + 1);
    else if (c == m_cache.max && m_value < m_max) c = static_cast<int16_t>(m_cache.max - 1);
    if (!m_client) return;
    m_updating = true;
    m_client->setValue(c);
    m_updating = false;
    m_cache.value = m_client->Value();
}

void CLongScroll::setValue(int32_t v) {
    readClient();
    m_value = static_cast<int32_t>(std::clamp<int64_t>(v, lo(), hi()));
    const int16_t c = clientValueFor(m_value);
    pushToClient(c);
    emit Change();
}

void CLongScroll::onClientNotification() {
    if (m_updating || !m_client) return;
    int32_t delta = int32_t(m_client->Value()) - m_cache.value;
    readClient();
    if (m_max < m_min) delta = -delta;
    const int32_t size = std::abs(delta);
    int16_t c;
    if (size != 0 && (size == m_cache.largeChange || size == m_cache.smallChange)) {
        // An arrow or track click on the client: one 32-bit step. The large step wins when
        // both client steps are equal.
        const int32_t sign = delta < 0 ? -1 : 1;
        const int64_t stepped =
            int64_t(m_value) + int64_t(sign) * (size == m_cache.largeChange ? m_largeChange : m_smallChange);
        if (stepped < std::numeric_limits<int32_t>::min() || stepped > std::numeric_limits<int32_t>::max())
            platform::raiseOverflow(kSource);
        m_value = static_cast<int32_t>(std::clamp<int64_t>(stepped, lo(), hi()));
        c = clientValueFor(m_value);
    } else {
        // A thumb drag or any other jump: the value follows the thumb proportionally.
        const double clientSpan = std::abs(double(m_cache.max) - m_cache.min);
        const double frac = clientSpan == 0 ? 0.0 : std::abs(double(m_cache.value) - m_cache.min) / clientSpan;
        const double s = double(span());
        m_value = platform::toInt32Checked(m_max < m_min ? double(hi()) - s * frac : double(lo()) + s * frac, kSource);
        c = m_cache.value;
    }
    pushToClient(c);
    emit Change();
}

} // namespace controls
