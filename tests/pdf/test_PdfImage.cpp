// TPdfImage: depth table, sample rows, encodings and their XObjects, and pictures coming back
// from pdftoppm at their place and in their colours.
#include "tests/pdf/PdfTestSupport.h"

#include "pdf/PdfFormat.h"
#include "pdf/PdfJpeg.h"

#include <QImage>
#include <zlib.h>

#include <cmath>
#include <random>

using namespace tessora;
using namespace tessora::test;

namespace {

using TLines = std::vector<std::string>;


std::string Inflate(const std::string& z) {
    std::string out(1 << 20, '\0');
    for (;;) {
        uLongf n = uLongf(out.size());
        const int rc = uncompress(reinterpret_cast<Bytef*>(out.data()), &n,
                                  reinterpret_cast<const Bytef*>(z.data()), uLong(z.size()));
        if (rc == Z_BUF_ERROR) {
            out.resize(out.size() * 4);
            continue;
        }
        if (rc != Z_OK) return "(inflate failed)";
        out.resize(n);
        return out;
    }
}

// A QImage seen through the writer's picture interface, as the program's adapter will be:
// 32-bit formats hand out their scan lines, indexed ones fill the buffer from the colour table.
class TQImagePicture : public TPdfPicture {
public:
    explicit TQImagePicture(QImage image, TPixelFormat format)
        : Image(std::move(image)), Format(format), Id(NewPdfPictureId()) {}
    int Width() const override { return Image.width(); }
    int Height() const override { return Image.height(); }
    TPixelFormat PixelFormat() const override { return Format; }
    const uint32_t* ScanLine(int y, uint32_t* buffer) const override {
        if (Image.format() == QImage::Format_RGB32 || Image.format() == QImage::Format_ARGB32)
            return reinterpret_cast<const uint32_t*>(Image.constScanLine(y));
        const QList<QRgb> table = Image.colorTable();
        const uchar* line = Image.constScanLine(y);
        for (int x = 0; x < Image.width(); ++x)
            buffer[x] = table[line[x]];
        return buffer;
    }
    uint64_t Identity() const override { return Id; }

private:
    QImage Image;
    TPixelFormat Format;
    uint64_t Id;
};

constexpr int kScale = 8;

class PdfImageTest : public PdfFileTest {
protected:
    // Writes one picture with the given mode and returns the parsed file; the XObject is 5.
    TPdfFile WriteOne(const std::string& file, const TPdfPicture& pic, TPdfCompressMode mode,
                      TPdfCompressMode* used = nullptr) {
        TPdfBox pdf;
        SetA4(pdf);
        pdf.SetFileName(Out(file));
        pdf.SetImageCompressMode(mode);
        pdf.BeginDoc();
        pdf.Canvas().StretchDraw({100, 100, 600, 600}, &pic);
        if (used) *used = pdf.Canvas().Picture(0).Encoding();
        pdf.EndDoc();
        return ReadPdf(Out(file));
    }

