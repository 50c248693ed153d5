// Property bags, form files and pictures: what controls persist and read back.
#include "platform/forms/form_file.h"
#include "platform/forms/property_bag.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace platform;

TEST(PropertyBag, NamesMatchWithoutCaseAndMissingNamesGiveTheDefault) {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("BackColor"), PropertyValue(int32_t(0x242323)));
    bag.WriteProperty(QStringLiteral("Border"), PropertyValue(true));
    bag.WriteProperty(QStringLiteral("Caption"), PropertyValue(QStringLiteral("电视")));
    EXPECT_EQ(bag.ReadColor(QStringLiteral("backcolor"), 0), 0x242323u);
    EXPECT_TRUE(bag.ReadBool(QStringLiteral("BORDER"), false));
    EXPECT_EQ(bag.ReadString(QStringLiteral("caption"), {}), QStringLiteral("电视"));
    EXPECT_EQ(bag.ReadInt(QStringLiteral("ItemHeight"), 27), 27);
    // Rewriting under another spelling replaces the value and keeps the first spelling.
    bag.WriteProperty(QStringLiteral("BACKCOLOR"), PropertyValue(int32_t(1)));
    EXPECT_EQ(bag.size(), 3u);
    EXPECT_EQ(bag.names().front(), QStringLiteral("BackColor"));
    EXPECT_EQ(bag.ReadInt(QStringLiteral("BackColor"), 0), 1);
}

TEST(PropertyBag, ConversionsFollowTheRuntime) {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("half"), PropertyValue(2.5));
    bag.WriteProperty(QStringLiteral("odd"), PropertyValue(3.5));
    bag.WriteProperty(QStringLiteral("yes"), PropertyValue(true));
    bag.WriteProperty(QStringLiteral("text"), PropertyValue(QStringLiteral("12")));
    bag.WriteProperty(QStringLiteral("hex"), PropertyValue(QStringLiteral("&H80000005")));
    bag.WriteProperty(QStringLiteral("junk"), PropertyValue(QStringLiteral("abc")));
    bag.WriteProperty(QStringLiteral("huge"), PropertyValue(1e12));
    EXPECT_EQ(bag.ReadInt(QStringLiteral("half"), 0), 2) << "halves go to the even neighbour";
    EXPECT_EQ(bag.ReadInt(QStringLiteral("odd"), 0), 4);
    EXPECT_EQ(bag.ReadInt(QStringLiteral("yes"), 0), -1);
    EXPECT_EQ(bag.ReadInt(QStringLiteral("text"), 0), 12);
    EXPECT_EQ(bag.ReadColor(QStringLiteral("hex"), 0), 0x80000005u);
    EXPECT_EQ(bag.ReadInt(QStringLiteral("junk"), 7), 7);
    EXPECT_EQ(bag.ReadInt(QStringLiteral("huge"), 7), 7) << "out of range keeps the default";
    EXPECT_TRUE(bag.ReadBool(QStringLiteral("text"), false));
}

TEST(PropertyBag, WritingTheDefaultLeavesTheNameOut) {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Min"), PropertyValue(int32_t(0)), PropertyValue(int32_t(0)));
    EXPECT_FALSE(bag.contains(QStringLiteral("Min")));
    bag.WriteProperty(QStringLiteral("Max"), PropertyValue(int32_t(50)), PropertyValue(int32_t(100)));
    EXPECT_TRUE(bag.contains(QStringLiteral("Max")));
    bag.WriteProperty(QStringLiteral("Max"), PropertyValue(int32_t(100)), PropertyValue(int32_t(100)));
    EXPECT_FALSE(bag.contains(QStringLiteral("Max"))) << "a value back at its default is removed";
}

