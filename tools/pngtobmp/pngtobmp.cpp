// pngtobmp IN.png OUT.bmp: decodes a PNG file with the program's own decoder and writes the
// image as a BMP (32 bits with premultiplied alpha when the image has alpha, else 24 bits).
// Exit status 0 when a BMP was written, 1 when the input is not PNG or does not decode,
// 2 for a usage or output error.
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pngtobmp IN.png OUT.bmp\n");
        return 2;
    }
    const QString in = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);

    QFile file(in);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "pngtobmp: cannot open %s\n", argv[1]);
        return 1;
    }
    imaging::c32bppDIB image;
    image.setIsGDIplusEnabled(false);
    imaging::cPNGparser parser;
    if (!parser.LoadFile(file, in, image)) {
        std::fprintf(stderr, "pngtobmp: %s is not a PNG file\n", argv[1]);
        return 1;
    }
    if (!image.Handle()) {
        std::fprintf(stderr, "pngtobmp: %s does not decode\n", argv[1]);
        return 1;
    }
    std::vector<uint8_t> bmp;
    image.SaveToStream(bmp);
    QFile target(out);
    if (!target.open(QIODevice::WriteOnly) ||
        target.write(reinterpret_cast<const char*>(bmp.data()), qint64(bmp.size())) != qint64(bmp.size())) {
        std::fprintf(stderr, "pngtobmp: cannot write %s\n", argv[2]);
        return 2;
    }
    return 0;
}
