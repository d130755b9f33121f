// The start-up sequence in this process: the installation check, the splash with the
// version check against a loopback server, the yes/no window, the updater, the order in
// which the long-lived objects come, the main window.
#include "app/fLWMain.h"
#include "app/fMessage.h"
#include "app/fSplash.h"
#include "app/uStartup.h"
#include "content/dTessora.h"
#include "platform/uSingleInstance.h"
#include "sheetview/fraSheet.h"
#include "tests/app/uAppFixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tessora;
using namespace tessora::test;

namespace {

template <class T> T* TopLevel(const char* name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && !w->testAttribute(Qt::WA_DeleteOnClose))
            if (auto* t = qobject_cast<T*>(w)) return t;
    return nullptr;
}

// Runs the sequence up to the shown main window, recording the steps, the splash's
// status line at each of them and what the yes/no window showed.
class StartupTest : public ::testing::Test {
protected:
    std::unique_ptr<TAppFolder> Folder = std::make_unique<TAppFolder>();
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    QStringList Steps;
    QStringList Statuses;
    QString Question, SplashVersion;
    QPoint QuestionPos, ExpectedPos;
    QPushButton* (*Answer)(TfrmMessage&) = [](TfrmMessage& m) { return m.btnNo; };
    bool SplashLeftBeforeFreed = false;

    TStartupOptions Options() {
        TStartupOptions o;
        o.Home = Q(Folder->Home.Path());
        o.InstanceFolder = Q(Folder->Runtime.Path());
        o.InstanceName = Folder->InstanceName;
        o.PauseMs = 1;
        o.RunEventLoop = false;
        o.OnStep = [this](const QString& step) {
            Steps << step;
            auto* splash = TopLevel<TfrmSplash>("frmSplash");
            Statuses << (splash ? splash->lblStatus->text() : QString());
            if (splash) {
                SplashVersion = splash->lblVersion->text();
                ExpectedPos = splash->pos() + QPoint(10, splash->lblLicence->y());
            }
            if (step == "splash-freed") SplashLeftBeforeFreed = TopLevel<TfrmSplash>("frmSplash") != nullptr;
            if (step != "question") return;
            auto* m = qobject_cast<TfrmMessage*>(QApplication::activeModalWidget());
            if (!m) return;
            Question = m->lblMess->text();
            QuestionPos = m->pos();
            QTest::mouseClick(Answer(*m), Qt::LeftButton);
        };
        return o;
    }
    void ServeVersion(const QByteArray& v) { Folder->Http.Put("version.ini", v); }
};

} // namespace

// What the installation check says, and that nothing else happens after it.
TEST_F(StartupTest, IncompleteInstallationStopsWithItsMessage) {
    struct TCase {
        bool Updater, Database;
        QString Message;
    } cases[] = {
        {false, true, "Upd file not found!\nPlease Install the application correctly!"},
        {false, false, "Upd file not found!\nPlease Install the application correctly!"},
        {true, false, "DAT file not found!"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message.toStdString() + (c.Database ? " with the database" : ""));
        Folder = std::make_unique<TAppFolder>(c.Updater, c.Database);
        Msgs.Shown.clear();
        Steps.clear();
        ServeVersion("9.0.0");
        TStartup s(Options());
        EXPECT_EQ(s.Run(), 1);
        ASSERT_EQ(Msgs.Shown.size(), 1u);
        EXPECT_EQ(Q(Msgs.Shown[0].Text), c.Message);
        EXPECT_EQ(Msgs.Shown[0].Buttons, mbNone);  // an information box ...
        EXPECT_EQ(Msgs.Shown[0].InfoButton, mbOK); // ... with its OK button
        EXPECT_EQ(Steps, QStringList({"instance", "installation"}));
        EXPECT_EQ(s.MainWindow(), nullptr);
        EXPECT_EQ(s.dmTessora(), nullptr);
        EXPECT_TRUE(Folder->Http.Paths.isEmpty());
        // A database file is not made up where there was none.
        EXPECT_EQ(QFileInfo::exists(Folder->Home.File("tessora.dat").c_str()), c.Database);
    }
}

