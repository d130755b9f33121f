#pragma once
// Constants shared by several windows, and small path, folder and text helpers.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

// Rounds to the nearest integer, halves to even; every mm-to-pixel
// conversion goes through here.
int RoundHalfEven(double v);

inline constexpr std::array<const char*, 6> kFilterNames = {
    "Fade Out", "Brightness/Contrast", "Sharp", "Blur", "Grey", "Negative"};
inline constexpr std::array<const char*, 6> kShapeNames = {
    "Rectangle", "Round Rectangle", "Ellipse", "Box", "Vector Graphic", "Corvane Labels"};
inline constexpr std::array<const char*, 5> kTabNames = {"Control", "Graphic", "Text", "Barcode", "Outline"};
inline constexpr std::array<const char*, 5> kFileExt = {".shl", ".tpr", ".tpl", ".tpb", ".tpv"};
inline constexpr std::array<const char*, 2> kUnitNames = {"Millimeters (mm)", "Inches (in)"};

struct TPaperSize {
    double Width, Height; // mm
};
inline constexpr std::array<TPaperSize, 8> kPaperSizes = {{{215.9, 279.4},
                                                          {215.9, 355.6},
                                                          {327.914, 508.0},
                                                          {327.914, 635.0},
                                                          {327.914, 711.2},
                                                          {279.4, 215.9},
                                                          {355.6, 215.9},
                                                          {101.6, 152.4}}};

// 25.4 for inches (Units 1), else 1: shown value = stored mm / factor.
double UnitFactor(int units);

// Template kind (1..4) of a file name by its extension; 0 for ".shl", -1 for anything else.
int FileKind(std::string_view fileName);

// The program folder, absolute, with exactly one trailing '/'. Set once at start.
void SetProgramFolder(std::string folder);
const std::string& ProgramFolder();
// Program folder + name.
std::string ProgramFolderPath(std::string_view name);
// The same, creating that folder (one level) when missing.
std::string ProgramSubfolder(std::string_view name);

// Stored path form of file names inside template and project files.
std::string ToAbsolutePath(std::string_view stored);
std::string ToStoredPath(std::string_view absolute);

std::string TempFolder();
// Copies, replacing the destination; the copy is made writable for the user.
bool CopyFileReplacing(const std::string& source, const std::string& dest);
// Copies source into folder unless it is already there; returns the path in folder.
std::string CopyIntoFolder(const std::string& source, const std::string& folder);

// Text before the first '_' as a decimal integer, -1 without '_'.
// Throws std::invalid_argument when that text is not a number.
int LeadingNumber(std::string_view text);
// Items closed by `sep`, reading after the first `start` (from the beginning
// when start is ' ' or absent); text after the last separator is dropped.
std::vector<std::string> Split(std::string_view text, char start, char sep);

// File names in folder matching mask ("*.*" when empty), without extension
// unless keepExt; sorted by name so listings are the same on every run.
std::vector<std::string> ListFiles(const std::string& folder, std::string_view mask, bool keepExt);
void DeleteFiles(const std::string& folder);

// The order link key of a template file.
std::string OrderKey(std::string_view path);

// File name without folder, and without folder and extension.
std::string ExtractFileName(std::string_view path);
std::string ExtractFileStem(std::string_view path);

bool FileExists(const std::string& path);

} // namespace tessora
