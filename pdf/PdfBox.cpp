// TPdfBox: document settings, the document's objects, cross-reference table and trailer.
#include "pdf/PdfBox.h"

#include "pdf/PdfFormat.h"
#include "pdf/PdfOutput.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tessora {

const std::array<TPdfPaperSize, 42> kPdfPaperSizes = {{
    {"Custom", 0, 0},
    {"Letter", 2159, 2794},
    {"LetterSmall", 2159, 2794},
    {"Tabloid", 2794, 4318},
    {"Ledger", 4318, 2794},
    {"Legal", 2159, 3556},
    {"Statement", 1270, 2159},
    {"Executive", 1842, 2667},
    {"A3", 2970, 4200},
    {"A4", 2100, 2970},
    {"A4 Small", 2100, 2970},
    {"A5", 1480, 2100},
    {"B4", 2500, 3540},
    {"B5", 1820, 2570},
    {"Folio", 2159, 3302},
    {"Quarto", 2150, 2750},
    {"10 x 14 in", 2540, 3556},
    {"11 x 17 in", 2794, 4318},
    {"Note", 2159, 2794},
    {"Envelope #9", 984, 2254},
    {"Envelope #10", 1048, 2413},
    {"Envelope #11", 1043, 2635},
    {"Envelope #12", 1207, 2794},
    {"Envelope #14", 1270, 2921},
    {"C size sheet", 4318, 5588},
    {"D size sheet", 5588, 8636},
    {"E size sheet", 8636, 11176},
    {"DL", 1100, 2200},
    {"C5", 1620, 2290},
    {"C3", 3240, 4580},
    {"C4", 2290, 3240},
    {"C6", 1140, 1620},
    {"C65", 1140, 2290},
    {"B4", 2500, 3530},
    {"B5", 1760, 2500},
    {"B6", 1760, 1250},
    {"Envelope Italy", 1100, 2300},
    {"Monarch", 984, 1905},
    {"Envelope Personal", 921, 1651},
    {"US Standard Fanfold", 3778, 2794},
    {"German Standard Fanfold", 2159, 3048},
    {"German Legal Fanfold", 2159, 3302},
}};

namespace {

// System colours (0x00RRGGBB as written here) used when no ResolveSystemColor hook is set:
// the classic defaults, indexed like the system's colour numbers.
constexpr uint32_t kSystemColorsRGB[31] = {
    0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
    0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x3399FF, 0xFFFFFF, 0xF0F0F0,
    0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
    0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x3399FF, 0xF0F0F0};

std::string Upper(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return r;
}

std::string ObjectLine(int n) {
    return PdfInt(n) + " 0 obj";
}
std::string Reference(int n) {
    return PdfInt(n) + " 0 R";
}

} // namespace

int PdfLocalePaperSize() {
    if (locale_t loc = newlocale(LC_PAPER_MASK, "", locale_t(nullptr))) {
        // The paper items are numbers handed back in the place of the string pointer.
        union {
            const char* String;
            unsigned Word;
        } h, w;
        h.String = nl_langinfo_l(_NL_PAPER_HEIGHT, loc);
        w.String = nl_langinfo_l(_NL_PAPER_WIDTH, loc);
        freelocale(loc);
        if (h.Word > 0 && w.Word > 0) return w.Word == 216 && h.Word == 279 ? 1 : 9;
    }
    if (locale_t loc = newlocale(LC_MEASUREMENT_MASK, "", locale_t(nullptr))) {
        const char* m = nl_langinfo_l(_NL_MEASUREMENT_MEASUREMENT, loc);
        const int system = m ? m[0] : 0;
        freelocale(loc);
        if (system == 2) return 1; // imperial
    }
    return 9;
}

std::string PdfProgramDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    fs::path dir = ec ? fs::current_path(ec) : exe.parent_path();
    std::string s = dir.string();
    if (s.empty() || s.back() != '/') s += '/';
    return s;
}

// ---- Settings ---------------------------------------------------------------------------------

