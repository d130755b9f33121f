// Loading a label into the parameters window, the position edits and their apply operations.
#include "tests/params/uParamsFixture.h"

#include "barcode/Barcode.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>

using namespace tessora;
using namespace tessora::test;

TEST_F(ParamsTest, LoadingALabelChangesNothing) {
    Make(2, 1);
    AddImage(0, Qt::red);
    AddImage(1, Qt::blue);
    TLabelImage& a = Sheet->Label(0).Face(0).Image(0);
    a.X = 3;
    a.Y = 4;
    TLabelImage& b = Sheet->Label(1).Face(0).Image(0);
    b.X = 7.5;
    b.Y = 2.5;
    AddText(0, 1, 2);
    AddText(1, 11, 12);
    Sheet->Label(1).Face(0).BCType = 14;
    Sheet->Label(1).Face(0).BCLeft = 20;
    Sheet->Label(1).Face(0).BCTop = 15;
    Sheet->RedrawSheet(true, true);
    const QImage layer = Sheet->SheetLayer.copy();
    const auto before0 = LabelBytes(Sheet->Label(0)), before1 = LabelBytes(Sheet->Label(1));
    ResetCounters();

    // Every edit takes a new value while loading, so each change handler is reached.
    for (int l : {0, 1, 0, 1}) {
        Sheet->CurLabel = l;
        Sheet->CurFace = 0;
        P->LoadLabelParams(l, 0);
    }
    EXPECT_EQ(Sheet->UndoList.size(), 0u);
    EXPECT_EQ(Redraws, 0);
    EXPECT_EQ(UndoEnables + Saves + Refreshes, 0);
    EXPECT_EQ(Sheet->SheetLayer, layer);
    EXPECT_EQ(LabelBytes(Sheet->Label(0)), before0);
    EXPECT_EQ(LabelBytes(Sheet->Label(1)), before1);

    // The controls show label B.
    EXPECT_DOUBLE_EQ(P->edtBGX->Mm(), 7.5);
    EXPECT_DOUBLE_EQ(P->edtBGY->Mm(), 2.5);
    EXPECT_DOUBLE_EQ(P->edtX->Mm(), 11);
    EXPECT_DOUBLE_EQ(P->edtY->Mm(), 12);
    EXPECT_EQ(P->lstBCTypes->currentIndex(), 14);
    EXPECT_DOUBLE_EQ(P->edtBCLeft->Mm(), 20);
    EXPECT_DOUBLE_EQ(P->edtBCTop->Mm(), 15);
    EXPECT_FALSE(P->Loading);
}

// Each position edit, stepped once with the Up key as a user does: one undo step, the model
// moved by 1 mm, the label redrawn with its object 10 pixels further; Undo puts it back.
TEST_F(ParamsTest, EachPositionEditMakesOneUndoStepAndRedrawsTheLabel) {
    struct Case {
        const char* Tab;
        TUnitSpinBox* TfrmLWParams::*Edit;
        bool Across;
    };
    const Case cases[] = {
        {"Graphic", &TfrmLWParams::edtBGX, true},    {"Graphic", &TfrmLWParams::edtBGY, false},
        {"Text", &TfrmLWParams::edtX, true},         {"Text", &TfrmLWParams::edtY, false},
        {"Barcode", &TfrmLWParams::edtBCLeft, true}, {"Barcode", &TfrmLWParams::edtBCTop, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Tab) + (c.Across ? " across" : " down"));
        Make(1, 1, 60, 40);
        TLabelFace& f = Sheet->Label(0).Face(0);
        const std::string tab = c.Tab;
        if (tab == "Graphic") {
            AddImage(0, Qt::red, 60, 40);
            f.Image(0).Scale = 50;
            f.Image(0).X = 5;
            f.Image(0).Y = 5;
        } else if (tab == "Text") {
            AddText(0, 5, 5, "Wq");
        } else {
            f.BCType = 1 + bcCode39;
            f.BCText = "AB12";
            f.BCLeft = 5;
            f.BCTop = 5;
            f.BCHeight = 10;
        }
        Select(0);
        ASSERT_TRUE(P->ShowTab(c.Tab));
        Sheet->DrawLabel(0, -1, true);
        const QRect ink = Ink(0);
        ASSERT_FALSE(ink.isEmpty());
        const auto before = LabelBytes(Sheet->Label(0));
        Sheet->ClearUndo();
        ResetCounters();

        TUnitSpinBox* e = P->*c.Edit;
        const double mm = e->Mm();
        QTest::keyClick(e, Qt::Key_Up);
        EXPECT_DOUBLE_EQ(e->Mm(), mm + 1);
        EXPECT_EQ(Sheet->UndoList.size(), 1u);
        EXPECT_EQ(UndoEnables, 1);
        EXPECT_EQ(Redraws, 1);
        EXPECT_EQ(Refreshes, 1);
        const QRect moved = Ink(0);
        EXPECT_EQ(moved.size(), ink.size());
        EXPECT_EQ(moved.topLeft() - ink.topLeft(), c.Across ? QPoint(10, 0) : QPoint(0, 10));

        Sheet->Undo();
        EXPECT_EQ(LabelBytes(Sheet->Label(0)), before);
        EXPECT_EQ(Ink(0), ink);
    }
}

