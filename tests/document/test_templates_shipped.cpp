// The template library in the program folder, against the table it is made from,
// and the generator's refusal of bad rows.
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uSheetDocument.h"
#include "tests/common/uTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

using namespace tessora;
using namespace tessora::test;

namespace {

// Flaps of a box net reach this far left of, above and below the net when it is drawn.
constexpr double kFlap = 15.0;
constexpr double kSlack = 1e-6;

const std::map<std::string, int> kKinds = {{".tpr", 1}, {".tpl", 2}, {".tpb", 3}, {".tpv", 4}};

// The vector outline as the sheet view reads it: any picture Qt decodes.
class TSvgOutline : public TVectorOutline {
public:
    std::string FileName;
    QImage Picture;
    bool LoadVectorPicture(const std::string& fileName) override {
        FileName = fileName;
        Picture = QImageReader(QString::fromStdString(fileName)).read();
        return !Picture.isNull();
    }
};

using TRow = std::map<std::string, std::string>;

// The rows of the template table, by column name, with their line numbers.
std::vector<std::pair<int, TRow>> ReadTable(const std::string& path) {
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path;
    std::vector<std::pair<int, TRow>> rows;
    QStringList header;
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList cells = lines[i].split('\t');
        if (header.isEmpty()) {
            header = cells;
            continue;
        }
        EXPECT_EQ(cells.size(), header.size()) << "line " << i + 1;
        TRow row;
        for (int c = 0; c < std::min(cells.size(), header.size()); ++c)
            row[header[c].toStdString()] = cells[c].trimmed().toStdString();
        rows.emplace_back(i + 1, row);
    }
    return rows;
}

double Num(const TRow& r, const std::string& col) {
    bool ok = false;
    const double v = QString::fromStdString(r.at(col)).toDouble(&ok);
    EXPECT_TRUE(ok) << col << " = " << r.at(col);
    return v;
}

int ShapeIndex(const std::string& name) {
    for (size_t i = 0; i < kShapeNames.size(); ++i)
        if (name == kShapeNames[i]) return int(i);
    return -1;
}

std::string TemplatesDir() {
    return BinDir() + "Templates/";
}
std::string TablePath() {
    return SourceDir() + "tools/templates.tsv";
}
QString GeneratorPath() {
    return QCoreApplication::applicationDirPath() + "/../tools/gen_templates";
}

std::set<std::string> TemplateFiles(const std::string& folder) {
    std::set<std::string> names;
    for (const QString& n : QDir(QString::fromStdString(folder)).entryList(QDir::Files))
        if (FileKind(n.toStdString()) >= 1) names.insert(n.toStdString());
    return names;
}

struct TRect {
    double L, T, R, B;
};

// What a label covers on the paper; a box with the flaps drawn around its net.
TRect Footprint(const TSheetLabel& l, const TSheetHeader& h) {
    const double f = h.Shape == lsBox ? kFlap : 0.0;
    return {l.X - f, l.Y - f, l.X + h.ExtentAcross(), l.Y + h.ExtentDown() + f};
}

class ShippedTemplates : public ::testing::Test {
protected:
    void SetUp() override {
        PrevFolder = ProgramFolder();
        SetProgramFolder(BinDir());
    }
    void TearDown() override { SetProgramFolder(PrevFolder); }
    std::string PrevFolder;
};

TEST_F(ShippedTemplates, FolderHoldsEveryRowOfTheTableAndNothingElse) {
    std::set<std::string> fromTable, kinds, shapes;
    for (const auto& [line, r] : ReadTable(TablePath())) {
        fromTable.insert(r.at("Name") + r.at("Kind"));
        kinds.insert(r.at("Kind"));
        shapes.insert(r.at("Shape"));
    }
    EXPECT_EQ(TemplateFiles(TemplatesDir()), fromTable);
    EXPECT_GE(fromTable.size(), 20u);
    EXPECT_EQ(kinds.size(), 4u);
    EXPECT_EQ(shapes.size(), kShapeNames.size());
    // scripts/run shows this one.
    EXPECT_TRUE(fromTable.count("Address 30-up Letter.tpr"));
}

