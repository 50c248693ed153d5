// The pngtobmp tool: a BMP and status 0 for a PNG that decodes, status 1 otherwise.
#include "imaging/dib_32bpp.h"
#include "imaging/png_parser.h"
#include "png_test_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kTool = QStringLiteral(TIANBO_BINARY_DIR "/tools/pngtobmp/pngtobmp");

int runTool(const QString& in, const QString& out) {
    QProcess p;
    p.start(kTool, {in, out});
    if (!p.waitForFinished(60000)) return -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2;
}

} // namespace

TEST(PngToBmp, WritesTheDecodedImageOrFailsWithStatus1) {
    if (!QFile::exists(kTool)) GTEST_SKIP() << "pngtobmp not built";
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.bmp"));
    const QString suite = QStringLiteral(TIANBO_TEST_DATA "/pngsuite/");

    // A decodable file: the BMP is exactly what SaveToStream makes of the decoded image.
    ASSERT_EQ(runTool(suite + "basn6a08.png", out), 0);
    QFile bmp(out);
    ASSERT_TRUE(bmp.open(QIODevice::ReadOnly));
    const QByteArray written = bmp.readAll();
    const auto bytes = testsupport::readFile((suite + "basn6a08.png").toStdString());
    imaging::c32bppDIB dib;
    dib.setIsGDIplusEnabled(false);
    imaging::cPNGparser parser;
    ASSERT_TRUE(parser.LoadStream(bytes, dib));
    std::vector<uint8_t> expected;
    ASSERT_TRUE(dib.SaveToStream(expected));
    EXPECT_EQ(written, QByteArray(reinterpret_cast<const char*>(expected.data()), qsizetype(expected.size())));

    EXPECT_EQ(runTool(suite + "xs1n0g01.png", dir.filePath("a.bmp")), 1); // not PNG
    EXPECT_EQ(runTool(suite + "xhdn0g08.png", dir.filePath("b.bmp")), 1); // does not decode
    EXPECT_FALSE(QFile::exists(dir.filePath("b.bmp")));
    EXPECT_EQ(runTool(dir.filePath("missing.png"), dir.filePath("c.bmp")), 1);
}
