// The PDF writer on a Letter-sized label bitmap (2159 x 2794, 10 pixels a millimetre) with
// cpJpeg at quality 90, against plain libjpeg-turbo compression of the same pixels.
// The writer's own work (reading rows, ASCII85, file output) should stay under half the JPEG time:
// see the counters of BM_WriterOverheadVsJpeg.
#include "pdf/PdfBox.h"
#include "pdf/PdfFormat.h"
#include "pdf/PdfJpeg.h"

#include <benchmark/benchmark.h>

#include <jpeglib.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace tessora;

namespace {

constexpr int kWidth = 2159, kHeight = 2794;

// Something like a label face: soft colour fields, a photo-like texture, sharp bars and text-like
// strokes on white.
const TPdfBitmap& Picture() {
    static const TPdfBitmap pic = [] {
        TPdfBitmap b(kWidth, kHeight, pf32bit, 0xFFFFFFFF);
        uint32_t seed = 12345;
        for (int y = 0; y < kHeight; ++y) {
            uint32_t* row = b.Row(y);
            for (int x = 0; x < kWidth; ++x) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = int(seed >> 28) - 8;
                int r = 255, g = 255, bl = 255;
                if (y < kHeight / 2) { // photo-like: smooth shapes with grain
                    const double fx = x / double(kWidth), fy = y / double(kHeight);
                    r = int(128 + 100 * std::sin(fx * 9 + fy * 3)) + noise;
                    g = int(128 + 90 * std::cos(fx * 4 - fy * 7)) + noise;
                    bl = int(128 + 80 * std::sin((fx + fy) * 6)) + noise;
                } else if ((x / 23) % 3 == 0 && y < kHeight * 3 / 4) { // bars
                    r = g = bl = 0;
                } else if (((x / 7) ^ (y / 11)) % 5 == 0) { // text-like strokes
                    r = 30, g = 30, bl = 120;
                }
                const auto clamp = [](int v) { return uint32_t(v < 0 ? 0 : v > 255 ? 255 : v); };
                row[x] = 0xFF000000u | (clamp(r) << 16) | (clamp(g) << 8) | clamp(bl);
            }
        }
        return b;
    }();
    return pic;
}

std::string TempFolder() {
    static const std::string dir = [] {
        std::string d = std::filesystem::temp_directory_path().string() + "/tessora-bench-pdf-" +
                        std::to_string(::getpid());
        std::filesystem::create_directories(d);
        return d + "/";
    }();
    return dir;
}

