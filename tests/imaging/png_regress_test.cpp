// Every input that once crashed, hung or crawled in the fuzzer is decoded again, with zlib
// and with the built-in inflater. Under the sanitizer build any out-of-bounds access fails.
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"
#include "png_test_support.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace imaging;

TEST(PngRegress, EveryKeptInputDecodesOrFailsCleanly) {
    const QString dir = QStringLiteral(TIANBO_TEST_DATA "/png/regress");
    const QStringList files = QDir(dir).entryList(QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        const auto bytes = testsupport::readFile((dir + '/' + name).toStdString());
        for (const bool zlib : {true, false}) {
            cPNGparser::setZlibAvailable(zlib);
            c32bppDIB dib;
            dib.setIsGDIplusEnabled(false);
            cPNGparser parser;
            parser.LoadStream(bytes, dib);
            if (dib.Handle()) {
                // The whole buffer is there: read its first and last pixel.
                EXPECT_GT(dib.Width(), 0);
                EXPECT_GT(dib.Height(), 0);
                int32_t alpha = -1;
                dib.GetPixel(0, 0, &alpha);
                dib.GetPixel(dib.Width() - 1, dib.Height() - 1, &alpha);
                EXPECT_GE(alpha, 0);
            }
        }
        cPNGparser::setZlibAvailable(true);
    }
}

// A truncated deflate stream inside a 25-megapixel image fails at the end of its data
// instead of decoding zero bits until the whole image is filled.
TEST(PngRegress, TruncatedStreamInHugeImage_FailsWithoutAnImage) {
    const auto bytes = testsupport::readFile(TIANBO_TEST_DATA "/png/regress/slow-truncated-deflate-huge-image.png");
    cPNGparser::setZlibAvailable(false);
    c32bppDIB dib;
    dib.setIsGDIplusEnabled(false);
    cPNGparser parser;
    EXPECT_TRUE(parser.LoadStream(bytes, dib));
    cPNGparser::setZlibAvailable(true);
    EXPECT_EQ(dib.Handle(), nullptr);
}
