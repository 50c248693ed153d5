#pragma once
// The player's main window against a directory server of the test's own: the pages it
// serves per post id, and every request it saw, in order.

#include "app/directory_request.h"
#include "app/frm_main.h"
#include "app/test_peer.h"
#include "platform/http/local_http_server.h"
#include "platform/window/window_functions.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>

namespace tbtest {

struct SeenRequest {
    std::string target;
    std::string referer;
    std::string blogId() const {
        const auto at = target.find("blogid=");
        if (at == std::string::npos) return {};
        const auto end = target.find('&', at);
        return target.substr(at + 7, end == std::string::npos ? std::string::npos : end - at - 7);
    }
};

class DirectoryServer {
public:
    DirectoryServer()
        : m_server([this](HttpExchange& ex) {
              SeenRequest seen{ex.target, ex.header("Referer")};
              std::string page;
              size_t hold = 0;
              {
                  std::lock_guard lock(m_mutex);
                  m_seen.push_back(seen);
                  auto it = m_pages.find(seen.blogId());
                  if (it != m_pages.end()) page = it->second;
                  hold = m_hold;
              }
              // Held requests wait for the others; the later post ids then answer first.
              if (hold > 0) {
                  while (seenCount() < hold && ex.pause(std::chrono::milliseconds(10))) {}
                  const int late = 4 - (std::atoi(seen.blogId().c_str()) % 10);
                  if (!ex.pause(std::chrono::milliseconds(60 * std::max(0, late)))) return;
              }
              ex.respond(200, "text/html; charset=utf-8", page);
          }) {}

    // The player's configuration pointed at this server.
    app::DirectoryConfig config() const {
        return app::DirectoryConfig::forHost(QStringLiteral("127.0.0.1:%1").arg(m_server.port()));
    }

    void setPage(const std::string& blogId, const QString& html) {
        std::lock_guard lock(m_mutex);
        m_pages[blogId] = html.toStdString();
    }
    std::vector<SeenRequest> seen() const {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }
    size_t seenCount() const {
        std::lock_guard lock(m_mutex);
        return m_seen.size();
    }
    // Answers no request before `count` requests have arrived.
    void holdUntilSeen(size_t count) {
        std::lock_guard lock(m_mutex);
        m_hold = count;
    }

private:
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_pages;
    std::vector<SeenRequest> m_seen;
    size_t m_hold = 0;
    LocalHttpServer m_server;
};

// A shown main window after its load step, with `config`.
inline std::unique_ptr<app::FrmMain> loadedMainWindow(const app::DirectoryConfig& config) {
    auto frm = std::make_unique<app::FrmMain>(config);
    frm->move(100, 80);
    frm->Form_Load();
    frm->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    platform::pumpFor(50);
    return frm;
}

// Whether this process runs on an X server of its own (started by runOnPrivateDisplay).
inline bool onPrivateDisplay() { return qEnvironmentVariableIsSet("TIANBO_PRIVATE_DISPLAY"); }

// Runs the tests matching `filter` of this program on an X server of its own and returns
// their exit code. Tests that change the root window's properties or move the real pointer
// go there, so they cannot disturb the tests that run beside them on the shared display.
inline int runOnPrivateDisplay(const QString& filter) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TIANBO_PRIVATE_DISPLAY"), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("xvfb-run"),
                {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 1280x1024x24 -noreset"),
                 QCoreApplication::applicationFilePath(), QStringLiteral("--gtest_filter=") + filter});
    if (!child.waitForFinished(180000)) return -1;
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

// Runs a tool to its end while this program's events go on, and returns what it printed.
inline QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    (void)QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace tbtest

// The tests' window onto the player's windows.
using P = app::TestPeer;
