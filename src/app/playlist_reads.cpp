#include "app/playlist_reads.h"

#include "app/channels/playlist_location.h"
#include "platform/http/http_request.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <span>

namespace app {

namespace {

std::span<const uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const uint8_t*>(a.constData()), static_cast<size_t>(a.size())};
}

bool hasHttpScheme(QStringView s) {
    return s.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
           s.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

} // namespace

struct PlaylistReads::Pending {
    PlaylistReads::Result result;
    std::unique_ptr<platform::HttpRequest> request;
};

PlaylistReads::PlaylistReads() : m_start(std::chrono::steady_clock::now()) {}

PlaylistReads::PlaylistReads(const QStringList& inputs) : PlaylistReads() {
    for (const QString& input : inputs) {
        auto p = std::make_unique<Pending>();
        p->result.location = locationOf(input);
        if (p->result.location.isEmpty()) {
            p->result.location = input;
            p->result.error = QStringLiteral("不支持的地址");
        } else if (isAddress(p->result.location)) {
            p->request = std::make_unique<platform::HttpRequest>();
            try {
                p->request->Open(QStringLiteral("GET"), p->result.location, true);
                p->request->send();
            } catch (const platform::RuntimeError&) {
                p->request.reset();
                p->result.error = QStringLiteral("地址无效");
            }
        }
        m_pending.push_back(std::move(p));
    }
}

PlaylistReads::~PlaylistReads() = default;
PlaylistReads::PlaylistReads(PlaylistReads&&) noexcept = default;
PlaylistReads& PlaylistReads::operator=(PlaylistReads&&) noexcept = default;

QString PlaylistReads::locationOf(const QString& input) {
    const QString text = input.trimmed();
    if (text.isEmpty()) return {};
    if (text.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QString path = QUrl(text).toLocalFile();
        return path.isEmpty() ? QString() : FoldPath(path);
    }
    if (HasScheme(text)) return hasHttpScheme(text) ? text : QString();
    return FoldPath(QDir::current().absoluteFilePath(text));
}

bool PlaylistReads::isAddress(const QString& location) { return hasHttpScheme(location); }

std::vector<PlaylistReads::Result> PlaylistReads::finish() {
    using namespace std::chrono;
    const auto deadline = m_start + milliseconds(kLimitMs);
    std::vector<Result> out;
    out.reserve(m_pending.size());
    for (auto& p : m_pending) {
        Result& r = p->result;
        if (!r.error.isEmpty()) {
            // Already refused at the start.
        } else if (p->request) {
            const double left = std::max(0.0, duration<double>(deadline - steady_clock::now()).count());
            try {
                if (!p->request->waitForResponse(left)) {
                    r.error = QStringLiteral("下载超时");
                } else if (p->request->Status() >= 400) {
                    r.error = QStringLiteral("服务器答复 %1").arg(p->request->Status());
                } else {
                    r.playlist = ReadPlaylist(bytesOf(p->request->ResponseBody()), r.location);
                }
            } catch (const platform::RuntimeError& e) {
                r.error = e.Number() == platform::kErrHttpResponseTooLarge ? QStringLiteral("文件太大")
                                                                           : QStringLiteral("下载失败");
            }
            // Abandons a download that is still running.
            p->request.reset();
        } else {
            QFile file(r.location);
            if (!file.exists()) {
                r.error = QStringLiteral("文件不存在");
                r.missing = true;
            } else if (!file.open(QIODevice::ReadOnly)) {
                r.error = QStringLiteral("无法读取");
            } else if (file.size() > kMaxFileBytes) {
                r.error = QStringLiteral("文件太大");
            } else {
                const QByteArray bytes = file.read(kMaxFileBytes + 1);
                if (bytes.size() > kMaxFileBytes) r.error = QStringLiteral("文件太大");
                else r.playlist = ReadPlaylist(bytesOf(bytes), r.location);
            }
        }
        out.push_back(std::move(r));
    }
    m_pending.clear();
    return out;
}

} // namespace app
