#pragma once
// The writer's view of a picture handed to StretchDraw: size, pixel format,
// rows of pixels and an identity. Adapters (QImage and others) live outside pdf/.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessora {

// Pixel format of the source bitmap; it chooses the sample depth of the PDF picture:
// pf1bit gives 1-bit grey, pf4bit 2-bit RGB, pf8bit 4-bit RGB, anything else 8-bit RGB.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// A number never handed out twice while the program runs (never 0), so a picture freed
// during a document is never taken for a later one.
uint64_t NewPdfPictureId();

class TPdfPicture {
public:
    virtual ~TPdfPicture() = default;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual TPixelFormat PixelFormat() const = 0;

    // Row y (0 = top) as Width() pixels in the 0xAARRGGBB layout of QRgb: colour channels not
    // premultiplied, alpha ignored. Either returns a pointer into the picture's own memory
    // (a QImage of Format_RGB32 or Format_ARGB32 can return its scan line) or fills `buffer`,
    // which holds Width() values, and returns it (indexed, grey and mono pictures).
    // The pointer must stay valid until the next call.
    virtual const uint32_t* ScanLine(int y, uint32_t* buffer) const = 0;

    // StretchDraw places a picture again, without encoding it again, when its identity
    // equals that of a picture already in the document; 0 is never matched.
    virtual uint64_t Identity() const = 0;
};

// A plain picture in memory: Width x Height pixels in the ScanLine layout, tagged with a
// pixel format. Each object takes a fresh identity.
class TPdfBitmap : public TPdfPicture {
public:
    TPdfBitmap(int width, int height, TPixelFormat format = pf24bit, uint32_t fill = 0xFFFFFFFF);
    // A copy is another picture: it takes its own identity.
    TPdfBitmap(const TPdfBitmap& other);
    TPdfBitmap& operator=(const TPdfBitmap& other);

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    TPixelFormat PixelFormat() const override { return FFormat; }
    const uint32_t* ScanLine(int y, uint32_t*) const override { return Pixels.data() + size_t(y) * FWidth; }
    uint64_t Identity() const override { return FId; }

    uint32_t& Pixel(int x, int y) { return Pixels[size_t(y) * FWidth + x]; }
    uint32_t* Row(int y) { return Pixels.data() + size_t(y) * FWidth; }

private:
    int FWidth, FHeight;
    TPixelFormat FFormat;
    uint64_t FId;
    std::vector<uint32_t> Pixels;
};

} // namespace tessora
