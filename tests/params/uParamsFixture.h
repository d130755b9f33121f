#pragma once
// The parameters window over a sheet view at exactly 10 pixels per millimetre, with counters
// on the hooks it calls.
#include "document/uCommon.h"
#include "params/fLWParams.h"
#include "sheetview/fraSheet.h"
#include "tests/common/uTestSheets.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <gtest/gtest.h>

namespace tessora::test {

// A label's records as the project file stores them; images by their picture cache index.
inline std::vector<uint8_t> LabelBytes(const TSheetLabel& l) {
    std::vector<uint8_t> out;
    auto add = [&out](const auto& rec) { out.insert(out.end(), rec.begin(), rec.end()); };
    add(l.ToRec());
    for (const auto& f : l.Faces) {
        add(f->ToRec());
        for (const auto& t : f->Texts)
            add(t->ToRec());
        for (const auto& im : f->Images)
            add(im->ToRec(std::to_string(im->BGIndex)));
    }
    return out;
}

class ParamsTest : public ::testing::Test {
protected:
    TTempDir Home;
    std::string PrevFolder = ProgramFolder();
    std::unique_ptr<QWidget> Main;
    TfrSheet* Frame = nullptr;
    TSheet* Sheet = nullptr;
    TfrmLWParams* P = nullptr;
    TDragGesture Gesture;
    int Redraws = 0, UndoEnables = 0, Saves = 0, Refreshes = 0;

    void SetUp() override {
        SetProgramFolder(Home.Path());
        Main = std::make_unique<QWidget>();
        Main->setGeometry(100, 100, 1000, 700);
        Frame = new TfrSheet(Main.get());
        Sheet = &Frame->Sheet;
        Sheet->Gui = TGuiSettings{};
        P = new TfrmLWParams(Frame, Main.get());
        P->Drag = &Gesture;
        P->Hooks.EnableUndo = [this] { ++UndoEnables; };
        P->Hooks.EnableSave = [this] { ++Saves; };
        P->Hooks.Refresh3D = [this] { ++Refreshes; };
        P->Hooks.LabelRedrawn = [this](int) { ++Redraws; };
    }
    void TearDown() override {
        Main.reset();
        SetProgramFolder(PrevFolder);
    }
    // Letter paper, labels of w x h mm from (10, 10) mm, 10 mm apart; 10 px/mm.
    void Make(int cols, int rows, double w = 40, double h = 30, uint8_t units = 0,
              uint8_t shape = lsRectangle, double depth = 0) {
        TSheetHeader& hd = Sheet->Header;
        hd = TestHeader(shape, w, h, cols, rows, depth);
        hd.Units = units;
        hd.OrderCode = "TS-4030";
        Sheet->ApplyPaperSize();
        Sheet->BuildGrid();
        Sheet->FullRedraw = true;
        Sheet->SetViewSize(QSize(2159, 2794));
    }
    // Selects the label as a press on it does.
    void Select(int label) {
        Sheet->HotLabel = label;
        Sheet->SelectHotLabel();
        P->ShowLabel(label);
    }
    // A solid picture in front of the label's first face.
    void AddImage(int label, QColor c, int w = 100, int h = 100) {
        static int n = 0;
        const std::string path = Home.File("pic" + std::to_string(n++) + ".png");
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(c);
        img.save(QString::fromStdString(path));
        Sheet->AddPicture(label, 0, path);
    }
    TLabelText& AddText(int label, double x, double y, const std::string& text = "Hello") {
        auto& texts = Sheet->Label(label).Face(0).Texts;
        texts.push_back(std::make_unique<TLabelText>(x, y, 30));
        texts.back()->Text = text;
        texts.back()->FontSize = 20;
        return *texts.back();
    }
    void ResetCounters() { Redraws = UndoEnables = Saves = Refreshes = 0; }
    QRect LabelRect(int label) const { return Sheet->LabelRect(label); }
    // The pixels of a label that are not white, or only those of one colour.
    QRect Ink(int label, QRgb only = 0) const {
        const QRect r = LabelRect(label).adjusted(1, 1, -2, -2);
        int l = INT32_MAX, t = INT32_MAX, rt = -1, b = -1;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (const QRgb px = Sheet->SheetLayer.pixel(x, y) | 0xFF000000u;
                    only ? px == only : px != 0xFFFFFFFFu) {
                    l = std::min(l, x);
                    t = std::min(t, y);
                    rt = std::max(rt, x);
                    b = std::max(b, y);
                }
        return rt < 0 ? QRect() : QRect(QPoint(l, t), QPoint(rt, b));
    }
};

} // namespace tessora::test
