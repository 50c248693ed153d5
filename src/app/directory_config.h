#pragma once
// DirectoryConfig: where the player finds its four channel directories and its notice page,
// and the title it shows. The defaults are the values compiled into the program; the window
// takes a copy at construction, so tests and a later settings file can hand it other ones.

#include "app/config.h"

#include <QString>

namespace app {

struct DirectoryConfig {
    QString data_host = QString::fromUtf8(config::kDataHost);
    QString page_host = QString::fromUtf8(config::kPageHost);
    QString account = QString::fromUtf8(config::kAccount);
    // One post id per category; an empty one means the category has no directory: nothing is
    // downloaded for it and its list stays empty.
    QString post_cameras = QString::fromUtf8(config::kPostIds[0]);
    QString post_music = QString::fromUtf8(config::kPostIds[1]);
    QString post_tv = QString::fromUtf8(config::kPostIds[2]);
    QString post_radio = QString::fromUtf8(config::kPostIds[3]);
    QString notice_url = QString::fromUtf8(config::kNoticeUrl);
    QString title = QString::fromUtf8(config::kTitle);

    // The post id of category 0..3 (cameras, music, television, radio); empty for any other.
    QString postId(int category) const {
        switch (category) {
        case 0: return post_cameras;
        case 1: return post_music;
        case 2: return post_tv;
        case 3: return post_radio;
        default: return {};
        }
    }

    // Both hosts at once, as a test pointing the player at its own server needs them.
    static DirectoryConfig forHost(const QString& host) {
        DirectoryConfig c;
        c.data_host = host;
        c.page_host = host;
        return c;
    }
};

} // namespace app
