#pragma once
// Text in file records is Windows-1252; in memory it is UTF-8.
#include <string>
#include <string_view>

namespace tessora {

// UTF-8 to Windows-1252 bytes; a character the code page cannot hold, or a
// broken UTF-8 sequence, becomes '?'.
std::string Utf8ToAnsi(std::string_view utf8);

// Windows-1252 bytes to UTF-8. The five unassigned bytes map to the C1
// controls of the same value, as Windows itself reads them.
std::string AnsiToUtf8(std::string_view ansi);

} // namespace tessora
