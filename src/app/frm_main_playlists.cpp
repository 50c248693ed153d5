// FrmMain: the user's own channels. Each category's list is its directory's channels followed
// by the channels of each of that category's playlists, in the order they were added:
//
//   row 0 ……… directory ……… | playlist 1 rows | playlist 2 rows | …   (ListCount)
//                            ^ ListCount - playlistRows(category)
//
// Playlists kept in the settings are read again at every start and reload, addresses
// downloaded beside the directories; one that fails leaves its channels out and is named in
// the status line.
// Addresses the user opens and wants kept go into the category's own playlist, a file beside
// the settings file ("我的频道"), so the settings only ever name playlists.

#include "app/channels/playlist_location.h"
#include "app/frm_main.h"
#include "app/settings.h"
#include "platform/forms/runtime_error.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalBlocker>
#include <QUrl>

namespace app {

using namespace platform;

namespace {

constexpr std::array<const char*, 4> kOwnPlaylistNames = {"my-cameras.m3u", "my-music.m3u", "my-tv.m3u",
                                                          "my-radio.m3u"};
const QString kOwnPlaylistTitle = QStringLiteral("我的频道");

QString displayName(const QString& location) {
    const QString name = LocationName(location);
    return name.isEmpty() ? location : name;
}

// One line of a playlist holds no line break; a title's own ones become spaces.
QString oneLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text.trimmed();
}

} // namespace

// --- Reading -------------------------------------------------------------------------------

void FrmMain::takeSettingsPlaylists() {
    for (int c = 0; c < 4; ++c) {
        auto& sources = m_playlists[static_cast<size_t>(c)];
        sources.clear();
        if (!m_settings) continue;
        for (const QString& location : m_settings->sources(c)) {
            PlaylistSource source;
            source.location = location;
            source.saved = true;
            source.own = location == ownPlaylistPath(c);
            sources.push_back(std::move(source));
        }
    }
}

PlaylistReads FrmMain::startPlaylistReads() {
    QStringList all;
    for (const auto& sources : m_playlists) {
        for (const PlaylistSource& s : sources) all << s.location;
    }
    return PlaylistReads(all);
}

void FrmMain::finishPlaylistReads(PlaylistReads& reads) {
    std::vector<PlaylistReads::Result> results = reads.finish();
    size_t next = 0;
    std::vector<const PlaylistSource*> read;
    for (int c = 0; c < 4; ++c) {
        for (PlaylistSource& source : m_playlists[static_cast<size_t>(c)]) {
            if (next >= results.size()) break;
            PlaylistReads::Result& r = results[next++];
            // The own playlist is written at its first channel: no file yet is no channel yet.
            source.error = source.own && r.missing ? QString() : r.error;
            source.dropped = r.playlist.dropped;
            source.channels = std::move(r.playlist.channels);
            read.push_back(&source);
        }
        appendPlaylistChannels(c);
    }
    reportPlaylistProblems(read);
}

void FrmMain::appendPlaylistChannels(int category) {
    for (PlaylistSource& source : m_playlists[static_cast<size_t>(category)]) appendChannels(category, source);
}

void FrmMain::appendChannels(int category, PlaylistSource& source, std::optional<int> at) {
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    source.rows = 0;
    for (const PlaylistChannel& ch : source.channels) {
        if (list->ListCount() >= controls::ucListBox::kMaxItems) break;
        const auto seconds = static_cast<int32_t>(std::clamp<int64_t>(ch.duration, 0, INT32_MAX));
        std::optional<double> index;
        if (at) index = *at + source.rows;
        try {
            list->AddItem(ch.title, ch.group.isEmpty() ? std::nullopt : std::optional<QString>(ch.group), ch.address,
                          seconds > 0 ? std::optional<int32_t>(seconds) : std::nullopt, index);
        } catch (const RuntimeError&) { break; }
        ++source.rows;
    }
    // Inserted rows are not painted by the list; the whole view is.
    if (at) list->Refresh();
}

void FrmMain::clearPlaylistRows() {
    for (auto& sources : m_playlists) {
        for (PlaylistSource& s : sources) s.rows = 0;
    }
}

