// gen_templates TABLE OUTDIR: writes the shipped template files, one per row of
// the table (tools/templates.tsv), into OUTDIR. Outline pictures named by the
// table must exist in data/Vector Images of the source tree holding the table.
// Every row is checked before anything is written; a bad row fails the build
// with "TABLE:LINE: problem" on stderr and exit 1.
#include "document/uCommon.h"
#include "document/uSheetDocument.h"
#include "document/uSheetHeader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace tessora;

namespace {

enum TColumn {
    colName,
    colKind,
    colPaper,
    colUnits,
    colShape,
    colMarginLeft,
    colMarginTop,
    colLabelWidth,
    colLabelHeight,
    colBoxDepth,
    colGapH,
    colGapV,
    colColumns,
    colRows,
    colRounding,
    colVectorFile,
    colOrderCode,
    colStock,
    colCount
};

const char* const kColumnNames[colCount] = {
    "Name",     "Kind", "Paper", "Units",   "Shape", "MarginLeft", "MarginTop",  "LabelWidth", "LabelHeight",
    "BoxDepth", "GapH", "GapV",  "Columns", "Rows",  "Rounding",   "VectorFile", "OrderCode",  "Stock"};

// The flaps of a box net reach this far beyond the net (glue flap left, tuck flaps above and below).
constexpr double kBoxFlap = 15.0;
// Decimal inch values in the table may overshoot an edge by rounding only.
constexpr double kFitSlack = 1e-6;
constexpr int kMaxLabels = 10000;
constexpr const char* kVectorFolder = "Vector Images";

struct TRowError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct TTemplateRow {
    int Line = 0;
    std::string FileName; // name + extension
    TSheetHeader Header;
    std::string StoredVector;
};

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return cells;
        start = tab + 1;
    }
}

std::string Quoted(const std::string& s) {
    return "'" + s + "'";
}

double Number(const std::vector<std::string>& cells, TColumn c) {
    const std::string& s = cells[c];
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        throw TRowError(std::string(kColumnNames[c]) + ": not a number: " + Quoted(s));
    if (v < 0) throw TRowError(std::string(kColumnNames[c]) + ": negative: " + s);
    return v;
}

int Integer(const std::vector<std::string>& cells, TColumn c, int lo, int hi) {
    const std::string& s = cells[c];
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size())
        throw TRowError(std::string(kColumnNames[c]) + ": not a whole number: " + Quoted(s));
    if (v < lo || v > hi)
        throw TRowError(std::string(kColumnNames[c]) + ": " + s + " is outside " + std::to_string(lo) + ".." +
                        std::to_string(hi));
    return v;
}

// '-' marks an empty text, so that no cell of the table is blank.
std::string Text(const std::vector<std::string>& cells, TColumn c) {
    return cells[c] == "-" ? "" : cells[c];
}

// Plain printable ASCII: the same bytes in Windows-1252 and UTF-8, and in every file system.
void CheckPlainText(const std::string& s, TColumn c) {
    for (unsigned char ch : s)
        if (ch < 0x20 || ch > 0x7e) throw TRowError(std::string(kColumnNames[c]) + ": only plain ASCII text");
}

// Template and picture names become file names on Linux and Windows alike.
void CheckFileName(const std::string& s, TColumn c) {
    const std::string what = kColumnNames[c];
    if (s.empty()) throw TRowError(what + ": empty");
    CheckPlainText(s, c);
    if (s.find_first_of("/\\:*?\"<>|") != std::string::npos)
        throw TRowError(what + ": " + Quoted(s) + " holds a character file names cannot have");
    if (s.front() == '.' || s.front() == ' ' || s.back() == '.' || s.back() == ' ')
        throw TRowError(what + ": " + Quoted(s) + " begins or ends with a dot or space");
}

uint8_t ShapeOf(const std::string& s) {
    for (size_t i = 0; i < kShapeNames.size(); ++i)
        if (s == kShapeNames[i]) return uint8_t(i);
    throw TRowError("Shape: unknown shape " + Quoted(s));
}

// Each kind of template holds one family of shapes.
bool ShapeFitsKind(uint8_t shape, int kind) {
    switch (kind) {
    case 1:
        return shape == lsRectangle || shape == lsRoundRect || shape == lsEllipse;
    case 2:
        return shape == lsMakerVector;
    case 3:
        return shape == lsBox;
    case 4:
        return shape == lsVector;
    }
    return false;
}

