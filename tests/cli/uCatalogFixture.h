#pragma once
// A small program folder to publish as a catalogue: two grid templates, a vector
// template and a project whose header names the vector picture and whose images name two
// pictures of "Import Images".
#include "document/uCommon.h"
#include "sheetview/uSheet.h"
#include "tests/common/uTestSupport.h"

#include <QImage>
#include <filesystem>

namespace tessora::test {

inline const char* kHeartSvg =
    "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='90' viewBox='0 0 100 90'>"
    "<path d='M50 88 C-20 40 10 -10 50 20 C90 -10 120 40 50 88 Z' fill='black'/></svg>";

inline TSheetHeader CatalogGrid(int cols, int rows, uint8_t shape = lsRectangle) {
    TSheetHeader h;
    h.Shape = shape;
    h.MarginLeft = 12;
    h.MarginTop = 15;
    h.LabelWidth = 60;
    h.LabelHeight = 40;
    h.GapH = 5;
    h.GapV = 5;
    h.Columns = cols;
    h.Rows = rows;
    return h;
}

inline void WriteHeaderFile(const std::string& path, const TSheetHeader& h, const std::string& vector = {}) {
    const auto rec = h.Encode(vector);
    WriteAll(path, QByteArray(reinterpret_cast<const char*>(rec.data()), int(rec.size())));
}

// Fills `home` (a folder path with '/') and makes it the program folder while building;
// the previous program folder is restored.
inline void WriteCatalogFixture(const std::string& home) {
    namespace fs = std::filesystem;
    for (const char* d : {"Templates", "Label Projects", "Vector Images", "Import Images"})
        fs::create_directories(home + d);
    const std::string prev = ProgramFolder();
    SetProgramFolder(home);
    WriteAll(home + "Vector Images/Heart.svg", kHeartSvg);
    QImage leaf(40, 30, QImage::Format_RGB32), beans(30, 40, QImage::Format_RGB32);
    leaf.fill(QColor(40, 160, 60));
    beans.fill(QColor(120, 70, 30));
    leaf.save(QString::fromStdString(home + "Import Images/Leaf.png"));
    beans.save(QString::fromStdString(home + "Import Images/Beans Big.png"));

    WriteHeaderFile(home + "Templates/Round.tpr", CatalogGrid(2, 3, lsEllipse));
    WriteHeaderFile(home + "Templates/Oval Two.tpr", CatalogGrid(1, 2, lsRoundRect));
    WriteHeaderFile(home + "Templates/Heart.tpv", CatalogGrid(2, 2, lsVector), "\\Vector Images\\Heart.svg");
    {
        TSheet s;
        s.StartNewProject(home + "Templates/Heart.tpv", 4);
        s.AddPicture(0, 0, home + "Import Images/Leaf.png");
        s.AddPicture(3, 0, home + "Import Images/Beans Big.png");
        s.SaveProject(home + "Label Projects/Party.shl");
    }
    SetProgramFolder(prev);
}

} // namespace tessora::test
