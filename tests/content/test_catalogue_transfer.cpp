// Transfers with progress and Abort against the loopback server, and how a download is
// stored: atomically, only under bare names, ".zip" kept in the temporary folder.
#include "content/fUpd.h"
#include "content/uServer.h"
#include "document/uCommon.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uHttpTestServer.h"

#include <QDir>
#include <QFile>
#include <filesystem>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

// Files of a folder and everything below it, relative to it.
QStringList Tree(const std::string& folder) {
    QStringList names;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
        if (e.is_regular_file()) names << QString::fromStdString(std::filesystem::relative(e.path(), folder).string());
    names.sort();
    return names;
}

// Points the temporary folder at a fresh one for the test.
class TTempFolderScope {
public:
    TTempDir Dir;
    QByteArray Prev = qgetenv("TMPDIR");
    TTempFolderScope() { qputenv("TMPDIR", QByteArray::fromStdString(Dir.Path())); }
    ~TTempFolderScope() {
        if (Prev.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", Prev);
    }
};

} // namespace

TEST(Transfer, ReportsItsLengthAndProgressAndEndsOnAbort) {
    THttpTestServer server;
    ASSERT_TRUE(server.Start());
    const QByteArray body(200000, 'x');
    server.Put("big.bin", body);
    // Sends a first part without a length and never ends on its own.
    server.Put("endless.bin", QByteArray(5000, 'y'), 200, THttpTestServer::Endless);

    TTransfer t;
    qint64 begun = -2, last = 0;
    int steps = 0;
    t.OnBegin = [&](qint64 expected) { begun = expected; };
    t.OnProgress = [&](qint64 received, qint64) {
        EXPECT_GE(received, last);
        last = received;
        ++steps;
    };
    TFetchError error = TFetchError::Timeout;
    EXPECT_EQ(t.Get(server.BaseUrl() + "big.bin", 1 << 20, &error), body);
    EXPECT_EQ(error, TFetchError::None);
    EXPECT_EQ(begun, body.size());
    EXPECT_EQ(last, body.size());
    EXPECT_GE(steps, 1);
    EXPECT_FALSE(t.Busy());

    // Abort from a handler that runs during the transfer, as the Cancel button does.
    begun = -2;
    t.OnProgress = [&](qint64 received, qint64) {
        if (received > 0) t.Abort();
    };
    EXPECT_TRUE(t.Get(server.BaseUrl() + "endless.bin", 1 << 20, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Cancelled);
    EXPECT_EQ(begun, -1); // no length given
    EXPECT_FALSE(t.Busy());
    t.OnProgress = nullptr;
    t.Abort(); // nothing runs: no effect on the next GET
    EXPECT_EQ(t.Get(server.BaseUrl() + "big.bin", 1 << 20, &error).size(), body.size());
    EXPECT_EQ(error, TFetchError::None);

    // An error page is no transfer to show.
    begun = -2;
    EXPECT_TRUE(t.Get(server.BaseUrl() + "missing", 1 << 20, &error).isEmpty());
    EXPECT_EQ(error, TFetchError::Status);
    EXPECT_EQ(begun, -2);
}

TEST(StoreDownload, WritesTheTargetAndTheTemporaryCopyOnlyUnderBareNames) {
    TTempDir home; // outside the temporary folder of the test
    TTempFolderScope temp;
    const std::string target = home.File("Templates");
    const QString folder = QString::fromStdString(target);

    EXPECT_TRUE(StoreDownload("new", "A.tpr", folder));
    EXPECT_EQ(ReadAll(target + "/A.tpr"), "new");
    EXPECT_EQ(ReadAll(temp.Dir.File("A.tpr")), "new"); // the temporary copy stays
    // Replacing keeps no partial or temporary file beside it, and a read-only old copy is
    // replaced like any other.
    QFile::setPermissions(folder + "/A.tpr", QFile::ReadOwner);
    EXPECT_TRUE(StoreDownload("newer", "A.tpr", folder));
    EXPECT_EQ(ReadAll(target + "/A.tpr"), "newer");
    EXPECT_TRUE(QFile::permissions(folder + "/A.tpr") & QFile::WriteOwner);

    // A ".zip" stays in the temporary folder.
    EXPECT_TRUE(StoreDownload("PK", "Pack.ZIP", folder));
    EXPECT_EQ(ReadAll(temp.Dir.File("Pack.ZIP")), "PK");
    EXPECT_EQ(Tree(target), QStringList({"A.tpr"}));

    for (const char* bad : {"../A.tpr", "../../.bashrc", "/etc/x", "sub\\x.tpr", ".hidden", ""})
        EXPECT_FALSE(StoreDownload("evil", bad, folder)) << bad;
    EXPECT_FALSE(StoreDownload("evil", QString::fromUtf8("a\0b", 3), folder));
    EXPECT_EQ(Tree(target), QStringList({"A.tpr"}));
    EXPECT_EQ(Tree(temp.Dir.Path()), QStringList({"A.tpr", "Pack.ZIP"}));
    EXPECT_EQ(Tree(home.Path()), QStringList({"Templates/A.tpr"}));
}

TEST(StoreDownload, AFailedWriteLeavesTheOldFileAndNoPartOfTheNewOne) {
    TTempDir home; // outside the temporary folder of the test
    TTempFolderScope temp;
    const QString folder = QString::fromStdString(home.File("Templates"));
    ASSERT_TRUE(StoreDownload("old", "A.tpr", folder));
    // The folder takes no new file: the temporary file cannot be made there.
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    if (QFile(folder + "/probe").open(QIODevice::WriteOnly)) GTEST_SKIP() << "running with permissions that ignore modes";
    EXPECT_FALSE(StoreDownload("new", "A.tpr", folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(home.File("Templates/A.tpr")), "old");
    EXPECT_EQ(Tree(home.File("Templates")), QStringList({"A.tpr"}));
}
