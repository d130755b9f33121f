// Line patterns of every symbology against symbols built here from the standards' own tables
// (module bits for EAN/UPC, the 2-of-5 structure of Code 39) or worked out by hand from them.
#include "barcode/Barcode.h"
#include "tests/barcode/uBarcodeTest.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

namespace tessora::test {
namespace {

// ---- EAN/UPC, GS1 General Specifications: number set A (odd) as module bits; set C is its
// complement and set B set C read backwards.
const char* const kSetA[10] = {"0001101", "0011001", "0010011", "0111101", "0100011",
                               "0110001", "0101111", "0111011", "0110111", "0001011"};

std::string SetA(char d) {
    return kSetA[d - '0'];
}
std::string SetC(char d) {
    std::string s = SetA(d);
    for (char& c : s)
        c = c == '0' ? '1' : '0';
    return s;
}
std::string SetB(char d) {
    std::string s = SetC(d);
    return {s.rbegin(), s.rend()};
}
std::string Set(char set, char d) {
    return set == 'A' || set == 'L' ? SetA(d) : SetB(d);
}

// GS1: the leading digit of EAN-13 as the L/G choice of digits 2..7.
const char* const kEan13Lead[10] = {"LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
                                    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL"};
// GS1: UPC-E number system 0 parity by check digit (number system 1 is its complement), and
// the five-digit add-on parity by its check digit.
const char* const kUpcE0[10] = {"GGGLLL", "GGLGLL", "GGLLGL", "GGLLLG", "GLGGLL",
                                "GLLGGL", "GLLLGG", "GLGLGL", "GLGLLG", "GLLGLG"};
const char* const kAddOn5[10] = {"GGLLL", "GLGLL", "GLLGL", "GLLLG", "LGGLL",
                                 "LLGGL", "LLLGG", "LGLGL", "LGLLG", "LLGLG"};

std::string Ean13(const std::string& d) {
    std::string m = "101";
    for (int i = 1; i < 7; ++i)
        m += Set(kEan13Lead[d[0] - '0'][i - 1], d[i]);
    m += "01010";
    for (int i = 7; i < 13; ++i)
        m += SetC(d[i]);
    return M(m + "101");
}

std::string EanLeftRight(const std::string& d) { // EAN-8 and UPC-A: all left digits in set A
    std::string m = "101";
    const size_t half = d.size() / 2;
    for (size_t i = 0; i < half; ++i)
        m += SetA(d[i]);
    m += "01010";
    for (size_t i = half; i < d.size(); ++i)
        m += SetC(d[i]);
    return M(m + "101");
}

std::string UpcE(const std::string& six, char check, bool system1) {
    std::string m = "101";
    for (int i = 0; i < 6; ++i) {
        char p = kUpcE0[check - '0'][i];
        if (system1) p = p == 'G' ? 'L' : 'G';
        m += Set(p, six[i]);
    }
    return M(m + "010101");
}

std::string AddOn(const std::string& digits, const std::string& parity) {
    std::string m = "1011";
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i) m += "01";
        m += Set(parity[i], digits[i]);
    }
    return M(m);
}

// ---- ISO/IEC 16390 and the 2 of 5 family: five elements per digit, two wide.
const char* const k2of5[10] = {"nnwwn", "wnnnw", "nwnnw", "wwnnn", "nnwnw",
                               "wnwnn", "nwwnn", "nnnww", "wnnwn", "nwnwn"};

std::string Interleaved(const std::string& d) {
    std::string e = "nnnn";
    for (size_t i = 0; i + 1 < d.size(); i += 2)
        for (int k = 0; k < 5; ++k) {
            e += k2of5[d[i] - '0'][k];
            e += k2of5[d[i + 1] - '0'][k];
        }
    return NW(e + "wnn");
}

// ---- ISO/IEC 16388 Code 39: five bars and four spaces; the bars are the 2-of-5 code of
// the character's place in its row of the table, the row says which space is wide.
std::string C39(char c) {
    static const char* const rows[4] = {"1234567890", "ABCDEFGHIJ", "KLMNOPQRST", "UVWXYZ-. *"};
    static const int wideSpace[4] = {1, 2, 3, 0};
    std::string bars = "nnnnn", spaces = "nnnn";
    bool found = false;
    for (int r = 0; r < 4 && !found; ++r)
        if (const char* at = std::strchr(rows[r], c)) {
            bars = k2of5[(at - rows[r] + 1) % 10];
            spaces[wideSpace[r]] = 'w';
            found = true;
        }
    if (!found) spaces = c == '$' ? "wwwn" : c == '/' ? "wwnw" : c == '+' ? "wnww" : "nwww";
    std::string e;
    for (int k = 0; k < 5; ++k) {
        e += bars[k];
        if (k < 4) e += spaces[k];
    }
    return e;
}

std::string Code39(const std::string& chars) {
    std::string e = C39('*');
    for (char c : chars)
        e += "n" + C39(c);
    return NW(e + "n" + C39('*'));
}

// ---- MSI Plessey: BCD bits, a 0 bit 100 and a 1 bit 110 in modules; start 110, stop 1001.
std::string Msi(const std::string& digitsWithCheck) {
    std::string m = "110";
    for (char d : digitsWithCheck)
        for (int b = 3; b >= 0; --b)
            m += ((d - '0') >> b) & 1 ? "110" : "100";
    return M(m + "1001");
}

// ---- USPS POSTNET: full (T) and half (s) bars with a space after each but the last.
std::string PostNet(std::string_view bars) {
    std::string out;
    for (char b : bars) {
        if (b == ' ') continue;
        if (!out.empty()) out += '1';
        out += b == 'T' ? '5' : 'A';
    }
    return out;
}

struct TCase {
    const char* Name;
    TBarcodeType Typ;
    const char* Text;
    bool Checksum;
    std::string Expected;
    const char* Prepared;
    const char* Source;
};

std::vector<TCase> Cases() {
    return {
        {"Interleaved", bcCode_2_5_interleaved, "1234", false, Interleaved("1234"), "1234",
         "ISO/IEC 16390 Interleaved 2 of 5"},
        // An odd count is completed with a leading 0, never cut.
        {"InterleavedOdd", bcCode_2_5_interleaved, "12345", false, Interleaved("012345"), "012345",
         "ISO/IEC 16390 Interleaved 2 of 5, leading zero"},
        // Bars carry the 2-of-5 code, every space narrow: start 110, stop 101 (bars).
        {"Industrial", bcCode_2_5_industrial, "12", false, NW("wnwnnn wnnnnnnnwn nnwnnnnnwn wnnnwn"), "12",
         "Industrial 2 of 5 (bars only: start 110, stop 101)"},
        // Bar-space-bar-space-bar per digit plus a narrow space; start 411111, stop 41111
        // at 3:1, here at 2:1 (start bar w2 = 3 modules).
        {"Matrix", bcCode_2_5_matrix, "12", false, W("311111 211121 121121 31111"), "12",
         "Matrix 2 of 5 (start 411111, stop 41111 at 3:1)"},
        // Check character: (12 + 24 + 13 + 14 + 3 + 9) mod 43 = 32 = W.
        {"Code39Check", bcCode39, "CODE39", true, Code39("CODE39W"), "CODE39", "ISO/IEC 16388 Code 39"},
        // Lower case has no Code 39 character and is left out; so is '*', the start/stop
        // character, which inside the data would end the symbol early.
        {"Code39Symbols", bcCode39, "A-. $/+*%z", false, Code39("A-. $/+%"), "A-. $/+*%z",
         "ISO/IEC 16388 Code 39"},
        {"Code39Extended", bcCode39Extended, "a-$\x01", false, Code39("+A/M/D$A"), "a-$\x01",
         "ISO/IEC 16388 full ASCII Code 39"},
        // start A, 'A' 33, SOH 65, check (103 + 33 + 2*65) mod 103 = 60, stop.
        {"Code128A", bcCode128A, "A\x01", false, W("211412 111323 121124 314111 2331112"), "A\x01",
         "ISO/IEC 15417 Code 128 table"},
        // start B, 'H' 40, 'i' 73, check (104 + 40 + 2*73) mod 103 = 84, stop.
        {"Code128B", bcCode128B, "Hi", false, W("211214 231113 142112 124112 2331112"), "Hi",
         "ISO/IEC 15417 Code 128 table"},
        // 01 23 45; check (105 + 1 + 2*23 + 3*45) mod 103 = 81.
        {"Code128C", bcCode128C, "12345", false, W("211232 222122 312131 113123 121142 2331112"), "012345",
         "ISO/IEC 15417 Code 128 table"},
        // An empty text: start B, check 104 mod 103 = 1, stop.
        {"Code128Empty", bcCode128B, "", false, W("211214 222122 2331112"), "",
         "ISO/IEC 15417 Code 128 table"},
        // C = 41 '+', K = 6; then stop and termination bar.
        {"Code93", bcCode93, "TEST93", false,
         W("111141 211221 221211 211122 211221 141111 111411 113121 121311 1111411"), "TEST93",
         "AIM USS-93 Code 93 table"},
        // 'a' is (+)A: values 46, 10; C = (10 + 2*46) mod 47 = 8, K = (2*10 + 3*46 + 8) mod 47 = 25 'P'.
        {"Code93Extended", bcCode93Extended, "a", false, W("111141 122211 211113 131211 131121 1111411"), "a",
         "AIM USS-93 full ASCII Code 93"},
        // Modulo 10 check: 2 * 1357 = 2714 -> 2+7+1+4 + 2+4+6 = 26 -> 4.
        {"MSI", bcCodeMSI, "1234567", false, Msi("12345674"), "1234567", "MSI Plessey, modulo 10 check"},
        // Frame bars around 1 = 00011 and 2 = 00101 (1 a full bar, 0 a half bar).
        {"PostNet", bcCodePostNet, "12", false, PostNet("T sssTT ssTsT T"), "12", "USPS POSTNET (DMM 708)"},
        {"Codabar", bcCodeCodabar, "1234", false,
         NW("nnwwnwn n nnnnwwn n nnnwnnw n wwnnnnn n nnwnnwn n nwnwnnw"), "1234",
         "ANSI/AIM BC3 USS-Codabar, start A stop B"},
        {"EAN8", bcCodeEAN8, "9638507", true, EanLeftRight("96385074"), "9638507",
         "GS1 General Specifications EAN-8"},
        // With a check digit an eighth digit is the old check digit and is replaced.
        {"EAN8Replaces", bcCodeEAN8, "96385070", true, EanLeftRight("96385074"), "96385070",
         "GS1 General Specifications EAN-8"},
        {"EAN13", bcCodeEAN13, "400638133393", true, Ean13("4006381333931"), "400638133393",
         "GS1 General Specifications EAN-13 encodation"},
        {"EAN13Padded", bcCodeEAN13, "123", false, Ean13("0000000000123"), "123",
         "GS1 General Specifications EAN-13 encodation"},
        {"UPCA", bcCodeUPC_A, "03600029145", true, EanLeftRight("036000291452"), "036000291452",
         "GS1 General Specifications UPC-A"},
        // A twelfth digit is replaced by the check digit of the first eleven.
        {"UPCAReplaces", bcCodeUPC_A, "036000291450", true, EanLeftRight("036000291452"), "036000291452",
         "GS1 General Specifications UPC-A"},
        {"UPCAPadded", bcCodeUPC_A, "123", false, EanLeftRight("000000000123"), "000000000123",
         "GS1 General Specifications UPC-A"},
        // Six digits are padded to seven first, so 065432 is encoded: 0 06200 00543, check 2.
        {"UPCE0", bcCodeUPC_E0, "654321", true, UpcE("065432", '2', false), "0654322",
         "GS1 General Specifications UPC-E"},
        // 654321 expands to 0 65100 00432, check 7.
        {"UPCE0Seven", bcCodeUPC_E0, "6543210", true, UpcE("654321", '7', false), "6543217",
         "GS1 General Specifications UPC-E"},
        // Last digit 3 and 4: 123453 -> 0 12300 00045 (check 1), 123454 -> 0 12340 00005 (check 3).
        {"UPCE0Rule3", bcCodeUPC_E0, "1234530", true, UpcE("123453", '1', false), "1234531",
         "GS1 General Specifications UPC-E"},
        {"UPCE0Rule4", bcCodeUPC_E0, "1234540", false, UpcE("123454", '3', false), "1234540",
         "GS1 General Specifications UPC-E"},
        // Number system 1: 1 65100 00432, check 4.
        {"UPCE1", bcCodeUPC_E1, "6543210", true, UpcE("654321", '4', true), "6543214",
         "GS1 General Specifications UPC-E, number system 1"},
        // Value mod 4: 12 -> 0 LL, 13 -> 1 LG, 14 -> 2 GL, 15 -> 3 GG.
        {"AddOn2", bcCodeUPC_Supp2, "12", false, AddOn("12", "LL"), "12", "GS1 two-digit add-on"},
        {"AddOn2Parity1", bcCodeUPC_Supp2, "13", false, AddOn("13", "LG"), "13", "GS1 two-digit add-on"},
        {"AddOn2Parity2", bcCodeUPC_Supp2, "14", false, AddOn("14", "GL"), "14", "GS1 two-digit add-on"},
        {"AddOn2Parity3", bcCodeUPC_Supp2, "15", false, AddOn("15", "GG"), "15", "GS1 two-digit add-on"},
        // Check: (3 * (5 + 4 + 5) + 9 * (2 + 9)) mod 10 = 1.
        {"AddOn5", bcCodeUPC_Supp5, "52495", true, AddOn("52495", kAddOn5[1]), "524951",
         "GS1 five-digit add-on"},
        // start A, FNC1, '1' 17, 'A' 33; check (103 + 102 + 2*17 + 3*33) mod 103 = 29.
        {"EAN128A", bcCodeEAN128A, "1A", false, W("211412 411131 123221 111323 322211 2331112"), "1A",
         "ISO/IEC 15417 Code 128 table, GS1-128 FNC1"},
        // "12" + check digit 3; start B, FNC1, 17, 18, 19; check 370 mod 103 = 61.
        {"EAN128B", bcCodeEAN128B, "12", true, W("211214 411131 123221 223211 221132 221411 2331112"), "123",
         "ISO/IEC 15417 Code 128 table, GS1-128 FNC1"},
        // "12345" + check 7 -> 12 34 57; check (105 + 102 + 2*12 + 3*34 + 4*57) mod 103 = 46.
        {"EAN128C", bcCodeEAN128C, "12345", true, W("211232 411131 112232 131123 312113 113321 2331112"),
         "123457", "ISO/IEC 15417 Code 128 table, GS1-128 FNC1"},
    };
}

void PrintTo(const TCase& c, std::ostream* os) {
    *os << c.Name;
}

class Patterns : public ::testing::TestWithParam<TCase> {};

TEST_P(Patterns, MatchTheStandard) {
    const TCase& c = GetParam();
    TLabelBarcode bc;
    bc.SetTyp(c.Typ);
    bc.SetText(c.Text);
    bc.SetChecksum(c.Checksum);
    EXPECT_EQ(bc.Encode(), c.Expected) << c.Source;
    EXPECT_EQ(bc.PreparedText(), c.Prepared) << c.Source;
    // Encoding again starts from Text: the same pattern and prepared text.
    EXPECT_EQ(bc.Encode(), c.Expected);
    EXPECT_EQ(bc.PreparedText(), c.Prepared);
}

INSTANTIATE_TEST_SUITE_P(AllSymbologies, Patterns, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.Name); });

