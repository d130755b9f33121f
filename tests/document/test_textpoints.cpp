// Path points of a text: reading and writing the "x;y;#" form, padding for the Bezier chain.
#include "document/uTextPoints.h"

#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using namespace tessora;

namespace {

struct TParseCase {
    const char* Text;
    std::vector<TPointMM> Points;
};

void ExpectPoints(const std::vector<TPointMM>& got, const std::vector<TPointMM>& want,
                  const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_DOUBLE_EQ(got[i].X, want[i].X) << what << " point " << i;
        EXPECT_DOUBLE_EQ(got[i].Y, want[i].Y) << what << " point " << i;
    }
}

// Switches the C locale to one that writes ',' and restores it afterwards.
class TCommaLocale {
public:
    TCommaLocale() {
        Saved = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (!std::setlocale(LC_ALL, name)) continue;
            char buf[16];
            std::snprintf(buf, sizeof buf, "%.1f", 1.5);
            if (std::string(buf) == "1,5") {
                Active = true;
                return;
            }
        }
        std::setlocale(LC_ALL, Saved.c_str());
    }
    ~TCommaLocale() { std::setlocale(LC_ALL, Saved.c_str()); }
    bool Active = false;

private:
    std::string Saved;
};

} // namespace

TEST(TextPoints, ParsesPointsBeforeEachHash) {
    const TParseCase cases[] = {
        {"", {}},
        {"#", {}},
        {"12.5;30.0;#", {{12.5, 30.0}}},
        // The cut last point has no "#" and is dropped.
        {"1.0;2.0;#3.0;4.0;#5.0", {{1, 2}, {3, 4}}},
        {"1.0;2.0;#3.0;4.0;#5.0;6.0;", {{1, 2}, {3, 4}}},
        // Written on a system with ',' as decimal separator, or mixed.
        {"1,5;2,25;#-0,5;7;#", {{1.5, 2.25}, {-0.5, 7}}},
        {"1.5;2,5;#", {{1.5, 2.5}}},
        {"-3.5;+4;#.5;6.;#", {{-3.5, 4}, {0.5, 6}}},
        {" 1.0 ; 2.0 ;#", {{1, 2}}},
        {"1.0;2.0#", {{1, 2}}},
        {"1.0;2.0;extra;#", {{1, 2}}},
    };
    for (const auto& c : cases)
        ExpectPoints(ParseTextPoints(c.Text), c.Points, c.Text);
}

TEST(TextPoints, SkipsMalformedPiecesAndKeepsTheRest) {
    const char* bad[] = {"1.0;#",      "1.0#",      ";2.0;#",    ";;#",       "a;1;#",       "1;b;#",
                         "1.0;2.0x;#", "1.2.3;4;#", "1,2.3;4;#", "1e2;3;#",   "inf;1;#",     "nan;1;#",
                         "-;1;#",      "1;--2;#",   "0x10;1;#",  "20000;1;#", "1;-10000.5;#"};
    for (const char* piece : bad) {
        const std::string text = std::string("1.0;2.0;#") + piece + "3.0;4.0;#";
        ExpectPoints(ParseTextPoints(text), {{1, 2}, {3, 4}}, text);
    }
    ExpectPoints(ParseTextPoints("10000;-10000;#"), {{10000, -10000}}, "the largest coordinates");
}

TEST(TextPoints, PaddingGivesWholeBezierSegments) {
    const std::pair<int, int> counts[] = {{0, 0}, {1, 4}, {2, 4},  {3, 4},  {4, 4},   {5, 7},
                                          {6, 7}, {7, 7}, {8, 10}, {9, 10}, {10, 10}, {11, 13}};
    for (const auto& [in, out] : counts) {
        std::vector<TPointMM> pts;
        for (int i = 0; i < in; ++i)
            pts.push_back({double(i), double(10 * i)});
        const auto padded = PadForBezier(pts);
        ASSERT_EQ(int(padded.size()), out) << in << " points";
        for (int i = 0; i < out; ++i) {
            const TPointMM want = i < in ? pts[i] : pts.back();
            EXPECT_EQ(padded[i].X, want.X) << in << " points, point " << i;
            EXPECT_EQ(padded[i].Y, want.Y) << in << " points, point " << i;
        }
    }
}

