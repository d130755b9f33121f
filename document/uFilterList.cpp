#include "document/uFilterList.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tessora {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// [+-]digits, within the int range.
bool ReadInteger(std::string_view t, int& value) {
    bool negative = false;
    if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
        negative = t[0] == '-';
        t.remove_prefix(1);
    }
    if (t.empty()) return false;
    long long v = 0;
    for (char c : t) {
        if (!IsDigit(c)) return false;
        v = v * 10 + (c - '0');
        if (v > (long long)std::numeric_limits<int>::max() + 1) return false;
    }
    if (negative) v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return false;
    value = int(v);
    return true;
}

// [+-]digits[(.|,)digits] with at least one digit; texts may come from a
// locale that writes ',' for the decimal point.
bool ReadDecimal(std::string_view t, double& value) {
    std::string s;
    s.reserve(t.size());
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') s += '-';
        ++i;
    }
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (IsDigit(c)) {
            digits = true;
            s += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            s += '.';
        } else {
            return false;
        }
    }
    if (!digits) return false;
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

std::string WriteDecimal(double value, int decimals) {
    if (!std::isfinite(value)) value = 0;
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals)) value = 0; // no "-0.00"
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return "0";
    return std::string(buf, end);
}

// Pieces closed by ';'; a last piece without one is dropped.
std::vector<std::string_view> Params(std::string_view body) {
    std::vector<std::string_view> items;
    size_t from = 0;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == ';') {
            items.push_back(body.substr(from, i - from));
            from = i + 1;
        }
    }
    return items;
}

bool DecodeEntry(std::string_view entry, TImageFilter& f) {
    const size_t us = entry.find('_');
    if (us == std::string_view::npos) return false;
    if (!ReadInteger(entry.substr(0, us), f.Code)) return false;
    const auto p = Params(entry.substr(us + 1));
    switch (f.Code) {
    case fcBrightnessContrast:
        return p.size() >= 2 && ReadInteger(p[0], f.Brightness) && ReadInteger(p[1], f.Contrast);
    case fcSharp:
        return p.size() >= 1 && ReadInteger(p[0], f.Sharp);
    case fcBlur:
        return p.size() >= 1 && ReadDecimal(p[0], f.Blur);
    case fcGrey:
    case fcNegative:
        return true;
    default:
        return false;
    }
}

} // namespace

TFilterList DecodeFilters(std::string_view text) {
    TFilterList list;
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '#') continue;
        TImageFilter f;
        if (DecodeEntry(text.substr(from, i - from), f)) list.push_back(f);
        from = i + 1;
    }
    return list;
}

std::string EncodeFilters(const TFilterList& filters) {
    std::string out;
    for (const TImageFilter& f : filters) {
        switch (f.Code) {
        case fcBrightnessContrast:
            out += "1_" + std::to_string(f.Brightness) + ";" + std::to_string(f.Contrast) + ";#";
            break;
        case fcSharp:
            out += "2_" + std::to_string(f.Sharp) + ";#";
            break;
        case fcBlur:
            out += "3_" + WriteDecimal(f.Blur, 2) + ";#";
            break;
        case fcGrey:
            out += "4_;#";
            break;
        case fcNegative:
            out += "5_;#";
            break;
        default:
            break;
        }
    }
    return out;
}

} // namespace tessora
