// Picture operations: resampling, flips, rotation, filters, fade, filter lists.
#include "platform/uImageOps.h"
#include "platform/uImageOpsInternal.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <algorithm>
#include <cmath>
#include <functional>
#include <random>
#include <vector>

using namespace tessora;

namespace {

using PixelFn = std::function<uint32_t(int x, int y)>;

// Raw 32-bit pixels straight from the scanlines (premultiplied where the format is).
uint32_t Raw(const QImage& img, int x, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y))[x];
}

QImage Make(int w, int h, QImage::Format f, const PixelFn& px) {
    QImage img(w, h, f);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            reinterpret_cast<uint32_t*>(img.scanLine(y))[x] = px(x, y);
    return img;
}

QImage Filled(int w, int h, QImage::Format f, uint32_t v) {
    return Make(w, h, f, [v](int, int) { return v; });
}

int Chan(uint32_t p, int shift) {
    return int((p >> shift) & 0xFF);
}

bool ValidPremultiplied(const QImage& img) {
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const uint32_t p = Raw(img, x, y);
            const int a = Chan(p, 24);
            if (Chan(p, 16) > a || Chan(p, 8) > a || Chan(p, 0) > a) return false;
        }
    return true;
}

// Random premultiplied pixels with hard edges between fully transparent and opaque areas.
QImage RandomPremultiplied(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    return Make(w, h, QImage::Format_ARGB32_Premultiplied, [&](int x, int y) {
        const int kind = ((x / 3) + (y / 4)) % 3;
        const uint32_t a = kind == 0 ? 0 : kind == 1 ? 255 : rng() % 256;
        auto c = [&] { return a == 0 ? 0u : uint32_t(rng() % (a + 1)); };
        return (a << 24) | (c() << 16) | (c() << 8) | c();
    });
}

std::vector<imageops::TSimd> SimdLevels() {
    std::vector<imageops::TSimd> levels = {imageops::TSimd::Scalar};
    if (imageops::BestSimd() >= imageops::TSimd::Sse2) levels.push_back(imageops::TSimd::Sse2);
    if (imageops::BestSimd() >= imageops::TSimd::Avx2) levels.push_back(imageops::TSimd::Avx2);
    if (imageops::BestSimd() >= imageops::TSimd::Avx512) levels.push_back(imageops::TSimd::Avx512);
    return levels;
}

double Lanczos3(double x) {
    x = std::fabs(x);
    if (x == 0) return 1;
    if (x >= 3) return 0;
    return 3 * std::sin(M_PI * x) * std::sin(M_PI * x / 3) / (M_PI * M_PI * x * x);
}

// Straight from the definition, in doubles and in two dimensions at once: the
// kernel widened by the reduction when shrinking, taps outside the picture left
// out and the rest renormalised.
double ReferenceLanczos(const QImage& src, int dw, int dh, int x, int y, int shift) {
    const int sw = src.width(), sh = src.height();
    const double rx = double(sw) / dw, ry = double(sh) / dh;
    const double fx = std::max(1.0, rx), fy = std::max(1.0, ry);
    const double cx = (x + 0.5) * rx, cy = (y + 0.5) * ry;
    double sum = 0, wsum = 0;
    for (int j = 0; j < sh; ++j) {
        const double wy = Lanczos3((j + 0.5 - cy) / fy);
        if (wy == 0) continue;
        for (int i = 0; i < sw; ++i) {
            const double w = wy * Lanczos3((i + 0.5 - cx) / fx);
            sum += w * Chan(Raw(src, i, j), shift);
            wsum += w;
        }
    }
    return std::clamp(sum / wsum, 0.0, 255.0);
}

} // namespace

// ---- Lanczos-3 -------------------------------------------------------------------

TEST(Resample, ConstantPictureStaysExactlyConstant) {
    struct Case {
        int Sw, Sh, Dw, Dh;
    } cases[] = {{37, 23, 11, 7}, {37, 23, 100, 61}, {37, 23, 37, 50}, {37, 23, 5, 23},
                 {1, 1, 5, 3},    {300, 200, 1, 1},  {5, 5, 4, 9},     {2, 40, 3, 1}};
    for (const uint32_t colour : {0x80402010u, 0xFF00FF7Fu, 0x00000000u, 0x01010000u}) {
        const QImage src = Filled(300, 200, QImage::Format_ARGB32_Premultiplied, colour);
        for (const Case& c : cases)
            for (const auto simd : SimdLevels()) {
                const QImage out = imageops::ResampleLanczos3(src.copy(0, 0, c.Sw, c.Sh), c.Dw, c.Dh, simd);
                ASSERT_EQ(out.size(), QSize(c.Dw, c.Dh));
                ASSERT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
                for (int y = 0; y < c.Dh; ++y)
                    for (int x = 0; x < c.Dw; ++x)
                        ASSERT_EQ(Raw(out, x, y), colour)
                            << c.Sw << "x" << c.Sh << " -> " << c.Dw << "x" << c.Dh << " at " << x << "," << y
                            << " simd " << int(simd);
            }
    }
}

