#include "platform/uShell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace tessora {

bool ShellOpen(const QString& target, const QStringList& extraArgs) {
    const QString hook = qEnvironmentVariable("TESSORA_OPEN");
    if (!hook.isEmpty()) {
        QStringList args = QProcess::splitCommand(hook);
        if (args.isEmpty()) return false;
        const QString program = args.takeFirst();
        return QProcess::startDetached(program, args << target << extraArgs);
    }
    // A program file is started; anything else goes to the desktop's handler.
    const QFileInfo info(target);
    if (info.isFile() && info.isExecutable() && info.suffix().compare("pdf", Qt::CaseInsensitive) != 0)
        return QProcess::startDetached(info.absoluteFilePath(), extraArgs);
    const QUrl url = info.exists() ? QUrl::fromLocalFile(info.absoluteFilePath()) : QUrl(target);
    return QDesktopServices::openUrl(url);
}

} // namespace tessora
