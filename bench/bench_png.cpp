// PNG decode time: cPNGparser with zlib and with the built-in inflater, against libpng's read
// path and libspng, on the same images in one run; and inflate alone, built-in against zlib.
//
// Images: photos and large images of the real-world set (read in place, skipped when absent)
// and large images generated here.
#include "imaging/dib_32bpp.h"
#include "imaging/inflater.h"
#include "imaging/png_parser.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QImageWriter>
#include <benchmark/benchmark.h>
#include <csetjmp>
#include <cstring>
#include <fstream>
#include <iterator>
#include <png.h>
#include <random>
#include <spng.h>
#include <string>
#include <vector>
#include <zlib.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Smooth gradients with noise and a few sharp shapes: compresses like a photo, not like a
// flat screenshot.
Bytes generatedPng(int w, int h, QImage::Format format, bool interlaced) {
    QImage image(w, h, format);
    std::mt19937 rng(42);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int n = int(rng() % 9) - 4;
            const int r = std::clamp((x * 255) / w + n, 0, 255);
            const int g = std::clamp((y * 255) / h + n, 0, 255);
            const int b = std::clamp(((x ^ y) & 0xFF) / 2 + 64 + n, 0, 255);
            const int a = ((x / 64 + y / 64) % 3 == 0) ? 160 : 255;
            line[x] = qRgba(r, g, b, a);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (interlaced) writer.setText("x", "y"); // keeps the writer's defaults otherwise
    writer.write(image);
    return Bytes(bytes.begin(), bytes.end());
}

void decodeOurs(benchmark::State& state, const Bytes* file, bool zlib) {
    imaging::cPNGparser::setZlibAvailable(zlib);
    for (auto _ : state) {
        imaging::c32bppDIB dib;
        dib.setIsGDIplusEnabled(false);
        imaging::cPNGparser parser;
        parser.LoadStream(*file, dib);
        if (!dib.Handle()) state.SkipWithError("no image");
        benchmark::DoNotOptimize(dib.BitsPointer());
    }
    imaging::cPNGparser::setZlibAvailable(true);
}

struct MemReader {
    const Bytes* data;
    size_t pos;
};

void memRead(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<MemReader*>(png_get_io_ptr(png));
    if (r->pos + n > r->data->size()) png_error(png, "eof");
    std::memcpy(out, r->data->data() + r->pos, n);
    r->pos += n;
}

// libpng's read path to 8-bit B, G, R, A rows (no premultiplication).
void decodeLibpng(benchmark::State& state, const Bytes* file) {
    for (auto _ : state) {
        png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        png_infop info = png_create_info_struct(png);
        auto reader = std::make_unique<MemReader>(MemReader{file, 0});
        auto pixels = std::make_unique<std::vector<uint8_t>>();
        auto rows = std::make_unique<std::vector<png_bytep>>();
        if (setjmp(png_jmpbuf(png))) {
            png_destroy_read_struct(&png, &info, nullptr);
            state.SkipWithError("libpng failed");
            break;
        }
        png_set_read_fn(png, reader.get(), memRead);
        png_read_info(png, info);
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        const size_t w = png_get_image_width(png, info), h = png_get_image_height(png, info);
        pixels->resize(w * h * 4);
        rows->resize(h);
        for (size_t y = 0; y < h; ++y) (*rows)[y] = pixels->data() + y * w * 4;
        png_read_image(png, rows->data());
        png_read_end(png, nullptr);
        png_destroy_read_struct(&png, &info, nullptr);
        benchmark::DoNotOptimize(pixels->data());
    }
}

void decodeSpng(benchmark::State& state, const Bytes* file) {
    for (auto _ : state) {
        spng_ctx* ctx = spng_ctx_new(0);
        spng_set_png_buffer(ctx, file->data(), file->size());
        size_t size = 0;
        spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size);
        std::vector<uint8_t> out(size);
        if (spng_decode_image(ctx, out.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) != 0)
            state.SkipWithError("libspng failed");
        spng_ctx_free(ctx);
        benchmark::DoNotOptimize(out.data());
    }
}

// The concatenated IDAT data and the inflated size of a PNG file.
struct ImageData {
    Bytes z;
    size_t rawSize = 0;
};