int FrmMain::playlistRows(int category) const {
    int rows = 0;
    for (const PlaylistSource& s : m_playlists[static_cast<size_t>(category)]) rows += s.rows;
    return rows;
}

MediaPlayer::Origin FrmMain::rowOrigin(int category, int32_t row) const {
    // Directories are always downloaded.
    if (row < m_directoryRows[static_cast<size_t>(category)]) return MediaPlayer::Origin::Network;
    const controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    int32_t first = list->ListCount() - playlistRows(category);
    for (const PlaylistSource& s : m_playlists[static_cast<size_t>(category)]) {
        if (row < first + s.rows) {
            const bool downloaded = !s.own && !IsFileLocation(s.location) &&
                                    !s.location.startsWith(QLatin1String("file:"), Qt::CaseInsensitive);
            return downloaded ? MediaPlayer::Origin::Network : MediaPlayer::Origin::Local;
        }
        first += s.rows;
    }
    return MediaPlayer::Origin::Local;
}

void FrmMain::reportPlaylistProblems(const std::vector<const PlaylistSource*>& sources) {
    QStringList failed, cut;
    for (const PlaylistSource* s : sources) {
        if (!s->error.isEmpty()) failed << QStringLiteral("%1（%2）").arg(displayName(s->location), s->error);
        const int64_t left = s->dropped + static_cast<int64_t>(s->channels.size()) - s->rows;
        if (s->error.isEmpty() && left > 0)
            cut << QStringLiteral("%1 的 %2 个频道").arg(displayName(s->location)).arg(left);
    }
    QStringList parts;
    if (!failed.isEmpty()) parts << QStringLiteral("播放列表读取失败：") + failed.join(QStringLiteral("、"));
    if (!cut.isEmpty()) parts << QStringLiteral("列表已满，未加入") + cut.join(QStringLiteral("、"));
    if (parts.isEmpty()) return;
    // After the directories' own message, when there is one.
    if (m_loadMessageShown) parts.prepend(m_ui.Label1->Caption());
    m_ui.Label1->setCaption(parts.join(QStringLiteral("；")));
}

// --- Adding and removing -------------------------------------------------------------------

QStringList FrmMain::playlists(int category) const {
    QStringList out;
    if (category < 0 || category > 3) return out;
    for (const PlaylistSource& s : m_playlists[static_cast<size_t>(category)]) out << s.location;
    return out;
}

bool FrmMain::isPlaylistPath(const QString& item) const {
    QString path = item.trimmed();
    if (HasScheme(path)) path = QUrl(path).path();
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8") || suffix == QLatin1String("pls");
}

bool FrmMain::importPlaylist(const QString& fileOrUrl, bool save) {
    PlaylistReads reads(QStringList{fileOrUrl});
    std::vector<PlaylistReads::Result> results = reads.finish();
    return addPlaylist(currentCategory(), results.front(), save);
}

bool FrmMain::addPlaylist(int category, PlaylistReads::Result& read, bool save) {
    auto& sources = m_playlists[static_cast<size_t>(category)];
    const QString name = displayName(read.location);
    if (!read.error.isEmpty()) {
        m_ui.Label1->setCaption(QStringLiteral("播放列表读取失败：%1（%2）").arg(name, read.error));
        return false;
    }
    for (const PlaylistSource& s : sources) {
        if (s.location == read.location) {
            m_ui.Label1->setCaption(QStringLiteral("播放列表 %1 已在本分类中").arg(name));
            return false;
        }
    }
    PlaylistSource source;
    source.location = read.location;
    source.saved = save && m_settings;
    source.dropped = read.playlist.dropped;
    source.channels = std::move(read.playlist.channels);
    sources.push_back(std::move(source));
    PlaylistSource& added = sources.back();
    appendChannels(category, added);
    m_ui.Label1->setCaption(QStringLiteral("已导入播放列表 %1：%2 个频道").arg(name).arg(added.rows));
    reportPlaylistProblems({&added});
    if (added.saved) savePlaylists(category);
    return true;
}

