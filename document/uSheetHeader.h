#pragma once
// The sheet header (first record of templates and projects) and the project settings.
#include <array>
#include <cstdint>
#include <string>

namespace tessora {

enum TLabelShape : uint8_t { lsRectangle, lsRoundRect, lsEllipse, lsBox, lsVector, lsMakerVector };

struct TSheetHeader {
    static constexpr size_t Size = 608;

    uint8_t Units = 0;
    uint8_t PaperSize = 0;
    uint8_t Shape = lsRectangle;
    double MarginLeft = 0, MarginTop = 0;
    double LabelWidth = 0, LabelHeight = 0, BoxDepth = 0;
    double GapH = 0, GapV = 0;
    int32_t Columns = 0, Rows = 0;
    uint8_t Rounding = 0;
    std::string VectorFile; // UTF-8; absolute in memory, stored form on disk
    std::string OrderCode;  // UTF-8

    // The record as last read; its reserved bytes are written back unchanged.
    std::array<uint8_t, Size> Raw{};

    void Decode(const uint8_t* rec);
    // The record with these fields; vectorFile is written in place of VectorFile.
    std::array<uint8_t, Size> Encode(const std::string& vectorFile) const;

    // Label extents of the grid: for box nets the whole net.
    double ExtentAcross() const;
    double ExtentDown() const;
    // Fault in a header read from a file, or empty when it can be laid out.
    std::string Problem() const;
};

struct TProjectSettings {
    static constexpr size_t Size = 72;

    uint8_t VerMajor = 5;
    uint8_t VerMinor = 0;
    std::string SerialSuffix; // UTF-8, capacity 15 bytes on disk
    std::string SerialPrefix;
    int32_t PageNum = 1;
    int32_t PageCount = 1;
    double SerialX = 0, SerialY = 0;
    uint8_t SerialAlignH = 0, SerialAlignV = 0;
    bool SerialOn = false;

    void Decode(const uint8_t* rec);
    std::array<uint8_t, Size> Encode() const;
    // VerMajor "." VerMinor read as a decimal number.
    double Version() const;
};

} // namespace tessora
