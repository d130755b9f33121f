// tessora-cli pdf: projects and templates to print-ready PDF, pages and ranges, progress.
#include "tests/common/uTestSupport.h"

#include <QFile>
#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tessora::test;

namespace {

QString Cli() { return QString::fromStdString(BinDir() + "tessora-cli"); }
QString Sample(const char* name) { return QString::fromStdString(BinDir() + "Label Projects/" + name); }

int PageCount(const std::string& pdf) {
    const auto r = RunTool("pdfinfo", {QString::fromStdString(pdf)});
    for (const QByteArray& line : r.Out.split('\n'))
        if (line.startsWith("Pages:")) return line.mid(6).trimmed().toInt();
    return -1;
}

int ImageCount(const std::string& pdf) {
    return int(RunTool("pdfimages", {"-list", QString::fromStdString(pdf)}).Out.count('\n')) - 2;
}

} // namespace

TEST(CliPdf, SampleProjectTemplateAndRanges) {
    if (!HaveTool("qpdf") || !HaveTool("pdfinfo")) GTEST_SKIP() << "qpdf and poppler-utils are needed";
    TTempDir d;
    const std::string one = d.File("product.pdf");
    auto r = RunTool(Cli(), {"pdf", Sample("Product Labels.shl"), "-o", QString::fromStdString(one), "-v"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(RunTool("qpdf", {"--check", QString::fromStdString(one)}).ExitCode, 0);
    EXPECT_EQ(PageCount(one), 1);
    EXPECT_EQ(ImageCount(one), 30);
    EXPECT_TRUE(r.Err.contains("Printing. Please Wait..."));
    EXPECT_TRUE(r.Err.contains("Label #1. Printing"));
    EXPECT_TRUE(r.Err.contains("Label #30. Printing"));
    EXPECT_FALSE(std::filesystem::exists(one + ".tmp"));

    // A template's labels are empty, but every one is there; without -v nothing is printed.
    const std::string tpl = d.File("tpl.pdf");
    r = RunTool(Cli(), {"pdf", QString::fromStdString(BinDir() + "Templates/Box Small 2-up Letter.tpb"), "-o",
                    QString::fromStdString(tpl)});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
    EXPECT_EQ(ImageCount(tpl), 12);

    // A range: one page per page number, the serial numbers counting on.
    const std::string range = d.File("range.pdf");
    r = RunTool(Cli(), {"pdf", Sample("Address Labels with Serial Numbers.shl"), "-o", QString::fromStdString(range),
                    "--pages", "2-4"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(PageCount(range), 3);
    EXPECT_EQ(ImageCount(range), 90);
    // Its second page is the sheet printed alone as page 3.
    const std::string page3 = d.File("page3.pdf");
    ASSERT_EQ(RunTool(Cli(), {"pdf", Sample("Address Labels with Serial Numbers.shl"), "-o", QString::fromStdString(page3),
                          "--page", "3"})
                  .ExitCode,
              0);
    RunTool("pdftoppm", {"-r", "60", "-png", "-f", "2", "-l", "2", "-singlefile", QString::fromStdString(range),
                     QString::fromStdString(d.File("a"))});
    RunTool("pdftoppm", {"-r", "60", "-png", "-singlefile", QString::fromStdString(page3), QString::fromStdString(d.File("b"))});
    EXPECT_EQ(ReadAll(d.File("a.png")).size() > 0, true);
    EXPECT_EQ(QImage(QString::fromStdString(d.File("a.png"))), QImage(QString::fromStdString(d.File("b.png"))));
    const std::string page2 = d.File("page2.pdf");
    RunTool(Cli(), {"pdf", Sample("Address Labels with Serial Numbers.shl"), "-o", QString::fromStdString(page2), "--page", "2"});
    RunTool("pdftoppm", {"-r", "60", "-png", "-singlefile", QString::fromStdString(page2), QString::fromStdString(d.File("c"))});
    EXPECT_NE(QImage(QString::fromStdString(d.File("c.png"))), QImage(QString::fromStdString(d.File("b.png"))));
}

TEST(CliPdf, FailuresKeepTheOldFileAndUsage) {
    TTempDir d;
    const std::string keep = d.File("keep.pdf");
    WriteAll(keep, "old");
    // The output folder does not exist: the program's message, exit 1.
    auto r = RunTool(Cli(), {"pdf", Sample("Product Labels.shl"), "-o", QString::fromStdString(d.File("no/dir/x.pdf"))});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.contains("This file appears to be in use by Adobe Reader.")) << r.Err.toStdString();
    r = RunTool(Cli(), {"pdf", QString::fromStdString(d.File("none.shl")), "-o", QString::fromStdString(keep)});
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Err.contains("Can't open the Labels Sheet."));
    EXPECT_EQ(ReadAll(keep), "old");
    struct {
        QStringList args;
    } usage[] = {{{"pdf", Sample("Product Labels.shl")}},
                 {{"pdf", "-o", "x.pdf"}},
                 {{"pdf", Sample("Product Labels.shl"), "-o", "x.pdf", "--page", "0"}},
                 {{"pdf", Sample("Product Labels.shl"), "-o", "x.pdf", "--pages", "3-1"}},
                 {{"pdf", Sample("Product Labels.shl"), "-o", "x.pdf", "--pages", "2"}},
                 {{"pdf", Sample("Product Labels.shl"), "-o", "x.pdf", "--page", "2", "--pages", "1-2"}}};
    for (const auto& u : usage) EXPECT_EQ(RunTool(Cli(), u.args).ExitCode, 2) << u.args.join(' ').toStdString();
}
