#include "x_session.h"

#include <QElapsedTimer>
#include <QThread>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace desktop {

namespace {

template <class T> struct FreeDeleter {
    void operator()(T* p) const { std::free(p); }
};
template <class T> using Reply = std::unique_ptr<T, FreeDeleter<T>>;

// Starts Xvfb and reads the display number it picked (-displayfd), so parallel tests never
// ask for the same one.
pid_t startXvfb(const QSize& size, QString* display) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        fcntl(fds[1], F_SETFD, 0);
        const std::string fd = std::to_string(fds[1]);
        const std::string screen = std::to_string(size.width()) + "x" + std::to_string(size.height()) + "x24";
        const int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        // A black root (-br): pixels outside a shaped window are plain, not the default weave.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-br", "-noreset", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 20000) > 0) {
        char c;
        if (read(fds[0], &c, 1) != 1 || c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        return -1;
    }
    *display = QStringLiteral(":") + QString::fromStdString(number);
    return pid;
}

} // namespace

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs) return false;
        QThread::msleep(20);
    }
    return true;
}

XServer::XServer(const Options& options) {
    m_pid = startXvfb(options.size, &m_display);
    if (m_pid < 0) return;
    m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
    if (xcb_connection_has_error(m_connection)) {
        xcb_disconnect(m_connection);
        m_connection = nullptr;
        return;
    }
    if (!options.monitors.empty()) {
        // The first screen takes over the server's own output; the others are added beside it.
        for (size_t i = 0; i < options.monitors.size(); ++i) {
            const QRect& m = options.monitors[i];
            // Physical sizes (millimetres) for 96 dots per inch.
            const QString geometry = QStringLiteral("%1/%2x%3/%4+%5+%6")
                                         .arg(m.width())
                                         .arg(m.width() * 254 / 960)
                                         .arg(m.height())
                                         .arg(m.height() * 254 / 960)
                                         .arg(m.x())
                                         .arg(m.y());
            tool(QStringLiteral("xrandr"), {QStringLiteral("--setmonitor"), QStringLiteral("S%1").arg(i), geometry,
                                            i == 0 ? QStringLiteral("screen") : QStringLiteral("none")});
        }
    }
}

XServer::~XServer() {
    if (m_connection) xcb_disconnect(m_connection);
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

QProcessEnvironment XServer::environment() const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
    return env;
}

QByteArray XServer::tool(const QString& program, const QStringList& args) const {
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    p.waitForFinished(20000);
    return p.readAllStandardOutput();
}

void XServer::pointerTo(QPoint p) const {
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())});
}
void XServer::press(int button) const { xdotool({QStringLiteral("mousedown"), QString::number(button)}); }
void XServer::release(int button) const { xdotool({QStringLiteral("mouseup"), QString::number(button)}); }
void XServer::key(const QString& keys) const {
    QStringList args{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60")};
    args += keys.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    xdotool(args);
}

XWindow XServer::root() const { return xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root; }

uint32_t XServer::atom(const char* name) const {
    const auto cookie = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(m_connection, cookie, nullptr));
    return r ? r->atom : 0;
}

QRect XServer::geometry(XWindow w) const {
    Reply<xcb_get_geometry_reply_t> g(xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, w), nullptr));
    if (!g) return {};
    Reply<xcb_translate_coordinates_reply_t> t(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, w, root(), 0, 0), nullptr));
    if (!t) return {};
    return QRect(t->dst_x, t->dst_y, g->width, g->height);
}

bool XServer::viewable(XWindow w) const {
    Reply<xcb_get_window_attributes_reply_t> a(
        xcb_get_window_attributes_reply(m_connection, xcb_get_window_attributes(m_connection, w), nullptr));
    return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
}

XWindow XServer::parentOf(XWindow w) const {
    Reply<xcb_query_tree_reply_t> t(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, w), nullptr));
    return t ? t->parent : 0;
}

std::vector<uint32_t> XServer::cardinals(XWindow w, const char* property) const {
    const auto cookie = xcb_get_property(m_connection, 0, w, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
    Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(m_connection, cookie, nullptr));
    if (!r || r->format != 32) return {};
    const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(r.get()));
    return std::vector<uint32_t>(v, v + xcb_get_property_value_length(r.get()) / 4);
}

QStringList XServer::atoms(XWindow w, const char* property) const {
    QStringList names;
    for (uint32_t a : cardinals(w, property)) {
        Reply<xcb_get_atom_name_reply_t> r(
            xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, a), nullptr));
        if (r) names << QString::fromLatin1(xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get()));
    }
    return names;
}

