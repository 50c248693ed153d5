#pragma once
// SkinDialog: a small modal window in the program's own dress — the skin frame's caption,
// border and close button around a dark panel in the lists' colours — holding lines of text,
// an input field, a check box and the 确定/取消 buttons. The main menu asks its questions
// (an address to open, a playlist to import) and shows its About text through it.
//
//   ┌ucSkin caption ─────────────────────[x]┐
//   │ text                                  │
//   │ [field ....................] [浏览…]  │
//   │ [x] check box                         │
//   │                         [确定] [取消] │
//   └───────────────────────────────────────┘

#include "platform/window/window.h"

#include <QString>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace controls {
class ucSkin;
}

namespace app {

class SkinDialog : public platform::Window {
    Q_OBJECT

public:
    explicit SkinDialog(const QString& caption, int width = 440);
    ~SkinDialog() override;

    // Parts, added from top to bottom.
    QLabel* addText(const QString& text);
    QLineEdit* addField(const QString& text = {});
    // A button beside the last field that runs `action` (choosing a file, say).
    QPushButton* addFieldButton(const QString& text, std::function<void()> action);
    QCheckBox* addCheckBox(const QString& text, bool checked);
    // The closing buttons: 确定, and 取消 unless `withCancel` is false.
    void addButtons(bool withCancel = true);

    // Shows the dialog over the middle of `owner` and runs until 确定 or Enter (true), or
    // 取消, Escape or the frame's close button (false).
    bool exec(QWidget* owner);
    void accept() { finish(true); }
    void reject() { finish(false); }
    bool running() const { return m_running; }

    platform::LRESULT WindowProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam) override;

private:
    void finish(bool accepted);

    controls::ucSkin* m_skin = nullptr;
    QWidget* m_panel = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QHBoxLayout* m_lastRow = nullptr;
    bool m_running = false;
    bool m_accepted = false;
};

} // namespace app