TEST(Resample, KeepsOpaqueFormatAndConvertsOthers) {
    const QImage rgb = Filled(30, 20, QImage::Format_RGB32, 0xFF336699u);
    const QImage out = ResampleLanczos3(rgb, 7, 45);
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    EXPECT_EQ(out.size(), QSize(7, 45));
    EXPECT_EQ(Raw(out, 3, 20), 0xFF336699u);

    QImage straight(9, 9, QImage::Format_ARGB32); // not premultiplied: half-transparent white
    straight.fill(QColor(255, 255, 255, 128));
    const QImage pm = ResampleLanczos3(straight, 4, 4);
    EXPECT_EQ(pm.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(Raw(pm, 1, 1), 0x80808080u);

    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(0x40);
    EXPECT_EQ(ResampleLanczos3(grey, 3, 3).format(), QImage::Format_RGB32);
}

// A black-to-white step, along either axis, shrunk by 2 or grown by 3: the crossing
// stays in the middle, the two sides mirror each other, and pixels beyond the widened
// kernel's reach (3 source pixels, times the reduction) are untouched.
TEST(Resample, StepEdgeStaysInPlaceAndSymmetric) {
    const int n = 40;
    for (const bool vertical : {false, true})
        for (const int dn : {20, 120}) {
            SCOPED_TRACE(std::string(vertical ? "vertical " : "horizontal ") + std::to_string(dn));
            const QImage src =
                Make(vertical ? 3 : n, vertical ? n : 3, QImage::Format_RGB32,
                     [&](int x, int y) { return (vertical ? y : x) < n / 2 ? 0xFF000000u : 0xFFFFFFFFu; });
            const QImage out = ResampleLanczos3(src, vertical ? 3 : dn, vertical ? dn : 3);
            ASSERT_EQ(out.size(), vertical ? QSize(3, dn) : QSize(dn, 3));
            auto at = [&](int i) { return Chan(Raw(out, vertical ? 1 : i, vertical ? i : 1), 8); };
            const double ratio = double(n) / dn, reach = 3 * std::max(1.0, ratio);
            for (int i = 0; i < dn; ++i) {
                EXPECT_NEAR(at(i) + at(dn - 1 - i), 255, 1) << i;
                const double centre = (i + 0.5) * ratio;
                if (centre + reach <= n / 2) {
                    EXPECT_EQ(at(i), 0) << i;
                }
                if (centre - reach >= n / 2) {
                    EXPECT_EQ(at(i), 255) << i;
                }
            }
            EXPECT_LT(at(dn / 2 - 1), 128);
            EXPECT_GT(at(dn / 2), 128);
        }
}

TEST(Resample, CheckerboardShrinksToItsAverage) {
    const QImage board = Make(300, 200, QImage::Format_RGB32,
                              [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; });
    struct Case {
        int Dw, Dh, Tolerance;
    } cases[] = {{150, 100, 1}, {70, 47, 2}, {33, 20, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Dw);
        const QImage out = ResampleLanczos3(board, c.Dw, c.Dh);
        // Away from the border, where the kernel is whole.
        for (int y = 3; y < c.Dh - 3; ++y)
            for (int x = 3; x < c.Dw - 3; ++x)
                for (const int shift : {0, 8, 16})
                    ASSERT_NEAR(Chan(Raw(out, x, y), shift), 127.5, c.Tolerance + 0.5);
    }
}

TEST(Resample, MatchesTheKernelComputedDirectly) {
    std::mt19937 rng(3);
    const QImage src = Make(23, 17, QImage::Format_RGB32, [&](int x, int y) {
        // Smooth parts and hard parts.
        // Ringing stays within 0..255 here, so clamping between the passes plays no part.
        const uint32_t r = uint32_t(x * 11), g = (x / 4 + y / 3) % 2 ? 215 : 40, b = 40 + rng() % 176;
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    });
    struct Case {
        int Dw, Dh;
    } cases[] = {{9, 30}, {50, 5}, {7, 7}, {61, 40}};
    for (const Case& c : cases) {
        const QImage out = ResampleLanczos3(src, c.Dw, c.Dh);
        double worst = 0;
        for (int y = 0; y < c.Dh; ++y)
            for (int x = 0; x < c.Dw; ++x)
                for (const int shift : {0, 8, 16})
                    worst = std::max(worst, std::fabs(Chan(Raw(out, x, y), shift) -
                                                      ReferenceLanczos(src, c.Dw, c.Dh, x, y, shift)));
        // Two fixed-point passes with a byte between them.
        EXPECT_LE(worst, 1.5) << c.Dw << "x" << c.Dh;
    }
}

TEST(Resample, PremultipliedPixelsStayValidThroughRinging) {
    const QImage src = RandomPremultiplied(41, 29, 11);
    for (const QSize s : {QSize(13, 9), QSize(97, 71), QSize(41, 90), QSize(120, 29)})
        for (const auto simd : SimdLevels())
            EXPECT_TRUE(ValidPremultiplied(imageops::ResampleLanczos3(src, s.width(), s.height(), simd)))
                << s.width() << "x" << s.height();
}

TEST(Resample, EveryInstructionSetGivesTheSamePixels) {
    const QImage src = RandomPremultiplied(173, 61, 5);
    for (const QSize s :
         {QSize(40, 13), QSize(350, 200), QSize(173, 7), QSize(9, 61), QSize(1, 1), QSize(200, 2)}) {
        const QImage ref = imageops::ResampleLanczos3(src, s.width(), s.height(), imageops::TSimd::Scalar);
        for (const auto simd : SimdLevels())
            EXPECT_EQ(imageops::ResampleLanczos3(src, s.width(), s.height(), simd), ref)
                << s.width() << "x" << s.height() << " simd " << int(simd);
    }
}

TEST(Resample, BadRequestsGiveANullPicture) {
    const QImage src = Filled(10, 10, QImage::Format_RGB32, 0xFF000000u);
    EXPECT_TRUE(ResampleLanczos3(QImage(), 5, 5).isNull());
    EXPECT_TRUE(ResampleLanczos3(src, 0, 5).isNull());
    EXPECT_TRUE(ResampleLanczos3(src, 5, -1).isNull());
    EXPECT_TRUE(ResampleLanczos3(src, 1 << 20, 1 << 20).isNull());
    EXPECT_TRUE(ResampleLanczos3(src, 1 << 30, 1).isNull());
    EXPECT_TRUE(ResampleLanczos3(src, 1, 1 << 30).isNull());
    const QImage same = ResampleLanczos3(src, 10, 10);
    EXPECT_EQ(same, src);
}

TEST(Resample, FittedSizeFollowsTheTighterSide) {
    struct Case {
        QSize Picture, Face;
        int Scale;
        QSize Expected;
    } cases[] = {
        {{200, 100}, {100, 100}, 100, {100, 50}}, // width limits
        {{100, 200}, {100, 100}, 100, {50, 100}}, // height limits
        {{100, 200}, {100, 100}, 200, {100, 200}},
        {{100, 100}, {100, 100}, 100, {100, 100}}, // equal ratios: width rule
        {{3, 2}, {5, 3}, 100, {4, 3}},             // 4.5 rounds to even
        {{3, 2}, {7, 3}, 100, {4, 3}},             //
        {{1000, 1}, {100, 100}, 100, {100, 1}},    // a sliver keeps one pixel
        {{5, 5}, {0, 100}, 100, {}},
        {{0, 5}, {100, 100}, 100, {}},
        {{5, 5}, {100, 100}, 0, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FittedSize(c.Picture, c.Face, c.Scale), c.Expected)
            << c.Picture.width() << "x" << c.Picture.height() << " in " << c.Face.width() << "x"
            << c.Face.height();
}

// ---- Flips and rotation ------------------------------------------------------------

namespace {
// 3 x 2 with every pixel different: value 0xFF0000yx.
QImage Numbered(int w = 3, int h = 2) {
    return Make(w, h, QImage::Format_RGB32, [](int x, int y) { return 0xFF000000u | uint32_t(y << 4 | x); });
}
uint32_t Number(int x, int y) {
    return 0xFF000000u | uint32_t(y << 4 | x);
}
} // namespace

TEST(Flip, MovesEveryPixelToItsMirrorAndLeavesSharedCopiesAlone) {
    const QImage src = Numbered();
    QImage h = src, v = src, none = src, odd = src;
    FlipHorizontal(h);
    ApplyFlip(v, 2);
    ApplyFlip(none, 0);
    ApplyFlip(odd, 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Raw(h, x, y), Number(2 - x, y));
            EXPECT_EQ(Raw(v, x, y), Number(x, 1 - y));
            EXPECT_EQ(Raw(src, x, y), Number(x, y));
        }
    EXPECT_EQ(none, src);
    EXPECT_EQ(odd, src);
    QImage h1 = src;
    ApplyFlip(h1, 1);
    EXPECT_EQ(h1, h);
    QImage tall = Numbered(1, 3);
    FlipVertical(tall);
    EXPECT_EQ(Raw(tall, 0, 0), Number(0, 2));
    EXPECT_EQ(Raw(tall, 0, 1), Number(0, 1));
    QImage null;
    FlipHorizontal(null);
    FlipVertical(null);
    EXPECT_TRUE(null.isNull());
}

TEST(Rotate, QuarterTurnsMovePixelsExactly) {
    const QImage src = Numbered(); // 3 x 2
    const QImage q1 = RotateSmooth(src, 90, Qt::red);
    const QImage q2 = RotateSmooth(src, 180, Qt::red);
    const QImage q3 = RotateSmooth(src, 270, Qt::red);
    ASSERT_EQ(q1.size(), QSize(2, 3));
    ASSERT_EQ(q2.size(), QSize(3, 2));
    ASSERT_EQ(q3.size(), QSize(2, 3));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            // Counter-clockwise: the top-right corner goes to the top-left.
            EXPECT_EQ(Raw(q1, y, 2 - x), Number(x, y));
            EXPECT_EQ(Raw(q2, 2 - x, 1 - y), Number(x, y));
            EXPECT_EQ(Raw(q3, 1 - y, x), Number(x, y));
        }
    EXPECT_EQ(RotateSmooth(src, -90, Qt::red), q3);
    EXPECT_EQ(RotateSmooth(src, 450, Qt::red), q1);
    EXPECT_EQ(RotateSmooth(src, -360, Qt::red), src);
    EXPECT_EQ(RotateSmooth(src, 0, Qt::red), src);
    EXPECT_EQ(q1.format(), QImage::Format_RGB32);
}

