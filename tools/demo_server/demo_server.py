#!/usr/bin/env python3
"""Tianbo's demo directory server.

Serves, on 127.0.0.1 only, what the player fetches at start and plays afterwards, so that
the player shows working channels on a machine without internet access:

  /cgi-bin/blognew/blog_output_data?uin=10000&blogid=1001..1004
        a blog post per category, its channel lines between the category's markers
  /notice.html                      the notice page
  /playlists/demo.m3u               an M3U playlist with relative addresses (TV, a camera
                                    and music tracks with their lengths)
  /playlists/radio.pls              a PLS playlist of the two radio streams
  /media/...                        the channels' media

The media are made with ffmpeg at the first start into a cache folder: television (colour
bars with a tone as an endless MPEG-TS stream, and a live HLS stream), radio (endless MP3
and AAC streams), music (short tracks, so the automatic advance is visible), cameras (slow
moving test patterns) and one dead address. Endless streams are sent at their playing pace,
so a player sees a live stream without a length.

    demo_server.py --cache DIR [--port 18080] [--quiet]   serve (port 0: any free port)
    demo_server.py --wait-ready [--port 18080]            wait until a server answers

Python 3 standard library only.
"""

import argparse
import fcntl
import http.server
import os
import re
import shutil
import signal
import subprocess
import sys
import time
import urllib.error
import urllib.parse
import urllib.request

HOST = "127.0.0.1"
DEFAULT_PORT = 18080
ACCOUNT = "10000"
DATA_PATH = "/cgi-bin/blognew/blog_output_data"
# Bump when the media recipes change, so an old cache is not reused.
RECIPE_VERSION = "1"
READY_TIMEOUT_SECONDS = 120
# A stream's first second goes out at once, so a player can start without waiting. A
# camera's first seconds do: at five frames a second the demuxer needs four of them to learn
# the frame rate before it opens the stream.
BURST_SECONDS = 1.0
CAMERA_BURST_SECONDS = 4.5
PACE_STEP_SECONDS = 0.1

# Endless MPEG-TS streams are written at a constant multiplex rate, which is what makes
# pacing them by bytes exact.
TV_MUXRATE = 500_000
CAMERA_MUXRATE = 300_000
HLS_SEGMENT_SECONDS = 2
HLS_WINDOW = 4

LAVFI = ["-f", "lavfi", "-i"]
X264 = ["-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p"]


def cbr_video(bitrate):
    return ["-b:v", bitrate, "-maxrate", bitrate, "-bufsize", bitrate]


def melody(base, step, tempo, seconds):
    """An aevalsrc expression: notes stepping through the scale, each fading out."""
    note = f"mod(floor(t*{tempo})*{step},12)"
    pitch = f"{base}*pow(2,{note}/12)"
    envelope = f"(1-0.8*mod(t*{tempo},1))"
    fade = f"min(1,({seconds}-t)*2)"
    # Quoted, so that the commas inside are not read as filter separators.
    return f"aevalsrc='0.3*sin(2*PI*t*{pitch})*{envelope}*{fade}':s=44100:d={seconds}"


