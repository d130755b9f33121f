#include "document/uSerial.h"

#include <cstdio>

namespace tessora {

std::string SerialText(const TProjectSettings& s, int64_t n) {
    char num[32];
    if (n == 0)
        std::snprintf(num, sizeof num, "XXXX");
    else
        std::snprintf(num, sizeof num, "%04lld", static_cast<long long>(n));
    return s.SerialPrefix + "-" + num + "-" + s.SerialSuffix;
}

int64_t SerialNumber(const TSheetHeader& h, const TProjectSettings& s, int labelIndex) {
    return int64_t(h.Columns) * h.Rows * (int64_t(s.PageNum) - 1) + labelIndex + 1;
}

} // namespace tessora
