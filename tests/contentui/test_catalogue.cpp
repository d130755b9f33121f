// The catalogue and download windows against a loopback server that hosts a catalogue
// written by tessora-cli: what is listed, what a download brings into which folder,
// Cancel, ".zip", the list messages, hostile names, and the chooser's refill.
#include "content/fICatalog.h"
#include "content/fTemplates.h"
#include "content/fUpd.h"
#include "content/uServer.h"
#include "document/uCommon.h"
#include "document/uMessages.h"
#include "platform/uStatus.h"
#include "sheetview/uSheet.h"
#include "tests/cli/uCatalogFixture.h"
#include "tests/common/uTestSupport.h"
#include "tests/content/uHttpTestServer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace tessora;
using namespace tessora::test;

namespace {

struct TStatusLog : TStatusWindow {
    QStringList Log;
    void Show() override { Log << "show"; }
    void Hide() override { Log << "hide"; }
    void SetLine1(const std::string& t) override { Log << "1:" + QString::fromStdString(t); }
};

// Files below a folder, relative to it.
QStringList Tree(const std::string& folder) {
    QStringList names;
    QDirIterator it(QString::fromStdString(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) names << QDir(QString::fromStdString(folder)).relativeFilePath(it.next());
    names.sort();
    return names;
}

QStringList Entries(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
}

// Calls `poll` every few milliseconds while `act` runs, so it can answer the modal windows
// `act` opens.
void WhilePolling(const std::function<void()>& act, const std::function<void()>& poll) {
    QTimer t;
    t.setInterval(5);
    QObject::connect(&t, &QTimer::timeout, poll);
    t.start();
    act();
}

// What the download window showed when its button was pressed.
struct TUpdSeen {
    QString Info, Info2, Button;
    int Tag = -1, BarMax = -1, BarValue = -1;
    QString CancelledAt; // lblInfo when Cancel was pressed
};

const QByteArray kPrefix = "/downloads/Update/";

class CatalogueTest : public ::testing::Test {
protected:
    TTempDir Pub, Site, Home, Temp;
    QByteArray PrevTmp = qgetenv("TMPDIR");
    std::string PrevFolder = ProgramFolder();
    TScriptedMessages Msgs;
    TMessageScope Scope{Msgs};
    THttpTestServer Server;
    TStatusLog Status;

    void SetUp() override {
        WriteCatalogFixture(Pub.Path());
        const std::string site = Site.File("site");
        const TRunResult r = RunTool(QString::fromStdString(BinDir() + "tessora-cli"),
                                     {"--home", QString::fromStdString(Pub.Path()), "catalogue",
                                      QString::fromStdString(site)});
        ASSERT_EQ(r.ExitCode, 0) << r.Err.constData();
        ASSERT_TRUE(Server.Start());
        // The server's paths are the files' paths, encoded as the program asks for them.
        QDirIterator it(QString::fromStdString(site), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString rel = QDir(QString::fromStdString(site)).relativeFilePath(path);
            Server.Put(QString::fromLatin1(QUrl::toPercentEncoding(rel, "/")), ReadAll(path.toStdString()));
        }
        for (const char* d : {"Templates", "Label Projects", "Vector Images", "Import Images"})
            std::filesystem::create_directories(Home.File(d));
        PointAt(Server.BaseUrl());
        SetProgramFolder(Home.Path());
        qputenv("TMPDIR", QByteArray::fromStdString(Temp.Path()));
        SetStatusWindow(&Status);
    }
    void TearDown() override {
        SetStatusWindow(nullptr);
        SetCatalogOpener(nullptr);
        if (PrevTmp.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", PrevTmp);
        SetProgramFolder(PrevFolder);
    }

    void PointAt(const QString& base) {
        WriteAll(Home.File("tessora.ini"), "[Server]\nBaseUrl=" + base.toUtf8() + "\n");
    }
    void Install(const std::string& pubFile) {
        WriteAll(Home.File(pubFile), ReadAll(Pub.File(pubFile)));
    }
    bool Requested(const QByteArray& rel) const { return Server.Paths.contains(kPrefix + rel); }

    // Shows the catalogue as the chooser does and waits for its list: it ends with a
    // preview or a closed window.
    std::unique_ptr<TfrmICatalog> Open(TChooserMode mode) {
        auto dlg = std::make_unique<TfrmICatalog>(mode);
        dlg->show();
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg->ListTag() != -1 || !dlg->isVisible(); }, 10000));
        return dlg;
    }

