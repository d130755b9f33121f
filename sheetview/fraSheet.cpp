#include "sheetview/fraSheet.h"

#include "document/uCommon.h"
#include "platform/uColor.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace tessora {

// ---- TSheetImage

TSheetImage::TSheetImage(TfrSheet* frame, QWidget* parent) : QWidget(parent), Frame(frame) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TSheetImage::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QImage& layer = Frame->Sheet.SheetLayer;
    if (layer.width() < width() || layer.height() < height())
        p.fillRect(rect(), ToQColor(Frame->Sheet.Gui.BgColor));
    p.drawImage(0, 0, layer);
}

void TSheetImage::mousePressEvent(QMouseEvent* e) {
    if (Frame->InterceptPress(e->globalPosition().toPoint())) return;
    Q_EMIT Frame->imgMainMouseDown(e->button(), e->modifiers(), e->position().toPoint());
}

void TSheetImage::mouseMoveEvent(QMouseEvent* e) {
    if (Frame->InterceptMove()) return;
    Q_EMIT Frame->imgMainMouseMove(e->buttons(), e->modifiers(), e->position().toPoint());
}

void TSheetImage::mouseReleaseEvent(QMouseEvent* e) {
    if (Frame->InterceptRelease()) return;
    Q_EMIT Frame->imgMainMouseUp(e->button(), e->modifiers(), e->position().toPoint());
}

void TSheetImage::mouseDoubleClickEvent(QMouseEvent* e) {
    if (Frame->InterceptPress(e->globalPosition().toPoint())) return;
    Q_EMIT Frame->imgMainDblClick(e->button(), e->modifiers(), e->position().toPoint());
}

// ---- TSelectShape

