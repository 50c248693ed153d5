#include "app/form1.h"

#include "app/config.h"
#include "imaging/skin_catalogue.h"
#include "platform/forms/form_file.h"
#include "platform/forms/number_rules.h"
#include "platform/gdi/icon.h"
#include "platform/window/window_functions.h"

#include <QFile>
#include <cmath>

namespace app {

using namespace platform;

Form1::Form1() : Window(nullptr, QStringLiteral("TianboNotice"), WS_POPUP | WS_CAPTION | WS_SYSMENU) {
    setObjectName(QStringLiteral("Form1"));
    QFile file(QStringLiteral(":/forms/form1.json"));
    std::optional<FormControl> form;
    if (file.open(QIODevice::ReadOnly)) form = ReadFormFile(file.readAll(), imaging::ResolveFormPicture);
    resize(form ? form->width : 358, form ? form->height : 237);
    setBackColor(0);
    setText(QStringLiteral("温馨提示"));
    // The notice is not a window of its own in the task bar.
    setWindowFlag(Qt::Tool, true);
    if (!form) return;
    for (const FormControl& c : form->controls) {
        if (c.type == QStringLiteral("WebBrowser")) {
            m_webBrowser = new WebView(this);
            m_webBrowser->setObjectName(c.name);
            m_webBrowser->setGeometry(c.left, c.top, c.width, c.height);
        } else if (c.type == QStringLiteral("Timer")) {
            m_timer1 = new Timer(this, c.properties.ReadInt(QStringLiteral("Interval"), 10),
                                 c.properties.ReadBool(QStringLiteral("Enabled"), false));
            m_timer1->setObjectName(c.name);
        } else if (c.type == QStringLiteral("ucSkin")) {
            m_skin = new controls::ucSkin(this, c.name);
            m_skin->setGeometry(c.left, c.top, c.width, c.height);
            m_skin->ReadProperties(c.properties);
        }
    }
    if (m_timer1) connect(m_timer1, &Timer::Tick, this, &Form1::Timer1_Timer);
    if (m_webBrowser) connect(m_webBrowser, &WebView::DocumentComplete, this, &Form1::WebBrowser1_DocumentComplete);
}

Form1::~Form1() {
    if (m_icon) DestroyIcon(m_icon);
}

int32_t Form1::WidthTwips() const { return windowRect().width() * kTwipsPerPixel; }
int32_t Form1::HeightTwips() const { return windowRect().height() * kTwipsPerPixel; }
int32_t Form1::screenWidthTwips() const { return GetSystemMetrics(SM_CXSCREEN) * kTwipsPerPixel; }
int32_t Form1::screenHeightTwips() const { return GetSystemMetrics(SM_CYSCREEN) * kTwipsPerPixel; }

void Form1::placeFromTwips() {
    const RECT wr = windowRect();
    const int32_t x = R(m_leftTwips / static_cast<double>(kTwipsPerPixel));
    const int32_t y = R(m_topTwips / static_cast<double>(kTwipsPerPixel));
    SetWindowPos(this, nullptr, x, y, wr.width(), wr.height(), SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form1::setTopTwips(int32_t top) {
    m_topTwips = top;
    placeFromTwips();
}

void Form1::Form_Load() {
    m_leftTwips = screenWidthTwips() - WidthTwips();
    m_topTwips = screenHeightTwips();
    placeFromTwips();
    setText(QStringLiteral("温馨提示"));
    const Picture icon = imaging::LoadAppIcon();
    if (!icon.isNothing() && !m_icon) {
        m_icon = icon.CreateIcon();
        SendMessage(this, WM_SETICON, 0, reinterpret_cast<LPARAM>(m_icon));
    }
    if (m_timer1) {
        m_timer1->setInterval(10);
        m_timer1->setEnabled(true);
    }
    if (m_webBrowser) m_webBrowser->Navigate(QString::fromUtf8(config::kNoticeUrl));
}

void Form1::Timer1_Timer() {
    if (m_topTwips > screenHeightTwips() - HeightTwips()) setTopTwips(m_topTwips - 50);
}

void Form1::WebBrowser1_DocumentComplete(const QString&) {
    if (m_webBrowser) m_webBrowser->setSilent(true);
}

} // namespace app