// Any other angle turns the same way as the quarter turns do.
TEST(Rotate, SmoothTurnsTheSameWayAsQuarterTurns) {
    // A white block in the top-right corner of a black picture.
    const QImage src = Make(40, 20, QImage::Format_RGB32,
                            [](int x, int y) { return x >= 32 && y < 6 ? 0xFFFFFFFFu : 0xFF000000u; });
    struct Case {
        double Angle;
        bool Left, Top; // where the block's centre must end up
    } cases[] = {{80, true, true},  {-80, false, false}, {100, true, true},
                 {10, false, true}, {190, true, false},  {-150, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Angle);
        const QImage out = RotateSmooth(src, c.Angle, Qt::black);
        double sx = 0, sy = 0, sw = 0;
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x) {
                const double w = Chan(Raw(out, x, y), 8);
                sx += w * (x + 0.5);
                sy += w * (y + 0.5);
                sw += w;
            }
        ASSERT_GT(sw, 0);
        EXPECT_EQ(sx / sw < out.width() / 2.0, c.Left);
        EXPECT_EQ(sy / sw < out.height() / 2.0, c.Top);
    }
}

TEST(Rotate, FortyFiveDegreesFillsTheCornersWithTheFaceColour) {
    const QImage blue = Filled(20, 20, QImage::Format_RGB32, 0xFF0000FFu);
    const QImage out = RotateSmooth(blue, 45, QColor(255, 0, 0));
    // The bounding box of the turned square: 20 * sqrt(2) = 28.28 -> 29.
    ASSERT_EQ(out.size(), QSize(29, 29));
    EXPECT_EQ(out.format(), QImage::Format_RGB32);
    for (const QPoint p :
         {QPoint(0, 0), QPoint(28, 0), QPoint(0, 28), QPoint(28, 28), QPoint(4, 4), QPoint(24, 24)})
        EXPECT_EQ(Raw(out, p.x(), p.y()), 0xFFFF0000u) << p.x() << "," << p.y();
    EXPECT_EQ(Raw(out, 14, 14), 0xFF0000FFu);
    EXPECT_EQ(Raw(out, 14, 3), 0xFF0000FFu);
    // The area is kept: blue sums to the square's 400 pixels, red to the rest, and the
    // border pixels lie in between (anti-aliased).
    double blueArea = 0, redArea = 0;
    int mixed = 0;
    for (int y = 0; y < 29; ++y)
        for (int x = 0; x < 29; ++x) {
            const uint32_t p = Raw(out, x, y);
            EXPECT_EQ(Chan(p, 8), 0);
            EXPECT_NEAR(Chan(p, 0) + Chan(p, 16), 255, 1);
            blueArea += Chan(p, 0) / 255.0;
            redArea += Chan(p, 16) / 255.0;
            if (Chan(p, 0) > 10 && Chan(p, 0) < 245) ++mixed;
        }
    EXPECT_NEAR(blueArea, 400, 6);
    EXPECT_NEAR(redArea, 29 * 29 - 400, 6);
    EXPECT_GT(mixed, 40);
}

