#include "preview3d/f3DV.h"

#include "sheetview/uSheet.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTransform>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace tessora {

// ---------------------------------------------------------------- matrices

TMatrix4 TMatrix4::Identity() {
    TMatrix4 r;
    for (int i = 0; i < 4; ++i) r.m[i][i] = 1;
    return r;
}

TMatrix4 TMatrix4::RotationX(double a) {
    TMatrix4 r = Identity();
    const double c = std::cos(a), s = std::sin(a);
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

TMatrix4 TMatrix4::RotationY(double a) {
    TMatrix4 r = Identity();
    const double c = std::cos(a), s = std::sin(a);
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

namespace {
void Normalize(double v[3]) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (l > 0)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}
void Cross(const double a[3], const double b[3], double r[3]) {
    r[0] = a[1] * b[2] - a[2] * b[1];
    r[1] = a[2] * b[0] - a[0] * b[2];
    r[2] = a[0] * b[1] - a[1] * b[0];
}
double Dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
} // namespace

TMatrix4 TMatrix4::LookAt(const double eye[3], const double at[3], const double up[3]) {
    double z[3] = {at[0] - eye[0], at[1] - eye[1], at[2] - eye[2]};
    Normalize(z);
    double x[3];
    Cross(up, z, x);
    Normalize(x);
    double y[3];
    Cross(z, x, y);
    TMatrix4 r = Identity();
    for (int i = 0; i < 3; ++i) {
        r.m[i][0] = x[i];
        r.m[i][1] = y[i];
        r.m[i][2] = z[i];
    }
    r.m[3][0] = -Dot(x, eye);
    r.m[3][1] = -Dot(y, eye);
    r.m[3][2] = -Dot(z, eye);
    return r;
}

TMatrix4 TMatrix4::operator*(const TMatrix4& b) const {
    TMatrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double s = 0;
            for (int k = 0; k < 4; ++k) s += m[i][k] * b.m[k][j];
            r.m[i][j] = s;
        }
    return r;
}

void TMatrix4::Transform(const double in[4], double out[4]) const {
    for (int j = 0; j < 4; ++j) {
        double s = 0;
        for (int k = 0; k < 4; ++k) s += in[k] * m[k][j];
        out[j] = s;
    }
}

// ---------------------------------------------------------------- surface

TBoxView::TBoxView(Tfrm3DV& owner, QWidget* parent) : QWidget(parent), Owner(owner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TBoxView::Invalidate() {
    Dirty = true;
    update();
}

void TBoxView::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const QSize px = (QSizeF(size()) * dpr).toSize();
    if (px.isEmpty()) return; // nothing to draw on: the frame is skipped
    if (Dirty || Frame.size() != px) {
        Frame = Owner.RenderFrameImage(px);
        Frame.setDevicePixelRatio(dpr);
        Dirty = false;
    }
    QPainter p(this);
    p.drawImage(0, 0, Frame);
}

// ---------------------------------------------------------------- pictures of the controls

namespace {

QPixmap BoxIcon() {
    QPixmap pm(48, 48);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 110), 1.5));
    const QPolygonF front({QPointF(6, 18), QPointF(30, 18), QPointF(30, 42), QPointF(6, 42)});
    const QPolygonF top({QPointF(6, 18), QPointF(18, 7), QPointF(42, 7), QPointF(30, 18)});
    const QPolygonF side({QPointF(30, 18), QPointF(42, 7), QPointF(42, 31), QPointF(30, 42)});
    p.setBrush(QColor(250, 226, 150));
    p.drawPolygon(front);
    p.setBrush(QColor(255, 244, 200));
    p.drawPolygon(top);
    p.setBrush(QColor(222, 186, 100));
    p.drawPolygon(side);
    return pm;
}

QPixmap CloseMark() {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(190, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(3, 3), QPointF(13, 13));
    p.drawLine(QPointF(13, 3), QPointF(3, 13));
    return pm;
}

// An arrow pointing at angle degrees (0 = right, 90 = up).
QIcon Arrow(double degrees) {
    QPixmap pm(28, 28);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(14, 14);
    p.rotate(-degrees);
    QPainterPath a;
    a.moveTo(12, 0);
    a.lineTo(1, -10);
    a.lineTo(1, -4);
    a.lineTo(-11, -4);
    a.lineTo(-11, 4);
    a.lineTo(1, 4);
    a.lineTo(1, 10);
    a.closeSubpath();
    p.setPen(QPen(QColor(30, 50, 100), 1));
    p.setBrush(QColor(70, 110, 190));
    p.drawPath(a);
    return QIcon(pm);
}

