// TPdfCanvas: drawing calls as content-stream lines, and the page's objects.
#include "pdf/PdfBox.h"
#include "pdf/PdfFormat.h"

#include <utility>

namespace tessora {

TPdfCanvas::TPdfCanvas(TPdfBox& owner) : FOwner(owner) {
    Reset();
}

TPdfCanvas::~TPdfCanvas() = default;

void TPdfCanvas::Reset() {
    Pictures.clear();
    Pen = TPdfPen();
    Brush = TPdfBrush();
    ImageAlignment = TPdfImageAlignment();
    Lines.clear();
    Current = TPdfPoint();
}

bool TPdfCanvas::CheckOwner() {
    if (FOwner.FAborted) return false;
    if (!FOwner.FOpened) FOwner.Fail(pdfmsg::NotOpened);
    return true;
}

// ---- Conversions ------------------------------------------------------------------------------

void TPdfCanvas::AppendX(std::string& s, double x) const {
    AppendPdfNumber(s, x * FOwner.FUnitToPoints);
}

void TPdfCanvas::AppendY(std::string& s, double y) const {
    AppendPdfNumber(s, (FOwner.FPageHeight - y) * FOwner.FUnitToPoints);
}

void TPdfCanvas::AppendLength(std::string& s, double v) const {
    AppendPdfNumber(s, v * FOwner.FUnitToPoints);
}

void TPdfCanvas::AppendPoint(std::string& s, int x, int y) const {
    AppendX(s, x);
    s += ' ';
    AppendY(s, y);
}

void TPdfCanvas::AppendColor(std::string& s, uint32_t color) const {
    const uint32_t rgb = FOwner.ColorToRGB(color);
    for (int shift = 0; shift <= 16; shift += 8) {
        AppendPdfNumber(s, double((rgb >> shift) & 0xFF) / 255.0);
        s += ' ';
    }
}

std::string TPdfCanvas::PreparePaint(bool stroke, bool fill) {
    const bool doFill = fill && Brush.Style != bsClear;
    const bool doStroke = stroke && Pen.Style != psClear && Pen.Width > 0;
    if (doFill) {
        std::string s;
        AppendColor(s, Brush.Color);
        AddLine(s + "rg");
    }
    if (doStroke) {
        std::string s;
        AppendColor(s, Pen.Color);
        AddLine(s + "RG");
        AddLine(Pen.Style == psSolid ? "[]0 d" : "[3 3]0 d");
        std::string w;
        AppendLength(w, Pen.Width);
        AddLine(w + " w");
    }
    if (doFill && doStroke) return "B";
    if (doStroke) return "S";
    if (doFill) return "f";
    return {};
}

// ---- Drawing ----------------------------------------------------------------------------------

void TPdfCanvas::MoveTo(int x, int y) {
    Current = {x, y};
}

void TPdfCanvas::LineTo(int x, int y) {
    if (!CheckOwner()) return;
    LineToUnchecked(x, y);
}

void TPdfCanvas::LineToUnchecked(int x, int y) {
    const std::string op = PreparePaint(true, false);
    if (!op.empty()) {
        std::string m;
        AppendPoint(m, Current.X, Current.Y);
        AddLine(m + " m");
        std::string l;
        AppendPoint(l, x, y);
        AddLine(l + " l " + op);
    }
    Current = {x, y};
}

void TPdfCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (!CheckOwner()) return;
    if (left == right || top == bottom) {
        if (Pen.Style != psClear) {
            MoveTo(left, top);
            LineToUnchecked(right, bottom);
        }
        return;
    }
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const std::string op = PreparePaint(true, true);
    if (op.empty()) return;
    std::string s;
    AppendPoint(s, left, bottom);
    s += ' ';
    AppendLength(s, right - left);
    s += ' ';
    AppendLength(s, bottom - top);
    AddLine(s + " re " + op);
}

void TPdfCanvas::Polygon(std::span<const TPdfPoint> points) {
    if (!CheckOwner()) return;
    if (points.size() < 2) FOwner.Fail(pdfmsg::BadParameters, "Polygon");
    const std::string op = PreparePaint(true, true);
    if (op.empty()) return;
    std::string first;
    AppendPoint(first, points[0].X, points[0].Y);
    AddLine(first + " m");
    for (size_t i = 1; i < points.size(); ++i) {
        std::string s;
        AppendPoint(s, points[i].X, points[i].Y);
        AddLine(s + " l");
    }
    AddLine(first + " l");
    AddLine(op);
}

