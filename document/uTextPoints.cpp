#include "document/uTextPoints.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tessora {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A plain decimal: optional sign, digits with at most one '.' or ','. from_chars alone
// would also take exponents, "inf" and "nan", none of which an editor writes.
bool ReadNumber(std::string_view s, double& v) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty() || s.size() > 64) return false;
    char buf[65];
    std::size_t n = 0;
    bool digit = false, separator = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            buf[n++] = c;
        } else if (c == '.' || c == ',') {
            if (separator) return false;
            separator = true;
            buf[n++] = '.';
        } else if (c == '-' && i == 0) {
            buf[n++] = c;
        } else {
            return false;
        }
    }
    if (!digit) return false;
    const auto [end, ec] = std::from_chars(buf, buf + n, v, std::chars_format::fixed);
    return ec == std::errc() && end == buf + n && std::isfinite(v) && std::fabs(v) <= kMaxPointMM;
}

std::string Fixed(double v, int decimals) {
    if (!std::isfinite(v)) v = 0;
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    // A value that rounds to zero is written without its sign.
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

// Appends items, each with its "#", while they fit in the capacity.
template <typename Items, typename ItemText> std::string JoinWithin(const Items& items, ItemText itemText) {
    std::string out;
    for (const auto& item : items) {
        const std::string text = itemText(item);
        if (out.size() + text.size() + 1 > kTextPointsCapacity) break;
        out += text;
        out += '#';
    }
    return out;
}

} // namespace

bool ReadTextPointItem(std::string_view item, TPointMM& point) {
    const std::size_t first = item.find(';');
    if (first == std::string_view::npos) return false;
    std::string_view rest = item.substr(first + 1);
    rest = rest.substr(0, rest.find(';'));
    TPointMM p{};
    if (!ReadNumber(item.substr(0, first), p.X) || !ReadNumber(rest, p.Y)) return false;
    point = p;
    return true;
}

std::vector<TPointMM> ParseTextPoints(std::string_view points) {
    std::vector<TPointMM> out;
    for (std::size_t hash = points.find('#'); hash != std::string_view::npos; hash = points.find('#')) {
        TPointMM p;
        if (ReadTextPointItem(points.substr(0, hash), p)) out.push_back(p);
        points.remove_prefix(hash + 1);
    }
    return out;
}

std::vector<TPointMM> PadForBezier(std::vector<TPointMM> points) {
    if (points.empty()) return points;
    const TPointMM last = points.back();
    if (points.size() < 4) points.resize(4, last);
    while (points.size() % 3 != 1)
        points.push_back(last);
    return points;
}

std::string FormatTextPoint(double x, double y) {
    return Fixed(x, 1) + ';' + Fixed(y, 1) + ';';
}

std::string FormatShortest(double v) {
    const double a = std::isfinite(v) ? std::fabs(v) : 0;
    const int intDigits = a >= 1 ? static_cast<int>(std::floor(std::log10(a))) + 1 : 0;
    std::string s = Fixed(v, std::clamp(15 - intDigits, 0, 15));
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

std::string FormatTextPointShortest(double x, double y) {
    return FormatShortest(x) + ';' + FormatShortest(y) + ';';
}

std::string FormatTextPoints(const std::vector<TPointMM>& points) {
    return JoinWithin(points, [](const TPointMM& p) { return FormatTextPoint(p.X, p.Y); });
}

std::vector<std::string> SplitTextPointItems(std::string_view points) {
    std::vector<std::string> items;
    for (std::size_t hash = points.find('#'); hash != std::string_view::npos; hash = points.find('#')) {
        items.emplace_back(points.substr(0, hash));
        points.remove_prefix(hash + 1);
    }
    return items;
}

std::string JoinTextPointItems(const std::vector<std::string>& items) {
    return JoinWithin(items, [](const std::string& item) { return item; });
}

} // namespace tessora
