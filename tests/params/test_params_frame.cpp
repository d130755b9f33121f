// The parameters window's frame: tabs and their visibility, caption, selection kind from the
// active tab, the strip that moves the window, collapsing, the undo buttons, the about box.
#include "barcode/Barcode.h"
#include "document/uMessages.h"
#include "params/fAbout.h"
#include "tests/params/uParamsFixture.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

QStringList VisibleTabs(const TfrmLWParams& p) {
    QStringList out;
    for (int i = 0; i < p.pgcParams->count(); ++i)
        if (p.pgcParams->isTabVisible(i)) out << p.pgcParams->tabText(i);
    return out;
}

} // namespace

TEST_F(ParamsTest, TabsFollowTheSelection) {
    Make(3, 2);
    AddImage(4, Qt::red);
    EXPECT_EQ(P->pgcParams->count(), 9);
    EXPECT_EQ(VisibleTabs(*P), QStringList({"Info", "Serial", "Settings"}));
    EXPECT_EQ(P->pgcParams->currentWidget(), P->tsInfo);
    EXPECT_EQ(P->windowTitle(), "Parameters");

    Select(1); // no images: no Filters
    EXPECT_EQ(VisibleTabs(*P), QStringList({"Info", "Serial", "Control", "Graphic", "Text", "Barcode",
                                            "Outline", "Settings"}));
    EXPECT_EQ(P->pgcParams->currentWidget(), P->tsGraphic); // left Info for Graphic
    EXPECT_EQ(P->windowTitle(), "Parameters. Label 1,2");
    EXPECT_EQ(P->lblCaption->text(), "Parameters. Label 1,2");

    Select(4); // row 2, column 2, with an image
    EXPECT_EQ(VisibleTabs(*P), QStringList({"Info", "Serial", "Control", "Graphic", "Filters", "Text",
                                            "Barcode", "Outline", "Settings"}));
    EXPECT_EQ(P->windowTitle(), "Parameters. Label 2,2");
    ASSERT_TRUE(P->ShowTab("Filters"));

    Select(5); // the Filters tab goes with the images; a label tab stays active
    EXPECT_FALSE(VisibleTabs(*P).contains("Filters"));
    EXPECT_EQ(P->windowTitle(), "Parameters. Label 2,3");
    EXPECT_NE(P->pgcParams->currentWidget(), P->tsInfo);
    // The selection kind follows the tab Qt fell back on.
    const int kinds[] = {255, 255, 2, 1, 0, 255};
    EXPECT_EQ(Sheet->SelKind, kinds[P->ActiveKind()]);

    Sheet->HotLabel = -1;
    Sheet->SelectHotLabel();
    P->ShowLabel(-1);
    EXPECT_EQ(VisibleTabs(*P), QStringList({"Info", "Serial", "Settings"}));
    EXPECT_EQ(P->pgcParams->currentWidget(), P->tsInfo);
    EXPECT_EQ(P->windowTitle(), "Parameters");
    EXPECT_FALSE(P->ShowTab("Graphic"));
}

TEST_F(ParamsTest, SelectionKindFollowsTheActiveTab) {
    Make(1, 1, 60, 40);
    AddImage(0, Qt::red);
    AddImage(0, Qt::blue);
    AddText(0, 5, 5, "One");
    AddText(0, 5, 20, "Two");
    Sheet->Label(0).Face(0).BCType = 5;
    Sheet->Label(0).Face(0).BCText = "123";
    Select(0); // shows the Graphic tab
    P->SelectImage(1);
    P->SelectText(1);
    struct Case {
        const char* Tab;
        int Kind, SelKind, SelIndex;
    };
    const Case cases[] = {
        {"Text", 3, 1, 1},       {"Graphic", 2, 2, 1},    {"Filters", 2, 2, 1}, {"Barcode", 4, 0, 5},
        {"Control", 1, 255, -2}, {"Outline", 5, 255, -2}, {"Info", 0, 255, -2}, {"Serial", 0, 255, -2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Tab);
        const uint8_t before = Sheet->SelKind;
        Sheet->SelIndex = -2;
        ResetCounters();
        ASSERT_TRUE(P->ShowTab(c.Tab));
        EXPECT_EQ(P->ActiveKind(), c.Kind);
        EXPECT_EQ(Sheet->SelKind, c.SelKind);
        EXPECT_EQ(Sheet->SelIndex, c.SelIndex);
        // The label is redrawn (the frame of the selected object moves) only when the kind changed.
        EXPECT_EQ(Redraws, before != c.SelKind ? 1 : 0);
        EXPECT_EQ(Sheet->UndoList.size(), 0u);
    }
    // A direct call does the same without a tab change.
    P->pgcParams->setCurrentWidget(P->tsText);
    Sheet->SelKind = 255;
    P->SyncSelection();
    EXPECT_EQ(Sheet->SelKind, 1);
    EXPECT_EQ(Sheet->SelIndex, 1);
}

TEST_F(ParamsTest, StripMovesTheWindow) {
    Make(1, 1);
    P->ShowInfo();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(P));
    EXPECT_EQ(P->pnlTop->height(), TfrmLWParams::StripHeight);
    EXPECT_TRUE(P->lblCaption->font().bold());
    for (QWidget* by : {static_cast<QWidget*>(P->pnlTop), static_cast<QWidget*>(P->lblCaption)}) {
        SCOPED_TRACE(by->objectName().toStdString());
        const QPoint start = P->pos();
        QTest::mousePress(by, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(by, QPoint(65, 35));
        QTest::mouseRelease(by, Qt::LeftButton, {}, QPoint(65, 35));
        EXPECT_EQ(P->pos() - start, QPoint(60, 30));
        // Moving without the button pressed leaves it.
        const QPoint after = P->pos();
        QTest::mouseMove(by, QPoint(10, 10));
        EXPECT_EQ(P->pos(), after);
    }
}

