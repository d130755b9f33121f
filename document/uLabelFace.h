#pragma once
#include "document/uLabelImage.h"
#include "document/uLabelText.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tessora {

using TLabelFaceRec = std::array<uint8_t, 344>;

class TLabelFace {
public:
    uint32_t BGColor = 0xFFFFFF;
    bool BGColorOn = false;
    uint8_t BCType = 0;
    uint8_t BCOutput = 1;
    uint8_t BCAlign = 5;
    bool BCChSum = false;
    double BCLeft = 0, BCTop = 0;
    double BCHeight = 17.0;
    double BCWidth = 0.3;
    int32_t BCPixWidth = 0;
    std::string BCText;
    int16_t BCAngle = 0;
    uint32_t BCColor = 0;
    std::vector<std::unique_ptr<TLabelText>> Texts;
    std::vector<std::unique_ptr<TLabelImage>> Images;

    TLabelText& Text(int i) { return *Texts.at(size_t(i)); }
    TLabelImage& Image(int i) { return *Images.at(size_t(i)); }

    // Fills the text and image counts from the lists.
    TLabelFaceRec ToRec() const;
    // Every stored field of the record; the lists are left alone.
    void SetFromRec(const TLabelFaceRec& rec);
    static int32_t RecTextCount(const TLabelFaceRec& rec);
    static int32_t RecImageCount(const TLabelFaceRec& rec);
};

} // namespace tessora