// Far edge of the last label, reached the way the sheet lays its grid out.
double GridEnd(double margin, int count, double extent, double gap) {
    double x = margin;
    for (int i = 1; i < count; ++i)
        x += extent + gap;
    return x + extent;
}

void CheckFit(const TSheetHeader& h) {
    const TPaperSize& paper = kPaperSizes[h.PaperSize];
    const bool box = h.Shape == lsBox;
    const double flap = box ? kBoxFlap : 0.0;
    const double right = GridEnd(h.MarginLeft, h.Columns, h.ExtentAcross(), h.GapH);
    const double bottom = GridEnd(h.MarginTop, h.Rows, h.ExtentDown(), h.GapV) + flap;
    char buf[200];
    if (right > paper.Width + kFitSlack) {
        std::snprintf(buf, sizeof buf, "the grid is %.4f mm wide, the paper %.4f mm", right, paper.Width);
        throw TRowError(buf);
    }
    if (bottom > paper.Height + kFitSlack) {
        std::snprintf(buf, sizeof buf, "the grid is %.4f mm high, the paper %.4f mm", bottom, paper.Height);
        throw TRowError(buf);
    }
    if (!box) return;
    if (h.MarginLeft < kBoxFlap || h.MarginTop < kBoxFlap)
        throw TRowError("the box flaps need margins of at least 15 mm on the left and top");
    if (h.Columns > 1 && h.GapH < kBoxFlap)
        throw TRowError("GapH: the glue flaps need a gap of at least 15 mm");
    if (h.Rows > 1 && h.GapV < 2 * kBoxFlap)
        throw TRowError("GapV: the tuck flaps need a gap of at least 30 mm");
}

