// The symbologies: text to line pattern, from the published symbol tables.
#include "barcode/BarcodeSymbols.h"

#include "document/uCodePage.h"

#include <array>
#include <cstring>
#include <vector>

namespace tessora::barcode_detail {

namespace {

// 2 of 5: five elements per digit, two of them wide.
constexpr std::array<const char*, 10> k2of5 = {"NNWWN", "WNNNW", "NWNNW", "WWNNN", "NNWNW",
                                               "WNWNN", "NWWNN", "NNNWW", "WNNWN", "NWNWN"};

// Code 39: nine elements bar first, n/w; values 0..42 in this order, then the start/stop '*'.
constexpr const char* kCode39Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";
constexpr std::array<const char*, 44> kCode39 = {
    "nnnwwnwnn", "wnnwnnnnw", "nnwwnnnnw", "wnwwnnnnn", "nnnwwnnnw", "wnnwwnnnn", "nnwwwnnnn", "nnnwnnwnw",
    "wnnwnnwnn", "nnwwnnwnn", "wnnnnwnnw", "nnwnnwnnw", "wnwnnwnnn", "nnnnwwnnw", "wnnnwwnnn", "nnwnwwnnn",
    "nnnnnwwnw", "wnnnnwwnn", "nnwnnwwnn", "nnnnwwwnn", "wnnnnnnww", "nnwnnnnww", "wnwnnnnwn", "nnnnwnnww",
    "wnnnwnnwn", "nnwnwnnwn", "nnnnnnwww", "wnnnnnwwn", "nnwnnnwwn", "nnnnwnwwn", "wwnnnnnnw", "nwwnnnnnw",
    "wwwnnnnnn", "nwnnwnnnw", "wwnnwnnnn", "nwwnwnnnn", "nwnnnnwnw", "wwnnnnwnn", "nwwnnnwnn", "nwnwnwnnn",
    "nwnwnnnwn", "nwnnnwnwn", "nnnwnwnwn", "nwnnwnwnn"};

// Full ASCII for codes 0..127 over the Code 39 set, with '$', '%', '/' and '+' as shifts.
constexpr std::array<const char*, 128> kFullAscii = {
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "/M", "/N", "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T"};

// Code 93: widths bar first; values 0..46. The shifts ($) (%) (/) (+) are written [ ] { }.
constexpr const char* kCode93Chars = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%[]{}";
constexpr std::array<const char*, 47> kCode93 = {
    "131112", "111213", "111312", "111411", "121113", "121212", "121311", "111114", "131211", "141111",
    "211113", "211212", "211311", "221112", "221211", "231111", "112113", "112212", "112311", "122112",
    "132111", "111123", "111222", "111321", "121122", "131121", "212112", "212211", "211122", "211221",
    "221121", "222111", "112122", "112221", "122121", "123111", "121131", "311112", "311211", "321111",
    "112131", "113121", "211131", "121221", "312111", "311121", "122211"};

// MSI: one four-bit BCD nibble per digit, a 0 bit narrow bar + wide space, a 1 bit the reverse.
constexpr std::array<const char*, 10> kMsiBits = {"0000", "0001", "0010", "0011", "0100",
                                                  "0101", "0110", "0111", "1000", "1001"};

// PostNet: 1 a full bar, 0 a half bar.
constexpr std::array<const char*, 10> kPostNet = {"11000", "00011", "00101", "00110", "01001",
                                                  "01010", "01100", "10001", "10010", "10100"};

// Codabar: seven elements bar first, n/w.
constexpr const char* kCodabarChars = "0123456789-$:/.+ABCD";
constexpr std::array<const char*, 20> kCodabar = {"nnnnnww", "nnnnwwn", "nnnwnnw", "wwnnnnn", "nnwnnwn",
                                                  "wnnnnwn", "nwnnnnw", "nwnnwnn", "nwwnnnn", "wnnwnnn",
                                                  "nnnwwnn", "nnwwnnn", "wnnnwnw", "wnwnnnw", "wnwnwnn",
                                                  "nnwnwnw", "nnwwnwn", "nwnwnnw", "nnnwnww", "nnnwwwn"};

// EAN/UPC left odd (set A) widths, space first; set C has the same widths bar first, set B
// is set C reversed, space first.
constexpr std::array<const char*, 10> kEanL = {"3211", "2221", "2122", "1411", "1132",
                                               "1231", "1114", "1312", "1213", "3112"};
constexpr std::array<const char*, 10> kEan13Parity = {"AAAAAA", "AABABB", "AABBAB", "AABBBA", "ABAABB",
                                                      "ABBAAB", "ABBBAA", "ABABAB", "ABABBA", "ABBABA"};
constexpr std::array<const char*, 10> kUpcEParity = {"EEEooo", "EEoEoo", "EEooEo", "EEoooE", "EoEEoo",
                                                     "EooEEo", "EoooEE", "EoEoEo", "EoEooE", "EooEoE"};

// Code 128 symbols 0..105 (103..105 the starts), bar first.
constexpr std::array<const char*, 106> kCode128 = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",
    "114131", "311141", "411131", "211412", "211214", "211232"};
constexpr const char* kCode128Stop = "2331112";
constexpr int kFnc1 = 102;

// n/w elements, bar first, to line characters.
void AppendNW(std::string& out, std::string_view nw) {
    bool bar = true;
    for (char e : nw) {
        const bool wide = e == 'w' || e == 'W';
        out += bar ? (wide ? '6' : '5') : (wide ? '1' : '0');
        bar = !bar;
    }
}

std::string Pad(std::string s, size_t n) {
    if (s.size() < n) s.insert(0, n - s.size(), '0');
    return s;
}

int Digit(char c) {
    return c - '0';
}

// Four lines of an EAN/UPC digit: set 'A', 'B' or 'C'.
void AppendEan(std::string& out, char digit, char set) {
    const char* w = kEanL[Digit(digit)];
    if (set == 'A') {
        for (int i = 0; i < 4; ++i)
            out += char((i % 2 ? '5' : '0') + w[i] - '1');
    } else if (set == 'C') {
        for (int i = 0; i < 4; ++i)
            out += char((i % 2 ? '0' : '5') + w[i] - '1');
    } else {
        for (int i = 0; i < 4; ++i)
            out += char((i % 2 ? '5' : '0') + w[3 - i] - '1');
    }
}

// The supplement check digit: weights 3, 9, 3, ... from the right.
int SupplementCheck(std::string_view digits) {
    int sum = 0, weight = 3;
    for (size_t i = digits.size(); i-- > 0;) {
        sum += Digit(digits[i]) * weight;
        weight = 12 - weight;
    }
    return sum % 10;
}

// The GS1 check digit of a UPC-E number: that of its UPC-A expansion with number system ns.
int UpcECheck(std::string_view d, char ns) {
    std::string a(1, ns);
    a += d.substr(0, 2);
    switch (d[5]) {
    case '0':
    case '1':
    case '2':
        a += d[5];
        a += "0000";
        a += d.substr(2, 3);
        break;
    case '3':
        a += d[2];
        a += "00000";
        a += d.substr(3, 2);
        break;
    case '4':
        a += d.substr(2, 2);
        a += "00000";
        a += d[4];
        break;
    default:
        a += d.substr(2, 3);
        a += "0000";
        a += d[5];
        break;
    }
    return AddCheckDigit(a, csmModulo10).back() - '0';
}

TEncoded Interleaved2of5(const std::string& text) {
    // An odd count gets a leading 0, as every digit must sit in a pair.
    TEncoded e{"5050", text.size() % 2 ? "0" + text : text};
    const std::string& t = e.Prepared;
    for (size_t i = 0; i + 1 < t.size(); i += 2) {
        const char* bars = k2of5[Digit(t[i])];
        const char* spaces = k2of5[Digit(t[i + 1])];
        for (int k = 0; k < 5; ++k) {
            e.Pattern += bars[k] == 'W' ? '6' : '5';
            e.Pattern += spaces[k] == 'W' ? '1' : '0';
        }
    }
    e.Pattern += "605";
    return e;
}

TEncoded Industrial2of5(const std::string& text) {
    TEncoded e{"606050", text};
    for (char c : text)
        for (const char* p = k2of5[Digit(c)]; *p; ++p)
            e.Pattern += *p == 'W' ? "60" : "50";
    e.Pattern += "605060";
    return e;
}

TEncoded Matrix2of5(const std::string& text) {
    TEncoded e{"705050", text};
    for (char c : text) {
        const char* p = k2of5[Digit(c)];
        for (int k = 0; k < 5; ++k) {
            const bool wide = p[k] == 'W';
            e.Pattern += k % 2 ? (wide ? '1' : '0') : (wide ? '6' : '5');
        }
        e.Pattern += '0';
    }
    e.Pattern += "70505";
    return e;
}

// Encodes the characters of `data`; prepared is what the caller shows.
TEncoded Code39(const std::string& data, const std::string& prepared, bool checksum) {
    TEncoded e{"", prepared};
    AppendNW(e.Pattern, kCode39[43]);
    e.Pattern += '0';
    int sum = 0;
    for (char c : data) {
        // '*' has a pattern but is the start/stop character, never data.
        const char* at = c ? std::strchr(kCode39Chars, c) : nullptr;
        if (!at) continue;
        const int v = int(at - kCode39Chars);
        sum += v;
        AppendNW(e.Pattern, kCode39[v]);
        e.Pattern += '0';
    }
    if (checksum) {
        AppendNW(e.Pattern, kCode39[sum % 43]);
        e.Pattern += '0';
    }
    AppendNW(e.Pattern, kCode39[43]);
    return e;
}

// The full ASCII sequence of every character below 128; others are dropped.
std::string FullAscii(const std::string& text, bool code93) {
    std::string out;
    for (unsigned char c : text) {
        if (c >= 128) continue;
        const char* s = kFullAscii[c];
        if (code93 && s[1]) {
            out += s[0] == '$' ? '[' : s[0] == '%' ? ']' : s[0] == '/' ? '{' : '}';
            out += s[1];
        } else {
            out += s;
        }
    }
    return out;
}

TEncoded Code93(const std::string& data, const std::string& prepared) {
    std::string widths = "111141";
    std::vector<int> values;
    values.reserve(data.size());
    for (char c : data) {
        const char* at = c ? std::strchr(kCode93Chars, c) : nullptr;
        if (!at) throw EBarcodeError("TLabelBarcode:Code93 bad Data <" + MessageText(prepared) + ">");
        values.push_back(int(at - kCode93Chars));
        widths += kCode93[values.back()];
    }
    int64_t sumC = 0, sumK = 0;
    int wc = 1, wk = 2;
    for (size_t i = values.size(); i-- > 0;) {
        sumC += int64_t(values[i]) * wc;
        sumK += int64_t(values[i]) * wk;
        wc = wc == 20 ? 1 : wc + 1;
        wk = wk == 15 ? 1 : wk + 1;
    }
    const int c = int(sumC % 47);
    const int k = int((sumK + sumC) % 47);
    widths += kCode93[c];
    widths += kCode93[k];
    widths += "1111411";
    return {WidthsToLines(widths), prepared};
}

TEncoded Msi(const std::string& text) {
    TEncoded e{"60", text};
    auto digit = [&](int d) {
        for (const char* b = kMsiBits[d]; *b; ++b)
            e.Pattern += *b == '1' ? "60" : "51";
    };
    // Modulo 10: digits at odd places from the right are doubled, the digits of the
    // products summed with the others; the same as doubling the number they form.
    int sum = 0;
    bool odd = true;
    for (size_t i = text.size(); i-- > 0;) {
        const int d = Digit(text[i]);
        sum += odd ? (d < 5 ? 2 * d : 2 * d - 9) : d;
        odd = !odd;
    }
    for (char c : text)
        digit(Digit(c));
    digit((10 - sum % 10) % 10);
    e.Pattern += "515";
    return e;
}

TEncoded PostNet(const std::string& text) {
    TEncoded e{"51", text};
    for (char c : text)
        for (const char* b = kPostNet[Digit(c)]; *b; ++b) {
            e.Pattern += *b == '1' ? '5' : 'A';
            e.Pattern += '1';
        }
    e.Pattern += '5';
    return e;
}

TEncoded Codabar(const std::string& text) {
    TEncoded e{"", text};
    AppendNW(e.Pattern, kCodabar[16]);
    e.Pattern += '0';
    for (char c : text) {
        const char* at = c ? std::strchr(kCodabarChars, c) : nullptr;
        if (!at) throw EBarcodeError("TLabelBarcode:Codabar bad Data <" + MessageText(text) + ">");
        AppendNW(e.Pattern, kCodabar[at - kCodabarChars]);
        e.Pattern += '0';
    }
    AppendNW(e.Pattern, kCodabar[17]);
    return e;
}

TEncoded Ean8(const std::string& text, bool checksum, TCheckSumMethod method) {
    // With a check digit, the first seven digits are the data: an eighth digit typed in is
    // the old check digit and is replaced.
    const std::string d = checksum ? AddCheckDigit(Pad(text, 7).substr(0, 7), method) : Pad(text, 8);
    if (d.size() != 8) throw EBarcodeError("Invalid Text len (EAN8)");
    TEncoded e{"505", text};
    for (int i = 0; i < 4; ++i)
        AppendEan(e.Pattern, d[i], 'A');
    e.Pattern += "05050";
    for (int i = 4; i < 8; ++i)
        AppendEan(e.Pattern, d[i], 'C');
    e.Pattern += "505";
    return e;
}

TEncoded Ean13(const std::string& text, bool checksum, TCheckSumMethod method) {
    const std::string d = checksum ? AddCheckDigit(Pad(text, 12), method) : Pad(text, 13);
    if (d.size() != 13) throw EBarcodeError("Invalid Text len (EAN13)");
    TEncoded e{"505", text};
    const char* parity = kEan13Parity[Digit(d[0])];
    for (int i = 1; i < 7; ++i)
        AppendEan(e.Pattern, d[i], parity[i - 1]);
    e.Pattern += "05050";
    for (int i = 7; i < 13; ++i)
        AppendEan(e.Pattern, d[i], 'C');
    e.Pattern += "505";
    return e;
}

TEncoded UpcA(const std::string& text, bool checksum, TCheckSumMethod method) {
    // With a check digit the first eleven digits are the data; a shorter text is padded to
    // eleven so that none of its digits gives way to the check digit.
    std::string d =
        checksum && method != csmNone ? AddCheckDigit(Pad(text, 11).substr(0, 11), method) : Pad(text, 12);
    TEncoded e{"505", d};
    for (int i = 0; i < 6; ++i)
        AppendEan(e.Pattern, d[i], 'A');
    e.Pattern += "05050";
    for (int i = 6; i < 12; ++i)
        AppendEan(e.Pattern, d[i], 'C');
    e.Pattern += "505";
    return e;
}

TEncoded UpcE(const std::string& text, bool checksum, TCheckSumMethod method, bool system1) {
    const std::string padded = Pad(text, 7);
    const std::string six = padded.substr(0, 6);
    const int c = UpcECheck(six, system1 ? '1' : '0');
    TEncoded e{"505", checksum && method != csmNone ? six + char('0' + c) : padded};
    const char* parity = kUpcEParity[c];
    for (int i = 0; i < 6; ++i)
        AppendEan(e.Pattern, six[i], (parity[i] == 'E') != system1 ? 'B' : 'A');
    e.Pattern += "050505";
    return e;
}

TEncoded Supplement2(const std::string& text, bool checksum) {
    const std::string padded = Pad(text, 2);
    const std::string two = padded.substr(0, 2);
    // The parity carries the encoded value modulo 4, which is what readers check.
    const int v = (Digit(two[0]) * 10 + Digit(two[1])) % 4;
    TEncoded e{"506", checksum ? two + char('0' + SupplementCheck(two)) : padded};
    AppendEan(e.Pattern, two[0], v >= 2 ? 'B' : 'A');
    e.Pattern += "05";
    AppendEan(e.Pattern, two[1], v % 2 ? 'B' : 'A');
    return e;
}

TEncoded Supplement5(const std::string& text, bool checksum) {
    const std::string padded = Pad(text, 5);
    const std::string five = padded.substr(0, 5);
    const int c = SupplementCheck(five);
    TEncoded e{"506", checksum ? five + char('0' + c) : padded};
    const char* parity = kUpcEParity[c] + 1;
    for (int i = 0; i < 5; ++i) {
        if (i) e.Pattern += "05";
        AppendEan(e.Pattern, five[i], parity[i] == 'E' ? 'B' : 'A');
    }
    return e;
}

} // namespace

