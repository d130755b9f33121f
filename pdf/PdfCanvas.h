#pragma once
// TPdfCanvas: the drawing surface of a TPdfBox. Lengths are in the box's LengthUnit from the
// top-left corner of the page, y downwards; each call becomes lines of the page's content stream.
#include "pdf/PdfPicture.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tessora {

class TPdfBox;
class TPdfImage;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Hatch styles are drawn as solid.
enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

// Colours are 0x00BBGGRR; a value with the high byte 0xFF is a system colour (low byte: index),
// resolved through TPdfBox::ResolveSystemColor.
struct TPdfPen {
    uint32_t Color = 0x000000;
    TPenStyle Style = psSolid;
    int Width = 1; // length units
};

struct TPdfBrush {
    uint32_t Color = 0xFFFFFF;
    TBrushStyle Style = bsSolid;
};

enum class THorzAlign { Left, Right, Center };
enum class TVertAlign { Top, Bottom, Center };

// Where a proportionally fitted picture sits in its rectangle.
struct TPdfImageAlignment {
    THorzAlign Horizontal = THorzAlign::Center;
    TVertAlign Vertical = TVertAlign::Center;
};

struct TPdfPoint {
    int X = 0, Y = 0;
};

struct TPdfRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfBox& owner);
    ~TPdfCanvas();
    TPdfCanvas(const TPdfCanvas&) = delete;
    TPdfCanvas& operator=(const TPdfCanvas&) = delete;

    // The live settings; changes apply to later operations.
    TPdfPen Pen;
    TPdfBrush Brush;
    TPdfImageAlignment ImageAlignment;

    // Sets the current point; writes nothing.
    void MoveTo(int x, int y);
    // Strokes from the current point to (x, y), which becomes the current point.
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TPdfRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    // The closed polygon; at least two points.
    void Polygon(std::span<const TPdfPoint> points);
    // Places the picture in r (its natural size at 96 DPI when r is empty). A picture whose
    // Identity matches one already in the document is not encoded or written again.
    void StretchDraw(const TPdfRect& r, const TPdfPicture* picture);

    TPdfBox& Owner() const { return FOwner; }
    TPdfPoint PenPos() const { return Current; }
    // The current page's content lines.
    const std::vector<std::string>& ContentLines() const { return Lines; }
    // The pictures of the open document, in creation order.
    int PictureCount() const { return int(Pictures.size()); }
    const TPdfImage& Picture(int i) const { return *Pictures[size_t(i)]; }

    // Horizontal resolution of the measuring device: fixed, so natural sizes are the same everywhere.
    static constexpr int kDpi = 96;

private:
    friend class TPdfBox;
    friend class TPdfImage;

    // Returns false when the operation must be skipped (aborted); raises when not open.
    bool CheckOwner();
    // "B", "S", "f" or empty after adding the colour, dash and width lines.
    std::string PreparePaint(bool stroke, bool fill);
    void AddLine(std::string line) { Lines.push_back(std::move(line)); }
    void AppendColor(std::string& s, uint32_t color) const;
    void AppendX(std::string& s, double x) const;
    void AppendY(std::string& s, double y) const;
    void AppendLength(std::string& s, double v) const;
    void AppendPoint(std::string& s, int x, int y) const;
    void LineToUnchecked(int x, int y);
    void PlacePicture(TPdfRect r, const TPdfImage& image);

    // Page steps called by the owner.
    void BeginPage();
    void FinishPage();
    void Reset();

    TPdfBox& FOwner;
    std::vector<std::string> Lines;
    TPdfPoint Current;
    std::vector<std::unique_ptr<TPdfImage>> Pictures;
};

} // namespace tessora
