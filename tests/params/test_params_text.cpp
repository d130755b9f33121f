// The Text tab: adding, editing, deleting and reordering texts through the text dialog and
// the list, their geometry, and the path panel with Draw Path on the real sheet view.
#include "tests/params/uParamsFixture.h"

#include "document/uMessages.h"
#include "params/fEditText.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace tessora;
using namespace tessora::test;

namespace {

// Answers the text dialog the next AddOrEditText opens: act on it, then OK or Cancel.
void AnswerText(std::function<void(TfrmEditText&)> act, bool ok, std::string* presetText = nullptr) {
    QTimer::singleShot(0, [act, ok, presetText] {
        auto* d = qobject_cast<TfrmEditText*>(QApplication::activeModalWidget());
        if (!d) {
            ADD_FAILURE() << "no text dialog";
            return;
        }
        if (presetText) *presetText = d->Text();
        act(*d);
        QTest::mouseClick(ok ? d->btnOK : d->btnCancel, Qt::LeftButton);
    });
}

void Type(TfrmEditText& d, const QString& text) {
    d.edtText->setPlainText(text);
}

QStringList Items(const QListWidget* l) {
    QStringList out;
    for (int i = 0; i < l->count(); ++i)
        out << l->item(i)->text();
    return out;
}

std::vector<std::string> FaceTexts(const TLabelFace& f) {
    std::vector<std::string> out;
    for (const auto& t : f.Texts)
        out.push_back(t->Text);
    return out;
}

} // namespace

class TextTabTest : public ParamsTest {
protected:
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    TLabelFace& Face() { return Sheet->Label(0).Face(0); }
    void Open(int cols = 1, uint8_t shape = lsRectangle, double depth = 0) {
        Make(cols, 1, 40, 30, 0, shape, depth);
        Select(0);
        ASSERT_TRUE(P->ShowTab("Text"));
        Sheet->ClearUndo();
        ResetCounters();
    }
};

// A new text's box starts at the label's centre, as wide as the label less 2 mm; on a box
// label it starts at the corner of the panel. Its colour stays the window-text reference,
// which the label drawing shows in the palette's window-text colour.
TEST_F(TextTabTest, AddTextPlacesTheNewTextAndDrawsIt) {
    struct Case {
        uint8_t Shape;
        double Depth, X, Y;
    };
    for (const Case& c : {Case{lsRectangle, 0, 20, 15}, Case{lsBox, 20, 0, 0}}) {
        SCOPED_TRACE(int(c.Shape));
        Open(1, c.Shape, c.Depth);
        AnswerText([](TfrmEditText& d) { Type(d, "Wq"); }, true);
        P->AddOrEditText(true);
        ASSERT_EQ(Face().Texts.size(), 1u);
        const TLabelText& t = Face().Text(0);
        EXPECT_DOUBLE_EQ(t.X, c.X);
        EXPECT_DOUBLE_EQ(t.Y, c.Y);
        EXPECT_DOUBLE_EQ(t.Width, 38);
        EXPECT_EQ(t.Text, "Wq");
        EXPECT_EQ(t.FontSize, 16);
        EXPECT_EQ(t.FontStyle, "000");
        EXPECT_EQ(t.FontColor, 0xFF000008u);
        EXPECT_EQ(Items(P->lstTObjs), QStringList{"Wq"});
        EXPECT_EQ(P->lstTObjs->currentRow(), 0);
        EXPECT_EQ(Sheet->SelIndex, 0);
        EXPECT_DOUBLE_EQ(P->edtX->Mm(), c.X);
        EXPECT_DOUBLE_EQ(P->edtWidth->Mm(), 38);
        EXPECT_EQ(Sheet->UndoList.size(), 1u);
        EXPECT_EQ(Refreshes, 1);
        EXPECT_TRUE(P->btnEdit->isEnabled());
        EXPECT_TRUE(P->btnDrawPath->isEnabled());
    }
    // The plain label: fully inked pixels have the palette's colour, right of and below the centre.
    Open();
    AnswerText([](TfrmEditText& d) { Type(d, "WWW"); }, true);
    P->AddOrEditText(true);
    const QRgb ink = QApplication::palette().color(QPalette::WindowText).rgb() | 0xFF000000u;
    const QRect r = Ink(0, ink);
    ASSERT_FALSE(r.isEmpty());
    const QRect l = LabelRect(0);
    EXPECT_GE(r.left(), l.left() + 200 - 2);
    EXPECT_GE(r.top(), l.top() + 150 - 2);
}