TEST(FormFile, ReadsControlsTypesGeometryAndTypedProperties) {
    const QByteArray json = R"({
      "type": "Form", "name": "FrmMain", "width": 650, "height": 429,
      "properties": { "Caption": "天播", "BackColor": {"color": "0x00000000"} },
      "controls": [
        { "type": "PictureBox", "name": "PicTab", "left": 447, "top": 24, "width": 203, "height": 32,
          "properties": { "BackColor": {"color": "0x0018140D"} },
          "controls": [ { "type": "ucButton", "name": "tBt_Cls", "width": 24, "height": 18,
                          "properties": { "SkinPicture": {"picture": "tBt_Cls"}, "Enabled": true,
                                          "Font": {"font": {"name": "宋体", "size": 9}} } } ] }
      ] })";
    QStringList asked;
    const auto form = ReadFormFile(json, [&](const QString& name) {
        asked << name;
        return Picture::fromBitmap(QImage(24, 72, QImage::Format_RGB32));
    });
    ASSERT_TRUE(form.has_value());
    EXPECT_EQ(form->name, QStringLiteral("FrmMain"));
    EXPECT_EQ(form->properties.ReadString(QStringLiteral("caption"), {}), QStringLiteral("天播"));
    const FormControl* tab = form->find(QStringLiteral("PicTab"));
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->left, 447);
    EXPECT_EQ(tab->properties.ReadColor(QStringLiteral("BackColor"), 0), 0x0018140Du);
    const FormControl* button = form->find(QStringLiteral("tBt_Cls"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(asked, QStringList{QStringLiteral("tBt_Cls")});
    EXPECT_EQ(button->properties.ReadPicture(QStringLiteral("SkinPicture"), {}).Height(), 72);
    const FontDesc font = button->properties.ReadFont(QStringLiteral("Font"), {});
    EXPECT_EQ(font.Name, QStringLiteral("宋体"));
    EXPECT_DOUBLE_EQ(font.Size, 9.0);
}

TEST(FormFile, MalformedInputIsRefused) {
    QString error;
    EXPECT_FALSE(ReadFormFile("{ not json", nullptr, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(ReadFormFile(R"({"name": "NoType"})", nullptr).has_value());
    EXPECT_FALSE(ReadFormFile(R"({"type": "Form", "controls": [ {"name": "x"} ]})", nullptr).has_value());
}

namespace {

QByteArray bmp24(int w, int h, bool topDown) {
    const int row = ((24 * w + 31) / 32) * 4;
    QByteArray b(54 + row * h, '\0');
    auto put32 = [&](int at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(w));
    put32(22, static_cast<uint32_t>(topDown ? -h : h));
    b[26] = 1;
    b[28] = 24;
    // Picture row y, pixel x gets blue = x, green = y, red = 200.
    for (int y = 0; y < h; ++y) {
        const int fileRow = topDown ? y : h - 1 - y;
        for (int x = 0; x < w; ++x) {
            const int at = 54 + fileRow * row + x * 3;
            b[at] = static_cast<char>(x);
            b[at + 1] = static_cast<char>(y);
            b[at + 2] = static_cast<char>(200);
        }
    }
    return b;
}

} // namespace

TEST(Picture, BmpFilesLoadWithTheirExactPixelsInEitherRowOrder) {
    for (bool topDown : {false, true}) {
        const Picture p = Picture::fromBmpData(bmp24(3, 2, topDown));
        ASSERT_FALSE(p.isNothing());
        EXPECT_EQ(p.kind(), Picture::Kind::Bitmap);
        EXPECT_EQ(p.Width(), 3);
        EXPECT_EQ(p.Height(), 2);
        EXPECT_EQ(p.image().pixel(2, 1), qRgb(200, 1, 2));
        EXPECT_EQ(p.image().pixel(0, 0), qRgb(200, 0, 0));
    }
    const Picture copy = Picture::fromBmpData(bmp24(3, 2, false));
    Picture same = copy;
    EXPECT_EQ(same.Handle(), copy.Handle()) << "copies share their pixels";
}

TEST(Picture, DamagedBmpDataGivesNothing) {
    QByteArray good = bmp24(4, 4, false);
    EXPECT_TRUE(Picture::fromBmpData(good.left(60)).isNothing()) << "truncated pixel data";
    QByteArray wrong = good;
    wrong[28] = 8;
    EXPECT_TRUE(Picture::fromBmpData(wrong).isNothing()) << "unsupported depth";
    QByteArray huge = good;
    huge[18] = static_cast<char>(0xFF);
    huge[19] = static_cast<char>(0xFF);
    huge[20] = static_cast<char>(0xFF);
    huge[21] = 0x7F;
    EXPECT_TRUE(Picture::fromBmpData(huge).isNothing()) << "absurd width";
    EXPECT_TRUE(Picture::fromBmpData(QByteArray("BM")).isNothing());
    EXPECT_TRUE(Picture().isNothing());
    EXPECT_EQ(Picture().Handle(), 0u);
}
