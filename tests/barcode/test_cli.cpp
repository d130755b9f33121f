// tessora-cli barcode: its options, its output files read back, exit codes.
#include "barcode/Barcode.h"
#include "tests/barcode/uBarcodeTest.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace tessora::test {
namespace {

class CliBarcode : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QFileInfo::exists(CliPath())) << CliPath().toStdString(); }
    TRunResult Cli(const QStringList& args) { return test::Run(CliPath(), QStringList{"barcode"} + args); }
    TTempDir Dir;
    QString File(const char* name) { return QString::fromStdString(Dir.File(name)); }
};

// The black runs of one pixel row, as [start, end) pairs.
std::vector<std::pair<int, int>> BlackRuns(const QImage& img, int y) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < img.width();) {
        if (qGray(img.pixel(x, y)) >= 128) {
            ++x;
            continue;
        }
        int e = x;
        while (e < img.width() && qGray(img.pixel(e, y)) < 128)
            ++e;
        runs.push_back({x, e});
        x = e;
    }
    return runs;
}

TEST_F(CliBarcode, PatternAndPreparedText) {
    struct TCase {
        QStringList Args;
        TBarcodeType Typ;
        std::string Text;
        bool Checksum;
    };
    const TCase cases[] = {
        {{"--type", "CodeEAN13", "--text", "400638133393", "--checksum"}, bcCodeEAN13, "400638133393", true},
        {{"--type", "14", "--text", "400638133393", "--checksum"}, bcCodeEAN13, "400638133393", true},
        {{"--type", "0", "--text", "12345"}, bcCode_2_5_interleaved, "12345", false},
        {{"--type", "22", "--text", "12345", "--checksum"}, bcCodeEAN128C, "12345", true},
        {{"--type", "CodeUPC_E0", "--text", "6543210", "--checksum"}, bcCodeUPC_E0, "6543210", true},
        {{"--type", "Code128B", "--text", "\xC3\xA9\xE2\x82\xAC"}, bcCode128B, "\xC3\xA9\xE2\x82\xAC", false},
        {{"--type", "CodeCodabar", "--text", ""}, bcCodeCodabar, "", false},
    };
    for (const TCase& c : cases) {
        const TRunResult r = Cli(c.Args + QStringList{"--pattern"});
        ASSERT_EQ(r.ExitCode, 0) << c.Args.join(' ').toStdString() << "\n" << r.Err.toStdString();
        TLabelBarcode bc;
        bc.SetTyp(c.Typ);
        bc.SetText(c.Text);
        bc.SetChecksum(c.Checksum);
        const std::string pattern = bc.Encode();
        EXPECT_EQ(r.Out.toStdString(), pattern + "\n" + bc.PreparedText() + "\n")
            << c.Args.join(' ').toStdString();
    }
}

// Defaults: module 2, height 100, quiet zone of 10 modules on every side.
TEST_F(CliBarcode, PngReadsBackWithQuietZone) {
    const QString png = File("ean13.png");
    const TRunResult r = Cli({"--type", "CodeEAN13", "--text", "400638133393", "--checksum", "-o", png});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QImage img(png);
    ASSERT_EQ(img.size(), QSize(190 + 40, 100 + 40));
    const auto runs = BlackRuns(img, 70);
    ASSERT_FALSE(runs.empty());
    EXPECT_EQ(runs.front().first, 20);
    EXPECT_EQ(runs.back().second, 210);
    for (int y : {0, 19, 120, 139})
        EXPECT_TRUE(BlackRuns(img, y).empty()) << y;
    const auto read = Zbar(png);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].Type, "EAN-13");
    EXPECT_EQ(read[0].Data, "4006381333931");
}

TEST_F(CliBarcode, OptionsReachTheDrawing) {
    const QString png = File("c128.png");
    // Module 3, height 60, turned a quarter: 10 modules of 30 pixels around a 60 x W box.
    TRunResult r = Cli({"--type", "Code128B", "--text", "Tessora", "--modul", "3", "--height", "60",
                        "--angle", "90", "-o", png});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    TLabelBarcode bc;
    bc.SetTyp(bcCode128B);
    bc.SetText("Tessora");
    bc.SetModul(3);
    const int w = bc.Width();
    QImage img(png);
    EXPECT_EQ(img.size(), QSize(60 + 60, w + 60));
    auto read = Zbar(png);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].Data, "Tessora");

    // Text shown: the picture grows by the room of the type name and the text below.
    r = Cli({"--type", "Code39", "--text", "AB-12", "--show", "both", "--position", "5", "--ratio", "3", "-o",
             png});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    img = QImage(png);
    EXPECT_GT(img.height(), 100 + 40 + 60);
    read = Zbar(png);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].Data, "AB-12");
}