void FrmMain::removePlaylist(int category, int index) {
    if (category < 0 || category > 3) return;
    auto& sources = m_playlists[static_cast<size_t>(category)];
    if (index < 0 || index >= static_cast<int>(sources.size())) return;
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    const int32_t directoryRows = list->ListCount() - playlistRows(category);
    int32_t first = directoryRows;
    for (int i = 0; i < index; ++i) first += sources[static_cast<size_t>(i)].rows;
    const PlaylistSource removed = std::move(sources[static_cast<size_t>(index)]);
    sources.erase(sources.begin() + index);
    const int32_t last = first + removed.rows; // one past

    // The list is filled again without the playlist's rows: removing rows one by one
    // repaints the whole list each time and would leave the marks on the rows that moved up.
    struct Row {
        QString title, author, url;
        int32_t seconds;
    };
    std::vector<Row> rows;
    rows.reserve(static_cast<size_t>(list->ListCount() - removed.rows));
    for (int32_t i = 0; i < list->ListCount(); ++i) {
        if (i >= first && i < last) continue;
        const auto r = static_cast<int16_t>(i);
        rows.push_back({list->Title(r), list->Author(r), list->URL(r), list->LongTime(r)});
    }
    auto shifted = [&](int32_t i) { return i < first ? i : i >= last ? i - removed.rows : -1; };
    const int32_t play = shifted(list->PlayIndex());
    const int32_t selected = shifted(list->ListIndex());
    const int32_t top = std::max(0, shifted(list->TopIndex()));
    {
        // Moving the marks is no new channel: the player goes on with what it plays.
        const QSignalBlocker quiet(list);
        list->Clear();
        for (const Row& r : rows)
            list->AddItem(r.title, r.author, r.url, r.seconds > 0 ? std::optional<int32_t>(r.seconds) : std::nullopt);
        list->ucBar()->setValue(std::min(top, list->ListCount()));
        if (selected >= 0) list->setListIndex(static_cast<int16_t>(selected));
        if (play >= 0) list->setPlayIndex(static_cast<int16_t>(play));
    }
    list->Refresh();
    if (category == m_playingList && play < 0) {
        // The channel that plays was the playlist's: it plays on, in no list.
        m_playingList = -1;
        m_looseAddress = m_player->URL();
    }
    // The automatic advance goes on from the same item, or from the one that moved up into
    // the place of the removed rows.
    if (category == 1 && m_musicIndex >= first)
        m_musicIndex = static_cast<int16_t>(m_musicIndex >= last ? m_musicIndex - removed.rows : first - 1);
    updateStatusTip();
    if (removed.own && !removed.location.isEmpty()) QFile::remove(removed.location);
    m_ui.Label1->setCaption(
        QStringLiteral("已移除播放列表 %1").arg(removed.own ? kOwnPlaylistTitle : displayName(removed.location)));
    if (removed.saved) savePlaylists(category);
}

void FrmMain::savePlaylists(int category) {
    if (!m_settings) return;
    QStringList saved;
    for (const PlaylistSource& s : m_playlists[static_cast<size_t>(category)]) {
        if (s.saved) saved << s.location;
    }
    m_settings->setSources(category, saved);
    saveSettingsNow();
}

QString FrmMain::ownPlaylistPath(int category) const {
    if (!m_settings || category < 0 || category > 3) return {};
    return QFileInfo(m_settings->path()).absolutePath() + QLatin1Char('/') +
           QString::fromLatin1(kOwnPlaylistNames[static_cast<size_t>(category)]);
}

QString FrmMain::playlistLabel(int category, int index) const {
    const PlaylistSource& s = m_playlists[static_cast<size_t>(category)][static_cast<size_t>(index)];
    return s.own ? kOwnPlaylistTitle : displayName(s.location);
}

// --- Addresses -----------------------------------------------------------------------------

