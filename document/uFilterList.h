#pragma once
// The filter list text of an image: entries closed by '#', each the filter code,
// '_', then the filter's parameters each closed by ';' ("1_10;-20;#3_1.50;#4_;#").
// The list keeps text order: filters are applied in that order.
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

enum TFilterCode : int {
    fcBrightnessContrast = 1, // 1_b;c;#
    fcSharp = 2,              // 2_s;#
    fcBlur = 3,               // 3_r;#  r with two decimals
    fcGrey = 4,               // 4_;#
    fcNegative = 5,           // 5_;#
};

struct TImageFilter {
    int Code = 0;       // a TFilterCode
    int Brightness = 0; // fcBrightnessContrast, -150..150
    int Contrast = 0;   // fcBrightnessContrast, -150..150
    int Sharp = 0;      // fcSharp: intensity
    double Blur = 0;    // fcBlur: radius in pixels
    bool operator==(const TImageFilter&) const = default;
};

using TFilterList = std::vector<TImageFilter>;

// Reads a filter list text. Text after the last '#' is not an entry, and a last
// parameter piece without ';' is dropped. An entry that cannot be read is left out
// and the others still count: no '_', a code that is not a whole number or not
// 1..5, or a missing or non-numeric parameter. Parameters beyond those a filter
// uses are ignored. Never throws.
TFilterList DecodeFilters(std::string_view text);

// Writes the entries in list order in the form above; the blur radius with two
// decimals and '.', whatever the locale. Codes other than 1..5 are not written;
// a radius that is not finite is written as 0.00.
std::string EncodeFilters(const TFilterList& filters);

} // namespace tessora