TEST_F(ShippedTemplates, EachLoadsAsItsRowSaysAndStaysOnThePaper) {
    const auto rows = ReadTable(TablePath());
    ASSERT_FALSE(rows.empty());
    for (const auto& [line, r] : rows) {
        const std::string file = r.at("Name") + r.at("Kind");
        SCOPED_TRACE(file + " (table line " + std::to_string(line) + ")");
        const std::string path = TemplatesDir() + file;

        const QByteArray bytes = ReadAll(path);
        ASSERT_EQ(bytes.size(), 608);
        const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());
        // Reserved bytes and the unused tails of the two strings are zero.
        const std::pair<int, int> zeros[] = {{3, 8},     {16, 24},          {32, 40},
                                             {601, 608}, {90 + b[89], 345}, {346 + b[345], 601}};
        for (auto [from, to] : zeros)
            for (int i = from; i < to; ++i)
                ASSERT_EQ(b[i], 0) << "byte " << i;
        EXPECT_EQ(b[2], ShapeIndex(r.at("Shape"))) << "stored shape";

        const int kind = kKinds.at(r.at("Kind"));
        ASSERT_EQ(FileKind(file), kind);
        TSheetDocument doc;
        TSvgOutline outline;
        doc.Vector = &outline;
        TScriptedMessages msgs;
        TMessageScope scope(msgs);
        ASSERT_TRUE(doc.StartNewProject(path, kind));
        EXPECT_TRUE(msgs.Shown.empty());

        const TSheetHeader& h = doc.Header;
        const int shape = h.Shape;
        switch (kind) {
        case 1:
            EXPECT_TRUE(shape == lsRectangle || shape == lsRoundRect || shape == lsEllipse);
            break;
        case 2:
            EXPECT_EQ(shape, lsMakerVector);
            break;
        case 3:
            EXPECT_EQ(shape, lsBox);
            break;
        case 4:
            EXPECT_EQ(shape, lsVector);
            break;
        }
        EXPECT_EQ(shape, ShapeIndex(r.at("Shape")));
        EXPECT_EQ(h.Units, r.at("Units") == "in" ? 1 : 0);
        EXPECT_EQ(h.PaperSize, Num(r, "Paper"));
        EXPECT_DOUBLE_EQ(h.MarginLeft, Num(r, "MarginLeft"));
        EXPECT_DOUBLE_EQ(h.MarginTop, Num(r, "MarginTop"));
        EXPECT_DOUBLE_EQ(h.LabelWidth, Num(r, "LabelWidth"));
        EXPECT_DOUBLE_EQ(h.LabelHeight, Num(r, "LabelHeight"));
        EXPECT_DOUBLE_EQ(h.BoxDepth, Num(r, "BoxDepth"));
        EXPECT_DOUBLE_EQ(h.GapH, Num(r, "GapH"));
        EXPECT_DOUBLE_EQ(h.GapV, Num(r, "GapV"));
        EXPECT_EQ(h.Columns, Num(r, "Columns"));
        EXPECT_EQ(h.Rows, Num(r, "Rows"));
        EXPECT_EQ(h.Rounding, Num(r, "Rounding"));
        EXPECT_EQ(h.OrderCode, r.at("OrderCode") == "-" ? r.at("Name") : r.at("OrderCode"));
        if (shape == lsRoundRect) {
            EXPECT_TRUE(h.Rounding >= 5 && h.Rounding <= 90);
        }

        ASSERT_EQ(doc.Labels.size(), size_t(h.Columns) * size_t(h.Rows));
        for (const auto& l : doc.Labels)
            EXPECT_EQ(l->Faces.size(), shape == lsBox ? 6u : 1u);

        // Every label on the paper, and no two labels (with their flaps) on top of each other.
        const TPaperSize paper = kPaperSizes.at(h.PaperSize);
        for (size_t i = 0; i < doc.Labels.size(); ++i) {
            const TRect a = Footprint(*doc.Labels[i], h);
            EXPECT_TRUE(a.L >= -kSlack && a.T >= -kSlack && a.R <= paper.Width + kSlack &&
                        a.B <= paper.Height + kSlack)
                << "label " << i << " covers " << a.L << "," << a.T << " to " << a.R << "," << a.B;
            for (size_t j = i + 1; j < doc.Labels.size(); ++j) {
                const TRect c = Footprint(*doc.Labels[j], h);
                const bool apart =
                    a.R <= c.L + kSlack || c.R <= a.L + kSlack || a.B <= c.T + kSlack || c.B <= a.T + kSlack;
                EXPECT_TRUE(apart) << "labels " << i << " and " << j << " overlap";
            }
        }

        if (shape == lsVector || shape == lsMakerVector) {
            EXPECT_EQ(h.VectorFile, BinDir() + "Vector Images/" + r.at("VectorFile"));
            EXPECT_EQ(outline.FileName, h.VectorFile);
            const QImage& pic = outline.Picture;
            ASSERT_FALSE(pic.isNull());
            // Stretched over the label, so drawn in its proportions.
            EXPECT_NEAR(double(pic.width()) / pic.height(), h.LabelWidth / h.LabelHeight, 0.01);
            // The outline is the picture's opaque area: a filled shape on a clear ground.
            const QImage argb = pic.convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(qAlpha(argb.pixel(0, 0)), 0);
            EXPECT_EQ(qAlpha(argb.pixel(argb.width() / 2, argb.height() / 2)), 255);
            int64_t opaque = 0;
            for (int y = 0; y < argb.height(); ++y)
                for (int x = 0; x < argb.width(); ++x)
                    opaque += qAlpha(argb.pixel(x, y)) == 255;
            const double share = double(opaque) / (int64_t(argb.width()) * argb.height());
            EXPECT_GT(share, 0.2);
            EXPECT_LT(share, 0.97);
        } else {
            EXPECT_EQ(h.VectorFile, "");
            EXPECT_TRUE(outline.FileName.empty());
        }
    }
}

