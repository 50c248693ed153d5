// skin_gen: draws every compiled-in picture and writes it into the assets folder.
//
//   skin_gen ASSETS_DIR           write skin/*.bmp, resources/PNGICON/PLAY, icons/*.png and the
//                                 desktop's icon theme sizes desktop/icons/hicolor/*/apps/tianbo.png
//   skin_gen --check ASSETS_DIR   compare the files there with a fresh drawing; exit 1 on
//                                 any difference (the committed files must match the code)

#include "asset_files.h"
#include "skin_art.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <vector>

using namespace skintool;

namespace {

struct Asset {
    QString path;    // relative to the assets folder
    QByteArray data; // the file's bytes
    QImage image;    // for PNGs: the picture, compared by pixels when checking
};

std::vector<Asset> render() {
    std::vector<Asset> assets;
    for (const NamedBitmap& b : allBitmaps())
        assets.push_back({"skin/" + b.name + ".bmp", encodeBmp24(b.canvas.image()), {}});
    const QImage play = drawPlayIcon();
    assets.push_back({"resources/PNGICON/PLAY", encodePng(play), play});
    for (int size : {48, 32, 24, 16}) {
        const QImage indexed = appIconIndexed(size);
        const QImage full = drawAppIcon(size);
        assets.push_back({QStringLiteral("icons/app_%1_8.png").arg(size), encodePng(indexed), indexed});
        assets.push_back({QStringLiteral("icons/app_%1_32.png").arg(size), encodePng(full), full});
    }
    const QImage pointer = drawTabPointer();
    assets.push_back({"icons/tab_pointer.png", encodePng(pointer), pointer});
    // The sizes launchers and task bars ask the icon theme for.
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage icon = drawAppIcon(size);
        assets.push_back(
            {QStringLiteral("desktop/icons/hicolor/%1x%1/apps/tianbo.png").arg(size), encodePng(icon), icon});
    }
    return assets;
}

// Another zlib may pack the same rows into other bytes; what must match is the pixels and
// the colour type.
bool sameAsset(const Asset& a, const QByteArray& onDisk) {
    if (a.data == onDisk) return true;
    if (a.image.isNull() || pngColourType(a.data) != pngColourType(onDisk)) return false;
    const QImage disk = QImage::fromData(onDisk, "png");
    return !disk.isNull() &&
           disk.convertToFormat(QImage::Format_ARGB32) == a.image.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char** argv) {
    const bool check = argc == 3 && QByteArray(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: skin_gen [--check] ASSETS_DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[argc - 1]));
    int failures = 0;
    for (const Asset& a : render()) {
        const QString path = root.filePath(a.path);
        if (check) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly) || !sameAsset(a, f.readAll())) {
                std::fprintf(stderr, "skin_gen: %s differs from the generated picture\n", qPrintable(a.path));
                ++failures;
            }
            continue;
        }
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(a.data) != a.data.size()) {
            std::fprintf(stderr, "skin_gen: cannot write %s\n", qPrintable(path));
            ++failures;
        }
    }
    if (check && failures == 0) std::printf("skin_gen: all assets match\n");
    return failures ? 1 : 0;
}
