#pragma once
// Serial numbers: prefix-number-suffix, counting labels across pages.
#include "document/uSheetHeader.h"

#include <string>

namespace tessora {

// "%s-%s-%s": number "XXXX" for n = 0, else at least four digits.
std::string SerialText(const TProjectSettings& s, int64_t n);
// Number of label i (0-based) on page PageNum: counts on from the earlier pages.
int64_t SerialNumber(const TSheetHeader& h, const TProjectSettings& s, int labelIndex);

} // namespace tessora
