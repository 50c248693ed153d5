// The built-in DEFLATE decoder: golden streams, streams built bit by bit for the rules zlib
// does not share (distance codes 30 and 31), and round trips against zlib.
#include "imaging/inflater.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

using imaging::Inflater;

namespace {

std::string inflateToString(const std::vector<uint8_t>& in, size_t outSize, bool* ok = nullptr) {
    std::vector<uint8_t> out(outSize);
    Inflater inflater;
    const auto r = inflater.InflateRaw(in, out);
    if (ok) *ok = r.ok;
    return std::string(out.begin(), out.begin() + long(r.produced));
}

bool inflates(const std::vector<uint8_t>& in, size_t outSize) {
    std::vector<uint8_t> out(outSize);
    Inflater inflater;
    return inflater.InflateRaw(in, out).ok;
}

// Writes a DEFLATE bit stream: values least significant bit first, Huffman codes most
// significant bit first (RFC 1951, 3.1.1).
class BitWriter {
public:
    void bits(uint32_t value, unsigned n) {
        for (unsigned i = 0; i < n; ++i) put((value >> i) & 1);
    }
    void code(uint32_t code, unsigned n) {
        for (unsigned i = n; i-- > 0;) put((code >> i) & 1);
    }
    // A symbol of the fixed literal/length code.
    void fixedLitLen(unsigned sym) {
        if (sym < 144) code(0x30 + sym, 8);
        else if (sym < 256) code(0x190 + sym - 144, 9);
        else if (sym < 280) code(sym - 256, 7);
        else code(0xC0 + sym - 280, 8);
    }
    void alignToByte() {
        while (m_used) put(0);
    }
    void byte(uint8_t b) { m_out.push_back(b); }
    std::vector<uint8_t> finish() {
        alignToByte();
        return m_out;
    }

private:
    void put(unsigned bit) {
        if (m_used == 0) m_out.push_back(0);
        m_out.back() |= uint8_t(bit << m_used);
        m_used = (m_used + 1) & 7;
    }
    std::vector<uint8_t> m_out;
    unsigned m_used = 0;
};

// A stored block of `data`.
void storedBlock(BitWriter& w, const std::vector<uint8_t>& data, bool final) {
    w.bits(final, 1);
    w.bits(0, 2);
    w.alignToByte();
    const uint16_t len = uint16_t(data.size());
    for (uint8_t b : {uint8_t(len), uint8_t(len >> 8), uint8_t(~len), uint8_t(~len >> 8)}) w.byte(b);
    for (uint8_t b : data) w.byte(b);
}

} // namespace

// Streams written by zlib with fixed and with dynamic codes decode to their text.
TEST(Inflater, GoldenStreams_DecodeToTheirText) {
    const struct {
        const char* name;
        std::vector<uint8_t> stream;
        std::string text;
    } cases[] = {
        {"fixed codes",
         {0x0b, 0xc9, 0x4c, 0xcc, 0x4b, 0xca, 0x57, 0x28, 0xc8, 0x49, 0xac, 0x2c, 0x56, 0x28, 0xc9, 0x48, 0x55,
          0x28, 0x2e, 0x29, 0x4a, 0x4d, 0xcc, 0xd5, 0x41, 0x62, 0x43, 0x25, 0x43, 0xc0, 0x2a, 0xf5, 0x00},
         "Tianbo plays the stream, the stream plays Tianbo."},
        {"dynamic codes",
         {0x05, 0xc1, 0xc1, 0x09, 0x80, 0x40, 0x14, 0x43, 0xc1, 0x56, 0xd2, 0x87, 0xd5, 0xac, 0x10,
          0xc9, 0x21, 0xb0, 0xf0, 0xdf, 0x7a, 0xb0, 0x7b, 0x67, 0x88, 0x85, 0x5b, 0x84, 0x97, 0x88,
          0x5b, 0x74, 0x7f, 0x3a, 0xb1, 0xf0, 0x12, 0xd9, 0xe3, 0x4b, 0x27, 0x16, 0x71, 0x8b, 0x88,
          0x85, 0x5b, 0xb4, 0xc6, 0xc2, 0x4b, 0xc4, 0x2d, 0x7a, 0xf6, 0x88, 0x77, 0xfc, 0x03},
         "she sells sea shells by the sea shore; the shells she sells are sea shells for sure"},
        {"stored block", {0x01, 0x05, 0x00, 0xfa, 0xff, 'h', 'e', 'l', 'l', 'o'}, "hello"},
    };
    for (const auto& c : cases) {
        bool ok = false;
        EXPECT_EQ(inflateToString(c.stream, c.text.size(), &ok), c.text) << c.name;
        EXPECT_TRUE(ok) << c.name;
    }
}

