#pragma once
// Little-endian field access inside fixed-size file records.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tessora::bytes {

static_assert(std::endian::native == std::endian::little, "record code assumes a little-endian host");

template <typename T> inline T Get(const uint8_t* rec, size_t off) {
    T v;
    std::memcpy(&v, rec + off, sizeof v);
    return v;
}

template <typename T> inline void Put(uint8_t* rec, size_t off, T v) { std::memcpy(rec + off, &v, sizeof v); }

// A length-prefixed string of capacity cap; the stored bytes as they are.
inline std::string GetStr(const uint8_t* rec, size_t off, size_t cap) {
    size_t len = rec[off];
    if (len > cap) len = cap;
    return std::string(reinterpret_cast<const char*>(rec + off + 1), len);
}

// Writes bytes cut to cap; bytes past the length keep what the record held.
inline void PutStr(uint8_t* rec, size_t off, size_t cap, std::string_view s) {
    const size_t len = s.size() < cap ? s.size() : cap;
    rec[off] = uint8_t(len);
    std::memcpy(rec + off + 1, s.data(), len);
}

} // namespace tessora::bytes