    // Renders a picture placed with one point a pixel, its pixels covering left .. left + width - 1
    // and top .. top + height - 1, at kScale device pixels a point.
    QImage RenderPlaced(const std::string& file, const TPdfPicture& pic, TPdfCompressMode mode, int left,
                        int top) {
        TPdfBox pdf;
        pdf.SetLengthUnit(luPoint);
        pdf.SetPageWidth(200);
        pdf.SetPageHeight(150);
        pdf.SetSmartStretchDraw(false);
        pdf.SetImageCompressMode(mode);
        pdf.SetFileName(Out(file));
        pdf.BeginDoc();
        // The picture fills the rectangle exactly.
        pdf.Canvas().StretchDraw({left, top, left + pic.Width(), top + pic.Height()}, &pic);
        pdf.EndDoc();
        return RenderPage(Out(file), 72 * kScale, Out(file + "-page"));
    }
};

// Rendered at kScale device pixels a picture pixel: at 4 and more the renderer replicates pixels
// instead of interpolating them, so the centre of each block shows the picture's own colour.

// The device pixel at the centre of picture pixel (x, y) of a picture placed at (left, top).
uint32_t At(const QImage& page, int left, int top, int x, int y) {
    return page.pixel(kScale * (left + x) + kScale / 2, kScale * (top + y) + kScale / 2) & 0xFFFFFF;
}

// Colour the PDF reader makes of a pixel's RGB cut to `bits` bits per channel.
uint32_t Quantised(uint32_t c, int bits) {
    const int max = (1 << bits) - 1;
    uint32_t r = 0;
    for (int shift = 16; shift >= 0; shift -= 8) {
        const int v = int((c >> shift) & 0xFF) >> (8 - bits);
        r = (r << 8) | uint32_t(v * 255 / max);
    }
    return r;
}

// Differences of the picture area of `page` from `expect` (0x00RRGGBB per pixel).
struct TDiff {
    int Max = 0;
    double Mean = 0;
    int Wrong = 0;
    int Over24 = 0; // pixels with a channel off by more than 24
    std::string First;
};

TDiff Compare(const QImage& page, int left, int top, const TPdfBitmap& pic,
              const std::function<uint32_t(uint32_t)>& expect) {
    TDiff d;
    long long sum = 0;
    for (int y = 0; y < pic.Height(); ++y)
        for (int x = 0; x < pic.Width(); ++x) {
            const uint32_t want = expect(const_cast<TPdfBitmap&>(pic).Pixel(x, y)) & 0xFFFFFF;
            const uint32_t got = At(page, left, top, x, y);
            int worst = 0;
            for (int s = 0; s <= 16; s += 8) {
                const int e = std::abs(int((want >> s) & 0xFF) - int((got >> s) & 0xFF));
                worst = std::max(worst, e);
                sum += e;
            }
            if (worst > 0 && d.Wrong++ == 0) {
                char buf[96];
                std::snprintf(buf, sizeof buf, "first at (%d, %d): want %06X got %06X", x, y, want, got);
                d.First = buf;
            }
            d.Max = std::max(d.Max, worst);
            if (worst > 24) ++d.Over24;
        }
    d.Mean = double(sum) / (3.0 * pic.Width() * pic.Height());
    return d;
}

// The page is white just around the picture (two device pixels off its edges), and the
// picture's corner pixels reach its corners.
bool WhiteAround(const QImage& page, int left, int top, int w, int h) {
    const int x0 = kScale * left - 2, x1 = kScale * (left + w) + 2, y0 = kScale * top - 2,
              y1 = kScale * (top + h) + 2;
    for (int x = x0; x <= x1; x += 3)
        for (int y : {y0, y1})
            if ((page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
    for (int y = y0; y <= y1; y += 3)
        for (int x : {x0, x1})
            if ((page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
    // and the picture reaches its edges
    return (page.pixel(x0 + 3, y0 + 3) & 0xFFFFFF) == At(page, left, top, 0, 0) &&
           (page.pixel(x1 - 4, y1 - 4) & 0xFFFFFF) == At(page, left, top, w - 1, h - 1);
}

TPdfBitmap RandomPicture(int w, int h, TPixelFormat format, unsigned seed) {
    TPdfBitmap pic(w, h, format);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pic.Pixel(x, y) = 0xFF000000u | (rng() & 0xFFFFFF);
    return pic;
}

} // namespace

TEST(PdfImageDepth, TableOfThePart) {
    EXPECT_EQ(PdfBitsPerComponent(pf1bit), 1);
    EXPECT_EQ(PdfBitsPerComponent(pf4bit), 2);
    EXPECT_EQ(PdfBitsPerComponent(pf8bit), 4);
    for (TPixelFormat f : {pfDevice, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom})
        EXPECT_EQ(PdfBitsPerComponent(f), 8);
}

TEST(PdfImageSamples, OneBitRowOfTenPixelsTakesTwoBytes) {
    TPdfBitmap pic(10, 1, pf1bit, 0xFFFFFFFF);
    pic.Pixel(0, 0) = 0xFF000000; // black (alpha ignored)
    pic.Pixel(2, 0) = 0x000000;
    pic.Pixel(3, 0) = 0x404040; // dark grey counts as white
    pic.Pixel(9, 0) = 0x000000;
    const std::vector<uint8_t> rows = PdfSampleRows(pic, 1);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], 0b01011111);
    EXPECT_EQ(rows[1], 0b10000000); // pixel 8 white, pixel 9 black, padding zero
    EXPECT_EQ(PdfSampleRowBytes(10, 1), 2u);
}

TEST(PdfImageSamples, TwoBitRowOfFivePixelsTakesFourBytes) {
    TPdfBitmap pic(5, 2, pf4bit, 0xFFFFFF);
    pic.Pixel(0, 0) = 0x804000; // r 10, g 01, b 00
    pic.Pixel(4, 0) = 0xC0FF3F; // r 11, g 11, b 00
    const std::vector<uint8_t> rows = PdfSampleRows(pic, 2);
    ASSERT_EQ(rows.size(), 8u); // 30 bits in 4 bytes, each row
    EXPECT_EQ(rows[0], 0b10010011);
    EXPECT_EQ(rows[1], 0xFF);
    EXPECT_EQ(rows[2], 0xFF);
    EXPECT_EQ(rows[3], 0b11110000); // 11 11 00, then two padding bits
    EXPECT_EQ(rows[4], 0xFF);
    EXPECT_EQ(rows[7], 0b11111100);
}

TEST(PdfImageSamples, FourAndEightBits) {
    TPdfBitmap pic(3, 1, pf8bit, 0x000000);
    pic.Pixel(0, 0) = 0x12ABCD;
    pic.Pixel(2, 0) = 0xF0E0D0;
    const std::vector<uint8_t> four = PdfSampleRows(pic, 4);
    EXPECT_EQ(four, (std::vector<uint8_t>{0x1A, 0xC0, 0x00, 0xFE, 0xD0})); // 36 bits in 5 bytes
    const std::vector<uint8_t> eight = PdfSampleRows(pic, 8);
    EXPECT_EQ(eight, (std::vector<uint8_t>{0x12, 0xAB, 0xCD, 0, 0, 0, 0xF0, 0xE0, 0xD0}));
}

TEST_F(PdfImageTest, TrueColourJpegXObject) {
    const TPdfBitmap pic = RandomPicture(40, 30, pf24bit, 1);
    const TPdfFile f = WriteOne("jpeg.pdf", pic, cpJpeg);
    EXPECT_EQ(f.Dict(5),
              (TLines{"/Type/XObject", "/Subtype/Image", "/Width 40", "/Height 30", "/ColorSpace/DeviceRGB",
                      "/BitsPerComponent 8", "/Length " + std::to_string(f.StreamLength(5)),
                      "/Filter[/ASCII85Decode/DCTDecode]"}));
    const std::string jpeg = Decode85(f.Stream(5));
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(uint8_t(jpeg[0]), 0xFF);
    EXPECT_EQ(uint8_t(jpeg[1]), 0xD8);
    EXPECT_EQ(f.Stream(5).substr(f.Stream(5).size() - 2), "~>");
    EXPECT_EQ(f.StreamLength(5) + 1, (long long)f.RawStream(5).size());
    const QImage back = QImage::fromData(QByteArray(jpeg.data(), qsizetype(jpeg.size())), "JPEG");
    EXPECT_EQ(back.width(), 40);
    EXPECT_EQ(back.height(), 30);
}

TEST_F(PdfImageTest, OneBitPictureWithJpegModeIsDeflatedGrey) {
    TPdfBitmap pic(10, 3, pf1bit, 0xFFFFFF);
    pic.Pixel(1, 1) = 0;
    TPdfCompressMode used;
    const TPdfFile f = WriteOne("mono.pdf", pic, cpJpeg, &used);
    EXPECT_EQ(used, cpZlib);
    EXPECT_EQ(f.Dict(5),
              (TLines{"/Type/XObject", "/Subtype/Image", "/Width 10", "/Height 3", "/ColorSpace/DeviceGray",
                      "/BitsPerComponent 1", "/Length " + std::to_string(f.StreamLength(5)),
                      "/Filter[/ASCII85Decode/FlateDecode]"}));
    EXPECT_EQ(Inflate(Decode85(f.Stream(5))), std::string("\xFF\xC0\xBF\xC0\xFF\xC0", 6));
}

TEST_F(PdfImageTest, SixteenColoursUncompressed) {
    TPdfBitmap pic(5, 3, pf4bit, 0xFFFFFF);
    TPdfCompressMode used;
    const TPdfFile f = WriteOne("sixteen.pdf", pic, cpNone, &used);
    EXPECT_EQ(used, cpNone);
    const TLines dict = f.Dict(5);
    ASSERT_EQ(dict.size(), 8u);
    EXPECT_EQ(dict[4], "/ColorSpace/DeviceRGB");
    EXPECT_EQ(dict[5], "/BitsPerComponent 2");
    EXPECT_EQ(dict[7], "/Filter[/ASCII85Decode]");
    const std::string samples = Decode85(f.Stream(5));
    EXPECT_EQ(samples.size(), 12u); // 4 bytes a row
    EXPECT_EQ(samples.substr(0, 4), std::string("\xFF\xFF\xFF\xFC", 4));
}

TEST_F(PdfImageTest, EightBitZlib) {
    const TPdfBitmap pic = RandomPicture(7, 5, pf32bit, 2);
    TPdfCompressMode used;
    const TPdfFile f = WriteOne("zlib.pdf", pic, cpZlib, &used);
    EXPECT_EQ(used, cpZlib);
    EXPECT_EQ(f.Dict(5)[7], "/Filter[/ASCII85Decode/FlateDecode]");
    EXPECT_EQ(Inflate(Decode85(f.Stream(5))),
              std::string(reinterpret_cast<const char*>(PdfSampleRows(pic, 8).data()), 105));
}

TEST_F(PdfImageTest, JpegFailuresFallBackToZlib) {
    // libjpeg refuses an empty picture and one wider than 65500: failures, not the end of the process.
    TPdfBitmap empty(0, 0);
    std::vector<uint8_t> out;
    EXPECT_FALSE(JpegEncode(empty, 90, out));
    EXPECT_TRUE(out.empty());
    TPdfBitmap wide(70000, 1);
    EXPECT_FALSE(JpegEncode(wide, 90, out));
    TPdfCompressMode used;
    const TPdfFile f = WriteOne("wide.pdf", wide, cpJpeg, &used);
    EXPECT_EQ(used, cpZlib);
    EXPECT_EQ(f.Dict(5)[7], "/Filter[/ASCII85Decode/FlateDecode]");
    EXPECT_EQ(Inflate(Decode85(f.Stream(5))).size(), 210000u);
    // A picture of zero size is still written, its data the encoding of no rows.
    const TPdfFile g = WriteOne("empty.pdf", empty, cpJpeg, &used);
    EXPECT_EQ(used, cpZlib);
    EXPECT_EQ(g.Dict(5)[2], "/Width 0");
    EXPECT_EQ(Inflate(Decode85(g.Stream(5))), "");
    EXPECT_EQ(ReadBytes(Out("empty.pdf")).find("/Im0 Do"), std::string::npos);
}

TEST_F(PdfImageTest, JpegQualityIsPassedToTheEncoder) {
    const TPdfBitmap pic = RandomPicture(64, 64, pf24bit, 3);
    std::vector<uint8_t> low, high;
    ASSERT_TRUE(JpegEncode(pic, 10, low));
    ASSERT_TRUE(JpegEncode(pic, 95, high));
    EXPECT_LT(low.size() * 2, high.size());
}

// ---- Rendered by pdftoppm ---------------------------------------------------------------------

TEST_F(PdfImageTest, RenderedTrueColourExactForNoneAndZlib) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    const TPdfBitmap pic = RandomPicture(37, 23, pf24bit, 4);
    for (TPdfCompressMode mode : {cpNone, cpZlib}) {
        const QImage page = RenderPlaced(mode == cpNone ? "rgb-none.pdf" : "rgb-zlib.pdf", pic, mode, 20, 30);
        ASSERT_EQ(page.size(), QSize(200 * kScale, 150 * kScale));
        const TDiff d = Compare(page, 20, 30, pic, [](uint32_t c) { return c; });
        EXPECT_EQ(d.Wrong, 0) << d.First;
        EXPECT_TRUE(WhiteAround(page, 20, 30, 37, 23));
    }
}

TEST_F(PdfImageTest, RenderedOneTwoAndFourBitsExact) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    struct TCase {
        TPixelFormat Format;
        int Bits;
        TPdfCompressMode Mode;
    };
    for (const TCase& c : {TCase{pf1bit, 1, cpZlib}, TCase{pf4bit, 2, cpNone}, TCase{pf8bit, 4, cpJpeg}}) {
        TPdfBitmap pic = RandomPicture(29, 17, c.Format, 5 + unsigned(c.Bits));
        if (c.Bits == 1)
            for (int y = 0; y < 17; ++y)
                for (int x = 0; x < 29; ++x)
                    if ((x + y) % 3 == 0) pic.Pixel(x, y) = 0; // black among colours
        const std::string file = "bits" + std::to_string(c.Bits) + ".pdf";
        const QImage page = RenderPlaced(file, pic, c.Mode, 11, 13);
        ASSERT_EQ(page.size(), QSize(200 * kScale, 150 * kScale));
        const int bits = c.Bits;
        const TDiff d = Compare(page, 11, 13, pic, [bits](uint32_t px) {
            if (bits == 1) return (px & 0xFFFFFF) == 0 ? 0u : 0xFFFFFFu;
            return Quantised(px, bits);
        });
        EXPECT_EQ(d.Wrong, 0) << bits << " bits: " << d.First;
        EXPECT_TRUE(WhiteAround(page, 11, 13, 29, 17)) << bits;
        const TPdfFile f = ReadPdf(Out(file));
        EXPECT_EQ(f.Dict(5)[5], "/BitsPerComponent " + std::to_string(bits));
    }
}

