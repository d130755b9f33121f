#pragma once
// TSheet: the sheet document with its picture cache and vector outline picture.
#include "document/uSheetDocument.h"
#include "sheetview/uImageCache.h"

#include <QImage>

namespace tessora {

class TSheet : public TSheetDocument, public TPictureStore, public TVectorOutline {
public:
    TSheet();
    ~TSheet() override;

    TImageCache ImageCache;
    QImage VectorPicture;

    int FindOrLoad(const std::string& fileName) override;
    std::string FileNameOf(int index) const override;
    void ClearPictures() override { ImageCache.clear(); }
    bool LoadVectorPicture(const std::string& fileName) override;

    TLabelBG* ImageCacheEntry(const TLabelImage& image);
};

} // namespace tessora
