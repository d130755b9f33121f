#include "platform/uProgramFolder.h"

#include "document/uCommon.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace tessora {

namespace {

QString WithSlash(QString p) {
    p = QDir::cleanPath(QDir(p).absolutePath());
    if (!p.endsWith('/')) p += '/';
    return p;
}

// Copies the shipped folders into a fresh per-user program folder, keeping what is there.
void Seed(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QDir(from).relativeFilePath(src);
        if (QFileInfo::exists(dst)) continue;
        QDir().mkpath(QFileInfo(dst).path());
        QFile::copy(src, dst);
    }
}

} // namespace

QString ResolveProgramFolder(const QString& overrideDir) {
    QString folder;
    const QString env = qEnvironmentVariable("TESSORA_HOME");
    if (!overrideDir.isEmpty()) {
        folder = overrideDir;
    } else if (!env.isEmpty()) {
        folder = env;
    } else {
        const QString exeDir = QCoreApplication::applicationDirPath();
        if (QFileInfo(exeDir + "/Templates").isDir()) {
            folder = exeDir;
        } else {
            QString data = qEnvironmentVariable("XDG_DATA_HOME");
            if (data.isEmpty()) data = QDir::homePath() + "/.local/share";
            folder = data + "/tessora";
            const QString share = QDir::cleanPath(exeDir + "/../share/tessora");
            if (!QFileInfo(folder + "/Templates").isDir() && QFileInfo(share).isDir()) Seed(share + "/", WithSlash(folder));
            QDir().mkpath(folder);
        }
    }
    folder = WithSlash(folder);
    SetProgramFolder(folder.toStdString());
    return folder;
}

} // namespace tessora