TEST_F(PdfImageTest, RenderedJpegWithinTolerance) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    // A smooth picture with a few flat blocks, as label faces are.
    TPdfBitmap pic(64, 48, pf24bit);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) {
            uint32_t c = (uint32_t(x * 4) << 16) | (uint32_t(y * 5) << 8) | uint32_t(128 + x - y);
            if (x >= 16 && x < 32 && y >= 16 && y < 32) c = 0xD02020;
            if (x >= 32 && x < 48 && y >= 32 && y < 48) c = 0x2040E0;
            pic.Pixel(x, y) = c;
        }
    const QImage page = RenderPlaced("rgb-jpeg.pdf", pic, cpJpeg, 50, 40);
    ASSERT_EQ(page.size(), QSize(200 * kScale, 150 * kScale));
    // Against the JPEG as libjpeg itself decodes it: the two decoders differ only a little.
    const TPdfFile f = ReadPdf(Out("rgb-jpeg.pdf"));
    const std::string jpeg = Decode85(f.Stream(5));
    const QImage decoded = QImage::fromData(QByteArray(jpeg.data(), qsizetype(jpeg.size())), "JPEG")
                               .convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(decoded.size(), QSize(64, 48));
    TPdfBitmap ref(64, 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            ref.Pixel(x, y) = decoded.pixel(x, y) & 0xFFFFFF;
    const TDiff dj = Compare(page, 50, 40, ref, [](uint32_t c) { return c; });
    std::printf("JPEG against its libjpeg decoding: mean %.2f, max %d\n", dj.Mean, dj.Max);
    EXPECT_LT(dj.Mean, 1.0);
    EXPECT_LE(dj.Max, 8) << dj.First;
    // Against the picture itself.
    const TDiff d = Compare(page, 50, 40, pic, [](uint32_t c) { return c; });
    // Quality 90 with halved chroma: small errors, larger ones only along the sharp colour edges.
    std::printf("JPEG: mean %.2f, max %d, %d of %d pixels off by more than 24\n", d.Mean, d.Max, d.Over24,
                64 * 48);
    EXPECT_LT(d.Mean, 4.0);
    EXPECT_LT(d.Over24, 64 * 48 / 10); // the pixels along the blocks' edges
    // Inside the flat blocks, away from their edges, the colour is close.
    for (int y = 18; y < 30; ++y)
        for (int x = 18; x < 30; ++x) {
            const uint32_t got = At(page, 50, 40, x, y);
            EXPECT_NEAR(int(got >> 16), 0xD0, 8);
            EXPECT_NEAR(int((got >> 8) & 0xFF), 0x20, 8);
            EXPECT_NEAR(int(got & 0xFF), 0x20, 8);
        }
    EXPECT_TRUE(WhiteAround(page, 50, 40, 64, 48));
    EXPECT_EQ(f.Dict(5)[7], "/Filter[/ASCII85Decode/DCTDecode]");
}

