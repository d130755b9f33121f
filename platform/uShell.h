#pragma once
// The shell's "open": a PDF in the viewer, a web address in the browser, the updater.
// When $TESSORA_OPEN is set, that command is run with the target instead, so tests can
// watch what would be opened.
#include <QString>
#include <QStringList>

namespace tessora {

// Opens a file or an address; false when nothing could be started.
bool ShellOpen(const QString& target, const QStringList& extraArgs = {});

} // namespace tessora
