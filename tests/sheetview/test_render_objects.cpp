// Texts, path texts, serial numbers, vector outlines, barcodes and picture reuse, in pixels.
#include "tests/sheetview/uSheetFixture.h"

#include "document/uSerial.h"

#include <QPainter>
#include <cmath>
#include <filesystem>

using namespace tessora;
using namespace tessora::test;

namespace {
constexpr QRgb kWhite = 0xFFFFFFFF;

TLabelText& AddText(TLabelFace& f, double x, double y, double w, const char* text) {
    auto t = std::make_unique<TLabelText>(x, y, w);
    t->Text = text;
    t->FontName = "Liberation Sans";
    f.Texts.push_back(std::move(t));
    return *f.Texts.back();
}

// Distance from p to the segment a-b.
double SegDist(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double t = std::clamp(QPointF::dotProduct(p - a, d) / QPointF::dotProduct(d, d), 0.0, 1.0);
    const QPointF q = a + t * d;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}
} // namespace

TEST_F(SheetTest, OneLineTextInkStartsAtXYForEveryAlignment) {
    Make(lsRectangle, 40, 20);
    TLabelText& t = AddText(Face(), 3, 2, 30, "Hello");
    for (int align = 0; align < 3; ++align) {
        for (TOutputTarget target : {otScreen, otPdf}) {
            t.AlignTxt = uint8_t(align);
            QImage face;
            if (target == otScreen) {
                Sheet->DrawLabel(0, -1, false);
                face = Sheet->SheetLayer.copy(100, 100, 400, 200);
            } else {
                face = PdfBitmap();
            }
            const QRect ink = InkIn(face, QRect(2, 2, 396, 196), kWhite);
            EXPECT_EQ(ink.topLeft(), QPoint(30, 20)) << align << " " << target;
            EXPECT_EQ(t.Bounds.Left, 30);
            EXPECT_EQ(t.Bounds.Top, 20);
            EXPECT_EQ(t.Bounds.Right, ink.right());
            EXPECT_EQ(t.Bounds.Bottom, ink.bottom());
        }
    }
    // Rotated by 90 degrees the ink is tall and narrow, and still starts at (X, Y).
    t.Angle = 90;
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(t.Bounds.Left, 30);
    EXPECT_EQ(t.Bounds.Top, 20);
    EXPECT_GT(t.Bounds.Bottom - t.Bounds.Top, t.Bounds.Right - t.Bounds.Left);
}

TEST_F(SheetTest, FlippedTextMirrorsItsInkInPlace) {
    Make(lsRectangle, 40, 20);
    TLabelText& t = AddText(Face(), 3, 2, 30, "Flip R");
    const QImage plain = PdfBitmap();
    const QRect ink = InkIn(plain, QRect(2, 2, 396, 196), kWhite);
    const QImage glyphs = plain.copy(ink);
    for (int flip : {1, 2}) {
        t.Flip = uint8_t(flip);
        const QImage d = PdfBitmap();
        EXPECT_EQ(InkIn(d, QRect(2, 2, 396, 196), kWhite), ink) << flip;
        EXPECT_EQ(d.copy(ink), glyphs.mirrored(flip == 1, flip == 2)) << flip;
    }
}

TEST_F(SheetTest, EmptyTextDrawsNothingAndBoundsIsAPoint) {
    Make(lsRectangle, 40, 20);
    TLabelText& t = AddText(Face(), 3, 2, 30, "");
    t.Bounds = {1, 2, 3, 4};
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(t.Bounds, (TRect{30, 20, 30, 20}));
    EXPECT_EQ(InkIn(Sheet->SheetLayer, QRect(102, 102, 396, 196), kWhite), QRect());
}

