#pragma once
// HttpRequest: the platform's HTTP request object, a blocking request over libcurl with the
// shape of the scripting world's request objects: Open, setRequestHeader, send,
// waitForResponse, then Status and ResponseText.
//
// Opened asynchronously, send() starts the transfer on a worker thread of the object and
// returns at once; waitForResponse() blocks the calling thread until the response has arrived
// or the transfer has failed, and raises the failure. Opened synchronously, send() itself
// blocks and raises. Transport failures (refused connection, unknown host, time-outs, a body
// over the size limit, a connection cut mid-response) are platform::RuntimeError with the
// numbers below; an HTTP error status is not a failure, its body is the response.
//
// One object serves one request at a time, from one thread. Open() again resets it for the
// next request; the destructor cancels a transfer still running.

#include "platform/forms/runtime_error.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>

namespace platform {

// Error numbers of the request object, the system's HRESULT values for these conditions.
inline constexpr uint32_t kErrHttpInternal = 0x80072EE4;           // unexpected transport error
inline constexpr uint32_t kErrHttpInvalidUrl = 0x80072EE5;         // URL cannot be parsed
inline constexpr uint32_t kErrHttpUnrecognizedScheme = 0x80072EE6; // neither http nor https
inline constexpr uint32_t kErrHttpNameNotResolved = 0x80072EE7;
inline constexpr uint32_t kErrHttpTimeout = 0x80072EE2;   // connect or stall time-out
inline constexpr uint32_t kErrHttpCancelled = 0x80072EF1; // Abort() or destruction
inline constexpr uint32_t kErrHttpCannotConnect = 0x80072EFD;
inline constexpr uint32_t kErrHttpConnectionAborted = 0x80072EFE; // cut mid-response
inline constexpr uint32_t kErrHttpCallBeforeOpen = 0x80072F44;
inline constexpr uint32_t kErrHttpCallBeforeSend = 0x80072F45;
inline constexpr uint32_t kErrHttpCallAfterSend = 0x80072F46;
inline constexpr uint32_t kErrHttpInvalidServerResponse = 0x80072F78;
inline constexpr uint32_t kErrHttpRedirectFailed = 0x80072F7C;
inline constexpr uint32_t kErrHttpSecureFailure = 0x80072F8F;
inline constexpr uint32_t kErrHttpResponseTooLarge = 0x80072F98; // body over kMaxResponseBytes
inline constexpr uint32_t kErrHttpPending = 0x8000000A;          // response not complete yet
inline constexpr uint32_t kErrHttpInvalidParameter = 0x80070057;

class HttpRequest {
public:
    // A response body larger than this is a transport error; nothing this program fetches
    // comes near it, and it bounds the memory an unknown server can make it allocate.
    static constexpr int64_t kMaxResponseBytes = int64_t{32} * 1024 * 1024;
    // The defaults of the platform's request object: 60 s to connect, 30 s without a byte
    // moving in either direction once connected.
    static constexpr int32_t kDefaultConnectTimeoutMs = 60'000;
    static constexpr int32_t kDefaultStallTimeoutMs = 30'000;
    static constexpr long kMaxRedirects = 10;

    HttpRequest();
    ~HttpRequest();
    HttpRequest(const HttpRequest&) = delete;
    HttpRequest& operator=(const HttpRequest&) = delete;

    // Prepares a request; cancels and forgets a previous one. Raises kErrHttpInvalidUrl or
    // kErrHttpUnrecognizedScheme for an address it cannot send to.
    void Open(const QString& method, const QString& url, bool async = false);
    // Adds a header, or replaces one of the same name (names match without regard to case).
    // A name that is not an HTTP token or a value holding CR, LF or NUL is refused with
    // kErrHttpInvalidParameter, so a header cannot smuggle in another.
    void setRequestHeader(const QString& name, const QString& value);
    // Sends the request with an optional body (for methods that carry one).
    void send(const QByteArray& body = {});
    // Blocks until the response is complete. With a time-out in seconds, returns false if it
    // has not completed by then (the transfer goes on). Raises the transfer's failure.
    bool waitForResponse(std::optional<double> timeoutSeconds = std::nullopt);
    // Cancels a transfer in flight; the object must be opened again before the next send.
    void Abort();

    // Status code and reason phrase of the final response (after redirects).
    int32_t Status() const;
    QString StatusText() const;
    // A header of the final response, empty when absent; all of them as "Name: value" lines.
    QString getResponseHeader(const QString& name) const;
    QString getAllResponseHeaders() const;
    // The body decoded by the charset its Content-Type declares (UTF-8 when none).
    QString ResponseText() const;
    QByteArray ResponseBody() const;

    int32_t ConnectTimeout() const { return m_connectTimeoutMs; }
    void setConnectTimeout(int32_t milliseconds);
    int32_t StallTimeout() const { return m_stallTimeoutMs; }
    void setStallTimeout(int32_t milliseconds);
    // The longest a whole transfer may take, connecting included, however the server paces
    // it; 0 (the default) sets no such limit. Running out of it is a time-out.
    int32_t TotalTimeout() const { return m_totalTimeoutMs; }
    void setTotalTimeout(int32_t milliseconds);

private:
    struct Transfer;
    enum class State { Created, Opened, Sending, Done, Failed };

    void requireOpened() const;
    void requireResponse() const;
    void finish();
    [[noreturn]] void raiseFailure() const;

    State m_state = State::Created;
    QString m_method;
    QByteArray m_url;
    bool m_async = false;
    QList<std::pair<QByteArray, QByteArray>> m_headers;
    int32_t m_connectTimeoutMs = kDefaultConnectTimeoutMs;
    int32_t m_stallTimeoutMs = kDefaultStallTimeoutMs;
    int32_t m_totalTimeoutMs = 0;
    std::unique_ptr<Transfer> m_transfer;
    std::optional<RuntimeError> m_failure;
};

} // namespace platform
