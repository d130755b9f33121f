// The sheet widget on the offscreen platform: layout, the view image, the selection frames,
// the zoom buttons and the mouse it reports.
#include "document/uCommon.h"
#include "platform/uColor.h"
#include "sheetview/fraSheet.h"
#include "tests/common/uTestSheets.h"
#include "tests/common/uTestSupport.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

class FrameTest : public ::testing::Test {
protected:
    TTempDir Home;
    std::string PrevFolder = ProgramFolder();
    std::unique_ptr<QWidget> Host;
    TfrSheet* Frame = nullptr;
    TSheet* Sheet = nullptr;

    void SetUp() override {
        SetProgramFolder(Home.Path());
        Host = std::make_unique<QWidget>();
        Host->resize(800, 600);
        Frame = new TfrSheet(Host.get());
        Sheet = &Frame->Sheet;
        Sheet->Gui = TGuiSettings{};
        Frame->ApplyColors();
    }
    void TearDown() override {
        Host.reset();
        SetProgramFolder(PrevFolder);
    }
    // A letter page with w x h mm labels from (10, 10) mm, 10 mm apart.
    void Make(uint8_t shape, double w, double h, int cols = 1, int rows = 1, double depth = 0) {
        Sheet->Header = TestHeader(shape, w, h, cols, rows, depth);
        Sheet->ApplyPaperSize();
        Sheet->BuildGrid();
        Frame->LayOut();
        Host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Host.get()));
    }
    void Select(int label) {
        Sheet->HotLabel = label;
        Sheet->SelectHotLabel();
    }
    QImage Grab() const { return Frame->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // View pixel to a pixel of the grabbed frame.
    QPoint InFrame(QPoint view) const { return view + Frame->ImageRect().topLeft(); }
    static int Count(const QImage& img, QRect area, QRgb c) {
        int n = 0;
        area &= img.rect();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += (img.pixel(x, y) | 0xFF000000u) == c;
        return n;
    }
};

} // namespace

TEST_F(FrameTest, LayOutFitsThePageAndTheViewShowsTheLayer) {
    Make(lsRectangle, 60, 30, 2, 3);
    // A letter page in 800 x 600: the height decides.
    EXPECT_EQ(Frame->geometry(), QRect(176, 10, 448, 580));
    EXPECT_EQ(Frame->imgMain->size(), Sheet->SheetLayer.size());
    EXPECT_TRUE(Frame->ImageRect().adjusted(-1, -1, 1, 1) == Frame->rect()); // one-pixel border
    EXPECT_EQ(Frame->pnlSheet->palette().color(QPalette::Window), ToQColor(TGuiSettings::DefaultBgColor));

    Sheet->Face(3, 0).BGColor = 0x0000FF;
    Sheet->Face(3, 0).BGColorOn = true;
    Sheet->DrawLabel(3, -1, false);
    Frame->Changed();
    const QImage shot = Grab();
    const QPoint mid = Sheet->LabelRect(3).center();
    EXPECT_EQ(shot.pixel(InFrame(mid)), kRed);
    EXPECT_EQ(shot.pixel(InFrame(mid)), Sheet->SheetLayer.pixel(mid) | 0xFF000000u);
    const QPoint page(Frame->imgMain->width() - 3, Frame->imgMain->height() - 3);
    EXPECT_EQ(shot.pixel(InFrame(page)), Sheet->SheetLayer.pixel(page) | 0xFF000000u);
    EXPECT_EQ(shot.pixel(InFrame(page)), ToQColor(TGuiSettings::DefaultBgColor).rgb());
}

