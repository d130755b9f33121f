// Hostile texts and extreme settings: every symbology gives a pattern or one of its own
// errors, never a crash, an overflow or a runaway size.
#include "barcode/Barcode.h"
#include "tests/barcode/uBarcodeTest.h"

#include <QPainter>
#include <gtest/gtest.h>

namespace tessora::test {
namespace {

bool KnownError(const std::string& m) {
    for (const char* k : {"Barcode must be numeric", "Invalid Text len (EAN8)", "Invalid Text len (EAN13)",
                          "TLabelBarcode:Code93 bad Data <", "TLabelBarcode:Codabar bad Data <",
                          "TLabelBarcode: Ratio out of range", "TLabelBarcode: barcode too wide"})
        if (m.rfind(k, 0) == 0) return true;
    return m[0] == '\'' && m.find("' is not a valid integer value") != std::string::npos;
}

// Encodes, checks the pattern is well formed and its width adds up, and draws it clipped
// onto a small picture.
void Exercise(TLabelBarcode& bc, const std::string& what) {
    std::string pattern;
    try {
        pattern = bc.Encode();
    } catch (const EBarcodeError& e) {
        EXPECT_TRUE(KnownError(e.what())) << what << ": " << e.what();
        return;
    }
    ASSERT_FALSE(pattern.empty()) << what;
    int64_t sum = 0;
    for (char c : pattern)
        sum += bc.LineWidth(c);
    EXPECT_EQ(bc.Width(), sum) << what;
    QImage img(300, 120, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    EXPECT_EQ(bc.DrawOn(p), sum) << what;
}

const std::string kUtf8Accents = "\xC3\xA9\xE2\x82\xAC"; // é€

TEST(BadInput, EveryTypeSurvivesHostileTexts) {
    std::string digits, letters, mixed;
    for (int i = 0; i < 10000; ++i) {
        digits += char('0' + i % 10);
        letters += char('A' + i % 26);
        mixed += char(i % 128);
        if (i % 100 == 0) mixed += kUtf8Accents;
    }
    const std::pair<const char*, std::string> texts[] = {
        {"10000 digits", digits},
        {"10000 letters", letters},
        {"all ASCII codes and accents", mixed},
        {"accents", kUtf8Accents},
        {"a character beyond Windows-1252", "\xCE\xA9"},
        {"broken UTF-8", "\xC3\x28\xFF"},
        {"controls", std::string("\x01\x02\t\n\r\x1F\x7F", 7)},
        {"NUL", std::string(1, '\0')},
        {"empty", ""},
        {"blanks", "   "},
    };
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        for (const auto& [name, text] : texts)
            for (bool checksum : {false, true}) {
                TLabelBarcode bc;
                bc.SetTyp(TBarcodeType(t));
                bc.SetText(text);
                bc.SetChecksum(checksum);
                bc.SetHeight(50);
                Exercise(bc, std::string(BarcodeListName(t)) + " / " + name + (checksum ? " / check" : ""));
            }
}

TEST(BadInput, LargestModulAndRatio) {
    const std::string text = std::string(2000, '7');
    for (int t = 0; t < kBarcodeTypeCount; ++t)
        for (double ratio : {3.0, 10000.0 / 49, 1e300}) {
            TLabelBarcode bc;
            bc.SetTyp(TBarcodeType(t));
            bc.SetText(t == bcCodeEAN13 ? "1" : t == bcCodeEAN8 ? "2" : text);
            bc.SetModul(49);
            bc.SetRatio(ratio);
            bc.SetHeight(1000000);
            bc.SetAngle(33);
            Exercise(bc, std::string(BarcodeListName(t)) + " ratio " + std::to_string(ratio));
        }
}

// How Windows-1252 and the code points beyond it reach the encoder.
TEST(BadInput, NonAsciiText) {
    auto encode = [](TBarcodeType t, const std::string& s) {
        TLabelBarcode bc;
        bc.SetTyp(t);
        bc.SetText(s);
        return bc.Encode();
    };
    // Code 128 A and B have no symbol for é and €: each becomes a space.
    EXPECT_EQ(encode(bcCode128B, "x" + kUtf8Accents), encode(bcCode128B, "x  "));
    EXPECT_EQ(encode(bcCode128A, kUtf8Accents), encode(bcCode128A, "  "));
    // Beyond Windows-1252 the character is a '?'.
    EXPECT_EQ(encode(bcCode128B, "\xCE\xA9"), encode(bcCode128B, "?"));
    // Code 39 skips what it cannot encode; the extended forms drop codes from 128 up.
    EXPECT_EQ(encode(bcCode39, "A" + kUtf8Accents), encode(bcCode39, "A"));
    EXPECT_EQ(encode(bcCode39Extended, "a" + kUtf8Accents), encode(bcCode39Extended, "a"));
    EXPECT_EQ(encode(bcCode93Extended, "a" + kUtf8Accents), encode(bcCode93Extended, "a"));
    // Code 128 B shows the text as given.
    TLabelBarcode bc;
    bc.SetTyp(bcCode128B);
    bc.SetText(kUtf8Accents);
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), kUtf8Accents);
    // A check digit over a non-digit names it.
    bc.SetTyp(bcCodeEAN128B);
    bc.SetChecksum(true);
    try {
        bc.Encode();
        ADD_FAILURE();
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "'\xE2\x82\xAC' is not a valid integer value");
    }
}