void TPdfCanvas::StretchDraw(const TPdfRect& r, const TPdfPicture* picture) {
    if (!CheckOwner()) return;
    if (!picture) FOwner.Fail(pdfmsg::InvalidMethodCall);
    const TPdfImage* image = nullptr;
    if (const uint64_t key = picture->Identity(); key != 0)
        for (const auto& p : Pictures)
            if (p->Key() == key) {
                image = p.get();
                break;
            }
    if (!image) {
        // Listed only once it is encoded, so a failed encoding leaves no half picture behind.
        auto created = std::make_unique<TPdfImage>(*this, *picture);
        image = created.get();
        Pictures.push_back(std::move(created));
    }
    PlacePicture(r, *image);
}

void TPdfCanvas::PlacePicture(TPdfRect r, const TPdfImage& image) {
    const int pw = image.PixelWidth(), ph = image.PixelHeight();
    if (pw == 0 || ph == 0) return;
    if (r.Left == r.Right || r.Top == r.Bottom) {
        r.Right = r.Left + PdfRound(pw * FOwner.FPixelToUnit);
        r.Bottom = r.Top + PdfRound(ph * FOwner.FPixelToUnit);
    } else if (FOwner.FSmartStretchDraw) {
        const int w = r.Right - r.Left, h = r.Bottom - r.Top;
        const double sx = double(w) / pw, sy = double(h) / ph;
        int nw, nh;
        if (sx <= sy) {
            nw = w;
            nh = PdfRound(ph * sx);
        } else {
            nh = h;
            nw = PdfRound(pw * sy);
        }
        switch (ImageAlignment.Horizontal) {
        case THorzAlign::Left:
            r.Right = r.Left + nw;
            break;
        case THorzAlign::Right:
            r.Left = r.Right - nw;
            break;
        case THorzAlign::Center:
            r.Left += PdfRound((w - nw) / 2.0);
            r.Right = r.Left + nw;
            break;
        }
        switch (ImageAlignment.Vertical) {
        case TVertAlign::Top:
            r.Bottom = r.Top + nh;
            break;
        case TVertAlign::Bottom:
            r.Top = r.Bottom - nh;
            break;
        case TVertAlign::Center:
            r.Top += PdfRound((h - nh) / 2.0);
            r.Bottom = r.Top + nh;
            break;
        }
    }
    AddLine("q");
    // The picture fills its rectangle exactly: a label bitmap placed at one pixel per unit
    // keeps its pixel size, so the page is not resampled.
    std::string cm;
    AppendLength(cm, r.Right - r.Left);
    cm += " 0 0 ";
    AppendLength(cm, r.Bottom - r.Top);
    cm += ' ';
    AppendPoint(cm, r.Left, r.Bottom);
    AddLine(cm + " cm");
    AddLine("/" + image.Name() + " Do");
    AddLine("Q");
}

// ---- Pages ------------------------------------------------------------------------------------

void TPdfCanvas::BeginPage() {
    ++FOwner.FPageCount;
    if (FOwner.OnNewPage) FOwner.OnNewPage(*this);
    if (FOwner.ProcessMessages) FOwner.ProcessMessages();
}

void TPdfCanvas::FinishPage() {
    int64_t length = 0;
    for (const std::string& line : Lines)
        length += int64_t(line.size()) + 1;
    const int contents = FOwner.BeginObject();
    FOwner.WriteLine("/Length " + PdfInt(length));
    FOwner.WriteLine(">>");
    FOwner.WriteLine("stream");
    for (const std::string& line : Lines)
        FOwner.WriteLine(line);
    FOwner.WriteLine("endstream");
    FOwner.WriteLine("endobj");

    for (const auto& p : Pictures)
        if (!p->Written()) p->Write();

    const int page = FOwner.BeginObject();
    FOwner.FPages.push_back(page);
    FOwner.WriteLine("/Type/Page");
    FOwner.WriteLine("/Parent 2 0 R");
    std::string box = "/MediaBox[ 0 0 ";
    AppendLength(box, FOwner.FPageWidth);
    box += ' ';
    AppendLength(box, FOwner.FPageHeight);
    FOwner.WriteLine(box + " ]");
    FOwner.WriteLine("/Contents " + PdfInt(contents) + " 0 R");
    FOwner.EndObject();

    Lines.clear();
    Current = TPdfPoint();
}

} // namespace tessora
