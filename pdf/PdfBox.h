#pragma once
// TPdfBox: writes a PDF 1.3 file in one forward pass while the caller draws pages on its Canvas.
//
//   TPdfBox pdf;
//   pdf.SetFileName("/path/sheet.pdf");
//   pdf.BeginDoc();
//   pdf.Canvas().StretchDraw({100, 200, 625, 550}, &picture);
//   pdf.EndDoc();
//
// Every error aborts the open document first, then raises EPdfError with the fixed text.
#include "pdf/PdfCanvas.h"
#include "pdf/PdfError.h"
#include "pdf/PdfImage.h"
#include "pdf/PdfPicture.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

enum TLengthUnit { luTenth, luPoint };
enum TPrinterOrientation { poPortrait, poLandscape };

struct TPdfPaperSize {
    const char* Name;
    int Width, Height; // tenths of a millimetre
};
// Indexed by the system's printer paper numbers (1 Letter, 9 A4, ...).
extern const std::array<TPdfPaperSize, 42> kPdfPaperSizes;

class TPdfOutput;

class TPdfBox {
public:
    TPdfBox();
    // Aborts an open document.
    ~TPdfBox();
    TPdfBox(const TPdfBox&) = delete;
    TPdfBox& operator=(const TPdfBox&) = delete;

    // Document settings. Setters marked "closed" refuse while a document is open
    // ("Can't modify property when opened").
    const std::string& Author() const { return FAuthor; }
    void SetAuthor(const std::string& v); // closed
    const std::string& FileName() const { return FFileName; }
    void SetFileName(const std::string& v); // closed
    TPdfCompressMode ImageCompressMode() const { return FImageCompressMode; }
    void SetImageCompressMode(TPdfCompressMode v) { FImageCompressMode = v; }
    int JpegQuality() const { return FJpegQuality; }
    void SetJpegQuality(int v); // 1..100
    const std::string& Keywords() const { return FKeywords; }
    void SetKeywords(const std::string& v); // closed
    TLengthUnit LengthUnit() const { return FLengthUnit; }
    void SetLengthUnit(TLengthUnit v); // closed; converts the page size
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation v); // closed; swaps width and height
    int PageHeight() const { return FPageHeight; }
    void SetPageHeight(int v); // closed; PaperSizeName becomes "Custom"
    int PageWidth() const { return FPageWidth; }
    void SetPageWidth(int v); // closed; PaperSizeName becomes "Custom"
    const std::string& PaperSizeName() const { return FPaperSizeName; }
    void SetPaperSizeName(const std::string& v); // closed; rows 1..41, case-insensitive
    void SetPaperSize(int index);                // closed; 0..41
    const std::string& Producer() const { return FProducer; }
    void SetProducer(const std::string& v); // closed
    bool SmartStretchDraw() const { return FSmartStretchDraw; }
    void SetSmartStretchDraw(bool v) { FSmartStretchDraw = v; }
    const std::string& Subject() const { return FSubject; }
    void SetSubject(const std::string& v); // closed
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& v); // closed
    bool WantShow() const { return FWantShow; }
    void SetWantShow(bool v) { FWantShow = v; }

    TPdfCanvas& Canvas() { return *FCanvas; }
    int PageCount() const { return FPageCount; }
    bool Opened() const { return FOpened; }
    bool Aborted() const { return FAborted; }
    // The full name of the file of the open (or last) document.
    const std::string& FullFileName() const { return FFullFileName; }

    // Starts a document and its first page.
    void BeginDoc();
    // Finishes the current page and begins the next.
    void NewPage();
    // Finishes the last page and the document; with WantShow hands the file to ShellOpen.
    // Nothing when no document is open.
    void EndDoc();
    // Discards the open document; nothing when none is open.
    void Abort();

    // Events: Sender is the box, for OnNewPage the canvas.
    std::function<void(TPdfBox&)> OnStart, OnEnd, OnAbort;
    std::function<void(TPdfCanvas&)> OnNewPage;

    // Platform hooks: the shell's "open" of the finished file (WantShow), processing pending
    // window messages when a page begins, and system colours (index 0..30) as 0x00BBGGRR.
    std::function<void(const std::string& fileName)> ShellOpen;
    std::function<void()> ProcessMessages;
    std::function<uint32_t(int index)> ResolveSystemColor;

    // The three factors of the length unit.
    double UnitToPoints() const { return FUnitToPoints; }
    double PixelToUnit() const { return FPixelToUnit; }
    double TenthToUnit() const { return FTenthToUnit; }

    // The Producer written when Producer is empty.
    static constexpr const char* kBanner = "Tessora TPdfBox 2.1";

private:
    friend class TPdfCanvas;
    friend class TPdfImage;

    // Every error: aborts the open document (swallowing its errors), then throws EPdfError.
    [[noreturn]] void Fail(std::string_view text, std::string_view detail = {});

    void CheckClosed(const char* detail);
    void SetFactors();
    void NewPageStep();
    void ResetDocument();
    void RemoveTempFile();

    // Object output.
    int BeginObject(); // "n 0 obj" and "<<"
    int ReserveObject();
    void BeginReservedObject(int n);
    void EndObject(); // ">>" and "endobj"
    void WriteLine(std::string_view line);
    void WriteStream(const void* data, size_t size, bool closingLineFeed);
    uint32_t ColorToRGB(uint32_t color) const;

    std::string FAuthor, FFileName, FKeywords, FPaperSizeName, FProducer, FSubject, FTitle;
    TPdfCompressMode FImageCompressMode = cpJpeg;
    int FJpegQuality = 90;
    TLengthUnit FLengthUnit = luTenth;
    TPrinterOrientation FOrientation = poPortrait;
    int FPageWidth = 0, FPageHeight = 0;
    bool FSmartStretchDraw = true;
    bool FWantShow = false;
    double FUnitToPoints = 0, FPixelToUnit = 0, FTenthToUnit = 0;

    std::unique_ptr<TPdfCanvas> FCanvas;
    bool FOpened = false, FAborted = false;
    std::unique_ptr<TPdfOutput> FOut;
    std::string FFullFileName, FTempFileName;
    std::vector<int64_t> FOffsets; // entry k - 1: offset of object k
    std::vector<int> FPages;       // page object numbers
    int FPageCount = 0;
    std::string FIdentifier;
    TPrinterOrientation FSavedOrientation = poPortrait;
};

// The paper number of the user's locale (LC_PAPER): 1 (Letter) when it says 216 x 279 mm,
// else 9 (A4); the measurement system when the paper cannot be read.
int PdfLocalePaperSize();
// The directory of the running program, with a trailing '/'.
std::string PdfProgramDirectory();

} // namespace tessora
