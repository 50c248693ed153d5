#include "platform/http/http_request.h"

#include "platform/http/http_text_decoder.h"

#include <QUrl>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <curl/curl.h>
#include <mutex>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

const QString kSource = QStringLiteral("HttpRequest");
constexpr const char* kUserAgent = "Mozilla/5.0 (compatible; Tianbo/1.0)";

struct CurlEasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct CurlSlistDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;
using CurlSlist = std::unique_ptr<curl_slist, CurlSlistDeleter>;

void ensureCurlInitialised() {
    // curl_global_init is not thread-safe and must run once before any handle exists.
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

[[noreturn]] void raiseHttp(uint32_t number, const QString& description) {
    throw RuntimeError(number, kSource, description);
}

// A token as RFC 9110 (5.6.2) defines it: the form of header names and methods.
bool isToken(const QString& text) {
    if (text.isEmpty()) return false;
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                        QStringView(u"!#$%&'*+-.^_`|~").contains(qc);
        if (!ok) return false;
    }
    return true;
}

RuntimeError errorFor(CURLcode code) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT: return {kErrHttpTimeout, kSource, QStringLiteral("The operation timed out")};
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return {kErrHttpNameNotResolved, kSource, QStringLiteral("The server name or address could not be resolved")};
    case CURLE_COULDNT_CONNECT:
        return {kErrHttpCannotConnect, kSource,
                QStringLiteral("A connection with the server could not be established")};
    case CURLE_FILESIZE_EXCEEDED:
        return {kErrHttpResponseTooLarge, kSource,
                QStringLiteral("The response is larger than the request object accepts")};
    case CURLE_TOO_MANY_REDIRECTS: return {kErrHttpRedirectFailed, kSource, QStringLiteral("The redirection failed")};
    case CURLE_UNSUPPORTED_PROTOCOL:
        return {kErrHttpUnrecognizedScheme, kSource, QStringLiteral("The URL uses an unsupported scheme")};
    case CURLE_URL_MALFORMAT: return {kErrHttpInvalidUrl, kSource, QStringLiteral("The URL is invalid")};
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE: return {kErrHttpSecureFailure, kSource, QStringLiteral("A security error occurred")};
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return {kErrHttpConnectionAborted, kSource,
                QStringLiteral("The connection with the server was terminated abnormally")};
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
    case CURLE_HTTP2_STREAM:
        return {kErrHttpInvalidServerResponse, kSource,
                QStringLiteral("The server returned an invalid or unrecognized response")};
    default: return {kErrHttpInternal, kSource, QString::fromUtf8(curl_easy_strerror(code))};
    }
}

} // namespace

// One transfer: the curl handle, what the callbacks collect, and the worker thread that
// runs it when the request is asynchronous. The callbacks run on the thread that performs
// the transfer; the owner reads the results only after `done` is set under the mutex.
struct HttpRequest::Transfer {
    CurlEasy easy{curl_easy_init()};
    CurlSlist headerList;
    std::chrono::milliseconds stallTimeout{0};

    std::atomic<bool> cancel{false};
    bool connected = false;
    curl_off_t lastBytes = -1;
    Clock::time_point lastActivity{};
    bool stalled = false;
    bool tooLarge = false;

    QByteArray body;
    QByteArray statusLine;
    QList<QByteArray> headerLines;
    CURLcode code = CURLE_OK;
    long status = 0;

    std::thread worker;
    std::mutex mutex;
    std::condition_variable doneChanged;
    bool done = false;

    void perform() {
        const CURLcode result = curl_easy_perform(easy.get());
        long responseCode = 0;
        curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &responseCode);
        std::lock_guard lock(mutex);
        code = result;
        status = responseCode;
        done = true;
        doneChanged.notify_all();
    }

    static size_t onBody(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        const size_t bytes = size * count;
        if (static_cast<int64_t>(bytes) > kMaxResponseBytes - self->body.size()) {
            self->tooLarge = true;
            return CURL_WRITEFUNC_ERROR;
        }
        self->body.append(data, static_cast<qsizetype>(bytes));
        return bytes;
    }

    static size_t onHeader(char* data, size_t size, size_t count, void* user) {
        auto* self = static_cast<Transfer*>(user);
        const size_t bytes = size * count;
        const QByteArray line = QByteArray(data, static_cast<qsizetype>(bytes)).trimmed();
        if (line.startsWith("HTTP/")) {
            // Each response of a redirect chain (and any 1xx) starts afresh; the last wins.
            self->statusLine = line;
            self->headerLines.clear();
            self->body.clear();
        } else if (!line.isEmpty()) {
            self->headerLines.append(line);
        }
        return bytes;
    }

    // Called once a connection is ready and before each request on it is sent: the stall
    // clock starts here, the connect time-out covers what came before.
    static int onConnected(void* user, char*, char*, int, int) {
        auto* self = static_cast<Transfer*>(user);
        self->connected = true;
        self->lastBytes = -1;
        self->lastActivity = Clock::now();
        return CURL_PREREQFUNC_OK;
    }

    static int onProgress(void* user, curl_off_t, curl_off_t dlnow, curl_off_t, curl_off_t ulnow) {
        auto* self = static_cast<Transfer*>(user);
        if (self->cancel.load()) return 1;
        if (!self->connected) return 0;
        const Clock::time_point now = Clock::now();
        const curl_off_t bytes = dlnow + ulnow;
        if (bytes != self->lastBytes) {
            self->lastBytes = bytes;
            self->lastActivity = now;
        } else if (now - self->lastActivity >= self->stallTimeout) {
            self->stalled = true;
            return 1;
        }
        return 0;
    }
};

