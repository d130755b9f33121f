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
#include <functional>

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

    // ---- selection, hit tests and undo (uSheetSelect.cpp); points are view pixels
    static constexpr size_t UndoDepth = 10;
    // The frames the view shows: 4 pixels outside the selected label and, on box
    // sheets, outside its selected panel.
    QRect SelectFrame, FaceFrame;
    bool SelectFrameVisible = false, FaceFrameVisible = false;
    // Called when the view should show the layer and the frames again.
    std::function<void()> OnRepaint;
    void RepaintView() override;

    // A label is selected and its frame shown.
    bool HasSelection() const;
    // The label whose rectangle holds p (edges included), or -1.
    int LabelAtPoint(QPoint p) const;
    // The panel of the selected label holding p (box sheets), 0 inside a one-face label, or -1.
    int FaceAtPoint(QPoint p) const;
    // Where the selected face is drawn in the view, and its size.
    QPoint FaceOrigin() const;
    QSize FaceExtent() const;
    // Hit tests of the selected face's objects; they set SelKind and SelIndex (to
    // fallback when nothing is hit) and return the hit index or -1.
    int TextAtPoint(QPoint p, int fallback);
    int ImageAtPoint(QPoint p, int fallback);
    // Updates HotLabel from the point; true when it changed. Does nothing without labels.
    bool HoverAt(QPoint p);
    // HotLabel becomes the selected label with face 0; without one the frames are hidden.
    void SelectHotLabel();
    // Selects the panel under p; true when CurFace changed.
    bool SelectFaceAtPoint(QPoint p);
    void PlaceSelectionFrames();
    void HideSelectionFrames();
    // For closing a project: frames hidden, no hot or selected label, no undo steps.
    void CloseSelection();
    // Pushes an undo step with the selected label (single) or every label.
    void Record(bool single);
    // Pushes an undo step with these labels.
    void RecordLabels(std::vector<int> labels);
    // Apply the newest step, record its counter-step on the other list; true while
    // the list taken from still has steps.
    bool Undo();
    bool Redo();
    void ClearUndo() { UndoList.clear(); }
    void ClearRedo() { RedoList.clear(); }

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
