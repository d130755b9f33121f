// Writes a small valid project as the fuzzer's seed.
#include "document/uSheetDocument.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    tessora::TSheetDocument d;
    d.Header.Columns = 2;
    d.Header.Rows = 1;
    d.Header.LabelWidth = 40;
    d.Header.LabelHeight = 20;
    d.BuildGrid();
    d.Face(1, 0).Texts.push_back(std::make_unique<tessora::TLabelText>(1, 2, 30));
    return d.SaveProject(argv[1]) ? 0 : 1;
}
