// Lanczos-3 resampling: two separable passes over scanlines with weights made once
// per output row and column, in 2.14 fixed point summing exactly to one.
#include "platform/uImageOps.h"
#include "platform/uImageOpsInternal.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace tessora {
namespace imageops {
namespace {

constexpr int kShift = 14;
constexpr int kOne = 1 << kShift;
constexpr int kHalf = 1 << (kShift - 1);

// Source positions Start .. Start + Count - 1 feed one output position.
struct TTap {
    int Start = 0, Count = 0;
    int Offset = 0;     // into W
    int PairOffset = 0; // into Pairs
    int QuadOffset = 0; // into Quads
};

struct TAxis {
    std::vector<TTap> Taps;
    std::vector<int16_t> W;
    // Two neighbouring weights in one word (low, high), as the multiply-add pairs
    // them; an odd last weight pairs with 0.
    std::vector<int32_t> Pairs;
    // Per four taps: the first pair four times, then the second pair four times.
    std::vector<int32_t> Quads;
    int MaxCount = 0;
    double MeanCount = 0;
};

int32_t Pair(int16_t lo, int16_t hi) {
    return int32_t(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16));
}

double Lanczos3(double x) {
    x = std::fabs(x);
    if (x < 1e-12) return 1.0;
    if (x >= 3.0) return 0.0;
    const double px = M_PI * x;
    return 3.0 * std::sin(px) * std::sin(px / 3.0) / (px * px);
}

// padTo4 widens the taps with zero weights to whole groups of four where the source
// allows, which the horizontal kernels take four at a time.
TAxis MakeAxis(int srcLen, int dstLen, bool padTo4) {
    TAxis ax;
    ax.Taps.resize(size_t(dstLen));
    const double ratio = double(srcLen) / dstLen;
    // Shrinking widens the kernel by the reduction so every source pixel counts.
    const double widen = std::max(1.0, ratio);
    const double support = 3.0 * widen;
    std::vector<double> w;
    std::vector<int> wi;
    int64_t total = 0;
    for (int i = 0; i < dstLen; ++i) {
        // Pixel j covers [j, j + 1); output pixel i is centred here in source units.
        const double center = (i + 0.5) * ratio;
        const int lo = std::max(0, int(std::floor(center - support)));
        const int hi = std::min(srcLen - 1, int(std::ceil(center + support)));
        w.clear();
        double sum = 0;
        for (int j = lo; j <= hi; ++j) {
            const double v = Lanczos3((j + 0.5 - center) / widen);
            w.push_back(v);
            sum += v;
        }
        wi.assign(w.size(), 0);
        if (sum > 1e-9) {
            // Taps cut off at the picture's edge are left out; the rest is renormalised.
            int isum = 0;
            size_t big = 0;
            for (size_t k = 0; k < w.size(); ++k) {
                wi[k] = std::clamp(int(std::lround(w[k] / sum * kOne)), -32767, 32767);
                isum += wi[k];
                if (std::fabs(w[k]) > std::fabs(w[big])) big = k;
            }
            // Exactly one in fixed point, so flat areas come out unchanged.
            wi[big] += kOne - isum;
        } else {
            wi[size_t(std::clamp(int(center), lo, hi) - lo)] = kOne;
        }
        size_t a = 0, b = wi.size() - 1;
        while (a < b && wi[a] == 0)
            ++a;
        while (b > a && wi[b] == 0)
            --b;
        int start = lo + int(a), count = int(b - a + 1);
        if (padTo4 && count % 4 != 0 && srcLen >= count + 4 - count % 4) {
            // Zero weights up to whole groups of four, inside the source.
            const int extra = 4 - count % 4;
            const int after = std::min(extra, srcLen - (start + count));
            wi.insert(wi.begin() + std::ptrdiff_t(b + 1), size_t(after), 0);
            wi.insert(wi.begin() + std::ptrdiff_t(a), size_t(extra - after), 0);
            b += size_t(extra);
            start -= extra - after;
            count += extra;
        }
        TTap& t = ax.Taps[size_t(i)];
        t.Start = start;
        t.Count = count;
        t.Offset = int(ax.W.size());
        t.PairOffset = int(ax.Pairs.size());
        t.QuadOffset = int(ax.Quads.size());
        for (size_t k = a; k <= b; ++k)
            ax.W.push_back(int16_t(wi[k]));
        const int16_t* tw = ax.W.data() + t.Offset;
        for (int k = 0; k < t.Count; k += 2)
            ax.Pairs.push_back(Pair(tw[k], k + 1 < t.Count ? tw[k + 1] : 0));
        for (int k = 0; k + 3 < t.Count; k += 4) {
            for (int r = 0; r < 4; ++r)
                ax.Quads.push_back(Pair(tw[k], tw[k + 1]));
            for (int r = 0; r < 4; ++r)
                ax.Quads.push_back(Pair(tw[k + 2], tw[k + 3]));
        }
        ax.MaxCount = std::max(ax.MaxCount, t.Count);
        total += t.Count;
    }
    ax.MeanCount = double(total) / dstLen;
    return ax;
}

// ---- Vertical pass: out[i] = sum over k of w[k] * rows[k][i] -------------------

void VerticalScalar(const uint8_t* const* rows, const int16_t* w, int n, uint8_t* out, int from, int bytes) {
    for (int i = from; i < bytes; ++i) {
        int32_t s = kHalf;
        for (int k = 0; k < n; ++k)
            s += w[k] * rows[k][i];
        out[i] = ClampByte(s >> kShift);
    }
}

#ifdef TESSORA_X86
// Colour bytes no higher than the pixel's alpha byte.
inline __m128i ClampAlpha128(__m128i p) {
    __m128i a = _mm_srli_epi32(p, 24);
    a = _mm_or_si128(a, _mm_slli_epi32(a, 8));
    a = _mm_or_si128(a, _mm_slli_epi32(a, 16));
    return _mm_min_epu8(p, a);
}

// rows has an even count of entries (an odd tap list ends with a zero row) and pairs
// their weights two by two. Works from byte `i` on; returns the first byte not done.
int VerticalSse2(const uint8_t* const* rows, const int32_t* pairs, int n2, uint8_t* out, int i, int bytes,
                 bool premul) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi32(kHalf);
    for (; i + 16 <= bytes; i += 16) {
        __m128i a0 = round, a1 = round, a2 = round, a3 = round;
        for (int k = 0; k < n2; k += 2) {
            const __m128i wp = _mm_set1_epi32(pairs[k >> 1]);
            const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
            const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + i));
            const __m128i lo = _mm_unpacklo_epi8(r0, r1);
            const __m128i hi = _mm_unpackhi_epi8(r0, r1);
            a0 = _mm_add_epi32(a0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wp));
            a1 = _mm_add_epi32(a1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wp));
            a2 = _mm_add_epi32(a2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wp));
            a3 = _mm_add_epi32(a3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wp));
        }
        a0 = _mm_srai_epi32(a0, kShift);
        a1 = _mm_srai_epi32(a1, kShift);
        a2 = _mm_srai_epi32(a2, kShift);
        a3 = _mm_srai_epi32(a3, kShift);
        __m128i p = _mm_packus_epi16(_mm_packs_epi32(a0, a1), _mm_packs_epi32(a2, a3));
        if (premul) p = ClampAlpha128(p);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), p);
    }
    return i;
}
#endif

