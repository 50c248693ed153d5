#pragma once
// ListItem: one row of a channel list, and the duration text of a new row.

#include <QString>
#include <cstdint>

namespace controls {

struct ListItem {
    QString Title;
    QString Author;
    int32_t LongTime = 0;
    QString StrTime;
    QString URL;
    bool ItemError = false;
};

// "h:mm:ss" when the duration has whole hours within its day, else "mm:ss"; whole days are
// dropped (3725 gives "1:02:05", 125 gives "02:05", 90000 gives "1:00:00"). Negative parts
// keep their sign, as the remainder of a negative dividend does.
QString FormatSeconds(int32_t s);

} // namespace controls