# name -> (ffmpeg arguments before the output file, output format)
RECIPES = {
    "tv/bars.ts": (
        LAVFI + ["smptebars=size=320x240:rate=25"]
        + LAVFI + ["sine=frequency=1000:sample_rate=44100"]
        + ["-t", "10"] + X264 + ["-g", "25"] + cbr_video("300k")
        + ["-c:a", "aac", "-b:a", "64k", "-muxrate", str(TV_MUXRATE)],
        "mpegts"),
    "tv/hls-base.ts": (
        LAVFI + ["testsrc=size=320x240:rate=25"]
        + LAVFI + ["sine=frequency=660:sample_rate=44100"]
        + ["-t", "10"] + X264 + ["-g", "50", "-keyint_min", "50", "-sc_threshold", "0"]
        + cbr_video("300k") + ["-c:a", "aac", "-b:a", "64k"],
        "mpegts"),
    "camera/1.ts": (
        LAVFI + ["testsrc2=size=320x240:rate=5"] + ["-t", "20"] + X264 + ["-g", "5"]
        + cbr_video("200k") + ["-muxrate", str(CAMERA_MUXRATE)],
        "mpegts"),
    "camera/2.ts": (
        LAVFI + ["life=s=320x240:mold=10:r=5:ratio=0.1:death_color=0x101418:life_color=0x30d080"]
        + ["-t", "20"] + X264 + ["-g", "5"] + cbr_video("200k") + ["-muxrate", str(CAMERA_MUXRATE)],
        "mpegts"),
    "camera/3.ts": (
        LAVFI + ["testsrc=size=320x240:rate=5"] + ["-t", "20"] + X264 + ["-g", "5"]
        + cbr_video("200k") + ["-muxrate", str(CAMERA_MUXRATE)],
        "mpegts"),
    "radio/music.mp3": (
        LAVFI + [melody(262, 7, 3, 30)] + ["-c:a", "libmp3lame", "-b:a", "128k",
                                          "-write_xing", "0", "-id3v2_version", "0"],
        "mp3"),
    "radio/news.aac": (
        LAVFI + [melody(196, 5, 2, 30)] + ["-c:a", "aac", "-b:a", "64k"],
        "adts"),
}
MUSIC_TRACKS = [
    ("晨光", 220, 7, 4, 12),
    ("溪流", 262, 5, 6, 15),
    ("夜色", 174, 3, 2, 18),
    ("远山", 330, 2, 3, 10),
    ("归途", 247, 9, 4, 14),
]
for number, (title, base, step, tempo, seconds) in enumerate(MUSIC_TRACKS, 1):
    RECIPES[f"music/{number}.mp3"] = (
        LAVFI + [melody(base, step, tempo, seconds)]
        + ["-c:a", "libmp3lame", "-b:a", "128k", "-metadata", f"title={title}"],
        "mp3")

# The dead address: a path that is never served.
DEAD_PATH = "/media/tv/offline.ts"

# Post id -> (category, marker text, channel lines). A line is (title HTML, media path or
# None for a line that is no channel). Titles are HTML: tags and &nbsp; are part of the
# test of the player's page reading.
CATEGORIES = {
    "1001": ("监控", [
        ("（以下为演示摄像头）", None),
        ("1号摄像头 大门", "/media/camera/1.ts"),
        ("<b>2号摄像头 停车场</b>", "/media/camera/2.ts"),
        ("3号摄像头&nbsp;大厅", "/media/camera/3.ts"),
    ]),
    "1002": ("音乐", [
        ("（点一首，播完自动下一首）", None),
    ] + [((f"<b>{t}</b>" if n == 1 else t), f"/media/music/{n}.mp3")
         for n, (t, *_rest) in enumerate(MUSIC_TRACKS, 1)]),
    "1003": ("电视", [
        ("<b>测试一台 彩条</b>", "/media/tv/bars.ts"),
        ("测试二台 HLS&nbsp;直播", "/media/tv/hls/live.m3u8"),
        ("（本行没有井号，不是频道）", None),
        ("失效频道", DEAD_PATH),
    ]),
    "1004": ("电台", [
        ("<b>音乐之声</b> MP3", "/media/radio/music.mp3"),
        ("新闻台&nbsp;AAC", "/media/radio/news.aac"),
        ("（电台为不间断直播）", None),
    ]),
}

# The playlists, served beside the directories. Their addresses are relative to the
# playlist's own address (or absolute on this server), so a player must resolve them.
def demo_m3u():
    lines = [
        "#EXTM3U",
        '#EXTINF:-1 tvg-id="bars" tvg-name="演示彩条" group-title="演示电视",演示彩条',
        "../media/tv/bars.ts",
        '#EXTINF:-1 tvg-name="演示 HLS 直播" group-title="演示电视",',
        "../media/tv/hls/live.m3u8",
        '#EXTINF:-1 group-title="演示监控",演示摄像头',
        "/media/camera/2.ts",
    ]
    for number, (title, _base, _step, _tempo, seconds) in enumerate(MUSIC_TRACKS, 1):
        lines.append(f'#EXTINF:{seconds},{title}（播放列表）')
        lines.append(f"../media/music/{number}.mp3")
    return "\n".join(lines) + "\n"


