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

inline uint32_t* Row(QImage& img, int y) {
    return reinterpret_cast<uint32_t*>(img.scanLine(y));
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

inline int FloorDiv(int n, int d) {
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

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
    for (int v = 0; v < 256; ++v)
        lut[size_t(v)] = ClampByte(int(std::floor((v - 128) * f + 128 + b + 0.5)));
    if (s == 0) {
        ForEachColour(picture, [&](int r, int g, int bl) {
            return qRgb(lut[size_t(r)], lut[size_t(g)], lut[size_t(bl)]);
        });
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
    // v' = floor(((10 + n s) v - s * neighbours + 5) / 10), that is v + (s / 10) * (n v -
    // neighbours) rounded.
    const int centre = 10 + n * s;
    const uint8_t* base = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    for (int y = 0; y < h; ++y) {
        const uint8_t* up = base + stride * std::max(y - 1, 0);
        const uint8_t* mid = base + stride * y;
        const uint8_t* dn = base + stride * std::min(y + 1, h - 1);
        uint8_t* out = picture.scanLine(y);
        auto one = [&](int x) {
            const int l = 4 * std::max(x - 1, 0), c = 4 * x, r = 4 * std::min(x + 1, w - 1);
            for (int ch = 0; ch < 4; ++ch) {
                int sum = up[c + ch] + dn[c + ch] + mid[l + ch] + mid[r + ch];
                if (eight) sum += up[l + ch] + up[r + ch] + dn[l + ch] + dn[r + ch];
                out[c + ch] = ClampByte(FloorDiv(centre * mid[c + ch] - s * sum + 5, 10));
            }
        };
        one(0);
        int x = 1;
#ifdef TESSORA_X86
        // Four pixels at a time between the edge pixels. Truncating instead of flooring
        // differs only below zero, which clamps to 0 either way.
        const __m128i zero = _mm_setzero_si128();
        const __m128i weights =
            _mm_set1_epi32(int32_t(uint32_t(uint16_t(centre)) | (uint32_t(uint16_t(-s)) << 16)));
        const __m128i five = _mm_set1_epi32(5);
        const __m128 ten = _mm_set1_ps(10.0f);
        auto at = [](const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        for (; x + 4 < w; x += 4) {
            const int c = 4 * x;
            const __m128i v = at(mid + c);
            __m128i sumLo = _mm_add_epi16(
                _mm_add_epi16(_mm_unpacklo_epi8(at(up + c), zero), _mm_unpacklo_epi8(at(dn + c), zero)),
                _mm_add_epi16(_mm_unpacklo_epi8(at(mid + c - 4), zero),
                              _mm_unpacklo_epi8(at(mid + c + 4), zero)));
            __m128i sumHi = _mm_add_epi16(
                _mm_add_epi16(_mm_unpackhi_epi8(at(up + c), zero), _mm_unpackhi_epi8(at(dn + c), zero)),
                _mm_add_epi16(_mm_unpackhi_epi8(at(mid + c - 4), zero),
                              _mm_unpackhi_epi8(at(mid + c + 4), zero)));
            if (eight) {
                sumLo = _mm_add_epi16(sumLo,
                                      _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(at(up + c - 4), zero),
                                                                  _mm_unpacklo_epi8(at(up + c + 4), zero)),
                                                    _mm_add_epi16(_mm_unpacklo_epi8(at(dn + c - 4), zero),
                                                                  _mm_unpacklo_epi8(at(dn + c + 4), zero))));
                sumHi = _mm_add_epi16(sumHi,
                                      _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(at(up + c - 4), zero),
                                                                  _mm_unpackhi_epi8(at(up + c + 4), zero)),
                                                    _mm_add_epi16(_mm_unpackhi_epi8(at(dn + c - 4), zero),
                                                                  _mm_unpackhi_epi8(at(dn + c + 4), zero))));
            }
            const __m128i vLo = _mm_unpacklo_epi8(v, zero), vHi = _mm_unpackhi_epi8(v, zero);
            // (v, sum) pairs times (centre, -s), added: one 32-bit value per channel.
            const __m128i pairs[4] = {_mm_unpacklo_epi16(vLo, sumLo), _mm_unpackhi_epi16(vLo, sumLo),
                                      _mm_unpacklo_epi16(vHi, sumHi), _mm_unpackhi_epi16(vHi, sumHi)};
            __m128i q[4];
            for (int k = 0; k < 4; ++k) {
                const __m128i num = _mm_add_epi32(_mm_madd_epi16(pairs[k], weights), five);
                q[k] = _mm_cvttps_epi32(_mm_div_ps(_mm_cvtepi32_ps(num), ten));
            }
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c),
                             _mm_packus_epi16(_mm_packs_epi32(q[0], q[1]), _mm_packs_epi32(q[2], q[3])));
        }
#endif
        for (; x < w; ++x)
            one(x);
        if (premul) ClampToAlpha(Row(picture, y), w);
    }
}