ImageData imageData(const Bytes& file) {
    ImageData d;
    size_t p = 8;
    while (p + 12 <= file.size()) {
        const uint32_t len =
            (uint32_t(file[p]) << 24) | (uint32_t(file[p + 1]) << 16) | (uint32_t(file[p + 2]) << 8) | file[p + 3];
        if (p + 12 + len > file.size()) break;
        if (std::memcmp(&file[p + 4], "IDAT", 4) == 0)
            d.z.insert(d.z.end(), file.begin() + long(p + 8), file.begin() + long(p + 8 + len));
        p += 12 + len;
    }
    // Find the inflated size with zlib itself.
    z_stream zs{};
    inflateInit(&zs);
    Bytes sink(1 << 20);
    zs.next_in = d.z.data();
    zs.avail_in = uInt(d.z.size());
    int r;
    do {
        zs.next_out = sink.data();
        zs.avail_out = uInt(sink.size());
        r = inflate(&zs, Z_NO_FLUSH);
    } while (r == Z_OK);
    d.rawSize = zs.total_out;
    inflateEnd(&zs);
    return d;
}

void inflateZlib(benchmark::State& state, const ImageData* d) {
    Bytes out(d->rawSize);
    for (auto _ : state) {
        uLongf len = uLongf(out.size());
        if (uncompress(out.data(), &len, d->z.data(), uLong(d->z.size())) != Z_OK) state.SkipWithError("zlib failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d->rawSize));
}

void inflateBuiltIn(benchmark::State& state, const ImageData* d) {
    Bytes out(d->rawSize);
    imaging::Inflater inflater;
    for (auto _ : state) {
        if (!inflater.InflateZlib(d->z, out).ok) state.SkipWithError("inflater failed");
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(d->rawSize));
}

// Images live for the whole run; benchmarks hold pointers to them.
std::vector<std::unique_ptr<Bytes>> g_files;
std::vector<std::unique_ptr<ImageData>> g_data;

void registerImage(const std::string& name, Bytes bytes, bool inflateToo) {
    if (bytes.empty()) return;
    g_files.push_back(std::make_unique<Bytes>(std::move(bytes)));
    const Bytes* f = g_files.back().get();
    const auto unit = benchmark::kMillisecond;
    benchmark::RegisterBenchmark(("decode/ours_zlib/" + name).c_str(), decodeOurs, f, true)->Unit(unit);
    benchmark::RegisterBenchmark(("decode/ours_builtin/" + name).c_str(), decodeOurs, f, false)->Unit(unit);
    benchmark::RegisterBenchmark(("decode/libpng/" + name).c_str(), decodeLibpng, f)->Unit(unit);
    benchmark::RegisterBenchmark(("decode/libspng/" + name).c_str(), decodeSpng, f)->Unit(unit);
    if (inflateToo) {
        g_data.push_back(std::make_unique<ImageData>(imageData(*f)));
        const ImageData* d = g_data.back().get();
        benchmark::RegisterBenchmark(("inflate/zlib/" + name).c_str(), inflateZlib, d)->Unit(unit);
        benchmark::RegisterBenchmark(("inflate/builtin/" + name).c_str(), inflateBuiltIn, d)->Unit(unit);
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::string rw = std::string(TIANBO_SHARED_DATA) + "/png-realworld/";
    const struct {
        const char* path;
        bool inflate;
    } realWorld[] = {
        {"image-png/kodim02.png", false},
        {"image-png/kodim23.png", false},
        {"image-png/Fantasy_Digital_Painting.png", true},
        {"image-png/Exoplanet_Phase_Curve_(Diagram).png", true},
        {"image-png/Exoplanet_Phase_Curve_(Diagram)_indexed_gimp.png", false},
        {"image-png/paletted-zune.png", false},
        {"image-png/lorem_ipsum_screenshot.png", false},
        {"wuffs/harvesters.png", true},
        {"wuffs/hibiscus.primitive.png", false},
        {"pillow/old-style-jpeg-compression.png", true},
        {"pillow/itxt_chunks.png", false},
    };
    for (const auto& r : realWorld) registerImage(r.path, readFile(rw + r.path), r.inflate);
    registerImage("generated/rgba_4096x4096", generatedPng(4096, 4096, QImage::Format_ARGB32, false), true);
    registerImage("generated/rgb_4096x3072", generatedPng(4096, 3072, QImage::Format_RGB32, false), true);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