TEST_F(PdfImageTest, RenderedAtItsPlaceInTenthsOfAMillimetre) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    // 254 dpi: one tenth of a millimetre is one rendered pixel. Natural size at 96 DPI: a
    // 96-pixel picture becomes 254 tenths.
    TPdfBitmap pic(96, 48, pf24bit, 0x00C000);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 48; ++x)
            pic.Pixel(x, y) = 0x0000C0;
    TPdfBox pdf;
    pdf.SetLengthUnit(luTenth);
    pdf.SetPageWidth(600);
    pdf.SetPageHeight(400);
    pdf.SetImageCompressMode(cpZlib);
    pdf.SetFileName(Out("tenths.pdf"));
    pdf.BeginDoc();
    pdf.Canvas().StretchDraw({100, 50, 100, 50}, &pic);
    pdf.EndDoc();
    const QImage page = RenderPage(Out("tenths.pdf"), 254, Out("tenths"));
    ASSERT_GE(page.width(), 600); // 600 tenths at 254 dpi, give or take the renderer's rounding
    ASSERT_LE(page.width(), 601);
    ASSERT_GE(page.height(), 400);
    // Drawn over 253 x 126 tenths from (100, 50).
    const auto at = [&](int x, int y) { return page.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(110, 60), 0x0000C0u);
    EXPECT_EQ(at(300, 150), 0x00C000u);
    // The blue quarter ends half way: x 100 + 126.5, y 51 + 63.
    EXPECT_EQ(at(250, 110), 0x00C000u);
    EXPECT_EQ(at(150, 140), 0x00C000u);
    EXPECT_EQ(at(150, 80), 0x0000C0u);
    EXPECT_EQ(at(220, 80), 0x0000C0u); // away from the edge the renderer blends across
    EXPECT_EQ(at(234, 80), 0x00C000u);
    EXPECT_EQ(at(150, 106), 0x0000C0u);
    EXPECT_EQ(at(150, 122), 0x00C000u);
    EXPECT_EQ(at(98, 100), 0xFFFFFFu);
    EXPECT_EQ(at(356, 100), 0xFFFFFFu);
    EXPECT_EQ(at(200, 48), 0xFFFFFFu);
    EXPECT_EQ(at(200, 178), 0xFFFFFFu);
}

