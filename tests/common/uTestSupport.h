#pragma once
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <string>

namespace tessora::test {

// A fresh folder under the system temp folder, removed with the object.
class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;
    // Folder path with a trailing '/'.
    std::string Path() const { return DirPath; }
    std::string File(const std::string& name) const { return DirPath + name; }

private:
    std::string DirPath;
};

// The built program folder and the source tree.
std::string BinDir();
std::string SourceDir();

struct TRunResult {
    int ExitCode = -1;
    QByteArray Out, Err;
};
// Runs a program with arguments and waits up to timeoutMs; ExitCode -1 when it did not start
// or end in time.
TRunResult Run(const QString& program, const QStringList& args, int timeoutMs = 120000);
// The same in the given environment.
TRunResult RunInEnv(const QProcessEnvironment& env, const QString& program, const QStringList& args,
                    int timeoutMs = 120000);
// The same under a name that gtest's Test::Run does not hide inside TEST bodies.
inline TRunResult RunTool(const QString& program, const QStringList& args, int timeoutMs = 120000) {
    return Run(program, args, timeoutMs);
}
// True when the program is on PATH.
bool HaveTool(const QString& program);

QByteArray ReadAll(const std::string& path);
void WriteAll(const std::string& path, const QByteArray& bytes);

} // namespace tessora::test
