// Label drawing on the screen target: one label, and a full redraw of a 30-up sheet.
#include "document/uCommon.h"
#include "sheetview/uSheet.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

using namespace tessora;

namespace {

// 30 address labels of 66.675 x 25.4 mm on Letter, each with a photo, two texts and an EAN-13.
std::unique_ptr<TSheet> MakeSheet(const std::string& photo) {
    auto s = std::make_unique<TSheet>();
    TSheetHeader& h = s->Header;
    h.MarginLeft = 4.7625;
    h.MarginTop = 12.7;
    h.LabelWidth = 66.675;
    h.LabelHeight = 25.4;
    h.GapH = 3.175;
    h.Columns = 3;
    h.Rows = 10;
    s->ApplyPaperSize();
    s->BuildGrid();
    s->AddPicture(-1, 0, photo);
    for (auto& l : s->Labels) {
        TLabelFace& f = *l->Faces[0];
        f.Images[0]->Scale = 45;
        f.Images[0]->AlignV = 2;
        for (int i = 0; i < 2; ++i) {
            auto t = std::make_unique<TLabelText>(24, 2 + 6 * i, 40);
            t->Text = i ? "Fresh roasted coffee" : "Corvane Beans";
            t->FontName = "Liberation Sans";
            t->FontSize = uint8_t(i ? 8 : 11);
            f.Texts.push_back(std::move(t));
        }
        f.BCType = 15;
        f.BCText = "400638133393";
        f.BCChSum = true;
        f.BCLeft = 24;
        f.BCTop = 14;
        f.BCHeight = 9;
        f.BCWidth = 0.25;
    }
    s->SetViewSize(QSize(1000, RoundHalfEven(1000 * 279.4 / 215.9)));
    return s;
}

std::string Photo() {
    static const std::string path = [] {
        QImage img(1200, 900, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, 1200, 900);
        g.setColorAt(0, QColor(180, 90, 40));
        g.setColorAt(1, QColor(40, 120, 200));
        p.fillRect(img.rect(), g);
        const std::string f = QDir::tempPath().toStdString() + "/tessora-bench-photo.jpg";
        img.save(QString::fromStdString(f), "JPG", 90);
        return f;
    }();
    return path;
}

void BM_DrawLabelScreen(benchmark::State& state) {
    auto s = MakeSheet(Photo());
    s->DrawLabel(0, -1, false); // warm: the fitted picture is made once
    for (auto _ : state) s->DrawLabel(0, -1, false);
}
BENCHMARK(BM_DrawLabelScreen)->Unit(benchmark::kMillisecond);

void BM_RedrawSheetFull30(benchmark::State& state) {
    auto s = MakeSheet(Photo());
    for (auto _ : state) s->RedrawSheet(true, true);
}
BENCHMARK(BM_RedrawSheetFull30)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    SetProgramFolder(QDir::tempPath().toStdString());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
