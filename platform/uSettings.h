#pragma once
#include <QString>
#include <cstdint>

namespace tessora {

// The workspace settings of <program folder>/tessora.ini, section GUI.
struct TGuiSettings {
    static constexpr uint32_t DefaultBgColor = 13170941; // 0xC8F8FD, a light cream
    uint32_t BgColor = DefaultBgColor;
    int LSpaceMode = 0; // 0 white label spaces, 1 workspace colour

    static QString IniPath();
    static TGuiSettings Load();
    void Save() const;
};

} // namespace tessora
