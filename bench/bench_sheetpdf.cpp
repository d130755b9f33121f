// The sheet as PDF: whole runs of 30, 80 and 300 product labels, the picture cache of a run,
// and plain JPEG compression of the same label bitmaps for comparison.
#include "document/uCommon.h"
#include "pdf/PdfJpeg.h"
#include "sheetview/uPdfPicture.h"
#include "sheetview/uSheet.h"
#include "bench/uBenchMain.h"
#include "bench/uBenchSheets.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace tessora;

namespace {

using bench::Products;

std::string OutFile() { return QDir::tempPath().toStdString() + "/tessora-bench.pdf"; }

void BM_WriteSheetPdf(benchmark::State& state) {
    auto s = Products(int(state.range(0)));
    for (auto _ : state) s->WriteSheetPdf(OutFile(), false);
    state.SetLabel(std::to_string(state.range(0)) + " labels");
}
BENCHMARK(BM_WriteSheetPdf)->Arg(30)->Arg(80)->Arg(300)->Unit(benchmark::kMillisecond);

// Discards what the PDF target draws.
class TNoOutput : public TLabelOutput {
public:
    std::vector<QImage> Kept;
    bool Keep = false;
    void Picture(const QImage& b, const QRect&) override {
        if (Keep) Kept.push_back(b);
    }
    void Flap(const QPolygon&, uint32_t) override {}
    void PanelFrame(const QRect&, uint32_t) override {}
};

// Drawing 30 labels on the PDF target as a run does (the shared photo resampled once) ...
void BM_DrawPdfLabelsOnePass(benchmark::State& state) {
    auto s = Products(30);
    TNoOutput out;
    s->PdfOut = &out;
    s->Target = otPdf;
    for (auto _ : state) {
        s->BeginPass();
        for (int i = 0; i < 30; ++i) s->DrawLabel(i, -1, true);
        s->EndPass();
    }
}
BENCHMARK(BM_DrawPdfLabelsOnePass)->Unit(benchmark::kMillisecond);

// ... and with every forced label resampling the photo again.
void BM_DrawPdfLabelsResampleEach(benchmark::State& state) {
    auto s = Products(30);
    TNoOutput out;
    s->PdfOut = &out;
    s->Target = otPdf;
    for (auto _ : state)
        for (int i = 0; i < 30; ++i) s->DrawLabel(i, -1, true);
}
BENCHMARK(BM_DrawPdfLabelsResampleEach)->Unit(benchmark::kMillisecond);

// libjpeg-turbo alone on the 30 label bitmaps of the run, at quality 90.
void BM_JpegOfLabelBitmaps(benchmark::State& state) {
    auto s = Products(30);
    TNoOutput out;
    out.Keep = true;
    s->PdfOut = &out;
    s->Target = otPdf;
    for (int i = 0; i < 30; ++i) s->DrawLabel(i, -1, true);
    std::vector<std::unique_ptr<TQImagePdfPicture>> pics;
    for (const QImage& b : out.Kept) pics.push_back(std::make_unique<TQImagePdfPicture>(b));
    std::vector<uint8_t> jpeg;
    for (auto _ : state)
        for (const auto& p : pics) JpegEncode(*p, 90, jpeg);
}
BENCHMARK(BM_JpegOfLabelBitmaps)->Unit(benchmark::kMillisecond);

} // namespace

TESSORA_BENCHMARK_MAIN()
