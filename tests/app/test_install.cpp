// cmake --install into a fresh prefix: the executables, the shipped program folder, the
// desktop entry, the project file type and the icon; an installed tessora-cli seeds a
// user's program folder from it.
#include "tests/app/uAppFixture.h"

#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

using namespace tessora;
using namespace tessora::test;

namespace {
bool Executable(const QString& path) {
    const QFileInfo f(path);
    return f.isFile() && f.isExecutable();
}
} // namespace

TEST(Install, PrefixHoldsProgramDataDesktopEntryAndFileType) {
    TTempDir prefix, user;
    const QString p = Q(prefix.Path());
    const QString buildDir = QFileInfo(Q(BinDir()) + "..").canonicalFilePath();
    const TRunResult inst = RunTool("cmake", {"--install", buildDir, "--prefix", p});
    ASSERT_EQ(inst.ExitCode, 0) << inst.Err.constData();

    EXPECT_TRUE(Executable(p + "bin/tessora"));
    EXPECT_TRUE(Executable(p + "bin/tessora-cli"));
    const QString share = p + "share/tessora/";
    EXPECT_TRUE(Executable(share + "upd"));
    for (const char* f : {"tessora.dat", "tessora.da0", "Templates/Heart 12-up Letter.tpv",
                          "Label Projects/Product Labels.shl", "Import Images/Sample Beans.jpg"})
        EXPECT_TRUE(QFileInfo(share + f).isFile()) << f;
    for (const char* d : {"Vector Images", "PDF Label Sheets"})
        EXPECT_TRUE(QFileInfo(share + d).isDir()) << d;
    // Executables stay in bin; the program folder is data only.
    EXPECT_FALSE(QFileInfo::exists(share + "tessora"));
    EXPECT_FALSE(QFileInfo::exists(share + "tessora-cli"));

    const QString desktop = p + "share/applications/tessora.desktop";
    ASSERT_TRUE(QFileInfo(desktop).isFile());
    if (HaveTool("desktop-file-validate")) {
        const TRunResult v = RunTool("desktop-file-validate", {desktop});
        EXPECT_EQ(v.ExitCode, 0) << v.Out.constData() << v.Err.constData();
        EXPECT_EQ(v.Out + v.Err, QByteArray()); // not even a hint
    } else {
        ADD_FAILURE() << "desktop-file-validate is missing (scripts/install-deps)";
    }
    const QByteArray entry = ReadAll(desktop.toStdString());
    EXPECT_TRUE(entry.contains("\nExec=tessora %f\n"));
    EXPECT_TRUE(entry.contains("\nMimeType=application/x-tessora-project;\n"));

    // The shared MIME database built from the installed package knows ".shl".
    const QString mime = p + "share/mime";
    ASSERT_TRUE(QFileInfo(mime + "/packages/tessora.xml").isFile());
    if (HaveTool("update-mime-database")) {
        const TRunResult m = RunTool("update-mime-database", {mime});
        EXPECT_EQ(m.ExitCode, 0) << m.Err.constData();
        EXPECT_TRUE(
            ReadAll((mime + "/globs2").toStdString()).contains("application/x-tessora-project:*.shl"));
    }
    const QImage icon(p + "share/icons/hicolor/scalable/apps/tessora.svg");
    ASSERT_FALSE(icon.isNull());
    EXPECT_GT(icon.width(), 0);

    // The installed CLI with no program folder of its own: seeded from share/tessora.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("TESSORA_HOME");
    env.insert("XDG_DATA_HOME", Q(user.Path()));
    const QString seeded = Q(user.Path()) + "tessora/";
    const TRunResult info =
        RunIn(env, p + "bin/tessora-cli", {"info", share + "Templates/Heart 12-up Letter.tpv"});
    ASSERT_EQ(info.ExitCode, 0) << info.Err.constData();
    EXPECT_TRUE(info.Out.trimmed().startsWith('{')) << info.Out.constData();
    EXPECT_TRUE(QFileInfo(seeded + "Templates/Heart 12-up Letter.tpv").isFile());
    EXPECT_TRUE(Executable(seeded + "upd"));
    EXPECT_TRUE(QFileInfo(seeded + "tessora.dat").isFile());
    const TRunResult own =
        RunIn(env, p + "bin/tessora-cli", {"info", seeded + "Label Projects/Product Labels.shl"});
    EXPECT_EQ(own.ExitCode, 0) << own.Err.constData();
}

// The shipped updater opens the maker's download page (a stand-in xdg-open records it).
TEST(Install, UpdaterOpensTheDownloadPage) {
    TTempDir tools;
    const std::string record = tools.File("opened.txt");
    WriteAll(tools.File("xdg-open"),
             QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + record.c_str() + "'\n");
    QFile::setPermissions(Q(tools.File("xdg-open")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(Executable(Q(BinDir()) + "upd")); // the build's copy kept its mode
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", Q(tools.Path()) + ":" + env.value("PATH"));
    env.remove("TESSORA_DOWNLOAD_PAGE");
    const TRunResult r = RunIn(env, Q(BinDir()) + "upd", {"-s"});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.constData();
    EXPECT_EQ(ReadAll(record), "http://www.corvane.example/downloads/\n");
}
