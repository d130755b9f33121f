#include "platform/uPictureIO.h"

#include <QImageReader>

namespace tessora {

QImage ReadPicture(const QString& fileName) {
    QImageReader reader(fileName);
    reader.setAutoTransform(true);
    // Pictures beyond this are not label artwork; refusing them keeps memory bounded.
    QImageReader::setAllocationLimit(1024);
    QImage img = reader.read();
    if (img.isNull()) return {};
    return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace tessora
