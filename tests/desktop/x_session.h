#pragma once
// The pieces of a desktop the desktop tests build for themselves: an Xvfb server of their own
// (optionally with two screens side by side and a reserved strip), a window manager on it,
// programs started on it, input through the X server (xdotool) and questions answered by the
// X server alone (window geometry, properties, pixels).

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

struct xcb_connection_t;

namespace desktop {

using XWindow = uint32_t;

// Polls `done` until it holds or `timeoutMs` pass; what a test waits for, never what it times.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 8000);

class XServer {
public:
    struct Options {
        QSize size{1280, 1024};
        // Screens side by side on the one X screen (RandR monitors); none for one screen.
        std::vector<QRect> monitors;
    };
    explicit XServer(const Options& options);
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    bool ok() const { return m_connection != nullptr; }
    QString display() const { return m_display; }
    QProcessEnvironment environment() const;

    // Runs an X client tool (xdotool, xrandr ...) on this display to its end; its output.
    QByteArray tool(const QString& program, const QStringList& args) const;
    void xdotool(const QStringList& args) const { tool(QStringLiteral("xdotool"), args); }
    // The pointer (screen pixels), through the X server.
    void pointerTo(QPoint p) const;
    void press(int button = 1) const;
    void release(int button = 1) const;
    void key(const QString& keys) const;

    XWindow root() const;
    // A window's area on the screen; empty when it is gone.
    QRect geometry(XWindow w) const;
    bool viewable(XWindow w) const;
    XWindow parentOf(XWindow w) const;
    // 32-bit properties of a window; atoms come back as their names.
    std::vector<uint32_t> cardinals(XWindow w, const char* property) const;
    QStringList atoms(XWindow w, const char* property) const;
    std::vector<XWindow> windows(XWindow w, const char* property) const;
    // The top-level window whose title is `title`, found through the tree; 0 for none.
    XWindow findByTitle(const QString& title) const;
    // Sets _NET_WORKAREA on the root window, as a window manager would.
    void setWorkArea(const QRect& area) const;
    // Asks the window manager to add or remove window states (_NET_WM_STATE_...).
    void requestWmState(XWindow w, bool add, const char* state1, const char* state2 = nullptr) const;
    // The screen's pixels in `area`.
    QImage grab(const QRect& area) const;

private:
    uint32_t atom(const char* name) const;

    pid_t m_pid = -1;
    QString m_display;
    QTemporaryDir m_runtime;
    xcb_connection_t* m_connection = nullptr;
};

// openbox on a server, ready once it has claimed the screen.
class WindowManager {
public:
    explicit WindowManager(const XServer& x);
    ~WindowManager();
    bool ok() const { return m_ok; }

private:
    QProcess m_process;
    bool m_ok = false;
};

// A program on the server that answers one line per command line (the probe), or just runs
// (the player).
class Client {
public:
    Client(const XServer& x, const QString& program, const QStringList& extraEnvironment = {});
    ~Client();
    // The first line the program wrote, waited for.
    QString firstLine(int timeoutMs = 60000);
    QString ask(const QString& command, int timeoutMs = 10000);
    bool running() const { return m_process.state() == QProcess::Running; }

private:
    QString readLine(int timeoutMs);
    QProcess m_process;
};

// Space-separated key=value pairs of a probe's state line.
class State {
public:
    explicit State(const QString& line);
    QString operator[](const QString& key) const;
    int number(const QString& key) const { return (*this)[key].toInt(); }
    // "l,t,r,b" or "x,y,w,h" as four numbers.
    std::vector<int> numbers(const QString& key) const;
    QRect clientRect() const;
    QRect windowRect() const;

private:
    std::vector<std::pair<QString, QString>> m_pairs;
};

} // namespace desktop
