// Record layouts: sizes and field offsets against bytes built by hand.
#include "document/uCodePage.h"
#include "document/uSheetLabel.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace tessora;

namespace {

template <typename T> void At(uint8_t* r, size_t off, T v) { std::memcpy(r + off, &v, sizeof v); }
void StrAt(uint8_t* r, size_t off, const char* s) {
    r[off] = uint8_t(std::strlen(s));
    std::memcpy(r + off + 1, s, std::strlen(s));
}

} // namespace

TEST(Records, SizesAreThoseOfTheFileFormat) {
    EXPECT_EQ(TSheetHeader::Size, 608u);
    EXPECT_EQ(TProjectSettings::Size, 72u);
    EXPECT_EQ(sizeof(TSheetLabelRec), 40u);
    EXPECT_EQ(sizeof(TLabelFaceRec), 344u);
    EXPECT_EQ(sizeof(TLabelTextRec), 616u);
    EXPECT_EQ(sizeof(TLabelImageRec), 536u);
}

TEST(Records, HeaderFieldsAtTheirOffsets) {
    std::array<uint8_t, 608> hand{};
    hand[0] = 1;
    hand[1] = 7;
    hand[2] = 3;
    At(hand.data(), 8, 4.7625);
    At(hand.data(), 24, 12.7);
    At(hand.data(), 40, 66.675);
    At(hand.data(), 48, 25.4);
    At(hand.data(), 56, 9.5);
    At(hand.data(), 64, 3.175);
    At(hand.data(), 72, 0.5);
    At(hand.data(), 80, int32_t(3));
    At(hand.data(), 84, int32_t(10));
    hand[88] = 20;
    StrAt(hand.data(), 89, "\\Vector Images\\a.svg");
    StrAt(hand.data(), 345, "5160");
    TSheetHeader h;
    h.Decode(hand.data());
    EXPECT_EQ(h.Units, 1);
    EXPECT_EQ(h.PaperSize, 7);
    EXPECT_EQ(h.Shape, lsBox);
    EXPECT_DOUBLE_EQ(h.MarginLeft, 4.7625);
    EXPECT_DOUBLE_EQ(h.MarginTop, 12.7);
    EXPECT_DOUBLE_EQ(h.LabelWidth, 66.675);
    EXPECT_DOUBLE_EQ(h.LabelHeight, 25.4);
    EXPECT_DOUBLE_EQ(h.BoxDepth, 9.5);
    EXPECT_DOUBLE_EQ(h.GapH, 3.175);
    EXPECT_DOUBLE_EQ(h.GapV, 0.5);
    EXPECT_EQ(h.Columns, 3);
    EXPECT_EQ(h.Rows, 10);
    EXPECT_EQ(h.Rounding, 20);
    EXPECT_EQ(h.VectorFile, "\\Vector Images\\a.svg");
    EXPECT_EQ(h.OrderCode, "5160");
    EXPECT_EQ(h.Encode(h.VectorFile), hand);
}

TEST(Records, HeaderReservedBytesAreWrittenBackAsRead) {
    std::array<uint8_t, 608> raw;
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = uint8_t(i * 7 + 1);
    // Fields that must be sane for a header; reserved bytes keep their pattern.
    raw[89] = 0;
    raw[345] = 0;
    TSheetHeader h;
    h.Decode(raw.data());
    const auto out = h.Encode("");
    for (size_t off : {3, 4, 5, 6, 7, 16, 23, 32, 39, 601, 607}) EXPECT_EQ(out[off], raw[off]) << off;
    EXPECT_EQ(out, raw);
}

TEST(Records, SettingsFieldsAtTheirOffsets) {
    TProjectSettings s;
    s.VerMajor = 5;
    s.VerMinor = 1;
    s.SerialSuffix = "SFX";
    s.SerialPrefix = "ADD";
    s.PageNum = 3;
    s.PageCount = 300;
    s.SerialX = 1.5;
    s.SerialY = -2.25;
    s.SerialAlignH = 2;
    s.SerialAlignV = 3;
    s.SerialOn = true;
    std::array<uint8_t, 72> hand{};
    hand[0] = 5;
    hand[1] = 1;
    StrAt(hand.data(), 2, "SFX");
    StrAt(hand.data(), 18, "ADD");
    At(hand.data(), 36, int32_t(3));
    At(hand.data(), 40, int32_t(300));
    At(hand.data(), 48, 1.5);
    At(hand.data(), 56, -2.25);
    hand[64] = 2;
    hand[65] = 3;
    hand[66] = 1;
    EXPECT_EQ(s.Encode(), hand);
}

