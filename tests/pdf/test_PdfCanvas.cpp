// TPdfCanvas: the exact content lines of every drawing call, picture placement and reuse.
#include "tests/pdf/PdfTestSupport.h"

#include "pdf/PdfFormat.h"

#include <filesystem>

using namespace tessora;
using namespace tessora::test;
namespace fs = std::filesystem;

namespace {

using TLines = std::vector<std::string>;

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const EPdfError& e) {
        return e.what();
    }
    return "(no error)";
}

class PdfCanvasTest : public PdfFileTest {
protected:
    TPdfBox Pdf;
    std::string Name;

    void SetUp() override {
        SetA4(Pdf);
        Name = Out("canvas.pdf");
        Pdf.SetFileName(Name);
        Pdf.BeginDoc();
    }
    void TearDown() override {
        Pdf.EndDoc();
        PdfFileTest::TearDown();
    }

    TPdfCanvas& C() { return Pdf.Canvas(); }
    TLines Lines() const { return const_cast<TPdfBox&>(Pdf).Canvas().ContentLines(); }
    // Lines added by f.
    TLines Added(const std::function<void()>& f) {
        const size_t before = Lines().size();
        f();
        const TLines all = Lines();
        return TLines(all.begin() + long(before), all.end());
    }
};

} // namespace

TEST_F(PdfCanvasTest, StrokeOnlyRectangle) {
    C().Brush.Style = bsClear;
    EXPECT_EQ(Added([&] { C().Rectangle(100, 200, 300, 300); }),
              (TLines{"0 0 0 RG", "[]0 d", "0.283 w", "28.346 756.85 56.693 28.346 re S"}));
}

TEST_F(PdfCanvasTest, FilledAndStrokedRectangle) {
    EXPECT_EQ(Added([&] { C().Rectangle(100, 100, 300, 200); }),
              (TLines{"1 1 1 rg", "0 0 0 RG", "[]0 d", "0.283 w", "28.346 785.197 56.693 28.346 re B"}));
    // Corners given the other way round are normalised.
    EXPECT_EQ(Added([&] { C().Rectangle(300, 200, 100, 100); }),
              (TLines{"1 1 1 rg", "0 0 0 RG", "[]0 d", "0.283 w", "28.346 785.197 56.693 28.346 re B"}));
    EXPECT_EQ(C().PenPos().X, 0); // the current point is not changed
}

TEST_F(PdfCanvasTest, FillOnlyRectangle) {
    C().Pen.Style = psClear;
    C().Brush.Color = 0xC0C0C0;
    EXPECT_EQ(Added([&] { C().Rectangle(100, 100, 300, 200); }),
              (TLines{"0.753 0.753 0.753 rg", "28.346 785.197 56.693 28.346 re f"}));
    C().Brush.Style = bsDiagCross; // hatches fill as solid
    EXPECT_EQ(Added([&] { C().Rectangle(100, 100, 300, 200); }).back(), "28.346 785.197 56.693 28.346 re f");
}

TEST_F(PdfCanvasTest, NothingWithoutPenAndBrush) {
    C().Brush.Style = bsClear;
    C().Pen.Width = 0;
    EXPECT_TRUE(Added([&] {
                    C().Rectangle(100, 100, 300, 200);
                    C().Polygon(std::vector<TPdfPoint>{{0, 0}, {10, 0}, {10, 10}});
                }).empty());
    C().Pen.Width = 1;
    C().Pen.Style = psClear;
    EXPECT_TRUE(Added([&] {
                    C().Rectangle(100, 100, 300, 200);
                    C().Polygon(std::vector<TPdfPoint>{{0, 0}, {10, 0}, {10, 10}});
                    C().LineTo(50, 50);
                }).empty());
    EXPECT_EQ(C().PenPos().X, 50); // LineTo moves the point anyway
}