// Cancel leaves the face as it was and records nothing; OK on Edit replaces the text and its
// font, returns the stored underline, and cuts the stored text to 255 characters.
TEST_F(TextTabTest, EditTextAndCancel) {
    Open();
    TLabelText& t = AddText(0, 5, 5, "Old");
    t.FontStyle = "101";
    t.FontName = "Courier New";
    t.FontColor = 0x00FF00;
    P->LoadLabelParams(0, 0);

    for (bool add : {true, false}) {
        AnswerText([](TfrmEditText& d) { Type(d, "Changed"); }, false);
        P->AddOrEditText(add);
    }
    EXPECT_EQ(FaceTexts(Face()), std::vector<std::string>{"Old"});
    EXPECT_EQ(Sheet->UndoList.size(), 0u);
    EXPECT_EQ(Redraws + UndoEnables, 0);

    std::string preset;
    bool boldShown = false, italicShown = true;
    const QString longText = QString(300, QChar(0xE9)); // é: two bytes in memory, one on disk
    AnswerText(
        [&](TfrmEditText& d) {
            boldShown = d.btnBold->isChecked();
            italicShown = d.btnItalic->isChecked();
            Type(d, longText);
        },
        true, &preset);
    P->AddOrEditText(false);
    EXPECT_EQ(preset, "Old");
    EXPECT_TRUE(boldShown);
    EXPECT_FALSE(italicShown);
    ASSERT_EQ(Face().Texts.size(), 1u);
    EXPECT_EQ(QString::fromStdString(t.Text), QString(255, QChar(0xE9)));
    EXPECT_EQ(t.FontStyle, "101");
    EXPECT_EQ(t.FontName, "Courier New");
    EXPECT_EQ(t.FontColor, 0x00FF00u);
    // The list keeps the whole text until it is filled again.
    EXPECT_EQ(P->lstTObjs->item(0)->text(), longText);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
    Sheet->Undo();
    EXPECT_EQ(Sheet->Label(0).Face(0).Text(0).Text, "Old");
}

TEST_F(TextTabTest, DeleteTextSelectsTheSameOrTheNewLastIndex) {
    Open();
    for (const char* s : {"A", "B", "C", "D"})
        AddText(0, 5, 5, s);
    P->LoadLabelParams(0, 0);
    struct Step {
        int Selected;
        TMsgButton Answer;
        std::vector<std::string> Left;
        int NowSelected;
    };
    const Step steps[] = {
        {1, mbNo, {"A", "B", "C", "D"}, 1}, // only Yes deletes
        {1, mbYes, {"A", "C", "D"}, 1},     // a middle text: the same index
        {2, mbYes, {"A", "C"}, 1},          // the last one: the new last
        {0, mbYes, {"C"}, 0},
        {0, mbYes, {}, -1},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.Left.size());
        P->SelectText(s.Selected);
        Msgs.Answers = {s.Answer};
        Msgs.Shown.clear();
        QTest::mouseClick(P->btnDel, Qt::LeftButton);
        ASSERT_EQ(Msgs.Shown.size(), 1u);
        EXPECT_EQ(Msgs.Shown[0].Text, "Delete Text?");
        EXPECT_EQ(Msgs.Shown[0].Buttons, mbYes | mbNo);
        EXPECT_EQ(FaceTexts(Face()), s.Left);
        EXPECT_EQ(P->lstTObjs->count(), int(s.Left.size()));
        EXPECT_EQ(P->lstTObjs->currentRow(), s.NowSelected);
        EXPECT_EQ(Sheet->SelIndex, s.NowSelected);
        if (s.NowSelected >= 0) {
            EXPECT_EQ(P->lstTObjs->currentItem()->text().toStdString(), s.Left[size_t(s.NowSelected)]);
        }
    }
    EXPECT_EQ(Sheet->UndoList.size(), 4u);
    // Nothing left: only Add Text works.
    EXPECT_TRUE(P->btnAdd->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{P->btnEdit, P->btnDel, P->btnAlnHoriz, P->btnAlnVert,
                                                      P->edtX, P->edtY, P->edtWidth, P->lstAlignTxt,
                                                      P->lstFlip2, P->edtAngle2, P->edtPath, P->btnDrawPath})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
}

