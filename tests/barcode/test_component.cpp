// TLabelBarcode as a component: defaults, which setters notify, the ratio clamp, Width, the
// check digit routine and the error texts.
#include "barcode/Barcode.h"
#include "barcode/BarcodeSymbols.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace tessora {
namespace {

TEST(Component, Defaults) {
    TLabelBarcode bc;
    EXPECT_EQ(bc.Height(), 0);
    EXPECT_EQ(bc.Text(), "");
    EXPECT_EQ(bc.Top(), 0);
    EXPECT_EQ(bc.Left(), 0);
    EXPECT_EQ(bc.Modul(), 1);
    EXPECT_EQ(bc.Ratio(), 2.0);
    EXPECT_EQ(bc.Typ(), bcCodeEAN13);
    EXPECT_FALSE(bc.Checksum());
    EXPECT_EQ(bc.CheckSumMethod(), csmModulo10);
    EXPECT_EQ(bc.Angle(), 0.0);
    EXPECT_EQ(bc.ShowText(), bcoNone);
    EXPECT_EQ(bc.ShowTextPosition(), stpTopLeft);
    EXPECT_EQ(bc.Color(), 0xFFFFFFu);
    EXPECT_EQ(bc.ColorBar(), 0u);
    EXPECT_EQ(bc.TypeName(), "EAN13");
    // An empty EAN-13 pads to thirteen zeros: 95 modules.
    EXPECT_EQ(bc.Width(), 95);
}

TEST(Component, NamesOfTheTypes) {
    EXPECT_STREQ(BarcodeListName(bcCode_2_5_interleaved), "Code_2_5_interleaved");
    EXPECT_STREQ(BarcodeListName(bcCodeEAN128C), "CodeEAN128C");
    EXPECT_EQ(BarcodeListName(23), nullptr);
    EXPECT_EQ(BarcodeTypeOfListName("CodeUPC_E1"), bcCodeUPC_E1);
    EXPECT_EQ(BarcodeTypeOfListName("EAN13"), -1);
    TLabelBarcode bc;
    const std::pair<TBarcodeType, const char*> shown[] = {{bcCode39Extended, "Code39 Extended"},
                                                          {bcCodeCodabar, "Codebar"},
                                                          {bcCodeUPC_Supp5, "UPC Supp5"},
                                                          {bcCodeMSI, "MSI"},
                                                          {bcCodePostNet, "PostNet"}};
    for (const auto& [t, name] : shown) {
        bc.SetTyp(t);
        EXPECT_EQ(bc.TypeName(), name);
    }
    bc.SetTyp(TBarcodeType(40));
    EXPECT_EQ(bc.TypeName(), "");
}

// Each setter with a value it already holds and with a new one: how many notifications.
TEST(Component, WhichSettersNotify) {
    struct TSetter {
        const char* Name;
        std::function<void(TLabelBarcode&)> Same, Other;
        int SameCount, OtherCount;
    };
    const TSetter setters[] = {
        {"Height", [](auto& b) { b.SetHeight(0); }, [](auto& b) { b.SetHeight(7); }, 0, 1},
        {"Text", [](auto& b) { b.SetText(""); }, [](auto& b) { b.SetText("1"); }, 0, 1},
        {"Top", [](auto& b) { b.SetTop(0); }, [](auto& b) { b.SetTop(3); }, 0, 1},
        {"Left", [](auto& b) { b.SetLeft(0); }, [](auto& b) { b.SetLeft(3); }, 0, 1},
        {"Ratio", [](auto& b) { b.SetRatio(2.0); }, [](auto& b) { b.SetRatio(2.5); }, 0, 1},
        {"Typ", [](auto& b) { b.SetTyp(bcCodeEAN13); }, [](auto& b) { b.SetTyp(bcCode39); }, 0, 1},
        {"Checksum", [](auto& b) { b.SetChecksum(false); }, [](auto& b) { b.SetChecksum(true); }, 0, 1},
        {"Angle", [](auto& b) { b.SetAngle(0); }, [](auto& b) { b.SetAngle(90); }, 0, 1},
        {"ShowText", [](auto& b) { b.SetShowText(bcoNone); }, [](auto& b) { b.SetShowText(bcoBoth); }, 0, 1},
        {"ShowTextPosition", [](auto& b) { b.SetShowTextPosition(stpTopLeft); },
         [](auto& b) { b.SetShowTextPosition(stpBottomCenter); }, 0, 1},
        // Modul notifies on every accepted value, also an unchanged one.
        {"Modul", [](auto& b) { b.SetModul(1); }, [](auto& b) { b.SetModul(49); }, 1, 1},
        {"ShowTextFont", [](auto& b) { b.SetShowTextFont(b.ShowTextFont()); },
         [](auto& b) {
             b.SetShowTextFont({"Arial", 18});
         },
         1, 1},
        {"Color", [](auto& b) { b.SetColor(0xFFFFFF); }, [](auto& b) { b.SetColor(0x123456); }, 0, 0},
        {"ColorBar", [](auto& b) { b.SetColorBar(0); }, [](auto& b) { b.SetColorBar(0xFF); }, 0, 0},
        {"CheckSumMethod", [](auto& b) { b.SetCheckSumMethod(csmModulo10); },
         [](auto& b) { b.SetCheckSumMethod(csmNone); }, 0, 0},
    };
    for (const TSetter& s : setters) {
        TLabelBarcode bc;
        int n = 0;
        bc.OnChange = [&] { ++n; };
        s.Same(bc);
        EXPECT_EQ(n, s.SameCount) << s.Name << " unchanged";
        n = 0;
        s.Other(bc);
        EXPECT_EQ(n, s.OtherCount) << s.Name << " changed";
    }
}

TEST(Component, ModulOutsideOneTo49IsIgnoredSilently) {
    TLabelBarcode bc;
    bc.SetModul(7);
    int n = 0;
    bc.OnChange = [&] { ++n; };
    for (int v : {0, 50, -1, 1000})
        bc.SetModul(v);
    EXPECT_EQ(bc.Modul(), 7);
    EXPECT_EQ(n, 0);
    bc.SetModul(49);
    EXPECT_EQ(bc.Modul(), 49);
    EXPECT_EQ(n, 1);
}

TEST(Component, NonFiniteRatioAndAngleAreIgnored) {
    TLabelBarcode bc;
    int n = 0;
    bc.OnChange = [&] { ++n; };
    bc.SetRatio(std::nan(""));
    bc.SetRatio(INFINITY);
    bc.SetAngle(std::nan(""));
    bc.SetAngle(-INFINITY);
    EXPECT_EQ(bc.Ratio(), 2.0);
    EXPECT_EQ(bc.Angle(), 0.0);
    EXPECT_EQ(n, 0);
}

// Encoding clamps Ratio through its setter, per symbology, before the widths are computed.
TEST(Component, RatioClampPerSymbology) {
    struct TClamp {
        TBarcodeType Typ;
        double Set, After;
    };
    const TClamp cases[] = {
        {bcCodeEAN13, 2.5, 2.5},        {bcCodeEAN13, 1.5, 2.0},       {bcCodeEAN13, 3.5, 3.0},
        {bcCode39, 1.0, 2.0},           {bcCodeCodabar, 9.0, 3.0},     {bcCode_2_5_interleaved, 2.1, 2.1},
        {bcCode_2_5_matrix, 2.0, 2.25}, {bcCode_2_5_matrix, 4.0, 3.0}, {bcCode128B, 1.0, 1.0},
        {bcCode128B, 5.0, 5.0},         {bcCode93, 0.5, 0.5},          {bcCodeMSI, 4.0, 4.0},
        {bcCodePostNet, 1.2, 1.2},      {bcCodeEAN128C, 7.0, 7.0},     {bcCodeUPC_Supp5, 1.0, 2.0},
    };
    for (const TClamp& c : cases) {
        TLabelBarcode bc;
        bc.SetTyp(c.Typ);
        bc.SetText("12");
        bc.SetRatio(c.Set);
        int n = 0;
        bc.OnChange = [&] { ++n; };
        bc.Encode();
        EXPECT_EQ(bc.Ratio(), c.After) << BarcodeListName(c.Typ) << " " << c.Set;
        EXPECT_EQ(n, c.Set == c.After ? 0 : 1) << "the clamp goes through the setter";
    }
}

TEST(Component, LineWidthsFromModulAndRatio) {
    struct TWidths {
        int Modul;
        double Ratio;
        int W[4];
    };
    // w1 = round(Modul * Ratio), halves to even; w2 = w1 * 3 div 2; w3 = 2 * w1.
    const TWidths cases[] = {
        {1, 2.0, {1, 2, 3, 4}},   {3, 2.0, {3, 6, 9, 12}},        {1, 2.5, {1, 2, 3, 4}},
        {3, 2.5, {3, 8, 12, 16}}, {5, 2.5, {5, 12, 18, 24}},      {2, 2.25, {2, 4, 6, 8}},
        {1, 3.0, {1, 3, 4, 6}},   {49, 3.0, {49, 147, 220, 294}},
    };
    for (const TWidths& c : cases) {
        TLabelBarcode bc;
        bc.SetModul(c.Modul);
        bc.SetRatio(c.Ratio);
        bc.Encode();
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(bc.LineWidth(char('0' + k)), c.W[k]) << c.Modul << " x " << c.Ratio;
            EXPECT_EQ(bc.LineWidth(char('5' + k)), c.W[k]);
            EXPECT_EQ(bc.LineWidth(char('A' + k)), c.W[k]);
        }
    }
}

