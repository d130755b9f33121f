#pragma once
// A small sheet laid out at exactly 10 pixels per millimetre on screen, so screen and PDF
// pixels coincide, with a sink that keeps what the PDF target receives.
#include "document/uCommon.h"
#include "sheetview/uSheet.h"
#include "tests/common/uTestSheets.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace tessora::test {

class TCaptureOutput : public TLabelOutput {
public:
    struct Pic {
        QImage Bitmap;
        QRect Dest;
    };
    std::vector<Pic> Pictures;
    std::vector<QPolygon> Flaps;
    std::vector<QRect> Frames;
    void Picture(const QImage& b, const QRect& d) override { Pictures.push_back({b, d}); }
    void Flap(const QPolygon& p, uint32_t) override { Flaps.push_back(p); }
    void PanelFrame(const QRect& r, uint32_t) override { Frames.push_back(r); }
};

class SheetTest : public ::testing::Test {
protected:
    TTempDir Home;
    std::string PrevFolder = ProgramFolder();
    std::unique_ptr<TSheet> Sheet;
    TCaptureOutput Pdf;

    void SetUp() override {
        SetProgramFolder(Home.Path());
        Sheet = std::make_unique<TSheet>();
        Sheet->Gui = TGuiSettings{};
        Sheet->PdfOut = &Pdf;
    }
    void TearDown() override {
        Sheet.reset();
        SetProgramFolder(PrevFolder);
    }
    // One or more labels of w x h mm at (10, 10) mm, 10 mm apart; the view is 10 px/mm.
    void Make(uint8_t shape, double w, double h, int cols = 1, int rows = 1, double depth = 0) {
        Sheet->Header = TestHeader(shape, w, h, cols, rows, depth);
        Sheet->ApplyPaperSize();
        Sheet->BuildGrid();
        Sheet->FullRedraw = true;
        Sheet->SetViewSize(QSize(2159, 2794));
    }
    TLabelFace& Face(int l = 0, int f = 0) { return Sheet->Face(l, f); }
    // Draws one label on the PDF target and returns its bitmap.
    // Vector outlines are rebuilt around it, as a PDF run does.
    QImage PdfBitmap(int label = 0, int face = -1) {
        Pdf.Pictures.clear();
        Sheet->Target = otPdf;
        Sheet->BuildVectorMasks();
        Sheet->DrawLabel(label, face, true);
        Sheet->Target = otScreen;
        Sheet->BuildVectorMasks();
        return Pdf.Pictures.empty() ? QImage() : Pdf.Pictures.back().Bitmap;
    }
    QRgb Layer(int x, int y) const { return Sheet->SheetLayer.pixel(x, y) | 0xFF000000u; }
    std::string SavePicture(const std::string& name, const QImage& img) {
        const std::string p = Home.File(name);
        img.save(QString::fromStdString(p));
        return p;
    }
};

inline QImage Solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

// The first and last columns and rows in the rectangle whose pixels differ from `bg`.
inline QRect InkIn(const QImage& img, const QRect& area, QRgb bg) {
    int l = INT32_MAX, t = INT32_MAX, r = -1, b = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) != (bg | 0xFF000000u)) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace tessora::test
