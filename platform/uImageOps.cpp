// Picture geometry: fitted size, flips, rotation and the cut to the face.
#include "platform/uImageOps.h"
#include "platform/uImageOpsInternal.h"

#include "document/uCommon.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tessora {

namespace imageops {

void Transpose(const QImage& src, QImage& dst, bool flipRows, bool flipColumns) {
    const int w = src.width(), h = src.height();
    const uint8_t* sBase = src.constBits();
    const qsizetype sStride = src.bytesPerLine();
    uint8_t* dBase = dst.bits();
    const qsizetype dStride = dst.bytesPerLine();
    // Blocks keep the rows of both pictures in cache.
    constexpr int kBlock = 32;
    for (int by = 0; by < h; by += kBlock) {
        const int ey = std::min(h, by + kBlock);
        for (int bx = 0; bx < w; bx += kBlock) {
            const int ex = std::min(w, bx + kBlock);
            for (int x = bx; x < ex; ++x) {
                uint32_t* d = reinterpret_cast<uint32_t*>(dBase + dStride * (flipRows ? w - 1 - x : x));
                for (int y = by; y < ey; ++y) {
                    const uint32_t* s = reinterpret_cast<const uint32_t*>(sBase + sStride * y);
                    d[flipColumns ? h - 1 - y : y] = s[x];
                }
            }
        }
    }
}

QImage Prepared(const QImage& picture) {
    if (picture.isNull()) return {};
    const QImage::Format f = picture.format();
    if (f == QImage::Format_RGB32 || f == QImage::Format_ARGB32_Premultiplied) return picture;
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32);
}

bool PrepareInPlace(QImage& picture) {
    if (picture.isNull()) return false;
    const QImage::Format f = picture.format();
    if (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32_Premultiplied)
        picture.convertTo(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                    : QImage::Format_RGB32);
    return !picture.isNull();
}

void ClampToAlpha(uint32_t* px, int count) {
    for (int i = 0; i < count; ++i) {
        const uint32_t p = px[i];
        const uint32_t a = p >> 24;
        if (a == 255) continue;
        const uint32_t r = std::min((p >> 16) & 0xFF, a);
        const uint32_t g = std::min((p >> 8) & 0xFF, a);
        const uint32_t b = std::min(p & 0xFF, a);
        px[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
}

} // namespace imageops

using namespace imageops;

QSize FittedSize(QSize picture, QSize face, int scalePercent) {
    const qint64 pw = picture.width(), ph = picture.height();
    const qint64 W = face.width(), H = face.height();
    if (pw < 1 || ph < 1 || W < 1 || H < 1 || scalePercent < 1) return {};
    double w, h;
    if (W * ph > H * pw) { // W / pw > H / ph without rounding
        h = RoundHalfEven(double(H) * scalePercent / 100.0);
        w = RoundHalfEven(h * double(pw) / double(ph));
    } else {
        w = RoundHalfEven(double(W) * scalePercent / 100.0);
        h = RoundHalfEven(w * double(ph) / double(pw));
    }
    // A sliver of a picture still gets one pixel; int range kept for QSize.
    const double cap = 1 << 30;
    return QSize(int(std::clamp(w, 1.0, cap)), int(std::clamp(h, 1.0, cap)));
}

void FlipHorizontal(QImage& picture) {
    if (!PrepareInPlace(picture)) return;
    const int w = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(picture.scanLine(y));
        std::reverse(row, row + w);
    }
}

void FlipVertical(QImage& picture) {
    if (!PrepareInPlace(picture)) return;
    const size_t bytes = size_t(picture.width()) * 4;
    for (int top = 0, bottom = picture.height() - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(picture.scanLine(top), picture.scanLine(top) + bytes, picture.scanLine(bottom));
}

void ApplyFlip(QImage& picture, int flip) {
    if (flip == 1)
        FlipHorizontal(picture);
    else if (flip == 2)
        FlipVertical(picture);
}

namespace {

// quarter turns counter-clockwise: 1, 2 or 3.
QImage RotateQuarter(const QImage& src, int quarters) {
    const int w = src.width(), h = src.height();
    QImage out = quarters == 2 ? QImage(w, h, src.format()) : QImage(h, w, src.format());
    if (out.isNull()) return {};
    if (quarters == 2) {
        for (int y = 0; y < h; ++y) {
            const uint32_t* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
            uint32_t* d = reinterpret_cast<uint32_t*>(out.scanLine(h - 1 - y));
            std::reverse_copy(s, s + w, d);
        }
        return out;
    }
    // Source (x, y) lands at (y, w - 1 - x) for a quarter turn, (h - 1 - y, x) for three.
    Transpose(src, out, quarters == 1, quarters == 3);
    return out;
}

// a + (b - a) * f / 256 per channel, f in 0..256, two channels per multiply.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f) {
    const uint32_t g = 256 - f;
    const uint32_t rb = ((((a & 0xFF00FF) * g) + ((b & 0xFF00FF) * f) + 0x800080) >> 8) & 0xFF00FF;
    const uint32_t ag = ((((a >> 8) & 0xFF00FF) * g) + (((b >> 8) & 0xFF00FF) * f) + 0x800080) & 0xFF00FF00;
    return rb | ag;
}

} // namespace

