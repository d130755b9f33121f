// The colour picker: the hue ring, the bars and the swatch following each other, opening for a
// target and OK, modal use, and the eyedropper over the sheet view.
#include "params/fColorPicker.h"
#include "params/uHueRing.h"
#include "tests/params/uParamsFixture.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tessora;
using namespace tessora::test;

namespace {

class PickerTest : public ParamsTest {
protected:
    TfrmColorPicker* Picker = nullptr;
    THueRing* Ring = nullptr;
    std::vector<std::pair<int, QColor>> Calls;

    void SetUp() override {
        ParamsTest::SetUp();
        Picker = new TfrmColorPicker(Main.get());
        Ring = Picker->clrPicker2;
        Picker->SetSheetFrame(Frame);
        Picker->OnOK = [this](int target, QColor c) { Calls.emplace_back(target, c); };
    }
    // What the user sees in the swatch.
    QColor Swatch() const {
        const QImage img = Picker->shpColor->grab().toImage();
        return img.pixelColor(img.width() / 2, img.height() / 2);
    }
    QColor Bars() const {
        return QColor(Picker->scbR->value(), Picker->scbG->value(), Picker->scbB->value());
    }
    QStringList Values() const {
        return {Picker->lblR2->text(), Picker->lblG2->text(), Picker->lblB2->text()};
    }
    // Waits for the eyedropper's single sample (its timer is 1 ms).
    void WaitSample() {
        for (int i = 0; i < 200 && Picker->tmrSample->isActive(); ++i)
            QTest::qWait(5);
        QTest::qWait(5);
    }
    // A point of the view image whose layer pixel has the colour and that lies inside the rect.
    QPoint Find(QRgb colour, QRect within) const {
        for (int y = within.top() + 5; y < within.bottom() - 5; ++y)
            for (int x = within.left() + 5; x < within.right() - 5; ++x)
                if ((Sheet->SheetLayer.pixel(x, y) | 0xFF000000u) == colour) return {x, y};
        return {-1, -1};
    }
};

int HueDistance(int a, int b) {
    const int d = std::abs(a - b) % 360;
    return std::min(d, 360 - d);
}

} // namespace

TEST_F(PickerTest, BarsMoveTheRingAndTheSwatch) {
    Picker->OpenFor(ptLabelColor, Qt::black);
    Picker->scbR->setValue(255);
    EXPECT_EQ(Picker->Color(), QColor(255, 0, 0));
    EXPECT_EQ(Swatch(), QColor(255, 0, 0));
    EXPECT_EQ(Values(), QStringList({"255", "0", "0"}));
    EXPECT_EQ(Ring->Hue(), 0);
    EXPECT_EQ(Ring->Color(), QColor(255, 0, 0));

    struct Step {
        QScrollBar* bar;
        int value;
        QColor colour;
        int hue;
    } steps[] = {
        {Picker->scbG, 255, QColor(255, 255, 0), 60},
        {Picker->scbR, 0, QColor(0, 255, 0), 120},
        {Picker->scbB, 255, QColor(0, 255, 255), 180},
        {Picker->scbG, 0, QColor(0, 0, 255), 240},
    };
    for (const Step& s : steps) {
        s.bar->setValue(s.value);
        EXPECT_EQ(Picker->Color(), s.colour) << s.hue;
        EXPECT_EQ(Swatch(), s.colour) << s.hue;
        EXPECT_EQ(Ring->Hue(), s.hue);
    }
    // A grey has no hue: the ring keeps the one it had, the square goes to its lightness.
    Picker->scbR->setValue(128);
    Picker->scbG->setValue(128);
    Picker->scbB->setValue(128);
    EXPECT_EQ(Ring->Hue(), 240);
    EXPECT_EQ(Ring->Saturation(), 0);
    EXPECT_EQ(Ring->Lightness(), 128);
    EXPECT_EQ(Swatch(), QColor(128, 128, 128));
}