TEST(Rotate, TransparentFillAndTranslucentPictures) {
    const QImage out = RotateSmooth(Filled(10, 6, QImage::Format_RGB32, 0xFF808080u), 30, Qt::transparent);
    EXPECT_EQ(out.format(), QImage::Format_ARGB32_Premultiplied);
    // 10 cos 30 + 6 sin 30 = 11.66; 10 sin 30 + 6 cos 30 = 10.20.
    EXPECT_EQ(out.size(), QSize(12, 11));
    EXPECT_EQ(Raw(out, 0, 0), 0u);
    EXPECT_EQ(Raw(out, 6, 5), 0xFF808080u);
    EXPECT_TRUE(
        ValidPremultiplied(RotateSmooth(RandomPremultiplied(31, 17, 2), 33, QColor(10, 200, 30, 100))));
}

TEST(Rotate, BadInputs) {
    EXPECT_TRUE(RotateSmooth(QImage(), 30, Qt::white).isNull());
    const QImage src = Numbered();
    EXPECT_EQ(RotateSmooth(src, NAN, Qt::white), src);
    EXPECT_EQ(RotateSmooth(src, INFINITY, Qt::white), src);
    // Its bounding box would hold 800 million pixels.
    EXPECT_TRUE(RotateSmooth(Filled(40000, 1, QImage::Format_RGB32, 0xFF000000u), 45, Qt::white).isNull());
    const QImage tiny = RotateSmooth(Filled(1, 1, QImage::Format_RGB32, 0xFF00FF00u), 45, Qt::white);
    EXPECT_EQ(tiny.size(), QSize(2, 2));
}