TEST_F(PdfCanvasTest, DegenerateRectangleStrokesALine) {
    C().Brush.Style = bsClear;
    EXPECT_EQ(Added([&] { C().Rectangle(100, 100, 100, 200); }),
              (TLines{"0 0 0 RG", "[]0 d", "0.283 w", "28.346 813.543 m", "28.346 785.197 l S"}));
    EXPECT_EQ(C().PenPos().Y, 200);
    C().Brush.Style = bsSolid; // the brush plays no part
    EXPECT_EQ(Added([&] { C().Rectangle(100, 100, 300, 100); }),
              (TLines{"0 0 0 RG", "[]0 d", "0.283 w", "28.346 813.543 m", "85.039 813.543 l S"}));
    C().Pen.Style = psClear;
    C().MoveTo(7, 7);
    EXPECT_TRUE(Added([&] { C().Rectangle(100, 100, 100, 200); }).empty());
    EXPECT_EQ(C().PenPos().X, 7);
}

TEST_F(PdfCanvasTest, MoveToAndLineTo) {
    C().MoveTo(100, 100);
    EXPECT_TRUE(Lines().empty());
    C().Pen.Color = 0x0000FF; // red in 0x00BBGGRR
    C().Pen.Width = 10;
    EXPECT_EQ(Added([&] { C().LineTo(300, 200); }),
              (TLines{"1 0 0 RG", "[]0 d", "2.835 w", "28.346 813.543 m", "85.039 785.197 l S"}));
    EXPECT_EQ(C().PenPos().X, 300);
    EXPECT_EQ(C().PenPos().Y, 200);
    EXPECT_EQ(Added([&] { C().LineTo(300, 300); })[3], "85.039 785.197 m");
}

TEST_F(PdfCanvasTest, PolygonClosedByALineBackToTheFirstPoint) {
    const std::vector<TPdfPoint> pts = {{100, 100}, {300, 100}, {300, 200}, {100, 200}};
    EXPECT_EQ(Added([&] { C().Polygon(pts); }),
              (TLines{"1 1 1 rg", "0 0 0 RG", "[]0 d", "0.283 w", "28.346 813.543 m", "85.039 813.543 l",
                      "85.039 785.197 l", "28.346 785.197 l", "28.346 813.543 l", "B"}));
    C().Brush.Style = bsClear;
    EXPECT_EQ(Added([&] { C().Polygon(std::span(pts).first(2)); }),
              (TLines{"0 0 0 RG", "[]0 d", "0.283 w", "28.346 813.543 m", "85.039 813.543 l",
                      "28.346 813.543 l", "S"}));
}

TEST_F(PdfCanvasTest, PolygonOfOnePointIsRefusedAndAborts) {
    const std::vector<TPdfPoint> one = {{1, 1}};
    EXPECT_EQ(Message([&] { C().Polygon(one); }), "Bad parameters for method: Polygon");
    EXPECT_TRUE(Pdf.Aborted());
    EXPECT_FALSE(fs::exists(Name));
}

TEST_F(PdfCanvasTest, EveryPenStyleButSolidDashesThreeThree) {
    C().Brush.Style = bsClear;
    for (TPenStyle s : {psDash, psDot, psDashDot, psDashDotDot, psInsideFrame}) {
        C().Pen.Style = s;
        EXPECT_EQ(Added([&] { C().Rectangle(0, 0, 10, 10); })[1], "[3 3]0 d") << s;
    }
    C().Pen.Style = psSolid;
    EXPECT_EQ(Added([&] { C().Rectangle(0, 0, 10, 10); })[1], "[]0 d");
}

TEST_F(PdfCanvasTest, ColoursAndSystemColours) {
    C().Pen.Style = psClear;
    const auto fill = [&](uint32_t c) {
        C().Brush.Color = c;
        return Added([&] { C().Rectangle(0, 0, 10, 10); })[0];
    };
    EXPECT_EQ(fill(0xFFFFFF), "1 1 1 rg");
    EXPECT_EQ(fill(0x000000), "0 0 0 rg");
    EXPECT_EQ(fill(0xFF0000), "0 0 1 rg"); // blue
    EXPECT_EQ(fill(0x00FF00), "0 1 0 rg");
    EXPECT_EQ(fill(0x336699), "0.6 0.4 0.2 rg");
    EXPECT_EQ(fill(0xFF000005), "1 1 1 rg"); // the window colour by default
    EXPECT_EQ(fill(0xFF000008), "0 0 0 rg"); // window text
    Pdf.ResolveSystemColor = [](int index) { return index == 5 ? 0x0000FFu : 0u; };
    EXPECT_EQ(fill(0xFF000005), "1 0 0 rg");
}