TEST_F(FrameTest, SelectionRectangleSitsFourPixelsOutsideTheLabel) {
    Make(lsRectangle, 60, 30, 2, 3);
    EXPECT_FALSE(Frame->SelectShape->isVisible());
    Select(3);
    ASSERT_TRUE(Frame->SelectShape->isVisible());
    EXPECT_EQ(Frame->SelectShape->Tag, 3);
    EXPECT_EQ(Frame->SelectShape->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(Frame->FaceShape->isVisible());

    // The label's pixels run from l to r and t to b; red dashes on l - 4, r + 4, t - 4, b + 4 only.
    const auto check = [&] {
        const QImage shot = Grab();
        const QRect lr = Sheet->LabelRect(3).translated(Frame->ImageRect().topLeft());
        const int l = lr.left(), r = lr.right(), t = lr.top(), b = lr.bottom();
        const QRect rows(l - 4, t - 4, r - l + 9, b - t + 9);
        EXPECT_GT(Count(shot, QRect(l - 4, t - 4, 1, rows.height()), kRed), rows.height() / 3);
        EXPECT_GT(Count(shot, QRect(r + 4, t - 4, 1, rows.height()), kRed), rows.height() / 3);
        EXPECT_GT(Count(shot, QRect(l - 4, t - 4, rows.width(), 1), kRed), rows.width() / 3);
        EXPECT_GT(Count(shot, QRect(l - 4, b + 4, rows.width(), 1), kRed), rows.width() / 3);
        EXPECT_EQ(Count(shot, rows.adjusted(1, 1, -1, -1), kRed), 0);
        EXPECT_EQ(Count(shot, QRect(l - 5, t - 5, 1, rows.height() + 2), kRed), 0);
        EXPECT_EQ(Count(shot, QRect(r + 5, t - 5, 1, rows.height() + 2), kRed), 0);
    };
    check();
    // Laying out at another size brings the frame back onto the label.
    Host->resize(1000, 700);
    Frame->LayOut();
    EXPECT_EQ(Frame->SelectShape->geometry(), Sheet->LabelRect(3).adjusted(-4, -4, 4, 4));
    check();

    // A press in no label hides the frame.
    Select(-1);
    EXPECT_FALSE(Frame->SelectShape->isVisible());
}

TEST_F(FrameTest, PressOnATextInPanel4SelectsPanel4AndThatText) {
    Make(lsBox, 50, 80, 1, 1, 20);
    auto t = std::make_unique<TLabelText>(5, 20, 30);
    t->Text = "Front";
    t->FontName = "Liberation Sans";
    t->FontSize = 24;
    Sheet->Face(0, 4).Texts.push_back(std::move(t));
    Sheet->DrawLabel(0, -1, true);
    const TRect& b = Sheet->Face(0, 4).Text(0).Bounds;
    ASSERT_GT(b.Right, b.Left);
    Select(0);
    ASSERT_TRUE(Frame->FaceShape->isVisible());
    const QRect panel4 = Sheet->BoxPanelRect(4, Sheet->LabelRect(0).left(), Sheet->LabelRect(0).top());
    const QPoint view = panel4.topLeft() + QPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);

    // What a host would do with the press.
    QPoint seen(-1, -1);
    QObject::connect(Frame, &TfrSheet::SelectShapeMouseDown, [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint p) {
        seen = p;
        Sheet->SelectFaceAtPoint(p);
        Sheet->TextAtPoint(p, -1);
    });
    QSignalSpy outside(Frame, &TfrSheet::imgMainMouseDown);
    QTest::mousePress(Frame->SelectShape, Qt::LeftButton, {}, view - Frame->SelectShape->pos());
    EXPECT_EQ(seen, view);
    EXPECT_EQ(outside.count(), 0);
    EXPECT_EQ(Sheet->CurFace, 4);
    EXPECT_EQ(Sheet->SelKind, 1);
    EXPECT_EQ(Sheet->SelIndex, 0);
    QTest::mouseRelease(Frame->SelectShape, Qt::LeftButton, {}, view - Frame->SelectShape->pos());

    // The blue frame moved onto panel 4.
    EXPECT_EQ(Frame->FaceShape->geometry(), panel4.adjusted(-4, -4, 4, 4));
    const QImage shot = Grab();
    const QRect f = panel4.translated(Frame->ImageRect().topLeft());
    EXPECT_GT(Count(shot, QRect(f.left() - 4, f.top(), 1, f.height()), kBlue), f.height() / 3);
    EXPECT_EQ(Count(shot, QRect(f.left() - 3, f.top(), 1, f.height()), kBlue), 0);
}

