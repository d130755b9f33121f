#include "sheetview/uPdfPicture.h"

namespace tessora {

TQImagePdfPicture::TQImagePdfPicture(const QImage& image)
    : Image(image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32)),
      Id(NewPdfPictureId()) {}

} // namespace tessora