// The 30-up address sheet against the stock's published layout: 2-5/8 x 1 in labels,
// 3 across with 1/8 in between, 10 down, 3/16 in and 1/2 in margins.
TEST_F(ShippedTemplates, AddressSheetHoldsTheStockDimensions) {
    const std::string path = TemplatesDir() + "Address 30-up Letter.tpr";
    const QByteArray bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 608);
    const auto* b = reinterpret_cast<const uint8_t*>(bytes.constData());

    const std::pair<size_t, double> lengths[] = {{8, 0.1875}, {24, 0.5},   {40, 2.625}, {48, 1.0},
                                                 {56, 0.0},   {64, 0.125}, {72, 0.0}};
    std::array<uint8_t, 608> expected{};
    for (auto [off, inches] : lengths) {
        double v;
        std::memcpy(&v, b + off, 8);
        EXPECT_NEAR(v, inches * 25.4, 1e-9) << "offset " << off;
        std::memcpy(&expected[off], b + off, 8); // compared above
    }
    expected[0] = 1; // shown in inches
    const int32_t columns = 3, rows = 10;
    std::memcpy(&expected[80], &columns, 4);
    std::memcpy(&expected[84], &rows, 4);
    const char code[] = "CT-R3010";
    expected[345] = uint8_t(sizeof code - 1);
    std::memcpy(&expected[346], code, sizeof code - 1);
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(b[i], expected[i]) << "byte " << i;

    // The grid sits centred on the Letter sheet: the last label ends as far from
    // the right and bottom edges as the first begins from the left and top.
    TSheetDocument doc;
    ASSERT_TRUE(doc.StartNewProject(path, 1));
    const TSheetLabel& last = *doc.Labels.back();
    EXPECT_NEAR(215.9 - (last.X + doc.Header.LabelWidth), 0.1875 * 25.4, 1e-9);
    EXPECT_NEAR(279.4 - (last.Y + doc.Header.LabelHeight), 0.5 * 25.4, 1e-9);
}

TEST_F(ShippedTemplates, VectorTemplatesStoreTheirPictureRelativeToTheProgramFolder) {
    const QByteArray b = ReadAll(TemplatesDir() + "Star 12-up Letter.tpv");
    ASSERT_EQ(b.size(), 608);
    const std::string stored = "\\Vector Images\\Star.svg";
    EXPECT_EQ(size_t(uint8_t(b[89])), stored.size());
    EXPECT_EQ(b.mid(90, int(stored.size())).toStdString(), stored);
}

// A scratch source tree: tools/templates.tsv and data/Vector Images with one picture.
class GenTemplates : public ::testing::Test {
protected:
    static constexpr const char* kHeader =
        "Name\tKind\tPaper\tUnits\tShape\tMarginLeft\tMarginTop\tLabelWidth\t"
        "LabelHeight\tBoxDepth\tGapH\tGapV\tColumns\tRows\tRounding\tVectorFile\t"
        "OrderCode\tStock";
    // Lines 3 and 4 of every table below.
    const TRow Address = {{"Name", "Good"},      {"Kind", ".tpr"},         {"Paper", "0"},
                          {"Units", "in"},       {"Shape", "Rectangle"},   {"MarginLeft", "4.7625"},
                          {"MarginTop", "12.7"}, {"LabelWidth", "66.675"}, {"LabelHeight", "25.4"},
                          {"BoxDepth", "0"},     {"GapH", "3.175"},        {"GapV", "0"},
                          {"Columns", "3"},      {"Rows", "10"},           {"Rounding", "0"},
                          {"VectorFile", "-"},   {"OrderCode", "CT-1"},    {"Stock", "address labels"}};
    const TRow Gallery = Changed(
        Address,
        {{"Name", "Blob"}, {"Kind", ".tpv"}, {"Shape", "Vector Graphic"}, {"VectorFile", "Blob.svg"}});

