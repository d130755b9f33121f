#pragma once
// A QImage as the PDF writer reads pictures.
#include "pdf/PdfPicture.h"

#include <QImage>

namespace tessora {

class TQImagePdfPicture : public TPdfPicture {
public:
    // Opaque pictures are handed over as 24-bit RGB rows.
    explicit TQImagePdfPicture(const QImage& image);
    int Width() const override { return Image.width(); }
    int Height() const override { return Image.height(); }
    TPixelFormat PixelFormat() const override { return pf24bit; }
    const uint32_t* ScanLine(int y, uint32_t*) const override {
        return reinterpret_cast<const uint32_t*>(Image.constScanLine(y));
    }
    uint64_t Identity() const override { return Id; }

private:
    QImage Image;
    uint64_t Id;
};

} // namespace tessora