TEST(TextPoints, WritesOneDecimalAndShortestForms) {
    EXPECT_EQ(FormatTextPoint(0, 0), "0.0;0.0;");
    EXPECT_EQ(FormatTextPoint(12.5, 30), "12.5;30.0;");
    EXPECT_EQ(FormatTextPoint(-7.25, 120.06), "-7.2;120.1;"); // 7.25 is exact: halves go to even
    EXPECT_EQ(FormatTextPoint(-0.04, -0.0), "0.0;0.0;");
    // A point moved up half a millimetre.
    EXPECT_EQ(FormatTextPointShortest(12.5, 30.0 - 0.5), "12.5;29.5;");
    EXPECT_EQ(FormatTextPointShortest(12.5 + 0.5, 30), "13;30;");
    const std::pair<double, const char*> shortest[] = {{0, "0"},
                                                       {-0.0, "0"},
                                                       {0.1 + 0.2, "0.3"},
                                                       {0.1 + 0.2 - 0.3, "0"},
                                                       {-12.25, "-12.25"},
                                                       {299.9, "299.9"},
                                                       {1.0 / 3, "0.333333333333333"},
                                                       {-300, "-300"}};
    for (const auto& [v, text] : shortest)
        EXPECT_EQ(FormatShortest(v), text) << v;
    EXPECT_EQ(FormatTextPoints({}), "");
    EXPECT_EQ(FormatTextPoints({{1, 2}, {-3.5, 40.25}}), "1.0;2.0;#-3.5;40.2;#");
}

TEST(TextPoints, WrittenTextReadsBackAsTheSamePoints) {
    const std::vector<TPointMM> pts = {{0, 0}, {12.5, 30}, {-299.9, 300}, {66.7, 0.1}};
    ExpectPoints(ParseTextPoints(FormatTextPoints(pts)), pts, "one-decimal form");
    std::string shortest;
    for (const auto& p : pts)
        shortest += FormatTextPointShortest(p.X, p.Y) + "#";
    ExpectPoints(ParseTextPoints(shortest), pts, "shortest form");
}

TEST(TextPoints, WritesPointNumbersUnderACommaLocale) {
    TCommaLocale locale;
    if (!locale.Active) GTEST_SKIP() << "no locale with ',' as decimal separator is installed";
    EXPECT_EQ(FormatTextPoints({{1.5, -2.5}}), "1.5;-2.5;#");
    EXPECT_EQ(FormatTextPointShortest(1.5, 0.25), "1.5;0.25;");
    ExpectPoints(ParseTextPoints("1.5;2,5;#"), {{1.5, 2.5}}, "read under the comma locale");
}

TEST(TextPoints, ItemsOfAStoredPath) {
    EXPECT_EQ(SplitTextPointItems("1.0;2.0;#3.0;4.0;#5.0"),
              (std::vector<std::string>{"1.0;2.0;", "3.0;4.0;"}));
    EXPECT_EQ(SplitTextPointItems("5.0"), std::vector<std::string>{});
    EXPECT_EQ(JoinTextPointItems({"12.5;30.0;", "13;30;"}), "12.5;30.0;#13;30;#");
    TPointMM p{};
    ASSERT_TRUE(ReadTextPointItem("12.5;29,5;", p));
    EXPECT_DOUBLE_EQ(p.X, 12.5);
    EXPECT_DOUBLE_EQ(p.Y, 29.5);
    EXPECT_FALSE(ReadTextPointItem("12.5;", p));
}

TEST(TextPoints, LongPathsAreCutAtAWholePoint) {
    std::vector<TPointMM> pts;
    std::vector<std::string> items;
    for (int i = 0; i < 40; ++i) {
        pts.push_back({100.0 + i, -200.5}); // "1xx.0;-200.5;#" = 14 bytes each
        items.push_back(FormatTextPoint(pts.back().X, pts.back().Y));
    }
    for (const std::string& text : {FormatTextPoints(pts), JoinTextPointItems(items)}) {
        EXPECT_LE(text.size(), kTextPointsCapacity);
        EXPECT_GT(text.size(), kTextPointsCapacity - 14);
        EXPECT_EQ(text.back(), '#');
        const auto back = ParseTextPoints(text);
        ASSERT_EQ(back.size(), text.size() / 14);
        ExpectPoints(back, std::vector<TPointMM>(pts.begin(), pts.begin() + back.size()), "prefix");
    }
}
