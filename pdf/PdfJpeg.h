#pragma once
// Baseline JPEG of a picture in colour, through libjpeg-turbo.
#include "pdf/PdfPicture.h"

#include <cstdint>
#include <vector>

namespace tessora {

// Encodes the picture at quality 1..100 into out. A libjpeg failure (empty or oversized
// picture, no memory) returns false with out empty; it never ends the process.
// An exception of the picture's ScanLine passes through.
bool JpegEncode(const TPdfPicture& picture, int quality, std::vector<uint8_t>& out);

} // namespace tessora
