// libFuzzer target: the project reader must fail cleanly on any bytes.
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uSheetDocument.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class TAnyPicture : public tessora::TPictureStore, public tessora::TVectorOutline {
public:
    int FindOrLoad(const std::string& f) override { return f.empty() ? -1 : 0; }
    std::string FileNameOf(int) const override { return "/p.png"; }
    void ClearPictures() override {}
    bool LoadVectorPicture(const std::string&) override { return true; }
};

class TQuiet : public tessora::TMessageHandler {
public:
    void Information(const std::string&) override {}
    tessora::TMsgButton Confirm(const std::string&, int) override { return tessora::mbNo; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static TQuiet quiet;
    static const std::string file = [] {
        const char* dir = std::getenv("TMPDIR");
        return std::string(dir ? dir : "/tmp") + "/tessora-fuzz-" + std::to_string(getpid()) + ".shl";
    }();
    tessora::SetMessageHandler(&quiet);
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    TAnyPicture pics;
    tessora::TSheetDocument doc;
    doc.Pictures = &pics;
    doc.Vector = &pics;
    doc.OpenProjectFile(file);
    doc.LoadTemplate(file, false, false);
    return 0;
}
