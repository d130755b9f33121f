// The Graphic and Filters tabs: the image list and its edits, inserting, removing and
// reordering images, and the filter controls with the filter list text.
#include "document/uMessages.h"
#include "tests/params/uParamsFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QDropEvent>
#include <QFile>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

QStringList Items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

std::vector<int> Indices(TLabelFace& f) {
    std::vector<int> out;
    for (const auto& im : f.Images)
        out.push_back(im->BGIndex);
    return out;
}

} // namespace

TEST_F(ParamsTest, ControlsAndFiltersTabFollowTheImageCount) {
    Make(1, 1);
    for (QColor c : {Qt::red, Qt::green, Qt::blue})
        AddImage(0, c);
    Select(0);
    TLabelFace& f = Sheet->Label(0).Face(0);
    const QStringList names = Items(P->lstBGFiles);
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), 3);
    auto filtersShown = [this] { return P->pgcParams->isTabVisible(P->pgcParams->indexOf(P->tsFilter)); };
    EXPECT_TRUE(filtersShown());

    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    // "No" leaves everything.
    P->SelectImage(1);
    P->btnClear->click();
    ASSERT_EQ(msgs.Shown.size(), 1u);
    EXPECT_EQ(msgs.Shown[0].Text, "Remove " + names[1].toStdString() + " Image from current label?");
    EXPECT_EQ(msgs.Shown[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(f.Images.size(), 3u);
    EXPECT_TRUE(Sheet->UndoList.empty());

    // A middle one keeps the index, the last one selects the new last.
    const std::vector<int> before = Indices(f);
    msgs.Answers = {mbYes, mbYes, mbYes};
    P->btnClear->click();
    EXPECT_EQ(Items(P->lstBGFiles), QStringList({names[0], names[2]}));
    EXPECT_EQ(P->lstBGFiles->currentRow(), 1);
    EXPECT_EQ(Sheet->SelIndex, 1);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    P->btnClear->click();
    EXPECT_EQ(Items(P->lstBGFiles), QStringList({names[0]}));
    EXPECT_EQ(P->lstBGFiles->currentRow(), 0);
    EXPECT_TRUE(filtersShown());

    P->btnClear->click();
    EXPECT_TRUE(f.Images.empty());
    EXPECT_EQ(Sheet->SelIndex, -1);
    EXPECT_FALSE(filtersShown());
    EXPECT_TRUE(P->btnBGFile->isEnabled());
    for (QWidget* w :
         std::initializer_list<QWidget*>{P->btnClear, P->btnImgUp, P->btnImgDown, P->edtBGX, P->edtBGY,
                                         P->lstAlign, P->lstAlign2, P->edtScale, P->edtAngle, P->lstFlip})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    // Three undo steps bring the three images back in their order.
    while (Sheet->Undo()) {
    }
    // Undo replaces the label's faces: read the face again.
    EXPECT_EQ(Indices(Sheet->Label(0).Face(0)), before);
}

TEST_F(ParamsTest, InsertImageCopiesIntoImportImages) {
    Make(1, 1);
    AddImage(0, Qt::red);
    Select(0);
    TLabelFace& f = Sheet->Label(0).Face(0);
    TTempDir elsewhere;
    const QString src = QString::fromStdString(elsewhere.File("Photo.png"));
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::blue);
    ASSERT_TRUE(img.save(src));
    QString chosen;
    int dialogs = 0;
    P->OpenPictureDialog = [&] {
        ++dialogs;
        return chosen;
    };
    ResetCounters();

    // Cancelled: nothing happens.
    P->btnBGFile->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(f.Images.size(), 1u);

    chosen = src;
    P->btnBGFile->click();
    const std::string target = ProgramFolder() + "Import Images/Photo.png";
    EXPECT_TRUE(FileExists(target));
    ASSERT_EQ(f.Images.size(), 2u);
    EXPECT_EQ(Sheet->ImageFileName(0, 0, 0), target);
    EXPECT_EQ(Items(P->lstBGFiles).front(), "Photo.png");
    EXPECT_EQ(P->lstBGFiles->currentRow(), 0);
    EXPECT_EQ(Sheet->SelIndex, 0);
    EXPECT_TRUE(Sheet->UndoList.empty()); // no undo step
    EXPECT_GE(Saves, 1);
    EXPECT_GE(Redraws, 1);
    // The blue picture is drawn, in its proportions.
    const QSize drawn = Ink(0, qRgb(0, 0, 255)).size();
    EXPECT_NEAR(drawn.width(), 2 * drawn.height(), 3);

    // A file that is not a picture adds nothing and the list still matches the face.
    const QString bad = QString::fromStdString(elsewhere.File("broken.png"));
    QFile b(bad);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("not a picture");
    b.close();
    P->SelectImage(1);
    chosen = bad;
    P->btnBGFile->click();
    EXPECT_EQ(f.Images.size(), 2u);
    EXPECT_EQ(P->lstBGFiles->count(), 2);
    EXPECT_EQ(P->lstBGFiles->currentRow(), 1);
    EXPECT_EQ(Sheet->SelIndex, 1);
}