TEST_F(StartupTest, NewerVersionAnsweredNoGoesOnWithThePauseAndTheMainWindow) {
    ServeVersion("5.0.1\r\n");
    TStartup s(Options());
    ASSERT_EQ(s.Run(), 0);
    EXPECT_EQ(Steps,
              QStringList({"instance", "installation", "cursors", "splash", "checking", "new-version",
                           "question", "loading", "pause", "database", "main-window", "splash-freed"}));
    EXPECT_EQ(Folder->Http.Paths, QList<QByteArray>({"/downloads/Update/version.ini", "/downloads/Update/adv.ini"}));
    EXPECT_EQ(Question, "Download version 5.0.1?");
    EXPECT_EQ(QuestionPos, ExpectedPos);
    EXPECT_EQ(SplashVersion, "v 5.0.0");
    EXPECT_EQ(Statuses.value(Steps.indexOf("checking")), "Please wait. Checking for Update...");
    EXPECT_EQ(Statuses.value(Steps.indexOf("new-version")), "New version is available...");
    EXPECT_EQ(Statuses.value(Steps.indexOf("loading")), "Please wait. Loading...");
    EXPECT_FALSE(SplashLeftBeforeFreed);
    EXPECT_EQ(TopLevel<TfrmSplash>("frmSplash"), nullptr);
    EXPECT_EQ(TopLevel<TfrmMessage>("frmMessage"), nullptr);
    ASSERT_NE(s.dmTessora(), nullptr);
    EXPECT_TRUE(Msgs.Shown.empty());
    ASSERT_NE(s.MainWindow(), nullptr);
    EXPECT_TRUE(s.MainWindow()->isVisible());
    // The server lists no advertisement: the database's picture is shown, and that one
    // pick has used its query.
    auto* main = qobject_cast<TfrmLWMain*>(s.MainWindow());
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(main->imgAdv->pixmap().isNull());
    EXPECT_FALSE(s.dmTessora()->Prepared());
}

// Yes: the updater from the program folder with "-s", and the program ends before the
// database and any main window.
TEST_F(StartupTest, NewerVersionAnsweredYesStartsTheUpdaterAndEnds) {
    const std::string record = Folder->Runtime.File("opened.txt");
    const std::string hook = Folder->Runtime.File("open-hook");
    WriteAll(hook, QByteArray("#!/bin/sh\nprintf '%s\\n' \"$@\" > '") + record.c_str() + "'\n");
    QFile::setPermissions(Q(hook), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("TESSORA_OPEN", hook.c_str());
    ServeVersion("6.0.0");
    Answer = [](TfrmMessage& m) { return m.btnYes; };
    TStartup s(Options());
    const int code = s.Run();
    qunsetenv("TESSORA_OPEN");
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Question, "Download version 6.0.0?");
    EXPECT_EQ(Steps, QStringList({"instance", "installation", "cursors", "splash", "checking", "new-version",
                                  "question", "updater", "loading"}));
    EXPECT_EQ(s.MainWindow(), nullptr);
    EXPECT_EQ(s.dmTessora(), nullptr);
    EXPECT_EQ(TopLevel<TfrmSplash>("frmSplash"), nullptr);
    QElapsedTimer t;
    t.start();
    while (ReadAll(record).isEmpty() && t.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_EQ(ReadAll(record), (Folder->Home.Path() + "upd\n-s\n").c_str());
}

// No newer version, or none to be had: no question, the pause, the main window.
TEST_F(StartupTest, NoNewerVersionGoesStraightOn) {
    struct TCase {
        const char* What;
        QByteArray Body;
        int Status;
    } cases[] = {
        {"equal", "5.0.0", 200}, {"older", "4.9.12", 200}, {"malformed", "5.x", 200},
        {"empty", "", 200},      {"missing", "gone", 404},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        Folder = std::make_unique<TAppFolder>();
        Folder->Http.Put("version.ini", c.Body, c.Status);
        Steps.clear();
        Question.clear();
        TStartup s(Options());
        EXPECT_EQ(s.Run(), 0);
        EXPECT_EQ(Steps, QStringList({"instance", "installation", "cursors", "splash", "checking", "loading",
                                      "pause", "database", "main-window", "splash-freed"}));
        EXPECT_EQ(Folder->Http.Paths, QList<QByteArray>({"/downloads/Update/version.ini", "/downloads/Update/adv.ini"}));
        EXPECT_TRUE(Question.isEmpty());
        EXPECT_NE(s.MainWindow(), nullptr);
    }
}

TEST_F(StartupTest, UnreachableServerGoesOnWithoutAMessage) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closed.serverPort();
    closed.close();
    QSettings ini(Q(Folder->Home.File("tessora.ini")), QSettings::IniFormat);
    ini.setValue("Server/BaseUrl", QString("http://127.0.0.1:%1/downloads/Update/").arg(port));
    ini.sync();
    TStartup s(Options());
    EXPECT_EQ(s.Run(), 0);
    EXPECT_TRUE(Steps.contains("pause"));
    EXPECT_FALSE(Steps.contains("question"));
    EXPECT_TRUE(Msgs.Shown.empty());
    EXPECT_NE(s.MainWindow(), nullptr);
}

