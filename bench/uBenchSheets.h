#pragma once
// Sheets the benchmarks draw: product labels of 66.675 x 25.4 mm, each with a photo, two
// texts and an EAN-13, three to a row.
#include "sheetview/uSheet.h"

#include <QDir>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

namespace tessora::bench {

inline std::string Photo() {
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

inline std::unique_ptr<TSheet> Products(int count) {
    auto s = std::make_unique<TSheet>();
    TSheetHeader& h = s->Header;
    h.PaperSize = count > 30 ? 4 : 0;
    h.MarginLeft = 4.7625;
    h.MarginTop = 12.7;
    h.LabelWidth = 66.675;
    h.LabelHeight = 25.4;
    h.GapH = 3.175;
    h.Columns = 3;
    h.Rows = (count + 2) / 3;
    s->ApplyPaperSize();
    s->BuildGrid();
    s->AddPicture(-1, 0, Photo());
    for (auto& l : s->Labels) {
        TLabelFace& f = *l->Faces[0];
        f.Images[0]->Scale = 88;
        f.Images[0]->AlignV = 2;
        for (int i = 0; i < 2; ++i) {
            auto t = std::make_unique<TLabelText>(33, 1.5 + 5 * i, 32);
            t->Text = i ? "Single origin, 250 g" : "Corvane Roast";
            t->FontName = "Liberation Sans";
            t->FontSize = uint8_t(i ? 7 : 10);
            f.Texts.push_back(std::move(t));
        }
        f.BCType = 15;
        f.BCText = "590123412345";
        f.BCChSum = true;
        f.BCLeft = 34;
        f.BCTop = 11;
        f.BCHeight = 8;
        f.BCWidth = 0.25;
    }
    return s;
}

} // namespace tessora::bench
