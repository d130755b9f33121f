// Conversions, label geometry, zoom and layout of the sheet view.
#include "tests/sheetview/uSheetFixture.h"

using namespace tessora;
using namespace tessora::test;

TEST_F(SheetTest, ConversionsPerTarget) {
    Make(lsRectangle, 50, 50);
    struct {
        TOutputTarget target;
        double mm;
        int px;
    } cases[] = {
        {otPdf, 0.25, 2},  {otPdf, 0.75, 8},  {otPdf, 12.34, 123},  {otDpi300, 25.4, 300},
        {otDpi300, 1, 12}, {otDpi200, 25.4, 200}, {otDpi200, 0.3, 2}, {otScreen, 5, 50},
    };
    for (const auto& c : cases) {
        Sheet->Target = c.target;
        EXPECT_EQ(Sheet->MmToPxX(c.mm), c.px) << c.target << " " << c.mm;
        EXPECT_EQ(Sheet->MmToPxY(c.mm), c.px) << c.target << " " << c.mm;
    }
    Sheet->Target = otPdf;
    EXPECT_EQ(Sheet->PtToPx(12), 42); // round(500 * 4.2333 / 50)
    Sheet->Target = otScreen;
    EXPECT_DOUBLE_EQ(Sheet->PxToMmX(100), 10);
}

TEST_F(SheetTest, LetterPageInAnEightHundredBySixHundredParent) {
    Make(lsRectangle, 50, 50);
    const QRect frame = Sheet->LayOut(QSize(800, 600));
    EXPECT_EQ(frame, QRect(176, 10, 448, 580));
    EXPECT_EQ(Sheet->SheetLayer.size(), QSize(448, 580));
    // A landscape paper in a tall parent: the width decides.
    Sheet->Header.PaperSize = 5;
    Sheet->ApplyPaperSize();
    const QRect wide = Sheet->LayOut(QSize(800, 1000));
    EXPECT_EQ(wide, QRect(20, 206, 760, 587)); // 587 = round(760 * 215.9 / 279.4); 206.5 rounds to even
}

TEST_F(SheetTest, ZoomSpansTheLabelPlusTen) {
    Make(lsRectangle, 90, 50, 2, 2);
    Sheet->CurLabel = 3;
    Sheet->SetZoom(true);
    EXPECT_DOUBLE_EQ(Sheet->ViewWidth, 100);
    EXPECT_DOUBLE_EQ(Sheet->ViewHeight, 60);
    EXPECT_DOUBLE_EQ(Sheet->LabelPosX(3), 5);
    int first, last;
    Sheet->LabelsToDraw(first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 3);
    Sheet->ViewWidth = 1; // a second zoom in changes nothing
    Sheet->SetZoom(true);
    EXPECT_DOUBLE_EQ(Sheet->ViewWidth, 1);
    Sheet->SetZoom(false);
    EXPECT_DOUBLE_EQ(Sheet->ViewWidth, 215.9);
    EXPECT_DOUBLE_EQ(Sheet->ViewHeight, 279.4);
    Sheet->LabelsToDraw(first, last);
    EXPECT_EQ(last, 3);
    EXPECT_EQ(first, 0);
}

TEST_F(SheetTest, BoxPanelsOnThePdfTarget) {
    Make(lsBox, 50, 80, 1, 1, 20);
    Sheet->Target = otPdf;
    const int a = 100, b = 200;
    const QRect expected[6] = {
        QRect(QPoint(a, b + 200), QPoint(a + 500 - 1, b + 200 + 800 - 1)),
        QRect(QPoint(a, b + 1000), QPoint(a + 500 - 1, b + 1200 - 1)),
        QRect(QPoint(a + 500, b + 200), QPoint(a + 700 - 1, b + 1000 - 1)),
        QRect(QPoint(a + 700, b), QPoint(a + 1200 - 1, b + 200 - 1)),
        QRect(QPoint(a + 700, b + 200), QPoint(a + 1200 - 1, b + 1000 - 1)),
        QRect(QPoint(a + 1200, b + 200), QPoint(a + 1400 - 1, b + 1000 - 1)),
    };
    for (int p = 0; p < 6; ++p) EXPECT_EQ(Sheet->BoxPanelRect(p, a, b), expected[p]) << p;
    EXPECT_EQ(Sheet->BoxPanelRect(4, a, b).size(), QSize(500, 800));
    Sheet->Target = otScreen;
    // The label's rectangle spans the whole net.
    EXPECT_EQ(Sheet->LabelRect(0).size(), QSize(1400, 1200));
}