#ifdef TESSORA_AVX2
// Two source rows at a time, bytes interleaved and widened to 16 bits, multiplied and
// added in pairs with their two weights.
TESSORA_TARGET_AVX2 inline void VerticalStepAvx2(__m256i r0, __m256i r1, __m256i wp, __m256i& a0, __m256i& a1,
                                                 __m256i& a2, __m256i& a3) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i lo = _mm256_unpacklo_epi8(r0, r1);
    const __m256i hi = _mm256_unpackhi_epi8(r0, r1);
    a0 = _mm256_add_epi32(a0, _mm256_madd_epi16(_mm256_unpacklo_epi8(lo, zero), wp));
    a1 = _mm256_add_epi32(a1, _mm256_madd_epi16(_mm256_unpackhi_epi8(lo, zero), wp));
    a2 = _mm256_add_epi32(a2, _mm256_madd_epi16(_mm256_unpacklo_epi8(hi, zero), wp));
    a3 = _mm256_add_epi32(a3, _mm256_madd_epi16(_mm256_unpackhi_epi8(hi, zero), wp));
}

// The unpacks work within 128-bit lanes, and so do the packs that undo them.
TESSORA_TARGET_AVX2 inline __m256i VerticalPackAvx2(__m256i a0, __m256i a1, __m256i a2, __m256i a3,
                                                    bool premul) {
    a0 = _mm256_srai_epi32(a0, kShift);
    a1 = _mm256_srai_epi32(a1, kShift);
    a2 = _mm256_srai_epi32(a2, kShift);
    a3 = _mm256_srai_epi32(a3, kShift);
    __m256i p = _mm256_packus_epi16(_mm256_packs_epi32(a0, a1), _mm256_packs_epi32(a2, a3));
    if (premul) {
        __m256i a = _mm256_srli_epi32(p, 24);
        a = _mm256_or_si256(a, _mm256_slli_epi32(a, 8));
        a = _mm256_or_si256(a, _mm256_slli_epi32(a, 16));
        p = _mm256_min_epu8(p, a);
    }
    return p;
}

