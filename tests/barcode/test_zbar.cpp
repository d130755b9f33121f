// Symbols drawn by DrawOn and read back by zbarimg, for every symbology zbar reads.
#include "barcode/Barcode.h"
#include "tests/barcode/uBarcodeTest.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tessora::test {
namespace {

struct TScan {
    const char* Name;
    TBarcodeType Typ;
    const char* Text;
    bool Checksum;
    const char* ZbarType;
    const char* Data;
    int Modul = 2;
    double Ratio = 2.0;
    double Angle = 0;
    TBarcodeOption Show = bcoNone;
};

// Code 39 has no full-ASCII reading in zbar: it reports the sequences of the full-ASCII table.
const TScan kScans[] = {
    {"Interleaved", bcCode_2_5_interleaved, "1234567890", false, "I2/5", "1234567890"},
    {"InterleavedOdd", bcCode_2_5_interleaved, "12345", false, "I2/5", "012345"},
    {"InterleavedRatio3", bcCode_2_5_interleaved, "4711", false, "I2/5", "4711", 1, 3.0},
    {"Code39", bcCode39, "TESSORA-5.0 $/+%", false, "CODE-39", "TESSORA-5.0 $/+%"},
    {"Code39Check", bcCode39, "CODE39", true, "CODE-39", "CODE39W"},
    {"Code39Ratio3", bcCode39, "AB12", false, "CODE-39", "AB12", 1, 3.0},
    {"Code39Extended", bcCode39Extended, "Ab-1.x", false, "CODE-39", "A+B/M1/N+X"},
    {"Code128A", bcCode128A, "TESSORA-42", false, "CODE-128", "TESSORA-42"},
    {"Code128B", bcCode128B, "Corvane Tessora 5.0~", false, "CODE-128", "Corvane Tessora 5.0~"},
    {"Code128C", bcCode128C, "1234567", false, "CODE-128", "01234567"},
    {"Code93", bcCode93, "TEST93", false, "CODE-93", "TEST93"},
    {"Code93Long", bcCode93, "CORVANE TESSORA-5.0/$+%", false, "CODE-93", "CORVANE TESSORA-5.0/$+%"},
    {"Code93Extended", bcCode93Extended, "Labels: 100% {ok}!", false, "CODE-93", "Labels: 100% {ok}!"},
    {"Codabar", bcCodeCodabar, "123456-$:/.+", false, "Codabar", "A123456-$:/.+B"},
    {"EAN8", bcCodeEAN8, "9638507", true, "EAN-8", "96385074"},
    {"EAN8Given", bcCodeEAN8, "96385074", false, "EAN-8", "96385074"},
    {"EAN13", bcCodeEAN13, "400638133393", true, "EAN-13", "4006381333931"},
    {"EAN13Modul1", bcCodeEAN13, "978316148410", true, "EAN-13", "9783161484100", 1},
    {"EAN13WithText", bcCodeEAN13, "400638133393", true, "EAN-13", "4006381333931", 2, 2.0, 0, bcoBoth},
    {"EAN13Rotated90", bcCodeEAN13, "400638133393", true, "EAN-13", "4006381333931", 2, 2.0, 90},
    {"EAN13Rotated180", bcCodeEAN13, "400638133393", true, "EAN-13", "4006381333931", 2, 2.0, 180},
    {"EAN13Rotated270", bcCodeEAN13, "400638133393", true, "EAN-13", "4006381333931", 2, 2.0, 270},
    {"UPCA", bcCodeUPC_A, "03600029145", true, "UPC-A", "036000291452"},
    // UPC-E from the last digit's four expansion rules; zbar reports number system, six
    // digits and check digit, so the parity must carry the GS1 check digit.
    {"UPCE0", bcCodeUPC_E0, "6543210", true, "UPC-E", "06543217"},
    {"UPCE0Rule3", bcCodeUPC_E0, "1234530", false, "UPC-E", "01234531"},
    {"UPCE0Rule4", bcCodeUPC_E0, "1234540", false, "UPC-E", "01234543"},
    {"UPCE0Rule5", bcCodeUPC_E0, "0123456", true, "UPC-E", "00123457"},
    {"AddOn2", bcCodeUPC_Supp2, "12", false, "EAN-2", "12"},
    {"AddOn2Parity3", bcCodeUPC_Supp2, "15", false, "EAN-2", "15"},
    {"AddOn2Long", bcCodeUPC_Supp2, "9934", false, "EAN-2", "99"},
    {"AddOn5", bcCodeUPC_Supp5, "52495", true, "EAN-5", "52495"},
    {"AddOn5Other", bcCodeUPC_Supp5, "90000", false, "EAN-5", "90000"},
    {"EAN128A", bcCodeEAN128A, "12AB", false, "CODE-128", "12AB"},
    {"EAN128B", bcCodeEAN128B, "10ABC", false, "CODE-128", "10ABC"},
    {"EAN128BCheck", bcCodeEAN128B, "12", true, "CODE-128", "123"},
    {"EAN128C", bcCodeEAN128C, "12345", true, "CODE-128", "123457"},
};

void PrintTo(const TScan& s, std::ostream* os) {
    *os << s.Name;
}

class ZbarReads : public ::testing::TestWithParam<TScan> {};

TEST_P(ZbarReads, WhatWasEncoded) {
    ASSERT_TRUE(HaveTool("zbarimg")) << "zbar-tools is one of the build dependencies";
    const TScan& s = GetParam();
    TLabelBarcode bc;
    bc.SetTyp(s.Typ);
    bc.SetText(s.Text);
    bc.SetChecksum(s.Checksum);
    bc.SetModul(s.Modul);
    bc.SetRatio(s.Ratio);
    bc.SetHeight(100);
    bc.SetAngle(s.Angle);
    bc.SetShowText(s.Show);
    bc.SetShowTextPosition(stpBottomCenter);
    const QImage img = RenderWithQuietZone(bc);
    TTempDir dir;
    const QString file = QString::fromStdString(dir.File("symbol.png"));
    ASSERT_TRUE(img.save(file));
    const std::vector<TDecoded> read = Zbar(file);
    ASSERT_EQ(read.size(), 1u) << s.Name;
    EXPECT_EQ(read[0].Type.toStdString(), s.ZbarType);
    EXPECT_EQ(read[0].Data.toStdString(), s.Data);
    // FNC1 in first place makes a GS1-128 symbol.
    const bool gs1 = s.Typ >= bcCodeEAN128A;
    EXPECT_EQ(read[0].Modifiers.contains("GS1"), gs1);
}

INSTANTIATE_TEST_SUITE_P(Symbols, ZbarReads, ::testing::ValuesIn(kScans),
                         [](const auto& info) { return std::string(info.param.Name); });

// The six-digit modulo-10 parity of UPC-E, which readers reject, differs from the GS1 one for
// 654321 (1 against 7): a symbol with it must not read.
TEST(ZbarUpcE, ModuloTenOfTheSixDigitsDoesNotScan) {
    ASSERT_TRUE(HaveTool("zbarimg"));
    TLabelBarcode good;
    good.SetTyp(bcCodeUPC_E0);
    good.SetText("6543210");
    good.SetModul(2);
    good.SetHeight(100);
    const std::string pattern = good.Encode();
    // The same digits with the parity row of check digit 1 (EEoEoo) in place of that of 7
    // (EoEoEo): a digit changes between set A and set B, which are each other's widths
    // read backwards, both starting with a space.
    std::string bad = pattern;
    const char* rowFor1 = "EEoEoo";
    const char* rowFor7 = "EoEoEo";
    for (int i = 0; i < 6; ++i) {
        if (rowFor1[i] == rowFor7[i]) continue;
        char* d = bad.data() + 3 + 4 * i;
        int w[4];
        for (int k = 0; k < 4; ++k)
            w[k] = d[k] >= '5' ? d[k] - '5' : d[k] - '0';
        for (int k = 0; k < 4; ++k)
            d[k] = char((k % 2 ? '5' : '0') + w[3 - k]);
    }
    ASSERT_NE(bad, pattern);
    // Drawn by hand at 2 pixels a module.
    auto draw = [&](const std::string& p, const QString& file) {
        QImage img(int(Columns(good, p).size()) + 40, 140, QImage::Format_RGB32);
        img.fill(Qt::white);
        const std::string cols = Columns(good, p);
        for (size_t x = 0; x < cols.size(); ++x)
            if (cols[x] == 'B')
                for (int y = 20; y < 120; ++y)
                    img.setPixel(int(x) + 20, y, qRgb(0, 0, 0));
        return img.save(file);
    };
    TTempDir dir;
    const QString ok = QString::fromStdString(dir.File("ok.png"));
    const QString wrong = QString::fromStdString(dir.File("wrong.png"));
    ASSERT_TRUE(draw(pattern, ok));
    ASSERT_TRUE(draw(bad, wrong));
    ASSERT_EQ(Zbar(ok).size(), 1u);
    EXPECT_EQ(Zbar(ok)[0].Data, "06543217");
    EXPECT_TRUE(Zbar(wrong).empty());
}

} // namespace
} // namespace tessora::test
