#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <cstdio>

namespace app {

namespace {

constexpr std::array<const char*, 4> kSourceKeys = {"cameras", "music", "tv", "radio"};

struct DirectoryKey {
    const char* name;
    QString DirectoryConfig::*field;
};
constexpr std::array<DirectoryKey, 9> kDirectoryKeys = {{
    {"data_host", &DirectoryConfig::data_host},
    {"page_host", &DirectoryConfig::page_host},
    {"account", &DirectoryConfig::account},
    {"post_cameras", &DirectoryConfig::post_cameras},
    {"post_music", &DirectoryConfig::post_music},
    {"post_tv", &DirectoryConfig::post_tv},
    {"post_radio", &DirectoryConfig::post_radio},
    {"notice_url", &DirectoryConfig::notice_url},
    {"title", &DirectoryConfig::title},
}};

QString key(const char* group, const char* name) {
    return QString::fromLatin1(group) + QLatin1Char('/') + QString::fromLatin1(name);
}

std::optional<int> intIn(const QSettings& s, const QString& k, int lo, int hi) {
    bool ok = false;
    const int v = s.value(k).toString().trimmed().toInt(&ok);
    if (!ok || v < lo || v > hi) return std::nullopt;
    return v;
}

bool boolOf(const QSettings& s, const QString& k, bool fallback) {
    const QString v = s.value(k).toString().trimmed().toLower();
    if (v == QLatin1String("true") || v == QLatin1String("1")) return true;
    if (v == QLatin1String("false") || v == QLatin1String("0")) return false;
    return fallback;
}

// "x,y,width,height" with a positive size; null otherwise.
QRect rectOf(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return {};
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return {};
    }
    if (v[2] <= 0 || v[3] <= 0 || v[2] > 100000 || v[3] > 100000) return {};
    return QRect(v[0], v[1], v[2], v[3]);
}

// Whether the bytes can be a settings file at all: UTF-8 text without NUL bytes whose every
// line is empty, a comment, a [section] or a key=value pair. Qt's own reader accepts almost
// anything, so a file of something else (a playlist, notes, half a file) would otherwise be
// read as settings with unknown keys and then silently replaced by the next save.
bool looksLikeSettings(const QByteArray& bytes) {
    if (bytes.contains('\0')) return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError()) return false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#'))) continue;
        if (line.startsWith(QLatin1Char('[')) ? !line.endsWith(QLatin1Char(']')) : !line.contains(QLatin1Char('=')))
            return false;
    }
    return true;
}

} // namespace

QString Settings::defaultPath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/tianbo/tianbo.conf");
}

Settings::Settings(const QString& path) : m_path(path) { read(); }

const QStringList& Settings::sources(int category) const {
    static const QStringList none;
    return category >= 0 && category < 4 ? m_sources[static_cast<size_t>(category)] : none;
}

void Settings::setSources(int category, const QStringList& sources) {
    if (category >= 0 && category < 4) m_sources[static_cast<size_t>(category)] = sources;
}

