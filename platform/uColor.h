#pragma once
// Colours are 0x00BBGGRR in the document; QColor in drawing.
#include <QColor>
#include <cstdint>

namespace tessora {

inline QColor ToQColor(uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
inline uint32_t FromQColor(const QColor& q) {
    return uint32_t(q.red()) | (uint32_t(q.green()) << 8) | (uint32_t(q.blue()) << 16);
}

} // namespace tessora
