// Texts of a face: in a box (measured, rotated, cut to their ink) and along a path.
#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "document/uSerial.h"
#include "document/uTextPoints.h"
#include "platform/uColor.h"
#include "platform/uFonts.h"
#include "platform/uText.h"
#include "platform/uTextPath.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tessora {

namespace {

QImage Transparent(int w, int h) {
    QImage img(std::max(1, w), std::max(1, h), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

int AlignFlag(int a) { return a == 1 ? Qt::AlignHCenter : a == 2 ? Qt::AlignRight : Qt::AlignLeft; }

QString TextOf(const TLabelText& t) { return Q(t.Text).remove('\r'); }

QFont FontOf(const TLabelText& t, int cellPx) {
    const TFontStyleSet s = t.Style();
    return CellFont(Q(t.FontName), cellPx, s.Bold, s.Italic, s.Underline);
}

bool RowInked(const quint32* row, int w) {
    for (int x = 0; x < w; ++x)
        if (row[x]) return true;
    return false;
}

// Inclusive ink box: the first and last columns and rows holding any non-zero pixel;
// a null rectangle when there is none. Rows are skipped from both ends, and each row
// between is searched only outside the columns already known to be inked.
// Only the part `within` is searched: callers pass where they drew.
QRect InkBox(const QImage& img, QRect within = QRect()) {
    within = within.isNull() ? img.rect() : within.intersected(img.rect());
    if (within.isEmpty()) return {};
    const int x0 = within.left(), w = within.width();
    auto row = [&](int y) { return reinterpret_cast<const quint32*>(img.constScanLine(y)) + x0; };
    int top = within.top();
    while (top <= within.bottom() && !RowInked(row(top), w)) ++top;
    if (top > within.bottom()) return {};
    int bottom = within.bottom();
    while (!RowInked(row(bottom), w)) --bottom;
    int left = w, right = -1;
    for (int y = top; y <= bottom; ++y) {
        const quint32* r = row(y);
        for (int x = 0; x < left; ++x)
            if (r[x]) {
                left = x;
                break;
            }
        for (int x = w - 1; x > right; --x)
            if (r[x]) {
                right = x;
                break;
            }
    }
    return QRect(QPoint(x0 + left, top), QPoint(x0 + right, bottom));
}

// The lowest inked row at or above `from`, or -1.
int InkBottom(const QImage& img, int from) {
    const int w = img.width();
    for (int y = std::min(from, img.height() - 1); y >= 0; --y)
        if (RowInked(reinterpret_cast<const quint32*>(img.constScanLine(y)), w)) return y;
    return -1;
}

// Where text drawn into `drawn` can have ink: antialiasing and italic overhang reach a
// little past the laid-out lines.
QRect InkArea(const QRectF& drawn, const QTransform& t, int cell) {
    return t.mapRect(drawn).toAlignedRect().adjusted(-cell, -cell, cell, cell);
}

QImage Flipped(const QImage& img, int flip) {
    if (flip == 1) return img.mirrored(true, false);
    if (flip == 2) return img.mirrored(false, true);
    return img;
}

} // namespace

void TSheet::DrawBoxTexts(QImage& B, TLabelFace& f, bool selected) {
    for (size_t i = 0; i < f.Texts.size(); ++i) {
        TLabelText& t = *f.Texts[i];
        if (t.Points.empty())
            DrawBoxText(B, t);
        else
            DrawPathText(B, t);
        if (selected && int(i) == SelIndex) {
            QPainter p(&B);
            const QRect b(QPoint(t.Bounds.Left, t.Bounds.Top), QPoint(t.Bounds.Right, t.Bounds.Bottom));
            SelectionMark(p, b.adjusted(-4, -4, 4, 4));
        }
    }
}

void TSheet::DrawBoxText(QImage& B, TLabelText& t) {
    const QFont font = FontOf(t, PtToPx(t.FontSize));
    const QString text = TextOf(t);
    const int a = std::max(1, MmToPxX(t.Width));
    const int flags = Qt::TextWordWrap | AlignFlag(t.AlignTxt) | Qt::AlignTop;
    const QColor ink = ToQColor(t.FontColor);

    // Measured height: the lowest inked row of the text laid out unrotated.
    QImage scratch = Transparent(a, MmToPxY(2 * Header.LabelHeight));
    QRectF laidOut;
    {
        QPainter p(&scratch);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(0, 0, a - 1, scratch.height() - 1), flags, text, &laidOut);
    }
    const int cell = PtToPx(t.FontSize);
    const int lowest = InkBottom(scratch, int(laidOut.bottom()) + cell);
    const int m = lowest < 0 ? 1 : lowest + 1;

    QImage S = Transparent(RoundHalfEven(1.2 * a), MmToPxY(1.5 * t.Width));
    const int left = RoundHalfEven((S.width() - a) / 2.0);
    const int top = RoundHalfEven((S.height() - m - 15) / 2.0);
    const QRect box(QPoint(left, top), QPoint(left + a, top + m + MmToPxY(5)));
    QRect inkArea;
    {
        QPainter p(&S);
        p.setRenderHint(QPainter::TextAntialiasing, true);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setFont(font);
        p.setPen(ink);
        // Positive angles turn counter-clockwise, about the middle of the scratch bitmap.
        const QPointF mid(S.width() / 2.0, S.height() / 2.0);
        p.translate(mid);
        p.rotate(-t.Angle);
        p.translate(-mid);
        QRectF drawn;
        p.drawText(QRectF(box), flags, text, &drawn);
        inkArea = InkArea(drawn, p.transform(), cell);
    }
    const QRect K = InkBox(S, inkArea);
    const int px = MmToPxX(t.X), py = MmToPxY(t.Y);
    if (K.isNull()) {
        t.Bounds = {px, py, px, py};
        return;
    }
    t.Bounds = {px, py, px + K.width() - 1, py + K.height() - 1};
    const QImage T = Flipped(S.copy(K), t.Flip);
    QPainter p(&B);
    p.drawImage(px, py, T);
}

void TSheet::DrawPathText(QImage& B, TLabelText& t) {
    QImage P = Transparent(MmToPxX(Header.LabelWidth), MmToPxY(Header.LabelHeight));
    QVector<QPointF> ctrl;
    for (const TPointMM& pt : PadForBezier(ParseTextPoints(t.Points))) ctrl.push_back(QPointF(MmToPxX(pt.X), MmToPxY(pt.Y)));
    QPolygonF line;
    if (!ctrl.isEmpty()) line = FlattenBezierChain(ctrl);
    {
        QPainter p(&P);
        p.setRenderHint(QPainter::Antialiasing, true);
        const TFontStyleSet s = t.Style();
        const QRawFont font = CellRawFont(Q(t.FontName), PtToPx(t.FontSize), s.Bold, s.Italic);
        if (line.size() >= 2 && font.isValid()) {
            p.fillPath(TextAlongPath(font, TextOf(t), line), ToQColor(t.FontColor));
        }
    }
    const QRect K = InkBox(P);
    t.Bounds = K.isNull() ? TRect{} : TRect{K.left(), K.top(), K.right(), K.bottom()};
    if (Target == otScreen && line.size() >= 2) {
        QPainter p(&P);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0x00, 0x99, 0x00, 0x40), 1));
        p.drawPolyline(line);
    }
    QPainter p(&B);
    p.drawImage(0, 0, P);
}

void TSheet::DrawSerial(QImage& D, int label) {
    const int64_t n = SerialNumber(Header, Settings, label);
    const double x0 = Settings.SerialAlignH == 0 ? Settings.SerialX : 0;
    const double y0 = Settings.SerialAlignV == 0 ? Settings.SerialY : 0;
    const QRect box(QPoint(MmToPxX(x0 + 2), MmToPxY(y0 + 2)),
                    QPoint(MmToPxX(Header.LabelWidth - 2), MmToPxY(Header.LabelHeight - 2)));
    const int h = Settings.SerialAlignH == 2 ? Qt::AlignHCenter : Settings.SerialAlignH == 3 ? Qt::AlignRight : Qt::AlignLeft;
    const int v = Settings.SerialAlignV == 2 ? Qt::AlignVCenter : Settings.SerialAlignV == 3 ? Qt::AlignBottom : Qt::AlignTop;
    QPainter p(&D);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(CellFont("Arial", PtToPx(12), false, false, false));
    p.setPen(Qt::black);
    p.drawText(box, Qt::TextWordWrap | h | v, Q(SerialText(Settings, n)));
}

} // namespace tessora
