#pragma once
// The plain-text form of a text's path points: "x;y;#x;y;#..." in millimetres.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

struct TPointMM {
    double X, Y;
};

// Bytes a text's Points field holds on disk.
inline constexpr std::size_t kTextPointsCapacity = 255;
// Coordinates beyond this many millimetres are not read: no sheet is that large, and
// they would overflow pixel conversions.
inline constexpr double kMaxPointMM = 10000.0;

// The points of a Points text. Every piece before a "#" is one point, "x;y;"; text
// after the last "#" is a point cut by the capacity and is ignored. Numbers are plain
// decimals with '.' or ',' as separator. A piece without two numbers, or with
// anything else in their place (exponents, inf, two separators, out of range), is
// skipped; the other points are kept.
std::vector<TPointMM> ParseTextPoints(std::string_view points);

// The two numbers of one point item ("12.5;30.0;", the "#" already removed); the
// trailing ';' may be missing, anything after the second number's ';' is ignored.
// False when it does not hold two numbers.
bool ReadTextPointItem(std::string_view item, TPointMM& point);

// Control points for the Bezier chain: with more than 4 points the last is repeated
// until the count is 3k + 1, with fewer than 4 until there are 4; none stays none.
std::vector<TPointMM> PadForBezier(std::vector<TPointMM> points);

// One point item as a new point is written: "%.1f;%.1f;" with '.' in every locale.
std::string FormatTextPoint(double x, double y);
// One point item as an edited or moved point is written: both numbers in their
// shortest decimal form ("12.5;30;"), at most 15 significant digits, never an exponent.
std::string FormatTextPointShortest(double x, double y);
// A number in that shortest form.
std::string FormatShortest(double v);

// A Points text for these points, items as FormatTextPoint writes them, each followed
// by "#"; points that would not fit in the capacity are left off whole.
std::string FormatTextPoints(const std::vector<TPointMM>& points);

// The items of a Points text as the point list shows them: the text is cut after
// every "#", each piece without its "#" is an item, a trailing piece without "#" is dropped.
std::vector<std::string> SplitTextPointItems(std::string_view points);
// The Points text for a list of items: each followed by "#", items that would not fit
// in the capacity left off whole, so a stored path never ends in half a point.
std::string JoinTextPointItems(const std::vector<std::string>& items);

} // namespace tessora
