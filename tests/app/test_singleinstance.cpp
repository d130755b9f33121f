// One running copy: the lock and the local server, in this process and across real processes.
#include "app/uStartup.h"
#include "platform/uSingleInstance.h"
#include "tests/app/uAppFixture.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace tessora;
using namespace tessora::test;

TEST(SingleInstance, SecondInstanceAsksTheFirstToRaiseAndOtherNamesDoNotMeet) {
    TTempDir dir;
    const QString name = "tessora-a-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto first = std::make_unique<TSingleInstance>(name, Q(dir.Path()));
    int callbacks = 0;
    first->OnRaise = [&] { ++callbacks; };
    QSignalSpy raised(first.get(), &TSingleInstance::raiseRequested);
    ASSERT_EQ(first->Acquire(), TSingleInstance::Primary);
    EXPECT_TRUE(QFileInfo::exists(first->LockFilePath()));

    TSingleInstance second(name, Q(dir.Path()));
    EXPECT_EQ(second.Acquire(), TSingleInstance::Secondary);
    ASSERT_TRUE(raised.wait(5000));
    EXPECT_EQ(callbacks, 1);

    TSingleInstance other(name + "-other", Q(dir.Path()));
    EXPECT_EQ(other.Acquire(), TSingleInstance::Primary);
    QTest::qWait(50);
    EXPECT_EQ(raised.count(), 1);

    // Once the first has gone, the next start is the running copy again.
    first.reset();
    EXPECT_FALSE(QFileInfo::exists(dir.Path().c_str() + name + ".lock"));
    TSingleInstance third(name, Q(dir.Path()));
    EXPECT_EQ(third.Acquire(), TSingleInstance::Primary);
}

TEST(SingleInstance, RuntimeFolderThatCannotHoldTheLockStillStarts) {
    TTempDir dir;
    WriteAll(dir.File("file"), "not a folder");
    TSingleInstance guard("tessora-nowhere", Q(dir.File("file")) + "/below");
    EXPECT_EQ(guard.Acquire(), TSingleInstance::Unguarded);
}

// The real program as the second start: it shows nothing, ends at once with 0, and the
// first copy's main window is asked forward.
TEST(SingleInstance, SecondProcessEndsAndRaisesTheFirstMainWindow) {
    TAppFolder folder;
    TScriptedMessages msgs;
    TMessageScope scope(msgs);
    TStartupOptions o;
    o.Home = Q(folder.Home.Path());
    o.InstanceFolder = Q(folder.Runtime.Path());
    o.InstanceName = kAppTitle; // the name the executable uses
    o.PauseMs = 0;
    o.RunEventLoop = false;
    TStartup first(o);
    ASSERT_EQ(first.Run(), 0);
    ASSERT_NE(first.MainWindow(), nullptr);
    EXPECT_EQ(first.RaiseCount(), 0);
    const auto fetched = folder.Http.Paths.size();

    const TRunResult r = RunIn(folder.Environment(), Q(BinDir()) + "tessora", {});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_EQ(r.Out, QByteArray());
    // It never got as far as the version check.
    EXPECT_EQ(folder.Http.Paths.size(), fetched);
    QTRY_COMPARE_WITH_TIMEOUT(first.RaiseCount(), 1, 10000);
    EXPECT_TRUE(msgs.Shown.empty());
}

// A copy killed while it runs leaves its lock and socket files; the next start runs.
TEST(SingleInstance, LockOfAKilledProcessDoesNotBlockTheNextStart) {
    TAppFolder folder;
    QProcess p;
    p.setProcessEnvironment(folder.Environment());
    p.start(Q(BinDir()) + "tessora", {});
    ASSERT_TRUE(p.waitForStarted(10000));
    const QString lock = Q(folder.Runtime.Path()) + kAppTitle + ".lock";
    const QString socket = Q(folder.Runtime.Path()) + kAppTitle + ".socket";
    QElapsedTimer t;
    t.start();
    while (!(QFileInfo::exists(lock) && QFileInfo::exists(socket)) && t.elapsed() < 20000)
        QTest::qWait(20);
    ASSERT_TRUE(QFileInfo::exists(lock) && QFileInfo::exists(socket));
    p.kill(); // SIGKILL: nothing is cleaned up
    ASSERT_TRUE(p.waitForFinished(10000));
    ASSERT_TRUE(QFileInfo::exists(lock));

    TSingleInstance next(kAppTitle, Q(folder.Runtime.Path()));
    EXPECT_EQ(next.Acquire(), TSingleInstance::Primary);
    // ... and it is reachable: a further start reaches it.
    QSignalSpy raised(&next, &TSingleInstance::raiseRequested);
    const TRunResult r = RunIn(folder.Environment(), Q(BinDir()) + "tessora", {});
    EXPECT_EQ(r.ExitCode, 0);
    EXPECT_TRUE(raised.wait(5000) || raised.count() == 1);
}
