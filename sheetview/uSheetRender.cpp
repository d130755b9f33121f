// Label drawing: the face bitmap, its outline, flaps, output to the target, the OFF mark,
// the whole sheet, vector outline masks and face export.
#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "platform/uColor.h"
#include "platform/uFonts.h"
#include "platform/uText.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace tessora {

namespace {

QImage NewBitmap(int w, int h, QColor fill, QImage::Format format = QImage::Format_ARGB32_Premultiplied) {
    QImage img(std::max(1, w), std::max(1, h), format);
    img.fill(fill);
    return img;
}

void CopyInto(QImage& dst, const QImage& src, QPoint at) {
    QPainter p(&dst);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, src);
}

} // namespace

bool TSheet::IsSelected(int label, int face) const {
    return Target == otScreen && label == CurLabel && face == CurFace;
}

void TSheet::SelectionMark(QPainter& p, const QRect& r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(QColor(255, 0, 0), 1, Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r);
    p.restore();
}

void TSheet::DrawLabel(int L, int F, bool force, QImage* dest) {
    if (L < 0 || size_t(L) >= Labels.size()) return;
    if (Target == otScreen && SheetLayer.isNull()) return;
    if (RescalePending) {
        RescalePending = false;
        force = true;
    }
    if (force && !InPass) ++PassId;
    TSheetLabel& label = *Labels[size_t(L)];
    const bool isBox = Header.Shape == lsBox;
    const uint8_t shape = isBox ? uint8_t(lsRectangle) : Header.Shape;
    const bool vector = shape == lsVector || shape == lsMakerVector;
    const int ox = MmToPxX(LabelPosX(L)), oy = MmToPxY(LabelPosY(L));
    const QColor base = BackgroundColor();

    const int firstFace = F < 0 ? 0 : F;
    const int lastFace = F < 0 ? int(label.Faces.size()) - 1 : std::min(F, int(label.Faces.size()) - 1);
    for (int f = firstFace; f <= lastFace; ++f) {
        TLabelFace& face = *label.Faces[size_t(f)];
        QRect R;
        if (Target == otDpi200 && dest)
            R = QRect(0, 0, dest->width(), dest->height());
        else if (isBox)
            R = BoxPanelRect(f, 0, 0);
        else
            R = QRect(0, 0, MmToPxX(Header.LabelWidth), MmToPxY(Header.LabelHeight));

        QColor c = face.BGColorOn ? ToQColor(face.BGColor) : QColor(Qt::white);
        if (!face.BGColorOn && Target == otScreen && Gui.LSpaceMode == 1) c = ToQColor(Gui.BgColor);
        QImage B = NewBitmap(R.width(), R.height(), c);

        int mx = 0, my = 0;
        if (!isBox && Target != otDpi200) {
            mx = MmToPxX(5);
            my = MmToPxY(5);
            if (MmToPxX(Header.GapH) < mx) mx = MmToPxX(Header.GapH - 0.5);
            if (MmToPxY(Header.GapV) < my) my = MmToPxY(Header.GapV - 0.5);
            mx = std::max(0, mx);
            my = std::max(0, my);
        }
        QImage D = NewBitmap(R.width() + mx, R.height() + my, base);

        const bool selected = IsSelected(L, f);
        DrawImages(B, face, c, force, selected && SelKind == 2);
        DrawBoxTexts(B, face, selected && SelKind == 1);

        uint32_t o = label.OLColor;
        if (Target != otScreen && !label.VisFr) o = 0xFFFFFF;
        if (vector) {
            QPainter p(&D);
            p.drawImage(0, 0, B);
            p.drawImage(0, 0, VectorMask);
        } else {
            DrawOutline(shape, &B, label.OLShadow, label.OLThick, label.OLShColor, o, Target != otDpi200, R.height(),
                        R.width(), QPoint(0, 0), D);
        }
        DrawBarcode(D, face, selected && SelKind == 0 && SelIndex > 0);
        if (Settings.SerialOn && (!isBox || f == 1)) DrawSerial(D, L);

        const QPoint at(ox + R.left(), oy + R.top());
        switch (Target) {
        case otScreen: {
            CopyInto(SheetLayer, D, at);
            if (isBox) {
                QPainter p(&SheetLayer);
                DrawFlaps(p, f, BoxPanelRect(f, ox, oy), label.OLColor, true);
            }
            break;
        }
        case otPdf:
            if (PdfOut) {
                PdfOut->Picture(D.convertToFormat(QImage::Format_RGB32), QRect(at, D.size()));
                if (isBox) {
                    const QRect panel = BoxPanelRect(f, ox, oy);
                    for (const QPolygon& flap : Flaps(f, panel)) PdfOut->Flap(flap, label.OLColor);
                    if (label.VisFr) PdfOut->PanelFrame(panel, label.OLColor);
                }
            }
            break;
        case otDpi200:
            if (dest) *dest = D;
            break;
        case otDpi300: break;
        }
    }
    if (Target == otScreen && !label.Vis) DrawOffMark(L);
    // A full redraw repaints the view once, at its end.
    if (Target == otScreen && !InPass) RepaintView();
}

