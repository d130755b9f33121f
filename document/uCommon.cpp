#include "document/uCommon.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fnmatch.h>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessora {

int RoundHalfEven(double v) { return int(std::nearbyint(v)); }

double UnitFactor(int units) { return units == 1 ? 25.4 : 1.0; }

int FileKind(std::string_view fileName) {
    const auto dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return -1;
    std::string ext(fileName.substr(dot));
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    for (size_t i = 0; i < kFileExt.size(); ++i)
        if (ext == kFileExt[i]) return int(i);
    return -1;
}

namespace {
std::string gProgramFolder = "/";

std::string Slashes(std::string_view s, char from, char to) {
    std::string r(s);
    std::replace(r.begin(), r.end(), from, to);
    return r;
}

bool IsBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}
} // namespace

void SetProgramFolder(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    if (folder.empty() || folder.back() != '/') folder += '/';
    gProgramFolder = std::move(folder);
}

const std::string& ProgramFolder() { return gProgramFolder; }

std::string ProgramFolderPath(std::string_view name) { return gProgramFolder + std::string(name); }

std::string ProgramSubfolder(std::string_view name) {
    std::string p = ProgramFolderPath(name);
    std::error_code ec;
    if (!fs::is_directory(p, ec)) fs::create_directory(p, ec);
    return p;
}

std::string ToAbsolutePath(std::string_view stored) {
    if (IsBlank(stored) || stored.find(":\\") != std::string_view::npos) return std::string(stored);
    if (stored.front() == '\\') return gProgramFolder + Slashes(stored.substr(1), '\\', '/');
    return "/" + Slashes(stored, '\\', '/');
}

std::string ToStoredPath(std::string_view absolute) {
    if (IsBlank(absolute)) return std::string(absolute);
    if (absolute.substr(0, gProgramFolder.size()) == gProgramFolder)
        return "\\" + Slashes(absolute.substr(gProgramFolder.size()), '/', '\\');
    if (absolute.front() == '/') return Slashes(absolute.substr(1), '/', '\\');
    return std::string(absolute);
}

std::string TempFolder() {
    std::error_code ec;
    auto p = fs::temp_directory_path(ec);
    std::string s = ec ? std::string("/tmp") : p.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

bool CopyFileReplacing(const std::string& source, const std::string& dest) {
    std::error_code ec;
    fs::copy_file(source, dest, fs::copy_options::overwrite_existing, ec);
    if (ec) return false;
    fs::permissions(dest, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    return true;
}

std::string CopyIntoFolder(const std::string& source, const std::string& folder) {
    std::string f = folder;
    if (!f.empty() && f.back() == '/') f.pop_back();
    std::string dest = f + "/" + ExtractFileName(source);
    if (dest != source) CopyFileReplacing(source, dest);
    return dest;
}

int LeadingNumber(std::string_view text) {
    const auto us = text.find('_');
    if (us == std::string_view::npos) return -1;
    std::string head(text.substr(0, us));
    size_t used = 0;
    int v = 0;
    try {
        v = std::stoi(head, &used, 10);
    } catch (const std::exception&) {
        throw std::invalid_argument("'" + head + "' is not a valid integer value");
    }
    if (used != head.size() || std::isspace((unsigned char)head[0]))
        throw std::invalid_argument("'" + head + "' is not a valid integer value");
    return v;
}

std::vector<std::string> Split(std::string_view text, char start, char sep) {
    std::vector<std::string> items;
    size_t i = 0;
    if (start != ' ') {
        const auto p = text.find(start);
        if (p != std::string_view::npos) i = p + 1;
    }
    std::string cur;
    for (; i < text.size(); ++i) {
        if (text[i] == sep) {
            items.push_back(cur);
            cur.clear();
        } else {
            cur += text[i];
        }
    }
    return items;
}

std::vector<std::string> ListFiles(const std::string& folder, std::string_view mask, bool keepExt) {
    std::vector<std::string> names;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return names;
    std::string m = mask.empty() ? std::string("*.*") : std::string(mask);
    // "*.*" means every file, also one without a dot.
    const bool all = m == "*.*" || m == "*";
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        std::string name = it->path().filename().string();
        if (!all && fnmatch(m.c_str(), name.c_str(), FNM_CASEFOLD) != 0) continue;
        names.push_back(keepExt ? name : ExtractFileStem(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void DeleteFiles(const std::string& folder) {
    for (const auto& n : ListFiles(folder, "*.*", true)) {
        std::error_code ec;
        fs::remove(fs::path(folder) / n, ec);
    }
}

std::string OrderKey(std::string_view path) {
    std::string s = ExtractFileStem(path);
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    auto eraseAll = [&s](std::string_view what, size_t offset) {
        for (size_t p; (p = s.find(what)) != std::string::npos;) s.erase(p + offset, 1);
    };
    eraseAll("#", 0);
    eraseAll(" .", 0);
    eraseAll("&", 0);
    std::replace(s.begin(), s.end(), ' ', '_');
    std::replace(s.begin(), s.end(), '-', '_');
    eraseAll("__", 0);
    return s;
}

std::string ExtractFileName(std::string_view path) {
    const auto p = path.find_last_of('/');
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ExtractFileStem(std::string_view path) {
    std::string n = ExtractFileName(path);
    const auto dot = n.rfind('.');
    if (dot != std::string::npos) n.erase(dot);
    return n;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

} // namespace tessora