// Malformed streams fail instead of producing output.
TEST(Inflater, MalformedStreams_Fail) {
    BitWriter reserved;
    reserved.bits(1, 1);
    reserved.bits(3, 2);

    BitWriter tooFarBack; // a match before anything was written
    tooFarBack.bits(1, 1);
    tooFarBack.bits(1, 2);
    tooFarBack.fixedLitLen(257);
    tooFarBack.code(0, 5);
    tooFarBack.fixedLitLen(256);

    BitWriter repeatFirst; // code-length code 16 with no previous length
    repeatFirst.bits(1, 1);
    repeatFirst.bits(2, 2);
    repeatFirst.bits(0, 5);
    repeatFirst.bits(0, 5);
    repeatFirst.bits(0, 4); // four code-length code lengths: 16, 17, 18, 0
    for (int i = 0; i < 4; ++i) repeatFirst.bits(2, 3);
    repeatFirst.code(1, 2); // symbol 16 (codes: 0 -> 00, 16 -> 01, 17 -> 10, 18 -> 11)
    repeatFirst.bits(0, 2);

    BitWriter overSubscribed; // three code-length codes of one bit
    overSubscribed.bits(1, 1);
    overSubscribed.bits(2, 2);
    overSubscribed.bits(0, 5);
    overSubscribed.bits(0, 5);
    overSubscribed.bits(0, 4);
    for (int i = 0; i < 3; ++i) overSubscribed.bits(1, 3);
    overSubscribed.bits(0, 3);

    const struct {
        const char* name;
        std::vector<uint8_t> stream;
        size_t outSize;
    } cases[] = {
        {"block type 3", reserved.finish(), 16},
        {"stored length and complement disagree", {0x01, 0x05, 0x00, 0xfa, 0xfe, 'h', 'e', 'l', 'l', 'o'}, 5},
        {"stored data past the input", {0x01, 0x05, 0x00, 0xfa, 0xff, 'h', 'e'}, 5},
        {"stored data past the output", {0x01, 0x05, 0x00, 0xfa, 0xff, 'h', 'e', 'l', 'l', 'o'}, 4},
        {"fixed-code text past the output",
         {0x0b, 0xc9, 0x4c, 0xcc, 0x4b, 0xca, 0x57, 0x28, 0xc8, 0x49, 0xac, 0x2c, 0x56, 0x28, 0xc9, 0x48, 0x55,
          0x28, 0x2e, 0x29, 0x4a, 0x4d, 0xcc, 0xd5, 0x41, 0x62, 0x43, 0x25, 0x43, 0xc0, 0x2a, 0xf5, 0x00},
         20},
        {"stream cut before the final block ends", {0x0b, 0xc9, 0x4c, 0xcc, 0x4b, 0xca, 0x57}, 64},
        {"distance before the output start", tooFarBack.finish(), 16},
        {"repeat code without a previous length", repeatFirst.finish(), 16},
        {"over-subscribed code lengths", overSubscribed.finish(), 16},
        {"empty input", {}, 16},
    };
    for (const auto& c : cases) EXPECT_FALSE(inflates(c.stream, c.outSize)) << c.name;
}

// Distance codes 30 and 31 reach 32769 and 49153 bytes back, which zlib refuses.
TEST(Inflater, DistanceCodes30And31_CopyFromFarBack) {
    std::vector<uint8_t> history(60000);
    for (size_t i = 0; i < history.size(); ++i) history[i] = uint8_t(i * 7 + i / 251);
    BitWriter w;
    storedBlock(w, std::vector<uint8_t>(history.begin(), history.begin() + 40000), false);
    storedBlock(w, std::vector<uint8_t>(history.begin() + 40000, history.end()), false);
    w.bits(1, 1);
    w.bits(1, 2);
    w.fixedLitLen(257); // length 3
    w.code(30, 5);
    w.bits(5, 14);      // distance 32769 + 5
    w.fixedLitLen(258); // length 4
    w.code(31, 5);
    w.bits(0, 14); // distance 49153
    w.fixedLitLen(256);
    const auto stream = w.finish();

    std::vector<uint8_t> out(60007);
    Inflater inflater;
    const auto r = inflater.InflateRaw(stream, out);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.produced, 60007u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(out[60000 + i], history[60000 - 32774 + i]);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(out[60003 + i], out[60003 - 49153 + i]);

    // zlib refuses the same stream.
    z_stream zs{};
    inflateInit2(&zs, -15);
    std::vector<uint8_t> zout(out.size());
    zs.next_in = const_cast<uint8_t*>(stream.data());
    zs.avail_in = uInt(stream.size());
    zs.next_out = zout.data();
    zs.avail_out = uInt(zout.size());
    EXPECT_EQ(inflate(&zs, Z_FINISH), Z_DATA_ERROR);
    inflateEnd(&zs);
}