std::string MessageText(std::string_view ansi) {
    std::string out;
    for (unsigned char c : ansi) {
        if (c < 0x20 || c == 0x7F)
            out += "#" + std::to_string(c);
        else
            out += char(c);
    }
    return AnsiToUtf8(out);
}

std::string WidthsToLines(std::string_view widths) {
    std::string out;
    out.reserve(widths.size());
    bool bar = true;
    for (char w : widths) {
        out += char((bar ? '5' : '0') + (w - '1'));
        bar = !bar;
    }
    return out;
}

TEncoded EncodeCode128(TBarcodeType typ, const std::string& text, bool checksum, TCheckSumMethod method) {
    int start;
    bool ean = false;
    switch (typ) {
    case bcCode128A:
        start = 103;
        break;
    case bcCode128B:
        start = 104;
        break;
    case bcCode128C:
        start = 105;
        break;
    case bcCodeEAN128A:
        start = 103, ean = true;
        break;
    case bcCodeEAN128B:
        start = 104, ean = true;
        break;
    case bcCodeEAN128C:
        start = 105, ean = true;
        break;
    default:
        throw EBarcodeError("TLabelBarcode: wrong BarcodeType in Code_128");
    }
    const bool setC = start == 105, setA = start == 103;
    std::string widths = kCode128[start];
    int64_t sum = start, position = 1;
    auto add = [&](int v) {
        widths += kCode128[v];
        sum = (sum + v * position) % 103;
        ++position;
    };
    TEncoded e{"", text};
    if (ean) {
        add(kFnc1);
        if (checksum) e.Prepared = AddCheckDigit(text, method);
    }
    if (setC) {
        if (e.Prepared.size() % 2) e.Prepared.insert(0, 1, '0');
        for (size_t i = 0; i + 1 < e.Prepared.size(); i += 2) {
            const char a = e.Prepared[i], b = e.Prepared[i + 1];
            const bool digits = a >= '0' && a <= '9' && b >= '0' && b <= '9';
            add(digits ? Digit(a) * 10 + Digit(b) : 0);
        }
    } else {
        for (unsigned char c : e.Prepared) {
            int v = 0;
            if (c >= 32 && c <= 95)
                v = c - 32;
            else if (setA && c < 32)
                v = c + 64;
            else if (!setA && c >= 96 && c <= 127)
                v = c - 32;
            add(v);
        }
    }
    widths += kCode128[sum % 103];
    widths += kCode128Stop;
    e.Pattern = WidthsToLines(widths);
    return e;
}

