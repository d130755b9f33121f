#pragma once
#include <QImage>
#include <memory>
#include <string>
#include <vector>

namespace tessora {

// One picture of the sheet's cache, shared by every image that names its file.
struct TLabelBG {
    std::string FileName; // absolute; the key
    QImage Picture;       // as loaded
    QImage Scaled;        // resampled to the size it was last drawn at
};

using TImageCache = std::vector<std::unique_ptr<TLabelBG>>;

} // namespace tessora