QPushButton* MakeButton(QWidget* parent, const QRect& r, const QString& text = QString()) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(r);
    // The window keeps the keyboard so Escape and Alt+Enter always reach it.
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

bool Usable(double v) { return std::isfinite(v) && v > 0; }

} // namespace

// ---------------------------------------------------------------- the window

Tfrm3DV* Tfrm3DV::TheInstance = nullptr;
const std::array<QString, 6> Tfrm3DV::FaceNames = {"Back", "Bottom", "Left", "Top", "Front", "Right"};
const QColor Tfrm3DV::BackColor(210, 221, 251);
const QRect Tfrm3DV::SurfaceRect(1, 49, 401, 305);

Tfrm3DV::Tfrm3DV(TSheet& sheet, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), Sheet(&sheet) {
    TheInstance = this;
    setWindowTitle("3-D Preview");
    setFixedSize(454, 408);
    setFocusPolicy(Qt::StrongFocus);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, BackColor);
    setPalette(pal);
    setAutoFillBackground(true);
    for (size_t i = 0; i < lstFaces.size(); ++i) lstFaces[i].Name = FaceNames[i];

    Image1 = new QLabel(this);
    Image1->setGeometry(3, 2, 48, 48);
    Image1->setPixmap(BoxIcon());
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label1 = new QLabel("3-D Preview", this);
    QFont f("Arial");
    f.setPixelSize(16);
    f.setBold(true);
    Label1->setFont(f);
    Label1->move(56, 16);
    Label1->adjustSize();
    Label1->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The trailing blanks leave room for the mark on the button's right.
    btnClose = MakeButton(this, QRect(344, 4, 103, 35), "Close     ");
    auto* mark = new QLabel(btnClose);
    mark->setPixmap(CloseMark());
    mark->setGeometry(103 - 16 - 14, (35 - 16) / 2, 16, 16);
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    connect(btnClose, &QPushButton::clicked, this, &Tfrm3DV::btnCloseClick);

    dxd = new TBoxView(*this, this);

    // The arrows show which way the near side moves while the button is held.
    btnX1 = MakeButton(this, QRect(408, 264, 42, 42));
    btnX2 = MakeButton(this, QRect(408, 312, 42, 42));
    btnY1 = MakeButton(this, QRect(359, 359, 42, 41));
    btnY2 = MakeButton(this, QRect(314, 359, 42, 41));
    const struct {
        QPushButton* Button;
        int Dir;
        bool AxisX;
        double Arrow;
        const char* Tip;
    } rotors[] = {{btnX1, +1, true, 90, "Turn up"},
                  {btnX2, -1, true, 270, "Turn down"},
                  {btnY1, +1, false, 180, "Turn left"},
                  {btnY2, -1, false, 0, "Turn right"}};
    for (const auto& r : rotors) {
        r.Button->setIcon(Arrow(r.Arrow));
        r.Button->setIconSize(QSize(28, 28));
        r.Button->setToolTip(r.Tip);
        const int dir = r.Dir;
        const bool axisX = r.AxisX;
        connect(r.Button, &QPushButton::pressed, this, [this, dir, axisX] { RotateDown(dir, axisX); });
        connect(r.Button, &QPushButton::released, this, &Tfrm3DV::RotateUp);
    }

    btnRefresh = MakeButton(this, QRect(192, 359, 97, 41), "Refresh");
    connect(btnRefresh, &QPushButton::clicked, this, &Tfrm3DV::btnRefreshClick);

    tmr = new QTimer(this);
    tmr->setInterval(FrameInterval);
    connect(tmr, &QTimer::timeout, this, &Tfrm3DV::tmrTimer);
    AppActive = QGuiApplication::applicationState() == Qt::ApplicationActive;
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &Tfrm3DV::ApplicationStateChanged);

    PlaceSurface();
}

Tfrm3DV::~Tfrm3DV() {
    if (TheInstance == this) TheInstance = nullptr;
}

