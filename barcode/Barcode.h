#pragma once
// TLabelBarcode: a text turned into the bars of one of 23 linear symbologies, and drawn.
//
// The encoder (Barcode.cpp, BarcodeSymbols.cpp) is plain C++; only DrawOn and DrawBounds
// (BarcodeDraw.cpp) use QtGui, so this header names the Qt types without including them.
// All lengths are integer device pixels of the canvas drawn on; callers convert millimetres.
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

class QPainter;
class QRect;

namespace tessora {

// Every encoder failure; what() is the fixed message text ("Barcode must be numeric", ...).
class EBarcodeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TBarcodeType : int {
    bcCode_2_5_interleaved,
    bcCode_2_5_industrial,
    bcCode_2_5_matrix,
    bcCode39,
    bcCode39Extended,
    bcCode128A,
    bcCode128B,
    bcCode128C,
    bcCode93,
    bcCode93Extended,
    bcCodeMSI,
    bcCodePostNet,
    bcCodeCodabar,
    bcCodeEAN8,
    bcCodeEAN13,
    bcCodeUPC_A,
    bcCodeUPC_E0,
    bcCodeUPC_E1,
    bcCodeUPC_Supp2,
    bcCodeUPC_Supp5,
    bcCodeEAN128A,
    bcCodeEAN128B,
    bcCodeEAN128C,
};
inline constexpr int kBarcodeTypeCount = 23;

enum TBarcodeOption : int { bcoNone, bcoCode, bcoTyp, bcoBoth };
enum TShowTextPosition : int {
    stpTopLeft,
    stpTopRight,
    stpTopCenter,
    stpBottomLeft,
    stpBottomRight,
    stpBottomCenter
};
enum TCheckSumMethod : int { csmNone, csmModulo10 };

// The parameters window's list name of a type ("CodeEAN13"); nullptr outside 0..22.
const char* BarcodeListName(int typ);
// The type of a list name, or -1.
int BarcodeTypeOfListName(std::string_view name);
// The display name shown for bcoTyp ("EAN13"); nullptr outside 0..22.
const char* BarcodeDisplayName(int typ);
// Whether the type accepts digits only.
bool BarcodeDigitsOnly(int typ);

// The check digit routine: csmModulo10 appends the GS1 modulo-10 digit (weights 3, 1, ...
// from the right), csmNone returns the text unchanged. Text in Windows-1252 bytes; a
// non-digit throws "'c' is not a valid integer value".
std::string AddCheckDigit(std::string_view digits, TCheckSumMethod method);

// Font of the human-readable line. Size is in points at 96 pixels per inch, so the text
// has the same pixel size on every canvas (the label drawing relies on that at 300 dpi).
struct TBarcodeFont {
    std::string Name = "Tahoma";
    int Size = 8;
    uint32_t Color = 0; // 0x00BBGGRR
    bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
    // The signed height: negative, its magnitude the character height in pixels.
    int Height() const;
    bool operator==(const TBarcodeFont&) const = default;
};

class TLabelBarcode {
public:
    TLabelBarcode() = default;
    TLabelBarcode(const TLabelBarcode&) = delete;
    TLabelBarcode& operator=(const TLabelBarcode&) = delete;

    // Copies every property but the font and OnChange; notifies once when anything changed.
    void Assign(const TLabelBarcode& source);

