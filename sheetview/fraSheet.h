#pragma once
// TfrSheet: the widget that shows a TSheet. It owns the sheet, shows its SheetLayer with
// the selection frames over it, lays itself out in its parent and reports the mouse in
// view pixels; what a press or a drag does is up to the window that hosts it.
#include "sheetview/uSheet.h"

#include <QCursor>
#include <QFrame>
#include <QWidget>
#include <functional>

class QPushButton;

namespace tessora {

class TfrSheet;

// The view image: paints SheetLayer as it is, never redrawing labels.
class TSheetImage : public QWidget {
    Q_OBJECT
public:
    explicit TSheetImage(TfrSheet* frame, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    TfrSheet* Frame;
};

// A dashed frame over the view image: the selection rectangle (red, takes the mouse) or
// the face rectangle (blue, lets the mouse through).
class TSelectShape : public QWidget {
    Q_OBJECT
public:
    TSelectShape(TfrSheet* frame, QWidget* parent, QColor pen, bool takesMouse);
    QColor PenColor;
    int Tag = -1; // the label it frames

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    TfrSheet* Frame;
};

class TfrSheet : public QWidget {
    Q_OBJECT
public:
    explicit TfrSheet(QWidget* parent = nullptr);
    ~TfrSheet() override;

    TSheet Sheet;

    QFrame* pnlSheet = nullptr;          // the workspace-coloured panel with a one-pixel border
    TSheetImage* imgMain = nullptr;      // the view image inside it
    TSelectShape* SelectShape = nullptr; // red dashed, around the selected label
    TSelectShape* FaceShape = nullptr;   // blue dashed, around the selected panel of a box
    QPushButton* btnClose = nullptr;     // "Zoom Out  ", shown while zoomed
    QPushButton* btn3D = nullptr;        // "3DPreview  ", shown while zoomed on a box sheet

    // Fits the frame into its parent's client area keeping the view's proportions, sizes
    // the layer to the view image and draws the sheet; the frames follow the label.
    void LayOut();
    void LayOut(QSize parent);
    // Zooms in on the selected label (only when one is selected) or out, and lays out.
    void SetZoom(bool value);
    // Takes the workspace colour of the sheet's settings.
    void ApplyColors();
    // Shows the layer and the frames as the sheet has them now; call after drawing on
    // the sheet from outside.
    void Changed();

    // The view image's rectangle in this widget.
    QRect ImageRect() const;

    // A tool that borrows the mouse from the sheet (the colour picker's eyedropper).
    // PressInterceptor is asked first at every press on the view image or the selection
    // rectangle, with the global point: true takes the press and its release away from the
    // sheet. While InterceptActive says true, moves there reach nobody (no hover, no drag).
    std::function<bool(QPoint global)> PressInterceptor;
    std::function<bool()> InterceptActive;
    // Used by the view image and the frames for each event: true when it is taken.
    bool InterceptPress(QPoint global);
    bool InterceptMove() const;
    bool InterceptRelease();
    // Path drawing: while on, a left press on the selected label reports its point, in mm
    // from the top-left corner of the selected face, to OnPathPoint before the press
    // signals; the pointer over the label is PathCursor (the start-up code sets the
    // program's own one).
    std::function<void(double xMm, double yMm)> OnPathPoint;
    QCursor PathCursor{Qt::CrossCursor};
    void SetPathMode(bool on);
    bool PathMode() const { return PathOn; }

Q_SIGNALS:
    // Mouse over the view image outside the selection rectangle; pos in view pixels.
    void imgMainMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, QPoint pos);
    void imgMainMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void imgMainMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void imgMainDblClick(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    // Mouse on the selection rectangle; pos in view pixels too. A double click reports
    // SelectShapeDblClick in place of its second press.
    void SelectShapeMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, QPoint pos);
    void SelectShapeMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void SelectShapeMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void SelectShapeDblClick(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint pos);
    void btnCloseClicked();
    void btn3DClicked();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    bool PressTaken = false;
    friend class TSelectShape;
    bool PathOn = false;
    void PathPress(QPoint viewPx);
    void SyncFrames();
    void PlaceButtons();
    void PlaceChildren();
};

} // namespace tessora