    void SetUp() override {
        QDir().mkpath(QString::fromStdString(Src.File("tools")));
        QDir().mkpath(QString::fromStdString(Src.File("data/Vector Images")));
        WriteAll(
            Src.File("data/Vector Images/Blob.svg"),
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\" viewBox=\"0 0 10 10\">"
            "<circle cx=\"5\" cy=\"5\" r=\"4\"/></svg>\n");
    }

    static TRow Changed(TRow r, const TRow& changes) {
        for (const auto& [k, v] : changes)
            r[k] = v;
        return r;
    }
    static std::string Line(const TRow& r) {
        std::string s;
        for (const char* col : {"Name", "Kind", "Paper", "Units", "Shape", "MarginLeft", "MarginTop",
                                "LabelWidth", "LabelHeight", "BoxDepth", "GapH", "GapV", "Columns", "Rows",
                                "Rounding", "VectorFile", "OrderCode", "Stock"})
            s += (s.empty() ? "" : "\t") + r.at(col);
        return s;
    }
    // Comment, header, the two good rows, then the extra lines (line 5 onwards).
    TRunResult Generate(const std::vector<std::string>& extra, const char* header = kHeader) {
        std::string table =
            std::string("# scratch table\n") + header + "\n" + Line(Address) + "\n" + Line(Gallery) + "\n";
        for (const auto& l : extra)
            table += l + "\n";
        WriteAll(Src.File("tools/templates.tsv"), QByteArray::fromStdString(table));
        return tessora::test::Run(GeneratorPath(), {QString::fromStdString(Src.File("tools/templates.tsv")),
                                                    QString::fromStdString(Out.Path())});
    }

    TTempDir Src, Out;
};

TEST_F(GenTemplates, GoodTableWritesOneHeaderPerRow) {
    const TRunResult r = Generate({});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(TemplateFiles(Out.Path()), (std::set<std::string>{"Good.tpr", "Blob.tpv"}));
    const QByteArray b = ReadAll(Out.File("Blob.tpv"));
    ASSERT_EQ(b.size(), 608);
    EXPECT_EQ(b[2], char(lsVector));
    EXPECT_EQ(b.mid(89, 24), QByteArray("\x17\\Vector Images\\Blob.svg"));
}