TEST(Rotate, CutToMiddleKeepsTheCentreColumnsAndRows) {
    const QImage src =
        Make(10, 7, QImage::Format_RGB32, [](int x, int y) { return 0xFF000000u | uint32_t(y << 8 | x); });
    struct Case {
        int MaxW, MaxH;
        QRect Kept;
    } cases[] = {
        {7, 7, {2, 0, 7, 7}},   // (10 - 7) / 2 = 1.5 -> 2
        {9, 7, {0, 0, 9, 7}},   // 0.5 -> 0
        {5, 7, {2, 0, 5, 7}},   // 2.5 -> 2
        {4, 4, {3, 2, 4, 4}},   // 3 and 1.5 -> 2
        {20, 20, {0, 0, 10, 7}} // smaller than the face: untouched
    };
    for (const Case& c : cases) {
        const QImage out = CutToMiddle(src, c.MaxW, c.MaxH);
        ASSERT_EQ(out.size(), c.Kept.size());
        EXPECT_EQ(Raw(out, 0, 0), Raw(src, c.Kept.left(), c.Kept.top())) << c.MaxW << "x" << c.MaxH;
        EXPECT_EQ(Raw(out, out.width() - 1, out.height() - 1), Raw(src, c.Kept.right(), c.Kept.bottom()));
    }
    EXPECT_TRUE(CutToMiddle(src, 0, 5).isNull());
    EXPECT_TRUE(CutToMiddle(QImage(), 5, 5).isNull());
}

// ---- Filters -----------------------------------------------------------------------

namespace {

// Opaque test colours.
const uint32_t kColours[] = {0xFF0A64C8u, 0xFF808080u, 0xFFFA054Du, 0xFF000000u, 0xFFFFFFFFu, 0xFF7F3C01u};

QImage Strip(QImage::Format f = QImage::Format_RGB32) {
    return Make(int(std::size(kColours)), 1, f, [](int x, int) { return kColours[x]; });
}

int Expected(double v) {
    return std::clamp(int(std::floor(v + 0.5)), 0, 255);
}

} // namespace

TEST(Filters, BrightnessContrastFollowsItsFormula) {
    struct Case {
        int B, C;
    } cases[] = {{0, 0},     {50, 0},    {-40, 0},   {0, 50},     {0, -50},
                 {-30, 100}, {20, -150}, {150, 150}, {500, -900}, {10, 20}};
    for (const Case& c : cases) {
        QImage img = Strip();
        BrightnessContrast(img, c.B, c.C);
        const int b = std::clamp(c.B, -150, 150), k = std::clamp(c.C, -150, 150);
        for (int x = 0; x < img.width(); ++x)
            for (const int shift : {0, 8, 16}) {
                const int v = Chan(kColours[x], shift);
                EXPECT_EQ(Chan(Raw(img, x, 0), shift),
                          Expected((v - 128) * std::pow(2.0, k / 50.0) + 128 + b))
                    << "b " << c.B << " c " << c.C << " value " << v;
            }
        EXPECT_EQ(Chan(Raw(img, 0, 0), 24), 255);
    }
}