TEST_F(PdfImageTest, QImageAdapterForThirtyTwoBitAndIndexedPictures) {
    if (!HaveTool("pdftoppm")) GTEST_SKIP() << "pdftoppm is not installed";
    QImage rgb(16, 8, QImage::Format_RGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            rgb.setPixel(x, y, qRgb(x * 16, y * 32, 200));
    QImage indexed(16, 8, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            indexed.setPixel(x, y, uint((x + y) % 4));
    const TQImagePicture a(rgb, pf32bit), b(indexed, pf8bit);

    TPdfBox pdf;
    pdf.SetLengthUnit(luPoint);
    pdf.SetPageWidth(100);
    pdf.SetPageHeight(100);
    pdf.SetSmartStretchDraw(false);
    pdf.SetImageCompressMode(cpZlib);
    pdf.SetFileName(Out("qimage.pdf"));
    pdf.BeginDoc();
    pdf.Canvas().StretchDraw({10, 10, 26, 18}, &a);
    pdf.Canvas().StretchDraw({10, 50, 26, 58}, &b);
    pdf.EndDoc();
    const QImage page = RenderPage(Out("qimage.pdf"), 72 * kScale, Out("qimage"));
    ASSERT_EQ(page.size(), QSize(100 * kScale, 100 * kScale));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x) {
            EXPECT_EQ(At(page, 10, 10, x, y), rgb.pixel(x, y) & 0xFFFFFF) << x << "," << y;
            EXPECT_EQ(At(page, 10, 50, x, y), indexed.pixel(x, y) & 0xFFFFFF) << x << "," << y;
        }
}
