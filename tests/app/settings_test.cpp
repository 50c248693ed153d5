// The settings file: what is saved comes back, a bad file is kept aside and never taken
// for settings, and a save replaces the file whole.
#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

// Every field, with values that the INI format has to escape, survives a save and a read.
TEST(Settings, EverythingSavedIsReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/tianbo.conf"));
    app::Settings s(path);
    app::DirectoryConfig d;
    d.data_host = QStringLiteral("blog.example.com:8080");
    d.post_music = QString(); // no music directory
    d.title = QStringLiteral("我的 天播; \"测试\"");
    d.notice_url = QStringLiteral("http://example.com/a?b=1&c=2#frag");
    s.setDirectory(d);
    const QStringList tricky = {
        QStringLiteral("/home/用户/列表 一.m3u"),
        QStringLiteral("http://example.com/a,b.m3u?x=1;y=\"2\""),
        QStringLiteral("@Invalid()"),
        QStringLiteral("#not a comment"),
    };
    s.setSources(0, tricky);
    s.setSources(1, {QStringLiteral("http://example.com/only,one.pls")});
    s.setSources(3, {QStringLiteral("=start"), QStringLiteral("back\\slash")});
    app::WindowState st;
    st.volume = 35;
    st.mute = true;
    st.tab = 3;
    st.normalGeometry = QRect(-20, 40, 800, 600);
    st.maximized = true;
    st.listShown = false;
    st.listWidth = 260;
    st.keepOnTop = true;
    st.lastCategory = 2;
    st.lastAddress = QStringLiteral("http://example.com/tv,1.ts");
    s.setState(st);
    ASSERT_TRUE(s.save()) << s.lastError().toStdString();
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".new")));

    app::Settings back(path);
    EXPECT_TRUE(back.warning().isEmpty()) << back.warning().toStdString();
    EXPECT_EQ(back.directory().data_host, d.data_host);
    EXPECT_EQ(back.directory().post_music, QString());
    EXPECT_EQ(back.directory().post_tv, d.post_tv);
    EXPECT_EQ(back.directory().title, d.title);
    EXPECT_EQ(back.directory().notice_url, d.notice_url);
    EXPECT_EQ(back.sources(0), tricky);
    EXPECT_EQ(back.sources(1), QStringList{QStringLiteral("http://example.com/only,one.pls")});
    EXPECT_TRUE(back.sources(2).isEmpty());
    EXPECT_EQ(back.sources(3), (QStringList{QStringLiteral("=start"), QStringLiteral("back\\slash")}));
    EXPECT_EQ(back.state(), st);
}

// The compiled-in directory values are defaults, not settings: a file that never changed
// them does not pin them, so a program built with other defaults uses its own.
TEST(Settings, UnchangedDirectoryValuesAreNotWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tianbo.conf"));
    app::Settings s(path);
    app::DirectoryConfig d;
    d.account = QStringLiteral("424242");
    s.setDirectory(d);
    ASSERT_TRUE(s.save());
    const QString text = QString::fromUtf8(readAll(path));
    EXPECT_TRUE(text.contains(QStringLiteral("account=424242"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("data_host"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Invalid"))) << "no playlists, no key";

    // A value the user wrote stays written even when it equals the default.
    writeAll(path, QByteArray("[directory]\ndata_host=") + app::config::kDataHost + "\n");
    app::Settings written(path);
    ASSERT_TRUE(written.save());
    EXPECT_TRUE(QString::fromUtf8(readAll(path)).contains(QStringLiteral("data_host=")));
}

TEST(Settings, AMissingFileGivesTheDefaultsQuietly) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("none/tianbo.conf"));
    app::Settings s(path);
    EXPECT_TRUE(s.warning().isEmpty());
    EXPECT_EQ(s.state(), app::WindowState{});
    EXPECT_EQ(s.directory().data_host, app::DirectoryConfig{}.data_host);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bak")));
}

// Files that are no settings file: the defaults stand, one line says so, the bad file is
// copied to .bak byte for byte, and only a later save replaces it.
TEST(Settings, ABadFileIsKeptAsideAndTheDefaultsStand) {
    struct Case {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\xff\xfe\x00\x01", 12)},
        {"invalid UTF-8", QByteArray("[state]\nvolume=\xc3\x28\n")},
        {"NUL byte", QByteArray("[state]\nvolume=5\0\n", 18)},
        {"not INI text", QByteArray("{\"volume\": 5,\n \"tab\": 2}\n")},
        {"cut inside a section line", QByteArray("[state]\nvolume=20\n[sour")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tianbo.conf"));
        writeAll(path, c.bytes);
        app::Settings s(path);
        EXPECT_EQ(s.state(), app::WindowState{});
        EXPECT_FALSE(s.warning().isEmpty());
        EXPECT_FALSE(s.warning().contains(QLatin1Char('\n')));
        EXPECT_TRUE(s.warning().contains(path));
        EXPECT_EQ(readAll(path + QStringLiteral(".bak")), c.bytes);
        EXPECT_EQ(readAll(path), c.bytes) << "reading never writes";
        app::WindowState st;
        st.volume = 7;
        s.setState(st);
        ASSERT_TRUE(s.save());
        EXPECT_EQ(app::Settings(path).state().volume, 7);
        EXPECT_EQ(readAll(path + QStringLiteral(".bak")), c.bytes);
    }
}

// A path that is a folder, and a file the program may not read: neither can be copied aside,
// so neither is ever replaced.
TEST(Settings, AFileThatCannotBeKeptAsideIsNeverReplaced) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("tianbo.conf"));
    ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/inside")));
    app::Settings s(folder);
    EXPECT_FALSE(s.warning().isEmpty());
    EXPECT_FALSE(s.save());
    EXPECT_FALSE(s.lastError().isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());

    if (geteuid() == 0) GTEST_SKIP() << "root reads any file";
    const QString locked = dir.filePath(QStringLiteral("locked.conf"));
    writeAll(locked, "[state]\nvolume=9\n");
    ASSERT_EQ(::chmod(QFile::encodeName(locked).constData(), 0), 0);
    app::Settings l(locked);
    EXPECT_FALSE(l.warning().isEmpty());
    EXPECT_FALSE(l.save());
    ::chmod(QFile::encodeName(locked).constData(), 0600);
    EXPECT_EQ(readAll(locked), QByteArray("[state]\nvolume=9\n"));
}

// Values out of range are that value's default; the rest of the file still counts.
TEST(Settings, OutOfRangeValuesFallBackOneByOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tianbo.conf"));
    writeAll(path, "[state]\nvolume=150\ntab=2\ngeometry=10,20,0,300\nlist_width=abc\nmute=maybe\n"
                   "keep_on_top=true\nlast_category=7\n");
    app::Settings s(path);
    EXPECT_TRUE(s.warning().isEmpty());
    EXPECT_FALSE(s.state().volume.has_value());
    EXPECT_EQ(s.state().tab, 2);
    EXPECT_TRUE(s.state().normalGeometry.isNull());
    EXPECT_FALSE(s.state().listWidth.has_value());
    EXPECT_FALSE(s.state().mute);
    EXPECT_TRUE(s.state().keepOnTop);
    EXPECT_FALSE(s.state().lastCategory.has_value());
}

TEST(Settings, ASaveThatCannotWriteSaysWhyAndLeavesNothing) {
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    writeAll(blocker, "x");
    app::Settings s(blocker + QStringLiteral("/tianbo/tianbo.conf"));
    EXPECT_FALSE(s.save());
    EXPECT_FALSE(s.lastError().isEmpty());
    EXPECT_EQ(readAll(blocker), QByteArray("x"));
}