Tfrm3DV* Tfrm3DV::Open(TSheet& sheet, int label, QWidget* parent) {
    Tfrm3DV* f = TheInstance;
    const bool fresh = f == nullptr;
    if (fresh) f = new Tfrm3DV(sheet, parent);
    f->Sheet = &sheet;
    f->TimerEnabled = true; // a closed preview that is opened again runs again
    f->Refresh(label);
    if (fresh) {
        QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
        if (screen) f->move(screen->availableGeometry().topLeft());
    }
    f->show();
    f->raise();
    f->activateWindow();
    f->UpdateTimer();
    return f;
}

bool Tfrm3DV::DestroyIfClosed() {
    if (!TheInstance || !TheInstance->FrameTimerStopped()) return false;
    delete TheInstance;
    return true;
}

void Tfrm3DV::SetBoxSize(double width, double height, double depth) {
    const double e[3] = {Usable(width) ? width : 0, Usable(height) ? height * 1.32 : 0, Usable(depth) ? depth * 2 : 0};
    const double largest = std::max({e[0], e[1], e[2]});
    // A box without any size has no extent rather than a division by zero.
    for (int i = 0; i < 3; ++i) BoxSize[size_t(i)] = largest > 0 ? float(e[i] / largest * 1.5) : 0.0f;
}

void Tfrm3DV::Refresh(int label) {
    Label = label;
    const TSheetHeader& h = Sheet->Header;
    SetBoxSize(h.LabelWidth, h.LabelHeight, h.BoxDepth);
    // Only a box label has six panels; anything else shows blank sides.
    const bool box = h.Shape == lsBox && label >= 0 && size_t(label) < Sheet->Labels.size() &&
                     Sheet->Label(label).Faces.size() >= 6;
    for (int p = 0; p < 6; ++p) lstFaces[size_t(p)].Picture = box ? Sheet->ExportFace(label, p) : QImage();
    InitSurface();
}

QImage Tfrm3DV::FacePicture(const QString& name) const {
    for (const auto& f : lstFaces)
        if (f.Name == name) return f.Picture;
    return QImage();
}

void Tfrm3DV::SetFacePicture(const QString& name, const QImage& picture) {
    for (auto& f : lstFaces)
        if (f.Name == name) f.Picture = picture;
}

