#pragma once
// Settings: the one settings file (INI) that keeps the directory configuration, the user's
// own playlists and the state the window returns to at the next start.
//
//   [directory]  data_host, page_host, account, post_cameras, post_music, post_tv,
//                post_radio, notice_url, title   (missing keys keep the built-in values)
//   [sources]    cameras, music, tv, radio       (each a list of playlist files or addresses)
//   [state]      volume, mute, tab, geometry, maximized, list_shown, list_width,
//                keep_on_top, last_category, last_address
//
// A file that cannot be read or is not a settings file is never overwritten silently: it is
// copied to FILE.bak first, a one-line warning says so, and the defaults stand. When it cannot
// even be copied, it is never replaced at all. A missing file is the first start: defaults,
// no warning, and the file appears at the first save.

#include "app/directory_config.h"

#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace app {

// What the window returns to at the next start. Unset fields keep the window's defaults.
struct WindowState {
    std::optional<int> volume; // 0..100
    bool mute = false;
    std::optional<int> tab; // 0..3
    QRect normalGeometry;   // window rectangle in screen coordinates; null when unset
    bool maximized = false;
    bool listShown = true;
    std::optional<int> listWidth;
    bool keepOnTop = false;
    // The last channel: selected in its list at start, not played.
    std::optional<int> lastCategory;
    QString lastAddress;
    friend bool operator==(const WindowState&, const WindowState&) = default;
};

class Settings {
public:
    // $XDG_CONFIG_HOME/tianbo/tianbo.conf (~/.config when the variable is unset).
    static QString defaultPath();

    // Reads `path`; a missing file gives the defaults without a warning.
    explicit Settings(const QString& path);

    const QString& path() const { return m_path; }
    // The one-line warning about the file as it was read; empty when all was well.
    const QString& warning() const { return m_warning; }

    const DirectoryConfig& directory() const { return m_directory; }
    void setDirectory(const DirectoryConfig& c) { m_directory = c; }
    // The playlists of category 0..3 (cameras, music, television, radio), in the order added.
    const QStringList& sources(int category) const;
    void setSources(int category, const QStringList& sources);
    const WindowState& state() const { return m_state; }
    void setState(const WindowState& s) { m_state = s; }

    // Writes everything atomically (a new file renamed over the old one). False, with the
    // reason in lastError(), when it cannot be written or the file read was bad and could
    // not be kept aside.
    bool save();
    const QString& lastError() const { return m_lastError; }

private:
    void read();

    QString m_path;
    QString m_warning;
    QString m_lastError;
    DirectoryConfig m_directory;
    // The [directory] keys the file held; they are written back even when equal to the
    // built-in values.
    QSet<QString> m_directoryKeysRead;
    // The file was bad and could not be copied aside: save() refuses to replace it.
    bool m_saveRefused = false;
    std::array<QStringList, 4> m_sources;
    WindowState m_state;
};

} // namespace app
