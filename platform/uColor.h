#pragma once
// Colours are 0x00BBGGRR in the document; QColor in drawing.
#include <QColor>
#include <cstdint>

namespace tessora {

// Window text: the colour reference a new text keeps until the user picks a colour.
inline constexpr uint32_t clWindowText = 0xFF000008u;

// A colour with the high byte 0xFF refers to a system colour by its index in the low byte.
inline bool IsSystemColor(uint32_t c) {
    return (c >> 24) == 0xFFu;
}
// The application palette's colour for such a reference.
QColor SystemColor(uint32_t c);

inline QColor ToQColor(uint32_t c) {
    if (IsSystemColor(c)) return SystemColor(c);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
inline uint32_t FromQColor(const QColor& q) {
    return uint32_t(q.red()) | (uint32_t(q.green()) << 8) | (uint32_t(q.blue()) << 16);
}

} // namespace tessora
