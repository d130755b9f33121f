// Numbers, literal strings, ASCII85, date and file identifier; the deflate stream.
#include "tests/pdf/PdfTestSupport.h"

#include "pdf/PdfCompress.h"
#include "pdf/PdfFormat.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

using namespace tessora;
using tessora::test::Decode85;

namespace {


} // namespace

TEST(PdfNumber, ThreeDecimalsNoTrailingZeros) {
    EXPECT_EQ(PdfNumber(2100 * 72.0 / 254.0), "595.276");
    EXPECT_EQ(PdfNumber(2970 * 72.0 / 254.0), "841.89");
    EXPECT_EQ(PdfNumber(12), "12");
    EXPECT_EQ(PdfNumber(-3.5), "-3.5");
    EXPECT_EQ(PdfNumber(0), "0");
    EXPECT_EQ(PdfNumber(-0.0), "0");
    EXPECT_EQ(PdfNumber(1.0), "1");
    EXPECT_EQ(PdfNumber(192 / 255.0), "0.753");
    EXPECT_EQ(PdfNumber(100.10), "100.1");
    EXPECT_EQ(PdfNumber(1234567.0), "1234567");
}

TEST(PdfNumber, FourthDecimalDecidesHalvesAwayFromZero) {
    EXPECT_EQ(PdfNumber(0.0005), "0.001");
    EXPECT_EQ(PdfNumber(-0.0005), "-0.001");
    EXPECT_EQ(PdfNumber(0.00049), "0");
    EXPECT_EQ(PdfNumber(-0.0004), "0"); // no "-0"
    EXPECT_EQ(PdfNumber(1.2345), "1.235");
    EXPECT_EQ(PdfNumber(1.2344999), "1.234");
    EXPECT_EQ(PdfNumber(9.9995), "10");
    EXPECT_EQ(PdfNumber(-999.9999), "-1000");
    EXPECT_EQ(PdfNumber(0.28346456692913385), "0.283");
    EXPECT_EQ(PdfNumber(756.8503937007874), "756.85");
}

TEST(PdfNumber, Integers) {
    EXPECT_EQ(PdfInt(0), "0");
    EXPECT_EQ(PdfInt(-17), "-17");
    EXPECT_EQ(PdfInt(412345678901LL), "412345678901");
}

TEST(PdfRound, HalvesToEven) {
    EXPECT_EQ(PdfRound(0.5), 0);
    EXPECT_EQ(PdfRound(1.5), 2);
    EXPECT_EQ(PdfRound(2.5), 2);
    EXPECT_EQ(PdfRound(-2.5), -2);
    EXPECT_EQ(PdfRound(2.6), 3);
}

TEST(EncodeText, EscapesAsWritten) {
    EXPECT_EQ(EncodeText(""), "()");
    EXPECT_EQ(EncodeText("Sheet (1)"), "(Sheet \\(1\\))");
    EXPECT_EQ(EncodeText("a\\b"), "(a\\\\b)");
    EXPECT_EQ(EncodeText("\b\t\n\f\r"), "(\\b\\t\\n\\f\\r)");
}

TEST(EncodeText, NonAsciiAsUtf16WithByteOrderMark) {
    const std::string s = EncodeText("\xC3\xA9"); // é
    EXPECT_EQ(s, std::string("(\xFE\xFF\x00\xE9)", 6));
    const std::string paren = EncodeText("\xE2\x82\xAC(");
    EXPECT_EQ(paren, std::string("(\xFE\xFF\x20\xAC\x00\\()", 9));
}

TEST(ASCII85, EdgeCasesOfThePart) {
    EXPECT_EQ(ASCII85Encode(std::string("\0\0\0\0", 4)), "z~>");
    EXPECT_EQ(ASCII85Encode(std::string("\0", 1)), "!!~>");
    EXPECT_EQ(ASCII85Encode("Man"), "9jqo~>");
    EXPECT_EQ(ASCII85Encode(""), "~>");
    EXPECT_EQ(ASCII85Encode("Man "), "9jqo^~>");
    // A final group of zero bytes is never "z".
    EXPECT_EQ(ASCII85Encode(std::string("abcd\0\0\0", 7)), ASCII85Encode("abcd").substr(0, 5) + "!!!!~>");
    EXPECT_EQ(ASCII85Encode("\xFF\xFF\xFF\xFF"), "s8W-!~>");
}