// A click picks the colour drawn under it, and the bars follow without the ring being reset.
TEST_F(PickerTest, RingClicksPickWhatIsDrawnThere) {
    Picker->show();
    Picker->ShowColor(QColor(40, 40, 200), true); // markers at hue 240, S/L of that blue
    const QImage drawn = Ring->grab().toImage();
    // The ring sets the hue and keeps saturation and lightness; the square sets those two.
    struct Case {
        QPoint at;
        bool ring;
    } cases[] = {
        {Ring->HuePoint(0), true},
        {Ring->HuePoint(90), true},
        {Ring->HuePoint(150), true},
        {Ring->HuePoint(330), true},
        {Ring->SquarePoint(255, 64), false},
        {Ring->SquarePoint(60, 200), false},
        {Ring->SquarePoint(255, 128), false},
    };
    const QColor blue(40, 40, 200);
    for (const Case& c : cases) {
        Picker->ShowColor(blue, true);
        QTest::mouseClick(Ring, Qt::LeftButton, {}, c.at);
        const QColor want = drawn.pixelColor(c.at), got = Picker->Color();
        if (c.ring) {
            EXPECT_LE(HueDistance(got.hslHue(), want.hslHue()), 2) << c.at.x() << "," << c.at.y();
            EXPECT_NEAR(got.hslSaturation(), blue.hslSaturation(), 2);
            EXPECT_NEAR(got.lightness(), blue.lightness(), 1);
        } else {
            EXPECT_NEAR(got.red(), want.red(), 3) << c.at.x() << "," << c.at.y();
            EXPECT_NEAR(got.green(), want.green(), 3);
            EXPECT_NEAR(got.blue(), want.blue(), 3);
        }
        EXPECT_EQ(Bars(), got);
        EXPECT_EQ(Swatch(), got);
        EXPECT_EQ(Values(), QStringList({QString::number(got.red()), QString::number(got.green()),
                                         QString::number(got.blue())}));
    }

    // The corners of the square: white at the top, black at the bottom, whatever the hue.
    QTest::mouseClick(Ring, Qt::LeftButton, {}, Ring->SquarePoint(0, 255));
    EXPECT_EQ(Bars(), QColor(255, 255, 255));
    QTest::mouseClick(Ring, Qt::LeftButton, {}, Ring->SquarePoint(255, 0));
    EXPECT_EQ(Bars(), QColor(0, 0, 0));

    // Dragging from the ring keeps setting the hue, even when the pointer leaves the ring;
    // saturation and lightness stay.
    Picker->ShowColor(QColor(255, 0, 0), true);
    QTest::mousePress(Ring, Qt::LeftButton, {}, Ring->HuePoint(0));
    QTest::mouseMove(Ring, Ring->HuePoint(120) + (Ring->HuePoint(120) - QPoint(116, 116)) / 4);
    QTest::mouseRelease(Ring, Qt::LeftButton, {}, Ring->HuePoint(120));
    EXPECT_LE(HueDistance(Ring->Hue(), 120), 1);
    EXPECT_LE(HueDistance(Picker->Color().hslHue(), 120), 1);
    EXPECT_EQ(Ring->Saturation(), 255);

    // A press in the corner outside ring and square changes nothing.
    const QColor before = Picker->Color();
    QTest::mouseClick(Ring, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(Picker->Color(), before);
}

TEST_F(PickerTest, ShowColorUpdatesTheRingOnlyWhenAsked) {
    Picker->ShowColor(QColor(255, 0, 0), true);
    Picker->ShowColor(QColor(0, 0, 255), false);
    EXPECT_EQ(Bars(), QColor(0, 0, 255));
    EXPECT_EQ(Swatch(), QColor(0, 0, 255));
    EXPECT_EQ(Ring->Hue(), 0);
    EXPECT_EQ(Ring->Color(), QColor(255, 0, 0));

    QSignalSpy ringChanges(Ring, &THueRing::colorChanged);
    Picker->ShowColor(QColor::fromHsv(120, 255, 255), true); // an HSV colour: held as RGB
    EXPECT_EQ(Ring->Hue(), 120);
    EXPECT_EQ(Bars(), QColor(0, 255, 0));
    // Equality includes the colour model, so this holds only for an RGB colour.
    EXPECT_TRUE(Picker->Color() == Picker->Color().toRgb());
    EXPECT_EQ(ringChanges.count(), 0);
}

TEST_F(PickerTest, HintsNameWhatIsUnderThePointer) {
    Picker->ShowColor(QColor(255, 0, 0), true);
    EXPECT_EQ(Ring->HintAt(Ring->HuePoint(120)), "Hue: 120");
    EXPECT_EQ(Ring->HintAt(Ring->HuePoint(300)), "Hue: 300");
    EXPECT_EQ(Ring->HintAt(QPoint(2, 2)), "");
    // The square's hint names the values and the colour a click there picks.
    const QPoint at = Ring->SquarePoint(200, 100);
    const QString hint = Ring->HintAt(at);
    QTest::mouseClick(Ring, Qt::LeftButton, {}, at);
    EXPECT_NEAR(Ring->Saturation(), 200, 2);
    EXPECT_NEAR(Ring->Lightness(), 100, 2);
    EXPECT_EQ(hint, QString("S: %1 L: %2\nHex: %3")
                        .arg(Ring->Saturation())
                        .arg(Ring->Lightness())
                        .arg(Picker->Color().name().toUpper()));
}

TEST_F(PickerTest, OpenForPlacesPresetsAndOKRunsTheTarget) {
    QPixmap dropper(16, 16);
    dropper.fill(Qt::magenta);
    Picker->PickCursor = QCursor(dropper, 8, 8);
    Frame->imgMain->setCursor(Qt::PointingHandCursor);
    Main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main.get()));

    for (int target : {int(ptLabelColor), int(ptOutlineColor), int(ptShadowColor), int(ptGuiColor)}) {
        Calls.clear();
        const QColor preset(10 * target, 100, 200);
        Picker->OpenFor(target, preset);
        ASSERT_TRUE(Picker->isVisible());
        EXPECT_FALSE(Picker->isModal());
        EXPECT_EQ(Picker->Target, target);
        const QRect m = Main->frameGeometry(), g = Picker->frameGeometry();
        EXPECT_EQ(g.right(), m.right()) << target;
        EXPECT_EQ(g.top(), m.top() + 10) << target;
        EXPECT_EQ(Bars(), preset);
        EXPECT_EQ(Swatch(), preset);
        EXPECT_LE(HueDistance(Ring->Hue(), preset.hslHue()), 0);
        EXPECT_EQ(Frame->imgMain->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(Frame->SelectShape->cursor().shape(), Qt::BitmapCursor);

        Picker->scbG->setValue(7);
        Picker->btnOK->click();
        EXPECT_FALSE(Picker->isVisible());
        ASSERT_EQ(Calls.size(), 1u);
        EXPECT_EQ(Calls[0].first, target);
        EXPECT_EQ(Calls[0].second, QColor(10 * target, 7, 200));
        EXPECT_EQ(Frame->imgMain->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(Frame->SelectShape->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(Picker->windowTitle(), "Color Picker");
    EXPECT_EQ(Picker->btnOK->text(), "OK");
    EXPECT_TRUE(Picker->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Ring->size(), QSize(233, 233));
}

TEST_F(PickerTest, ClosingChangesNothingButGivesThePointerBack) {
    Frame->imgMain->setCursor(Qt::ArrowCursor);
    Picker->OpenFor(ptOutlineColor, Qt::white);
    Picker->scbB->setValue(0);
    Picker->close();
    EXPECT_FALSE(Picker->isVisible());
    EXPECT_TRUE(Calls.empty());
    // The eyedropper is off, so it must not stay over the sheet.
    EXPECT_EQ(Frame->imgMain->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(Frame->SelectShape->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(Picker->Target, ptOutlineColor); // kept from the last opening
}

TEST_F(PickerTest, ModalUseReturnsTheColourOnOKOnly) {
    // Opened without blocking first: the modal use must still block.
    Picker->OpenFor(ptGuiColor, Qt::black);
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = QApplication::activeModalWidget() == Picker;
        Picker->scbR->setValue(200);
        Picker->btnOK->click();
    });
    QColor result;
    ASSERT_TRUE(Picker->PickModal(QColor(0, 50, 60), result));
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(result, QColor(200, 50, 60));
    EXPECT_EQ(Picker->Target, ptModal);
    EXPECT_FALSE(Picker->isVisible());
    EXPECT_TRUE(Calls.empty()); // the text dialog reads the colour itself

    QTimer::singleShot(0, [&] {
        Picker->scbG->setValue(1);
        Picker->close();
    });
    QColor untouched = Qt::cyan;
    EXPECT_FALSE(Picker->PickModal(QColor(9, 9, 9), untouched));
    EXPECT_EQ(untouched, QColor(Qt::cyan));
    EXPECT_TRUE(Calls.empty());
}

// A press on the sheet while the picker is open samples the pixel there and leaves the sheet
// alone; with the picker closed or gone the press is the sheet's again.
TEST_F(PickerTest, EyedropperSamplesTheSheetAndLeavesItAlone) {
    Make(2, 2);
    const QColor green(20, 180, 60), violet(150, 40, 170);
    AddImage(1, green);
    AddImage(0, violet);
    Frame->LayOut();
    // What a press does to the sheet when it gets one: select the label under it.
    int presses = 0;
    QObject::connect(Frame, &TfrSheet::imgMainMouseDown,
                     [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint pos) {
                         ++presses;
                         Sheet->HoverAt(pos);
                         Select(Sheet->HotLabel);
                     });
    QObject::connect(Frame, &TfrSheet::SelectShapeMouseDown, [&] { ++presses; });
    int moves = 0;
    QObject::connect(Frame, &TfrSheet::imgMainMouseMove, [&] { ++moves; });
    Select(0);
    Frame->Changed();
    Main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Main.get()));

    const QPoint onGreen = Find(green.rgb(), LabelRect(1));
    const QPoint onViolet = Find(violet.rgb(), LabelRect(0));
    ASSERT_GE(onGreen.x(), 0);
    ASSERT_GE(onViolet.x(), 0);
    ASSERT_TRUE(Frame->SelectShape->isVisible());
    ASSERT_TRUE(Frame->SelectShape->geometry().contains(onViolet));

    Picker->OpenFor(ptLabelColor, Qt::black);
    ASSERT_FALSE(Picker->frameGeometry().contains(Frame->imgMain->mapToGlobal(onGreen)));
    ASSERT_FALSE(Picker->frameGeometry().contains(Frame->imgMain->mapToGlobal(onViolet)));
    const int hot = Sheet->HotLabel, cur = Sheet->CurLabel, kind = Sheet->SelKind, index = Sheet->SelIndex;
    const QImage layer = Sheet->SheetLayer.copy();

    // On a label that is not selected: the view image.
    QTest::mouseMove(Frame->imgMain, onGreen);
    QTest::mouseClick(Frame->imgMain, Qt::LeftButton, {}, onGreen);
    WaitSample();
    EXPECT_EQ(Picker->Color(), green);
    EXPECT_EQ(Bars(), green);
    EXPECT_EQ(Ring->Hue(), green.hslHue());
    // On the selected label: its frame takes the press.
    QTest::mouseClick(Frame->SelectShape, Qt::LeftButton, {}, onViolet - Frame->SelectShape->pos());
    WaitSample();
    EXPECT_EQ(Picker->Color(), violet);

    EXPECT_EQ(presses, 0);
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(Sheet->HotLabel, hot);
    EXPECT_EQ(Sheet->CurLabel, cur);
    EXPECT_EQ(Sheet->SelKind, kind);
    EXPECT_EQ(Sheet->SelIndex, index);
    EXPECT_EQ(Sheet->SheetLayer, layer);
    EXPECT_TRUE(Picker->isVisible());
    EXPECT_TRUE(Calls.empty());

    // Closed: the press selects label 1 and samples nothing.
    Picker->close();
    QTest::mouseClick(Frame->imgMain, Qt::LeftButton, {}, onGreen);
    WaitSample();
    EXPECT_EQ(presses, 1);
    EXPECT_EQ(Sheet->CurLabel, 1);
    EXPECT_EQ(Picker->Color(), violet);

    // Gone: the sheet works as before.
    delete Picker;
    Picker = nullptr;
    QTest::mouseClick(Frame->imgMain, Qt::LeftButton, {}, onViolet);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(Sheet->CurLabel, 0);
}

TEST(ScreenPixel, ReadsAPixelOfOurOwnWindow) {
    QWidget w;
    w.setGeometry(200, 150, 120, 80);
    w.setAutoFillBackground(true);
    QPalette pal = w.palette();
    pal.setColor(QPalette::Window, QColor(12, 34, 56));
    w.setPalette(pal);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(TfrmColorPicker::ScreenPixel(w.mapToGlobal(QPoint(60, 40))), QColor(12, 34, 56));
}

// Saves the picker when $TESSORA_SCREENSHOT names a file; run under xvfb-run for the docs.
TEST_F(PickerTest, Screenshot) {
    const QString target = qEnvironmentVariable("TESSORA_SCREENSHOT");
    if (target.isEmpty()) GTEST_SKIP() << "TESSORA_SCREENSHOT not set";
    Picker->OpenFor(ptLabelColor, QColor(230, 120, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Picker));
    QTest::qWait(100);
    ASSERT_TRUE(Picker->grab().save(target));
}
