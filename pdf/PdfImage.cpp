// TPdfImage: sample depth, encoding (none, zlib, JPEG) and the image XObject.
#include "pdf/PdfImage.h"

#include "pdf/PdfBox.h"
#include "pdf/PdfCompress.h"
#include "pdf/PdfFormat.h"
#include "pdf/PdfJpeg.h"

#include <algorithm>
#include <atomic>

namespace tessora {

uint64_t NewPdfPictureId() {
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(1, std::memory_order_relaxed);
}

TPdfBitmap::TPdfBitmap(int width, int height, TPixelFormat format, uint32_t fill)
    : FWidth(std::max(width, 0)), FHeight(std::max(height, 0)), FFormat(format), FId(NewPdfPictureId()),
      Pixels(size_t(FWidth) * size_t(FHeight), fill) {}

TPdfBitmap::TPdfBitmap(const TPdfBitmap& other)
    : FWidth(other.FWidth), FHeight(other.FHeight), FFormat(other.FFormat), FId(NewPdfPictureId()),
      Pixels(other.Pixels) {}

TPdfBitmap& TPdfBitmap::operator=(const TPdfBitmap& other) {
    if (this != &other) {
        FWidth = other.FWidth;
        FHeight = other.FHeight;
        FFormat = other.FFormat;
        Pixels = other.Pixels;
        FId = NewPdfPictureId();
    }
    return *this;
}

int PdfBitsPerComponent(TPixelFormat format) {
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 2;
    case pf8bit:
        return 4;
    default:
        return 8;
    }
}

size_t PdfSampleRowBytes(int width, int bits) {
    const size_t w = size_t(std::max(width, 0));
    if (bits == 1) return (w + 7) / 8;
    return (w * 3 * size_t(bits) + 7) / 8;
}

namespace {

// Calls sink(bytes, count) with each sample row, top to bottom.
template <class TSink> void ForEachSampleRow(const TPdfPicture& picture, int bits, TSink&& sink) {
    const int width = std::max(picture.Width(), 0), height = std::max(picture.Height(), 0);
    std::vector<uint32_t> buffer(size_t(width) + 1);
    std::vector<uint8_t> row(PdfSampleRowBytes(width, bits) + 1);
    const size_t rowBytes = PdfSampleRowBytes(width, bits);
    for (int y = 0; y < height; ++y) {
        const uint32_t* px = picture.ScanLine(y, buffer.data());
        uint8_t* out = row.data();
        if (bits == 8) {
            for (int x = 0; x < width; ++x, out += 3) {
                const uint32_t c = px[x];
                out[0] = uint8_t(c >> 16);
                out[1] = uint8_t(c >> 8);
                out[2] = uint8_t(c);
            }
        } else if (bits == 1) {
            // Only pure black gives 0.
            unsigned acc = 0;
            int n = 0;
            for (int x = 0; x < width; ++x) {
                acc = (acc << 1) | ((px[x] & 0xFFFFFF) != 0 ? 1u : 0u);
                if (++n == 8) {
                    *out++ = uint8_t(acc);
                    acc = 0;
                    n = 0;
                }
            }
            if (n > 0) *out++ = uint8_t(acc << (8 - n));
        } else {
            // Red, green, blue, each cut to its top bits, packed across the row.
            const int drop = 8 - bits;
            unsigned acc = 0;
            int n = 0;
            for (int x = 0; x < width; ++x) {
                const uint32_t c = px[x];
                const unsigned rgb[3] = {(c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF};
                for (unsigned v : rgb) {
                    acc = (acc << bits) | (v >> drop);
                    n += bits;
                    if (n == 8) {
                        *out++ = uint8_t(acc);
                        acc = 0;
                        n = 0;
                    }
                }
            }
            if (n > 0) *out++ = uint8_t(acc << (8 - n));
        }
        sink(row.data(), rowBytes);
    }
}

} // namespace

std::vector<uint8_t> PdfSampleRows(const TPdfPicture& picture, int bits) {
    std::vector<uint8_t> bytes;
    const int width = std::max(picture.Width(), 0), height = std::max(picture.Height(), 0);
    bytes.reserve(PdfSampleRowBytes(width, bits) * size_t(height));
    ForEachSampleRow(picture, bits, [&](const uint8_t* p, size_t n) { bytes.insert(bytes.end(), p, p + n); });
    return bytes;
}

TPdfImage::TPdfImage(TPdfCanvas& canvas, const TPdfPicture& picture) : FCanvas(canvas) {
    FName = "Im" + PdfInt(canvas.PictureCount());
    FKey = picture.Identity();
    FBits = PdfBitsPerComponent(picture.PixelFormat());
    FWidth = std::max(picture.Width(), 0);
    FHeight = std::max(picture.Height(), 0);

    const TPdfBox& box = canvas.Owner();
    const TPdfCompressMode mode = box.ImageCompressMode();
    FEncoding = FBits != 8 && mode != cpNone ? cpZlib : mode;

    std::vector<uint8_t> bytes;
    if (FEncoding == cpJpeg && !JpegEncode(picture, box.JpegQuality(), bytes)) FEncoding = cpZlib;
    if (FEncoding == cpNone) {
        bytes = PdfSampleRows(picture, FBits);
    } else if (FEncoding == cpZlib) {
        bytes.clear();
        TCompressionStream z(TCompressionLevel::clDefault, bytes);
        ForEachSampleRow(picture, FBits, [&](const uint8_t* p, size_t n) { z.Write(p, n); });
        z.Finish();
    }
    FData.reserve(bytes.size() / 4 * 5 + 8);
    ASCII85Encode(bytes.data(), bytes.size(), FData);
}

void TPdfImage::Write() {
    if (FWritten) return;
    TPdfBox& box = FCanvas.Owner();
    FObject = box.BeginObject();
    box.WriteLine("/Type/XObject");
    box.WriteLine("/Subtype/Image");
    box.WriteLine("/Width " + PdfInt(FWidth));
    box.WriteLine("/Height " + PdfInt(FHeight));
    box.WriteLine(FBits == 1 ? "/ColorSpace/DeviceGray" : "/ColorSpace/DeviceRGB");
    box.WriteLine("/BitsPerComponent " + PdfInt(FBits));
    box.WriteLine("/Length " + PdfInt(int64_t(FData.size())));
    box.WriteLine(FEncoding == cpNone   ? "/Filter[/ASCII85Decode]"
                  : FEncoding == cpZlib ? "/Filter[/ASCII85Decode/FlateDecode]"
                                        : "/Filter[/ASCII85Decode/DCTDecode]");
    box.WriteStream(FData.data(), FData.size(), true);
    FData.clear();
    FData.shrink_to_fit();
    FWritten = true;
}

} // namespace tessora
