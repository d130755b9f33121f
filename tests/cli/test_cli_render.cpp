// tessora-cli render: the sheet as the view draws it.
#include "document/uCommon.h"
#include "document/uSheetHeader.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

std::string Template(const TTempDir& home) {
    TSheetHeader h;
    h.MarginLeft = 10;
    h.MarginTop = 20;
    h.LabelWidth = 90;
    h.LabelHeight = 50;
    h.GapH = 5;
    h.GapV = 5;
    h.Columns = 2;
    h.Rows = 4;
    h.OrderCode = "R-8";
    const auto rec = h.Encode("");
    const std::string p = home.File("r.tpr");
    WriteAll(p, QByteArray(reinterpret_cast<const char*>(rec.data()), int(rec.size())));
    return p;
}

TRunResult Render(const TTempDir& home, QStringList args) {
    args.prepend(QString::fromStdString(home.Path()));
    args.prepend("--home");
    return Run(QString::fromStdString(BinDir() + "tessora-cli"), args);
}

} // namespace

TEST(CliRender, SheetAtTheGivenWidthInTheWorkspaceColour) {
    TTempDir home;
    const std::string tpl = Template(home);
    WriteAll(home.File("tessora.ini"), "[GUI]\nBgColor=255\nLSpaceMode=1\n"); // red workspace, red label spaces
    const std::string out = home.File("sheet.png");
    auto r = Render(home, {"render", QString::fromStdString(tpl), "-o", QString::fromStdString(out), "--width", "432"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    QImage img(QString::fromStdString(out));
    ASSERT_EQ(img.size(), QSize(432, RoundHalfEven(432 * 279.4 / 215.9)));
    EXPECT_EQ(img.pixel(2, img.height() - 2) | 0xFF000000u, 0xFFFF0000u);
    // Inside a label: its space shows the workspace colour too (mode 1).
    const double s = 432 / 215.9;
    EXPECT_EQ(img.pixel(RoundHalfEven(50 * s), RoundHalfEven(40 * s)) | 0xFF000000u, 0xFFFF0000u);

    // Default width, and a zoomed label: the view spans the label plus 10 mm.
    r = Render(home, {"render", QString::fromStdString(tpl), "-o", QString::fromStdString(out), "--zoom", "8"});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    img.load(QString::fromStdString(out));
    EXPECT_EQ(img.size(), QSize(1000, RoundHalfEven(1000 * 60.0 / 100.0)));
    // The label's outline starts 5 mm in.
    EXPECT_EQ(img.pixel(50, 300) | 0xFF000000u, 0xFF000000u);
}

TEST(CliRender, Errors) {
    TTempDir home;
    const std::string tpl = Template(home);
    struct {
        QStringList args;
        int code;
    } cases[] = {
        {{"render", QString::fromStdString(tpl)}, 2},
        {{"render", "-o", "x.png"}, 2},
        {{"render", QString::fromStdString(tpl), "-o", "x.png", "--width", "0"}, 2},
        {{"render", QString::fromStdString(tpl), "-o", "x.png", "--zoom", "abc"}, 2},
        {{"render", QString::fromStdString(tpl), "-o", QString::fromStdString(home.File("z.png")), "--zoom", "9"}, 1},
        {{"render", QString::fromStdString(home.File("none.tpr")), "-o", QString::fromStdString(home.File("z.png"))}, 1},
        {{"render", QString::fromStdString(tpl), "-o", QString::fromStdString(home.File("no/dir/z.png"))}, 1},
    };
    for (const auto& c : cases) EXPECT_EQ(Render(home, c.args).ExitCode, c.code) << c.args.join(' ').toStdString();
    EXPECT_FALSE(std::filesystem::exists(home.File("z.png")));
}