TEST_F(ParamsTest, CollapsingKeepsTheWindowAtTheMainWindowsRightEdge) {
    Make(1, 1);
    const QRect m = Main->geometry(); // 1000 x 700 at (100, 100)
    P->ShowInfo();
    EXPECT_FALSE(P->Collapsed());
    P->btnClose->click();
    EXPECT_TRUE(P->Collapsed());
    EXPECT_EQ(P->width(), TfrmLWParams::CollapsedWidth);
    EXPECT_EQ(P->x(), m.right() + 1 - TfrmLWParams::CollapsedWidth - 12);
    EXPECT_EQ(P->y(), m.bottom() + 1 - P->height() - 30);
    EXPECT_FALSE(P->pgcParams->isVisible());
    P->ToggleCollapsed();
    EXPECT_FALSE(P->Collapsed());
    P->move(0, 0);
    P->PlaceAtMainWindow();
    EXPECT_EQ(P->x(), m.right() + 1 - TfrmLWParams::ExpandedWidth - 12);
    EXPECT_EQ(P->size(), QSize(TfrmLWParams::ExpandedWidth, TfrmLWParams::ExpandedHeight));
    EXPECT_EQ(P->x(), m.right() + 1 - TfrmLWParams::ExpandedWidth - 12);
    EXPECT_EQ(P->y(), m.bottom() + 1 - TfrmLWParams::ExpandedHeight - 32);
    EXPECT_TRUE(P->pgcParams->isVisible());
}

TEST_F(ParamsTest, UndoButtonsRunTheMainWindowsActions) {
    QAction undo, redo;
    int undone = 0, redone = 0;
    QObject::connect(&undo, &QAction::triggered, [&] { ++undone; });
    QObject::connect(&redo, &QAction::triggered, [&] { ++redone; });
    undo.setEnabled(false);
    P->BindUndoRedo(&undo, &redo);
    EXPECT_FALSE(P->btnUndo->isEnabled());
    EXPECT_TRUE(P->btnRedo->isEnabled());
    undo.setEnabled(true);
    EXPECT_TRUE(P->btnUndo->isEnabled());
    P->btnUndo->click();
    P->btnRedo->click();
    P->btnRedo->click();
    EXPECT_EQ(undone, 1);
    EXPECT_EQ(redone, 2);
}

TEST(AboutBox, ShowsTheVersionAndOpensItsAddress) {
    TTempDir dir;
    const std::string log = dir.File("opened.txt");
    const std::string script = dir.File("open.sh");
    WriteAll(script, QByteArray("#!/bin/sh\necho \"$1\" >> '") + log.c_str() + "'\n");
    QFile::setPermissions(QString::fromStdString(script), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    qputenv("TESSORA_OPEN", script.c_str());
    {
        TfrmAbout about;
        EXPECT_EQ(about.windowTitle(), "About");
        EXPECT_EQ(about.lblVersion->text(), "v 5.0.0");
        QTest::mouseClick(about.lblWWW, Qt::LeftButton);
        // The opener runs detached: wait for what it wrote.
        for (int i = 0; i < 200 && ReadAll(log).trimmed().isEmpty(); ++i)
            QTest::qWait(50);
        EXPECT_EQ(ReadAll(log).trimmed(), about.lblWWW->text().toUtf8());
    }
    qunsetenv("TESSORA_OPEN");
}

// The window as it is painted: the navy strip over the tabs, with a label loaded. With
// TESSORA_PARAMS_SHOT set, the picture is also saved there.
TEST_F(ParamsTest, PaintsTheNavyStripOverTheTabs) {
    Make(3, 4, 60, 40);
    AddImage(4, Qt::red);
    AddImage(4, QColor(40, 120, 200));
    AddText(4, 8, 6, "Tessora");
    Sheet->Label(4).Face(0).Image(1).X = 12.5;
    Sheet->Label(4).Face(0).Image(1).Y = 8;
    Sheet->Label(4).Face(0).BCType = 1 + bcCode128B;
    Sheet->Label(4).Face(0).BCLeft = 12.5;
    Sheet->Label(4).Face(0).BCTop = 20;
    P->ShowInfo();
    Select(4);
    P->SelectImage(1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(P));
    const QImage shot = P->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(TfrmLWParams::ExpandedWidth, TfrmLWParams::ExpandedHeight));
    const int mid = shot.width() / 2;
    EXPECT_EQ(shot.pixel(mid, 1 + TfrmLWParams::StripHeight / 2), qRgb(0, 0, 128));
    EXPECT_NE(shot.pixel(mid, 1 + TfrmLWParams::StripHeight + 40), qRgb(0, 0, 128));
    // The caption is written in white on the strip.
    bool white = false;
    for (int x = 1; x < mid && !white; ++x)
        for (int y = 1; y <= TfrmLWParams::StripHeight && !white; ++y)
            white = shot.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_TRUE(white);
    const QString path = qEnvironmentVariable("TESSORA_PARAMS_SHOT");
    if (!path.isEmpty()) {
        EXPECT_TRUE(shot.save(path));
    }
}

TEST_F(ParamsTest, OrderLinkThatCannotBeOpenedSaysSo) {
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    qputenv("TESSORA_OPEN", "/nonexistent/opener");
    Make(1, 1);
    P->ShowInfo();
    QTest::mouseClick(P->lblOrderWWW, Qt::LeftButton);
    qunsetenv("TESSORA_OPEN");
    ASSERT_EQ(msgs.Shown.size(), 1u);
    EXPECT_NE(msgs.Shown[0].Text.find(TfrmLWParams::kOrderWebAddress), std::string::npos);
}