TSelectShape::TSelectShape(TfrSheet* frame, QWidget* parent, QColor pen, bool takesMouse)
    : QWidget(parent), PenColor(pen), Frame(frame) {
    if (takesMouse) {
        setMouseTracking(true);
        setCursor(Qt::PointingHandCursor);
    } else {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    hide();
}

void TSelectShape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(QPen(PenColor, 1, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// The shape sits on the view image, so its points become view pixels by its position.
void TSelectShape::mousePressEvent(QMouseEvent* e) {
    if (Frame->InterceptPress(e->globalPosition().toPoint())) return;
    if (e->button() == Qt::LeftButton) Frame->PathPress(pos() + e->position().toPoint());
    Q_EMIT Frame->SelectShapeMouseDown(e->button(), e->modifiers(), pos() + e->position().toPoint());
}

void TSelectShape::mouseMoveEvent(QMouseEvent* e) {
    if (Frame->InterceptMove()) return;
    Q_EMIT Frame->SelectShapeMouseMove(e->buttons(), e->modifiers(), pos() + e->position().toPoint());
}

void TSelectShape::mouseReleaseEvent(QMouseEvent* e) {
    if (Frame->InterceptRelease()) return;
    Q_EMIT Frame->SelectShapeMouseUp(e->button(), e->modifiers(), pos() + e->position().toPoint());
}

void TSelectShape::mouseDoubleClickEvent(QMouseEvent* e) {
    if (Frame->InterceptPress(e->globalPosition().toPoint())) return;
    Q_EMIT Frame->SelectShapeDblClick(e->button(), e->modifiers(), pos() + e->position().toPoint());
}

// ---- TfrSheet

TfrSheet::TfrSheet(QWidget* parent) : QWidget(parent) {
    pnlSheet = new QFrame(this);
    pnlSheet->setFrameStyle(QFrame::Box | QFrame::Plain);
    pnlSheet->setLineWidth(1);
    pnlSheet->setAutoFillBackground(true);
    imgMain = new TSheetImage(this, pnlSheet);
    SelectShape = new TSelectShape(this, imgMain, QColor(255, 0, 0), true);
    FaceShape = new TSelectShape(this, imgMain, QColor(0, 0, 255), false);

    btnClose = new QPushButton(QStringLiteral("Zoom Out  "), imgMain);
    btn3D = new QPushButton(QStringLiteral("3DPreview  "), imgMain);
    const int bw = std::max(btnClose->sizeHint().width(), btn3D->sizeHint().width());
    const int bh = std::max(btnClose->sizeHint().height(), btn3D->sizeHint().height());
    for (QPushButton* b : {btnClose, btn3D}) {
        b->setFixedSize(bw, bh);
        b->setCursor(Qt::ArrowCursor);
        b->hide();
    }
    connect(btnClose, &QPushButton::clicked, this, &TfrSheet::btnCloseClicked);
    connect(btn3D, &QPushButton::clicked, this, &TfrSheet::btn3DClicked);

    Sheet.OnRepaint = [this] { Changed(); };
    ApplyColors();
    PlaceChildren();
}

TfrSheet::~TfrSheet() { Sheet.OnRepaint = nullptr; }

void TfrSheet::ApplyColors() {
    QPalette pal = pnlSheet->palette();
    pal.setColor(QPalette::Window, ToQColor(Sheet.Gui.BgColor));
    pnlSheet->setPalette(pal);
    imgMain->update();
}

bool TfrSheet::InterceptPress(QPoint global) {
    PressTaken = PressInterceptor && PressInterceptor(global);
    return PressTaken;
}

bool TfrSheet::InterceptMove() const { return InterceptActive && InterceptActive(); }

bool TfrSheet::InterceptRelease() {
    const bool taken = PressTaken;
    PressTaken = false;
    return taken;
}

QRect TfrSheet::ImageRect() const { return imgMain->geometry().translated(pnlSheet->pos()); }

void TfrSheet::PlaceChildren() {
    pnlSheet->setGeometry(rect());
    imgMain->setGeometry(pnlSheet->contentsRect());
    PlaceButtons();
}

void TfrSheet::PlaceButtons() {
    const int w = imgMain->width();
    btnClose->move(w - btnClose->width(), 0);
    btn3D->move(w - 2 * btnClose->width() - 5, 0);
    btnClose->setVisible(Sheet.Zoomed);
    btn3D->setVisible(Sheet.Zoomed && Sheet.Header.Shape == lsBox);
    btnClose->raise();
    btn3D->raise();
}

void TfrSheet::resizeEvent(QResizeEvent*) { PlaceChildren(); }

void TfrSheet::LayOut() {
    if (QWidget* p = parentWidget()) LayOut(p->contentsRect().size());
}

void TfrSheet::LayOut(QSize parent) {
    const int pw = std::max(1, parent.width()), ph = std::max(1, parent.height());
    const double vw = Sheet.ViewWidth, vh = Sheet.ViewHeight;
    int w, h;
    if (vh / ph > vw / pw) {
        h = ph - 20;
        w = RoundHalfEven(h * vw / vh);
    } else {
        w = pw - 40;
        h = RoundHalfEven(w * vh / vw);
    }
    // Room for the border and at least one pixel of view in a tiny parent.
    w = std::max(w, 3);
    h = std::max(h, 3);
    setGeometry(RoundHalfEven((pw - w) / 2.0), RoundHalfEven((ph - h) / 2.0), w, h);
    PlaceChildren();
    Sheet.SetViewSize(imgMain->size());
    if (Sheet.SelectFrameVisible) Sheet.PlaceSelectionFrames();
    Changed();
}

void TfrSheet::SetZoom(bool value) {
    if (value == Sheet.Zoomed) return;
    if (value && (Sheet.CurLabel < 0 || size_t(Sheet.CurLabel) >= Sheet.Labels.size())) return;
    Sheet.SetZoom(value);
    LayOut();
    if (!value) SelectShape->setCursor(PathOn ? PathCursor : QCursor(Qt::PointingHandCursor));
}

void TfrSheet::SetPathMode(bool on) {
    PathOn = on;
    SelectShape->setCursor(on ? PathCursor : QCursor(Qt::PointingHandCursor));
}

void TfrSheet::PathPress(QPoint viewPx) {
    if (!PathOn || !OnPathPoint || Sheet.CurLabel < 0 || size_t(Sheet.CurLabel) >= Sheet.Labels.size()) return;
    // The frame reaches 4 pixels beyond the label; only the label itself takes points.
    if (!Sheet.LabelRect(Sheet.CurLabel).contains(viewPx)) return;
    const QPoint o = Sheet.FaceOrigin();
    OnPathPoint(Sheet.PxToMmX(viewPx.x() - o.x()), Sheet.PxToMmY(viewPx.y() - o.y()));
}

void TfrSheet::SyncFrames() {
    SelectShape->setGeometry(Sheet.SelectFrame);
    SelectShape->Tag = Sheet.CurLabel;
    SelectShape->setVisible(Sheet.SelectFrameVisible);
    FaceShape->setGeometry(Sheet.FaceFrame);
    FaceShape->setVisible(Sheet.FaceFrameVisible);
    FaceShape->raise();
    btnClose->raise();
    btn3D->raise();
}

void TfrSheet::Changed() {
    SyncFrames();
    imgMain->update();
}

} // namespace tessora