TEST(Component, WidthReadAndWrite) {
    TLabelBarcode bc;
    bc.SetText("400638133393");
    bc.SetChecksum(true);
    bc.SetModul(2);
    EXPECT_EQ(bc.Width(), 190);
    // Modul := Modul * new width div current width.
    bc.SetWidth(480);
    EXPECT_EQ(bc.Modul(), 5); // 2 * 480 div 190
    EXPECT_EQ(bc.Width(), 475);
    bc.SetWidth(100000); // would be 421: ignored
    EXPECT_EQ(bc.Modul(), 5);
    bc.SetWidth(50); // would be 0: ignored
    EXPECT_EQ(bc.Modul(), 5);

    // Code 128 B "Hi": start, two symbols, check (11 modules each) and stop (13).
    bc.SetTyp(bcCode128B);
    bc.SetText("Hi");
    bc.SetModul(1);
    EXPECT_EQ(bc.Width(), 57);
}

TEST(Component, AssignCopiesAllButTheFont) {
    TLabelBarcode a, b;
    a.SetHeight(80);
    a.SetText("12345");
    a.SetTop(4);
    a.SetLeft(6);
    a.SetModul(3);
    a.SetRatio(2.5);
    a.SetTyp(bcCode39);
    a.SetChecksum(true);
    a.SetCheckSumMethod(csmNone);
    a.SetAngle(90);
    a.SetShowText(bcoBoth);
    a.SetShowTextPosition(stpBottomRight);
    a.SetColor(0x00FF00);
    a.SetColorBar(0x0000FF);
    a.SetShowTextFont({"Arial", 30});
    int n = 0;
    b.OnChange = [&] { ++n; };
    b.Assign(a);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(b.Height(), 80);
    EXPECT_EQ(b.Text(), "12345");
    EXPECT_EQ(b.Top(), 4);
    EXPECT_EQ(b.Left(), 6);
    EXPECT_EQ(b.Modul(), 3);
    EXPECT_EQ(b.Ratio(), 2.5);
    EXPECT_EQ(b.Typ(), bcCode39);
    EXPECT_TRUE(b.Checksum());
    EXPECT_EQ(b.CheckSumMethod(), csmNone);
    EXPECT_EQ(b.Angle(), 90);
    EXPECT_EQ(b.ShowText(), bcoBoth);
    EXPECT_EQ(b.ShowTextPosition(), stpBottomRight);
    EXPECT_EQ(b.Color(), 0x00FF00u);
    EXPECT_EQ(b.ColorBar(), 0x0000FFu);
    EXPECT_EQ(b.ShowTextFont(), TBarcodeFont());
    EXPECT_EQ(b.Encode(), a.Encode());
    b.Assign(a);
    EXPECT_EQ(n, 1) << "nothing changed the second time";
}

