#pragma once
// The player's main window against a directory server of the test's own: the pages it
// serves per post id, and every request it saw, in order.

#include "app/directory_request.h"
#include "app/frm_main.h"
#include "app/test_peer.h"
#include "platform/http/local_http_server.h"
#include "platform/window/window_functions.h"

#include <QSignalSpy>
#include <QTest>
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
              {
                  std::lock_guard lock(m_mutex);
                  m_seen.push_back(seen);
                  auto it = m_pages.find(seen.blogId());
                  if (it != m_pages.end()) page = it->second;
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

private:
    mutable std::mutex m_mutex;
    std::map<std::string, std::string> m_pages;
    std::vector<SeenRequest> m_seen;
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

} // namespace tbtest

// The tests' window onto the player's windows.
using P = app::TestPeer;
