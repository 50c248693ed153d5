// Start-up on a bad network: whatever the directory server does, the four downloads end
// together by their deadline, the failed categories are named in the status line, and F5
// loads all four again once the server has recovered.
#include "app/directory_downloads.h"
#include "app_fixture.h"
#include "troubled_server.h"

namespace {

using tbtest::Trouble;

class BadNetwork : public ::testing::TestWithParam<Trouble> {};

} // namespace

// The window comes up with four empty lists and the status line naming the four failed
// categories, whatever the server does; the test ends only because every download was
// abandoned at the shared deadline (the trickling server would go on for hours).
TEST_P(BadNetwork, StartUpEndsWithEveryCategoryNamedAsFailed) {
    tbtest::TroubledServer server(GetParam());
    auto frm = tbtest::loadedMainWindow(app::DirectoryConfig::forHost(server.host()));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(P::list(*frm, i)->ListCount(), 0) << i;
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("下载失败：监控、音乐、电视、电台，按F5重试"));
    EXPECT_NE(P::noticeWindow(*frm), nullptr) << "start-up went on to the notice window";
}

INSTANTIATE_TEST_SUITE_P(Servers, BadNetwork,
                         ::testing::Values(Trouble::Refuses, Trouble::NeverAccepts, Trouble::NeverAnswers,
                                           Trouble::StallsMidBody, Trouble::Trickles),
                         [](const auto& test) { return std::string(tbtest::nameOf(test.param)); });

// F5 after the server has recovered empties the lists and loads all four again; the status
// line gives up the failure message. The window keeps running its events meanwhile.
TEST(BadNetworkRecovery, F5LoadsAllFourOnceTheServerRecovers) {
    tbtest::TroubledServer server(Trouble::NeverAnswers);
    auto frm = tbtest::loadedMainWindow(app::DirectoryConfig::forHost(server.host()));
    ASSERT_TRUE(P::ui(*frm).Label1->Caption().startsWith(QStringLiteral("下载失败")));
    server.recover();
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    QTest::keyClick(frm.get(), Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = 0; i < 4; ++i) {
                if (P::list(*frm, i)->ListCount() != 1) return false;
            }
            return true;
        },
        app::DirectoryDownloads::kDeadlineMs + 5000));
    EXPECT_EQ(P::list(*frm, 2)->Title(0), QStringLiteral("一台"));
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("Tips"));
    // A second F5 empties the lists before it fills them again: nothing is added twice.
    frm->ReloadDirectories();
    EXPECT_TRUE(QTest::qWaitFor([&] { return P::list(*frm, 3)->ListCount() == 1; }, 15000));
    platform::pumpFor(200);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(P::list(*frm, i)->ListCount(), 1) << i;
}
