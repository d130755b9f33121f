#pragma once
#include "document/uLabelFace.h"
#include "document/uSheetHeader.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace tessora {

using TSheetLabelRec = std::array<uint8_t, 40>;

class TSheetLabel {
public:
    explicit TSheetLabel(uint8_t shape);

    double X = 0, Y = 0;
    uint32_t OLColor = 0;
    uint32_t OLShColor = 0;
    bool OLShadow = false;
    uint8_t OLThick = 1;
    std::vector<std::unique_ptr<TLabelFace>> Faces;
    bool Vis = true;
    bool VisFr = false;

    TLabelFace& Face(int i) { return *Faces.at(size_t(i)); }
    void ClearFaces() { Faces.clear(); }

    TSheetLabelRec ToRec() const;
    void SetFromRec(const TSheetLabelRec& rec); // outline fields and VisFr
    static int32_t RecFaceCount(const TSheetLabelRec& rec);

    // Makes this label an independent copy of src through the file records:
    // outline, VisFr and every face with its texts and images; X, Y and Vis stay.
    // Images keep src's picture cache indices.
    void CopyFrom(const TSheetLabel& src);
};

} // namespace tessora
