// DrawOn: which pixels the bars cover at every right angle, the origin rule, short bars, the
// human-readable text boxes and the painter state.
#include "barcode/Barcode.h"
#include "tests/barcode/uBarcodeTest.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace tessora::test {
namespace {

const QRgb kBackground = qRgb(0, 255, 0);
const QRgb kSpace = qRgb(255, 0, 0);
const QRgb kBar = qRgb(0, 0, 255);

// Spaces red, bars blue (0x00BBGGRR), on a green image.
struct TDrawFixture {
    TLabelBarcode Bc;
    QImage Img{400, 400, QImage::Format_RGB32};
    std::string Cols;

    TDrawFixture(TBarcodeType typ, const char* text, int modul, int height) {
        Bc.SetTyp(typ);
        Bc.SetText(text);
        Bc.SetModul(modul);
        Bc.SetHeight(height);
        Bc.SetColor(0x0000FF);
        Bc.SetColorBar(0xFF0000);
        Img.fill(kBackground);
        Cols = Columns(Bc, Bc.Encode());
    }
    int Draw() {
        QPainter p(&Img);
        return Bc.DrawOn(p);
    }
    // The painted area's bounding box.
    QRect Painted() const {
        QRect r;
        for (int y = 0; y < Img.height(); ++y)
            for (int x = 0; x < Img.width(); ++x)
                if (Img.pixel(x, y) != kBackground) r = r.united(QRect(x, y, 1, 1));
        return r;
    }
};

// Column i of the pattern, row j of the bar height, at the four right angles, counter-clockwise.
TEST(Draw, BarsCoverExactlyTheirPixelsAtEveryRightAngle) {
    for (int angle : {0, 90, 180, 270, 360, -90}) {
        TDrawFixture f(bcCodeEAN13, "400638133393", 2, 40);
        f.Bc.SetChecksum(true);
        f.Bc.SetLeft(30);
        f.Bc.SetTop(20);
        f.Bc.SetAngle(angle);
        f.Cols = Columns(f.Bc, f.Bc.Encode());
        const int w = f.Bc.Width(), h = f.Bc.Height();
        ASSERT_EQ(w, 190);
        EXPECT_EQ(f.Draw(), w);
        const int a = ((angle % 360) + 360) % 360;
        const bool upright = a == 0 || a == 180;
        EXPECT_EQ(f.Painted(), QRect(30, 20, upright ? w : h, upright ? h : w)) << angle;
        int wrong = 0;
        for (int i = 0; i < w; ++i)
            for (int j = 0; j < h; ++j) {
                int x = i, y = j;
                if (a == 90) x = j, y = w - 1 - i;
                if (a == 180) x = w - 1 - i, y = h - 1 - j;
                if (a == 270) x = h - 1 - j, y = i;
                const QRgb want = f.Cols[i] == 'B' ? kBar : kSpace;
                wrong += f.Img.pixel(30 + x, 20 + y) != want;
            }
        EXPECT_EQ(wrong, 0) << angle;
    }
}

// Any angle: the rotated rectangle lies right of and below (Left, Top) and touches both.
TEST(Draw, RotatedSymbolStartsAtTheOrigin) {
    for (double angle : {30.0, 135.0, 200.0, 300.0, 45.5}) {
        TDrawFixture f(bcCode128B, "Tessora", 1, 60);
        f.Bc.SetLeft(100);
        f.Bc.SetTop(100);
        f.Bc.SetAngle(angle);
        f.Draw();
        const QRect p = f.Painted();
        EXPECT_NEAR(p.left(), 100, 1) << angle;
        EXPECT_NEAR(p.top(), 100, 1) << angle;
        const QRect b = f.Bc.DrawBounds();
        EXPECT_TRUE(b.adjusted(-1, -1, 1, 1).contains(p)) << angle;
        const double rad = angle / 180 * 3.141592653589793;
        const int w = f.Bc.Width();
        EXPECT_NEAR(b.width(), std::abs(w * std::cos(rad)) + std::abs(60 * std::sin(rad)), 2) << angle;
        EXPECT_NEAR(b.height(), std::abs(w * std::sin(rad)) + std::abs(60 * std::cos(rad)), 2) << angle;
    }
}

// PostNet half bars are 2/5 of Height and stand on the bottom edge with the full bars.
TEST(Draw, ShortBarsStandOnTheBaseline) {
    TDrawFixture f(bcCodePostNet, "1", 2, 51);
    f.Draw();
    ASSERT_EQ(f.Cols.substr(0, 6), "BB    ");
    const int shortH = 51 * 2 / 5;
    int shorts = 0;
    for (size_t i = 0; i < f.Cols.size(); ++i)
        for (int y = 0; y < 51; ++y) {
            QRgb want = kSpace;
            if (f.Cols[i] == 'B' || (f.Cols[i] == 'S' && y >= 51 - shortH)) want = kBar;
            ASSERT_EQ(f.Img.pixel(int(i), y), want) << i << "," << y;
            shorts += f.Cols[i] == 'S' && y == 50;
        }
    EXPECT_EQ(shorts, 3 * 2); // 1 = 00011: three half bars, two modules wide
    EXPECT_EQ(f.Img.pixel(0, 51), kBackground);
}

// The box of the code text: white, left/right/centre over the bars, at Top or overlapping the
// lower bars by its height minus 3.
TEST(Draw, CodeTextPositions) {
    for (int pos = stpTopLeft; pos <= stpBottomCenter; ++pos) {
        TDrawFixture f(bcCodeEAN13, "123", 3, 100);
        f.Bc.SetLeft(20);
        f.Bc.SetTop(30);
        f.Bc.SetShowText(bcoCode);
        f.Bc.SetShowTextPosition(TShowTextPosition(pos));
        f.Bc.SetShowTextFont({"DejaVu Sans", 18});
        f.Draw();
        const int w = f.Bc.Width();
        QRect box;
        for (int y = 0; y < f.Img.height(); ++y)
            for (int x = 0; x < f.Img.width(); ++x)
                if (f.Img.pixel(x, y) == qRgb(255, 255, 255)) box = box.united(QRect(x, y, 1, 1));
        ASSERT_FALSE(box.isEmpty()) << pos;
        const bool bottom = pos >= stpBottomLeft;
        if (bottom)
            EXPECT_EQ(box.bottom() + 1, 30 + 100 + 3) << pos;
        else
            EXPECT_EQ(box.top(), 30) << pos;
        EXPECT_NEAR(box.height(), 28, 4) << "a 24-pixel font's line";
        switch (pos % 3) {
        case 0:
            EXPECT_EQ(box.left(), 20) << pos;
            break;
        case 1:
            EXPECT_EQ(box.right() + 1, 20 + w) << pos;
            break;
        default:
            EXPECT_EQ(box.left(), 20 + (w - box.width()) / 2) << pos;
            break;
        }
        // The bars beside the box are untouched.
        EXPECT_EQ(f.Img.pixel(20 + w - 1, bottom ? 31 : 129), kBar) << pos;
    }
}

// The type name goes two and a half character heights above Top.
TEST(Draw, TypeNameAboveTheBars) {
    TDrawFixture f(bcCode39, "AB", 2, 80);
    f.Bc.SetLeft(10);
    f.Bc.SetTop(70);
    f.Bc.SetShowText(bcoTyp);
    f.Bc.SetShowTextFont({"DejaVu Sans", 18}); // height -24: 60 pixels up
    f.Draw();
    QRect box;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < f.Img.width(); ++x)
            if (f.Img.pixel(x, y) != kBackground) box = box.united(QRect(x, y, 1, 1));
    EXPECT_EQ(box.topLeft(), QPoint(10, 10));
    EXPECT_EQ(f.Bc.DrawBounds().top(), 10);
    // Both: the code text at Top-left as well.
    f.Img.fill(kBackground);
    f.Bc.SetShowText(bcoBoth);
    f.Draw();
    EXPECT_EQ(f.Img.pixel(10, 70), qRgb(255, 255, 255));
    EXPECT_EQ(f.Img.pixel(10, 10), qRgb(255, 255, 255));
}

