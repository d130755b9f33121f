#pragma once
// Tfrm3DV: the selected box label folded into a box the user can turn. The box is
// drawn with QPainter projective transforms, so it needs no 3D device and renders
// headless (RenderFrameImage).
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QLabel;
class QPainter;
class QPushButton;
class QTimer;

namespace tessora {

class TSheet;

// 4 x 4 matrix in the row-vector convention: a point p becomes p * M.
struct TMatrix4 {
    double m[4][4] = {};

    static TMatrix4 Identity();
    static TMatrix4 RotationX(double angle);
    static TMatrix4 RotationY(double angle);
    // Left-handed look-at: x to the right, y up, z into the screen.
    static TMatrix4 LookAt(const double eye[3], const double at[3], const double up[3]);
    TMatrix4 operator*(const TMatrix4& b) const;
    // (x, y, z, w) * M.
    void Transform(const double in[4], double out[4]) const;
};

// One corner of a side: position, outward normal, texture coordinate.
struct TBoxVertex {
    float X, Y, Z;
    float NX, NY, NZ;
    float U, V;
};
static_assert(sizeof(TBoxVertex) == 32);

// The sides in drawing order; each has six vertices in the vertex list.
enum TBoxSide { bsFront, bsBack, bsLeft, bsRight, bsTop, bsBottom };

class Tfrm3DV;

// The drawing surface: paints the frames of its window.
class TBoxView : public QWidget {
public:
    explicit TBoxView(Tfrm3DV& owner, QWidget* parent);
    // The frame shown last (empty before the first paint).
    const QImage& LastFrame() const { return Frame; }
    void Invalidate();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    Tfrm3DV& Owner;
    QImage Frame;
    bool Dirty = true;
};

class Tfrm3DV : public QWidget {
    Q_OBJECT
public:
    // The picture names of lstFaces; picture i is panel i of the box net.
    static const std::array<QString, 6> FaceNames;
    static constexpr double SpinStep = 0.05; // radians per frame while a button is held
    static constexpr int FrameInterval = 16; // ms: about 60 frames a second at most

    // Opens the preview of a box label: the one preview when it exists (shown again,
    // refreshed with this label), otherwise a new one at the screen's top-left corner.
    // The sheet must outlive the preview: pass the window that owns it as parent.
    static Tfrm3DV* Open(TSheet& sheet, int label, QWidget* parent = nullptr);
    // The preview that exists, closed or not, or nullptr. Only one exists at a time.
    static Tfrm3DV* Instance() { return TheInstance; }
    // For the owner's watchdog: destroys the preview once its frame timer has been
    // stopped; true when it did.
    static bool DestroyIfClosed();
    ~Tfrm3DV() override;

    // Width, height and depth in millimetres; see BoxSize.
    void SetBoxSize(double width, double height, double depth);
    // Sizes the box after the sheet, exports the six panels of the label again and
    // rebuilds textures and vertices; the angles stay.
    void Refresh(int label);
    void Refresh() { Refresh(Label); }
    // Called by "Refresh" instead of Refresh() when set (the main window's refresh).
    std::function<void()> OnRefresh;
    // "Close", Escape or closing the window stopped the frame timer: the owner may
    // destroy the window now.
    bool FrameTimerStopped() const { return !TimerEnabled; }
    bool FrameTimerRunning() const;
    int LabelIndex() const { return Label; }

    // One tick of the frame timer: shows the current frame and turns the box when a
    // rotate button is held.
    void tmrTimer();
    // Draws what the surface shows at this size.
    void RenderFrame(QPainter& p, QSize size) const;
    QImage RenderFrameImage(QSize size) const;

    // Matrices of a frame.
    TMatrix4 WorldMatrix() const;
    TMatrix4 ViewMatrix() const;
    TMatrix4 ProjectionMatrix() const;

    // A picture of lstFaces by name; a null image for an unknown name.
    QImage FacePicture(const QString& name) const;
    void SetFacePicture(const QString& name, const QImage& picture);
    // Makes the textures from the pictures and prepares the scene; called after the
    // pictures change and after switching between window and full screen.
    void InitSurface();
    void FinalizeSurface();
    bool IsFullScreen3D() const { return FullScreen; }
    void ToggleFullScreen();

    // State: half width, half height and depth in scene units; angles in radians.
    std::array<float, 3> BoxSize = {0, 0, 0};
    double AngleX = 0, AngleY = 0;
    int SpinDir = 0;
    bool SpinAxisX = true;
    std::array<QImage, 6> Textures; // Front, Back, Left, Right, Top, Bottom
    // Each texture halved again and again: a side far smaller on screen than its
    // picture is drawn from the level nearest its size, so fine print does not shimmer.
    std::array<std::vector<QImage>, 6> TextureLevels;
    std::array<TBoxVertex, 36> Vertices{};

    // Controls.
    QLabel* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* btnClose = nullptr;
    TBoxView* dxd = nullptr;
    QPushButton* btnX1 = nullptr;
    QPushButton* btnX2 = nullptr;
    QPushButton* btnY1 = nullptr;
    QPushButton* btnY2 = nullptr;
    QPushButton* btnRefresh = nullptr;
    QTimer* tmr = nullptr;

    static const QColor BackColor;
    static const QRect SurfaceRect; // the surface in the window

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    Tfrm3DV(TSheet& sheet, QWidget* parent);
    void BuildBox();
    void btnCloseClick();
    void btnRefreshClick();
    void RotateDown(int dir, bool axisX);
    void RotateUp();
    void ApplicationStateChanged(Qt::ApplicationState state);
    void UpdateTimer();
    void PlaceSurface();
    void PaintScene(QPainter& p, QSize size) const;

    static Tfrm3DV* TheInstance;
    TSheet* Sheet;
    int Label = 0;
    struct TFacePicture {
        QString Name;
        QImage Picture;
    };
    std::array<TFacePicture, 6> lstFaces;
    bool TimerEnabled = true; // off once the window is closed
    bool AppActive = false;
    bool FullScreen = false;
    QRect WindowPlace; // place and size before full screen
    bool Dragging = false;
    QPoint DragOffset;
};

} // namespace tessora
