// A test window tree for the desktop tests: a skinned, resizable, magnetic top-level window
// (caption buttons for minimise, maximise, close, menu and keep-on-top) holding a skinned
// button and a scrollbar, built from the same layers as the player. The tests drive it from
// outside through the X server and ask it, line by line on its standard input, what it
// believes: one reply line per command on its standard output.
//
//   state          the window's rectangles, show state, looks of its controls, open menus
//   events         the window's show-state messages since the last ask (and clears them)
//   dock E X Y W H a dock window (E = top or bottom) reserving that strip of the screen
//   show N         ShowWindow with command N
//   move X Y       places the window rectangle's top-left corner
//   quit
#include "controls/chrome/c_magnetic_wnd.h"
#include "controls/chrome/uc_button.h"
#include "controls/chrome/uc_skin.h"
#include "controls/list/scroll_bar.h"

#include "platform/forms/property_bag.h"
#include "platform/window/display_scaling.h"
#include "platform/window/screens.h"
#include "platform/window/window_functions.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QEvent>
#include <QSocketNotifier>
#include <QWindow>
#include <QWindowStateChangeEvent>
#include <QtGui/qguiapplication_platform.h>
#include <cstdio>
#include <unistd.h>
#include <xcb/xcb.h>

using namespace platform;

namespace {

const char* showName(ShowState s) {
    switch (s) {
    case ShowState::Normal: return "normal";
    case ShowState::Minimized: return "min";
    case ShowState::Maximized: return "max";
    }
    return "?";
}

QString rectText(const RECT& r) {
    return QStringLiteral("%1,%2,%3,%4").arg(r.left).arg(r.top).arg(r.right).arg(r.bottom);
}

// A fingerprint of a client rectangle of a window's retained image.
QString pixelsOf(Window* w, const RECT& r) {
    const QImage img = w->surface().memoryView().copy(r.left, r.top, r.width(), r.height());
    const QByteArray bytes(reinterpret_cast<const char*>(img.constBits()), static_cast<int>(img.sizeInBytes()));
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex().left(12));
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    auto* reply = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(strlen(name)), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return a;
}

// A dock as panels make them: an undecorated strip that reserves its edge of the screen.
void makeDock(bool top, int x, int y, int w, int h) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) return;
    xcb_connection_t* c = x11->connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t win = xcb_generate_id(c);
    const uint32_t values[] = {screen->black_pixel};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, win, screen->root, static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(w), static_cast<uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, values);
    const xcb_atom_t dock = atom(c, "_NET_WM_WINDOW_TYPE_DOCK");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32, 1, &dock);
    // left, right, top, bottom, then the extent of each along its edge.
    uint32_t strut[12] = {};
    const uint32_t x0 = static_cast<uint32_t>(x), x1 = static_cast<uint32_t>(x + w - 1);
    if (top) {
        strut[2] = static_cast<uint32_t>(y + h);
        strut[8] = x0;
        strut[9] = x1;
    } else {
        strut[3] = static_cast<uint32_t>(screen->height_in_pixels - y);
        strut[10] = x0;
        strut[11] = x1;
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, win, atom(c, "_NET_WM_STRUT_PARTIAL"), XCB_ATOM_CARDINAL, 32, 12,
                        strut);
    xcb_map_window(c, win);
    xcb_flush(c);
}

class Probe : public QObject {
public:
    Probe() {
        m_main = new Window(nullptr, QStringLiteral("DesktopProbe"), WS_OVERLAPPEDWINDOW);
        m_main->setText(QStringLiteral("tianbo-probe"));
        m_main->resize(400, 300);
        m_main->setBackColor(0x303030);
        m_main->clearSurface();
        m_skin = new controls::ucSkin(m_main, QStringLiteral("ucSkin1"));
        m_skin->setGeometry(0, 0, 400, 300);
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("MenuButton"), true);
        bag.WriteProperty(QStringLiteral("TopMostButton"), true);
        m_skin->ReadProperties(bag);
        m_button = new controls::ucButton(m_main, QStringLiteral("Button1"));
        m_button->setGeometry(40, 60, 80, 24);
        PropertyBag buttonBag;
        buttonBag.WriteProperty(QStringLiteral("DefaultStyle"), true);
        buttonBag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("按钮"));
        m_button->ReadProperties(buttonBag);
        connect(m_button, &controls::ucButton::Click, this, [this] { ++m_clicks; });
        m_bar = new controls::UcScrollBar(m_main);
        m_bar->setGeometry(340, 40, 17, 200);
        m_bar->ReadProperties(PropertyBag());
        m_magnetic.AddWindow(m_main);
        // The show-state messages the window's procedures see, for the tests to read.
        m_main->setProcedure(makeProcedure([this, previous = m_main->procedure()](HWND h, UINT m, WPARAM w, LPARAM l) {
            if (m == WM_SIZE) m_events << QStringLiteral("size:%1").arg(w);
            if (m == WM_MOVE) m_events << QStringLiteral("move:%1,%2").arg(GET_X_LPARAM(l)).arg(GET_Y_LPARAM(l));
            if (m == WM_MOVE) m_events << QStringLiteral("move:%1,%2").arg(GET_X_LPARAM(l)).arg(GET_Y_LPARAM(l));
            if (m == WM_SYSCOMMAND) m_events << QStringLiteral("syscommand:%1").arg(w, 0, 16);
            if (m == WM_ENTERSIZEMOVE) m_events << QStringLiteral("entersizemove");
            if (m == WM_EXITSIZEMOVE) m_events << QStringLiteral("exitsizemove");
            return CallWindowProc(previous, h, m, w, l);
        }));
        m_main->installEventFilter(this);
        SetWindowPos(m_main, nullptr, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_main->show();
    }

    QWindow* handle() const { return m_main->windowHandle(); }

    // The desktop's own state changes as Qt reports them, for the record.
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::WindowStateChange) {
            const auto* ev = static_cast<QWindowStateChangeEvent*>(e);
            m_events << QStringLiteral("qt:%1>%2%3")
                            .arg(int(ev->oldState()))
                            .arg(int(m_main->windowState()))
                            .arg(e->spontaneous() ? QStringLiteral("!") : QString());
        }
        return false;
    }

    // The first line: the window's X id, once it is on the screen; commands are read after it.
    void announce() {
        reply(QStringLiteral("ready %1").arg(m_main->winId()));
        m_input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
        connect(m_input, &QSocketNotifier::activated, this, &Probe::readCommands);
    }