void Settings::read() {
    const QFileInfo info(m_path);
    if (!info.exists()) return;

    QString problem;
    QFile file(m_path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot be read");
    } else if (!looksLikeSettings(file.readAll())) {
        problem = QStringLiteral("is not a settings file");
    }
    file.close();
    QSettings s(m_path, QSettings::IniFormat);
    if (problem.isEmpty() && s.status() != QSettings::NoError) problem = QStringLiteral("is not a settings file");
    if (!problem.isEmpty()) {
        // Keep the bad file where the user can find it before anything is written over it.
        const QString bak = m_path + QStringLiteral(".bak");
        QFile::remove(bak);
        const bool kept = info.isFile() && QFile::copy(m_path, bak);
        // A file that could not be copied aside is never replaced: the user's only copy of it
        // is the file itself.
        m_saveRefused = !kept;
        m_warning = QStringLiteral("tianbo: settings file %1 %2; using the defaults%3")
                        .arg(m_path, problem,
                             kept ? QStringLiteral(" (a copy is kept as %1)").arg(bak)
                                  : QStringLiteral(" and leaving it as it is (nothing will be saved)"));
        return;
    }

    for (const DirectoryKey& k : kDirectoryKeys) {
        const QString name = key("directory", k.name);
        if (!s.contains(name)) continue;
        m_directory.*k.field = s.value(name).toString().trimmed();
        m_directoryKeysRead.insert(QString::fromLatin1(k.name));
    }
    for (size_t i = 0; i < kSourceKeys.size(); ++i) {
        const QVariant v = s.value(key("sources", kSourceKeys[i]));
        QStringList list = v.toStringList();
        list.removeAll(QString());
        m_sources[i] = list;
    }
    m_state.volume = intIn(s, QStringLiteral("state/volume"), 0, 100);
    m_state.mute = boolOf(s, QStringLiteral("state/mute"), false);
    m_state.tab = intIn(s, QStringLiteral("state/tab"), 0, 3);
    m_state.normalGeometry = rectOf(s.value(QStringLiteral("state/geometry")).toStringList().join(QLatin1Char(',')));
    m_state.maximized = boolOf(s, QStringLiteral("state/maximized"), false);
    m_state.listShown = boolOf(s, QStringLiteral("state/list_shown"), true);
    m_state.listWidth = intIn(s, QStringLiteral("state/list_width"), 0, 100000);
    m_state.keepOnTop = boolOf(s, QStringLiteral("state/keep_on_top"), false);
    m_state.lastCategory = intIn(s, QStringLiteral("state/last_category"), 0, 3);
    m_state.lastAddress = s.value(QStringLiteral("state/last_address")).toString();
}

bool Settings::save() {
    m_lastError.clear();
    if (m_saveRefused) {
        m_lastError = QStringLiteral("%1 was not a readable settings file and is left as it is").arg(m_path);
        return false;
    }
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        m_lastError = QStringLiteral("cannot make the folder %1").arg(info.absolutePath());
        return false;
    }
    // A whole new file replaces the old one in one rename, so a crash or a full disk never
    // leaves half a settings file, and nothing of a bad old file is carried over.
    const QString next = m_path + QStringLiteral(".new");
    QFile::remove(next);
    {
        QSettings s(next, QSettings::IniFormat);
        // The compiled-in values are defaults, not settings: a key is written when the user
        // wrote it or the program changed it, so other defaults built in later still apply.
        static const DirectoryConfig builtIn;
        for (const DirectoryKey& k : kDirectoryKeys) {
            if (m_directoryKeysRead.contains(QString::fromLatin1(k.name)) || m_directory.*k.field != builtIn.*k.field)
                s.setValue(key("directory", k.name), m_directory.*k.field);
        }
        // A category without playlists has no key: Qt would write an empty list as "@Invalid()".
        for (size_t i = 0; i < kSourceKeys.size(); ++i) {
            if (!m_sources[i].isEmpty()) s.setValue(key("sources", kSourceKeys[i]), m_sources[i]);
        }
        if (m_state.volume) s.setValue(QStringLiteral("state/volume"), *m_state.volume);
        s.setValue(QStringLiteral("state/mute"), m_state.mute);
        if (m_state.tab) s.setValue(QStringLiteral("state/tab"), *m_state.tab);
        if (!m_state.normalGeometry.isNull()) {
            const QRect& g = m_state.normalGeometry;
            s.setValue(QStringLiteral("state/geometry"),
                       QStringLiteral("%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height()));
        }
        s.setValue(QStringLiteral("state/maximized"), m_state.maximized);
        s.setValue(QStringLiteral("state/list_shown"), m_state.listShown);
        if (m_state.listWidth) s.setValue(QStringLiteral("state/list_width"), *m_state.listWidth);
        s.setValue(QStringLiteral("state/keep_on_top"), m_state.keepOnTop);
        if (m_state.lastCategory) s.setValue(QStringLiteral("state/last_category"), *m_state.lastCategory);
        if (!m_state.lastAddress.isEmpty()) s.setValue(QStringLiteral("state/last_address"), m_state.lastAddress);
        s.sync();
        if (s.status() != QSettings::NoError) {
            QFile::remove(next);
            m_lastError = QStringLiteral("cannot write %1").arg(next);
            return false;
        }
    }
    if (std::rename(QFile::encodeName(next).constData(), QFile::encodeName(m_path).constData()) != 0) {
        QFile::remove(next);
        m_lastError = QStringLiteral("cannot replace %1").arg(m_path);
        return false;
    }
    return true;
}

} // namespace app
