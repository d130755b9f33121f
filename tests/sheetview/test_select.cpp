// Hit tests, selection frames and undo of the sheet, at 10 px/mm.
#include "tests/sheetview/uSheetFixture.h"

using namespace tessora;
using namespace tessora::test;

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kWhite = 0xFFFFFFFF;

TLabelText& AddText(TLabelFace& f, double x, double y, double w, const char* text) {
    auto t = std::make_unique<TLabelText>(x, y, w);
    t->Text = text;
    t->FontName = "Liberation Sans";
    t->FontSize = 20;
    f.Texts.push_back(std::move(t));
    return *f.Texts.back();
}

// The pixels of exactly this colour inside the area.
QRect ColorIn(const QImage& img, const QRect& area, QRgb c) {
    int l = INT32_MAX, t = INT32_MAX, r = -1, b = -1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((img.pixel(x, y) | 0xFF000000u) == c) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return r < 0 ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

} // namespace

// 2 x 2 labels of 40 x 20 mm: columns at 100..500 and 600..1000 px, rows at 100..300 and 400..600.
TEST_F(SheetTest, LabelAtPointIncludesEveryEdgeAndMissesGaps) {
    Make(lsRectangle, 40, 20, 2, 2);
    const struct {
        QPoint p;
        int label;
    } cases[] = {
        {{100, 100}, 0},  {{500, 300}, 0},  {{501, 300}, -1}, {{99, 200}, -1}, {{300, 99}, -1},
        {{600, 100}, 1},  {{550, 200}, -1}, {{300, 350}, -1}, {{100, 400}, 2}, {{1000, 600}, 3},
        {{1001, 600}, -1}, {{300, 601}, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(Sheet->LabelAtPoint(c.p), c.label) << c.p.x() << "," << c.p.y();
}

TEST_F(SheetTest, LabelSearchStopsAtTheFirstLabelStartingBelowThePoint) {
    Make(lsRectangle, 40, 20, 2, 1);
    Sheet->Label(0).Y = 50; // label 0 now lies below label 1
    EXPECT_EQ(Sheet->LabelAtPoint({700, 200}), -1);
    EXPECT_EQ(Sheet->LabelAtPoint({200, 600}), 0);

    // Zoomed, only the selected label is on the view, though every label sits at 5 mm.
    Make(lsRectangle, 40, 20, 2, 1);
    Sheet->CurLabel = 1;
    Sheet->SetZoom(true);
    Sheet->SetViewSize(QSize(500, 300));
    EXPECT_EQ(Sheet->LabelAtPoint({60, 60}), 1);
    EXPECT_EQ(Sheet->LabelAtPoint({451, 60}), -1);
}

TEST_F(SheetTest, HoverAndSelectHotLabelPlaceTheFrames) {
    Make(lsRectangle, 40, 20, 2, 1);
    EXPECT_TRUE(Sheet->HoverAt({700, 200}));
    EXPECT_FALSE(Sheet->HoverAt({710, 210}));
    EXPECT_EQ(Sheet->HotLabel, 1);
    Sheet->SelectHotLabel();
    EXPECT_EQ(Sheet->CurLabel, 1);
    EXPECT_EQ(Sheet->CurFace, 0);
    EXPECT_TRUE(Sheet->HasSelection());
    // 4 pixels outside the label's first and last pixel rows and columns.
    EXPECT_EQ(Sheet->SelectFrame, QRect(QPoint(596, 96), QPoint(1003, 303)));
    EXPECT_FALSE(Sheet->FaceFrameVisible);

    // A press in the gap hides the frames; the selected label keeps its number.
    EXPECT_TRUE(Sheet->HoverAt({550, 200}));
    Sheet->SelectHotLabel();
    EXPECT_FALSE(Sheet->SelectFrameVisible);
    EXPECT_FALSE(Sheet->HasSelection());
    EXPECT_EQ(Sheet->CurLabel, 1);

    Sheet->ClearLabels();
    EXPECT_FALSE(Sheet->HoverAt({100, 100}));
    EXPECT_EQ(Sheet->HotLabel, -1);
}

// A box net W 50, H 80, D 20 mm at (100, 100) px: the panels share edges, and the first in
// panel order takes a shared edge.
TEST_F(SheetTest, FaceAtPointTakesBoxPanelsInPanelOrder) {
    Make(lsBox, 50, 80, 1, 1, 20);
    Sheet->CurLabel = 0;
    const struct {
        QPoint p;
        int panel;
    } cases[] = {
        {{100, 300}, 0},  {{600, 500}, 0},  {{601, 500}, 2},  {{800, 500}, 2},  {{801, 500}, 4},
        {{1000, 300}, 3}, {{1000, 301}, 4}, {{350, 1100}, 0}, {{350, 1101}, 1}, {{1300, 700}, 4},
        {{1301, 700}, 5}, {{1500, 1100}, 5}, {{300, 200}, -1}, {{1400, 200}, -1}, {{1501, 700}, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(Sheet->FaceAtPoint(c.p), c.panel) << c.p.x() << "," << c.p.y();

    Sheet->CurFace = 4;
    EXPECT_EQ(Sheet->FaceOrigin(), QPoint(800, 300));
    EXPECT_EQ(Sheet->FaceExtent(), QSize(500, 800));
    Sheet->CurFace = 2;
    EXPECT_EQ(Sheet->FaceOrigin(), QPoint(600, 300));
    EXPECT_EQ(Sheet->FaceExtent(), QSize(200, 800));
}

TEST_F(SheetTest, PressOnATextInPanel4SelectsPanel4AndThatText) {
    Make(lsBox, 50, 80, 1, 1, 20);
    AddText(Face(0, 0), 5, 5, 30, "Back");
    AddText(Face(0, 4), 5, 40, 30, "Other");
    TLabelText& t = AddText(Face(0, 4), 5, 10, 30, "Front");
    Sheet->RedrawSheet(true, true);
    ASSERT_GT(t.Bounds.Right, t.Bounds.Left);
    // The text's middle in view pixels: panel 4 starts at (800, 300).
    const QPoint p(800 + (t.Bounds.Left + t.Bounds.Right) / 2, 300 + (t.Bounds.Top + t.Bounds.Bottom) / 2);

    Sheet->HoverAt(p);
    Sheet->SelectHotLabel();
    EXPECT_TRUE(Sheet->SelectFaceAtPoint(p));
    EXPECT_EQ(Sheet->CurFace, 4);
    EXPECT_EQ(Sheet->FaceFrame, QRect(QPoint(796, 296), QPoint(1303, 1103)));
    EXPECT_TRUE(Sheet->FaceFrameVisible);
    EXPECT_EQ(Sheet->TextAtPoint(p, -1), 1);
    EXPECT_EQ(Sheet->SelKind, 1);
    EXPECT_EQ(Sheet->SelIndex, 1);
    EXPECT_FALSE(Sheet->SelectFaceAtPoint(p)); // same panel again

    // Bounds edges count; a miss keeps the fallback as the selection.
    EXPECT_EQ(Sheet->TextAtPoint(QPoint(800 + t.Bounds.Right, 300 + t.Bounds.Bottom), -1), 1);
    EXPECT_EQ(Sheet->TextAtPoint(QPoint(800 + t.Bounds.Right + 1, 300 + t.Bounds.Bottom), 0), -1);
    EXPECT_EQ(Sheet->SelIndex, 0);
    EXPECT_EQ(Sheet->TextAtPoint({1250, 1050}, 3), -1);
    EXPECT_EQ(Sheet->SelIndex, 3);
}

// A 100 x 50 px red picture on a 400 x 200 px label at (100, 100): the hit area is where
// the drawing put the picture, for every alignment.
TEST_F(SheetTest, ImageHitAreaFollowsAlignment) {
    Make(lsRectangle, 40, 20);
    const std::string pic = SavePicture("red.png", Solid(100, 50, QColor(255, 0, 0)));
    Sheet->AddPicture(0, 0, pic);
    ASSERT_EQ(Face().Images.size(), 1u);
    TLabelImage& im = Face().Image(0);
    im.Scale = 25;
    im.X = 5;
    im.Y = 3;
    // An image without a picture in front of it is passed over.
    Face().Images.insert(Face().Images.begin(), std::make_unique<TLabelImage>());
    Sheet->CurLabel = 0;

    for (uint8_t h : {0, 1, 2, 3}) {
        for (uint8_t v : {0, 2, 3}) {
            im.AlignH = h;
            im.AlignV = v;
            im.X = 5;
            im.Y = 3;
            Sheet->SelKind = 255;
            Sheet->DrawLabel(0, -1, true);
            QRect ink = ColorIn(Sheet->SheetLayer, QRect(100, 100, 400, 200), kRed);
            // The label's 1-pixel outline covers a picture touching its edge.
            if (ink.left() == 101) ink.setLeft(100);
            if (ink.top() == 101) ink.setTop(100);
            if (ink.right() == 498) ink.setRight(499);
            if (ink.bottom() == 298) ink.setBottom(299);
            ASSERT_EQ(ink.size(), QSize(100, 50)) << int(h) << int(v);
            const auto hit = [&](QPoint p) { return Sheet->ImageAtPoint(p, 7); };
            EXPECT_EQ(hit(ink.topLeft()), 1) << int(h) << int(v);
            EXPECT_EQ(hit(ink.bottomRight()), 1) << int(h) << int(v);
            EXPECT_EQ(Sheet->SelKind, 2);
            EXPECT_EQ(hit(ink.topLeft() - QPoint(1, 0)), -1) << int(h) << int(v);
            EXPECT_EQ(Sheet->SelIndex, 7);
            EXPECT_EQ(hit(ink.bottomRight() + QPoint(0, 1)), -1) << int(h) << int(v);
        }
    }
}

TEST_F(SheetTest, UndoAndRedoAcrossTwoLabels) {
    Make(lsRectangle, 40, 20, 2, 1);
    Face(1, 0).BCText = "B";
    Sheet->CurLabel = 0;
    Sheet->Record(true);
    Face(0, 0).BGColor = 0x0000FF;
    Face(0, 0).BGColorOn = true;
    Sheet->Label(0).X = 12; // position is not part of a step
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Layer(300, 200), kRed);

    Sheet->CurLabel = 1;
    EXPECT_FALSE(Sheet->Undo());
    EXPECT_FALSE(Face(0, 0).BGColorOn);
    EXPECT_EQ(Sheet->Label(0).X, 12);
    EXPECT_EQ(Face(1, 0).BCText, "B");
    EXPECT_EQ(Layer(300, 200), kWhite);
    ASSERT_EQ(Sheet->RedoList.size(), 1u);
    // The counter-step holds label 0 as it was before the undo.
    ASSERT_EQ(Sheet->RedoList.front().size(), 1u);
    EXPECT_EQ(Sheet->RedoList.front()[0].LabelIndex, 0);
    EXPECT_TRUE(Sheet->RedoList.front()[0].Snapshot->Face(0).BGColorOn);

    EXPECT_FALSE(Sheet->Redo());
    EXPECT_TRUE(Face(0, 0).BGColorOn);
    EXPECT_EQ(Layer(300, 200), kRed);
    EXPECT_EQ(Face(1, 0).BCText, "B");
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    EXPECT_TRUE(Sheet->RedoList.empty());
    EXPECT_FALSE(Sheet->Redo());
}

TEST_F(SheetTest, ElevenEditsLeaveTenStepsAndRedoOutlivesANewEdit) {
    Make(lsRectangle, 40, 20);
    Sheet->CurLabel = 0;
    for (uint32_t i = 1; i <= 11; ++i) {
        Sheet->Record(true);
        Face().BGColor = i;
    }
    EXPECT_EQ(Sheet->UndoList.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Sheet->Undo(), i < 9);
    EXPECT_EQ(Face().BGColor, 1u); // the first edit stays
    EXPECT_EQ(Sheet->RedoList.size(), 10u);
    EXPECT_FALSE(Sheet->Undo());

    for (int i = 0; i < 3; ++i) Sheet->Redo();
    EXPECT_EQ(Face().BGColor, 4u);
    Sheet->Record(true);
    Face().BGColor = 99;
    EXPECT_EQ(Sheet->RedoList.size(), 7u);
    EXPECT_TRUE(Sheet->Redo());
    EXPECT_EQ(Face().BGColor, 5u);
    EXPECT_TRUE(Sheet->Undo());
    EXPECT_EQ(Face().BGColor, 99u);
}

TEST_F(SheetTest, AllLabelStepUndoesEveryLabelAtOnce) {
    Make(lsRectangle, 40, 20, 3, 1);
    Sheet->CurLabel = 0;
    Sheet->Record(false);
    ASSERT_EQ(Sheet->UndoList.front().size(), 3u);
    EXPECT_EQ(Sheet->UndoList.front()[0].LabelIndex, 2); // highest index first
    for (int l = 0; l < 3; ++l) Face(l, 0).BCText = "C";
    EXPECT_FALSE(Sheet->Undo());
    for (int l = 0; l < 3; ++l) EXPECT_EQ(Face(l, 0).BCText, "");
    ASSERT_EQ(Sheet->RedoList.front().size(), 3u);
    Sheet->Redo();
    for (int l = 0; l < 3; ++l) EXPECT_EQ(Face(l, 0).BCText, "C");

    // Without a selected label there is nothing to record.
    Sheet->CurLabel = -1;
    Sheet->ClearUndo();
    Sheet->Record(true);
    EXPECT_TRUE(Sheet->UndoList.empty());
}

TEST_F(SheetTest, UndoDropsASelectionOfAnObjectItRemoved) {
    Make(lsRectangle, 40, 20);
    Sheet->CurLabel = 0;
    Sheet->Record(true);
    AddText(Face(), 2, 2, 30, "New");
    Sheet->SelKind = 1;
    Sheet->SelIndex = 0;
    Sheet->Undo();
    EXPECT_TRUE(Face().Texts.empty());
    EXPECT_EQ(Sheet->SelIndex, -1);
    Sheet->Redo();
    EXPECT_EQ(Face().Texts.size(), 1u);
}

// The zoomed view shows one label; undoing another must not paint it there.
TEST_F(SheetTest, UndoWhileZoomedDrawsOnlyTheLabelInView) {
    Make(lsRectangle, 40, 20, 2, 1);
    Sheet->CurLabel = 0;
    Sheet->Record(true);
    Face(0, 0).BGColor = 0x0000FF;
    Face(0, 0).BGColorOn = true;
    Face(1, 0).BGColor = 0x00FF00;
    Face(1, 0).BGColorOn = true;
    Sheet->CurLabel = 1;
    Sheet->SetZoom(true);
    Sheet->SetViewSize(QSize(500, 300));
    EXPECT_EQ(Layer(250, 150), 0xFF00FF00u);
    Sheet->Undo();
    EXPECT_FALSE(Face(0, 0).BGColorOn);
    EXPECT_EQ(Layer(250, 150), 0xFF00FF00u);
}

TEST_F(SheetTest, RebuildingOrClosingDropsTheSteps) {
    Make(lsRectangle, 40, 20, 2, 1);
    Sheet->CurLabel = 0;
    Sheet->Record(true);
    Sheet->Undo();
    Sheet->Record(true);
    Sheet->BuildGrid();
    EXPECT_TRUE(Sheet->UndoList.empty());
    EXPECT_TRUE(Sheet->RedoList.empty());

    Sheet->Record(true);
    Sheet->HotLabel = 1;
    Sheet->SelectHotLabel();
    Sheet->CloseSelection();
    EXPECT_TRUE(Sheet->UndoList.empty());
    EXPECT_EQ(Sheet->CurLabel, -1);
    EXPECT_EQ(Sheet->HotLabel, -1);
    EXPECT_FALSE(Sheet->SelectFrameVisible);
}
