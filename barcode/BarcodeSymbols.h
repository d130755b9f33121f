#pragma once
// The per-symbology encoders behind TLabelBarcode::Encode. Internal to the library and its
// tests; plain C++.
#include "barcode/Barcode.h"

#include <string>
#include <string_view>

namespace tessora::barcode_detail {

// Pattern in line characters, prepared text in Windows-1252 bytes.
struct TEncoded {
    std::string Pattern, Prepared;
};

// text is Windows-1252; for digits-only types it is already trimmed and all digits.
// The caller has checked that typ lies in 0..22.
TEncoded EncodeSymbol(TBarcodeType typ, const std::string& text, bool checksum, TCheckSumMethod method);

// Code 128 and EAN-128; any other type throws "TLabelBarcode: wrong BarcodeType in Code_128".
TEncoded EncodeCode128(TBarcodeType typ, const std::string& text, bool checksum, TCheckSumMethod method);

// Windows-1252 text as UTF-8 for an error message, controls written as #<code> so that
// none of them (NUL least of all) cuts or garbles the message.
std::string MessageText(std::string_view ansi);

// Relative widths "1".."4", bar first and alternating, to line characters.
std::string WidthsToLines(std::string_view widths);

} // namespace tessora::barcode_detail
