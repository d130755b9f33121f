// The sheet as a PDF, checked with qpdf, pdfimages, pdfinfo, pdftoppm and zbarimg.
#include "tests/sheetview/uSheetFixture.h"

#include "document/uMessages.h"

#include <QPainter>
#include <QRegularExpression>
#include <cmath>

using namespace tessora;
using namespace tessora::test;

namespace {

struct TImageRow {
    int Width, Height;
    QString Enc;
};

// The rows of `pdfimages -list`.
std::vector<TImageRow> PdfImages(const std::string& pdf) {
    std::vector<TImageRow> rows;
    const auto r = tessora::test::Run("pdfimages", {"-list", QString::fromStdString(pdf)});
    for (const QByteArray& line : r.Out.split('\n').mid(2)) {
        const QStringList f = QString::fromUtf8(line).split(' ', Qt::SkipEmptyParts);
        if (f.size() > 8) rows.push_back({f[3].toInt(), f[4].toInt(), f[8]});
    }
    return rows;
}

QString PdfInfo(const std::string& pdf, const char* key) {
    const auto r = tessora::test::Run("pdfinfo", {QString::fromStdString(pdf)});
    for (const QByteArray& line : r.Out.split('\n'))
        if (line.startsWith(key)) return QString::fromUtf8(line.mid(int(strlen(key)) + 1)).trimmed();
    return {};
}

bool QpdfOk(const std::string& pdf) { return tessora::test::Run("qpdf", {"--check", QString::fromStdString(pdf)}).ExitCode == 0; }

// The page content with streams uncompressed, one operator a line.
QString Content(const std::string& pdf, const TTempDir& dir) {
    const std::string qdf = dir.File("qdf.pdf");
    tessora::test::Run("qpdf", {"--qdf", "--object-streams=disable", QString::fromStdString(pdf), QString::fromStdString(qdf)});
    return QString::fromLatin1(ReadAll(qdf));
}

QImage Raster(const std::string& pdf, int dpi, const TTempDir& dir) {
    const std::string prefix = dir.File("page");
    tessora::test::Run("pdftoppm", {"-r", QString::number(dpi), "-png", "-singlefile", QString::fromStdString(pdf), QString::fromStdString(prefix)});
    return QImage(QString::fromStdString(prefix + ".png"));
}

class SheetPdf : public SheetTest {
protected:
    void SetUp() override {
        SheetTest::SetUp();
        if (!HaveTool("qpdf") || !HaveTool("pdfimages") || !HaveTool("pdftoppm"))
            GTEST_SKIP() << "qpdf and poppler-utils are needed";
    }
    // Labels of 50 x 30 mm at (10, 20) mm with gaps 3 and 5: bitmaps of 525 x 350 pixels.
    void MakeGrid(int cols, int rows) {
        Make(lsRectangle, 50, 30, cols, rows);
        Sheet->Header.MarginTop = 20;
        Sheet->Header.GapH = 3;
        Sheet->Header.GapV = 5;
        Sheet->BuildGrid();
    }
    std::string Write(bool ok = true) {
        const std::string f = Home.File("sheet.pdf");
        EXPECT_EQ(Sheet->WriteSheetPdf(f, false), ok);
        return f;
    }
};

} // namespace

TEST_F(SheetPdf, OnePictureAFaceOfEveryLabelThatIsOn) {
    MakeGrid(2, 3);
    const std::string pic = SavePicture("p.png", Solid(300, 200, QColor(30, 140, 90)));
    Sheet->AddPicture(-1, 0, pic);
    Sheet->Label(4).Vis = false;
    const std::string f = Write();
    EXPECT_TRUE(QpdfOk(f));
    EXPECT_EQ(PdfInfo(f, "Pages:"), "1");
    EXPECT_TRUE(PdfInfo(f, "Page size:").startsWith("612 x 792 pts")); // 2159 x 2794 tenths
    const auto images = PdfImages(f);
    ASSERT_EQ(images.size(), 5u);
    for (const auto& im : images) {
        EXPECT_EQ(im.Width, 525);
        EXPECT_EQ(im.Height, 350);
        EXPECT_EQ(im.Enc, "jpeg");
    }
    EXPECT_EQ(Sheet->Target, otScreen);
    EXPECT_TRUE(Sheet->RescalePending);
    // The capture of the first label: at (100, 200) tenths in its own size.
    Sheet->PdfOut = &Pdf;
    Sheet->Target = otPdf;
    Sheet->DrawLabel(0, -1, true);
    Sheet->Target = otScreen;
    EXPECT_EQ(Pdf.Pictures.back().Dest, QRect(100, 200, 525, 350));
}

