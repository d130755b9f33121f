// Label drawing on the screen target: one label, and a full redraw of a 30-up sheet.
#include "document/uCommon.h"
#include "sheetview/uSheet.h"
#include "bench/uBenchMain.h"
#include "bench/uBenchSheets.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace tessora;

namespace {

std::unique_ptr<TSheet> MakeSheet() {
    auto s = bench::Products(30);
    s->SetViewSize(QSize(1000, RoundHalfEven(1000 * 279.4 / 215.9)));
    return s;
}

void BM_DrawLabelScreen(benchmark::State& state) {
    auto s = MakeSheet();
    s->DrawLabel(0, -1, false); // warm: the fitted picture is made once
    for (auto _ : state) s->DrawLabel(0, -1, false);
}
BENCHMARK(BM_DrawLabelScreen)->Unit(benchmark::kMillisecond);

void BM_RedrawSheetFull30(benchmark::State& state) {
    auto s = MakeSheet();
    for (auto _ : state) s->RedrawSheet(true, true);
}
BENCHMARK(BM_RedrawSheetFull30)->Unit(benchmark::kMillisecond);

} // namespace

TESSORA_BENCHMARK_MAIN()
