#include "platform/uSettings.h"

#include "document/uCommon.h"

#include <QSettings>

namespace tessora {

QString TGuiSettings::IniPath() { return QString::fromStdString(ProgramFolderPath("tessora.ini")); }

TGuiSettings TGuiSettings::Load() {
    QSettings ini(IniPath(), QSettings::IniFormat);
    TGuiSettings s;
    bool ok = false;
    const uint v = ini.value("GUI/BgColor", DefaultBgColor).toUInt(&ok);
    s.BgColor = ok ? (v & 0xFFFFFF) : DefaultBgColor;
    s.LSpaceMode = ini.value("GUI/LSpaceMode", 0).toInt() == 1 ? 1 : 0;
    return s;
}

void TGuiSettings::Save() const {
    QSettings ini(IniPath(), QSettings::IniFormat);
    ini.setValue("GUI/BgColor", BgColor);
    ini.setValue("GUI/LSpaceMode", LSpaceMode);
    ini.sync();
}

} // namespace tessora