namespace {

// One box pass of the blur: each output is the mean of the 2r + 1 pixels around it plus
// the next pixel on each side weighted a / 256, which gives a pass any variance, not
// only a box's.
struct TBox {
    int R = 0;      // whole pixels each side
    int A = 0;      // weight of the two end pixels, /256
    float InvD = 0; // 1 / (256 (2r + 1) + 2a)
};

TBox MakeBox(double sigma) {
    // Three passes of variance sigma^2 / 3 each. A box of radius r has variance
    // r (r + 1) / 3; the end weight makes up the rest:
    // a = (2r + 1)(v - r (r + 1) / 3) / (2 ((r + 1)^2 - v)).
    const double v = sigma * sigma / 3.0;
    TBox b;
    b.R = int(std::floor((std::sqrt(1.0 + 4.0 * sigma * sigma) - 1.0) / 2.0));
    while (b.R > 0 && b.R * (b.R + 1) / 3.0 > v)
        --b.R;
    const double r = b.R;
    const double alpha = (2 * r + 1) * (v - r * (r + 1) / 3.0) / (2.0 * ((r + 1) * (r + 1) - v));
    b.A = std::clamp(int(std::lround(alpha * 256.0)), 0, 256);
    b.InvD = float(1.0 / (256.0 * (2 * b.R + 1) + 2.0 * b.A));
    return b;
}

// (256 sum + a ends) / d, rounded to nearest (even on ties, as the vector code does).
inline uint8_t BoxValue(int32_t sum, int32_t ends, const TBox& b) {
    return ClampByte(int(std::nearbyint(float(256 * sum + b.A * ends) * b.InvD)));
}

// One pass down the columns from src into dst, with running sums per column and
// channel; rows beyond the picture repeat its first and last row.
void BoxColumns(const QImage& src, QImage& dst, const TBox& b, std::vector<int32_t>& sums) {
    const int h = src.height(), n = 4 * src.width();
    const uint8_t* base = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    auto row = [&](int y) { return base + stride * std::clamp(y, 0, h - 1); };
    sums.assign(size_t(n) + 16, 0);
    int32_t* sum = sums.data();
    for (int y = -b.R; y <= b.R; ++y) {
        const uint8_t* r = row(y);
        for (int i = 0; i < n; ++i)
            sum[i] += r[i];
    }
    for (int y = 0; y < h; ++y) {
        const uint8_t* above = row(y - b.R - 1);
        const uint8_t* below = row(y + b.R + 1);
        const uint8_t* leaving = row(y - b.R);
        uint8_t* out = dst.scanLine(y);
        int i = 0;
#ifdef TESSORA_X86
        const __m128i zero = _mm_setzero_si128();
        const __m128i a = _mm_set1_epi32(b.A);
        const __m128 inv = _mm_set1_ps(b.InvD);
        for (; i + 16 <= n; i += 16) {
            const __m128i ab = _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i));
            const __m128i be = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
            const __m128i le = _mm_loadu_si128(reinterpret_cast<const __m128i*>(leaving + i));
            const __m128i beLo = _mm_unpacklo_epi8(be, zero), beHi = _mm_unpackhi_epi8(be, zero);
            const __m128i ends[2] = {_mm_add_epi16(_mm_unpacklo_epi8(ab, zero), beLo),
                                     _mm_add_epi16(_mm_unpackhi_epi8(ab, zero), beHi)};
            const __m128i step[2] = {_mm_sub_epi16(beLo, _mm_unpacklo_epi8(le, zero)),
                                     _mm_sub_epi16(beHi, _mm_unpackhi_epi8(le, zero))};
            __m128i res[4];
            for (int q = 0; q < 4; ++q) {
                __m128i* sp = reinterpret_cast<__m128i*>(sum + i + 4 * q);
                const __m128i s = _mm_loadu_si128(sp);
                const __m128i e16 = ends[q / 2], d16 = step[q / 2];
                const __m128i e = q % 2 ? _mm_unpackhi_epi16(e16, zero) : _mm_unpacklo_epi16(e16, zero);
                // The step is signed: widen by repeating it and shifting the sign in.
                const __m128i d =
                    _mm_srai_epi32(q % 2 ? _mm_unpackhi_epi16(d16, d16) : _mm_unpacklo_epi16(d16, d16), 16);
                const __m128i num = _mm_add_epi32(_mm_slli_epi32(s, 8), _mm_madd_epi16(e, a));
                res[q] = _mm_cvtps_epi32(_mm_mul_ps(_mm_cvtepi32_ps(num), inv));
                _mm_storeu_si128(sp, _mm_add_epi32(s, d));
            }
            _mm_storeu_si128(
                reinterpret_cast<__m128i*>(out + i),
                _mm_packus_epi16(_mm_packs_epi32(res[0], res[1]), _mm_packs_epi32(res[2], res[3])));
        }
#endif
        for (; i < n; ++i) {
            out[i] = BoxValue(sum[i], above[i] + below[i], b);
            sum[i] += below[i] - leaving[i];
        }
    }
}

} // namespace

void Blur(QImage& picture, double radius) {
    if (!(radius > 0) || !PrepareInPlace(picture)) return;
    const TBox b = MakeBox(std::min(radius, 1000.0));
    if (b.R == 0 && b.A == 0) return;
    // All four channels of premultiplied pixels: a weighted mean of valid pixels is valid.
    // Rows are done as columns of the transposed picture, where the passes run along
    // whole rows of memory.
    QImage other(picture.size(), picture.format());
    QImage across(picture.height(), picture.width(), picture.format());
    QImage across2(across.size(), across.format());
    if (other.isNull() || across.isNull() || across2.isNull()) return;
    std::vector<int32_t> sums;
    BoxColumns(picture, other, b, sums);
    BoxColumns(other, picture, b, sums);
    BoxColumns(picture, other, b, sums);
    Transpose(other, across);
    BoxColumns(across, across2, b, sums);
    BoxColumns(across2, across, b, sums);
    BoxColumns(across, across2, b, sums);
    Transpose(across2, picture);
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
    for (uint32_t v = 0; v < 256; ++v)
        lut[v] = uint8_t((keep * v + 50) / 100);
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
    for (const TImageFilter& f : filters)
        ApplyFilter(picture, f);
}

void ApplyFilters(QImage& picture, std::string_view filterList) {
    if (filterList.empty()) return;
    ApplyFilters(picture, DecodeFilters(filterList));
}

} // namespace tessora