QImage RotateSmooth(const QImage& picture, double degrees, const QColor& cornerFill) {
    const QImage src = Prepared(picture);
    if (src.isNull()) return {};
    if (!std::isfinite(degrees)) return src;
    double d = std::fmod(degrees, 360.0);
    if (d < 0) d += 360.0;
    if (d == 0) return src;
    if (d == 90 || d == 180 || d == 270) return RotateQuarter(src, int(d) / 90);

    const int w = src.width(), h = src.height();
    const double rad = d * M_PI / 180.0;
    const double cs = std::cos(rad), sn = std::sin(rad);
    // Bounding box of the turned picture; the tolerance keeps exact sizes from growing.
    const double bw = std::fabs(w * cs) + std::fabs(h * sn);
    const double bh = std::fabs(w * sn) + std::fabs(h * cs);
    if (bw * bh > double(kMaxImagePixels)) return {};
    const int ow = std::max(1, int(std::ceil(bw - 1e-6)));
    const int oh = std::max(1, int(std::ceil(bh - 1e-6)));

    const uint32_t fill = qPremultiply(cornerFill.rgba());
    const bool opaque = src.format() == QImage::Format_RGB32 && qAlpha(fill) == 255;
    QImage out(ow, oh, opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (out.isNull()) return {};

    // Each output pixel centre is turned back into the source, where the picture covers
    // [0, w) x [0, h). Inside, it samples bilinearly with edge pixels repeated; within
    // half a pixel of the picture's border it blends into the fill by how much of the
    // pixel the picture covers, which anti-aliases the edges without darkening them.
    const uint8_t* base = src.constBits();
    const qsizetype stride = src.bytesPerLine();
    auto row = [&](int y) { return reinterpret_cast<const uint32_t*>(base + stride * y); };
    auto sample = [&](double s, double t) -> uint32_t {
        const double cov = std::clamp(std::min(s + 0.5, w - s + 0.5), 0.0, 1.0) *
                           std::clamp(std::min(t + 0.5, h - t + 0.5), 0.0, 1.0);
        if (cov <= 0) return fill;
        const double u = std::clamp(s - 0.5, 0.0, double(w - 1));
        const double v = std::clamp(t - 0.5, 0.0, double(h - 1));
        const int x0 = int(u), y0 = int(v);
        const int x1 = std::min(x0 + 1, w - 1), y1 = std::min(y0 + 1, h - 1);
        const uint32_t fx = uint32_t((u - x0) * 256.0 + 0.5);
        const uint32_t fy = uint32_t((v - y0) * 256.0 + 0.5);
        const uint32_t c = Lerp(Lerp(row(y0)[x0], row(y0)[x1], fx), Lerp(row(y1)[x0], row(y1)[x1], fx), fy);
        return cov < 1 ? Lerp(fill, c, uint32_t(cov * 256.0 + 0.5)) : c;
    };
    // Well inside, the same sampling in 16.16 fixed point without the edge handling.
    constexpr double kOne16 = 65536.0;
    const int64_t du = std::llround(cs * kOne16), dv = std::llround(sn * kOne16);
    const int64_t uMax = int64_t(w - 1) << 16, vMax = int64_t(h - 1) << 16;
    for (int y = 0; y < oh; ++y) {
        uint32_t* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        const double dy = y + 0.5 - oh / 2.0;
        const double dx0 = 0.5 - ow / 2.0;
        // Turning by -d on a y-down screen: s = dx cos - dy sin, t = dx sin + dy cos.
        const double s0 = dx0 * cs - dy * sn + w / 2.0;
        const double t0 = dx0 * sn + dy * cs + h / 2.0;
        int64_t u = std::llround((s0 - 0.5) * kOne16), v = std::llround((t0 - 0.5) * kOne16);
        for (int x = 0; x < ow; ++x, u += du, v += dv) {
            if (u >= 0 && u < uMax && v >= 0 && v < vMax) {
                const int x0 = int(u >> 16), y0 = int(v >> 16);
                const uint32_t fx = uint32_t(((u & 0xFFFF) + 128) >> 8),
                               fy = uint32_t(((v & 0xFFFF) + 128) >> 8);
                const uint32_t* r0 = row(y0) + x0;
                const uint32_t* r1 = row(y0 + 1) + x0;
                dst[x] = Lerp(Lerp(r0[0], r0[1], fx), Lerp(r1[0], r1[1], fx), fy);
            } else {
                dst[x] = sample(s0 + x * cs, t0 + x * sn);
            }
        }
    }
    return out;
}

QImage CutToMiddle(const QImage& picture, int maxWidth, int maxHeight) {
    if (picture.isNull() || maxWidth < 1 || maxHeight < 1) return {};
    const int w = picture.width(), h = picture.height();
    if (w <= maxWidth && h <= maxHeight) return picture;
    const int gx = w > maxWidth ? RoundHalfEven((w - maxWidth) / 2.0) : 0;
    const int gy = h > maxHeight ? RoundHalfEven((h - maxHeight) / 2.0) : 0;
    return picture.copy(gx, gy, std::min(w, maxWidth), std::min(h, maxHeight));
}

} // namespace tessora