TEST_F(ParamsTest, ImagesMoveByDragAndDropAndByTheButtons) {
    Make(1, 1);
    for (QColor c : {Qt::red, Qt::green, Qt::blue})
        AddImage(0, c);
    Select(0);
    TLabelFace& f = Sheet->Label(0).Face(0);
    const std::vector<int> start = Indices(f);
    const QStringList names = Items(P->lstBGFiles);
    P->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(P));
    P->lstBGFiles->doItemsLayout();

    // Dropping the front item on the last one sends it to the back.
    auto drop = [this](int from, int onto) {
        P->lstBGFiles->setCurrentRow(from);
        QMimeData* mime = P->lstBGFiles->model()->mimeData({P->lstBGFiles->currentIndex()});
        const QPoint at = P->lstBGFiles->visualItemRect(P->lstBGFiles->item(onto)).center();
        QWidget* vp = P->lstBGFiles->viewport();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &move);
        QDropEvent ev(at, Qt::CopyAction | Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(vp, &ev);
        delete mime;
    };
    drop(0, 2);
    EXPECT_EQ(Indices(f), (std::vector<int>{start[1], start[2], start[0]}));
    EXPECT_EQ(Items(P->lstBGFiles), QStringList({names[1], names[2], names[0]}));
    EXPECT_EQ(P->lstBGFiles->currentRow(), 2);
    EXPECT_EQ(Sheet->SelIndex, 2);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    drop(1, 1); // onto itself: nothing
    EXPECT_EQ(Sheet->UndoList.size(), 1u);

    P->SelectImage(2);
    P->btnImgUp->click();
    EXPECT_EQ(Indices(f), (std::vector<int>{start[1], start[0], start[2]}));
    EXPECT_EQ(P->lstBGFiles->currentRow(), 1);
    P->SelectImage(0);
    P->btnImgUp->click(); // already in front
    P->SelectImage(2);
    P->btnImgDown->click(); // already at the back
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
    while (Sheet->Undo()) {
    }
    // Undo replaces the label's faces: read the face again.
    EXPECT_EQ(Indices(Sheet->Label(0).Face(0)), start);
}

TEST_F(ParamsTest, ScaleAngleAndFlipRebuildThePicture) {
    Make(1, 1, 40, 30);
    AddImage(0, Qt::blue, 100, 50);
    Select(0);
    TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
    const QSize full = Ink(0, qRgb(0, 0, 255)).size();
    ASSERT_GT(full.width(), 40);

    P->edtScale->setValue(50);
    EXPECT_EQ(im.Scale, 50);
    const QSize half = Ink(0, qRgb(0, 0, 255)).size();
    EXPECT_NEAR(half.width(), full.width() / 2.0, 2);
    EXPECT_NEAR(half.height(), full.height() / 2.0, 2);
    P->edtAngle->setValue(90);
    EXPECT_EQ(im.Angle, 90);
    const QSize turned = Ink(0, qRgb(0, 0, 255)).size();
    EXPECT_NEAR(turned.width(), half.height(), 3);
    EXPECT_NEAR(turned.height(), half.width(), 3);
    P->lstFlip->setCurrentIndex(2);
    EXPECT_EQ(im.Flip, 2);
    EXPECT_EQ(Sheet->UndoList.size(), 3u);

    // Loading another label and coming back shows the stored values.
    P->edtScale->setValue(0);
    EXPECT_TRUE(Ink(0, qRgb(0, 0, 255)).isEmpty()); // zero size draws nothing
    Select(0);
    EXPECT_EQ(P->edtScale->value(), 0);
    EXPECT_EQ(P->edtAngle->value(), 90);
    EXPECT_EQ(P->lstFlip->currentText(), "Vertical");
}

