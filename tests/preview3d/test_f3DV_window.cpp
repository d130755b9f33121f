// The preview window: its controls, refreshing, one preview at a time, the frame timer,
// keys and moving the window.
#include "tests/preview3d/uBoxFixture.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace tessora;
using namespace tessora::test;

namespace {

int PreviewWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += qobject_cast<Tfrm3DV*>(w) != nullptr;
    return n;
}

} // namespace

TEST_F(BoxPreviewTest, WindowCarriesItsControls) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->size(), QSize(454, 408));
    EXPECT_TRUE(f->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(f->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(f->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    EXPECT_EQ(f->palette().color(QPalette::Window), QColor(210, 221, 251));
    EXPECT_EQ(f->Label1->text(), "3-D Preview");
    EXPECT_TRUE(f->Label1->font().bold());
    EXPECT_EQ(f->Label1->font().pixelSize(), 16);
    EXPECT_EQ(f->btnClose->text().trimmed(), "Close");
    EXPECT_EQ(f->btnRefresh->text(), "Refresh");
    const struct {
        QWidget* W;
        QRect R;
    } places[] = {{f->Image1, QRect(3, 2, 48, 48)},      {f->btnClose, QRect(344, 4, 103, 35)},
                  {f->dxd, QRect(1, 49, 401, 305)},      {f->btnX1, QRect(408, 264, 42, 42)},
                  {f->btnX2, QRect(408, 312, 42, 42)},   {f->btnY1, QRect(359, 359, 42, 41)},
                  {f->btnY2, QRect(314, 359, 42, 41)},   {f->btnRefresh, QRect(192, 359, 97, 41)}};
    for (const auto& p : places) EXPECT_EQ(p.W->geometry(), p.R) << p.W->metaObject()->className();
    for (QPushButton* b : {f->btnX1, f->btnX2, f->btnY1, f->btnY2}) EXPECT_FALSE(b->icon().isNull());
    // The pictures are the panels of the label, panel i in picture i.
    for (int p = 0; p < 6; ++p) {
        const QImage pic = f->FacePicture(Tfrm3DV::FaceNames[size_t(p)]);
        ASSERT_FALSE(pic.isNull()) << p;
        EXPECT_LE(ColourDistance(pic.pixel(pic.width() * 3 / 4, pic.height() * 3 / 4), kPanel[p]), 2) << p;
        EXPECT_LE(ColourDistance(pic.pixel(pic.width() / 4, pic.height() / 4), kMark), 2) << p;
    }
}

TEST_F(BoxPreviewTest, RefreshShowsTheEditedPicturesAndKeepsTheAngles) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    QTest::mousePress(f->btnX1, Qt::LeftButton);
    for (int i = 0; i < 31; ++i) f->tmrTimer();
    QTest::mouseRelease(f->btnX1, Qt::LeftButton);
    const TBoxExtent b = Extent(*f);
    const QPointF bottom = Screen(PanelPoint(1, 0.75, 0.5, b), f->AngleX, f->AngleY, QSize(401, 305));
    ASSERT_LE(ColourDistance(PixelAt(f->RenderFrameImage(QSize(401, 305)), bottom), kPanel[1]), 8);

    const QColor edited(30, 60, 200);
    Sheet->Face(0, 1).BGColor = Bgr(edited);
    // Until refreshed the preview keeps what it was given.
    EXPECT_LE(ColourDistance(PixelAt(f->RenderFrameImage(QSize(401, 305)), bottom), kPanel[1]), 8);
    QTest::mouseClick(f->btnRefresh, Qt::LeftButton);
    EXPECT_NEAR(f->AngleX, 1.55, 1e-9);
    EXPECT_EQ(f->AngleY, 0);
    EXPECT_LE(ColourDistance(PixelAt(f->RenderFrameImage(QSize(401, 305)), bottom), edited), 8);
    // What the surface paints is the refreshed frame.
    f->dxd->repaint();
    EXPECT_LE(ColourDistance(PixelAt(f->dxd->grab().toImage(), bottom), edited), 8);

    // With the owner's refresh hooked in, "Refresh" runs that instead.
    int asked = 0;
    f->OnRefresh = [&asked] { ++asked; };
    QTest::mouseClick(f->btnRefresh, Qt::LeftButton);
    EXPECT_EQ(asked, 1);
}

TEST_F(BoxPreviewTest, RefreshOfALabelThatIsNoBoxShowsBlankSides) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    f->Refresh(5); // no such label
    for (const QString& n : Tfrm3DV::FaceNames) EXPECT_TRUE(f->FacePicture(n).isNull()) << n.toStdString();
    const QImage img = f->RenderFrameImage(QSize(401, 305));
    EXPECT_EQ(img.pixel(200, 150) | 0xFF000000u, QColor(Qt::white).rgb());
    EXPECT_EQ(img.pixel(40, 150) | 0xFF000000u, kBack.rgb());
    // A label with a single face (a sheet that is no longer a box) is no crash either.
    Sheet->Label(0).Faces.resize(1);
    f->Refresh(0);
    EXPECT_TRUE(f->FacePicture("Front").isNull());
}