void Tfrm3DV::InitSurface() {
    static const char* order[6] = {"Front", "Back", "Left", "Right", "Top", "Bottom"};
    for (int i = 0; i < 6; ++i) {
        const QImage pic = FacePicture(order[i]);
        QImage& t = Textures[size_t(i)];
        t = pic.isNull() ? QImage() : pic.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        std::vector<QImage>& levels = TextureLevels[size_t(i)];
        levels.clear();
        if (t.isNull()) continue;
        levels.push_back(t);
        while (levels.back().width() >= 16 && levels.back().height() >= 16) {
            const QImage& l = levels.back();
            levels.push_back(l.scaled(l.width() / 2, l.height() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        }
    }
    BuildBox();
    dxd->Invalidate();
}

void Tfrm3DV::FinalizeSurface() {
    for (auto& t : Textures) t = QImage();
    for (auto& l : TextureLevels) l.clear();
}

void Tfrm3DV::BuildBox() {
    const float w = BoxSize[0], h = BoxSize[1], d = BoxSize[2];
    // A flat box has sides without area; their coordinates stay finite.
    auto ratio = [](float a, float b) { return b > 0 ? a / b : 0.0f; };
    struct TSideDef {
        float N[3];
        float C[4][3]; // bottom-left, bottom-right, top-right, top-left as seen from outside
    };
    const TSideDef sides[6] = {
        {{0, 0, -1}, {{-w, -h, 0}, {w, -h, 0}, {w, h, 0}, {-w, h, 0}}}, // front
        {{0, 0, 1}, {{w, -h, d}, {-w, -h, d}, {-w, h, d}, {w, h, d}}},  // back
        {{-1, 0, 0}, {{-w, -h, d}, {-w, -h, 0}, {-w, h, 0}, {-w, h, d}}}, // left
        {{1, 0, 0}, {{w, -h, 0}, {w, -h, d}, {w, h, d}, {w, h, 0}}},    // right
        {{0, 1, 0}, {{-w, h, 0}, {w, h, 0}, {w, h, d}, {-w, h, d}}},    // top
        {{0, -1, 0}, {{w, -h, 0}, {-w, -h, 0}, {-w, -h, d}, {w, -h, d}}}, // bottom
    };
    // Each picture upright as seen from outside.
    auto uv = [&](int side, float x, float y, float z, float& u, float& v) {
        switch (side) {
        case bsFront: u = ratio(x + w, 2 * w), v = ratio(h - y, 2 * h); break;
        case bsBack: u = ratio(w - x, 2 * w), v = ratio(h - y, 2 * h); break;
        case bsLeft: u = ratio(d - z, d), v = ratio(h - y, 2 * h); break;
        case bsRight: u = ratio(z, d), v = ratio(h - y, 2 * h); break;
        case bsTop: u = ratio(x + w, 2 * w), v = ratio(d - z, d); break;
        default: u = ratio(w - x, 2 * w), v = ratio(d - z, d); break;
        }
    };
    static const int strip[6] = {0, 1, 2, 2, 3, 0};
    for (int s = 0; s < 6; ++s)
        for (int k = 0; k < 6; ++k) {
            const float* c = sides[s].C[strip[k]];
            TBoxVertex& v = Vertices[size_t(s * 6 + k)];
            v = {c[0], c[1], c[2], sides[s].N[0], sides[s].N[1], sides[s].N[2], 0, 0};
            uv(s, c[0], c[1], c[2], v.U, v.V);
        }
}

TMatrix4 Tfrm3DV::WorldMatrix() const { return TMatrix4::RotationX(AngleX) * TMatrix4::RotationY(AngleY); }

TMatrix4 Tfrm3DV::ViewMatrix() const {
    static const double eye[3] = {0, 0, -5}, at[3] = {0, 0, 0}, up[3] = {0, 1, 0};
    return TMatrix4::LookAt(eye, at, up);
}

TMatrix4 Tfrm3DV::ProjectionMatrix() const {
    // x' = 2x, y' = 2y, z' = z - 1, w' = z: near plane at z = 1, no far plane.
    TMatrix4 r;
    r.m[0][0] = 2;
    r.m[1][1] = 2;
    r.m[2][2] = 1;
    r.m[2][3] = 1;
    r.m[3][2] = -1;
    return r;
}

void Tfrm3DV::PaintScene(QPainter& p, QSize size) const {
    p.fillRect(QRect(QPoint(0, 0), size), BackColor);
    const TMatrix4 wv = WorldMatrix() * ViewMatrix();
    const TMatrix4 proj = ProjectionMatrix();
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    static const int corners[4] = {0, 1, 2, 4}; // BL, BR, TR, TL of the strip
    for (int s = 0; s < 6; ++s) {
        const TBoxVertex* v = &Vertices[size_t(s * 6)];
        double cam[4][4];
        bool inFront = true;
        for (int i = 0; i < 4; ++i) {
            const TBoxVertex& c = v[corners[i]];
            const double in[4] = {c.X, c.Y, c.Z, 1};
            wv.Transform(in, cam[i]);
            if (cam[i][2] <= 1e-6) inFront = false;
        }
        if (!inFront) continue;
        const double nin[4] = {v[0].NX, v[0].NY, v[0].NZ, 0};
        double n[4];
        wv.Transform(nin, n);
        // The eye sits at the camera's origin: a side is seen when it faces it. On a
        // convex box the sides seen never overlap, so no depth test is needed.
        if (-(n[0] * cam[0][0] + n[1] * cam[0][1] + n[2] * cam[0][2]) <= 1e-9) continue;
        QPolygonF dst;
        for (int i = 0; i < 4; ++i) {
            double clip[4];
            proj.Transform(cam[i], clip);
            const double nx = clip[0] / clip[3], ny = clip[1] / clip[3];
            dst << QPointF((nx + 1) * 0.5 * size.width(), (1 - ny) * 0.5 * size.height());
        }
        const std::vector<QImage>& levels = TextureLevels[size_t(s)];
        if (levels.empty()) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::white);
            p.drawPolygon(dst);
            continue;
        }
        // The level with about as many texels as the side has pixels, never fewer.
        auto length = [&](int a, int b) { return std::hypot(dst[a].x() - dst[b].x(), dst[a].y() - dst[b].y()); };
        const double across = std::max(length(0, 1), length(3, 2)), down = std::max(length(0, 3), length(1, 2));
        const QImage& full = levels.front();
        // u runs along the bottom edge of every side, v up its left edge.
        const double ratio = std::min(full.width() / std::max(1.0, across), full.height() / std::max(1.0, down));
        const size_t level = ratio >= 2 ? std::min(levels.size() - 1, size_t(std::floor(std::log2(ratio)))) : 0;
        const QImage& tex = levels[level];
        QPolygonF src;
        for (int i = 0; i < 4; ++i) {
            const TBoxVertex& c = v[corners[i]];
            src << QPointF(double(c.U) * tex.width(), double(c.V) * tex.height());
        }
        QTransform t;
        if (!QTransform::quadToQuad(src, dst, t)) continue; // a side seen edge-on
        p.setTransform(t);
        p.drawImage(0, 0, tex);
        p.resetTransform();
    }
}

