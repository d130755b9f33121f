#pragma once
// Shared fixture of the document tests: a program folder in a temp dir, a
// picture store over plain files and a recorder for messages.
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "document/uSheetDocument.h"
#include "tests/common/uTestSupport.h"

#include <gtest/gtest.h>
#include <map>

namespace tessora::test {

// Files whose content begins with "BAD" cannot be read as pictures.
class TFilePictures : public TPictureStore, public TVectorOutline {
public:
    std::vector<std::string> Names;
    int Reads = 0;
    int FindOrLoad(const std::string& f) override {
        if (f.empty() || !FileExists(f)) return -1;
        for (size_t i = 0; i < Names.size(); ++i)
            if (Names[i] == f) return int(i);
        ++Reads;
        if (ReadAll(f).startsWith("BAD")) return -1;
        Names.push_back(f);
        return int(Names.size()) - 1;
    }
    std::string FileNameOf(int i) const override {
        return i >= 0 && size_t(i) < Names.size() ? Names[size_t(i)] : std::string();
    }
    void ClearPictures() override { Names.clear(); }
    bool LoadVectorPicture(const std::string& f) override { return !ReadAll(f).startsWith("BAD"); }
};

class DocTest : public ::testing::Test {
protected:
    TTempDir Home;
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    TFilePictures Store;
    std::string PrevFolder = ProgramFolder();

    void SetUp() override { SetProgramFolder(Home.Path()); }
    void TearDown() override { SetProgramFolder(PrevFolder); }

    void Attach(TSheetDocument& d) {
        d.Pictures = &Store;
        d.Vector = &Store;
    }
    static TSheetHeader Header(uint8_t shape, int cols, int rows) {
        TSheetHeader h;
        h.Shape = shape;
        h.MarginLeft = 10;
        h.MarginTop = 12;
        h.LabelWidth = 50;
        h.LabelHeight = 80;
        h.BoxDepth = 20;
        h.GapH = 5;
        h.GapV = 6;
        h.Columns = cols;
        h.Rows = rows;
        return h;
    }
    std::string WriteTemplate(const std::string& name, const TSheetHeader& h, const std::string& vector = {}) {
        auto rec = h.Encode(vector);
        const std::string path = Home.File(name);
        WriteAll(path, QByteArray(reinterpret_cast<const char*>(rec.data()), int(rec.size())));
        return path;
    }
    std::string Picture(const std::string& name, const char* content = "PNG") {
        const std::string p = Home.File(name);
        WriteAll(p, content);
        return p;
    }
};

} // namespace tessora::test