QPainterPath TSheet::OutlinePath(uint8_t shape, int h, int w, QPoint o) const {
    QPainterPath path;
    // The path runs through pixel centres, so a 1-pixel line covers whole pixels: the
    // label's first and last columns and rows.
    const QRectF box(o.x() + 0.5, o.y() + 0.5, std::max(0, w - 1), std::max(0, h - 1));
    switch (shape) {
    case lsRoundRect: {
        const int p = std::clamp<int>(Header.Rounding, 5, 90);
        const double r = std::max(w, h) * p / 200.0;
        path.addRoundedRect(box, std::min(r, 0.45 * w), std::min(r, 0.45 * h));
        break;
    }
    case lsEllipse: path.addEllipse(box); break;
    default: path.addRect(box); break;
    }
    return path;
}

void TSheet::DrawOutline(uint8_t shape, const QImage* face, bool shadow, int thick, uint32_t shadowColor,
                         uint32_t outlineColor, bool outlineOn, int h, int w, QPoint origin, QImage& D) const {
    QPainter p(&D);
    if (shape == lsVector || shape == lsMakerVector) {
        p.drawImage(origin, VectorFace);
        return;
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    const QColor ol = outlineOn ? ToQColor(outlineColor) : QColor(0, 0, 0, 0);
    if (shape == lsBox) {
        for (int pass = 0; pass < 7; ++pass) {
            const int panel = pass < 6 ? pass : 5;
            const QRect r = BoxPanelRect(panel, origin.x(), origin.y());
            if (pass < 6) DrawFlaps(p, panel, r, 0, true);
            p.setPen(QPen(ol, 1));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, r.height() - 1));
        }
        return;
    }
    const QPainterPath path = OutlinePath(shape, h, w, origin);
    if (shadow) {
        // alpha_k = round(255 * 0.05^(k/10) - 1.275 k): 255, 188, 138, ... 6
        QColor sc = ToQColor(shadowColor);
        for (int k = 0; k < 10; ++k) {
            sc.setAlpha(RoundHalfEven(255 * std::pow(0.05, k / 10.0) - 1.275 * k));
            p.setPen(QPen(sc, 1));
            p.setBrush(Qt::NoBrush);
            p.drawPath(path.translated(k, k));
        }
    }
    if (face) {
        p.setPen(QPen(ol, 1));
        QBrush pattern(*face);
        p.setBrushOrigin(0, 0);
        p.setBrush(pattern);
        p.drawPath(path);
    }
    if (outlineOn) {
        QPen band(ol, std::clamp(thick, 1, 50));
        band.setJoinStyle(Qt::MiterJoin);
        p.setPen(band);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

QPolygon TSheet::FlapPolygon(int panel, const QRect& r, bool below) const {
    const int L = r.left(), T = r.top(), R = r.right() + 1, B = r.bottom() + 1;
    const int fx = MmToPxX(15), fy = MmToPxY(15), cx = MmToPxX(5), cy = MmToPxY(5);
    if (panel == 0) return QPolygon({QPoint(L - fx, T + cy), QPoint(L, T), QPoint(L, B), QPoint(L - fx, B - cy)});
    if (below) return QPolygon({QPoint(L, B), QPoint(R, B), QPoint(R - cx, B + fy), QPoint(L + cx, B + fy)});
    return QPolygon({QPoint(L, T), QPoint(L + cx, T - fy), QPoint(R - cx, T - fy), QPoint(R, T)});
}

std::vector<QPolygon> TSheet::Flaps(int panel, const QRect& r) const {
    switch (panel) {
    case 0: return {FlapPolygon(0, r, false)};
    case 1: return {FlapPolygon(1, r, true)};
    case 2:
    case 5: return {FlapPolygon(panel, r, false), FlapPolygon(panel, r, true)};
    case 3: return {FlapPolygon(3, r, false)};
    default: return {};
    }
}

void TSheet::DrawFlaps(QPainter& p, int panel, const QRect& r, uint32_t edge, bool antialias) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, antialias && Target == otScreen);
    p.setPen(QPen(ToQColor(edge), 1));
    p.setBrush(QColor(0xC0, 0xC0, 0xC0));
    for (const QPolygon& flap : Flaps(panel, r)) p.drawPolygon(flap);
    p.restore();
}

