// Conversions from millimetres to device units, label geometry, zoom and layout.
#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "platform/uColor.h"

#include <algorithm>

namespace tessora {

double TSheet::ScaleX() const {
    switch (Target) {
    case otDpi300: return 300 / 25.4;
    case otPdf: return 10;
    case otDpi200: return 200 / 25.4;
    default: return SheetLayer.width() / ViewWidth;
    }
}

double TSheet::ScaleY() const {
    switch (Target) {
    case otDpi300: return 300 / 25.4;
    case otPdf: return 10;
    case otDpi200: return 200 / 25.4;
    default: return SheetLayer.height() / ViewHeight;
    }
}

int TSheet::MmToPxX(double mm) const { return RoundHalfEven(mm * ScaleX()); }
int TSheet::MmToPxY(double mm) const { return RoundHalfEven(mm * ScaleY()); }

int TSheet::PtToPx(double points) const {
    const double lh = Header.LabelHeight;
    // A label of no height has no density of its own; the target's serves.
    if (lh <= 0) return RoundHalfEven(ScaleX() * points * 25.4 / 72);
    return RoundHalfEven(MmToPxX(lh) * (points * 25.4 / 72) / lh);
}

double TSheet::PxToMmX(double px) const { return SheetLayer.width() > 0 ? px * ViewWidth / SheetLayer.width() : 0; }
double TSheet::PxToMmY(double px) const { return SheetLayer.height() > 0 ? px * ViewHeight / SheetLayer.height() : 0; }

double TSheet::LabelPosX(int i) const { return Zoomed ? 5 : Labels.at(size_t(i))->X; }
double TSheet::LabelPosY(int i) const { return Zoomed ? 5 : Labels.at(size_t(i))->Y; }

QRect TSheet::LabelRect(int i) const {
    const int l = MmToPxX(LabelPosX(i)), t = MmToPxY(LabelPosY(i));
    return QRect(QPoint(l, t), QPoint(l + MmToPxX(Header.ExtentAcross()) - 1, t + MmToPxY(Header.ExtentDown()) - 1));
}

void TSheet::LabelsToDraw(int& first, int& last) const {
    if (Zoomed) {
        first = last = CurLabel;
    } else {
        first = 0;
        last = int(Labels.size()) - 1;
    }
}

QRect TSheet::BoxPanelRect(int p, int a, int b) const {
    const int W = MmToPxX(Header.LabelWidth), H = MmToPxY(Header.LabelHeight), D = MmToPxX(Header.BoxDepth);
    int l = a, t = b, r = a, btm = b;
    switch (p) {
    case 0: l = a; t = b + D; r = a + W; btm = b + D + H; break;
    case 1: l = a; t = b + D + H; r = a + W; btm = b + H + 2 * D; break;
    case 2: l = a + W; t = b + D; r = a + W + D; btm = b + D + H; break;
    case 3: l = a + W + D; t = b; r = a + 2 * W + D; btm = b + D; break;
    case 4: l = a + W + D; t = b + D; r = a + 2 * W + D; btm = b + D + H; break;
    case 5: l = a + 2 * W + D; t = b + D; r = a + 2 * W + 2 * D; btm = b + D + H; break;
    }
    // Stored as left/top/right/bottom with right and bottom exclusive.
    return QRect(QPoint(l, t), QPoint(r - 1, btm - 1));
}

QColor TSheet::BackgroundColor() const { return Target == otScreen ? ToQColor(Gui.BgColor) : QColor(Qt::white); }

void TSheet::SetZoom(bool value) {
    if (value == Zoomed) return;
    Zoomed = value;
    if (Zoomed) {
        ViewWidth = Header.ExtentAcross() + 10;
        ViewHeight = Header.ExtentDown() + 10;
    } else {
        ApplyPaperSize();
    }
}

QRect TSheet::LayOut(QSize parent) {
    int w, h;
    if (ViewHeight / parent.height() > ViewWidth / parent.width()) {
        h = parent.height() - 20;
        w = RoundHalfEven(h * ViewWidth / ViewHeight);
    } else {
        w = parent.width() - 40;
        h = RoundHalfEven(w * ViewHeight / ViewWidth);
    }
    const QRect frame(RoundHalfEven((parent.width() - w) / 2.0), RoundHalfEven((parent.height() - h) / 2.0), w, h);
    SetViewSize(frame.size());
    return frame;
}

void TSheet::SetViewSize(QSize size) {
    SheetLayer = QImage(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_ARGB32_Premultiplied);
    const TOutputTarget prev = Target;
    Target = otScreen;
    BuildVectorMasks();
    RedrawSheet(true, FullRedraw);
    Target = prev;
}

} // namespace tessora
