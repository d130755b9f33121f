#include "sheetview/uVectorPicture.h"

#include "platform/uPictureIO.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

namespace tessora {

TVectorPicture::TVectorPicture() = default;
TVectorPicture::~TVectorPicture() = default;

bool TVectorPicture::Load(const QString& fileName) {
    Clear();
    if (QFileInfo(fileName).suffix().compare("svg", Qt::CaseInsensitive) == 0 ||
        QFileInfo(fileName).suffix().compare("svgz", Qt::CaseInsensitive) == 0) {
        auto r = std::make_unique<QSvgRenderer>(fileName);
        if (!r->isValid()) return false;
        r->setAspectRatioMode(Qt::IgnoreAspectRatio);
        Svg = std::move(r);
        return true;
    }
    Bitmap = ReadPicture(fileName);
    return !Bitmap.isNull();
}

void TVectorPicture::Clear() {
    Bitmap = QImage();
    Svg.reset();
}

bool TVectorPicture::IsEmpty() const { return !Svg && Bitmap.isNull(); }

void TVectorPicture::Draw(QPainter& p, const QRectF& r) const {
    if (Svg)
        Svg->render(&p, r);
    else if (!Bitmap.isNull())
        p.drawImage(r, Bitmap);
}

} // namespace tessora