TEST(Records, LabelFaceTextImageFieldsAtTheirOffsets) {
    TSheetLabel l(lsRectangle);
    l.OLColor = 0x112233;
    l.OLShColor = 0x445566;
    l.OLShadow = true;
    l.OLThick = 7;
    l.VisFr = true;
    std::array<uint8_t, 40> lh{};
    At(lh.data(), 0, int32_t(1));
    At(lh.data(), 24, uint32_t(0x112233));
    At(lh.data(), 28, uint32_t(0x445566));
    lh[32] = 1;
    lh[33] = 7;
    lh[35] = 1;
    EXPECT_EQ(l.ToRec(), lh);

    TLabelFace& f = l.Face(0);
    f.BGColor = 0xABCDEF;
    f.BGColorOn = true;
    f.BCType = 9;
    f.BCOutput = 3;
    f.BCAlign = 2;
    f.BCChSum = true;
    f.BCLeft = 1.25;
    f.BCTop = 2.5;
    f.BCHeight = 15;
    f.BCWidth = 0.33;
    f.BCText = "123";
    f.BCAngle = -90;
    f.BCColor = 0x0000FF;
    f.Texts.push_back(std::make_unique<TLabelText>(1, 2, 3));
    f.Images.push_back(std::make_unique<TLabelImage>());
    std::array<uint8_t, 344> fh{};
    At(fh.data(), 0, int32_t(1));
    At(fh.data(), 4, int32_t(1));
    At(fh.data(), 24, uint32_t(0xABCDEF));
    fh[28] = 1;
    fh[29] = 9;
    fh[30] = 3;
    fh[31] = 2;
    fh[32] = 1;
    At(fh.data(), 40, 1.25);
    At(fh.data(), 48, 2.5);
    At(fh.data(), 56, 15.0);
    At(fh.data(), 64, 0.33);
    StrAt(fh.data(), 76, "123");
    At(fh.data(), 332, int16_t(-90));
    At(fh.data(), 336, uint32_t(0x0000FF));
    EXPECT_EQ(f.ToRec(), fh);

    TLabelText t(1.5, 2.5, 40);
    t.Text = "Hi";
    t.FontName = "Arial";
    t.FontStyle = "101";
    t.FontColor = 0x123456;
    t.FontSize = 14;
    t.AlignTxt = 2;
    t.Angle = -45;
    t.Flip = 1;
    t.Points = "1.0;2.0;#";
    std::array<uint8_t, 616> th{};
    At(th.data(), 8, 1.5);
    At(th.data(), 16, 2.5);
    At(th.data(), 24, 40.0);
    StrAt(th.data(), 32, "Hi");
    StrAt(th.data(), 288, "Arial");
    StrAt(th.data(), 339, "101");
    At(th.data(), 344, uint32_t(0x123456));
    th[348] = 14;
    th[349] = 2;
    At(th.data(), 352, int32_t(-45));
    th[356] = 1;
    StrAt(th.data(), 357, "1.0;2.0;#");
    EXPECT_EQ(t.ToRec(), th);

    TLabelImage m;
    m.X = 3.5;
    m.Y = 4.5;
    m.AlignH = 3;
    m.AlignV = 2;
    m.Fade = 40;
    m.Angle = 270;
    m.Flip = 2;
    m.Scale = 150;
    m.Filters = "4_;#";
    std::array<uint8_t, 536> mh{};
    StrAt(mh.data(), 0, "\\Import Images\\p.png");
    At(mh.data(), 256, 3.5);
    At(mh.data(), 264, 4.5);
    mh[272] = 3;
    mh[273] = 2;
    mh[274] = 40;
    At(mh.data(), 276, int16_t(270));
    mh[278] = 2;
    mh[279] = 150;
    StrAt(mh.data(), 280, "4_;#");
    EXPECT_EQ(m.ToRec("\\Import Images\\p.png"), mh);
}

TEST(Records, StringsAreWindows1252AndCutAtCapacity) {
    TLabelText t(0, 0, 0);
    t.Text = "caf\xC3\xA9 \xE2\x82\xAC 5 \xE2\x98\x83"; // café € 5 snowman
    t.FontName = std::string(60, 'F');
    t.FontStyle = "10101";
    const auto r = t.ToRec();
    const std::string text(reinterpret_cast<const char*>(&r[33]), r[32]);
    EXPECT_EQ(text, "caf\xE9 \x80 5 ?"); // é is 0xE9, € 0x80, no snowman in the code page
    EXPECT_EQ(r[288], 50);
    EXPECT_EQ(r[339], 3);
    const TLabelText back = TLabelText::FromRec(r);
    EXPECT_EQ(back.Text, "caf\xC3\xA9 \xE2\x82\xAC 5 ?");
    EXPECT_EQ(back.FontName, std::string(50, 'F'));
    EXPECT_EQ(back.FontStyle, "101");
}

