#include "tests/common/uTestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace tessora::test {

TTempDir::TTempDir() {
    QTemporaryDir t(QDir::tempPath() + "/tessora-test-XXXXXX");
    t.setAutoRemove(false);
    DirPath = t.path().toStdString() + "/";
}

TTempDir::~TTempDir() { QDir(QString::fromStdString(DirPath)).removeRecursively(); }

std::string BinDir() { return std::string(TESSORA_BIN_DIR) + "/"; }
std::string SourceDir() { return std::string(TESSORA_SOURCE_DIR) + "/"; }

TRunResult Run(const QString& program, const QStringList& args, int timeoutMs) {
    return RunInEnv(QProcessEnvironment::systemEnvironment(), program, args, timeoutMs);
}

TRunResult RunInEnv(const QProcessEnvironment& env, const QString& program, const QStringList& args, int timeoutMs) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    TRunResult r;
    if (!p.waitForStarted(10000)) return r;
    p.closeWriteChannel();
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.ExitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

bool HaveTool(const QString& program) { return !QStandardPaths::findExecutable(program).isEmpty(); }

QByteArray ReadAll(const std::string& path) {
    QFile f(QString::fromStdString(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void WriteAll(const std::string& path, const QByteArray& bytes) {
    QFile f(QString::fromStdString(path));
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

} // namespace tessora::test