private:
    void reply(const QString& line) {
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fflush(stdout);
    }

    void readCommands() {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            QCoreApplication::exit(0);
            return;
        }
        m_pending.append(buffer, static_cast<int>(n));
        qsizetype eol;
        while ((eol = m_pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(m_pending.left(eol)).trimmed();
            m_pending.remove(0, eol + 1);
            run(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        }
    }

    // The open menu's popup window, if any.
    static Window* openMenu() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* win = qobject_cast<Window*>(w);
            if (win && IsWindow(win) && win->className() == QLatin1String("#32768") && win->isVisible()) return win;
        }
        return nullptr;
    }

    QString state() const {
        QStringList s;
        s << QStringLiteral("window=") + rectText(m_main->windowRect());
        const QRect g = m_main->geometry();
        s << QStringLiteral("client=%1,%2,%3,%4").arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height());
        s << QStringLiteral("show=") + QLatin1String(showName(m_main->showState()));
        s << QStringLiteral("exposed=%1").arg(m_main->windowHandle() && m_main->windowHandle()->isExposed() ? 1 : 0);
        s << QStringLiteral("normal=") + rectText(m_main->normalRect());
        s << QStringLiteral("work=") + rectText(WorkAreaOf(m_main));
        s << QStringLiteral("button=%1").arg(static_cast<int>(m_button->ButtonState()));
        QStringList caption;
        for (int i = 0; i < 5; ++i) caption << QString::number(static_cast<int>(m_skin->ButtonState(i)));
        s << QStringLiteral("caption=") + caption.join(QLatin1Char(','));
        // The maximise button's glyph: its pixels in the frame's image.
        const POINT p = m_skin->Zones().buttonPos(controls::ucSkin::MaxButton);
        s << QStringLiteral("maxglyph=") + pixelsOf(m_skin, RECT{p.x, p.y, p.x + 11, p.y + 11});
        s << QStringLiteral("maxtip=") + m_skin->ButtonToolTip(controls::ucSkin::MaxButton);
        s << QStringLiteral("topmost=%1").arg(m_skin->KeepOnTop() ? 1 : 0);
        s << QStringLiteral("barover=%1").arg(m_bar->mouseOver() ? 1 : 0);
        using Part = controls::UcScrollBar::Part;
        s << QStringLiteral("bararrow=") + pixelsOf(m_bar, m_bar->partRect(Part::Arrow2));
        Window* menu = openMenu();
        s << QStringLiteral("menu=%1").arg(menu ? 1 : 0);
        if (menu) s << QStringLiteral("menurect=") + rectText(menu->windowRect());
        s << QStringLiteral("clicks=%1").arg(m_clicks);
        s << QStringLiteral("dpr=%1").arg(m_main->devicePixelRatioF());
        POINT cursor;
        GetCursorPos(&cursor);
        s << QStringLiteral("cursor=%1,%2").arg(cursor.x).arg(cursor.y);
        return s.join(QLatin1Char(' '));
    }

    void run(const QStringList& args) {
        if (args.isEmpty()) return;
        const QString& cmd = args[0];
        const auto num = [&](int i) { return i < args.size() ? args[i].toInt() : 0; };
        if (cmd == QLatin1String("state")) {
            reply(state());
        } else if (cmd == QLatin1String("events")) {
            reply(m_events.join(QLatin1Char(' ')));
            m_events.clear();
        } else if (cmd == QLatin1String("dock")) {
            makeDock(args.value(1) == QLatin1String("top"), num(2), num(3), num(4), num(5));
            reply(QStringLiteral("ok"));
        } else if (cmd == QLatin1String("show")) {
            // Answered first: a command may open a loop of its own (a menu) before it returns.
            reply(QStringLiteral("ok"));
            ShowWindow(m_main, num(1));
        } else if (cmd == QLatin1String("move")) {
            SetWindowPos(m_main, nullptr, num(1), num(2), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            reply(QStringLiteral("ok"));
        } else if (cmd == QLatin1String("quit")) {
            reply(QStringLiteral("ok"));
            QCoreApplication::exit(0);
        } else {
            reply(QStringLiteral("unknown ") + cmd);
        }
    }

    Window* m_main = nullptr;
    controls::ucSkin* m_skin = nullptr;
    controls::ucButton* m_button = nullptr;
    controls::UcScrollBar* m_bar = nullptr;
    controls::cMagneticWnd m_magnetic;
    QSocketNotifier* m_input = nullptr;
    QByteArray m_pending;
    QStringList m_events;
    int m_clicks = 0;
};

} // namespace

int main(int argc, char** argv) {
    // The windows are placed by the program itself, which the X11 platform allows.
    qputenv("QT_QPA_PLATFORM", "xcb");
    prepareDisplayScaling();
    QApplication app(argc, argv);
    Probe probe;
    while (probe.handle() && !probe.handle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    probe.announce();
    return app.exec();
}