TPdfBox::TPdfBox() : FCanvas(std::make_unique<TPdfCanvas>(*this)) {
    SetFactors();
    SetPaperSize(PdfLocalePaperSize());
}

TPdfBox::~TPdfBox() {
    if (FOpened) {
        try {
            Abort();
        } catch (...) {
        }
    }
}

void TPdfBox::Fail(std::string_view text, std::string_view detail) {
    const std::string t(text), d(detail); // the views may point into what Abort clears
    try {
        Abort();
    } catch (...) {
    }
    throw EPdfError(t, d);
}

void TPdfBox::CheckClosed(const char* detail) {
    if (FOpened) Fail(pdfmsg::CantModify, detail);
}

void TPdfBox::SetFactors() {
    if (FLengthUnit == luTenth) {
        FUnitToPoints = 72.0 / 254.0;
        FPixelToUnit = 254.0 / TPdfCanvas::kDpi;
        FTenthToUnit = 1.0;
    } else {
        FUnitToPoints = 1.0;
        FPixelToUnit = 72.0 / TPdfCanvas::kDpi;
        FTenthToUnit = 72.0 / 254.0;
    }
}

void TPdfBox::SetAuthor(const std::string& v) {
    CheckClosed("Author");
    FAuthor = v;
}

void TPdfBox::SetFileName(const std::string& v) {
    CheckClosed("FileName");
    FFileName = v;
}

void TPdfBox::SetKeywords(const std::string& v) {
    CheckClosed("Keywords");
    FKeywords = v;
}

void TPdfBox::SetProducer(const std::string& v) {
    CheckClosed("Producer");
    FProducer = v;
}

void TPdfBox::SetSubject(const std::string& v) {
    CheckClosed("Subject");
    FSubject = v;
}

void TPdfBox::SetTitle(const std::string& v) {
    CheckClosed("Title");
    FTitle = v;
}

void TPdfBox::SetJpegQuality(int v) {
    if (v < 1 || v > 100) Fail(pdfmsg::InvalidValueForProperty, "JpegQuality");
    FJpegQuality = v;
}

void TPdfBox::SetLengthUnit(TLengthUnit v) {
    CheckClosed("LengthUnit");
    const TLengthUnit old = FLengthUnit;
    FLengthUnit = v;
    SetFactors();
    if (old == v) return;
    const double k = v == luPoint ? 72.0 / 254.0 : 254.0 / 72.0;
    FPageWidth = PdfRound(FPageWidth * k);
    FPageHeight = PdfRound(FPageHeight * k);
}

void TPdfBox::SetOrientation(TPrinterOrientation v) {
    CheckClosed("Orientation (use NewSection method)");
    if (v != FOrientation) std::swap(FPageWidth, FPageHeight);
    FOrientation = v;
}

void TPdfBox::SetPageHeight(int v) {
    CheckClosed("PageHeight (use NewSection method)");
    FPageHeight = v;
    FPaperSizeName = "Custom";
}

void TPdfBox::SetPageWidth(int v) {
    CheckClosed("PageWidth (use NewSection method)");
    FPageWidth = v;
    FPaperSizeName = "Custom";
}

void TPdfBox::SetPaperSize(int index) {
    CheckClosed("PaperSize (use NewSection method)");
    if (index < 0 || index > 41) Fail(pdfmsg::InvalidPropertyValue, "PaperSize");
    const TPdfPaperSize& row = kPdfPaperSizes[size_t(index)];
    FPaperSizeName = row.Name;
    const int w = PdfRound(row.Width * FTenthToUnit), h = PdfRound(row.Height * FTenthToUnit);
    FPageWidth = FOrientation == poLandscape ? h : w;
    FPageHeight = FOrientation == poLandscape ? w : h;
}

void TPdfBox::SetPaperSizeName(const std::string& v) {
    CheckClosed("PaperSizeName (use NewSection method)");
    const std::string name = Upper(v);
    for (int i = 1; i <= 41; ++i)
        if (Upper(kPdfPaperSizes[size_t(i)].Name) == name) {
            SetPaperSize(i);
            return;
        }
    Fail(pdfmsg::InvalidPropertyValue, "PaperSizeName");
}

