#pragma once
// The small sheets the tests build: labels of w x h mm from (10, 10) mm on Letter paper,
// 10 mm apart.
#include "document/uSheetHeader.h"

namespace tessora::test {

inline TSheetHeader TestHeader(uint8_t shape, double w, double h, int cols = 1, int rows = 1, double depth = 0) {
    TSheetHeader hd;
    hd.Shape = shape;
    hd.MarginLeft = 10;
    hd.MarginTop = 10;
    hd.LabelWidth = w;
    hd.LabelHeight = h;
    hd.BoxDepth = depth;
    hd.GapH = 10;
    hd.GapV = 10;
    hd.Columns = cols;
    hd.Rows = rows;
    hd.OrderCode = "T";
    return hd;
}

} // namespace tessora::test
