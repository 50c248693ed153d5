// The main window and its settings file: what the user set up in one run is there in the
// next, and a bad file costs the user nothing but the settings.
#include "comfort_fixture.h"

#include <QFile>

namespace {

using namespace platform;
using tbtest::WithSettings;

} // namespace

// Volume, tab, geometry, the panel's width, keep-on-top and a playlist, set the way a user
// sets them, come back after a restart; then a maximised window with a hidden panel does.
TEST(WindowSettings, WhatTheUserSetComesBackAfterARestart) {
    tbtest::DirectoryServer server;
    WithSettings s;
    s.config = server.config();
    QTemporaryDir lists;
    const QString pls = lists.filePath(QStringLiteral("r.pls"));
    {
        QFile f(pls);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[playlist]\nFile1=http://r/1\nTitle1=一台\n");
    }
    auto frm = s.start();
    const P::MainControls* ui = &P::ui(*frm);
    QTest::keyClick(frm.get(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(frm.get(), Qt::Key_Down, Qt::ControlModifier);
    QTest::mouseClick(ui->PicTab, Qt::LeftButton, {}, QPoint(170, 16)); // 电台
    SetWindowPos(frm.get(), nullptr, 40, 30, 820, 560, SWP_NOZORDER);
    QTest::mousePress(ui->PicSplit, Qt::LeftButton, {}, QPoint(1, 40));
    QTest::mouseMove(ui->PicSplit, QPoint(-60, 40));
    QTest::mouseRelease(ui->PicSplit, Qt::LeftButton, {}, QPoint(-60, 40));
    const int panel = ui->PicTab->Width();
    ASSERT_NE(panel, 203);
    QTest::keyClick(frm.get(), Qt::Key_M);
    frm->setKeepOnTop(true);
    ASSERT_TRUE(frm->importPlaylist(pls, true));
    const RECT rect = frm->windowRect();
    frm.reset();

    frm = s.start();
    ui = &P::ui(*frm);
    EXPECT_EQ(frm->volume(), 90);
    EXPECT_TRUE(P::player(*frm)->settings().mute());
    EXPECT_EQ(frm->TabIndex(), 3);
    EXPECT_FALSE(P::list(*frm, 3)->isHidden());
    EXPECT_EQ(frm->windowRect(), rect);
    EXPECT_EQ(ui->PicTab->Width(), panel);
    EXPECT_EQ(ui->PicTab->x() + panel, P::innerWidth(*frm) - controls::ucSkin::SizeRBorder());
    EXPECT_TRUE(frm->keepOnTop());
    EXPECT_TRUE(frm->topMost());
    EXPECT_EQ(P::list(*frm, 3)->Title(0), QStringLiteral("一台"));

    ShowWindow(frm.get(), SW_MAXIMIZE);
    QTest::mouseClick(ui->tBt_Cls, Qt::LeftButton, {}, QPoint(5, 5));
    frm.reset();
    frm = s.start();
    EXPECT_TRUE(IsZoomed(frm.get()));
    EXPECT_TRUE(P::ui(*frm).PicTab->isHidden());
    EXPECT_TRUE(P::list(*frm, 3)->isHidden());
    ShowWindow(frm.get(), SW_RESTORE);
    EXPECT_EQ(frm->windowRect(), rect) << "the normal rectangle under the maximised one";
}

// Fullscreen is no state of its own: the run ends as the window was before it.
TEST(WindowSettings, FullscreenIsSavedAsTheWindowBeforeIt) {
    tbtest::DirectoryServer server;
    WithSettings s;
    s.config = server.config();
    auto frm = s.start();
    const RECT rect = frm->windowRect();
    frm->setFullscreen(true);
    frm.reset();
    EXPECT_EQ(app::Settings(s.path).state().normalGeometry, QRect(rect.left, rect.top, rect.width(), rect.height()));
    EXPECT_FALSE(app::Settings(s.path).state().maximized);
    EXPECT_TRUE(app::Settings(s.path).state().listShown);
}

// A corrupt file: the defaults, a warning, the bad file kept as .bak, a window that works and
// a good file after the run.
TEST(WindowSettings, ACorruptFileStartsWithTheDefaults) {
    tbtest::DirectoryServer server;
    WithSettings s;
    s.config = server.config();
    const QByteArray junk("\x00\x01\xfe garbage [state\nvolume==", 24);
    {
        QFile f(s.path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(junk);
    }
    EXPECT_FALSE(app::Settings(s.path).warning().isEmpty());
    auto frm = s.start();
    EXPECT_EQ(frm->volume(), 100);
    EXPECT_EQ(frm->TabIndex(), 0);
    EXPECT_FALSE(frm->keepOnTop());
    QFile bak(s.path + QStringLiteral(".bak"));
    ASSERT_TRUE(bak.open(QIODevice::ReadOnly));
    EXPECT_EQ(bak.readAll(), junk);
    QTest::keyClick(frm.get(), Qt::Key_Down, Qt::ControlModifier);
    frm.reset();
    const app::Settings after(s.path);
    EXPECT_TRUE(after.warning().isEmpty());
    EXPECT_EQ(after.state().volume, 95);
}
