#pragma once
// The pictures a template or project file names: the vector outline in its header and,
// in a project, the picture of every image object. Read straight from the records, so a
// file can be looked through before (or without) loading it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

struct TPictureRefs {
    std::string Vector;              // stored path form, UTF-8; empty when none
    std::vector<std::string> Images; // stored path forms in file order, repeats kept
};

// Header only unless `project`; a short or inconsistent file gives what could be read.
// Projects of the older layout (no settings record) are recognised by where their
// records end.
TPictureRefs ScanPictureRefs(const std::vector<uint8_t>& file, bool project);

// The last part of a stored or absolute path, after the last '\' or '/'.
std::string StoredFileName(std::string_view path);

// A name usable as a file inside a given folder and nowhere else: not empty, no '/',
// '\', control character or "..", not starting with '.'. UTF-8.
bool IsBareName(std::string_view name);

} // namespace tessora