void TSheet::MakeOffIcon() {
    // A red "OFF" disc on white; white turns transparent when it is laid on a label.
    OffIcon = NewBitmap(48, 48, Qt::white, QImage::Format_RGB32);
    QPainter p(&OffIcon);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(160, 0, 0), 3));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(3, 3, 42, 42));
    p.setPen(QColor(250, 250, 250));
    p.setFont(CellFont("Arial", 17, true, false, false));
    p.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, "OFF");
}

void TSheet::DrawOffMark(int L) {
    const int w = MmToPxX(Header.ExtentAcross()), h = MmToPxY(Header.ExtentDown());
    const int ox = MmToPxX(LabelPosX(L)), oy = MmToPxY(LabelPosY(L));
    QPainter p(&SheetLayer);
    p.setOpacity(220 / 255.0);
    p.fillRect(QRect(ox, oy, w, h), Qt::white);
    p.setOpacity(1);
    QImage icon = OffIcon.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < icon.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x)
            if ((row[x] & 0xFFFFFF) == 0xFFFFFF) row[x] = 0;
    }
    p.drawImage(ox + RoundHalfEven((w - icon.width()) / 2.0), oy + RoundHalfEven((h - icon.height()) / 2.0), icon);
}

void TSheet::DrawTitle() {
    QPainter p(&SheetLayer);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const QFont font = CellFont("Arial", 12, false, false, false);
    p.setFont(font);
    p.setPen(QColor(0x00, 0x48, 0x00));
    p.drawText(QPointF(10, 15 + QFontMetricsF(font, &SheetLayer).ascent()), Q(Header.OrderCode));
}

void TSheet::RedrawSheet(bool outlinePen, bool full) {
    if (SheetLayer.isNull()) return;
    const TOutputTarget prev = Target;
    Target = otScreen;
    SheetLayer.fill(ToQColor(Gui.BgColor));
    DrawTitle();
    int first, last;
    LabelsToDraw(first, last);
    if (full) BeginPass();
    if (first >= 0) {
        for (int i = first; i <= last && size_t(i) < Labels.size(); ++i) {
            if (full) {
                DrawLabel(i, -1, true);
            } else {
                DrawOutline(Header.Shape, nullptr, false, 1, 0, 0, outlinePen, MmToPxY(Header.LabelHeight),
                            MmToPxX(Header.LabelWidth), QPoint(MmToPxX(LabelPosX(i)), MmToPxY(LabelPosY(i))),
                            SheetLayer);
            }
        }
    }
    if (full) EndPass();
    Target = prev;
    RepaintView();
}