QImage Tfrm3DV::RenderFrameImage(QSize size) const {
    if (size.isEmpty()) return QImage();
    // Sides are filled without antialiasing so neighbours meet without a seam; drawing
    // at twice the size and halving it smooths the outline. Large surfaces (full
    // screen) are drawn once, to keep frames quick.
    const int k = qint64(size.width()) * size.height() <= 1024 * 768 ? 2 : 1;
    QImage big(size * k, QImage::Format_RGB32);
    {
        QPainter p(&big);
        PaintScene(p, big.size());
    }
    return k == 1 ? big : big.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void Tfrm3DV::RenderFrame(QPainter& p, QSize size) const { p.drawImage(0, 0, RenderFrameImage(size)); }

void Tfrm3DV::tmrTimer() {
    if (SpinDir != 0) {
        (SpinAxisX ? AngleX : AngleY) += SpinDir * SpinStep;
        dxd->Invalidate();
    }
}

void Tfrm3DV::RotateDown(int dir, bool axisX) {
    SpinDir = dir;
    SpinAxisX = axisX;
}

void Tfrm3DV::RotateUp() { SpinDir = 0; }

void Tfrm3DV::btnCloseClick() { close(); }

void Tfrm3DV::btnRefreshClick() {
    if (OnRefresh)
        OnRefresh();
    else
        Refresh();
}

bool Tfrm3DV::FrameTimerRunning() const { return tmr->isActive(); }

void Tfrm3DV::ApplicationStateChanged(Qt::ApplicationState state) {
    AppActive = state == Qt::ApplicationActive;
    UpdateTimer();
}

void Tfrm3DV::UpdateTimer() {
    if (TimerEnabled && AppActive && isVisible()) {
        if (!tmr->isActive()) tmr->start();
    } else {
        tmr->stop();
    }
}

void Tfrm3DV::PlaceSurface() {
    if (FullScreen) {
        dxd->setGeometry(rect());
        dxd->raise();
    } else {
        dxd->setGeometry(SurfaceRect);
    }
}

void Tfrm3DV::ToggleFullScreen() {
    FinalizeSurface();
    if (FullScreen) {
        FullScreen = false;
        unsetCursor();
        setWindowFlags(windowFlags() & ~Qt::FramelessWindowHint); // a plain border from now on
        setFixedSize(WindowPlace.size());
        showNormal();
        setGeometry(WindowPlace);
    } else {
        WindowPlace = geometry();
        setCursor(Qt::BlankCursor);
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
        FullScreen = true;
        showFullScreen();
    }
    PlaceSurface();
    InitSurface();
    activateWindow();
    setFocus();
}

void Tfrm3DV::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::AltModifier)) {
        ToggleFullScreen();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Tfrm3DV::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || FullScreen) return QWidget::mousePressEvent(e);
    // The window manager moves the window when it can; otherwise we follow the pointer.
    if (QWindow* w = windowHandle(); w && w->startSystemMove()) return;
    Dragging = true;
    DragOffset = e->globalPosition().toPoint() - pos();
}

void Tfrm3DV::mouseMoveEvent(QMouseEvent* e) {
    if (Dragging && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - DragOffset);
}

void Tfrm3DV::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) Dragging = false;
}

void Tfrm3DV::closeEvent(QCloseEvent* e) {
    TimerEnabled = false;
    SpinDir = 0;
    Dragging = false;
    UpdateTimer();
    e->accept();
}

void Tfrm3DV::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    UpdateTimer();
}

void Tfrm3DV::hideEvent(QHideEvent* e) {
    QWidget::hideEvent(e);
    UpdateTimer();
}

void Tfrm3DV::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    PlaceSurface();
}

} // namespace tessora
