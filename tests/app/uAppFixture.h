#pragma once
// A program folder of its own for start-up tests: the updater, the database, the samples
// of the build, tessora.ini pointing the server calls at a loopback server, and a runtime
// folder of its own for the single-instance lock.
#include "document/uCommon.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uHttpTestServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QUuid>
#include <gtest/gtest.h>

namespace tessora::test {

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

class TAppFolder {
public:
    TTempDir Home, Runtime;
    THttpTestServer Http;
    std::string PrevFolder = ProgramFolder();
    QString InstanceName = "tessora-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);

    TAppFolder(bool withUpdater = true, bool withDatabase = true) {
        EXPECT_TRUE(Http.Start());
        const QString bin = Q(BinDir()), home = Q(Home.Path());
        if (withUpdater) {
            EXPECT_TRUE(QFile::copy(bin + "upd", home + "upd"));
        }
        if (withDatabase) {
            EXPECT_TRUE(QFile::copy(bin + "tessora.dat", home + "tessora.dat"));
        }
        EXPECT_TRUE(QFile::copy(bin + "tessora.da0", home + "tessora.da0"));
        for (const char* dir : {"Templates", "Label Projects", "Import Images", "Vector Images"})
            EXPECT_TRUE(QFile::link(bin + dir, home + dir));
        QSettings ini(home + "tessora.ini", QSettings::IniFormat);
        ini.setValue("Server/BaseUrl", Http.BaseUrl());
    }
    ~TAppFolder() { SetProgramFolder(PrevFolder); }

    // The environment of a tessora process using this folder and runtime folder.
    QProcessEnvironment Environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TESSORA_HOME", Q(Home.Path()));
        env.insert("XDG_RUNTIME_DIR", Q(Runtime.Path()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("TESSORA_OPEN");
        return env;
    }
};

// Runs a program in `env`; ExitCode -1 when it did not end within timeoutMs.
inline TRunResult RunIn(const QProcessEnvironment& env, const QString& program, const QStringList& args,
                        int timeoutMs = 60000) {
    return RunInEnv(env, program, args, timeoutMs);
}

} // namespace tessora::test
