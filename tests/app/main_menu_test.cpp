// The main menu and the user's own channels, used the way a user does: the ☰ button, the
// menu's items, the dialogs' fields and Enter, against the demo server's playlists, with
// the settings file carrying them over a restart.
#include "comfort_fixture.h"
#include "controls/chrome/skin_menu_receiver.h"
#include "platform/http/demo_server_process.h"
#include "platform/media/media_test_support.h"

#include <QLabel>
#include <QMimeData>

namespace {

using namespace platform;
using tbtest::UiScript;

// The menu's rows: 0 打开网络地址…, 1 导入播放列表…, 2 移除播放列表 ▸, 3 ─, 4 刷新频道列表,
// 5 ─, 6 全屏, 7 总在最前, 8 ─, 9 关于天播.
enum Row { kOpen = 0, kImport = 1, kRemove = 2, kReload = 4, kFullscreen = 6, kKeepOnTop = 7, kAbout = 9 };

using tbtest::throughTheMenu;
using tbtest::WithSettings;

std::vector<QString> titles(const controls::ucListBox* list, int from = 0) {
    std::vector<QString> out;
    for (int i = from; i < list->ListCount(); ++i) out.push_back(list->Title(static_cast<int16_t>(i)));
    return out;
}

} // namespace

// The demo server's M3U (relative addresses) through the menu: its channels follow the
// directory, play, come back after a restart, and go with the playlist.
TEST(MainMenu, ImportedPlaylistPlaysSurvivesARestartAndIsRemoved) {
    tbtest::DemoServerProcess demo;
    ASSERT_TRUE(demo.ready());
    WithSettings s;
    s.config = app::DirectoryConfig::forHost(demo.base().mid(7));
    auto frm = s.start();
    frm->selectCategory(2);
    controls::ucListBox* tv = P::list(*frm, 2);
    const int directory = tv->ListCount();
    ASSERT_EQ(directory, 3);

    const QString m3u = demo.base() + QStringLiteral("/playlists/demo.m3u");
    ASSERT_TRUE(throughTheMenu(*frm, {{tbtest::menusOpen(1), [] { tbtest::clickMenuItem(kImport); }},
                                      {tbtest::dialogOpen(), [&] { tbtest::answerDialog(m3u); }}}));
    const std::vector<QString> imported = {QStringLiteral("演示彩条"),         QStringLiteral("演示 HLS 直播"),
                                           QStringLiteral("演示摄像头"),       QStringLiteral("晨光（播放列表）"),
                                           QStringLiteral("溪流（播放列表）"), QStringLiteral("夜色（播放列表）"),
                                           QStringLiteral("远山（播放列表）"), QStringLiteral("归途（播放列表）")};
    EXPECT_EQ(titles(tv, directory), imported);
    EXPECT_EQ(tv->URL(static_cast<int16_t>(directory)), demo.base() + QStringLiteral("/media/tv/bars.ts"));
    EXPECT_EQ(tv->Author(static_cast<int16_t>(directory)), QStringLiteral("演示电视")) << "group-title";
    EXPECT_EQ(tv->LongTime(static_cast<int16_t>(directory + 3)), 12) << "a music entry's length";
    EXPECT_EQ(s.savedSources(2), QStringList{m3u});

    // They play: the imported camera (an address found in no directory of the TV list).
    tbtest::PlayerEvents events(*P::player(*frm));
    const QString camera = demo.base() + QStringLiteral("/media/camera/2.ts");
    tv->setListIndex(static_cast<int16_t>(directory + 2));
    QTest::keyClick(frm.get(), Qt::Key_Return);
    EXPECT_EQ(P::player(*frm)->URL(), camera);
    EXPECT_TRUE(events.waitForState(MediaPlayer::Playing, 20000));
    EXPECT_EQ(P::ui(*frm).Label1->toolTip(), QStringLiteral("演示摄像头\n") + camera);

    frm.reset();
    frm = s.start();
    tv = P::list(*frm, 2);
    EXPECT_EQ(frm->TabIndex(), 2) << "the tab of the last run";
    EXPECT_EQ(titles(tv, directory), imported);
    EXPECT_EQ(tv->ListIndex(), directory + 2) << "the last channel is selected";
    EXPECT_EQ(tv->PlayIndex(), -1) << "and not played";

    // 移除播放列表 ▸ → the playlist.
    ASSERT_TRUE(throughTheMenu(*frm, {{tbtest::menusOpen(1), [] { tbtest::clickMenuItem(kRemove); }},
                                      {tbtest::menusOpen(2), [] { tbtest::clickMenuItem(0); }}}));
    EXPECT_EQ(tv->ListCount(), directory);
    EXPECT_TRUE(s.savedSources(2).isEmpty());
}