    // Presses Download and answers the download window: Cancel once the transfer has
    // shown progress when `cancel`, then OK once it has finished.
    TUpdSeen Download(TfrmICatalog& dlg, bool cancel = false) {
        TUpdSeen seen;
        WhilePolling([&] { QTest::mouseClick(dlg.btnDownload, Qt::LeftButton); },
                     [&] {
                         auto* upd = qobject_cast<TfrmUpd*>(QApplication::activeModalWidget());
                         if (!upd) return;
                         if (upd->BtnTag() == 0 && cancel && seen.CancelledAt.isEmpty() && upd->bar->value() > 0) {
                             seen.CancelledAt = upd->lblInfo->text();
                             seen.BarMax = upd->bar->maximum();
                             seen.BarValue = upd->bar->value();
                             QTest::mouseClick(upd->btnUpdate, Qt::LeftButton);
                         } else if (upd->BtnTag() != 0 && seen.Tag < 0) {
                             seen.Info = upd->lblInfo->text();
                             seen.Info2 = upd->lblInfo2->text();
                             seen.Button = upd->btnUpdate->text();
                             seen.Tag = upd->BtnTag();
                             QTest::mouseClick(upd->btnUpdate, Qt::LeftButton);
                         }
                     });
        return seen;
    }
};

} // namespace

TEST_F(CatalogueTest, ListsWhatIsMissingAndShrinksAsEntriesAreDownloaded) {
    Install("Templates/Round.tpr");
    auto dlg = Open(cmTemplate);
    ASSERT_EQ(Entries(dlg->lstTemplates), QStringList({"Heart.tpv", "Oval Two.tpr"}));
    EXPECT_TRUE(dlg->btnDownload->isEnabled());
    EXPECT_TRUE(dlg->imgTemplate->isVisible());
    EXPECT_EQ(dlg->PreviewPicture().size(), QSize(300, 388)); // the preview tessora-cli drew
    const QSize shown = dlg->imgTemplate->pixmap().size();
    EXPECT_LE(shown.height(), dlg->imgTemplate->height());
    EXPECT_NEAR(shown.width() * 388.0 / shown.height(), 300, 3);
    EXPECT_TRUE(Requested("preview/Heart.jpg"));
    EXPECT_TRUE(Status.Log.contains("1:Checking for Updates..."));
    EXPECT_TRUE(Status.Log.contains("1:Preview Loading..."));
    EXPECT_EQ(Status.Log.count("show"), Status.Log.count("hide"));

    // A click previews the entry; a second click on it fetches nothing more.
    dlg->lstTemplates->setCurrentRow(1);
    EXPECT_EQ(Server.Paths.last(), kPrefix + "preview/Oval%20Two.jpg");
    const qsizetype requests = Server.Paths.size();
    dlg->PreviewEntry(1);
    EXPECT_EQ(Server.Paths.size(), requests);

    dlg->lstTemplates->setCurrentRow(0);
    TUpdSeen seen = Download(*dlg);
    EXPECT_EQ(seen.Info, "Templates Update Complete...");
    EXPECT_EQ(seen.Info2, "File 1/1");
    EXPECT_EQ(seen.Button, "OK");
    EXPECT_EQ(seen.Tag, 1);
    EXPECT_EQ(ReadAll(Home.File("Templates/Heart.tpv")), ReadAll(Pub.File("Templates/Heart.tpv")));
    // The vector template's outline came with it; the temporary copies stay behind.
    EXPECT_EQ(ReadAll(Home.File("Vector Images/Heart.svg")), kHeartSvg);
    EXPECT_EQ(Tree(Temp.Path()), QStringList({"Heart.svg", "Heart.tpv"}));
    EXPECT_EQ(dlg->Tag(), 1);
    EXPECT_EQ(Entries(dlg->lstTemplates), QStringList({"Oval Two.tpr"}));
    EXPECT_EQ(dlg->ListTag(), 0);
    EXPECT_TRUE(dlg->imgTemplate->isVisible());
    EXPECT_TRUE(Msgs.Shown.empty());

    seen = Download(*dlg);
    EXPECT_EQ(seen.Tag, 1);
    EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{"Updates list is empty..."});
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(Tree(Home.File("Templates")), QStringList({"Heart.tpv", "Oval Two.tpr", "Round.tpr"}));
}