TESSORA_TARGET_AVX2
int VerticalAvx2(const uint8_t* const* rows, const int32_t* pairs, int n2, uint8_t* out, int i, int bytes,
                 bool premul) {
    const __m256i round = _mm256_set1_epi32(kHalf);
    // 64 bytes a step: the row pointers and weights are fetched once for both halves.
    for (; i + 64 <= bytes; i += 64) {
        __m256i a0 = round, a1 = round, a2 = round, a3 = round;
        __m256i b0 = round, b1 = round, b2 = round, b3 = round;
        for (int k = 0; k < n2; k += 2) {
            const __m256i wp = _mm256_set1_epi32(pairs[k >> 1]);
            const uint8_t* p0 = rows[k] + i;
            const uint8_t* p1 = rows[k + 1] + i;
            VerticalStepAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p0)),
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p1)), wp, a0, a1, a2, a3);
            VerticalStepAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p0 + 32)),
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p1 + 32)), wp, b0, b1, b2,
                             b3);
        }
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), VerticalPackAvx2(a0, a1, a2, a3, premul));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 32),
                            VerticalPackAvx2(b0, b1, b2, b3, premul));
    }
    for (; i + 32 <= bytes; i += 32) {
        __m256i a0 = round, a1 = round, a2 = round, a3 = round;
        for (int k = 0; k < n2; k += 2)
            VerticalStepAvx2(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k] + i)),
                             _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[k + 1] + i)),
                             _mm256_set1_epi32(pairs[k >> 1]), a0, a1, a2, a3);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), VerticalPackAvx2(a0, a1, a2, a3, premul));
    }
    return i;
}
#endif

#ifdef TESSORA_AVX2
// GCC 12 warns about the undefined placeholders inside its own AVX-512 intrinsics.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
TESSORA_TARGET_AVX512
int VerticalAvx512(const uint8_t* const* rows, const int32_t* pairs, int n2, uint8_t* out, int i, int bytes,
                   bool premul) {
    const __m512i zero = _mm512_setzero_si512();
    const __m512i round = _mm512_set1_epi32(kHalf);
    for (; i + 64 <= bytes; i += 64) {
        __m512i a0 = round, a1 = round, a2 = round, a3 = round;
        for (int k = 0; k < n2; k += 2) {
            const __m512i wp = _mm512_set1_epi32(pairs[k >> 1]);
            const __m512i r0 = _mm512_loadu_si512(rows[k] + i);
            const __m512i r1 = _mm512_loadu_si512(rows[k + 1] + i);
            const __m512i lo = _mm512_unpacklo_epi8(r0, r1);
            const __m512i hi = _mm512_unpackhi_epi8(r0, r1);
            a0 = _mm512_add_epi32(a0, _mm512_madd_epi16(_mm512_unpacklo_epi8(lo, zero), wp));
            a1 = _mm512_add_epi32(a1, _mm512_madd_epi16(_mm512_unpackhi_epi8(lo, zero), wp));
            a2 = _mm512_add_epi32(a2, _mm512_madd_epi16(_mm512_unpacklo_epi8(hi, zero), wp));
            a3 = _mm512_add_epi32(a3, _mm512_madd_epi16(_mm512_unpackhi_epi8(hi, zero), wp));
        }
        a0 = _mm512_srai_epi32(a0, kShift);
        a1 = _mm512_srai_epi32(a1, kShift);
        a2 = _mm512_srai_epi32(a2, kShift);
        a3 = _mm512_srai_epi32(a3, kShift);
        __m512i p = _mm512_packus_epi16(_mm512_packs_epi32(a0, a1), _mm512_packs_epi32(a2, a3));
        if (premul) {
            __m512i a = _mm512_srli_epi32(p, 24);
            a = _mm512_or_si512(a, _mm512_slli_epi32(a, 8));
            a = _mm512_or_si512(a, _mm512_slli_epi32(a, 16));
            p = _mm512_min_epu8(p, a);
        }
        _mm512_storeu_si512(out + i, p);
    }
    return i;
}
#pragma GCC diagnostic pop
#endif