TEST(Filters, SaturationMovesColoursFromTheirGreyLevel) {
    QImage grey = Strip(), plain = Strip(), vivid = Strip();
    BrightnessContrast(grey, 0, 0, -100);
    BrightnessContrast(plain, 0, 0, 0);
    BrightnessContrast(vivid, 0, 0, 50);
    EXPECT_EQ(plain, Strip());
    for (int x = 0; x < grey.width(); ++x) {
        const uint32_t p = kColours[x];
        const double l = 0.299 * Chan(p, 16) + 0.587 * Chan(p, 8) + 0.114 * Chan(p, 0);
        for (const int shift : {0, 8, 16}) {
            EXPECT_EQ(Chan(Raw(grey, x, 0), shift), Expected(l));
            EXPECT_EQ(Chan(Raw(vivid, x, 0), shift), Expected(l + (Chan(p, shift) - l) * 1.5));
        }
    }
}

TEST(Filters, ColourFiltersWorkOnTheColourSeenThroughAlpha) {
    // White at alpha 128 made darker and brighter: the alpha stays, the colour seen
    // follows the formula.
    QImage img = Filled(2, 2, QImage::Format_ARGB32_Premultiplied, 0x80808080u);
    QImage empty = Filled(2, 2, QImage::Format_ARGB32_Premultiplied, 0u);
    BrightnessContrast(img, -100, 0);
    BrightnessContrast(empty, 100, 0);
    const QRgb seen = qUnpremultiply(Raw(img, 1, 1));
    EXPECT_EQ(qAlpha(seen), 128);
    EXPECT_NEAR(qRed(seen), 155, 1);
    EXPECT_EQ(Raw(empty, 0, 0), 0u); // nothing to brighten
    QImage neg = Filled(1, 1, QImage::Format_ARGB32_Premultiplied, 0x80402000u);
    Negative(neg);
    // Seen colour (127.5, 63.75, 0) becomes (127.5, 191.25, 255) at the same alpha.
    EXPECT_EQ(Raw(neg, 0, 0), 0x80406080u);
}

TEST(Filters, SharpenAddsTheLaplacianOfFourNeighbours) {
    // 120 in the middle of 100s; corners 10 (ignored by four neighbours).
    const QImage src = Make(3, 3, QImage::Format_RGB32, [](int x, int y) {
        const uint32_t v = x == 1 && y == 1 ? 120 : (x != 1 && y != 1) ? 10 : 100;
        return 0xFF000000u | v * 0x010101u;
    });
    for (const int s : {0, 5, 10, -2, 30}) {
        QImage img = src;
        Sharpen(img, s, 4);
        const double k = s / 10.0;
        auto v = [&](int x, int y) { return Chan(Raw(src, std::clamp(x, 0, 2), std::clamp(y, 0, 2)), 8); };
        auto expect = [&](int x, int y) {
            return Expected(v(x, y) +
                            k * (4 * v(x, y) - v(x - 1, y) - v(x + 1, y) - v(x, y - 1) - v(x, y + 1)));
        };
        for (const QPoint p : {QPoint(1, 1), QPoint(0, 1), QPoint(1, 0), QPoint(0, 0), QPoint(2, 2)}) {
            EXPECT_EQ(Chan(Raw(img, p.x(), p.y()), 8), expect(p.x(), p.y()))
                << "s " << s << " at " << p.x() << "," << p.y();
            EXPECT_EQ(Chan(Raw(img, p.x(), p.y()), 24), 255);
        }
    }
    EXPECT_EQ(Chan(
                  [&] {
                      QImage i = src;
                      Sharpen(i, 10);
                      return Raw(i, 1, 1);
                  }(),
                  0),
              200);

    // Every pixel of a wider picture, in whole numbers: v + (s / 10)(n v - neighbours)
    // rounded is floor(((10 + n s) v - s * neighbours + 5) / 10).
    std::mt19937 rng(12);
    const QImage noise =
        Make(37, 6, QImage::Format_RGB32, [&](int, int) { return 0xFF000000u | (rng() & 0xFFFFFF); });
    for (const int n : {4, 8})
        for (const int s : {3, -3, 10, 250}) {
            QImage img = noise;
            Sharpen(img, s, n);
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 37; ++x)
                    for (const int shift : {0, 8, 16}) {
                        auto v = [&](int dx, int dy) {
                            return Chan(Raw(noise, std::clamp(x + dx, 0, 36), std::clamp(y + dy, 0, 5)),
                                        shift);
                        };
                        int sum = v(-1, 0) + v(1, 0) + v(0, -1) + v(0, 1);
                        if (n == 8) sum += v(-1, -1) + v(1, -1) + v(-1, 1) + v(1, 1);
                        const int num = (10 + n * s) * v(0, 0) - s * sum + 5;
                        const int floored = num >= 0 ? num / 10 : -((-num + 9) / 10);
                        ASSERT_EQ(Chan(Raw(img, x, y), shift), std::clamp(floored, 0, 255))
                            << "n " << n << " s " << s << " at " << x << "," << y;
                    }
        }
    QImage pm = RandomPremultiplied(20, 20, 9);
    Sharpen(pm, 25);
    EXPECT_TRUE(ValidPremultiplied(pm));
}