TEST_F(CatalogueTest, AProjectBringsItsVectorPictureAndBothImages) {
    auto dlg = Open(cmProject);
    ASSERT_EQ(Entries(dlg->lstTemplates), QStringList({"Party.shl"}));
    const TUpdSeen seen = Download(*dlg);
    EXPECT_EQ(seen.Info, "Labels Update Complete...");
    for (const char* rel : {"labels/Party.shl", "vector/Heart.svg", "images/Leaf.png", "images/Beans%20Big.png"})
        EXPECT_TRUE(Requested(rel)) << rel;
    EXPECT_EQ(Tree(Home.Path()), QStringList({"Import Images/Beans Big.png", "Import Images/Leaf.png",
                                              "Label Projects/Party.shl", "Vector Images/Heart.svg", "tessora.ini"}));
    EXPECT_EQ(ReadAll(Home.File("Import Images/Beans Big.png")), ReadAll(Pub.File("Import Images/Beans Big.png")));

    // The downloaded project opens with its outline and finds both pictures in this folder.
    TSheet sheet;
    ASSERT_TRUE(sheet.OpenProjectFile(Home.File("Label Projects/Party.shl")));
    EXPECT_EQ(sheet.Header.VectorFile, Home.File("Vector Images/Heart.svg"));
    EXPECT_EQ(sheet.ImageFileName(0, 0, 0), Home.File("Import Images/Leaf.png"));
    EXPECT_EQ(sheet.ImageFileName(3, 0, 0), Home.File("Import Images/Beans Big.png"));
    EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{"Updates list is empty..."});
}

TEST_F(CatalogueTest, CancelDuringATransferLeavesNoFileAndTheEntryListed) {
    // Half the announced body arrives, then the server goes quiet.
    const QByteArray path = kPrefix + "labels/Party.shl";
    Server.Files[path].Mode = THttpTestServer::Partial;
    const qsizetype size = Server.Files[path].Body.size();
    auto dlg = Open(cmProject);
    TUpdSeen seen = Download(*dlg, true);
    EXPECT_EQ(seen.CancelledAt, "Download in Progress...");
    EXPECT_EQ(seen.BarMax, 2 * size);
    EXPECT_EQ(seen.BarValue, size);
    EXPECT_EQ(seen.Info, "Update Cancelled...");
    EXPECT_EQ(seen.Button, "OK");
    EXPECT_EQ(seen.Tag, 2);
    EXPECT_EQ(Tree(Home.Path()), QStringList({"tessora.ini"}));
    EXPECT_EQ(Tree(Temp.Path()), QStringList());
    EXPECT_FALSE(Requested("vector/Heart.svg"));
    EXPECT_EQ(Entries(dlg->lstTemplates), QStringList({"Party.shl"}));
    EXPECT_EQ(dlg->Tag(), 0);
    EXPECT_TRUE(dlg->isVisible());

    // A file the server no longer has: the window completes, nothing arrives, the entry stays.
    Server.Files.remove(path);
    seen = Download(*dlg);
    EXPECT_EQ(seen.Info, "Labels Update Complete...");
    EXPECT_EQ(Tree(Home.Path()), QStringList({"tessora.ini"}));
    EXPECT_EQ(Entries(dlg->lstTemplates), QStringList({"Party.shl"}));
    EXPECT_EQ(dlg->Tag(), 0);
    EXPECT_TRUE(Msgs.Shown.empty());
}