TEST_F(FrameTest, MouseIsReportedInViewPixelsAndMovingDrawsNothing) {
    Make(lsRectangle, 60, 30, 2, 3);
    QSignalSpy down(Frame, &TfrSheet::imgMainMouseDown), move(Frame, &TfrSheet::imgMainMouseMove),
        up(Frame, &TfrSheet::imgMainMouseUp), shapeDown(Frame, &TfrSheet::SelectShapeMouseDown),
        shapeDbl(Frame, &TfrSheet::SelectShapeDblClick);
    const qint64 layerKey = Sheet->SheetLayer.cacheKey();
    QTest::mouseMove(Frame->imgMain, QPoint(30, 40));
    QTest::mouseMove(Frame->imgMain, QPoint(120, 90));
    ASSERT_GE(move.count(), 1);
    EXPECT_EQ(move.last().at(2).toPoint(), QPoint(120, 90));
    EXPECT_EQ(Sheet->SheetLayer.cacheKey(), layerKey);

    QTest::mouseClick(Frame->imgMain, Qt::RightButton, Qt::ShiftModifier, QPoint(17, 23));
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(down.at(0).at(1).value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
    EXPECT_EQ(down.at(0).at(2).toPoint(), QPoint(17, 23));
    EXPECT_EQ(up.count(), 1);

    Select(0);
    QTest::mouseClick(Frame->SelectShape, Qt::LeftButton, {}, QPoint(5, 6));
    ASSERT_EQ(shapeDown.count(), 1);
    EXPECT_EQ(shapeDown.at(0).at(2).toPoint(), Sheet->SelectFrame.topLeft() + QPoint(5, 6));
    QTest::mouseDClick(Frame->SelectShape, Qt::LeftButton, {}, QPoint(8, 9));
    ASSERT_EQ(shapeDbl.count(), 1);
    EXPECT_EQ(shapeDbl.at(0).at(2).toPoint(), Sheet->SelectFrame.topLeft() + QPoint(8, 9));
    EXPECT_EQ(down.count(), 1); // nothing reached the view image underneath
}

TEST_F(FrameTest, ZoomButtonsShowOnlyWhileZoomedAnd3DOnlyOnBoxes) {
    Make(lsRectangle, 60, 30, 2, 3);
    Frame->SetZoom(true); // no label selected: stays out
    EXPECT_FALSE(Sheet->Zoomed);
    EXPECT_FALSE(Frame->btnClose->isVisible());
    Select(4);
    Frame->SetZoom(true);
    ASSERT_TRUE(Sheet->Zoomed);
    EXPECT_TRUE(Frame->btnClose->isVisible());
    EXPECT_FALSE(Frame->btn3D->isVisible());
    EXPECT_EQ(Frame->btnClose->text(), "Zoom Out  ");
    EXPECT_EQ(Frame->btnClose->geometry().right(), Frame->imgMain->width() - 1);
    EXPECT_EQ(Frame->btnClose->y(), 0);
    // The view spans the label + 10 mm and the frame follows the label.
    EXPECT_EQ(Frame->SelectShape->geometry(), Sheet->LabelRect(4).adjusted(-4, -4, 4, 4));
    EXPECT_EQ(Sheet->LabelRect(4).left(), Sheet->MmToPxX(5));

    QSignalSpy closed(Frame, &TfrSheet::btnCloseClicked);
    QTest::mouseClick(Frame->btnClose, Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    Frame->SetZoom(false);
    EXPECT_FALSE(Frame->btnClose->isVisible());
    EXPECT_EQ(Frame->geometry(), QRect(176, 10, 448, 580));

    Make(lsBox, 50, 80, 1, 1, 20);
    Select(0);
    EXPECT_FALSE(Frame->btn3D->isVisible());
    Frame->SetZoom(true);
    EXPECT_TRUE(Frame->btnClose->isVisible());
    ASSERT_TRUE(Frame->btn3D->isVisible());
    EXPECT_EQ(Frame->btn3D->text(), "3DPreview  ");
    EXPECT_EQ(Frame->btn3D->x(), Frame->imgMain->width() - 2 * Frame->btnClose->width() - 5);
    QSignalSpy preview(Frame, &TfrSheet::btn3DClicked);
    QTest::mouseClick(Frame->btn3D, Qt::LeftButton);
    EXPECT_EQ(preview.count(), 1);
    Frame->SetZoom(false);
    EXPECT_FALSE(Frame->btn3D->isVisible());
}
