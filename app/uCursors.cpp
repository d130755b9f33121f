#include "app/uCursors.h"

#include <QMap>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tessora {

namespace {

constexpr int kSize = 32;

QMap<int, QCursor>& Slots() {
    static QMap<int, QCursor> slots;
    return slots;
}

// A crosshair with an open centre, so the picked pixel stays visible; hot spot in the middle.
QImage DrawPick() {
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const int c = 15;
    auto arms = [&](QPen pen) {
        p.setPen(pen);
        p.drawLine(c, 2, c, c - 4);
        p.drawLine(c, c + 4, c, kSize - 3);
        p.drawLine(2, c, c - 4, c);
        p.drawLine(c + 4, c, kSize - 3, c);
        p.drawRect(c - 2, c - 2, 4, 4);
    };
    arms(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    arms(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRect(c, c, 1, 1);
    return img;
}

// A pencil whose point is the hot spot at the bottom left.
QImage DrawPath() {
    QImage img(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.moveTo(1, 30);  // point
    body.lineTo(5, 20);  // wood, left
    body.lineTo(23, 2);  // shaft, left edge
    body.lineTo(29, 8);  // the end
    body.lineTo(11, 26); // shaft, right edge
    body.closeSubpath();
    p.setPen(QPen(Qt::white, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(body);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(250, 200, 60));
    p.drawPath(body);
    QPainterPath tip;
    tip.moveTo(1, 30);
    tip.lineTo(5, 20);
    tip.lineTo(11, 26);
    tip.closeSubpath();
    p.setBrush(QColor(240, 220, 180));
    p.drawPath(tip);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.drawLine(1, 30, 3, 28); // the lead, solid up to the hot spot
    p.drawPoint(1, 30);
    return img;
}

} // namespace

QPoint CursorHotSpot(int slot) {
    switch (slot) {
    case crPick:
        return {15, 15};
    case crPath:
        return {1, 30};
    default:
        return {};
    }
}

QImage CursorPicture(int slot) {
    switch (slot) {
    case crPick:
        return DrawPick();
    case crPath:
        return DrawPath();
    default:
        return {};
    }
}

void LoadCursors() {
    for (int slot : {int(crPick), int(crPath)}) {
        const QPoint hot = CursorHotSpot(slot);
        Slots().insert(slot, QCursor(QPixmap::fromImage(CursorPicture(slot)), hot.x(), hot.y()));
    }
}

QCursor ScreenCursor(int slot) {
    return Slots().value(slot, QCursor(Qt::ArrowCursor));
}

} // namespace tessora
