#pragma once
#include <QString>

namespace tessora {

// Resolves the program folder once and hands it to the document layer:
// $TESSORA_HOME; else the executable's folder when it holds "Templates";
// else $XDG_DATA_HOME/tessora, seeded from the installed share folder.
// `overrideDir` (from --home) wins over all of them. Returns it with one trailing '/'.
QString ResolveProgramFolder(const QString& overrideDir = {});

} // namespace tessora
