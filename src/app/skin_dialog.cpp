#include "app/skin_dialog.h"

#include "controls/chrome/uc_skin.h"
#include "platform/forms/property_bag.h"
#include "platform/window/window_functions.h"

#include <QCheckBox>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

using namespace platform;

namespace {

// The lists' colours: panel RGB(35, 35, 36), text RGB(149, 149, 150), rows RGB(30, 30, 31),
// the selection RGB(64, 72, 50) and the playing green RGB(83, 183, 2).
const char* kPanelStyle = R"(
QWidget#panel { background: #232324; }
QLabel { color: #959596; }
QLabel a { color: #53b702; }
QLineEdit { background: #1e1e1f; color: #dcdcdc; border: 1px solid #3c3c3e; padding: 3px 4px;
            selection-background-color: #404832; }
QLineEdit:focus { border-color: #53b702; }
QCheckBox { color: #959596; }
QCheckBox::indicator { width: 12px; height: 12px; border: 1px solid #5a5a5c; background: #1e1e1f; }
QCheckBox::indicator:checked { background: #53b702; border-color: #53b702; }
QPushButton { background: #2d2d2e; color: #dcdcdc; border: 1px solid #3c3c3e; padding: 4px 14px;
              min-width: 48px; }
QPushButton:hover { border-color: #53b702; }
QPushButton:pressed, QPushButton:default { background: #404832; }
)";

} // namespace

SkinDialog::SkinDialog(const QString& caption, int width)
    : Window(nullptr, QStringLiteral("TianboDialog"), WS_POPUP | WS_CAPTION | WS_SYSMENU) {
    setText(caption);
    setBackColor(0x242323);
    resize(width, 160);
    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("panel"));
    m_panel->setAttribute(Qt::WA_StyledBackground);
    m_panel->setStyleSheet(QString::fromLatin1(kPanelStyle));
    m_layout = new QVBoxLayout(m_panel);
    m_layout->setContentsMargins(14, 12, 14, 12);
    m_layout->setSpacing(9);
    m_skin = new controls::ucSkin(this);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("DrawIcon"), false);
    bag.WriteProperty(QStringLiteral("DrawBorder"), true);
    m_skin->ReadProperties(bag);
}

SkinDialog::~SkinDialog() = default;

QLabel* SkinDialog::addText(const QString& text) {
    auto* label = new QLabel(text, m_panel);
    label->setWordWrap(true);
    label->setTextFormat(Qt::AutoText);
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    m_layout->addWidget(label);
    return label;
}

QLineEdit* SkinDialog::addField(const QString& text) {
    m_lastRow = new QHBoxLayout;
    auto* field = new QLineEdit(text, m_panel);
    connect(field, &QLineEdit::returnPressed, this, &SkinDialog::accept);
    m_lastRow->addWidget(field, 1);
    m_layout->addLayout(m_lastRow);
    return field;
}

QPushButton* SkinDialog::addFieldButton(const QString& text, std::function<void()> action) {
    auto* button = new QPushButton(text, m_panel);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [action = std::move(action)] { action(); });
    if (m_lastRow) m_lastRow->addWidget(button);
    else m_layout->addWidget(button);
    return button;
}

QCheckBox* SkinDialog::addCheckBox(const QString& text, bool checked) {
    auto* box = new QCheckBox(text, m_panel);
    box->setChecked(checked);
    m_layout->addWidget(box);
    return box;
}

void SkinDialog::addButtons(bool withCancel) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("确定"), m_panel);
    ok->setObjectName(QStringLiteral("ok"));
    connect(ok, &QPushButton::clicked, this, &SkinDialog::accept);
    row->addWidget(ok);
    if (withCancel) {
        auto* cancel = new QPushButton(QStringLiteral("取消"), m_panel);
        cancel->setObjectName(QStringLiteral("cancel"));
        cancel->setAutoDefault(false);
        connect(cancel, &QPushButton::clicked, this, &SkinDialog::reject);
        row->addWidget(cancel);
    }
    m_layout->addSpacing(4);
    m_layout->addLayout(row);
}

bool SkinDialog::exec(QWidget* owner) {
    const int32_t L = controls::ucSkin::SizeLBorder(), T = controls::ucSkin::SizeCaption();
    const int32_t R = controls::ucSkin::SizeRBorder(), B = controls::ucSkin::SizeBottom();
    m_panel->setFixedWidth(width() - L - R);
    const int32_t panelHeight = m_panel->layout()->heightForWidth(m_panel->width()) > 0
                                    ? m_panel->layout()->heightForWidth(m_panel->width())
                                    : m_panel->sizeHint().height();
    m_panel->setGeometry(L, T, width() - L - R, panelHeight);
    resize(width(), T + panelHeight + B);
    if (owner) {
        const QRect o = owner->geometry();
        move(o.x() + (o.width() - width()) / 2, o.y() + (o.height() - height()) / 3);
    }
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (auto* field = m_panel->findChild<QLineEdit*>()) {
        field->setFocus();
        field->selectAll();
    } else if (auto* ok = m_panel->findChild<QPushButton*>(QStringLiteral("ok"))) {
        ok->setFocus();
    }
    m_running = true;
    m_accepted = false;
    QEventLoop loop;
    QPointer<SkinDialog> self(this);
    while (self && m_running) loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (!self) return false;
    hide();
    return m_accepted;
}

void SkinDialog::finish(bool accepted) {
    m_accepted = accepted;
    m_running = false;
}

LRESULT SkinDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE: reject(); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) reject();
        else if (wParam == VK_RETURN) accept();
        return 0;
    default: return Window::WindowProc(msg, wParam, lParam);
    }
}

} // namespace app
