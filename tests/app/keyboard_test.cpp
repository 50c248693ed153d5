// The main window's keys, sent as key events to the window and to the part that has the
// focus, each doing its action: the selection, the channels, the categories, the player.
#include "app/main_commands.h"
#include "app_fixture.h"
#include "imaging/skin_catalogue.h"
#include "platform/media/media_test_support.h"

namespace {

using namespace platform;

struct Keyboard : ::testing::Test {
    tbtest::DirectoryServer server;
    std::unique_ptr<app::FrmMain> frm = tbtest::loadedMainWindow(server.config());
    const P::MainControls& ui = P::ui(*frm);
    MediaPlayer* wmp = P::player(*frm);
    tbtest::PlayerEvents events{*wmp};
    // The window goes first: its player reports a last stop to the recorder as it closes.
    ~Keyboard() override { frm.reset(); }

    // Three TV channels and two radio channels; the first plays `clip`, the others are
    // addresses of their own.
    void fill(const QString& clip) {
        for (int i = 0; i < 3; ++i)
            P::list(*frm, 2)->AddItem(QStringLiteral("电视%1").arg(i), std::nullopt,
                                      i == 0 ? clip : clip + QStringLiteral("?tv%1").arg(i));
        for (int i = 0; i < 2; ++i)
            P::list(*frm, 3)->AddItem(QStringLiteral("电台%1").arg(i), std::nullopt,
                                      clip + QStringLiteral("?r%1").arg(i));
        frm->selectCategory(2);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier, QWidget* to = nullptr) {
        QTest::keyClick(to ? to : frm.get(), k, m);
    }
};

bool shows(const controls::ucButton* b, const char* skin) {
    return b->SkinPicture().image() == imaging::LoadResPicture(QString::fromLatin1(skin)).image();
}

} // namespace

// Up, Down and Enter work in the visible list, PageUp and PageDown in the list that plays
// (round at its ends), Tab and Ctrl+Tab step the categories, with Shift backwards.
TEST_F(Keyboard, ListAndCategoryKeys) {
    fill(QStringLiteral("http://127.0.0.1:1/none.ts"));
    controls::ucListBox* tv = P::list(*frm, 2);
    key(Qt::Key_Down);
    EXPECT_EQ(tv->ListIndex(), 0);
    key(Qt::Key_Down, Qt::NoModifier, tv); // the list itself has the focus
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    EXPECT_EQ(tv->ListIndex(), 2) << "stops at the last row";
    key(Qt::Key_Up);
    EXPECT_EQ(tv->ListIndex(), 1);
    EXPECT_EQ(tv->PlayIndex(), -1) << "moving the selection plays nothing";
    key(Qt::Key_Return);
    EXPECT_EQ(tv->PlayIndex(), 1);
    EXPECT_EQ(wmp->URL(), tv->URL(1));
    key(Qt::Key_PageDown);
    EXPECT_EQ(tv->PlayIndex(), 2);
    key(Qt::Key_PageDown);
    EXPECT_EQ(tv->PlayIndex(), 0) << "round from the last channel to the first";
    key(Qt::Key_PageUp);
    EXPECT_EQ(tv->PlayIndex(), 2);
    EXPECT_EQ(wmp->URL(), tv->URL(2));

    key(Qt::Key_Tab);
    EXPECT_EQ(frm->TabIndex(), 3);
    EXPECT_FALSE(P::list(*frm, 3)->isHidden());
    EXPECT_TRUE(tv->isHidden());
    key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(frm->TabIndex(), 0) << "round after the last category";
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(frm->TabIndex(), 3);
    EXPECT_FALSE(P::list(*frm, 3)->isHidden());

    // With the radio list in view, the channel keys still step through the TV list.
    key(Qt::Key_PageDown);
    EXPECT_EQ(tv->PlayIndex(), 0);
    EXPECT_EQ(P::list(*frm, 3)->PlayIndex(), -1);
    key(Qt::Key_Down);
    EXPECT_EQ(P::list(*frm, 3)->ListIndex(), 0) << "the selection keys work in the visible list";
}