TEST(Component, FontHeightIsNegativePixels) {
    EXPECT_EQ(TBarcodeFont({"Arial", 18}).Height(), -24);
    EXPECT_EQ(TBarcodeFont({"Arial", 8}).Height(), -11);
    EXPECT_EQ(TBarcodeFont({"Arial", 12}).Height(), -16);
}

TEST(CheckDigit, Modulo10) {
    // GS1 examples.
    EXPECT_EQ(AddCheckDigit("400638133393", csmModulo10), "4006381333931");
    EXPECT_EQ(AddCheckDigit("9638507", csmModulo10), "96385074");
    EXPECT_EQ(AddCheckDigit("03600029145", csmModulo10), "036000291452");
    EXPECT_EQ(AddCheckDigit("", csmModulo10), "0");
    EXPECT_EQ(AddCheckDigit("400638133393", csmNone), "400638133393");
    try {
        AddCheckDigit("12x4", csmModulo10);
        FAIL();
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}

// UPC-A with a check digit: the first eleven digits are the data, whatever the length.
TEST(Prepared, UpcAKeepsElevenDigitsOfData) {
    TLabelBarcode bc;
    bc.SetTyp(bcCodeUPC_A);
    bc.SetChecksum(true);
    const std::pair<const char*, const char*> cases[] = {
        {"03600029145", "036000291452"},  // eleven digits: none lost
        {"036000291459", "036000291452"}, // the twelfth replaced
        {"3600029145", "036000291452"},   // ten digits padded to eleven
        {"0360002914599", "036000291452"}, {"", "000000000000"},
    };
    for (const auto& [text, prepared] : cases) {
        bc.SetText(text);
        bc.Encode();
        EXPECT_EQ(bc.PreparedText(), prepared) << text;
    }
    // Without a check digit the text is padded to twelve and shown whole.
    bc.SetChecksum(false);
    bc.SetText("1234567890123");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "1234567890123");
}

