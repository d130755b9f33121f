#include "params/uHueRing.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tessora {

namespace {

// Pixel centres run 0 .. kSize-1, so the middle pixel is the centre.
constexpr double kCentre = (THueRing::kSize - 1) / 2.0;
constexpr double kOuter = THueRing::kSize / 2.0 - 1.0;
constexpr double kInner = kOuter - 21.0;
// The square fits inside the ring with a gap, so its corners never touch the ring.
const int kHalf = int((kInner - 5.0) / std::numbers::sqrt2);
const int kSide = 2 * kHalf + 1;

double Coverage(double d) {
    return std::clamp(kOuter - d + 0.5, 0.0, 1.0) * std::clamp(d - kInner + 0.5, 0.0, 1.0);
}

} // namespace

THueRing::THueRing(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSize, kSize);
    RenderRing();
    RenderSquare();
}

QRect THueRing::SquareRect() const {
    const int left = int(kCentre) - kHalf;
    return {left, left, kSide, kSide};
}

QPoint THueRing::HuePoint(int hue) const {
    const double a = hue * std::numbers::pi / 180.0, r = (kOuter + kInner) / 2.0;
    return QPointF(kCentre + r * std::cos(a), kCentre - r * std::sin(a)).toPoint();
}

QPoint THueRing::SquarePoint(int sat, int light) const {
    const QRect q = SquareRect();
    return {q.left() + int(std::lround(sat * (kSide - 1) / 255.0)),
            q.bottom() - int(std::lround(light * (kSide - 1) / 255.0))};
}

THueRing::TPart THueRing::PartAt(QPointF pos) const {
    const double d = std::hypot(pos.x() - kCentre, pos.y() - kCentre);
    // A little slack outside the drawn edges: the ring is thin.
    if (d >= kInner - 2.0 && d <= kOuter + 2.0) return partRing;
    if (QRectF(SquareRect()).adjusted(-0.5, -0.5, 0.5, 0.5).contains(pos)) return partSquare;
    return partNone;
}

int THueRing::HueAt(QPointF pos) const {
    // Counter-clockwise from red at the right, as on a colour wheel.
    double a = std::atan2(kCentre - pos.y(), pos.x() - kCentre) * 180.0 / std::numbers::pi;
    if (a < 0) a += 360.0;
    return int(std::lround(a)) % 360;
}

void THueRing::SquareAt(QPointF pos, int& sat, int& light) const {
    const QRect q = SquareRect();
    const double x = std::clamp(pos.x() - q.left(), 0.0, double(kSide - 1));
    const double y = std::clamp(q.bottom() - pos.y(), 0.0, double(kSide - 1));
    sat = int(std::lround(x * 255.0 / (kSide - 1)));
    light = int(std::lround(y * 255.0 / (kSide - 1)));
}

void THueRing::SetColor(QColor color) {
    color = color.isValid() ? color.toRgb() : QColor(Qt::black);
    Current = color;
    if (color.hslHue() >= 0) HueValue = color.hslHue();
    Sat = color.hslSaturation();
    Light = color.lightness();
    update();
}

QString THueRing::HintAt(QPoint pos) const {
    switch (PartAt(pos)) {
    case partRing:
        return QStringLiteral("Hue: %1").arg(HueAt(pos));
    case partSquare: {
        int s, l;
        SquareAt(pos, s, l);
        const QString hex = QColor::fromHsl(HueValue, s, l).name(QColor::HexRgb).toUpper();
        return QStringLiteral("S: %1 L: %2\nHex: %3").arg(s).arg(l).arg(hex);
    }
    case partNone:
        break;
    }
    return {};
}

void THueRing::Pick(QPointF pos) {
    if (Dragging == partRing) {
        HueValue = HueAt(pos);
    } else if (Dragging == partSquare) {
        SquareAt(pos, Sat, Light);
    } else {
        return;
    }
    Current = QColor::fromHsl(HueValue, Sat, Light).toRgb();
    update();
    Q_EMIT colorChanged(Current);
}

void THueRing::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    Dragging = PartAt(e->position());
    Pick(e->position());
}

void THueRing::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) Pick(e->position());
}

void THueRing::mouseReleaseEvent(QMouseEvent*) {
    Dragging = partNone;
}

bool THueRing::event(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        const QString hint = HintAt(help->pos());
        if (hint.isEmpty()) {
            QToolTip::hideText();
            e->ignore();
        } else {
            QToolTip::showText(help->globalPos(), hint, this);
        }
        return true;
    }
    return QWidget::event(e);
}

void THueRing::RenderRing() {
    RingImage = QImage(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    RingImage.fill(Qt::transparent);
    for (int y = 0; y < kSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(RingImage.scanLine(y));
        for (int x = 0; x < kSize; ++x) {
            const double cover = Coverage(std::hypot(x - kCentre, y - kCentre));
            if (cover <= 0) continue;
            double a = std::atan2(kCentre - y, x - kCentre) * 180.0 / std::numbers::pi;
            if (a < 0) a += 360.0;
            const QColor c = QColor::fromHsvF(float(a / 360.0), 1.0f, 1.0f);
            const int alpha = int(std::lround(cover * 255));
            line[x] = qPremultiply(qRgba(c.red(), c.green(), c.blue(), alpha));
        }
    }
}

void THueRing::RenderSquare() {
    SquareHue = HueValue;
    SquareImage = QImage(kSide, kSide, QImage::Format_RGB32);
    for (int y = 0; y < kSide; ++y) {
        auto* line = reinterpret_cast<QRgb*>(SquareImage.scanLine(y));
        const int light = int(std::lround((kSide - 1 - y) * 255.0 / (kSide - 1)));
        for (int x = 0; x < kSide; ++x)
            line[x] = QColor::fromHsl(HueValue, int(std::lround(x * 255.0 / (kSide - 1))), light).rgb();
    }
}

void THueRing::paintEvent(QPaintEvent*) {
    if (SquareHue != HueValue) RenderSquare();
    QPainter p(this);
    p.drawImage(0, 0, RingImage);
    const QRect q = SquareRect();
    p.drawImage(q.topLeft(), SquareImage);
    // A faint edge, so the white corner does not melt into the window.
    p.setPen(QColor(0, 0, 0, 70));
    p.setBrush(Qt::NoBrush);
    p.drawRect(q.adjusted(-1, -1, 0, 0));
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    // Markers in white over black, visible on any colour.
    auto marker = [&](QPointF at, double radius) {
        p.setPen(QPen(Qt::black, 3));
        p.drawEllipse(at, radius, radius);
        p.setPen(QPen(Qt::white, 1.5));
        p.drawEllipse(at, radius, radius);
    };
    marker(QPointF(HuePoint(HueValue)), 6.5);
    marker(QPointF(SquarePoint(Sat, Light)), 4.5);
}

} // namespace tessora