HttpRequest::HttpRequest() { ensureCurlInitialised(); }

HttpRequest::~HttpRequest() { Abort(); }

void HttpRequest::Open(const QString& method, const QString& url, bool async) {
    Abort();
    if (!isToken(method)) { raiseHttp(kErrHttpInvalidParameter, QStringLiteral("The parameter is incorrect")); }
    const QUrl parsed(url.trimmed(), QUrl::TolerantMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || scheme.isEmpty()) { raiseHttp(kErrHttpInvalidUrl, QStringLiteral("The URL is invalid")); }
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        raiseHttp(kErrHttpUnrecognizedScheme, QStringLiteral("The URL uses an unsupported scheme"));
    }
    if (parsed.host().isEmpty()) raiseHttp(kErrHttpInvalidUrl, QStringLiteral("The URL is invalid"));

    m_method = method;
    m_url = parsed.toEncoded(QUrl::RemoveFragment);
    m_async = async;
    m_headers.clear();
    m_state = State::Opened;
}

void HttpRequest::setRequestHeader(const QString& name, const QString& value) {
    requireOpened();
    if (m_state != State::Opened) {
        raiseHttp(kErrHttpCallAfterSend, QStringLiteral("The requested operation cannot be carried out after a send"));
    }
    const bool valueOk =
        !value.contains(QLatin1Char('\r')) && !value.contains(QLatin1Char('\n')) && !value.contains(QChar(u'\0'));
    if (!isToken(name) || !valueOk) {
        raiseHttp(kErrHttpInvalidParameter, QStringLiteral("The parameter is incorrect"));
    }
    const QByteArray key = name.toLatin1();
    const QByteArray text = value.trimmed().toUtf8();
    for (auto& header : m_headers) {
        if (header.first.compare(key, Qt::CaseInsensitive) == 0) {
            header = {key, text};
            return;
        }
    }
    m_headers.append({key, text});
}

void HttpRequest::send(const QByteArray& body) {
    requireOpened();
    if (m_state != State::Opened) {
        raiseHttp(kErrHttpCallAfterSend, QStringLiteral("The requested operation cannot be carried out after a send"));
    }

    auto transfer = std::make_unique<Transfer>();
    CURL* easy = transfer->easy.get();
    if (!easy) raiseHttp(kErrHttpInternal, QStringLiteral("Out of memory"));
    transfer->stallTimeout = std::chrono::milliseconds(m_stallTimeoutMs);

    for (const auto& [name, value] : m_headers) {
        // "Name;" is curl's way of sending a header with an empty value.
        const QByteArray line = value.isEmpty() ? name + ';' : name + ": " + value;
        curl_slist* grown = curl_slist_append(transfer->headerList.get(), line.constData());
        if (!grown) raiseHttp(kErrHttpInternal, QStringLiteral("Out of memory"));
        // curl grows the list in place and returns its head, a new one only for an empty list.
        (void)transfer->headerList.release();
        transfer->headerList.reset(grown);
    }

    curl_easy_setopt(easy, CURLOPT_URL, m_url.constData());
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    // The request object goes straight to the server; proxy variables of the environment are
    // not consulted.
    curl_easy_setopt(easy, CURLOPT_PROXY, "");
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, transfer->headerList.get());
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_connectTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(m_totalTimeoutMs));
    curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kMaxResponseBytes));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::onConnected);
    curl_easy_setopt(easy, CURLOPT_PREREQDATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Transfer::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, transfer.get());
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);

    const QByteArray method = m_method.toLatin1();
    if (method == "GET") {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else if (method == "HEAD") {
        curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, method.constData());
        if (!body.isEmpty() || method == "POST") {
            curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
            curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, body.constData());
        }
    }

    m_transfer = std::move(transfer);
    m_state = State::Sending;
    if (m_async) {
        m_transfer->worker = std::thread([t = m_transfer.get()] { t->perform(); });
        return;
    }
    m_transfer->perform();
    finish();
    if (m_state == State::Failed) raiseFailure();
}

