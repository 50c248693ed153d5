#pragma once
// The main window with a settings file of its own, and the means to drive its menus and
// dialogs, which run loops of their own: a script of steps that each wait for their moment
// and then act, and finders for what is on screen.

#include "app/settings.h"
#include "app/skin_dialog.h"
#include "app_fixture.h"
#include "platform/window/menu_window.h"
#include "ui_script.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

namespace tbtest {

// The innermost open menu, and how many are open.
inline platform::MenuWindow* openMenu() {
    return qobject_cast<platform::MenuWindow*>(QApplication::activePopupWidget());
}
inline size_t openMenus() {
    size_t n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<platform::MenuWindow*>(w) && w->isVisible();
    return n;
}
inline std::function<bool()> menusOpen(size_t n) {
    return [n] { return openMenus() == n && openMenu(); };
}
// Clicks item `index` of the innermost menu.
inline void clickMenuItem(int index) {
    platform::MenuWindow* m = openMenu();
    if (!m) {
        ADD_FAILURE() << "no menu is open to click item " << index;
        return;
    }
    const platform::RECT r = m->itemRect(index);
    const QPoint p((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    QTest::mouseMove(m, p);
    QTest::mousePress(m, Qt::LeftButton, {}, p);
    QTest::mouseRelease(m, Qt::LeftButton, {}, p);
}

inline app::SkinDialog* openDialog() {
    auto* d = qobject_cast<app::SkinDialog*>(QApplication::activeModalWidget());
    return d && d->running() ? d : nullptr;
}
inline std::function<bool()> dialogOpen() {
    return [] { return openDialog() != nullptr; };
}
// Types `text` into the dialog's field, ticks its check box when asked, and presses Enter.
inline void answerDialog(const QString& text, bool tick = false) {
    app::SkinDialog* d = openDialog();
    auto* field = d->findChild<QLineEdit*>();
    field->clear();
    QTest::keyClicks(field, text);
    if (tick) d->findChild<QCheckBox*>()->setChecked(true);
    QTest::keyClick(field, Qt::Key_Return);
}

// A main window with a settings file of its own in a temporary folder; start() makes and
// loads one, as the program does at every start.
struct WithSettings {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("tianbo.conf"));
    app::DirectoryConfig config;

    std::unique_ptr<app::FrmMain> start() {
        auto settings = std::make_unique<app::Settings>(path);
        settings->setDirectory(config);
        auto frm = std::make_unique<app::FrmMain>(std::move(settings));
        frm->move(100, 80);
        frm->Form_Load();
        frm->showAsLastRun();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        return frm;
    }
    QStringList savedSources(int category) const { return app::Settings(path).sources(category); }
};

inline void clickMenuButton(app::FrmMain& frm) {
    controls::ucSkin* skin = app::TestPeer::ui(frm).ucSkin1;
    const platform::POINT p = skin->Zones().buttonPos(controls::ucSkin::MenuBtn);
    QTest::mousePress(skin, Qt::LeftButton, {}, QPoint(p.x + 5, p.y + 5));
    QTest::mouseRelease(skin, Qt::LeftButton, {}, QPoint(p.x + 5, p.y + 5));
}

// Runs `steps` against the menu the ☰ button opens, then lets the command it posted run.
inline bool throughTheMenu(app::FrmMain& frm, std::vector<UiScript::Step> steps) {
    UiScript script(std::move(steps));
    clickMenuButton(frm);
    const bool done = QTest::qWaitFor([&] { return script.finished() && !openDialog() && !openMenu(); }, 30000);
    // The menu posts its command; it runs with the next round of events.
    platform::pumpFor(50);
    return done;
}

} // namespace tbtest