def radio_pls(base_url):
    return "\r\n".join([
        "[playlist]",
        "NumberOfEntries=2",
        "File1=../media/radio/music.mp3",
        "Title1=音乐之声（PLS）",
        "Length1=-1",
        f"File2={base_url}/media/radio/news.aac",
        "Title2=新闻台（PLS）",
        "Length2=-1",
        "Version=2",
    ]) + "\r\n"


NOTICE_PAGE = """<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>温馨提示</title>
<style>
html, body { margin: 0; padding: 0; overflow: hidden; background: #12151c; color: #d5dae3;
  font-family: "WenQuanYi Zen Hei", "宋体", sans-serif; }
/* The notice window shows 358 x 237 pixels of the page, from 8 px left and 384 px down; its
   skin frame covers the top 24 pixels (caption) and 4 pixels on the other sides. */
.panel { position: absolute; left: 8px; top: 384px; width: 358px; height: 237px;
  box-sizing: border-box; padding: 34px 18px 14px;
  background: linear-gradient(#232324, #18181a); }
h1 { margin: 0 0 10px; padding-bottom: 6px; font-size: 15px; color: #ffffff;
  border-bottom: 1px solid #53b702; }
p { margin: 0 0 6px; font-size: 13px; line-height: 1.5; }
em { color: #7ed321; font-style: normal; }
.foot { position: absolute; right: 14px; bottom: 10px; font-size: 12px; color: #75757a; }
</style></head>
<body>
<div class="panel">
<h1>欢迎使用天播</h1>
<p>这是本机的演示目录服务器：<em>电视</em>、<em>电台</em>、<em>音乐</em>和<em>监控</em>
四个分类都来自 127.0.0.1，无需联网。</p>
<p>双击频道即可播放；音乐播完会自动播放下一首。</p>
<p>“失效频道”用来演示播放失败时的提示。</p>
<div class="foot">天播 演示版</div>
</div>
</body></html>
"""


def log(quiet, message):
    if not quiet:
        print(message, file=sys.stderr, flush=True)


# ---------------------------------------------------------------------------------------
# Media generation


def run_ffmpeg(args):
    command = ["ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y"] + args
    result = subprocess.run(command, capture_output=True, text=True)
    if result.returncode != 0:
        raise RuntimeError(f"ffmpeg failed: {' '.join(command)}\n{result.stderr}")


def make_hls(media_dir):
    """Cuts 120 s of the looped HLS base into 2 s segments; the server rotates through them."""
    out = os.path.join(media_dir, "tv", "hls")
    os.makedirs(out, exist_ok=True)
    loops = 120 // 10 - 1
    run_ffmpeg(["-stream_loop", str(loops), "-i", os.path.join(media_dir, "tv", "hls-base.ts"),
                "-c", "copy", "-f", "hls", "-hls_time", str(HLS_SEGMENT_SECONDS),
                "-hls_list_size", "0", "-hls_playlist_type", "vod",
                "-hls_segment_filename", os.path.join(out, "%03d.ts"),
                os.path.join(out, "all.m3u8")])


