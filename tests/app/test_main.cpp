// The main window with its parameters window, driven as the user would: the project
// commands, "Save changes?", saving over a file, Print / PDF, undo and redo, the gestures.
#include "app/fLWMain.h"
#include "app/fLabelInfo.h"
#include "content/dTessora.h"
#include "preview3d/f3DV.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "sheetview/fraSheet.h"
#include "params/fClone.h"
#include "tests/app/uMainFixture.h"
#include "tests/params/uModal.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QComboBox>
#include <QMenu>
#include <QTimer>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

using MainTest = MainFixture;

std::vector<QString> Texts(const TScriptedMessages& m) {
    std::vector<QString> r;
    for (auto& e : m.Shown) r.push_back(Q(e.Text));
    return r;
}

} // namespace

TEST_F(MainTest, ProjectCommandsAreEnabledOnceAProjectIsLoaded) {
    EXPECT_EQ(Main->windowTitle(), "Corvane Tessora");
    EXPECT_GE(Main->minimumWidth(), 808);
    EXPECT_EQ(Main->lblVersion->text(), "v 5.0.0");
    EXPECT_TRUE(QFileInfo(Q(Folder.Home.File("PDF Label Sheets"))).isDir());
    auto enabled = [this] {
        QStringList on;
        for (QAction* a : {Main->actSaveProject, Main->actPrintProject, Main->actUndo, Main->actRedo})
            if (a->isEnabled()) on << a->objectName();
        for (int tag = 3; tag <= 8; ++tag)
            if (Main->ToolButton(tag)->isEnabled()) on << Main->ToolButton(tag)->objectName();
        return on;
    };
    EXPECT_EQ(enabled(), QStringList());
    EXPECT_EQ(Main->frSheet->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_TRUE(Main->actNewProject->isEnabled());
    EXPECT_TRUE(Main->actOpenProject->isEnabled());
    EXPECT_EQ(Main->ToolButton(9)->text(), "Print / PDF");
    EXPECT_EQ(Main->ToolButton(7)->toolTip(), "Outline Control ");

    // A chooser that is cancelled changes nothing.
    Main->actOpenProject->trigger();
    EXPECT_EQ(Chooses, 1);
    EXPECT_EQ(enabled(), QStringList());

    OpenProject(CopySample("Product Labels.shl"));
    EXPECT_FALSE(Main->Modified);
    EXPECT_FALSE(Sheet().Labels.empty());
    EXPECT_EQ(enabled(), QStringList({"actSaveProject", "actPrintProject", "btnLabelControl", "btnGraphic",
                                      "btnText", "btnBarcode", "btnOutline", "btnZoomToLabel"}));
    EXPECT_EQ(Main->frSheet->contextMenuPolicy(), Qt::CustomContextMenu);
    EXPECT_TRUE(Main->frmLWParams->isVisible());
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(MainTest, CancelAtSaveChangesKeepsProjectUndoStepsAndFileName) {
    const std::string file = CopySample("Product Labels.shl");
    OpenProject(file);
    EditOutline(0);
    Main->mniOutlineAllClick(true); // a menu change: the project is modified
    ASSERT_TRUE(Main->Modified);
    const size_t labels = Sheet().Labels.size(), steps = Sheet().UndoList.size();
    ASSERT_GT(steps, 0u);

    for (QAction* a : {Main->actNewProject, Main->actOpenProject}) {
        Msgs.Answers = {mbCancel};
        Msgs.Shown.clear();
        Chosen = a == Main->actNewProject ? BinDir() + "Templates/Address 14-up Letter.tpr" : CopySample("Gift Box.shl", "other.shl");
        a->trigger();
        EXPECT_EQ(Texts(Msgs), std::vector<QString>({"Save changes?"})) << a->objectName().toStdString();
        EXPECT_EQ(Msgs.Shown[0].Buttons, mbYes | mbNo | mbCancel);
        EXPECT_EQ(Main->ProjectFile, Q(file));
        EXPECT_TRUE(Main->Modified);
        EXPECT_EQ(Sheet().Labels.size(), labels);
        EXPECT_EQ(Sheet().UndoList.size(), steps);
        EXPECT_TRUE(Main->actUndo->isEnabled());
        EXPECT_TRUE(Sheet().Label(1).VisFr);
    }
    // Closing the window: Cancel keeps it open.
    Msgs.Answers = {mbCancel};
    EXPECT_FALSE(Main->close());
    EXPECT_TRUE(Main->isVisible());
    EXPECT_EQ(Sheet().Labels.size(), labels);
}

TEST_F(MainTest, NewProjectAsksOnClosingAnOpenedOneDoesNot) {
    NewProject();
    EXPECT_TRUE(Main->Modified);
    EXPECT_TRUE(Main->ProjectFile.isEmpty());
    EXPECT_FALSE(Sheet().Labels.empty());
    EXPECT_EQ(Sheet().Header.OrderCode.empty(), false);
    Msgs.Answers = {mbNo};
    EXPECT_TRUE(Main->close());
    EXPECT_EQ(Texts(Msgs), std::vector<QString>({"Save changes?"}));
    EXPECT_TRUE(Sheet().Labels.empty());
    EXPECT_FALSE(Main->actUndo->isEnabled());

    // Yes on a new project asks for a name; cancelling that dialog keeps the window open.
    Main->show();
    NewProject();
    Msgs.Shown.clear();
    Msgs.Answers = {mbYes};
    SaveAnswer.clear();
    EXPECT_FALSE(Main->close());
    EXPECT_EQ(Proposed, QStringList({QString()}));
    EXPECT_FALSE(Sheet().Labels.empty());

    // Yes with a name saves it and closes.
    Msgs.Shown.clear();
    Msgs.Answers = {mbYes};
    SaveAnswer = Q(Work.File("fresh"));
    EXPECT_TRUE(Main->close());
    EXPECT_TRUE(QFileInfo(Q(Work.File("fresh.shl"))).isFile());

    Main->show();
    OpenProject(CopySample("Product Labels.shl"));
    Msgs.Shown.clear();
    EXPECT_TRUE(Main->close());
    EXPECT_TRUE(Msgs.Shown.empty());
}

// An edit made only in the parameters window must not be lost without a question.
TEST_F(MainTest, ParameterEditsAreProtectedBySaveChanges) {
    OpenProject(CopySample("Product Labels.shl"));
    EditOutline(0);
    EXPECT_TRUE(Main->Modified);
    Msgs.Answers = {mbCancel};
    EXPECT_FALSE(Main->close());
    EXPECT_EQ(Texts(Msgs), std::vector<QString>({"Save changes?"}));
}

TEST_F(MainTest, SavingOverTheOpenedFileProposesItAndAsksToReplace) {
    const std::string file = CopySample("Product Labels.shl");
    OpenProject(file);
    EditOutline(2);
    const bool outline = Sheet().Label(2).VisFr;
    SaveAnswer = Q(file);

    Msgs.Answers = {mbNo};
    const QByteArray before = ReadAll(file);
    Main->actSaveProject->trigger();
    EXPECT_EQ(Proposed, QStringList({Q(file)}));
    EXPECT_EQ(Texts(Msgs), std::vector<QString>({"File project.shl already exists. Replace?"}));
    EXPECT_EQ(Msgs.Shown[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(ReadAll(file), before);
    EXPECT_TRUE(Main->Modified);

    Msgs.Answers = {mbYes};
    Main->actSaveProject->trigger();
    EXPECT_FALSE(Main->Modified);
    EXPECT_NE(ReadAll(file), before);
    // What was written reads back with the change.
    TSheet back;
    ASSERT_TRUE(back.OpenProjectFile(file));
    EXPECT_EQ(back.Label(2).VisFr, outline);

    // A new name without extension gets ".shl" and becomes the project's file.
    Msgs.Shown.clear();
    SaveAnswer = Q(Work.File("renamed"));
    Main->actSaveProject->trigger();
    EXPECT_TRUE(Msgs.Shown.empty());
    EXPECT_EQ(Main->ProjectFile, Q(Work.File("renamed.shl")));
    EXPECT_TRUE(QFileInfo(Main->ProjectFile).isFile());
}

TEST_F(MainTest, PrintWritesThePdfAndOpensItThroughTheShell) {
    OpenProject(CopySample("Product Labels.shl"));
    const std::string record = Work.File("opened.txt");
    const std::string hook = Work.File("open-hook");
    WriteAll(hook, QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + record.c_str() + "'\n");
    QFile::setPermissions(Q(hook), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TESSORA_OPEN", hook.c_str());
    const std::string pdf = Work.File("sheet.pdf");

    // An existing file answered No is left alone and nothing is opened.
    WriteAll(pdf, "old");
    SaveAnswer = Q(Work.File("sheet"));
    Msgs.Answers = {mbNo};
    Main->actPrintProject->trigger();
    EXPECT_EQ(Texts(Msgs), std::vector<QString>({Q("File " + pdf + " already exists. Replace?")}));
    EXPECT_EQ(ReadAll(pdf), "old");

    Msgs.Answers = {mbYes};
    Main->ToolButton(9)->click();
    const QByteArray bytes = ReadAll(pdf);
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(Q(record)).size() > 0, 10000);
    qunsetenv("TESSORA_OPEN");
    EXPECT_EQ(ReadAll(record).trimmed(), QByteArray(pdf.c_str()));
    const TRunResult check = RunTool("qpdf", {"--check", Q(pdf)});
    EXPECT_EQ(check.ExitCode, 0) << check.Out.toStdString();
}

TEST_F(MainTest, UndoAndRedoAcrossTwoLabels) {
    OpenProject(CopySample("Product Labels.shl"));
    ASSERT_GE(Sheet().Labels.size(), 2u);
    const bool a = Sheet().Label(0).VisFr, b = Sheet().Label(1).VisFr;
    EditOutline(0);
    EditOutline(1);
    EXPECT_TRUE(Main->actUndo->isEnabled());
    EXPECT_TRUE(Main->frmLWParams->btnUndo->isEnabled());
    EXPECT_FALSE(Main->actRedo->isEnabled());

    struct Step {
        QAction* Action;
        bool A, B, UndoOn, RedoOn;
    };
    const Step steps[] = {{Main->actUndo, !a, b, true, true},
                          {Main->actUndo, a, b, false, true},
                          {Main->actRedo, !a, b, true, true},
                          {Main->actRedo, !a, !b, true, false}};
    int i = 0;
    for (const Step& s : steps) {
        // The parameters window's buttons run the same commands.
        (s.Action == Main->actUndo ? Main->frmLWParams->btnUndo : Main->frmLWParams->btnRedo)->click();
        EXPECT_EQ(Sheet().Label(0).VisFr, s.A) << i;
        EXPECT_EQ(Sheet().Label(1).VisFr, s.B) << i;
        EXPECT_EQ(Main->actUndo->isEnabled(), s.UndoOn) << i;
        EXPECT_EQ(Main->actRedo->isEnabled(), s.RedoOn) << i;
        EXPECT_EQ(Main->frmLWParams->btnUndo->isEnabled(), s.UndoOn) << i;
        ++i;
    }
    // Closing the project leaves nothing to undo.
    Msgs.Answers = {mbNo};
    NewProject();
    EXPECT_TRUE(Sheet().UndoList.empty());
    EXPECT_FALSE(Main->actUndo->isEnabled());
    EXPECT_FALSE(Main->actRedo->isEnabled());
}

TEST_F(MainTest, LabelMenuOffersWhatTheLabelUnderTheMouseAllows) {
    OpenProject(CopySample("Product Labels.shl"));
    auto shown = [this] {
        Main->mnuLabelPopup();
        QStringList r;
        for (QAction* a : Main->mnuLabel->actions())
            if (a->isVisible() && !a->isSeparator()) r << a->text();
        return r;
    };
    Sheet().HotLabel = -1;
    EXPECT_EQ(shown(), QStringList({"Print Outline for All"}));

    Select(0);
    Sheet().Label(0).VisFr = false;
    EXPECT_EQ(shown(), QStringList({"Zoom In", "OFF (Turn Label OFF)", "Clone", "Turn Print Outline ON",
                                    "Print Outline for All", "Add Text", "Import Image from", "Label Parameters"}));
    Main->mniShowClick();
    EXPECT_FALSE(Sheet().Label(0).Vis);
    EXPECT_TRUE(Main->Modified);
    Main->mniOutlineClick();
    EXPECT_TRUE(Sheet().Label(0).VisFr);
    // A label that is OFF offers no zoom and the switch back ON.
    EXPECT_EQ(shown().mid(0, 2), QStringList({"ON (Turn Label ON)", "Clone"}));
    EXPECT_TRUE(shown().contains("Turn Print Outline OFF"));

    Main->mniOutlineAllClick(false);
    for (auto& l : Sheet().Labels) EXPECT_FALSE(l->VisFr);
}

// Real right clicks: on the view the press selects the label first, on the selection
// rectangle it keeps it; both open the label menu for that label.
TEST_F(MainTest, RightClickSelectsTheLabelAndOpensItsMenu) {
    OpenProject(CopySample("Product Labels.shl"));
    Main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main.get()));
    const QRect second = Sheet().LabelRect(1);
    QTest::mouseClick(Main->frSheet->imgMain, Qt::RightButton, {}, second.center());
    QTRY_VERIFY(Main->mnuLabel->isVisible());
    EXPECT_EQ(Sheet().CurLabel, 1);
    EXPECT_TRUE(Main->mniParams->isVisible());
    Main->mnuLabel->hide();

    TSelectShape* shape = Main->frSheet->SelectShape;
    ASSERT_TRUE(shape->isVisible());
    QTest::mouseClick(shape, Qt::RightButton, {}, QPoint(shape->width() / 2, shape->height() / 2));
    QTRY_VERIFY(Main->mnuLabel->isVisible());
    EXPECT_EQ(Sheet().CurLabel, 1);
    EXPECT_EQ(Sheet().HotLabel, 1);
    Main->mnuLabel->hide();
}

// The label menu's Import, Arrange and Clone and the Delete key act through the parameters
// window on the selected label.
TEST_F(MainTest, LabelCommandsActThroughTheParametersWindow) {
    OpenProject(CopySample("Product Labels.shl"));
    Select(0);
    TfrmLWParams* p = Main->frmLWParams;
    ASSERT_TRUE(p->ShowTab("Graphic"));
    auto images = [this] { return Sheet().Face(-1, 0).Images.size(); };
    const size_t before = images();

    // Two pictures imported through the menu: copied into "Import Images", each in front.
    int n = 0;
    p->OpenPictureDialog = [&] {
        QImage img(40, 20, QImage::Format_RGB32);
        img.fill(n ? Qt::blue : Qt::red);
        const QString f = Q(Work.File("imp" + std::to_string(n++) + ".png"));
        img.save(f);
        return f;
    };
    QAction* file = Main->mniImport->actions().value(0);
    ASSERT_TRUE(file && file->text() == "File");
    file->trigger();
    file->trigger();
    ASSERT_EQ(images(), before + 2);
    EXPECT_TRUE(QFile::exists(Q(ProgramSubfolder("Import Images") + "/imp1.png")));
    EXPECT_EQ(p->lstBGFiles->item(0)->text(), "imp1.png");

    // "Send to Back" moves the selected (front) image to the end of the list.
    Sheet().HotLabel = 0;
    Main->mnuLabelPopup();
    ASSERT_TRUE(Main->mniImageArrange->menuAction()->isVisible());
    Main->mniImageArrange->actions().value(0)->trigger();
    EXPECT_EQ(p->lstBGFiles->item(p->lstBGFiles->count() - 1)->text(), "imp1.png");
    EXPECT_EQ(p->lstBGFiles->currentRow(), p->lstBGFiles->count() - 1);
    Main->mniImageArrange->actions().value(1)->trigger();
    EXPECT_EQ(p->lstBGFiles->item(0)->text(), "imp1.png");

    // Delete on the Graphic page asks, then removes the selected image.
    Msgs.Answers = {mbYes};
    Main->actDelete->trigger();
    EXPECT_EQ(Texts(Msgs).back(), "Remove imp1.png Image from current label?");
    EXPECT_EQ(images(), before + 1);

    // Clone onto every other label: one undo step brings all of them back.
    const size_t texts0 = Sheet().Label(0).Face(0).Texts.size();
    const size_t images1 = Sheet().Label(1).Face(0).Images.size();
    Main->Modified = false;
    OnNextModal<TfrmClone>([](TfrmClone* d) { d->btnOK->click(); });
    Main->actClone->trigger();
    EXPECT_TRUE(Main->Modified);
    const int labels = int(Sheet().Labels.size());
    for (int i = 1; i < labels; ++i) {
        EXPECT_EQ(Sheet().Label(i).Face(0).Images.size(), before + 1) << i;
        EXPECT_EQ(Sheet().Label(i).Face(0).Texts.size(), texts0) << i;
    }
    ASSERT_TRUE(Main->actUndo->isEnabled());
    Main->actUndo->trigger();
    EXPECT_EQ(Sheet().Label(1).Face(0).Images.size(), images1);

    // Delete on the Barcode page removes the barcode but keeps its data.
    Select(0);
    ASSERT_TRUE(p->ShowTab("Barcode"));
    Sheet().Face(-1, 0).BCType = 3;
    Sheet().Face(-1, 0).BCText = "12345";
    p->LoadLabelParams(0, 0);
    Main->actDelete->trigger();
    EXPECT_EQ(Sheet().Face(-1, 0).BCType, 0);
    EXPECT_EQ(Sheet().Face(-1, 0).BCText, "12345");
}

TEST_F(MainTest, ToolButtonWithoutSelectionListsTheLabels) {
    OpenProject(CopySample("Product Labels.shl"));
    ASSERT_FALSE(Sheet().HasSelection());
    Main->ToolButton(4)->click();
    QTRY_VERIFY(Main->mnuLabels->isVisible());
    const int n = Sheet().Header.Columns * Sheet().Header.Rows;
    ASSERT_EQ(Main->mnuLabels->actions().size(), n);
    EXPECT_EQ(Main->mnuLabels->actions().last()->text(), QString::number(n));
    Main->mnuLabels->actions().at(1)->trigger();
    Main->mnuLabels->hide();
    EXPECT_TRUE(Sheet().HasSelection());
    EXPECT_EQ(Sheet().CurLabel, 1);
    EXPECT_EQ(Main->frmLWParams->ActiveKind(), pkGraphic);
    EXPECT_TRUE(Main->pnlHint->isVisible());
    EXPECT_EQ(Main->lblHint->text(), "Graphic Tab Activated...");

    // "Zoom to Label" zooms on the selection; without one its list does nothing.
    Main->ToolButton(8)->click();
    EXPECT_TRUE(Sheet().Zoomed);
    Main->frSheet->SetZoom(false);
    Select(-1);
    ASSERT_FALSE(Sheet().HasSelection());
    Main->ToolButton(8)->click();
    QTRY_VERIFY(Main->mnuLabels->isVisible());
    Main->mnuLabels->actions().at(0)->trigger();
    Main->mnuLabels->hide();
    EXPECT_FALSE(Sheet().HasSelection());
    EXPECT_FALSE(Sheet().Zoomed);

    // The keypad zoom needs a selected label too.
    Main->actZoomIn->trigger();
    EXPECT_FALSE(Sheet().Zoomed);
}

TEST_F(MainTest, DragIsGuardedAndMakesOneUndoStepPerGesture) {
    OpenProject(CopySample("Product Labels.shl"));
    Select(0);
    ASSERT_EQ(Main->frmLWParams->ActiveKind(), pkGraphic);
    const QPoint p = Sheet().SelectFrame.center();
    const size_t steps = Sheet().UndoList.size();
    TLabelFace& face = Sheet().Face(0, 0);
    ASSERT_FALSE(face.Images.empty());
    const int img = std::max(0, Main->frmLWParams->lstBGFiles->currentRow());
    face.Image(img).AlignH = face.Image(img).AlignV = 0; // free on both axes
    Main->LoadLabelParams(0, 0);
    const double x0 = face.Image(img).X, y0 = face.Image(img).Y;

    // Within the 200 ms guard the movement is ignored.
    Main->SelectShapeMouseDown(Qt::LeftButton, p);
    Main->SelectShapeMouseMove(Qt::LeftButton, p + QPoint(5, 5));
    EXPECT_EQ(Sheet().UndoList.size(), steps);
    EXPECT_EQ(face.Image(img).X, x0);
    QTRY_VERIFY(!Main->Drag.Guard);
    for (int i = 1; i <= 3; ++i) Main->SelectShapeMouseMove(Qt::LeftButton, p + QPoint(5 * i, 5 * i));
    Main->SelectShapeMouseUp(Qt::LeftButton, p + QPoint(15, 15));
    EXPECT_EQ(Sheet().UndoList.size(), steps + 1);
    // 15 pixels right and down, in millimetres of the view.
    EXPECT_NEAR(face.Image(img).X - x0, Sheet().PxToMmX(15), 0.2);
    EXPECT_NEAR(face.Image(img).Y - y0, Sheet().PxToMmY(15), 0.2);
    EXPECT_GT(face.Image(img).X, x0);
    EXPECT_TRUE(Main->actUndo->isEnabled());
    // One undo takes the whole gesture back.
    Main->actUndo->trigger();
    EXPECT_NEAR(Sheet().Face(0, 0).Image(img).X, x0, 1e-9);
    EXPECT_NEAR(Sheet().Face(0, 0).Image(img).Y, y0, 1e-9);
    EXPECT_FALSE(Main->Drag.UndoTaken);
    EXPECT_FALSE(Main->Drag.Active);
    // After the release, movement without a press does nothing.
    const size_t after = Sheet().UndoList.size();
    Main->SelectShapeMouseMove(Qt::LeftButton, p + QPoint(40, 40));
    EXPECT_EQ(Sheet().UndoList.size(), after);

    // A double click zooms in and out.
    Main->ViewDblClick(Qt::LeftButton);
    EXPECT_TRUE(Sheet().Zoomed);
    Main->ViewDblClick(Qt::LeftButton);
    EXPECT_FALSE(Sheet().Zoomed);
}

TEST_F(MainTest, PanelsCloseAndRestore) {
    Main->SpeedButton1->click();
    EXPECT_FALSE(Main->pnlLeft->isVisible());
    EXPECT_TRUE(Main->btnRestore0->isVisible());
    Main->btnRestore0->click();
    EXPECT_TRUE(Main->pnlLeft->isVisible());
    Main->btnClose2->click();
    EXPECT_FALSE(Main->pnlHelp->isVisible());
    EXPECT_TRUE(Main->btnRestore2->isVisible());
    Main->SpeedButton1->click();
    EXPECT_FALSE(Main->btnRestore2->isVisible());
    Main->btnRestore0->click();
    EXPECT_TRUE(Main->btnRestore2->isVisible());
    Main->btnRestore2->click();
    EXPECT_TRUE(Main->pnlHelp->isVisible());
}

// The designer with a sample open: the tool panel is white, the sheet shows its labels.
// With $TESSORA_SCREENSHOT set the picture is also written there.
TEST_F(MainTest, DesignerShowsTheOpenedSample) {
    Main->resize(1100, 760);
    OpenProject(CopySample("Product Labels.shl"));
    Select(0);
    QTest::qWait(50);
    QImage shot = Main->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // Paint the parameters window where it stands over the main window.
    if (Main->frmLWParams->isVisible()) {
        QPainter p(&shot);
        p.drawImage(Main->mapFromGlobal(Main->frmLWParams->pos()), Main->frmLWParams->grab().toImage());
    }
    const QRect left(Main->pnlLeft->mapTo(Main.get(), QPoint(0, 0)), Main->pnlLeft->size());
    EXPECT_EQ(QColor(shot.pixel(left.left() + 5, left.center().y())), QColor(Qt::white));
    const QRect view(Main->frSheet->imgMain->mapTo(Main.get(), QPoint(0, 0)), Main->frSheet->imgMain->size());
    EXPECT_GT(view.width(), 500);
    QSet<QRgb> colours;
    for (int y = view.top(); y < view.bottom(); y += 5)
        for (int x = view.left(); x < view.right(); x += 5) colours.insert(shot.pixel(x, y));
    EXPECT_GT(colours.size(), 20);
    // No advertisement on the server: the database's picture.
    EXPECT_FALSE(Main->imgAdv->pixmap().isNull());
    if (const QString out = qEnvironmentVariable("TESSORA_SCREENSHOT"); !out.isEmpty()) {
        EXPECT_TRUE(shot.save(out));
    }
}

TEST_F(MainTest, HoverTellsAboutTheLabelAndPressesSelectIt) {
    OpenProject(CopySample("Product Labels.shl"));
    const QRect second = Sheet().LabelRect(1);
    Main->imgMainMouseMove(Qt::NoButton, second.center());
    EXPECT_EQ(Sheet().HotLabel, 1);
    ASSERT_TRUE(Main->frmLabelInfo->isVisible());
    EXPECT_EQ(Main->frmLabelInfo->lblName->text(), "Label 2");
    EXPECT_EQ(Main->frmLabelInfo->lblInfo1->text(), "Click to select this Label");
    EXPECT_TRUE(Main->tmrInfo->isActive());
    EXPECT_EQ(Main->tmrInfo->interval(), 4000);
    EXPECT_EQ(Main->frSheet->imgMain->cursor().shape(), Qt::PointingHandCursor);

    Main->imgMainMouseDown(Qt::LeftButton, second.center());
    EXPECT_TRUE(Sheet().HasSelection());
    EXPECT_EQ(Sheet().CurLabel, 1);
    EXPECT_TRUE(Main->frmLWParams->LabelShown());

    // A press in the gap between two labels: the sheet, frames and label tabs hidden.
    const QPoint gap((Sheet().LabelRect(0).right() + Sheet().LabelRect(1).left()) / 2, second.center().y());
    ASSERT_EQ(Sheet().LabelAtPoint(gap), -1);
    Main->imgMainMouseDown(Qt::LeftButton, gap);
    EXPECT_EQ(Main->frmLabelInfo->lblName->text(), "Sheet");
    EXPECT_EQ(Main->frmLabelInfo->lblInfo2->text(), "Right Click to set image for all labels");
    EXPECT_FALSE(Sheet().HasSelection());
    EXPECT_FALSE(Main->frmLWParams->LabelShown());
    EXPECT_EQ(Main->frSheet->imgMain->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainTest, CtrlArrowsNudgeTheSelectedImageByAMillimetre) {
    OpenProject(CopySample("Product Labels.shl"));
    Select(0);
    ASSERT_TRUE(Main->frmLWParams->ShowTab("Graphic"));
    TLabelFace& face = Sheet().Face(0, 0);
    ASSERT_FALSE(face.Images.empty());
    face.Image(0).AlignH = face.Image(0).AlignV = 0; // free on both axes
    Main->LoadLabelParams(0, 0);
    const double x0 = face.Image(0).X, y0 = face.Image(0).Y;
    Main->activateWindow();
    QTest::keyClick(Main.get(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(Main.get(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(Main.get(), Qt::Key_Down, Qt::ControlModifier);
    // The fields show inches to three places: a millimetre within their step.
    EXPECT_NEAR(Sheet().Face(0, 0).Image(0).X - x0, 1.0, 0.03);
    EXPECT_NEAR(Sheet().Face(0, 0).Image(0).Y - y0, 2.0, 0.05);
    EXPECT_TRUE(Main->actUndo->isEnabled());

    // With the parameters window hidden the keys do nothing.
    Main->frmLWParams->hide();
    const double x1 = Sheet().Face(0, 0).Image(0).X;
    QTest::keyClick(Main.get(), Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(Sheet().Face(0, 0).Image(0).X, x1);
}

TEST_F(MainTest, PreviewOfABoxOpensOnceAndIsClearedWhenClosed) {
    OpenProject(CopySample("Gift Box.shl"));
    ASSERT_EQ(Sheet().Header.Shape, lsBox);
    Select(0);
    Sheet().HotLabel = 0;
    Main->mnuLabelPopup();
    EXPECT_TRUE(Main->mni3DV->isVisible());
    Main->mni3DV->trigger();
    ASSERT_TRUE(Main->Preview3DOpen);
    Tfrm3DV* first = Tfrm3DV::Instance();
    ASSERT_NE(first, nullptr);
    Main->mnuLabelPopup();
    EXPECT_FALSE(Main->mni3DV->isVisible());
    Q_EMIT Main->frSheet->btn3DClicked(); // a second preview is not made
    EXPECT_EQ(Tfrm3DV::Instance(), first);

    first->close();
    QTRY_VERIFY_WITH_TIMEOUT(!Main->Preview3DOpen, 3000);
    EXPECT_EQ(Tfrm3DV::Instance(), nullptr);
}

// An edit in the parameters window refreshes an open preview with the new pictures.
TEST_F(MainTest, EditsRefreshAnOpenPreview) {
    OpenProject(CopySample("Gift Box.shl"));
    Select(0);
    Sheet().HotLabel = 0;
    Main->mnuLabelPopup();
    Main->mni3DV->trigger();
    Tfrm3DV* v = Tfrm3DV::Instance();
    ASSERT_NE(v, nullptr);
    auto blue = [v] {
        const QImage f = v->RenderFrameImage(QSize(400, 300));
        int n = 0;
        for (int y = 0; y < f.height(); ++y)
            for (int x = 0; x < f.width(); ++x) {
                const QRgb p = f.pixel(x, y);
                n += qBlue(p) > 200 && qRed(p) < 40 && qGreen(p) < 40;
            }
        return n;
    };
    EXPECT_EQ(blue(), 0);
    // The front panel turns pure blue; the parameters window's hook brings it to the preview.
    Sheet().Face(0, 4).BGColor = 0xFF0000;
    Sheet().Face(0, 4).BGColorOn = true;
    ASSERT_TRUE(bool(Main->frmLWParams->Hooks.Refresh3D));
    Main->frmLWParams->Hooks.Refresh3D();
    EXPECT_GT(blue(), 1000);
    v->close();
    QTRY_VERIFY_WITH_TIMEOUT(!Main->Preview3DOpen, 3000);
}

// The Barcode tool on a fresh label gives its face the first symbology.
TEST_F(MainTest, BarcodeToolGivesAnEmptyFaceABarcode) {
    NewProject();
    Select(0);
    ASSERT_EQ(Sheet().Face(0, 0).BCType, 0);
    Main->ToolButton(6)->click();
    EXPECT_EQ(Main->frmLWParams->ActiveKind(), pkBarcode);
    EXPECT_EQ(Main->lblHint->text(), "Barcode Tab Activated...");
    EXPECT_EQ(Main->frmLWParams->lstBCTypes->currentIndex(), 1);
    EXPECT_NE(Sheet().Face(0, 0).BCType, 0);
    EXPECT_EQ(Sheet().Face(1, 0).BCType, 0);
}

// A project that cannot be read is not taken on: no file name to save over, no commands.
TEST_F(MainTest, UnreadableProjectIsNotTakenOn) {
    const std::string bad = Work.File("bad.shl");
    WriteAll(bad, QByteArray(700, 'x'));
    Chosen = bad;
    Main->actOpenProject->trigger();
    EXPECT_FALSE(Msgs.Shown.empty());
    EXPECT_TRUE(Main->ProjectFile.isEmpty());
    EXPECT_FALSE(Main->actSaveProject->isEnabled());
    EXPECT_FALSE(Main->ProjectLoaded);
    EXPECT_EQ(ReadAll(bad), QByteArray(700, 'x'));
}
