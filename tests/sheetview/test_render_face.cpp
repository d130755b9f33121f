// Face colour, images, outlines, shadows, flaps and the OFF mark, checked in pixels.
#include "tests/sheetview/uSheetFixture.h"

#include <QPainter>
#include <cmath>

using namespace tessora;
using namespace tessora::test;

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF;
QRgb Rgb(QColor c) { return c.rgb() | 0xFF000000u; }
} // namespace

TEST_F(SheetTest, FaceColourAndLabelSpaceMode) {
    Make(lsRectangle, 20, 10);
    const QRgb workspace = Rgb(QColor(0xFD, 0xF8, 0xC8)); // 13170941 is 0xC8F8FD in BGR
    EXPECT_EQ(Layer(50, 50), workspace);
    EXPECT_EQ(Layer(150, 150), kWhite);
    Sheet->Gui.LSpaceMode = 1;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Layer(150, 150), workspace);
    // Other targets keep empty label spaces white.
    EXPECT_EQ(PdfBitmap().pixel(50, 50) | 0xFF000000u, kWhite);
    Face().BGColorOn = true;
    Face().BGColor = 0x0000FF; // red
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Layer(150, 150), 0xFFFF0000u);
    EXPECT_EQ(PdfBitmap().pixel(50, 50) | 0xFF000000u, 0xFFFF0000u);
}

TEST_F(SheetTest, ImagesInListOrderScaledAlignedAndWrittenBack) {
    Make(lsRectangle, 20, 10);
    const std::string red = SavePicture("red.png", Solid(40, 20, Qt::red));
    const std::string blue = SavePicture("blue.png", Solid(40, 20, Qt::blue));
    Sheet->AddPicture(0, 0, blue);
    Sheet->AddPicture(0, 0, red); // inserted at the front: it covers blue
    for (auto& im : Face().Images) im->Scale = 50;
    Face().Image(1).X = 2; // blue 20 px to the right
    Sheet->DrawLabel(0, -1, true);
    // The face is 200 x 100 px at (100, 100); each picture fits to 100 x 50.
    EXPECT_EQ(Face().Image(0).PixWidth, 100);
    EXPECT_EQ(Face().Image(0).PixHeight, 50);
    EXPECT_EQ(Layer(100 + 50, 100 + 25), 0xFFFF0000u);
    EXPECT_EQ(Layer(100 + 110, 100 + 25), 0xFF0000FFu);
    EXPECT_EQ(Layer(100 + 150, 100 + 25), kWhite);

    // Right and bottom alignment place it in the corner and write the position back.
    Face().Image(0).AlignH = 3;
    Face().Image(0).AlignV = 3;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_DOUBLE_EQ(Face().Image(0).X, 10);
    EXPECT_DOUBLE_EQ(Face().Image(0).Y, 5);
    EXPECT_EQ(Layer(100 + 150, 100 + 75), 0xFFFF0000u);
    // Centred, on the PDF target too.
    Face().Image(0).AlignH = 2;
    Face().Image(0).AlignV = 2;
    PdfBitmap();
    EXPECT_DOUBLE_EQ(Face().Image(0).X, 5);
    EXPECT_DOUBLE_EQ(Face().Image(0).Y, 2.5);

    // Fade 100 hides the picture: blue shows where red was.
    Face().Image(0).AlignH = Face().Image(0).AlignV = 0;
    Face().Image(0).X = Face().Image(0).Y = 0;
    Face().Image(0).Fade = 100;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Layer(100 + 50, 100 + 25), 0xFF0000FFu);
    EXPECT_EQ(Layer(100 + 10, 100 + 25), kWhite);
}

