// Image operations against Qt's own smooth scaling of the same picture, in one run.
//
// BM_Lanczos3VsQt alternates the two on every iteration, so both see the same machine
// load, and reports the medians and their ratio as counters.
#include "platform/uImageOps.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

using namespace tessora;

namespace {

// A photograph stand-in: smooth gradients, hard edges and noise, opaque.
const QImage& Photo() {
    static const QImage img = [] {
        QImage p(3000, 2000, QImage::Format_ARGB32_Premultiplied);
        std::mt19937 rng(1);
        for (int y = 0; y < p.height(); ++y) {
            auto* row = reinterpret_cast<uint32_t*>(p.scanLine(y));
            for (int x = 0; x < p.width(); ++x) {
                const uint32_t r = uint32_t(x * 255 / p.width());
                const uint32_t g = ((x / 97 + y / 61) % 2) ? 200 : 40;
                const uint32_t b = (uint32_t(y * 255 / p.height()) + (rng() & 31)) & 0xFF;
                row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            }
        }
        return p;
    }();
    return img;
}

void BM_Lanczos3Down(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ResampleLanczos3(Photo(), 700, 467));
}
BENCHMARK(BM_Lanczos3Down)->Unit(benchmark::kMillisecond);

void BM_QtSmoothDown(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Photo().scaled(700, 467, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
BENCHMARK(BM_QtSmoothDown)->Unit(benchmark::kMillisecond);

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

template <class F> double TimeMs(F f) {
    const auto t0 = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(f());
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

void CompareWithQt(benchmark::State& state, int w, int h) {
    std::vector<double> ours, qt;
    for (auto _ : state) {
        ours.push_back(TimeMs([&] { return ResampleLanczos3(Photo(), w, h); }));
        qt.push_back(
            TimeMs([&] { return Photo().scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation); }));
    }
    state.counters["lanczos_ms"] = Median(ours);
    state.counters["qt_ms"] = Median(qt);
    state.counters["ratio"] = Median(ours) / std::max(1e-9, Median(qt));
}

void BM_Lanczos3VsQtDown(benchmark::State& state) {
    CompareWithQt(state, 700, 467);
}
BENCHMARK(BM_Lanczos3VsQtDown)->Unit(benchmark::kMillisecond)->Iterations(60);

void BM_Lanczos3VsQtUp(benchmark::State& state) {
    CompareWithQt(state, 4000, 2667);
}
BENCHMARK(BM_Lanczos3VsQtUp)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_Lanczos3Up(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ResampleLanczos3(Photo(), 4000, 2667));
}
BENCHMARK(BM_Lanczos3Up)->Unit(benchmark::kMillisecond);

// Blur radius 5 on the full picture and on a screen-sized one.
void BM_Blur5(benchmark::State& state) {
    const QImage src = state.range(0) ? Photo() : ResampleLanczos3(Photo(), 700, 467);
    for (auto _ : state) {
        QImage img = src;
        Blur(img, 5);
        benchmark::DoNotOptimize(img);
    }
}
BENCHMARK(BM_Blur5)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The rest of a drawing's per-image work on a screen-sized picture.
void BM_RotateFilterFade(benchmark::State& state) {
    const QImage src = ResampleLanczos3(Photo(), 700, 467);
    for (auto _ : state) {
        QImage img = src;
        ApplyFlip(img, 1);
        img = RotateSmooth(img, 30, Qt::white);
        ApplyFilters(img, "1_20;10;#4_;#");
        ApplyFade(img, 40);
        benchmark::DoNotOptimize(img);
    }
}
BENCHMARK(BM_RotateFilterFade)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
