// TPdfBox: settings, paper sizes, units, refusals, document structure, events, files.
#include "tests/pdf/PdfTestSupport.h"

#include "pdf/PdfFormat.h"

#include <QRegularExpression>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace tessora;
using namespace tessora::test;
namespace fs = std::filesystem;

namespace {

std::string Message(const std::function<void()>& f) {
    try {
        f();
    } catch (const EPdfError& e) {
        return e.what();
    }
    return "(no error)";
}

// The file's lines with the date and identifier lines replaced by fixed text.
std::vector<std::string> MaskedLines(const std::string& bytes) {
    std::vector<std::string> lines = SplitLines(bytes);
    for (std::string& l : lines) {
        if (l.rfind("/CreationDate(D:", 0) == 0) l = "/CreationDate(DATE)";
        if (l.rfind("/ID[(", 0) == 0) l = "/ID[(ID)(ID)]";
    }
    return lines;
}

class PdfBoxTest : public PdfFileTest {};

std::string Pad10(long long v) {
    std::string s = std::to_string(v);
    return std::string(10 - s.size(), '0') + s;
}

} // namespace

TEST(PdfBoxSettings, Defaults) {
    TPdfBox pdf;
    EXPECT_EQ(pdf.Author(), "");
    EXPECT_EQ(pdf.FileName(), "");
    EXPECT_EQ(pdf.ImageCompressMode(), cpJpeg);
    EXPECT_EQ(pdf.JpegQuality(), 90);
    EXPECT_EQ(pdf.Keywords(), "");
    EXPECT_EQ(pdf.LengthUnit(), luTenth);
    EXPECT_EQ(pdf.Orientation(), poPortrait);
    EXPECT_EQ(pdf.Producer(), "");
    EXPECT_TRUE(pdf.SmartStretchDraw());
    EXPECT_EQ(pdf.Subject(), "");
    EXPECT_EQ(pdf.Title(), "");
    EXPECT_FALSE(pdf.WantShow());
    EXPECT_EQ(pdf.PageCount(), 0);
    EXPECT_FALSE(pdf.Opened());
    // The default paper is the locale's: Letter or A4.
    const int paper = PdfLocalePaperSize();
    ASSERT_TRUE(paper == 1 || paper == 9);
    EXPECT_EQ(pdf.PaperSizeName(), kPdfPaperSizes[size_t(paper)].Name);
    EXPECT_EQ(pdf.PageWidth(), kPdfPaperSizes[size_t(paper)].Width);
    EXPECT_EQ(pdf.PageHeight(), kPdfPaperSizes[size_t(paper)].Height);
    // Canvas defaults.
    EXPECT_EQ(pdf.Canvas().Pen.Color, 0u);
    EXPECT_EQ(pdf.Canvas().Pen.Style, psSolid);
    EXPECT_EQ(pdf.Canvas().Pen.Width, 1);
    EXPECT_EQ(pdf.Canvas().Brush.Color, 0xFFFFFFu);
    EXPECT_EQ(pdf.Canvas().Brush.Style, bsSolid);
    EXPECT_EQ(pdf.Canvas().ImageAlignment.Horizontal, THorzAlign::Center);
    EXPECT_EQ(pdf.Canvas().ImageAlignment.Vertical, TVertAlign::Center);
}

TEST(PdfBoxSettings, LocalePaperFollowsLcPaper) {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    setenv("LC_ALL", "C", 1);
    EXPECT_EQ(PdfLocalePaperSize(), 9); // the C locale's paper is A4
    if (old)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
}

TEST(PdfBoxSettings, UnitFactors) {
    TPdfBox pdf;
    pdf.SetLengthUnit(luTenth);
    EXPECT_DOUBLE_EQ(pdf.UnitToPoints(), 72.0 / 254.0);
    EXPECT_DOUBLE_EQ(pdf.PixelToUnit(), 254.0 / 96.0);
    EXPECT_DOUBLE_EQ(pdf.TenthToUnit(), 1.0);
    pdf.SetLengthUnit(luPoint);
    EXPECT_DOUBLE_EQ(pdf.UnitToPoints(), 1.0);
    EXPECT_DOUBLE_EQ(pdf.PixelToUnit(), 72.0 / 96.0);
    EXPECT_DOUBLE_EQ(pdf.TenthToUnit(), 72.0 / 254.0);
}