TEST_F(ParamsTest, CentredImageKeepsItsPlaceAndTheEditShowsIt) {
    Make(1, 1, 40, 30);
    AddImage(0, Qt::green, 100, 100); // not the red of the selection mark
    TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
    im.AlignH = 2;
    im.X = 1;
    Select(0);
    Sheet->DrawLabel(0, -1, true);
    const double centred = im.X;
    const QRect ink = Ink(0, 0xFF00FF00);
    ASSERT_GT(im.PixWidth, 0);
    // Centred in the 400 pixels of the label.
    EXPECT_EQ(ink.left() - LabelRect(0).left(), (400 - im.PixWidth) / 2);
    EXPECT_EQ(ink.width(), im.PixWidth);
    EXPECT_DOUBLE_EQ(centred, (400 - im.PixWidth) / 2 / 10.0);

    P->SelectImage(0);
    EXPECT_EQ(P->lstAlign->currentIndex(), 2);
    Sheet->ClearUndo();
    P->edtBGX->setValue(12);
    EXPECT_DOUBLE_EQ(im.X, centred);
    EXPECT_DOUBLE_EQ(P->edtBGX->Mm(), centred);
    EXPECT_EQ(Ink(0, 0xFF00FF00), ink);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);

    // A drag moves it only down.
    P->ShowTab("Graphic");
    Gesture.Active = true;
    Sheet->Record(true);
    Gesture.UndoTaken = true;
    EXPECT_TRUE(P->DragObject(3, 2));
    EXPECT_DOUBLE_EQ(im.X, centred);
    EXPECT_DOUBLE_EQ(im.Y, 2);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
}

// A gesture feeds many small movements through the edits: one undo step (the gesture's own),
// no 3D refresh before the release, and no movement lost to the edits' one decimal.
TEST_F(ParamsTest, DragIsOneUndoStepAndLosesNoMovement) {
    Make(1, 1, 60, 40);
    AddImage(0, Qt::red, 60, 40);
    TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
    AddText(0, 10, 10);
    Select(0);
    ASSERT_TRUE(P->ShowTab("Graphic"));
    Sheet->ClearUndo();
    ResetCounters();

    Gesture.Active = true;
    Sheet->Record(true); // the main window's record at the first accepted movement
    Gesture.UndoTaken = true;
    for (int i = 0; i < 10; ++i)
        P->DragObject(0.37, -0.04);
    // A slow drag on a zoomed view: steps far below a tenth of a millimetre.
    for (int i = 0; i < 30; ++i)
        P->DragObject(0.03, 0);
    Gesture = TDragGesture{};
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    EXPECT_EQ(Refreshes, 0);
    EXPECT_GT(Redraws, 10);
    EXPECT_NEAR(im.X, 3.7 + 0.9, 0.05 + 1e-9);
    EXPECT_NEAR(im.Y, -0.4, 0.05 + 1e-9);

    // After the release the next edit records its own step.
    P->ShowTab("Text");
    EXPECT_TRUE(P->NudgeObject(1, 0));
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(0).Text(0).X, 11);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
    EXPECT_EQ(Refreshes, 1);
    // Nothing to move on a barcode without a type.
    P->ShowTab("Barcode");
    EXPECT_FALSE(P->NudgeObject(1, 0));
    EXPECT_FALSE(P->DragObject(1, 1));
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
}