// An address opened through Ctrl+U plays at once; kept, it joins the category's own
// playlist, between the playlists added before and after it, and leaves with it.
TEST(MainMenu, AnOpenedAddressCanBeKept) {
    tbtest::DirectoryServer server;
    WithSettings s;
    s.config = server.config();
    const QString clip = tbtest::barsClip(10);
    QTemporaryDir lists;
    const QString m3u = lists.filePath(QStringLiteral("两个.m3u"));
    {
        QFile f(m3u);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#EXTM3U\n#EXTINF:5,甲\na.ts\n#EXTINF:-1,乙\nhttp://x/b.ts\n");
    }
    auto frm = s.start();
    frm->selectCategory(1);
    controls::ucListBox* music = P::list(*frm, 1);

    UiScript once({{tbtest::dialogOpen(), [&] { tbtest::answerDialog(clip); }}});
    QTest::keyClick(frm.get(), Qt::Key_U, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return once.finished() && !tbtest::openDialog(); }, 10000));
    EXPECT_EQ(P::player(*frm)->URL(), clip) << "plays at once";
    EXPECT_EQ(music->ListCount(), 0) << "without the box ticked it joins no list";

    const QString one = QStringLiteral("http://127.0.0.1:1/live/one.ts?k=1");
    const QString two = QStringLiteral("http://127.0.0.1:1/two.aac");
    UiScript kept({{tbtest::dialogOpen(), [&] { tbtest::answerDialog(one, true); }}});
    QTest::keyClick(frm.get(), Qt::Key_U, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return kept.finished() && music->ListCount() == 1; }, 10000));
    EXPECT_EQ(music->PlayIndex(), 0);
    EXPECT_EQ(P::player(*frm)->URL(), one);

    ASSERT_TRUE(frm->importPlaylist(m3u, true));
    frm->openAddress(two, true);
    EXPECT_EQ(titles(music), (std::vector<QString>{QStringLiteral("one.ts"), QStringLiteral("two.aac"),
                                                   QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_EQ(music->URL(1), two);
    EXPECT_EQ(music->PlayIndex(), 1);
    EXPECT_EQ(music->URL(2), lists.filePath(QStringLiteral("a.ts"))) << "resolved against the file's folder";
    EXPECT_EQ(s.savedSources(1).size(), 2);

    frm.reset();
    frm = s.start();
    music = P::list(*frm, 1);
    ASSERT_EQ(music->ListCount(), 4);
    EXPECT_EQ(music->URL(0), one);
    EXPECT_EQ(music->URL(1), two);
    const QString own = s.savedSources(1).front();
    EXPECT_TRUE(QFile::exists(own));
    frm->removePlaylist(1, 0);
    EXPECT_EQ(titles(music), (std::vector<QString>{QStringLiteral("甲"), QStringLiteral("乙")}));
    EXPECT_FALSE(QFile::exists(own)) << "the own playlist goes with its channels";
    EXPECT_EQ(s.savedSources(1), QStringList{m3u});
}

// Removing a playlist keeps the marks on the rows that stay and the player going.
TEST(MainMenu, RemovingAPlaylistKeepsTheOtherRowsMarks) {
    tbtest::DirectoryServer server;
    server.setPage(app::config::kPostIds[2], QStringLiteral("电视{<br/>台一#http://d/1<br/>}电视"));
    QTemporaryDir lists;
    auto write = [&](const char* name, const QByteArray& text) {
        QFile f(lists.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    };
    const QString a = write("a.m3u", "http://a/1\nhttp://a/2\n");
    const QString b = write("b.pls", "[playlist]\nFile1=http://b/1\nFile2=http://b/2\nTitle2=乙二\n");
    auto frm = tbtest::loadedMainWindow(server.config());
    frm->selectCategory(2);
    controls::ucListBox* tv = P::list(*frm, 2);
    ASSERT_TRUE(frm->importPlaylist(a, false));
    ASSERT_TRUE(frm->importPlaylist(b, false));
    ASSERT_EQ(tv->ListCount(), 5);
    tv->setListIndex(3);
    tv->setPlayIndex(4);
    const QString playing = P::player(*frm)->URL();
    frm->removePlaylist(2, 0);
    EXPECT_EQ(titles(tv),
              (std::vector<QString>{QStringLiteral("台一"), QStringLiteral("http://b/1"), QStringLiteral("乙二")}));
    EXPECT_EQ(tv->ListIndex(), 1);
    EXPECT_EQ(tv->PlayIndex(), 2);
    EXPECT_EQ(P::player(*frm)->URL(), playing) << "nothing new was started";
    EXPECT_EQ(frm->playlists(2), QStringList{b});
}

// Playlists that cannot be read leave their channels out and are named in the status line;
// F5 reads the directory and the playlists again.
TEST(MainMenu, FailedPlaylistsAreNamedAndF5ReadsEverythingAgain) {
    tbtest::DirectoryServer server;
    server.setPage(app::config::kPostIds[3], QStringLiteral("电台{<br/>台#http://r/1<br/>}电台"));
    WithSettings s;
    s.config = server.config();
    QTemporaryDir lists;
    const QString good = lists.filePath(QStringLiteral("good.pls"));
    auto writeGood = [&](const QByteArray& text) {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    };
    writeGood("[playlist]\nFile1=http://r/2\nTitle1=旧台\n");
    {
        app::Settings first(s.path);
        first.setSources(
            3, {QStringLiteral("http://127.0.0.1:1/gone.m3u"), lists.filePath(QStringLiteral("none.m3u")), good});
        ASSERT_TRUE(first.save());
    }
    auto frm = s.start();
    controls::ucListBox* radio = P::list(*frm, 3);
    EXPECT_EQ(titles(radio), (std::vector<QString>{QStringLiteral("台"), QStringLiteral("旧台")}));
    const QString status = P::ui(*frm).Label1->Caption();
    EXPECT_TRUE(status.contains(QStringLiteral("gone.m3u")) && status.contains(QStringLiteral("none.m3u")) &&
                !status.contains(QStringLiteral("good.pls")))
        << status.toStdString();
    EXPECT_EQ(frm->playlists(3).size(), 3) << "a failed playlist stays in the settings";

    writeGood("[playlist]\nFile1=http://r/2\nTitle1=新台\n");
    server.setPage(app::config::kPostIds[3], QStringLiteral("电台{<br/>台#http://r/1<br/>另一台#http://r/3<br/>}电台"));
    QTest::keyClick(frm.get(), Qt::Key_F5);
    // The reload runs while the window goes on; the playlists follow once the directories are in.
    const std::vector<QString> after = {QStringLiteral("台"), QStringLiteral("另一台"), QStringLiteral("新台")};
    EXPECT_TRUE(QTest::qWaitFor([&] { return titles(radio) == after; }, 15000));
    pumpFor(100);
    EXPECT_EQ(titles(radio), after) << "nothing added twice";
    EXPECT_TRUE(P::ui(*frm).Label1->Caption().contains(QStringLiteral("gone.m3u")));
}

// The menu is drawn in the skin's colours; 总在最前 and 全屏 act and show their state; 关于天播
// names the version and the libraries.
TEST(MainMenu, MenuItemsKeepOnTopFullscreenAndAbout) {
    tbtest::DirectoryServer server;
    auto frm = tbtest::loadedMainWindow(server.config());
    platform::MenuColors colors;
    ASSERT_TRUE(throughTheMenu(*frm, {{tbtest::menusOpen(1), [&] {
                                           colors = tbtest::openMenu()->colors();
                                           tbtest::clickMenuItem(kKeepOnTop);
                                       }}}));
    EXPECT_EQ(colors.highlight, controls::SkinMenuReceiver::SkinColors().highlight);
    EXPECT_EQ(colors.background, controls::SkinMenuReceiver::SkinColors().background);
    EXPECT_TRUE(frm->keepOnTop());
    EXPECT_TRUE(P::ui(*frm).ucSkin1->KeepOnTop()) << "the caption button shows it";
    EXPECT_TRUE(frm->topMost());
    // Keeping on top shows the window anew; a menu opened before that settles is closed by it.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    platform::pumpFor(300);

    // The check mark of 总在最前 is drawn now, and 全屏 has none.
    int checked = 0, unchecked = 0;
    ASSERT_TRUE(throughTheMenu(*frm, {{tbtest::menusOpen(1), [&] {
                                           platform::MenuWindow* m = tbtest::openMenu();
                                           if (!m) return;
                                           auto ink = [&](int row) {
                                               const RECT r = m->itemRect(row);
                                               int n = 0;
                                               for (int y = r.top; y < r.bottom; ++y)
                                                   for (int x = r.left + 4; x < r.left + 20; ++x)
                                                       n += GetPixel(m->dc(), x, y) == m->colors().text;
                                               return n;
                                           };
                                           checked = ink(kKeepOnTop);
                                           unchecked = ink(kFullscreen);
                                           tbtest::clickMenuItem(kFullscreen);
                                       }}}));
    EXPECT_GT(checked, 6);
    EXPECT_EQ(unchecked, 0);
    EXPECT_TRUE(frm->isFullscreen());
    frm->setFullscreen(false);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    platform::pumpFor(300);

    QString about;
    ASSERT_TRUE(throughTheMenu(*frm, {{tbtest::menusOpen(1), [] { tbtest::clickMenuItem(kAbout); }},
                                      {tbtest::dialogOpen(), [&] {
                                           for (QLabel* l : tbtest::openDialog()->findChildren<QLabel*>())
                                               about += l->text();
                                           QTest::keyClick(tbtest::openDialog(), Qt::Key_Escape);
                                       }}}));
    EXPECT_TRUE(about.contains(QString::fromLatin1(app::config::kVersion)));
    for (const char* lib : {"Qt", "libmpv", "libcurl", "zlib", "FFmpeg"})
        EXPECT_TRUE(about.contains(QString::fromLatin1(lib))) << lib;
}

// Files dropped on the window: a playlist joins the current category, anything else plays.
// Items of the command line: the same, the playlist for this run only.
TEST(MainMenu, DroppedFilesAndCommandLineItems) {
    tbtest::DirectoryServer server;
    WithSettings s;
    s.config = server.config();
    QTemporaryDir lists;
    const QString m3u = lists.filePath(QStringLiteral("drop.m3u"));
    {
        QFile f(m3u);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#EXTINF:-1,一\nhttp://x/1\n");
    }
    const QString clip = tbtest::barsClip(10);
    auto frm = s.start();
    frm->selectCategory(0);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m3u), QUrl::fromLocalFile(clip)});
    QDragEnterEvent enter(QPoint(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frm.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(200, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frm.get(), &drop);
    EXPECT_EQ(P::list(*frm, 0)->Title(0), QStringLiteral("一"));
    EXPECT_EQ(P::player(*frm)->URL(), clip);
    EXPECT_EQ(s.savedSources(0), QStringList{m3u});

    frm->removePlaylist(0, 0);
    frm->selectCategory(3);
    const QStringList unused = frm->openCommandLineItems({m3u, clip + QStringLiteral("?cli"), QStringLiteral("x.mp3")});
    EXPECT_EQ(unused, QStringList{QStringLiteral("x.mp3")}) << "only the first address plays";
    EXPECT_EQ(P::list(*frm, 3)->ListCount(), 1);
    EXPECT_EQ(P::player(*frm)->URL(), clip + QStringLiteral("?cli"));
    EXPECT_TRUE(s.savedSources(3).isEmpty()) << "a command-line playlist is for this run";
}
