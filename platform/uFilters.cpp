// Image filters and the fade, and applying an image's filter list.
#include "platform/uImageOps.h"
#include "platform/uImageOpsInternal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace tessora {

using namespace imageops;

namespace {

inline uint32_t* Row(QImage& img, int y) { return reinterpret_cast<uint32_t*>(img.scanLine(y)); }
inline const uint32_t* ConstRow(const QImage& img, int y) {
    return reinterpret_cast<const uint32_t*>(img.constScanLine(y));
}

// Runs f(r, g, b) -> QRgb on the colour as seen, premultiplying around it; fully
// transparent pixels have no colour and stay as they are.
template <class F> void ForEachColour(QImage& picture, F f) {
    const bool opaque = picture.format() == QImage::Format_RGB32;
    for (int y = 0; y < picture.height(); ++y) {
        uint32_t* row = Row(picture, y);
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t a = opaque ? 255 : qAlpha(p);
            if (a == 255) {
                row[x] = f(qRed(p), qGreen(p), qBlue(p)) | 0xFF000000u;
            } else if (a != 0) {
                const QRgb u = qUnpremultiply(p);
                const QRgb c = f(qRed(u), qGreen(u), qBlue(u));
                row[x] = qPremultiply(qRgba(qRed(c), qGreen(c), qBlue(c), int(a)));
            }
        }
    }
}

inline int FloorDiv(int n, int d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

} // namespace

void BrightnessContrast(QImage& picture, int brightness, int contrast, int saturation) {
    if (!PrepareInPlace(picture)) return;
    const int b = std::clamp(brightness, -150, 150);
    const int c = std::clamp(contrast, -150, 150);
    const int s = std::clamp(saturation, -100, 150);
    // Contrast doubles the spread around mid-grey every 50 steps: a factor of 8 at
    // +150, 1/8 at -150, never inverting.
    const double f = std::exp2(c / 50.0);
    std::array<uint8_t, 256> lut;
    for (int v = 0; v < 256; ++v) lut[size_t(v)] = ClampByte(int(std::floor((v - 128) * f + 128 + b + 0.5)));
    if (s == 0) {
        ForEachColour(picture, [&](int r, int g, int bl) { return qRgb(lut[size_t(r)], lut[size_t(g)], lut[size_t(bl)]); });
        return;
    }
    const double k = (100 + s) / 100.0;
    ForEachColour(picture, [&](int r, int g, int bl) {
        const double R = lut[size_t(r)], G = lut[size_t(g)], B = lut[size_t(bl)];
        const double l = 0.299 * R + 0.587 * G + 0.114 * B;
        auto sat = [&](double v) { return ClampByte(int(std::floor(l + (v - l) * k + 0.5))); };
        return qRgb(sat(R), sat(G), sat(B));
    });
}

void Sharpen(QImage& picture, int intensity, int neighbourhood) {
    if (!PrepareInPlace(picture) || intensity == 0) return;
    const int s = std::clamp(intensity, -1000, 1000);
    const bool eight = neighbourhood == 8;
    const int n = eight ? 8 : 4;
    const QImage src = picture.copy();
    if (src.isNull()) return;
    const int w = picture.width(), h = picture.height();
    const bool premul = picture.format() == QImage::Format_ARGB32_Premultiplied;
    // In premultiplied values, so the kernel (summing to one) keeps opaque alpha at 255.
    // v' = round(((10 + n s) v - s * neighbours) / 10)
    const int centre = 10 + n * s;
    for (int y = 0; y < h; ++y) {
        const uint8_t* up = src.constScanLine(std::max(y - 1, 0));
        const uint8_t* mid = src.constScanLine(y);
        const uint8_t* dn = src.constScanLine(std::min(y + 1, h - 1));
        uint8_t* out = picture.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const int l = 4 * std::max(x - 1, 0), c = 4 * x, r = 4 * std::min(x + 1, w - 1);
            for (int ch = 0; ch < 4; ++ch) {
                int sum = up[c + ch] + dn[c + ch] + mid[l + ch] + mid[r + ch];
                if (eight) sum += up[l + ch] + up[r + ch] + dn[l + ch] + dn[r + ch];
                out[c + ch] = ClampByte(FloorDiv(centre * mid[c + ch] - s * sum + 5, 10));
            }
        }
        if (premul) ClampToAlpha(Row(picture, y), w);
    }
}