TEST_F(SheetPdf, PageSizeFollowsThePaper) {
    MakeGrid(1, 1);
    for (auto [paper, size] : {std::pair{5, "792 x 612 pts"}, std::pair{7, "288 x 432 pts"}}) {
        Sheet->Header.PaperSize = uint8_t(paper);
        Sheet->ApplyPaperSize();
        const std::string f = Write();
        EXPECT_TRUE(PdfInfo(f, "Page size:").startsWith(size)) << paper << " " << PdfInfo(f, "Page size:").toStdString();
    }
}

TEST_F(SheetPdf, AllLabelsOffGiveAnEmptyPage) {
    MakeGrid(2, 2);
    for (auto& l : Sheet->Labels) l->Vis = false;
    const std::string f = Write();
    EXPECT_TRUE(QpdfOk(f));
    EXPECT_EQ(PdfInfo(f, "Pages:"), "1");
    EXPECT_TRUE(PdfImages(f).empty());
}

TEST_F(SheetPdf, RasterMatchesTheSheetsOwnDrawing) {
    MakeGrid(2, 2);
    Sheet->AddPicture(-1, 0, SavePicture("g.png", [] {
        QImage img(240, 160, QImage::Format_RGB32);
        QPainter p(&img);
        QLinearGradient g(0, 0, 240, 160);
        g.setColorAt(0, QColor(200, 40, 40));
        g.setColorAt(1, QColor(40, 60, 200));
        p.fillRect(img.rect(), g);
        return img;
    }()));
    for (auto& l : Sheet->Labels) {
        l->Face(0).Image(0).Scale = 70;
        auto t = std::make_unique<TLabelText>(2, 22, 45);
        t->Text = "Raster check";
        t->FontName = "Liberation Sans";
        l->Face(0).Texts.push_back(std::move(t));
        l->VisFr = true;
    }
    const std::string f = Write();
    TTempDir dir;
    // Poppler blends neighbouring pixels when it draws a picture at exactly one device pixel a
    // picture pixel, so each label is rendered at four times 254 dpi and read at the centre of
    // every 4 x 4 block: one block per tenth of a millimetre.
    constexpr int k = 4;
    for (int i = 0; i < 4; ++i) {
        Pdf.Pictures.clear();
        Sheet->PdfOut = &Pdf;
        Sheet->Target = otPdf;
        Sheet->DrawLabel(i, -1, true);
        Sheet->Target = otScreen;
        const auto& own = Pdf.Pictures.back();
        const std::string prefix = dir.File("label");
        tessora::test::Run("pdftoppm", {"-r", QString::number(254 * k), "-x", QString::number(own.Dest.left() * k), "-y",
                                        QString::number(own.Dest.top() * k), "-W", QString::number(own.Dest.width() * k),
                                        "-H", QString::number(own.Dest.height() * k), "-png", "-singlefile",
                                        QString::fromStdString(f), QString::fromStdString(prefix)});
        const QImage page(QString::fromStdString(prefix + ".png"));
        ASSERT_EQ(page.size(), own.Bitmap.size() * k);
        double sum = 0;
        int worst = 0;
        for (int y = 0; y < own.Bitmap.height(); ++y)
            for (int x = 0; x < own.Bitmap.width(); ++x) {
                const QRgb a = own.Bitmap.pixel(x, y), b = page.pixel(x * k + k / 2, y * k + k / 2);
                const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
                sum += d;
                worst = std::max(worst, d);
            }
        const double mean = sum / (own.Bitmap.width() * own.Bitmap.height() * 3.0);
        // JPEG at quality 90: small errors everywhere, larger ones only at sharp edges.
        EXPECT_LT(mean, 1.5) << "label " << i;
        EXPECT_LT(worst, 3 * 80) << "label " << i;
    }
}

