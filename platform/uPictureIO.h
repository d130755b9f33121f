#pragma once
#include <QImage>
#include <QString>

namespace tessora {

// Reads a picture in any format Qt reads (JPEG, PNG, BMP, GIF, TIFF, WEBP, ICO, SVG)
// as ARGB32_Premultiplied; a null image when it cannot be read.
QImage ReadPicture(const QString& fileName);

} // namespace tessora