void FrmMain::openAddress(const QString& input, bool addToCategory) {
    QString address = input.trimmed();
    if (address.isEmpty()) return;
    // A file named without a scheme is opened by its full path, whatever folder the player
    // was started in.
    if (!HasScheme(address)) address = FoldPath(QDir::current().absoluteFilePath(address));
    if (!addToCategory) {
        // A channel of no list: no row carries the playing mark.
        markPlaying(-1, -1);
        m_playingList = -1;
        m_looseAddress = address;
        m_player->setURL(address);
        updateStatusTip();
        return;
    }
    const int category = currentCategory();
    auto& sources = m_playlists[static_cast<size_t>(category)];
    auto own = std::find_if(sources.begin(), sources.end(), [](const PlaylistSource& s) { return s.own; });
    if (own == sources.end()) {
        PlaylistSource s;
        s.location = ownPlaylistPath(category);
        s.own = true;
        s.saved = m_settings != nullptr;
        sources.push_back(std::move(s));
        own = sources.end() - 1;
        if (own->saved) savePlaylists(category);
    }
    PlaylistChannel channel;
    channel.address = address;
    channel.title = oneLine(displayName(address));
    if (!own->location.isEmpty()) {
        QFile file(own->location);
        const bool fresh = !file.exists() || file.size() == 0;
        if (file.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QByteArray text;
            if (fresh) text += "#EXTM3U\n";
            text += "#EXTINF:-1," + channel.title.toUtf8() + '\n' + oneLine(address).toUtf8() + '\n';
            file.write(text);
        }
    }
    controls::ucListBox* list = m_ui.ucListTV[static_cast<size_t>(category)];
    int32_t at = list->ListCount() - playlistRows(category);
    for (auto it = sources.begin(); it != own + 1; ++it) at += it->rows;
    if (list->ListCount() >= controls::ucListBox::kMaxItems) {
        m_ui.Label1->setCaption(QStringLiteral("列表已满，未加入 %1").arg(channel.title));
        openAddress(address, false);
        return;
    }
    own->channels.push_back(channel);
    PlaylistSource one;
    one.channels = {channel};
    appendChannels(category, one, at);
    own->rows += one.rows;
    if (one.rows == 1) {
        list->setListIndex(static_cast<int16_t>(at));
        list->setPlayIndex(static_cast<int16_t>(at));
    }
}

// --- The command line and dropped items ----------------------------------------------------

QStringList FrmMain::openCommandLineItems(const QStringList& items) {
    QStringList unused;
    bool played = false;
    for (const QString& item : items) {
        if (isPlaylistPath(item)) {
            PlaylistReads reads(QStringList{item});
            std::vector<PlaylistReads::Result> results = reads.finish();
            // A playlist that is an HLS stream itself is a channel to play, not a list.
            if (results.front().error.isEmpty() && results.front().playlist.format == PlaylistFormat::Hls) {
                if (played) unused << item;
                else openAddress(results.front().location, false);
                played = true;
                continue;
            }
            if (!addPlaylist(currentCategory(), results.front(), false)) unused << item;
        } else if (!played) {
            openAddress(item, false);
            played = true;
        } else {
            unused << item;
        }
    }
    return unused;
}

void FrmMain::dropItems(const QStringList& items) {
    bool played = false;
    for (const QString& item : items) {
        if (isPlaylistPath(item)) {
            PlaylistReads reads(QStringList{item});
            std::vector<PlaylistReads::Result> results = reads.finish();
            if (results.front().error.isEmpty() && results.front().playlist.format == PlaylistFormat::Hls) {
                openAddress(results.front().location, false);
                played = true;
            } else {
                addPlaylist(currentCategory(), results.front(), true);
            }
        } else if (!played) {
            openAddress(item, false);
            played = true;
        }
    }
}

bool FrmMain::dragAndDrop(QEvent* e) {
    if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
        auto* d = static_cast<QDragMoveEvent*>(e);
        if (d->mimeData()->hasUrls() || d->mimeData()->hasText()) d->acceptProposedAction();
        return true;
    }
    auto* d = static_cast<QDropEvent*>(e);
    QStringList items;
    const QMimeData* mime = d->mimeData();
    if (mime->hasUrls()) {
        for (const QUrl& url : mime->urls()) items << (url.isLocalFile() ? url.toLocalFile() : url.toString());
    } else if (mime->hasText()) {
        for (const QString& line : mime->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!line.trimmed().isEmpty()) items << line.trimmed();
        }
    }
    d->acceptProposedAction();
    dropItems(items);
    return true;
}

} // namespace app
