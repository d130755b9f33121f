#pragma once
// The outline picture of vector-shaped sheets: an SVG drawn at any size, or a bitmap stretched.
#include <QImage>
#include <QRectF>
#include <QString>
#include <memory>

class QPainter;
class QSvgRenderer;

namespace tessora {

class TVectorPicture {
public:
    TVectorPicture();
    ~TVectorPicture();
    bool Load(const QString& fileName);
    void Clear();
    bool IsEmpty() const;
    // Stretches the picture over the rectangle.
    void Draw(QPainter& p, const QRectF& r) const;

private:
    QImage Bitmap;
    std::unique_ptr<QSvgRenderer> Svg;
};

} // namespace tessora