uint32_t TPdfBox::ColorToRGB(uint32_t color) const {
    if ((color >> 24) == 0xFF) {
        const int index = int(color & 0xFF);
        if (ResolveSystemColor) return ResolveSystemColor(index) & 0xFFFFFF;
        const uint32_t rgb = index < 31 ? kSystemColorsRGB[index] : 0;
        return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    }
    return color & 0xFFFFFF;
}

// ---- Object output ----------------------------------------------------------------------------

void TPdfBox::WriteLine(std::string_view line) {
    FOut->WriteLine(line);
}

int TPdfBox::BeginObject() {
    const int n = int(FOffsets.size()) + 1;
    FOffsets.push_back(FOut->Position());
    WriteLine(ObjectLine(n));
    WriteLine("<<");
    return n;
}

int TPdfBox::ReserveObject() {
    FOffsets.push_back(0);
    return int(FOffsets.size());
}

void TPdfBox::BeginReservedObject(int n) {
    FOffsets[size_t(n) - 1] = FOut->Position();
    WriteLine(ObjectLine(n));
    WriteLine("<<");
}

void TPdfBox::EndObject() {
    WriteLine(">>");
    WriteLine("endobj");
}

void TPdfBox::WriteStream(const void* data, size_t size, bool closingLineFeed) {
    WriteLine(">>");
    WriteLine("stream");
    FOut->Write(data, size);
    if (closingLineFeed) FOut->Write("\n", 1);
    WriteLine("endstream");
    WriteLine("endobj");
}

// ---- Document ---------------------------------------------------------------------------------

void TPdfBox::BeginDoc() {
    if (FOpened) Fail(pdfmsg::AlreadyOpen);
    if (FPageHeight == 0) Fail(pdfmsg::InvalidPropertyValue, "PageHeight");
    if (FPageWidth == 0) Fail(pdfmsg::InvalidPropertyValue, "PageWidth");
    FAborted = false;

    std::string name = FFileName.empty() ? std::string("File.pdf") : FFileName;
    if (name.find('/') == std::string::npos) name = PdfProgramDirectory() + name;

    // The document is written beside the file and renamed over it at EndDoc, so a failed or
    // aborted document leaves the old file as it was. The old file must be replaceable.
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(name, ec);
    if (fs::exists(st)) {
        fs::path dir = fs::path(name).parent_path();
        if (dir.empty()) dir = ".";
        if (fs::is_directory(st) || ::access(dir.c_str(), W_OK | X_OK) != 0) Fail(pdfmsg::FileLocked, name);
    }
    const std::string temp = name + ".tmp";
    auto out = std::make_unique<TPdfOutput>();
    if (!out->Open(temp)) Fail(pdfmsg::CantOpenFile, name);
    FOut = std::move(out);
    FFullFileName = name;
    FTempFileName = temp;
    FOpened = true;
    FSavedOrientation = FOrientation;

    const auto now = std::chrono::system_clock::now();
    const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count();
    const std::time_t seconds = std::time_t(ms / 1000);
    std::tm local{};
    localtime_r(&seconds, &local);
    FIdentifier = PdfFileIdentifier(PdfDateTimeValue(local, int(ms % 1000)), name);

    try {
        WriteLine("%PDF-1.3");
        BeginObject(); // 1: Info
        WriteLine("/CreationDate" + EncodeText(PdfDateText(local)));
        WriteLine("/Title" + EncodeText(FTitle));
        if (!FAuthor.empty()) WriteLine("/Author" + EncodeText(FAuthor));
        if (!FSubject.empty()) WriteLine("/Subject" + EncodeText(FSubject));
        if (!FKeywords.empty()) WriteLine("/Keywords" + EncodeText(FKeywords));
        WriteLine("/Producer" + EncodeText(FProducer.empty() ? std::string(kBanner) : FProducer));
        EndObject();
        ReserveObject(); // 2: page tree
        ReserveObject(); // 3: shared resources
    } catch (const TPdfWriteFailure&) {
        Fail(pdfmsg::WriteError);
    }
    FPageCount = 0;
    if (OnStart) OnStart(*this);
    NewPageStep();
}