TEST_F(SheetTest, FlipsAndRotationCutToTheFace) {
    Make(lsRectangle, 20, 10);
    QImage halves = Solid(40, 20, Qt::red);
    QPainter(&halves).fillRect(20, 0, 20, 20, Qt::green);
    Sheet->AddPicture(0, 0, SavePicture("halves.png", halves));
    TLabelImage& im = Face().Image(0);
    Sheet->DrawLabel(0, -1, true);
    EXPECT_EQ(Layer(100 + 20, 150), 0xFFFF0000u);
    EXPECT_EQ(Layer(100 + 180, 150), 0xFF00FF00u);
    im.Flip = 1;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Layer(100 + 20, 150), 0xFF00FF00u);
    EXPECT_EQ(Layer(100 + 180, 150), 0xFFFF0000u);
    // Turned by 90 degrees the 200 x 100 picture stands 100 x 200 and is cut to its middle
    // 100 rows; it keeps its fitted size as PixWidth/PixHeight.
    im.Flip = 0;
    im.Angle = 90;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(im.PixWidth, 200);
    EXPECT_EQ(im.PixHeight, 100);
    EXPECT_EQ(Layer(100 + 150, 150), kWhite);
    const QRect ink = InkIn(Sheet->SheetLayer, QRect(101, 101, 198, 98), kWhite);
    EXPECT_EQ(ink.left(), 101);
    EXPECT_EQ(ink.right(), 100 + 99);
}

TEST_F(SheetTest, OnePixelOutlineAtThePdfDensity) {
    Make(lsRectangle, 20, 10);
    Sheet->Label(0).VisFr = true;
    Sheet->Label(0).OLThick = 0; // drawn as 1
    const QImage d = PdfBitmap();
    ASSERT_EQ(d.size(), QSize(200 + 50, 100 + 50));
    for (int y : {10, 50, 90}) {
        EXPECT_EQ(d.pixel(0, y) | 0xFF000000u, 0xFF000000u) << y;
        EXPECT_EQ(d.pixel(1, y) | 0xFF000000u, kWhite) << y;
        EXPECT_EQ(d.pixel(199, y) | 0xFF000000u, 0xFF000000u) << y;
        EXPECT_EQ(d.pixel(198, y) | 0xFF000000u, kWhite) << y;
        EXPECT_EQ(d.pixel(200, y) | 0xFF000000u, kWhite) << y;
    }
    EXPECT_EQ(d.pixel(100, 0) | 0xFF000000u, 0xFF000000u);
    EXPECT_EQ(d.pixel(100, 99) | 0xFF000000u, 0xFF000000u);
    // Without "Print Outline" the PDF shows no outline at all.
    Sheet->Label(0).VisFr = false;
    const QImage none = PdfBitmap();
    EXPECT_EQ(InkIn(none, none.rect(), kWhite), QRect());
}

TEST_F(SheetTest, RoundingIsClampedToFiveAndNinety) {
    Make(lsRoundRect, 60, 30);
    Sheet->Label(0).VisFr = true;
    auto draw = [&](int rounding) {
        Sheet->Header.Rounding = uint8_t(rounding);
        return PdfBitmap();
    };
    EXPECT_EQ(draw(0), draw(5));
    EXPECT_EQ(draw(100), draw(90));
    EXPECT_NE(draw(20), draw(5));
    // 60 x 30 mm at 20 %: both radii are 6 mm, so the top edge is straight from x = 60.
    const QImage r20 = draw(20);
    EXPECT_EQ(r20.pixel(70, 0) | 0xFF000000u, 0xFF000000u);
    EXPECT_EQ(r20.pixel(30, 0) | 0xFF000000u, kWhite);
    EXPECT_EQ(r20.pixel(0, 70) | 0xFF000000u, 0xFF000000u);
    EXPECT_EQ(r20.pixel(0, 30) | 0xFF000000u, kWhite);
    const QImage r5 = draw(5); // 1.5 mm radius
    EXPECT_EQ(r5.pixel(30, 0) | 0xFF000000u, 0xFF000000u);
}