std::vector<XWindow> XServer::windows(XWindow w, const char* property) const { return cardinals(w, property); }

XWindow XServer::findByTitle(const QString& title) const {
    const QByteArray out =
        tool(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                         QStringLiteral("--name"), QStringLiteral("^%1$").arg(title)});
    const QList<QByteArray> ids = out.split('\n');
    return ids.isEmpty() ? 0 : ids.first().trimmed().toUInt();
}

void XServer::setWorkArea(const QRect& area) const {
    const uint32_t v[4] = {static_cast<uint32_t>(area.x()), static_cast<uint32_t>(area.y()),
                           static_cast<uint32_t>(area.width()), static_cast<uint32_t>(area.height())};
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, root(), atom("_NET_WORKAREA"), XCB_ATOM_CARDINAL, 32, 4,
                        v);
    xcb_flush(m_connection);
}

void XServer::requestWmState(XWindow w, bool add, const char* state1, const char* state2) const {
    xcb_client_message_event_t ev{};
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = w;
    ev.type = atom("_NET_WM_STATE");
    ev.data.data32[0] = add ? 1 : 0;
    ev.data.data32[1] = atom(state1);
    ev.data.data32[2] = state2 ? atom(state2) : 0;
    ev.data.data32[3] = 2; // a pager or task bar asks
    xcb_send_event(m_connection, 0, root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&ev));
    xcb_flush(m_connection);
}

QImage XServer::grab(const QRect& area) const {
    const auto cookie = xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, root(), static_cast<int16_t>(area.x()),
                                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                                      static_cast<uint16_t>(area.height()), ~0u);
    Reply<xcb_get_image_reply_t> r(xcb_get_image_reply(m_connection, cookie, nullptr));
    if (!r || r->depth != 24) return {};
    const QImage view(xcb_get_image_data(r.get()), area.width(), area.height(), area.width() * 4, QImage::Format_RGB32);
    return view.copy();
}

WindowManager::WindowManager(const XServer& x) {
    m_process.setProcessEnvironment(x.environment());
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    const XWindow root = x.root();
    m_ok = m_process.waitForStarted(10000) && waitUntil([&] {
               const auto check = x.windows(root, "_NET_SUPPORTING_WM_CHECK");
               return !check.empty() && !x.cardinals(root, "_NET_WORKAREA").empty();
           });
}

WindowManager::~WindowManager() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) m_process.kill();
    m_process.waitForFinished(5000);
}

Client::Client(const XServer& x, const QString& program, const QStringList& extraEnvironment) {
    QProcessEnvironment env = x.environment();
    for (const QString& kv : extraEnvironment) {
        const qsizetype eq = kv.indexOf(QLatin1Char('='));
        env.insert(kv.left(eq), kv.mid(eq + 1));
    }
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, {});
    m_process.waitForStarted(10000);
}

Client::~Client() {
    if (m_process.state() == QProcess::Running) {
        m_process.terminate();
        if (!m_process.waitForFinished(5000)) m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString Client::readLine(int timeoutMs) {
    QElapsedTimer t;
    t.start();
    while (!m_process.canReadLine()) {
        if (m_process.state() != QProcess::Running || t.elapsed() > timeoutMs) return {};
        m_process.waitForReadyRead(100);
    }
    return QString::fromUtf8(m_process.readLine()).trimmed();
}

QString Client::firstLine(int timeoutMs) { return readLine(timeoutMs); }

QString Client::ask(const QString& command, int timeoutMs) {
    m_process.write(command.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
    return readLine(timeoutMs);
}

State::State(const QString& line) {
    for (const QString& part : line.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype eq = part.indexOf(QLatin1Char('='));
        if (eq > 0) m_pairs.emplace_back(part.left(eq), part.mid(eq + 1));
    }
}

QString State::operator[](const QString& key) const {
    for (const auto& [k, v] : m_pairs) {
        if (k == key) return v;
    }
    return {};
}

std::vector<int> State::numbers(const QString& key) const {
    std::vector<int> out;
    for (const QString& n : (*this)[key].split(QLatin1Char(','))) out.push_back(n.toInt());
    return out;
}

QRect State::clientRect() const {
    const auto n = numbers(QStringLiteral("client"));
    return n.size() == 4 ? QRect(n[0], n[1], n[2], n[3]) : QRect();
}

QRect State::windowRect() const {
    const auto n = numbers(QStringLiteral("window"));
    return n.size() == 4 ? QRect(QPoint(n[0], n[1]), QPoint(n[2] - 1, n[3] - 1)) : QRect();
}

} // namespace desktop