// The filter list text read into the controls and written back unchanged.
TEST_F(ParamsTest, FilterTextGoesThroughTheControlsBothWays) {
    struct Case {
        const char* Text;
        std::vector<int> Checked; // list rows
    };
    const Case cases[] = {
        {"1_0;0;#", {1}}, {"1_-40;150;#2_7;#", {1, 2}}, {"3_2.50;#", {3}}, {"4_;#5_;#", {4, 5}}, {"", {}},
    };
    Make(1, 1);
    AddImage(0, Qt::red);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
        im.Filters = c.Text;
        im.Fade = 60;
        Select(0);
        for (int row = 0; row < 6; ++row) {
            const bool want = std::find(c.Checked.begin(), c.Checked.end(), row) != c.Checked.end();
            EXPECT_EQ(P->lstFilters->item(row)->checkState() == Qt::Checked, want) << "row " << row;
        }
        EXPECT_EQ(P->edtFade->value(), 60);
        EXPECT_EQ(P->chbGrey->isChecked(), std::string(c.Text).find("4_") != std::string::npos);
        ResetCounters();
        P->ApplyImage(true, true);
        EXPECT_EQ(im.Filters, c.Text);
        EXPECT_EQ(im.Fade, 60);
    }
    // Values of the first case went into the controls.
    Sheet->Label(0).Face(0).Image(0).Filters = "1_-40;150;#3_2.50;#";
    Select(0);
    EXPECT_EQ(P->barBrightness->value(), -40);
    EXPECT_EQ(P->barContrast->value(), 150);
    EXPECT_DOUBLE_EQ(P->edtBlur->value(), 2.5);
}

TEST_F(ParamsTest, EditingFiltersWritesTheCheckedOnes) {
    Make(1, 1, 40, 30);
    AddImage(0, Qt::red);
    Select(0);
    TLabelImage& im = Sheet->Label(0).Face(0).Image(0);
    ASSERT_TRUE(P->ShowTab("Filters"));
    auto check = [this](int row, bool on) {
        P->lstFilters->setCurrentRow(row);
        P->lstFilters->item(row)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };

    // An unchecked filter's slider stays in the control.
    P->lstFilters->setCurrentRow(1);
    EXPECT_EQ(P->pgcFilter->currentIndex(), 1);
    P->barBrightness->setValue(30);
    EXPECT_EQ(im.Filters, "");
    P->barBrightness->setValue(0);
    check(1, true);
    EXPECT_EQ(im.Filters, "1_0;0;#");
    check(1, false);

    // Grey then Negative: the check boxes and the items mirror each other.
    check(4, true);
    EXPECT_TRUE(P->chbGrey->isChecked());
    P->lstFilters->setCurrentRow(5);
    Sheet->ClearUndo();
    P->chbNegative->setChecked(true); // one edit, one undo step, though it also checks the item
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    EXPECT_EQ(P->lstFilters->item(5)->checkState(), Qt::Checked);
    EXPECT_EQ(im.Filters, "4_;#5_;#");
    // The red picture is turned grey first, then inverted: a light grey.
    const QRgb px = Sheet->SheetLayer.pixel(LabelRect(0).center());
    EXPECT_EQ(qRed(px), qGreen(px));
    EXPECT_EQ(qGreen(px), qBlue(px));
    EXPECT_GT(qRed(px), 128);
    check(4, false);
    check(5, false);
    EXPECT_FALSE(P->chbGrey->isChecked());

    P->lstFilters->setCurrentRow(3);
    P->edtBlur->setValue(2.5);
    check(3, true);
    EXPECT_EQ(im.Filters, "3_2.50;#");

    // Fade: unchecking "Fade Out" sets 0; checking it again does not bring 70 back.
    P->lstFilters->setCurrentRow(0);
    P->edtFade->setValue(70);
    EXPECT_EQ(im.Fade, 70);
    check(0, true);
    EXPECT_EQ(im.Fade, 70);
    check(0, false);
    EXPECT_EQ(P->edtFade->value(), 0);
    EXPECT_EQ(im.Fade, 0);
    check(0, true);
    EXPECT_EQ(im.Fade, 0);
}