TEST(Draw, PainterStateIsRestored) {
    TDrawFixture f(bcCodeEAN8, "1234567", 1, 20);
    f.Bc.SetChecksum(true);
    f.Bc.SetShowText(bcoBoth);
    QPainter p(&f.Img);
    const QPen pen(QColor(1, 2, 3), 5);
    const QBrush brush(QColor(4, 5, 6), Qt::Dense4Pattern);
    QFont font("DejaVu Serif");
    font.setPixelSize(13);
    p.setPen(pen);
    p.setBrush(brush);
    p.setFont(font);
    p.setRenderHint(QPainter::Antialiasing, true);
    f.Bc.DrawOn(p);
    EXPECT_EQ(p.pen(), pen);
    EXPECT_EQ(p.brush(), brush);
    EXPECT_EQ(p.font(), font);
    EXPECT_TRUE(p.testRenderHint(QPainter::Antialiasing));
}

// The painter's own transform applies: a label renderer may scale the canvas.
TEST(Draw, FollowsThePainterTransform) {
    TDrawFixture f(bcCodeEAN8, "1234567", 1, 20);
    QPainter p(&f.Img);
    p.translate(50, 60);
    p.scale(2, 2);
    f.Bc.DrawOn(p);
    p.end();
    EXPECT_EQ(f.Painted(), QRect(50, 60, 2 * 67, 2 * 20));
}

TEST(Draw, EncoderErrorPaintsNothing) {
    TDrawFixture f(bcCodeEAN8, "1", 1, 20);
    f.Bc.SetText("12a");
    QPainter p(&f.Img);
    EXPECT_THROW(f.Bc.DrawOn(p), EBarcodeError);
    p.end();
    EXPECT_TRUE(f.Painted().isEmpty());
}

} // namespace
} // namespace tessora::test
