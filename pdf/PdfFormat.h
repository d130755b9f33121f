#pragma once
// Text forms of the writer: numbers, literal strings, ASCII85, date and file identifier.
// None of them depends on the process locale.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace tessora {

// Nearest integer, halves to the even neighbour (every rounding of the writer).
int PdfRound(double v);

// A length-derived number: at most three decimals (the fourth decides, halves away from
// zero), no trailing zeros, '.' as separator: 595.276, 841.89, 12, -3.5.
std::string PdfNumber(double v);
// Appends the same to s.
void AppendPdfNumber(std::string& s, double v);
// A plain integer.
void AppendPdfInt(std::string& s, int64_t v);
std::string PdfInt(int64_t v);

// A PDF literal string in parentheses, escaping ( ) \ and backspace, tab, line feed, form feed,
// carriage return. Text that is not plain ASCII is taken as UTF-8 and written as UTF-16BE
// with its byte order mark, so viewers show it as typed.
std::string EncodeText(std::string_view text);

// ASCII85 of n bytes appended to out, closed by "~>"; no line breaks.
void ASCII85Encode(const uint8_t* data, size_t n, std::string& out);
std::string ASCII85Encode(std::string_view data);

// "D:" and the local time as yyyymmddhhnnss.
std::string PdfDateText(const std::tm& local);
// Local date and time as days since 30 December 1899 with the time as fraction.
double PdfDateTimeValue(const std::tm& local, int milliseconds);
// The file identifier: round(dateTime x 10000) in decimal, then every letter A..Z (either
// case) of fileName standing at a 1-based position divisible by 3.
std::string PdfFileIdentifier(double dateTime, std::string_view fileName);

} // namespace tessora