def prepare_media(cache_dir, quiet):
    """Makes the media once; concurrent servers on one cache wait for each other."""
    media_dir = os.path.join(cache_dir, "v" + RECIPE_VERSION)
    os.makedirs(media_dir, exist_ok=True)
    stamp = os.path.join(media_dir, "complete")
    with open(os.path.join(cache_dir, ".lock"), "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(stamp):
            return media_dir
        if shutil.which("ffmpeg") is None:
            raise RuntimeError("ffmpeg is needed to make the demo media")
        for name, (args, fmt) in RECIPES.items():
            target = os.path.join(media_dir, name)
            if os.path.exists(target):
                continue
            log(quiet, f"demo_server: making {name}")
            os.makedirs(os.path.dirname(target), exist_ok=True)
            temp = target + ".tmp"
            run_ffmpeg(args + ["-f", fmt, temp])
            os.replace(temp, target)
        log(quiet, "demo_server: making the HLS segments")
        make_hls(media_dir)
        with open(stamp, "w") as f:
            f.write("ok\n")
    return media_dir


def read_hls_segments(media_dir):
    """(file name, duration) of each segment, from the playlist ffmpeg wrote."""
    segments = []
    duration = None
    with open(os.path.join(media_dir, "tv", "hls", "all.m3u8"), encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if line.startswith("#EXTINF:"):
                duration = float(line[len("#EXTINF:"):].split(",")[0])
            elif line and not line.startswith("#"):
                segments.append((line, duration or HLS_SEGMENT_SECONDS))
    if not segments:
        raise RuntimeError("the HLS playlist has no segments")
    return segments


# ---------------------------------------------------------------------------------------
# Pages


def blog_page(base_url, blog_id):
    """The post of one category, laid out as the blog service sends it: CR LF line ends
    (which the player deletes), <br/> breaks, the markers on lines of their own."""
    category, lines = CATEGORIES[blog_id]
    body = [f"{category}{{<br/>"]
    for title, path in lines:
        body.append(title + (f"#{base_url}{path}" if path else "") + "<br/>")
    body.append(f"}}{category}<br/>")
    html = [
        "<!DOCTYPE html>",
        '<html><head><meta charset="utf-8">',
        f"<title>天播 {category}</title></head>",
        '<body><div class="blog_details">',
        f"<p><b>天播频道表 · {category}</b></p>",
        "<p>",
        *body,
        "</p>",
        "<p>更新于演示服务器</p>",
        "</div></body></html>",
    ]
    return "\r\n".join(html) + "\r\n"


def missing_post_page():
    # No markers and no number signs: a player reading it finds no channel.
    return ("<!DOCTYPE html>\r\n<html><head><meta charset=\"utf-8\"></head>"
            "<body><p>文章不存在或已被删除</p></body></html>\r\n")


def hls_playlist(segments, started):
    """A live playlist: a window of segments that moves on with the clock, going round the
    segment files, with a discontinuity at each wrap."""
    count = len(segments)
    first = int((time.monotonic() - started) // HLS_SEGMENT_SECONDS)
    lines = [
        "#EXTM3U",
        "#EXT-X-VERSION:3",
        f"#EXT-X-TARGETDURATION:{HLS_SEGMENT_SECONDS + 1}",
        f"#EXT-X-MEDIA-SEQUENCE:{first}",
        f"#EXT-X-DISCONTINUITY-SEQUENCE:{first // count}",
    ]
    for number in range(first, first + HLS_WINDOW):
        if number % count == 0 and number != first:
            lines.append("#EXT-X-DISCONTINUITY")
        lines.append(f"#EXTINF:{segments[number % count][1]:.6f},")
        lines.append(f"seg/{number}.ts")
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------------------------------
# Server


class DemoServer(http.server.ThreadingHTTPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, port, media_dir, quiet):
        self.media_dir = media_dir
        self.quiet = quiet
        self.hls_segments = read_hls_segments(media_dir)
        self.started = time.monotonic()
        super().__init__((HOST, port), DemoHandler)

    @property
    def base_url(self):
        return f"http://{HOST}:{self.server_address[1]}"


class DemoHandler(http.server.BaseHTTPRequestHandler):
    server_version = "TianboDemo/1.0"
    protocol_version = "HTTP/1.0"

    # Media types by file ending.
    TYPES = {".ts": "video/mp2t", ".mp3": "audio/mpeg", ".aac": "audio/aac",
             ".m3u8": "application/vnd.apple.mpegurl"}
    # Endless streams: path -> (file, bytes per second, ffmpeg output format or None when the
    # file's bytes can simply be repeated, seconds sent at once).
    LIVE = {
        "/media/tv/bars.ts": ("tv/bars.ts", TV_MUXRATE // 8, "mpegts", BURST_SECONDS),
        "/media/camera/1.ts": ("camera/1.ts", CAMERA_MUXRATE // 8, "mpegts", CAMERA_BURST_SECONDS),
        "/media/camera/2.ts": ("camera/2.ts", CAMERA_MUXRATE // 8, "mpegts", CAMERA_BURST_SECONDS),
        "/media/camera/3.ts": ("camera/3.ts", CAMERA_MUXRATE // 8, "mpegts", CAMERA_BURST_SECONDS),
        "/media/radio/music.mp3": ("radio/music.mp3", 128_000 // 8, None, BURST_SECONDS),
        "/media/radio/news.aac": ("radio/news.aac", None, None, BURST_SECONDS),
    }

    def log_message(self, fmt, *args):
        log(self.server.quiet, "demo_server: " + (fmt % args))

    def do_HEAD(self):
        self.do_GET(head_only=True)

    def do_GET(self, head_only=False):
        self.connection.settimeout(30)
        url = urllib.parse.urlsplit(self.path)
        path = url.path
        try:
            if path == "/ready":
                self.send_text(200, "text/plain; charset=utf-8", "ok\n", head_only)
            elif path == "/":
                self.send_text(200, "text/html; charset=utf-8", self.index_page(), head_only)
            elif path == DATA_PATH:
                self.send_post(urllib.parse.parse_qs(url.query), head_only)
            elif path == "/notice.html":
                self.send_text(200, "text/html; charset=utf-8", NOTICE_PAGE, head_only)
            elif path == "/playlists/demo.m3u":
                self.send_text(200, "audio/x-mpegurl", demo_m3u(), head_only)
            elif path == "/playlists/radio.pls":
                self.send_text(200, "audio/x-scpls", radio_pls(self.server.base_url), head_only)
            elif path in self.LIVE:
                self.send_live(*self.LIVE[path], head_only)
            elif path == "/media/tv/hls/live.m3u8":
                playlist = hls_playlist(self.server.hls_segments, self.server.started)
                self.send_text(200, self.TYPES[".m3u8"], playlist, head_only)
            elif m := re.fullmatch(r"/media/tv/hls/seg/(\d{1,9})\.ts", path):
                segments = self.server.hls_segments
                name = segments[int(m.group(1)) % len(segments)][0]
                self.send_file(os.path.join("tv", "hls", name), head_only)
            elif m := re.fullmatch(r"/media/music/(\d)\.mp3", path):
                self.send_file(os.path.join("music", m.group(1) + ".mp3"), head_only)
            else:
                self.send_text(404, "text/plain; charset=utf-8", "not found\n", head_only)
        except (BrokenPipeError, ConnectionResetError, TimeoutError):
            pass

    def index_page(self):
        items = "".join(
            f'<li><a href="{DATA_PATH}?uin={ACCOUNT}&amp;blogid={blog_id}">{category}</a></li>'
            for blog_id, (category, _lines) in CATEGORIES.items())
        return (f'<!DOCTYPE html><html><head><meta charset="utf-8"><title>天播演示服务器</title>'
                f"</head><body><ul>{items}<li><a href=\"/notice.html\">notice</a></li>"
                f"<li><a href=\"/playlists/demo.m3u\">demo.m3u</a></li>"
                f"<li><a href=\"/playlists/radio.pls\">radio.pls</a></li>"
                f"</ul></body></html>")

    def send_text(self, status, content_type, text, head_only):
        data = text.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if not head_only:
            self.wfile.write(data)

    def send_post(self, query, head_only):
        blog_id = query.get("blogid", [""])[0]
        if query.get("uin", [""])[0] != ACCOUNT or blog_id not in CATEGORIES:
            self.send_text(404, "text/html; charset=utf-8", missing_post_page(), head_only)
            return
        page = blog_page(self.server.base_url, blog_id)
        self.send_text(200, "text/html; charset=utf-8", page, head_only)

    def send_file(self, relative, head_only):
        """A finite file with its length, answering single byte ranges (RFC 9110, 14)."""
        full = os.path.join(self.server.media_dir, relative)
        if not os.path.isfile(full):
            self.send_text(404, "text/plain; charset=utf-8", "not found\n", head_only)
            return
        size = os.path.getsize(full)
        start, end = 0, size - 1
        status = 200
        header = self.headers.get("Range", "")
        if m := re.fullmatch(r"bytes=(\d*)-(\d*)", header.strip()):
            if m.group(1):
                start = int(m.group(1))
                if m.group(2):
                    end = min(int(m.group(2)), size - 1)
            elif m.group(2):
                start = max(0, size - int(m.group(2)))
            if start > end or start >= size:
                self.send_response(416)
                self.send_header("Content-Range", f"bytes */{size}")
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            status = 206
        self.send_response(status)
        content_type = self.TYPES.get(os.path.splitext(full)[1], "application/octet-stream")
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(end - start + 1))
        self.send_header("Accept-Ranges", "bytes")
        if status == 206:
            self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
        self.end_headers()
        if head_only:
            return
        with open(full, "rb") as f:
            f.seek(start)
            left = end - start + 1
            while left > 0:
                chunk = f.read(min(65536, left))
                if not chunk:
                    break
                self.wfile.write(chunk)
                left -= len(chunk)

    def send_live(self, relative, rate, remux, burst, head_only):
        """An endless stream without a length, sent at its playing pace."""
        full = os.path.join(self.server.media_dir, relative)
        if rate is None:
            # A variable-rate file repeats at its average rate.
            rate = os.path.getsize(full) / 30.0
        self.send_response(200)
        self.send_header("Content-Type", self.TYPES[os.path.splitext(full)[1]])
        self.send_header("Cache-Control", "no-store")
        self.end_headers()
        if head_only:
            return
        if remux:
            # ffmpeg loops the file with running timestamps, which repeating its bytes would not.
            process = subprocess.Popen(
                ["ffmpeg", "-hide_banner", "-loglevel", "quiet", "-nostdin", "-stream_loop", "-1",
                 "-i", full, "-c", "copy", "-f", remux, "-muxrate", str(rate * 8), "-"],
                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
            read = process.stdout.read
        else:
            process = None
            with open(full, "rb") as f:
                data = f.read()
            offset = 0

            def read(n):
                nonlocal offset
                out = bytearray()
                while len(out) < n:
                    piece = data[offset:offset + n - len(out)]
                    out += piece
                    offset = (offset + len(piece)) % len(data)
                return bytes(out)
        try:
            self.pace(read, rate, burst)
        finally:
            if process:
                process.kill()
                process.wait()

    def pace(self, read, rate, burst):
        start = time.monotonic()
        sent = 0
        while True:
            due = rate * (time.monotonic() - start + burst)
            want = int(due - sent)
            if want > 0:
                chunk = read(want)
                if not chunk:
                    return
                self.wfile.write(chunk)
                sent += len(chunk)
            time.sleep(PACE_STEP_SECONDS)


def interrupt(_signum, _frame):
    raise KeyboardInterrupt


def wait_ready(port):
    deadline = time.monotonic() + READY_TIMEOUT_SECONDS
    url = f"http://{HOST}:{port}/ready"
    while time.monotonic() < deadline:
        try:
            with urllib.request.urlopen(url, timeout=2) as response:
                if response.status == 200:
                    return 0
        except (urllib.error.URLError, OSError):
            pass
        time.sleep(0.5)
    print(f"demo_server: nothing answered on {url}", file=sys.stderr)
    return 1


def main(argv):
    parser = argparse.ArgumentParser(description="Tianbo's demo directory server (127.0.0.1 only)")
    parser.add_argument("--cache", help="folder for the generated media")
    parser.add_argument("--port", type=int, default=DEFAULT_PORT,
                        help=f"port on 127.0.0.1 (default {DEFAULT_PORT}; 0 picks a free one)")
    parser.add_argument("--quiet", action="store_true", help="log nothing but the address")
    parser.add_argument("--wait-ready", action="store_true",
                        help="wait until a server on the port answers, then exit")
    args = parser.parse_args(argv)
    if args.wait_ready:
        return wait_ready(args.port)
    cache = args.cache or os.path.join(
        os.environ.get("XDG_CACHE_HOME", os.path.join(os.path.expanduser("~"), ".cache")),
        "tianbo-demo")
    os.makedirs(cache, exist_ok=True)
    try:
        media_dir = prepare_media(cache, args.quiet)
        server = DemoServer(args.port, media_dir, args.quiet)
    except (RuntimeError, OSError) as error:
        print(f"demo_server: {error}", file=sys.stderr)
        return 1
    print(f"demo_server: serving {server.base_url}/", flush=True)
    # A terminated server shuts down like an interrupted one.
    signal.signal(signal.SIGTERM, interrupt)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    finally:
        server.server_close()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