TEST_F(ParamsTest, InchTemplateShowsInches) {
    Make(1, 1, 50.8, 25.4, 1);
    AddImage(0, Qt::red);
    TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
    im.X = 25.4;
    P->ShowInfo();
    EXPECT_EQ(P->lblUnits2->text(), "Inches (in)");
    EXPECT_EQ(P->lblTSize2->text(), "8.50 x 11.00");
    EXPECT_EQ(P->lblLSize2->text(), "2.00 x 1.00");
    EXPECT_EQ(P->lblOrder2->text(), "TS-4030");
    Select(0);
    EXPECT_DOUBLE_EQ(P->edtBGX->value(), 1.0);
    EXPECT_EQ(P->edtBGX->suffix(), " in");
    EXPECT_NEAR(P->edtBGX->maximum(), 300 / 25.4, 0.0005);
    P->edtBGX->setValue(2);
    EXPECT_NEAR(im.X, 50.8, 1e-9);
    // Nudges stay millimetres.
    ASSERT_TRUE(P->ShowTab("Graphic"));
    P->NudgeObject(1, 0);
    EXPECT_NEAR(im.X, 51.8, 0.0254 / 2);

    Make(1, 1, 40, 30, 0);
    P->ShowInfo();
    EXPECT_EQ(P->lblUnits2->text(), "Millimeters (mm)");
    EXPECT_EQ(P->lblTSize2->text(), "215.90 x 279.40");
    EXPECT_EQ(P->lblLSize2->text(), "40.00 x 30.00");
    EXPECT_EQ(P->edtBGX->suffix(), " mm");
    EXPECT_EQ(P->edtBGX->decimals(), 1);
}

// A number typed into an edit is one change: one undo step when it is confirmed.
TEST_F(ParamsTest, TypedPositionIsOneChange) {
    Make(1, 1, 60, 40);
    AddText(0, 5, 5);
    Select(0);
    ASSERT_TRUE(P->ShowTab("Text"));
    Sheet->ClearUndo();
    P->edtX->selectAll();
    QTest::keyClicks(P->edtX, "12.5");
    EXPECT_EQ(Sheet->UndoList.size(), 0u);
    QTest::keyClick(P->edtX, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(0).Text(0).X, 12.5);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    // Out of range is clamped by the edit.
    P->edtX->selectAll();
    QTest::keyClicks(P->edtX, "999");
    QTest::keyClick(P->edtX, Qt::Key_Return);
    EXPECT_LE(Sheet->Label(0).Face(0).Text(0).X, 300);
}

// On a box the edits load and write the selected panel, not the first one.
TEST_F(ParamsTest, BoxPanelEditsWriteThatPanel) {
    Make(1, 1, 40, 30, 0, lsBox, 20);
    ASSERT_EQ(Sheet->Label(0).Faces.size(), 6u);
    AddText(0, 1, 1, "front");
    Sheet->Label(0).Face(4).Texts.push_back(std::make_unique<TLabelText>(7, 8, 20));
    Sheet->Label(0).Face(4).BCType = 3;
    Sheet->Label(0).Face(4).BCTop = 9;
    Select(0);
    Sheet->CurFace = 4;
    P->LoadLabelParams(0, 4);
    EXPECT_DOUBLE_EQ(P->edtX->Mm(), 7);
    EXPECT_DOUBLE_EQ(P->edtBCTop->Mm(), 9);
    ASSERT_TRUE(P->ShowTab("Text"));
    QTest::keyClick(P->edtY, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(4).Text(0).Y, 9);
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(0).Text(0).Y, 1);
    ASSERT_TRUE(P->ShowTab("Barcode"));
    EXPECT_TRUE(P->DragObject(0, 2));
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(4).BCTop, 11);
    EXPECT_DOUBLE_EQ(Sheet->Label(0).Face(0).BCTop, 0);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
}
