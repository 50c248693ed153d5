// PngSuite and a set of real-world files, decoded by cPNGparser and compared pixel for pixel
// with libpng after the decoder's reductions (16-bit samples to their high byte, tRNS to
// alpha, premultiplication by truncation, no gamma).
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"
#include "png_test_support.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace imaging;
using testsupport::decodeWithLibpng;
using testsupport::pixelsOf;
using testsupport::readFile;

namespace {

const std::string kSuite = std::string(TIANBO_TEST_DATA) + "/pngsuite/";
const std::string kRealWorld = std::string(TIANBO_SHARED_DATA) + "/png-realworld/";

// Files whose pixels deliberately differ from libpng's, with the reason. No PngSuite file is
// among them; these come from the real-world set.
const std::map<std::string, std::string> kDiffersFromLibpng = {
    {"pillow/1_trns.png", "1-bit grey with a tRNS grey value of 255, outside the 1-bit range: the decoder compares the "
                          "samples with the value as stored and finds no match; libpng masks it to the bit depth and "
                          "makes the white pixels transparent"},
    {"pillow/i_trns.png", "16-bit grey with tRNS 0x00FF: the decoder compares only the high byte, so every sample "
                          "0x00xx is transparent; libpng compares all 16 bits"},
};

struct Decoded {
    bool isPng = false;
    bool hasImage = false;
    c32bppDIB dib;
};

std::unique_ptr<Decoded> decodeStream(const std::vector<uint8_t>& bytes) {
    auto d = std::make_unique<Decoded>();
    d->dib.setIsGDIplusEnabled(false);
    cPNGparser parser;
    d->isPng = parser.LoadStream(bytes, d->dib, 0, bytes.size());
    d->hasImage = d->dib.Handle() != nullptr;
    return d;
}

// Compares with libpng and names the first differing pixel.
void expectSameAsLibpng(const std::string& name, const std::vector<uint8_t>& bytes, const c32bppDIB& dib) {
    const auto ref = decodeWithLibpng(bytes);
    ASSERT_TRUE(ref.has_value()) << name << ": libpng rejects it";
    const auto ours = pixelsOf(dib);
    ASSERT_EQ(ours.width, ref->width) << name;
    ASSERT_EQ(ours.height, ref->height) << name;
    for (size_t i = 0; i < ours.bgra.size(); i += 4) {
        if (std::memcmp(&ours.bgra[i], &ref->bgra[i], 4) != 0) {
            const size_t px = i / 4;
            ADD_FAILURE() << name << ": pixel (" << px % ours.width << ", " << px / ours.width << ") is BGRA "
                          << int(ours.bgra[i]) << "," << int(ours.bgra[i + 1]) << "," << int(ours.bgra[i + 2]) << ","
                          << int(ours.bgra[i + 3]) << ", libpng gives " << int(ref->bgra[i]) << ","
                          << int(ref->bgra[i + 1]) << "," << int(ref->bgra[i + 2]) << "," << int(ref->bgra[i + 3]);
            return;
        }
    }
}

std::vector<std::string> suiteFiles() {
    std::vector<std::string> names;
    for (const QString& f : QDir(QString::fromStdString(kSuite)).entryList({"*.png"}, QDir::Files, QDir::Name))
        names.push_back(f.toStdString());
    return names;
}

} // namespace

// Every valid PngSuite image decodes like libpng; every corrupt x*.png yields no image.
TEST(PngConformance, PngSuite_DecodesLikeLibpngAndRejectsCorruptFiles) {
    const auto names = suiteFiles();
    ASSERT_GE(names.size(), 176u);
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        const auto bytes = readFile(kSuite + name);
        const auto d = decodeStream(bytes);
        if (name[0] == 'x') {
            EXPECT_FALSE(d->hasImage) << name << " is corrupt and must not decode";
            continue;
        }
        ASSERT_TRUE(d->hasImage) << name << " does not decode";
        EXPECT_EQ(d->dib.ImageType(), 10);
        expectSameAsLibpng(name, bytes, d->dib);
    }
}

// Decoding from a file, chunk by chunk, gives the same pixels as decoding the bytes in place.
TEST(PngConformance, PngSuite_FileModeEqualsStreamMode) {
    for (const auto& name : suiteFiles()) {
        SCOPED_TRACE(name);
        const auto bytes = readFile(kSuite + name);
        const auto fromStream = decodeStream(bytes);
        c32bppDIB fromFile;
        fromFile.setIsGDIplusEnabled(false);
        QFile file(QString::fromStdString(kSuite + name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        cPNGparser parser;
        EXPECT_EQ(parser.LoadFile(file, file.fileName(), fromFile), fromStream->isPng);
        ASSERT_EQ(fromFile.Handle() != nullptr, fromStream->hasImage);
        if (fromStream->hasImage) { EXPECT_EQ(pixelsOf(fromFile).bgra, pixelsOf(fromStream->dib).bgra); }
    }
}

// The built-in inflater gives the same pixels as zlib on the whole suite.
TEST(PngConformance, PngSuite_BuiltInInflaterEqualsZlib) {
    for (const auto& name : suiteFiles()) {
        if (name[0] == 'x') continue;
        SCOPED_TRACE(name);
        const auto bytes = readFile(kSuite + name);
        const auto withZlib = decodeStream(bytes);
        cPNGparser::setZlibAvailable(false);
        const auto builtIn = decodeStream(bytes);
        cPNGparser::setZlibAvailable(true);
        ASSERT_TRUE(builtIn->hasImage);
        EXPECT_EQ(pixelsOf(builtIn->dib).bgra, pixelsOf(withZlib->dib).bgra);
    }
}

// Real-world files: DECODE ones decode like libpng, REJECT ones yield no image, and the
// EITHER ones take the outcome chosen here:
//   invalid_palette_index.png  rejected: an index beyond the palette fails the decode.
//   truncated_end_chunk.png    rejected: the data ends inside a chunk header.
TEST(PngConformance, RealWorldSet_DecodesOrRejectsByClass) {
    QFile list(QString::fromStdString(kRealWorld + "SOURCES.txt"));
    if (!list.open(QIODevice::ReadOnly)) GTEST_SKIP() << "real-world set not present";
    const std::set<std::string> eitherRejected = {"image-png/invalid_palette_index.png",
                                                  "pillow/truncated_end_chunk.png"};
    int checked = 0;
    while (!list.atEnd()) {
        const QString line = QString::fromUtf8(list.readLine());
        const QStringList cols = line.split('|');
        if (cols.size() < 5 || line.startsWith(' ') || !cols[0].contains('/')) continue;
        const std::string name = cols[0].trimmed().toStdString();
        const QString verdict = cols[4].trimmed().section(' ', 0, 0);
        SCOPED_TRACE(name);
        const auto bytes = readFile(kRealWorld + name);
        ASSERT_FALSE(bytes.empty());
        const auto d = decodeStream(bytes);
        ++checked;
        if (verdict == "DECODE") {
            ASSERT_TRUE(d->hasImage) << name << " must decode";
            if (!kDiffersFromLibpng.count(name)) {
                expectSameAsLibpng(name, bytes, d->dib);
            } else {
                // The listed differences are real.
                const auto ref = decodeWithLibpng(bytes);
                ASSERT_TRUE(ref.has_value());
                EXPECT_NE(pixelsOf(d->dib).bgra, ref->bgra) << name;
            }
        } else if (verdict == "REJECT") {
            EXPECT_FALSE(d->hasImage) << name << " must be rejected";
        } else {
            EXPECT_EQ(d->hasImage, !eitherRejected.count(name)) << name;
        }
    }
    EXPECT_EQ(checked, 77);
}