TEST(PdfBoxSettings, PaperSizeTable) {
    ASSERT_EQ(kPdfPaperSizes.size(), 42u);
    EXPECT_STREQ(kPdfPaperSizes[0].Name, "Custom");
    EXPECT_STREQ(kPdfPaperSizes[1].Name, "Letter");
    EXPECT_EQ(kPdfPaperSizes[1].Width, 2159);
    EXPECT_EQ(kPdfPaperSizes[1].Height, 2794);
    EXPECT_STREQ(kPdfPaperSizes[9].Name, "A4");
    EXPECT_STREQ(kPdfPaperSizes[35].Name, "B6");
    EXPECT_EQ(kPdfPaperSizes[35].Width, 1760);
    EXPECT_EQ(kPdfPaperSizes[35].Height, 1250);
    EXPECT_STREQ(kPdfPaperSizes[41].Name, "German Legal Fanfold");

    TPdfBox pdf;
    pdf.SetPaperSize(9);
    EXPECT_EQ(pdf.PaperSizeName(), "A4");
    EXPECT_EQ(pdf.PageWidth(), 2100);
    EXPECT_EQ(pdf.PageHeight(), 2970);
    pdf.SetPaperSize(4); // wider than high, used as it stands
    EXPECT_EQ(pdf.PageWidth(), 4318);
    EXPECT_EQ(pdf.PageHeight(), 2794);
    pdf.SetPaperSize(0);
    EXPECT_EQ(pdf.PaperSizeName(), "Custom");
    EXPECT_EQ(pdf.PageWidth(), 0);
    EXPECT_EQ(Message([&] { pdf.SetPaperSize(42); }), "Invalid property value: PaperSize");
    EXPECT_EQ(Message([&] { pdf.SetPaperSize(-1); }), "Invalid property value: PaperSize");

    pdf.SetLengthUnit(luPoint);
    pdf.SetPaperSize(9);
    EXPECT_EQ(pdf.PageWidth(), 595);
    EXPECT_EQ(pdf.PageHeight(), 842);
}

TEST(PdfBoxSettings, PaperSizeName) {
    TPdfBox pdf;
    pdf.SetPaperSizeName("a4");
    EXPECT_EQ(pdf.PaperSizeName(), "A4");
    EXPECT_EQ(pdf.PageWidth(), 2100);
    pdf.SetPaperSizeName("B5"); // row 13, never 34
    EXPECT_EQ(pdf.PageWidth(), 1820);
    EXPECT_EQ(pdf.PageHeight(), 2570);
    pdf.SetPaperSizeName("b4");
    EXPECT_EQ(pdf.PageHeight(), 3540);
    pdf.SetPaperSizeName("envelope #10");
    EXPECT_EQ(pdf.PaperSizeName(), "Envelope #10");
    EXPECT_EQ(Message([&] { pdf.SetPaperSizeName("Custom"); }), "Invalid property value: PaperSizeName");
    EXPECT_EQ(Message([&] { pdf.SetPaperSizeName("A7"); }), "Invalid property value: PaperSizeName");
    EXPECT_EQ(pdf.PaperSizeName(), "Envelope #10");
}

TEST(PdfBoxSettings, OrientationAndDirectSizes) {
    TPdfBox pdf;
    pdf.SetPaperSize(9);
    pdf.SetOrientation(poLandscape);
    EXPECT_EQ(pdf.PageWidth(), 2970);
    EXPECT_EQ(pdf.PageHeight(), 2100);
    pdf.SetOrientation(poLandscape); // no change, no swap
    EXPECT_EQ(pdf.PageWidth(), 2970);
    pdf.SetPaperSizeName("A4");
    EXPECT_EQ(pdf.PageWidth(), 2970);
    EXPECT_EQ(pdf.PageHeight(), 2100);
    pdf.SetOrientation(poPortrait);
    EXPECT_EQ(pdf.PageWidth(), 2100);
    EXPECT_EQ(pdf.PaperSizeName(), "A4");
    pdf.SetPageWidth(2160);
    EXPECT_EQ(pdf.PaperSizeName(), "Custom");
    pdf.SetPaperSize(9);
    pdf.SetPageHeight(2795);
    EXPECT_EQ(pdf.PaperSizeName(), "Custom");
    EXPECT_EQ(pdf.PageWidth(), 2100);
    EXPECT_EQ(pdf.PageHeight(), 2795);
}