void TSheet::BeginPass() {
    ++PassId;
    InPass = true;
}

void TSheet::BuildVectorMasks() {
    const uint8_t shape = Header.Shape;
    if ((shape != lsVector && shape != lsMakerVector) || VectorPicture.IsEmpty()) {
        VectorFace = VectorMask = QImage();
        return;
    }
    const int w = std::max(1, MmToPxX(Header.LabelWidth)), h = std::max(1, MmToPxY(Header.LabelHeight));
    const QColor base = BackgroundColor();
    QImage A = NewBitmap(w, h, base, QImage::Format_ARGB32);
    QImage Q = NewBitmap(w, h, QColor(255, 0, 0), QImage::Format_ARGB32);
    {
        QPainter pa(&A), pq(&Q);
        pa.setRenderHint(QPainter::SmoothPixmapTransform);
        pq.setRenderHint(QPainter::SmoothPixmapTransform);
        VectorPicture.Draw(pa, QRectF(0, 0, w, h));
        VectorPicture.Draw(pq, QRectF(0, 0, w, h));
    }
    const bool maker = shape == lsMakerVector;
    const QRgb interior = Gui.LSpaceMode == 1 ? (0xFF000000u | ToQColor(Gui.BgColor).rgb()) : 0xFFFFFFFFu;
    const QRgb baseRgb = 0xFF000000u | base.rgb();
    const QRgb black = 0xFF000000u;
    // Picture pixels: where both backgrounds were covered alike.
    std::vector<uint8_t> pic(size_t(w) * h);
    for (int y = 0; y < h; ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(A.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(Q.constScanLine(y));
        for (int x = 0; x < w; ++x) pic[size_t(y) * w + x] = a[x] == q[x];
    }
    auto isPic = [&](int x, int y) { return x >= 0 && y >= 0 && pic[size_t(y) * w + x]; };
    QImage face = A, mask = Q;
    // Each pixel looks only at the picture map, so rows can be visited in any order.
    // The maker edge lies inside the area on its top and left sides and just outside it on
    // the right and bottom; the mask leaves those outer edge pixels visible, and an area that
    // reaches the bitmap's last column or row is edged on its own last pixels, so the line
    // runs round all four sides.
    for (int y = 0; y < h; ++y) {
        auto* frow = reinterpret_cast<QRgb*>(face.scanLine(y));
        auto* mrow = reinterpret_cast<QRgb*>(mask.scanLine(y));
        for (int x = 0; x < w; ++x) {
            if (isPic(x, y)) {
                mrow[x] = 0;
                if (maker) {
                    const bool inner = isPic(x, y - 1) && isPic(x - 1, y) && x < w - 1 && y < h - 1;
                    frow[x] = inner ? interior : black;
                }
            } else if (maker && (isPic(x, y - 1) || isPic(x - 1, y))) {
                frow[x] = black;
                mrow[x] = 0;
            } else {
                mrow[x] = baseRgb;
            }
        }
    }
    VectorFace = face.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    VectorMask = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage TSheet::ExportFace(int label, int p) {
    Target = otDpi200;
    // The outline bitmaps are laid on the face pixel for pixel, so they follow the density.
    BuildVectorMasks();
    int w = MmToPxX(Header.LabelWidth), h = MmToPxY(Header.LabelHeight);
    const int d = MmToPxX(Header.BoxDepth);
    if (p == 1 || p == 3) h = d;
    if (p == 2 || p == 5) w = d;
    QImage bmp = NewBitmap(w, h, Qt::white);
    DrawLabel(label, p, true, &bmp);
    Target = otScreen;
    BuildVectorMasks();
    RescalePending = true;
    return bmp;
}

} // namespace tessora