void VerticalPass(const QImage& in, QImage& out, const TAxis& ay, TSimd simd, bool premul) {
    const int bytes = in.width() * 4;
    const int h = out.height();
    std::vector<uint8_t> zeroRow(size_t(bytes) + 64, 0);
    // Every output row's source rows, padded to an even count with the zero row.
    std::vector<size_t> first(size_t(h) + 1, 0);
    for (int y = 0; y < h; ++y)
        first[size_t(y) + 1] = first[size_t(y)] + size_t((ay.Taps[size_t(y)].Count + 1) & ~1);
    std::vector<const uint8_t*> rows(first.back());
    for (int y = 0; y < h; ++y) {
        const TTap& t = ay.Taps[size_t(y)];
        const uint8_t** r = rows.data() + first[size_t(y)];
        for (int k = 0; k < t.Count; ++k)
            r[k] = in.constScanLine(t.Start + k);
        if (t.Count & 1) r[t.Count] = zeroRow.data();
    }
    // Column strips, so the source rows that neighbouring output rows share stay in
    // the first-level cache from one output row to the next.
    constexpr int kStrip = 512;
    for (int x0 = 0; x0 < bytes; x0 += kStrip) {
        const int x1 = std::min(bytes, x0 + kStrip);
        for (int y = 0; y < h; ++y) {
            const TTap& t = ay.Taps[size_t(y)];
            const uint8_t* const* r = rows.data() + first[size_t(y)];
            const int n2 = int(first[size_t(y) + 1] - first[size_t(y)]);
            const int32_t* pr = ay.Pairs.data() + t.PairOffset;
            uint8_t* dst = out.scanLine(y);
            // The widest kernel first, narrower ones for what is left of the strip.
            int done = x0;
#ifdef TESSORA_AVX2
            if (simd >= TSimd::Avx512) done = VerticalAvx512(r, pr, n2, dst, done, x1, premul);
            if (simd >= TSimd::Avx2) done = VerticalAvx2(r, pr, n2, dst, done, x1, premul);
#endif
#ifdef TESSORA_X86
            if (simd >= TSimd::Sse2) done = VerticalSse2(r, pr, n2, dst, done, x1, premul);
#else
            (void)pr;
            (void)n2;
#endif
            if (done < x1) {
                VerticalScalar(r, ay.W.data() + t.Offset, t.Count, dst, done, x1);
                if (premul) ClampToAlpha(reinterpret_cast<uint32_t*>(dst) + done / 4, (x1 - done) / 4);
            }
        }
    }
}

// ---- Horizontal pass: one output pixel from Count neighbouring source pixels -----

inline uint32_t Store4(int32_t s0, int32_t s1, int32_t s2, int32_t s3) {
    uint8_t b[4] = {ClampByte(s0 >> kShift), ClampByte(s1 >> kShift), ClampByte(s2 >> kShift),
                    ClampByte(s3 >> kShift)};
    uint32_t v;
    std::memcpy(&v, b, 4);
    return v;
}

void HorizontalScalar(const uint8_t* src, const TAxis& ax, uint32_t* out, int count) {
    for (int x = 0; x < count; ++x) {
        const TTap& t = ax.Taps[size_t(x)];
        const uint8_t* p = src + 4 * t.Start;
        const int16_t* w = ax.W.data() + t.Offset;
        int32_t s0 = kHalf, s1 = kHalf, s2 = kHalf, s3 = kHalf;
        for (int k = 0; k < t.Count; ++k, p += 4) {
            s0 += w[k] * p[0];
            s1 += w[k] * p[1];
            s2 += w[k] * p[2];
            s3 += w[k] * p[3];
        }
        out[x] = Store4(s0, s1, s2, s3);
    }
}