TEST_F(SheetTest, PathTextFollowsItsCurveAndTheGuideShowsOnlyInTheView) {
    Make(lsRectangle, 40, 20);
    // A straight diagonal as a Bezier chain: (2, 2) to (38, 18) mm.
    TLabelText& t = AddText(Face(), 0, 0, 0, "ABCDEFGH");
    t.FontSize = 10;
    t.Points = "2.0;2.0;#14.0;7.33;#26.0;12.67;#38.0;18.0;#";
    const QPointF a(20, 20), b(380, 180);
    for (TOutputTarget target : {otScreen, otPdf}) {
        QImage face;
        if (target == otScreen) {
            Sheet->DrawLabel(0, -1, false);
            face = Sheet->SheetLayer.copy(100, 100, 400, 200);
        } else {
            face = PdfBitmap();
        }
        // Glyph ink near the line, and the ink box spans a good part of it both ways.
        const int cell = Sheet->PtToPx(t.FontSize);
        int inked = 0;
        for (int y = 2; y < 198; ++y)
            for (int x = 2; x < 398; ++x) {
                const QRgb p = face.pixel(x, y);
                if (qRed(p) < 128) { // dark: glyph ink, not the faint guide
                    ++inked;
                    EXPECT_LT(SegDist(QPointF(x, y), a, b), cell + 2) << x << "," << y;
                }
            }
        EXPECT_GT(inked, 100);
        EXPECT_GT(t.Bounds.Bottom - t.Bounds.Top, 40);
        EXPECT_GT(t.Bounds.Right - t.Bounds.Left, 120);
        // Near the end of the path there is no glyph: only the faint green guide, on screen.
        const QRgb guide = face.pixel(370, 176);
        if (target == otScreen) {
            EXPECT_GT(qGreen(guide), qRed(guide) + 10) << std::hex << guide;
        } else {
            EXPECT_EQ(guide | 0xFF000000u, kWhite);
        }
    }
}

TEST_F(SheetTest, SerialNumberOfLabelAndPage) {
    Make(lsRectangle, 40, 20, 3, 10);
    Sheet->Settings.SerialPrefix = "ABC";
    Sheet->Settings.SerialSuffix = "SFX";
    Sheet->Settings.PageNum = 3;
    EXPECT_EQ(SerialNumber(Sheet->Header, Sheet->Settings, 0), 61);
    EXPECT_EQ(SerialText(Sheet->Settings, 61), "ABC-0061-SFX");
    EXPECT_EQ(SerialText(Sheet->Settings, 0), "ABC-XXXX-SFX");
    EXPECT_EQ(SerialText(Sheet->Settings, 12345), "ABC-12345-SFX");
    TProjectSettings empty;
    EXPECT_EQ(SerialText(empty, 1), "-0001-");

    auto inkOf = [&](int label) {
        const QImage d = PdfBitmap(label);
        return InkIn(d, QRect(2, 2, 396, 196), kWhite);
    };
    EXPECT_EQ(inkOf(0), QRect());
    Sheet->Settings.SerialOn = true;
    const QRect left = inkOf(0);
    ASSERT_FALSE(left.isNull());
    EXPECT_NEAR(left.left(), 20, 3); // 2 mm in
    EXPECT_NEAR(left.top(), 20, 8);
    // Right alignment ends near 2 mm before the right edge; SerialX is ignored then.
    Sheet->Settings.SerialAlignH = 3;
    Sheet->Settings.SerialX = 10;
    const QRect right = inkOf(0);
    EXPECT_NEAR(right.right(), 380, 4);
    // Another page number gives another text on the same label.
    const QImage p3 = PdfBitmap(4);
    Sheet->Settings.PageNum = 4;
    EXPECT_NE(PdfBitmap(4), p3);
}

TEST_F(SheetTest, SerialOnlyOnPanelOneOfABox) {
    Make(lsBox, 50, 40, 1, 1, 20);
    Sheet->Settings.SerialOn = true;
    for (int f = 0; f < 6; ++f) {
        const QImage d = PdfBitmap(0, f);
        const bool ink = !InkIn(d, d.rect(), kWhite).isNull();
        EXPECT_EQ(ink, f == 1) << f;
    }
}

TEST_F(SheetTest, MakerOutlineIsAOnePixelBlackBorderOnEveryTarget) {
    std::filesystem::create_directories(Home.File("Vector Images"));
    // A filled rectangle inset in its picture, the picture stretched over the label.
    WriteAll(Home.File("Vector Images/box.svg"),
             "<svg xmlns='http://www.w3.org/2000/svg' width='400' height='200' viewBox='0 0 400 200'>"
             "<rect x='100' y='50' width='200' height='100' fill='#203040'/></svg>");
    Make(lsMakerVector, 40, 20);
    ASSERT_TRUE(Sheet->LoadVectorPicture(Home.File("Vector Images/box.svg")));
    auto check = [&](const QImage& img, double scale, const char* what) {
        // The area spans x 10..30 mm, y 5..15 mm of the label.
        const int y = RoundHalfEven(10 * scale), x = RoundHalfEven(20 * scale);
        std::vector<int> blackCols, blackRows;
        for (int i = 0; i < img.width(); ++i)
            if ((img.pixel(i, y) | 0xFF000000u) == 0xFF000000u) blackCols.push_back(i);
        for (int j = 0; j < img.height(); ++j)
            if ((img.pixel(x, j) | 0xFF000000u) == 0xFF000000u) blackRows.push_back(j);
        EXPECT_EQ(blackCols.size(), 2u) << what;
        EXPECT_EQ(blackRows.size(), 2u) << what;
        if (blackCols.size() == 2) {
            EXPECT_NEAR(blackCols[0], 10 * scale, 1) << what;
            EXPECT_NEAR(blackCols[1], 30 * scale, 1) << what;
        }
        EXPECT_EQ(img.pixel(x, y) | 0xFF000000u, kWhite) << what; // interior
    };
    check(PdfBitmap(), 10, "pdf");
    Sheet->RedrawSheet(true, true);
    check(Sheet->SheetLayer.copy(100, 100, 400, 200), 10, "screen");
    check(Sheet->ExportFace(0, 0), 200 / 25.4, "200 dpi");
    // Outside the area the workspace colour shows on screen.
    EXPECT_EQ(Layer(100 + 20, 100 + 20), QColor(0xFD, 0xF8, 0xC8).rgb());
}