TEST(PdfBoxSettings, LengthUnitConvertsThePageSize) {
    TPdfBox pdf;
    pdf.SetPaperSize(9);
    pdf.SetLengthUnit(luPoint);
    EXPECT_EQ(pdf.PageWidth(), 595);
    EXPECT_EQ(pdf.PageHeight(), 842);
    pdf.SetLengthUnit(luPoint);
    EXPECT_EQ(pdf.PageWidth(), 595);
    pdf.SetLengthUnit(luTenth);
    EXPECT_EQ(pdf.PageWidth(), 2099);
    EXPECT_EQ(pdf.PageHeight(), 2970);
}

TEST(PdfBoxSettings, JpegQualityRange) {
    TPdfBox pdf;
    pdf.SetJpegQuality(1);
    pdf.SetJpegQuality(100);
    EXPECT_EQ(pdf.JpegQuality(), 100);
    EXPECT_EQ(Message([&] { pdf.SetJpegQuality(0); }), "Invalid value for property: JpegQuality");
    EXPECT_EQ(Message([&] { pdf.SetJpegQuality(101); }), "Invalid value for property: JpegQuality");
    EXPECT_EQ(pdf.JpegQuality(), 100);
}

TEST_F(PdfBoxTest, EmptyDocumentHasOnePageAndEveryLineAsWritten) {
    TPdfBox pdf;
    SetA4(pdf);
    const std::string name = Out("empty.pdf");
    pdf.SetFileName(name);
    pdf.BeginDoc();
    EXPECT_TRUE(pdf.Opened());
    EXPECT_EQ(pdf.PageCount(), 1);
    pdf.EndDoc();
    EXPECT_FALSE(pdf.Opened());
    EXPECT_EQ(pdf.PageCount(), 1);

    const TPdfFile f = ReadPdf(name);
    const std::vector<std::string> expect = {"%PDF-1.3",
                                             "1 0 obj",
                                             "<<",
                                             "/CreationDate(DATE)",
                                             "/Title()",
                                             "/Producer(Tessora TPdfBox 2.1)",
                                             ">>",
                                             "endobj",
                                             "4 0 obj",
                                             "<<",
                                             "/Length 0",
                                             ">>",
                                             "stream",
                                             "endstream",
                                             "endobj",
                                             "5 0 obj",
                                             "<<",
                                             "/Type/Page",
                                             "/Parent 2 0 R",
                                             "/MediaBox[ 0 0 595.276 841.89 ]",
                                             "/Contents 4 0 R",
                                             ">>",
                                             "endobj",
                                             "6 0 obj",
                                             "<<",
                                             "/Type/Catalog",
                                             "/Pages 2 0 R",
                                             ">>",
                                             "endobj",
                                             "2 0 obj",
                                             "<<",
                                             "/Type/Pages",
                                             "/Kids[",
                                             "5 0 R",
                                             "]",
                                             "/Count 1",
                                             "/Resources 3 0 R",
                                             ">>",
                                             "endobj",
                                             "3 0 obj",
                                             "<<",
                                             "/ProcSet[/PDF/Text/ImageC]",
                                             "/Font<<",
                                             ">>",
                                             ">>",
                                             "endobj",
                                             "xref",
                                             "0 7",
                                             "0000000000 65535 f\r",
                                             "0000000009 00000 n\r",
                                             Pad10(f.Offsets.size() > 2 ? f.Offsets[2] : 0) + " 00000 n\r",
                                             Pad10(f.Offsets.size() > 3 ? f.Offsets[3] : 0) + " 00000 n\r",
                                             Pad10(f.Offsets.size() > 4 ? f.Offsets[4] : 0) + " 00000 n\r",
                                             Pad10(f.Offsets.size() > 5 ? f.Offsets[5] : 0) + " 00000 n\r",
                                             Pad10(f.Offsets.size() > 6 ? f.Offsets[6] : 0) + " 00000 n\r",
                                             "trailer",
                                             "<<",
                                             "/Size 7",
                                             "/Root 6 0 R",
                                             "/Info 1 0 R",
                                             "/ID[(ID)(ID)]",
                                             ">>",
                                             "startxref",
                                             std::to_string(f.XrefOffset),
                                             "%%EOF"};
    EXPECT_EQ(MaskedLines(f.Bytes), expect);
    // Objects in file order 1, 4, 5, 6, 2, 3, offsets all three digits here.
    ASSERT_EQ(f.Offsets.size(), 7u);
    EXPECT_LT(f.Offsets[1], f.Offsets[4]);
    EXPECT_LT(f.Offsets[4], f.Offsets[5]);
    EXPECT_LT(f.Offsets[5], f.Offsets[6]);
    EXPECT_LT(f.Offsets[6], f.Offsets[2]);
    EXPECT_LT(f.Offsets[2], f.Offsets[3]);
    for (int n = 1; n <= 6; ++n)
        EXPECT_FALSE(f.Object(n).empty()) << n;
    EXPECT_EQ(f.Bytes.back(), '\n');
    EXPECT_EQ(f.Bytes.find("/XObject"), std::string::npos);
    EXPECT_EQ(f.Bytes.find("\r\n"), size_t(f.XrefOffset) + 5 + 4 + 18); // CR LF only in the table
}

