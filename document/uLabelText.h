#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tessora {

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect&) const = default;
};

using TLabelTextRec = std::array<uint8_t, 616>;

struct TFontStyleSet {
    bool Bold = false, Italic = false, Underline = false;
};

class TLabelText {
public:
    TLabelText(double x, double y, double width) : X(x), Y(y), Width(width) {}

    double X, Y, Width;
    TRect Bounds; // device pixels relative to the face at the last drawing
    std::string Text = "Text";
    std::string FontName = "Tahoma";
    std::string FontStyle = "000";
    uint32_t FontColor = 0;
    uint8_t FontSize = 12;
    uint8_t AlignTxt = 0;
    int32_t Angle = 0;
    uint8_t Flip = 0;
    std::string Points;

    TFontStyleSet Style() const;
    void SetStyle(const TFontStyleSet& s);

    TLabelTextRec ToRec() const;
    static TLabelText FromRec(const TLabelTextRec& rec);
};

} // namespace tessora