// The main window with its parameters window; no project until the user opens one.
TEST_F(StartupTest, MainWindowComesWithItsParametersWindow) {
    ServeVersion("5.0.0");
    TStartup s(Options());
    ASSERT_EQ(s.Run(), 0);
    auto* main = qobject_cast<TfrmLWMain*>(s.MainWindow());
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->windowTitle(), "Corvane Tessora");
    ASSERT_NE(main->frmLWParams, nullptr);
    EXPECT_EQ(main->frmLWParams->parentWidget(), main);
    EXPECT_TRUE(main->frSheet->Sheet.Labels.empty());
    EXPECT_FALSE(main->actSaveProject->isEnabled());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    main->resize(900, 700);
    QTest::qWait(20);
    EXPECT_GT(main->frSheet->width(), 400);
    // A raise request brings it forward; before it existed there was nothing to raise.
    s.RaiseMainWindow();
    EXPECT_EQ(s.RaiseCount(), 1);
}

// A second start while the yes/no window is up: the second copy ends at once, and with no
// main window yet there is nothing to raise; start-up goes on as answered.
TEST_F(StartupTest, SecondStartDuringTheQuestionRaisesNothing) {
    ServeVersion("5.1.0");
    TStartupOptions o = Options();
    o.InstanceName = kAppTitle; // the name the executable uses
    TStartup* running = nullptr;
    TRunResult second;
    bool heard = false;
    const auto answer = o.OnStep;
    o.OnStep = [&](const QString& step) {
        if (step == "question") {
            QSignalSpy raised(running->Instance(), &TSingleInstance::raiseRequested);
            second = RunIn(Folder->Environment(), Q(BinDir()) + "tessora", {});
            heard = raised.wait(5000) || raised.count() > 0;
        }
        answer(step);
    };
    TStartup s(o);
    running = &s;
    ASSERT_EQ(s.Run(), 0);
    EXPECT_EQ(second.ExitCode, 0);
    EXPECT_TRUE(heard);
    EXPECT_EQ(s.RaiseCount(), 0);
    EXPECT_EQ(Question, "Download version 5.1.0?");
    EXPECT_NE(s.MainWindow(), nullptr);
    EXPECT_TRUE(Steps.contains("pause"));
}

// An updater that cannot be started still ends the program, without a message.
TEST_F(StartupTest, UpdaterThatCannotStartStillEndsQuietly) {
    qputenv("TESSORA_OPEN", Folder->Runtime.File("no-such-program").c_str());
    ServeVersion("6.0.0");
    Answer = [](TfrmMessage& m) { return m.btnYes; };
    TStartup s(Options());
    const int code = s.Run();
    qunsetenv("TESSORA_OPEN");
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(Msgs.Shown.empty());
    EXPECT_TRUE(Steps.contains("updater"));
    EXPECT_EQ(s.MainWindow(), nullptr);
}
