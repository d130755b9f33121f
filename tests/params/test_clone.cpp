// Cloning a label's design onto other labels through the clone dialog.
#include "params/fClone.h"
#include "tests/params/uModal.h"
#include "tests/params/uParamsFixture.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace tessora;
using namespace tessora::test;

namespace {

QStringList Items(const QListWidget* l, bool checkedOnly = false) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        if (!checkedOnly || l->item(i)->checkState() == Qt::Checked) out << l->item(i)->text();
    return out;
}

} // namespace

TEST_F(ParamsTest, CloneCopiesTheDesignOntoTheCheckedLabels) {
    Make(2, 2);
    TSheetLabel& src = Sheet->Label(0);
    AddImage(0, Qt::blue);
    AddText(0, 3, 4, "Source");
    src.Face(0).BGColorOn = true;
    src.Face(0).BGColor = 0x00FFFF;
    src.OLThick = 5;
    src.VisFr = true;
    AddText(2, 1, 1, "Own text");
    AddImage(2, Qt::red);
    Sheet->Label(3).Vis = false;
    Sheet->RedrawSheet(true, true);
    std::vector<std::vector<uint8_t>> before;
    std::vector<double> x, y;
    for (int i = 0; i < 4; ++i) {
        before.push_back(LabelBytes(Sheet->Label(i)));
        x.push_back(Sheet->Label(i).X);
        y.push_back(Sheet->Label(i).Y);
    }
    Select(0);
    ResetCounters();

    QString caption, title;
    QStringList listed, checked;
    OnNextModal<TfrmClone>([&](TfrmClone* d) {
        title = d->windowTitle();
        caption = d->lblClone->text();
        listed = Items(d->lstLabels);
        checked = Items(d->lstLabels, true);
        d->btnOK->click();
    });
    P->btnClone->click();
    EXPECT_EQ(title, "Clone");
    EXPECT_EQ(caption, "Clone Label 1 to");
    EXPECT_EQ(listed, QStringList({"Label 2", "Label 3", "Label 4"}));
    EXPECT_EQ(checked, listed);

    for (int t = 1; t < 4; ++t) {
        SCOPED_TRACE(t);
        TSheetLabel& l = Sheet->Label(t);
        ASSERT_EQ(l.Face(0).Texts.size(), 1u);
        EXPECT_EQ(l.Face(0).Text(0).Text, "Source");
        ASSERT_EQ(l.Face(0).Images.size(), 1u);
        EXPECT_EQ(l.Face(0).Image(0).BGIndex, src.Face(0).Image(0).BGIndex);
        EXPECT_TRUE(l.VisFr);
        EXPECT_EQ(l.OLThick, 5);
        if (l.Vis) { // an OFF label is drawn washed out
            EXPECT_EQ(Sheet->SheetLayer.pixel(LabelRect(t).center()) | 0xFF000000u, qRgb(0, 0, 255));
        }
        EXPECT_DOUBLE_EQ(l.X, x[size_t(t)]);
        EXPECT_DOUBLE_EQ(l.Y, y[size_t(t)]);
    }
    EXPECT_TRUE(Sheet->Label(1).Vis);
    EXPECT_FALSE(Sheet->Label(3).Vis); // OFF stays OFF
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    EXPECT_EQ(UndoEnables, 1);

    Sheet->Undo();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(LabelBytes(Sheet->Label(i)), before[size_t(i)]) << "label " << i;
}

TEST_F(ParamsTest, CloneDialogNeedsATargetAndCancelChangesNothing) {
    Make(3, 1);
    AddText(0, 1, 1, "Source");
    Select(0);
    bool okAfterUnselect = true, okAfterOne = false, okAfterAll = false;
    std::vector<int> targets;
    OnNextModal<TfrmClone>([&](TfrmClone* d) {
        d->btnUnselAll->click();
        okAfterUnselect = d->btnOK->isEnabled();
        d->lstLabels->item(1)->setCheckState(Qt::Checked);
        okAfterOne = d->btnOK->isEnabled();
        targets = d->Targets();
        d->btnSelAll->click();
        okAfterAll = d->btnOK->isEnabled();
        d->btnCancel->click();
    });
    EXPECT_FALSE(P->CloneLabel(0));
    EXPECT_FALSE(okAfterUnselect);
    EXPECT_TRUE(okAfterOne);
    EXPECT_TRUE(okAfterAll);
    EXPECT_EQ(targets, std::vector<int>{2});
    EXPECT_TRUE(Sheet->UndoList.empty());
    EXPECT_TRUE(Sheet->Label(2).Face(0).Texts.empty());

    // Only the checked label receives the copy.
    OnNextModal<TfrmClone>([](TfrmClone* d) {
        d->btnUnselAll->click();
        d->lstLabels->item(1)->setCheckState(Qt::Checked);
        d->btnOK->click();
    });
    EXPECT_TRUE(P->CloneLabel(0));
    EXPECT_TRUE(Sheet->Label(1).Face(0).Texts.empty());
    EXPECT_EQ(Sheet->Label(2).Face(0).Texts.size(), 1u);
}