TTemplateRow ParseRow(const std::vector<std::string>& cells, const fs::path& vectorFolder) {
    if (cells.size() != colCount)
        throw TRowError(std::to_string(cells.size()) + " cells, the header names " +
                        std::to_string(colCount));
    TTemplateRow row;
    TSheetHeader& h = row.Header;

    CheckFileName(cells[colName], colName);
    const std::string& ext = cells[colKind];
    const int kind = FileKind(ext);
    if (kind < 1 || ext != kFileExt[size_t(kind)])
        throw TRowError("Kind: " + Quoted(ext) + " is not one of .tpr .tpl .tpb .tpv");
    row.FileName = cells[colName] + ext;

    h.PaperSize = uint8_t(Integer(cells, colPaper, 0, int(kPaperSizes.size()) - 1));
    if (cells[colUnits] == "mm")
        h.Units = 0;
    else if (cells[colUnits] == "in")
        h.Units = 1;
    else
        throw TRowError("Units: " + Quoted(cells[colUnits]) + " is neither mm nor in");
    h.Shape = ShapeOf(cells[colShape]);
    if (!ShapeFitsKind(h.Shape, kind))
        throw TRowError("Shape: " + Quoted(cells[colShape]) + " does not belong in a " + ext + " template");

    h.MarginLeft = Number(cells, colMarginLeft);
    h.MarginTop = Number(cells, colMarginTop);
    h.LabelWidth = Number(cells, colLabelWidth);
    h.LabelHeight = Number(cells, colLabelHeight);
    h.BoxDepth = Number(cells, colBoxDepth);
    h.GapH = Number(cells, colGapH);
    h.GapV = Number(cells, colGapV);
    if (h.LabelWidth <= 0 || h.LabelHeight <= 0) throw TRowError("the label needs a width and a height");
    if ((h.Shape == lsBox) != (h.BoxDepth > 0))
        throw TRowError(h.Shape == lsBox ? "BoxDepth: a box needs a depth"
                                         : "BoxDepth: only boxes have a depth");

    h.Columns = Integer(cells, colColumns, 1, kMaxLabels);
    h.Rows = Integer(cells, colRows, 1, kMaxLabels);
    if (h.Columns * h.Rows > kMaxLabels) throw TRowError("more than 10000 labels");

    // The outline drawing clamps rounding to 5..90; a value it would change is a mistake in the table.
    if (h.Shape == lsRoundRect)
        h.Rounding = uint8_t(Integer(cells, colRounding, 5, 90));
    else if (Integer(cells, colRounding, 0, 100) != 0)
        throw TRowError("Rounding: only round rectangles have rounded corners");

    const std::string vector = Text(cells, colVectorFile);
    const bool vectorShape = h.Shape == lsVector || h.Shape == lsMakerVector;
    if (vectorShape != !vector.empty())
        throw TRowError(vectorShape ? "VectorFile: this shape takes its outline from a picture"
                                    : "VectorFile: only vector shapes have an outline picture");
    if (vectorShape) {
        CheckFileName(vector, colVectorFile);
        std::error_code ec;
        if (!fs::is_regular_file(vectorFolder / vector, ec))
            throw TRowError("VectorFile: " + (vectorFolder / vector).string() + " does not exist");
        row.StoredVector = std::string("\\") + kVectorFolder + "\\" + vector;
        if (row.StoredVector.size() > 255)
            throw TRowError("VectorFile: the stored path is longer than 255 bytes");
    }

    h.OrderCode = Text(cells, colOrderCode);
    CheckPlainText(h.OrderCode, colOrderCode);
    if (h.OrderCode.size() > 255) throw TRowError("OrderCode: longer than 255 bytes");
    if (cells[colStock].empty() || cells[colStock] == "-") throw TRowError("Stock: say which stock this is");

    CheckFit(h);
    const std::string problem = h.Problem();
    if (!problem.empty()) throw TRowError(problem);
    h.VectorFile = row.StoredVector;
    return row;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gen_templates TABLE OUTDIR\n");
        return 2;
    }
    const std::string tablePath = argv[1];
    const fs::path outDir = argv[2];
    std::ifstream in(tablePath, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot be read\n", tablePath.c_str());
        return 1;
    }
    // The table lives in <source>/tools; the pictures in <source>/data.
    const fs::path vectorFolder =
        fs::absolute(tablePath).parent_path().parent_path() / "data" / kVectorFolder;

    std::vector<TTemplateRow> rows;
    std::map<std::string, int> seen; // lower-cased file name -> line, for file systems that ignore case
    bool failed = false, haveHeader = false;
    auto report = [&](int line, const std::string& text) {
        std::fprintf(stderr, "%s:%d: %s\n", tablePath.c_str(), line, text.c_str());
        failed = true;
    };

    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> cells = SplitTabs(line);
        if (!haveHeader) {
            haveHeader = true;
            if (!std::equal(cells.begin(), cells.end(), std::begin(kColumnNames), std::end(kColumnNames))) {
                std::string expected;
                for (const char* n : kColumnNames)
                    expected += std::string(expected.empty() ? "" : " ") + n;
                report(lineNo, "the header row must name the columns " + expected + ", tab-separated");
                break;
            }
            continue;
        }
        try {
            TTemplateRow row = ParseRow(cells, vectorFolder);
            row.Line = lineNo;
            const auto [it, fresh] = seen.emplace(Lower(row.FileName), lineNo);
            if (!fresh)
                throw TRowError(Quoted(row.FileName) + " is already made by line " +
                                std::to_string(it->second));
            rows.push_back(std::move(row));
        } catch (const TRowError& e) {
            report(lineNo, e.what());
        }
    }
    if (!haveHeader) report(1, "no header row");
    if (!failed && rows.empty()) report(1, "no templates");
    if (failed) return 1;

    std::error_code ec;
    fs::create_directories(outDir, ec);
    for (const TTemplateRow& row : rows) {
        const auto rec = row.Header.Encode(row.StoredVector);
        const std::string file = (outDir / row.FileName).string();
        if (!WriteFileAtomic(file, std::vector<uint8_t>(rec.begin(), rec.end()))) {
            std::fprintf(stderr, "%s: cannot be written\n", file.c_str());
            return 1;
        }
    }
    // A template dropped from or renamed in the table must not linger in the folder.
    std::set<std::string> made;
    for (const TTemplateRow& row : rows)
        made.insert(row.FileName);
    for (const auto& entry : fs::directory_iterator(outDir, ec)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && FileKind(name) >= 1 && !made.count(name)) fs::remove(entry.path(), ec);
    }
    return 0;
}