TEST(BadInput, ControlCharacters) {
    auto encode = [](TBarcodeType t, const std::string& s) {
        TLabelBarcode bc;
        bc.SetTyp(t);
        bc.SetText(s);
        return bc.Encode();
    };
    // Set A holds the controls (SOH is value 65); set B replaces them by a space.
    EXPECT_NE(encode(bcCode128A, "\x01"), encode(bcCode128A, " "));
    EXPECT_EQ(encode(bcCode128B, "\x01"), encode(bcCode128B, " "));
    // NUL is %U in full ASCII, skipped in plain Code 39.
    EXPECT_EQ(encode(bcCode39Extended, std::string(1, '\0')), encode(bcCode39, "%U"));
    EXPECT_EQ(encode(bcCode39, std::string("A\0B", 3)), encode(bcCode39, "AB"));
    // A control inside digits is not trimmed.
    EXPECT_THROW(encode(bcCodeEAN13, "12\x01"
                                     "3"),
                 EBarcodeError);
    // Messages write controls as #<code>: a NUL would cut the text short.
    auto message = [](TBarcodeType t, const std::string& s, bool checksum) {
        TLabelBarcode bc;
        bc.SetTyp(t);
        bc.SetText(s);
        bc.SetChecksum(checksum);
        try {
            bc.Encode();
        } catch (const EBarcodeError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message(bcCode93, std::string("A\0B\t", 4), false), "TLabelBarcode:Code93 bad Data <A#0B#9>");
    EXPECT_EQ(message(bcCodeCodabar, "1\x7F", false), "TLabelBarcode:Codabar bad Data <1#127>");
    EXPECT_EQ(message(bcCodeEAN128A, std::string("1\0", 2), true), "'#0' is not a valid integer value");
}

// Long texts keep the rules that short ones follow.
TEST(BadInput, LongTextsOfThePaddingTypes) {
    auto encode = [](TBarcodeType t, const std::string& s) {
        TLabelBarcode bc;
        bc.SetTyp(t);
        bc.SetText(s);
        return bc.Encode();
    };
    const std::string digits(10000, '3');
    EXPECT_EQ(encode(bcCodeUPC_A, digits), encode(bcCodeUPC_A, digits.substr(0, 12)));
    EXPECT_EQ(encode(bcCodeUPC_E0, digits), encode(bcCodeUPC_E0, digits.substr(0, 7)));
    EXPECT_EQ(encode(bcCodeUPC_Supp2, digits), encode(bcCodeUPC_Supp2, "33"));
    EXPECT_EQ(encode(bcCodeUPC_Supp5, digits), encode(bcCodeUPC_Supp5, "33333"));
    // MSI's check digit over 10000 digits: the pattern grows by one digit's bits.
    const std::string msi = encode(bcCodeMSI, digits);
    EXPECT_EQ(msi.size(), 2 + 10001 * 8 + 3);
}

} // namespace
} // namespace tessora::test
