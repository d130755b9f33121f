#pragma once
// The writer's one exception type: the fixed text, then ": " and the detail when there is one.
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessora {

class EPdfError : public std::runtime_error {
public:
    EPdfError(std::string_view text, std::string_view detail = {})
        : std::runtime_error(Compose(text, detail)), Text(text), Detail(detail) {}

    // The fixed text and the detail, apart.
    const std::string Text, Detail;

private:
    static std::string Compose(std::string_view text, std::string_view detail) {
        std::string s(text);
        if (!detail.empty()) {
            s += ": ";
            s += detail;
        }
        return s;
    }
};

// zlib failures and misuse of the deflate stream. A kind of EPdfError, so callers catch one
// type; unlike the others it does not abort the document.
class ECompressionError : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// The fixed texts.
namespace pdfmsg {
inline constexpr const char* AlreadyOpen = "PDF document already open";
inline constexpr const char* InvalidPropertyValue = "Invalid property value";
inline constexpr const char* FileLocked = "File locked";
inline constexpr const char* CantOpenFile = "Can't open file";
inline constexpr const char* CantModify = "Can't modify property when opened";
inline constexpr const char* InvalidValueForProperty = "Invalid value for property";
inline constexpr const char* NotOpened = "Document not opened";
inline constexpr const char* WriteError = "File write error, or disk full";
inline constexpr const char* FileNotFound = "File not found";
inline constexpr const char* BadParameters = "Bad parameters for method";
inline constexpr const char* InvalidMethodCall = "Invalid method call";
inline constexpr const char* InvalidStreamOperation = "Invalid stream operation";
inline constexpr const char* CompressionError = "Error";
} // namespace pdfmsg

} // namespace tessora
