#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace tessora {

using TLabelImageRec = std::array<uint8_t, 536>;

class TLabelImage {
public:
    int32_t BGIndex = -1;
    double X = 0, Y = 0;
    int32_t PixWidth = 0, PixHeight = 0;
    uint8_t AlignH = 0, AlignV = 0;
    uint8_t Fade = 0;
    int16_t Angle = 0;
    uint8_t Flip = 0;
    uint8_t Scale = 100;
    std::string Filters;

    // storedFileName is the picture's name in stored path form.
    TLabelImageRec ToRec(const std::string& storedFileName) const;
    // The stored fields of a record (BGIndex is left at -1).
    static TLabelImage FromRec(const TLabelImageRec& rec);
    // The picture file name of a record, as stored.
    static std::string RecFileName(const TLabelImageRec& rec);

    // Offset on one axis: a = alignment, p = position in device units,
    // extent = the label's extent, size = the image's drawn extent.
    static int AlignedOffset(int a, int p, int extent, int size);
};

} // namespace tessora