TEST_F(SheetPdf, BarcodesDecodeFromThePrintedPage) {
    if (!HaveTool("zbarimg")) GTEST_SKIP() << "zbarimg is not installed";
    MakeGrid(2, 2);
    const char* data[] = {"400638133393", "590123412345", "978020137962", "501234567890"};
    for (int i = 0; i < 4; ++i) {
        TLabelFace& f = Face(i);
        f.BCType = 15;
        f.BCText = data[i];
        f.BCChSum = true;
        f.BCLeft = 5;
        f.BCTop = 4;
        f.BCHeight = 18;
        f.BCWidth = 0.33;
    }
    const std::string f = Write();
    TTempDir dir;
    const QImage page = Raster(f, 300, dir);
    QStringList found;
    for (int i = 0; i < 4; ++i) {
        // Each label on its own, as a scanner sees one label.
        const QRect r = QRect(RoundHalfEven(Sheet->Label(i).X * 300 / 25.4), RoundHalfEven(Sheet->Label(i).Y * 300 / 25.4),
                              RoundHalfEven(50 * 300 / 25.4), RoundHalfEven(30 * 300 / 25.4));
        const std::string png = dir.File("label.png");
        page.copy(r).save(QString::fromStdString(png));
        found << QString::fromUtf8(tessora::test::Run("zbarimg", {"-q", "--raw", QString::fromStdString(png)}).Out.trimmed());
    }
    EXPECT_EQ(found, (QStringList{"4006381333931", "5901234123457", "9780201379624", "5012345678900"}));
}

TEST_F(SheetPdf, BoxFlapsAreVectorPolygonsAndPanelFramesFollowPrintOutline) {
    Make(lsBox, 50, 80, 1, 1, 20);
    Sheet->Label(0).OLColor = 0x0000FF;
    TTempDir dir;
    for (bool visFr : {false, true}) {
        Sheet->Label(0).VisFr = visFr;
        const std::string f = Write();
        EXPECT_TRUE(QpdfOk(f));
        EXPECT_EQ(PdfImages(f).size(), 6u);
        const QString content = Content(f, dir);
        // Filled-and-stroked closed paths for the seven flaps; stroked rectangles for the frames.
        const auto lines = QRegularExpression::MultilineOption;
        EXPECT_EQ(content.count(QRegularExpression("^B$", lines)), 7) << visFr;
        EXPECT_EQ(content.count(QRegularExpression(" re S$", lines)), visFr ? 6 : 0) << visFr;
        // A flap prints grey: panel 1's flap below the net, 15 mm deep.
        const QImage page = Raster(f, 254, dir);
        const QRgb flap = page.pixel(100 + 250, 100 + 1200 + 60);
        EXPECT_NEAR(qRed(flap), 0xC0, 3);
        EXPECT_NEAR(qBlue(flap), 0xC0, 3);
    }
}

TEST_F(SheetPdf, FileThatCannotBeCreated) {
    MakeGrid(1, 1);
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    const std::string f = Home.File("no/such/folder/sheet.pdf");
    EXPECT_FALSE(Sheet->WriteSheetPdf(f, false));
    ASSERT_EQ(msgs.Shown.size(), 1u);
    EXPECT_EQ(msgs.Shown[0].Text, "Can't save " + f +
                                      " file.\r\nThis file appears to be in use by Adobe Reader.\r\n"
                                      "Please close Adobe Reader or save again using another file name.");
    EXPECT_EQ(Sheet->Target, otScreen);
    // The view still draws at screen scale.
    Sheet->DrawLabel(0, -1, false);
    EXPECT_EQ(Sheet->MmToPxX(10), 100);
}

TEST_F(SheetPdf, PageRangeCountsSerialNumbersOn) {
    MakeGrid(2, 1);
    Sheet->Settings.SerialOn = true;
    Sheet->Settings.PageNum = 2;
    const std::string f = Home.File("range.pdf");
    ASSERT_TRUE(Sheet->WriteSheetPdfPages(f, false, 1, 3));
    EXPECT_TRUE(QpdfOk(f));
    EXPECT_EQ(PdfInfo(f, "Pages:"), "3");
    EXPECT_EQ(PdfImages(f).size(), 6u);
    EXPECT_EQ(Sheet->Settings.PageNum, 2);
    // Page 2 of the range is the single page of PageNum 2.
    TTempDir dir;
    tessora::test::Run("pdftoppm", {"-r", "100", "-png", "-f", "2", "-l", "2", "-singlefile", QString::fromStdString(f),
                     QString::fromStdString(dir.File("r2"))});
    const QImage fromRange(QString::fromStdString(dir.File("r2.png")));
    const std::string single = Write();
    tessora::test::Run("pdftoppm", {"-r", "100", "-png", "-singlefile", QString::fromStdString(single), QString::fromStdString(dir.File("s2"))});
    const QImage fromSingle(QString::fromStdString(dir.File("s2.png")));
    EXPECT_EQ(fromRange, fromSingle);
}