// A long list scrolls one row at a time under the selection, never a page at once.
TEST_F(Keyboard, TheSelectionScrollsRowByRow) {
    controls::ucListBox* tv = P::list(*frm, 2);
    for (int i = 0; i < 60; ++i)
        tv->AddItem(QStringLiteral("频道%1").arg(i), std::nullopt, QStringLiteral("u%1").arg(i));
    frm->selectCategory(2);
    const int rows = tv->ViewHeight() / tv->ItemHeight();
    ASSERT_GT(rows, 3);
    for (int i = 0; i < rows + 2; ++i) key(Qt::Key_Down);
    EXPECT_EQ(tv->ListIndex(), rows + 1);
    EXPECT_EQ(tv->TopIndex(), 2);
    for (int i = 0; i < rows + 1; ++i) key(Qt::Key_Up);
    EXPECT_EQ(tv->ListIndex(), 0);
    EXPECT_EQ(tv->TopIndex(), 0);
}

// Space, S, M, Ctrl+Up/Down and Left/Right act on the real player.
TEST_F(Keyboard, PlayerKeys) {
    fill(tbtest::barsClip(30));
    key(Qt::Key_Down);
    key(Qt::Key_Space); // nothing opened yet: Space plays the selected row
    EXPECT_EQ(P::list(*frm, 2)->PlayIndex(), 0);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000));
    ASSERT_EQ(frm->volume(), 100);

    key(Qt::Key_Space);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Paused, 5000));
    const double paused = wmp->controls().currentPosition();
    key(Qt::Key_Right);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return std::abs(wmp->controls().currentPosition() - (paused + 10)) < 0.6; }, 5000))
        << wmp->controls().currentPosition();
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_TRUE(QTest::qWaitFor([&] { return wmp->controls().currentPosition() < 0.6; }, 5000))
        << "ten seconds back twice stops at the start";
    const size_t before = events.states.size();
    key(Qt::Key_Space);
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 5000, before));

    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(frm->volume(), 95);
    EXPECT_EQ(wmp->settings().volume(), 95);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(frm->volume(), 100) << "the volume stops at 100";

    key(Qt::Key_M);
    EXPECT_TRUE(wmp->settings().mute());
    EXPECT_TRUE(shows(ui.ctr_Vol, "SLIBT"));
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_FALSE(wmp->settings().mute()) << "choosing a volume ends the mute";
    EXPECT_TRUE(shows(ui.ctr_Vol, "VOLBT"));
    key(Qt::Key_M);
    key(Qt::Key_M);
    EXPECT_FALSE(wmp->settings().mute());

    key(Qt::Key_S);
    EXPECT_TRUE(events.waitForState(MediaPlayer::Stopped, 5000));
}

// A live stream cannot seek: Left and Right leave it where it is.
TEST_F(Keyboard, SeekKeysLeaveALiveStream) {
    const std::string live = tbtest::readFile(tbtest::liveClip());
    tbtest::LocalHttpServer source([&](tbtest::HttpExchange& ex) { tbtest::sendPaced(ex, live, 6.0, 6.0); });
    wmp->setURL(QStringLiteral("http://127.0.0.1:%1/live.ts").arg(source.port()));
    ASSERT_TRUE(events.waitForState(MediaPlayer::Playing, 15000));
    ASSERT_EQ(wmp->currentMedia().duration(), 0);
    const double before = wmp->controls().currentPosition();
    key(Qt::Key_Right);
    key(Qt::Key_Right);
    QTest::qWait(300);
    EXPECT_LT(wmp->controls().currentPosition(), before + 5) << "no jump of twenty seconds";
}

// Automatic repeats of a held key repeat only the stepping commands.
TEST(KeyTable, HeldKeysRepeatOnlySteps) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        bool repeated;
        platform::UINT command;
    };
    const Case cases[] = {
        {Qt::Key_Down, Qt::NoModifier, true, app::kCmdSelectionDown},
        {Qt::Key_Up, Qt::ControlModifier, true, app::kCmdVolumeUp},
        {Qt::Key_Right, Qt::NoModifier, true, app::kCmdSeekForward},
        {Qt::Key_F, Qt::NoModifier, true, 0},
        {Qt::Key_F, Qt::NoModifier, false, app::kCmdFullscreen},
        {Qt::Key_Space, Qt::NoModifier, true, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, false, app::kCmdPlaySelected},
        {Qt::Key_S, Qt::ControlModifier, false, 0},
        {Qt::Key_U, Qt::ControlModifier, false, app::kCmdOpenAddress},
    };
    for (const Case& c : cases) EXPECT_EQ(app::CommandForKey(c.key, c.mods, c.repeated), c.command) << c.key;
}