    // Setters below notify OnChange when the value changes, unless said otherwise.
    int Height() const { return FHeight; }
    void SetHeight(int v);
    // UTF-8, as the document holds it; the encoder sees it as Windows-1252 bytes, so a
    // character that code page lacks reaches it as '?'.
    const std::string& Text() const { return FText; }
    void SetText(std::string_view v);
    int Top() const { return FTop; }
    void SetTop(int v);
    int Left() const { return FLeft; }
    void SetLeft(int v);
    // Narrow module width. Accepts 1..49 and then always notifies, even when unchanged;
    // any other value is ignored silently.
    int Modul() const { return FModul; }
    void SetModul(int v);
    // Wide-to-narrow ratio. Encoding clamps it per symbology through this setter.
    // Non-finite values are ignored.
    double Ratio() const { return FRatio; }
    void SetRatio(double v);
    TBarcodeType Typ() const { return FTyp; }
    void SetTyp(TBarcodeType v);
    bool Checksum() const { return FChecksum; }
    void SetChecksum(bool v);
    // No notification.
    TCheckSumMethod CheckSumMethod() const { return FCheckSumMethod; }
    void SetCheckSumMethod(TCheckSumMethod v) { FCheckSumMethod = v; }
    // Degrees, counter-clockwise on screen. Non-finite values are ignored.
    double Angle() const { return FAngle; }
    void SetAngle(double v);
    TBarcodeOption ShowText() const { return FShowText; }
    void SetShowText(TBarcodeOption v);
    // Always notifies.
    const TBarcodeFont& ShowTextFont() const { return FShowTextFont; }
    void SetShowTextFont(const TBarcodeFont& v);
    TShowTextPosition ShowTextPosition() const { return FShowTextPosition; }
    void SetShowTextPosition(TShowTextPosition v);
    // Colours 0x00BBGGRR of spaces and bars; no notification.
    uint32_t Color() const { return FColor; }
    void SetColor(uint32_t v) { FColor = v; }
    uint32_t ColorBar() const { return FColorBar; }
    void SetColorBar(uint32_t v) { FColorBar = v; }

    // Encodes and sums the line widths: the unrotated pixel width of the bars.
    int Width();
    // Encodes; when the current width is positive, Modul := Modul * v div current width
    // (through SetModul, so a result outside 1..49 is ignored).
    void SetWidth(int v);

    std::function<void()> OnChange;

    // The line pattern: '0'..'3' spaces of width w0..w3, '5'..'8' full bars, 'A'..'D'
    // short bars (2/5 of Height). Recomputes the widths and the prepared text each time.
    std::string Encode();
    // The prepared text of the last encoding (UTF-8): the data as trimmed, padded and
    // completed with check digits for display. Empty after a failed encoding.
    const std::string& PreparedText() const { return FPrepared; }
    // The display name of Typ ("EAN13"), empty for a type outside the list.
    std::string TypeName() const;
    // Width in pixels of one pattern character with the widths of the last encoding;
    // throws "TLabelBarcode: internal Error" for a character outside the alphabet.
    int LineWidth(char c) const;

    // Draws onto the painter, in its current coordinates.
    //
    // Bars: the rectangle of Width() x Height() pixels, rotated by Angle about its top-left
    // corner, is moved so that its bounding box has its top-left corner at (Left, Top). At
    // Angle 0 it covers exactly the pixels Left..Left+Width-1 x Top..Top+Height-1; the
    // spaces are painted in Color, bars in ColorBar; short bars stand on the bottom edge.
    // Text (unless ShowText is bcoNone), unrotated, each on an opaque white box:
    //   code text at Top (top positions) or Top+Height-textheight+3 (bottom positions),
    //   left-, right- or centre-aligned over Left..Left+Width;
    //   type name at (Left, Top + round(2.5 * ShowTextFont.Height())), i.e. above Top:
    //   the caller keeps that room free by moving Top down.
    // Painter state (font, pen, brush, hints) is restored afterwards. Returns Width().
    // Encoder errors propagate as EBarcodeError before anything is painted.
    int DrawOn(QPainter& canvas);
    // The pixel rectangle DrawOn paints (bars and text), in the same coordinates.
    QRect DrawBounds();

private:
    void Changed();
    void ClampRatio();
    void ComputeWidths();
    int64_t PatternWidth(const std::string& pattern) const;

    int FHeight = 0;
    std::string FText;
    int FTop = 0, FLeft = 0;
    int FModul = 1;
    double FRatio = 2.0;
    TBarcodeType FTyp = bcCodeEAN13;
    bool FChecksum = false;
    TCheckSumMethod FCheckSumMethod = csmModulo10;
    double FAngle = 0.0;
    TBarcodeOption FShowText = bcoNone;
    TBarcodeFont FShowTextFont;
    TShowTextPosition FShowTextPosition = stpTopLeft;
    uint32_t FColor = 0xFFFFFF, FColorBar = 0;

    int FW[4] = {1, 2, 3, 4};
    std::string FPrepared;
};

} // namespace tessora
