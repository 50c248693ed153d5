#include "list_item.h"

namespace controls {

namespace {

// A number in at least two digits; a negative one as "-" followed by its two digits.
QString twoDigits(int32_t n) {
    const QString digits = QStringLiteral("%1").arg(n < 0 ? -int64_t(n) : int64_t(n), 2, 10, QLatin1Char('0'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace

QString FormatSeconds(int32_t s) {
    const int32_t seconds = s % 60;
    const int32_t minutes = (s / 60) % 60;
    const int32_t hours = (s / 3600) % 24;
    if (hours > 0)
        return QString::number(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds);
    return twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds);
}

} // namespace controls