#ifdef TESSORA_X86
// Taps from `k` on, two at a time; acc holds four channel sums.
inline __m128i HorizontalTailSse2(__m128i acc, const uint8_t* p, const int32_t* pairs, int k, int n) {
    const __m128i zero = _mm_setzero_si128();
    for (; k + 1 < n; k += 2) {
        const __m128i v = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 4 * k));
        const __m128i il = _mm_unpacklo_epi8(v, _mm_srli_si128(v, 4));
        acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi8(il, zero), _mm_set1_epi32(pairs[k >> 1])));
    }
    if (k < n) {
        int32_t one;
        std::memcpy(&one, p + 4 * k, 4);
        const __m128i v = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(one), zero), zero);
        acc = _mm_add_epi32(acc, _mm_madd_epi16(v, _mm_set1_epi32(pairs[k >> 1])));
    }
    return acc;
}

inline uint32_t Pack(__m128i acc) {
    acc = _mm_srai_epi32(acc, kShift);
    const __m128i p = _mm_packus_epi16(_mm_packs_epi32(acc, acc), acc);
    return uint32_t(_mm_cvtsi128_si32(p));
}

void HorizontalSse2(const uint8_t* src, const TAxis& ax, uint32_t* out, int count) {
    const __m128i round = _mm_set1_epi32(kHalf);
    for (int x = 0; x < count; ++x) {
        const TTap& t = ax.Taps[size_t(x)];
        out[x] =
            Pack(HorizontalTailSse2(round, src + 4 * t.Start, ax.Pairs.data() + t.PairOffset, 0, t.Count));
    }
}
#endif

#ifdef TESSORA_AVX2
// Four taps: pixels 0 and 1 interleaved by channel in the low lane, 2 and 3 in the high
// lane, widened to 16 bits and multiplied-added in pairs with their weights.
TESSORA_TARGET_AVX2 inline __m256i HorizontalQuadAvx2(__m256i acc, const uint8_t* p, const int32_t* q) {
    const __m256i order = _mm256_setr_epi8(0, -1, 4, -1, 1, -1, 5, -1, 2, -1, 6, -1, 3, -1, 7, -1, //
                                           8, -1, 12, -1, 9, -1, 13, -1, 10, -1, 14, -1, 11, -1, 15, -1);
    const __m256i v = _mm256_broadcastsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
    return _mm256_add_epi32(acc, _mm256_madd_epi16(_mm256_shuffle_epi8(v, order),
                                                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(q))));
}

TESSORA_TARGET_AVX2 inline __m128i Fold(__m256i acc) {
    return _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
}

TESSORA_TARGET_AVX2 inline __m128i HorizontalSumAvx2(const uint8_t* src, const TAxis& ax, const TTap& t) {
    const uint8_t* p = src + 4 * t.Start;
    const int32_t* q = ax.Quads.data() + t.QuadOffset;
    __m256i acc8 = _mm256_setzero_si256();
    int k = 0;
    for (; k + 3 < t.Count; k += 4)
        acc8 = HorizontalQuadAvx2(acc8, p + 4 * k, q + 2 * k);
    const __m128i acc = Fold(acc8);
    return k < t.Count ? HorizontalTailSse2(acc, p, ax.Pairs.data() + t.PairOffset, k, t.Count) : acc;
}

// Two output pixels a step, packed and clamped to their alpha together.
TESSORA_TARGET_AVX2
void HorizontalAvx2(const uint8_t* src, const TAxis& ax, uint32_t* out, int count, bool premul) {
    // (No lambda here: it would not inherit the target and could not inline the kernel.)
    const __m128i round = _mm_set1_epi32(kHalf);
    for (int x = 0; x < count; x += 2) {
        const __m128i a =
            _mm_srai_epi32(_mm_add_epi32(HorizontalSumAvx2(src, ax, ax.Taps[size_t(x)]), round), kShift);
        const __m128i b =
            x + 1 < count
                ? _mm_srai_epi32(_mm_add_epi32(HorizontalSumAvx2(src, ax, ax.Taps[size_t(x) + 1]), round),
                                 kShift)
                : a;
        __m128i px = _mm_packus_epi16(_mm_packs_epi32(a, b), a);
        if (premul) px = ClampAlpha128(px);
        if (x + 1 < count)
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), px);
        else
            out[x] = uint32_t(_mm_cvtsi128_si32(px));
    }
}

