// What a list's source may do: lists fetched over the network name network streams only,
// lists from the user's own disk may name files, and a source with more channels than a
// list holds is cut with a word in the status line.
#include "app/channels/directory_text.h"
#include "app/config.h"
#include "app_fixture.h"
#include "platform/media/media_test_support.h"

#include <QTemporaryDir>
#include <optional>

namespace {

using namespace platform;

QString tvPage(const QString& body) {
    return QStringLiteral("<html><body><div class=\"blog\">电视{") + body + QStringLiteral("}电视</div></body></html>");
}

// Plays `row` of the TV list and waits until the player settles on playing or failing.
int32_t playRow(app::FrmMain& frm, tbtest::PlayerEvents& events, int16_t row) {
    const size_t from = events.states.size();
    P::list(frm, 2)->setPlayIndex(row);
    (void)QTest::qWaitFor(
        [&] {
            for (size_t i = from; i < events.states.size(); ++i) {
                if (events.states[i] == MediaPlayer::Playing || events.states[i] == MediaPlayer::Ready) return true;
            }
            return false;
        },
        20000);
    return P::player(frm)->playState();
}

} // namespace

// Files named by a downloaded directory or playlist are refused, though they are real clips
// the player would play from a list of the user's own; the list's network rows still play.
TEST(ListSources, ListsFromTheNetworkMayNotOpenFiles) {
    const QString clip = tbtest::barsClip(5);
    tbtest::LocalHttpServer media([clip](tbtest::HttpExchange& ex) {
        if (ex.target == "/list.m3u") {
            ex.respond(200, "audio/x-mpegurl", ("#EXTM3U\n#EXTINF:-1,远程文件\nfile://" + clip + "\n").toStdString());
        } else {
            ex.respond(200, "video/mp2t", tbtest::readFile(clip));
        }
    });
    const QString stream = QString::fromStdString(media.url("/bars.ts"));
    tbtest::DirectoryServer server;
    server.setPage(app::config::kPostIds[2],
                   tvPage(QStringLiteral("<br/>本机#file:///etc/hosts<br/>片段#file://%1<br/>路径#%1<br/>网络#%2<br/>")
                              .arg(clip, stream)));
    // The recorder outlives the window, whose player reports a last stop as it closes.
    std::optional<tbtest::PlayerEvents> recorder;
    auto frm = tbtest::loadedMainWindow(server.config());
    frm->selectCategory(2);
    ASSERT_TRUE(frm->importPlaylist(QString::fromStdString(media.url("/list.m3u")), false));
    controls::ucListBox* tv = P::list(*frm, 2);
    ASSERT_EQ(tv->ListCount(), 5);
    ASSERT_EQ(tv->URL(4), QStringLiteral("file://") + clip);
    tbtest::PlayerEvents& events = recorder.emplace(*P::player(*frm));

    for (const int16_t row : {0, 1, 2, 4}) {
        EXPECT_EQ(playRow(*frm, events, row), MediaPlayer::Ready) << "row " << row;
        EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("播放失败")) << "row " << row;
        EXPECT_EQ(P::player(*frm)->URL(), tv->URL(row)) << "the refused address is the player's";
    }
    EXPECT_EQ(std::count(events.states.begin(), events.states.end(), MediaPlayer::Playing), 0);
    EXPECT_EQ(playRow(*frm, events, 3), MediaPlayer::Playing) << "the directory's network stream";
}

// A playlist read from disk may name files, by path and as file: addresses, beside a
// downloaded directory's rows.
TEST(ListSources, APlaylistFromDiskPlaysItsFiles) {
    const QString clip = tbtest::barsClip(5);
    tbtest::DirectoryServer server;
    server.setPage(app::config::kPostIds[2], tvPage(QStringLiteral("<br/>远程#file://%1<br/>").arg(clip)));
    QTemporaryDir dir;
    const QString m3u = dir.filePath(QStringLiteral("本地.m3u"));
    {
        QFile f(m3u);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(("#EXTM3U\n#EXTINF:-1,路径\n" + clip + "\n#EXTINF:-1,地址\nfile://" + clip + "\n").toUtf8());
    }
    // The recorder outlives the window, whose player reports a last stop as it closes.
    std::optional<tbtest::PlayerEvents> recorder;
    auto frm = tbtest::loadedMainWindow(server.config());
    frm->selectCategory(2);
    ASSERT_TRUE(frm->importPlaylist(m3u, false));
    ASSERT_EQ(P::list(*frm, 2)->ListCount(), 3);
    tbtest::PlayerEvents& events = recorder.emplace(*P::player(*frm));
    EXPECT_EQ(playRow(*frm, events, 1), MediaPlayer::Playing);
    EXPECT_EQ(playRow(*frm, events, 0), MediaPlayer::Ready) << "the directory's row stays refused";
    EXPECT_EQ(playRow(*frm, events, 2), MediaPlayer::Playing);
}

// A directory of 40 000 channels fills the list to its 32 768 rows and says how many of
// them it left out.
TEST(ListSources, AnOverfullDirectorySaysHowManyChannelsItLeftOut) {
    QString body;
    for (int i = 0; i < 40000; ++i) body += QStringLiteral("<br/>频道%1#http://127.0.0.1:1/%1.ts").arg(i);
    tbtest::DirectoryServer server;
    server.setPage(app::config::kPostIds[2], tvPage(body + QStringLiteral("<br/>")));
    server.setPage(app::config::kPostIds[3], QStringLiteral("电台{<br/>新闻#http://r<br/>}电台"));
    auto frm = tbtest::loadedMainWindow(server.config());
    EXPECT_EQ(P::list(*frm, 2)->ListCount(), app::kMaxChannels);
    EXPECT_EQ(P::list(*frm, 2)->Title(app::kMaxChannels - 1), QStringLiteral("频道32767"));
    EXPECT_EQ(P::list(*frm, 3)->ListCount(), 1) << "the next list is not affected";
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("列表已满，未加入电视目录的 7232 个频道"));

    // A reload whose directory fits gives the line back.
    server.setPage(app::config::kPostIds[2], tvPage(QStringLiteral("<br/>一#http://a<br/>")));
    frm->ReloadDirectories();
    ASSERT_TRUE(QTest::qWaitFor([&] { return P::list(*frm, 3)->ListCount() == 1; }, 15000));
    EXPECT_EQ(P::list(*frm, 2)->ListCount(), 1);
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("Tips"));
}
