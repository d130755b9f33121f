#include "sheetview/uSheet.h"

#include "document/uCommon.h"
#include "platform/uPictureIO.h"
#include "platform/uStatus.h"
#include "platform/uText.h"

namespace tessora {

TSheet::TSheet() {
    Pictures = this;
    Vector = this;
    Gui = TGuiSettings::Load();
    MakeOffIcon();
}

TSheet::~TSheet() { ClearSheet(); }

int TSheet::FindOrLoad(const std::string& fileName) {
    if (fileName.empty() || !FileExists(fileName)) return -1;
    for (size_t i = 0; i < ImageCache.size(); ++i) {
        Status().SetLine2("Label #" + std::to_string(i + 1) + " background loading");
        if (ImageCache[i]->FileName == fileName) return int(i);
    }
    auto bg = std::make_unique<TLabelBG>();
    bg->FileName = fileName;
    bg->Picture = ReadPicture(Q(fileName));
    if (bg->Picture.isNull()) return -1;
    ImageCache.push_back(std::move(bg));
    return int(ImageCache.size()) - 1;
}

std::string TSheet::FileNameOf(int index) const {
    if (index < 0 || size_t(index) >= ImageCache.size()) return {};
    return ImageCache[size_t(index)]->FileName;
}

bool TSheet::LoadVectorPicture(const std::string& fileName) {
    if (!VectorPicture.Load(Q(fileName))) return false;
    BuildVectorMasks();
    return true;
}

TLabelBG* TSheet::ImageCacheEntry(const TLabelImage& image) {
    if (image.BGIndex < 0 || size_t(image.BGIndex) >= ImageCache.size()) return nullptr;
    return ImageCache[size_t(image.BGIndex)].get();
}

} // namespace tessora