TEST_F(CatalogueTest, EscapeDuringATransferCancelsItAndCloses) {
    Server.Files[kPrefix + "labels/Party.shl"].Mode = THttpTestServer::Partial;
    TfrmUpd upd;
    upd.SetUp(2, QStringList{"Party.shl"});
    bool escaped = false;
    WhilePolling([&] { upd.exec(); },
                 [&] {
                     if (!escaped && upd.bar->value() > 0) {
                         escaped = true;
                         QTest::keyClick(&upd, Qt::Key_Escape);
                     }
                 });
    EXPECT_TRUE(escaped);
    EXPECT_EQ(upd.BtnTag(), 2);
    EXPECT_EQ(upd.lblInfo->text(), "Update Cancelled...");
    EXPECT_EQ(upd.result(), QDialog::Rejected);
    EXPECT_EQ(Tree(Home.Path()), QStringList({"tessora.ini"}));
    EXPECT_EQ(Tree(Temp.Path()), QStringList());
}

TEST_F(CatalogueTest, AZipStaysInTheTemporaryFolder) {
    static const char kZip[] = "PK\x03\x04 not much of an archive";
    const QByteArray zip(kZip, sizeof kZip - 1);
    Server.Put("templates.ini", "Pack.zip\r\n");
    Server.Put("templates/Pack.zip", zip);
    auto dlg = Open(cmTemplate);
    ASSERT_EQ(Entries(dlg->lstTemplates), QStringList({"Pack.zip"}));
    EXPECT_FALSE(dlg->imgTemplate->isVisible()); // no preview on the server
    EXPECT_EQ(Download(*dlg).Tag, 1);
    EXPECT_EQ(ReadAll(Temp.File("Pack.zip")), zip);
    EXPECT_EQ(Tree(Home.File("Templates")), QStringList());
    EXPECT_EQ(dlg->Tag(), 1);
    EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{"Updates list is empty..."});
}

TEST_F(CatalogueTest, ListsThatGiveNothingSayWhyAndClose) {
    const auto files = Server.Files;
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 closedPort = closed.serverPort();
    closed.close();
    struct TCase {
        const char* Name;
        std::function<void()> Arrange;
        const char* Message;
    } cases[] = {
        {"server unreachable", [&] { PointAt(QString("http://127.0.0.1:%1/downloads/Update/").arg(closedPort)); },
         "Updates list is not available..."},
        {"no list", [&] { Server.Files.remove(kPrefix + "templates.ini"); }, "Updates list is not available..."},
        {"blank list", [&] { Server.Put("templates.ini", " \r\n\r\n"); }, "Updates list is not available..."},
        {"everything installed",
         [&] {
             for (const char* f : {"Templates/Round.tpr", "Templates/Oval Two.tpr", "Templates/Heart.tpv"}) Install(f);
         },
         "Updates list is empty..."},
        {"only names that are not bare", [&] { Server.Put("templates.ini", "../Round.tpr\r\n/etc/x.tpr\r\n"); },
         "Updates list is empty..."},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Server.Files = files;
        PointAt(Server.BaseUrl());
        for (const auto& f : Tree(Home.File("Templates"))) QFile::remove(QString::fromStdString(Home.File("Templates/")) + f);
        Msgs.Shown.clear();
        c.Arrange();
        auto dlg = Open(cmTemplate);
        EXPECT_EQ(Msgs.Texts(), std::vector<std::string>{c.Message});
        EXPECT_FALSE(dlg->isVisible());
        EXPECT_EQ(dlg->result(), QDialog::Rejected);
        EXPECT_FALSE(dlg->btnDownload->isEnabled());
        EXPECT_EQ(dlg->Tag(), 0);
    }
}