#endif

void HorizontalPass(const QImage& in, QImage& out, const TAxis& ax, TSimd simd, bool premul) {
    const int w = out.width();
    for (int y = 0; y < out.height(); ++y) {
        const uint8_t* src = in.constScanLine(y);
        uint32_t* dst = reinterpret_cast<uint32_t*>(out.scanLine(y));
        switch (simd) {
#ifdef TESSORA_AVX2
        case TSimd::Avx512: // wider steps do not pay here: the per-pixel work dominates
        case TSimd::Avx2:
            HorizontalAvx2(src, ax, dst, w, premul);
            continue; // clamped to alpha already
#endif
#ifdef TESSORA_X86
        case TSimd::Sse2:
            HorizontalSse2(src, ax, dst, w);
            break;
#endif
        default:
            HorizontalScalar(src, ax, dst, w);
            break;
        }
        if (premul) ClampToAlpha(dst, w);
    }
}

} // namespace

TSimd BestSimd() {
#if defined(TESSORA_AVX2)
    static const TSimd best = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512f")
                                  ? TSimd::Avx512
                              : __builtin_cpu_supports("avx2") ? TSimd::Avx2
                                                               : TSimd::Sse2;
    return best;
#elif defined(TESSORA_X86)
    return TSimd::Sse2;
#else
    return TSimd::Scalar;
#endif
}

QImage ResampleLanczos3(const QImage& picture, int width, int height, TSimd simd) {
    if (width < 1 || height < 1 || qint64(width) * height > kMaxImagePixels) return {};
    const QImage src = Prepared(picture);
    if (src.isNull()) return {};
    if (simd > BestSimd()) simd = BestSimd();
    const int sw = src.width(), sh = src.height();
    if (sw == width && sh == height) return src;
    const bool premul = src.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage::Format fmt = src.format();
    const bool doH = sw != width, doV = sh != height;

    if (!doH || !doV) {
        QImage out(width, height, fmt);
        if (out.isNull()) return {};
        if (doH)
            HorizontalPass(src, out, MakeAxis(sw, width, true), simd, premul);
        else
            VerticalPass(src, out, MakeAxis(sh, height, false), simd, premul);
        return out;
    }

    const TAxis ax = MakeAxis(sw, width, true);
    const TAxis ay = MakeAxis(sh, height, false);
    // Run first the pass that leaves less work; a horizontal tap costs a little more
    // than a vertical one, which works on whole rows at a time.
    constexpr double kHorizontalCost = 1.3;
    const double verticalFirst =
        double(sw) * height * ay.MeanCount + double(width) * height * ax.MeanCount * kHorizontalCost;
    const double horizontalFirst =
        double(width) * sh * ax.MeanCount * kHorizontalCost + double(width) * height * ay.MeanCount;
    const bool vFitsFirst = qint64(sw) * height <= kMaxImagePixels;
    const bool hFitsFirst = qint64(width) * sh <= kMaxImagePixels;
    if (!vFitsFirst && !hFitsFirst) return {};
    const bool vFirst = vFitsFirst && (!hFitsFirst || verticalFirst <= horizontalFirst);

    QImage out(width, height, fmt);
    if (out.isNull()) return {};
    if (vFirst) {
        QImage mid(sw, height, fmt);
        if (mid.isNull()) return {};
        VerticalPass(src, mid, ay, simd, premul);
        HorizontalPass(mid, out, ax, simd, premul);
    } else {
        QImage mid(width, sh, fmt);
        if (mid.isNull()) return {};
        HorizontalPass(src, mid, ax, simd, premul);
        VerticalPass(mid, out, ay, simd, premul);
    }
    return out;
}

} // namespace imageops

QImage ResampleLanczos3(const QImage& picture, int width, int height) {
    return imageops::ResampleLanczos3(picture, width, height, imageops::BestSimd());
}

} // namespace tessora
