#pragma once
// Pictures the content tests serve and read back.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <cstdlib>

namespace tessora::test {

inline QByteArray Jpeg(QColor c, int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "JPEG", 95);
    return bytes;
}

// Near enough for a flat JPEG colour.
inline bool IsColour(const QImage& img, QColor c) {
    if (img.isNull()) return false;
    const QColor p = img.pixelColor(img.width() / 2, img.height() / 2);
    return std::abs(p.red() - c.red()) < 12 && std::abs(p.green() - c.green()) < 12 &&
           std::abs(p.blue() - c.blue()) < 12;
}

} // namespace tessora::test
