#pragma once
// Directory servers in trouble, for the start-up tests and the start-up benchmark: one that
// refuses connections, one that never accepts them (its accept queue is full), one that
// accepts and never answers, one that stalls in the middle of a body and one that trickles a
// byte every two seconds. recover() turns the server into a good one.

#include "app/config.h"
#include "platform/http/local_http_server.h"

#include <QString>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <map>
#include <netinet/in.h>
#include <ostream>
#include <string>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace tbtest {

using namespace std::chrono_literals;

enum class Trouble { Refuses, NeverAccepts, NeverAnswers, StallsMidBody, Trickles };

inline const char* nameOf(Trouble t) {
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
inline void PrintTo(Trouble t, std::ostream* os) { *os << nameOf(t); }

// A listening socket whose accept queue is full: the kernel drops further connection
// requests, so a client waits in connect() until it gives up.
class FullAcceptQueue {
public:
    FullAcceptQueue() {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(m_listen, 0);
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
inline std::string goodPage(const std::string& blogId) {
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
    explicit TroubledServer(Trouble trouble) : m_trouble(trouble), m_server([this](HttpExchange& ex) { serve(ex); }) {}

    QString host() const {
        switch (m_trouble) {
        case Trouble::Refuses: return QStringLiteral("127.0.0.1:1");
        case Trouble::NeverAccepts: return QStringLiteral("127.0.0.1:%1").arg(m_queue.port());
        default: return QStringLiteral("127.0.0.1:%1").arg(m_server.port());
        }
    }
    void recover() { m_recovered = true; }

private:
    void serve(HttpExchange& ex) {
        if (m_recovered) {
            const auto at = ex.target.find("blogid=");
            const std::string blogId =
                at == std::string::npos ? std::string() : ex.target.substr(at + 7, ex.target.find('&', at) - at - 7);
            ex.respond(200, "text/html; charset=utf-8", goodPage(blogId));
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
    LocalHttpServer m_server;
};

} // namespace tbtest
