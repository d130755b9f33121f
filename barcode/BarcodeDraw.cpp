// TLabelBarcode::DrawOn: the only part of the barcode library that uses QtGui.
#include "barcode/Barcode.h"

#include "document/uCommon.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPointF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessora {

namespace {

QColor ToColor(uint32_t c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

double Round(double v) {
    return std::nearbyint(v);
}

// The rotation and the origin that keep the rotated W x H rectangle right of and below
// (Left, Top). Coordinates stay in doubles: a wide pattern times sin/cos overflows int.
struct TPlacement {
    double S, C, Ox, Oy;

    TPlacement(double angle, double left, double top, double w, double h) {
        const double a = angle / 180.0 * std::numbers::pi;
        S = std::sin(a);
        C = std::cos(a);
        Ox = left;
        Oy = top;
        if (S >= 0 && C >= 0) {
            Oy += Round(S * w);
        } else if (S >= 0) {
            Ox += -Round(C * w);
            Oy += Round(S * w - C * h);
        } else if (C >= 0) {
            Ox += -Round(S * h);
        } else {
            Ox += -Round(C * w) - Round(S * h);
            Oy += -Round(C * h);
        }
    }

    QPointF At(double px, double py) const {
        return {Ox + Round(px * C + py * S), Oy + Round(-px * S + py * C)};
    }
};

QFont MakeFont(const TBarcodeFont& f) {
    QFont q(QString::fromStdString(f.Name));
    q.setPixelSize(std::max(1, -f.Height()));
    q.setBold(f.Bold);
    q.setItalic(f.Italic);
    q.setUnderline(f.Underline);
    q.setStrikeOut(f.StrikeOut);
    return q;
}

struct TTextBox {
    QRectF Rect;
    QString Text;
};

// The boxes of the code text and the type name, by the position rules.
std::vector<TTextBox> TextBoxes(const TLabelBarcode& bc, double w, const QFontMetrics& fm) {
    std::vector<TTextBox> boxes;
    const TBarcodeOption show = bc.ShowText();
    if (show == bcoNone) return boxes;
    const int th = fm.height();
    if (show == bcoCode || show == bcoBoth) {
        const QString t = QString::fromStdString(bc.PreparedText());
        const double tw = fm.horizontalAdvance(t);
        double x = bc.Left(), y = bc.Top();
        switch (bc.ShowTextPosition()) {
        case stpTopRight:
        case stpBottomRight:
            x = w + bc.Left() - tw;
            break;
        case stpTopCenter:
        case stpBottomCenter:
            x = std::trunc((w - tw) / 2) + bc.Left();
            break;
        default:
            break;
        }
        if (bc.ShowTextPosition() >= stpBottomLeft) y = double(bc.Top()) + bc.Height() - th + 3;
        boxes.push_back({QRectF(x, y, tw, th), t});
    }
    if (show == bcoTyp || show == bcoBoth) {
        const QString t = QString::fromStdString(bc.TypeName());
        const double y = bc.Top() + RoundHalfEven(2.5 * bc.ShowTextFont().Height());
        boxes.push_back({QRectF(bc.Left(), y, fm.horizontalAdvance(t), th), t});
    }
    return boxes;
}

} // namespace

int TLabelBarcode::DrawOn(QPainter& canvas) {
    const std::string pattern = Encode();
    const double w = double(PatternWidth(pattern)), h = FHeight;
    const TPlacement at(FAngle, FLeft, FTop, w, h);

    canvas.save();
    canvas.setRenderHint(QPainter::Antialiasing, false);
    canvas.setPen(Qt::NoPen);
    auto fill = [&](double x0, double y0, double x1, double y1) {
        const QPointF p[4] = {at.At(x0, y0), at.At(x0, y1), at.At(x1, y1), at.At(x1, y0)};
        canvas.drawPolygon(p, 4);
    };
    // Spaces first, as one rectangle, so the symbol covers its background entirely.
    canvas.setBrush(ToColor(FColor));
    fill(0, 0, w, h);
    canvas.setBrush(ToColor(FColorBar));
    // Short bars (PostNet) stand on the bottom edge, as readers of that code expect.
    const double shortTop = h - double(int64_t(FHeight) * 2 / 5);
    double x = 0;
    for (char c : pattern) {
        const int lw = LineWidth(c);
        if (c >= '5' && c <= '8')
            fill(x, 0, x + lw, h);
        else if (c >= 'A' && c <= 'D')
            fill(x, shortTop, x + lw, h);
        x += lw;
    }

    if (FShowText != bcoNone) {
        const QFont font = MakeFont(FShowTextFont);
        canvas.setFont(font);
        const QFontMetrics fm(font);
        const QColor color = ToColor(FShowTextFont.Color);
        for (const TTextBox& b : TextBoxes(*this, w, fm)) {
            canvas.fillRect(b.Rect, Qt::white);
            canvas.setPen(color);
            canvas.drawText(QPointF(b.Rect.left(), b.Rect.top() + fm.ascent()), b.Text);
        }
    }
    canvas.restore();
    return int(w);
}

QRect TLabelBarcode::DrawBounds() {
    const double w = Width(), h = FHeight;
    const TPlacement at(FAngle, FLeft, FTop, w, h);
    const QPointF p[4] = {at.At(0, 0), at.At(0, h), at.At(w, h), at.At(w, 0)};
    double x0 = p[0].x(), x1 = x0, y0 = p[0].y(), y1 = y0;
    for (const QPointF& q : p) {
        x0 = std::min(x0, q.x());
        x1 = std::max(x1, q.x());
        y0 = std::min(y0, q.y());
        y1 = std::max(y1, q.y());
    }
    QRectF r(QPointF(x0, y0), QPointF(x1, y1));
    const QFontMetrics fm(MakeFont(FShowTextFont));
    for (const TTextBox& b : TextBoxes(*this, w, fm))
        r = r.united(b.Rect);
    return r.toAlignedRect();
}

} // namespace tessora
