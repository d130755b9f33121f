// The Control, Barcode, Outline and Settings tabs, and the colour picker's targets there.
#include "barcode/Barcode.h"
#include "params/fColorPicker.h"
#include "params/uParamsWidgets.h"
#include "tests/params/uParamsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

void PickInPicker(QColor c) {
    TfrmColorPicker* picker = TfrmColorPicker::Instance();
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(picker->isVisible());
    picker->ShowColor(c, true);
    picker->btnOK->click();
}

} // namespace

TEST_F(ParamsTest, BarcodeAngleLoadsItsListItem) {
    const std::pair<int, const char*> cases[] = {
        {90, "90"}, {0, "0"}, {-270, "-270"}, {45, "270"}, {360, "270"}};
    Make(2, 1);
    for (auto [angle, shown] : cases) {
        SCOPED_TRACE(angle);
        Sheet->Label(1).Face(0).BCAngle = 0;
        Select(1); // something else in the list first
        Sheet->Label(0).Face(0).BCAngle = int16_t(angle);
        Select(0);
        EXPECT_EQ(P->lstBCAngle->currentText(), shown);
    }
    EXPECT_TRUE(Sheet->UndoList.empty());
}

// Every barcode control writes its field; each change is one undo step and one redraw.
TEST_F(ParamsTest, BarcodeControlsWriteTheFace) {
    Make(1, 1, 60, 40);
    TLabelFace& f = Sheet->Label(0).Face(0);
    f.BCType = 1 + bcCode39;
    f.BCText = "AB12";
    f.BCHeight = 10;
    Select(0);
    ASSERT_TRUE(P->ShowTab("Barcode"));
    struct Case {
        const char* Name;
        std::function<void()> Edit;
        std::function<bool()> Written;
    };
    const Case cases[] = {
        {"data", [&] { P->edtBCText->setText("XY9"); }, [&] { return f.BCText == "XY9"; }},
        {"width", [&] { P->edtBCWidth->setValue(0.4); }, [&] { return std::abs(f.BCWidth - 0.4) < 1e-9; }},
        {"height", [&] { P->edtBCHeight->setValue(12); }, [&] { return f.BCHeight == 12; }},
        {"style", [&] { P->lstBCOutput->setCurrentIndex(3); }, [&] { return f.BCOutput == 3; }},
        {"alignment", [&] { P->lstBCAlign->setCurrentIndex(2); }, [&] { return f.BCAlign == 2; }},
        {"angle", [&] { P->lstBCAngle->setCurrentText("-90"); }, [&] { return f.BCAngle == -90; }},
        {"colour", [&] { P->pckBCColor->Pick(0x0000FF); }, [&] { return f.BCColor == 0x0000FF; }},
        {"check sum", [&] { P->chbBCChSum->setChecked(true); }, [&] { return f.BCChSum; }},
        {"type", [&] { P->lstBCTypes->setCurrentIndex(1 + bcCode128A); },
         [&] { return f.BCType == 1 + bcCode128A; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Sheet->ClearUndo();
        ResetCounters();
        c.Edit();
        EXPECT_TRUE(c.Written());
        EXPECT_EQ(Sheet->UndoList.size(), 1u);
        EXPECT_EQ(Redraws, 1);
        EXPECT_EQ(Saves, 1);
        EXPECT_EQ(Refreshes, 1);
        EXPECT_EQ(Sheet->SelKind, 0);
    }
    EXPECT_EQ(Sheet->SelIndex, 1 + bcCode128A);
}

TEST_F(ParamsTest, RemoveBarcodeKeepsItsFieldsForTheNextType) {
    Make(1, 1, 60, 40);
    TLabelFace& f = Sheet->Label(0).Face(0);
    f.BCType = 1 + bcCode39;
    f.BCText = "AB12";
    f.BCLeft = 5;
    f.BCTop = 6;
    f.BCHeight = 10;
    f.BCWidth = 0.4;
    Select(0);
    ASSERT_TRUE(P->ShowTab("Graphic")); // no selection frame around the barcode
    Sheet->DrawLabel(0, -1, true);
    const QRect ink = Ink(0, qRgb(0, 0, 0));
    ASSERT_FALSE(ink.isEmpty());

    P->btnDelBarcode->click();
    EXPECT_EQ(f.BCType, 0);
    EXPECT_EQ(P->lstBCTypes->currentText(), "<Select Type>");
    EXPECT_TRUE(Ink(0, qRgb(0, 0, 0)).isEmpty());
    EXPECT_EQ(f.BCText, "AB12");
    EXPECT_DOUBLE_EQ(f.BCLeft, 5);
    EXPECT_DOUBLE_EQ(f.BCTop, 6);
    EXPECT_DOUBLE_EQ(f.BCHeight, 10);
    EXPECT_DOUBLE_EQ(f.BCWidth, 0.4);

    P->lstBCTypes->setCurrentIndex(1 + bcCode39);
    EXPECT_EQ(Ink(0, qRgb(0, 0, 0)), ink);
}

TEST_F(ParamsTest, OutlineEditsKeepTheLoadedLabelsOtherValues) {
    Make(2, 1);
    TSheetLabel& a = Sheet->Label(0);
    TSheetLabel& b = Sheet->Label(1);
    a.OLColor = 0x112233;
    a.OLShColor = 0x445566;
    a.OLShadow = true;
    a.OLThick = 7;
    a.Face(0).BCColor = 0x778899;
    b.OLColor = 0x0000FF;
    b.OLShColor = 0x00FF00;
    b.OLShadow = false;
    b.OLThick = 2;
    b.Face(0).BCColor = 0xFF0000;
    Select(0);
    Select(1);
    EXPECT_EQ(P->edtOLThick->value(), 2);
    EXPECT_EQ(P->chbOLShadow->text(), "OFF");
    EXPECT_FALSE(P->btnOLShadow->isChecked());

    P->edtOLThick->setValue(4);
    EXPECT_EQ(b.OLThick, 4);
    EXPECT_EQ(b.OLColor, 0x0000FFu);
    EXPECT_EQ(b.OLShColor, 0x00FF00u);
    EXPECT_FALSE(b.OLShadow);
    EXPECT_EQ(b.Face(0).BCColor, 0xFF0000u);
    EXPECT_EQ(a.OLThick, 7); // A untouched
    EXPECT_EQ(Sheet->UndoList.size(), 1u);

    // The Shadow button and its check box mirror each other; each applies once.
    P->btnOLShadow->click();
    EXPECT_TRUE(P->chbOLShadow->isChecked());
    EXPECT_EQ(P->chbOLShadow->text(), "ON");
    EXPECT_TRUE(b.OLShadow);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
    P->pckOLShColor->Pick(0x123456);
    EXPECT_EQ(b.OLShColor, 0x123456u);
    EXPECT_EQ(Sheet->UndoList.size(), 3u);
    Sheet->Undo();
    EXPECT_EQ(b.OLShColor, 0x00FF00u);
}

TEST_F(ParamsTest, PrintOutlineSetsVisFrWithoutUndoOrRedraw) {
    Make(1, 1);
    Select(0);
    ResetCounters();
    P->btnVisFr->click();
    EXPECT_TRUE(P->chbVisFr->isChecked());
    EXPECT_TRUE(Sheet->Label(0).VisFr);
    EXPECT_EQ(Saves, 1);
    EXPECT_EQ(Redraws, 0);
    EXPECT_TRUE(Sheet->UndoList.empty());
    P->chbVisFr->setChecked(false);
    EXPECT_FALSE(P->btnVisFr->isChecked());
    EXPECT_FALSE(Sheet->Label(0).VisFr);

    // Changed from outside: the boxes, their captions and the button follow, nothing applies.
    Sheet->Label(0).VisFr = true;
    Sheet->Label(0).Vis = false;
    ResetCounters();
    P->RefreshLabelState();
    EXPECT_TRUE(P->btnVisFr->isChecked());
    EXPECT_EQ(P->chbVisFr->text(), "ON");
    EXPECT_EQ(P->chbVis->text(), "OFF");
    EXPECT_EQ(Saves + Redraws, 0);
    EXPECT_TRUE(Sheet->UndoList.empty());
}

TEST_F(ParamsTest, OnOffCaptionsFollowEveryChange) {
    Make(2, 1);
    Sheet->Label(1).Vis = false;
    Select(0);
    EXPECT_EQ(P->chbVis->text(), "ON");
    Select(1);
    EXPECT_EQ(P->chbVis->text(), "OFF");
    // As the main window refreshes it, with the signals blocked.
    {
        const QSignalBlocker block(P->chbVis);
        P->chbVis->setChecked(true);
    }
    EXPECT_EQ(P->chbVis->text(), "ON");
    QTest::mouseClick(P->chbVis, Qt::LeftButton, {}, QPoint(5, P->chbVis->height() / 2));
    EXPECT_EQ(P->chbVis->text(), "OFF");
    EXPECT_FALSE(Sheet->Label(1).Vis);
}

TEST_F(ParamsTest, LabelColourFromThePickerTurnsTheColourOn) {
    Make(1, 1, 40, 30);
    Select(0);
    ASSERT_TRUE(P->ShowTab("Control"));
    TLabelFace& f = Sheet->Label(0).Face(0);
    ASSERT_FALSE(f.BGColorOn);
    EXPECT_EQ(P->chbBGColor->text(), "OFF");
    ResetCounters();

    P->btnColor->click();
    EXPECT_TRUE(Sheet->UndoList.empty()); // nothing until OK
    PickInPicker(QColor(0, 0, 255));
    EXPECT_TRUE(f.BGColorOn);
    EXPECT_EQ(f.BGColor, 0xFF0000u);
    EXPECT_EQ(P->chbBGColor->text(), "ON");
    EXPECT_EQ(P->shpLblColor->Color(), 0xFF0000u);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    EXPECT_EQ(Sheet->SheetLayer.pixel(LabelRect(0).center()) | 0xFF000000u, qRgb(0, 0, 255));

    // With the colour on, OK applies the new one: one more step.
    P->btnColor->click();
    PickInPicker(QColor(0, 255, 0));
    EXPECT_EQ(f.BGColor, 0x00FF00u);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);

    // The outline targets.
    P->btnOLColor->click();
    PickInPicker(QColor(255, 0, 0));
    EXPECT_EQ(Sheet->Label(0).OLColor, 0x0000FFu);
    EXPECT_EQ(P->pckOLColor->Color(), 0x0000FFu);
    P->btnOLShColor->click();
    PickInPicker(QColor(1, 2, 3));
    EXPECT_EQ(Sheet->Label(0).OLShColor, 0x030201u);
}

TEST_F(ParamsTest, WorkspaceSettingsGoToTheIniFile) {
    Make(1, 1);
    // No ini file: the cream colour and white label spaces.
    EXPECT_EQ(P->shpGUIBGColor->Color(), 13170941u);
    EXPECT_EQ(Sheet->Gui.BgColor, 13170941u);
    EXPECT_EQ(Sheet->Gui.LSpaceMode, 0);
    EXPECT_FALSE(P->btnWSpace1->isChecked());
    EXPECT_FALSE(P->btnWSpace2->isChecked());

    QTest::mouseClick(P->shpGUIBGColor, Qt::LeftButton);
    PickInPicker(QColor(10, 20, 30));
    EXPECT_EQ(Sheet->Gui.BgColor, 0x1E140Au);
    EXPECT_EQ(Frame->pnlSheet->palette().color(QPalette::Window), QColor(10, 20, 30));
    QSettings ini(TGuiSettings::IniPath(), QSettings::IniFormat);
    EXPECT_EQ(ini.value("GUI/BgColor").toUInt(), 0x1E140Au);

    // At most one mode button is down, both may be up; the ini file says what is shown.
    const std::pair<QToolButton*, int> clicks[] = {
        {P->btnWSpace2, 1}, {P->btnWSpace1, 0}, {P->btnWSpace2, 1}, {P->btnWSpace2, 0}};
    for (auto [button, mode] : clicks) {
        button->click();
        EXPECT_FALSE(P->btnWSpace1->isChecked() && P->btnWSpace2->isChecked());
        EXPECT_EQ(Sheet->Gui.LSpaceMode, mode);
        ini.sync();
        EXPECT_EQ(ini.value("GUI/LSpaceMode").toInt(), mode);
    }
    // A new window reads them back.
    P->btnWSpace2->click();
    TfrmLWParams again(Frame, Main.get());
    EXPECT_TRUE(again.btnWSpace2->isChecked());
    EXPECT_EQ(again.shpGUIBGColor->Color(), 0x1E140Au);
}

// Two labels that differ in every field of these tabs: loading them in turn reaches every
// change handler, and none of them may write, record or draw.
TEST_F(ParamsTest, LoadingEveryTabChangesNothing) {
    Make(2, 1);
    AddImage(0, Qt::red);
    AddImage(1, Qt::blue);
    for (int i = 0; i < 2; ++i) {
        TSheetLabel& l = Sheet->Label(i);
        TLabelFace& f = l.Face(0);
        TLabelImage& im = f.Image(0);
        l.Vis = i == 0;
        l.VisFr = i == 1;
        l.OLColor = i ? 0x0000FF : 0x00FF00;
        l.OLShColor = i ? 0x808080 : 0x404040;
        l.OLShadow = i == 1;
        l.OLThick = uint8_t(2 + i);
        f.BGColorOn = i == 0;
        f.BGColor = i ? 0x00FFFF : 0xFFFF00;
        f.BCType = uint8_t(1 + i);
        f.BCText = i ? "12" : "34";
        f.BCWidth = i ? 0.2 : 0.4;
        f.BCHeight = i ? 11 : 13;
        f.BCOutput = uint8_t(i);
        f.BCAlign = uint8_t(i + 2);
        f.BCAngle = int16_t(i ? 90 : 180);
        f.BCColor = i ? 0x000080 : 0x008000;
        f.BCChSum = i == 1;
        im.Scale = uint8_t(i ? 50 : 70);
        im.Angle = int16_t(i ? 10 : 20);
        im.Flip = uint8_t(i + 1);
        im.Fade = uint8_t(i ? 30 : 40);
        im.Filters = i ? "1_5;6;#2_3;#4_;#" : "3_1.50;#5_;#";
    }
    Sheet->RedrawSheet(true, true);
    const QImage layer = Sheet->SheetLayer.copy();
    std::vector<std::string> filters = {Sheet->Label(0).Face(0).Image(0).Filters,
                                        Sheet->Label(1).Face(0).Image(0).Filters};
    ResetCounters();
    for (int l : {0, 1, 0, 1}) {
        Sheet->CurLabel = l;
        Sheet->CurFace = 0;
        P->LoadLabelParams(l, 0);
    }
    EXPECT_TRUE(Sheet->UndoList.empty());
    EXPECT_EQ(Redraws + UndoEnables + Saves + Refreshes, 0);
    EXPECT_EQ(Sheet->SheetLayer, layer);
    EXPECT_EQ(Sheet->Label(0).Face(0).Image(0).Filters, filters[0]);
    EXPECT_EQ(Sheet->Label(1).Face(0).Image(0).Filters, filters[1]);
    EXPECT_TRUE(Sheet->Label(0).Vis);
    EXPECT_FALSE(Sheet->Label(0).VisFr);
    // The controls show label 1.
    EXPECT_EQ(P->chbVis->text(), "OFF");
    EXPECT_TRUE(P->btnVisFr->isChecked());
    EXPECT_EQ(P->edtOLThick->value(), 3);
    EXPECT_EQ(P->pckOLShColor->Color(), 0x808080u);
    EXPECT_EQ(P->shpLblColor->Color(), 0x00FFFFu);
    EXPECT_EQ(P->lstBCAngle->currentText(), "90");
    EXPECT_EQ(P->edtBCText->text(), "12");
    EXPECT_EQ(P->edtScale->value(), 50);
    EXPECT_EQ(P->edtFade->value(), 30);
    EXPECT_TRUE(P->chbGrey->isChecked());
    EXPECT_FALSE(P->chbNegative->isChecked());
    EXPECT_EQ(P->edtSharp->value(), 3);
}