TEST(Records, CodePageBothWays) {
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, char(b));
        EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(one)), one) << b;
    }
    EXPECT_EQ(AnsiToUtf8("\x80\x9F"), "\xE2\x82\xAC\xC5\xB8");
    EXPECT_EQ(Utf8ToAnsi("\xFF\xC3"), "??"); // broken UTF-8
}

TEST(Model, DefaultsAndStyleFlags) {
    TSheetLabel box(lsBox), rect(lsEllipse);
    EXPECT_EQ(box.Faces.size(), 6u);
    EXPECT_EQ(rect.Faces.size(), 1u);
    EXPECT_TRUE(rect.Vis);
    EXPECT_FALSE(rect.VisFr);
    EXPECT_EQ(rect.OLThick, 1);
    const TLabelFace& f = rect.Face(0);
    EXPECT_EQ(f.BGColor, 0xFFFFFFu);
    EXPECT_EQ(f.BCOutput, 1);
    EXPECT_EQ(f.BCAlign, 5);
    EXPECT_DOUBLE_EQ(f.BCHeight, 17.0);
    EXPECT_DOUBLE_EQ(f.BCWidth, 0.3);
    TLabelText t(1, 2, 3);
    EXPECT_EQ(t.Text, "Text");
    EXPECT_EQ(t.FontName, "Tahoma");
    EXPECT_EQ(t.FontSize, 12);
    t.FontStyle = "1x1";
    const auto s = t.Style();
    EXPECT_TRUE(s.Bold);
    EXPECT_FALSE(s.Italic);
    EXPECT_TRUE(s.Underline);
    t.SetStyle({false, true, false});
    EXPECT_EQ(t.FontStyle, "010");
    TLabelImage m;
    EXPECT_EQ(m.BGIndex, -1);
    EXPECT_EQ(m.Scale, 100);
}

TEST(Model, AlignedOffset) {
    struct {
        int a, p, extent, size, want;
    } cases[] = {{0, 17, 100, 30, 17}, {1, 17, 100, 30, 0}, {2, 17, 100, 30, 35},
                 {3, 17, 100, 30, 70}, {2, 0, 101, 30, 36}, {2, 0, 103, 30, 36}};
    for (const auto& c : cases) EXPECT_EQ(TLabelImage::AlignedOffset(c.a, c.p, c.extent, c.size), c.want);
}

TEST(Model, CopyLabelPassesStoredFieldsAndSharesPictures) {
    TSheetLabel src(lsBox), dst(lsRectangle);
    src.OLColor = 5;
    src.OLThick = 4;
    src.VisFr = true;
    src.X = 1;
    src.Vis = false;
    src.Face(3).BCText = "ABC";
    auto t = std::make_unique<TLabelText>(2, 3, 4);
    t->Bounds = {1, 2, 3, 4};
    t->Text = std::string(300, 'x');
    src.Face(3).Texts.push_back(std::move(t));
    auto im = std::make_unique<TLabelImage>();
    im->BGIndex = 7;
    im->PixWidth = 99;
    im->Fade = 30;
    src.Face(3).Images.push_back(std::move(im));
    dst.X = 50;
    dst.Y = 60;
    dst.CopyFrom(src);
    EXPECT_EQ(dst.Faces.size(), 6u);
    EXPECT_EQ(dst.OLColor, 5u);
    EXPECT_EQ(dst.OLThick, 4);
    EXPECT_TRUE(dst.VisFr);
    EXPECT_DOUBLE_EQ(dst.X, 50);
    EXPECT_DOUBLE_EQ(dst.Y, 60);
    EXPECT_TRUE(dst.Vis);
    EXPECT_EQ(dst.Face(3).BCText, "ABC");
    ASSERT_EQ(dst.Face(3).Texts.size(), 1u);
    EXPECT_EQ(dst.Face(3).Text(0).Text.size(), 255u);
    EXPECT_EQ(dst.Face(3).Text(0).Bounds, TRect{});
    ASSERT_EQ(dst.Face(3).Images.size(), 1u);
    EXPECT_EQ(dst.Face(3).Image(0).BGIndex, 7);
    EXPECT_EQ(dst.Face(3).Image(0).PixWidth, 0);
    EXPECT_EQ(dst.Face(3).Image(0).Fade, 30);
    // Independent: changing the copy leaves the source alone.
    dst.Face(3).Text(0).X = 9;
    EXPECT_DOUBLE_EQ(src.Face(3).Text(0).X, 2);
}
