#include "document/uSheetHeader.h"

#include "document/uBytes.h"
#include "document/uCodePage.h"

#include <cmath>
#include <string>

namespace tessora {

using namespace bytes;

void TSheetHeader::Decode(const uint8_t* r) {
    std::copy(r, r + Size, Raw.begin());
    Units = r[0];
    PaperSize = r[1];
    Shape = r[2];
    MarginLeft = Get<double>(r, 8);
    MarginTop = Get<double>(r, 24);
    LabelWidth = Get<double>(r, 40);
    LabelHeight = Get<double>(r, 48);
    BoxDepth = Get<double>(r, 56);
    GapH = Get<double>(r, 64);
    GapV = Get<double>(r, 72);
    Columns = Get<int32_t>(r, 80);
    Rows = Get<int32_t>(r, 84);
    Rounding = r[88];
    VectorFile = AnsiToUtf8(GetStr(r, 89, 255));
    OrderCode = AnsiToUtf8(GetStr(r, 345, 255));
}

std::array<uint8_t, TSheetHeader::Size> TSheetHeader::Encode(const std::string& vectorFile) const {
    std::array<uint8_t, Size> a = Raw;
    uint8_t* r = a.data();
    r[0] = Units;
    r[1] = PaperSize;
    r[2] = Shape;
    Put(r, 8, MarginLeft);
    Put(r, 24, MarginTop);
    Put(r, 40, LabelWidth);
    Put(r, 48, LabelHeight);
    Put(r, 56, BoxDepth);
    Put(r, 64, GapH);
    Put(r, 72, GapV);
    Put(r, 80, Columns);
    Put(r, 84, Rows);
    r[88] = Rounding;
    PutStr(r, 89, 255, Utf8ToAnsi(vectorFile));
    PutStr(r, 345, 255, Utf8ToAnsi(OrderCode));
    return a;
}

double TSheetHeader::ExtentAcross() const {
    return Shape == lsBox ? (LabelWidth + BoxDepth) * 2 : LabelWidth;
}

double TSheetHeader::ExtentDown() const { return Shape == lsBox ? LabelHeight + 2 * BoxDepth : LabelHeight; }

std::string TSheetHeader::Problem() const {
    if (PaperSize > 7) return "paper size " + std::to_string(PaperSize);
    if (Shape > lsMakerVector) return "shape " + std::to_string(Shape);
    const double lengths[] = {MarginLeft, MarginTop, LabelWidth, LabelHeight, BoxDepth, GapH, GapV};
    for (double v : lengths)
        if (!std::isfinite(v) || v < 0) return "length out of range";
    if (Columns > 0 && Rows > 0 && int64_t(Columns) * Rows > 10000) return "too many labels";
    return {};
}

void TProjectSettings::Decode(const uint8_t* r) {
    VerMajor = r[0];
    VerMinor = r[1];
    SerialSuffix = AnsiToUtf8(GetStr(r, 2, 15));
    SerialPrefix = AnsiToUtf8(GetStr(r, 18, 15));
    PageNum = Get<int32_t>(r, 36);
    PageCount = Get<int32_t>(r, 40);
    SerialX = Get<double>(r, 48);
    SerialY = Get<double>(r, 56);
    SerialAlignH = r[64];
    SerialAlignV = r[65];
    SerialOn = r[66] != 0;
}

std::array<uint8_t, TProjectSettings::Size> TProjectSettings::Encode() const {
    std::array<uint8_t, Size> a{};
    uint8_t* r = a.data();
    r[0] = VerMajor;
    r[1] = VerMinor;
    PutStr(r, 2, 15, Utf8ToAnsi(SerialSuffix));
    PutStr(r, 18, 15, Utf8ToAnsi(SerialPrefix));
    Put(r, 36, PageNum);
    Put(r, 40, PageCount);
    Put(r, 48, SerialX);
    Put(r, 56, SerialY);
    r[64] = SerialAlignH;
    r[65] = SerialAlignV;
    r[66] = SerialOn ? 1 : 0;
    return a;
}

double TProjectSettings::Version() const {
    return VerMajor + VerMinor / std::pow(10.0, VerMinor < 10 ? 1 : VerMinor < 100 ? 2 : 3);
}

} // namespace tessora
