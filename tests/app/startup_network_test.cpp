// Start-up on a bad network: whatever the directory server does, the four downloads end
// together by their deadline, the failed categories are named in the status line, and F5
// loads all four again once the server has recovered.
#include "app/directory_downloads.h"
#include "app_fixture.h"

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

enum class Trouble { Refuses, NeverAccepts, NeverAnswers, StallsMidBody, Trickles };

const char* nameOf(Trouble t) {
    switch (t) {
    case Trouble::Refuses: return "Refuses";
    case Trouble::NeverAccepts: return "NeverAccepts";
    case Trouble::NeverAnswers: return "NeverAnswers";
    case Trouble::StallsMidBody: return "StallsMidBody";
    case Trouble::Trickles: return "Trickles";
    }
    return "";
}

// How gtest names a parameter in its messages.
[[maybe_unused]] void PrintTo(Trouble t, std::ostream* os) { *os << nameOf(t); }

// A listening socket whose accept queue is full: the kernel drops further connection
// requests, so a client waits in connect() until it gives up.
class FullAcceptQueue {
public:
    FullAcceptQueue() {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        EXPECT_EQ(::listen(m_listen, 0), 0);
        socklen_t len = sizeof addr;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        // A backlog of 0 holds one established connection; the second is never completed.
        for (int i = 0; i < 2; ++i) {
            const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
            m_fillers.push_back(fd);
        }
    }
    ~FullAcceptQueue() {
        for (int fd : m_fillers) ::close(fd);
        ::close(m_listen);
    }
    uint16_t port() const { return m_port; }

private:
    int m_listen = -1;
    uint16_t m_port = 0;
    std::vector<int> m_fillers;
};

// The good directory of the recovered server: one channel per category.
std::string goodPage(const std::string& blogId) {
    static const std::map<std::string, std::string> pages = {
        {app::config::kPostIds[0], "监控{<br/>门口#http://c/1<br/>}监控"},
        {app::config::kPostIds[1], "音乐{<br/>一#http://m/1<br/>}音乐"},
        {app::config::kPostIds[2], "电视{<br/>一台#http://t/1<br/>}电视"},
        {app::config::kPostIds[3], "电台{<br/>新闻#http://r/1<br/>}电台"},
    };
    const auto it = pages.find(blogId);
    return it == pages.end() ? std::string() : it->second;
}

// A directory server in trouble until recover() is called.
class TroubledServer {
public:
    explicit TroubledServer(Trouble trouble)
        : m_trouble(trouble), m_server([this](tbtest::HttpExchange& ex) { serve(ex); }) {}

    QString host() const {
        switch (m_trouble) {
        case Trouble::Refuses: return QStringLiteral("127.0.0.1:1");
        case Trouble::NeverAccepts: return QStringLiteral("127.0.0.1:%1").arg(m_queue.port());
        default: return QStringLiteral("127.0.0.1:%1").arg(m_server.port());
        }
    }
    void recover() { m_recovered = true; }

private:
    void serve(tbtest::HttpExchange& ex) {
        if (m_recovered) {
            const tbtest::SeenRequest seen{ex.target, {}};
            ex.respond(200, "text/html; charset=utf-8", goodPage(seen.blogId()));
            return;
        }
        switch (m_trouble) {
        case Trouble::StallsMidBody:
            if (!ex.send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 5000\r\n\r\n<p>电视{<br/>"))
                return;
            ex.stall();
            return;
        case Trouble::Trickles:
            // One byte every two seconds keeps the connection from ever looking stalled.
            if (!ex.send("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 5000\r\n\r\n")) return;
            while (ex.pause(2s) && ex.send("<")) {}
            return;
        default: ex.stall(); return;
        }
    }

    Trouble m_trouble;
    std::atomic<bool> m_recovered{false};
    FullAcceptQueue m_queue;
    tbtest::LocalHttpServer m_server;
};

class BadNetwork : public ::testing::TestWithParam<Trouble> {};

} // namespace

// The window comes up with four empty lists and the status line naming the four failed
// categories, whatever the server does; the test ends only because every download was
// abandoned at the shared deadline (the trickling server would go on for hours).
TEST_P(BadNetwork, StartUpEndsWithEveryCategoryNamedAsFailed) {
    TroubledServer server(GetParam());
    auto frm = tbtest::loadedMainWindow(app::DirectoryConfig::forHost(server.host()));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(P::list(*frm, i)->ListCount(), 0) << i;
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("下载失败：监控、音乐、电视、电台，按F5重试"));
    EXPECT_NE(P::noticeWindow(*frm), nullptr) << "start-up went on to the notice window";
}

INSTANTIATE_TEST_SUITE_P(Servers, BadNetwork,
                         ::testing::Values(Trouble::Refuses, Trouble::NeverAccepts, Trouble::NeverAnswers,
                                           Trouble::StallsMidBody, Trouble::Trickles),
                         [](const auto& info) { return std::string(nameOf(info.param)); });

// F5 after the server has recovered empties the lists and loads all four again; the status
// line gives up the failure message. The window keeps running its events meanwhile.
TEST(BadNetworkRecovery, F5LoadsAllFourOnceTheServerRecovers) {
    TroubledServer server(Trouble::NeverAnswers);
    auto frm = tbtest::loadedMainWindow(app::DirectoryConfig::forHost(server.host()));
    ASSERT_TRUE(P::ui(*frm).Label1->Caption().startsWith(QStringLiteral("下载失败")));
    server.recover();
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    QTest::keyClick(frm.get(), Qt::Key_F5);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            for (int i = 0; i < 4; ++i) {
                if (P::list(*frm, i)->ListCount() != 1) return false;
            }
            return true;
        },
        app::DirectoryDownloads::kDeadlineMs + 5000));
    EXPECT_EQ(P::list(*frm, 2)->Title(0), QStringLiteral("一台"));
    EXPECT_EQ(P::ui(*frm).Label1->Caption(), QStringLiteral("Tips"));
    // A second F5 empties the lists before it fills them again: nothing is added twice.
    frm->ReloadDirectories();
    EXPECT_EQ(P::list(*frm, 0)->ListCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return P::list(*frm, 3)->ListCount() == 1; }, 15000));
    EXPECT_EQ(P::list(*frm, 0)->ListCount(), 1);
}