TEST_F(PdfCanvasTest, NaturalSizeAtNinetySixDpi) {
    TPdfBitmap pic(96, 48);
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({100, 100, 100, 100}, &pic);
              }),
              (TLines{"q",
                      PdfNumber(254 * 72.0 / 254) + " 0 0 " + PdfNumber(127 * 72.0 / 254) + " 28.346 " +
                          PdfNumber((2970 - 227) * 72.0 / 254) + " cm",
                      "/Im0 Do", "Q"}));
    EXPECT_EQ(Lines()[1], "72 0 0 36 28.346 777.543 cm");
}

TEST_F(PdfCanvasTest, SmartStretchDrawKeepsProportionsCentred) {
    TPdfBitmap pic(200, 100);
    // 1000 x 500 at top 250, lower-left corner at (0, 750).
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &pic);
              })[1],
              "283.465 0 0 141.732 0 629.291 cm");
    C().ImageAlignment = {THorzAlign::Left, TVertAlign::Top};
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &pic);
              })[1],
              "283.465 0 0 141.732 0 " + PdfNumber((2970 - 500) * 72.0 / 254) + " cm");
    C().ImageAlignment = {THorzAlign::Right, TVertAlign::Bottom};
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &pic);
              })[1],
              "283.465 0 0 141.732 0 " + PdfNumber((2970 - 1000) * 72.0 / 254) + " cm");
    // Taller than wide: the width is fitted and placed by the horizontal alignment.
    TPdfBitmap tall(100, 200);
    C().ImageAlignment = TPdfImageAlignment();
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &tall);
              })[1],
              PdfNumber(500 * 72.0 / 254) + " 0 0 283.465 " + PdfNumber(250 * 72.0 / 254) + " " +
                  PdfNumber(1970 * 72.0 / 254) + " cm");
    C().ImageAlignment.Horizontal = THorzAlign::Right;
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &tall);
              })[1],
              PdfNumber(500 * 72.0 / 254) + " 0 0 283.465 " + PdfNumber(500 * 72.0 / 254) + " " +
                  PdfNumber(1970 * 72.0 / 254) + " cm");
    // Without SmartStretchDraw the picture fills the rectangle.
    Pdf.SetSmartStretchDraw(false);
    EXPECT_EQ(Added([&] {
                  C().StretchDraw({0, 0, 1000, 1000}, &pic);
              })[1],
              "283.465 0 0 283.465 0 " + PdfNumber(1970 * 72.0 / 254) + " cm");
}

TEST_F(PdfCanvasTest, StretchDrawWithoutPictureIsRefused) {
    EXPECT_EQ(Message([&] { C().StretchDraw({0, 0, 10, 10}, nullptr); }), "Invalid method call");
    EXPECT_TRUE(Pdf.Aborted());
    EXPECT_FALSE(fs::exists(Name));
}

TEST_F(PdfCanvasTest, PictureOfZeroSizeIsListedButNotPlaced) {
    TPdfBitmap empty(0, 5);
    EXPECT_TRUE(Added([&] { C().StretchDraw({0, 0, 10, 10}, &empty); }).empty());
    ASSERT_EQ(C().PictureCount(), 1);
    EXPECT_EQ(C().Picture(0).Name(), "Im0");
    TPdfBitmap pic(2, 2);
    C().StretchDraw({0, 0, 10, 10}, &pic);
    EXPECT_EQ(C().Picture(1).Name(), "Im1");
    EXPECT_EQ(Lines()[2], "/Im1 Do");
}