// Every type of the list has a case above.
TEST(Patterns, CoverEveryType) {
    std::set<int> seen;
    for (const TCase& c : Cases())
        seen.insert(c.Typ);
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        EXPECT_TRUE(seen.count(t)) << BarcodeListName(t);
}

// Empty text: the padding types give all zeros, the others their fixed parts only.
TEST(Patterns, EmptyText) {
    struct TEmpty {
        TBarcodeType Typ;
        std::string Expected;
    };
    const TEmpty cases[] = {
        {bcCodeEAN13, Ean13("0000000000000")},
        {bcCodeEAN8, EanLeftRight("00000000")},
        {bcCodeUPC_A, EanLeftRight("000000000000")},
        {bcCodeUPC_E0, UpcE("000000", '0', false)},
        {bcCodeUPC_Supp2, AddOn("00", "LL")},
        {bcCode39, Code39("")},
        {bcCode_2_5_interleaved, Interleaved("")},
        {bcCodeMSI, Msi("0")},
        // C = K = 0.
        {bcCode93, W("111141 131112 131112 1111411")},
        // FNC1 only: check (104 + 102) mod 103 = 0.
        {bcCodeEAN128B, W("211214 411131 212222 2331112")},
    };
    for (const TEmpty& c : cases) {
        TLabelBarcode bc;
        bc.SetTyp(c.Typ);
        EXPECT_EQ(bc.Encode(), c.Expected) << BarcodeListName(c.Typ);
    }
}

} // namespace
} // namespace tessora::test
