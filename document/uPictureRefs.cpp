#include "document/uPictureRefs.h"

#include "document/uLabelFace.h"
#include "document/uLabelImage.h"
#include "document/uLabelText.h"
#include "document/uSheetHeader.h"
#include "document/uSheetLabel.h"

#include <algorithm>

namespace tessora {

namespace {

// One record of type R at `pos`, moving past it; false when the file ends first.
template <class R> bool Take(const std::vector<uint8_t>& f, size_t& pos, R& rec) {
    if (rec.size() > f.size() - pos) return false;
    std::copy_n(f.data() + pos, rec.size(), rec.begin());
    pos += rec.size();
    return true;
}

// Walks the label records from `pos`; true when they end exactly at the end of the file.
bool WalkLabels(const std::vector<uint8_t>& f, size_t pos, int64_t labels, std::vector<std::string>& images) {
    TSheetLabelRec lrec;
    TLabelFaceRec frec;
    TLabelImageRec irec;
    for (int64_t l = 0; l < labels; ++l) {
        if (!Take(f, pos, lrec)) return false;
        const int32_t faces = TSheetLabel::RecFaceCount(lrec);
        if (faces < 0) return false;
        for (int32_t k = 0; k < faces; ++k) {
            if (!Take(f, pos, frec)) return false;
            const int32_t texts = TLabelFace::RecTextCount(frec);
            const int32_t pics = TLabelFace::RecImageCount(frec);
            if (texts < 0 || pics < 0) return false;
            const uint64_t textBytes = uint64_t(texts) * sizeof(TLabelTextRec);
            if (textBytes > f.size() - pos) return false;
            pos += size_t(textBytes);
            for (int32_t i = 0; i < pics; ++i) {
                if (!Take(f, pos, irec)) return false;
                if (std::string name = TLabelImage::RecFileName(irec); !name.empty()) images.push_back(std::move(name));
            }
        }
    }
    return pos == f.size();
}

} // namespace

TPictureRefs ScanPictureRefs(const std::vector<uint8_t>& file, bool project) {
    TPictureRefs refs;
    if (file.size() < TSheetHeader::Size) return refs;
    TSheetHeader header;
    header.Decode(file.data());
    refs.Vector = header.VectorFile;
    if (!project || header.Columns <= 0 || header.Rows <= 0) return refs;
    // Every label takes at least its own record, so a hostile count ends with the file.
    const int64_t labels = int64_t(header.Columns) * header.Rows;
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