// The UPC-E parity and its shown check digit come from the UPC-A expansion, and differ from
// the modulo-10 digit of the six digits themselves for most numbers.
TEST(Prepared, UpcECheckDigitOfTheExpansion) {
    TLabelBarcode bc;
    bc.SetTyp(bcCodeUPC_E0);
    bc.SetChecksum(true);
    bc.SetText("6543210");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "6543217");
    EXPECT_NE(AddCheckDigit("654321", csmModulo10).back(), '7');
    bc.SetTyp(bcCodeUPC_E1);
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "6543214");
    // Without Checksum the padded text is shown; the parity still carries the digit.
    bc.SetChecksum(false);
    bc.SetText("654321");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "0654321");
}

TEST(Prepared, DigitsOnlyTypesTrimBlanksAndControls) {
    TLabelBarcode bc;
    bc.SetText("123");
    const std::string plain = bc.Encode();
    bc.SetText(" \t123\r\n ");
    EXPECT_EQ(bc.Encode(), plain);
    EXPECT_EQ(bc.PreparedText(), "123");
    // Not trimmed where letters count.
    bc.SetTyp(bcCode128B);
    bc.SetText(" A ");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), " A ");
}

// With csmNone Checksum adds nothing: EAN fails its length test, UPC shows the padded text.
TEST(Prepared, CheckSumMethodNone) {
    TLabelBarcode bc;
    bc.SetCheckSumMethod(csmNone);
    bc.SetChecksum(true);
    bc.SetText("400638133393");
    EXPECT_THROW(bc.Encode(), EBarcodeError);
    bc.SetTyp(bcCodeUPC_A);
    bc.SetText("03600029145");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "003600029145");
    bc.SetTyp(bcCodeEAN128C);
    bc.SetText("1234");
    bc.Encode();
    EXPECT_EQ(bc.PreparedText(), "1234");
}