TEST_F(PdfCanvasTest, CurrentPointAndLinesStartAfreshOnEveryPage) {
    C().MoveTo(10, 10);
    C().Rectangle(1, 1, 5, 5);
    Pdf.NewPage();
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(C().PenPos().X, 0);
    EXPECT_EQ(C().PenPos().Y, 0);
    C().Pen.Width = 3;
    Pdf.EndDoc();
    EXPECT_EQ(C().Pen.Width, 1); // the reset restores the defaults
    Pdf.BeginDoc();
}

TEST_F(PdfCanvasTest, PointsNeedNoConversion) {
    Pdf.Abort();
    Pdf.SetLengthUnit(luPoint);
    Pdf.SetPaperSize(9); // 595 x 842
    Pdf.BeginDoc();
    EXPECT_EQ(Added([&] { C().Rectangle(10, 20, 30, 40); }),
              (TLines{"1 1 1 rg", "0 0 0 RG", "[]0 d", "1 w", "10 802 20 20 re B"}));
    TPdfBitmap pic(96, 96);
    EXPECT_EQ(Added([&] { C().StretchDraw({0, 0, 0, 0}, &pic); })[1], "72 0 0 72 0 770 cm");
}

namespace {
class PdfPicturesTest : public PdfFileTest {};

// The names of the XObjects in the order they stand in the file.
std::vector<std::string> XObjectNumbers(const TPdfFile& f) {
    std::vector<std::string> r;
    for (size_t n = 1; n < f.Offsets.size(); ++n)
        if (f.Object(int(n)).find("/Subtype/Image") != std::string::npos) r.push_back(std::to_string(n));
    return r;
}
} // namespace

