#pragma once
// The request that fetches one category's directory post from the blog service's data
// endpoint.

#include "app/directory_config.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace app {

// Whole seconds from 1970-01-01 00:00:00 to the given local date and time, read as written
// on the local clock (no conversion to UTC).
int64_t LocalClockTimestamp(const QDateTime& localNow = QDateTime::currentDateTime());

// The data-endpoint address for `category` (0..3) with every query key in its order.
QString DirectoryRequestUrl(const DirectoryConfig& config, int category, int64_t timestamp);

// The Referer the request carries: the service's blog-list page.
QString DirectoryReferer(const DirectoryConfig& config);

// Downloads `url` with a GET carrying the Referer of `config` and returns the body decoded
// by the charset the response declares. Throws platform::RuntimeError on any transport
// error; the status code is not examined.
QString DownloadText(const QString& url, const DirectoryConfig& config = {});

} // namespace app
