#pragma once
// TPdfImage: a picture of StretchDraw as an image XObject, encoded once when first placed
// and written at the end of that page.
#include "pdf/PdfPicture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tessora {

class TPdfCanvas;

enum TPdfCompressMode { cpNone, cpZlib, cpJpeg };

class TPdfImage {
public:
    // Names the picture after the pictures already in the canvas's list, takes the depth from
    // the pixel format and encodes it by the owner's ImageCompressMode and JpegQuality.
    // The canvas appends it to its list.
    TPdfImage(TPdfCanvas& canvas, const TPdfPicture& picture);

    // Writes the XObject (once) and empties the encoded data.
    void Write();

    const std::string& Name() const { return FName; }
    uint64_t Key() const { return FKey; }
    int PixelWidth() const { return FWidth; }
    int PixelHeight() const { return FHeight; }
    int BitsPerComponent() const { return FBits; }
    TPdfCompressMode Encoding() const { return FEncoding; }
    const std::string& EncodedData() const { return FData; }
    int ObjectNumber() const { return FObject; }
    bool Written() const { return FWritten; }

private:
    TPdfCanvas& FCanvas;
    std::string FName;
    uint64_t FKey = 0;
    int FWidth = 0, FHeight = 0, FBits = 8;
    TPdfCompressMode FEncoding = cpJpeg;
    std::string FData; // ASCII85 text of the (compressed) samples
    int FObject = 0;
    bool FWritten = false;
};

// Bits per component for a pixel format: 1, 2, 4 or 8.
int PdfBitsPerComponent(TPixelFormat format);
// The sample rows of a PDF image (top to bottom, packed MSB first, each row padded to a byte).
std::vector<uint8_t> PdfSampleRows(const TPdfPicture& picture, int bits);
// Bytes of one sample row.
size_t PdfSampleRowBytes(int width, int bits);

} // namespace tessora