TEST_F(SheetTest, BarcodeAtItsPlaceWithItsWidthAndDecodable) {
    if (!HaveTool("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
    Make(lsRectangle, 60, 40);
    TLabelFace& f = Face();
    f.BCType = 15; // EAN-13
    f.BCText = "400638133393";
    f.BCChSum = true;
    f.BCLeft = 8;
    f.BCTop = 4;
    f.BCWidth = 0.33;
    f.BCHeight = 15;
    f.BCOutput = 1;
    const QImage d = PdfBitmap();
    // 95 modules of round(0.33 mm at 300 dpi) = 4 pixels.
    EXPECT_EQ(f.BCPixWidth, 95 * 4);
    EXPECT_EQ(Sheet->Target, otScreen);
    // The bars start at (BCLeft, BCTop): the left guard is a bar.
    const QRect ink = InkIn(d, QRect(2, 2, 596, 396), kWhite);
    EXPECT_NEAR(ink.left(), 80, 1);
    EXPECT_NEAR(ink.top(), 40, 1);
    EXPECT_NEAR(ink.height(), 150, 2);
    const std::string png = Home.File("face.png");
    d.save(QString::fromStdString(png));
    const auto r = tessora::test::Run("zbarimg", {"-q", "--raw", QString::fromStdString(png)});
    EXPECT_EQ(r.Out.trimmed(), "4006381333931");
    // Turned by 90 degrees it still reads.
    f.BCAngle = 90;
    PdfBitmap().save(QString::fromStdString(png));
    EXPECT_EQ(tessora::test::Run("zbarimg", {"-q", "--raw", QString::fromStdString(png)}).Out.trimmed(), "4006381333931");
}

TEST_F(SheetTest, ScaledPicturesAreReusedUntilForcedOrRetargeted) {
    Make(lsRectangle, 20, 10, 2, 1);
    const std::string pic = SavePicture("p.png", Solid(400, 200, Qt::darkCyan));
    Sheet->AddPicture(-1, 0, pic);
    ASSERT_EQ(Sheet->ImageCache.size(), 1u);
    TLabelBG& e = *Sheet->ImageCache[0];
    Sheet->DrawLabel(0, -1, true);
    const qint64 first = e.Scaled.cacheKey();
    Sheet->DrawLabel(0, -1, false);
    Sheet->DrawLabel(1, -1, false);
    EXPECT_EQ(e.Scaled.cacheKey(), first); // same size, same target: reused
    // A full redraw resamples the shared picture once for all its labels.
    Sheet->RedrawSheet(true, true);
    const qint64 redrawn = e.Scaled.cacheKey();
    EXPECT_NE(redrawn, first);
    // Another target resamples, and drawing there leaves the screen target set afterwards.
    PdfBitmap();
    EXPECT_NE(e.Scaled.cacheKey(), redrawn);
    EXPECT_EQ(e.ScaledTarget, int(otPdf));
    // A face export sets RescalePending: the next drawing is forced.
    const QImage exported = Sheet->ExportFace(0, 0);
    EXPECT_EQ(exported.size(), QSize(RoundHalfEven(20 * 200 / 25.4), RoundHalfEven(10 * 200 / 25.4)));
    EXPECT_EQ(Sheet->Target, otScreen);
    EXPECT_TRUE(Sheet->RescalePending);
    Sheet->DrawLabel(0, -1, false);
    EXPECT_FALSE(Sheet->RescalePending);
    EXPECT_EQ(e.ScaledTarget, int(otScreen));
    const qint64 afterExport = e.Scaled.cacheKey();
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(e.Scaled.cacheKey(), afterExport);
}
