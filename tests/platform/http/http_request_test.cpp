#include "platform/http/http_request.h"
#include "platform/http/local_http_server.h"

#include <chrono>
#include <gtest/gtest.h>
#include <mutex>

using platform::HttpRequest;
using platform::RuntimeError;
using tbtest::HttpExchange;
using tbtest::LocalHttpServer;
using namespace std::chrono_literals;

namespace {

// Runs `call` and returns the number of the RuntimeError it raised, 0 when it raised none.
template <typename F> uint32_t errorNumberOf(F&& call) {
    try {
        call();
    } catch (const RuntimeError& e) { return e.Number(); }
    return 0;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A GET as the directory loaders send it: asynchronous open, a Referer, send, wait.
QString fetch(HttpRequest& request, const std::string& url) {
    request.Open(QStringLiteral("GET"), QString::fromStdString(url), true);
    request.send();
    request.waitForResponse();
    return request.ResponseText();
}

} // namespace

// The request line, the query (percent-escapes included) and the Referer reach the server
// exactly as the caller wrote them, and the undeclared-charset body reads as UTF-8.
TEST(HttpRequest, SendsRequestLineQueryAndRefererAsWritten) {
    std::mutex mutex;
    std::string method, target, referer, host;
    LocalHttpServer server([&](HttpExchange& ex) {
        {
            std::lock_guard lock(mutex);
            method = ex.method;
            target = ex.target;
            referer = ex.header("Referer");
            host = ex.header("Host");
        }
        ex.respond(200, "text/html", "电视{<br/>频道#http://x/<br/>}电视");
    });
    const std::string path = "/cgi-bin/blognew/blog_output_data?uin=10000&blogid=1003&dprefix=&inCharset=utf-8"
                             "&refererurl=http%3A%2F%2Fpage.host%2Fqzone%2Fapp%2Fblog%2Fv6%2Fbloglist.html%23nojump"
                             "%3D1%26page%3D1&timestamp=1700000000";

    HttpRequest request;
    request.Open(QStringLiteral("GET"), QString::fromStdString(server.url(path)), true);
    request.setRequestHeader(QStringLiteral("Referer"),
                             QStringLiteral("http://page.host/qzone/app/blog/v6/bloglist.html"));
    request.send();
    EXPECT_TRUE(request.waitForResponse());

    std::lock_guard lock(mutex);
    EXPECT_EQ(method, "GET");
    EXPECT_EQ(target, path);
    EXPECT_EQ(referer, "http://page.host/qzone/app/blog/v6/bloglist.html");
    EXPECT_EQ(host, "127.0.0.1:" + std::to_string(server.port()));
    EXPECT_EQ(request.Status(), 200);
    EXPECT_EQ(request.ResponseText(), QStringLiteral("电视{<br/>频道#http://x/<br/>}电视"));
}

// A page declared as GBK comes back as the right characters.
TEST(HttpRequest, DecodesGbkDeclaredPage) {
    LocalHttpServer server(
        [](HttpExchange& ex) { ex.respond(200, "text/html; charset=GBK", "\xB5\xE7\xCA\xD3{\xCC\xEC\xB2\xA5}"); });
    HttpRequest request;
    EXPECT_EQ(fetch(request, server.url("/gbk")), QStringLiteral("电视{天播}"));
    EXPECT_EQ(request.getResponseHeader(QStringLiteral("content-type")), QStringLiteral("text/html; charset=GBK"));
}

// Redirects are followed to the final page; an error status is a response like any other.
TEST(HttpRequest, FollowsRedirectsAndReturnsErrorPages) {
    LocalHttpServer server([](HttpExchange& ex) {
        if (ex.target == "/old") {
            ex.respond(302, "text/plain", "moved", "Location: /new\r\n");
        } else if (ex.target == "/new") {
            ex.respond(200, "text/plain; charset=utf-8", "arrived");
        } else {
            ex.respond(404, "text/plain", "no such page");
        }
    });
    HttpRequest request;
    EXPECT_EQ(fetch(request, server.url("/old")), QStringLiteral("arrived"));
    EXPECT_EQ(request.Status(), 200);
    EXPECT_EQ(fetch(request, server.url("/missing")), QStringLiteral("no such page"));
    EXPECT_EQ(request.Status(), 404);
    EXPECT_EQ(request.StatusText(), QStringLiteral("Status"));
}

// A server that accepts but never answers, or stops halfway through a body, is given up
// after the stall time-out and reported as a time-out.
TEST(HttpRequest, StallTimeoutEndsSilentServer) {
    LocalHttpServer server([](HttpExchange& ex) {
        if (ex.target == "/half") { ex.send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nfirst half"); }
        ex.stall();
    });
    for (const char* path : {"/silent", "/half"}) {
        HttpRequest request;
        request.setStallTimeout(1000);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(errorNumberOf([&] { fetch(request, server.url(path)); }), platform::kErrHttpTimeout) << path;
        const double elapsed = secondsSince(start);
        EXPECT_GE(elapsed, 0.9) << path;
        EXPECT_LT(elapsed, 5.0) << path;
    }
}

// A server that keeps a transfer alive with a byte every so often never trips the stall
// time-out; the total time-out ends the transfer all the same.
TEST(HttpRequest, TotalTimeoutEndsATricklingServer) {
    LocalHttpServer server([](HttpExchange& ex) {
        if (!ex.send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n")) return;
        while (ex.pause(200ms) && ex.send("x")) {}
    });
    HttpRequest request;
    EXPECT_EQ(request.TotalTimeout(), 0) << "no limit unless one is set";
    request.setTotalTimeout(1000);
    EXPECT_EQ(errorNumberOf([&] { fetch(request, server.url("/trickle")); }), platform::kErrHttpTimeout);
}

// Bodies over 32 MiB are refused whether the server announces their length or streams them
// without one; a body of exactly 32 MiB is still accepted.
TEST(HttpRequest, RefusesBodiesOverThirtyTwoMebibytes) {
    LocalHttpServer server([](HttpExchange& ex) {
        const bool announced = ex.target.find("announced") != std::string::npos;
        const size_t total =
            ex.target.find("exact") != std::string::npos ? size_t(HttpRequest::kMaxResponseBytes) : size_t(40'000'000);
        std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n";
        if (announced) head += "Content-Length: " + std::to_string(total) + "\r\n";
        if (!ex.send(head + "Connection: close\r\n\r\n")) return;
        const std::string block(1 << 16, 'x');
        for (size_t sent = 0; sent < total; sent += block.size()) {
            if (!ex.send(std::string_view(block).substr(0, std::min(block.size(), total - sent)))) { return; }
        }
    });
    for (const char* path : {"/announced", "/streamed"}) {
        HttpRequest request;
        EXPECT_EQ(errorNumberOf([&] { fetch(request, server.url(path)); }), platform::kErrHttpResponseTooLarge) << path;
    }
    HttpRequest request;
    request.Open(QStringLiteral("GET"), QString::fromStdString(server.url("/exact")), false);
    request.send();
    EXPECT_EQ(request.ResponseBody().size(), HttpRequest::kMaxResponseBytes);
}

// Transport failures reach the caller as errors with their own numbers: a refused
// connection and a connection cut before the announced length.
TEST(HttpRequest, TransportFailuresAreRaised) {
    // A bound socket that does not listen refuses every connection.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    const std::string refused = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/";

    LocalHttpServer server(
        [](HttpExchange& ex) { ex.send("HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nonly this much"); });

    HttpRequest request;
    EXPECT_EQ(errorNumberOf([&] { fetch(request, refused); }), platform::kErrHttpCannotConnect);
    // The failure stays with the request: reading the response raises it again.
    EXPECT_EQ(errorNumberOf([&] { request.ResponseText(); }), platform::kErrHttpCannotConnect);
    EXPECT_EQ(errorNumberOf([&] { fetch(request, server.url("/cut")); }), platform::kErrHttpConnectionAborted);
    ::close(fd);
}

// Calls out of order, unsendable addresses and headers that would inject others are refused
// with the documented numbers before anything goes on the wire.
TEST(HttpRequest, RefusesMisuseAndUnsafeInput) {
    HttpRequest request;
    EXPECT_EQ(errorNumberOf([&] { request.send(); }), platform::kErrHttpCallBeforeOpen);
    EXPECT_EQ(errorNumberOf([&] { request.Open("GET", "ftp://127.0.0.1/file"); }),
              platform::kErrHttpUnrecognizedScheme);
    EXPECT_EQ(errorNumberOf([&] { request.Open("GET", "not a url"); }), platform::kErrHttpInvalidUrl);
    EXPECT_EQ(errorNumberOf([&] { request.Open("GET", "http:///nohost"); }), platform::kErrHttpInvalidUrl);
    EXPECT_EQ(errorNumberOf([&] { request.Open("GE T", "http://127.0.0.1/"); }), platform::kErrHttpInvalidParameter);

    request.Open(QStringLiteral("GET"), QStringLiteral("http://127.0.0.1:9/"), true);
    EXPECT_EQ(errorNumberOf([&] { request.waitForResponse(); }), platform::kErrHttpCallBeforeSend);
    EXPECT_EQ(errorNumberOf([&] { request.ResponseText(); }), platform::kErrHttpCallBeforeSend);
    EXPECT_EQ(errorNumberOf([&] { request.setRequestHeader("X-A", "1\r\nX-Evil: 2"); }),
              platform::kErrHttpInvalidParameter);
    EXPECT_EQ(errorNumberOf([&] { request.setRequestHeader("Bad Name", "v"); }), platform::kErrHttpInvalidParameter);
}

// Asynchronous sends return at once; a bounded wait reports "not yet" and the full wait
// the response. A later header replaces an earlier one of the same name.
TEST(HttpRequest, AsyncSendAndBoundedWait) {
    std::mutex mutex;
    std::vector<std::pair<std::string, std::string>> seen;
    LocalHttpServer server([&](HttpExchange& ex) {
        {
            std::lock_guard lock(mutex);
            seen = ex.headers;
        }
        ex.pause(600ms);
        ex.respond(200, "text/plain", "late");
    });
    HttpRequest request;
    request.Open(QStringLiteral("GET"), QString::fromStdString(server.url("/slow")), true);
    request.setRequestHeader(QStringLiteral("X-Token"), QStringLiteral("first"));
    request.setRequestHeader(QStringLiteral("x-token"), QStringLiteral("second"));
    const auto start = std::chrono::steady_clock::now();
    request.send();
    EXPECT_LT(secondsSince(start), 0.3);
    EXPECT_FALSE(request.waitForResponse(0.05));
    EXPECT_EQ(errorNumberOf([&] { request.ResponseText(); }), platform::kErrHttpPending);
    EXPECT_TRUE(request.waitForResponse());
    EXPECT_EQ(request.ResponseText(), QStringLiteral("late"));

    std::lock_guard lock(mutex);
    int tokens = 0;
    for (const auto& [name, value] : seen) {
        if (tbtest::lowerCase(name) == "x-token") {
            ++tokens;
            EXPECT_EQ(value, "second");
        }
    }
    EXPECT_EQ(tokens, 1);
}

// Destroying a request whose server never answers cancels the transfer promptly instead of
// waiting out the time-outs.
TEST(HttpRequest, DestructionCancelsTransferInFlight) {
    LocalHttpServer server([](HttpExchange& ex) { ex.stall(); });
    const auto start = std::chrono::steady_clock::now();
    {
        HttpRequest request;
        request.Open(QStringLiteral("GET"), QString::fromStdString(server.url("/")), true);
        request.send();
        EXPECT_FALSE(request.waitForResponse(0.2));
    }
    EXPECT_LT(secondsSince(start), 3.0);
}