TEST_F(PdfBoxTest, CrossReferenceLinesAreTwentyBytesEndingInCrLf) {
    TPdfBox pdf;
    SetA4(pdf);
    const std::string name = Out("xref.pdf");
    pdf.SetFileName(name);
    pdf.BeginDoc();
    pdf.NewPage();
    pdf.NewPage();
    pdf.EndDoc();
    const TPdfFile f = ReadPdf(name);
    const size_t x = size_t(f.XrefOffset);
    ASSERT_EQ(f.Bytes.compare(x, 5, "xref\n"), 0);
    const size_t first = f.Bytes.find('\n', x + 5) + 1;
    EXPECT_EQ(f.Bytes.substr(x + 5, first - x - 5), "0 " + std::to_string(f.Offsets.size()) + "\n");
    const size_t trailer = f.Bytes.find("trailer\n", first);
    ASSERT_NE(trailer, std::string::npos);
    EXPECT_EQ((trailer - first) % 20, 0u);
    EXPECT_EQ((trailer - first) / 20, f.Offsets.size());
    EXPECT_EQ(f.Bytes.substr(first, 20), std::string("0000000000 65535 f\r\n"));
    for (size_t p = first; p < trailer; p += 20) {
        const std::string line = f.Bytes.substr(p, 20);
        EXPECT_EQ(line.substr(18), "\r\n");
        EXPECT_EQ(line.find_first_not_of("0123456789"), 10u);
        if (p > first) {
            EXPECT_EQ(line.substr(10), " 00000 n\r\n");
        }
    }
    // Every in-use entry points at its object's header line.
    for (size_t n = 1; n < f.Offsets.size(); ++n) {
        const std::string head = std::to_string(n) + " 0 obj\n";
        EXPECT_EQ(f.Bytes.compare(size_t(f.Offsets[n]), head.size(), head), 0) << n;
    }
    // Three pages, in order, under the page tree.
    const std::vector<std::string> tree = SplitLines(f.Object(2));
    const std::vector<std::string> expectTree = {
        "2 0 obj", "<<", "/Type/Pages", "/Kids[",           "5 0 R", "7 0 R",
        "9 0 R",   "]",  "/Count 3",    "/Resources 3 0 R", ">>",    "endobj"};
    EXPECT_EQ(tree, expectTree);
    EXPECT_EQ(pdf.PageCount(), 3);
}

TEST_F(PdfBoxTest, MediaBoxValues) {
    const std::string name = Out("media.pdf");
    TPdfBox pdf;
    pdf.SetFileName(name);
    pdf.SetLengthUnit(luTenth);
    pdf.SetPageWidth(2160);
    pdf.SetPageHeight(2795);
    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_NE(ReadBytes(name).find("\n/MediaBox[ 0 0 612.283 792.283 ]\n"), std::string::npos);

    pdf.SetLengthUnit(luPoint);
    pdf.SetPaperSize(1);
    EXPECT_EQ(pdf.PageWidth(), 612);
    EXPECT_EQ(pdf.PageHeight(), 792);
    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_NE(ReadBytes(name).find("\n/MediaBox[ 0 0 612 792 ]\n"), std::string::npos);
}