namespace {

// One box pass of the blur over `count` pixels of four channels: each output is the
// mean of the 2r + 1 pixels around it plus the next pixel on each side weighted
// alpha / 256, which gives the pass any variance, not only a box's.
struct TBox {
    int R = 0;      // whole pixels each side
    int A = 0;      // weight of the two end pixels, /256
    double InvD = 0; // 1 / (256 (2r + 1) + 2a)
};

TBox MakeBox(double sigma) {
    // Three passes of variance sigma^2 / 3 each. A box of radius r has variance
    // r (r + 1) / 3; the end weight a makes up the rest:
    // a = (2r + 1)(v - r (r + 1) / 3) / (2 ((r + 1)^2 - v)).
    const double v = sigma * sigma / 3.0;
    TBox b;
    b.R = int(std::floor((std::sqrt(1.0 + 4.0 * sigma * sigma) - 1.0) / 2.0));
    while (b.R > 0 && b.R * (b.R + 1) / 3.0 > v) --b.R;
    const double r = b.R;
    const double alpha = (2 * r + 1) * (v - r * (r + 1) / 3.0) / (2.0 * ((r + 1) * (r + 1) - v));
    b.A = std::clamp(int(std::lround(alpha * 256.0)), 0, 256);
    b.InvD = 1.0 / (256.0 * (2 * b.R + 1) + 2.0 * b.A);
    return b;
}

inline uint8_t BoxValue(int sum, int ends, const TBox& b) {
    return uint8_t(int((256.0 * sum + double(b.A) * ends) * b.InvD + 0.5));
}

// Along a row, in place, through a copy of the row padded with its edge pixels.
void BoxRow(uint8_t* row, int w, const TBox& b, std::vector<uint8_t>& ext) {
    const int pad = b.R + 1;
    ext.resize(size_t(w + 2 * pad) * 4);
    for (int i = 0; i < w + 2 * pad; ++i) std::memcpy(&ext[size_t(i) * 4], row + 4 * std::clamp(i - pad, 0, w - 1), 4);
    for (int ch = 0; ch < 4; ++ch) {
        const uint8_t* e = ext.data() + ch;
        int sum = 0;
        for (int i = 1; i <= 2 * b.R + 1; ++i) sum += e[4 * i];
        for (int x = 0; x < w; ++x) {
            // Window: ext[x + 1 .. x + 2r + 1]; ends ext[x] and ext[x + 2r + 2].
            row[4 * x + ch] = BoxValue(sum, e[4 * x] + e[4 * (x + 2 * b.R + 2)], b);
            sum += e[4 * (x + 2 * b.R + 2)] - e[4 * (x + 1)];
        }
    }
}

// Down the columns from src into dst, running sums kept per column and channel.
void BoxColumns(const QImage& src, QImage& dst, const TBox& b, std::vector<int>& sums) {
    const int w = src.width(), h = src.height(), n = 4 * w;
    auto row = [&](int y) { return src.constScanLine(std::clamp(y, 0, h - 1)); };
    sums.assign(size_t(n), 0);
    for (int y = -b.R; y <= b.R; ++y) {
        const uint8_t* r = row(y);
        for (int i = 0; i < n; ++i) sums[size_t(i)] += r[i];
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* above = row(y - b.R - 1);
        const uint8_t* below = row(y + b.R + 1);
        const uint8_t* first = row(y - b.R);
        uint8_t* out = dst.scanLine(y);
        for (int i = 0; i < n; ++i) {
            out[i] = BoxValue(sums[size_t(i)], above[i] + below[i], b);
            sums[size_t(i)] += below[i] - first[i];
        }
    }
}

} // namespace