void TPdfBox::NewPage() {
    if (FAborted) return;
    if (!FOpened) Fail(pdfmsg::NotOpened);
    NewPageStep();
}

void TPdfBox::NewPageStep() {
    if (FAborted) return;
    if (FPageCount > 0) {
        try {
            FCanvas->FinishPage();
        } catch (const TPdfWriteFailure&) {
            Fail(pdfmsg::WriteError);
        }
    }
    FCanvas->BeginPage();
}

void TPdfBox::EndDoc() {
    if (!FOpened) return;
    try {
        FCanvas->FinishPage();

        const int catalog = BeginObject();
        WriteLine("/Type/Catalog");
        WriteLine("/Pages 2 0 R");
        EndObject();

        BeginReservedObject(2);
        WriteLine("/Type/Pages");
        WriteLine("/Kids[");
        for (int page : FPages)
            WriteLine(Reference(page));
        WriteLine("]");
        WriteLine("/Count " + PdfInt(FPageCount));
        WriteLine("/Resources 3 0 R");
        EndObject();

        BeginReservedObject(3);
        WriteLine("/ProcSet[/PDF/Text/ImageC]");
        WriteLine("/Font<<");
        WriteLine(">>");
        const TPdfCanvas& canvas = *FCanvas;
        if (canvas.PictureCount() > 0) {
            WriteLine("/XObject <<");
            for (int i = 0; i < canvas.PictureCount(); ++i) {
                const TPdfImage& image = canvas.Picture(i);
                WriteLine("/" + image.Name() + " " + Reference(image.ObjectNumber()));
            }
            WriteLine(" >>");
        }
        EndObject();

        const int64_t xref = FOut->Position();
        const std::string size = PdfInt(int64_t(FOffsets.size()) + 1);
        WriteLine("xref");
        WriteLine("0 " + size);
        WriteLine("0000000000 65535 f\r");
        for (int64_t offset : FOffsets) {
            char line[32];
            std::snprintf(line, sizeof line, "%010lld 00000 n\r", static_cast<long long>(offset));
            WriteLine(line);
        }
        WriteLine("trailer");
        WriteLine("<<");
        WriteLine("/Size " + size);
        WriteLine("/Root " + Reference(catalog));
        WriteLine("/Info 1 0 R");
        WriteLine("/ID[(" + FIdentifier + ")(" + FIdentifier + ")]");
        WriteLine(">>");
        WriteLine("startxref");
        WriteLine(PdfInt(xref));
        WriteLine("%%EOF");
        FOut->Close();
    } catch (const TPdfWriteFailure&) {
        Fail(pdfmsg::WriteError);
    }
    FOut.reset();
    if (std::rename(FTempFileName.c_str(), FFullFileName.c_str()) != 0)
        Fail(pdfmsg::FileLocked, FFullFileName);

    try {
        if (OnEnd) OnEnd(*this);
    } catch (...) {
        ResetDocument();
        throw;
    }
    ResetDocument();
    if (FWantShow) {
        std::error_code ec;
        if (!fs::exists(FFullFileName, ec)) Fail(pdfmsg::FileNotFound, FFullFileName);
        if (ShellOpen) ShellOpen(FFullFileName);
    }
}

void TPdfBox::Abort() {
    if (!FOpened) return;
    FOut.reset(); // closes the file without writing the rest
    RemoveTempFile();
    FAborted = true;
    try {
        if (OnAbort) OnAbort(*this);
    } catch (...) {
        ResetDocument();
        throw;
    }
    ResetDocument();
}

void TPdfBox::RemoveTempFile() {
    if (!FTempFileName.empty()) ::unlink(FTempFileName.c_str());
}

// Steps 8 and 9 of EndDoc, also the end of Abort.
void TPdfBox::ResetDocument() {
    FOpened = false;
    FOut.reset();
    FCanvas->Reset();
    FOffsets.clear();
    FPages.clear();
    FOrientation = FSavedOrientation;
}

} // namespace tessora
