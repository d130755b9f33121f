// The sheet as a PDF file: every label that is ON as pictures of its faces at 10 px/mm,
// box flaps and panel frames as vector shapes.
#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uShell.h"
#include "platform/uStatus.h"
#include "platform/uText.h"
#include "sheetview/uPdfPicture.h"

namespace tessora {

namespace {

// Hands the label bitmaps and shapes of the PDF target to the writer's canvas.
class TCanvasOutput : public TLabelOutput {
public:
    explicit TCanvasOutput(TPdfCanvas& c) : Canvas(c) {}
    void Picture(const QImage& bitmap, const QRect& d) override {
        const TQImagePdfPicture pic(bitmap);
        Canvas.StretchDraw({d.left(), d.top(), d.left() + d.width(), d.top() + d.height()}, &pic);
    }
    void Flap(const QPolygon& points, uint32_t edge) override {
        std::vector<TPdfPoint> pts;
        for (const QPoint& p : points) pts.push_back({p.x(), p.y()});
        Canvas.Pen = {edge, psSolid, 1};
        Canvas.Brush = {0xC0C0C0, bsSolid};
        Canvas.Polygon(pts);
    }
    void PanelFrame(const QRect& r, uint32_t color) override {
        Canvas.Brush.Style = bsClear;
        Canvas.Pen = {color, psSolid, 1};
        Canvas.Rectangle(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    }

private:
    TPdfCanvas& Canvas;
};

std::string CantSaveMessage(const std::string& name) {
    return "Can't save " + name + " file.\r\nThis file appears to be in use by Adobe Reader.\r\n"
           "Please close Adobe Reader or save again using another file name.";
}

} // namespace

bool TSheet::WriteSheetPdf(const std::string& fileName, bool show) {
    return WriteSheetPdfPages(fileName, show, Settings.PageNum, Settings.PageNum);
}

bool TSheet::WriteSheetPdfPages(const std::string& fileName, bool show, int firstPage, int lastPage) {
    SetZoom(false);
    Target = otPdf;
    PdfBox.SetLengthUnit(luTenth);
    PdfBox.SetImageCompressMode(cpJpeg);
    PdfBox.SetJpegQuality(90);
    PdfBox.SetSmartStretchDraw(true);
    PdfBox.SetOrientation(poPortrait);
    PdfBox.SetWantShow(show);
    PdfBox.SetFileName(fileName);
    const TPaperSize& paper = kPaperSizes.at(std::min<size_t>(Header.PaperSize, kPaperSizes.size() - 1));
    PdfBox.SetPageWidth(RoundHalfEven(paper.Width * 10));
    PdfBox.SetPageHeight(RoundHalfEven(paper.Height * 10));
    PdfBox.ShellOpen = [](const std::string& f) { ShellOpen(Q(f)); };

    auto finish = [this](bool ok) {
        RescalePending = true;
        Target = otScreen;
        BuildVectorMasks();
        EndPass();
        PdfOut = nullptr;
        return ok;
    };
    try {
        PdfBox.BeginDoc();
    } catch (const EPdfError&) {
        Information(CantSaveMessage(fileName));
        Target = otScreen;
        return false;
    }
    BuildVectorMasks();
    TCanvasOutput out(PdfBox.Canvas());
    PdfOut = &out;
    const int savedPage = Settings.PageNum;
    try {
        TStatusScope status("Printing. Please Wait...");
        // One pass for the run: a picture shared by many labels is resampled once.
        BeginPass();
        for (int page = firstPage; page <= lastPage; ++page) {
            if (page > firstPage) PdfBox.NewPage();
            Settings.PageNum = page;
            for (size_t i = 0; i < Labels.size(); ++i) {
                if (!Labels[i]->Vis) continue;
                Status().SetLine2("Label #" + std::to_string(i + 1) + ". Printing");
                DrawLabel(int(i), -1, true);
            }
        }
        Settings.PageNum = savedPage;
        PdfBox.EndDoc();
    } catch (const EPdfError&) {
        Settings.PageNum = savedPage;
        PdfBox.Abort();
        Information(CantSaveMessage(fileName));
        return finish(false);
    }
    return finish(true);
}

} // namespace tessora
