#pragma once
// Shared pieces of the image operations; not for callers outside platform/ and its tests.
#include <QImage>
#include <cstdint>

namespace tessora::imageops {

// The vector instructions a resampling kernel may use. Every level gives the same
// pixels; tests compare them.
enum class TSimd { Scalar, Sse2, Avx2 };
// The best level this processor runs.
TSimd BestSimd();

QImage ResampleLanczos3(const QImage& picture, int width, int height, TSimd simd);

// The picture as RGB32 or ARGB32_Premultiplied (RGB32 when it has no alpha channel);
// the same picture, shared, when it already is one of them.
QImage Prepared(const QImage& picture);
// The same, in place; false for a null picture.
bool PrepareInPlace(QImage& picture);

// Lowers every colour channel of a row of premultiplied pixels to the pixel's alpha.
void ClampToAlpha(uint32_t* px, int count);

inline uint8_t ClampByte(int v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

} // namespace tessora::imageops
