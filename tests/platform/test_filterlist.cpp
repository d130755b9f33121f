// The filter list text of an image: reading, writing, malformed texts.
#include "document/uFilterList.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <random>
#include <string>

using namespace tessora;

namespace {

TImageFilter BC(int b, int c) {
    return {fcBrightnessContrast, b, c, 0, 0};
}
TImageFilter Sharp(int s) {
    return {fcSharp, 0, 0, s, 0};
}
TImageFilter BlurOf(double r) {
    return {fcBlur, 0, 0, 0, r};
}
TImageFilter Only(int code) {
    return {code, 0, 0, 0, 0};
}

} // namespace

TEST(FilterList, DecodesEntriesInTextOrderWithTheirParameters) {
    const TFilterList f = DecodeFilters("5_;#1_10;-20;#3_1.50;#2_-7;#4_;#5_;#");
    const TFilterList expected = {Only(fcNegative), BC(10, -20),  BlurOf(1.5),
                                  Sharp(-7),        Only(fcGrey), Only(fcNegative)};
    EXPECT_EQ(f, expected);
    EXPECT_TRUE(DecodeFilters("").empty());
}

TEST(FilterList, EditorTextsRoundTripExactly) {
    for (const char* text : {"1_0;0;#", "4_;#5_;#", "3_2.50;#", "", "1_-150;150;#2_12;#3_0.05;#4_;#5_;#",
                             "2_-3;#2_-3;#", "3_100.00;#", "1_7;-1;#"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(EncodeFilters(DecodeFilters(text)), text);
    }
}

TEST(FilterList, BlurRadiusIsWrittenWithTwoDecimalsAndAPoint) {
    struct Case {
        double Radius;
        const char* Text;
    } cases[] = {{2.5, "3_2.50;#"},    {0, "3_0.00;#"},      {1.0 / 3, "3_0.33;#"}, {99.999, "3_100.00;#"},
                 {-0.001, "3_0.00;#"}, {-1.25, "3_-1.25;#"}, {NAN, "3_0.00;#"},     {INFINITY, "3_0.00;#"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(EncodeFilters({BlurOf(c.Radius)}), c.Text);
    }
}

TEST(FilterList, NumbersIgnoreTheLocaleAndReadACommaToo) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    const std::string written = EncodeFilters({BlurOf(2.5)});
    const TFilterList read = DecodeFilters("3_2.75;#3_2,25;#");
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(written, "3_2.50;#");
    EXPECT_EQ(read, (TFilterList{BlurOf(2.75), BlurOf(2.25)}));
    EXPECT_EQ(EncodeFilters(DecodeFilters("3_2,5;#")), "3_2.50;#");
}

TEST(FilterList, CodesOutsideTheFiveAreNotWritten) {
    EXPECT_EQ(EncodeFilters({Only(0), Only(6), Only(-1), Only(fcGrey)}), "4_;#");
}

// A malformed entry is left out; the entries around it still count.
TEST(FilterList, MalformedEntriesAreLeftOut) {
    struct Case {
        const char* Text;
        const char* Canonical; // what the readable part writes back as
    } cases[] = {
        {"4_;", ""},          // not closed by '#'
        {"4_;#junk", "4_;#"}, // text after the last '#'
        {"4_;#5_;", "4_;#"},
        {"#", ""}, // empty entry
        {"##4_;##", "4_;#"},
        {"4;#5_;#", "5_;#"},  // no '_'
        {"x_;#4_;#", "4_;#"}, // code not a number
        {" 4_;#", ""},        // nor with a space
        {"4x_;#", ""},
        {"_;#", ""},                    // no code at all
        {"9_1;#0_;#-1_;#4_;#", "4_;#"}, // codes outside 1..5
        {"99999999999_;#", ""},         // code beyond the int range
        {"1_5;#4_;#", "4_;#"},          // brightness without contrast
        {"1_5;7#", ""},                 // last piece without ';' is dropped
        {"1_a;7;#", ""},                // non-numeric parameter
        {"1_1.5;7;#", ""},              // not a whole number
        {"1_99999999999;0;#", ""},      // beyond the int range
        {"1_+5;-0;#", "1_5;0;#"},       // signs are fine
        {"1_1;2;3;#", "1_1;2;#"},       // extra parameters ignored
        {"2_;#", ""},                   // sharp without intensity
        {"2_ 3;#", ""},
        {"3_;#", ""}, // blur without radius
        {"3_1.5#", ""},
        {"3_abc;#", ""},
        {"3_1.2.3;#", ""},
        {"3_1,2,3;#", ""},
        {"3_.;#", ""},
        {"3_inf;#3_nan;#3_1e3;#", ""},
        {"3_.5;#3_4.;#", "3_0.50;#3_4.00;#"}, // a missing side of the point is zero
        {"4_x;y;#5_garbage#", "4_;#5_;#"},    // no parameters needed, none read
        {"1__2;3;#", ""},                     // '_' inside the parameters
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(EncodeFilters(DecodeFilters(c.Text)), c.Canonical);
    }
}

// Whatever the text, reading never fails and the written form reads back as itself.
TEST(FilterList, RandomTextsSettleOnTheirWrittenForm) {
    const std::string alphabet = "0123456789__;;##.,-+x ";
    std::mt19937 rng(7);
    for (int i = 0; i < 20000; ++i) {
        std::string text(rng() % 24, ' ');
        for (char& ch : text)
            ch = alphabet[rng() % alphabet.size()];
        const TFilterList once = DecodeFilters(text);
        const std::string canonical = EncodeFilters(once);
        const TFilterList twice = DecodeFilters(canonical);
        ASSERT_EQ(twice.size(), once.size()) << text;
        ASSERT_EQ(EncodeFilters(twice), canonical) << text;
    }
}
