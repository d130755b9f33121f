#pragma once
#include <QImage>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessora {

// One picture of the sheet's cache, shared by every image that names its file.
struct TLabelBG {
    std::string FileName; // absolute; the key
    QImage Picture;       // as loaded
    QImage Scaled;        // resampled to the size it was last drawn at
    int ScaledTarget = -1;   // the output target Scaled was made for
    uint64_t ScaledPass = 0; // the drawing pass that made it
};

using TImageCache = std::vector<std::unique_ptr<TLabelBG>>;

} // namespace tessora