// A text dropped on another item takes its place in the list and in the drawing order,
// stays selected, and takes no undo step.
TEST_F(TextTabTest, DragAndDropReordersTheTexts) {
    Open();
    for (const char* s : {"A", "B", "C"})
        AddText(0, 5, 5, s);
    P->LoadLabelParams(0, 0);
    P->show();
    QApplication::processEvents();
    auto drop = [this](int from, int onto) {
        // A drag starts on the pressed (current) item and carries the list's own data.
        P->lstTObjs->setCurrentRow(from);
        std::unique_ptr<QMimeData> mime(P->lstTObjs->model()->mimeData({P->lstTObjs->currentIndex()}));
        const QPoint at = P->lstTObjs->visualItemRect(P->lstTObjs->item(onto)).center();
        // The enter makes the list the drag's target, which a drop needs to be delivered.
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(P->lstTObjs->viewport(), &enter);
        QDropEvent e(at, Qt::MoveAction, mime.get(), Qt::LeftButton, {});
        QApplication::sendEvent(P->lstTObjs->viewport(), &e);
    };
    drop(0, 2);
    EXPECT_EQ(FaceTexts(Face()), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(Items(P->lstTObjs), (QStringList{"B", "C", "A"}));
    EXPECT_EQ(P->lstTObjs->currentRow(), 2);
    EXPECT_EQ(Sheet->SelIndex, 2);
    EXPECT_EQ(Redraws, 1);
    drop(2, 1);
    EXPECT_EQ(FaceTexts(Face()), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(P->lstTObjs->currentRow(), 1);
    drop(1, 1); // onto itself
    EXPECT_EQ(FaceTexts(Face()), (std::vector<std::string>{"B", "A", "C"}));
    EXPECT_EQ(Sheet->UndoList.size(), 0u);
    // The selected text is the moved one: an edit writes it.
    P->edtX->SetMm(0);
    P->edtX->setValue(9);
    EXPECT_DOUBLE_EQ(Face().Text(1).X, 9);
    EXPECT_DOUBLE_EQ(Face().Text(0).X, 5);
}

// A click on the text already loaded does nothing; another one loads every geometry control.
TEST_F(TextTabTest, SelectingTheLoadedTextDoesNothing) {
    Open();
    AddText(0, 5, 6, "A");
    TLabelText& b = AddText(0, 7, 8, "B");
    b.Width = 22.5;
    b.AlignTxt = 2;
    b.Flip = 1;
    b.Angle = -90;
    P->LoadLabelParams(0, 0);
    P->show();
    Face().Text(0).X = 33; // behind the window's back
    auto click = [this](int row) {
        QTest::mouseClick(P->lstTObjs->viewport(), Qt::LeftButton, {},
                          P->lstTObjs->visualItemRect(P->lstTObjs->item(row)).center());
    };
    click(0);
    EXPECT_DOUBLE_EQ(P->edtX->Mm(), 5);
    EXPECT_EQ(Redraws, 0);
    click(1);
    EXPECT_EQ(Redraws, 1);
    EXPECT_EQ(Sheet->SelIndex, 1);
    EXPECT_DOUBLE_EQ(P->edtX->Mm(), 7);
    EXPECT_DOUBLE_EQ(P->edtY->Mm(), 8);
    EXPECT_DOUBLE_EQ(P->edtWidth->Mm(), 22.5);
    EXPECT_EQ(P->lstAlignTxt->currentIndex(), 2);
    EXPECT_EQ(P->lstFlip2->currentIndex(), 1);
    EXPECT_EQ(P->edtAngle2->value(), -90);
    EXPECT_EQ(Sheet->UndoList.size(), 0u);
}

// Each geometry control writes its field with one undo step; the align buttons centre the
// drawn text on the label; a drag of a text through the edits is one undo step.
TEST_F(TextTabTest, GeometryControlsAndAlignButtons) {
    Open();
    AddText(0, 2, 3, "Wide");
    P->LoadLabelParams(0, 0);
    P->edtWidth->setValue(25);
    P->lstAlignTxt->setCurrentIndex(1);
    P->lstFlip2->setCurrentIndex(2);
    P->edtAngle2->setValue(400); // clamped
    TLabelText& t = Face().Text(0);
    EXPECT_DOUBLE_EQ(t.Width, 25);
    EXPECT_EQ(t.AlignTxt, 1);
    EXPECT_EQ(t.Flip, 2);
    EXPECT_EQ(t.Angle, 360);
    EXPECT_EQ(Sheet->UndoList.size(), 4u);

    P->lstFlip2->setCurrentIndex(0);
    P->edtAngle2->setValue(0);
    Sheet->ClearUndo();
    QTest::mouseClick(P->btnAlnHoriz, Qt::LeftButton);
    QTest::mouseClick(P->btnAlnVert, Qt::LeftButton);
    EXPECT_EQ(Sheet->UndoList.size(), 2u);
    const QRect ink = Ink(0), l = LabelRect(0);
    ASSERT_FALSE(ink.isEmpty());
    // The text's box is centred; the ink lies inside it, so both margins stay near equal.
    const TRect& b = t.Bounds;
    const QPoint o = l.topLeft();
    EXPECT_NEAR((o.x() + b.Left) - l.left(), l.right() - (o.x() + b.Right - 1), 2);
    EXPECT_NEAR((o.y() + b.Top) - l.top(), l.bottom() - (o.y() + b.Bottom - 1), 2);

    Sheet->ClearUndo();
    Gesture.Active = true;
    Sheet->Record(true); // the main window's record at the first movement
    Gesture.UndoTaken = true;
    const double x0 = t.X, y0 = t.Y;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(P->DragObject(0.5, 0.2));
    Gesture = TDragGesture{};
    EXPECT_NEAR(t.X, x0 + 2.5, 0.05 + 1e-9);
    EXPECT_NEAR(t.Y, y0 + 1.0, 0.05 + 1e-9);
    EXPECT_EQ(Sheet->UndoList.size(), 1u);
}

TEST_F(TextTabTest, PathPointsLoadEditAndStoreInTheirShortForm) {
    Open();
    AddText(0, 5, 5, "A").Points = "1.0;2.0;#3.0;4.0;#5.0";
    AddText(0, 5, 5, "B").Points = "12.5;30.0;#";
    P->LoadLabelParams(0, 0);
    // A piece without its "#" is a cut point and is dropped.
    EXPECT_EQ(Items(P->lstPoints), (QStringList{"1.0;2.0;", "3.0;4.0;"}));
    EXPECT_EQ(P->lstPoints->currentRow(), 0);
    EXPECT_DOUBLE_EQ(P->edtPosPX->value(), 1);
    EXPECT_DOUBLE_EQ(P->edtPosPY->value(), 2);
    EXPECT_EQ(Face().Text(0).Points, "1.0;2.0;#3.0;4.0;#5.0"); // loading writes nothing

    P->SelectText(1);
    P->SetDrawPath(true);
    ResetCounters();
    QTest::mouseClick(P->btnPathUp, Qt::LeftButton);
    EXPECT_EQ(Items(P->lstPoints), QStringList{"12.5;29.5;"});
    EXPECT_EQ(Face().Text(1).Points, "12.5;29.5;#");
    EXPECT_DOUBLE_EQ(P->edtPosPY->value(), 29.5);
    for (QToolButton* b : {P->btnPathRight, P->btnPathRight, P->btnPathDown, P->btnPathLeft})
        b->click();
    EXPECT_EQ(Face().Text(1).Points, "13;30;#");
    EXPECT_EQ(Redraws, 5);
    EXPECT_EQ(Sheet->UndoList.size(), 0u); // path edits take no undo step

    QTest::mouseClick(P->btnAddPoint, Qt::LeftButton);
    EXPECT_EQ(Items(P->lstPoints), (QStringList{"13;30;", "0.0;0.0;"}));
    EXPECT_EQ(P->lstPoints->currentRow(), 1);
    EXPECT_DOUBLE_EQ(P->edtPosPX->value(), 0);
    P->edtPosPX->setValue(7.4);
    EXPECT_EQ(Face().Text(1).Points, "13;30;#7.4;0;#");

    Msgs.Answers = {mbNo, mbYes};
    QTest::mouseClick(P->btnDelPoint, Qt::LeftButton);
    EXPECT_EQ(P->lstPoints->count(), 2);
    QTest::mouseClick(P->btnDelPoint, Qt::LeftButton);
    EXPECT_EQ(Face().Text(1).Points, "13;30;#");
    EXPECT_EQ(P->lstPoints->currentRow(), 0);
    Msgs.Answers = {mbNo, mbYes};
    QTest::mouseClick(P->btnClearPoints, Qt::LeftButton);
    EXPECT_EQ(Face().Text(1).Points, "13;30;#");
    QTest::mouseClick(P->btnClearPoints, Qt::LeftButton);
    EXPECT_EQ(Face().Text(1).Points, "");
    EXPECT_EQ(Msgs.Texts(),
              (std::vector<std::string>{"Delete Point", "Delete Point", "Clear Points?", "Clear Points?"}));
    for (const auto& e : Msgs.Shown)
        EXPECT_EQ(e.Buttons, mbYes | mbNo);
    EXPECT_TRUE(P->btnAddPoint->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{P->lstPoints, P->edtPosPX, P->edtPosPY, P->btnPathUp,
                                                      P->btnPathLeft, P->btnDelPoint, P->btnClearPoints})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    // The other text kept its path.
    EXPECT_EQ(Face().Text(0).Points, "1.0;2.0;#3.0;4.0;#5.0");
}

// A path longer than a text can store keeps only whole points; it loads back as stored.
TEST_F(TextTabTest, LongPathsKeepWholePoints) {
    Open();
    AddText(0, 5, 5, "A");
    P->LoadLabelParams(0, 0);
    for (int i = 0; i < 30; ++i)
        P->AddPoint(123.4, 56.7 + i); // "123.4;56.7;#" is 12 characters
    const std::string& pts = Face().Text(0).Points;
    EXPECT_LE(pts.size(), 255u);
    EXPECT_EQ(pts.size(), 21u * 12);
    EXPECT_EQ(pts.back(), '#');
    EXPECT_EQ(P->lstPoints->count(), 30); // the list keeps what was added
    P->LoadLabelParams(0, 0);
    EXPECT_EQ(P->lstPoints->count(), 21);
    EXPECT_EQ(P->lstPoints->item(20)->text(), "123.4;76.7;");
}

// Draw Path zooms to the label and shows the path panel; presses on the label in the sheet
// view add points at the pressed spot in mm; a tab change releases it.
TEST_F(TextTabTest, DrawPathTakesPointsFromPressesOnTheSheetView) {
    Open(2);
    AddText(0, 5, 5, "A");
    P->LoadLabelParams(0, 0);
    Main->show();
    P->show();
    QApplication::processEvents();
    EXPECT_FALSE(P->PathPanelVisible());
    EXPECT_TRUE(P->pnlPath->isHidden() || !P->pnlPath->isVisible());

    QTest::mouseClick(P->btnDrawPath, Qt::LeftButton);
    EXPECT_TRUE(P->DrawPathOn());
    EXPECT_TRUE(P->PathPanelVisible());
    EXPECT_TRUE(P->pnlPath->isVisible());
    EXPECT_EQ(P->btnDrawPath->text(), "Edit Text");
    EXPECT_TRUE(Sheet->Zoomed);
    EXPECT_TRUE(Frame->PathMode());
    EXPECT_EQ(Frame->SelectShape->cursor().shape(), Frame->PathCursor.shape());

    const QRect r = LabelRect(0);
    ASSERT_GT(r.width(), 400); // zoomed in beyond 10 px/mm
    auto press = [this](double fx, double fy, QRect lr) {
        const QPoint view(lr.left() + int(fx * lr.width()), lr.top() + int(fy * lr.height()));
        QTest::mouseClick(Frame->SelectShape, Qt::LeftButton, {}, view - Frame->SelectShape->pos());
    };
    press(0.25, 0.5, r);
    press(0.75, 0.1, r);
    press(-0.002, 0.5, r); // in the frame, outside the label
    ASSERT_EQ(P->lstPoints->count(), 2);
    // Items are "x;y;" with one decimal and a point.
    for (auto [row, x, y] : {std::tuple{0, 10.0, 15.0}, std::tuple{1, 30.0, 3.0}}) {
        const QString item = P->lstPoints->item(row)->text();
        EXPECT_TRUE(QRegularExpression(R"(^-?\d+\.\d;-?\d+\.\d;$)").match(item).hasMatch())
            << item.toStdString();
        const QStringList n = item.split(';');
        EXPECT_NEAR(n[0].toDouble(), x, 0.15) << row;
        EXPECT_NEAR(n[1].toDouble(), y, 0.15) << row;
    }
    EXPECT_EQ(P->lstPoints->currentRow(), 1);
    // The main window selects the pressed text again after each press: the new point stays selected.
    P->SelectText(0);
    EXPECT_EQ(P->lstPoints->currentRow(), 1);
    EXPECT_EQ(Face().Text(0).Points,
              (P->lstPoints->item(0)->text() + "#" + P->lstPoints->item(1)->text() + "#").toStdString());

    // Arrow-key nudges leave the text alone while the panel shows.
    EXPECT_FALSE(P->NudgeObject(1, 0));
    EXPECT_DOUBLE_EQ(Face().Text(0).X, 5);

    ASSERT_TRUE(P->ShowTab("Graphic"));
    EXPECT_FALSE(P->DrawPathOn());
    EXPECT_FALSE(P->PathPanelVisible());
    EXPECT_FALSE(Sheet->Zoomed);
    EXPECT_FALSE(Frame->PathMode());
    EXPECT_EQ(P->btnDrawPath->text(), "Draw Path");
    EXPECT_EQ(Frame->SelectShape->cursor().shape(), Qt::PointingHandCursor);
    // Presses no longer add points.
    ASSERT_TRUE(P->ShowTab("Text"));
    press(0.5, 0.5, LabelRect(0));
    EXPECT_EQ(P->lstPoints->count(), 2);
}

// The tab, the path panel and the text dialog fit their windows with nothing clipped. With
// TESSORA_TEXT_SHOTS naming a folder, the three pictures are saved there.
TEST_F(TextTabTest, TabPanelAndDialogFitTheirWindows) {
    Open(2);
    AddText(0, 4, 4, "Tessora Labels");
    AddText(0, 4, 14, "Best before 12/2027").Points = "2.0;20.0;#12.5;5.0;#25.0;22.5;#38.0;8.0;#";
    AddText(0, 4, 24, "Batch 0042");
    P->LoadLabelParams(0, 0);
    P->SelectText(1);
    P->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(P));
    const QString dir = qEnvironmentVariable("TESSORA_TEXT_SHOTS");
    auto fits = [](QWidget* page) {
        for (QWidget* w : page->findChildren<QWidget*>()) {
            if (!w->isVisible() || w->parentWidget() == nullptr) continue;
            const QRect r(w->mapTo(page, QPoint(0, 0)), w->size());
            EXPECT_TRUE(page->rect().contains(r))
                << w->objectName().toStdString() << " " << w->metaObject()->className();
            // Squeezed below what it needs to show itself, unless its width is set on purpose.
            if (w->minimumWidth() != w->maximumWidth()) {
                EXPECT_GE(w->width(), w->minimumSizeHint().width() - 1) << w->objectName().toStdString();
            }
        }
    };
    auto shoot = [&dir](QWidget* w, const char* name) {
        if (!dir.isEmpty()) {
            EXPECT_TRUE(w->grab().save(dir + "/" + name));
        }
    };
    fits(P->tsText);
    shoot(P, "params-text.png");
    P->SetDrawPath(true);
    QApplication::processEvents();
    fits(P->tsText);
    shoot(P, "params-path.png");
    P->SetDrawPath(false);

    bool checked = false;
    AnswerText(
        [&](TfrmEditText& d) {
            d.edtText->setPlainText("Tessora Labels\nSecond line");
            QApplication::processEvents();
            EXPECT_EQ(d.size(), QSize(554, 326));
            fits(&d);
            shoot(&d, "edittext.png");
            checked = true;
        },
        false);
    P->AddOrEditText(false);
    EXPECT_TRUE(checked);
}

// On a box a path belongs to one panel and is drawn from that panel's corner, so a press
// is measured from there too.
TEST_F(TextTabTest, PathPressesOnABoxAreMeasuredFromThePanel) {
    Open(1, lsBox, 20);
    Sheet->Label(0).Face(4).Texts.push_back(std::make_unique<TLabelText>(1, 1, 20));
    Sheet->CurFace = 4;
    P->LoadLabelParams(0, 4);
    P->SetDrawPath(true);
    ASSERT_TRUE(Sheet->Zoomed);
    const QRect l = LabelRect(0);
    const QRect panel = Sheet->BoxPanelRect(4, l.left(), l.top());
    const QSize face = Sheet->FaceExtent();
    ASSERT_EQ(panel.size(), face);
    const double pxPerMm = double(l.width()) / Sheet->Header.ExtentAcross();
    const QPoint at = panel.topLeft() + QPoint(RoundHalfEven(5 * pxPerMm), RoundHalfEven(4 * pxPerMm));
    QTest::mouseClick(Frame->SelectShape, Qt::LeftButton, {}, at - Frame->SelectShape->pos());
    ASSERT_EQ(P->lstPoints->count(), 1);
    const QStringList n = P->lstPoints->item(0)->text().split(';');
    EXPECT_NEAR(n[0].toDouble(), 5, 0.15);
    EXPECT_NEAR(n[1].toDouble(), 4, 0.15);
    EXPECT_FALSE(Sheet->Label(0).Face(4).Text(0).Points.empty());
}
