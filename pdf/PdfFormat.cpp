#include "pdf/PdfFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

namespace tessora {

int PdfRound(double v) {
    if (!(v == v)) return 0;
    const double r = std::nearbyint(v); // the default rounding mode: halves to even
    if (r >= 2147483647.0) return 2147483647;
    if (r <= -2147483648.0) return -2147483647 - 1;
    return int(r);
}

void AppendPdfInt(std::string& s, int64_t v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    s.append(buf, r.ptr);
}

std::string PdfInt(int64_t v) {
    std::string s;
    AppendPdfInt(s, v);
    return s;
}

void AppendPdfNumber(std::string& s, double v) {
    if (!std::isfinite(v)) {
        s += '0';
        return;
    }
    // The shortest decimal form that reads back as v, then rounded as decimal text, so
    // 0.0005 rounds up as written rather than as its binary neighbour.
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (r.ec != std::errc()) {
        s += '0';
        return;
    }
    std::string_view t(buf, size_t(r.ptr - buf));
    const bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    const size_t dot = t.find('.');
    const std::string_view whole = t.substr(0, dot);
    const std::string_view frac = dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1);

    char d[400];
    size_t n = 0;
    for (char c : whole)
        d[n++] = c;
    for (size_t i = 0; i < 3; ++i)
        d[n++] = i < frac.size() ? frac[i] : '0';
    if (frac.size() > 3 && frac[3] >= '5') {
        size_t i = n;
        while (i > 0) {
            --i;
            if (d[i] == '9') {
                d[i] = '0';
            } else {
                ++d[i];
                break;
            }
            if (i == 0) { // carried out of the top digit
                std::memmove(d + 1, d, n);
                d[0] = '1';
                ++n;
                break;
            }
        }
    }
    size_t end = n; // strip trailing zero decimals
    const size_t intEnd = n - 3;
    while (end > intEnd && d[end - 1] == '0')
        --end;
    bool zero = true;
    for (size_t i = 0; i < end; ++i)
        if (d[i] != '0') zero = false;
    if (negative && !zero) s += '-';
    s.append(d, intEnd);
    if (end > intEnd) {
        s += '.';
        s.append(d + intEnd, end - intEnd);
    }
}

std::string PdfNumber(double v) {
    std::string s;
    AppendPdfNumber(s, v);
    return s;
}

namespace {

void AppendEscaped(std::string& s, unsigned char c) {
    switch (c) {
    case '(':
        s += "\\(";
        break;
    case ')':
        s += "\\)";
        break;
    case '\\':
        s += "\\\\";
        break;
    case '\b':
        s += "\\b";
        break;
    case '\t':
        s += "\\t";
        break;
    case '\n':
        s += "\\n";
        break;
    case '\f':
        s += "\\f";
        break;
    case '\r':
        s += "\\r";
        break;
    default:
        s += char(c);
    }
}

// Next code point of UTF-8 text; a byte that does not start a valid sequence stands for itself.
char32_t NextCodePoint(std::string_view t, size_t& i) {
    const auto b = [&](size_t k) { return static_cast<unsigned char>(t[k]); };
    const unsigned char c = b(i);
    int len = 0;
    char32_t cp = 0;
    if (c < 0x80) {
        ++i;
        return c;
    } else if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    }
    if (len == 0 || i + size_t(len) > t.size()) {
        ++i;
        return c;
    }
    for (int k = 1; k < len; ++k) {
        if ((b(i + k) & 0xC0) != 0x80) {
            ++i;
            return c;
        }
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return c;
    }
    i += size_t(len);
    return cp;
}

} // namespace

std::string EncodeText(std::string_view text) {
    std::string s = "(";
    bool ascii = true;
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    if (ascii) {
        for (char c : text)
            AppendEscaped(s, static_cast<unsigned char>(c));
    } else {
        const auto unit = [&](unsigned u) {
            AppendEscaped(s, static_cast<unsigned char>(u >> 8));
            AppendEscaped(s, static_cast<unsigned char>(u & 0xFF));
        };
        unit(0xFEFF);
        for (size_t i = 0; i < text.size();) {
            const char32_t cp = NextCodePoint(text, i);
            if (cp >= 0x10000) {
                const char32_t v = cp - 0x10000;
                unit(0xD800 + unsigned(v >> 10));
                unit(0xDC00 + unsigned(v & 0x3FF));
            } else {
                unit(unsigned(cp));
            }
        }
    }
    s += ')';
    return s;
}

void ASCII85Encode(const uint8_t* data, size_t n, std::string& out) {
    const size_t groups = n / 4, rest = n % 4;
    const size_t old = out.size();
    out.resize(old + groups * 5 + (rest ? rest + 1 : 0) + 2);
    char* p = out.data() + old;
    for (size_t g = 0; g < groups; ++g, data += 4) {
        uint32_t v;
        std::memcpy(&v, data, 4);
        if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap32(v);
        if (v == 0) {
            *p++ = 'z';
            continue;
        }
        // Five base-85 digits, most significant first; the divisions by a constant compile
        // to multiplications.
        p[4] = char(v % 85 + 33);
        v /= 85;
        p[3] = char(v % 85 + 33);
        v /= 85;
        p[2] = char(v % 85 + 33);
        v /= 85;
        p[1] = char(v % 85 + 33);
        p[0] = char(v / 85 + 33);
        p += 5;
    }
    if (rest) {
        uint32_t v = 0;
        for (size_t k = 0; k < 4; ++k)
            v = (v << 8) | (k < rest ? data[k] : 0u);
        char c[5];
        for (int k = 4; k >= 0; --k) {
            c[k] = char(v % 85 + 33);
            v /= 85;
        }
        for (size_t k = 0; k < rest + 1; ++k)
            *p++ = c[k];
    }
    *p++ = '~';
    *p++ = '>';
    out.resize(size_t(p - out.data()));
}

std::string ASCII85Encode(std::string_view data) {
    std::string s;
    ASCII85Encode(reinterpret_cast<const uint8_t*>(data.data()), data.size(), s);
    return s;
}

namespace {
void Append2(std::string& s, int v) {
    s += char('0' + (v / 10) % 10);
    s += char('0' + v % 10);
}

// Days from 1 January 1970 to the civil date y-m-d (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}
} // namespace

std::string PdfDateText(const std::tm& t) {
    std::string s = "D:";
    const int year = t.tm_year + 1900;
    char buf[16];
    const auto r = std::to_chars(buf, buf + sizeof buf, year);
    for (ptrdiff_t k = r.ptr - buf; k < 4; ++k)
        s += '0';
    s.append(buf, r.ptr);
    Append2(s, t.tm_mon + 1);
    Append2(s, t.tm_mday);
    Append2(s, t.tm_hour);
    Append2(s, t.tm_min);
    Append2(s, t.tm_sec);
    return s;
}

double PdfDateTimeValue(const std::tm& t, int milliseconds) {
    const int64_t days = DaysFromCivil(t.tm_year + 1900, unsigned(t.tm_mon + 1), unsigned(t.tm_mday)) + 25569;
    const double seconds = t.tm_hour * 3600.0 + t.tm_min * 60.0 + t.tm_sec + milliseconds / 1000.0;
    return double(days) + seconds / 86400.0;
}

std::string PdfFileIdentifier(double dateTime, std::string_view fileName) {
    std::string s;
    AppendPdfInt(s, int64_t(std::nearbyint(dateTime * 10000.0)));
    for (size_t pos = 3; pos <= fileName.size(); pos += 3) {
        const char c = fileName[pos - 1];
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) s += c;
    }
    return s;
}

} // namespace tessora
