// The barcode of a face: drawn at 300 dpi, then brought to the target's density.
#include "sheetview/uSheet.h"

#include "barcode/Barcode.h"
#include "document/uCommon.h"
#include "platform/uColor.h"
#include "platform/uImageOps.h"
#include "platform/uText.h"

#include <QPainter>
#include <cctype>

namespace tessora {

namespace {

// Only digits reach the encoder; the EAN-128 A type also takes letters.
std::string BarcodeData(const TLabelFace& f) {
    std::string out;
    for (unsigned char ch : f.BCText) {
        if (std::isdigit(ch) || (f.BCType == 21 && std::isalpha(ch))) out += char(ch);
    }
    if (f.BCType == 14) out = out.substr(0, 8);
    if (f.BCType == 19) out = out.substr(0, 10);
    return out;
}

} // namespace

void TSheet::DrawBarcode(QImage& D, TLabelFace& f, bool selected) {
    if (f.BCType == 0 || f.BCType > kBarcodeTypeCount) return;
    const TOutputTarget prev = Target;
    Target = otDpi300;
    const int v = f.BCOutput == 2 || f.BCOutput == 3 ? 60 : 0;
    TLabelBarcode bc;
    bc.SetRatio(2.0);
    TBarcodeFont font = bc.ShowTextFont();
    font.Size = 18;
    bc.SetShowTextFont(font);
    bc.SetTyp(TBarcodeType(f.BCType - 1));
    bc.SetChecksum(f.BCChSum);
    bc.SetShowTextPosition(TShowTextPosition(std::min<int>(f.BCAlign, stpBottomCenter)));
    bc.SetShowText(TBarcodeOption(std::min<int>(f.BCOutput, bcoBoth)));
    bc.SetLeft(0);
    bc.SetTop(v);
    bc.SetModul(MmToPxX(f.BCWidth));
    bc.SetText(BarcodeData(f));
    bc.SetHeight(MmToPxY(f.BCHeight));
    bc.SetAngle(0);
    bc.SetColorBar(f.BCColor);
    QImage G;
    try {
        f.BCPixWidth = bc.Width();
        if (f.BCPixWidth > 0) {
            G = QImage(f.BCPixWidth, bc.Height() + 3 + v, QImage::Format_RGB32);
            G.fill(Qt::white);
            QPainter p(&G);
            bc.DrawOn(p);
        }
    } catch (const EBarcodeError&) {
        // Drawing shows no messages: a text the symbology refuses draws nothing.
        f.BCPixWidth = 0;
        G = QImage();
    }
    Target = prev;
    if (G.isNull()) return;
    if (Target != otDpi300) {
        const int h = std::max(1, MmToPxY(f.BCHeight));
        const int w = std::max(1, RoundHalfEven(double(G.width()) * h / G.height()));
        G = ResampleLanczos3(G, w, h);
    }
    if (f.BCAngle != 0) G = RotateSmooth(G, f.BCAngle, Qt::white);
    if (G.isNull()) return;
    const int bx = MmToPxX(f.BCLeft), by = MmToPxY(f.BCTop);
    QPainter p(&D);
    if (selected) SelectionMark(p, QRect(QPoint(bx - 2, by - 2), QPoint(bx + G.width() + 2, by + G.height() + 2)));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(bx, by, G);
}

} // namespace tessora