TEST_F(BoxPreviewTest, OnlyOnePreviewAtATime) {
    Tfrm3DV* first = Tfrm3DV::Open(*Sheet, 0);
    first->AngleY = 0.4;
    EXPECT_EQ(Tfrm3DV::Open(*Sheet, 0), first);
    EXPECT_EQ(PreviewWindows(), 1);
    EXPECT_EQ(Tfrm3DV::Instance(), first);
    // Open while open is no destruction: the owner's watchdog leaves it alone.
    EXPECT_FALSE(Tfrm3DV::DestroyIfClosed());
    EXPECT_EQ(Tfrm3DV::Instance(), first);

    // Closed, it waits for the owner; opened again before that, it is the same window.
    QTest::mouseClick(first->btnClose, Qt::LeftButton);
    EXPECT_FALSE(first->isVisible());
    EXPECT_TRUE(first->FrameTimerStopped());
    EXPECT_EQ(Tfrm3DV::Open(*Sheet, 0), first);
    EXPECT_FALSE(first->FrameTimerStopped());
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->AngleY, 0.4);

    first->close();
    EXPECT_TRUE(Tfrm3DV::DestroyIfClosed());
    EXPECT_EQ(Tfrm3DV::Instance(), nullptr);
    EXPECT_EQ(PreviewWindows(), 0);
    // A new preview starts at rest.
    Tfrm3DV* second = Tfrm3DV::Open(*Sheet, 0);
    EXPECT_EQ(second->AngleY, 0);
    EXPECT_EQ(PreviewWindows(), 1);
}

TEST_F(BoxPreviewTest, FrameTimerRunsOnlyWhileTheApplicationIsActive) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    // About 60 frames a second at most, never a loop that spins.
    EXPECT_GE(f->tmr->interval(), 15);
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_TRUE(f->FrameTimerRunning());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(f->FrameTimerRunning());
    EXPECT_FALSE(f->FrameTimerStopped()); // paused, not closed
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    ASSERT_TRUE(f->FrameTimerRunning());

    // The running timer turns the box while a button is held.
    QTest::mousePress(f->btnY2, Qt::LeftButton);
    EXPECT_EQ(f->SpinDir, -1);
    EXPECT_FALSE(f->SpinAxisX);
    QTRY_VERIFY_WITH_TIMEOUT(f->AngleY <= -0.15, 5000);
    QTest::mouseRelease(f->btnY2, Qt::LeftButton);
    const double held = f->AngleY;
    EXPECT_NEAR(held / Tfrm3DV::SpinStep, std::round(held / Tfrm3DV::SpinStep), 1e-6);
    QTest::qWait(100);
    EXPECT_EQ(f->AngleY, held);

    // Escape closes and stops the timer for good, until opened again.
    QTest::keyClick(f, Qt::Key_Escape);
    EXPECT_FALSE(f->isVisible());
    EXPECT_TRUE(f->FrameTimerStopped());
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationActive);
    EXPECT_FALSE(f->FrameTimerRunning());
}

TEST_F(BoxPreviewTest, AltEnterSwitchesBetweenWindowAndFullScreen) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    f->move(f->pos() + QPoint(30, 20));
    const QRect place = f->geometry();
    f->AngleX = 0.3;
    QTest::keyClick(f, Qt::Key_Return, Qt::AltModifier);
    EXPECT_TRUE(f->IsFullScreen3D());
    EXPECT_TRUE(f->isFullScreen());
    EXPECT_EQ(f->cursor().shape(), Qt::BlankCursor);
    // The platform resizes the window when it gets to it.
    QTRY_COMPARE(f->size(), QGuiApplication::primaryScreen()->geometry().size());
    EXPECT_EQ(f->dxd->geometry(), f->rect());
    // The whole screen shows the box, still turned.
    EXPECT_EQ(f->AngleX, 0.3);
    EXPECT_FALSE(f->Textures[bsFront].isNull());

    QTest::keyClick(f, Qt::Key_Enter, Qt::AltModifier | Qt::KeypadModifier);
    EXPECT_FALSE(f->IsFullScreen3D());
    EXPECT_FALSE(f->isFullScreen());
    QTRY_COMPARE(f->geometry(), place);
    EXPECT_EQ(f->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(f->windowFlags() & Qt::FramelessWindowHint); // back with a plain border
    EXPECT_EQ(f->dxd->geometry(), QRect(1, 49, 401, 305));
    EXPECT_FALSE(f->Textures[bsFront].isNull());
    EXPECT_TRUE(f->isVisible());
    // Enter alone does nothing.
    QTest::keyClick(f, Qt::Key_Return);
    EXPECT_FALSE(f->IsFullScreen3D());
}

TEST_F(BoxPreviewTest, DraggingTheSurfaceOrTheWindowMovesIt) {
    Tfrm3DV* f = Tfrm3DV::Open(*Sheet, 0);
    for (QWidget* grip : {static_cast<QWidget*>(f->dxd), static_cast<QWidget*>(f)}) {
        const QPoint start = f->pos();
        QTest::mousePress(grip, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        QTest::mouseMove(grip, QPoint(70, 50));
        QTest::mouseRelease(grip, Qt::LeftButton, Qt::NoModifier, QPoint(70, 50));
        EXPECT_EQ(f->pos(), start + QPoint(50, 30)) << grip->metaObject()->className();
    }
    // A turn of the box is no move of the window.
    const QPoint at = f->pos();
    QTest::mousePress(f->btnX1, Qt::LeftButton);
    QTest::mouseMove(f->btnX1, QPoint(30, 30));
    QTest::mouseRelease(f->btnX1, Qt::LeftButton);
    EXPECT_EQ(f->pos(), at);
}