TEST_F(PdfPicturesTest, ObjectOrderOfAOnePictureFile) {
    const std::string name = Out("one.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.BeginDoc();
    TPdfBitmap pic(30, 20);
    pdf.Canvas().StretchDraw({100, 100, 400, 300}, &pic);
    pdf.EndDoc();
    const TPdfFile f = ReadPdf(name);
    // 1 Info; 4 content, 5 picture, 6 page, 7 catalog; then 2 and 3; xref lists 0 to 7.
    ASSERT_EQ(f.Offsets.size(), 8u);
    const int order[] = {1, 4, 5, 6, 7, 2, 3};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        EXPECT_LT(f.Offsets[size_t(order[i])], f.Offsets[size_t(order[i + 1])]) << order[i];
    EXPECT_NE(f.Object(4).find("/Im0 Do"), std::string::npos);
    EXPECT_NE(f.Object(5).find("/Subtype/Image"), std::string::npos);
    EXPECT_NE(f.Object(6).find("/Contents 4 0 R"), std::string::npos);
    EXPECT_NE(f.Object(7).find("/Type/Catalog"), std::string::npos);
    EXPECT_EQ(SplitLines(f.Object(3)), (TLines{"3 0 obj", "<<", "/ProcSet[/PDF/Text/ImageC]", "/Font<<", ">>",
                                               "/XObject <<", "/Im0 5 0 R", " >>", ">>", "endobj"}));
    EXPECT_NE(std::find(f.Trailer.begin(), f.Trailer.end(), "/Root 7 0 R"), f.Trailer.end());
    EXPECT_NE(std::find(f.Trailer.begin(), f.Trailer.end(), "/Size 8"), f.Trailer.end());
    // /Length: the picture's counts the bytes between the line feed after "stream" and the
    // line feed before "endstream"; the content stream's counts every line with its line feed.
    EXPECT_EQ(f.StreamLength(5) + 1, (long long)f.RawStream(5).size());
    EXPECT_EQ(f.RawStream(5).back(), '\n');
    EXPECT_EQ(f.StreamLength(4), (long long)f.RawStream(4).size());
    EXPECT_EQ(f.Stream(4), "q\n" + PdfNumber(300 * 72.0 / 254) + " 0 0 " + PdfNumber(200 * 72.0 / 254) +
                               " 28.346 " + PdfNumber(2670 * 72.0 / 254) + " cm\n/Im0 Do\nQ\n");
}

TEST_F(PdfPicturesTest, NamesFollowCreationAndAPicturePlacedAgainIsWrittenOnce) {
    const std::string name = Out("names.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.SetImageCompressMode(cpZlib);
    TPdfBitmap a(10, 10, pf24bit, 0xFF0000), b(12, 8, pf24bit, 0x00FF00), c(5, 5, pf1bit, 0);
    pdf.BeginDoc();
    TPdfCanvas& cv = pdf.Canvas();
    cv.StretchDraw({0, 0, 100, 100}, &a);
    cv.StretchDraw({200, 0, 300, 100}, &b);
    cv.StretchDraw({400, 0, 500, 100}, &a); // placed again: same name, not created again
    EXPECT_EQ(cv.PictureCount(), 2);
    pdf.NewPage();
    EXPECT_TRUE(cv.Picture(0).Written());
    EXPECT_TRUE(cv.Picture(0).EncodedData().empty()); // emptied once written
    cv.StretchDraw({0, 0, 100, 100}, &a);
    cv.StretchDraw({0, 200, 100, 300}, &c);
    EXPECT_EQ(cv.PictureCount(), 3);
    EXPECT_EQ(cv.Picture(0).Name(), "Im0");
    EXPECT_EQ(cv.Picture(1).Name(), "Im1");
    EXPECT_EQ(cv.Picture(2).Name(), "Im2");
    pdf.EndDoc();

    const TPdfFile f = ReadPdf(name);
    // Page 1: content 4, Im0 5, Im1 6, page 7; page 2: content 8, Im2 9, page 10; catalog 11.
    EXPECT_EQ(XObjectNumbers(f), (TLines{"5", "6", "9"}));
    const std::string page1 = f.Stream(4), page2 = f.Stream(8);
    EXPECT_NE(page1.find("/Im0 Do\nQ\nq\n"), std::string::npos);
    EXPECT_NE(page1.find("/Im1 Do"), std::string::npos);
    EXPECT_NE(page2.find("/Im0 Do"), std::string::npos); // both pages name it
    EXPECT_NE(page2.find("/Im2 Do"), std::string::npos);
    EXPECT_EQ(page2.find("/Im1 Do"), std::string::npos);
    const TLines res = SplitLines(f.Object(3));
    EXPECT_EQ(TLines(res.begin() + 5, res.end()),
              (TLines{"/XObject <<", "/Im0 5 0 R", "/Im1 6 0 R", "/Im2 9 0 R", " >>", ">>", "endobj"}));
}

TEST_F(PdfPicturesTest, AFreedPictureIsNeverTakenForALaterOne) {
    const std::string name = Out("freed.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.BeginDoc();
    for (int i = 0; i < 3; ++i) {
        auto pic = std::make_unique<TPdfBitmap>(4, 4, pf24bit, 0x010101u * uint32_t(i * 40));
        pdf.Canvas().StretchDraw({0, 0, 40, 40}, pic.get());
    } // each freed before the next is made, often at the same address
    EXPECT_EQ(pdf.Canvas().PictureCount(), 3);
    // A copy is another picture too.
    TPdfBitmap a(4, 4);
    const TPdfBitmap b = a;
    EXPECT_NE(a.Identity(), b.Identity());
    EXPECT_NE(NewPdfPictureId(), 0u);
    pdf.EndDoc();
}

TEST_F(PdfPicturesTest, PictureListIsFreedWithTheDocument) {
    const std::string name = Out("reset.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    TPdfBitmap a(4, 4);
    pdf.BeginDoc();
    pdf.Canvas().StretchDraw({0, 0, 40, 40}, &a);
    pdf.EndDoc();
    EXPECT_EQ(pdf.Canvas().PictureCount(), 0);
    pdf.BeginDoc(); // the next document encodes and writes it again, as Im0
    pdf.Canvas().StretchDraw({0, 0, 40, 40}, &a);
    EXPECT_EQ(pdf.Canvas().Picture(0).Name(), "Im0");
    pdf.EndDoc();
    EXPECT_EQ(XObjectNumbers(ReadPdf(name)), (TLines{"5"}));
}