// Plain libjpeg-turbo: the same pixels, the same settings, into memory.
size_t PlainJpeg(const TPdfBitmap& pic) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(pic.Width());
    cinfo.image_height = JDIMENSION(pic.Height());
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    uint32_t unused;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(
            const_cast<uint32_t*>(pic.ScanLine(int(cinfo.next_scanline), &unused)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return size;
}

// One document: BeginDoc, the picture placed with cpJpeg at 90, EndDoc. Returns the file size.
size_t WriteDocument(const TPdfBitmap& pic, const std::string& name) {
    TPdfBox pdf;
    pdf.SetLengthUnit(luTenth);
    pdf.SetPaperSize(1);
    pdf.SetImageCompressMode(cpJpeg);
    pdf.SetJpegQuality(90);
    pdf.SetFileName(name);
    pdf.BeginDoc();
    pdf.Canvas().StretchDraw({0, 0, kWidth, kHeight}, &pic);
    pdf.EndDoc();
    return size_t(std::filesystem::file_size(name));
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
    return std::chrono::duration<double>(b - a).count();
}

void BM_PlainLibjpegTurbo(benchmark::State& state) {
    const TPdfBitmap& pic = Picture();
    size_t bytes = 0;
    for (auto _ : state)
        bytes = PlainJpeg(pic);
    state.counters["jpeg_MB"] = double(bytes) / 1e6;
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_PlainLibjpegTurbo)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_PdfDocumentJpeg90(benchmark::State& state) {
    const TPdfBitmap& pic = Picture();
    const std::string name = TempFolder() + "doc.pdf";
    size_t bytes = 0;
    for (auto _ : state)
        bytes = WriteDocument(pic, name);
    state.counters["pdf_MB"] = double(bytes) / 1e6;
    state.SetItemsProcessed(state.iterations() * int64_t(kWidth) * kHeight);
}
BENCHMARK(BM_PdfDocumentJpeg90)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Both in every iteration, so they share the machine's state: the writer's own work is the
// document's time less the JPEG time. Counters are per-iteration averages.
void BM_WriterOverheadVsJpeg(benchmark::State& state) {
    const TPdfBitmap& pic = Picture();
    const std::string name = TempFolder() + "overhead.pdf";
    double jpeg = 0, doc = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(PlainJpeg(pic));
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(WriteDocument(pic, name));
        const auto t2 = std::chrono::steady_clock::now();
        jpeg += Seconds(t0, t1);
        doc += Seconds(t1, t2);
    }
    const double n = double(state.iterations());
    state.counters["jpeg_ms"] = 1000 * jpeg / n;
    state.counters["document_ms"] = 1000 * doc / n;
    state.counters["writer_ms"] = 1000 * (doc - jpeg) / n;
    state.counters["writer_per_jpeg"] = (doc - jpeg) / jpeg;
}
BENCHMARK(BM_WriterOverheadVsJpeg)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The parts of the writer's own work, one by one.
void BM_ReadRows(benchmark::State& state) {
    const TPdfBitmap& pic = Picture();
    std::vector<uint32_t> buffer(kWidth);
    for (auto _ : state) {
        uint32_t acc = 0;
        for (int y = 0; y < kHeight; ++y)
            acc += pic.ScanLine(y, buffer.data())[y % kWidth];
        benchmark::DoNotOptimize(acc);
    }
}
BENCHMARK(BM_ReadRows)->Unit(benchmark::kMillisecond);

void BM_SampleRows8Bit(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(PdfSampleRows(Picture(), 8).data());
    state.SetBytesProcessed(state.iterations() * int64_t(kWidth) * kHeight * 3);
}
BENCHMARK(BM_SampleRows8Bit)->Unit(benchmark::kMillisecond);

void BM_ASCII85OfTheJpeg(benchmark::State& state) {
    std::vector<uint8_t> jpeg;
    JpegEncode(Picture(), 90, jpeg);
    std::string out;
    for (auto _ : state) {
        out.clear();
        ASCII85Encode(jpeg.data(), jpeg.size(), out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(jpeg.size()));
}
BENCHMARK(BM_ASCII85OfTheJpeg)->Unit(benchmark::kMillisecond);

void BM_EmptyDocument(benchmark::State& state) {
    const std::string name = TempFolder() + "empty.pdf";
    for (auto _ : state) {
        TPdfBox pdf;
        pdf.SetPaperSize(1);
        pdf.SetFileName(name);
        pdf.BeginDoc();
        pdf.EndDoc();
    }
}
BENCHMARK(BM_EmptyDocument)->Unit(benchmark::kMillisecond);

void BM_PdfDocumentZlib(benchmark::State& state) {
    const TPdfBitmap& pic = Picture();
    const std::string name = TempFolder() + "zlib.pdf";
    for (auto _ : state) {
        TPdfBox pdf;
        pdf.SetPaperSize(1);
        pdf.SetImageCompressMode(cpZlib);
        pdf.SetFileName(name);
        pdf.BeginDoc();
        pdf.Canvas().StretchDraw({0, 0, kWidth, kHeight}, &pic);
        pdf.EndDoc();
    }
    state.counters["pdf_MB"] = double(std::filesystem::file_size(name)) / 1e6;
}
BENCHMARK(BM_PdfDocumentZlib)->Unit(benchmark::kMillisecond)->Iterations(3);

struct TCleanup {
    TCleanup() { TempFolder(); } // constructed first, so destroyed after this
    ~TCleanup() {
        std::error_code ec;
        std::filesystem::remove_all(TempFolder(), ec);
    }
} gCleanup;

} // namespace

BENCHMARK_MAIN();
