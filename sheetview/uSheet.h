#pragma once
// TSheet: the sheet document with its view state, layout and rendering. It runs
// without any window; the widget TfrSheet shows its SheetLayer.
#include "document/uSheetDocument.h"
#include "pdf/PdfBox.h"
#include "platform/uSettings.h"
#include "sheetview/uImageCache.h"
#include "sheetview/uVectorPicture.h"

#include <QColor>
#include <QImage>
#include <QPolygon>
#include <QRect>
#include <QSize>

class QPainter;
class QPainterPath;

namespace tessora {

enum TOutputTarget { otScreen, otDpi300, otPdf, otDpi200 };

// Where label bitmaps go on the PDF target: one picture per face, flaps as
// polygons, panel frames as rectangles; coordinates in tenths of a millimetre.
class TLabelOutput {
public:
    virtual ~TLabelOutput() = default;
    virtual void Picture(const QImage& bitmap, const QRect& dest) = 0;
    virtual void Flap(const QPolygon& points, uint32_t edgeColor) = 0;
    virtual void PanelFrame(const QRect& r, uint32_t color) = 0;
};

class TSheet : public TSheetDocument, public TPictureStore, public TVectorOutline {
public:
    TSheet();
    ~TSheet() override;

    // ---- picture cache and vector outline
    TImageCache ImageCache;
    TVectorPicture VectorPicture;
    QImage VectorFace, VectorMask;

    int FindOrLoad(const std::string& fileName) override;
    std::string FileNameOf(int index) const override;
    void ClearPictures() override { ImageCache.clear(); }
    bool LoadVectorPicture(const std::string& fileName) override;
    TLabelBG* ImageCacheEntry(const TLabelImage& image);

    // ---- view state
    TOutputTarget Target = otScreen;
    bool Zoomed = false;
    bool FullRedraw = true;
    bool RescalePending = false;
    int HotLabel = -1;
    uint8_t SelKind = 255;
    int SelIndex = -1;
    TGuiSettings Gui;    // workspace colour and label-space mode
    QImage SheetLayer;   // the view image
    QImage OffIcon;      // marks labels that are OFF
    TLabelOutput* PdfOut = nullptr;

    // A drawing pass (a full redraw, a PDF run) resamples every picture once; forced
    // drawings outside a pass each start one of their own.
    void BeginPass();
    void EndPass() { InPass = false; }

    // ---- conversions for the current target
    double ScaleX() const;
    double ScaleY() const;
    int MmToPxX(double mm) const;
    int MmToPxY(double mm) const;
    int PtToPx(double points) const;
    double PxToMmX(double px) const;
    double PxToMmY(double px) const;

    // ---- geometry
    double LabelPosX(int i) const;
    double LabelPosY(int i) const;
    QRect LabelRect(int i) const; // right/bottom are left + extent (exclusive)
    void LabelsToDraw(int& first, int& last) const;
    // Panel p of a box net whose top-left is (a, b); right/bottom exclusive.
    QRect BoxPanelRect(int p, int a, int b) const;
    QColor BackgroundColor() const;

    // ---- layout
    void SetZoom(bool value);
    // Fits the view into a parent of this size, keeping the paper's proportions; returns the
    // frame's rectangle in the parent and draws the sheet.
    QRect LayOut(QSize parent);
    // Gives the view image this size, rebuilds the vector outline and draws the sheet.
    void SetViewSize(QSize size);

    // ---- rendering
    void RedrawSheet(bool outlinePen, bool full);
    void DrawLabel(int label, int face, bool force, QImage* dest = nullptr);
    void DrawOutline(uint8_t shape, const QImage* face, bool shadow, int thick, uint32_t shadowColor,
                     uint32_t outlineColor, bool outlineOn, int h, int w, QPoint origin, QImage& dest) const;
    void BuildVectorMasks();
    QImage ExportFace(int label, int panel);

    // ---- PDF output
    TPdfBox PdfBox;
    // The sheet as one PDF page of its paper size; false (after the program's message) when
    // the file could not be written. show opens the finished file through the shell.
    bool WriteSheetPdf(const std::string& fileName, bool show);
    // One page per page number from first to last, serial numbers counting on; PageNum is
    // restored afterwards.
    bool WriteSheetPdfPages(const std::string& fileName, bool show, int firstPage, int lastPage);

protected:
    void RedrawOutlines() override { RedrawSheet(true, false); }
    void RedrawAll() override { RedrawSheet(true, true); }
    void RedrawLabel(int label) override { DrawLabel(label, -1, false); }

private:
    uint64_t PassId = 1;
    bool InPass = false;
    void DrawImages(QImage& face, TLabelFace& f, QColor c, bool force, bool selected);
    void DrawBoxTexts(QImage& face, TLabelFace& f, bool selected);
    void DrawBoxText(QImage& face, TLabelText& t);
    void DrawPathText(QImage& face, TLabelText& t);
    void DrawBarcode(QImage& d, TLabelFace& f, bool selected);
    void DrawSerial(QImage& d, int label);
    void DrawFlaps(QPainter& p, int panel, const QRect& r, uint32_t edge, bool antialias) const;
    QPolygon FlapPolygon(int panel, const QRect& r, bool below) const;
    std::vector<QPolygon> Flaps(int panel, const QRect& r) const;
    void DrawOffMark(int label);
    void DrawTitle();
    void MakeOffIcon();
    bool IsSelected(int label, int face) const;
    static void SelectionMark(QPainter& p, const QRect& r);
    QPainterPath OutlinePath(uint8_t shape, int h, int w, QPoint o) const;
};

} // namespace tessora