// RFC 1951 allows a single one-bit distance code and a block without distance codes.
TEST(Inflater, IncompleteCodesThatTheRfcAllows_Decode) {
    auto dynamicHeader = [](BitWriter& w, unsigned hdist, unsigned distLen) {
        // Literal/length code: 'a' (97) and 256 at one bit each, plus 257 only when a distance
        // code exists, so lengths 1, 2, 2. Code-length code: symbols 0, 1, 2 and 18.
        w.bits(1, 1);
        w.bits(2, 2);
        w.bits(258 - 257, 5); // HLIT 258
        w.bits(hdist - 1, 5);
        w.bits(19 - 4, 4);
        // Code-length code lengths in storage order 16 17 18 0 8 7 9 6 10 5 11 4 12 3 13 2 14 1 15:
        // 0:2, 1:2, 2:2, 18:2 (a complete code of four two-bit codes).
        const unsigned order[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};
        unsigned clen[19] = {};
        clen[0] = clen[1] = clen[2] = clen[18] = 2;
        for (unsigned i = 0; i < 19; ++i) w.bits(clen[order[i]], 3);
        // Canonical codes: 0 -> 00, 1 -> 01, 2 -> 10, 18 -> 11.
        auto len = [&](unsigned v) { w.code(v, 2); };
        auto zeros = [&](unsigned n) {
            w.code(3, 2);
            w.bits(n - 11, 7);
        };
        zeros(97);  // 0..96
        len(1);     // 97
        zeros(138); // 98..235
        zeros(20);  // 236..255
        len(2);     // 256
        len(2);     // 257
        for (unsigned i = 0; i < hdist; ++i) len(i == 0 ? distLen : 0);
    };
    // 'a' = 0, 256 = 10, 257 = 11.
    BitWriter single;
    dynamicHeader(single, 1, 1);
    single.code(0, 1); // 'a'
    single.code(3, 2); // length 3
    single.code(0, 1); // distance code 0: distance 1
    single.code(2, 2); // end
    BitWriter none;
    dynamicHeader(none, 1, 0);
    none.code(0, 1);
    none.code(0, 1);
    none.code(2, 2);

    bool ok = false;
    EXPECT_EQ(inflateToString(single.finish(), 4, &ok), "aaaa");
    EXPECT_TRUE(ok);
    EXPECT_EQ(inflateToString(none.finish(), 2, &ok), "aa");
    EXPECT_TRUE(ok);
}

// Whatever zlib writes, at any level and strategy, decodes to the original bytes.
TEST(Inflater, RoundTrip_MatchesZlibOutput) {
    std::mt19937 rng(7);
    std::vector<uint8_t> text(300000);
    // Runs, repeats at many distances and noise, like filtered image rows.
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned kind = (i / 4096) % 4;
        if (kind == 0) text[i] = uint8_t(rng() % 4);
        else if (kind == 1 && i > 3000) text[i] = text[i - 1 - rng() % 3000];
        else if (kind == 2) text[i] = uint8_t(i / 64);
        else text[i] = uint8_t(rng());
    }
    const struct {
        int level;
        int strategy;
    } cases[] = {{1, Z_DEFAULT_STRATEGY},
                 {6, Z_DEFAULT_STRATEGY},
                 {9, Z_DEFAULT_STRATEGY},
                 {9, Z_FILTERED},
                 {9, Z_HUFFMAN_ONLY},
                 {9, Z_RLE},
                 {9, Z_FIXED},
                 {0, Z_DEFAULT_STRATEGY}};
    for (const auto& c : cases) {
        z_stream zs{};
        deflateInit2(&zs, c.level, Z_DEFLATED, 15, 9, c.strategy);
        std::vector<uint8_t> z(deflateBound(&zs, uLong(text.size())));
        zs.next_in = text.data();
        zs.avail_in = uInt(text.size());
        zs.next_out = z.data();
        zs.avail_out = uInt(z.size());
        ASSERT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
        z.resize(zs.total_out);
        deflateEnd(&zs);

        std::vector<uint8_t> out(text.size());
        Inflater inflater;
        const auto r = inflater.InflateZlib(z, out);
        EXPECT_TRUE(r.ok) << "level " << c.level << " strategy " << c.strategy;
        EXPECT_EQ(r.produced, text.size());
        EXPECT_EQ(out, text) << "level " << c.level << " strategy " << c.strategy;
        // The consumed count ends at the Adler-32.
        EXPECT_EQ(r.consumed + 4, z.size());
    }
}
