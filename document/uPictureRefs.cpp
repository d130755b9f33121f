#include "document/uPictureRefs.h"

#include "document/uBytes.h"
#include "document/uCodePage.h"
#include "document/uLabelFace.h"
#include "document/uLabelImage.h"
#include "document/uLabelText.h"
#include "document/uSheetHeader.h"

namespace tessora {

namespace {

constexpr size_t kLabelRecSize = 40;
constexpr size_t kVectorOffset = 89, kPathCap = 255;

// Walks the label records from `pos`; true when they end exactly at the end of the file.
bool WalkLabels(const std::vector<uint8_t>& f, size_t pos, int64_t labels, std::vector<std::string>& images) {
    const size_t size = f.size();
    auto has = [&](uint64_t n) { return n <= size - pos; };
    for (int64_t l = 0; l < labels; ++l) {
        if (!has(kLabelRecSize)) return false;
        const int32_t faces = bytes::Get<int32_t>(f.data() + pos, 0);
        pos += kLabelRecSize;
        if (faces < 0) return false;
        for (int32_t k = 0; k < faces; ++k) {
            if (!has(sizeof(TLabelFaceRec))) return false;
            const int32_t texts = bytes::Get<int32_t>(f.data() + pos, 0);
            const int32_t pics = bytes::Get<int32_t>(f.data() + pos, 4);
            pos += sizeof(TLabelFaceRec);
            if (texts < 0 || pics < 0) return false;
            const uint64_t textBytes = uint64_t(texts) * sizeof(TLabelTextRec);
            if (!has(textBytes)) return false;
            pos += size_t(textBytes);
            for (int32_t i = 0; i < pics; ++i) {
                if (!has(sizeof(TLabelImageRec))) return false;
                const std::string name = bytes::GetStr(f.data() + pos, 0, kPathCap);
                if (!name.empty()) images.push_back(AnsiToUtf8(name));
                pos += sizeof(TLabelImageRec);
            }
        }
    }
    return pos == size;
}

} // namespace

TPictureRefs ScanPictureRefs(const std::vector<uint8_t>& file, bool project) {
    TPictureRefs refs;
    if (file.size() < TSheetHeader::Size) return refs;
    refs.Vector = AnsiToUtf8(bytes::GetStr(file.data(), kVectorOffset, kPathCap));
    if (!project) return refs;
    const int32_t cols = bytes::Get<int32_t>(file.data(), 80);
    const int32_t rows = bytes::Get<int32_t>(file.data(), 84);
    if (cols <= 0 || rows <= 0) return refs;
    // Every label takes at least its own record, so a hostile count ends with the file.
    const int64_t labels = int64_t(cols) * rows;
    std::vector<std::string> current;
    if (file.size() >= TSheetHeader::Size + TProjectSettings::Size &&
        WalkLabels(file, TSheetHeader::Size + TProjectSettings::Size, labels, current)) {
        refs.Images = std::move(current);
        return refs;
    }
    std::vector<std::string> older;
    if (WalkLabels(file, TSheetHeader::Size, labels, older))
        refs.Images = std::move(older);
    else
        refs.Images = std::move(current); // what the current layout could read
    return refs;
}

std::string StoredFileName(std::string_view path) {
    const auto p = path.find_last_of("\\/");
    return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

bool IsBareName(std::string_view name) {
    if (name.empty() || name.front() == '.' || name.find("..") != std::string_view::npos) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
        // C1 controls, U+0080..U+009F, in UTF-8.
        if (c == 0xC2 && i + 1 < name.size() && static_cast<unsigned char>(name[i + 1]) <= 0x9F) return false;
    }
    return true;
}

} // namespace tessora
