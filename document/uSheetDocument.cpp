#include "document/uSheetDocument.h"

#include "document/uCommon.h"
#include "document/uMessages.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <unistd.h>

namespace tessora {

namespace {

constexpr const char* kCantLoadTemplate = "Can't load the Template.";
constexpr const char* kVectorNotFound = "Vector File is not found.";
constexpr const char* kCantOpenSheet = "Can't open the Labels Sheet.";
constexpr const char* kCantSaveSheet = "Can't save the Labels Sheet.";

// No real sheet comes near this; a larger file is refused before it is read.
constexpr size_t kMaxSheetFile = 256u << 20;

// Reads fixed-size records off a byte buffer; every read is checked.
class TRecordReader {
public:
    explicit TRecordReader(const std::vector<uint8_t>& b, size_t pos) : Bytes(b), Pos(pos) {}
    template <size_t N> bool Read(std::array<uint8_t, N>& rec) {
        if (Remaining() < N) return false;
        std::memcpy(rec.data(), Bytes.data() + Pos, N);
        Pos += N;
        return true;
    }
    size_t Remaining() const { return Bytes.size() - Pos; }

private:
    const std::vector<uint8_t>& Bytes;
    size_t Pos;
};

template <size_t N> void Append(std::vector<uint8_t>& out, const std::array<uint8_t, N>& rec) {
    out.insert(out.end(), rec.begin(), rec.end());
}

} // namespace

bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& out, size_t maxBytes) {
    out.clear();
    FILE* f = std::fopen(fileName.c_str(), "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size_t(size) <= maxBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(size_t(size));
        ok = size == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    if (!ok) out.clear();
    return ok;
}

bool WriteFileAtomic(const std::string& fileName, const std::vector<uint8_t>& bytes) {
    const std::string tmp = fileName + ".tmp";
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += size_t(n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            ok = false;
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(tmp.c_str(), fileName.c_str()) == 0;
    if (!ok) ::unlink(tmp.c_str());
    return ok;
}

TSheetDocument::TSheetDocument() { ApplyPaperSize(); }

TLabelFace& TSheetDocument::Face(int l, int f) {
    if (l == -1) {
        l = CurLabel;
        f = CurFace;
    }
    return Label(l).Face(f);
}

std::string TSheetDocument::ImageFileName(int label, int face, int image) {
    const TLabelImage& im = Label(label).Face(face).Image(image);
    if (im.BGIndex < 0 || !Pictures) return {};
    return Pictures->FileNameOf(im.BGIndex);
}

void TSheetDocument::ClearImageCache() {
    if (Pictures) Pictures->ClearPictures();
}

void TSheetDocument::ClearSheet() {
    UndoList.clear();
    RedoList.clear();
    ClearLabels();
    ClearImageCache();
}

void TSheetDocument::ApplyPaperSize() {
    const auto& p = kPaperSizes.at(std::min<size_t>(Header.PaperSize, kPaperSizes.size() - 1));
    ViewWidth = p.Width;
    ViewHeight = p.Height;
}

void TSheetDocument::BuildGrid() {
    // Steps of the old labels would restore into the wrong ones, with stale picture indices.
    UndoList.clear();
    RedoList.clear();
    ClearLabels();
    ClearImageCache();
    if (Header.Rows <= 0 || Header.Columns <= 0) return;
    Labels.reserve(size_t(Header.Rows) * size_t(Header.Columns));
    double x = Header.MarginLeft, y = Header.MarginTop;
    for (int r = 0; r < Header.Rows; ++r) {
        for (int c = 0; c < Header.Columns; ++c) {
            auto l = std::make_unique<TSheetLabel>(Header.Shape);
            l->X = x;
            l->Y = y;
            Labels.push_back(std::move(l));
            if (c == Header.Columns - 1) {
                x = Header.MarginLeft;
                y += Header.ExtentDown() + Header.GapV;
            } else {
                x += Header.ExtentAcross() + Header.GapH;
            }
        }
    }
}

TSheetDocument::THeaderResult TSheetDocument::LoadSheetHeader(const std::vector<uint8_t>& bytes, bool opened,
                                                              bool forceMakerShape) {
    if (!opened) return THeaderResult::CannotOpen;
    if (bytes.size() < TSheetHeader::Size) return THeaderResult::Short;
    TSheetHeader h;
    h.Decode(bytes.data());
    // A header that cannot be laid out is refused before anything of it is applied.
    if (!h.Problem().empty()) return THeaderResult::BadHeader;
    Header = std::move(h);
    Header.VectorFile = ToAbsolutePath(Header.VectorFile);
    ApplyPaperSize();
    if (forceMakerShape) Header.Shape = lsMakerVector;
    if (Header.Shape == lsVector || Header.Shape == lsMakerVector) {
        if (!FileExists(Header.VectorFile)) {
            Information(kVectorNotFound);
            return THeaderResult::VectorMissing;
        }
        if (!Vector || !Vector->LoadVectorPicture(Header.VectorFile)) return THeaderResult::VectorBad;
    }
    BuildGrid();
    return THeaderResult::Ok;
}

bool TSheetDocument::LoadTemplate(const std::string& fileName, bool redraw, bool forceMakerShape) {
    std::vector<uint8_t> bytes;
    const bool opened = ReadWholeFile(fileName, bytes, kMaxSheetFile);
    // Only the header of a template is read; a huge file is not.
    const THeaderResult r = LoadSheetHeader(bytes, opened, forceMakerShape);
    if (r == THeaderResult::CannotOpen || r == THeaderResult::BadHeader) {
        Information(kCantLoadTemplate);
        return false;
    }
    if (r != THeaderResult::Ok) return false;
    if (redraw) RedrawOutlines();
    return true;
}

void TSheetDocument::StartProjectSettings(const std::string& templateFileName) {
    const std::string name = ExtractFileName(templateFileName);
    std::string prefix = name.substr(0, std::min<size_t>(3, name.size()));
    std::transform(prefix.begin(), prefix.end(), prefix.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    Settings.VerMajor = 5;
    Settings.VerMinor = 0;
    Settings.SerialPrefix = prefix;
    Settings.SerialSuffix = "SFX";
    Settings.PageNum = 1;
    Settings.PageCount = 1;
    Settings.SerialAlignH = 0;
    Settings.SerialAlignV = 0;
    Settings.SerialOn = false;
}

bool TSheetDocument::StartNewProject(const std::string& templateFileName, int kind) {
    if (!LoadTemplate(templateFileName, false, kind == 2)) return false;
    StartProjectSettings(templateFileName);
    if (Header.OrderCode.empty()) Header.OrderCode = ExtractFileStem(templateFileName);
    return true;
}

bool TSheetDocument::SaveProject(const std::string& fileName) {
    std::vector<uint8_t> out;
    // The stored form goes to the file only; the document keeps the absolute path.
    Append(out, Header.Encode(ToStoredPath(Header.VectorFile)));
    Append(out, Settings.Encode());
    for (const auto& l : Labels) {
        Append(out, l->ToRec());
        for (const auto& f : l->Faces) {
            Append(out, f->ToRec());
            for (const auto& t : f->Texts) Append(out, t->ToRec());
            for (const auto& m : f->Images) {
                const std::string name = m->BGIndex >= 0 && Pictures ? Pictures->FileNameOf(m->BGIndex) : "";
                Append(out, m->ToRec(ToStoredPath(name)));
            }
        }
    }
    if (!WriteFileAtomic(fileName, out)) {
        Information(kCantSaveSheet);
        return false;
    }
    return true;
}

bool TSheetDocument::OpenProject(const std::string& fileName, bool s, bool r) {
    std::vector<uint8_t> bytes;
    const bool opened = ReadWholeFile(fileName, bytes, kMaxSheetFile);
    const THeaderResult hr = LoadSheetHeader(bytes, opened, false);
    if (hr != THeaderResult::Ok) {
        if (r && (hr == THeaderResult::CannotOpen || hr == THeaderResult::BadHeader)) Information(kCantOpenSheet);
        return false;
    }
    auto fail = [r] {
        if (r) Information(kCantOpenSheet);
        return false;
    };
    TRecordReader in(bytes, TSheetHeader::Size);
    if (s) {
        std::array<uint8_t, TProjectSettings::Size> rec;
        if (!in.Read(rec)) return fail();
        Settings.Decode(rec.data());
        if (Settings.Version() < 5.0) return false;
    }
    for (auto& label : Labels) {
        TSheetLabelRec lrec;
        if (!in.Read(lrec)) return fail();
        label->SetFromRec(lrec);
        const int32_t faces = TSheetLabel::RecFaceCount(lrec);
        if (faces > int32_t(label->Faces.size())) return fail();
        for (int32_t f = 0; f < faces; ++f) {
            TLabelFaceRec frec;
            if (!in.Read(frec)) return fail();
            TLabelFace& face = *label->Faces[size_t(f)];
            face.SetFromRec(frec);
            const int64_t nt = std::max<int32_t>(0, TLabelFace::RecTextCount(frec));
            const int64_t ni = std::max<int32_t>(0, TLabelFace::RecImageCount(frec));
            // Counts are checked against what is left before anything is made.
            if (nt * int64_t(sizeof(TLabelTextRec)) + ni * int64_t(sizeof(TLabelImageRec)) > int64_t(in.Remaining()))
                return fail();
            for (int64_t i = 0; i < nt; ++i) {
                TLabelTextRec trec;
                in.Read(trec);
                face.Texts.push_back(std::make_unique<TLabelText>(TLabelText::FromRec(trec)));
            }
            for (int64_t i = 0; i < ni; ++i) {
                TLabelImageRec irec;
                in.Read(irec);
                const std::string file = ToAbsolutePath(TLabelImage::RecFileName(irec));
                const int idx = Pictures && !file.empty() ? Pictures->FindOrLoad(file) : -1;
                if (idx < 0) continue;
                auto im = std::make_unique<TLabelImage>(TLabelImage::FromRec(irec));
                im->BGIndex = idx;
                face.Images.push_back(std::move(im));
            }
        }
    }
    // A current file ends after its last record; anything more means another layout.
    if (s && in.Remaining() != 0) return fail();
    RedrawAll();
    return true;
}

bool TSheetDocument::OpenProjectFile(const std::string& fileName) {
    if (OpenProject(fileName, true, false)) return true;
    // The first attempt may have read label bytes into the settings.
    Settings = TProjectSettings{};
    StartProjectSettings(fileName);
    return OpenProject(fileName, false, true);
}

void TSheetDocument::SetLabelVis(int label, bool vis) {
    Label(label).Vis = vis;
    RedrawLabel(label);
}

void TSheetDocument::AddPicture(int label, int face, const std::string& fileName) {
    const int first = label < 0 ? 0 : label;
    const int last = label < 0 ? int(Labels.size()) - 1 : label;
    for (int l = first; l <= last; ++l) {
        const int idx = Pictures ? Pictures->FindOrLoad(fileName) : -1;
        if (idx >= 0) {
            auto im = std::make_unique<TLabelImage>();
            im->BGIndex = idx;
            auto& imgs = Label(l).Face(face).Images;
            imgs.insert(imgs.begin(), std::move(im));
        }
        RedrawLabel(l);
    }
    RepaintView();
}

} // namespace tessora