TEST_F(CatalogueTest, NamesThatAreNotBareFileNamesNeverReachTheDisk) {
    Server.Put("templates.ini", QByteArray("../../.bashrc\r\n/etc/passwd\r\nsub\\Evil.tpr\r\n.hidden.tpr\r\n"
                                           "Round.tpr\r\nbad\x01name.tpr\r\n..\r\n"));
    // What a client that trusted the names would fetch.
    Server.Put("templates/../../.bashrc", "evil");
    Server.Put("templates/..%2F..%2F.bashrc", "evil");
    auto dlg = Open(cmTemplate);
    EXPECT_EQ(Entries(dlg->lstTemplates), QStringList({"Round.tpr"}));
    dlg.reset();

    // The download window refuses them too, and the picture names inside a downloaded file.
    QByteArray party = Server.Files[kPrefix + "labels/Party.shl"].Body;
    const QByteArray vector = "\\Vector Images\\..\\..\\.bashrc";
    party[89] = char(vector.size());
    party.replace(90, vector.size(), vector);
    Server.Put("labels/Party.shl", party);
    Server.Paths.clear();
    TfrmUpd upd;
    upd.SetUp(2, QString("../Escape.shl\n/tmp/Escape.shl\nParty.shl\n"));
    upd.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return upd.BtnTag() != 0; }, 10000));
    EXPECT_EQ(upd.lblInfo2->text(), "File 3/3");
    EXPECT_EQ(upd.lblInfo->text(), "Labels Update Complete...");
    EXPECT_EQ(upd.Downloaded(), QStringList({"Party.shl"}));
    EXPECT_EQ(Server.Paths, QList<QByteArray>({kPrefix + "labels/Party.shl", kPrefix + "images/Leaf.png",
                                               kPrefix + "images/Beans%20Big.png"}));
    EXPECT_EQ(Tree(Home.Path()), QStringList({"Import Images/Beans Big.png", "Import Images/Leaf.png",
                                              "Label Projects/Party.shl", "tessora.ini"}));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Home.File("Escape.shl"))));
}

TEST_F(CatalogueTest, TheChooserListsWhatTheCatalogueDownloaded) {
    SetCatalogOpener(OpenCatalog);
    TfrmTemplates chooser;
    chooser.PreviewPauseMs = 0;
    chooser.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return chooser.Started(); }, 5000));
    EXPECT_EQ(Entries(chooser.lstTemplates), QStringList());

    bool downloaded = false;
    WhilePolling([&] { QTest::mouseClick(chooser.btnGetMore, Qt::LeftButton); },
                 [&] {
                     QWidget* modal = QApplication::activeModalWidget();
                     if (auto* upd = qobject_cast<TfrmUpd*>(modal)) {
                         if (upd->BtnTag() == 1) QTest::mouseClick(upd->btnUpdate, Qt::LeftButton);
                     } else if (auto* cat = qobject_cast<TfrmICatalog*>(modal)) {
                         // Its list and preview are still to come.
                         if (cat->ListTag() < 0 || !cat->imgTemplate->isVisible()) return;
                         if (!downloaded) {
                             downloaded = true;
                             cat->lstTemplates->setCurrentRow(Entries(cat->lstTemplates).indexOf("Round.tpr"));
                             // Later: a timer does not fire again while its own handler runs.
                             QTimer::singleShot(0, cat->btnDownload,
                                                [b = cat->btnDownload] { QTest::mouseClick(b, Qt::LeftButton); });
                         } else if (cat->Tag() == 1) {
                             QTest::mouseClick(cat->btnDone, Qt::LeftButton);
                         }
                     }
                 });
    EXPECT_TRUE(downloaded);
    EXPECT_EQ(Entries(chooser.lstTemplates), QStringList({"Round"}));
    EXPECT_EQ(chooser.LastPreviewed(), 0);
    EXPECT_TRUE(chooser.btnOK->isEnabled());
}
