// Record conversions of the label, its faces and their objects.
#include "document/uBytes.h"
#include "document/uCodePage.h"
#include "document/uCommon.h"
#include "document/uSheetLabel.h"

namespace tessora {

using namespace bytes;

namespace {
std::string Load(const uint8_t* r, size_t off, size_t cap) { return AnsiToUtf8(GetStr(r, off, cap)); }
void Store(uint8_t* r, size_t off, size_t cap, const std::string& utf8) { PutStr(r, off, cap, Utf8ToAnsi(utf8)); }
} // namespace

// ---- TLabelText

TFontStyleSet TLabelText::Style() const {
    auto at = [this](size_t i) { return i < FontStyle.size() && FontStyle[i] == '1'; };
    return {at(0), at(1), at(2)};
}

void TLabelText::SetStyle(const TFontStyleSet& s) {
    FontStyle = {s.Bold ? '1' : '0', s.Italic ? '1' : '0', s.Underline ? '1' : '0'};
}

TLabelTextRec TLabelText::ToRec() const {
    TLabelTextRec a{};
    uint8_t* r = a.data();
    Put(r, 8, X);
    Put(r, 16, Y);
    Put(r, 24, Width);
    Store(r, 32, 255, Text);
    Store(r, 288, 50, FontName);
    Store(r, 339, 3, FontStyle);
    Put(r, 344, FontColor);
    r[348] = FontSize;
    r[349] = AlignTxt;
    Put(r, 352, Angle);
    r[356] = Flip;
    Store(r, 357, 255, Points);
    return a;
}

TLabelText TLabelText::FromRec(const TLabelTextRec& a) {
    const uint8_t* r = a.data();
    TLabelText t(Get<double>(r, 8), Get<double>(r, 16), Get<double>(r, 24));
    t.Text = Load(r, 32, 255);
    t.FontName = Load(r, 288, 50);
    t.FontStyle = Load(r, 339, 3);
    t.FontColor = Get<uint32_t>(r, 344);
    t.FontSize = r[348];
    t.AlignTxt = r[349];
    t.Angle = Get<int32_t>(r, 352);
    t.Flip = r[356];
    t.Points = Load(r, 357, 255);
    return t;
}

// ---- TLabelImage

TLabelImageRec TLabelImage::ToRec(const std::string& storedFileName) const {
    TLabelImageRec a{};
    uint8_t* r = a.data();
    Store(r, 0, 255, storedFileName);
    Put(r, 256, X);
    Put(r, 264, Y);
    r[272] = AlignH;
    r[273] = AlignV;
    r[274] = Fade;
    Put(r, 276, Angle);
    r[278] = Flip;
    r[279] = Scale;
    Store(r, 280, 255, Filters);
    return a;
}

TLabelImage TLabelImage::FromRec(const TLabelImageRec& a) {
    const uint8_t* r = a.data();
    TLabelImage m;
    m.X = Get<double>(r, 256);
    m.Y = Get<double>(r, 264);
    m.AlignH = r[272];
    m.AlignV = r[273];
    m.Fade = r[274];
    m.Angle = Get<int16_t>(r, 276);
    m.Flip = r[278];
    m.Scale = r[279];
    m.Filters = Load(r, 280, 255);
    return m;
}

std::string TLabelImage::RecFileName(const TLabelImageRec& a) { return Load(a.data(), 0, 255); }

int TLabelImage::AlignedOffset(int a, int p, int extent, int size) {
    switch (a) {
    case 1: return 0;
    case 2: return RoundHalfEven((extent - size) / 2.0);
    case 3: return extent - size;
    default: return p;
    }
}

// ---- TLabelFace

TLabelFaceRec TLabelFace::ToRec() const {
    TLabelFaceRec a{};
    uint8_t* r = a.data();
    Put(r, 0, int32_t(Texts.size()));
    Put(r, 4, int32_t(Images.size()));
    Put(r, 24, BGColor);
    r[28] = BGColorOn ? 1 : 0;
    r[29] = BCType;
    r[30] = BCOutput;
    r[31] = BCAlign;
    r[32] = BCChSum ? 1 : 0;
    Put(r, 40, BCLeft);
    Put(r, 48, BCTop);
    Put(r, 56, BCHeight);
    Put(r, 64, BCWidth);
    Store(r, 76, 255, BCText);
    Put(r, 332, BCAngle);
    Put(r, 336, BCColor);
    return a;
}

void TLabelFace::SetFromRec(const TLabelFaceRec& a) {
    const uint8_t* r = a.data();
    BGColor = Get<uint32_t>(r, 24);
    BGColorOn = r[28] != 0;
    BCType = r[29];
    BCOutput = r[30];
    BCAlign = r[31];
    BCChSum = r[32] != 0;
    BCLeft = Get<double>(r, 40);
    BCTop = Get<double>(r, 48);
    BCHeight = Get<double>(r, 56);
    BCWidth = Get<double>(r, 64);
    BCText = Load(r, 76, 255);
    BCAngle = Get<int16_t>(r, 332);
    BCColor = Get<uint32_t>(r, 336);
}

int32_t TLabelFace::RecTextCount(const TLabelFaceRec& a) { return Get<int32_t>(a.data(), 0); }
int32_t TLabelFace::RecImageCount(const TLabelFaceRec& a) { return Get<int32_t>(a.data(), 4); }

// ---- TSheetLabel

TSheetLabel::TSheetLabel(uint8_t shape) {
    const int n = shape == lsBox ? 6 : 1;
    for (int i = 0; i < n; ++i) Faces.push_back(std::make_unique<TLabelFace>());
}

TSheetLabelRec TSheetLabel::ToRec() const {
    TSheetLabelRec a{};
    uint8_t* r = a.data();
    Put(r, 0, int32_t(Faces.size()));
    Put(r, 24, OLColor);
    Put(r, 28, OLShColor);
    r[32] = OLShadow ? 1 : 0;
    r[33] = OLThick;
    r[35] = VisFr ? 1 : 0;
    return a;
}

void TSheetLabel::SetFromRec(const TSheetLabelRec& a) {
    const uint8_t* r = a.data();
    OLColor = Get<uint32_t>(r, 24);
    OLShColor = Get<uint32_t>(r, 28);
    OLShadow = r[32] != 0;
    OLThick = r[33];
    VisFr = r[35] != 0;
}

int32_t TSheetLabel::RecFaceCount(const TSheetLabelRec& a) { return Get<int32_t>(a.data(), 0); }

void TSheetLabel::CopyFrom(const TSheetLabel& src) {
    if (&src == this) return;
    SetFromRec(src.ToRec());
    ClearFaces();
    for (const auto& sf : src.Faces) {
        auto f = std::make_unique<TLabelFace>();
        f->SetFromRec(sf->ToRec());
        for (const auto& t : sf->Texts) f->Texts.push_back(std::make_unique<TLabelText>(TLabelText::FromRec(t->ToRec())));
        for (const auto& m : sf->Images) {
            auto im = std::make_unique<TLabelImage>(TLabelImage::FromRec(m->ToRec({})));
            im->BGIndex = m->BGIndex;
            f->Images.push_back(std::move(im));
        }
        Faces.push_back(std::move(f));
    }
}

} // namespace tessora