TEST_F(SheetTest, ShadowInTenAlphaSteps) {
    Make(lsRectangle, 20, 10);
    TSheetLabel& l = Sheet->Label(0);
    l.OLShadow = true;
    l.OLShColor = 0; // black
    l.VisFr = true;
    const QImage d = PdfBitmap();
    const int alpha[10] = {255, 188, 138, 100, 72, 51, 35, 22, 13, 6};
    // Copy k lies k pixels right of the right edge, over the white margin.
    for (int k = 1; k < 10; ++k) {
        const int grey = qRed(d.pixel(199 + k, 50));
        EXPECT_NEAR(grey, 255 - alpha[k], 1) << k;
        EXPECT_NEAR(qRed(d.pixel(100, 99 + k)), 255 - alpha[k], 1) << k;
    }
    EXPECT_EQ(qRed(d.pixel(199 + 10, 50)), 255);
}

TEST_F(SheetTest, BoxFlapsOnScreenAndAsPdfPolygons) {
    Make(lsBox, 50, 80, 1, 1, 20);
    // On screen (10 px/mm, net at 100, 100): panel 0's glue flap reaches 15 mm left of it,
    EXPECT_EQ(Layer(100 - 50, 100 + 200 + 400), 0xFFC0C0C0u);
    // panel 1's flap 15 mm below the net, and panel 4 has none: above it is panel 3.
    EXPECT_EQ(Layer(100 + 250, 100 + 1200 + 50), 0xFFC0C0C0u);
    EXPECT_EQ(Layer(100 + 950, 100 + 100), kWhite);
    Sheet->Label(0).VisFr = false;
    Pdf = TCaptureOutput{};
    Sheet->Target = otPdf;
    Sheet->DrawLabel(0, -1, true);
    Sheet->Target = otScreen;
    EXPECT_EQ(Pdf.Pictures.size(), 6u);
    EXPECT_EQ(Pdf.Flaps.size(), 7u); // 1 + 1 + 2 + 1 + 0 + 2
    EXPECT_TRUE(Pdf.Frames.empty());
    // Panel 0's glue flap: (L - fx, T + cy), (L, T), (L, B), (L - fx, B - cy).
    const int L = 100, T = 100 + 200, B = 100 + 1000;
    EXPECT_EQ(Pdf.Flaps[0], QPolygon({QPoint(L - 150, T + 50), QPoint(L, T), QPoint(L, B), QPoint(L - 150, B - 50)}));
    // Each face picture at its panel, one pixel per tenth of a millimetre.
    EXPECT_EQ(Pdf.Pictures[4].Dest, QRect(100 + 700, 100 + 200, 500, 800));
    Sheet->Label(0).VisFr = true;
    Pdf = TCaptureOutput{};
    PdfBitmap();
    EXPECT_EQ(Pdf.Frames.size(), 6u);
}

TEST_F(SheetTest, OffLabelIsVeiledWithTheIcon) {
    Make(lsRectangle, 20, 10);
    Face().BGColorOn = true;
    Face().BGColor = 0x0000FF;
    Sheet->SetLabelVis(0, false);
    // White at alpha 220 over red.
    const QRgb veiled = Layer(110, 110);
    EXPECT_NEAR(qRed(veiled), 255, 1);
    EXPECT_NEAR(qGreen(veiled), 220, 2);
    EXPECT_NEAR(qBlue(veiled), 220, 2);
    // The icon sits in the middle; its white corners let the veil through.
    const int cx = 100 + 100, cy = 100 + 50;
    EXPECT_LT(qGreen(Layer(cx, cy - 20)), 100);
    EXPECT_EQ(Layer(cx - 23, cy - 23), veiled);
    // The PDF leaves nothing out by itself, but the label's own bitmap carries no veil.
    EXPECT_EQ(PdfBitmap().pixel(10, 10) | 0xFF000000u, 0xFFFF0000u);
    Sheet->SetLabelVis(0, true);
    EXPECT_EQ(Layer(110, 110), 0xFFFF0000u);
}