TEST_F(GenTemplates, RefusesBadRowsNamingTheLine) {
    struct TCase {
        const char* What;
        TRow Changes;
        const char* Says;
    };
    const TCase cases[] = {
        {"grid wider than the paper", {{"Columns", "4"}}, "wide"},
        {"grid taller than the paper", {{"Rows", "11"}}, "high"},
        {"paper index past the table", {{"Paper", "8"}}, "Paper"},
        {"unknown shape", {{"Shape", "Triangle"}}, "Triangle"},
        {"shape of another kind", {{"Kind", ".tpv"}}, "does not belong"},
        {"regular shape in a maker sheet", {{"Kind", ".tpl"}, {"VectorFile", "Blob.svg"}}, "does not belong"},
        {"outline picture missing",
         {{"Kind", ".tpv"}, {"Shape", "Vector Graphic"}, {"VectorFile", "Missing.svg"}},
         "Missing.svg"},
        {"maker sheet without a picture", {{"Kind", ".tpl"}, {"Shape", "Corvane Labels"}}, "VectorFile"},
        {"picture on a plain label", {{"VectorFile", "Blob.svg"}}, "VectorFile"},
        {"decimal comma", {{"LabelWidth", "66,675"}}, "LabelWidth"},
        {"negative gap", {{"GapH", "-1"}}, "GapH"},
        {"no rows", {{"Rows", "0"}}, "Rows"},
        {"zero height", {{"LabelHeight", "0"}}, "height"},
        {"rounding on a square-cornered label", {{"Rounding", "10"}}, "Rounding"},
        {"rounding the outline would clamp", {{"Shape", "Round Rectangle"}, {"Rounding", "95"}}, "Rounding"},
        {"box without a depth", {{"Kind", ".tpb"}, {"Shape", "Box"}}, "BoxDepth"},
        {"box glue flap off the paper",
         {{"Kind", ".tpb"},
          {"Shape", "Box"},
          {"BoxDepth", "20"},
          {"LabelWidth", "50"},
          {"LabelHeight", "80"},
          {"MarginLeft", "5"},
          {"MarginTop", "20"},
          {"Columns", "1"},
          {"Rows", "1"}},
         "15 mm"},
        {"box tuck flaps running into the next net",
         {{"Kind", ".tpb"},
          {"Shape", "Box"},
          {"BoxDepth", "20"},
          {"LabelWidth", "50"},
          {"LabelHeight", "40"},
          {"MarginLeft", "20"},
          {"MarginTop", "20"},
          {"Columns", "1"},
          {"Rows", "2"},
          {"GapV", "10"}},
         "30 mm"},
        {"depth on a flat label", {{"BoxDepth", "5"}}, "BoxDepth"},
        {"same file as line 3", {{"OrderCode", "CT-2"}}, "line 3"},
        {"same file but for case", {{"Name", "GOOD"}}, "line 3"},
        {"folder in the name", {{"Name", "a/b"}}, "Name"},
        {"unknown kind", {{"Kind", ".pdf"}}, "Kind"},
        {"unknown unit", {{"Units", "cm"}}, "Units"},
        {"order code past its capacity", {{"OrderCode", std::string(256, 'X')}}, "OrderCode"},
        {"stock not named", {{"Stock", "-"}}, "Stock"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        const TRunResult r = Generate({Line(Changed(Address, c.Changes))});
        EXPECT_NE(r.ExitCode, 0);
        const std::string err = r.Err.toStdString();
        EXPECT_NE(err.find("templates.tsv:5: "), std::string::npos) << err;
        EXPECT_NE(err.find(c.Says), std::string::npos) << err;
        EXPECT_EQ(err.find("templates.tsv:3:"), std::string::npos) << err;
        // Nothing is written from a table with a bad row.
        EXPECT_TRUE(TemplateFiles(Out.Path()).empty());
    }

    const TRunResult shortRow = Generate({"Short\t.tpr\t0"});
    EXPECT_NE(shortRow.ExitCode, 0);
    EXPECT_NE(shortRow.Err.indexOf("templates.tsv:5: 3 cells"), -1) << shortRow.Err.toStdString();
}

TEST_F(GenTemplates, ReportsEveryBadRowAndABadHeader) {
    const TRunResult two = Generate({Line(Changed(Address, {{"Name", "A"}, {"Paper", "9"}})), "",
                                     Line(Changed(Address, {{"Name", "B"}, {"Rows", "x"}}))});
    EXPECT_NE(two.ExitCode, 0);
    EXPECT_NE(two.Err.indexOf("templates.tsv:5: Paper"), -1) << two.Err.toStdString();
    EXPECT_NE(two.Err.indexOf("templates.tsv:7: Rows"), -1) << two.Err.toStdString();

    // Columns swapped in the header would put every width into the height.
    const TRunResult swapped = Generate({}, "Name\tKind\tPaper\tUnits\tShape\tMarginLeft\tMarginTop\tLabelHei"
                                            "ght\tLabelWidth\tBoxDepth\tGapH\tGapV\t"
                                            "Columns\tRows\tRounding\tVectorFile\tOrderCode\tStock");
    EXPECT_NE(swapped.ExitCode, 0);
    EXPECT_NE(swapped.Err.indexOf("templates.tsv:2: "), -1) << swapped.Err.toStdString();
    EXPECT_TRUE(TemplateFiles(Out.Path()).empty());
}

TEST_F(GenTemplates, DropsTemplatesNoLongerInTheTableAndKeepsOtherFiles) {
    WriteAll(Out.File("Renamed Away.tpr"), QByteArray(608, '\0'));
    WriteAll(Out.File("readme.txt"), "kept");
    const TRunResult r = Generate({});
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(TemplateFiles(Out.Path()), (std::set<std::string>{"Good.tpr", "Blob.tpv"}));
    EXPECT_EQ(ReadAll(Out.File("readme.txt")), "kept");
}

// The shipped table, generated twice, gives the same bytes as the build's program folder.
TEST(GenTemplatesShipped, OutputIsTheSameOnEveryRun) {
    TTempDir a, b;
    for (const TTempDir* d : {&a, &b}) {
        const TRunResult r = tessora::test::Run(
            GeneratorPath(), {QString::fromStdString(TablePath()), QString::fromStdString(d->Path())});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    }
    const std::set<std::string> names = TemplateFiles(TemplatesDir());
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(TemplateFiles(a.Path()), names);
    for (const std::string& n : names) {
        SCOPED_TRACE(n);
        const QByteArray built = ReadAll(TemplatesDir() + n);
        EXPECT_EQ(ReadAll(a.File(n)), built);
        EXPECT_EQ(ReadAll(b.File(n)), built);
    }
}

} // namespace