TEST(ASCII85, RoundTripsEveryLengthWithoutLineBreaks) {
    std::mt19937 rng(7);
    for (int n = 0; n < 300; ++n) {
        std::string data(size_t(n), '\0');
        for (char& c : data)
            c = char(rng() % 4 == 0 ? 0 : rng());
        const std::string enc = ASCII85Encode(data);
        ASSERT_EQ(enc.substr(enc.size() - 2), "~>");
        ASSERT_EQ(enc.find('\n'), std::string::npos);
        ASSERT_EQ(Decode85(enc), data) << n;
        for (char c : enc.substr(0, enc.size() - 2))
            ASSERT_TRUE((c >= '!' && c <= 'u') || c == 'z');
    }
}

TEST(PdfDate, CreationDateAndDayCount) {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 7;
    t.tm_min = 8;
    t.tm_sec = 9;
    EXPECT_EQ(PdfDateText(t), "D:20240305070809");
    std::tm y2k{};
    y2k.tm_year = 100;
    y2k.tm_mday = 1;
    EXPECT_DOUBLE_EQ(PdfDateTimeValue(y2k, 0), 36526.0);
    y2k.tm_hour = 12;
    EXPECT_DOUBLE_EQ(PdfDateTimeValue(y2k, 0), 36526.5);
}

TEST(PdfFileIdentifier, ExampleOfThePart) {
    EXPECT_EQ(PdfFileIdentifier(41234567.8901, "C:\\Out\\Sheet.pdf"), "412345678901thtd");
    // Letters of either case at positions 3, 6, 9, ...; anything else is skipped.
    EXPECT_EQ(PdfFileIdentifier(1.0, "abCdeF/x9"), "10000CF");
    EXPECT_EQ(PdfFileIdentifier(1.0, "/tmp/a.pdf"), "10000mad");
}

TEST(CompressionStream, WritesAZlibStream) {
    std::vector<uint8_t> dest;
    std::string data;
    for (int i = 0; i < 300000; ++i)
        data += char('a' + i % 7 + (i / 1000) % 5);
    {
        TCompressionStream z(TCompressionLevel::clDefault, dest);
        z.Write(data.data(), 1000);
        EXPECT_EQ(z.Seek(0, soCurrent), 1000);
        EXPECT_EQ(z.Seek(1000, soBeginning), 1000);
        z.Write(data.data() + 1000, data.size() - 1000);
    } // destroying it finishes the stream
    ASSERT_GT(dest.size(), 2u);
    EXPECT_EQ(dest[0], 0x78); // zlib header
    std::vector<uint8_t> back(data.size());
    uLongf n = uLongf(back.size());
    ASSERT_EQ(uncompress(back.data(), &n, dest.data(), uLong(dest.size())), Z_OK);
    ASSERT_EQ(n, data.size());
    EXPECT_EQ(std::string(back.begin(), back.end()), data);
}

TEST(CompressionStream, ReadAndSeekElsewhereRaise) {
    std::vector<uint8_t> dest;
    TCompressionStream z(TCompressionLevel::clMax, dest);
    char c;
    try {
        z.Read(&c, 1);
        FAIL();
    } catch (const ECompressionError& e) {
        EXPECT_STREQ(e.what(), "Invalid stream operation");
    }
    EXPECT_THROW(z.Seek(5, soBeginning), ECompressionError);
    EXPECT_THROW(z.Seek(0, soEnd), ECompressionError);
    EXPECT_THROW(z.Seek(1, soCurrent), ECompressionError);
    z.Finish();
    std::vector<uint8_t> back(1);
    uLongf n = 1;
    EXPECT_EQ(uncompress(back.data(), &n, dest.data(), uLong(dest.size())), Z_OK);
    EXPECT_EQ(n, 0u);
}

TEST(CompressionStream, LevelNoneStoresTheBytes) {
    std::vector<uint8_t> dest;
    const std::string data(100000, 'x');
    TCompressionStream z(TCompressionLevel::clNone, dest);
    z.Write(data.data(), data.size());
    z.Finish();
    EXPECT_GT(dest.size(), data.size());
}