// A Gaussian of standard deviation r, sampled at whole pixels, turns a step into the
// running sum of its samples.
TEST(Filters, BlurRadiusIsTheGaussiansStandardDeviation) {
    for (const double r : {1.0, 2.5, 3.0, 6.0}) {
        SCOPED_TRACE(r);
        const int n = 80;
        const int reach = int(6 * r);
        std::vector<double> g;
        double total = 0;
        for (int k = -reach; k <= reach; ++k)
            total += g.emplace_back(std::exp(-k * k / (2 * r * r)));
        // Pixel i sees sample k at i + k; the white side starts at n / 2.
        auto expectedAt = [&](int i) {
            double sum = 0;
            for (int k = -reach; k <= reach; ++k)
                if (i + k >= n / 2) sum += g[size_t(k + reach)];
            return 255 * sum / total;
        };
        for (const bool vertical : {false, true}) {
            QImage img = Make(vertical ? 5 : n, vertical ? n : 5, QImage::Format_RGB32, [&](int x, int y) {
                return (vertical ? y : x) < n / 2 ? 0xFF000000u : 0xFFFFFFFFu;
            });
            Blur(img, r);
            for (int i = n / 2 - int(3 * r) - 1; i <= n / 2 + int(3 * r) + 1; ++i) {
                const double expected = expectedAt(i);
                const uint32_t p = Raw(img, vertical ? 2 : i, vertical ? i : 2);
                EXPECT_NEAR(Chan(p, 16), expected, 3.0) << (vertical ? "row " : "column ") << i;
                EXPECT_EQ(Chan(p, 24), 255);
            }
        }
    }
}

TEST(Filters, BlurKeepsFlatAreasAndSymmetry) {
    QImage flat = Filled(30, 20, QImage::Format_ARGB32_Premultiplied, 0x80402010u);
    Blur(flat, 4.5);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x)
            ASSERT_EQ(Raw(flat, x, y), 0x80402010u);

    QImage dot = Filled(21, 21, QImage::Format_RGB32, 0xFF000000u);
    reinterpret_cast<uint32_t*>(dot.scanLine(10))[10] = 0xFFFFFFFFu;
    Blur(dot, 1.5);
    EXPECT_LT(Chan(Raw(dot, 10, 10), 0), 255);
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            ASSERT_EQ(Raw(dot, x, y), Raw(dot, 20 - x, y));
            ASSERT_EQ(Raw(dot, x, y), Raw(dot, x, 20 - y));
            // Rows and columns are rounded in turn, so the diagonal mirror may differ by one.
            ASSERT_NEAR(Chan(Raw(dot, x, y), 0), Chan(Raw(dot, y, x), 0), 1);
        }

    QImage untouched = Strip();
    Blur(untouched, 0);
    Blur(untouched, -3);
    Blur(untouched, NAN);
    EXPECT_EQ(untouched, Strip());

    QImage huge = Strip();
    Blur(huge, 1e9);
    EXPECT_EQ(huge.size(), Strip().size());
    QImage pm = RandomPremultiplied(25, 25, 4);
    Blur(pm, 2);
    EXPECT_TRUE(ValidPremultiplied(pm));
}