void ExpectError(TLabelBarcode& bc, const std::string& text) {
    try {
        bc.Encode();
        ADD_FAILURE() << "no error, expected " << text;
    } catch (const EBarcodeError& e) {
        EXPECT_EQ(e.what(), text);
    }
    EXPECT_EQ(bc.PreparedText(), "") << "a failed encoding leaves no prepared text";
}

TEST(Errors, FixedTexts) {
    struct TErr {
        TBarcodeType Typ;
        const char* Text;
        bool Checksum;
        const char* Message;
    };
    const TErr cases[] = {
        {bcCodeEAN13, "12a4", false, "Barcode must be numeric"},
        {bcCodeEAN128C, "1 2", false, "Barcode must be numeric"},
        {bcCodeMSI, "-1", false, "Barcode must be numeric"},
        {bcCodeEAN8, "123456789", false, "Invalid Text len (EAN8)"},
        {bcCodeEAN13, "4006381333931", true, "Invalid Text len (EAN13)"},
        {bcCodeEAN13, "40063813339310", false, "Invalid Text len (EAN13)"},
        {bcCode93, "abc", false, "TLabelBarcode:Code93 bad Data <abc>"},
        {bcCode93, "AB\xE2\x82\xAC", false, "TLabelBarcode:Code93 bad Data <AB\xE2\x82\xAC>"},
        {bcCodeCodabar, "12x", false, "TLabelBarcode:Codabar bad Data <12x>"},
        {bcCodeEAN128B, "ab", true, "'b' is not a valid integer value"},
        {TBarcodeType(23), "1", false, "TLabelBarcode: wrong BarcodeType"},
        {TBarcodeType(-1), "1", false, "TLabelBarcode: wrong BarcodeType"},
    };
    for (const TErr& c : cases) {
        TLabelBarcode bc;
        bc.SetText("1");
        bc.Encode();
        bc.SetTyp(c.Typ);
        bc.SetText(c.Text);
        bc.SetChecksum(c.Checksum);
        ExpectError(bc, c.Message);
    }
}

TEST(Errors, InternalErrors) {
    TLabelBarcode bc;
    for (char c : {'4', '9', 'E', 'a', ' ', '\0'}) {
        try {
            bc.LineWidth(c);
            ADD_FAILURE() << int(c);
        } catch (const EBarcodeError& e) {
            EXPECT_STREQ(e.what(), "TLabelBarcode: internal Error");
        }
    }
    try {
        barcode_detail::EncodeCode128(bcCode39, "1", false, csmModulo10);
        ADD_FAILURE();
    } catch (const EBarcodeError& e) {
        EXPECT_STREQ(e.what(), "TLabelBarcode: wrong BarcodeType in Code_128");
    }
}

// Widths that would overflow the drawing arithmetic are refused, not wrapped.
TEST(Errors, RatioAndWidthLimits) {
    TLabelBarcode bc;
    bc.SetTyp(bcCode128B);
    bc.SetText("A");
    bc.SetRatio(-1);
    ExpectError(bc, "TLabelBarcode: Ratio out of range");
    bc.SetModul(49);
    bc.SetRatio(1e9);
    ExpectError(bc, "TLabelBarcode: Ratio out of range");
    // The widest accepted lines over a long text: the sum would pass INT_MAX.
    bc.SetRatio(10000.0 / 49);
    bc.SetText(std::string(60000, 'A'));
    ExpectError(bc, "TLabelBarcode: barcode too wide");
    // Clamped types never get there.
    bc.SetTyp(bcCodeEAN13);
    bc.SetText("1");
    bc.SetRatio(1e9);
    EXPECT_GT(bc.Width(), 0);
    EXPECT_EQ(bc.Ratio(), 3.0);
}

} // namespace
} // namespace tessora