void Blur(QImage& picture, double radius) {
    if (!(radius > 0) || !PrepareInPlace(picture)) return;
    const TBox b = MakeBox(std::min(radius, 1000.0));
    if (b.R == 0 && b.A == 0) return;
    // All four channels of premultiplied pixels: a weighted mean of valid pixels is valid.
    std::vector<uint8_t> ext;
    for (int pass = 0; pass < 3; ++pass)
        for (int y = 0; y < picture.height(); ++y) BoxRow(picture.scanLine(y), picture.width(), b, ext);
    QImage other(picture.size(), picture.format());
    if (other.isNull()) return;
    std::vector<int> sums;
    BoxColumns(picture, other, b, sums);
    BoxColumns(other, picture, b, sums);
    BoxColumns(picture, other, b, sums);
    picture = other;
}

void ToGrey(QImage& picture) {
    if (!PrepareInPlace(picture)) return;
    // The same weights apply to premultiplied channels, so no unpremultiplying.
    for (int y = 0; y < picture.height(); ++y) {
        uint32_t* row = Row(picture, y);
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t g = (299u * qRed(p) + 587u * qGreen(p) + 114u * qBlue(p) + 500u) / 1000u;
            row[x] = (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
        }
    }
}

void Negative(QImage& picture) {
    if (!PrepareInPlace(picture)) return;
    // Premultiplied: 255 - v seen through alpha a is a - v.
    for (int y = 0; y < picture.height(); ++y) {
        uint32_t* row = Row(picture, y);
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t a = p >> 24;
            const uint32_t a3 = a * 0x010101u;
            row[x] = (p & 0xFF000000u) | (a3 - (p & 0x00FFFFFFu));
        }
    }
}

void ApplyFade(QImage& picture, int fade) {
    if (fade <= 0 || !PrepareInPlace(picture)) return;
    const uint32_t keep = uint32_t(100 - std::min(fade, 100));
    if (picture.format() != QImage::Format_ARGB32_Premultiplied)
        picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    if (picture.isNull()) return;
    // a' = round(keep * a / 100), and each premultiplied colour channel the same way so
    // the colour seen stays; rounding never lifts a channel above its alpha.
    std::array<uint8_t, 256> lut;
    for (uint32_t v = 0; v < 256; ++v) lut[v] = uint8_t((keep * v + 50) / 100);
    for (int y = 0; y < picture.height(); ++y) {
        uint32_t* row = Row(picture, y);
        for (int x = 0; x < picture.width(); ++x) {
            const uint32_t p = row[x];
            row[x] = (uint32_t(lut[p >> 24]) << 24) | (uint32_t(lut[(p >> 16) & 0xFF]) << 16) |
                     (uint32_t(lut[(p >> 8) & 0xFF]) << 8) | lut[p & 0xFF];
        }
    }
}

void ApplyFilter(QImage& picture, const TImageFilter& filter) {
    switch (filter.Code) {
    case fcBrightnessContrast:
        BrightnessContrast(picture, filter.Brightness, filter.Contrast, 0);
        break;
    case fcSharp:
        Sharpen(picture, filter.Sharp, 4);
        break;
    case fcBlur:
        Blur(picture, filter.Blur);
        break;
    case fcGrey:
        ToGrey(picture);
        break;
    case fcNegative:
        Negative(picture);
        break;
    default:
        break;
    }
}

void ApplyFilters(QImage& picture, const TFilterList& filters) {
    for (const TImageFilter& f : filters) ApplyFilter(picture, f);
}

void ApplyFilters(QImage& picture, std::string_view filterList) {
    if (filterList.empty()) return;
    ApplyFilters(picture, DecodeFilters(filterList));
}

} // namespace tessora
