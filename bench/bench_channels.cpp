// Throughput of the channel text: a directory page through all seven steps (as text, the
// way the player reads a download, and as UTF-8 bytes, the way the channels tool reads a
// file), and a 10,000-entry playlist through the playlist reader. Rates are in bytes of the
// page or playlist as UTF-8 per second.
#include "app/channels/directory_text.h"
#include "app/channels/playlist_reader.h"

#include <QByteArray>
#include <QString>
#include <benchmark/benchmark.h>
#include <span>

namespace {

std::span<const uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const uint8_t*>(a.constData()), static_cast<size_t>(a.size())};
}

// A blog post as the service sends it: a page of markup around a section of 300 channel
// lines with bold titles, &nbsp; and the CR LF line ends the steps delete, about 60 KB.
QByteArray ordinaryPage() {
    QString page = QStringLiteral("<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"><title>电视</title>"
                                  "<link rel=\"stylesheet\" href=\"/css/blog.css\"></head>\r\n<body>"
                                  "<div class=\"blog_details\"><p><b>天播频道表 · 电视</b></p>\r\n<p>电视{<br/>\r\n");
    for (int i = 0; i < 300; ++i) {
        page += QStringLiteral("<b>测试频道&nbsp;%1</b> 高清#http://live.example.com/tv/%1/index.m3u8#备注<br/>\r\n")
                    .arg(i);
        if (i % 25 == 0) page += QStringLiteral("<span style=\"color:#999\">（分组 %1）</span><br/>\r\n").arg(i / 25);
    }
    page += QStringLiteral("}电视<br/></p>\r\n<p>更新于今天</p></div>");
    for (int i = 0; i < 200; ++i)
        page += QStringLiteral("<div class=\"comment\"><a href=\"/u/%1\">网友%1</a> 说：好用！</div>\r\n").arg(i);
    page += QStringLiteral("</body></html>\r\n");
    return page.toUtf8();
}

// A 31 MB page that is almost all line breaks: eight "<br/>" before each channel line.
QByteArray breakDensePage() {
    QByteArray page = QStringLiteral("<html><body><p>电视{<br/>").toUtf8();
    page.reserve(31 * 1024 * 1024 + 256);
    for (int i = 0; page.size() < 31 * 1024 * 1024; ++i) {
        page += "<br/><br/><br/><br/><br/><br/><br/><br/>";
        page += QStringLiteral("频道%1#http://127.0.0.1/%1.ts").arg(i).toUtf8();
    }
    page += QStringLiteral("<br/>}电视</p></body></html>").toUtf8();
    return page;
}

void directoryAsText(benchmark::State& state, const QByteArray* utf8) {
    const QString page = QString::fromUtf8(*utf8);
    for (auto _ : state) benchmark::DoNotOptimize(app::ReadDirectoryText(page, 2));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * utf8->size());
}

void directoryAsUtf8(benchmark::State& state, const QByteArray* utf8) {
    for (auto _ : state) benchmark::DoNotOptimize(app::ReadDirectoryUtf8(bytesOf(*utf8), 2));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * utf8->size());
}

// 10,000 entries as the big public IPTV lists write them: attributes, a group, a title.
QByteArray playlist10000() {
    QByteArray m3u = "#EXTM3U x-tvg-url=\"http://epg.example.com/guide.xml.gz\"\n";
    for (int i = 0; i < 10000; ++i) {
        m3u += QStringLiteral("#EXTINF:-1 tvg-id=\"Channel%1.cn\" tvg-name=\"频道 %1\" "
                              "tvg-logo=\"http://logo.example.com/%1.png\" group-title=\"分组 %2\",频道 %1 (1080p)\n"
                              "http://live.example.com/%1/index.m3u8\n")
                   .arg(i)
                   .arg(i % 40)
                   .toUtf8();
    }
    return m3u;
}

// The same 10,000 entries as a PLS file, read by entry number.
QByteArray pls10000() {
    QByteArray pls = "[playlist]\nNumberOfEntries=10000\n";
    for (int i = 1; i <= 10000; ++i) {
        const QByteArray n = QByteArray::number(i);
        pls += "File" + n + "=http://live.example.com/" + n + "/index.m3u8\nTitle" + n + "=" +
               QStringLiteral("频道 %1 (1080p)").arg(i).toUtf8() + "\nLength" + n + "=-1\n";
    }
    return pls + "Version=2\n";
}

void playlistParse(benchmark::State& state, const QByteArray* m3u) {
    const QString location = QStringLiteral("http://127.0.0.1:18080/lists/tv.m3u");
    for (auto _ : state) benchmark::DoNotOptimize(app::ReadPlaylist(bytesOf(*m3u), location));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * m3u->size());
}

} // namespace

int main(int argc, char** argv) {
    static const QByteArray ordinary = ordinaryPage();
    static const QByteArray dense = breakDensePage();
    static const QByteArray m3u = playlist10000();
    static const QByteArray pls = pls10000();
    benchmark::RegisterBenchmark("directory/text/ordinary_page", directoryAsText, &ordinary)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("directory/utf8/ordinary_page", directoryAsUtf8, &ordinary)
        ->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("directory/text/br_dense_31MB", directoryAsText, &dense)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("directory/utf8/br_dense_31MB", directoryAsUtf8, &dense)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("playlist/m3u_10000_entries", playlistParse, &m3u)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("playlist/pls_10000_entries", playlistParse, &pls)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