TEST_F(PdfBoxTest, InfoDictionary) {
    const std::string name = Out("info.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.SetTitle("Sheet (1)");
    pdf.SetAuthor("Ann");
    pdf.SetSubject("Labels");
    pdf.SetKeywords("a\\b");
    pdf.SetProducer("Me");
    pdf.BeginDoc();
    pdf.EndDoc();
    const TPdfFile f = ReadPdf(name);
    const std::vector<std::string> info = SplitLines(f.Object(1));
    ASSERT_EQ(info.size(), 10u);
    EXPECT_TRUE(QRegularExpression("^/CreationDate\\(D:20\\d{12}\\)$")
                    .match(QString::fromStdString(info[2]))
                    .hasMatch())
        << info[2];
    EXPECT_EQ(info[3], "/Title(Sheet \\(1\\))");
    EXPECT_EQ(info[4], "/Author(Ann)");
    EXPECT_EQ(info[5], "/Subject(Labels)");
    EXPECT_EQ(info[6], "/Keywords(a\\\\b)");
    EXPECT_EQ(info[7], "/Producer(Me)");
}

TEST_F(PdfBoxTest, FileIdentifierFromTheFullName) {
    const std::string name = Out("Sheet.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_EQ(pdf.FullFileName(), name);
    const TPdfFile f = ReadPdf(name);
    std::string id;
    for (const std::string& l : f.Trailer)
        if (l.rfind("/ID[(", 0) == 0) id = l;
    ASSERT_FALSE(id.empty());
    const std::string letters = PdfFileIdentifier(0, name).substr(1); // "0" and the letters
    const QRegularExpressionMatch m =
        QRegularExpression("^/ID\\[\\((\\d+)([A-Za-z]*)\\)\\((\\d+)([A-Za-z]*)\\)\\]$")
            .match(QString::fromStdString(id));
    ASSERT_TRUE(m.hasMatch()) << id;
    EXPECT_EQ(m.captured(2).toStdString(), letters);
    EXPECT_EQ(m.captured(1), m.captured(3));
    EXPECT_EQ(m.captured(2), m.captured(4));
    // Today's day count since 30 December 1899, times 10000.
    const double stamp = m.captured(1).toDouble() / 10000.0;
    EXPECT_GT(stamp, 45000.0);
    EXPECT_LT(stamp, 80000.0);
}

TEST_F(PdfBoxTest, EmptyFileNameWritesFileDotPdfInTheProgramFolder) {
    const std::string dir = PdfProgramDirectory();
    ASSERT_FALSE(dir.empty());
    for (const std::string& given : {std::string(), std::string("tessora-pdf-test-bare.pdf")}) {
        const std::string expected = dir + (given.empty() ? "File.pdf" : given);
        std::filesystem::remove(expected);
        TPdfBox pdf;
        SetA4(pdf);
        pdf.SetFileName(given);
        pdf.BeginDoc();
        pdf.EndDoc();
        EXPECT_EQ(pdf.FullFileName(), expected);
        EXPECT_TRUE(fs::exists(expected)) << expected;
        EXPECT_TRUE(QpdfCheck(expected));
        fs::remove(expected);
    }
}

TEST_F(PdfBoxTest, ZeroPageSizeIsRefused) {
    TPdfBox pdf;
    pdf.SetFileName(Out("zero.pdf"));
    pdf.SetPaperSize(0);
    EXPECT_EQ(Message([&] { pdf.BeginDoc(); }), "Invalid property value: PageHeight");
    pdf.SetPageHeight(100);
    EXPECT_EQ(Message([&] { pdf.BeginDoc(); }), "Invalid property value: PageWidth");
    EXPECT_FALSE(pdf.Opened());
    EXPECT_FALSE(fs::exists(Out("zero.pdf")));
}

TEST_F(PdfBoxTest, BeginDocTwiceAbortsTheFirst) {
    const std::string name = Out("twice.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    int aborts = 0;
    pdf.OnAbort = [&](TPdfBox&) { ++aborts; };
    pdf.BeginDoc();
    EXPECT_EQ(Message([&] { pdf.BeginDoc(); }), "PDF document already open");
    EXPECT_EQ(aborts, 1);
    EXPECT_FALSE(pdf.Opened());
    EXPECT_TRUE(pdf.Aborted());
    EXPECT_FALSE(fs::exists(name));
    EXPECT_FALSE(fs::exists(name + ".tmp"));
}

TEST_F(PdfBoxTest, PropertiesRefusedWhileOpen) {
    const std::string name = Out("refuse.pdf");
    const std::vector<std::pair<std::string, std::function<void(TPdfBox&)>>> cases = {
        {"Author", [](TPdfBox& p) { p.SetAuthor("x"); }},
        {"FileName", [](TPdfBox& p) { p.SetFileName("x.pdf"); }},
        {"Keywords", [](TPdfBox& p) { p.SetKeywords("x"); }},
        {"LengthUnit", [](TPdfBox& p) { p.SetLengthUnit(luPoint); }},
        {"Producer", [](TPdfBox& p) { p.SetProducer("x"); }},
        {"Subject", [](TPdfBox& p) { p.SetSubject("x"); }},
        {"Title", [](TPdfBox& p) { p.SetTitle("x"); }},
        {"Orientation (use NewSection method)", [](TPdfBox& p) { p.SetOrientation(poLandscape); }},
        {"PageHeight (use NewSection method)", [](TPdfBox& p) { p.SetPageHeight(100); }},
        {"PageWidth (use NewSection method)", [](TPdfBox& p) { p.SetPageWidth(100); }},
        {"PaperSize (use NewSection method)", [](TPdfBox& p) { p.SetPaperSize(1); }},
        {"PaperSizeName (use NewSection method)", [](TPdfBox& p) { p.SetPaperSizeName("A5"); }},
    };
    for (const auto& [detail, set] : cases) {
        TPdfBox pdf;
        SetA4(pdf);
        pdf.SetFileName(name);
        pdf.BeginDoc();
        EXPECT_EQ(Message([&] { set(pdf); }), "Can't modify property when opened: " + detail);
        // The error aborted the document first.
        EXPECT_FALSE(pdf.Opened()) << detail;
        EXPECT_TRUE(pdf.Aborted()) << detail;
        EXPECT_FALSE(fs::exists(name)) << detail;
        EXPECT_EQ(pdf.PageWidth(), 2100);
        EXPECT_EQ(pdf.FileName(), name);
        EXPECT_EQ(pdf.Title(), "");
    }
    // These may change while open.
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.BeginDoc();
    pdf.SetImageCompressMode(cpZlib);
    pdf.SetJpegQuality(50);
    pdf.SetSmartStretchDraw(false);
    pdf.SetWantShow(false);
    EXPECT_TRUE(pdf.Opened());
    EXPECT_EQ(Message([&] { pdf.SetJpegQuality(0); }), "Invalid value for property: JpegQuality");
    EXPECT_FALSE(pdf.Opened());
    EXPECT_FALSE(fs::exists(name));
}

TEST_F(PdfBoxTest, EventsInOrder) {
    const std::string name = Out("events.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    std::vector<std::string> log;
    pdf.OnStart = [&](TPdfBox& b) {
        EXPECT_EQ(&b, &pdf);
        EXPECT_EQ(b.PageCount(), 0);
        log.push_back("start");
    };
    pdf.OnNewPage = [&](TPdfCanvas& c) {
        EXPECT_EQ(&c, &pdf.Canvas());
        log.push_back("page " + std::to_string(c.Owner().PageCount()));
        c.Rectangle(10, 10, 20, 20); // page furniture
    };
    pdf.ProcessMessages = [&] { log.push_back("messages"); };
    pdf.OnEnd = [&](TPdfBox& b) {
        EXPECT_EQ(&b, &pdf);
        const std::string bytes = ReadBytes(name);
        EXPECT_EQ(bytes.substr(bytes.size() - 6), "%%EOF\n"); // complete and closed
        log.push_back("end");
    };
    pdf.OnAbort = [&](TPdfBox&) { log.push_back("abort"); };
    pdf.BeginDoc();
    pdf.NewPage();
    pdf.EndDoc();
    const std::vector<std::string> expect = {"start", "page 1", "messages", "page 2", "messages", "end"};
    EXPECT_EQ(log, expect);
    const TPdfFile f = ReadPdf(name);
    EXPECT_NE(f.Stream(4).find(" re B\n"), std::string::npos);
    EXPECT_NE(f.Stream(6).find(" re B\n"), std::string::npos);

    log.clear();
    pdf.OnAbort = [&](TPdfBox& b) {
        EXPECT_EQ(&b, &pdf);
        EXPECT_FALSE(fs::exists(name + ".tmp")); // closed and deleted first
        log.push_back("abort");
    };
    pdf.BeginDoc();
    pdf.Abort();
    pdf.Abort(); // nothing when closed
    pdf.EndDoc();
    const std::vector<std::string> expect2 = {"start", "page 1", "messages", "abort"};
    EXPECT_EQ(log, expect2);
}

TEST_F(PdfBoxTest, WantShowOpensTheFinishedFile) {
    const std::string name = Out("show.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    std::vector<std::string> opened;
    pdf.ShellOpen = [&](const std::string& f) {
        EXPECT_TRUE(fs::exists(f));
        opened.push_back(f);
    };
    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_TRUE(opened.empty());
    pdf.SetWantShow(true);
    pdf.BeginDoc();
    pdf.EndDoc();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], name);
    // The file gone by then: "File not found".
    pdf.OnEnd = [&](TPdfBox&) { fs::remove(name); };
    EXPECT_EQ(Message([&] {
                  pdf.BeginDoc();
                  pdf.EndDoc();
              }),
              "File not found: " + name);
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_FALSE(pdf.Opened());
}

TEST_F(PdfBoxTest, AbortLeavesNothingAndIgnoresDrawingUntilTheNextDocument) {
    const std::string name = Out("abort.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    TPdfBitmap pic(4, 4);
    pdf.BeginDoc();
    pdf.Canvas().Rectangle(100, 100, 200, 200);
    pdf.Abort();
    EXPECT_FALSE(fs::exists(name));
    EXPECT_FALSE(fs::exists(name + ".tmp"));
    EXPECT_TRUE(pdf.Aborted());
    // Silently ignored: no output, no error.
    TPdfCanvas& c = pdf.Canvas();
    c.Rectangle(100, 100, 200, 200);
    c.LineTo(5, 5);
    const TPdfPoint pts[] = {{0, 0}};
    c.Polygon(pts); // even bad parameters
    c.StretchDraw({0, 0, 10, 10}, &pic);
    c.StretchDraw({0, 0, 10, 10}, nullptr);
    pdf.NewPage();
    pdf.EndDoc();
    EXPECT_TRUE(c.ContentLines().empty());
    EXPECT_EQ(c.PictureCount(), 0);
    EXPECT_FALSE(fs::exists(name));
    // The next document starts clean.
    pdf.BeginDoc();
    EXPECT_FALSE(pdf.Aborted());
    c.Rectangle(100, 100, 200, 200);
    EXPECT_FALSE(c.ContentLines().empty());
    pdf.EndDoc();
    EXPECT_TRUE(fs::exists(name));
}

TEST_F(PdfBoxTest, DrawingWhileClosedRaises) {
    TPdfBox pdf;
    TPdfBitmap pic(4, 4);
    EXPECT_EQ(Message([&] { pdf.Canvas().Rectangle(1, 1, 5, 5); }), "Document not opened");
    EXPECT_EQ(Message([&] { pdf.Canvas().LineTo(1, 1); }), "Document not opened");
    EXPECT_EQ(Message([&] {
                  pdf.Canvas().Polygon(std::vector<TPdfPoint>{{0, 0}, {1, 1}});
              }),
              "Document not opened");
    EXPECT_EQ(Message([&] { pdf.Canvas().StretchDraw({0, 0, 5, 5}, &pic); }), "Document not opened");
    EXPECT_EQ(Message([&] { pdf.NewPage(); }), "Document not opened");
    pdf.EndDoc(); // nothing
    pdf.Abort();  // nothing
    EXPECT_FALSE(pdf.Aborted());
}

TEST_F(PdfBoxTest, DestroyingAnOpenBoxAbortsTheDocument) {
    const std::string name = Out("destroyed.pdf");
    {
        TPdfBox pdf;
        SetA4(pdf);
        pdf.SetFileName(name);
        pdf.BeginDoc();
        EXPECT_TRUE(fs::exists(name + ".tmp"));
    }
    EXPECT_FALSE(fs::exists(name));
    EXPECT_FALSE(fs::exists(name + ".tmp"));
}

TEST_F(PdfBoxTest, AFailedDocumentKeepsTheOldFile) {
    const std::string name = Out("keep.pdf");
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.SetTitle("first");
    pdf.BeginDoc();
    pdf.EndDoc();
    const std::string first = ReadBytes(name);
    ASSERT_NE(first.find("/Title(first)"), std::string::npos);

    pdf.SetTitle("second");
    pdf.BeginDoc();
    pdf.Abort();
    EXPECT_EQ(ReadBytes(name), first);
    pdf.BeginDoc();
    EXPECT_THROW(pdf.BeginDoc(), EPdfError);
    EXPECT_EQ(ReadBytes(name), first);
    EXPECT_FALSE(fs::exists(name + ".tmp"));

    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_NE(ReadBytes(name).find("/Title(second)"), std::string::npos);
    EXPECT_FALSE(fs::exists(name + ".tmp"));
}

TEST_F(PdfBoxTest, FileLockedAndCantOpenFile) {
    const std::string dirName = Out("folder.pdf");
    fs::create_directory(dirName);
    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(dirName);
    EXPECT_EQ(Message([&] { pdf.BeginDoc(); }), "File locked: " + dirName);
    EXPECT_FALSE(pdf.Opened());
    EXPECT_TRUE(fs::is_directory(dirName));

    const std::string missing = Out("no such folder/x.pdf");
    pdf.SetFileName(missing);
    EXPECT_EQ(Message([&] { pdf.BeginDoc(); }), "Can't open file: " + missing);
    EXPECT_FALSE(pdf.Opened());
}

TEST_F(PdfBoxTest, WriteFailureAbortsWithItsMessage) {
    const std::string name = Out("full.pdf");
    // A file size limit makes writes fail as a full disk does.
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 200000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);

    TPdfBox pdf;
    SetA4(pdf);
    pdf.SetFileName(name);
    pdf.SetImageCompressMode(cpNone);
    TPdfBitmap big(400, 400); // 480000 bytes of samples
    pdf.BeginDoc();
    pdf.Canvas().StretchDraw({0, 0, 1000, 1000}, &big);
    const std::string msg = Message([&] { pdf.EndDoc(); });

    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(msg, "File write error, or disk full");
    EXPECT_FALSE(pdf.Opened());
    EXPECT_TRUE(pdf.Aborted());
    EXPECT_FALSE(fs::exists(name));
    EXPECT_FALSE(fs::exists(name + ".tmp"));
}

TEST(PdfError, TextAndDetail) {
    const EPdfError a("Document not opened");
    EXPECT_STREQ(a.what(), "Document not opened");
    const EPdfError b("File locked", "/x/y.pdf");
    EXPECT_STREQ(b.what(), "File locked: /x/y.pdf");
    EXPECT_EQ(b.Text, "File locked");
    EXPECT_EQ(b.Detail, "/x/y.pdf");
    const ECompressionError c("Error");
    const EPdfError& base = c;
    EXPECT_STREQ(base.what(), "Error");
}

TEST(PdfTestSupport, QpdfCheckCatchesABrokenFile) {
    // The harness that checks every written file must see a damaged one.
    TTempDir dir;
    TPdfBox pdf;
    pdf.SetPaperSize(9);
    pdf.SetFileName(dir.File("good.pdf"));
    pdf.BeginDoc();
    pdf.EndDoc();
    EXPECT_TRUE(QpdfCheck(dir.File("good.pdf")));
    std::string bytes = ReadBytes(dir.File("good.pdf"));
    const size_t length = bytes.find("/Length 0\n"); // the empty page's content stream
    ASSERT_NE(length, std::string::npos);
    bytes[length + 8] = '7';
    WriteAll(dir.File("bad.pdf"), QByteArray(bytes.data(), qsizetype(bytes.size())));
    EXPECT_FALSE(QpdfCheck(dir.File("bad.pdf")));
}
