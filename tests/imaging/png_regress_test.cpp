// Every input that once crashed, hung or crawled in the fuzzer is decoded again, with zlib
// and with the built-in inflater. Under the sanitizer build any out-of-bounds access fails.
// Files named no-image-* must not produce an image either way.
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
            if (name.startsWith(QStringLiteral("no-image-"))) { EXPECT_EQ(dib.Handle(), nullptr) << zlib; }
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