TEncoded EncodeSymbol(TBarcodeType typ, const std::string& text, bool checksum, TCheckSumMethod method) {
    switch (typ) {
    case bcCode_2_5_interleaved:
        return Interleaved2of5(text);
    case bcCode_2_5_industrial:
        return Industrial2of5(text);
    case bcCode_2_5_matrix:
        return Matrix2of5(text);
    case bcCode39:
        return Code39(text, text, checksum);
    case bcCode39Extended:
        return Code39(FullAscii(text, false), text, checksum);
    case bcCode93:
        return Code93(text, text);
    case bcCode93Extended:
        return Code93(FullAscii(text, true), text);
    case bcCodeMSI:
        return Msi(text);
    case bcCodePostNet:
        return PostNet(text);
    case bcCodeCodabar:
        return Codabar(text);
    case bcCodeEAN8:
        return Ean8(text, checksum, method);
    case bcCodeEAN13:
        return Ean13(text, checksum, method);
    case bcCodeUPC_A:
        return UpcA(text, checksum, method);
    case bcCodeUPC_E0:
        return UpcE(text, checksum, method, false);
    case bcCodeUPC_E1:
        return UpcE(text, checksum, method, true);
    case bcCodeUPC_Supp2:
        return Supplement2(text, checksum);
    case bcCodeUPC_Supp5:
        return Supplement5(text, checksum);
    default:
        return EncodeCode128(typ, text, checksum, method);
    }
}

} // namespace tessora::barcode_detail