bool HttpRequest::waitForResponse(std::optional<double> timeoutSeconds) {
    requireOpened();
    switch (m_state) {
    case State::Opened:
        raiseHttp(kErrHttpCallBeforeSend,
                  QStringLiteral("The requested operation cannot be carried out before a send"));
    case State::Done: return true;
    case State::Failed: raiseFailure();
    default: break;
    }
    {
        std::unique_lock lock(m_transfer->mutex);
        // A negative time-out waits for ever, as the platform's request object does for -1.
        if (timeoutSeconds && *timeoutSeconds >= 0) {
            const auto limit = std::chrono::duration<double>(*timeoutSeconds);
            if (!m_transfer->doneChanged.wait_for(lock, limit, [&] { return m_transfer->done; })) { return false; }
        } else {
            m_transfer->doneChanged.wait(lock, [&] { return m_transfer->done; });
        }
    }
    finish();
    if (m_state == State::Failed) raiseFailure();
    return true;
}

void HttpRequest::Abort() {
    if (m_transfer) {
        m_transfer->cancel = true;
        if (m_transfer->worker.joinable()) m_transfer->worker.join();
        m_transfer.reset();
    }
    m_failure.reset();
    m_state = State::Created;
}

void HttpRequest::finish() {
    if (m_transfer->worker.joinable()) m_transfer->worker.join();
    const Transfer& t = *m_transfer;
    if (t.code == CURLE_OK) {
        m_state = State::Done;
        return;
    }
    m_state = State::Failed;
    if (t.tooLarge) {
        m_failure = errorFor(CURLE_FILESIZE_EXCEEDED);
    } else if (t.stalled) {
        m_failure = errorFor(CURLE_OPERATION_TIMEDOUT);
    } else if (t.code == CURLE_ABORTED_BY_CALLBACK) {
        m_failure = RuntimeError(kErrHttpCancelled, kSource, QStringLiteral("The operation has been canceled"));
    } else {
        m_failure = errorFor(t.code);
    }
}

void HttpRequest::raiseFailure() const { throw *m_failure; }

void HttpRequest::requireOpened() const {
    if (m_state == State::Created) {
        raiseHttp(kErrHttpCallBeforeOpen, QStringLiteral("The requested operation cannot be carried out before Open"));
    }
}

void HttpRequest::requireResponse() const {
    requireOpened();
    if (m_state == State::Opened) {
        raiseHttp(kErrHttpCallBeforeSend,
                  QStringLiteral("The requested operation cannot be carried out before a send"));
    }
    if (m_state == State::Sending) {
        raiseHttp(kErrHttpPending,
                  QStringLiteral("The data necessary to complete this operation is not yet available"));
    }
    if (m_state == State::Failed) raiseFailure();
}

int32_t HttpRequest::Status() const {
    requireResponse();
    return static_cast<int32_t>(m_transfer->status);
}

QString HttpRequest::StatusText() const {
    requireResponse();
    // "HTTP/1.1 200 OK": the reason phrase follows the second space (HTTP/2 sends none).
    const QByteArray& line = m_transfer->statusLine;
    const qsizetype first = line.indexOf(' ');
    const qsizetype second = first < 0 ? -1 : line.indexOf(' ', first + 1);
    return second < 0 ? QString() : QString::fromLatin1(line.mid(second + 1));
}

QString HttpRequest::getResponseHeader(const QString& name) const {
    requireResponse();
    const QByteArray key = name.toLatin1();
    for (const QByteArray& line : m_transfer->headerLines) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0 && line.left(colon).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            return QString::fromLatin1(line.mid(colon + 1).trimmed());
        }
    }
    return {};
}

QString HttpRequest::getAllResponseHeaders() const {
    requireResponse();
    QByteArray all;
    for (const QByteArray& line : m_transfer->headerLines) all += line + "\r\n";
    return QString::fromLatin1(all);
}

QString HttpRequest::ResponseText() const {
    requireResponse();
    return decodeHttpText(m_transfer->body, getResponseHeader(QStringLiteral("Content-Type")).toLatin1());
}

QByteArray HttpRequest::ResponseBody() const {
    requireResponse();
    return m_transfer->body;
}

void HttpRequest::setConnectTimeout(int32_t milliseconds) { m_connectTimeoutMs = std::max<int32_t>(milliseconds, 1); }

void HttpRequest::setStallTimeout(int32_t milliseconds) { m_stallTimeoutMs = std::max<int32_t>(milliseconds, 1); }

void HttpRequest::setTotalTimeout(int32_t milliseconds) { m_totalTimeoutMs = std::max<int32_t>(milliseconds, 0); }

} // namespace platform
