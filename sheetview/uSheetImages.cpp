// Images of a face: fitted once and reused, then flipped, rotated, filtered, faded and placed.
#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "platform/uImageOps.h"

#include <QPainter>

namespace tessora {

void TSheet::DrawImages(QImage& B, TLabelFace& f, QColor c, bool force, bool selected) {
    const bool vector = Header.Shape == lsVector || Header.Shape == lsMakerVector;
    if (f.Images.empty()) {
        if (vector && !VectorFace.isNull()) {
            QPainter p(&B);
            p.drawImage(0, 0, VectorFace);
        }
        return;
    }
    const int W = B.width(), H = B.height();
    QImage C(W, H, QImage::Format_RGB32);
    if (vector && !VectorFace.isNull()) {
        C.fill(Qt::white);
        QPainter p(&C);
        p.drawImage(0, 0, VectorFace);
    } else {
        C.fill(c);
    }
    QPainter p(&C);
    for (int i = int(f.Images.size()) - 1; i >= 0; --i) {
        TLabelImage& im = *f.Images[size_t(i)];
        TLabelBG* e = ImageCacheEntry(im);
        if (!e || e->Picture.isNull()) continue;
        // The fitted copy is shared by every image of the picture: it is made again only when
        // this image needs another size or target, and once per pass of a forced drawing.
        const QSize fit = FittedSize(e->Picture.size(), QSize(W, H), im.Scale);
        const bool stale = (force && e->ScaledPass != PassId) || e->Scaled.size() != fit ||
                           e->ScaledTarget != int(Target);
        if (stale) {
            e->Scaled = fit.isEmpty() ? QImage() : ResampleLanczos3(e->Picture, fit.width(), fit.height());
            e->ScaledTarget = int(Target);
            e->ScaledPass = PassId;
        }
        if (e->Scaled.isNull()) continue;
        QImage work = e->Scaled;
        im.PixWidth = work.width();
        im.PixHeight = work.height();
        ApplyFlip(work, im.Flip);
        if (im.Angle != 0) work = CutToMiddle(RotateSmooth(work, im.Angle, c), W, H);
        if (work.isNull()) continue;
        ApplyFilters(work, im.Filters);
        ApplyFade(work, im.Fade);
        const int w = work.width(), h = work.height();
        const int x = TLabelImage::AlignedOffset(im.AlignH, MmToPxX(im.X), W, w);
        const int y = TLabelImage::AlignedOffset(im.AlignV, MmToPxY(im.Y), H, h);
        if (im.AlignH != 0) im.X = x / ScaleX();
        if (im.AlignV != 0) im.Y = y / ScaleY();
        p.drawImage(x, y, work);
        if (selected && i == SelIndex) SelectionMark(p, QRect(QPoint(x - 2, y - 2), QPoint(x + w + 2, y + h + 2)));
    }
    p.end();
    QPainter pb(&B);
    pb.setCompositionMode(QPainter::CompositionMode_Source);
    pb.drawImage(0, 0, C);
}

} // namespace tessora
