#pragma once
// Shared pieces of the image operations; not for callers outside platform/ and its tests.
#include <QImage>
#include <cstdint>

#if defined(__x86_64__) || defined(_M_X64)
#include <immintrin.h>
#define TESSORA_X86 1 // SSE2 is always there
#if defined(__GNUC__)
#define TESSORA_AVX2 1 // AVX2 and AVX-512 kernels, chosen at run time
#define TESSORA_TARGET_AVX2 __attribute__((target("avx2")))
#define TESSORA_TARGET_AVX512 __attribute__((target("avx2,avx512f,avx512bw")))
#endif
#endif

namespace tessora::imageops {

// The vector instructions a resampling kernel may use. Every level gives the same
// pixels; tests compare them.
enum class TSimd { Scalar, Sse2, Avx2, Avx512 };
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

// dst(y, x) = src(x, y); dst must be src's height x width. With flipRows the rows of
// dst come out in reverse order, with flipColumns its columns.
void Transpose(const QImage& src, QImage& dst, bool flipRows = false, bool flipColumns = false);

inline uint8_t ClampByte(int v) {
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

} // namespace tessora::imageops
