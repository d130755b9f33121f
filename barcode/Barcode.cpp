// TLabelBarcode: properties, line widths and the steps every encoding shares.
#include "barcode/Barcode.h"

#include "barcode/BarcodeSymbols.h"
#include "document/uCodePage.h"
#include "document/uCommon.h"

#include <climits>
#include <cmath>

namespace tessora {

namespace {

struct TBCdata {
    const char* ListName;
    const char* DisplayName;
    bool DigitsOnly;
};

constexpr TBCdata kBCdata[kBarcodeTypeCount] = {
    {"Code_2_5_interleaved", "2_5_interleaved", true},
    {"Code_2_5_industrial", "2_5_industrial", true},
    {"Code_2_5_matrix", "2_5_matrix", true},
    {"Code39", "Code39", false},
    {"Code39Extended", "Code39 Extended", false},
    {"Code128A", "Code128A", false},
    {"Code128B", "Code128B", false},
    {"Code128C", "Code128C", true},
    {"Code93", "Code93", false},
    {"Code93Extended", "Code93 Extended", false},
    {"CodeMSI", "MSI", true},
    {"CodePostNet", "PostNet", true},
    {"CodeCodabar", "Codebar", false},
    {"CodeEAN8", "EAN8", true},
    {"CodeEAN13", "EAN13", true},
    {"CodeUPC_A", "UPC_A", true},
    {"CodeUPC_E0", "UPC_E0", true},
    {"CodeUPC_E1", "UPC_E1", true},
    {"CodeUPC_Supp2", "UPC Supp2", true},
    {"CodeUPC_Supp5", "UPC Supp5", true},
    {"CodeEAN128A", "EAN128A", false},
    {"CodeEAN128B", "EAN128B", false},
    {"CodeEAN128C", "EAN128C", true},
};

bool ValidType(int typ) {
    return typ >= 0 && typ < kBarcodeTypeCount;
}

// Wider lines than this cannot come from a sensible Modul and Ratio; they would only
// overflow the pixel arithmetic of drawing.
constexpr double kMaxWideLine = 10000;

std::string Trim(const std::string& s) {
    auto blank = [](unsigned char c) { return c <= ' ' || c == 0x7F; };
    size_t b = 0, e = s.size();
    while (b < e && blank(s[b]))
        ++b;
    while (e > b && blank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

} // namespace

const char* BarcodeListName(int typ) {
    return ValidType(typ) ? kBCdata[typ].ListName : nullptr;
}

int BarcodeTypeOfListName(std::string_view name) {
    for (int i = 0; i < kBarcodeTypeCount; ++i)
        if (name == kBCdata[i].ListName) return i;
    return -1;
}

const char* BarcodeDisplayName(int typ) {
    return ValidType(typ) ? kBCdata[typ].DisplayName : nullptr;
}

bool BarcodeDigitsOnly(int typ) {
    return ValidType(typ) && kBCdata[typ].DigitsOnly;
}

std::string AddCheckDigit(std::string_view digits, TCheckSumMethod method) {
    std::string out(digits);
    if (method != csmModulo10) return out;
    int64_t sum = 0;
    int weight = 3;
    for (size_t i = digits.size(); i-- > 0;) {
        const unsigned char c = digits[i];
        if (c < '0' || c > '9')
            throw EBarcodeError("'" + barcode_detail::MessageText(digits.substr(i, 1)) +
                                "' is not a valid integer value");
        sum += (c - '0') * weight;
        weight = 4 - weight;
    }
    out += char('0' + (10 - sum % 10) % 10);
    return out;
}

int TBarcodeFont::Height() const {
    return -RoundHalfEven(Size * 96.0 / 72.0);
}

void TLabelBarcode::Changed() {
    if (OnChange) OnChange();
}

void TLabelBarcode::Assign(const TLabelBarcode& s) {
    if (&s == this) return;
    const bool same =
        FHeight == s.FHeight && FText == s.FText && FTop == s.FTop && FLeft == s.FLeft &&
        FModul == s.FModul && FRatio == s.FRatio && FTyp == s.FTyp && FChecksum == s.FChecksum &&
        FCheckSumMethod == s.FCheckSumMethod && FAngle == s.FAngle && FShowText == s.FShowText &&
        FShowTextPosition == s.FShowTextPosition && FColor == s.FColor && FColorBar == s.FColorBar;
    FHeight = s.FHeight;
    FText = s.FText;
    FTop = s.FTop;
    FLeft = s.FLeft;
    FModul = s.FModul;
    FRatio = s.FRatio;
    FTyp = s.FTyp;
    FChecksum = s.FChecksum;
    FCheckSumMethod = s.FCheckSumMethod;
    FAngle = s.FAngle;
    FShowText = s.FShowText;
    FShowTextPosition = s.FShowTextPosition;
    FColor = s.FColor;
    FColorBar = s.FColorBar;
    if (!same) Changed();
}

void TLabelBarcode::SetHeight(int v) {
    if (v == FHeight) return;
    FHeight = v;
    Changed();
}

void TLabelBarcode::SetText(std::string_view v) {
    if (v == FText) return;
    FText = v;
    Changed();
}

void TLabelBarcode::SetTop(int v) {
    if (v == FTop) return;
    FTop = v;
    Changed();
}

void TLabelBarcode::SetLeft(int v) {
    if (v == FLeft) return;
    FLeft = v;
    Changed();
}

void TLabelBarcode::SetModul(int v) {
    if (v < 1 || v > 49) return;
    FModul = v;
    Changed();
}

void TLabelBarcode::SetRatio(double v) {
    if (!std::isfinite(v) || v == FRatio) return;
    FRatio = v;
    Changed();
}

void TLabelBarcode::SetTyp(TBarcodeType v) {
    if (v == FTyp) return;
    FTyp = v;
    Changed();
}

void TLabelBarcode::SetChecksum(bool v) {
    if (v == FChecksum) return;
    FChecksum = v;
    Changed();
}

void TLabelBarcode::SetAngle(double v) {
    if (!std::isfinite(v) || v == FAngle) return;
    FAngle = v;
    Changed();
}

void TLabelBarcode::SetShowText(TBarcodeOption v) {
    if (v == FShowText) return;
    FShowText = v;
    Changed();
}

void TLabelBarcode::SetShowTextFont(const TBarcodeFont& v) {
    FShowTextFont = v;
    Changed();
}

void TLabelBarcode::SetShowTextPosition(TShowTextPosition v) {
    if (v == FShowTextPosition) return;
    FShowTextPosition = v;
    Changed();
}

std::string TLabelBarcode::TypeName() const {
    const char* n = BarcodeDisplayName(FTyp);
    return n ? n : "";
}

void TLabelBarcode::ClampRatio() {
    double lo = 2.0, hi = 3.0;
    switch (FTyp) {
    case bcCode_2_5_matrix:
        lo = 2.25;
        break;
    case bcCode128A:
    case bcCode128B:
    case bcCode128C:
    case bcCode93:
    case bcCode93Extended:
    case bcCodeMSI:
    case bcCodePostNet:
    case bcCodeEAN128A:
    case bcCodeEAN128B:
    case bcCodeEAN128C:
        return;
    default:
        break;
    }
    if (FRatio < lo)
        SetRatio(lo);
    else if (FRatio > hi)
        SetRatio(hi);
}

void TLabelBarcode::ComputeWidths() {
    const double wide = std::nearbyint(FModul * FRatio);
    if (!(wide >= 0 && wide <= kMaxWideLine)) throw EBarcodeError("TLabelBarcode: Ratio out of range");
    FW[0] = FModul;
    FW[1] = int(wide);
    FW[2] = FW[1] * 3 / 2;
    FW[3] = FW[1] * 2;
}

int TLabelBarcode::LineWidth(char c) const {
    if (c >= '0' && c <= '3') return FW[c - '0'];
    if (c >= '5' && c <= '8') return FW[c - '5'];
    if (c >= 'A' && c <= 'D') return FW[c - 'A'];
    throw EBarcodeError("TLabelBarcode: internal Error");
}

int64_t TLabelBarcode::PatternWidth(const std::string& pattern) const {
    int64_t w = 0;
    for (char c : pattern)
        w += LineWidth(c);
    return w;
}

std::string TLabelBarcode::Encode() {
    FPrepared.clear();
    if (!ValidType(FTyp)) throw EBarcodeError("TLabelBarcode: wrong BarcodeType");
    ClampRatio();
    ComputeWidths();
    std::string text = Utf8ToAnsi(FText);
    if (kBCdata[FTyp].DigitsOnly) {
        text = Trim(text);
        for (unsigned char c : text)
            if (c < '0' || c > '9') throw EBarcodeError("Barcode must be numeric");
    }
    barcode_detail::TEncoded e = barcode_detail::EncodeSymbol(FTyp, text, FChecksum, FCheckSumMethod);
    if (PatternWidth(e.Pattern) > INT_MAX) throw EBarcodeError("TLabelBarcode: barcode too wide");
    FPrepared = AnsiToUtf8(e.Prepared);
    return std::move(e.Pattern);
}

int TLabelBarcode::Width() {
    return int(PatternWidth(Encode()));
}

void TLabelBarcode::SetWidth(int v) {
    const int64_t current = Width();
    if (current > 0) {
        const int64_t m = int64_t(FModul) * v / current;
        if (m >= 1 && m <= 49) SetModul(int(m));
    }
}

} // namespace tessora
