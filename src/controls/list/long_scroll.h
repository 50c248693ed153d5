#pragma once
// CLongScroll: lets a platform scrollbar, whose values are 16-bit, drive a 32-bit value.
// The client's thumb is kept proportional to Value; the client's arrow and track clicks
// become steps of the 32-bit SmallChange and LargeChange, and thumb moves become
// proportional 32-bit values. Min may be above Max (a reversed range).

#include "platform/window/scroll_bar.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <algorithm>
#include <cstdint>

namespace controls {

class CLongScroll : public QObject {
    Q_OBJECT

public:
    explicit CLongScroll(QObject* parent = nullptr);
    ~CLongScroll() override;

    platform::ScrollBar* Client() const { return m_client; }
    // Null detaches. A platform scrollbar of either orientation is attached and reset to the
    // client range 0..32767 with steps 1 and 10 and value 0. Anything else raises error
    // 0x80040201 from "CLongScroll" and leaves the attachment as it was.
    void setClient(QObject* client);

    int32_t Max() const { return m_max; }
    void setMax(int32_t v);
    int32_t Min() const { return m_min; }
    void setMin(int32_t v);
    int32_t LargeChange() const { return m_largeChange; }
    void setLargeChange(int32_t v) { m_largeChange = v; }
    int32_t SmallChange() const { return m_smallChange; }
    void setSmallChange(int32_t v) { m_smallChange = v; }
    int32_t Value() const { return m_value; }
    // Clamps to the range, moves the client's thumb and raises Change. Ranges or client
    // values that overflow their widths raise the overflow error.
    void setValue(int32_t v);

    static constexpr uint32_t kErrNotAScrollbar = 0x80040201;

signals:
    void Change();

private:
    struct ClientState {
        int16_t value = 0, min = 0, max = 0, smallChange = 0, largeChange = 0;
    };
    void readClient();
    int64_t lo() const { return std::min(m_min, m_max); }
    int64_t hi() const { return std::max(m_min, m_max); }
    int64_t span() const;
    int16_t clientValueFor(int32_t value) const;
    void pushToClient(int16_t c);
    void onClientNotification();

    QPointer<platform::ScrollBar> m_client;
    QMetaObject::Connection m_onChange;
    QMetaObject::Connection m_onScroll;
    int32_t m_min = 0;
    int32_t m_max = 32767;
    int32_t m_smallChange = 1;
    int32_t m_largeChange = 1;
    int32_t m_value = 0;
    ClientState m_cache;
    bool m_updating = false;
};

} // namespace controls
