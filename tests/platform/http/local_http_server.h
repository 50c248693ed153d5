#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for tests: one thread per connection, one request per
// connection, and a handler that writes whatever bytes it likes, at whatever pace, so a test
// can stall, drop or stream as a real server might.

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <string_view>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tbtest {

inline std::string lowerCase(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

class HttpExchange {
public:
    HttpExchange(int fd, const std::atomic<bool>& stopping) : m_fd(fd), m_stopping(stopping) {}

    std::string method, target, version, body;
    std::vector<std::pair<std::string, std::string>> headers;

    std::string header(std::string_view name) const {
        const std::string key = lowerCase(name);
        for (const auto& [n, v] : headers) {
            if (lowerCase(n) == key) return v;
        }
        return {};
    }

    // Writes bytes; false once the peer has gone or the server is stopping.
    bool send(std::string_view bytes) {
        while (!bytes.empty()) {
            if (m_stopping) return false;
            const ssize_t n = ::send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n <= 0) return false;
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    // A complete response that closes the connection. `extra` holds more header lines,
    // each ending in CR LF.
    bool respond(int status, std::string_view contentType, std::string_view content, std::string_view extra = {}) {
        std::string head = "HTTP/1.1 " + std::to_string(status) + " Status\r\n";
        if (!contentType.empty()) head += "Content-Type: " + std::string(contentType) + "\r\n";
        head += "Content-Length: " + std::to_string(content.size()) + "\r\n";
        head += std::string(extra) + "Connection: close\r\n\r\n";
        return send(head) && send(content);
    }

    // Sleeps; false when the server began stopping meanwhile.
    bool pause(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end) {
            if (m_stopping) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return !m_stopping;
    }

    // Holds the connection open and silent until the server stops.
    void stall() {
        while (pause(std::chrono::milliseconds(100))) {}
    }

private:
    int m_fd;
    const std::atomic<bool>& m_stopping;
};

class LocalHttpServer {
public:
    using Handler = std::function<void(HttpExchange&)>;

    explicit LocalHttpServer(Handler handler) : m_handler(std::move(handler)) {
        m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (m_listenFd < 0) throw std::runtime_error("socket");
        int one = 1;
        ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        if (::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(m_listenFd, 16) != 0) {
            ::close(m_listenFd);
            throw std::runtime_error("bind/listen");
        }
        socklen_t len = sizeof addr;
        ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len);
        m_port = ntohs(addr.sin_port);
        m_acceptor = std::thread([this] { acceptLoop(); });
    }

    ~LocalHttpServer() {
        m_stopping = true;
        m_acceptor.join();
        ::close(m_listenFd);
        std::lock_guard lock(m_mutex);
        for (Connection& c : m_connections) {
            ::shutdown(c.fd, SHUT_RDWR);
            c.thread.join();
            ::close(c.fd);
        }
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    uint16_t port() const { return m_port; }
    std::string url(std::string_view pathAndQuery) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + std::string(pathAndQuery);
    }
    int connectionCount() const { return m_connectionCount; }

private:
    struct Connection {
        int fd;
        std::thread thread;
    };

    void acceptLoop() {
        while (!m_stopping) {
            pollfd p{m_listenFd, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0) continue;
            const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0) continue;
            ++m_connectionCount;
            std::lock_guard lock(m_mutex);
            m_connections.push_back({fd, std::thread([this, fd] { serve(fd); })});
        }
    }

    void serve(int fd) {
        HttpExchange exchange(fd, m_stopping);
        if (!readRequest(fd, exchange)) return;
        m_handler(exchange);
        ::shutdown(fd, SHUT_WR);
    }

    static bool readRequest(int fd, HttpExchange& ex) {
        std::string data;
        char buf[4096];
        size_t headEnd;
        while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0 || data.size() > 1 << 20) return false;
            data.append(buf, static_cast<size_t>(n));
        }
        const std::string head = data.substr(0, headEnd);
        ex.body = data.substr(headEnd + 4);
        size_t lineEnd = head.find("\r\n");
        const std::string requestLine = head.substr(0, lineEnd);
        const size_t s1 = requestLine.find(' ');
        const size_t s2 = requestLine.rfind(' ');
        if (s1 == std::string::npos || s2 == s1) return false;
        ex.method = requestLine.substr(0, s1);
        ex.target = requestLine.substr(s1 + 1, s2 - s1 - 1);
        ex.version = requestLine.substr(s2 + 1);
        while (lineEnd != std::string::npos) {
            const size_t start = lineEnd + 2;
            lineEnd = head.find("\r\n", start);
            const std::string line =
                head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
            const size_t colon = line.find(':');
            if (colon == std::string::npos) continue;
            size_t v = colon + 1;
            while (v < line.size() && line[v] == ' ') ++v;
            ex.headers.emplace_back(line.substr(0, colon), line.substr(v));
        }
        const std::string length = ex.header("Content-Length");
        const size_t want = length.empty() ? 0 : std::stoul(length);
        while (ex.body.size() < want) {
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) return false;
            ex.body.append(buf, static_cast<size_t>(n));
        }
        return true;
    }

    Handler m_handler;
    int m_listenFd = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connectionCount{0};
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::list<Connection> m_connections;
};

} // namespace tbtest