// The SVG has the PNG's size and the same bars.
TEST_F(CliBarcode, SvgHasThePngGeometry) {
    const QStringList args = {"--type", "CodeEAN8", "--text", "9638507", "--checksum", "--modul", "3"};
    const QString png = File("e8.png"), svg = File("e8.svg");
    ASSERT_EQ(Cli(args + QStringList{"-o", png}).ExitCode, 0);
    ASSERT_EQ(Cli(args + QStringList{"-o", svg}).ExitCode, 0);
    const QImage img(png);
    const QString text = QString::fromUtf8(ReadAll(svg.toStdString()));
    const auto box = QRegularExpression("viewBox=\"0 0 (\\d+) (\\d+)\"").match(text);
    ASSERT_TRUE(box.hasMatch());
    EXPECT_EQ(QSize(box.captured(1).toInt(), box.captured(2).toInt()), img.size());
    // Bars are the filled paths of the group in black.
    const int black = text.indexOf("<g fill=\"#000000\"");
    ASSERT_GE(black, 0);
    const QString group = text.mid(black, text.indexOf("</g>", black) - black);
    std::vector<std::pair<int, int>> bars;
    static const QRegularExpression path("d=\"M(\\d+),(\\d+) L(\\d+),(\\d+) L(\\d+),(\\d+)");
    auto it = path.globalMatch(group);
    while (it.hasNext()) {
        const auto m = it.next();
        bars.push_back({m.captured(1).toInt(), m.captured(5).toInt()});
    }
    EXPECT_EQ(bars, BlackRuns(img, img.height() / 2));
}

TEST_F(CliBarcode, EncoderErrorsExitOne) {
    const std::pair<QStringList, const char*> cases[] = {
        {{"--type", "CodeEAN13", "--text", "4006381333931", "--checksum"}, "Invalid Text len (EAN13)"},
        {{"--type", "CodeEAN8", "--text", "12x"}, "Barcode must be numeric"},
        {{"--type", "Code93", "--text", "abc"}, "TLabelBarcode:Code93 bad Data <abc>"},
        {{"--type", "Code128B", "--text", "A", "--ratio", "-2"}, "TLabelBarcode: Ratio out of range"},
    };
    for (const auto& [args, message] : cases)
        for (const QString& out : {QString("--pattern"), File("err.png")}) {
            const QStringList full = args + (out == "--pattern" ? QStringList{out} : QStringList{"-o", out});
            const TRunResult r = Cli(full);
            EXPECT_EQ(r.ExitCode, 1) << full.join(' ').toStdString();
            EXPECT_TRUE(r.Err.contains(QByteArray(message) + "\n")) << r.Err.toStdString();
            EXPECT_TRUE(r.Out.isEmpty());
            EXPECT_FALSE(QFileInfo::exists(File("err.png")));
        }
}

TEST_F(CliBarcode, UsageErrorsExitTwo) {
    const QString png = File("u.png");
    const QStringList cases[] = {
        {"--text", "1", "--pattern"},
        {"--type", "CodeEAN13", "--pattern"},
        {"--type", "EAN13", "--text", "1", "--pattern"},
        {"--type", "23", "--text", "1", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1"},
        {"--type", "CodeEAN13", "--text", "1", "--pattern", "-o", png},
        {"--type", "CodeEAN13", "--text", "1", "-o", File("u.jpg")},
        {"--type", "CodeEAN13", "--text", "1", "--modul", "50", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--modul", "x", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--ratio", "nan", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--height", "0", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--show", "all", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--position", "6", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--angle", "left", "--pattern"},
        {"--type", "CodeEAN13", "--text", "1", "--colour", "red", "--pattern"},
        {"--type", "CodeEAN13", "--text"},
    };
    for (const QStringList& args : cases) {
        const TRunResult r = Cli(args);
        EXPECT_EQ(r.ExitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains("usage:")) << args.join(' ').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(png));
}

} // namespace
} // namespace tessora::test