TEST(Filters, GreyAndNegativeFollowTheirFormulas) {
    QImage grey = Strip(), neg = Strip(), both = Strip();
    ToGrey(grey);
    Negative(neg);
    ApplyFilters(both, "4_;#5_;#"); // grey first, then inverted
    for (int x = 0; x < grey.width(); ++x) {
        const uint32_t p = kColours[x];
        const int y = Expected(0.299 * Chan(p, 16) + 0.587 * Chan(p, 8) + 0.114 * Chan(p, 0));
        for (const int shift : {0, 8, 16}) {
            EXPECT_EQ(Chan(Raw(grey, x, 0), shift), y) << std::hex << p;
            EXPECT_EQ(Chan(Raw(neg, x, 0), shift), 255 - Chan(p, shift));
            EXPECT_EQ(Chan(Raw(both, x, 0), shift), 255 - y);
        }
        EXPECT_EQ(Chan(Raw(grey, x, 0), 24), 255);
    }
    QImage twice = RandomPremultiplied(9, 9, 1);
    const QImage before = twice;
    Negative(twice);
    EXPECT_TRUE(ValidPremultiplied(twice));
    Negative(twice);
    EXPECT_EQ(twice, before);
}

TEST(Filters, FadeScalesAlpha) {
    struct Case {
        int Fade;
        int Alpha255, Alpha200; // round((100 - fade) * a / 100)
    } cases[] = {{0, 255, 200}, {60, 102, 80}, {25, 191, 150}, {99, 3, 2},
                 {100, 0, 0},   {150, 0, 0},   {-5, 255, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Fade);
        QImage opaque = Strip();
        QImage translucent = Filled(3, 3, QImage::Format_ARGB32_Premultiplied, 0xC8C86432u);
        ApplyFade(opaque, c.Fade);
        ApplyFade(translucent, c.Fade);
        EXPECT_EQ(Chan(Raw(opaque, 0, 0), 24), c.Alpha255);
        EXPECT_EQ(Chan(Raw(translucent, 1, 1), 24), c.Alpha200);
        EXPECT_TRUE(ValidPremultiplied(translucent));
        if (c.Fade <= 0) {
            EXPECT_EQ(opaque, Strip()); // untouched, still opaque RGB32
            EXPECT_EQ(opaque.format(), QImage::Format_RGB32);
        } else if (c.Fade >= 100) {
            for (int x = 0; x < opaque.width(); ++x)
                EXPECT_EQ(Raw(opaque, x, 0), 0u);
        } else if (c.Alpha255 >= 100) {
            // The colour seen stays.
            const QRgb seen = qUnpremultiply(Raw(opaque, 0, 0));
            EXPECT_NEAR(qRed(seen), 0x0A, 4);
            EXPECT_NEAR(qGreen(seen), 0x64, 4);
            EXPECT_NEAR(qBlue(seen), 0xC8, 4);
        }
    }
}

TEST(Filters, FilterListTextAppliesEachEntryInOrder) {
    QImage listed = Strip(), direct = Strip();
    ApplyFilters(listed, "1_20;-10;#2_5;#3_1.25;#5_;#");
    BrightnessContrast(direct, 20, -10);
    Sharpen(direct, 5, 4);
    Blur(direct, 1.25);
    Negative(direct);
    EXPECT_EQ(listed, direct);

    // Order matters: negative then brighten differs from brighten then negative.
    QImage a = Strip(), b = Strip();
    ApplyFilters(a, "5_;#1_50;0;#");
    ApplyFilters(b, "1_50;0;#5_;#");
    EXPECT_NE(a, b);

    // Zero adjustment, unknown codes and malformed texts leave the picture as it was.
    for (const char* text : {"1_0;0;#", "", "9_3;#", "garbage", "1_5;#", "3_x;#", "#;#_"}) {
        QImage img = Strip();
        ApplyFilters(img, text);
        EXPECT_EQ(img, Strip()) << text;
    }
}

TEST(Filters, NullAndOddPicturesAreSafe) {
    QImage null;
    BrightnessContrast(null, 10, 10, 10);
    Sharpen(null, 10);
    Blur(null, 3);
    ToGrey(null);
    Negative(null);
    ApplyFade(null, 50);
    ApplyFilters(null, "1_1;1;#2_1;#3_1;#4_;#5_;#");
    EXPECT_TRUE(null.isNull());

    // One pixel, one row, one column, and a format the filters convert first.
    for (const QSize s : {QSize(1, 1), QSize(7, 1), QSize(1, 7)}) {
        QImage img = Filled(s.width(), s.height(), QImage::Format_RGB32, 0xFF204060u);
        ApplyFilters(img, "1_10;10;#2_10;#3_4;#4_;#5_;#");
        ApplyFade(img, 50);
        EXPECT_EQ(img.size(), s);
        EXPECT_TRUE(ValidPremultiplied(img));
    }
    QImage grey8(4, 4, QImage::Format_Grayscale8);
    grey8.fill(100);
    Negative(grey8);
    EXPECT_EQ(grey8.format(), QImage::Format_RGB32);
    EXPECT_EQ(Raw(grey8, 2, 2), 0xFF9B9B9Bu);
}
