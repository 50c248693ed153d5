// FrmMain: the main menu behind the caption's ☰ button, drawn in the skin's colours like the
// system menu, and the questions it asks:
//
//   打开网络地址…      Ctrl+U      an address to play at once, and perhaps keep
//   导入播放列表…      Ctrl+O      a playlist file or address for the current category
//   移除播放列表    ▸             the current category's playlists
//   ─────────────
//   刷新频道列表       F5
//   ─────────────
//   全屏               F
//   总在最前           ✓ when the caption's keep-on-top button is on
//   ─────────────
//   关于天播
//
// Each item is a command of the window (main_commands.h): the menu posts it as WM_COMMAND,
// the same message the keys send.

#include "app/config.h"
#include "app/frm_main.h"
#include "app/main_commands.h"
#include "app/skin_dialog.h"
#include "controls/chrome/frame_zones.h"
#include "platform/window/menu.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace app {

using namespace platform;

void FrmMain::ucSkin1_MenuButtonClick() { showMainMenu(); }

void FrmMain::showMainMenu() {
    const int category = currentCategory();
    HMENU menu = CreatePopupMenu();
    AppendMenu(menu, MF_STRING, kCmdOpenAddress, QStringLiteral("打开网络地址…\tCtrl+U"));
    AppendMenu(menu, MF_STRING, kCmdImportPlaylist, QStringLiteral("导入播放列表…\tCtrl+O"));
    HMENU remove = CreatePopupMenu();
    const int count = static_cast<int>(m_playlists[static_cast<size_t>(category)].size());
    for (int i = 0; i < count && kCmdRemovePlaylist + i < kCmdRemovePlaylistEnd; ++i)
        AppendMenu(remove, MF_STRING, kCmdRemovePlaylist + static_cast<UINT>(i), playlistLabel(category, i));
    AppendSubMenu(menu, count > 0 ? MF_STRING : MF_GRAYED, remove, QStringLiteral("移除播放列表"));
    AppendMenu(menu, MF_SEPARATOR, 0, QString());
    AppendMenu(menu, MF_STRING, kCmdReload, QStringLiteral("刷新频道列表\tF5"));
    AppendMenu(menu, MF_SEPARATOR, 0, QString());
    AppendMenu(menu, MF_STRING | (m_fullscreen.on ? MF_CHECKED : MF_UNCHECKED), kCmdFullscreen,
               QStringLiteral("全屏\tF"));
    AppendMenu(menu, MF_STRING | (keepOnTop() ? MF_CHECKED : MF_UNCHECKED), kCmdKeepOnTop, QStringLiteral("总在最前"));
    AppendMenu(menu, MF_SEPARATOR, 0, QString());
    AppendMenu(menu, MF_STRING, kCmdAbout, QStringLiteral("关于天播"));
    // Just below the button, its left edge under the button's.
    const POINT b = m_ui.ucSkin1->Zones().buttonPos(controls::ucSkin::MenuBtn);
    const QPoint at = m_ui.ucSkin1->mapToGlobal(QPoint(b.x, b.y + controls::FrameZones::kButtonSize + 2));
    TrackPopupMenu(menu, TPM_LEFTALIGN, at.x(), at.y(), 0, this, nullptr);
    DestroyMenu(menu);
}

void FrmMain::showOpenAddressDialog() {
    SkinDialog dialog(QStringLiteral("打开网络地址"));
    dialog.addText(QStringLiteral("流地址或媒体文件（http、https、rtsp、rtmp、udp、mms …）："));
    QLineEdit* field = dialog.addField();
    field->setPlaceholderText(QStringLiteral("例如 http://example.com/live.m3u8"));
    QCheckBox* keep = dialog.addCheckBox(
        QStringLiteral("同时添加到“%1”分类").arg(m_tabs[static_cast<size_t>(currentCategory())].Caption), false);
    dialog.addButtons();
    if (!dialog.exec(this) || field->text().trimmed().isEmpty()) return;
    openAddress(field->text(), keep->isChecked());
}

void FrmMain::showImportDialog() {
    SkinDialog dialog(QStringLiteral("导入播放列表"));
    dialog.addText(QStringLiteral("播放列表文件（.m3u、.m3u8、.pls）或地址，加入“%1”分类并保存：")
                       .arg(m_tabs[static_cast<size_t>(currentCategory())].Caption));
    QLineEdit* field = dialog.addField();
    dialog.addFieldButton(QStringLiteral("浏览…"), [&dialog, field] {
        // Qt's own file dialog, so it looks the same on every desktop.
        const QString file = QFileDialog::getOpenFileName(
            &dialog, QStringLiteral("选择播放列表"), QFileInfo(field->text()).absolutePath(),
            QStringLiteral("播放列表 (*.m3u *.m3u8 *.pls *.M3U *.M3U8 *.PLS);;所有文件 (*)"), nullptr,
            QFileDialog::DontUseNativeDialog);
        if (!file.isEmpty()) field->setText(file);
    });
    dialog.addButtons();
    if (!dialog.exec(this) || field->text().trimmed().isEmpty()) return;
    importPlaylist(field->text(), true);
}

void FrmMain::showAbout() {
    SkinDialog dialog(QStringLiteral("关于天播"), 460);
    dialog.addText(QStringLiteral("<b style=\"color:#dcdcdc\">天播 %1</b><br>网络电视、电台、音乐与监控播放器。")
                       .arg(QString::fromLatin1(config::kVersion)));
    dialog.addText(QStringLiteral("本程序使用以下程序库，各按其许可证发布：<br>"
                                  "Qt %1 — GNU LGPL 3<br>"
                                  "Qt WebEngine（Chromium）— GNU LGPL 3；Chromium 的各部分为 BSD 等许可证<br>"
                                  "libmpv — GNU GPL 2 或更新版本（按 LGPL 构建时为 GNU LGPL 2.1 或更新版本）<br>"
                                  "FFmpeg（经由 libmpv）— GNU LGPL 2.1 或更新版本 / GNU GPL 2 或更新版本<br>"
                                  "libcurl — curl 许可证（MIT/X 类）<br>"
                                  "zlib — zlib 许可证")
                       .arg(QString::fromLatin1(qVersion())));
    dialog.addButtons(false);
    dialog.exec(this);
}

} // namespace app
